// Air strikes on land: a land unit under attack and the nuclear strike.
#include <gtest/gtest.h>

#include "support/log_capture.h"
#include "units/air_fixture.h"
#include "world/value_limits.h"

namespace tr {
namespace {

using test::AirWorld;
using test::Die;

class AirStrike : public AirWorld {
 protected:
  AirStrike() {
    using namespace consts_layout;
    for (int i = 0; i < 9; ++i) Set(kBombardLandTableA + i, 100);
    for (int i = 0; i < 5; ++i) Set(kBombardLandTableB + i, 100);
    for (int i = 0; i < 3; ++i) Set(kBombardLandTableC + i, 100);
    Set(kBombardLandValue, 10);
    Set(kEntrenchmentPercent, 10.0);
    for (int i = 0; i < 6; ++i) Set(kBombardLandFactor + i, 20.0);
    for (int die = 1; die <= 6; ++die) {
      for (int column = 1; column <= 5; ++column) Set(kBombardLandLossTable + (die - 1) * 5 + column - 1, column);
    }
    for (sHex& hex : map().Hexes()) hex.controller = hex.x < 6 ? 2 : 1;
    bomber_ = &AddPlane(1, 7, 5, kTacticalBomber);
    bomber_->SetName(u"Bomber");
  }

  cJednostkaLotnicza* bomber_;
};

TEST_F(AirStrike, FullStrengthBomberOnOpenGroundHasEffectiveness100) {
  test::LogCapture log;
  cJednostkaLadowa& target = AddLand(2, 4, 5);
  target.SetName(u"Target");
  ScopedRandomDraws draws({Die(1), Die(2)});
  target.OnBombarded(&result_, bomber_, map().GetHex(4, 5));
  EXPECT_TRUE(log.Contains(u"Target is bombed by Bomber"));
  EXPECT_TRUE(log.Contains(
      u"Modifiers: Strength(100.0) Level(100) Supply(100) Terrain(100) Weather(100) City(100) Fort(100) Enforcement(100)"));
  EXPECT_TRUE(log.Contains(u"Attack effectiveness = 100.0"));
  EXPECT_TRUE(log.Contains(u"Obronca: D6=2 Straty=20.00"));
  EXPECT_TRUE(log.Contains(u"Wyznaczenie kolumny. Poziom obroncy(1)-Kara(0) = KOLUMNA 1"));
  EXPECT_TRUE(log.Contains(u"Atakujacy: D6=1, stracone pkty siĹ‚y = 1"));
  EXPECT_EQ(result_.kind, kBattleAirStrikeLand);
  EXPECT_EQ(bomber_->strength, 9);
  // 20 value points of a base value of 10.0 x level 1 + type 0 take 200
  // strength points: the unit is destroyed and freed.
  EXPECT_TRUE(game().landUnits.empty());
  EXPECT_TRUE(result_.Flag(kFlagDefenderDestroyed));
  ASSERT_EQ(game().reports.Reports().size(), 2u);
  EXPECT_EQ(game().reports.Reports().front().type, 8);
  // The computer fights on with the same result: it starts clean.
  ASSERT_FALSE(result_.defenderDetails.empty());
  result_.Reset();
  EXPECT_FALSE(result_.Flag(kFlagDefenderDestroyed));
  EXPECT_EQ(result_.kind, kBattleLand);
  EXPECT_EQ(result_.attackerDetails, u"");
  EXPECT_EQ(result_.defenderDetails, u"");
  EXPECT_EQ(result_.attackerLossText, u"");
  EXPECT_EQ(result_.defenderLossText, u"");
  EXPECT_EQ(result_.attackerLoss, 0.0f);
  EXPECT_EQ(result_.defenderLoss, 0.0f);
}

TEST_F(AirStrike, EffectivenessNeverFallsBelowOne) {
  test::LogCapture log;
  cJednostkaLadowa& target = AddLand(2, 4, 5);
  map().GetHex(4, 5)->fortLevel = 9;  // fort 10 %
  target.trenchBonusMultiplier = 9;   // entrenchment 10 %
  bomber_->strength = 1;              // strength 10 %
  ScopedRandomDraws draws({Die(1), Die(1)});
  target.OnBombarded(&result_, bomber_, map().GetHex(4, 5));
  EXPECT_TRUE(log.Contains(u"Attack effectiveness = 1.0"));
}

// A scale steep enough that the highest fort lies past it: that fort is
// named in the log and takes the whole strike; the game goes on.
TEST_F(AirStrike, FortBeyondTheScaleTakesTheStrike) {
  test::LogCapture log;
  Set(consts_layout::kBombardLandValue, 12);
  cJednostkaLadowa& target = AddLand(2, 4, 5);
  map().GetHex(4, 5)->fortLevel = kMaxFortLevel;
  ScopedRandomDraws draws({Die(1), Die(1)});
  EXPECT_NO_THROW(target.OnBombarded(&result_, bomber_, map().GetHex(4, 5)));
  EXPECT_TRUE(log.ContainsText(u"fort_in_hex_(4,5)_is_9"));
  EXPECT_TRUE(log.ContainsText(u"Fort(0)"));
  EXPECT_TRUE(log.Contains(u"Attack effectiveness = 1.0"));
}

class BombedColumn : public AirStrike, public testing::WithParamInterface<std::tuple<int, int, int>> {};

TEST_P(BombedColumn, FromLevelAndStrength) {
  const auto [level, strength, column] = GetParam();
  cJednostkaLadowa& target = AddLand(2, 4, 5);
  target.level = level;
  target.strength = strength;
  ScopedRandomDraws draws({Die(1), Die(1)});
  target.OnBombarded(&result_, bomber_, map().GetHex(4, 5));
  EXPECT_EQ(bomber_->strength, 10 - column);  // the loss table holds the column
}

INSTANTIATE_TEST_SUITE_P(Columns, BombedColumn,
                         testing::Values(std::tuple{1, 30, 1}, std::tuple{5, 100, 5}, std::tuple{4, 59, 2}));

class NuclearStrike : public AirStrike {
 protected:
  NuclearStrike() {
    Set(consts_layout::kNuclearStrikeRadius, 1);
    Set(consts_layout::kNuclearUnrestHit, 30);
    Set(consts_layout::kNuclearUnrestAlly, -50);
    Set(consts_layout::kNuclearLossPercent, 50);
    bomber_->SetType(kStrategicBomber);
    country(1).nuclearBombs = 2;
  }
};

TEST_F(NuclearStrike, CornerSquareIsClippedAndOwnUnitsDieButTheBomber) {
  bomber_->RebaseTo(1, 1);
  AddPlane(1, 2, 2, kFighter);
  cJednostkaLotnicza& farFighter = AddPlane(2, 3, 3, kFighter);
  country(2).socialUnrest = 90.0f;
  country(3).alliance = kAxis;  // an ally of the country hit
  country(3).socialUnrest = 20.0f;
  cCity& city = AddCity(0, 0, 10.0f);
  bomber_->NuclearStrike(*map().GetHex(0, 0), result_);
  EXPECT_EQ(map().GetHex(1, 1)->unit, bomber_);
  EXPECT_EQ(map().GetHex(2, 2)->unit, nullptr);  // the own fighter died
  EXPECT_EQ(map().GetHex(3, 3)->unit, &farFighter);
  EXPECT_TRUE(result_.Flag(kFlagDefenderDestroyed));
  EXPECT_FLOAT_EQ(city.productionPoints, 5.0f);
  EXPECT_FLOAT_EQ(country(2).socialUnrest, 100.0f);  // hit, held to 100
  EXPECT_FLOAT_EQ(country(3).socialUnrest, 0.0f);    // ally, held to 0
  EXPECT_EQ(country(1).nuclearBombs, 1);
  EXPECT_EQ(result_.kind, kBattleNuclear);
}

TEST_F(NuclearStrike, DirectlyHitCountriesAreNotCountedAmongTheAllies) {
  // Hexes of 1 and 2 lie in the square; 3 is an ally of 1 and not hit.
  country(1).socialUnrest = 10.0f;
  country(3).socialUnrest = 70.0f;
  bomber_->NuclearStrike(*map().GetHex(6, 5), result_);
  EXPECT_FLOAT_EQ(country(1).socialUnrest, 40.0f);
  EXPECT_FLOAT_EQ(country(3).socialUnrest, 20.0f);
  EXPECT_EQ(result_.defenderLossText.find(GetText("report_nuclear_affected_units")), std::u16string::npos);
}

}  // namespace
}  // namespace tr
