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

OffscreenGame::OffscreenGame(std::string base_url, CountingDialogs& dialogs)
    : dialogs_(dialogs),
      game_(std::make_unique<app::Game>(std::move(base_url), "127.0.0.1", content::HttpLimits{},
                                        dialogs, random_)) {}

void OffscreenGame::Start() {
  Form().show();
  if (!Form().isVisible()) throw std::runtime_error("the start-up screen got no data");
  Paint();
}

Pick OffscreenGame::PickFor(int turn) const {
  const game::GameState& state = Form().State;
  const int right = game::RightTile(game::SplitCodeDigits(game::TaskAt(state, state.TaskIndex)));
  if (right == 0) throw std::logic_error("no tile is right for the task on show");
  const bool pick_right = turn % 3 != 2;
  return {pick_right ? right : right % game::kChoiceTiles + 1, pick_right,
          game::NextTaskIndex(state.TaskIndex, state.CodeCount)};
}

app::TImage& OffscreenGame::Showing(session::Slot slot) const {
  for (const app::ControlEntry& entry : app::MainWindowLayout()) {
    if (entry.slot == slot) return *(Form().*entry.picture);
  }
  throw std::out_of_range("no control shows that slot");
}

void OffscreenGame::Click(int tile) {
  if (tile < 1 || tile > game::kChoiceTiles) throw std::out_of_range("no such choice tile");
  QTest::mouseClick(&Showing(session::ChoiceSlot(tile)), Qt::LeftButton);
}

void OffscreenGame::ExpectPlayed(const Pick& pick) const {
  const app::TForm1& form = Form();
  const bool verdict_right = !form.Image8->isHidden() && form.Image11->isHidden();
  const bool verdict_wrong = form.Image8->isHidden() && !form.Image11->isHidden();
  if (form.State.TaskIndex != pick.next_task || dialogs_.Shown() != 0 ||
      !(pick.right ? verdict_right : verdict_wrong)) {
    throw std::runtime_error("a turn went wrong: task " + std::to_string(form.State.TaskIndex) +
                             " on show instead of " + std::to_string(pick.next_task) + ", " +
                             std::to_string(dialogs_.Shown()) + " message boxes " +
                             dialogs_.LastText().toStdString());
  }
}

std::array<app::TImage*, 10> OffscreenGame::TurnTiles() const {
  std::array<app::TImage*, 10> tiles{};
  for (int k = 1; k <= game::kChoiceTiles; ++k) tiles[k - 1] = &Showing(session::ChoiceSlot(k));
  for (int t = 1; t <= 3; ++t) tiles[game::kChoiceTiles + t - 1] = &Showing(session::TaskSlot(t));
  return tiles;
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
  const game::CodeDigits next = game::SplitCodeDigits(
      game::TaskAt(state, game::NextTaskIndex(state.TaskIndex, state.CodeCount)));
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
