// The computer's air war and front patching: where an air unit rebases, who
// fights whom, which bomber strikes, when a bomber stays at home, and when a
// front gets a unit carried to its weakest city.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "ai/ai_pacing.h"
#include "ai/air_scans.h"
#include "ai_fixture.h"
#include "scenario/scenario_constants_layout.h"
#include "world/cities_diagram.h"
#include "turn/fleet.h"
#include "turn/sea_graph.h"
#include "world/gra.h"
#include "world/hex_distance.h"

namespace tr {
namespace {

class AiAirTest : public testing::Test {
 protected:
  AiAirTest() {
    cGame& game = world.game();
    game.relations.SetWar(1, 2, true);
    game.relations.SetWar(2, 1, true);
    sScenarioConstants& k = game.constants;
    k.SetSlot(sScenarioConstants::SlotOf(4, 6), 4);  // air base safety distance
    for (int field = 1; field <= 5; ++field) {
      k.SetSlot(sScenarioConstants::SlotOf(47, field), 10);  // air radii
      k.SetSlot(sScenarioConstants::SlotOf(151, field), 1.0);  // their factor by technology
    }
    k.SetSlot(sScenarioConstants::SlotOf(14, 1), 4);   // fighters' base value
    k.SetSlot(sScenarioConstants::SlotOf(14, 3), 10);  // strategic bombers'
    k.SetSlot(sScenarioConstants::SlotOf(48, 1), 10);  // full supply
    // Countries without aircraft technology fly at factor 1 (the slot of
    // level 0 has no line of its own).
    k.SetSlot(consts_layout::kAirRangeFactor, 1.0);
    previousPauses = SetAiPausesSleep(false);
  }
  ~AiAirTest() override { SetAiPausesSleep(previousPauses); }

  // Country 1's computer strikes with its bombers, its unit lists built first.
  static void RunAirStrikes(test::AiWorld& at) {
    cCountryAI& ai = at.AiOf(1);
    ai.BuildUnitLists();
    ai.AirStrikes();
  }

  // A fresh world at war like the fixture's, with its constants.
  void PrepareLikeFixture(test::AiWorld& local) {
    local.game().relations.SetWar(1, 2, true);
    local.game().relations.SetWar(2, 1, true);
    local.game().constants = world.game().constants;
  }

  // Every interception roll costs the mission `missionLoss` and the
  // interceptor nothing.
  void SetInterceptionLoss(int missionLoss) {
    sScenarioConstants& k = world.game().constants;
    for (int die = 0; die < 6; ++die) {
      for (int field = 2; field <= 10; ++field) {
        k.SetSlot(sScenarioConstants::SlotOf(35 + die, field), missionLoss);
        k.SetSlot(sScenarioConstants::SlotOf(41 + die, field), 0);
      }
    }
  }

  int Count(std::u16string_view prefix) {
    int n = 0;
    for (const std::u16string& event : world.screen.events()) n += event.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
  }

  test::AiWorld world;
  bool previousPauses = true;
};

sAirBaseCandidate Base(int x, int enemies, int distance) { return {x, 0, enemies, distance}; }

struct BaseCase {
  std::vector<sAirBaseCandidate> candidates;
  int retreatX;
  int forwardX;
};

class AiBaseChoiceTest : public AiAirTest, public testing::WithParamInterface<BaseCase> {};

// R 4: a retreat needs a base at least 5 hexes from the enemy, the nearest
// such, then the most enemies in reach; a forward base lies beyond 4 with the
// most enemies in reach, at least one.
TEST_P(AiBaseChoiceTest, RetreatAndForwardBases) {
  cCountryAI& ai = world.AiOf(1);
  EXPECT_EQ(ai.ChooseRetreatBase(GetParam().candidates).x, GetParam().retreatX);
  EXPECT_EQ(ai.ChooseForwardBase(GetParam().candidates).x, GetParam().forwardX);
}

INSTANTIATE_TEST_SUITE_P(
    Candidates, AiBaseChoiceTest,
    testing::Values(BaseCase{{}, -1, -1}, BaseCase{{Base(1, 3, 4), Base(2, 5, 3)}, -1, -1},
                    BaseCase{{Base(1, 3, 4), Base(2, 0, 5)}, 2, -1},
                    BaseCase{{Base(1, 1, 7), Base(2, 2, 6), Base(3, 4, 6), Base(4, 9, 5)}, 4, 4},
                    BaseCase{{Base(1, 2, 6), Base(2, 2, 6), Base(3, 1, 5)}, 3, 1}));

// The queries the candidate collection asks: nearest enemy land unit, and the
// count in reach leaving out units on forts of level 5.
TEST_F(AiAirTest, EnemyQueriesSkipStrongFortsAndAnswerNoneWithIntMax) {
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  EXPECT_EQ(ai.MinDistanceToEnemyLandUnits(5, 5), 2147483647);
  world.AddLand(2, 10, 5);
  world.AddLand(2, 12, 5);
  world.hex(12, 5).fortLevel = 5;
  ai.BuildUnitLists();
  EXPECT_EQ(ai.MinDistanceToEnemyLandUnits(7, 5), 3);
  EXPECT_EQ(ai.CountEnemyLandUnitsWithin(7, 5, 10), 1);
  EXPECT_EQ(ai.CountEnemyLandUnitsWithin(7, 5, 3), 1);  // exactly at the radius
  EXPECT_EQ(ai.CountEnemyLandUnitsWithin(7, 5, 2), 0);
}

// A unit 3 hexes from the enemy whose candidates all lie within 4 of it
// stays; once a city further back offers hexes 5 away, it falls back there.
TEST_F(AiAirTest, RebasingFallsBackOnlyToASafeEnoughBase) {
  world.AddLand(2, 10, 5);
  cJednostkaLotnicza& plane = world.AddAir(1, 7, 5, kFighter);
  plane.actionPoints = plane.startingActionPoints = 3;
  plane.supply = 10;
  world.AddCity(u"Near", 10, 3, 1);  // its candidates lie at most 4 from the enemy
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  ai.RebaseAirUnits();
  EXPECT_EQ(plane.x, 7);
  EXPECT_EQ(plane.y, 5);

  world.AddCity(u"Back", 2, 5, 1);
  ai.BuildUnitLists();
  ai.RebaseAirUnits();
  EXPECT_GE(ai.MinDistanceToEnemyLandUnits(plane.x, plane.y), 5);
  EXPECT_LE(HexDistance(plane.x, plane.y, 2, 5), 2);
}

// A unit with one enemy in reach of its base moves forward only to a base
// with more than three times as many. Range 5 and a move radius of 30: the
// enemy at column 7 is 5 from the unit and out of reach of every candidate
// around the own city at (20,5); the enemies at column 26, rows 3 and down,
// are in reach of the candidates at column 21 only, 5 from them.
class AiForwardBaseTest : public AiAirTest, public testing::WithParamInterface<int> {};

TEST_P(AiForwardBaseTest, MovesForwardOnlyForMoreThanThreeTimesTheEnemies) {
  const int ahead = GetParam();
  sScenarioConstants& k = world.game().constants;
  k.SetSlot(sScenarioConstants::SlotOf(47, 1), 5);   // range
  k.SetSlot(sScenarioConstants::SlotOf(47, 2), 30);  // move radius
  world.AddLand(2, 7, 5);
  for (int i = 0; i < ahead; ++i) world.AddLand(2, 26, 3 + i);
  world.AddCity(u"Ahead", 20, 5, 1);
  cJednostkaLotnicza& plane = world.AddAir(1, 2, 5, kFighter);
  plane.actionPoints = plane.startingActionPoints = 3;
  plane.supply = 10;
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  ASSERT_EQ(ai.CountEnemyLandUnitsWithin(2, 5, plane.GetRange()), 1);

  ai.RebaseAirUnits();

  if (ahead > 3) {
    EXPECT_EQ(plane.x, 21);
    EXPECT_EQ(ai.CountEnemyLandUnitsWithin(plane.x, plane.y, plane.GetRange()), ahead);
  } else {
    EXPECT_EQ(plane.x, 2);
    EXPECT_EQ(plane.y, 5);
  }
}

INSTANTIATE_TEST_SUITE_P(EnemiesAhead, AiForwardBaseTest, testing::Values(2, 3, 4));

// A unit that has acted, or whose supply is below a third, stays anyway.
TEST_F(AiAirTest, RebasingLeavesUnitsThatActedOrLackSupply) {
  world.AddLand(2, 10, 5);
  world.AddCity(u"Back", 2, 5, 1);
  cJednostkaLotnicza& acted = world.AddAir(1, 7, 5, kFighter);
  acted.startingActionPoints = 3;
  acted.actionPoints = 2;
  acted.supply = 10;
  cJednostkaLotnicza& unsupplied = world.AddAir(1, 8, 6, kFighter);
  unsupplied.actionPoints = unsupplied.startingActionPoints = 3;
  unsupplied.supply = 2;  // (int)(10 x 0.33) is 3
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  ai.RebaseAirUnits();
  EXPECT_EQ(acted.x, 7);
  EXPECT_EQ(unsupplied.x, 8);
}

// Fighters sweeping fighters meet no interceptor; against bombers the enemy's
// fighter tries. With the result delay 0 no result dialog opens.
TEST_F(AiAirTest, FighterSweepsAreNotInterceptedAndHiddenResultsStayClosed) {
  for (const int targetType : {kFighter, kStrategicBomber}) {
    test::AiWorld local;
    PrepareLikeFixture(local);
    cJednostkaLotnicza& fighter = local.AddAir(1, 12, 5, kFighter);
    fighter.strength = 8;
    fighter.actionPoints = 2;
    cJednostkaLotnicza& target = local.AddAir(2, 10, 5, targetType);
    target.strength = 6;
    cJednostkaLotnicza& guard = local.AddAir(2, 9, 5, kFighter);
    guard.strength = 9;
    cCountryAI& ai = local.AiOf(1);
    ai.BuildUnitLists();
    cAirTargetsByType enemies(1);
    ai.AirFight(ai.ownAir, targetType, enemies);
    EXPECT_EQ(local.log.ContainsText(u"tries to intercept"), targetType != kFighter) << targetType;
    for (const std::u16string& event : local.screen.events()) EXPECT_NE(event.rfind(u"combat-result", 0), 0u);
  }
}

// A sweep's targets follow the wars declared and ended while it runs.
TEST_F(AiAirTest, AirTargetsFollowAWarDeclaredOrEnded) {
  cJednostkaLotnicza& stranger = world.AddAir(3, 9, 5, kFighter);
  cJednostkaLotnicza& enemy = world.AddAir(2, 9, 7, kFighter);
  cAirTargetsByType targets(1);
  EXPECT_EQ(targets.OfType(kFighter), std::vector<cJednostkaLotnicza*>{&enemy});
  cRelations& relations = world.game().relations;
  relations.SetWar(1, 3, true);
  relations.SetWar(3, 1, true);
  relations.MakePeaceWithAll(2);
  EXPECT_EQ(targets.OfType(kFighter), std::vector<cJednostkaLotnicza*>{&stranger});
}

struct StrikeCase {
  int strength;
  bool strikes;
};

class AiStrikeStrengthTest : public AiAirTest, public testing::WithParamInterface<StrikeCase> {};

// A tactical bomber needs 4 strength points to strike a land unit; the strike
// costs an action point.
TEST_P(AiStrikeStrengthTest, TacticalBomberNeedsFourPoints) {
  world.AddLand(2, 10, 5, 100);
  cJednostkaLotnicza& bomber = world.AddAir(1, 13, 5, kTacticalBomber);
  bomber.strength = GetParam().strength;
  bomber.actionPoints = 1;
  RunAirStrikes(world);
  EXPECT_EQ(world.log.ContainsText(u"Wyznaczenie kolumny"), GetParam().strikes);
  EXPECT_EQ(bomber.actionPoints, GetParam().strikes ? 0 : 1);
  EXPECT_EQ(test::LinesStartingWith(world.log, u"bu bu bu koniec").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Strength, AiStrikeStrengthTest,
                         testing::Values(StrikeCase{3, false}, StrikeCase{4, true}, StrikeCase{9, true}));

// The result of a strike on a target the player sees is shown whether or not
// the view follows the computer; that of a hidden target is not.
TEST_F(AiAirTest, StrikeResultIsShownWhenTheTargetIsVisible) {
  for (const std::uint8_t spotted : {0, 1}) {
    test::AiWorld local;
    PrepareLikeFixture(local);
    local.game().playerControl.follow = 0;
    gDelays[kDelayAICombatResult] = 500.0f;
    cJednostkaLadowa& target = local.AddLand(2, 10, 5, 100);
    target.spotted = spotted;
    cJednostkaLotnicza& bomber = local.AddAir(1, 13, 5, kTacticalBomber);
    bomber.strength = 8;
    bomber.actionPoints = 1;
    RunAirStrikes(local);
    int shown = 0;
    for (const std::u16string& event : local.screen.events()) shown += event.rfind(u"combat-result", 0) == 0 ? 1 : 0;
    EXPECT_EQ(shown, spotted) << int{spotted};
  }
}

// Only an enemy closer than the bomber's range is in reach: one hex short of
// the range strikes, at the range or beyond does not.
class AiStrikeRangeTest : public AiAirTest, public testing::WithParamInterface<int> {};

TEST_P(AiStrikeRangeTest, TargetMustBeCloserThanTheRange) {
  world.AddLand(2, 10, 5, 100);
  cJednostkaLotnicza probe;
  probe.owner = 1;
  probe.SetType(kTacticalBomber);
  const int distance = probe.GetRange() + GetParam();
  cJednostkaLotnicza& bomber = world.AddAir(1, 10 + distance, 5, kTacticalBomber);
  ASSERT_EQ(HexDistance(bomber.x, bomber.y, 10, 5), distance);
  bomber.strength = 8;
  bomber.actionPoints = 1;
  RunAirStrikes(world);
  EXPECT_EQ(bomber.actionPoints, GetParam() < 0 ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Distances, AiStrikeRangeTest, testing::Values(-1, 0, 1),
                         [](const auto& info) {
                           return info.param < 0 ? std::string("OneShort") : info.param == 0 ? std::string("AtTheRange")
                                                                                            : std::string("OneBeyond");
                         });

// Targets below half the land base value of their level and type are left.
TEST_F(AiAirTest, WeakLandUnitsAreNotWorthAStrike) {
  world.AddLand(2, 10, 5, 40);  // effective 4 of base 10
  cJednostkaLotnicza& bomber = world.AddAir(1, 13, 5, kTacticalBomber);
  bomber.strength = 8;
  bomber.actionPoints = 1;
  RunAirStrikes(world);
  EXPECT_EQ(bomber.actionPoints, 1);
}

// A strike that destroys its target rebuilds the enemy list; the next bomber
// picks from the units still standing, each where it stands: here the unit
// beside it, not the one after it in the list.
TEST_F(AiAirTest, AfterAKillTheNextBomberAimsAtTheUnitBesideIt) {
  for (int die = 1; die <= 6; ++die) world.game().constants.SetSlot(consts_layout::kBombardLandFactor + die - 1, 1000);
  world.AddLand(2, 2, 5, 50);  // just worth a strike, and destroyed by it
  const std::u16string beside = world.AddLand(2, 20, 5, 100).name;
  const std::u16string far = world.AddLand(2, 38, 5, 100).name;
  for (const int x : {4, 22}) {
    cJednostkaLotnicza& bomber = world.AddAir(1, x, 5, kTacticalBomber);
    bomber.strength = 8;
    bomber.actionPoints = 1;
  }
  RunAirStrikes(world);
  EXPECT_EQ(test::LinesStartingWith(world.log, u"Defender killed").size(), 2u);
  EXPECT_TRUE(world.log.ContainsText(beside + u" is bombed"));
  EXPECT_FALSE(world.log.ContainsText(far + u" is bombed"));
}

// An interceptor that stops the bomber: the point is paid before, the target
// is not bombed, and the stop is logged.
TEST_F(AiAirTest, StoppedStrikeIsPaidAndLogged) {
  SetInterceptionLoss(1);
  cJednostkaLadowa& target = world.AddLand(2, 10, 5, 100);
  cJednostkaLotnicza& guard = world.AddAir(2, 9, 5, kFighter);
  guard.strength = 9;
  cJednostkaLotnicza& bomber = world.AddAir(1, 13, 5, kTacticalBomber);
  bomber.strength = 6;
  bomber.actionPoints = 1;
  RunAirStrikes(world);
  EXPECT_TRUE(world.log.Contains(u"Przechwycenie udane, nici z ataku!"));
  EXPECT_FALSE(world.log.ContainsText(u"Wyznaczenie kolumny"));
  EXPECT_EQ(bomber.actionPoints, 0);
  EXPECT_EQ(bomber.strength, 5);
  EXPECT_EQ(target.strength, 100);
}

// A strategic bomber flies only where enemy air is absent or outmatched.
TEST_F(AiAirTest, StrategicBomberStaysHomeWhenEveryCityIsCovered) {
  world.game().constants.SetSlot(sScenarioConstants::SlotOf(153, 1), 1.0);
  for (const bool covered : {true, false}) {
    test::AiWorld local;
    PrepareLikeFixture(local);
    cCity& city = local.AddCity(u"Works", 10, 5, 2);
    city.productionPoints = 5.0f;
    cJednostkaLotnicza& bomber = local.AddAir(1, 14, 5, kStrategicBomber);
    bomber.strength = 5;
    bomber.actionPoints = 1;
    if (covered) local.AddAir(2, 10, 6, kFighter).strength = 9;
    cCountryAI& ai = local.AiOf(1);
    ai.BuildUnitLists();
    ai.StrategicBombing();
    EXPECT_EQ(local.log.ContainsText(u"bombs Works"), !covered) << covered;
  }
}

// A city is in a strategic bomber's reach only closer than its range: one
// hex short of the range is bombed, at the range it is not.
class AiStrategicRangeTest : public AiAirTest, public testing::WithParamInterface<int> {};

TEST_P(AiStrategicRangeTest, CityMustBeCloserThanTheRange) {
  world.AddCity(u"Works", 10, 5, 2).productionPoints = 5.0f;
  cJednostkaLotnicza probe;
  probe.owner = 1;
  probe.SetType(kStrategicBomber);
  const int distance = probe.GetRange() + GetParam();
  cJednostkaLotnicza& bomber = world.AddAir(1, 10 + distance, 5, kStrategicBomber);
  ASSERT_EQ(HexDistance(bomber.x, bomber.y, 10, 5), distance);
  bomber.strength = 5;
  bomber.actionPoints = 1;
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  ai.StrategicBombing();
  EXPECT_EQ(world.log.ContainsText(u"bombs Works"), GetParam() < 0);
}

INSTANTIATE_TEST_SUITE_P(Distances, AiStrategicRangeTest, testing::Values(-1, 0),
                         [](const auto& info) {
                           return info.param < 0 ? std::string("OneShort") : std::string("AtTheRange");
                         });

// Bombers shot down over the city are removed only after every bomber flew.
TEST_F(AiAirTest, DestroyedStrategicBombersAreRemovedAfterAllFlew) {
  sScenarioConstants& k = world.game().constants;
  for (int die = 0; die < 6; ++die) {
    for (int field = 2; field <= 10; ++field) k.SetSlot(sScenarioConstants::SlotOf(41 + die, field), 99);
  }
  world.AddCity(u"Works", 10, 5, 2).productionPoints = 5.0f;
  for (const int y : {4, 6}) {
    cJednostkaLotnicza& bomber = world.AddAir(1, 14, y, kStrategicBomber);
    bomber.strength = 5;
    bomber.actionPoints = 1;
  }
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  ai.StrategicBombing();
  EXPECT_EQ(test::LinesStartingWith(world.log, u"[AI] Country1: Air").size(), 2u);
  EXPECT_TRUE(world.game().airUnits.empty());
  EXPECT_TRUE(ai.ownAir.empty());
}

// Patching: weakest 10 and strongest 30 at ratio 2.5 carries the first
// unit that can make the strategic move to the weak city, and the strengths
// are counted again; 10 and 25 is even enough.
TEST_F(AiAirTest, FrontPatchingNeedsTheRatioExceeded) {
  for (const float strong : {30.0f, 25.0f}) {
    test::AiWorld local;
    cGame& game = local.game();
    game.relations.SetWar(1, 2, true);
    game.relations.SetWar(2, 1, true);
    for (int type = 0; type < kLandTypeCount; ++type) {
      game.constants.SetSlot(sScenarioConstants::SlotOf(68, type + 2), 1);
    }
    local.country(1).aiSettings.MinRatioToPatchFront = 2.5f;
    local.country(1).strategicMovementPoints = 10;
    local.country(1).alliance = kAxisLeader;
    local.country(2).alliance = kAlliesLeader;
    cCity& weak = local.AddCity(u"Weak", 18, 5, 1);
    cCity& held = local.AddCity(u"Held", 4, 5, 1);
    game.citiesDiagram.Build(game.cities);
    game.citiesDiagram.GetNode(weak.diagramNode)->edges.push_back({held.diagramNode, 0});
    game.citiesDiagram.GetNode(held.diagramNode)->edges.push_back({weak.diagramNode, 0});
    game.playerControl.worldTopography.BuildNearestCityMap(*game.map, game.cities);
    game.strategicMovement->Init(game.CountryCount());
    sTopographyGroup group;
    group.cities = {&weak, &held};
    game.strategicMovement->SetCountryTopography(1, {group});
    cJednostkaLadowa& unit = local.AddLand(1, 5, 5, 100);
    unit.actionPoints = unit.startingActionPoints = 4;
    unit.supplySourceX = held.x;
    unit.supplySourceY = held.y;

    cCountryAI& ai = local.AiOf(1);
    ai.BuildUnitLists();
    sFront front;
    front.cities = {game.citiesDiagram.GetNode(weak.diagramNode), game.citiesDiagram.GetNode(held.diagramNode)};
    front.cities.front()->stats.landOwn = 10.0f;
    front.cities.back()->stats.landOwn = strong;
    ai.fronts = {front};
    ai.MoveUnitsStrategically();
    const bool moved = strong == 30.0f;
    EXPECT_EQ(HexDistance(unit.x, unit.y, weak.x, weak.y) <= 1, moved) << strong;
    EXPECT_EQ(local.log.ContainsText(u"patches the front at Weak"), moved) << strong;
    // Counted again: the held city lost its only unit.
    if (moved) {
      EXPECT_EQ(front.cities.back()->stats.landOwn, 0.0f);
    }
  }
}

// An enemy (or neutral) cruiser alone at sea node 1, whose zone lies beside
// land at columns 17 and 22.
cJednostkaMorska& AddFleetAtSea(test::AiWorld& local, int owner) {
  local.game().constants.SetSlot(sScenarioConstants::SlotOf(145, 1), 3);  // search radius
  sWezelGrafuMorz node;
  node.id = 1;
  node.type = kSeaNodeOpenSea;
  node.x = 20;
  node.y = 5;
  local.game().seaGraph.nodes.push_back(node);
  for (int x = 19; x <= 21; ++x) {
    local.hex(x, 5).terrain = kTerrainWater;
    local.hex(x, 5).seaZone = 1;
    local.hex(x, 5).controller = 0;
  }
  cJednostkaMorska& ship = local.AddShip(owner, kCruiser);
  auto fleet = std::make_unique<cFleet>();
  fleet->id = 1;
  fleet->countryId = ship.owner;
  fleet->seaNodeId = 1;
  fleet->ships.push_back(&ship);
  ship.fleet = fleet.get();
  local.game().fleets.push_back(std::move(fleet));
  return ship;
}

// A bomber strikes an enemy fleet in reach until its points are spent; a
// zone of a country at peace is no target.
TEST_F(AiAirTest, NavalStrikesSpendTheBombersPointsOnEnemyFleets) {
  for (const bool enemy : {true, false}) {
    test::AiWorld local;
    PrepareLikeFixture(local);
    AddFleetAtSea(local, enemy ? 2 : 3);
    cJednostkaLotnicza& bomber = local.AddAir(1, 17, 5, kTacticalBomber);
    bomber.strength = 8;
    bomber.actionPoints = 2;
    cCountryAI& ai = local.AiOf(1);
    ai.BuildUnitLists();
    ai.PlanAirOperations();
    EXPECT_EQ(test::LinesStartingWith(local.log, u"bu bu bu bu 10").size(), enemy ? 2u : 0u);
    const std::vector<std::u16string> lines = local.log.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), u"bu bu bu bu 1"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), u"bu bu bu bu 21"), 1);
    EXPECT_EQ(bomber.actionPoints, enemy ? 0 : 2);
  }
}

// With the view following the computer a naval strike is shown where the
// viewer has ships of its own, also when it cannot see the bomber.
TEST_F(AiAirTest, NavalStrikeIsFollowedWhereTheViewerHasShips) {
  for (const int ownShips : {0, 1}) {
    test::AiWorld local;
    PrepareLikeFixture(local);
    AddFleetAtSea(local, 2);
    local.game().seaGraph.GetNode(0).ownShips[1] = ownShips;
    local.game().playerControl.follow = 1;
    cJednostkaLotnicza& bomber = local.AddAir(1, 17, 5, kTacticalBomber);
    bomber.strength = 8;
    bomber.actionPoints = 1;
    bomber.spotted = 0;
    cCountryAI& ai = local.AiOf(1);
    ai.BuildUnitLists();
    ai.PlanAirOperations();
    const std::vector<std::u16string> lines = local.log.lines();
    const auto strike = std::find(lines.begin(), lines.end(), u"bu bu bu bu 5");
    ASSERT_NE(strike, lines.end());
    EXPECT_EQ(std::next(strike)->starts_with(u"CenterAtHex"), ownShips > 0) << ownShips;
  }
}

// An interception that stops the bomber costs it no point, so the step, which
// starts over after every strike, would send it again without end: it flies
// once in the call and keeps its remaining points.
TEST_F(AiAirTest, NavalStrikeStoppedByAnInterceptorIsNotFlownAgain) {
  SetInterceptionLoss(1);
  cJednostkaMorska& ship = AddFleetAtSea(world, 2);
  const int hitPoints = ship.hitPoints;
  // At sea the fleet's own carrier intercepts.
  cJednostkaMorska& carrier = world.AddShip(2, kAircraftCarrier);
  carrier.maxHitPoints = 20;
  carrier.hitPoints = 20;
  carrier.fleet = ship.fleet;
  ship.fleet->ships.push_back(&carrier);
  cJednostkaLotnicza& bomber = world.AddAir(1, 17, 5, kTacticalBomber);
  bomber.strength = 8;
  bomber.actionPoints = 2;
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  ai.PlanAirOperations();
  EXPECT_EQ(test::LinesStartingWith(world.log, u"bu bu bu bu 10").size(), 1u);
  EXPECT_EQ(test::LinesStartingWith(world.log, u"bu bu bu bu 21").size(), 1u);
  EXPECT_LT(bomber.strength, 8);
  EXPECT_GT(bomber.actionPoints, 0);
  EXPECT_EQ(ship.hitPoints, hitPoints);
}

}  // namespace
}  // namespace tr
