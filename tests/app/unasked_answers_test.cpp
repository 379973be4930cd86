// A server that sends a second whole answer right after the verdict picture's: the game never
// takes it for the answer to its next request, in game after game.
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "game/code.h"
#include "game/judge.h"
#include "served_window.h"

namespace {

// The unasked answer comes in the same write as the one asked for (-1), or in a write of its
// own 0, 1 or 20 ms after it.
class UnaskedAnswers : public ServedWindow, public testing::WithParamInterface<int> {
 protected:
  // Each of `names` answers, and the start-up picture follows unasked: in the same write, or
  // `delay` after it.
  void SendUnaskedAfter(const std::vector<std::string>& names, bool same_write,
                        std::chrono::milliseconds delay = std::chrono::milliseconds(0)) {
    const std::string reading = pack_.Bytes("reading.jpg");
    for (const std::string& name : names) {
      testsupport::Reply reply = testsupport::Reply::Ok(pack_.Bytes(name), "image/jpeg");
      reply.unasked = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: " +
                      std::to_string(reading.size()) + "\r\n\r\n" + reading;
      reply.unasked_in_same_write = same_write;
      reply.unasked_delay = delay;
      server_.Route(testsupport::TestHttpServer::FolderTarget(name), reply);
    }
  }

  std::set<std::string> PackNames() const {
    std::set<std::string> names{"shemoftask.txt", "reading.jpg", "ok.jpg", "no.jpg"};
    for (int r = 0; r < 7; ++r)
      for (int c = 0; c < 7; ++c) names.insert(CellName(r, c));
    return names;
  }

  // The task on show is the one its code names, with the diagonal in the choices.
  void ExpectTheTaskOnShow() {
    const auto d = game::SplitCodeDigits(game::TaskAt(form_->State, form_->State.TaskIndex));
    EXPECT_EQ(Shown(form_->Image6), CellName(d[0] - 1, d[1] - 1));
    EXPECT_EQ(Shown(form_->Image7), CellName(d[2] - 1, d[3] - 1));
    EXPECT_EQ(Shown(form_->Image25), CellName(d[4] - 1, d[5] - 1));
    const app::TImage* choices[] = {form_->Image1, form_->Image2,  form_->Image3, form_->Image4,
                                    form_->Image5, form_->Image29, form_->Image28};
    for (int k = 0; k < 7; ++k) EXPECT_EQ(Shown(choices[k]), CellName(k, k));
  }
};

TEST_P(UnaskedAnswers, NeverShiftTheGame) {
  const std::set<std::string> pack = PackNames();
  for (int game_number = 1; game_number <= 5; ++game_number) {
    SCOPED_TRACE("game " + std::to_string(game_number));
    MakeWindow(form_->Session().Client().Limits());
    SendUnaskedAfter({"ok.jpg", "no.jpg"}, GetParam() < 0,
                     std::chrono::milliseconds(std::max(GetParam(), 0)));
    StartAndClearRequests();
    for (int click = 0; click < 6; ++click) {
      const auto d = game::SplitCodeDigits(game::TaskAt(form_->State, form_->State.TaskIndex));
      const int tile = click % 2 == 0 ? game::RightTile(d) : (game::RightTile(d) % 7) + 1;
      app::TImage* const tiles[] = {form_->Image1, form_->Image2,  form_->Image3, form_->Image4,
                                    form_->Image5, form_->Image29, form_->Image28};
      server_.ClearRequests();
      QTest::mouseClick(tiles[tile - 1], Qt::LeftButton);
      const auto requested = Requested();
      for (const std::string& name : requested) EXPECT_TRUE(pack.contains(name)) << name;
      EXPECT_EQ(Shown(click % 2 == 0 ? form_->Image8 : form_->Image11),
                click % 2 == 0 ? "ok.jpg" : "no.jpg");
      // The first unasked answer of a game may come after the pick was asked for and pass for
      // its answer (the hidden "Last Task:" picture), and the scheme's attempt may fail once;
      // from then on the client knows the server.
      if (click == 0) {
        EXPECT_TRUE(requested.size() == 13u || requested.size() == 14u) << requested.size();
      } else {
        EXPECT_EQ(requested.size(), 13u);
        EXPECT_EQ(Shown(form_->Image9), CellName(tile - 1, tile - 1));
      }
      ExpectTheTaskOnShow();
    }
    EXPECT_TRUE(dialogs_.no_data_dialogs.empty());
    EXPECT_TRUE(dialogs_.error_boxes.empty());
  }
}

// A player in hand stepping presses "Start->Next" a moment after the click: by then the
// unasked answer that came a little after the pick is in, and must not pass for the scheme.
TEST_F(UnaskedAnswers, NeverPassForTheSchemeInHandStepping) {
  StartAndClearRequests();
  QTest::mouseClick(form_->SpeedButton1, Qt::LeftButton);
  const std::set<std::string> pack = PackNames();
  for (int round = 1; round <= 5; ++round) {
    server_.ClearRequests();
    SendUnaskedAfter({CellName(3, 3)}, false, std::chrono::milliseconds(5));
    QTest::mouseClick(form_->Image4, Qt::LeftButton);
    pack_.Restore();
    QTest::qWait(30);
    QTest::mouseClick(form_->Button1, Qt::LeftButton);
    const auto requested = Requested();
    EXPECT_EQ(requested.size(), 14u);
    for (const std::string& name : requested) EXPECT_TRUE(pack.contains(name)) << name;
    ExpectTheTaskOnShow();
  }
  EXPECT_TRUE(dialogs_.no_data_dialogs.empty());
}

INSTANTIATE_TEST_SUITE_P(Writes, UnaskedAnswers, testing::Values(-1, 0, 1, 20),
                         [](const testing::TestParamInfo<int>& info) {
                           return info.param < 0 ? std::string("SameWrite")
                                                 : std::to_string(info.param) + "msLater";
                         });

}  // namespace
