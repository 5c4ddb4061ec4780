// Sea invasions of the computer: the choice of the target, the units sent to
// the embarkation port, the invasion points, the loading, and the landing
// with its bombardment and artificial harbour.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "ai/ai_order.h"
#include "ai/ai_pacing.h"
#include "ai/country_ai.h"
#include "ai/fleet_mission.h"
#include "foundation/format.h"
#include "foundation/settings.h"
#include "scenario/scenario_constants_layout.h"
#include "support/log_capture.h"
#include "support/naval_world.h"
#include "units/jednostka_ladowa.h"
#include "world/cities_diagram.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

namespace L = consts_layout;

// Home port (node 1, hex (1, 0)) of country 1 - open sea (node 2) - the enemy
// port Target (node 3, hex (3, 0)) of country 3, whose hex lies on zone 2.
// A land unit's effective strength is a tenth of its strength points.
class SeaInvasion : public testing::Test {
 protected:
  SeaInvasion() : scoped_(screen) {
    savedDelays_ = gDelays;
    gDelays.fill(0.0f);
    savedPauses_ = SetAiPausesSleep(false);
    for (int type = 0; type < kLandTypeCount; ++type) {
      sea.SetConstant(9, type + 2, 10.0);
      Set(L::kAmphibiousTransportCost + type, 1);
      Set(L::kSeaTransportCost + type, 1);
    }
    for (int t = 0; t < 6; ++t) Set(L::kShipHitPoints + t, 6);
    home = sea.AddPort(1);
    zone = sea.AddSea();
    enemyPort = sea.AddPort(3);
    sea.Link(home, zone);
    sea.Link(zone, enemyPort);
    homeCity = &AddCity(u"Home", home, 1);
    target = &AddCity(u"Target", enemyPort, 3);
    hex(enemyPort, 0).seaZone = static_cast<std::uint16_t>(zone);
    hex(enemyPort, 0).port = 1;
    game().citiesDiagram.Build(game().cities);
    game().playerControl.worldTopography.BuildNearestCityMap(*game().map, game().cities);
    country(1).aiSettings.MakesSeaInvasions = 1;
  }
  ~SeaInvasion() override {
    gDelays = savedDelays_;
    SetAiPausesSleep(savedPauses_);
  }

  cGame& game() { return sea.game(); }
  cCountry& country(int id) { return sea.world().country(id); }
  sHex& hex(int x, int y) { return sea.world().hex(x, y); }
  void Set(int slot, double value) { game().constants.SetSlot(slot, value); }
  cCity& AddCity(std::u16string name, int x, int controller) {
    auto city = std::make_unique<cCity>();
    city->name = std::move(name);
    city->x = x;
    city->y = 0;
    city->type = kCityPort;
    hex(x, 0).city = city.get();
    hex(x, 0).controller = static_cast<std::uint8_t>(controller);
    game().cities.push_back(std::move(city));
    return *game().cities.back();
  }
  cJednostkaLadowa& Unit(int owner, int x, int y, int strength, int actionPoints = 0) {
    cJednostkaLadowa& unit = sea.world().PlaceLandUnit(owner, x, y);
    unit.name = Format(u"Unit%i", strength);
    unit.strength = strength;
    unit.combatValue = 100;
    unit.actionPoints = actionPoints;
    hex(x, y).controller = static_cast<std::uint8_t>(owner);
    return unit;
  }
  cCountryAI& Ai() {
    game().playerControl.currentCountry = &country(1);
    cCountryAI& ai = CountryAiOf(game(), country(1));
    ai.country = &country(1);
    ai.BuildUnitLists();
    return ai;
  }
  int Fleets(int mission) {
    return static_cast<int>(std::count_if(game().fleets.begin(), game().fleets.end(),
                                          [mission](const auto& f) { return f->aiOrder == mission; }));
  }

  test::NavalWorld sea;
  cHeadlessPresentation screen;
  test::LogCapture log;
  int home = 0;
  int zone = 0;
  int enemyPort = 0;
  cCity* homeCity = nullptr;
  cCity* target = nullptr;

 private:
  ScopedPresentation scoped_;
  std::array<float, kDelayCount> savedDelays_{};
  bool savedPauses_ = true;
};

// ---- The target ----

// One front allowed: a country with no front or exactly that one plans, one
// more front or any scenario target keeps it from planning.
struct PlanningCase {
  const char* name;
  bool currentTargets;
  int fronts;
  bool plans;
};
class InvasionPlanning : public SeaInvasion, public testing::WithParamInterface<PlanningCase> {};

TEST_P(InvasionPlanning, NeedsNoOtherTargetsAndAtMostTheAllowedFronts) {
  if (GetParam().currentTargets) country(1).aiSettings.CurrentTargets.push_back({5, 5, 10});
  country(1).aiSettings.MaxNumberOfFrontsForSeaInvasion = 1;
  cCountryAI& ai = Ai();
  ai.fronts.resize(static_cast<std::size_t>(GetParam().fronts));
  Unit(1, home, 0, 100);
  ai.BuildUnitLists();
  ai.ChooseSeaInvasionTarget();
  EXPECT_EQ(country(1).aiSettings.CurrentSeaInvasionTarget, GetParam().plans ? enemyPort : -1);
  EXPECT_EQ(log.ContainsText(u"plannning sea invasion"), GetParam().plans);
}

INSTANTIATE_TEST_SUITE_P(Plans, InvasionPlanning,
                         testing::Values(PlanningCase{"NoFront", false, 0, true},
                                         PlanningCase{"AsManyFrontsAsAllowed", false, 1, true},
                                         PlanningCase{"OneFrontTooMany", false, 2, false},
                                         PlanningCase{"CurrentTargets", true, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SeaInvasion, AnObligatoryTargetIsTakenOffItsList) {
  country(1).aiSettings.ObligatorySeaInvasionTargets = {{enemyPort, 0}, {home, 0}};
  Ai().ChooseSeaInvasionTarget();
  EXPECT_EQ(country(1).aiSettings.CurrentSeaInvasionTarget, enemyPort);
  EXPECT_TRUE(country(1).aiSettings.ObligatorySeaInvasionTargets.empty());  // home is no enemy's
  EXPECT_TRUE(log.Contains(Format(u"Target for invasion: %i", enemyPort)));
}

TEST_F(SeaInvasion, AnEmptyPortScoresItsFreeLandNeighbours) {
  // An enemy port on (8, 4) with sea on three sides, no allied link and an
  // empty diagram node.
  auto city = std::make_unique<cCity>();
  city->name = u"Cove";
  city->x = 8;
  city->y = 4;
  city->type = kCityPort;
  cCity& cove = *city;
  hex(8, 4).city = &cove;
  hex(8, 4).controller = 3;
  game().cities.push_back(std::move(city));
  for (int d = 0; d < 3; ++d) game().map->GetNeighbour(8, 4, d)->terrain = kTerrainWater;
  cCountryAI& ai = Ai();
  EXPECT_FLOAT_EQ(ai.ScoreInvasionTarget(cove), 6.0f);
  const sHex& land = *game().map->GetNeighbour(8, 4, 4);
  Unit(3, land.x, land.y, 40);  // a neighbour held: no bonus and half its strength off
  EXPECT_FLOAT_EQ(ai.ScoreInvasionTarget(cove), 4.0f - 2.0f);
  Unit(3, 8, 4, 30);  // a defender counts in full
  EXPECT_FLOAT_EQ(ai.ScoreInvasionTarget(cove), 4.0f - 2.0f - 3.0f);
  // Cove has no sea node and so no embarkation port: the target is the port that has.
  ai.ChooseSeaInvasionTarget();
  EXPECT_EQ(country(1).aiSettings.CurrentSeaInvasionTarget, enemyPort);
  EXPECT_TRUE(log.Contains(u"Checking city Cove"));
  EXPECT_TRUE(log.Contains(u"Condition 2 passed"));
}

// A sea link (an edge of kind 1) from the target to a city the country's
// side holds is worth 10; a land link, or a sea link to a city of the enemy,
// of a neutral or of nobody, is worth nothing.
struct SeaLinkCase {
  const char* name;
  int kind;
  int controller;
  float bonus;
};
class SeaLinkBonus : public SeaInvasion, public testing::WithParamInterface<SeaLinkCase> {};

TEST_P(SeaLinkBonus, OnlyASeaLinkToTheSideCounts) {
  const SeaLinkCase& c = GetParam();
  auto city = std::make_unique<cCity>();
  city->name = u"Linked";
  city->x = 6;
  city->y = 3;
  cCity& linked = *city;
  hex(6, 3).city = &linked;
  hex(6, 3).controller = static_cast<std::uint8_t>(c.controller);
  game().cities.push_back(std::move(city));
  game().citiesDiagram.Build(game().cities);
  cCountryAI& ai = Ai();
  const float without = ai.ScoreInvasionTarget(*target);
  game().citiesDiagram.GetNode(target->diagramNode)->edges.push_back({linked.diagramNode, c.kind});
  EXPECT_FLOAT_EQ(ai.ScoreInvasionTarget(*target) - without, c.bonus);
}

INSTANTIATE_TEST_SUITE_P(Links, SeaLinkBonus,
                         testing::Values(SeaLinkCase{"SeaLinkToOwnCity", 1, 1, 10.0f},
                                         SeaLinkCase{"SeaLinkToAlly", 1, 2, 10.0f},
                                         SeaLinkCase{"LandLinkToAlly", 0, 2, 0.0f},
                                         SeaLinkCase{"SeaLinkToEnemy", 1, 3, 0.0f},
                                         SeaLinkCase{"SeaLinkToNeutral", 1, 4, 0.0f},
                                         SeaLinkCase{"SeaLinkToNobody", 1, 0, 0.0f}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The force and its loading ----

// A defender of effective strength 3 draws 36: 20 + 10 + 10; the 5 stays.
TEST_F(SeaInvasion, UnitsAreSentUntilTwelveTimesTheDefenderAndWaitForEachOther) {
  Unit(3, enemyPort, 0, 30);
  cJednostkaLadowa& a = Unit(1, home, 0, 200, 4);  // on its port: ready
  cJednostkaLadowa& b = Unit(1, 0, 0, 100);        // no action points: still walking
  cJednostkaLadowa& c = Unit(1, 0, 1, 100);
  cJednostkaLadowa& d = Unit(1, 1, 1, 50);
  Ai().ChooseSeaInvasionTarget();
  EXPECT_EQ(a.aiOrder, kAiOrderSeaInvasionB);
  EXPECT_EQ(b.aiOrder, kAiOrderSeaInvasionA);
  EXPECT_EQ(c.aiOrder, kAiOrderSeaInvasionA);
  EXPECT_EQ(d.aiOrder, kAiOrderNone);
  EXPECT_EQ(b.aiTargetX, home);
  EXPECT_FALSE(log.Contains(u"All units ready for invasion!"));
  EXPECT_TRUE(game().aboardUnitsB.empty());
}

// A walking unit is ready once it stands on its port or, with points left,
// gets no nearer to it (one point buys no step here); a unit without points
// is still walking, and so is one that walked.
struct InvasionWalkCase {
  const char* name;
  int actionPoints;
  int order;
};
class Walking : public SeaInvasion, public testing::WithParamInterface<InvasionWalkCase> {};

TEST_P(Walking, AUnitThatGetsNoNearerWithPointsLeftIsReady) {
  const InvasionWalkCase& w = GetParam();
  Unit(3, enemyPort, 0, 30);
  cJednostkaLadowa& walker = Unit(1, 0, 1, 400, w.actionPoints);
  Ai().ChooseSeaInvasionTarget();
  EXPECT_EQ(walker.aiOrder, w.order);
  EXPECT_EQ(walker.x == 0 && walker.y == 1, w.actionPoints < 2);
}

INSTANTIATE_TEST_SUITE_P(Points, Walking,
                         testing::Values(InvasionWalkCase{"NoPoints", 0, kAiOrderSeaInvasionA},
                                         InvasionWalkCase{"TooFewForAStep", 1, kAiOrderSeaInvasionB},
                                         InvasionWalkCase{"EnoughToWalk", 6, kAiOrderSeaInvasionA}),
                         [](const auto& info) { return std::string(info.param.name); });

// Three ready units at 1 point each: points just below the cost buy first,
// points at the cost or above go on to the loading.
struct InvasionPointsCase {
  const char* name;
  int points;
  bool enough;
};
class InvasionPoints : public SeaInvasion, public testing::WithParamInterface<InvasionPointsCase> {};

TEST_P(InvasionPoints, TooFewPutAPurchaseFirstAndLoadNobody) {
  cJednostkaLadowa& a = Unit(1, home, 0, 200, 4);
  for (int x : {0, 1}) {
    cJednostkaLadowa& ready = Unit(1, 0, x, 100);
    ready.SetAiOrder(kAiOrderSeaInvasionB, home, 0, 0);
  }
  country(1).invasionPoints = GetParam().points;
  country(1).aiSettings.PurchaseQueue = {5, 0, 3};
  Ai().ChooseSeaInvasionTarget();
  EXPECT_EQ(a.aiOrder, kAiOrderSeaInvasionB);
  EXPECT_TRUE(log.Contains(u"All units ready for invasion!"));
  EXPECT_EQ(log.Contains(u"Need to buy more AIP for invasion! Exiting sea invasion procedure"), !GetParam().enough);
  EXPECT_EQ(log.Contains(u"We have enough AIP. Starting loading units."), GetParam().enough);
  EXPECT_EQ(country(1).aiSettings.PurchaseQueue,
            GetParam().enough ? (std::vector<std::int32_t>{5, 0, 3}) : (std::vector<std::int32_t>{0, 5, 3}));
  if (!GetParam().enough) {
    EXPECT_TRUE(game().aboardUnitsB.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Points, InvasionPoints,
                         testing::Values(InvasionPointsCase{"BelowTheCost", 2, false},
                                         InvasionPointsCase{"AtTheCost", 3, true},
                                         InvasionPointsCase{"AboveTheCost", 4, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct LoadingCase {
  const char* name;
  bool portFlag;
  int fleets;
};
class Loading : public SeaInvasion, public testing::WithParamInterface<LoadingCase> {};

TEST_P(Loading, ReadyUnitsBoardInvasionFleetsBoundForTheTarget) {
  hex(enemyPort, 0).port = GetParam().portFlag ? 1 : 0;
  country(1).aiSettings.ObligatorySeaInvasionTargets = {{enemyPort, 0}};
  Unit(1, home, 0, 200, 4);
  Unit(1, 0, 0, 100).SetAiOrder(kAiOrderSeaInvasionB, home, 0, 0);
  country(1).invasionPoints = 5;
  cCountryAI& ai = Ai();
  ai.ChooseSeaInvasionTarget();
  EXPECT_TRUE(log.Contains(u"We have enough AIP. Starting loading units."));
  EXPECT_EQ(Fleets(kMissionInvasionGather), GetParam().fleets);
  EXPECT_EQ(log.Contains(u"Error! Hex(3,0) was targeted for amphib invasion but tasksIt has no seazone attribute"),
            !GetParam().portFlag);
  for (const auto& fleet : game().fleets) {
    EXPECT_EQ(fleet->seaNodeId, home);
    EXPECT_EQ(fleet->aiDestinationNode, zone);
    EXPECT_EQ(fleet->aiInvasionX, enemyPort);
    EXPECT_EQ(fleet->aiInvasionY, 0);
  }
  EXPECT_EQ(game().aboardUnitsB.size(), static_cast<std::size_t>(GetParam().fleets));
  EXPECT_EQ(ai.ownLand.size(), 2u - static_cast<std::size_t>(GetParam().fleets));
}

// A unit held up at a stop of its route boards where it now heads, and that
// stop is no port: it stays ashore rather than board at the route's end.
TEST_F(SeaInvasion, AReadyUnitBoardsOnlyWhereItNowHeads) {
  country(1).aiSettings.ObligatorySeaInvasionTargets = {{enemyPort, 0}};
  Unit(1, home, 0, 200, 4);
  auto inland = std::make_unique<cCity>();
  inland->name = u"Inland";
  inland->x = 0;
  inland->y = 2;
  inland->type = kCityNormal;
  hex(0, 2).city = inland.get();
  game().cities.push_back(std::move(inland));
  cJednostkaLadowa& held = Unit(1, 0, 1, 100);
  held.aiOrder = kAiOrderSeaInvasionB;
  held.aiTargetX = 0;
  held.aiTargetY = 2;
  held.aiUltimateTargetX = home;
  held.aiUltimateTargetY = 0;
  country(1).invasionPoints = 5;
  Ai().ChooseSeaInvasionTarget();
  EXPECT_TRUE(log.Contains(u"ERROR: cannot load Unit100, Inland is not a port (!)"));
  EXPECT_EQ(Fleets(kMissionInvasionGather), 1);
  EXPECT_EQ(held.transporter, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Targets, Loading,
                         testing::Values(LoadingCase{"PortHex", true, 2}, LoadingCase{"NoPortFlag", false, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The landing ----

// The embarkation ports of an invasion are the invader's own ports and its
// allies' (country 1 included), never an enemy's.
struct EmbarkationCase {
  const char* name;
  int invader;
};
class EmbarkationPorts : public SeaInvasion, public testing::WithParamInterface<EmbarkationCase> {};

TEST_P(EmbarkationPorts, AreOwnAndAlliedPortsWithASeaPath) {
  const int allyNode = sea.AddPort(2);
  sea.Link(allyNode, zone);
  cCity& ally = AddCity(u"Ally", allyNode, 2);
  const int enemyNode = sea.AddPort(3);
  sea.Link(enemyNode, zone);
  AddCity(u"Foe", enemyNode, 3);
  std::list<cCity*> ports;
  Ai().CollectEmbarkationPorts(country(GetParam().invader), *target, ports);
  EXPECT_EQ(ports, (std::list<cCity*>{homeCity, &ally}));
}

INSTANTIATE_TEST_SUITE_P(Invaders, EmbarkationPorts,
                         testing::Values(EmbarkationCase{"CountryOne", 1}, EmbarkationCase{"ItsAlly", 2}),
                         [](const auto& info) { return std::string(info.param.name); });

class Landing : public SeaInvasion {
 protected:
  Landing() {
    for (int die = 1; die <= 6; ++die) Set(L::kReplacementTable + die - 1, 0);
  }
  cFleet& InvasionFleet(int x, int y, std::initializer_list<int> types) {
    cFleet& fleet = sea.AddFleet(1, zone, types);
    fleet.aiOrder = kMissionInvasionGather;
    fleet.aiDestinationNode = zone;
    fleet.aiInvasionX = x;
    fleet.aiInvasionY = y;
    return fleet;
  }
  cJednostkaLadowa& Aboard(cJednostkaMorska& ship, int strength) {
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->owner = 1;
    unit->x = unit->y = -1;
    unit->strength = strength;
    unit->name = Format(u"Marines%i", unit->id);
    unit->transporter = &ship;
    ship.carriedUnit = unit.get();
    game().aboardUnitsB.push_back(std::move(unit));
    return *game().aboardUnitsB.back();
  }
  int Lines(std::u16string_view text) {
    const auto all = log.lines();
    return static_cast<int>(std::count_if(all.begin(), all.end(), [&](const auto& l) { return l == text; }));
  }
};

TEST_F(Landing, AFleetAtItsZoneLandsOnTheHexTheAreaSearchGives) {
  cFleet& fleet = InvasionFleet(enemyPort, 0, {kAmphibiousShip});
  cJednostkaLadowa& marines = Aboard(*fleet.ships.front(), 100);
  Ai().AmphibiousInvasion();
  EXPECT_EQ(marines.x, enemyPort);
  EXPECT_EQ(marines.y, 0);
  EXPECT_EQ(hex(enemyPort, 0).unit, &marines);
  EXPECT_TRUE(game().fleets.empty());
  EXPECT_TRUE(log.Contains(u"[AI] Country1: Amphibious invasion - unloading Marines" + Format(u"%i", marines.id)));
}

// A gathering fleet lands where it is; a landing fleet only once it is at
// its destination.
struct LandingOrderCase {
  const char* name;
  int order;
  bool atDestination;
  bool lands;
};
class LandingOrder : public Landing, public testing::WithParamInterface<LandingOrderCase> {};

TEST_P(LandingOrder, LandsOnlyAtTheDestination) {
  const LandingOrderCase& c = GetParam();
  cFleet& fleet = InvasionFleet(enemyPort, 0, {kAmphibiousShip});
  fleet.aiOrder = c.order;
  fleet.aiDestinationNode = c.atDestination ? zone : enemyPort;
  cJednostkaLadowa& marines = Aboard(*fleet.ships.front(), 100);
  Ai().AmphibiousInvasion();
  EXPECT_EQ(hex(enemyPort, 0).unit == &marines, c.lands);
  EXPECT_EQ(game().aboardUnitsB.size(), c.lands ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Orders, LandingOrder,
                         testing::Values(LandingOrderCase{"GatheringLands", kMissionInvasionGather, false, true},
                                         LandingOrderCase{"LandingAtItsDestination", kMissionInvasionLand, true, true},
                                         LandingOrderCase{"LandingOnItsWay", kMissionInvasionLand, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Only own gun ships at the landing's node bombard the defender; a cruiser
// elsewhere keeps its guns.
TEST_F(Landing, OnlyGunsAtTheLandingNodeBombard) {
  cFleet& far = sea.AddFleet(1, home, {kCruiser});
  cFleet& near = sea.AddFleet(1, zone, {kCruiser});
  cFleet& fleet = InvasionFleet(enemyPort, 0, {kAmphibiousShip});
  Aboard(*fleet.ships.front(), 100);
  cJednostkaLadowa& defender = Unit(3, enemyPort, 0, 10);
  defender.spotted = 1;
  Ai().AmphibiousInvasion();
  EXPECT_EQ(far.ships.front()->shoreBombardmentDone, 0);
  EXPECT_EQ(near.ships.front()->shoreBombardmentDone, 1);
}

// A defender bombarded already keeps the guns fresh and loses its strike marker.
TEST_F(Landing, ADefenderBombardedAlreadyOnlyLosesItsMarker) {
  cFleet& near = sea.AddFleet(1, zone, {kCruiser});
  Aboard(*InvasionFleet(enemyPort, 0, {kAmphibiousShip}).ships.front(), 100);
  Unit(3, enemyPort, 0, 10).shoreBombardmentEffect = 0.25f;
  hex(enemyPort, 0).AddFlags(2u | 0x100u, 7);
  Ai().AmphibiousInvasion();
  EXPECT_EQ(near.ships.front()->shoreBombardmentDone, 0);
  EXPECT_EQ(hex(enemyPort, 0).flags & 0x103u, 0x100u);
}

// A harbour costs 30: points just below buy none, points at the price buy
// it, and twice the price still buys one harbour per node.
struct HarbourCase {
  const char* name;
  double points;
  bool built;
};
class HarbourPrice : public Landing, public testing::WithParamInterface<HarbourCase> {};

TEST_P(HarbourPrice, OneHarbourPerNodePaidOnceWhenAffordable) {
  const HarbourCase& c = GetParam();
  for (const sPoint at : {sPoint{0, 1}, sPoint{1, 1}}) {
    hex(at.x, at.y).seaZone = static_cast<std::uint16_t>(zone);
    hex(at.x, at.y).port = 1;
    hex(at.x, at.y).controller = 1;
  }
  InvasionFleet(0, 1, {kCruiser});
  InvasionFleet(1, 1, {kCruiser});
  Set(L::kMulberryValue, 30);
  Set(L::kMulberryStrength, 7.9);
  Set(L::kMulberryDuration, 3.6);
  sea.SetConstant(48, 1, 10);
  country(1).productionPoints = c.points;
  Ai().AmphibiousInvasion();
  EXPECT_EQ(hex(1, 1).unit, nullptr);
  if (!c.built) {
    EXPECT_EQ(hex(0, 1).unit, nullptr);
    EXPECT_DOUBLE_EQ(country(1).productionPoints, c.points);
    EXPECT_EQ(Lines(u"Mulberry created at (0, 1) for country Country1"), 0);
    return;
  }
  ASSERT_TRUE(hex(0, 1).unit);
  auto* harbour = dynamic_cast<cMulberry*>(hex(0, 1).unit);
  ASSERT_TRUE(harbour);
  EXPECT_EQ(harbour->type, kMulberryType);
  EXPECT_EQ(harbour->name, u"Artificial harbour");
  // The harbour belongs to the invader, stands on its hex and cannot move.
  EXPECT_EQ(harbour->owner, 1);
  EXPECT_EQ(harbour->x, 0);
  EXPECT_EQ(harbour->y, 1);
  EXPECT_EQ(harbour->actionPoints, 0);
  EXPECT_EQ(harbour->remainingTime, 3);
  EXPECT_EQ(harbour->supply, 10);
  EXPECT_DOUBLE_EQ(country(1).productionPoints, c.points - 30.0);
  EXPECT_EQ(Lines(u"Mulberry created at (0, 1) for country Country1"), 1);
}

INSTANTIATE_TEST_SUITE_P(Points, HarbourPrice,
                         testing::Values(HarbourCase{"BelowThePrice", 29.0, false}, HarbourCase{"AtThePrice", 30.0, true},
                                         HarbourCase{"AboveThePrice", 31.0, true},
                                         HarbourCase{"TwiceThePrice", 60.0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Landing, AFailedLandingStartsNoNewPass) {
  for (int die = 1; die <= 6; ++die) Set(L::kReplacementTable + die - 1, 1000);
  hex(enemyPort, 1).seaZone = static_cast<std::uint16_t>(zone);
  hex(enemyPort, 1).port = 1;
  hex(enemyPort, 1).controller = 3;
  cFleet& first = InvasionFleet(enemyPort, 0, {kAmphibiousShip, kAmphibiousShip});
  Aboard(*first.ships.front(), 5);
  cJednostkaLadowa& second = Aboard(*first.ships.back(), 5);
  Set(L::kMulberryValue, 30);
  country(1).productionPoints = 60.0;
  Ai().AmphibiousInvasion();
  EXPECT_EQ(Lines(u"[AI] Country1: Amphibious invasion - bombarding landing area..."), 1);
  EXPECT_EQ(hex(enemyPort, 0).unit, nullptr);  // no harbour on the enemy's hex
  ASSERT_EQ(game().aboardUnitsB.size(), 1u);
  EXPECT_EQ(game().aboardUnitsB.front().get(), &second);
}

TEST_F(Landing, ADestinationOffTheMapFreesTheFleet) {
  cFleet& fleet = InvasionFleet(99, 0, {kAmphibiousShip});
  Aboard(*fleet.ships.front(), 100);
  Ai().AmphibiousInvasion();
  EXPECT_EQ(fleet.aiOrder, kMissionFree);
  EXPECT_TRUE(log.ContainsText(u"destination hex (99, 0) out of map!"));
  EXPECT_EQ(game().aboardUnitsB.size(), 1u);
}

// An invasion that waited four impulses at its zone for the enemy ships to
// go is given up, and the choice of a target passes over that target for
// twelve impulses.
TEST_F(Landing, AGivenUpTargetIsPassedOverForAWhile) {
  cFleet& fleet = InvasionFleet(enemyPort, 0, {kAmphibiousShip});
  Aboard(*fleet.ships.front(), 100);
  sea.SetConstant(146, 1, 100);  // every ship counted by the estimates
  sea.SetConstant(147, 1, 100);
  sea.AddFleet(3, zone, {kBattleship, kBattleship});  // the zone is never safe
  for (int impulse = 1; impulse <= 4; ++impulse) {
    for (const auto& each : game().fleets) each->hasMoved = 0;
    Ai().NavalMoves();
  }
  ASSERT_EQ(fleet.aiOrder, kMissionTransport);
  const int givenUp = game().turn;
  for (int later : {0, 11, 12}) {
    game().turn = givenUp + later;
    log.Clear();
    Ai().ChooseSeaInvasionTarget();
    EXPECT_EQ(country(1).aiSettings.CurrentSeaInvasionTarget, later < 12 ? -1 : enemyPort) << later;
    EXPECT_EQ(log.Contains(u"Invasion of Target given up lately: passed over"), later < 12) << later;
  }
}

// ---- Sea transport to the fronts ----

// A front through Home; Dock (node 4, hex (4, 0)) reaches Home by sea.
class SeaTransportAi : public SeaInvasion {
 protected:
  SeaTransportAi() {
    dockNode = sea.AddPort(1);
    sea.Link(dockNode, zone);
    dock = &AddCity(u"Dock", dockNode, 1);
    game().citiesDiagram.Build(game().cities);
  }
  cCountryAI& AiWithFront() {
    cCountryAI& ai = Ai();
    ai.fronts.clear();
    ai.fronts.emplace_back();
    ai.fronts.back().name = u"Front miasta Home";
    ai.fronts.back().cities = {game().citiesDiagram.GetNode(homeCity->diagramNode)};
    return ai;
  }
  int dockNode = 0;
  cCity* dock = nullptr;
};

TEST_F(SeaTransportAi, WithoutIdleUnitsNobodyIsLoaded) {
  cJednostkaLadowa& waiting = Unit(1, dockNode, 0, 100, 4);
  waiting.SetAiOrder(kAiOrderSeaTransportB, dockNode, 0, 0);
  country(1).seaTransportPoints = 10;
  AiWithFront().TransportUnitsToFronts();
  EXPECT_TRUE(log.Contains(u"Transporting sea units to fronts"));
  EXPECT_TRUE(log.Contains(u"No own idle land units (idle = no order). Aborting procedure."));
  EXPECT_TRUE(game().fleets.empty());
  EXPECT_EQ(waiting.aiOrder, kAiOrderSeaTransportB);
}

// Sea nodes are numbered from 1: Home, on the first node, embarks for a
// front at Dock like any other port.
TEST_F(SeaTransportAi, APortOnTheFirstNodeEmbarksUnits) {
  ASSERT_EQ(home, 1);
  Unit(1, 0, 1, 100).SetAiOrder(kAiOrderReserve, -1, -1, 0);
  cJednostkaLadowa& waiting = Unit(1, home, 0, 100, 4);
  waiting.SetAiOrder(kAiOrderSeaTransportB, home, 0, 0);
  country(1).seaTransportPoints = 10;
  cCountryAI& ai = Ai();
  ai.fronts.clear();
  ai.fronts.emplace_back();
  ai.fronts.back().name = u"Front miasta Dock";
  ai.fronts.back().cities = {game().citiesDiagram.GetNode(dock->diagramNode)};
  ai.TransportUnitsToFronts();
  EXPECT_TRUE(log.Contains(u"tempus7 Country1: polaczenie Home -> Dock jest!"));
  ASSERT_EQ(game().fleets.size(), 1u);
  EXPECT_EQ(game().fleets.front()->seaNodeId, home);
  EXPECT_EQ(game().fleets.front()->aiDestinationNode, dockNode);
  EXPECT_NE(waiting.transporter, nullptr);
}

// A city of the country on a port node that is not a port itself embarks
// nobody.
TEST_F(SeaTransportAi, OnlyAPortCityEmbarksUnits) {
  dock->type = kCityNormal;
  Unit(1, 0, 1, 100).SetAiOrder(kAiOrderReserve, -1, -1, 0);
  cJednostkaLadowa& waiting = Unit(1, dockNode, 0, 100, 4);
  waiting.SetAiOrder(kAiOrderSeaTransportB, dockNode, 0, 0);
  country(1).seaTransportPoints = 10;
  AiWithFront().TransportUnitsToFronts();
  EXPECT_FALSE(log.Contains(u"tempus7 Country1: polaczenie Dock -> Home jest!"));
  EXPECT_TRUE(game().fleets.empty());
  EXPECT_EQ(waiting.transporter, nullptr);
}

struct TransportCase {
  const char* name;
  int points;
  int fleets;
};
class TransportPoints : public SeaTransportAi, public testing::WithParamInterface<TransportCase> {};

TEST_P(TransportPoints, DecideBetweenBoardingAndAPurchase) {
  Unit(1, 0, 1, 100).SetAiOrder(kAiOrderReserve, -1, -1, 0);
  cJednostkaLadowa& waiting = Unit(1, dockNode, 0, 100, 4);
  waiting.SetAiOrder(kAiOrderSeaTransportB, dockNode, 0, 0);
  country(1).seaTransportPoints = GetParam().points;
  country(1).aiSettings.PurchaseQueue = {5, 1, 2, 1};
  cCountryAI& ai = AiWithFront();
  ai.TransportUnitsToFronts();
  EXPECT_TRUE(log.Contains(Format(u"tempus7 Country1: polaczenie Dock -> Home jest!")));
  ASSERT_EQ(static_cast<int>(game().fleets.size()), GetParam().fleets);
  if (GetParam().fleets == 0) {
    EXPECT_EQ(waiting.aiOrder, kAiOrderSeaTransportB);
    EXPECT_EQ(country(1).aiSettings.PurchaseQueue, (std::vector<std::int32_t>{1, 5, 2}));
  } else {
    const cFleet& fleet = *game().fleets.front();
    EXPECT_EQ(fleet.aiOrder, kMissionTransport);
    EXPECT_EQ(fleet.seaNodeId, dockNode);
    EXPECT_EQ(fleet.aiDestinationNode, home);
    EXPECT_EQ(game().aboardUnitsA.front().get(), &waiting);
    EXPECT_TRUE(std::find(ai.ownLand.begin(), ai.ownLand.end(), &waiting) == ai.ownLand.end());
    EXPECT_TRUE(log.Contains(u"Unit100 meets all conditions and will be loaded onto transport to go to front"));
  }
}

INSTANTIATE_TEST_SUITE_P(Points, TransportPoints,
                         testing::Values(TransportCase{"BelowTheCost", 0, 0}, TransportCase{"AtTheCost", 1, 1},
                                         TransportCase{"AboveTheCost", 2, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// Dock and Pier (node 5) both reach Home by sea, so both are embarkation
// ports; an idle unit heads for the one fewer city hops from its area, Dock,
// the first of them, on a tie.
struct NearestPortCase {
  const char* name;
  int dockHops;
  int pierHops;
  bool toPier;
};
class NearestEmbarkationPort : public SeaTransportAi, public testing::WithParamInterface<NearestPortCase> {};

TEST_P(NearestEmbarkationPort, AnIdleUnitHeadsForTheNearestPort) {
  const NearestPortCase& c = GetParam();
  const int pierNode = sea.AddPort(1);
  sea.Link(pierNode, zone);
  cCity& pier = AddCity(u"Pier", pierNode, 1);
  game().citiesDiagram.Build(game().cities);
  game().playerControl.worldTopography.BuildNearestCityMap(*game().map, game().cities);
  cJednostkaLadowa& unit = Unit(1, 0, 1, 100);
  unit.SetAiOrder(kAiOrderReserve, -1, -1, 0);
  unit.supplySourceX = homeCity->x;
  unit.supplySourceY = homeCity->y;
  const cCity* area = unit.GetHexGridEntry();
  ASSERT_EQ(area, homeCity);
  for (const auto& [port, hops] : {std::pair{dock, c.dockHops}, std::pair{&pier, c.pierHops}}) {
    port->hopCounts.assign(static_cast<std::size_t>(game().citiesDiagram.NodeCount()), -1);
    port->hopCounts[static_cast<std::size_t>(area->diagramNode)] = hops;
  }
  game().strategicMovement->Init(game().CountryCount());
  sTopographyGroup group;
  group.cities = {homeCity, dock, &pier};
  game().strategicMovement->SetCountryTopography(1, {group});

  AiWithFront().TransportUnitsToFronts();

  EXPECT_TRUE(log.Contains(u"tempus7 Country1: polaczenie Dock -> Home jest!"));
  EXPECT_TRUE(log.Contains(u"tempus7 Country1: polaczenie Pier -> Home jest!"));
  // Bound for the port, or already waiting for its transport there.
  EXPECT_TRUE(unit.aiOrder == kAiOrderSeaTransportA || unit.aiOrder == kAiOrderSeaTransportB) << unit.aiOrder;
  EXPECT_EQ(unit.aiTargetX, c.toPier ? pier.x : dock->x);
  EXPECT_EQ(unit.aiTargetY, 0);
}

INSTANTIATE_TEST_SUITE_P(Hops, NearestEmbarkationPort,
                         testing::Values(NearestPortCase{"DockNearer", 1, 2, false},
                                         NearestPortCase{"Tie", 1, 1, false},
                                         NearestPortCase{"PierNearer", 2, 1, true},
                                         NearestPortCase{"DockUnreachable", -1, 1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A unit bound for its embarkation port waits there (order 11) once a turn's
// move leaves its action points as they were, whether it had none or stands
// on the port already; a unit that walked is still on its way.
struct WalkCase {
  const char* name;
  int y;  // on the column of Dock
  int actionPoints;
  int orderAfter;
  bool loaded;
};
class WalkToThePort : public SeaTransportAi, public testing::WithParamInterface<WalkCase> {};

TEST_P(WalkToThePort, AUnitThatDidNotMoveWaitsForItsTransport) {
  const WalkCase& c = GetParam();
  Unit(1, 0, 1, 100).SetAiOrder(kAiOrderReserve, -1, -1, 0);
  cJednostkaLadowa& unit = Unit(1, dockNode, c.y, 100, c.actionPoints);
  unit.SetAiOrder(kAiOrderSeaTransportA, dockNode, 0, 0);
  country(1).seaTransportPoints = 10;
  AiWithFront().TransportUnitsToFronts();
  EXPECT_EQ(unit.aiOrder, c.orderAfter);
  EXPECT_EQ(unit.actionPoints != c.actionPoints, c.y != 0 && c.actionPoints > 0);  // only the walk spends
  EXPECT_EQ(game().fleets.size(), c.loaded ? 1u : 0u);
  EXPECT_EQ(unit.transporter != nullptr, c.loaded);
}

INSTANTIATE_TEST_SUITE_P(Moves, WalkToThePort,
                         testing::Values(WalkCase{"Walked", 1, 4, kAiOrderSeaTransportA, false},
                                         WalkCase{"NoActionPoints", 1, 0, kAiOrderSeaTransportB, false},
                                         WalkCase{"OnItsPort", 0, 4, kAiOrderSeaTransportB, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Fronts at Home and at Quay (node 5): the transport sails for the port of
// the front with the lowest advantage; on a tie the fronts keep their order.
struct FrontSortCase {
  const char* name;
  float homeAdvantage;
  float quayAdvantage;
  bool toQuay;
};
class FrontSort : public SeaTransportAi, public testing::WithParamInterface<FrontSortCase> {};

TEST_P(FrontSort, TheWeakestFrontGetsTheTransport) {
  const FrontSortCase& c = GetParam();
  const int quayNode = sea.AddPort(1);
  sea.Link(quayNode, zone);
  cCity& quay = AddCity(u"Quay", quayNode, 1);
  game().citiesDiagram.Build(game().cities);
  Unit(1, 0, 1, 100).SetAiOrder(kAiOrderReserve, -1, -1, 0);
  cJednostkaLadowa& waiting = Unit(1, dockNode, 0, 100, 4);
  waiting.SetAiOrder(kAiOrderSeaTransportB, dockNode, 0, 0);
  country(1).seaTransportPoints = 10;
  cCountryAI& ai = Ai();
  ai.fronts.clear();
  for (const auto& [city, advantage] : {std::pair{homeCity, c.homeAdvantage}, std::pair{&quay, c.quayAdvantage}}) {
    ai.fronts.emplace_back();
    ai.fronts.back().name = u"Front miasta " + city->name;
    ai.fronts.back().cities = {game().citiesDiagram.GetNode(city->diagramNode)};
    ai.fronts.back().advantage = advantage;
  }
  ai.TransportUnitsToFronts();
  ASSERT_EQ(game().fleets.size(), 1u);
  EXPECT_EQ(game().fleets.front()->aiDestinationNode, c.toQuay ? quayNode : home);
  EXPECT_EQ(ai.fronts.front().name, c.toQuay ? u"Front miasta Quay" : u"Front miasta Home");
}

INSTANTIATE_TEST_SUITE_P(Advantages, FrontSort,
                         testing::Values(FrontSortCase{"HomeWeaker", 0.5f, 0.6f, false},
                                         FrontSortCase{"QuayWeaker", 0.6f, 0.5f, true},
                                         FrontSortCase{"Tie", 0.5f, 0.5f, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tr
