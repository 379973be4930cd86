#include "stage.h"

#include <QCoreApplication>
#include <QTest>
#include <chrono>
#include <stdexcept>

#include "game/code.h"
#include "game/judge.h"
#include "tests/support/jpeg_maker.h"

namespace faults {

using namespace std::chrono_literals;

content::HttpLimits Stage::Limits() {
  content::HttpLimits limits;
  limits.connect_timeout = 1'000ms;
  // Longer than the drip's second: a drip fails for being too slow, not for a silent window.
  limits.progress_window = 1'200ms;
  limits.transfer_timeout = 2'000ms;
  limits.max_text_bytes = 256 << 10;
  limits.max_picture_bytes = 256 << 10;
  return limits;
}

std::string Stage::CellName(int r, int c) { return testsupport::ServedPack::CellName(r, c); }

std::vector<std::string> Stage::GoodNames() {
  std::vector<std::string> names;
  for (int r = 0; r < 7; ++r)
    for (int c = 0; c < 7; ++c) names.push_back(CellName(r, c));
  return names;
}

std::string Stage::Join(const std::vector<std::string>& lines, std::string_view line_end) {
  std::string text;
  for (const std::string& line : lines) text += line + std::string(line_end);
  return text;
}

QString Stage::NoDataText() {
  return "Hello! No data from " + QString::fromLatin1(kHost) + "! Be connected!";
}

Stage::Stage() = default;

const std::string& Stage::GoodBytes(const std::string& name) const { return pack_.Bytes(name); }

void Stage::Restore() {
  pack_.Restore();
  pack_.server.ServeFolder(extras_);
}

void Stage::Serve(const std::string& name, testsupport::Reply reply) {
  pack_.server.Route(testsupport::TestHttpServer::FolderTarget(name), std::move(reply));
}

void Stage::ServeScheme(std::string text) {
  pack_.server.ServeBytes("shemoftask.txt", std::move(text));
}

void Stage::ServeExtraPicture(const std::string& name, const std::string& target) {
  if (!extra_names_.contains(name)) {
    // Shades 103 on: no good picture has them, and a shade's colour repeats only after 256.
    extra_names_[name] = testsupport::DistinctJpeg(103 + static_cast<int>(extras_.size()));
  }
  extras_[target] = extra_names_[name];
  pack_.server.ServeBytes(target, extras_[target]);
}

app::TForm1& Stage::NewWindow() {
  game_.reset();
  dialogs_ = std::make_unique<RecordedDialogs>();
  random_ = std::make_unique<game::RandomGenerator>();
  game_ = std::make_unique<app::Game>(pack_.server.BaseUrl(), std::string(kHost), Limits(),
                                      *dialogs_, *random_);
  return game_->Window();
}

std::string Stage::Shown(const app::TImage* control) const {
  const std::string name = pack_.NameOf(control->Picture().Data());
  if (name != "?") return name;
  for (const auto& [extra, bytes] : extra_names_) {
    if (control->Picture().Data() == bytes) return extra;
  }
  return "?";
}

std::vector<std::string> Stage::Requested() const { return pack_.Requested(); }

int Stage::RequestsOf(const std::string& name) const {
  int count = 0;
  for (const std::string& requested : Requested()) count += requested == name;
  return count;
}

void Stage::Paint() {
  Window().grab();
  QCoreApplication::processEvents();
}

void Stage::ClickTile(int k) {
  app::TImage* const tiles[] = {Window().Image1, Window().Image2,  Window().Image3, Window().Image4,
                                Window().Image5, Window().Image29, Window().Image28};
  QTest::mouseClick(tiles[k - 1], Qt::LeftButton);
}

int Stage::RightTile() const {
  const int tile = game::RightTile(
      game::SplitCodeDigits(game::TaskAt(Window().State, Window().State.TaskIndex)));
  if (tile == 0) throw std::logic_error("no right tile for the task on show");
  return tile;
}

int Stage::WrongTile() const { return RightTile() == 1 ? 2 : 1; }

}  // namespace faults
