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
    : game_(std::make_unique<app::Game>(std::move(base_url), "127.0.0.1", content::HttpLimits{},
                                        dialogs, random_)) {}

void OffscreenGame::Start() {
  Form().show();
  if (!Form().isVisible()) throw std::runtime_error("the start-up screen got no data");
  Paint();
}

int OffscreenGame::RightTile() const {
  const int tile =
      game::RightTile(game::SplitCodeDigits(game::TaskAt(Form().State, Form().State.TaskIndex)));
  if (tile == 0) throw std::logic_error("no tile is right for the task on show");
  return tile;
}

app::TImage& OffscreenGame::ChoiceTile(int tile) const {
  app::TImage* const tiles[] = {Form().Image1, Form().Image2,  Form().Image3, Form().Image4,
                                Form().Image5, Form().Image29, Form().Image28};
  if (tile < 1 || tile > game::kTableSize) throw std::out_of_range("no such choice tile");
  return *tiles[tile - 1];
}

void OffscreenGame::Click(int tile) { QTest::mouseClick(&ChoiceTile(tile), Qt::LeftButton); }

std::array<app::TImage*, 10> OffscreenGame::TurnTiles() const {
  return {Form().Image1,  Form().Image2,  Form().Image3, Form().Image4, Form().Image5,
          Form().Image29, Form().Image28, Form().Image6, Form().Image7, Form().Image25};
}

int OffscreenGame::NextTaskIndex() const {
  return game::NextTaskIndex(Form().State.TaskIndex, Form().State.CodeCount);
}

std::vector<std::string> OffscreenGame::ClickUrls(int tile) const {
  if (!Form().CheckBox2->isChecked() || Form().CheckBox1->isChecked()) {
    throw std::logic_error("the requests are known in advance only in automatic fixed order");
  }
  const game::GameState& state = Form().State;
  const auto url = [this](const std::string& name) { return Form().IdHTTP1.UrlFor(name); };
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
