// Land battles fought with scripted draws: each branch of the battle, the
// draws it takes in their order (a sentinel after the expected ones shows
// none is skipped or taken extra), and what it leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "battle_fixture.h"
#include "foundation/scoped_string_base.h"
#include "foundation/string_base_file.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "units/land_battle.h"

namespace tr::test {
namespace {

constexpr int kX = 5;
constexpr int kY = 5;

class LandBattle : public BattleWorld {
 protected:
  bool IsOnMap(const cUnit* unit) {
    return std::any_of(game().landUnits.begin(), game().landUnits.end(),
                       [&](const auto& u) { return u.get() == unit; });
  }
  void ControlAllHexes(int country) {
    for (sHex& hex : map().Hexes()) hex.controller = static_cast<std::uint8_t>(country);
  }
  sCombatResult result;
};

TEST_F(LandBattle, RefusesWithoutDefenderOrAttacker) {
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  sAttack empty;
  EXPECT_FALSE(empty.ResolveLandBattle(result));
  sAttack alone = AttackOn(defender);
  EXPECT_FALSE(alone.ResolveLandBattle(result));
  EXPECT_TRUE(game().reports.Reports().empty());
}

TEST_F(LandBattle, WeakerThanOneToOneSparesTheDefenderButNotTheAttackers) {
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  sAttack attack = AttackOn(defender);
  cJednostkaLadowa& attacker = AttackerOn(attack, 0, 1, 50);
  ScopedRandomDraws draws({Die(2), Die(1), kNoBonusDraw, kSentinel});
  LogCapture log;
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  EXPECT_EQ(draws.remaining(), 1u);  // no retreat check
  EXPECT_EQ(defender.strength, 100);
  EXPECT_FLOAT_EQ(game().relations.GetLosses(1, 2), 0.0f);
  // p = 21 at column 1: V = 2.1 as if inflicted, the attacker takes 0.5 of it.
  EXPECT_NEAR(game().relations.GetLosses(2, 1), 1.05f, 1e-5);
  EXPECT_EQ(attacker.strength, 40);
  EXPECT_NEAR(result.attackerLoss, 1.05f, 1e-5);
  EXPECT_EQ(attacker.actionPoints, 4);
  EXPECT_TRUE(log.Contains(
      u"attack_was_weaker_than_1:1,_losses_will_be_calculated_for_defender_but_won't_be_inflicted!"));
}

// The panel shows each factor of both sides as a percent, with the game's
// own English texts.
TEST_F(LandBattle, TheFactorsAreShownAsPercents) {
  cScopedStringBase texts;
  std::vector<std::string> errors;
  for (const auto& entry : ParseStringBaseSource(
           ReadFileBytes(std::filesystem::path(TR_SOURCE_DIR) / "data/texts/lang_ENG.txt"), errors)) {
    if (entry.key.starts_with("combatresult_land_battle_")) StringBase().SetText(entry.key, entry.text);
  }
  game().constants.SetSlot(consts_layout::kTerrainDefenceFactor + 2, 1.25);
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  map().GetHex(kX, kY)->terrain = 2;
  defender.trenchBonusMultiplier = 4;
  sAttack attack = AttackOn(defender);
  AttackerOn(attack, 0, 1, 50);
  AttackerOn(attack, 3, 1, 30);
  ScopedRandomDraws draws({Die(2), Die(1), kNoBonusDraw, kSentinel});
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  EXPECT_EQ(result.attackerDetails.rfind(u"Armour: 100%\nDirections: 110%\nWeather: 100%\nFortification: 100%", 0), 0u)
      << Utf16ToUtf8(result.attackerDetails);
  EXPECT_EQ(result.defenderDetails.rfind(u"Terrain: 125%\nCity: 100%\nWeather: 100%\nEntrenchment: 140%", 0), 0u)
      << Utf16ToUtf8(result.defenderDetails);
}

struct OverrunCase {
  const char* name;
  int attackerStrength;
  int defenderStrength;
  int defenderCombatValue;
  bool overrun;
};
class Overrun : public LandBattle, public testing::WithParamInterface<OverrunCase> {};

TEST_P(Overrun, AtEightToOneTheDefenderIsDestroyedAndTheAttackerLosesNothing) {
  const OverrunCase& c = GetParam();
  cJednostkaLadowa& defender = Fighter(2, kX, kY, c.defenderStrength);
  defender.combatValue = c.defenderCombatValue;
  sAttack attack = AttackOn(defender);
  cJednostkaLadowa& attacker = AttackerOn(attack, 3, 1, c.attackerStrength);
  ScopedRandomDraws draws({Die(1), Die(1), kNoBonusDraw, Percent(99), kSentinel});
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  EXPECT_EQ(result.Flag(kFlagDefenderDestroyed), c.overrun);
  EXPECT_EQ(IsOnMap(&defender), !c.overrun);
  if (c.overrun) {
    EXPECT_EQ(attack.defender, nullptr);
    EXPECT_EQ(attacker.strength, c.attackerStrength);
    EXPECT_FLOAT_EQ(game().relations.GetLosses(1, 2), 0.0f);
    EXPECT_FLOAT_EQ(game().relations.GetLosses(2, 1), 0.0f);
    EXPECT_EQ(draws.remaining(), 2u);
    EXPECT_NE(game().reports.Reports().front().text.find(u"Defender destroyed by overrun ("), std::u16string::npos);
  } else {
    EXPECT_LT(defender.strength, c.defenderStrength);
  }
}

INSTANTIATE_TEST_SUITE_P(Ratios, Overrun,
                         testing::Values(OverrunCase{"ExactlyEight", 80, 10, 100, true},
                                         OverrunCase{"JustBelowEight", 79, 10, 100, false},
                                         OverrunCase{"DefenceZeroCountsAsAThousandth", 1, 100, 0, true}),
                         [](const auto& info) { return info.param.name; });

// Two attackers of strength 100 on sides 0 and 1 against a defender of 50:
// ratio 4.4, column 4; die 1 takes 14 % (7 points), leaving 43.
class Retreat : public LandBattle {
 protected:
  Retreat() : defender(Fighter(2, kX, kY, 50)), attack(AttackOn(defender)) {
    AttackerOn(attack, 0, 1, 100);
    AttackerOn(attack, 1, 1, 100);
  }
  cJednostkaLadowa& defender;
  sAttack attack;
};

// Losses that take the whole strength destroy the defender: no retreat is
// tried and both reports say so.
TEST_F(Retreat, WholeLossDestroysTheDefender) {
  game().constants.SetSlot(consts_layout::kDefenderLossPercent + 3, 100);  // die 1, column 4
  ScopedRandomDraws draws({Die(1), Die(1), kNoBonusDraw, kSentinel});
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  EXPECT_EQ(draws.remaining(), 1u);
  EXPECT_TRUE(result.Flag(kFlagDefenderDestroyed));
  EXPECT_FALSE(IsOnMap(&defender));
  const auto& reports = game().reports.Reports();
  ASSERT_EQ(reports.size(), 2u);
  for (const sReport& report : reports) {
    EXPECT_NE(report.text.find(u"\nDefender destroyed!\n"), std::u16string::npos) << Utf16ToUtf8(report.text);
  }
}

// Ground a defender falls back onto from the enemy is its own, unless an
// ally of its owns it: then it goes back to that ally.
struct RetreatGroundCase {
  int owner, controller, after;
};
class RetreatGround : public LandBattle, public testing::WithParamInterface<RetreatGroundCase> {};
TEST_P(RetreatGround, GoesToTheDefenderOrBackToItsAlly) {
  country(2).alliance = kAxis;
  country(3).alliance = kAxis;
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 50);
  const sPoint to = NeighbourPoint(kX, kY, 3);
  sHex& hex = *map().GetHex(to.x, to.y);
  hex.owner = static_cast<std::uint8_t>(GetParam().owner);
  hex.controller = static_cast<std::uint8_t>(GetParam().controller);
  RetreatDefender(defender, 3);
  EXPECT_EQ(hex.unit, &defender);
  EXPECT_EQ(defender.x, to.x);
  EXPECT_EQ(defender.y, to.y);
  EXPECT_EQ(hex.controller, GetParam().after);
}
INSTANTIATE_TEST_SUITE_P(Grounds, RetreatGround,
                         testing::Values(RetreatGroundCase{3, 1, 3}, RetreatGroundCase{1, 1, 2},
                                         RetreatGroundCase{2, 1, 2}, RetreatGroundCase{3, 3, 3}));

// The tie between directions 3 and 4 (110 each) goes to 4 on a draw of 1.
class RetreatTie : public Retreat, public testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(RetreatTie, IsDrawnBetweenOppositeSides) {
  const auto [tieDraw, direction] = GetParam();
  ControlAllHexes(2);
  ScopedRandomDraws draws({Die(1), Die(1), kNoBonusDraw, Percent(5), tieDraw, kSentinel});
  LogCapture log;
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  EXPECT_EQ(draws.remaining(), 1u);
  const sPoint to = NeighbourPoint(kX, kY, direction);
  EXPECT_EQ(defender.x, to.x);
  EXPECT_EQ(defender.y, to.y);
  EXPECT_EQ(map().GetHex(to.x, to.y)->unit, &defender);
  EXPECT_EQ(map().GetHex(kX, kY)->unit, nullptr);
  EXPECT_TRUE(result.Flag(kFlagDefenderRetreated));
  EXPECT_TRUE(log.Contains(u"Retreat chance: Base=17.00% Modifiers: Column=1.00 Terrain=1.00. CHANCE=17%"));
  EXPECT_TRUE(log.Contains(u"Prawid\u010F\u017C\u02DDowe pole na kier 3 ma wartosc 110"));
  EXPECT_TRUE(log.Contains(u"\nU5_5 retreats!\n"));
}

INSTANTIATE_TEST_SUITE_P(Draws, RetreatTie,
                         testing::Values(std::pair{DrawFor(1, 2, 1), 4}, std::pair{32767, 3}));

// The defender (43 strong after its losses) goes back only on a roll below
// the logged chance: base 60 - 43 = 17 with plain factors, 17 x 2.0 for the
// column x 0.25 for the terrain = 8 (cut), and a base below 1 held at 1
// before the factors: 1 x 2.0 = 2.
struct sRetreatRoll {
  int roll;
  int base;
  double columnFactor;
  double terrainFactor;
  int chance;
};
class RetreatRoll : public Retreat, public testing::WithParamInterface<sRetreatRoll> {};

TEST_P(RetreatRoll, RetreatsOnlyBelowTheChance) {
  const sRetreatRoll c = GetParam();
  sScenarioConstants& k = game().constants;
  k.SetSlot(consts_layout::kRetreatBase, c.base);
  for (int column = 1; column <= 7; ++column) k.SetSlot(consts_layout::kRetreatColumnFactor + column, c.columnFactor);
  for (int t = 0; t <= 7; ++t) k.SetSlot(consts_layout::kRetreatTerrainFactor + t, c.terrainFactor);
  ControlAllHexes(2);
  ScopedRandomDraws draws({Die(1), Die(1), kNoBonusDraw, Percent(c.roll), DrawFor(1, 2, 1), kSentinel});
  LogCapture log;
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  EXPECT_TRUE(log.ContainsText(Format(u"CHANCE=%i%%", c.chance)));
  EXPECT_EQ(result.Flag(kFlagDefenderRetreated), c.roll < c.chance);
  EXPECT_EQ(defender.x == kX && defender.y == kY, c.roll >= c.chance);
}

INSTANTIATE_TEST_SUITE_P(AtTheChance, RetreatRoll,
                         testing::Values(sRetreatRoll{16, 60, 1.0, 1.0, 17}, sRetreatRoll{17, 60, 1.0, 1.0, 17},
                                         sRetreatRoll{7, 60, 2.0, 0.25, 8}, sRetreatRoll{8, 60, 2.0, 0.25, 8},
                                         sRetreatRoll{1, 40, 2.0, 1.0, 2}, sRetreatRoll{2, 40, 2.0, 1.0, 2}));

// Each side's losses are booked for the country that dealt them: the
// defender's for the attacker, the attackers' for the defender.
TEST_F(Retreat, LossesAreBookedForTheCountryThatDealtThem) {
  ScopedRandomDraws draws({Die(1), Die(1), kNoBonusDraw, Percent(99), kSentinel});
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  EXPECT_EQ(draws.remaining(), 1u);
  EXPECT_EQ(defender.strength, 43);
  EXPECT_GT(result.defenderLoss, 0.0f);
  EXPECT_NEAR(game().relations.GetLosses(1, 2), result.defenderLoss, 1e-4);
  EXPECT_NEAR(game().relations.GetLosses(2, 1), result.attackerLoss, 1e-4);
}

TEST_F(Retreat, NoRetreatHexMeansSurrender) {
  ScopedRandomDraws draws({Die(1), Die(1), kNoBonusDraw, Percent(5), kSentinel});
  LogCapture log;
  const std::u16string line =
      Format(GetText("retreat_check_passed,_but_retreat_impossible._%s_surrenders!"), defender.name);
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  EXPECT_EQ(draws.remaining(), 1u);
  EXPECT_TRUE(log.Contains(line));
  EXPECT_TRUE(result.Flag(kFlagDefenderSurrendered));
  EXPECT_EQ(attack.defender, nullptr);
  EXPECT_EQ(map().GetHex(kX, kY)->unit, nullptr);
}

TEST_F(Retreat, AHexTheScoringRefusesLeavesTheUnitStanding) {
  // Country 2 is at war with 1 but not the other way round: the test finds
  // the neighbour, the choice does not.
  game().relations.SetWar(1, 2, false);
  ControlAllHexes(1);
  ScopedRandomDraws draws({Die(1), Die(1), kNoBonusDraw, Percent(5), kSentinel});
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  EXPECT_EQ(draws.remaining(), 1u);
  EXPECT_EQ(defender.x, kX);
  EXPECT_EQ(defender.y, kY);
  EXPECT_EQ(map().GetHex(kX, kY)->unit, &defender);
  EXPECT_FALSE(result.Flag(kFlagDefenderRetreated));
}

struct StandCase {
  const char* name;
  int strength;
  bool city;
  int fort;
  bool checked;
};
class RetreatCheck : public LandBattle, public testing::WithParamInterface<StandCase> {};

TEST_P(RetreatCheck, OnlyWeakUnitsInTheOpenAreChecked) {
  const StandCase& c = GetParam();
  game().constants.SetSlot(consts_layout::kDefenderLossPercent + 3, 0);  // die 1, column 4: no loss
  cJednostkaLadowa& defender = Fighter(2, kX, kY, c.strength);
  sAttack attack = AttackOn(defender);
  AttackerOn(attack, 0, 1, 100);
  AttackerOn(attack, 1, 1, 100);
  sHex& hex = *map().GetHex(kX, kY);
  hex.fortLevel = static_cast<std::uint8_t>(c.fort);
  if (c.city) {
    game().cities.push_back(std::make_unique<cCity>());
    hex.city = game().cities.back().get();
  }
  ScopedRandomDraws draws({Die(1), Die(1), kNoBonusDraw, Percent(99), kSentinel});
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  EXPECT_EQ(draws.remaining(), c.checked ? 1u : 2u);
  EXPECT_EQ(defender.x, kX);
}

INSTANTIATE_TEST_SUITE_P(Defenders, RetreatCheck,
                         testing::Values(StandCase{"Strength50", 50, false, 0, true},
                                         StandCase{"Strength51", 51, false, 0, false},
                                         StandCase{"InACity", 50, true, 0, false},
                                         StandCase{"Fortified", 50, false, 1, false}),
                         [](const auto& info) { return info.param.name; });

struct BonusCase {
  const char* name;
  bool attackerHuman;
  int attackerPbem;
  bool defenderHuman;
  int bonusDraw;
  int a;
  int defenderLeft;
  int attackerLeft;
};
class ComputerBonus : public LandBattle, public testing::WithParamInterface<BonusCase> {};

TEST_P(ComputerBonus, RaisesTheComputerSidesDie) {
  const BonusCase& c = GetParam();
  for (int die = 1; die <= 6; ++die) {
    for (int column = 1; column <= 7; ++column) {
      game().constants.SetSlot(consts_layout::kAttackerLossFactor + (die - 1) * 7 + column - 1, 0.1 * die);
    }
  }
  country(1).humanControlled = c.attackerHuman;
  country(1).pbemPlayerId = c.attackerPbem;
  country(2).humanControlled = c.defenderHuman;
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  sAttack attack = AttackOn(defender);
  cJednostkaLadowa& attacker = AttackerOn(attack, 0, 1, 100);
  ScopedRandomDraws draws({Die(c.a), Die(1), c.bonusDraw, Percent(99), kSentinel});
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  EXPECT_EQ(draws.remaining(), c.defenderLeft <= 50 ? 1u : 2u);
  EXPECT_EQ(defender.strength, c.defenderLeft);
  EXPECT_EQ(attacker.strength, c.attackerLeft);
}

// Column 1 (ratio 1): p = 10 a + 1; the attacker's factor is 0.1 b.
INSTANTIATE_TEST_SUITE_P(
    Draws, ComputerBonus,
    testing::Values(BonusCase{"ComputerAttacks", false, 0, true, kBonusDraw, 2, 69, 97},
                    BonusCase{"MailPlayerIsNoComputer", false, 1, true, kBonusDraw, 2, 79, 98},
                    BonusCase{"ComputerDefends", true, 0, false, kBonusDraw, 2, 79, 96},
                    BonusCase{"SixStaysSix", false, 0, true, kBonusDraw, 6, 39, 94}),
    [](const auto& info) { return info.param.name; });

class AirDefender : public LandBattle, public testing::WithParamInterface<std::pair<int, bool>> {};

TEST_P(AirDefender, IsDestroyedOnlyByHeavyLosses) {
  const auto [a, destroyed] = GetParam();
  cJednostkaLotnicza& plane = AddAir(2, kX, kY);
  plane.strength = 7;
  sAttack attack = AttackOn(plane);
  cJednostkaLadowa& attacker = AttackerOn(attack, 0, 1, 100);
  // Ratio 10 x 0.8 / 2 = 4: column 4, p = 10 a + 4.
  ScopedRandomDraws draws({Die(a), Die(1), kNoBonusDraw, kSentinel});
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  EXPECT_EQ(draws.remaining(), 1u);
  EXPECT_EQ(result.Flag(kFlagDefenderDestroyed), destroyed);
  EXPECT_EQ(game().airUnits.size(), destroyed ? 0u : 1u);
  if (!destroyed) {
    EXPECT_EQ(plane.strength, 7);
  }
  EXPECT_EQ(attacker.strength, 100);
  EXPECT_FLOAT_EQ(game().relations.GetLosses(2, 1), 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Dice, AirDefender, testing::Values(std::pair{6, true}, std::pair{5, false}));

TEST_F(LandBattle, AttackerBelowATenthOfAPointIsDestroyed) {
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  map().GetHex(kX, kY)->fortLevel = 1;
  sAttack attack = AttackOn(defender);
  cJednostkaLadowa& attacker = AttackerOn(attack, 2, 1, 5);
  ScopedRandomDraws draws({Die(6), Die(1), kNoBonusDraw, kSentinel});
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  EXPECT_TRUE(result.Flag(kFlagAttackerDestroyed));
  EXPECT_FALSE(IsOnMap(&attacker));
  EXPECT_EQ(attack.attackers[2], nullptr);
  EXPECT_EQ(defender.strength, 100);
}

// An attacker pays the attack's cost of its doctrine level; a level past
// the table's top pays the top entry.
TEST_F(LandBattle, ADoctrinePastTheCostTablePaysItsTopEntry) {
  game().constants.SetSlot(consts_layout::kAttackActionPointCost + 5, 3);
  country(1).techLevels[kDoctrineTech] = 9;
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  sAttack attack = AttackOn(defender);
  cJednostkaLadowa& attacker = AttackerOn(attack, 0, 1, 50);
  ScopedRandomDraws draws({Die(2), Die(1), kNoBonusDraw, kSentinel});
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  EXPECT_EQ(attacker.actionPoints, 3);
}

// One attacker leaves the flags clear, two set them all; the battle ends
// with the undo record cleared and the attacker's report before the defender's.
class AttackFlags : public LandBattle, public testing::WithParamInterface<int> {};

TEST_P(AttackFlags, MarkOnlyMultiUnitAttacksAndTheEndComesInOrder) {
  const int count = GetParam();
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  map().GetHex(kX, kY)->fortLevel = 1;
  sAttack attack = AttackOn(defender);
  for (int side = 0; side < count; ++side) AttackerOn(attack, side, 1, 100);
  game().playerControl.undo.unit = attack.attackers[0];
  ScopedRandomDraws draws({Die(1), Die(1), kNoBonusDraw});
  LogCapture log;
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  EXPECT_EQ(defender.wasAttacked, count > 1 ? 1 : 0);
  for (int side = 0; side < count; ++side) EXPECT_EQ(attack.attackers[side]->attacked, count > 1 ? 1 : 0);
  EXPECT_EQ(game().playerControl.undo.unit, nullptr);
  const auto lines = log.lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(std::vector<std::u16string>(lines.end() - 3, lines.end()),
            (std::vector<std::u16string>{u"===BATTLE END===", u"===UNDO WYCZYSZCZONE===", u"===REPORTS ADDED==="}));
  const auto& reports = game().reports.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports.front().type, 0);
  EXPECT_EQ(reports.front().country, 1);
  EXPECT_EQ(reports.back().type, 1);
  EXPECT_EQ(reports.back().country, 2);
  EXPECT_EQ(reports.front().text.rfind(u"Attacked unit U5_5 (Country2) [10.00] on hex (5, 5) with unit(s) U5_4 [10.00]", 0),
            0u);
}

INSTANTIATE_TEST_SUITE_P(Attackers, AttackFlags, testing::Values(1, 2));

// Doctrine or a commander may lift a defender's combat value above 100; the
// attacker's losses count it as 100 at most.
class DefenderCombatValue : public LandBattle, public testing::WithParamInterface<std::pair<int, float>> {};

TEST_P(DefenderCombatValue, ScalesTheAttackersLossesUpToAHundred) {
  const auto [combatValue, loss] = GetParam();
  cJednostkaLadowa& defender = Fighter(2, kX, kY, 100);
  defender.combatValue = combatValue;
  sAttack attack = AttackOn(defender);
  AttackerOn(attack, 0, 1, 50);
  ScopedRandomDraws draws({Die(2), Die(1), kNoBonusDraw, kSentinel});
  ASSERT_TRUE(attack.ResolveLandBattle(result));
  // p = 21 at column 1 gives V = 2.1; the attacker's factor is 0.5.
  EXPECT_NEAR(result.attackerLoss, loss, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Values, DefenderCombatValue,
                         testing::Values(std::pair{60, 0.63f}, std::pair{100, 1.05f}, std::pair{101, 1.05f},
                                         std::pair{150, 1.05f}));

}  // namespace
}  // namespace tr::test
