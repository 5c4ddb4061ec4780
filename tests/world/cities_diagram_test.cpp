#include <gtest/gtest.h>

#include "foundation/fatal.h"
#include "support/log_capture.h"
#include "world/cities_diagram.h"
#include "world/city_rules.h"
#include "world/headless_presentation.h"
#include "rules_fixture.h"

namespace tr {
namespace {

// Cities A..D on (0..3, 0), a resource site on (4, 0) and E on (5, 0); edges
// A->B->C of kind 0, C->D of kind 1 only, E->A of kind 0, and one from the
// resource site.
constexpr char kDiagram[] =
    "# x1;y1;x2;y2;kind\r\n"
    "ab\r\n"
    "0;0;1;0;0\r\n"
    "1;0;2;0;0;extra\r\n"
    "2;0;3;0;1\r\n"
    "4;0;0;0;0\r\n"
    "5;0;0;0;0\r\n";

class CitiesDiagram : public testing::Test {
 protected:
  CitiesDiagram() : world(6, 2, 3) {
    test::HoldAll(world, 1);
    for (int x = 0; x < 6; ++x) cities[x] = &test::AddCity(world, x, 0, x == 4 ? kCityResources : kCityNormal);
    diagram.Build(world.game().cities);
  }
  void Load(std::string_view text) {
    root.dir().Write("data/scenarios/Test/cities_diagram.csv", text);
    diagram.Load(&world.map(), u"Test");
    for (const auto& city : world.game().cities) ComputeHopDistances(*city, diagram);
  }

  cHeadlessPresentation screen;
  ScopedPresentation scoped{screen};
  test::TempGameRoot root;
  test::TestWorld world;
  cCity* cities[6] = {};
  cCitiesDiagram diagram;
};

TEST_F(CitiesDiagram, BuildSkipsResourceSites) {
  EXPECT_EQ(diagram.NodeCount(), 5);
  EXPECT_EQ(cities[3]->diagramNode, 3);
  EXPECT_EQ(cities[4]->diagramNode, -1);
  EXPECT_EQ(cities[5]->diagramNode, 4);
  // No hops are counted before the diagram's edges are read.
  EXPECT_EQ(GetHopsTo(*cities[0], *cities[3]), -1);
}

TEST_F(CitiesDiagram, HopCountsFollowKindZeroEdgesOnly) {
  Load(kDiagram);
  EXPECT_EQ(cities[0]->hopCounts, (std::vector<int>{0, 1, 2, -1, -1}));
  EXPECT_EQ(cities[5]->hopCounts, (std::vector<int>{1, 2, 3, -1, 0}));
  // D is reached by no kind-0 edge: -1 everywhere but in its own table.
  EXPECT_EQ(cities[3]->hopCounts, (std::vector<int>{-1, -1, -1, 0, -1}));
  EXPECT_EQ(GetHopsTo(*cities[0], *cities[2]), 2);
  EXPECT_EQ(GetHopsTo(*cities[0], *cities[4]), -1);  // a resource site has no node
}

TEST_F(CitiesDiagram, PathRunsFromGoalBackWithoutStart) {
  Load(kDiagram);
  std::list<cCity*> path;
  ASSERT_TRUE(diagram.FindPath(cities[0], cities[2], 1, path));
  EXPECT_EQ(path, (std::list<cCity*>{cities[2], cities[1]}));
  ASSERT_TRUE(diagram.FindPath(cities[0], cities[1], 1, path));
  EXPECT_EQ(path, (std::list<cCity*>{cities[1]}));
}

TEST_F(CitiesDiagram, PathFailsThroughNeutralCityOrOverKindOneEdges) {
  Load(kDiagram);
  std::list<cCity*> path;
  EXPECT_FALSE(diagram.FindPath(cities[0], cities[3], 1, path));
  world.hex(1, 0).controller = 2;  // a neutral holds B
  EXPECT_FALSE(diagram.FindPath(cities[0], cities[2], 1, path));
  EXPECT_TRUE(path.empty());
  EXPECT_FALSE(diagram.FindPath(cities[0], nullptr, 1, path));
}

TEST_F(CitiesDiagram, KindOneNeighbourCountsWhenAllied) {
  Load(kDiagram);
  world.country(1).alliance = kAllies;
  world.country(3).alliance = kAlliesLeader;
  world.hex(3, 0).controller = 3;
  EXPECT_TRUE(diagram.HasAlliedNeighbourOfKind1(2, 1));
  world.hex(3, 0).controller = 2;
  EXPECT_FALSE(diagram.HasAlliedNeighbourOfKind1(2, 1));
  EXPECT_FALSE(diagram.HasAlliedNeighbourOfKind1(0, 1));  // A has no kind-1 edge
}

struct BadLineCase {
  const char* name;
  const char* line;
  const char16_t* message;
  const char16_t* named;  // the line that names the file and what was expected
};

class CitiesDiagramBadLine : public CitiesDiagram, public testing::WithParamInterface<BadLineCase> {};

TEST_P(CitiesDiagramBadLine, IsFatalWithTheFileLineNumber) {
  const std::string text = std::string("# comment\r\nx\r\n0;0;1;0;0\r\n") + GetParam().line + "\r\n";
  for (const int loaded : {0, 1}) {
    world.game().loadedGame = loaded;
    test::LogCapture log;
    EXPECT_THROW(Load(text), FatalExitError);
    EXPECT_TRUE(log.ContainsText(GetParam().message));
    EXPECT_TRUE(log.ContainsText(GetParam().named)) << GetParam().name;
    // Only a saved game's cities come from its own table, which is named.
    EXPECT_EQ(log.ContainsText(u"which the scenario's data\\scenarios\\Test\\cities_diagram.csv links (cut short?)"),
              loaded == 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CitiesDiagramBadLine,
    testing::Values(
        BadLineCase{"OffTheMap", "9;9;0;0;0", u"critical_error_at_line_4._no_city_at_given_coordinates",
                    u"ERROR: data\\scenarios\\Test\\cities_diagram.csv at line 4 (counting from 1) links hex (9, 9), "
                    u"where a city was expected; none is there. Exiting..."},
        BadLineCase{"NegativeIsNotHexZero", "-1;0;1;0;0", u"critical_error_at_line_4.", u"links hex (-1, 0), where"},
        BadLineCase{"NoCity", "0;1;1;0;0", u"critical_error_at_line_4.", u"links hex (0, 1), where"}),
    [](const auto& info) { return std::string(info.param.name); });

// A city that an event made a resource site keeps its links in the file; the
// link to it adds nothing, as one from it, and the load goes on.
TEST_F(CitiesDiagram, LinkToAResourceSiteIsLeftOut) {
  test::LogCapture log;
  Load("0;0;4;0;0\r\n0;0;1;0;0\r\n");
  EXPECT_EQ(diagram.GetNode(0)->edges.size(), 1u);
  EXPECT_TRUE(log.Contains(u"WARNING: data\\scenarios\\Test\\cities_diagram.csv at line 1 (counting from 1) links the "
                           u"resource site CityE, which has no place in the diagram; the link is left out"));
}

TEST_F(CitiesDiagram, MissingFileIsFatal) {
  test::LogCapture log;
  EXPECT_THROW(diagram.Load(&world.map(), u"Nowhere"), FatalExitError);
  EXPECT_TRUE(log.Contains(u"Blad otwarcia pliku! (nie istnieje?)"));
}

TEST_F(CitiesDiagram, ShortLineSkippedAndResetClearsMarks) {
  Load("0;0;1;0;0\r\n1;\r\n");
  diagram.GetNode(0)->visited = 1;
  diagram.GetNode(0)->ownUnitCount = 5;
  diagram.GetNode(0)->stats.landEnemy = 2.5f;
  diagram.ResetNodes();
  EXPECT_EQ(diagram.GetNode(0)->visited, 0);
  EXPECT_EQ(diagram.GetNode(0)->ownUnitCount, 0);
  EXPECT_EQ(diagram.GetNode(0)->stats.landEnemy, 0.0f);
  EXPECT_EQ(diagram.GetNode(0)->edges.size(), 1u);
  EXPECT_EQ(diagram.GetNode(9), nullptr);
}

}  // namespace
}  // namespace tr
