#pragma once

#include <cstdint>

namespace game {

// The program's one random generator: a 64-bit linear congruential generator with a fixed
// seed, so every run plays the same task order.
class RandomGenerator {
 public:
  static constexpr std::uint64_t kSeed = 22'695'478;
  static constexpr std::uint64_t kMultiplier = 0x0000'015A'0000'4E35;

  // 0 to n - 1 from the next draw (the draw modulo n). Draws nothing and returns 0 when
  // n <= 0; callers always pass a positive count.
  int RandomBelow(int n);

  std::uint64_t State() const { return state_; }

 private:
  std::uint64_t state_ = kSeed;
};

}  // namespace game
