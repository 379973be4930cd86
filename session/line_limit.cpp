#include "session/line_limit.h"

#include <algorithm>
#include <utility>

namespace session {

bool LineLimit::Allow(Clock::time_point now) {
  if (!earning_since_) earning_since_ = now;
  const auto earned = (now - *earning_since_) / kRefill;
  if (earned > 0) {
    allowance_ = static_cast<int>(std::min<decltype(earned)>(kBurst, allowance_ + earned));
    *earning_since_ += earned * kRefill;
  }
  // A full allowance earns nothing more: the time until the next line is spent starts now.
  if (allowance_ == kBurst) earning_since_ = now;
  if (allowance_ == 0) {
    ++refused_;
    return false;
  }
  --allowance_;
  return true;
}

int LineLimit::TakeRefused() { return std::exchange(refused_, 0); }

}  // namespace session
