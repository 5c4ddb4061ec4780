#include "foundation/game_date.h"

#include <gtest/gtest.h>

#include "foundation/string_base.h"

namespace tr {
namespace {

class GameDateTest : public testing::Test {
 protected:
  void TearDown() override { SetImpulsesPerMonth({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}); }
  static void SetAll(int n) { SetImpulsesPerMonth({n, n, n, n, n, n, n, n, n, n, n, n}); }
};

struct DaysCase {
  int impulses;
  std::vector<int> days;
};
class GameDateDays : public GameDateTest, public testing::WithParamInterface<DaysCase> {};

TEST_P(GameDateDays, ImpulsesSpreadFromDayOne) {
  SetAll(GetParam().impulses);
  std::vector<int> days;
  for (int i = 1; i <= static_cast<int>(GetParam().days.size()); ++i) {
    days.push_back(cGameDate{i, 5, 1940}.GetDayOfMonth());
  }
  EXPECT_EQ(days, GetParam().days);
}

INSTANTIATE_TEST_SUITE_P(Counts, GameDateDays,
                         testing::Values(DaysCase{1, {1}}, DaysCase{2, {1, 16}}, DaysCase{3, {1, 11, 21}},
                                         DaysCase{4, {1, 9, 16, 24}},
                                         DaysCase{0, {1}},  // a month without impulses counts one
                                         DaysCase{-2, {1}}));

TEST_F(GameDateTest, MonthsUseTheirOwnCounts) {
  SetImpulsesPerMonth({1, 2, 3, 4, 1, 1, 1, 1, 1, 1, 1, 1});
  EXPECT_EQ((cGameDate{2, 3, 1940}.GetDayOfMonth()), 11);
  EXPECT_EQ((cGameDate{2, 4, 1940}.GetDayOfMonth()), 9);
  EXPECT_EQ((cGameDate{1, 13, 1940}.GetDayOfMonth()), 1);  // outside the year: no table read
  SetImpulsesPerMonth({5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 3});
  EXPECT_EQ(ImpulsesInMonth(12), 3);
  EXPECT_EQ(ImpulsesInMonth(13), 1);
  EXPECT_EQ(ImpulsesInMonth(1), 5);
  EXPECT_EQ(ImpulsesInMonth(0), 1);
  EXPECT_EQ((cGameDate{2, 13, 1940}.GetDayOfMonth()), 31);
}

TEST_F(GameDateTest, ComparesDays) {
  SetAll(3);
  const cGameDate date{2, 12, 1940};  // 11 December 1940
  EXPECT_TRUE(date.IsSameDay(11, 12, 1940));
  EXPECT_FALSE(date.IsBefore(11, 12, 1940));
  EXPECT_FALSE(date.IsAfter(11, 12, 1940));
  EXPECT_TRUE(date.IsAfter(10, 12, 1940));
  EXPECT_TRUE(date.IsBefore(12, 12, 1940));
  for (int day = 1; day <= 30; ++day) {
    EXPECT_TRUE(date.IsAfter(day, 11, 1940));
    EXPECT_TRUE(date.IsBefore(day, 1, 1941));
  }
}

TEST_F(GameDateTest, ImpulsesOnOneDayCompareEqual) {
  SetAll(60);
  const cGameDate second{2, 6, 1941}, third{3, 6, 1941};
  EXPECT_EQ(second.GetDayOfMonth(), third.GetDayOfMonth());
  EXPECT_TRUE(third.IsSameDay(second.GetDayOfMonth(), 6, 1941));
}

TEST_F(GameDateTest, FormatUsesMonthText) {
  StringBase().SetText("september", u"September");
  EXPECT_EQ((cGameDate{1, 9, 1939}.Format()), u"1-September-1939");
}

}  // namespace
}  // namespace tr
