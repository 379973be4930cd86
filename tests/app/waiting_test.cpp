// While a handler waits for the network the event loop runs, but nothing of the game's own
// runs inside it: the controls keep what they showed, clicks wait for the handler, reports of
// damaged pictures wait too, and closing the window ends the handler at once.
#include <qpa/qwindowsysteminterface.h>

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <thread>

#include "served_window.h"
#include "tests/support/jpeg_maker.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class Waiting : public ServedWindow {
 protected:
  ~Waiting() override { server_.SetRequestObserver(nullptr); }

  // The server holds back its answer to `name` for `delay` each time it is asked for.
  void SlowDown(const std::string& name, std::chrono::milliseconds delay) {
    const std::string target = testsupport::TestHttpServer::FolderTarget(name);
    server_.SetRequestObserver([target, delay](const testsupport::RecordedRequest& request) {
      if (request.target == target) std::this_thread::sleep_for(delay);
    });
  }

  // A press and a release on `widget` as the window system delivers them: queued, not sent.
  void QueueClick(QWidget* widget) {
    QWindow* window = form_->windowHandle();
    const QPointF local = widget->mapTo(form_, QPointF(widget->rect().center()));
    const QPointF global = widget->mapToGlobal(QPointF(widget->rect().center()));
    using Async = QWindowSystemInterface::AsynchronousDelivery;
    QWindowSystemInterface::handleMouseEvent<Async>(window, local, global, Qt::LeftButton,
                                                    Qt::LeftButton, QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent<Async>(window, local, global, Qt::NoButton,
                                                    Qt::LeftButton, QEvent::MouseButtonRelease);
  }

  // A double-click as the window system delivers it: two presses close together.
  void QueueDoubleClick(QWidget* widget) {
    QueueClick(widget);
    QueueClick(widget);
  }

  void QueueMouseMoves(int count) {
    QWindow* window = form_->windowHandle();
    using Async = QWindowSystemInterface::AsynchronousDelivery;
    for (int i = 0; i < count; ++i) {
      const QPointF local(100 + 10 * i, 100);
      QWindowSystemInterface::handleMouseEvent<Async>(
          window, local, form_->mapToGlobal(local), Qt::NoButton, Qt::NoButton, QEvent::MouseMove);
    }
  }

  // A key typed as the window system delivers it: queued, not sent.
  void QueueKey(Qt::Key key) {
    using Async = QWindowSystemInterface::AsynchronousDelivery;
    const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QWindowSystemInterface::handleKeyEvent<Async>(form_->windowHandle(), type, key,
                                                    Qt::NoModifier, text);
    }
  }

  // The requests after the first `from`.
  std::vector<std::string> RequestedAfter(std::size_t from) const {
    const auto requested = Requested();
    return {requested.begin() + static_cast<std::ptrdiff_t>(std::min(from, requested.size())),
            requested.end()};
  }

  int CountOf(const std::string& name) const {
    const auto requested = Requested();
    return static_cast<int>(std::count(requested.begin(), requested.end(), name));
  }
};

TEST_F(Waiting, TheControlsKeepWhatTheyShowedAndClicksMeanwhileRunOnceAfterTheHandler) {
  StartAndClearRequests();
  QTest::mouseClick(form_->SpeedButton1, Qt::LeftButton);  // hand stepping
  SlowDown(CellName(6, 6), 400ms);                         // the last choice tile of the next turn
  bool waited = false;
  QTimer::singleShot(150ms, form_, [&] {
    waited = true;
    // The session holds six new choice pictures already; the window still shows the old ones.
    EXPECT_EQ(Requested().size(), 9u);
    const auto& fetched = form_->Session().Shown()[session::ChoiceSlot(1)].picture;
    EXPECT_FALSE(form_->Image1->Picture().SameAs(fetched));
    QueueClick(form_->Image7);  // a task tile: its click does nothing
    QueueClick(form_->Image2);
    QueueClick(form_->SpeedButton1);
  });
  const int index = form_->State.TaskIndex;
  QTest::mouseClick(form_->Button1, Qt::LeftButton);
  EXPECT_TRUE(waited) << "the event loop ran while the turn waited";
  EXPECT_EQ(form_->State.TaskIndex, index + 1);
  EXPECT_EQ(Requested().size(), 12u) << "the clicks waited for the turn";
  EXPECT_TRUE(
      form_->Image1->Picture().SameAs(form_->Session().Shown()[session::ChoiceSlot(1)].picture));
  EXPECT_EQ(form_->SpeedButton1->text(), "AutoStep");

  server_.SetRequestObserver(nullptr);
  QCoreApplication::processEvents();
  EXPECT_EQ(CountOf("ok.jpg") + CountOf("no.jpg"), 1) << "the choice ran once";
  EXPECT_EQ(Requested().size(), 14u);
  EXPECT_EQ(form_->SpeedButton1->text(), "HandStep") << "the switch's click ran after it";
}

TEST_F(Waiting, KeysTypedInAWaitRunOnceEachAfterTheHandler) {
  StartAndClearRequests();
  form_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form_));
  QTest::mouseClick(form_->SpeedButton1, Qt::LeftButton);  // hand stepping
  PlantNextCode(123456);                                   // tile 7 is right
  QTest::keyClick(form_->windowHandle(), Qt::Key_End);
  QTest::keyClick(form_->windowHandle(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), form_->Button1);
  SlowDown(CellName(6, 6), 400ms);
  std::size_t during = 0;
  QWidget* focus_during = nullptr;
  QTimer::singleShot(150ms, form_, [&] {
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Right, Qt::Key_Space, Qt::Key_End, Qt::Key_Return}) {
      QueueKey(key);
    }
    QTimer::singleShot(100ms, form_, [&] {
      during = Requested().size();
      focus_during = QApplication::focusWidget();
    });
  });
  QTest::keyClick(form_->windowHandle(), Qt::Key_Space);  // "Start->Next"
  EXPECT_EQ(during, 9u) << "the keys waited for the turn";
  EXPECT_EQ(focus_during, form_->Button1);
  server_.SetRequestObserver(nullptr);
  QCoreApplication::processEvents();
  EXPECT_EQ(RequestedAfter(12),
            (std::vector<std::string>{"no.jpg", CellName(1, 1), "ok.jpg", CellName(6, 6)}));
  EXPECT_EQ(QApplication::focusWidget(), form_->Image28);
}

// A press through the accessibility interface is a call, not an input event: it comes in the
// wait's event loop all the same, and waits like a click.
TEST_F(Waiting, PressesOfAssistiveTechnologyInAWaitRunOnceEachAfterTheHandlerInTurn) {
  StartAndClearRequests();
  QTest::mouseClick(form_->SpeedButton1, Qt::LeftButton);  // hand stepping
  PlantNextCode(123456);
  SlowDown(CellName(6, 6), 500ms);
  const auto press = [](QWidget* control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  };
  std::size_t during = 0;
  QTimer::singleShot(150ms, form_, [&] { QueueClick(form_->Image3); });
  QTimer::singleShot(200ms, form_, [&] { press(form_->Image28); });
  QTimer::singleShot(250ms, form_, [&] {
    press(form_->SpeedButton1);  // Qt's own interface: a click inside the call
    QTimer::singleShot(150ms, form_, [&] { during = Requested().size(); });
  });
  QTest::mouseClick(form_->Button1, Qt::LeftButton);
  EXPECT_EQ(during, 9u) << "nothing ran inside the turn";
  EXPECT_EQ(Requested().size(), 12u);
  EXPECT_EQ(form_->SpeedButton1->text(), "AutoStep");

  server_.SetRequestObserver(nullptr);
  QCoreApplication::processEvents();
  EXPECT_EQ(RequestedAfter(12),
            (std::vector<std::string>{"no.jpg", CellName(2, 2), "ok.jpg", CellName(6, 6)}));
  EXPECT_EQ(form_->SpeedButton1->text(), "HandStep") << "the switch, once, after the tiles";
}

TEST_F(Waiting, DamageFoundWhilePaintingInAWaitIsReportedOnceTheHandlerReturns) {
  testsupport::JpegOptions options;
  options.width = options.height = 64;
  options.pattern = testsupport::JpegPattern::kTexture;
  options.progressive = true;
  for (int k = 0; k < 7; ++k) {
    pack_.Serve(CellName(k, k), testsupport::WithBadLaterScan(testsupport::MakeJpeg(options)));
  }
  StartAndClearRequests();
  QTest::mouseClick(form_->SpeedButton1, Qt::LeftButton);  // hand stepping
  SlowDown("reading.jpg", 300ms);
  QTimer::singleShot(100ms, form_, [&] {
    form_->grab();  // the window paints its pixels: seven damaged tiles or more
    QTimer::singleShot(50ms, form_, [&] {
      EXPECT_TRUE(dialogs_.error_boxes.empty()) << "no box inside the wait";
    });
  });
  QTest::mouseClick(form_->Button1, Qt::LeftButton);
  EXPECT_EQ(Requested().size(), 12u);
  EXPECT_TRUE(dialogs_.error_boxes.empty());
  QCoreApplication::processEvents();
  // The seven choices, and any task tile that shows one of them.
  int damaged = 7;
  for (const app::TImage* tile : {form_->Image6, form_->Image7, form_->Image25}) {
    const std::string name = Shown(tile);
    damaged += name.size() > 8 && name[5] == name[7];  // "cell-k-k.jpg"
  }
  ASSERT_EQ(dialogs_.error_boxes.size(), 1u) << "one box for them all";
  EXPECT_TRUE(dialogs_.error_boxes[0].startsWith(QString::number(damaged) +
                                                 " pictures could not be shown ("))
      << dialogs_.error_boxes[0].toStdString();
  EXPECT_TRUE(dialogs_.error_boxes[0].endsWith(")"));
}

TEST_F(Waiting, ClosingTheWindowInAWaitEndsTheHandlerWithNoRequestOrDialogAfter) {
  StartAndClearRequests();
  server_.Route(testsupport::TestHttpServer::FolderTarget("shemoftask.txt"), [] {
    testsupport::Reply silent = testsupport::Reply::Ok("");
    silent.fault = testsupport::Fault::kNeverAnswer;
    return silent;
  }());
  QTimer::singleShot(100ms, form_, [&] { form_->close(); });
  QTest::mouseClick(form_->Image1, Qt::LeftButton);  // the verdict, the pick, then the turn
  EXPECT_FALSE(form_->isVisible());
  EXPECT_EQ(Requested().back(), "shemoftask.txt") << "nothing after the abandoned request";
  EXPECT_EQ(Requested().size(), 3u);
  EXPECT_TRUE(dialogs_.no_data_dialogs.empty());
  EXPECT_TRUE(dialogs_.error_boxes.empty());
}

TEST_F(Waiting, ADoubleClickOnAChoiceIsJudgedOnce) {
  StartAndClearRequests();
  const int index = form_->State.TaskIndex;
  QueueDoubleClick(form_->Image3);
  while (Requested().size() < 13u) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  QCoreApplication::processEvents();  // what the second press left behind
  EXPECT_EQ(Requested().size(), 13u) << "one verdict, one pick, one turn";
  EXPECT_EQ(CountOf("ok.jpg") + CountOf("no.jpg"), 1);
  EXPECT_EQ(form_->State.TaskIndex, index + 1);
}

// The no-data dialog as the program shows it: a real modal box, answered with real keys after
// the player moved and clicked in the window while the turn waited.
class WaitingWithRealDialogs : public Waiting {
 protected:
  WaitingWithRealDialogs() {
    content::HttpLimits limits;
    limits.progress_window = 300ms;
    limits.retry_timeout = 100ms;
    game_.reset();
    game_ = std::make_unique<app::Game>(server_.BaseUrl(), "127.0.0.1", limits, boxes_, random_);
    form_ = &game_->Window();
  }

  // Presses Return in the first modal box that comes up, as the player's keyboard would.
  void AnswerTheBoxWithReturn() {
    auto* poll = new QTimer(form_);
    QObject::connect(poll, &QTimer::timeout, form_, [this, poll] {
      QWidget* box = QApplication::activeModalWidget();
      if (!box || !box->isVisible()) return;
      poll->stop();
      box_text_ = static_cast<QMessageBox*>(box)->text();
      using Async = QWindowSystemInterface::AsynchronousDelivery;
      QWindowSystemInterface::handleKeyEvent<Async>(box->windowHandle(), QEvent::KeyPress,
                                                    Qt::Key_Return, Qt::NoModifier, "\r");
      QWindowSystemInterface::handleKeyEvent<Async>(box->windowHandle(), QEvent::KeyRelease,
                                                    Qt::Key_Return, Qt::NoModifier, "\r");
      // Should the key not reach it, the test ends rather than waiting for ever.
      QTimer::singleShot(5s, box, [box, this] {
        forced_closed_ = true;
        static_cast<QDialog*>(box)->done(0);
      });
    });
    poll->start(20ms);
  }

  app::MessageBoxDialogs boxes_;
  QString box_text_;
  bool forced_closed_ = false;
};

TEST_F(WaitingWithRealDialogs, InputDuringTheWaitLeavesTheNoDataDialogToTheKeyboard) {
  StartAndClearRequests();
  QTest::mouseClick(form_->SpeedButton1, Qt::LeftButton);  // hand stepping
  testsupport::Reply silent = testsupport::Reply::Ok("");
  silent.fault = testsupport::Fault::kNeverAnswer;
  server_.Route(testsupport::TestHttpServer::FolderTarget("shemoftask.txt"), silent);
  const int index = form_->State.TaskIndex;
  QTimer::singleShot(100ms, form_, [this] {
    QueueMouseMoves(5);
    QueueClick(form_->Image2);
    QueueMouseMoves(3);
  });
  AnswerTheBoxWithReturn();
  QTest::mouseClick(form_->Button1, Qt::LeftButton);

  EXPECT_EQ(box_text_, "Hello! No data from 127.0.0.1! Be connected!");
  EXPECT_FALSE(forced_closed_) << "the no-data dialog did not take Return";
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(CountOf("shemoftask.txt"), 3);

  // The content is back: the click held in the wait is judged, and "Start->Next" plays on.
  pack_.Restore();
  server_.ClearRequests();
  QCoreApplication::processEvents();
  EXPECT_EQ(CountOf("ok.jpg") + CountOf("no.jpg"), 1) << "the held click, judged once";
  QTest::mouseClick(form_->Button1, Qt::LeftButton);
  EXPECT_GT(form_->State.TaskIndex, index);
  EXPECT_EQ(Requested().size(), 14u);
  EXPECT_EQ(Requested().back(), Shown(form_->Image25));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
