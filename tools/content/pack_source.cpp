#include "tools/content/pack_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "content/content_error.h"
#include "content/http_client.h"

namespace dravel_content {
namespace {

namespace fs = std::filesystem;

class ServerSource : public PackSource {
 public:
  explicit ServerSource(std::string base_url) : client_(std::move(base_url)) {}
  const std::string& Where() const override { return client_.BaseUrl(); }
  std::string Read(const std::string& name, std::size_t max_bytes) override {
    std::string body;
    client_.Get(name, body, max_bytes);
    return body;
  }
  std::optional<CacheHeaders> CacheHeadersOf(const std::string& name) override {
    return FetchCacheHeaders(client_.UrlFor(name));
  }

 private:
  content::HttpClient client_;
};

// Reads what the game's nginx would send for this folder: a file directly in it, not hidden,
// no more than the cap.
class FolderSource : public PackSource {
 public:
  explicit FolderSource(std::string folder) : folder_(std::move(folder)) {}
  const std::string& Where() const override { return folder_; }
  std::string Read(const std::string& name, std::size_t max_bytes) override {
    if (name.empty() || name.find('/') != std::string::npos ||
        name.find('\0') != std::string::npos) {
      throw content::FetchError(name, "not a file directly in the folder");
    }
    if (name.front() == '.') throw content::FetchError(name, "a hidden file, never served");
    const std::string path = (fs::path(folder_) / name).string();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throw content::FetchError(name, std::strerror(errno));
    try {
      return ReadOpen(fd, name, max_bytes);
    } catch (...) {
      ::close(fd);
      throw;
    }
  }
  std::optional<CacheHeaders> CacheHeadersOf(const std::string&) override { return std::nullopt; }

 private:
  static std::string ReadOpen(int fd, const std::string& name, std::size_t max_bytes) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      throw content::FetchError(name, "not a file");
    }
    if (std::size_t(info.st_size) > max_bytes) {
      throw content::FetchError(name,
                                "the file is larger than " + std::to_string(max_bytes) + " bytes");
    }
    std::string bytes(std::size_t(info.st_size), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
      const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw content::FetchError(name, "cannot be read whole");
      got += std::size_t(n);
    }
    ::close(fd);
    return bytes;
  }

  std::string folder_;
};

}  // namespace

std::unique_ptr<PackSource> OpenPackSource(const std::string& where) {
  if (where.starts_with("http://")) {
    std::string base = where;
    if (!base.ends_with('/')) base += '/';
    return std::make_unique<ServerSource>(base);
  }
  if (where.find("://") != std::string::npos) {
    throw std::invalid_argument(where + ": the game speaks plain HTTP only (http://...)");
  }
  std::error_code error;
  if (!fs::is_directory(where, error)) {
    throw std::invalid_argument(where + ": no such folder, and not an http:// address");
  }
  return std::make_unique<FolderSource>(where);
}

}  // namespace dravel_content
