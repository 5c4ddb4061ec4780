// A ship's own actions: the surprise attack before the sea battles and its
// answer to an air strike.
#include <gtest/gtest.h>

#include <deque>

#include "foundation/format.h"
#include "foundation/random.h"
#include "support/log_capture.h"
#include "support/naval_world.h"
#include "units/combat_result.h"
#include "units/jednostka_lotnicza.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

using test::RangeDraw;

int Percent(int value) { return RangeDraw(1, 100, value); }

// Country 1's carrier in zone 1 beside three enemy cruisers of country 3.
// Navy 0: hit chance (0 x 5 + 15) x 2 = 30, detection below 50.
class SurpriseAttack : public testing::Test {
 protected:
  SurpriseAttack() : scoped_(presentation_) {
    zone = sea.AddSea();
    sea.SetConstant(72, 7, 1000);
    sea.SetConstant(72, 8, 1000);
    attacker = &sea.AddShip(sea.AddFleet(1, zone, {}), kAircraftCarrier);
    sea.AddFleet(4, zone, {kCruiser});  // neutral
    enemies = &sea.AddFleet(3, zone, {kCruiser, kCruiser, kCruiser});
  }
  cJednostkaMorska& enemy(int n) { return **std::next(enemies->ships.begin(), n); }

  test::NavalWorld sea;
  cHeadlessPresentation presentation_;
  ScopedPresentation scoped_;
  int zone = 0;
  cJednostkaMorska* attacker = nullptr;
  cFleet* enemies = nullptr;
  std::u16string text;
};

TEST_F(SurpriseAttack, SubmarineOfARegularFleetNeverTries) {
  cJednostkaMorska& sub = sea.AddShip(sea.AddFleet(1, zone, {}), kSubmarine);
  ScopedRandomDraws draws({0});
  EXPECT_FALSE(sub.SurpriseAttack(text));
  EXPECT_EQ(text, u"wait...");
  EXPECT_EQ(draws.remaining(), 1u);
  EXPECT_TRUE(sea.game().reports.Reports().empty());
}

TEST_F(SurpriseAttack, FailedCheckIsLoggedAndNothingHappens) {
  sea.SetConstant(72, 7, 100);
  test::LogCapture log;
  ScopedRandomDraws draws({RangeDraw(1, 1000, 101)});
  EXPECT_FALSE(attacker->SurpriseAttack(text));
  EXPECT_TRUE(log.Contains(Format(u"%s_tries_to_launch_a_surprise_attack._check_failed.", attacker->name)));
  EXPECT_EQ(text, u"wait...");
}

struct TargetCase {
  const char* name;
  int draw;  // of RandomRange(1, 3)
  int target;
};
class SurpriseTarget : public SurpriseAttack, public testing::WithParamInterface<TargetCase> {};

TEST_P(SurpriseTarget, IsTheCandidateDrawnInListOrder) {
  const TargetCase& c = GetParam();
  cJednostkaMorska& sunk = sea.AddShip(*enemies, kCruiser);
  sunk.hitPoints = 0;  // no candidate
  ScopedRandomDraws draws({0, c.draw, RangeDraw(0, 100, 0), Percent(1)});
  EXPECT_TRUE(attacker->SurpriseAttack(text));
  for (int n = 0; n < 3; ++n) EXPECT_EQ(enemy(n).hitPoints, n == c.target ? 5 : 6);
  EXPECT_EQ(draws.remaining(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Draws, SurpriseTarget,
                         testing::Values(TargetCase{"First", RangeDraw(1, 3, 1), 0},
                                         TargetCase{"Second", RangeDraw(1, 3, 2), 1},
                                         TargetCase{"LastOnlyAtTheTopDraw", 32767, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

struct OutcomeCase {
  const char* name;
  bool submarine;
  int targetHitPoints;
  int detection;  // RandomRange(0, 100)
  int hit;        // RandomRange(1, 100)
  const char16_t* key;
  int hitPointsAfter;
};
class SurpriseOutcome : public SurpriseAttack, public testing::WithParamInterface<OutcomeCase> {};

TEST_P(SurpriseOutcome, ReportsTheTargetsFateToItsOwner) {
  const OutcomeCase& c = GetParam();
  cJednostkaMorska* ship = attacker;
  if (c.submarine) {
    cFleet& raiders = sea.AddFleet(1, zone, {});
    raiders.formation = kFleetRaiders;
    ship = &sea.AddShip(raiders, kSubmarine);
    sea.world().country(1).techLevels[kSubmarineTech] = 1;  // hit chance 40
  }
  for (int n = 0; n < 3; ++n) enemy(n).hitPoints = c.targetHitPoints;
  ScopedRandomDraws draws({0, 0, RangeDraw(0, 100, c.detection), Percent(c.hit)});
  EXPECT_TRUE(ship->SurpriseAttack(text));
  // The string base of the tests gives each key as its own text.
  const std::u16string expected = Format(std::u16string(c.key), ship->name, sea.world().country(1).name,
                                         enemy(0).name, sea.world().country(3).name);
  EXPECT_EQ(text, expected);
  EXPECT_EQ(enemy(0).hitPoints, c.hitPointsAfter);
  ASSERT_EQ(sea.game().reports.Reports().size(), 1u);
  const sReport& report = sea.game().reports.Reports().front();
  EXPECT_EQ(report.type, 20);
  EXPECT_EQ(report.country, 3);
  EXPECT_EQ(report.text, expected);
  EXPECT_EQ(sea.game().navalUnits.size(), c.submarine ? 6u : 5u);  // a destroyed target stays listed
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, SurpriseOutcome,
    testing::Values(
        OutcomeCase{"CarrierDamages", false, 6, 0, 30, u"aircraft_from_%s_(%s)_detected_and_attacked_%s_(%s)._target_was_damaged.", 5},
        OutcomeCase{"NoDamageStillDamaged", false, 6, 50, 1, u"aircraft_from_%s_(%s)_detected_and_attacked_%s_(%s)._target_was_damaged.", 6},
        OutcomeCase{"CarrierDestroys", false, 1, 0, 1, u"aircraft_from_%s_(%s)_detected_and_attacked_%s_(%s)._target_was_destroyed!", 0},
        OutcomeCase{"CarrierMisses", false, 6, 0, 31, u"aircraft_from_%s_(%s)_detected_and_attacked_%s_(%s)._attack_failed.", 6},
        OutcomeCase{"SubmarineHitsWithItsOwnTechnology", true, 6, 0, 40, u"%s_(%s)_detected_%s_(%s)_and_launched_surprise_attack._target_was_damaged.", 5},
        OutcomeCase{"SubmarineDestroys", true, 1, 0, 1, u"%s_(%s)_detected_%s_(%s)_and_launched_surprise_attack._target_was_destroyed!", 0},
        OutcomeCase{"SubmarineMisses", true, 6, 0, 41, u"%s_(%s)_detected_%s_(%s)_and_launched_surprise_attack._attack_failed.", 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SurpriseAttack, NoEnemyInTheZone) {
  for (cJednostkaMorska* ship : enemies->ships) ship->hitPoints = 0;
  ScopedRandomDraws draws({0});
  EXPECT_FALSE(attacker->SurpriseAttack(text));
  EXPECT_EQ(text, u"no_enemy_ships_present_in_sea_zone");
}

// Country 3's bomber (strength 2) strikes country 1's cruiser.
class ShipBombed : public testing::Test {
 protected:
  ShipBombed() : scoped_(presentation_) {
    zone = sea.AddSea();
    sea.SetConstant(183, 1, 50);
    sea.SetConstant(184, 1, 10);
    fleet = &sea.AddFleet(1, zone, {kCruiser});
    ship = fleet->ships.front();
    bomber = &sea.world().PlaceAirUnit(3, 5, 5);
    bomber->SetType(kTacticalBomber);
    bomber->strength = 2;
  }

  test::NavalWorld sea;
  cHeadlessPresentation presentation_;
  ScopedPresentation scoped_;
  int zone = 0;
  cFleet* fleet = nullptr;
  cJednostkaMorska* ship = nullptr;
  cJednostkaLotnicza* bomber = nullptr;
  sCombatResult result;
};

TEST_F(ShipBombed, ShipWithOneHitPointTakesNoFurtherRollsAndStaysForItsCaller) {
  ship->hitPoints = 1;
  ScopedRandomDraws draws({0, 0});
  ship->OnBombarded(&result, bomber, nullptr);
  EXPECT_EQ(ship->hitPoints, 0);
  EXPECT_EQ(result.defenderLoss, 1.0f);
  EXPECT_EQ(draws.remaining(), 1u);  // the counter-fire roll only
  EXPECT_EQ(result.defenderDetails, Format(u" - %s %s\n   (%s, %s)\n   Strength lost: 1.00", GetUnitTypeName(kCruiser),
                                           ship->name, fleet->name, sea.world().country(1).name));
  EXPECT_EQ(result.attackerCountry, 3);
  EXPECT_EQ(result.defenderCountry, 1);
  EXPECT_EQ(sea.game().navalUnits.size(), 1u);
}

struct LossCase {
  const char* name;
  int secondChance;
  int second;  // RandomRange(1, 100) against the chance
  int sink;    // against 10
  int lost;
};
class ShipBombedLosses : public ShipBombed, public testing::WithParamInterface<LossCase> {};

TEST_P(ShipBombedLosses, SecondLossAndSinkingOutrightByTheirChances) {
  const LossCase& c = GetParam();
  sea.SetConstant(183, 1, c.secondChance);
  ScopedRandomDraws draws({Percent(c.second), Percent(c.sink), RangeDraw(0, 100, 100)});
  ship->OnBombarded(&result, bomber, nullptr);
  EXPECT_EQ(ship->hitPoints, 6 - c.lost);
  EXPECT_EQ(result.defenderLoss, static_cast<float>(c.lost));
}

INSTANTIATE_TEST_SUITE_P(Rolls, ShipBombedLosses,
                         testing::Values(LossCase{"OneOnly", 50, 51, 11, 1}, LossCase{"SecondAtTheChance", 50, 50, 11, 2},
                                         LossCase{"SecondAlwaysAtAHundred", 100, 100, 11, 2},
                                         LossCase{"SunkOutright", 50, 51, 10, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

struct CounterCase {
  const char* name;
  int defenderNavy;
  int attackerNavy;
  int roll;  // RandomRange(0, 100)
  bool counterFire;
};
class CounterFire : public ShipBombed, public testing::WithParamInterface<CounterCase> {};

// Five hit points left after one loss; the bomber's strength 2 is the factor.
TEST_P(CounterFire, ChanceFromTheNaviesTheAttackersStrengthAndTheHitPointsLeft) {
  const CounterCase& c = GetParam();
  sea.world().country(1).techLevels[kNavyTech] = c.defenderNavy;
  sea.world().country(3).techLevels[kNavyTech] = c.attackerNavy;
  sea.SetConstant(183, 1, 0);
  sea.SetConstant(184, 1, 0);
  ScopedRandomDraws draws({Percent(100), Percent(100), RangeDraw(0, 100, c.roll)});
  ship->OnBombarded(&result, bomber, nullptr);
  EXPECT_EQ(bomber->strength, c.counterFire ? 1 : 2);
  EXPECT_EQ(result.attackerLoss, c.counterFire ? 1.0f : 0.0f);
  EXPECT_EQ(result.attackerDetails.empty(), !c.counterFire);
}

INSTANTIATE_TEST_SUITE_P(Navies, CounterFire,
                         testing::Values(CounterCase{"BelowTheChance", 2, 2, 9, true},
                                         CounterCase{"AtTheChance", 2, 2, 10, false},
                                         CounterCase{"AttackerNavyZeroCountsAsOne", 2, 0, 19, true},
                                         CounterCase{"AttackerNavyZeroAtTheChance", 2, 0, 20, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShipBombed, CounterFireKillsAnAirAttackerWithoutStrength) {
  sea.world().country(1).techLevels[kNavyTech] = 5;
  sea.world().country(3).techLevels[kNavyTech] = 1;
  bomber->strength = 1;
  ScopedRandomDraws draws({Percent(100), Percent(100), RangeDraw(0, 100, 0)});
  ship->OnBombarded(&result, bomber, nullptr);
  EXPECT_EQ(bomber->strength, 0);
  EXPECT_TRUE(result.Flag(kFlagAttackerDestroyed));
  EXPECT_NE(result.attackerDetails.find(u"report_unit_killed"), std::u16string::npos);
}

struct CarrierCase {
  const char* name;
  int carrierHitPoints;
  bool counterFire;
};
class CarrierAttacker : public ShipBombed, public testing::WithParamInterface<CarrierCase> {};

TEST_P(CarrierAttacker, OnlyACarrierAtFullHitPointsDrawsCounterFire) {
  const CarrierCase& c = GetParam();
  sea.world().country(1).techLevels[kNavyTech] = 5;
  cJednostkaMorska& carrier = sea.AddShip(sea.AddFleet(3, zone, {}), kAircraftCarrier);
  carrier.hitPoints = c.carrierHitPoints;
  ScopedRandomDraws draws({Percent(100), Percent(100), RangeDraw(0, 100, 0)});
  ship->OnBombarded(&result, &carrier, nullptr);
  EXPECT_EQ(carrier.hitPoints, c.carrierHitPoints - (c.counterFire ? 1 : 0));
  EXPECT_EQ(result.attackerDetails.empty(), !c.counterFire);
}

INSTANTIATE_TEST_SUITE_P(HitPoints, CarrierAttacker,
                         testing::Values(CarrierCase{"Full", 6, true}, CarrierCase{"Damaged", 5, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tr
