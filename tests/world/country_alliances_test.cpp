#include <gtest/gtest.h>

#include "foundation/fatal.h"
#include "support/log_capture.h"
#include "support/world_builder.h"
#include "world/panstwo.h"

namespace tr {
namespace {

class CountryAlliances2 : public testing::Test {
 protected:
  // 1 allies leader, 2 allies, 3 axis leader, 4 neutral joiner, 5 neutral, 6 comintern leader.
  CountryAlliances2() : world(1, 1, 6) {
    const int codes[] = {kAlliesLeader, kAllies, kAxisLeader, kNeutral, kNeutral, kCominternLeader};
    for (int i = 0; i < 6; ++i) world.country(i + 1).alliance = codes[i];
  }
  bool War(int a, int b) { return world.game().relations.IsAtWar(a, b); }
  void SetWar(int a, int b) {
    world.game().relations.SetWar(a, b, true);
    world.game().relations.SetWar(b, a, true);
  }
  test::TestWorld world;
};

TEST_F(CountryAlliances2, JoinerWarSpreadsToEveryMemberBothWays) {
  SetWar(4, 5);
  SetWar(2, 5);  // already at war: no line for it
  test::LogCapture log;
  world.country(4).JoinAlliance(kAllies);
  EXPECT_EQ(world.country(4).alliance, kAllies);
  EXPECT_EQ(world.country(4).allianceEntry, 100);
  EXPECT_TRUE(War(1, 5) && War(5, 1));
  EXPECT_TRUE(log.Contains(u"own war Country4-Country5 causes war Country1-Country5"));
  EXPECT_FALSE(log.ContainsText(u"causes war Country2-Country5"));
  EXPECT_FALSE(War(3, 5));
  EXPECT_TRUE(log.ContainsText(u"%s_is_joining_alliance_%i") || log.ContainsText(u"Country4"));
}

TEST_F(CountryAlliances2, LeaderWarsSpreadToJoiner) {
  SetWar(1, 3);
  test::LogCapture log;
  world.country(4).JoinAlliance(kAllies);
  EXPECT_TRUE(War(4, 3) && War(3, 4));
  EXPECT_TRUE(log.Contains(u"leader's war Country1-Country3 causes war Country4-Country3"));
}

TEST_F(CountryAlliances2, JoiningAllianceWithoutLeaderIsFatalAndNamesTheLeaderCode) {
  world.country(3).alliance = kAxis;  // no country has code 5 now
  test::LogCapture log;
  EXPECT_THROW(world.country(4).JoinAlliance(kAxis), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"5"));
  EXPECT_TRUE(log.ContainsText(u"cannot_find_leader_for_alliance_5") || log.ContainsText(u"alliance 5"));
}

TEST_F(CountryAlliances2, JoiningNoAllianceChangesNothing) {
  test::LogCapture log;
  world.country(4).JoinAlliance(0);
  EXPECT_EQ(world.country(4).alliance, kNeutral);
  EXPECT_TRUE(log.ContainsText(u"cannot join alliance 0"));
}

TEST_F(CountryAlliances2, DeclareWarOnAllianceTakesLeaderAndMembers) {
  test::LogCapture log;
  world.country(4).DeclareWarOnAlliance(kAllies);
  EXPECT_TRUE(War(4, 1) && War(1, 4) && War(4, 2) && War(2, 4));
  EXPECT_FALSE(War(4, 3) || War(4, 5));
  EXPECT_TRUE(log.Contains(u"Country4 - Country2"));
  EXPECT_TRUE(log.Contains(u"Country2 - Country4"));
}

struct TableCase {
  int alliance;
  int orientation;
  int row;
  int column;
};

class DeclareWarTable : public testing::TestWithParam<TableCase> {};

TEST_P(DeclareWarTable, RowAndColumn) {
  cCountry c;
  c.alliance = GetParam().alliance;
  c.orientation = GetParam().orientation;
  EXPECT_EQ(c.GetDeclareWarRow(), GetParam().row);
  EXPECT_EQ(c.GetDeclareWarColumn(), GetParam().column);
}

INSTANTIATE_TEST_SUITE_P(Countries, DeclareWarTable,
                         testing::Values(TableCase{6, 0, 0, 0}, TableCase{5, 2, 1, 1}, TableCase{4, 1, 2, 2},
                                         TableCase{3, 1, 3, 4}, TableCase{2, 0, 4, 5}, TableCase{1, 5, 5, 3},
                                         TableCase{0, 2, 6, 3}, TableCase{0, 5, 6, 3}, TableCase{0, 4, 7, 4},
                                         TableCase{0, 0, 8, 5}, TableCase{0, 3, 8, 5}));

TEST(DeclareWarTableErrors, UnknownValuesAreFatal) {
  cCountry c;
  c.alliance = 7;
  try {
    c.GetDeclareWarRow();
    FAIL();
  } catch (const FatalExitError& e) {
    EXPECT_EQ(e.code(), -1);
  }
  c.alliance = 0;
  c.orientation = 6;
  EXPECT_THROW(c.GetDeclareWarRow(), FatalExitError);
  EXPECT_THROW(c.GetDeclareWarColumn(), FatalExitError);
  EXPECT_THROW(c.GetTargetAlliance(), FatalExitError);
}

struct TurnCase {
  int other;
  int own;
  int result;
};

class OrientationTurn : public testing::TestWithParam<TurnCase> {};

TEST_P(OrientationTurn, FollowsTheTable) {
  cCountry self, other;
  self.orientation = GetParam().own;
  other.orientation = GetParam().other;
  self.TurnOrientationToward(other);
  EXPECT_EQ(self.orientation, GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Table, OrientationTurn,
                         testing::Values(TurnCase{0, 3, 0}, TurnCase{0, 4, 3}, TurnCase{0, 5, 3}, TurnCase{0, 0, 0},
                                         TurnCase{1, 0, 3}, TurnCase{1, 4, 1}, TurnCase{2, 5, 2}, TurnCase{4, 3, 4},
                                         TurnCase{5, 1, 4}, TurnCase{4, 4, 4}, TurnCase{6, 1, 1}, TurnCase{1, 9, 9}));

TEST(CountryNames, SidesAndTargetAlliance) {
  cCountry c;
  const int sides[] = {4, 2, 1, 3, 2, 1, 3, 4};
  for (int code = 0; code <= 7; ++code) {
    c.alliance = code;
    EXPECT_EQ(c.GetTurnOrderSide(), sides[code]) << code;
  }
  const int targets[] = {1, 2, 3, 1, 2, 3};
  for (int o = 0; o < 6; ++o) {
    c.orientation = o;
    EXPECT_EQ(c.GetTargetAlliance(), targets[o]);
  }
  std::u16string text = u"kept";
  c.orientation = 4;
  c.GetOrientationName(text, true);
  EXPECT_EQ(text, u"Pro-axis");
  c.orientation = 7;
  c.GetOrientationName(text, false);
  EXPECT_EQ(text, u"Pro-axis");
}

}  // namespace
}  // namespace tr
