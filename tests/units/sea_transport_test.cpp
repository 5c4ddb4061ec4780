// Land units at sea: embarking on a new transport fleet, and going ashore
// unopposed or against a defender, for the human player and the computer.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "battle_fixture.h"
#include "support/log_capture.h"
#include "turn/fleet.h"
#include "units/jednostka_morska.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

namespace L = consts_layout;

constexpr int kSeaNode = 1;
constexpr int kLoss = 10;  // strength points of the landing table per pip of the die

template <typename List>
int CountIn(const List& list, const cJednostkaLadowa* unit) {
  return static_cast<int>(std::count_if(list.begin(), list.end(), [unit](const auto& p) { return p.get() == unit; }));
}

class SeaTransport : public test::BattleWorld {
 protected:
  SeaTransport() : scoped_(screen_) {
    auto set = [&](int slot, double value) { game().constants.SetSlot(slot, value); };
    for (int type = 0; type < 7; ++type) {
      set(L::kSeaTransportCost + type, 3 + type);
      set(L::kAmphibiousTransportCost + type, 5 + type);
    }
    for (int t = 0; t < 6; ++t) set(L::kShipHitPoints + t, 20 + t);
    for (int die = 1; die <= 6; ++die) set(L::kReplacementTable + die - 1, die * kLoss);
    set(L::kInvasionFactor, 0.5);
    set(L::kInvasionValue, 2);
    // The sea zone west of column 1: hex (0, 5) is its water.
    sWezelGrafuMorz node;
    node.id = kSeaNode;
    node.type = kSeaNodeOpenSea;
    node.x = 0;
    node.y = 5;
    node.name = u"Channel";
    game().seaGraph.nodes.push_back(node);
    map().GetHex(0, 5)->terrain = kTerrainWater;
    for (int y = 0; y < 12; ++y) map().GetHex(1, y)->seaZone = kSeaNode;
    country(1).SetUnitTypeName(cCountry::UnitTypeSlot(kCargoShip), u"Transport");
    country(1).SetUnitTypeName(cCountry::UnitTypeSlot(kAmphibiousShip), u"Landing Ship");
    game().playerControl.currentCountry = &country(1);
    savedDelays_ = gDelays;
    gDelays.fill(0.0f);
    gFogOfWar = 0;
  }
  ~SeaTransport() override { gDelays = savedDelays_; }

  // A unit of country 1 embarked at the sea node on a ship of the type.
  cJednostkaLadowa& Aboard(int shipType = kAmphibiousShip, int strength = 100) {
    cJednostkaLadowa& unit = Fighter(1, 3, 3, strength);
    unit.name = u"1st Rifle";
    fleet_ = unit.EmbarkOnFleet(shipType, kSeaNode, 0);
    EXPECT_NE(fleet_, nullptr);
    return unit;
  }
  cJednostkaMorska* Ship() { return fleet_ && !fleet_->ships.empty() ? fleet_->ships.front() : nullptr; }
  bool ShipAfloat(const cJednostkaMorska* ship) const {
    const auto& ships = gGame->navalUnits;
    return std::any_of(ships.begin(), ships.end(), [ship](const auto& p) { return p.get() == ship; });
  }
  bool IsLandUnit(const cJednostkaLadowa* unit) { return CountIn(game().landUnits, unit) == 1; }
  void ControlHex(int x, int y, int country) {
    map().GetHex(x, y)->controller = static_cast<std::uint8_t>(country);
    map().GetHex(x, y)->owner = static_cast<std::uint8_t>(country);
  }
  std::u16string TextBox(const char* key, float lost) {
    return Format(u"text %s|%s", Format(GetText("invasion_no_enemy_title"), u"Channel"), Format(GetText(key), lost));
  }
  bool Shown(const std::u16string& event) const {
    const auto events = screen_.events();
    return std::find(events.begin(), events.end(), event) != events.end();
  }

  cHeadlessPresentation screen_;
  ScopedPresentation scoped_;
  cFleet* fleet_ = nullptr;
  std::array<float, kDelayCount> savedDelays_{};
};

struct EmbarkCase {
  const char* name;
  int shipType;
  const char16_t* typeName;
  const char* fleetKey;
};

class Embark : public SeaTransport, public testing::WithParamInterface<EmbarkCase> {};

TEST_P(Embark, MakesAShipInANewFleetAndTakesTheUnitOffTheMap) {
  const EmbarkCase& c = GetParam();
  country(1).seaTransportPoints = 50;
  country(1).invasionPoints = 50;
  game().nextNavalUnitId = 7;
  game().nextFleetId = 3;
  cJednostkaLadowa& unit = Aboard(c.shipType);
  ASSERT_NE(fleet_, nullptr);
  EXPECT_EQ(game().nextNavalUnitId, 8);
  EXPECT_EQ(game().nextFleetId, 4);
  cJednostkaMorska* ship = Ship();
  ASSERT_NE(ship, nullptr);
  EXPECT_EQ(ship->name, Format(u"#8 1st Rifle %s", c.typeName));
  EXPECT_EQ(ship->id, 8);
  EXPECT_EQ(ship->type, c.shipType);
  EXPECT_EQ(ship->hitPoints, 20 + c.shipType - kAircraftCarrier);
  EXPECT_EQ(ship->maxHitPoints, ship->hitPoints);
  EXPECT_EQ(ship->canBeRepaired, 1);
  EXPECT_EQ(ship->carriedUnit, &unit);
  EXPECT_EQ(ship->commanderId, -1);
  EXPECT_TRUE(ShipAfloat(ship));
  EXPECT_EQ(fleet_->id, 4);
  EXPECT_EQ(fleet_->name, Format(GetText(c.fleetKey), 4));
  EXPECT_EQ(fleet_->seaNodeId, kSeaNode);
  EXPECT_EQ(game().fleets.back().get(), fleet_);
  const bool cargo = c.shipType == kCargoShip;
  EXPECT_EQ(country(1).seaTransportPoints, cargo ? 47 : 50);
  EXPECT_EQ(country(1).invasionPoints, cargo ? 50 : 45);
  EXPECT_EQ(unit.transporter, ship);
  EXPECT_EQ(unit.x, -1);
  EXPECT_EQ(unit.y, -1);
  EXPECT_EQ(map().GetHex(3, 3)->unit, nullptr);
  EXPECT_EQ(CountIn(game().landUnits, &unit), 0);
  EXPECT_EQ(CountIn(game().aboardUnitsA, &unit), cargo ? 1 : 0);
  EXPECT_EQ(CountIn(game().aboardUnitsB, &unit), cargo ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Transports, Embark,
    testing::Values(EmbarkCase{"Cargo", kCargoShip, u"Transport", "fleet_transporter_#%i"},
                    EmbarkCase{"Amphibious", kAmphibiousShip, u"Landing Ship", "fleet_amphibious_#%i"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SeaTransport, EmbarkingRefusesAWrongShipTypeNodeOrAUnitNotOnTheMap) {
  cJednostkaLadowa& unit = Fighter(1, 3, 3, 100);
  test::LogCapture log;
  EXPECT_EQ(unit.EmbarkOnFleet(kCruiser, kSeaNode, 0), nullptr);
  EXPECT_EQ(unit.EmbarkOnFleet(kCargoShip, 9, 0), nullptr);
  EXPECT_TRUE(game().fleets.empty());
  EXPECT_TRUE(game().navalUnits.empty());
  EXPECT_TRUE(IsLandUnit(&unit));
  EXPECT_EQ(map().GetHex(3, 3)->unit, &unit);
  ASSERT_NE(unit.EmbarkOnFleet(kCargoShip, kSeaNode, 0), nullptr);
  EXPECT_EQ(unit.EmbarkOnFleet(kCargoShip, kSeaNode, 0), nullptr);  // already aboard
  EXPECT_EQ(game().fleets.size(), 1u);
}

// A free target: on a friend's hex nothing is lost; elsewhere the die's loss
// decides whether the unit survives.
struct UnopposedCase {
  const char* name;
  bool friendHex;
  int strength;
  int die;
  bool landed;
  float lost;
};

class HumanUnopposed : public SeaTransport, public testing::WithParamInterface<UnopposedCase> {};

TEST_P(HumanUnopposed, TheDieLossDecidesAndTheBoxTellsIt) {
  const UnopposedCase& c = GetParam();
  cJednostkaLadowa& unit = Aboard(kAmphibiousShip, c.strength);
  cJednostkaMorska* ship = Ship();
  const cFleet* fleet = fleet_;
  ControlHex(1, 4, c.friendHex ? 1 : 2);
  unit.actionPoints = 0;
  unit.supply = 0;
  game().playerControl.selectedUnit = &unit;
  ScopedRandomDraws draws({test::Die(c.die), test::kSentinel});
  const bool landed = unit.AmphibiousInvasion(1, 4);
  EXPECT_EQ(draws.remaining(), c.friendHex ? 2u : 1u);
  EXPECT_EQ(landed, c.landed);
  EXPECT_TRUE(Shown(TextBox(c.landed ? "invasion_no_enemy_success_unit_losses_strength"
                                     : "invasion_no_enemy_fail_unit_losses_strength",
                            c.lost)));
  EXPECT_FALSE(ShipAfloat(ship));
  EXPECT_TRUE(std::none_of(game().fleets.begin(), game().fleets.end(),
                           [fleet](const auto& f) { return f.get() == fleet; }));
  EXPECT_TRUE(game().aboardUnitsB.empty());
  EXPECT_EQ(game().playerControl.selectedUnit, nullptr);
  if (!c.landed) {
    EXPECT_TRUE(game().landUnits.empty());
    EXPECT_EQ(map().GetHex(1, 4)->unit, nullptr);
    return;
  }
  EXPECT_TRUE(IsLandUnit(&unit));
  EXPECT_EQ(map().GetHex(1, 4)->unit, &unit);
  EXPECT_EQ(unit.x, 1);
  EXPECT_EQ(unit.y, 4);
  EXPECT_EQ(unit.transporter, nullptr);
  EXPECT_EQ(unit.supply, 10);
  EXPECT_GT(unit.actionPoints, 0);  // a new turn's points, not the 0 it had aboard
  EXPECT_EQ(unit.spotted, 1);
  EXPECT_EQ(map().GetHex(1, 4)->controller, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Landings, HumanUnopposed,
    testing::Values(UnopposedCase{"FriendHexLosesNothing", true, 20, 3, true, 0.0f},
                    UnopposedCase{"EnemyHexSurvivesTheLoss", false, 100, 3, true, 3.0f},
                    UnopposedCase{"LossBelowATenthDestroys", false, 30, 3, false, 3.0f}),
    [](const auto& info) { return std::string(info.param.name); });

// Against a defender: with no losses in the battle both survive, and the
// defender's effective strength times the invasion value decides. The
// invader fights at half its value (invasion factor 0.5).
struct OpposedCase {
  const char* name;
  int attackerStrength;
  int defenderStrength;
  bool landed;
};

class HumanOpposed : public SeaTransport, public testing::WithParamInterface<OpposedCase> {
 protected:
  HumanOpposed() {
    for (int i = 0; i < 42; ++i) {
      game().constants.SetSlot(L::kDefenderLossPercent + i, 0);
      game().constants.SetSlot(L::kAttackerLossFactor + i, 0);
    }
  }
};

TEST_P(HumanOpposed, EqualDefenceLetsTheInvaderLandAndMoreDestroysIt) {
  const OpposedCase& c = GetParam();
  cJednostkaLadowa& unit = Aboard(kAmphibiousShip, c.attackerStrength);
  cJednostkaMorska* ship = Ship();
  ControlHex(1, 4, 2);
  cJednostkaLadowa& defender = Fighter(2, 1, 4, c.defenderStrength);
  defender.combatValue = 100;
  gDelays[kDelayHumanCombatResult] = -1000.0f;
  const bool landed = unit.AmphibiousInvasion(1, 4);
  EXPECT_EQ(landed, c.landed);
  EXPECT_FALSE(ShipAfloat(ship));
  EXPECT_TRUE(game().aboardUnitsB.empty());
  EXPECT_EQ(screen_.CountEvents(u"sound data\\sound\\Invasion.wav"), 1);
  EXPECT_TRUE(Shown(u"combat-result 0 -1000"));
  ASSERT_EQ(game().landUnits.size(), 1u);
  const cJednostkaLadowa* survivor = game().landUnits.front().get();
  if (c.landed) {
    EXPECT_EQ(survivor, &unit);
    EXPECT_EQ(map().GetHex(1, 4)->unit, &unit);
    EXPECT_EQ(map().GetHex(1, 4)->controller, 1);
    EXPECT_EQ(unit.supply, 10);
  } else {
    EXPECT_EQ(survivor, &defender);
    EXPECT_EQ(map().GetHex(1, 4)->unit, &defender);
    EXPECT_EQ(map().GetHex(1, 4)->controller, 2);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, HumanOpposed,
    testing::Values(OpposedCase{"DefenceEqualLands", 240, 60, true},
                    OpposedCase{"DefenceAboveDestroysTheInvader", 239, 60, false},
                    OpposedCase{"OverrunLands", 2000, 60, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SeaTransport, NoDialogWhenTheHumanResultDelayIsZero) {
  for (int i = 0; i < 42; ++i) game().constants.SetSlot(L::kAttackerLossFactor + i, 0);
  cJednostkaLadowa& unit = Aboard();
  ControlHex(1, 4, 2);
  Fighter(2, 1, 4, 60);
  unit.AmphibiousInvasion(1, 4);
  EXPECT_EQ(screen_.CountEvents(u"combat-result"), 0);
}

// Refused before anything changes: the unit stays aboard and its ship afloat.
struct RefusedCase {
  const char* name;
  int x;
  int y;
  int holder;  // owner of a unit on the hex, 0 for none
  bool critical;
};

class RefusedLanding : public SeaTransport, public testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedLanding, LeavesTheUnitAboardAndTheShipAfloat) {
  const RefusedCase& c = GetParam();
  cJednostkaLadowa& unit = Aboard();
  cJednostkaMorska* ship = Ship();
  if (c.holder != 0) Fighter(c.holder, c.x, c.y, 100);
  for (const bool human : {true, false}) {
    test::LogCapture log;
    ScopedRandomDraws draws({test::kSentinel});
    EXPECT_FALSE(human ? unit.AmphibiousInvasion(c.x, c.y) : unit.AiUnloadAmphibious(c.x, c.y));
    EXPECT_EQ(draws.remaining(), 1u);
    EXPECT_EQ(log.Contains(u"Critical Error: Cannot assault with a friendly unit during the amphibious invasion!"),
              c.critical);
    EXPECT_EQ(CountIn(game().aboardUnitsB, &unit), 1);
    EXPECT_EQ(CountIn(game().landUnits, &unit), 0);
    EXPECT_EQ(unit.transporter, ship);
    EXPECT_EQ(ship->carriedUnit, &unit);
    EXPECT_TRUE(ShipAfloat(ship));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, RefusedLanding,
    testing::Values(RefusedCase{"NeutralUnit", 1, 4, 3, true}, RefusedCase{"OwnUnit", 1, 4, 1, true},
                    RefusedCase{"OffTheMap", -1, 4, 0, false}, RefusedCase{"WaterHex", 0, 5, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

// A unit taken from aboard back to the reserve is in the pool only, at full
// supply as a loaded game has it there and ready to be placed, its ship
// afloat and empty; a cargo
// ship's sea-transport points come back, an amphibious ship's invasion points
// do not. A unit on the map is not aboard.
TEST_F(SeaTransport, AUnitAboardGoesBackToTheReserveAndOnlyThere) {
  game().constants.SetSlot(L::kFullSupplyLevel, 10);
  for (const int shipType : {kCargoShip, kAmphibiousShip}) {
    SCOPED_TRACE(shipType);
    cJednostkaLadowa& unit = Aboard(shipType);
    unit.supply = 1;
    unit.availableInTurns = 2;
    cJednostkaMorska* ship = Ship();
    const std::int32_t points = country(1).seaTransportPoints;
    ASSERT_TRUE(unit.MoveFromShipToReservePool());
    EXPECT_EQ(CountIn(game().reservePool, &unit), 1);
    EXPECT_EQ(CountIn(game().aboardUnitsA, &unit) + CountIn(game().aboardUnitsB, &unit), 0);
    EXPECT_FALSE(IsLandUnit(&unit));
    EXPECT_EQ(unit.inReserve, 1);
    EXPECT_EQ(unit.transporter, nullptr);
    EXPECT_EQ(unit.transporterId, -1);
    EXPECT_EQ(unit.x, -1);
    EXPECT_EQ(unit.supply, 10);
    EXPECT_EQ(unit.availableInTurns, 0);  // to be placed at once
    EXPECT_EQ(ship->carriedUnit, nullptr);
    EXPECT_TRUE(ShipAfloat(ship));
    EXPECT_EQ(country(1).seaTransportPoints, points + (shipType == kCargoShip ? 3 + kInfantryDivision : 0));
  }
  cJednostkaLadowa& ashore = Fighter(1, 3, 3, 100);
  EXPECT_FALSE(ashore.MoveFromShipToReservePool());
  EXPECT_TRUE(IsLandUnit(&ashore));
  EXPECT_EQ(map().GetHex(3, 3)->unit, &ashore);
}

TEST_F(SeaTransport, ComputerLandingKeepsItsStrengthAndRollsOnAFriendsHexToo) {
  cJednostkaLadowa& unit = Aboard(kAmphibiousShip, 100);
  ControlHex(1, 4, 1);
  game().playerControl.follow = 1;
  game().playerControl.selectedUnit = nullptr;
  ScopedRandomDraws draws({test::Die(3), test::kSentinel});
  test::LogCapture log;
  EXPECT_TRUE(unit.AiUnloadAmphibious(1, 4));
  EXPECT_EQ(draws.remaining(), 1u);
  EXPECT_TRUE(log.Contains(Format(GetText("ai_unloading_amphib_unit_%s_to_hex_(%i,_%i)"), u"1st Rifle", 1, 4)));
  EXPECT_EQ(unit.strength, 100);
  EXPECT_EQ(map().GetHex(1, 4)->unit, &unit);
  EXPECT_EQ(unit.spotted, 1);
  EXPECT_EQ(screen_.CountEvents(u"camera 1 4"), 1);
  EXPECT_EQ(screen_.CountEvents(u"text "), 0);
  EXPECT_TRUE(IsLandUnit(&unit));
}

TEST_F(SeaTransport, ComputerLandingLostToTheDieLeavesNothing) {
  cJednostkaLadowa& unit = Aboard(kAmphibiousShip, 30);
  ControlHex(1, 4, 2);
  ScopedRandomDraws draws({test::Die(3)});
  EXPECT_FALSE(unit.AiUnloadAmphibious(1, 4));
  EXPECT_TRUE(game().landUnits.empty());
  EXPECT_TRUE(game().aboardUnitsB.empty());
  EXPECT_TRUE(game().navalUnits.empty());
  EXPECT_TRUE(game().fleets.empty());
  EXPECT_EQ(map().GetHex(1, 4)->controller, 2);
}

TEST_F(SeaTransport, ComputerBattleWaitsForTheResultDialogWhenItsDelayIsSet) {
  for (int i = 0; i < 42; ++i) game().constants.SetSlot(L::kAttackerLossFactor + i, 0);
  cJednostkaLadowa& unit = Aboard(kAmphibiousShip, 2000);
  ControlHex(1, 4, 2);
  Fighter(2, 1, 4, 60);
  game().playerControl.follow = 1;
  gDelays[kDelayHumanCombatResult] = 500.0f;
  EXPECT_TRUE(unit.AiUnloadAmphibious(1, 4));
  EXPECT_TRUE(Shown(u"combat-result 0 500"));
  EXPECT_EQ(screen_.CountEvents(u"sound data\\sound\\Invasion.wav"), 1);
  EXPECT_EQ(map().GetHex(1, 4)->unit, &unit);
  EXPECT_EQ(map().GetHex(1, 4)->flags & 2u, 0u);
}

}  // namespace
}  // namespace tr
