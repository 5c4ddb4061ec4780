// Paratroops: the drop range, the air situation over the target and what
// the drop costs.
#include <gtest/gtest.h>

#include <string>

#include "battle_fixture.h"
#include "world/hex_distance.h"

namespace tr::test {
namespace {

namespace L = consts_layout;

class Airborne : public BattleWorld {
 protected:
  Airborne() : para(Fighter(1, 2, 2, 100, kAirborneDivision)) {
    Set(L::kAirRangeBase + 0, 20);  // fighters count everywhere on the map
    Set(L::kAirRangeBase + 4, 3);
    Set(L::kAirRangeFactor + 0, 1.0);
    Set(L::kAirRangeFactor + 1, 1.5);
    for (int a = 1; a <= 6; ++a) Set(L::kParadropLossTable + a - 1, a * 20 - 20);
    game().playerControl.currentCountry = &country(1);
  }
  void Set(int slot, double value) { game().constants.SetSlot(slot, value); }
  void Fighters(int friendly, int enemy) {
    AddAir(1, 0, 0).strength = friendly;
    AddAir(2, 11, 11).strength = enemy;
  }
  cJednostkaLadowa& para;
};

struct sDropCase {
  const char* name;
  int level;
  int range;
};
class DropRange : public Airborne, public testing::WithParamInterface<sDropCase> {};

// A level past the factors, as research and events make, reads the nearest
// factor rather than the constants beside the table.
TEST_P(DropRange, IsTheFactorTimesTheBaseTruncated) {
  Set(L::kAirRangeFactor + 5, 2.4);  // base 3: 7.2
  Set(L::kAirRangeFactor + 6, 0.5);  // the constant past the table
  Set(L::kAirRangeFactor - 2, 0.4);  // the constant before it
  country(1).techLevels[3] = GetParam().level;
  para.actionPoints = 1;
  para.spotted = 1;
  para.MarkAirborneDropHexes();
  for (int y = 0; y < map().GetHeight(); ++y) {
    for (int x = 0; x < map().GetWidth(); ++x) {
      const bool inRange = HexDistance(2, 2, x, y) <= GetParam().range && !(x == 2 && y == 2);
      EXPECT_EQ(map().GetHex(x, y)->flags, inRange ? 16u : 0u) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, DropRange,
                         // Factor 1.5 x base 3; 2.4 x 3 at the top and past it; level 0's 1.0 x 3 below 0.
                         testing::Values(sDropCase{"One", 1, 4}, sDropCase{"Top", 5, 7}, sDropCase{"PastTheTop", 6, 7},
                                         sDropCase{"BelowZero", -2, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Airborne, WithoutEnemyAirTheLandingSucceedsAndTakesEnemyGround) {
  map().GetHex(6, 6)->controller = 2;
  std::u16string text;
  int landed = 7;
  para.AirborneAssault(6, 6, &text, &landed);
  EXPECT_EQ(landed, 7);
  EXPECT_EQ(text, GetText("enemy_has_no_air_forces_over_this_hexlanding_was_successful"));
  EXPECT_EQ(map().GetHex(6, 6)->unit, &para);
  EXPECT_EQ(map().GetHex(6, 6)->controller, 1);
}

struct BandCase {
  const char* name;
  int friendly;
  int enemy;
  int die;
  const char* situation;
  const char* activity;  // die + the band's modifier
  int strengthLeft;
};
class AirSituation : public Airborne, public testing::WithParamInterface<BandCase> {};

TEST_P(AirSituation, SetsTheEnemyActivityAndTheLoss) {
  const BandCase& c = GetParam();
  Fighters(c.friendly, c.enemy);
  map().GetHex(6, 6)->controller = 3;  // at peace: the hex stays as it was
  std::u16string text;
  int landed = 7;
  ScopedRandomDraws draws({Die(c.die), kSentinel});
  para.AirborneAssault(6, 6, &text, &landed);
  EXPECT_EQ(draws.remaining(), 1u);
  EXPECT_EQ(text.rfind(GetText(c.situation), 0), 0u) << std::string(c.situation);
  EXPECT_NE(text.find(GetText("enemy_air_activity:_") + GetText(c.activity) + u" "), std::u16string::npos);
  EXPECT_EQ(para.strength, c.strengthLeft);
  EXPECT_EQ(landed, 1);
  EXPECT_EQ(map().GetHex(6, 6)->unit, &para);
  EXPECT_EQ(map().GetHex(6, 6)->controller, 3);
}

// The loss is 20 (activity - 1) points.
INSTANTIATE_TEST_SUITE_P(
    Ratios, AirSituation,
    testing::Values(BandCase{"TotalEnemy", 1, 4, 1, "enemy_has_total_air_superiority_over_target_hex", "low", 60},
                    BandCase{"EnemyAtAThird", 1, 3, 1, "enemy_has_an_air_superiority_over_target_hex", "very_low", 80},
                    BandCase{"NeitherAtAHalf", 1, 2, 1, "neither_side_has_an_air_superiority_over_target_hex", "none",
                             100},
                    BandCase{"YoursAtTwo", 2, 1, 3, "you_have_an_air_superiority_over_target_hex", "very_low", 80},
                    BandCase{"TotalYoursAtThree", 3, 1, 3, "you_have_total_air_superiority_over_target_hex", "none",
                             100}),
    [](const auto& info) { return info.param.name; });

// Only fighters within the radius of the target hex count: an enemy
// fighter beside (9, 4) gives the enemy the sky there.
TEST_F(Airborne, TheAirOverTheTargetHexDecides) {
  Set(L::kAirRangeBase + 0, 2);
  AddAir(2, 9, 5).strength = 3;
  map().GetHex(9, 4)->controller = 3;
  std::u16string text;
  int landed = 7;
  ScopedRandomDraws draws({Die(1), kSentinel});
  para.AirborneAssault(9, 4, &text, &landed);
  EXPECT_EQ(draws.remaining(), 1u);
  EXPECT_EQ(text.rfind(GetText("enemy_has_total_air_superiority_over_target_hex"), 0), 0u);
  EXPECT_EQ(map().GetHex(9, 4)->unit, &para);
}

TEST_F(Airborne, ALossToNothingEliminatesTheUnit) {
  Fighters(1, 4);
  std::u16string text;
  int landed = 7;
  ScopedRandomDraws draws({Die(6)});
  para.AirborneAssault(6, 6, &text, &landed);
  EXPECT_EQ(landed, 0);
  EXPECT_NE(text.find(GetText("airborne_unit_eliminated")), std::u16string::npos);
  EXPECT_TRUE(game().landUnits.empty());
  EXPECT_EQ(map().GetHex(6, 6)->unit, nullptr);
}

TEST_F(Airborne, AnOccupiedTargetIsRefused) {
  cJednostkaLadowa& hidden = Fighter(2, 6, 6, 100);
  int landed = 7;
  para.AirborneAssault(6, 6, nullptr, &landed);
  EXPECT_EQ(map().GetHex(6, 6)->unit, &hidden);
  EXPECT_EQ(para.x, 2);
  EXPECT_EQ(landed, 7);
}

}  // namespace
}  // namespace tr::test
