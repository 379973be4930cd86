// Start-up: the captions, the start-up picture, the sequence and the first task, or the
// no-data dialog.
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <vector>

#include "game/code.h"
#include "served_window.h"
#include "tests/support/jpeg_maker.h"

namespace {

using StartupScreen = ServedWindow;

std::vector<std::string> TurnRequests(const game::ImageNameTable& names, int code) {
  std::vector<std::string> expected{"shemoftask.txt"};
  for (int k = 0; k < 7; ++k) expected.push_back(names[k][k]);
  const auto d = game::SplitCodeDigits(code);
  for (int pair = 0; pair < 3; ++pair) {
    expected.push_back(names[d[2 * pair] - 1][d[2 * pair + 1] - 1]);
  }
  return expected;
}

TEST_F(StartupScreen, ComesUpWithTheFirstTaskOnShow) {
  Start();
  ASSERT_TRUE(form_->isVisible());
  EXPECT_TRUE(dialogs_.no_data_dialogs.empty());
  EXPECT_EQ(form_->State.CodeCount, 12'600);
  EXPECT_EQ(form_->State.TaskIndex, 1) << "the first turn plays entry 1";

  const int code = game::TaskAt(form_->State, 1);
  std::vector<std::string> expected{"reading.jpg"};
  for (const auto& name : TurnRequests(form_->State.ImageNames, code)) expected.push_back(name);
  EXPECT_EQ(Requested(), expected);
  EXPECT_EQ(server_.ConnectionCount(), 1) << "one connection, kept alive";

  const auto d = game::SplitCodeDigits(code);
  EXPECT_EQ(Shown(form_->Image6), CellName(d[0] - 1, d[1] - 1));
  EXPECT_EQ(Shown(form_->Image7), CellName(d[2] - 1, d[3] - 1));
  EXPECT_EQ(Shown(form_->Image25), CellName(d[4] - 1, d[5] - 1));
  EXPECT_EQ(Shown(form_->Image1), CellName(0, 0));
  EXPECT_EQ(Shown(form_->Image28), CellName(6, 6));
  EXPECT_EQ(Shown(form_->Image8), "reading.jpg");
  EXPECT_FALSE(form_->Button1->isEnabled());
  EXPECT_TRUE(form_->CheckBox2->isChecked());
}

// FormShow waits for the network in the event loop, as every handler does, and all of it runs
// before the window comes on the screen.
TEST_F(StartupScreen, WaitsInTheEventLoopWhileTheWindowIsStillHidden) {
  testsupport::Reply spread = testsupport::Reply::Ok(pack_.Bytes("reading.jpg"), "image/jpeg");
  spread.fault = testsupport::Fault::kSpreadOut;  // no reading it without waiting for the rest
  spread.pieces = 3;
  server_.Route(testsupport::TestHttpServer::FolderTarget("reading.jpg"), spread);
  int delivered = 0;
  bool visible_then = true;
  QTimer::singleShot(0, form_, [&] {
    ++delivered;
    visible_then = form_->isVisible();
  });
  Start();
  EXPECT_EQ(delivered, 1) << "the event loop ran while start-up waited";
  EXPECT_FALSE(visible_then);
  ASSERT_TRUE(form_->isVisible());
  EXPECT_EQ(Shown(form_->Image8), "reading.jpg");
  EXPECT_EQ(server_.ConnectionCount(), 1);
}

TEST_F(StartupScreen, AFirstTurnThatGivesUpFailsTheStart) {
  Remove("shemoftask.txt");
  Start();
  EXPECT_EQ(dialogs_.no_data_dialogs,
            std::vector<QString>{"Hello! No data from 127.0.0.1! Be connected!"});
  EXPECT_FALSE(form_->isVisible()) << "no window without a task";
  EXPECT_EQ(Requested(), (std::vector<std::string>{"reading.jpg", "shemoftask.txt",
                                                   "shemoftask.txt", "shemoftask.txt"}));
}

TEST_F(StartupScreen, SetsTheWindowTextsWhateverTheLayoutSays) {
  std::vector<app::ControlEntry> layout(app::MainWindowLayout().begin(),
                                        app::MainWindowLayout().end());
  for (auto& entry : layout) entry.caption = "placeholder";
  MakeWindow({}, layout);
  Start();
  EXPECT_EQ(form_->GroupBox4->title(), "Qovex");
  EXPECT_EQ(form_->GroupBox6->title(), "Dravel Qovex game!");
  EXPECT_EQ(form_->GroupBox9->title(), "New Task:");
  EXPECT_EQ(form_->GroupBox8->title(), "Choice(Please, Click here!):");
  EXPECT_EQ(form_->SpeedButton1->text(), "HandStep/AutoStep");
  EXPECT_EQ(form_->SpeedButton2->text(), "Fixed/Mixed");
  EXPECT_EQ(form_->Button1->text(), "Start->Next");
  EXPECT_EQ(form_->windowTitle(), "Qovex Dravel");
}

// Each way of not getting "reading.jpg" ends start-up with the no-data dialog, before the
// sequence or the first task is built.
class StartupWithoutReadingPicture : public ServedWindow,
                                     public testing::WithParamInterface<const char*> {};

TEST_P(StartupWithoutReadingPicture, ShowsTheNoDataDialogAndCloses) {
  const std::string failure = GetParam();
  if (failure == "server down") server_.Stop();
  if (failure == "missing") Remove("reading.jpg");
  if (failure == "html page") {
    server_.Route(testsupport::TestHttpServer::FolderTarget("reading.jpg"),
                  testsupport::Reply::Ok("<html><body>Sorry</body></html>", "text/html"));
  }
  if (failure == "damaged header") {
    server_.ServeBytes("reading.jpg", testsupport::WithCorruptHeader(pack_.Bytes("reading.jpg")));
  }

  Start();
  ASSERT_EQ(dialogs_.no_data_dialogs.size(), 1u);
  EXPECT_EQ(dialogs_.no_data_dialogs[0], "Hello! No data from 127.0.0.1! Be connected!");
  EXPECT_FALSE(form_->isVisible());
  EXPECT_EQ(form_->State.CodeCount, 0) << "no sequence built";
  EXPECT_EQ(form_->State.TaskIndex, 0);
  EXPECT_TRUE(form_->Image6->Picture().Empty()) << "no first task";
  EXPECT_TRUE(form_->Image8->Picture().Empty());
  if (failure != "server down") {
    EXPECT_EQ(Requested(), std::vector<std::string>{"reading.jpg"});
  }
  EXPECT_EQ(form_->windowTitle(), "Qovex Dravel") << "the texts were set first";
}

INSTANTIATE_TEST_SUITE_P(Failures, StartupWithoutReadingPicture,
                         testing::Values("server down", "missing", "html page", "damaged header"));

TEST_F(StartupScreen, EmptyReadingPictureStillStarts) {
  server_.ServeBytes("reading.jpg", "");
  Start();
  EXPECT_TRUE(form_->isVisible());
  EXPECT_TRUE(form_->Image8->Picture().Empty());
  EXPECT_EQ(form_->State.TaskIndex, 1);
}

}  // namespace
