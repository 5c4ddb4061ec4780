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
                                         ArmourCase{"InfantryOnInfantry", kInfantryDivision, false, kInfantryCorps, 1.0f},
                                         ArmourCase{"OnAnAirUnit", 0, true, kInfantryCorps, 0.8f}),
                         [](const auto& info) { return info.param.name; });

TEST_F(AttackStrength, AnAirDefenderKeepsTerrainCityAndWeatherOnly) {
  cJednostkaLotnicza& plane = AddAir(2, kX, kY);
  sHex& hex = *map().GetHex(kX, kY);
  hex.fortLevel = 3;
  hex.weather = 2;
  country(2).mudBattle = 20;
  game().cities.push_back(std::make_unique<cCity>());
  hex.city = game().cities.back().get();
  const sAttack attack = AttackOn(plane);
  EXPECT_FLOAT_EQ(attack.GetFortificationFactor(), 1.0f);
  EXPECT_FLOAT_EQ(attack.GetEntrenchmentFactor(), 1.0f);
  EXPECT_FLOAT_EQ(attack.GetDefenderEffectiveStrength(), 2.0f);
  EXPECT_FLOAT_EQ(attack.GetCityFactor(), 1.5f);
  EXPECT_FLOAT_EQ(attack.GetDefenderWeatherFactor(), 0.8f);
  EXPECT_FLOAT_EQ(attack.GetDefenceModifier(), 0.8f * 1.5f);
}

TEST_F(AttackStrength, LandDefenderGetsFortAndTrenches) {
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  defender.trenchBonusMultiplier = 2;
  map().GetHex(kX, kY)->fortLevel = 3;
  sAttack attack = AttackOn(defender);
  AttackerOn(attack, 0, 1, 100);
  AttackerOn(attack, 1, 1, 100);
  EXPECT_FLOAT_EQ(attack.GetFortificationFactor(), 0.7f);
  EXPECT_FLOAT_EQ(attack.GetEntrenchmentFactor(), 1.2f);
  EXPECT_FLOAT_EQ(attack.GetAttackModifier(), static_cast<float>(0.7 * (1.0 * (1.0 * 1.1))));
}

struct TerrainCase {
  int terrain;
  float factor;
};
class TerrainFactor : public AttackStrength, public testing::WithParamInterface<TerrainCase> {};

TEST_P(TerrainFactor, ReadsTheTableForCodesOneToSeven) {
  for (int t = 1; t <= 7; ++t) game().constants.SetSlot(consts_layout::kTerrainDefenceFactor + t, 1.0 + t / 10.0);
  game().constants.SetSlot(consts_layout::kTerrainDefenceFactor, 9.0);
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  map().GetHex(kX, kY)->terrain = static_cast<std::uint8_t>(GetParam().terrain);
  EXPECT_FLOAT_EQ(AttackOn(defender).GetTerrainFactor(), GetParam().factor);
}

INSTANTIATE_TEST_SUITE_P(Codes, TerrainFactor,
                         testing::Values(TerrainCase{0, 1.0f}, TerrainCase{1, 1.1f}, TerrainCase{7, 1.7f},
                                         TerrainCase{8, 1.0f}));

TEST_F(AttackStrength, WeatherIsTheMeanOverAttackersWithUnitsOffTheMapCountingOne) {
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  sAttack attack = AttackOn(defender);
  cJednostkaLadowa& inWinter = AttackerOn(attack, 0, 1, 100);
  cJednostkaLadowa& aboard = AttackerOn(attack, 1, 1, 100);
  map().GetHex(inWinter.x, inWinter.y)->weather = 1;
  map().GetHex(aboard.x, aboard.y)->weather = 1;
  aboard.x = -1;
  country(1).winterBattle = 40;  // 1 - 0.4 x 0.5 = 0.8
  EXPECT_FLOAT_EQ(attack.GetAttackersWeatherFactor(), 0.9f);
}

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
                                         OddsCase{"Ratio0_99", 9, 1}, OddsCase{"Ratio3_5", 35, 3},
                                         OddsCase{"Ratio20", 200, 7}),
                         [](const auto& info) { return info.param.name; });

TEST_F(AttackStrength, ZeroDefenceGivesColumnOne) {
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 0);
  sAttack attack = AttackOn(defender);
  AttackerOn(attack, 0, 1, 100);
  EXPECT_EQ(attack.GetOddsColumn(), 1);
}

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

}  // namespace
}  // namespace tr::test
