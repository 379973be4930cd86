#pragma once

#include <chrono>
#include <optional>

namespace session {

// How many warning lines the game may write: a burst at once, then one every kRefill. A server
// that fails every request, as fast as the player can click, must not fill the journal. A
// failed turn writes four lines (three attempts and the turn), so a burst takes two of them.
class LineLimit {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr int kBurst = 8;
  static constexpr std::chrono::milliseconds kRefill{500};

  // Whether a line may be written at `now`; a line refused is counted.
  bool Allow(Clock::time_point now);
  // The lines refused since the count was last taken.
  int TakeRefused();

 private:
  int allowance_ = kBurst;
  std::optional<Clock::time_point> earning_since_;
  int refused_ = 0;
};

}  // namespace session
