#pragma once

#include <chrono>
#include <cstddef>

namespace content {

// Whether a transfer moves: it must bring at least `min_bytes` in each window of `window`
// from its start to its end. Counting bytes alone would let a server hold a request for ever
// with a byte now and then; a window that asks for a rate does not.
class ProgressWindow {
 public:
  using Clock = std::chrono::steady_clock;

  ProgressWindow(std::chrono::milliseconds window, std::size_t min_bytes, Clock::time_point start)
      : window_(window), min_bytes_(min_bytes), window_end_(start + window) {}

  void Add(std::size_t bytes) { bytes_ += bytes; }
  // False once a window has ended with fewer than min_bytes; a window that brought enough
  // makes way for the next one, from `now`.
  bool Moving(Clock::time_point now) {
    if (now < window_end_) return true;
    if (bytes_ < min_bytes_) return false;
    bytes_ = 0;
    window_end_ = now + window_;
    return true;
  }

  Clock::time_point WindowEnd() const { return window_end_; }
  std::chrono::milliseconds Window() const { return window_; }
  std::size_t MinBytes() const { return min_bytes_; }
  // What the current window has brought so far.
  std::size_t Bytes() const { return bytes_; }

 private:
  std::chrono::milliseconds window_;
  std::size_t min_bytes_;
  Clock::time_point window_end_;
  std::size_t bytes_ = 0;
};

}  // namespace content
