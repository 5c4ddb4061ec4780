#include <gtest/gtest.h>

#include "support/log_capture.h"
#include "support/world_builder.h"
#include "world/turn_order.h"

namespace tr {
namespace {

struct CountrySetup {
  int alliance;
  int strength;
  bool human = false;
  bool finished = false;
  bool active = true;
};

class TurnOrder : public testing::Test {
 protected:
  TurnOrder() : world(1, 1, 0) {}
  void Countries(std::initializer_list<CountrySetup> setups) {
    int id = 0;
    for (const CountrySetup& s : setups) {
      auto c = std::make_unique<cCountry>();
      c->id = ++id;
      c->name = u"C" + std::u16string(1, char16_t(u'0' + id));
      c->alliance = s.alliance;
      c->politicalStrength = s.strength;
      c->humanControlled = s.human;
      c->finishedTurn = s.finished;
      c->isActive = s.active;
      world.game().countries.push_back(std::move(c));
    }
  }
  cCountry* Country(int id) { return world.game().countries.at(id - 1).get(); }
  const CountryVector& All() { return world.game().countries; }

  test::TestWorld world;
};

TEST_F(TurnOrder, AxisFirstAndEqualStrengthGoesToTheEarlier) {
  Countries({{kAllies, 90}, {kAxis, 40}, {kAxisLeader, 40}, {kNeutral, 99}});
  test::LogCapture log;
  EXPECT_EQ(DetermineCurrentCountry(All()), Country(2));
  EXPECT_TRUE(log.Contains(u"Wyznaczam aktualne panstwo..."));
  EXPECT_TRUE(log.Contains(u"O\u010f\u017c\u02dd. Aktualne panstwo = C2"));
  Country(2)->finishedTurn = 1;
  EXPECT_EQ(DetermineCurrentCountry(All()), Country(3));
  Country(3)->finishedTurn = 1;
  EXPECT_EQ(DetermineCurrentCountry(All()), Country(1));
  EXPECT_TRUE(log.Contains(u"Alianci. Aktualne panstwo = C1"));
}

TEST_F(TurnOrder, StrengthMinusFiveNeverActsAndTheImpulseEnds) {
  Countries({{kAxis, -5}, {kComintern, -1}, {kNeutral, 3, false, true}, {kAllies, 7, false, false, false}});
  test::LogCapture log;
  EXPECT_EQ(DetermineCurrentCountry(All()), Country(2));
  EXPECT_TRUE(log.Contains(u"Komintern. Aktualne panstwo = C2"));
  Country(2)->finishedTurn = 1;
  EXPECT_EQ(DetermineCurrentCountry(All()), nullptr);
  EXPECT_TRUE(log.Contains(u"--=== KONIEC IMPULSU ===--"));
}

TEST_F(TurnOrder, EmptyVectorGivesNoCountry) {
  test::LogCapture log;
  EXPECT_EQ(DetermineCurrentCountry(All()), nullptr);
  EXPECT_FALSE(log.ContainsText(u"KONIEC"));
}

TEST_F(TurnOrder, NextHumanIsFirstUnfinishedInTurnOrder) {
  Countries({{kAllies, 50, true}, {kAxis, 10, true}, {kAxis, 20, true, true}, {kNeutral, 5, true}});
  EXPECT_EQ(FindNextHumanCountry(All(), Country(2)), Country(2));
  Country(2)->finishedTurn = 1;
  EXPECT_EQ(FindNextHumanCountry(All(), Country(2)), Country(1));
}

TEST_F(TurnOrder, NextHumanWrapsInFullOrderWhenAllFinished) {
  // Full order: axis 2 and 3 (equal, vector order), allies 1, comintern 4, neutral 5.
  Countries({{kAllies, 50, true, true},
             {kAxis, 30, false, true},
             {kAxisLeader, 30, true, true},
             {kComintern, 0, false, true},
             {kNeutral, 9, true, true}});
  EXPECT_EQ(FindNextHumanCountry(All(), Country(3)), Country(1));
  EXPECT_EQ(FindNextHumanCountry(All(), Country(1)), Country(5));
  EXPECT_EQ(FindNextHumanCountry(All(), Country(5)), Country(3));
  EXPECT_EQ(FindNextHumanCountry(All(), nullptr), Country(3));
}

TEST_F(TurnOrder, EqualStrengthsKeepVectorOrder) {
  Countries({{kAxis, 30, true, true}, {kAxis, 30, true, true}, {kAxis, 30, true, true}});
  EXPECT_EQ(FindNextHumanCountry(All(), Country(1)), Country(2));
  EXPECT_EQ(FindNextHumanCountry(All(), Country(2)), Country(3));
  EXPECT_EQ(FindNextHumanCountry(All(), Country(3)), Country(1));
}

TEST_F(TurnOrder, SoleHumanWithEveryoneFinishedHasNoSuccessor) {
  Countries({{kAllies, 50, true, true}, {kAxis, 30, false, true}});
  EXPECT_EQ(FindNextHumanCountry(All(), Country(1)), nullptr);
}

TEST(TurnOrderLists, KeepUnfinishedHumanCountries) {
  cCountry a, b, c;
  a.humanControlled = 1;
  b.humanControlled = 1;
  b.finishedTurn = 1;
  std::vector<cCountry*> list{&a, &b, &c};
  KeepUnfinishedHumanCountries(list);
  EXPECT_EQ(list, std::vector<cCountry*>{&a});
}

}  // namespace
}  // namespace tr
