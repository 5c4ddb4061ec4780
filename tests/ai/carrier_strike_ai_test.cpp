// The computer's carrier strikes: when they are made, which targets they
// take by kind, and how they are shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "foundation/random.h"
#include "naval_ai_fixture.h"

namespace tr {
namespace {

using test::NavalAi;

// A carrier of country 1 in open sea zone 1, an enemy cruiser there (kind 3)
// and a seen enemy division on the coast of the zone (kind 8).
class CarrierStrikes : public NavalAi {
 protected:
  CarrierStrikes() {
    sea.SetConstant(156, 1, 3);
    zone = sea.AddSea();
    own = &sea.AddFleet(1, zone, {kAircraftCarrier});
    carrier = own->ships.front();
    hex(2, 2).seaZone = static_cast<std::uint16_t>(zone);
    auto& enemy = sea.world().PlaceLandUnit(3, 2, 2);
    enemy.name = u"Coast guard";
    enemy.strength = 50;
    enemy.spotted = 1;
    sea.graph().GetNode(zone - 1).enemyMarkerX = 1;
    sea.graph().GetNode(zone - 1).enemyMarkerY = 1;
  }
  void EnemyShipsAtZone() { sea.AddFleet(3, zone, {kCruiser}); }
  bool Struck(std::u16string_view where) {
    return log.Contains(Format(u"[AI] %ls: carrier %s strikes targets of kind ", country(1).name, carrier->name) +
                        std::u16string(where));
  }

  int zone = 0;
  cFleet* own = nullptr;
  cJednostkaMorska* carrier = nullptr;
};

// The carriers strike before the fleets move and again after: the carrier
// at the coast guard's zone strikes the strongest target there before it
// sails off, and a carrier that sails into the zone strikes the other one.
TEST_F(CarrierStrikes, CarriersStrikeBeforeAndAfterTheFleetsMove) {
  hex(3, 2).seaZone = static_cast<std::uint16_t>(zone);
  auto& lookout = sea.world().PlaceLandUnit(3, 3, 2);
  lookout.name = u"Lookout";
  lookout.strength = 10;
  lookout.spotted = 1;
  const int start = sea.AddSea();
  sea.Link(start, zone);
  own->aiOrder = kMissionInvasionGather;
  own->aiDestinationNode = start;
  cFleet& sailing = sea.AddFleet(1, start, {kAircraftCarrier});
  sailing.aiOrder = kMissionInvasionGather;
  sailing.aiDestinationNode = zone;
  cJednostkaMorska& second = *sailing.ships.front();

  Ai(1).NavalMoves();

  EXPECT_EQ(carrier->fleet ? carrier->fleet->seaNodeId : -1, start);
  EXPECT_EQ(second.fleet ? second.fleet->seaNodeId : -1, zone);
  EXPECT_TRUE(Struck(u"8 at (2, 2)"));
  EXPECT_TRUE(log.Contains(Format(u"[AI] %ls: carrier %s strikes targets of kind ", country(1).name, second.name) +
                           u"8 at (3, 2)"));
}

struct PriorityCase {
  const char* name;
  std::array<std::int32_t, 9> priorities;
  const char16_t* target;
};
class CarrierPriorities : public CarrierStrikes, public testing::WithParamInterface<PriorityCase> {};

TEST_P(CarrierPriorities, TheHighestRankedKindWithATargetIsStruck) {
  EnemyShipsAtZone();
  country(1).aiSettings.CarrierTargetsPriorities = GetParam().priorities;
  Ai(1).CarrierBombardment();
  EXPECT_TRUE(Struck(GetParam().target));
  EXPECT_EQ(carrier->airstrikeDone, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Ranks, CarrierPriorities,
    testing::Values(PriorityCase{"EqualTriesKindsInOrder", {5, 5, 5, 5, 5, 5, 5, 5, 5}, u"3 in sea zone 1"},
                    PriorityCase{"CoastFirst", {1, 1, 1, 1, 1, 1, 1, 1, 9}, u"8 at (2, 2)"},
                    PriorityCase{"DefaultOrder", {90, 80, 70, 60, 50, 40, 30, 20, 10}, u"3 in sea zone 1"}),
    [](const auto& info) { return std::string(info.param.name); });

struct IdleCarrierCase {
  const char* name;
  int hitPoints;
  int struckAlready;
  bool enemyLeft;
};
class IdleCarrier : public CarrierStrikes, public testing::WithParamInterface<IdleCarrierCase> {};

TEST_P(IdleCarrier, LaunchesNothing) {
  const IdleCarrierCase& c = GetParam();
  carrier->hitPoints = c.hitPoints;
  carrier->airstrikeDone = static_cast<std::uint8_t>(c.struckAlready);
  if (!c.enemyLeft) {
    cUnit* enemy = hex(2, 2).unit;
    hex(2, 2).unit = nullptr;
    enemy->x = enemy->y = -1;
  }
  Ai(1).CarrierBombardment();
  EXPECT_FALSE(log.ContainsText(u"strikes targets"));
  EXPECT_EQ(carrier->airstrikeDone, c.struckAlready);
}

INSTANTIATE_TEST_SUITE_P(Carriers, IdleCarrier,
                         testing::Values(IdleCarrierCase{"BelowTheLeastHitPoints", 2, 0, true},
                                         IdleCarrierCase{"HasStruckThisTurn", 6, 1, true},
                                         IdleCarrierCase{"NoTargetKeepsItsFlag", 6, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The least hit points (3) still let a carrier strike; one fewer does not.
TEST_F(CarrierStrikes, ACarrierAtTheLeastHitPointsStrikes) {
  EnemyShipsAtZone();
  carrier->hitPoints = 3;
  Ai(1).CarrierBombardment();
  EXPECT_TRUE(log.ContainsText(u"strikes targets"));
  EXPECT_EQ(carrier->airstrikeDone, 1);
}

TEST_F(CarrierStrikes, TargetListsFollowTheKinds) {
  const int port = sea.AddPort(3);
  const int quiet = sea.AddSea();
  // An enemy port with a seen unit on its hex and no ship in it.
  const int bare = sea.AddPort(3);
  sea.Link(zone, port);
  sea.Link(zone, quiet);
  sea.Link(zone, bare);
  sea.AddFleet(3, port, {kCruiser});
  sea.world().PlaceLandUnit(3, bare, 0).spotted = 1;
  // And one with neither ships nor a unit.
  sea.Link(zone, sea.AddPort(3));
  cCountryAI& ai = Ai(1);
  std::list<sPoint> hexes;
  std::list<int> nodes;
  ai.CollectCarrierTargets(*own, 1, hexes, nodes);  // the enemy port, empty hex, with ships
  EXPECT_EQ(nodes, std::list<int>{port});
  ai.CollectCarrierTargets(*own, 4, hexes, nodes);
  EXPECT_EQ(nodes, std::list<int>{port});
  ai.CollectCarrierTargets(*own, 3, hexes, nodes);  // nobody in the carrier's own zone
  EXPECT_TRUE(nodes.empty());
  auto& defender = sea.world().PlaceLandUnit(3, port, 0);
  defender.spotted = 1;
  ai.CollectCarrierTargets(*own, 0, hexes, nodes);
  EXPECT_EQ(hexes, (std::list<sPoint>{{port, 0}}));
  ai.CollectCarrierTargets(*own, 2, hexes, nodes);
  EXPECT_EQ(nodes, std::list<int>{bare});
  ai.CollectCarrierTargets(*own, 1, hexes, nodes);
  EXPECT_TRUE(nodes.empty());
  ai.CollectCarrierTargets(*own, 8, hexes, nodes);
  EXPECT_EQ(hexes, (std::list<sPoint>{{2, 2}}));
  ai.CollectCarrierTargets(*own, 7, hexes, nodes);
  EXPECT_TRUE(hexes.empty());
  EXPECT_TRUE(PortSecrecyOn());
}

// A port struck from a carrier is struck at its own hex, also where its x is
// beyond the map's height: the port's country defends it with its artillery,
// which here leaves the aircraft no chance against the port; an ally's
// hex of the same column would not.
TEST_F(CarrierStrikes, APortBeyondTheMapsHeightIsStruckAtItsOwnHex) {
  while (sea.graph().NodeCount() < 8) sea.AddSea();
  const int port = sea.AddPort(3, 4);
  ASSERT_GE(port, game().map->GetHeight());
  sWezelGrafuMorz& node = sea.graph().GetNode(port - 1);
  node.y = 3;
  hex(port, 3).terrain = 1;
  hex(port, 3).controller = 3;
  hex(port, 0).controller = 2;
  sea.Link(zone, port);
  sea.AddFleet(3, port, {kCruiser});
  country(1).aiSettings.CarrierTargetsPriorities = {2, 9, 3, 4, 5, 6, 7, 8, 1};
  sea.SetConstant(176, 1, 60);
  sea.SetConstant(176, 2, 70);
  country(1).techLevels[kAircraftTech] = 3;
  country(3).techLevels[kArtilleryTech] = 4;
  // The port's draw is the lowest: any chance above none takes a size.
  const ScopedRandomDraws draws({0});

  Ai(1).CarrierBombardment();

  EXPECT_TRUE(Struck(Format(u"1 in sea zone %i", port)));
  EXPECT_EQ(node.portSize, 4);
}

// The four land kinds on the carrier's coast: air or land units, in an enemy
// city or on open land (where only a seen enemy counts).
struct CoastKindCase {
  const char* name;
  int kind;
  sPoint expected;
};
class CoastKinds : public CarrierStrikes, public testing::WithParamInterface<CoastKindCase> {};

TEST_P(CoastKinds, EachKindTakesOnlyItsHexes) {
  std::vector<std::unique_ptr<cCity>> cities;
  auto enemyCity = [&](int x, int y) {
    cities.push_back(std::make_unique<cCity>());
    cities.back()->x = x;
    cities.back()->y = y;
    hex(x, y).city = cities.back().get();
    hex(x, y).controller = 3;
  };
  for (const sPoint at : {sPoint{3, 2}, sPoint{4, 2}, sPoint{2, 3}}) {
    hex(at.x, at.y).seaZone = static_cast<std::uint16_t>(zone);
  }
  enemyCity(3, 2);
  sea.world().PlaceLandUnit(3, 3, 2).spotted = 1;
  enemyCity(4, 2);
  sea.world().PlaceAirUnit(3, 4, 2).spotted = 1;
  sea.world().PlaceAirUnit(3, 2, 3).spotted = 1;
  std::list<sPoint> hexes;
  std::list<int> nodes;
  Ai(1).CollectCarrierTargets(*own, GetParam().kind, hexes, nodes);
  EXPECT_EQ(hexes, std::list<sPoint>{GetParam().expected});
  for (const auto& city : cities) hex(city->x, city->y).city = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Kinds, CoastKinds,
                         testing::Values(CoastKindCase{"AirInAnEnemyCity", 5, {4, 2}},
                                         CoastKindCase{"AirOnOpenLand", 6, {2, 3}},
                                         CoastKindCase{"LandInAnEnemyCity", 7, {3, 2}},
                                         CoastKindCase{"LandOnOpenLand", 8, {2, 2}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ShowCase {
  const char* name;
  bool seen;
  bool follow;
  float resultDelay;
  int pauses;  // of "Delay/AICombatBefore" and "Delay/AICombatAfter"
  int popups;
};
class StrikeShown : public CarrierStrikes, public testing::WithParamInterface<ShowCase> {};

TEST_P(StrikeShown, PausesAndPopupFollowTheSettings) {
  const ShowCase& c = GetParam();
  game().playerControl.follow = c.follow ? 1 : 0;
  gDelays[kDelayAICombatResult] = c.resultDelay;
  sCombatResult result;
  hex(2, 2).unit->spotted = c.seen ? 1 : 0;
  Ai(1).ShowAirStrikeResult(result, 2, 2, c.seen);
  int pauses = 0;
  for (const std::u16string& line : log.lines()) pauses += line.starts_with(u"S: ai_carriers") ? 1 : 0;
  EXPECT_EQ(pauses, c.pauses);
  EXPECT_EQ(screen.CountEvents(u"combat-result"), c.popups);
  EXPECT_EQ(hex(2, 2).flags & 2u, 0u);
}

INSTANTIATE_TEST_SUITE_P(Settings, StrikeShown,
                         testing::Values(ShowCase{"HiddenOnlyPauses", false, true, 100.0f, 1, 0},
                                         ShowCase{"NoResultDelayNoPopup", true, true, 0.0f, 3, 0},
                                         ShowCase{"SeenAndFollowed", true, true, 100.0f, 3, 1},
                                         ShowCase{"SeenNotFollowed", true, false, 100.0f, 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });
}  // namespace
}  // namespace tr
