#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "recorded_dialogs.h"
#include "stage.h"

namespace faults {

inline constexpr int kTurnAttempts = 3;  // a turn that fails is tried three times in all

// The result of one scenario: what was expected of it, how long the handler under test held
// the window, and every expectation it missed.
struct Result {
  std::string expected;
  double seconds = 0;
  double bound_seconds = 0;
  std::vector<std::string> problems;

  bool Passed() const { return problems.empty(); }
  void Expect(bool holds, const std::string& what);
};

// Times a handler: it must be done within `bound`.
class Stopwatch {
 public:
  explicit Stopwatch(Result& result, double bound_seconds);
  ~Stopwatch();  // records the time and checks the bound
  Stopwatch(const Stopwatch&) = delete;
  Stopwatch& operator=(const Stopwatch&) = delete;

 private:
  Result& result_;
  std::chrono::steady_clock::time_point start_;
};

// Expectations several scenarios share.

// The ten tiles show the pictures the game state names for the task on show; `except` (if
// given) is left out.
void ExpectTaskOnShow(Stage& stage, Result& result, const app::TImage* except = nullptr);

// The turn gave up after its last attempt: one no-data dialog, the window stays, the task
// index did not move, and the scheme was asked for `attempts` times (those that found a
// server), or up to twice as often with `repeats`.
void ExpectGaveUp(Stage& stage, Result& result, int task_index, int attempts = kTurnAttempts,
                  bool repeats = false);

// Painting the window shows `boxes` error boxes in all, and painting again shows no more.
void ExpectErrorBoxesWhenPainted(Stage& stage, Result& result, std::size_t boxes);

// With the good content back, a click on the right tile goes on to the next task.
void ExpectTheGameGoesOn(Stage& stage, Result& result);

}  // namespace faults
