#include "fraction_screen.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace {

struct scan_case {
  std::uint64_t step;
  std::uint64_t fraction;  // at the candidate before the first
  std::uint64_t below;
  std::uint64_t above;
  std::uint32_t first;
  std::uint32_t last;
};

// The jump must stop exactly where the walk stops, with the same fraction, whether or
// not a near integer lies within reach; steps near 0, 2^63 and 2^64 take the descent
// through its reflection and its longest chains of levels.
TEST(FractionScreen, JumpStopsWhereTheWalkStops) {
  constexpr int TRIALS = 6000;  // a few seconds under the CI's emulators
  std::mt19937_64 random(20261211);
  const std::uint64_t steps[] = {1,
                                 0x9E3779B97F4A7C15,  // golden ratio: the most levels
                                 std::uint64_t{1} << 63,
                                 (std::uint64_t{1} << 63) + 12345,
                                 0 - std::uint64_t{977},
                                 std::uint64_t{0x2AAAAAAAAAAAAAAB},  // about a third
                                 0};
  int compared = 0;
  for (int trial = 0; trial < TRIALS; ++trial) {
    scan_case c{};
    c.step = trial < 7 * 100 ? steps[trial % 7] + random() % 3 : random();
    c.fraction = random();
    c.below = (random() >> (20 + random() % 40)) + 1;
    c.above = random() >> (13 + random() % 40);
    c.first = 1 + static_cast<std::uint32_t>(random() % 1000);
    c.last = c.first + SCAN_BEFORE_JUMP + 1 + static_cast<std::uint32_t>(random() % 200000);
    fraction_screen screen{};
    screen.step = c.step;
    screen.below = c.below;
    screen.width = c.below + c.above;
    std::uint64_t walked = c.fraction;
    std::uint64_t jumped = c.fraction;
    const std::uint32_t walk = walk_to_near_integer(screen, c.step, walked, c.first, c.last);
    const std::uint32_t jump = jump_to_near_integer(screen, c.step, jumped, c.first, c.last);
    ASSERT_EQ(walk, jump) << "step " << c.step << " fraction " << c.fraction << " window "
                          << c.below << " + " << c.above << " candidates " << c.first << " to "
                          << c.last;
    ASSERT_EQ(walked, jumped) << "step " << c.step << " fraction " << c.fraction;
    if (walk <= c.last) ++compared;
  }
  // Both kinds of outcome were exercised: found within reach, and not.
  EXPECT_GT(compared, TRIALS / 20);
  EXPECT_LT(compared, TRIALS - TRIALS / 20);
}

}  // namespace
