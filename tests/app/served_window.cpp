#include "served_window.h"

#include <chrono>

#include "game/game_state.h"
#include "tests/support/jpeg_maker.h"

ServedWindow::ServedWindow() {
  for (int r = 0; r < 7; ++r)
    for (int c = 0; c < 7; ++c) files_[CellName(r, c)] = testsupport::DistinctJpeg(7 * r + c);
  files_["reading.jpg"] = testsupport::DistinctJpeg(100);
  files_["ok.jpg"] = testsupport::DistinctJpeg(101);
  files_["no.jpg"] = testsupport::DistinctJpeg(102);
  server_.ServeFolder(files_);
  server_.ServeBytes("shemoftask.txt", SchemeText());

  content::HttpLimits limits;
  limits.connect_timeout = std::chrono::milliseconds(2'000);
  limits.stall_timeout = std::chrono::milliseconds(2'000);
  form_ = std::make_unique<app::TForm1>(
      app::ContentServerSettings{server_.BaseUrl(), "127.0.0.1", limits}, dialogs_, random_);
}

std::string ServedWindow::CellName(int r, int c) {
  return "cell-" + std::to_string(r) + "-" + std::to_string(c) + ".jpg";
}

std::string ServedWindow::SchemeText() {
  std::string text;
  for (int r = 0; r < 7; ++r)
    for (int c = 0; c < 7; ++c) text += CellName(r, c) + "\r\n";
  return text;
}

void ServedWindow::Start() { form_->show(); }

void ServedWindow::StartAndClearRequests() {
  Start();
  ASSERT_TRUE(form_->isVisible()) << "start-up failed";
  server_.ClearRequests();
}

std::string ServedWindow::Shown(const app::TImage* control) const {
  if (control->Picture().Empty()) return "";
  for (const auto& [name, bytes] : files_) {
    if (control->Picture().Data() == bytes) return name;
  }
  return "?";
}

std::vector<std::string> ServedWindow::Requested() const {
  std::vector<std::string> names;
  const std::string folder(testsupport::TestHttpServer::kFolder);
  for (const std::string& target : server_.Targets()) {
    names.push_back(target.starts_with(folder) ? target.substr(folder.size()) : target);
  }
  return names;
}

void ServedWindow::PlantNextCode(int code) {
  const int next = form_->State.TaskIndex + 1;
  form_->State.TaskSequence[next / game::kSequenceRowLength][next % game::kSequenceRowLength] =
      code;
}

void ServedWindow::PlantCurrentCode(int code) {
  const int index = form_->State.TaskIndex;
  form_->State.TaskSequence[index / game::kSequenceRowLength][index % game::kSequenceRowLength] =
      code;
}

void ServedWindow::Remove(const std::string& name) {
  server_.Route(testsupport::TestHttpServer::FolderTarget(name), testsupport::Reply::Html(404));
}

void ServedWindow::ServeJpeg(const std::string& name, int shade) {
  files_[name] = testsupport::DistinctJpeg(shade);
  server_.ServeBytes(name, files_[name]);
}
