#include "foundation/random.h"

#include <gtest/gtest.h>

#include <limits>
#include <thread>

namespace tr {
namespace {

TEST(Random, RuntimeSequence) {
  SeedRandom(1);
  EXPECT_EQ(RandomDraw(), 41);
  EXPECT_EQ(RandomDraw(), 18467);
  EXPECT_EQ(RandomDraw(), 6334);
  EXPECT_EQ(RandomDraw(), 26500);
  EXPECT_EQ(RandomDraw(), 19169);
}

TEST(Random, ThreadsHaveTheirOwnState) {
  SeedRandom(1);
  RandomDraw();
  int other_first = -1;
  std::thread([&] {
    SeedRandom(12345);
    RandomDraw();
    SeedRandom(1);
    other_first = RandomDraw();
  }).join();
  EXPECT_EQ(other_first, 41);
  EXPECT_EQ(RandomDraw(), 18467);  // this thread's sequence went on untouched
}

TEST(Random, RangeReachesTheTopOnlyOnTheLastDraw) {
  {
    ScopedRandomDraws draws({0, 16383, 32766, 32767});
    EXPECT_EQ(RandomRange(1, 6), 1);
    EXPECT_EQ(RandomRange(1, 6), 3);
    EXPECT_EQ(RandomRange(1, 6), 5);
    EXPECT_EQ(RandomRange(1, 6), 6);
  }
  SeedRandom(7);
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(RandomRange(0, 0), 0);
  int top = 0;
  for (int r = 0; r < 32768; ++r) {
    ScopedRandomDraws draw({r});
    if (RandomRange(1, 6) == 6) ++top;
  }
  EXPECT_EQ(top, 1);
}

TEST(Random, UnitAndSum) {
  ScopedRandomDraws draws({0, 32767, 100, 200, 300});
  EXPECT_EQ(RandomUnit(), 0.0f);
  EXPECT_EQ(RandomUnit(), 1.0f);
  EXPECT_EQ(RandomSum(0, 1, 6), 0);
  EXPECT_EQ(RandomSum(-3, 1, 6), 0);
  EXPECT_EQ(draws.remaining(), 3u);  // no draw for an empty sum
  EXPECT_EQ(RandomSum(3, 10, 20), 30);
}

// Bounds read from files may be any 32-bit numbers.
struct sExtremeRange {
  int low, high, draw, expected;
};

class RandomExtremeTest : public testing::TestWithParam<sExtremeRange> {};

TEST_P(RandomExtremeTest, RangeStaysWithinItsBounds) {
  ScopedRandomDraws draws({GetParam().draw});
  EXPECT_EQ(RandomRange(GetParam().low, GetParam().high), GetParam().expected);
}

constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();

INSTANTIATE_TEST_SUITE_P(Bounds, RandomExtremeTest,
                         testing::Values(sExtremeRange{kMin, kMax, 0, kMin}, sExtremeRange{kMin, kMax, 32767, kMax},
                                         sExtremeRange{0, kMax, 32767, kMax}, sExtremeRange{kMax, kMin, 32767, kMin},
                                         sExtremeRange{kMax, kMin, 0, kMax}, sExtremeRange{-10, kMax, 0, -10}));

TEST(Random, SumOfExtremeRangesIsHeldToTheIntRange) {
  ScopedRandomDraws draws({32767, 32767, 0, 0});
  EXPECT_EQ(RandomSum(2, kMax, kMax), kMax);
  EXPECT_EQ(RandomSum(2, kMin, kMin), kMin);
}

}  // namespace
}  // namespace tr
