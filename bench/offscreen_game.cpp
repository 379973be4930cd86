#include "bench/offscreen_game.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QTest>
#include <fstream>
#include <stdexcept>
#include <utility>

#include "content/content_server.h"
#include "game/code.h"
#include "game/judge.h"
#include "game/sequence_builder.h"
#include "game/turn_cells.h"

namespace bench {

void CountingDialogs::ShowErrorBox(const QString& text) {
  ++shown_;
  last_text_ = text;
}

void CountingDialogs::ShowNoDataDialog(const QString& text) {
  ++shown_;
  last_text_ = text;
}

OffscreenGame::OffscreenGame(std::string base_url, app::Dialogs& dialogs)
    : form_(std::make_unique<app::TForm1>(
          app::ContentServerSettings{std::move(base_url), "127.0.0.1", {}}, dialogs, random_)) {}

void OffscreenGame::Start() {
  form_->show();
  if (!form_->isVisible()) throw std::runtime_error("the start-up screen got no data");
  Paint();
}

int OffscreenGame::RightTile() const {
  const int tile =
      game::RightTile(game::SplitCodeDigits(game::TaskAt(form_->State, form_->State.TaskIndex)));
  if (tile == 0) throw std::logic_error("no tile is right for the task on show");
  return tile;
}

app::TImage& OffscreenGame::ChoiceTile(int tile) const {
  app::TImage* const tiles[] = {form_->Image1, form_->Image2,  form_->Image3, form_->Image4,
                                form_->Image5, form_->Image29, form_->Image28};
  if (tile < 1 || tile > game::kTableSize) throw std::out_of_range("no such choice tile");
  return *tiles[tile - 1];
}

void OffscreenGame::Click(int tile) { QTest::mouseClick(&ChoiceTile(tile), Qt::LeftButton); }

std::array<app::TImage*, 10> OffscreenGame::TurnTiles() const {
  return {form_->Image1,  form_->Image2,  form_->Image3, form_->Image4, form_->Image5,
          form_->Image29, form_->Image28, form_->Image6, form_->Image7, form_->Image25};
}

int OffscreenGame::NextTaskIndex() const {
  return game::NextTaskIndex(form_->State.TaskIndex, form_->State.CodeCount);
}

std::vector<std::string> OffscreenGame::ClickUrls(int tile) const {
  if (!form_->CheckBox2->isChecked() || form_->CheckBox1->isChecked()) {
    throw std::logic_error("the requests are known in advance only in automatic fixed order");
  }
  const game::GameState& state = form_->State;
  const auto url = [this](const std::string& name) { return form_->IdHTTP1.UrlFor(name); };
  const game::CodeDigits judged = game::SplitCodeDigits(game::TaskAt(state, state.TaskIndex));
  std::vector<std::string> urls;
  urls.push_back(
      url(game::IsRightPick(judged, tile, tile) ? content::kRightPicture : content::kWrongPicture));
  urls.push_back(url(game::NameAt(state.ImageNames, game::ChoiceCell(tile))));
  urls.push_back(url(content::kSchemeFile));
  // Fixed order: the next turn reads the same table from the same scheme file.
  for (int k = 1; k <= game::kChoiceTiles; ++k) {
    urls.push_back(url(game::NameAt(state.ImageNames, game::ChoiceCell(k))));
  }
  const game::CodeDigits next = game::SplitCodeDigits(game::TaskAt(state, NextTaskIndex()));
  for (const game::Cell cell : game::TaskCells(next)) {
    urls.push_back(url(game::NameAt(state.ImageNames, cell)));
  }
  return urls;
}

void OffscreenGame::Paint() { QCoreApplication::processEvents(); }

void UseOffscreenPlatform() { qputenv("QT_QPA_PLATFORM", "offscreen"); }

std::size_t ResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      std::size_t kib = 0;
      status >> kib;
      return kib * 1024;
    }
    status.ignore(4096, '\n');
  }
  throw std::runtime_error("no VmRSS in /proc/self/status");
}

}  // namespace bench
