// While a handler waits for the network the event loop runs, but nothing of the game's own
// runs inside it: the controls keep what they showed, clicks wait for the handler, reports of
// damaged pictures wait too, and closing the window ends the handler at once.
#include <qpa/qwindowsysteminterface.h>

#include <QCoreApplication>
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
    const QPointF local = widget->mapTo(form_.get(), QPointF(widget->rect().center()));
    const QPointF global = widget->mapToGlobal(QPointF(widget->rect().center()));
    using Async = QWindowSystemInterface::AsynchronousDelivery;
    QWindowSystemInterface::handleMouseEvent<Async>(window, local, global, Qt::LeftButton,
                                                    Qt::LeftButton, QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent<Async>(window, local, global, Qt::NoButton,
                                                    Qt::LeftButton, QEvent::MouseButtonRelease);
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
  QTimer::singleShot(150ms, form_.get(), [&] {
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

TEST_F(Waiting, DamageFoundWhilePaintingInAWaitIsReportedOnceTheHandlerReturns) {
  testsupport::JpegOptions options;
  options.width = options.height = 64;
  options.pattern = testsupport::JpegPattern::kTexture;
  for (int k = 0; k < 7; ++k) {
    pack_.Serve(CellName(k, k),
                testsupport::WithCorruptEntropyData(testsupport::MakeJpeg(options)));
  }
  StartAndClearRequests();
  QTest::mouseClick(form_->SpeedButton1, Qt::LeftButton);  // hand stepping
  SlowDown("reading.jpg", 300ms);
  QTimer::singleShot(100ms, form_.get(), [&] {
    form_->grab();  // the window paints its pixels: seven damaged tiles or more
    QTimer::singleShot(50ms, form_.get(), [&] {
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
  QTimer::singleShot(100ms, form_.get(), [&] { form_->close(); });
  const auto start = Clock::now();
  QTest::mouseClick(form_->Image1, Qt::LeftButton);  // the verdict, the pick, then the turn
  EXPECT_LT(Clock::now() - start, 1s);
  EXPECT_FALSE(form_->isVisible());
  EXPECT_EQ(Requested().back(), "shemoftask.txt") << "nothing after the abandoned request";
  EXPECT_EQ(Requested().size(), 3u);
  EXPECT_TRUE(dialogs_.no_data_dialogs.empty());
  EXPECT_TRUE(dialogs_.error_boxes.empty());
}

TEST_F(Waiting, AfterATimeOutTheTurnsOtherAttemptsWaitBriefly) {
  content::HttpLimits limits;
  limits.stall_timeout = 600ms;
  limits.retry_timeout = 150ms;
  form_ = std::make_unique<app::TForm1>(
      app::ContentServerSettings{server_.BaseUrl(), "127.0.0.1", limits}, dialogs_, random_);
  StartAndClearRequests();
  testsupport::Reply silent = testsupport::Reply::Ok("");
  silent.fault = testsupport::Fault::kNeverAnswer;
  server_.Route(testsupport::TestHttpServer::FolderTarget("shemoftask.txt"), silent);
  QTest::mouseClick(form_->SpeedButton1, Qt::LeftButton);  // hand stepping
  const auto start = Clock::now();
  QTest::mouseClick(form_->Button1, Qt::LeftButton);
  const auto took = Clock::now() - start;
  EXPECT_EQ(CountOf("shemoftask.txt"), 3);
  EXPECT_GE(took, 600ms + 2 * 150ms);
  EXPECT_LT(took, 2 * 600ms) << "the second and third attempts waited the short time";
  EXPECT_EQ(dialogs_.no_data_dialogs.size(), 1u);
}

}  // namespace
