// Upgrades to corps and level-ups: the new strength, the costs, the
// computer's level-up, and the unit panel's hints with their ordered checks.
#include <gtest/gtest.h>

#include <tuple>

#include "foundation/format.h"
#include "foundation/settings.h"
#include "foundation/scoped_string_base.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "unit_fixture.h"

namespace tr::test {
namespace {

namespace L = consts_layout;

class LandUpgrades : public UnitWorld {
 protected:
  LandUpgrades() {
    for (int type = 0; type < 7; ++type) Set(L::kLandPriceFactor + type, 2.0 + type);
    Set(L::kLevelPriceSurcharge, 10);
    for (int type = 0; type < 7; ++type) {
      Set(L::kStrategicMoveCost + type, 3);
      Set(L::kSeaTransportCost + type, 4);
      Set(L::kAmphibiousTransportCost + type, 5);
    }
    country(1).productionPoints = 1000.0;
    country(1).techLevels[0] = 3;  // artillery
    country(1).techLevels[1] = 2;  // tanks
    for (sHex& hex : map().Hexes()) hex.owner = 1;
  }
  void Set(int slot, double value) { game().constants.SetSlot(slot, value); }
  float Base(int level, int type) { return game().constants.LandBaseValue(level, type); }
  cJednostkaLadowa& Ready(int type = kInfantryDivision) {
    cJednostkaLadowa& unit = AddLand(1, 4, 4, type);
    unit.actionPoints = unit.startingActionPoints = 5;
    unit.supply = 10;
    unit.turnsWithoutSupply = 0;
    return unit;
  }
};

struct StrengthCase {
  const char* name;
  double oldBase;
  double newBase;
  int strength;
  int upgraded;
  int levelled;
};
class NewStrength : public LandUpgrades, public testing::WithParamInterface<StrengthCase> {};

TEST_P(NewStrength, KeepsTheStrengthValueGrowingByTheDifference) {
  const StrengthCase& c = GetParam();
  Set(L::kLandBaseValue + 1 * 7 + 0, c.oldBase);
  Set(L::kLandBaseValue + 1 * 7 + 1, c.newBase);
  Set(L::kLandBaseValue + 2 * 7 + 0, c.newBase);
  cJednostkaLadowa& corps = Ready();
  corps.strength = c.strength;
  const float upgradeCost = corps.GetUpgradeCost();
  corps.UpgradeToCorps();
  EXPECT_EQ(corps.strength, c.upgraded);
  EXPECT_EQ(corps.type, kInfantryCorps);
  EXPECT_EQ(corps.actionPoints, 0);
  EXPECT_DOUBLE_EQ(country(1).productionPoints, 1000.0 - upgradeCost);

  cJednostkaLadowa& veteran = Ready();
  veteran.strength = c.strength;
  veteran.LevelUp();
  EXPECT_EQ(veteran.strength, c.levelled);
  EXPECT_EQ(veteran.level, 2);
}

INSTANTIATE_TEST_SUITE_P(Bases, NewStrength,
                         testing::Values(StrengthCase{"FullStaysFull", 13.7, 29.3, 100, 100, 100},
                                         StrengthCase{"FullStaysFullOddBases", 0.3, 0.7, 100, 100, 100},
                                         StrengthCase{"HalfOfTenToTwenty", 10, 20, 50, 75, 75},
                                         StrengthCase{"FractionRoundsEachItsWay", 10, 25, 3, 61, 62}),
                         [](const auto& info) { return info.param.name; });

TEST_F(LandUpgrades, CostsFollowThePricesAndTheLevelSurcharge) {
  cJednostkaLadowa& unit = Ready(kMechanizedDivision);
  unit.level = 2;
  unit.strength = 50;
  // Level 2 mechanized: base 22 -> corps 23, prices 4 and 5, strength value 11.
  const float c = 5.0f * (23.0f - 22.0f) + 11.0f * (5.0f - 4.0f);
  EXPECT_FLOAT_EQ(unit.GetUpgradeCost(), c + 10.0f * c * 1.0f / 100.0f);
  const float priced3 = 32.0f * 4.0f * 1.2f;
  const float priced2 = 22.0f * 4.0f * 1.1f;
  EXPECT_FLOAT_EQ(unit.GetLevelUpCost(), priced3 - priced2);
}

// A level-up charges the price quoted for it before the level rises.
TEST_F(LandUpgrades, ALevelUpChargesTheQuotedPrice) {
  Set(L::kLandBaseValue + 1 * 7 + 0, 10);
  Set(L::kLandBaseValue + 2 * 7 + 0, 20);
  Set(L::kLandBaseValue + 3 * 7 + 0, 35);
  cJednostkaLadowa& unit = Ready();
  const float quoted = unit.GetLevelUpCost();
  ASSERT_FLOAT_EQ(quoted, 20.0f * 2.0f * 1.1f - 10.0f * 2.0f);
  unit.LevelUp();
  EXPECT_EQ(unit.level, 2);
  EXPECT_DOUBLE_EQ(country(1).productionPoints, 1000.0 - quoted);
}

TEST_F(LandUpgrades, WrongTypeIsRefusedNotFatal) {
  cJednostkaLadowa& corps = Ready(kArmouredCorps);
  LogCapture log;
  EXPECT_FLOAT_EQ(corps.GetUpgradeCost(), 0.0f);
  EXPECT_TRUE(log.Contains(
      Format(GetText("error:_wrong_land_unit_type_(%i)_while_calculating_upgrade_to_corps_cost"), 5)));
  corps.UpgradeToCorps();
  EXPECT_EQ(corps.type, kArmouredCorps);
  EXPECT_EQ(corps.actionPoints, 5);
  EXPECT_DOUBLE_EQ(country(1).productionPoints, 1000.0);
}

TEST_F(LandUpgrades, PlayerChangesClearTheRangeAndHighlightsButTheComputersDoNot) {
  const auto savedDelays = gDelays;
  gDelays.fill(0.0f);
  cJednostkaLadowa& unit = Ready();
  unit.moveRange.push_back({&unit, 1, 1, 0, 1});
  map().GetHex(2, 2)->AddFlags(1 | 4, -1);
  LogCapture log;
  unit.AiLevelUp();
  EXPECT_EQ(unit.level, 2);
  EXPECT_EQ(unit.moveRange.size(), 1u);
  EXPECT_EQ(map().GetHex(2, 2)->flags, 5u);
  EXPECT_TRUE(log.Contains(u"[AI]: Country1 - upgrading  (level up)"));
  unit.LevelUp();
  EXPECT_EQ(unit.level, 3);
  EXPECT_TRUE(unit.moveRange.empty());
  EXPECT_EQ(map().GetHex(2, 2)->flags, 1u);
  gDelays = savedDelays;
}

// The computer's level-up shows the map at the unit only for a seen unit
// while the player follows the computer's moves.
class ComputerLevelUpView : public LandUpgrades, public testing::WithParamInterface<std::tuple<int, int, bool>> {};
TEST_P(ComputerLevelUpView, CentresOnlyOnASeenUnitWhenFollowed) {
  const auto [spotted, follow, centred] = GetParam();
  const auto savedDelays = gDelays;
  gDelays.fill(0.0f);
  cJednostkaLadowa& unit = Ready();
  unit.spotted = spotted;
  game().playerControl.follow = follow;
  LogCapture log;
  unit.AiLevelUp();
  gDelays = savedDelays;
  EXPECT_EQ(unit.level, 2);
  EXPECT_EQ(log.Contains(u"CenterAtHex"), centred);
}
INSTANTIATE_TEST_SUITE_P(Views, ComputerLevelUpView,
                         testing::Values(std::tuple{0, 1, false}, std::tuple{1, 0, false}, std::tuple{1, 1, true}));

// Each turn without supply takes its share of the scenario's limit off the
// effectiveness; a scenario without a limit takes nothing.
struct UnsuppliedCase {
  int turnsWithoutSupply, limit;
  const char16_t* shown;
};
class UnsuppliedHint : public LandUpgrades, public testing::WithParamInterface<UnsuppliedCase> {};
TEST_P(UnsuppliedHint, ShowsTheShareOfTheLimit) {
  cScopedStringBase texts;
  StringBase().SetText("unitpanel_effectiveness_land_hint",
                       u"Doctrine: %.0f%%\nCommander: %.0f%%\nSupply: %.0f%%\nOut of supply: %.2f\n"
                       u"Shore bombardment: %.0f\nEvents: %.0f");
  Set(L::kSupplyLossLimit, GetParam().limit);
  cJednostkaLadowa& unit = Ready();
  unit.turnsWithoutSupply = GetParam().turnsWithoutSupply;
  std::u16string text;
  ASSERT_TRUE(unit.GetEffectivenessHint(&text));
  EXPECT_NE(text.find(GetParam().shown), std::u16string::npos) << Utf16ToUtf8(text);
}
INSTANTIATE_TEST_SUITE_P(Limits, UnsuppliedHint,
                         testing::Values(UnsuppliedCase{3, 4, u"Out of supply: -0.75\n"},
                                         UnsuppliedCase{3, 0, u"Out of supply: 0.00\n"},
                                         UnsuppliedCase{0, 4, u"Out of supply: 0.00\n"}));

using HintMethod = bool (cJednostkaLadowa::*)(std::u16string*);
struct HintCase {
  const char* name;
  HintMethod hint;
  void (*setup)(cJednostkaLadowa&, cGame&);
  bool available;
  const char* key;
};
class Hints : public LandUpgrades, public testing::WithParamInterface<HintCase> {};

TEST_P(Hints, AnswerTheFirstReasonThatStandsInTheWay) {
  const HintCase& c = GetParam();
  cJednostkaLadowa& unit = Ready();
  game().countries[0]->strategicMovementPoints = 3;
  game().countries[0]->seaTransportPoints = 4;
  game().countries[0]->invasionPoints = 5;
  unit.supplySourceX = unit.supplySourceY = 1;
  unit.strength = 90;
  c.setup(unit, game());
  std::u16string text;
  EXPECT_EQ((unit.*c.hint)(&text), c.available);
  EXPECT_EQ((unit.*c.hint)(nullptr), c.available);
  // Without texts loaded each key shows as itself.
  EXPECT_EQ(text.substr(0, std::string_view(c.key).size()), GetText(c.key).substr(0, std::string_view(c.key).size()));
}

void Nothing(cJednostkaLadowa&, cGame&) {}
void Frozen(cJednostkaLadowa& u, cGame&) { u.freezeTime = 1; }
void Moved(cJednostkaLadowa& u, cGame&) { u.actionPoints = 2; }
void Poor(cJednostkaLadowa&, cGame& g) { g.countries[0]->productionPoints = 0.0; }
void PortBeside(cJednostkaLadowa& u, cGame& g) {
  g.cities.push_back(std::make_unique<cCity>());
  g.cities.back()->type = kCityPort;
  const sPoint p = NeighbourPoint(u.x, u.y, 2);
  sHex& hex = *g.map->GetHex(p.x, p.y);
  hex.city = g.cities.back().get();
  hex.controller = 1;
}
void PortBesideMoved(cJednostkaLadowa& u, cGame& g) { PortBeside(u, g), Moved(u, g); }
void PortBesideLowSupply(cJednostkaLadowa& u, cGame& g) { PortBeside(u, g), u.supply = 5; }
template <int kType>
void Type(cJednostkaLadowa& u, cGame&) { u.SetType(kType); }
void TanksLevel2(cJednostkaLadowa& u, cGame&) { u.SetType(kArmouredDivision), u.level = 2; }
void FullStrength(cJednostkaLadowa& u, cGame&) { u.strength = 100; }
void ATurnUnsupplied(cJednostkaLadowa& u, cGame&) { u.turnsWithoutSupply = 1; }
void Airborne(cJednostkaLadowa& u, cGame&) { u.SetType(kAirborneDivision), u.turnsSinceParadrop = 3; }
void AirborneResting(cJednostkaLadowa& u, cGame& g) { Airborne(u, g), u.turnsSinceParadrop = 2; }

using U = cJednostkaLadowa;
INSTANTIATE_TEST_SUITE_P(
    Checks, Hints,
    testing::Values(
        HintCase{"UpgradeMulberry", &U::GetUpgradeHint, Type<kMulberryType>, false, "unitpanel_upgrade_hint_mulberry"},
        HintCase{"UpgradeFrozen", &U::GetUpgradeHint, Frozen, false, "unitpanel_upgrade_hint_not_full_ap_or_frozen"},
        HintCase{"UpgradePoor", &U::GetUpgradeHint, Poor, false, "unitpanel_upgrade_hint_not_enough_pp"},
        HintCase{"Upgrade", &U::GetUpgradeHint, Nothing, true, "unitpanel_upgrade_hint"},
        HintCase{"LevelUpNoTanks", &U::GetLevelUpHint, TanksLevel2, false, "unitpanel_levelup_hint_no_technology"},
        HintCase{"LevelUpFrozen", &U::GetLevelUpHint, Frozen, false, "unitpanel_levelup_hint_not_full_ap_or_frozen"},
        HintCase{"StrengthFull", &U::GetStrengthIconHint, FullStrength, false,
                 "unitpanel_strength_icon_hint_max_strength"},
        HintCase{"StrengthATurnUnsupplied", &U::GetStrengthIconHint, ATurnUnsupplied, false,
                 "unitpanel_strength_icon_hint_no_supply"},
        HintCase{"Strength", &U::GetStrengthIconHint, Nothing, true, "unitpanel_strength_icon_hint"},
        HintCase{"StrategicMoved", &U::GetStrategicMoveIconHint, Moved, false,
                 "unitpanel_strategic_move_icon_hint_not_full_ap_or_frozen"},
        HintCase{"AirborneResting", &U::GetAirborneAssaultIconHint, AirborneResting, false,
                 "unitpanel_airborne_assault_hint_not_prepared"},
        HintCase{"SeaAfterAMove", &U::GetSeaTransportIconHint, PortBesideMoved, true,
                 "unitpanel_sea_transport_icon_hint"},
        HintCase{"AmphLowSupply", &U::GetAmphTransportIconHint, PortBesideLowSupply, false,
                 "unitpanel_amph_transport_icon_hint_not_enough_supply"},
        HintCase{"Recon", &U::GetReconIconHint, Nothing, false, "unitpanel_recon_icon_hint_not_air_unit"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tr::test
