#include "tests/support/served_pack.h"

#include <utility>

#include "tests/support/jpeg_maker.h"

namespace testsupport {

ServedPack::ServedPack() {
  for (int r = 0; r < 7; ++r)
    for (int c = 0; c < 7; ++c) files_[CellName(r, c)] = DistinctJpeg(7 * r + c);
  files_["reading.jpg"] = DistinctJpeg(100);
  files_["ok.jpg"] = DistinctJpeg(101);
  files_["no.jpg"] = DistinctJpeg(102);
  files_["shemoftask.txt"] = SchemeText();
  server.ServeFolder(files_);
}

void ServedPack::Restore() {
  server.ClearRoutes();
  server.ServeFolder(files_);
}

std::string ServedPack::CellName(int r, int c) {
  return "cell-" + std::to_string(r) + "-" + std::to_string(c) + ".jpg";
}

std::string ServedPack::SchemeText() {
  std::string text;
  for (int r = 0; r < 7; ++r)
    for (int c = 0; c < 7; ++c) text += CellName(r, c) + "\r\n";
  return text;
}

std::string ServedPack::NameOf(std::string_view bytes) const {
  if (bytes.empty()) return "";
  for (const auto& [name, served] : files_) {
    if (bytes == served) return name;
  }
  return "?";
}

std::vector<std::string> ServedPack::Requested() const {
  std::vector<std::string> names;
  const std::string folder(TestHttpServer::kFolder);
  for (const std::string& target : server.Targets()) {
    names.push_back(target.starts_with(folder) ? target.substr(folder.size()) : target);
  }
  return names;
}

void ServedPack::Remove(const std::string& name) {
  server.Route(TestHttpServer::FolderTarget(name), Reply::Html(404));
}

void ServedPack::ServeJpeg(const std::string& name, int shade) { Serve(name, DistinctJpeg(shade)); }

void ServedPack::Serve(const std::string& name, std::string bytes) {
  files_[name] = std::move(bytes);
  server.ServeBytes(name, files_[name]);
}

}  // namespace testsupport
