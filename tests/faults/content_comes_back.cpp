#include "content_comes_back.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace faults {
namespace {

// Well within any time-out: a stopped server refuses at once.
constexpr double kBound = 3.0;

Result StopsBetweenClicks(Stage& stage) {
  Result result;
  result.expected = "click does nothing";
  app::TForm1& form = stage.NewWindow();
  form.show();
  const int before = form.State.TaskIndex;
  stage.Server().Stop();
  {
    Stopwatch watch(result, kBound);
    stage.ClickTile(stage.RightTile());
  }
  result.Expect(form.State.TaskIndex == before, "a next turn was played");
  result.Expect(stage.Dialogs().no_data_dialogs.empty(), "a no-data dialog");
  result.Expect(form.isVisible(), "the window closed");
  stage.Server().Start();
  ExpectTheGameGoesOn(stage, result);
  return result;
}

Result StopsInTheMiddleOfATurn(Stage& stage) {
  Result result;
  result.expected = "turn gives up";
  app::TForm1& form = stage.NewWindow();
  form.show();
  const int before = form.State.TaskIndex;
  testsupport::TestHttpServer& server = stage.Server();
  server.ClearRequests();
  // The click asks for the verdict, the pick, the scheme and then the choice tiles; the
  // second of those gets no answer, and the server stops while it waits.
  constexpr int kStopAt = 5;
  std::atomic<int> seen = 0;
  std::mutex stopper_mutex;
  std::thread stopper;
  server.SetRequestObserver([&](const testsupport::RecordedRequest& request) {
    if (++seen != kStopAt) return;
    testsupport::Reply silent;
    silent.fault = testsupport::Fault::kNeverAnswer;
    server.Route(request.target, silent);
    // Stop waits for this serving thread, so it runs on one of its own.
    std::lock_guard lock(stopper_mutex);
    stopper = std::thread([&server] { server.Stop(); });
  });
  {
    Stopwatch watch(result, kBound);
    stage.ClickTile(stage.RightTile());
  }
  server.SetRequestObserver(nullptr);
  {
    std::lock_guard lock(stopper_mutex);
    if (stopper.joinable()) stopper.join();
  }
  result.Expect(seen == kStopAt, "the server did not stop in the turn");
  result.Expect(stage.Shown(form.Image8) == "ok.jpg", "the verdict is not on show");
  // The later attempts find no server: only the first one got the scheme.
  ExpectGaveUp(stage, result, before, 1);
  server.Start();
  ExpectTheGameGoesOn(stage, result);
  ExpectTheGameGoesOn(stage, result);
  return result;
}

}  // namespace

std::vector<Scenario> ContentComesBack(Stage& stage) {
  return {
      {"server stops between clicks, starts again", StopsBetweenClicks(stage)},
      {"server stops in a turn, starts again", StopsInTheMiddleOfATurn(stage)},
  };
}

}  // namespace faults
