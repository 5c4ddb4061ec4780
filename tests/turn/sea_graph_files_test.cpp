// "sea_nodes.csv" and "sea_edges.csv": what the readers take, mark and refuse,
// and what the writer puts back.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"
#include "turn/sea_graph.h"

namespace tr {
namespace {

constexpr char kNodesHeader[] =
    "#ID;Name (seas only);Size max (0-sea / 1 to 9-port);Size current;Hex X (city hex X for ports);Hex Y (city hex "
    "Y for ports);Player unit hex X;Player unit hex Y;Enemy unit hex X;Enemy unit hex Y";

// The game folder lives in a temporary folder for the whole test, the game's
// teardown (which saves the settings) included.
struct RootGuard {
  explicit RootGuard(const std::filesystem::path& root) { SetGameRoot(root); }
  ~RootGuard() { SetGameRoot({}); }
};

class SeaGraphFilesTest : public testing::Test {
 protected:
  SeaGraphFilesTest() : root_(dir_.path()), world_(10, 10, 2) {
    AddCity(u"Brest", 2, 2, kCityPort);
    AddCity(u"Paris", 5, 5, kCityNormal);
  }

  void AddCity(std::u16string name, int x, int y, int type) {
    auto city = std::make_unique<cCity>();
    city->name = std::move(name);
    city->x = x;
    city->y = y;
    city->type = type;
    world_.hex(x, y).city = city.get();
    world_.game().cities.push_back(std::move(city));
  }
  void WriteNodes(const std::string& rows) { dir_.Write("data/scenarios/S/sea_nodes.csv", rows); }
  void WriteEdges(const std::string& rows) { dir_.Write("data/scenarios/S/sea_edges.csv", rows); }
  void LoadNodes() { graph().LoadNodes(world_.game(), u"data\\scenarios\\S\\%s"); }
  int FatalCode(const std::function<void()>& action) {
    try {
      action();
    } catch (const FatalExitError& e) {
      return e.code();
    }
    return -1;
  }
  cSeaGraph& graph() { return world_.game().seaGraph; }

  test::TempDir dir_;
  RootGuard root_;
  test::TestWorld world_;
};

TEST_F(SeaGraphFilesTest, NodesLoadWithTheirHexesMarked) {
  WriteNodes(std::string(kNodesHeader) +
             "\r\n1;North Sea;0;0;7;1;7;2;8;2;"
             "\r\n2;-;3;5;2;2;3;2;3;3;"  // current above max, name from the city
             "\r\n3;Closed;4;0;6;6;6;7;6;8;"
             "\r\n#4;comment;0;0;0;0;0;0;0;0;"
             "\r\n9;short;0;0;"
             "\r\n");
  test::LogCapture log;
  LoadNodes();
  EXPECT_EQ(log.lines().front(), u"Otwieram plik z wezlami akwen\u010f\u017c\u02ddw morskich ze sciezka...");
  EXPECT_TRUE(log.Contains(u"data\\scenarios\\S\\sea_nodes.csv"));
  EXPECT_TRUE(log.Contains(u"Otwarcie OK"));
  ASSERT_EQ(graph().NodeCount(), 3);
  EXPECT_EQ(SeaGraphAccess(), &graph());  // the map rules now see it
  const sWezelGrafuMorz& sea = graph().GetNode(0);
  EXPECT_EQ(sea.type, kSeaNodeOpenSea);
  EXPECT_EQ(sea.name, u"North Sea");
  const sWezelGrafuMorz& port = graph().GetNode(1);
  EXPECT_EQ(port.type, kSeaNodePort);
  EXPECT_EQ(port.name, u"Brest");
  EXPECT_EQ(port.maxPortSize, 3);
  EXPECT_EQ(port.portSize, 3);
  EXPECT_EQ(graph().GetNode(2).type, kSeaNodeOpenSea);  // a port whose current size is 0
  EXPECT_EQ(graph().GetNode(2).maxPortSize, 4);

  EXPECT_EQ(world_.hex(7, 1).seaNodeMarker, 1);
  EXPECT_EQ(world_.hex(7, 2).seaNodeMarker, 1);
  EXPECT_EQ(world_.hex(7, 2).seaZone, 0);  // sea zones keep the map's numbers
  EXPECT_EQ(world_.hex(2, 2).seaNodeMarker, 2);
  EXPECT_EQ(world_.hex(3, 2).seaZone, 2);  // a port's marker hexes join its zone
  EXPECT_EQ(world_.hex(3, 3).seaZone, 2);
}

TEST_F(SeaGraphFilesTest, HexesOffTheMapAreWarnedAboutAndLeftAlone) {
  WriteNodes("1;Far;0;0;70;1;1;70;-1;2;\r\n2;-;2;2;2;2;3;2;3;3;");
  test::LogCapture log;
  LoadNodes();
  EXPECT_TRUE(log.Contains(u"WARNING. Main hex for sea node Far (ID=1) is placed outside the map!"));
  EXPECT_TRUE(log.Contains(u"WARNING. Player unit in sea node Far (ID=1) is placed outside the map!"));
  EXPECT_TRUE(log.Contains(u"WARNING. Enemy unit in sea node Far (ID=1) is placed outside the map!"));
  EXPECT_EQ(world_.hex(0, 0).seaNodeMarker, 0);
  EXPECT_EQ(graph().NodeCount(), 2);
}

TEST_F(SeaGraphFilesTest, NodeNumberOutOfOrderIsFatal) {
  WriteNodes("1;A;0;0;7;1;7;2;8;2;\r\n3;-;2;2;2;2;3;2;3;3;");
  test::LogCapture log;
  EXPECT_EQ(FatalCode([&] { LoadNodes(); }), 1);
  EXPECT_TRUE(log.Contains(u"ERROR. Sea node 2 has ID=3 (should be equal!)"));
}

TEST_F(SeaGraphFilesTest, EveryPortCityWithoutANodeIsNamedThenFatal) {
  AddCity(u"Calais", 4, 1, kCitySupplyPort);
  WriteNodes("1;A;0;0;7;1;7;2;8;2;");
  test::LogCapture log;
  EXPECT_EQ(FatalCode([&] { LoadNodes(); }), 1);
  EXPECT_TRUE(log.Contains(u"ERROR. There is no sea node for port city Brest (2, 2)"));
  EXPECT_TRUE(log.Contains(u"ERROR. There is no sea node for port city Calais (4, 1)"));
  EXPECT_FALSE(log.ContainsText(u"Paris"));
}

TEST_F(SeaGraphFilesTest, MissingNodeFileIsFatal) {
  test::LogCapture log;
  EXPECT_EQ(FatalCode([&] { LoadNodes(); }), 1);
  EXPECT_TRUE(log.Contains(u"Blad otwarcia pliku! (nie istnieje?)"));
}

TEST_F(SeaGraphFilesTest, EdgesAreDirectedAndBadOnesSkipped) {
  WriteNodes("1;A;0;0;7;1;7;2;8;2;\r\n2;-;2;2;2;2;3;2;3;3;\r\n3;B;0;0;8;8;8;7;8;6;");
  LoadNodes();
  WriteEdges(
      "#From;To;Hex X;Hex Y\r\n"
      "1;2;-1;-1;\r\n"
      "2;3;4;4;extra\n"
      "1;2\r\n"         // too short to be an edge
      "\r\n"            // empty, yet counted
      "3;1;-1\r\n"      // three fields
      "4;1;-1;-1;\r\n"  // no node 4
      "1;0;-1;-1;\r\n"
      "3;1;40;4;\r\n"  // strait off the map
      "3;2;-1;-1\r\n"
      "1;3;;");  // 5 characters: too short as well
  test::LogCapture log;
  graph().LoadEdges(u"S");
  EXPECT_EQ(log.lines().front(), u"Otwieram plik z lukami akwen\u010f\u017c\u02ddw morskich ze sciezka...");
  ASSERT_EQ(graph().GetNode(0).edges.size(), 1u);
  EXPECT_EQ(graph().GetNode(0).edges[0].toNode, 2);
  EXPECT_EQ(graph().GetNode(0).edges[0].passageX, -1);
  ASSERT_EQ(graph().GetNode(1).edges.size(), 1u);
  EXPECT_EQ(graph().GetNode(1).edges[0].passageX, 4);
  EXPECT_EQ(graph().GetNode(1).edges[0].passageY, 4);
  ASSERT_EQ(graph().GetNode(2).edges.size(), 2u);
  EXPECT_EQ(graph().GetNode(2).edges[1].toNode, 2);
  EXPECT_TRUE(log.ContainsText(u"Sea edge at line 6 of data\\scenarios\\S\\sea_edges.csv has fewer than 4 fields"));
  EXPECT_TRUE(log.ContainsText(u"Sea edge from node 4 to node 1 at line 7"));
  EXPECT_TRUE(log.ContainsText(u"Sea edge from node 1 to node 0 at line 8"));
  EXPECT_TRUE(log.ContainsText(u"passage hex (40, 4) outside the map"));
  // The comment, the short lines and the empty one are skipped without a word.
  for (const char16_t* line : {u"at line 1 of", u"at line 4 of", u"at line 5 of", u"at line 11 of"}) {
    EXPECT_FALSE(log.ContainsText(line));
  }
}

TEST_F(SeaGraphFilesTest, MissingEdgeFileIsFatal) {
  test::LogCapture log;
  EXPECT_EQ(FatalCode([&] { graph().LoadEdges(u"S"); }), 1);
  EXPECT_TRUE(log.Contains(u"Blad otwarcia pliku! (nie istnieje?)"));
}

TEST_F(SeaGraphFilesTest, WrittenNodesReadBackTheSame) {
  WriteNodes("1;Skagerrak;0;0;7;1;7;2;8;2;\r\n2;-;3;2;2;2;3;2;3;3;");
  LoadNodes();
  graph().GetNode(1).portSize = 1;
  dir_.Write("data/save/G/.keep", "");
  ASSERT_TRUE(WriteSeaNodes(graph(), u"data\\save\\G"));
  const std::string written = dir_.Read("data/save/G/sea_nodes.csv");
  EXPECT_EQ(written, std::string(kNodesHeader) + "\r\n1;Skagerrak;0;0;7;1;7;2;8;2;\r\n2;Brest;3;1;2;2;3;2;3;3;");

  cSeaGraph before = graph();
  graph().LoadNodes(world_.game(), u"data\\save\\G\\%s");
  ASSERT_EQ(graph().NodeCount(), before.NodeCount());
  for (int i = 0; i < graph().NodeCount(); ++i) {
    const sWezelGrafuMorz& a = before.GetNode(i);
    const sWezelGrafuMorz& b = graph().GetNode(i);
    EXPECT_EQ(std::tie(a.id, a.type, a.name, a.maxPortSize, a.portSize, a.x, a.y, a.playerMarkerX, a.playerMarkerY,
                       a.enemyMarkerX, a.enemyMarkerY),
              std::tie(b.id, b.type, b.name, b.maxPortSize, b.portSize, b.x, b.y, b.playerMarkerX, b.playerMarkerY,
                       b.enemyMarkerX, b.enemyMarkerY));
  }
  EXPECT_FALSE(WriteSeaNodes(graph(), u"data\\save\\Missing"));
}

}  // namespace
}  // namespace tr
