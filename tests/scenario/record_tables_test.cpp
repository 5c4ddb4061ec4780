// Cities, commanders and fleets: read, golden header and first row, round trip.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "foundation/fatal.h"
#include "foundation/log_bound.h"
#include "foundation/paths.h"
#include "scenario/cities_file.h"
#include "scenario/commanders_file.h"
#include "scenario/fleets_file.h"
#include "scenario/scenario_constants_layout.h"
#include "scenario/unit_file_checks.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/gra.h"

namespace tr {
namespace {

class RecordTablesTest : public testing::Test {
 protected:
  void SetUp() override {
    SetGameRoot(dir_.path());
    dir_.Write("data/save/out/.keep", "");
  }
  void TearDown() override { SetGameRoot({}); }
  std::string Saved(const char* file) { return dir_.Read(std::string("data/save/out/") + file); }
  test::TempDir dir_;
  cGame game_;
};

TEST_F(RecordTablesTest, FleetRowAndItsLogLine) {
  dir_.Write("data/scenarios/s/fleets.csv", "#Fleets\r\n3;North Fleet;2;14;1;0;6;17;8;9;1\r\n4;Short;1;2\r\n"
             "5;South Fleet;2;15;1;1;7;18;10;11;0\r\n");
  test::LogCapture log;
  LoadFleets(game_, u"data\\scenarios\\s\\%s");
  ASSERT_EQ(game_.fleets.size(), 2u);
  const cFleet& f = *game_.fleets.front();
  EXPECT_EQ(f.id, 3);
  EXPECT_EQ(f.countryId, 2);
  EXPECT_EQ(f.seaNodeId, 14);
  EXPECT_EQ(f.formation, kFleetRaiders);
  EXPECT_EQ(f.hasMoved, 0);
  EXPECT_EQ(f.aiOrder, 6);
  EXPECT_EQ(f.aiDestinationNode, 17);
  EXPECT_EQ(f.aiInvasionX, 8);
  EXPECT_EQ(f.aiInvasionY, 9);
  EXPECT_EQ(f.active, 1);
  // The flags hold only 0 or 1: the second row sets them the other way, so
  // no flag column can be read from its neighbour unnoticed.
  const cFleet& g = *game_.fleets.back();
  EXPECT_EQ(g.formation, kFleetRaiders);
  EXPECT_EQ(g.hasMoved, 1);
  EXPECT_EQ(g.active, 0);
  EXPECT_TRUE(log.Contains(u"Added fleet North Fleet (ID=3 CountryID=2 Location=14)"));
  EXPECT_TRUE(log.Contains(u"data\\scenarios\\s\\fleets.csv"));
  EXPECT_TRUE(log.Contains(u"Otwarcie OK"));
}

TEST_F(RecordTablesTest, FleetsWriteTheirHeaderAndRowsAndReadBack) {
  auto fleet = std::make_unique<cFleet>();
  fleet->id = 3;
  fleet->name = u"North;Fleet";
  fleet->countryId = 2;
  fleet->seaNodeId = 14;
  fleet->formation = 1;
  fleet->hasMoved = 5;
  game_.fleets.push_back(std::move(fleet));
  game_.fleets.push_back(std::make_unique<cFleet>());
  ASSERT_TRUE(WriteFleets(game_, u"data\\save\\out"));
  EXPECT_EQ(Saved("fleets.csv"),
            "#Fleets\r\n#ID;Name;Country ID;Sea node ID;Formation [0=regular 1=raiders];Has Moved? [0=false "
            "1=true];Order (AI);Destination sea node ID (AI);Invasion hex X(AI);Invasion hex Y (AI);Is active? "
            "[0=false 1=true]\r\n3;North,Fleet;2;14;1;1;0;-1;-1;-1;1;\r\n0;-;0;0;0;0;0;-1;-1;-1;1;");
  cGame loaded;
  LoadFleets(loaded, u"data\\save\\out\\%s");
  ASSERT_EQ(loaded.fleets.size(), 2u);
  EXPECT_EQ(loaded.fleets.front()->name, u"North,Fleet");
  EXPECT_EQ(loaded.fleets.back()->name, u"-");
  EXPECT_EQ(loaded.fleets.front()->hasMoved, 1);

  // A save's fleets load as written; an active switch other than 0 or 1 is refused, naming the field.
  const std::string written = Saved("fleets.csv");
  {
    cGame saved;
    saved.loadedGame = 1;
    test::LogCapture log;
    LoadFleets(saved, u"data\\save\\out\\%s");
    EXPECT_FALSE(log.ContainsText(u"ERROR"));
    ASSERT_TRUE(WriteFleets(saved, u"data\\save\\out"));
    EXPECT_EQ(Saved("fleets.csv"), written);
  }
  for (const auto& [active, what] :
       {std::pair{"2", u"has 2 in field 11, where the game writes 0 or 1;"},
        std::pair{"-1", u"has -1 in field 11, where the game writes 0 or 1;"}}) {
    std::string bad = written;
    bad.replace(bad.find("3;North,Fleet;2;14;1;1;0;-1;-1;-1;1;"), 36,
                std::string("3;North,Fleet;2;14;1;1;0;-1;-1;-1;") + active + ";");
    dir_.Write("data/save/bad/fleets.csv", bad);
    cGame saved;
    saved.loadedGame = 1;
    test::LogCapture log;
    EXPECT_THROW(LoadFleets(saved, u"data\\save\\bad\\%s"), FatalExitError) << active;
    EXPECT_TRUE(log.ContainsText(u"fleets.csv at line 3 (counting from 1) " + std::u16string(what))) << active;
  }
}

TEST_F(RecordTablesTest, CommandersSkipShortRowsAndRoundTrip) {
  dir_.Write("data/scenarios/s/commanders.csv",
             "#Commanders\r\n1;Varnholt;2;0;5;3;2\r\n2;Short;1;0;5;3\r\n3;Pellow;1;1;4;0;0;\r\n");
  test::LogCapture log;
  LoadCommanders(game_, u"data\\scenarios\\s\\%s");
  ASSERT_EQ(game_.commanders.size(), 2u);
  EXPECT_EQ(game_.commanders[0]->state, kCommanderAssigned);
  EXPECT_EQ(game_.commanders[0]->headquarters, nullptr);
  EXPECT_TRUE(log.Contains(u"Added commander Pellow (ID=3 CountryID=1)"));

  ASSERT_TRUE(WriteCommanders(game_, u"data\\save\\out"));
  EXPECT_EQ(Saved("commanders.csv"),
            "#Commanders\r\n#ID;Name;Country ID;Type [0=land 1=air 2=naval];Skill;Experience;State [0=not "
            "assigned 1=on his way to HQ 2=assigned]\r\n1;Varnholt;2;0;5;3;2;\r\n3;Pellow;1;1;4;0;0;");
  cGame loaded;
  LoadCommanders(loaded, u"data\\save\\out\\%s");
  ASSERT_EQ(loaded.commanders.size(), 2u);
  EXPECT_EQ(loaded.commanders[1]->name, u"Pellow");
  EXPECT_EQ(loaded.commanders[1]->type, 1);
  EXPECT_EQ(loaded.commanders[1]->skill, 4);
}

TEST_F(RecordTablesTest, CitiesReadConvertAndRoundTrip) {
  dir_.Write("data/scenarios/s/cities.csv",
             "#Name;Hex X;Hex Y\r\nParis;10;4;1;x;12.5;3;2\r\nSeven;1;1;1;1;1;1\r\nS\xe8te;2;3;7;1;0;0;0;\r\n");
  test::LogCapture log;
  LoadCities(game_, u"data\\scenarios\\s\\%s");
  ASSERT_EQ(game_.cities.size(), 2u);
  const cCity& paris = *game_.cities.front();
  EXPECT_EQ(paris.victoryPoints, 0);
  EXPECT_FLOAT_EQ(paris.productionPoints, 12.5f);
  EXPECT_EQ(paris.bombedPP, 2);
  EXPECT_EQ(paris.diagramNode, -1);
  EXPECT_EQ(game_.cities.back()->name, u"S\u00e8te");
  EXPECT_EQ(game_.cities.back()->type, kCityNormal);  // 7 is no city type
  EXPECT_TRUE(log.Contains(u"Added city: Paris"));
  EXPECT_TRUE(log.ContainsText(u"City type (7) out of range in data\\scenarios\\s\\cities.csv at line 4"));

  game_.cities.front()->name = u"#1;Paris";
  ASSERT_TRUE(WriteCities(game_, u"data\\save\\out"));
  const std::string text = Saved("cities.csv");
  EXPECT_EQ(text.substr(0, text.find("\r\nS\xe8te")),
            "#Name;Hex X;Hex Y;Type [0=supply 1=normal 2=supply+port 3=port 4=resources];Victory Points;"
            "Production Points;Supply;Production Points Losses In Strategic Bombardment\r\n"
            "_1,Paris;10;4;1;0;12.500000;3;2;");
  cGame loaded;
  LoadCities(loaded, u"data\\save\\out\\%s");
  ASSERT_EQ(loaded.cities.size(), 2u);
  EXPECT_EQ(loaded.cities.front()->name, u"_1,Paris");
  EXPECT_EQ(loaded.cities.back()->name, u"S\u00e8te");
}

// The supply tables hold levels 0 to 50: a city of supply 51 would read the
// table after them.
TEST_F(RecordTablesTest, CitySupplyHoldsToTheSupplyLevels) {
  dir_.Write("data/scenarios/s/cities.csv", "#Name;Hex X;Hex Y\r\nTop;1;1;1;1;1;50;0\r\nPast;2;2;1;1;1;51;0\r\n");
  test::LogCapture log;
  LoadCities(game_, u"data\\scenarios\\s\\%s");
  ASSERT_EQ(game_.cities.size(), 2u);
  EXPECT_EQ(game_.cities.front()->supply, 50);
  EXPECT_EQ(game_.cities.back()->supply, 0);
  EXPECT_FALSE(log.ContainsText(u"line 2"));
  EXPECT_TRUE(log.ContainsText(u"City supply (51) out of range in data\\scenarios\\s\\cities.csv at line 3"));
}

// Each bound takes the value at its top and refuses the one past it, so a
// bound slipped by one either way shows.
TEST_F(RecordTablesTest, ValuesAtTheTopOfTheirRangeLoadAndOnePastAreRefused) {
  dir_.Write("data/scenarios/s/commanders.csv",
             "#Commanders\r\n1;Top;2;0;100;1000000;2\r\n2;Past;2;0;101;1000001;2\r\n");
  dir_.Write("data/scenarios/s/cities.csv",
             "#Cities\r\nTop;1;1;1;100000;1000000;0;100000\r\nPast;2;2;1;100001;1000000.5;0;100001\r\n");
  test::LogCapture log;
  LoadCommanders(game_, u"data\\scenarios\\s\\%s");
  LoadCities(game_, u"data\\scenarios\\s\\%s");
  ASSERT_EQ(game_.commanders.size(), 2u);
  EXPECT_EQ(game_.commanders[0]->skill, 100);
  EXPECT_EQ(game_.commanders[0]->experience, 1000000);
  EXPECT_EQ(game_.commanders[1]->skill, 0);
  EXPECT_EQ(game_.commanders[1]->experience, 0);
  ASSERT_EQ(game_.cities.size(), 2u);
  const cCity& top = *game_.cities.front();
  EXPECT_EQ(top.victoryPoints, 100000);
  EXPECT_FLOAT_EQ(top.productionPoints, 1000000.0f);
  EXPECT_EQ(top.bombedPP, 100000);
  const cCity& past = *game_.cities.back();
  EXPECT_EQ(past.victoryPoints, 0);
  // Production, which events and repairs change, is held at its top.
  EXPECT_FLOAT_EQ(past.productionPoints, 1000000.0f);
  EXPECT_EQ(past.bombedPP, 0);
  // The checks the unit tables share: level 1 to 5, supply below the levels' count.
  EXPECT_EQ(CheckedLevel(5, u"u.csv", 1), 5);
  EXPECT_EQ(CheckedLevel(6, u"u.csv", 2), 1);
  EXPECT_EQ(CheckedSupply(consts_layout::kSupplyLevels - 1, u"u.csv", 3), consts_layout::kSupplyLevels - 1);
  EXPECT_EQ(CheckedSupply(consts_layout::kSupplyLevels, u"u.csv", 4), 0);
  for (const char16_t* what : {u"Commander skill (101)", u"Commander experience (1000001)", u"City victory points (100001)",
                               u"City production points (1000000.5)", u"City bombed production points (100001)"}) {
    EXPECT_TRUE(log.ContainsText(std::u16string(what) + u" out of range")) << testing::PrintToString(std::u16string(what));
  }
}

// A received table cannot fill the log: production held in its range is
// logged for the first rows, and the rest only counted.
TEST_F(RecordTablesTest, HeldProductionIsLoggedForTheFirstRowsThenCounted) {
  std::string cities = "#Cities\r\n";
  for (int i = 1; i <= kLinesPerCause + 2; ++i) {
    cities += "C" + std::to_string(i) + ";" + std::to_string(i) + ";3;1;7;-" + std::to_string(i) + ".5;0;4\r\n";
  }
  dir_.Write("data/scenarios/s/cities.csv", cities);
  test::LogCapture log;
  {
    const cLogBound bound;
    LoadCities(game_, u"data\\scenarios\\s\\%s");
  }
  ASSERT_EQ(game_.cities.size(), static_cast<std::size_t>(kLinesPerCause + 2));
  EXPECT_FLOAT_EQ(game_.cities.back()->productionPoints, 0.0f);
  const std::vector<std::u16string> lines = log.lines();
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::u16string& line) { return line.find(u"; held at 0") != std::u16string::npos; }),
            kLinesPerCause);
  EXPECT_TRUE(log.Contains(u"WARNING: 2 more lines about data\\scenarios\\s\\cities.csv like \"City production "
                           u"points out of range; held\" were left out of the log"));
}

// A table of headers only holds no fleet; one whose lines are all short rows
// was written for another layout (or cut) and ends the load.
TEST_F(RecordTablesTest, AnEmptyTableLoadsNothingAndOneOfOnlyShortRowsIsFatal) {
  game_.fleets.push_back(std::make_unique<cFleet>());  // what the game held before goes
  dir_.Write("data/scenarios/s/fleets.csv", "#Fleets\r\n#ID;Name\r\n");
  test::LogCapture log;
  LoadFleets(game_, u"data\\scenarios\\s\\%s");
  EXPECT_TRUE(game_.fleets.empty());
  EXPECT_FALSE(log.ContainsText(u"ERROR"));

  dir_.Write("data/scenarios/s/fleets.csv", "#Fleets\r\n3,North Fleet,2,14\r\n4;Short;1;2\r\n");
  try {
    LoadFleets(game_, u"data\\scenarios\\s\\%s");
    ADD_FAILURE() << "a table of no whole row must end the load";
  } catch (const FatalExitError& error) {
    EXPECT_EQ(error.code(), 1);
  }
  EXPECT_TRUE(log.Contains(u"ERROR: none of the 2 rows of data\\scenarios\\s\\fleets.csv has the 11 fields a row "
                           u"needs; the game is not loaded"));
}

TEST_F(RecordTablesTest, MissingTablesAreFatal) {
  using Loader = void (*)(cGame&, std::u16string_view);
  for (Loader load : {Loader{LoadCities}, Loader{LoadCommanders}, Loader{LoadFleets}}) {
    test::LogCapture log;
    try {
      load(game_, u"data\\scenarios\\none\\%s");
      ADD_FAILURE() << "a missing table must end the program";
    } catch (const FatalExitError& error) {
      EXPECT_EQ(error.code(), 1);
    }
    EXPECT_TRUE(log.Contains(u"Blad otwarcia pliku! (nie istnieje?)"));
  }
}

}  // namespace
}  // namespace tr
