// Air units: radii, values by type, rebasing, the target markers, reserve and
// removal, the panel's hints and reconnaissance.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support/log_capture.h"
#include "units/air_fixture.h"
#include "units/air_support.h"

namespace tr {
namespace {

using test::AirWorld;

class AirUnit : public AirWorld {};

struct RadiusCase {
  int type;
  int techLevel;
  int moveRange;
  int combatRange;
};
class AirRadius : public AirWorld, public testing::WithParamInterface<RadiusCase> {};

TEST_P(AirRadius, ScaleWithAircraftTechnology) {
  const RadiusCase c = GetParam();
  country(1).techLevels[3] = c.techLevel;
  cJednostkaLotnicza& unit = AddPlane(1, 5, 5, c.type);
  EXPECT_EQ(unit.GetMoveRange(), c.moveRange);
  EXPECT_EQ(unit.GetRange(), c.combatRange);
}

// Factors: level 0 -> 0.5, 2 -> 1.0, 5 and above -> 1.75.
INSTANTIATE_TEST_SUITE_P(Types, AirRadius,
                         testing::Values(RadiusCase{kFighter, 0, 3, 2}, RadiusCase{kTacticalBomber, 2, 6, 4},
                                         RadiusCase{kStrategicBomber, 2, 8, 5}, RadiusCase{kFighter, 5, 10, 7},
                                         RadiusCase{kFighter, 9, 10, 7}));

TEST_F(AirUnit, ActionPointsNeedSupply) {
  cJednostkaLotnicza& unit = AddPlane(1, 5, 5, kFighter);
  unit.supply = 0;
  unit.ResetActionPoints();
  EXPECT_EQ(unit.actionPoints, 0);
  EXPECT_EQ(unit.startingActionPoints, 0);
  unit.supply = 3;
  unit.ResetActionPoints();
  EXPECT_EQ(unit.actionPoints, 4);
  EXPECT_EQ(unit.startingActionPoints, 4);
}

TEST_F(AirUnit, LevelUpCostAndPayment) {
  cJednostkaLotnicza& unit = AddPlane(1, 5, 5, kTacticalBomber);
  unit.level = 2;
  // B = 10 x 2 = 20; R = 50 %: (20 + 20) - (20 + 10) = 10.
  EXPECT_FLOAT_EQ(unit.GetLevelUpCost(), 10.0f);
  country(1).productionPoints = 25.0;
  unit.LevelUp();
  EXPECT_EQ(unit.level, 3);
  EXPECT_EQ(unit.actionPoints, 0);
  EXPECT_DOUBLE_EQ(country(1).productionPoints, 15.0);
}

// The computer pays the same price, and pauses before and after so that a
// player who follows its moves sees the change.
TEST_F(AirUnit, ComputerLevelUpPaysAndPausesTwice) {
  const auto savedDelays = gDelays;
  gDelays.fill(0.0f);
  cJednostkaLotnicza& unit = AddPlane(1, 5, 5, kTacticalBomber);
  unit.level = 2;
  country(1).productionPoints = 37.0;
  test::LogCapture log;
  unit.AiLevelUp();
  gDelays = savedDelays;
  EXPECT_EQ(unit.level, 3);
  EXPECT_EQ(unit.actionPoints, 0);
  EXPECT_DOUBLE_EQ(country(1).productionPoints, 27.0);
  const std::vector<std::u16string> lines = log.lines();
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::u16string& line) { return line.starts_with(u"S: air_support"); }),
            2);
}

TEST_F(AirUnit, MoveHexesMarkFreeFriendlyLandWithinRadius) {
  for (sHex& hex : map().Hexes()) hex.controller = 1;
  map().GetHex(5, 6)->controller = 2;  // enemy
  map().GetHex(6, 5)->terrain = kTerrainWater;
  cJednostkaLotnicza& unit = AddPlane(1, 5, 5, kFighter);
  country(1).techLevels[3] = 0;  // move radius 3
  AddLand(1, 4, 5);

  const int count = unit.MarkMoveHexes(1);
  int marked = 0;
  for (const sHex& hex : map().Hexes()) {
    const bool target = (hex.flags & 128) != 0;
    marked += target;
    EXPECT_EQ((hex.flags & kHexFlagShaded) == 0, target) << hex.x << "," << hex.y;
  }
  EXPECT_EQ(count, marked);
  EXPECT_EQ(map().GetHex(5, 6)->flags & 128, 0u);
  EXPECT_EQ(map().GetHex(6, 5)->flags & 128, 0u);
  EXPECT_EQ(map().GetHex(4, 5)->flags & 128, 0u);
  EXPECT_NE(map().GetHex(5, 8)->flags & 128, 0u);
  EXPECT_EQ(map().GetHex(5, 9)->flags & 128, 0u);
}

TEST_F(AirUnit, SpentOrUnsuppliedUnitCannotRebase) {
  for (sHex& hex : map().Hexes()) hex.controller = 1;
  cJednostkaLotnicza& unit = AddPlane(1, 5, 5, kFighter);
  unit.actionPoints = 3;
  EXPECT_EQ(unit.MarkMoveHexes(1), 0);
  for (const sHex& hex : map().Hexes()) EXPECT_EQ(hex.flags, kHexFlagShaded);
  unit.actionPoints = 4;
  unit.supply = 4;  // half of the full level is needed
  EXPECT_EQ(unit.MarkMoveHexes(0), 0);
  unit.supply = 5;
  EXPECT_GT(unit.MarkMoveHexes(0), 0);
}

TEST_F(AirUnit, PlacementAtWarNeedsSuppliedCitiesWithoutConvoyDuty) {
  for (sHex& hex : map().Hexes()) hex.controller = hex.owner = 1;
  auto city = std::make_unique<cCity>();
  city->x = 7;
  city->y = 4;
  city->supplyInfo = {4, 0, 0};  // below half of the full level 10
  city->convoyInfo = {false, false, false};
  cCity& town = *city;
  game().cities.push_back(std::move(city));
  game().playerControl.currentCountry = &country(1);
  AddLand(1, 8, 4);
  cJednostkaLotnicza& unit = AddPlane(1, -1, -1, kFighter);
  EXPECT_EQ(unit.MarkPlacementHexes(1), 0);
  town.supplyInfo[0] = 5;
  EXPECT_EQ(unit.MarkPlacementHexes(1), 6);  // the city and five free neighbours
  EXPECT_EQ(map().GetHex(7, 4)->flags, 64u);
  EXPECT_EQ(map().GetHex(6, 3)->flags, 64u);
  EXPECT_EQ(map().GetHex(8, 4)->flags, 0u);
  town.convoyInfo[0] = true;
  EXPECT_EQ(unit.MarkPlacementHexes(0), 0);
}

TEST_F(AirUnit, KillLeavesNoTrace) {
  cJednostkaLotnicza& unit = AddPlane(2, 5, 5, kFighter);
  sCommander& commander = AddCommander(7, 2, 3, 0, kCategoryAir);
  Attach(commander, unit);
  commander.state = kCommanderAssigned;
  country(1).reconSpottedUnits.push_back(&unit);
  unit.Kill();
  EXPECT_TRUE(game().airUnits.empty());
  EXPECT_TRUE(country(1).reconSpottedUnits.empty());
  EXPECT_EQ(map().GetHex(5, 5)->unit, nullptr);
  EXPECT_EQ(commander.state, kCommanderOnHisWay);
  EXPECT_EQ(commander.headquarters, nullptr);
}

// The four markers, on a map whose left half is held by the enemy.
class AirTargets : public AirWorld {
 protected:
  AirTargets() {
    for (sHex& hex : map().Hexes()) hex.controller = hex.x < 5 ? 2 : 1;
    for (int y = 0; y < 12; ++y) {
      for (int x = 9; x < 12; ++x) {
        map().GetHex(x, y)->terrain = kTerrainWater;
        map().GetHex(x, y)->controller = 0;
        map().GetHex(x, y)->seaZone = y < 6 ? 1 : 2;
      }
    }
  }
  int CountFlagged(std::uint32_t bit) {
    int n = 0;
    for (const sHex& hex : map().Hexes()) n += (hex.flags & bit) != 0;
    return n;
  }
};

TEST_F(AirTargets, AirFightMarksVisibleEnemyAirUnits) {
  cJednostkaLotnicza& fighter = AddPlane(1, 6, 5, kFighter);
  AddPlane(2, 3, 5, kFighter).spotted = 1;
  AddPlane(2, 3, 7, kFighter).spotted = 0;  // not seen
  AddPlane(3, 6, 7, kFighter).spotted = 1;  // an ally
  EXPECT_EQ(fighter.MarkAirfightTargets(1), 1);
  EXPECT_EQ(map().GetHex(3, 5)->flags, 8192u);
  fighter.actionPoints = 0;
  EXPECT_EQ(fighter.MarkAirfightTargets(0), 0);
}

// The bomber's reach runs past the map's last row; land nobody holds is no target.
TEST_F(AirTargets, NuclearTargetsAreEnemyHeldLand) {
  map().GetHex(3, 9)->controller = 0;
  cJednostkaLotnicza& bomber = AddPlane(1, 6, 8, kStrategicBomber);
  const int count = bomber.MarkNuclearTargets(1);
  EXPECT_GT(count, 0);
  EXPECT_EQ(count, CountFlagged(4096));
  EXPECT_EQ(map().GetHex(4, 7)->flags, 4096u);
  EXPECT_EQ(map().GetHex(4, 11)->flags, 4096u);
  EXPECT_EQ(map().GetHex(3, 9)->flags, 0u);
  EXPECT_EQ(map().GetHex(5, 8)->flags, 0u);
  EXPECT_EQ(map().GetHex(0, 0)->flags, 0u);  // beyond the reach
}

TEST_F(AirTargets, BombardmentMarksUnitsCitiesAndWholeSeaZones) {
  test::LogCapture log;
  cJednostkaLotnicza& bomber = AddPlane(1, 7, 5, kTacticalBomber);
  AddLand(2, 4, 5).spotted = 1;
  auto city = std::make_unique<cCity>();
  city->x = 4;
  city->y = 3;
  map().GetHex(4, 3)->city = city.get();
  game().cities.push_back(std::move(city));
  // Zone 1 shows enemy ships; zone 2 does not.
  class cShips : public cSeaNodeAirOps {
   public:
    int NodeType(int) const override { return 1; }
    std::u16string NodeName(int) const override { return u"zone"; }
    int CountSpottedEnemyShips(int id) const override { return id == 1 ? 2 : 0; }
    cUnit* SearchInterceptor(int, int) override { return nullptr; }
    void BombardSeaNode(int, sCombatResult&, cUnit&, sHex&) override {}
    void NuclearStrikeOnPort(int, sCombatResult&) override {}
    void RecalculateNavalVisibilityForRecon(int, bool) override {}
  } ships;
  cSeaNodeAirOps* previous = SetSeaNodeAirOps(&ships);
  const int count = bomber.MarkBombardmentTargets(1);
  SetSeaNodeAirOps(previous);
  EXPECT_EQ(map().GetHex(4, 5)->flags, 1024u);
  EXPECT_EQ(map().GetHex(4, 3)->flags, 1024u);
  EXPECT_EQ(CountFlagged(1024), 2);
  EXPECT_EQ(CountFlagged(0x10000), 18);  // all of zone 1
  EXPECT_EQ(map().GetHex(9, 7)->flags, 0u);
  EXPECT_GE(count, 3);
}

TEST_F(AirTargets, ReconCountsEachSeaZoneOnce) {
  cJednostkaLotnicza& scout = AddPlane(1, 7, 5, kFighter);
  map().GetHex(5, 5)->flags = 0;
  const int count = scout.MarkReconHexes(1);
  int enemyLand = 0;
  for (const sHex& hex : map().Hexes()) enemyLand += (hex.flags & 256) != 0;
  EXPECT_EQ(count, enemyLand + 2);
  EXPECT_EQ(CountFlagged(0x4000), 36);
  scout.airReconDone = 1;
  EXPECT_EQ(scout.MarkReconHexes(0), 0);
}

struct HintCase {
  int type;
  int actionPoints;
  int bombs;
  const char* nuclearKey;
  bool available;
};
class NuclearHint : public AirTargets, public testing::WithParamInterface<HintCase> {};

TEST_P(NuclearHint, FirstFailingCheckDecides) {
  const HintCase c = GetParam();
  cJednostkaLotnicza& bomber = AddPlane(1, 6, 5, c.type);
  bomber.actionPoints = c.actionPoints;
  country(1).nuclearBombs = c.bombs;
  std::u16string text;
  EXPECT_EQ(bomber.GetNuclearIconHint(&text), c.available);
  EXPECT_EQ(text, GetText(c.nuclearKey));
}

INSTANTIATE_TEST_SUITE_P(
    Checks, NuclearHint,
    testing::Values(HintCase{kTacticalBomber, 4, 1, "unitpanel_nuclear_icon_hint_not_strategic_bomber", false},
                    HintCase{kStrategicBomber, 0, 0, "unitpanel_nuclear_icon_hint_no_nuclear_bomb", false},
                    HintCase{kStrategicBomber, 0, 1, "unitpanel_nuclear_icon_hint_not_enough_ap_or_frozen", false},
                    HintCase{kStrategicBomber, 4, 1, "unitpanel_nuclear_icon_hint", true}));

TEST_F(AirUnit, ReconRevealsAroundTheTargetUpToTheTechnologyLevel) {
  gFogOfWar = 1;
  cJednostkaLotnicza& scout = AddPlane(1, 1, 1, kFighter);
  cJednostkaLadowa& near = AddLand(2, 8, 6);  // distance 2 from the target
  cJednostkaLadowa& far = AddLand(2, 8, 7);   // distance 3
  scout.ReconHexArea(8, 4, result_);
  EXPECT_EQ(result_.kind, kBattleRecon);
  EXPECT_EQ(near.spotted, 1);
  EXPECT_EQ(far.spotted, 0);
  EXPECT_EQ(country(1).reconSpottedUnits, std::list<cUnit*>{&near});
  EXPECT_EQ(scout.airReconDone, 1);
  EXPECT_EQ(scout.actionPoints, 3);
}

TEST_F(AirUnit, InterceptedReconRevealsNothing) {
  FillAirTables(3, 1);  // the scout loses more than the interceptor
  cJednostkaLotnicza& scout = AddPlane(1, 5, 5, kFighter);
  AddPlane(2, 7, 5, kFighter);
  cJednostkaLadowa& hidden = AddLand(2, 8, 5);
  ScopedRandomDraws draws({test::Die(1)});
  scout.ReconHexArea(8, 5, result_);
  EXPECT_TRUE(result_.Flag(kFlagInterceptionStopped));
  EXPECT_EQ(hidden.spotted, 0);
  EXPECT_EQ(scout.airReconDone, 1);
  EXPECT_EQ(scout.actionPoints, 3);
  EXPECT_EQ(scout.strength, 7);
}


// A scout over a sea zone spends a point, marks its recon done and has the
// zone's ships seen again; a zone number 0 is no zone at all.
TEST_F(AirUnit, SeaZoneReconRecountsTheZonesShips) {
  class cZones : public cSeaNodeAirOps {
   public:
    int NodeType(int) const override { return 1; }
    std::u16string NodeName(int) const override { return u"zone"; }
    int CountSpottedEnemyShips(int) const override { return 0; }
    cUnit* SearchInterceptor(int, int) override { return nullptr; }
    void BombardSeaNode(int, sCombatResult&, cUnit&, sHex&) override {}
    void NuclearStrikeOnPort(int, sCombatResult&) override {}
    void RecalculateNavalVisibilityForRecon(int id, bool incremental) override {
      recounted.push_back(incremental ? id : -id);
    }
    std::vector<int> recounted;
  } zones;
  cSeaNodeAirOps* previous = SetSeaNodeAirOps(&zones);
  cJednostkaLotnicza& scout = AddPlane(1, 5, 5, kFighter);
  scout.ReconSeaZone(0, result_);
  EXPECT_EQ(scout.actionPoints, 4);
  scout.ReconSeaZone(3, result_);
  SetSeaNodeAirOps(previous);
  EXPECT_EQ(result_.kind, kBattleRecon);
  EXPECT_EQ(scout.actionPoints, 3);
  EXPECT_EQ(scout.airReconDone, 1);
  EXPECT_EQ(zones.recounted, std::vector<int>{3});
}

// The strength icon asks for untouched action points, strength below the
// type's maximum and supply, in that order.
struct StrengthHintCase {
  int actionPoints, startingActionPoints, strength, supply;
  const char* key;
  bool available;
};
class AirStrengthHint : public AirWorld, public testing::WithParamInterface<StrengthHintCase> {};

TEST_P(AirStrengthHint, FirstFailingCheckDecides) {
  const StrengthHintCase c = GetParam();
  cJednostkaLotnicza& plane = AddPlane(1, 5, 5, kFighter, c.strength);
  plane.actionPoints = c.actionPoints;
  plane.startingActionPoints = c.startingActionPoints;
  plane.supply = c.supply;
  plane.turnsWithoutSupply = 0;
  std::u16string text;
  EXPECT_EQ(plane.GetStrengthIconHint(&text), c.available);
  EXPECT_EQ(text, GetText(c.key));
}

INSTANTIATE_TEST_SUITE_P(
    Checks, AirStrengthHint,
    testing::Values(
        StrengthHintCase{3, 4, 7, 10, "unitpanel_strength_icon_hint_other_action_performed_or_no_ap", false},
        StrengthHintCase{0, 0, 7, 10, "unitpanel_strength_icon_hint_other_action_performed_or_no_ap", false},
        StrengthHintCase{4, 4, 10, 10, "unitpanel_strength_icon_hint_max_strength", false},
        StrengthHintCase{4, 4, 7, 0, "unitpanel_strength_icon_hint_no_supply", false},
        StrengthHintCase{4, 4, 7, 10, "unitpanel_strength_icon_hint", true}));

// The strategic move icon asks for a supply source (a column and a row),
// supply and untouched action points, in that order; a source on the map's
// first row or column is a source like any other.
struct AirStrategicCase {
  const char* name;
  int sourceX, sourceY, turnsWithoutSupply, actionPoints;
  const char* key;
  bool available;
};
class AirStrategicHint : public AirWorld, public testing::WithParamInterface<AirStrategicCase> {};

TEST_P(AirStrategicHint, FirstFailingCheckDecides) {
  const AirStrategicCase& c = GetParam();
  cJednostkaLotnicza& plane = AddPlane(1, 5, 5, kFighter, 7);
  plane.supplySourceX = c.sourceX;
  plane.supplySourceY = c.sourceY;
  plane.turnsWithoutSupply = c.turnsWithoutSupply;
  plane.actionPoints = c.actionPoints;
  country(1).strategicMovementPoints = 8;
  std::u16string text;
  EXPECT_EQ(plane.GetStrategicMoveIconHint(&text), c.available);
  EXPECT_EQ(text, GetText(c.key));
}

INSTANTIATE_TEST_SUITE_P(
    Checks, AirStrategicHint,
    testing::Values(
        AirStrategicCase{"NoSourceColumn", -1, 4, 0, 4,
                         "unitpanel_strategic_move_icon_hint_no_supply_source_or_peace-time_supply", false},
        AirStrategicCase{"NoSourceRow", 6, -1, 0, 4,
                         "unitpanel_strategic_move_icon_hint_no_supply_source_or_peace-time_supply", false},
        AirStrategicCase{"SourceOnTheFirstColumn", 0, 2, 0, 4, "unitpanel_strategic_move_icon_hint", true},
        AirStrategicCase{"SourceOnTheFirstRow", 2, 0, 0, 4, "unitpanel_strategic_move_icon_hint", true},
        AirStrategicCase{"AfterATurnUnsupplied", 7, 9, 1, 4, "unitpanel_strategic_move_icon_out_of_supply", false},
        AirStrategicCase{"Moved", 7, 9, 0, 2, "unitpanel_strategic_move_icon_hint_not_full_ap_or_frozen", false}),
    [](const auto& info) { return std::string(info.param.name); });

// Country 0 is no country: it is at war with nobody, whichever side it is
// named on (a hex nobody holds has controller 0), and asking ends nothing.
TEST_F(AirUnit, CountryZeroIsAtWarWithNobody) {
  EXPECT_TRUE(AtWar(1, 2));
  EXPECT_TRUE(AtWar(2, 3));
  EXPECT_FALSE(AtWar(1, 3));
  EXPECT_FALSE(AtWar(0, 2));
  EXPECT_FALSE(AtWar(2, 0));
}

// The computer's candidate bases lie within two hexes of the cities its own
// side holds, its allies' included, and never beside an enemy's city.
TEST_F(AirTargets, ComputerBasesRingTheCitiesOfItsSide) {
  class cNoEnemies : public cEnemyLandUnitQueries {
   public:
    int CountEnemyLandUnitsWithin(int, int, int) const override { return 0; }
    int MinDistanceToEnemyLandUnits(int, int) const override { return 9; }
  } queries;
  cJednostkaLotnicza& plane = AddPlane(1, 6, 5, kFighter);
  const auto city = [&](int x, int y, int controller) {
    auto c = std::make_unique<cCity>();
    c->x = x;
    c->y = y;
    map().GetHex(x, y)->city = c.get();
    map().GetHex(x, y)->controller = static_cast<std::uint8_t>(controller);
    game().cities.push_back(std::move(c));
  };
  city(6, 3, 1);
  city(7, 7, 3);  // an ally's
  city(3, 5, 2);  // the enemy's
  std::vector<sAirBaseCandidate> bases;
  plane.CollectAiTargets(bases, queries);
  const auto has = [&](int x, int y) {
    return std::any_of(bases.begin(), bases.end(), [&](const sAirBaseCandidate& b) { return b.x == x && b.y == y; });
  };
  EXPECT_TRUE(has(6, 2));
  EXPECT_TRUE(has(7, 7));
  EXPECT_TRUE(has(7, 9));
  EXPECT_FALSE(has(3, 5));
  EXPECT_FALSE(has(6, 5));  // the plane's own hex is taken
}

}  // namespace
}  // namespace tr
