// The line of defence: the score of a candidate path, the clean-up of spurs
// and corners, the line drawn along a threatened border, and the reinforcing
// units moved onto it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ai/ai_order.h"
#include "ai/line_of_defence.h"
#include "plan_world.h"
#include "world/hex_distance.h"

namespace tr {
namespace {

// Lattice hexes 4 apart give paths of at most L = 6 hexes. The path runs
// down column 5 from row 1 over plain land (terrain 1).
struct sScoreCase {
  int length;
  bool hills;        // one hex of terrain 3
  int riverSide;     // a river on this side of one hex, -1 none
  int cityController;  // 0 no city
  int score;
};

class ScoreLinePathTest : public testing::TestWithParam<sScoreCase> {};

TEST_P(ScoreLinePathTest, LengthTerrainRiversAndOwnCities) {
  const sScoreCase c = GetParam();
  test::AiWorld world;
  world.game().relations.SetWar(1, 2, true);
  world.game().relations.SetWar(2, 1, true);
  std::vector<sPoint> path;
  for (int i = 0; i < c.length; ++i) path.push_back({5, 1 + i});
  if (c.hills) world.hex(5, 2).terrain = 3;
  if (c.riverSide >= 0) world.hex(5, 3).rivers = static_cast<std::uint8_t>(1u << c.riverSide);
  if (c.cityController) world.AddCity(u"Town", 5, 4, c.cityController);
  std::array<std::uint8_t, 6> flags{};
  flags[1] = flags[2] = 1;
  cCountryAI& ai = world.AiOf(1);
  EXPECT_EQ(ai.ScoreLinePath(path, 6, flags), c.score);
}

INSTANTIATE_TEST_SUITE_P(Paths, ScoreLinePathTest,
                         testing::Values(sScoreCase{5, true, 2, 1, 25}, sScoreCase{6, false, -1, 0, -10},
                                         sScoreCase{5, false, 4, 0, 0}, sScoreCase{5, false, -1, 2, 0},
                                         sScoreCase{7, false, 1, 0, -14}));

// A line between two hexes 5 apart runs through friendly land only, never
// steps away from its goal nor beside the hex it came from, and holds at
// most 8 hexes before the goal. Only the corridor is friendly land; a
// corridor that breaks a rule leaves no line. An own town beside the first
// hex is worth a longer line, but not one that doubles back to reach it. Of
// lines that score the same, the first found is kept.
struct sLineCorridor {
  const char* name;
  std::vector<sPoint> corridor;
  bool townAt61;
  std::vector<sPoint> line;
};

class LinePathRuleTest : public testing::TestWithParam<sLineCorridor> {};

TEST_P(LinePathRuleTest, OnlyCorridorsThatKeepTheRulesMakeALine) {
  const sLineCorridor& c = GetParam();
  test::AiWorld world;
  for (sHex& hex : world.game().map->Hexes()) hex.controller = 0;
  for (const sPoint& hex : c.corridor) world.hex(hex.x, hex.y).controller = 1;
  if (c.townAt61) world.AddCity(u"Town", 6, 1, 1);
  cCountryAI& ai = world.AiOf(1);
  EXPECT_EQ(ai.FindBestLineBetween({5, 1}, {5, 6}, {}), c.line);
}

const std::vector<sPoint> kStraight{{5, 1}, {5, 2}, {5, 3}, {5, 4}, {5, 5}, {5, 6}};
// Two steps that keep the distance to the goal make 7 hexes before it.
const std::vector<sPoint> kSevenBefore{{5, 1}, {6, 1}, {7, 2}, {7, 3}, {7, 4}, {7, 5}, {6, 5}, {5, 6}};
const std::vector<sPoint> kEightBefore{{5, 1}, {6, 1}, {7, 2}, {8, 2}, {8, 3}, {8, 4}, {7, 5}, {6, 5}, {5, 6}};
const std::vector<sPoint> kNineBefore{{5, 1}, {6, 1}, {7, 2}, {8, 2}, {9, 3}, {9, 4}, {8, 4}, {7, 5}, {6, 5}, {5, 6}};
// The second hex lies one further from the goal than the first.
const std::vector<sPoint> kAway{{5, 1}, {6, 0}, {7, 1}, {7, 2}, {7, 3}, {7, 4}, {7, 5}, {6, 5}, {5, 6}};
const std::vector<sPoint> kBack{{5, 1}, {6, 1}, {5, 2}, {5, 3}, {5, 4}, {5, 5}, {5, 6}};
// kSevenBefore and its mirror image to the west: two lines of one score, the
// eastern found first (its first step is direction 2, the western one's 4).
const std::vector<sPoint> kBothSides{{5, 1}, {6, 1}, {7, 2}, {7, 3}, {7, 4}, {7, 5}, {6, 5}, {5, 6},
                                     {4, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}, {4, 5}};

INSTANTIATE_TEST_SUITE_P(
    Corridors, LinePathRuleTest,
    testing::Values(sLineCorridor{"Straight", kStraight, false, kStraight},
                    sLineCorridor{"SevenBefore", kSevenBefore, false, kSevenBefore},
                    sLineCorridor{"EightBefore", kEightBefore, false, kEightBefore},
                    sLineCorridor{"NineBefore", kNineBefore, false, {}},
                    sLineCorridor{"AwayFromTheGoal", kAway, false, {}},
                    sLineCorridor{"DoublingBack", kBack, true, kStraight},
                    sLineCorridor{"TieGoesToTheFirstFound", kBothSides, false, kSevenBefore}),
    [](const testing::TestParamInfo<sLineCorridor>& info) { return std::string(info.param.name); });

TEST(LineCleanUpTest, StraightRowStaysAndCornersGo) {
  test::AiWorld world;
  cMap& map = *world.game().map;
  std::list<sPoint> row{{5, 3}, {5, 4}, {5, 5}};
  CleanLineOfDefence(map, row);
  EXPECT_EQ(row, (std::list<sPoint>{{5, 3}, {5, 4}, {5, 5}}));
  EXPECT_EQ(map.GetFrontNodeMark(5, 4), 3);
  map.ClearFrontNodeMarks();

  // X, its north and its north-west neighbour: each neighbour sees the other
  // two in consecutive directions, X sees them in 0 and 5, which do not count.
  const sPoint x{6, 5};
  const sPoint north = NeighbourPoint(x.x, x.y, 0);
  const sPoint northWest = NeighbourPoint(x.x, x.y, 5);
  ASSERT_EQ(HexDistance(north.x, north.y, northWest.x, northWest.y), 1);
  std::list<sPoint> triangle{x, north, northWest};
  CleanLineOfDefence(map, triangle);
  EXPECT_EQ(triangle, (std::list<sPoint>{x}));
  EXPECT_EQ(map.GetFrontNodeMark(north.x, north.y), 0);
  EXPECT_EQ(map.GetFrontNodeMark(x.x, x.y), 3);
}

TEST(LineCleanUpTest, SpurOffAJunctionGoes) {
  test::AiWorld world;
  cMap& map = *world.game().map;
  // A column with a hex sticking out of its middle to the north-east, and one
  // more beyond it, so the stub is a spur only at its tip.
  const sPoint middle{6, 5};
  const sPoint stub = NeighbourPoint(middle.x, middle.y, 1);
  const sPoint tip = NeighbourPoint(stub.x, stub.y, 1);
  std::list<sPoint> line{{6, 3}, {6, 4}, middle, {6, 6}, {6, 7}, stub, tip};
  CleanLineOfDefence(map, line);
  EXPECT_EQ(std::count(line.begin(), line.end(), tip), 0);
  EXPECT_EQ(std::count(line.begin(), line.end(), middle), 1);
}

// Country 1 holds the west, country 2 the east from column 20, at war.
class LineOfDefenceTest : public testing::Test {
 protected:
  LineOfDefenceTest() {
    for (int y = 0; y < 12; ++y) {
      for (int x = 20; x < 40; ++x) w.world.hex(x, y).controller = 2;
    }
    home = &w.City(u"Home", 8, 8, 1);
    enemy = &w.City(u"Enemy", 30, 8, 2, kCityNormal, 2);
    w.BuildDiagram();
    w.Link(*home, *enemy);
    w.Finish();
    w.world.game().playerControl.worldTopography.ComputeWorldTopography(*w.world.game().map,
                                                                          w.world.game().cities);
  }

  test::PlanWorld w;
  cCity* home = nullptr;
  cCity* enemy = nullptr;
};

TEST_F(LineOfDefenceTest, LineRunsAlongTheBorderOnFriendlyLand) {
  cCountryAI& ai = w.Ai();
  ai.PlanLineOfDefence();

  ASSERT_FALSE(ai.lineOfDefence.empty());
  const cMap& map = *w.world.game().map;
  for (const sPoint& hex : ai.lineOfDefence) {
    EXPECT_TRUE(map.GetHex(hex.x, hex.y)->IsFriendlyTo(w.world.country(1))) << hex.x << "," << hex.y;
    EXPECT_EQ(map.GetFrontNodeMark(hex.x, hex.y), 3);
    // Between the last own lattice column and the first enemy one.
    EXPECT_GE(hex.x, 16);
    EXPECT_LE(hex.x, 20);
  }
  EXPECT_FALSE(w.world.log.Contains(u"Error! Sanity check failed"));

  // The same world draws the same line.
  const std::list<sPoint> first = ai.lineOfDefence;
  ai.PlanLineOfDefence();
  EXPECT_EQ(ai.lineOfDefence, first);
}

// The lattice nodes of column 16 face the enemy at rows 0, 4 and 8; a bay of
// water across row 2 leaves no path between the first two that never turns
// away from its goal.
TEST_F(LineOfDefenceTest, SegmentWithoutFriendlyPathAddsNothing) {
  for (int x = 13; x < 20; ++x) {
    w.world.hex(x, 2).terrain = 0;
    w.world.hex(x, 2).controller = 0;
  }
  cGame& game = w.world.game();
  game.playerControl.worldTopography.ComputeWorldTopography(*game.map, game.cities);
  game.playerControl.worldTopography.BuildNearestCityMap(*game.map, game.cities);
  cCountryAI& ai = w.Ai();
  ai.lineOfDefence = {{1, 1}};
  ai.PlanLineOfDefence();
  ASSERT_FALSE(ai.lineOfDefence.empty());
  for (const sPoint& hex : ai.lineOfDefence) EXPECT_GE(hex.y, 4) << hex.x << "," << hex.y;
  EXPECT_EQ(std::count(ai.lineOfDefence.begin(), ai.lineOfDefence.end(), sPoint{16, 8}), 1);
}

// Between the lattice nodes (16, 4) and (16, 0) the line runs straight down
// column 16 unless rivers make the bend through column 17 worth its extra
// hex. Rivers count on the sides where either end faces the enemy: (16, 4)
// faces it to the north-east and south-east, (16, 0) only to the south-east.
struct sRiverSideCase {
  const char* name;
  int side;  // of the rivers on the bend's first three hexes
  bool bends;
};

class LineRiverSideTest : public LineOfDefenceTest, public testing::WithParamInterface<sRiverSideCase> {};

TEST_P(LineRiverSideTest, RiversCountOnTheSidesEitherEndFaces) {
  const sRiverSideCase& c = GetParam();
  for (const sPoint& hex : {sPoint{17, 4}, sPoint{17, 3}, sPoint{17, 2}}) {
    w.world.hex(hex.x, hex.y).rivers = static_cast<std::uint8_t>(1u << c.side);
  }
  cCountryAI& ai = w.Ai();
  ai.PlanLineOfDefence();

  const auto has = [&ai](sPoint hex) {
    return std::count(ai.lineOfDefence.begin(), ai.lineOfDefence.end(), hex) == 1;
  };
  std::string line;
  for (const sPoint& hex : ai.lineOfDefence) line += std::to_string(hex.x) + "," + std::to_string(hex.y) + " ";
  EXPECT_EQ(has({17, 3}), c.bends) << line;
  EXPECT_EQ(has({16, 2}), !c.bends) << line;
}

INSTANTIATE_TEST_SUITE_P(Sides, LineRiverSideTest,
                         testing::Values(sRiverSideCase{"NorthFacedByNeither", 0, false},
                                         sRiverSideCase{"NorthEastFacedByOneEnd", 1, true},
                                         sRiverSideCase{"SouthEastFacedByBoth", 2, true}),
                         [](const testing::TestParamInfo<sRiverSideCase>& info) { return std::string(info.param.name); });

enum eOntoLineCase { kOntoLine, kOnStrongFort, kNoFreeLineHex };

class OntoLineTest : public LineOfDefenceTest, public testing::WithParamInterface<eOntoLineCase> {};

TEST_P(OntoLineTest, ReinforcementTakesTheLineNearItsTarget) {
  const eOntoLineCase c = GetParam();
  cCountryAI& ai = w.Ai();
  cMap& map = *w.world.game().map;
  // A line down column 14; the target city stands just behind it.
  cCity& target = w.City(u"Target", 15, 8, 1);
  std::list<sPoint> line;
  for (int y = 3; y <= 10; ++y) line.push_back({14, y});
  map.ClearFrontNodeMarks();
  ai.lineOfDefence = line;
  for (const sPoint& hex : line) map.SetFrontNodeMark(hex.x, hex.y, 3);
  if (c == kNoFreeLineHex) {
    for (const sPoint& hex : line) w.world.AddLand(1, hex.x, hex.y);
  }
  cJednostkaLadowa& unit = w.Unit(9, 8, *home, kInfantryDivision, 100, 8);
  if (c == kOnStrongFort) w.world.hex(9, 8).fortLevel = 6;
  unit.SetAiOrder(kAiOrderReinforce, target.x, target.y, 0);
  ai.BuildUnitLists();

  ai.MoveUnitsToLineOfDefence();

  switch (c) {
    case kOntoLine:
      EXPECT_EQ(unit.aiOrder, kAiOrderStay);
      EXPECT_EQ(map.GetFrontNodeMark(unit.x, unit.y), 3);
      EXPECT_EQ(unit.x, 14);
      EXPECT_EQ(HexDistance(unit.x, unit.y, target.x, target.y), 1);
      break;
    case kOnStrongFort:
      EXPECT_EQ(unit.aiOrder, kAiOrderReinforce);
      EXPECT_EQ(unit.x, 9);
      break;
    case kNoFreeLineHex:
      EXPECT_EQ(unit.aiOrder, kAiOrderStay);
      EXPECT_LT(HexDistance(unit.x, unit.y, target.x, target.y), HexDistance(9, 8, target.x, target.y));
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, OntoLineTest, testing::Values(kOntoLine, kOnStrongFort, kNoFreeLineHex));

}  // namespace
}  // namespace tr
