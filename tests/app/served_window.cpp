#include "served_window.h"

#include <chrono>

#include "game/game_state.h"

ServedWindow::ServedWindow() {
  content::HttpLimits limits;
  limits.connect_timeout = std::chrono::milliseconds(2'000);
  limits.progress_window = std::chrono::milliseconds(2'000);
  MakeWindow(limits);
}

void ServedWindow::MakeWindow(content::HttpLimits limits,
                              std::span<const app::ControlEntry> layout) {
  form_ = nullptr;
  game_.reset();
  game_ = std::make_unique<app::Game>(server_.BaseUrl(), "127.0.0.1", limits, dialogs_, random_,
                                      layout);
  form_ = &game_->Window();
}

std::string ServedWindow::CellName(int r, int c) { return testsupport::ServedPack::CellName(r, c); }

std::string ServedWindow::SchemeText() { return testsupport::ServedPack::SchemeText(); }

void ServedWindow::Start() { form_->show(); }

void ServedWindow::StartAndClearRequests() {
  Start();
  ASSERT_TRUE(form_->isVisible()) << "start-up failed";
  server_.ClearRequests();
}

std::string ServedWindow::Shown(const app::TImage* control) const {
  return pack_.NameOf(control->Picture().Data());
}

std::vector<std::string> ServedWindow::Requested() const { return pack_.Requested(); }

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

void ServedWindow::Remove(const std::string& name) { pack_.Remove(name); }

void ServedWindow::ServeJpeg(const std::string& name, int shade) { pack_.ServeJpeg(name, shade); }
