// Every request of the game, with what it came to in the log.
#include <chrono>

#include "content/content_error.h"
#include "content/fetch.h"
#include "content/fetch_failure.h"
#include "session/game_session.h"
#include "session/log_categories.h"

namespace session {
namespace {

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds Since(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

std::size_t Bytes(const std::string& text) { return text.size(); }
std::size_t Bytes(const content::JpegPicture& picture) { return picture.Data().size(); }

// A transfer abandoned as the window closes is no failure of the server's, and says nothing.
template <typename Fetch>
auto Logged(content::HttpClient& client, WarningLog& log, const std::string& file_name,
            Fetch fetch) {
  const Clock::time_point start = Clock::now();
  try {
    auto fetched = fetch();
    if (lcHttp().isDebugEnabled()) {
      qCDebug(lcHttp, "GET %s: %zu bytes in %lld ms", content::ShownUrl(client, file_name).c_str(),
              Bytes(fetched), static_cast<long long>(Since(start).count()));
    }
    return fetched;
  } catch (const content::ContentError& error) {
    const bool picture = dynamic_cast<const content::JpegError*>(&error) != nullptr;
    log.Warn(picture ? lcPicture : lcHttp,
             content::FailedFetchLine(client, file_name, Since(start), error));
    throw;
  }
}

}  // namespace

content::JpegPicture GameSession::FetchJpeg(const std::string& file_name) {
  return Logged(client_, log_, file_name, [&] { return content::FetchJpeg(client_, file_name); });
}

std::string GameSession::FetchText(const std::string& file_name) {
  return Logged(client_, log_, file_name, [&] { return content::FetchText(client_, file_name); });
}

}  // namespace session
