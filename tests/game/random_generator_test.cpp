#include "game/random_generator.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// RandomBelow(INT_MAX) returns the raw draw for every value below 2^31 - 1.
TEST(RandomGenerator, FirstThreeDrawsAfterStart) {
  game::RandomGenerator random;
  EXPECT_EQ(random.RandomBelow(INT_MAX), 1'410'184'549);
  EXPECT_EQ(random.RandomBelow(INT_MAX), 672'584'604);
  EXPECT_EQ(random.RandomBelow(INT_MAX), 1'915'668'986);
}

TEST(RandomGenerator, ReducesTheDrawModuloTheCount) {
  game::RandomGenerator random;
  EXPECT_EQ(random.RandomBelow(12'600), 5'149);  // the shuffle's first partner
  EXPECT_EQ(random.RandomBelow(7), 6);           // 672,584,604 mod 7
}

TEST(RandomGenerator, ZeroCountDrawsNothing) {
  game::RandomGenerator random;
  const auto before = random.State();
  EXPECT_EQ(random.RandomBelow(0), 0);
  EXPECT_EQ(random.State(), before);
  EXPECT_EQ(random.RandomBelow(INT_MAX), 1'410'184'549);
}

TEST(RandomGenerator, EveryDrawIsWithinRange) {
  game::RandomGenerator random;
  for (int i = 0; i < 10'000; ++i) {
    const int value = random.RandomBelow(7);
    ASSERT_GE(value, 0);
    ASSERT_LT(value, 7);
  }
}

}  // namespace
