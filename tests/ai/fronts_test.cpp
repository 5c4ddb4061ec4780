// Fronts: their states from the balance of strength, the walk over the cities
// diagram that groups them, what counts in a node, and the reserves sent to a
// critical front.
#include <gtest/gtest.h>

#include "ai_fixture.h"
#include "world/cities_diagram.h"
#include "world/gra.h"

namespace tr {
namespace {

struct sBalance {
  float ours;
  float enemy;
  float advantage;
  int state;
};

class FrontBalanceTest : public testing::TestWithParam<sBalance> {};

TEST_P(FrontBalanceTest, AdvantageAndState) {
  const sBalance b = GetParam();
  EXPECT_FLOAT_EQ(FrontAdvantage(b.ours, b.enemy), b.advantage);
  EXPECT_EQ(FrontStateOf(FrontAdvantage(b.ours, b.enemy)), b.state);
}

INSTANTIATE_TEST_SUITE_P(Balances, FrontBalanceTest,
                         testing::Values(sBalance{33, 100, 0.33f, 1}, sBalance{32, 100, 0.32f, 2},
                                         sBalance{80, 100, 0.8f, 0}, sBalance{0, 0, 1.0f, 0},
                                         sBalance{5, 0, 99999.0f, 0}));

// Cities A (own), B (enemy), C (own), D (enemy): kind-0 edges A-B and A-C,
// D reached from C only by a kind-1 edge.
class FrontsTest : public testing::Test {
 protected:
  FrontsTest() {
    world.game().relations.SetWar(1, 2, true);
    world.game().relations.SetWar(2, 1, true);
    for (sHex& hex : world.game().map->Hexes()) hex.controller = 1;
    for (int y = 0; y < 12; ++y) {
      for (int x = 20; x < 40; ++x) world.hex(x, y).controller = 2;
    }
    a = &world.AddCity(u"A", 18, 5, 1);
    b = &world.AddCity(u"B", 22, 5, 2);
    c = &world.AddCity(u"C", 4, 5, 1);
    d = &world.AddCity(u"D", 36, 5, 2);
    cGame& game = world.game();
    game.citiesDiagram.Build(game.cities);
    Link(a, b, 0);
    Link(a, c, 0);
    Link(c, d, 1);
    game.playerControl.worldTopography.BuildNearestCityMap(*game.map, game.cities);
  }

  void Link(cCity* from, cCity* to, int kind) {
    world.game().citiesDiagram.GetNode(from->diagramNode)->edges.push_back({to->diagramNode, kind});
    world.game().citiesDiagram.GetNode(to->diagramNode)->edges.push_back({from->diagramNode, kind});
  }

  cCountryAI& Refresh() {
    cCountryAI& ai = world.AiOf(1);
    ai.BuildUnitLists();
    ai.ComputeFrontStrengths();
    ai.UpdateFrontList();
    ai.EvaluateFronts();
    return ai;
  }

  test::AiWorld world;
  cCity* a = nullptr;
  cCity* b = nullptr;
  cCity* c = nullptr;
  cCity* d = nullptr;
};

TEST_F(FrontsTest, OneFrontAcrossTheLineOnly) {
  world.AddAir(1, 17, 5, kStrategicBomber).strength = 5;
  cCountryAI& ai = Refresh();

  ASSERT_EQ(ai.fronts.size(), 1u);
  const sFront& front = ai.fronts.front();
  EXPECT_EQ(front.name, u"Front miasta A");
  ASSERT_EQ(front.cities.size(), 2u);
  EXPECT_EQ(front.cities.front()->city, a);
  EXPECT_EQ(front.cities.back()->city, b);
  EXPECT_TRUE(world.log.Contains(u"Kraj ID = 1 (Country1) zaktualizowal liste frontow do liczby 1"));
  EXPECT_EQ(c->frontState, kNoFront);
  EXPECT_EQ(d->frontState, kNoFront);
  EXPECT_EQ(a->frontState, front.state);
  EXPECT_TRUE(ai.IsFrontCity(*b));
  EXPECT_FALSE(ai.IsFrontCity(*c));
  EXPECT_TRUE(ai.IsCityInFrontWithState(*a, front.state));
  EXPECT_FALSE(ai.IsCityInFrontWithState(*a, front.state + 1));
  // The strategic bomber adds nothing anywhere.
  for (int i = 0; i < world.game().citiesDiagram.NodeCount(); ++i) {
    const sCitiesDiagramNode& node = *world.game().citiesDiagram.GetNode(i);
    EXPECT_EQ(node.stats.airUnitsOwn + node.stats.airStrengthOwn + node.ownUnitCount, 0);
  }
  const auto friendly = front.GetFriendlyCities(world.country(1));
  ASSERT_EQ(friendly.size(), 1u);
  EXPECT_EQ(friendly.front()->city, a);
}

TEST_F(FrontsTest, UnitsAddToTheNodeOfTheirArea) {
  world.country(1).alliance = kAxisLeader;
  world.country(3).alliance = kAxisLeader;
  cJednostkaLadowa& own = world.AddLand(1, 17, 5, 100);
  cJednostkaLadowa& allied = world.AddLand(3, 16, 5, 70);
  cJednostkaLadowa& enemy = world.AddLand(2, 23, 5, 100);
  cJednostkaLotnicza& fighter = world.AddAir(1, 17, 6, kFighter);
  fighter.strength = 4;
  enemy.approachList.push_back({});
  cCountryAI& ai = Refresh();

  const sCitiesDiagramNode& nodeA = *world.game().citiesDiagram.GetNode(a->diagramNode);
  const sCitiesDiagramNode& nodeB = *world.game().citiesDiagram.GetNode(b->diagramNode);
  EXPECT_FLOAT_EQ(nodeA.stats.landOwn, own.GetEffectiveStrength());
  // Ours: the country's own units and its allies'.
  EXPECT_FLOAT_EQ(nodeA.stats.landOurs, own.GetEffectiveStrength() + allied.GetEffectiveStrength());
  EXPECT_EQ(nodeA.ownUnitCount, 2);
  EXPECT_EQ(nodeA.stats.airStrengthOwn, 4);
  EXPECT_FLOAT_EQ(nodeB.stats.landEnemy, enemy.GetEffectiveStrength());
  EXPECT_TRUE(enemy.approachList.empty());
  int value = 0;
  EXPECT_TRUE(ai.GetFrontCityStrength(*a, value));
  EXPECT_EQ(value, static_cast<int>(2 * own.GetEffectiveStrength() + allied.GetEffectiveStrength()));
  EXPECT_FALSE(ai.GetFrontCityStrength(*c, value));
  EXPECT_EQ(value, -1);
}

TEST_F(FrontsTest, CityWithoutControllerOpensNoFront) {
  world.hex(a->x, a->y).controller = 0;
  cCountryAI& ai = Refresh();
  EXPECT_TRUE(ai.fronts.empty());
  EXPECT_FALSE(ai.HasThreatenedFront());
}

// Strengths past any front's are held where they are counted, at the limit
// a save's are held at as they are read, so a game's fronts come back from
// its save as they were: a node's sums (the last node's too), a front's sum
// over its nodes and the advantage over an enemy of almost no strength.
TEST_F(FrontsTest, StrengthsPastAnyFrontsAreHeldWhereTheyAreCounted) {
  world.country(1).alliance = kAxisLeader;
  world.country(3).alliance = kAxisLeader;
  float own = 0.0f;
  for (int x = 12; x <= 17 && own <= kMaxFrontValue; ++x) {
    for (int y = 3; y <= 7 && own <= kMaxFrontValue; ++y) {
      cJednostkaLadowa& unit = world.AddLand(1, x, y);
      unit.combatValue = kMaxCombatValue;
      own += unit.GetEffectiveStrength();
    }
  }
  ASSERT_GT(own, kMaxFrontValue);
  // The enemy's past it at the last node of the diagram.
  float enemy = 0.0f;
  for (int x = 32; x <= 37 && enemy <= kMaxFrontValue; ++x) {
    for (int y = 3; y <= 7 && enemy <= kMaxFrontValue; ++y) {
      cJednostkaLadowa& unit = world.AddLand(2, x, y);
      unit.combatValue = kMaxCombatValue;
      enemy += unit.GetEffectiveStrength();
    }
  }
  ASSERT_GT(enemy, kMaxFrontValue);
  cJednostkaLadowa& allied = world.AddLand(3, 24, 5);
  allied.combatValue = kMaxCombatValue;
  world.AddLand(2, 23, 5, 1).combatValue = 1;
  cCountryAI& ai = Refresh();

  const sCitiesDiagramNode& nodeA = *world.game().citiesDiagram.GetNode(a->diagramNode);
  const sCitiesDiagramNode& nodeB = *world.game().citiesDiagram.GetNode(b->diagramNode);
  EXPECT_EQ(nodeA.stats.landOwn, kMaxFrontValue);
  EXPECT_EQ(nodeA.stats.landOurs, kMaxFrontValue);
  EXPECT_FLOAT_EQ(nodeB.stats.landOurs, allied.GetEffectiveStrength());
  const sCitiesDiagramNode& nodeD = *world.game().citiesDiagram.GetNode(d->diagramNode);
  ASSERT_EQ(d->diagramNode, world.game().citiesDiagram.NodeCount() - 1);
  EXPECT_EQ(nodeD.stats.landEnemy, kMaxFrontValue);
  ASSERT_EQ(ai.fronts.size(), 1u);
  const sFront& front = ai.fronts.front();
  EXPECT_EQ(front.stats.landOurs, kMaxFrontValue);
  EXPECT_EQ(front.stats.landOwn, kMaxFrontValue);
  EXPECT_GT(front.stats.landEnemy, 0.0f);
  EXPECT_EQ(front.advantage, kMaxFrontValue);
  EXPECT_EQ(front.state, kFrontHolding);
}

TEST_F(FrontsTest, CriticalFrontGetsTheStrongestFreeUnitOncePerPass) {
  // Line 68 holds the strategic-move cost of land type t in field t + 2; at
  // cost 0 the loop must still end.
  for (int type = 0; type < kLandTypeCount; ++type) {
    world.game().constants.SetSlot(sScenarioConstants::SlotOf(68, type + 2), 0);
  }
  world.country(1).strategicMovementPoints = 10;
  world.AddLand(2, 23, 5, 400);
  cJednostkaLadowa& strong = world.AddLand(1, 5, 5, 90);
  cJednostkaLadowa& covering = world.AddLand(1, 5, 6, 100);
  covering.aiOrder = 2;
  strong.actionPoints = strong.startingActionPoints = 4;
  covering.actionPoints = covering.startingActionPoints = 4;
  for (cJednostkaLadowa* unit : {&strong, &covering}) {
    unit->supplySourceX = c->x;
    unit->supplySourceY = c->y;
  }
  world.country(1).alliance = kAxisLeader;
  world.country(2).alliance = kAlliesLeader;
  world.game().strategicMovement->Init(world.game().CountryCount());
  sTopographyGroup group;
  group.cities = {a, c};
  world.game().strategicMovement->SetCountryTopography(1, {group});
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  ai.SavePoorlyDefendedFronts();

  const auto lines = world.log.lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), u"Cannot find other units. Ending saving poorly defended front procedure.");
  EXPECT_EQ(strong.x, a->x);
  EXPECT_EQ(strong.y, a->y);
  EXPECT_EQ(covering.x, 5);
  EXPECT_EQ(covering.y, 6);
  EXPECT_EQ(test::LinesStartingWith(world.log, u"[AI] Country1: Saving poorly defended fronts").size(), 2u);
}

struct sNearest {
  const char* name;
  int hops1;
  int x1;
  int hops2;
  int x2;
  int expected;  // 1 or 2
  bool firstInGroup = true;  // else F1 is reached only through its neighbour H
};

// A unit on its home city H at (10, 5) and one front listing own cities F1
// and F2 around an enemy city; both are in H's strategic-move group.
class NearestFrontCityTest : public testing::TestWithParam<sNearest> {};

TEST_P(NearestFrontCityTest, FewerHopsThenNearerThenFirst) {
  const sNearest c = GetParam();
  test::AiWorld world;
  cGame& game = world.game();
  game.relations.SetWar(1, 2, true);
  game.relations.SetWar(2, 1, true);
  world.country(1).alliance = kAxisLeader;
  world.country(2).alliance = kAlliesLeader;
  cCity& home = world.AddCity(u"H", 10, 5, 1);
  cCity& first = world.AddCity(u"F1", c.x1, 5, 1);
  cCity& enemy = world.AddCity(u"E", 30, 5, 2);
  cCity& second = world.AddCity(u"F2", c.x2, 5, 1);
  game.citiesDiagram.Build(game.cities);
  game.playerControl.worldTopography.BuildNearestCityMap(*game.map, game.cities);
  home.hopCounts.assign(static_cast<std::size_t>(game.citiesDiagram.NodeCount()), 3);
  home.hopCounts[static_cast<std::size_t>(first.diagramNode)] = c.hops1;
  home.hopCounts[static_cast<std::size_t>(second.diagramNode)] = c.hops2;
  cJednostkaLadowa& unit = world.AddLand(1, 10, 5);
  unit.supplySourceX = home.x;
  unit.supplySourceY = home.y;
  game.strategicMovement->Init(game.CountryCount());
  sTopographyGroup group;
  group.cities = {&home, &second};
  if (c.firstInGroup) {
    group.cities.push_back(&first);
  } else {
    game.citiesDiagram.GetNode(first.diagramNode)->edges.push_back({home.diagramNode, 0});
  }
  game.strategicMovement->SetCountryTopography(1, {group});
  cCountryAI& ai = world.AiOf(1);
  sFront front;
  for (const cCity* city : {&first, &enemy, &second}) front.cities.push_back(game.citiesDiagram.GetNode(city->diagramNode));
  ai.fronts = {front};

  EXPECT_EQ(ai.FindNearestFrontCity(unit), c.expected == 1 ? &first : &second);
}

INSTANTIATE_TEST_SUITE_P(
    Candidates, NearestFrontCityTest,
    testing::Values(sNearest{"FewerHopsWinsOverDistance", 2, 12, 1, 18, 2},
                    sNearest{"NearerOnEqualHops", 1, 18, 1, 13, 2},
                    sNearest{"FirstOnFullTie", 1, 14, 1, 6, 1},
                    sNearest{"UnreachableIsFarthest", -1, 12, 5, 18, 2},
                    sNearest{"ReachedThroughAFriendlyNeighbour", 1, 12, 2, 18, 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tr
