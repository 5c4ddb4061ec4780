// What a planned attack is worth: effective strengths with rivers, the
// attack and defence factors, the odds column and the commanders' experience.
#include <gtest/gtest.h>

#include "battle_fixture.h"

namespace tr::test {
namespace {

constexpr int kX = 5;
constexpr int kY = 5;

class AttackStrength : public BattleWorld {};

TEST_F(AttackStrength, WithoutAttackersTheFactorsAreNeutral) {
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  const sAttack attack = AttackOn(defender);
  EXPECT_FLOAT_EQ(attack.GetDirectionsFactor(), 1.0f);
  EXPECT_FLOAT_EQ(attack.GetAttackersWeatherFactor(), 1.0f);
  EXPECT_FLOAT_EQ(attack.GetAttackersEffectiveStrength(), 0.0f);
  EXPECT_EQ(attack.GetOddsColumn(), 1);
}

TEST_F(AttackStrength, OnlyARiverSideOfTheTargetHalvesAnAttacker) {
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  sAttack attack = AttackOn(defender);
  AttackerOn(attack, 0, 1, 100);
  cJednostkaLadowa& second = AttackerOn(attack, 3, 1, 100);
  map().GetHex(second.x, second.y)->rivers = 0x3F;  // the attacker's own hex plays no part
  map().GetHex(kX, kY)->rivers = 1;                  // side 0 only
  EXPECT_FLOAT_EQ(attack.GetAttackersEffectiveStrength(), 10.0f * 0.5f + 10.0f);
  EXPECT_FLOAT_EQ(attack.GetAttackersStrength(), 20.0f);
}

// Winter and mud each take the country's own share of its fighting power,
// scaled by the scenario's percent for that weather; clear weather takes none.
TEST_F(AttackStrength, WinterAndMudEachReadTheirOwnValues) {
  game().constants.SetSlot(consts_layout::kWinterBattlePercent, 50);
  game().constants.SetSlot(consts_layout::kMudBattlePercent, 40);
  country(1).winterBattle = 20;
  country(1).mudBattle = 60;
  country(2).winterBattle = 30;
  country(2).mudBattle = 70;
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  sAttack attack = AttackOn(defender);
  cJednostkaLadowa& inMud = AttackerOn(attack, 0, 1, 100);
  cJednostkaLadowa& inWinter = AttackerOn(attack, 2, 1, 100);
  AttackerOn(attack, 4, 1, 100);
  map().GetHex(inMud.x, inMud.y)->weather = 2;
  map().GetHex(inWinter.x, inWinter.y)->weather = 1;

  map().GetHex(kX, kY)->weather = 2;
  EXPECT_FLOAT_EQ(attack.GetDefenderWeatherFactor(), 1.0f - 0.70f * 0.40f);
  map().GetHex(kX, kY)->weather = 1;
  EXPECT_FLOAT_EQ(attack.GetDefenderWeatherFactor(), 1.0f - 0.30f * 0.50f);
  map().GetHex(kX, kY)->weather = 0;
  EXPECT_FLOAT_EQ(attack.GetDefenderWeatherFactor(), 1.0f);
  EXPECT_FLOAT_EQ(attack.GetAttackersWeatherFactor(), ((1.0f - 0.60f * 0.40f) + (1.0f - 0.20f * 0.50f) + 1.0f) / 3.0f);
}

struct ArmourCase {
  const char* name;
  int defenderType;
  bool airDefender;
  int secondAttackerType;
  float factor;
};
class ArmourFactor : public AttackStrength, public testing::WithParamInterface<ArmourCase> {};

TEST_P(ArmourFactor, DependsOnWhoMeetsTheTanks) {
  const ArmourCase& c = GetParam();
  cJednostka* defender = nullptr;
  if (c.airDefender) {
    defender = &AddAir(2, kX, kY);
  } else {
    defender = &Fighter(2, kX, kY, 100, c.defenderType);
  }
  sAttack attack = AttackOn(*defender);
  AttackerOn(attack, 0, 1, 100);
  AttackerOn(attack, 1, 1, 100, c.secondAttackerType);
  EXPECT_FLOAT_EQ(attack.GetArmourFactor(), c.factor);
}

INSTANTIATE_TEST_SUITE_P(Units, ArmourFactor,
                         testing::Values(ArmourCase{"InfantryOnTanks", kArmouredCorps, false, kInfantryCorps, 0.5f},
                                         ArmourCase{"TanksOnTanks", kArmouredDivision, false, kArmouredCorps, 1.0f},
                                         ArmourCase{"OnAnAirUnit", 0, true, kInfantryCorps, 0.8f}),
                         [](const auto& info) { return info.param.name; });

struct OddsCase {
  const char* name;
  int attackerCombatValue;  // the attacker is worth this tenth of the defender
  int column;
};
class OddsColumn : public AttackStrength, public testing::WithParamInterface<OddsCase> {};

TEST_P(OddsColumn, TruncatesTheRatioIntoOneToSeven) {
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  defender.combatValue = 10;  // effective strength 1
  sAttack attack = AttackOn(defender);
  cJednostkaLadowa& attacker = AttackerOn(attack, 0, 1, 100);
  attacker.combatValue = GetParam().attackerCombatValue;
  EXPECT_EQ(attack.GetOddsColumn(), GetParam().column);
}

INSTANTIATE_TEST_SUITE_P(Ratios, OddsColumn,
                         testing::Values(OddsCase{"Ratio7_9", 79, 7}, OddsCase{"Ratio1", 10, 1},
                                         OddsCase{"Ratio0_99", 9, 1}),
                         [](const auto& info) { return info.param.name; });

TEST_F(AttackStrength, CommandersGainExperienceAttackersFirst) {
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  sAttack attack = AttackOn(defender);
  cJednostkaLadowa& first = AttackerOn(attack, 0, 1, 100);
  cJednostkaLadowa& second = AttackerOn(attack, 4, 1, 100);
  AttackerOn(attack, 2, 1, 100);  // no commander: no draw
  sCommander& leader = AddCommander(1, 1, 2, 0);
  Attach(leader, first);
  second.commanderId = 1;  // under the same commander
  sCommander& veteran = AddCommander(2, 2, 2, 5);  // at the maximum: no draw
  Attach(veteran, defender);
  {
    ScopedRandomDraws draws({Percent(50), Percent(51), kSentinel});
    attack.GainCommanderExperience();
    EXPECT_EQ(draws.remaining(), 1u);
  }
  EXPECT_EQ(leader.experience, 1);
  EXPECT_EQ(veteran.experience, 5);
  veteran.experience = 0;
  ScopedRandomDraws draws({Percent(1), Percent(1), Percent(31), kSentinel});
  attack.GainCommanderExperience();
  EXPECT_EQ(draws.remaining(), 1u);
  EXPECT_EQ(leader.experience, 3);
  EXPECT_EQ(veteran.experience, 0);
}

// Each factor with its own value, so a sign slipped in one (a fort that helps
// the attacker, a trench or the weather that helps the wrong side) shows.
TEST_F(AttackStrength, FortAndWeatherCutTheAttackTrenchTerrainAndCityRaiseTheDefence) {
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  sAttack attack = AttackOn(defender);
  cJednostkaLadowa& inMud = AttackerOn(attack, 0, 1, 100);
  cJednostkaLadowa& inWinter = AttackerOn(attack, 3, 1, 100);
  map().GetHex(inMud.x, inMud.y)->weather = 2;     // mud
  map().GetHex(inWinter.x, inWinter.y)->weather = 1;  // winter
  country(1).mudBattle = 30;                       // 100 % of 30 %: 0.7
  country(1).winterBattle = 90;                    // 50 % of 90 %: 0.55
  sHex& target = *map().GetHex(kX, kY);
  target.weather = 1;          // winter
  country(2).winterBattle = 40;  // 50 % of 40 %: 0.8
  country(2).mudBattle = 90;
  target.fortLevel = 3;  // 10 % each: 0.7
  target.terrain = 2;
  game().constants.SetSlot(consts_layout::kTerrainDefenceFactor + 2, 1.25);
  game().cities.push_back(std::make_unique<cCity>());
  target.city = game().cities.back().get();  // 1.5
  defender.trenchBonusMultiplier = 4;        // 10 % each: 1.4
  EXPECT_NEAR(attack.GetFortificationFactor(), 0.7, 1e-6);
  EXPECT_NEAR(attack.GetAttackersWeatherFactor(), (0.7 + 0.55) / 2, 1e-6);
  EXPECT_NEAR(attack.GetAttackModifier(), 0.7 * 0.625 * 1.1, 1e-6);
  EXPECT_NEAR(attack.GetDefenderWeatherFactor(), 0.8, 1e-6);
  EXPECT_NEAR(attack.GetEntrenchmentFactor(), 1.4, 1e-6);
  EXPECT_NEAR(attack.GetDefenceModifier(), 0.8 * 1.25 * 1.5 * 1.4, 1e-6);
}

// Each terrain from 1 to 7 has its own defence factor; any other code defends at 1.
class TerrainDefence : public AttackStrength, public testing::WithParamInterface<int> {};

TEST_P(TerrainDefence, UsesTheFactorOfTheTargetsTerrain) {
  const int terrain = GetParam();
  for (int t = 0; t <= 7; ++t) game().constants.SetSlot(consts_layout::kTerrainDefenceFactor + t, 1.0 + 0.25 * t);
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  map().GetHex(kX, kY)->terrain = static_cast<std::uint8_t>(terrain);
  const sAttack attack = AttackOn(defender);
  const float expected = terrain >= 1 && terrain <= 7 ? 1.0f + 0.25f * static_cast<float>(terrain) : 1.0f;
  EXPECT_FLOAT_EQ(attack.GetTerrainFactor(), expected);
}

INSTANTIATE_TEST_SUITE_P(Terrains, TerrainDefence, testing::Values(0, 1, 6, 7, 8));

// With the sample's 15 percent a level, a fort of 7 or more would take more
// than the whole attack: the factor stops at 0, and the attack with it.
// The map's first column is a hex like any other: an attacker standing there
// fights in its weather; only one aboard a ship fights in none.
TEST_F(AttackStrength, AnAttackerOnTheFirstColumnFightsInItsWeather) {
  game().constants.SetSlot(consts_layout::kMudBattlePercent, 40);
  country(1).mudBattle = 60;
  cJednostkaLadowa& defender = Fighter(2, 1, 6, 100);
  sAttack attack = AttackOn(defender);
  cJednostkaLadowa& onTheEdge = AttackerOn(attack, 5, 1, 100);
  ASSERT_EQ(onTheEdge.x, 0);
  map().GetHex(0, onTheEdge.y)->weather = 2;
  EXPECT_FLOAT_EQ(attack.GetAttackersWeatherFactor(), 1.0f - 0.60f * 0.40f);
  cJednostkaLadowa& aboard = AttackerOn(attack, 2, 1, 100);
  map().GetHex(aboard.x, aboard.y)->unit = nullptr;
  aboard.x = aboard.y = -1;
  EXPECT_FLOAT_EQ(attack.GetAttackersWeatherFactor(), ((1.0f - 0.60f * 0.40f) + 1.0f) / 2.0f);
}

struct FortCase {
  int level;
  float factor;
};
class FortificationFactor : public AttackStrength, public testing::WithParamInterface<FortCase> {};

TEST_P(FortificationFactor, TakesAShareOfTheAttackPerLevelAndNeverMore) {
  game().constants.SetSlot(consts_layout::kFortAttackPercent, 15);
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  map().GetHex(kX, kY)->fortLevel = static_cast<std::uint8_t>(GetParam().level);
  sAttack attack = AttackOn(defender);
  AttackerOn(attack, 0, 1, 100);
  EXPECT_NEAR(attack.GetFortificationFactor(), GetParam().factor, 1e-6f);
  // One infantry attacker in clear weather: the fort alone makes the modifier the panel shows.
  EXPECT_NEAR(attack.GetAttackModifier(), GetParam().factor, 1e-6f);
}

INSTANTIATE_TEST_SUITE_P(Levels, FortificationFactor,
                         testing::Values(FortCase{6, 0.1f}, FortCase{7, 0.0f}, FortCase{9, 0.0f}));

}  // namespace
}  // namespace tr::test
