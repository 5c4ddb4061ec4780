#include <gtest/gtest.h>

#include "foundation/fatal.h"
#include "support/log_capture.h"
#include "world/map.h"

namespace tr {
namespace {

// Every hex land controlled by country 1.
void ControlAll(cMap& map) {
  for (sHex& hex : map.Hexes()) {
    hex.terrain = 1;
    hex.controller = 1;
  }
}

TEST(FrontNodes, LatticeOfDistanceFour) {
  cMap map(10, 10);
  ControlAll(map);
  map.GetHex(4, 6)->terrain = 0;     // sea is skipped
  map.GetHex(8, 8)->controller = 0;  // so is a hex without controller
  const std::vector<sPoint> expected = {{0, 0}, {0, 4}, {0, 8}, {4, 2}, {8, 0}, {8, 4}};
  EXPECT_EQ(map.SetFrontNodeDistance(4), expected);
}

TEST(FrontNodes, SameDistanceBuildsOnce) {
  cMap map(10, 10);
  ControlAll(map);
  EXPECT_EQ(map.SetFrontNodeDistance(4).size(), 8u);
  map.SetFrontNodeMark(4, 2, 3);
  EXPECT_EQ(map.SetFrontNodeDistance(4).size(), 8u);
  EXPECT_EQ(map.GetFrontNodeMark(4, 2), 3);  // no rebuild, so the marks stay
  EXPECT_EQ(map.SetFrontNodeDistance(5).size(), 4u);  // x 0, 5; y 0, 5 and 3, 8
  EXPECT_EQ(map.GetFrontNodeMark(4, 2), 0);
}

TEST(FrontNodes, ErrorsThrowTheirTexts) {
  cMap map(4, 4);
  try {
    map.GetFrontNodeNeighbour(0, 0, 0);
    FAIL();
  } catch (const cMapError& e) {
    EXPECT_STREQ(e.what(), "Error, nieustawiona odlegloscWezlowFrontowych");
  }
  try {
    map.SetFrontNodeDistance(2);
    FAIL();
  } catch (const cMapError& e) {
    EXPECT_STREQ(e.what(), "Blad! Pozadana odleglosc wezlow frontowych musi byc wieksza od 2");
  }
  map.SetFrontNodeDistance(3);
  EXPECT_THROW(map.GetFrontNodeNeighbour(0, 0, 6), cMapError);
  EXPECT_THROW(cMap().CreateFrontNodeGrid(), cMapError);
}

TEST(FrontNodes, RunMapOperationLogsAndEndsTheProgram) {
  cMap map(4, 4);
  test::LogCapture log;
  try {
    RunMapOperation([&] { return map.SetFrontNodeDistance(1).size(); });
    FAIL();
  } catch (const FatalExitError& e) {
    EXPECT_EQ(e.code(), 1);
  }
  EXPECT_TRUE(log.Contains(u"Blad! Pozadana odleglosc wezlow frontowych musi byc wieksza od 2"));
  EXPECT_EQ(RunMapOperation([&] { return map.SetFrontNodeDistance(3).size(); }), 0u);
}

struct NodeStep {
  sPoint from;
  int distance;
  int direction;
  sPoint to;
};

void PrintTo(const NodeStep& s, std::ostream* os) {
  *os << "(" << s.from.x << "," << s.from.y << ") D" << s.distance << " d" << s.direction;
}

class FrontNodeNeighbour : public testing::TestWithParam<NodeStep> {};

TEST_P(FrontNodeNeighbour, Step) {
  const NodeStep& s = GetParam();
  cMap map(20, 20);
  map.SetFrontNodeDistance(s.distance);
  EXPECT_EQ(map.GetFrontNodeNeighbour(s.from.x, s.from.y, s.direction), s.to);
}

INSTANTIATE_TEST_SUITE_P(
    EvenAndOddColumns, FrontNodeNeighbour,
    testing::Values(NodeStep{{8, 8}, 4, 0, {8, 4}}, NodeStep{{8, 8}, 4, 1, {12, 6}},
                    NodeStep{{8, 8}, 4, 2, {12, 10}}, NodeStep{{8, 8}, 4, 3, {8, 12}},
                    NodeStep{{8, 8}, 4, 4, {4, 10}}, NodeStep{{8, 8}, 4, 5, {4, 6}},
                    NodeStep{{8, 8}, 3, 1, {11, 7}}, NodeStep{{8, 8}, 3, 2, {11, 10}},
                    NodeStep{{9, 8}, 3, 1, {12, 6}}, NodeStep{{9, 8}, 3, 4, {6, 9}},
                    NodeStep{{9, 8}, 3, 5, {6, 6}}));

TEST(FrontNodes, MarksIgnoreCoordinatesOffTheMap) {
  cMap map(10, 10);
  ControlAll(map);
  map.SetFrontNodeMark(-1, 0, 7);
  map.SetFrontNodeMark(10, 10, 7);
  EXPECT_EQ(map.GetFrontNodeMark(-1, 0), 0);
  map.SetFrontNodeMark(9, 9, 2);
  map.ClearFrontNodeMarks();
  EXPECT_EQ(map.GetFrontNodeMark(9, 9), 0);
}

}  // namespace
}  // namespace tr
