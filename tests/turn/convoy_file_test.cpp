// "convoys.csv": convoys found again by their port nodes, refused when a node
// or its port is missing, and written back as read.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"
#include "scenario/saved_fields.h"
#include "turn/convoy.h"

namespace tr {
namespace {

constexpr char kHeader[] =
    "#Convoys\r\n#ID;Owner ID;Type [0=supplies 1=PP];Value (PP amount);Departure port ID;Destination port ID;";

struct RootGuard {
  explicit RootGuard(const std::filesystem::path& root) { SetGameRoot(root); }
  ~RootGuard() { SetGameRoot({}); }
};

// Nodes: 1 the port of Brest (size 4 of 5), 2 open sea, 3 the port of Dover,
// 4 a port node whose hex holds no city.
class ConvoyFileTest : public testing::Test {
 protected:
  ConvoyFileTest() : root_(dir_.path()), world_(10, 10, 2) {
    brest_ = AddCity(u"Brest", 1, 1);
    dover_ = AddCity(u"Dover", 3, 3);
    AddNode(kSeaNodePort, 1, 1, 4);
    AddNode(kSeaNodeOpenSea, 2, 2, 0);
    AddNode(kSeaNodePort, 3, 3, 2);
    AddNode(kSeaNodePort, 5, 5, 1);
    game().convoys.Reset(2);
    dir_.Write("data/save/G/.keep", "");
  }

  cCity* AddCity(std::u16string name, int x, int y) {
    auto city = std::make_unique<cCity>();
    city->name = std::move(name);
    city->x = x;
    city->y = y;
    city->type = kCityPort;
    world_.hex(x, y).city = city.get();
    game().cities.push_back(std::move(city));
    return game().cities.back().get();
  }
  void AddNode(int type, int x, int y, int size) {
    sWezelGrafuMorz node;
    node.id = game().seaGraph.NodeCount() + 1;
    node.type = type;
    node.x = x;
    node.y = y;
    node.maxPortSize = 5;
    node.portSize = size;
    world_.hex(x, y).seaNodeMarker = static_cast<std::uint16_t>(node.id);
    game().seaGraph.nodes.push_back(node);
  }
  void Load(const std::string& rows) {
    dir_.Write("data/save/G/convoys.csv", std::string(kHeader) + rows);
    // A save's fields are checked first, as its load does.
    if (game().loadedGame == 1) CheckSavedTables(u"data\\save\\G\\%s");
    game().convoys.Load(game(), u"data\\save\\G\\%s");
  }
  cGame& game() { return world_.game(); }

  test::TempDir dir_;
  RootGuard root_;
  test::TestWorld world_;
  cCity* brest_ = nullptr;
  cCity* dover_ = nullptr;
};

TEST_F(ConvoyFileTest, ConvoysFindTheirPortCities) {
  test::LogCapture log;
  Load("\r\n7;2;1;30;1;3;\r\n8;2;0;0;3;1;\r\n9;1;0;5;1;3;\r\n10;1;0\r\n");
  EXPECT_EQ(log.lines().front(), u"Otwieram plik z miastami ze sciezka...");
  EXPECT_TRUE(log.Contains(u"Otwarcie OK"));
  EXPECT_TRUE(log.ContainsText(u"has fewer than 6 fields"));
  ASSERT_EQ(game().convoys.ConvoysOf(1).size(), 1u);
  const auto& second = game().convoys.ConvoysOf(2);
  ASSERT_EQ(second.size(), 2u);
  EXPECT_EQ(second[0].id, 7);
  EXPECT_EQ(second[0].owner, 2);
  EXPECT_EQ(second[0].kind, kConvoyResources);
  EXPECT_EQ(second[0].amount, 30);
  EXPECT_EQ(second[0].departure, brest_);
  EXPECT_EQ(second[0].destination, dover_);
  EXPECT_EQ(second[0].portSize, 4);
  EXPECT_EQ(second[1].departure, dover_);
  EXPECT_EQ(game().convoys.HighestId(), 9);
}

struct BadConvoyCase {
  const char* name;
  const char* row;
  const char16_t* line;
};
class ConvoyFileError : public ConvoyFileTest, public testing::WithParamInterface<BadConvoyCase> {};

TEST_P(ConvoyFileError, IsFatal) {
  test::LogCapture log;
  try {
    Load(GetParam().row);
    ADD_FAILURE() << "loaded";
  } catch (const FatalExitError& e) {
    EXPECT_EQ(e.code(), 1);
  }
  EXPECT_TRUE(log.Contains(GetParam().line));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ConvoyFileError,
    testing::Values(
        BadConvoyCase{"NoDepartureNode", "\r\n5;1;0;0;9;3;",
                      u"ERROR: Convoy with ID=5 has departure sea node with ID=9, there's no such sea node!"},
        BadConvoyCase{"NoDestinationNode", "\r\n5;1;0;0;1;0;",
                      u"ERROR: Convoy with ID=5 has destination sea node with ID=0, there's no such sea node!"},
        BadConvoyCase{"DepartureAtSea", "\r\n5;1;0;0;2;3;",
                      u"ERROR: Convoy with ID=5 has departure sea node with ID=2, there's no port city for this sea "
                      u"node!"},
        BadConvoyCase{"DestinationWithoutCity", "\r\n5;1;0;0;1;4;",
                      u"ERROR: Convoy with ID=5 has destination sea node with ID=4, there's no port city for this sea "
                      u"node!"},
        BadConvoyCase{"UnknownOwner", "\r\n5;3;0;0;1;3;",
                      u"ERROR: Convoy with ID=5 has owner with ID=3, there's no such country!"}),
    [](const auto& info) { return std::string(info.param.name); });

struct IdCase {
  const char* name;
  const char* id;
  bool kept;
};
class ConvoyFileId : public ConvoyFileTest, public testing::WithParamInterface<IdCase> {};

// A convoy number outside 0..999999999 skips its row with a warning; the
// rows around it load.
TEST_P(ConvoyFileId, OutOfRangeSkipsTheRow) {
  test::LogCapture log;
  Load(std::string("\r\n") + GetParam().id + ";1;0;5;1;3;\r\n4;2;0;5;3;1;");
  ASSERT_EQ(game().convoys.ConvoysOf(2).size(), 1u);
  EXPECT_EQ(game().convoys.ConvoysOf(1).size(), GetParam().kept ? 1u : 0u);
  EXPECT_EQ(log.ContainsText(u"Convoy ID"), !GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(Ids, ConvoyFileId,
                         testing::Values(IdCase{"BelowZero", "-1", false}, IdCase{"Zero", "0", true},
                                         IdCase{"Highest", "999999999", true},
                                         IdCase{"AboveHighest", "1000000000", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConvoyFileTest, MissingFileIsFatal) {
  test::LogCapture log;
  EXPECT_THROW(game().convoys.Load(game(), u"data\\save\\None\\%s"), FatalExitError);
  EXPECT_TRUE(log.Contains(u"Blad otwarcia pliku! (nie istnieje?)"));
}

TEST_F(ConvoyFileTest, WrittenConvoysReadBackTheSame) {
  ASSERT_TRUE(WriteConvoys(game(), u"data\\save\\G"));
  EXPECT_EQ(dir_.Read("data/save/G/convoys.csv"), kHeader);  // no convoys: the header only

  const std::string rows = "\r\n9;1;0;5;1;3;\r\n7;2;1;30;1;3;\r\n8;2;0;0;3;1;";
  Load(rows);
  ASSERT_TRUE(WriteConvoys(game(), u"data\\save\\G"));
  EXPECT_EQ(dir_.Read("data/save/G/convoys.csv"), std::string(kHeader) + rows);
}

// A saved convoy row is read as the game writes it and comes back byte for
// byte; an empty field (which would shift the rest), text, a field past the
// row or a value out of its range is refused naming the line and the field.
TEST_F(ConvoyFileTest, ASavesConvoysAreReadAsTheGameWritesThem) {
  game().loadedGame = 1;
  const std::string rows = "\r\n9;1;0;5;1;3;\r\n7;2;1;1000000;1;3;\r\n0;2;0;0;3;1;";
  {
    // A line of blanks between rows is no row.
    test::LogCapture log;
    Load("\r\n9;1;0;5;1;3;\r\n   \r\n7;2;1;30;1;3;");
    EXPECT_FALSE(log.ContainsText(u"ERROR"));
    EXPECT_EQ(game().convoys.ConvoysOf(1).size() + game().convoys.ConvoysOf(2).size(), 2u);
  }
  // Separators past a row's last value hold none: the row loads as written.
  std::string trailing = rows;
  trailing.insert(trailing.find("\r\n7;"), ";");
  for (const std::string& text : {rows, trailing}) {
    test::LogCapture log;
    Load(text);
    EXPECT_FALSE(log.ContainsText(u"WARNING")) << text;
    ASSERT_TRUE(WriteConvoys(game(), u"data\\save\\G"));
    EXPECT_EQ(dir_.Read("data/save/G/convoys.csv"), std::string(kHeader) + rows) << text;
  }
  for (const auto& [row, what] :
       {std::pair{"9;1;;5;1;3;", u"has field 3 (Type) empty, where the game writes a whole number from 0 to 1;"},
        std::pair{"9;1x;0;5;1;3;", u"has \"1x\" in field 2 (Owner ID), where the game writes a whole number from 1 to 255;"},
        std::pair{"9;1;0;5;1;3;4;", u"has more than the 6 fields of a row;"},
        std::pair{"9;1;0;1000001;1;3;", u"has \"1000001\" in field 4 (Value), where the game writes a whole number from 0 to 1000000;"},
        std::pair{"-1;1;0;5;1;3;", u"has \"-1\" in field 1 (ID), where the game writes a whole number from 0 to 999999999;"},
        std::pair{"9;1;99999;5;1;3;", u"has \"99999\" in field 3 (Type), where the game writes a whole number from 0 to 1;"},
        std::pair{"9;1;-1;5;1;3;", u"has \"-1\" in field 3 (Type)"},
        std::pair{"9;1; 0;5;1;3;", u"has \" 0\" in field 3 (Type)"},
        std::pair{"9;1;0;5;1;3 ;", u"has \"3 \" in field 6 (Destination port ID)"},
        std::pair{"8;2;0;5;1;3;", u"repeats the line with field 1 (ID) 8, first at line 3, where the game writes one line for each"}}) {
    test::LogCapture log;
    EXPECT_THROW(Load("\r\n8;1;0;5;1;3;\r\n" + std::string(row)), FatalExitError) << row;
    EXPECT_TRUE(log.ContainsText(u"convoys.csv at line 4 (counting from 1) " + std::u16string(what))) << row;
  }
}

// A scenario's convoy of a kind the game knows none of carries production
// points, as the rules read it, and one whose number an earlier convoy holds
// takes the lowest free number; each is logged, and the convoys load and are
// written back as the game's own.
TEST_F(ConvoyFileTest, AScenariosUnknownKindAndRepeatedNumberAreMended) {
  test::LogCapture log;
  Load("\r\n2;1;0;5;1;3;\r\n1;1;7;5;1;3;\r\n2;2;-1;6;3;1;\r\n2;2;0;4;3;1;");
  EXPECT_TRUE(log.ContainsText(u"convoy 1 at line 4 of data\\save\\G\\convoys.csv is of kind 7, none the game "
                               u"knows; it carries production points (1)"));
  EXPECT_TRUE(log.ContainsText(u"holds convoy 2 more than once; the later one is convoy 3"));
  EXPECT_TRUE(log.ContainsText(u"holds convoy 2 more than once; the later one is convoy 4"));
  ASSERT_TRUE(WriteConvoys(game(), u"data\\save\\G"));
  EXPECT_EQ(dir_.Read("data/save/G/convoys.csv"),
            std::string(kHeader) + "\r\n2;1;0;5;1;3;\r\n1;1;1;5;1;3;\r\n3;2;1;6;3;1;\r\n4;2;0;4;3;1;");
}

// A port city beside its node's hex is named by the sea-node marker of its
// own hex.
TEST_F(ConvoyFileTest, APortOffItsNodesHexIsWrittenByItsHexMarker) {
  cCity* calais = AddCity(u"Calais", 6, 6);
  world_.hex(6, 6).seaNodeMarker = 3;
  sConvoy convoy;
  convoy.Init(1, kConvoySupplies, calais, brest_);
  convoy.id = 5;
  game().convoys.ConvoysOf(1).push_back(convoy);
  ASSERT_TRUE(WriteConvoys(game(), u"data\\save\\G"));
  EXPECT_EQ(dir_.Read("data/save/G/convoys.csv"), std::string(kHeader) + "\r\n5;1;0;0;3;1;");
}

TEST_F(ConvoyFileTest, NewConvoyTakesTheNextNumberAndThePortSize) {
  game().nextConvoyId = 11;
  sConvoy convoy;
  convoy.amount = 40;
  convoy.unitsServed = 3;
  convoy.Init(2, kConvoySupplies, dover_, brest_);
  EXPECT_EQ(convoy.id, 12);
  EXPECT_EQ(game().nextConvoyId, 12);
  EXPECT_EQ(convoy.portSize, 2);
  EXPECT_EQ(convoy.amount, 0);
  EXPECT_EQ(convoy.unitsServed, 0);

  game().convoys.ConvoysOf(2) = {convoy, convoy};
  game().convoys.ConvoysOf(2)[1].id = 13;
  game().convoys.RemoveFirstConvoy(2);
  ASSERT_EQ(game().convoys.ConvoysOf(2).size(), 1u);
  EXPECT_EQ(game().convoys.ConvoysOf(2)[0].id, 13);
  game().convoys.RemoveFirstConvoy(1);
  EXPECT_THROW(game().convoys.ConvoysOf(3), FatalExitError);
}

}  // namespace
}  // namespace tr
