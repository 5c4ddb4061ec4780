// The headless scenario checker: the summary of the test scenario, a save
// under a new name, and the fatal ends on bad data.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "foundation/fatal.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/test_scenario.h"
#include "world/gra.h"
#include "world/scenario_check.h"

namespace tr {
namespace {

class ScenarioCheck : public testing::Test {
 protected:
  ScenarioCheck() { scenario_.Write(); }
  ~ScenarioCheck() override {
    delete gGame;  // left by a load that ended fatally
    gGame = nullptr;
  }
  int Run(std::vector<std::string> extra) {
    std::vector<std::string> args{"--root", scenario_.root().string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunScenarioCheck(args, out_, errors_);
  }

  test::TestScenario scenario_;
  std::ostringstream out_;
  std::ostringstream errors_;
};

// The report is the convoy's, run by the supply computation of the load.
TEST_F(ScenarioCheck, PrintsTheSummaryAndSavesUnderANewName) {
  ASSERT_EQ(Run({"--scenario", "Test", "--save-as", "checked", "--clock", "2011-03-04 09:30"}), 0);
  EXPECT_EQ(out_.str(),
            "Scenario: Test\nDate: impulse 2, month 9, year 1939\nTurn: 2 (58 left)\nCountries: 3\nCities: 6\n"
            "Land units: 2 on the map, 1 aboard, 1 in reserve\nAir units: 1 on the map, 1 in reserve\n"
            "Naval units: 2 in fleets, 1 in reserve\nFleets: 2\nSea nodes: 4\nConvoys: 1\nReports: 1\n"
            "Events: 2 (2 automatic)\n"
            "Saved as: checked\n");
  EXPECT_EQ(gGame, nullptr);
  // The save carries the fixed clock, so two checks of one game write the same bytes.
  std::ifstream info(scenario_.root() / "data/save/checked/Info.ini");
  const std::string text((std::istreambuf_iterator<char>(info)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Date = 11.03.04 09:30"), std::string::npos) << text;
  std::ostringstream again;
  ASSERT_EQ(RunScenarioCheck({"--root", scenario_.root().string(), "--save", "checked"}, again, errors_), 0);
  EXPECT_NE(again.str().find("Countries: 3\n"), std::string::npos);
}

// A port on a hex of sea zone 0 (an inland city given a port node) loads,
// but no fleet reaches it: the author is told.
TEST_F(ScenarioCheck, WarnsOfAPortOnAHexOfSeaZoneZero) {
  for (const auto& city : scenario_.world().cities) {
    if (city->name == u"Berg") city->type = kCityPort;  // inland, at (1, 1)
  }
  scenario_.Write();
  scenario_.WriteFile("sea_nodes.csv", "#ID\r\n1;Northern Sea;0;0;7;1;7;2;8;2;\r\n2;-;3;3;5;1;6;1;6;0;\r\n"
                                       "3;-;4;2;5;4;6;4;6;5;\r\n4;Southern Sea;0;0;8;6;7;6;8;7;\r\n5;-;2;2;1;1;1;2;0;1;");
  ASSERT_EQ(Run({"--scenario", "Test"}), 0);
  const std::string warning = "Warning: port city \"Berg\" at (1,1) lies on a hex of sea zone 0: no fleet can sail to it\n";
  EXPECT_NE(out_.str().find(warning), std::string::npos) << out_.str();
  // The coastal ports are not named.
  EXPECT_EQ(out_.str().find("Kiel"), std::string::npos);
  EXPECT_EQ(out_.str().find("Dover"), std::string::npos);
}

TEST_F(ScenarioCheck, BadArgumentsAreRefused) {
  EXPECT_EQ(Run({"--scenario", "Test", "--save", "x"}), 2);
  EXPECT_EQ(Run({"--scenario"}), 2);
  EXPECT_NE(errors_.str().find("usage"), std::string::npos);
}

struct BadData {
  const char* name;
  std::function<void(test::TestScenario&)> spoil;
  std::u16string_view line;
};

class ScenarioCheckBadData : public ScenarioCheck, public testing::WithParamInterface<BadData> {};

TEST_P(ScenarioCheckBadData, EndsWithCodeOneAfterItsLogLine) {
  GetParam().spoil(scenario_);
  test::LogCapture log;
  int code = -1;
  try {
    Run({"--scenario", "Test"});
  } catch (const FatalExitError& error) {
    code = error.code();
  }
  EXPECT_EQ(code, 1);
  EXPECT_TRUE(log.Contains(GetParam().line)) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, ScenarioCheckBadData,
    testing::Values(
        BadData{"MissingConstants", [](test::TestScenario& s) { s.RemoveFile("consts.csv"); },
                u"Blad otwarcia pliku! (nie istnieje?)"},
        BadData{"SeaNodeWithWrongId",
                [](test::TestScenario& s) {
                  s.WriteFile("sea_nodes.csv", "#ID\r\n1;Northern Sea;0;0;7;1;7;2;8;2;\r\n5;Southern Sea;0;0;8;6;7;6;8;7;");
                },
                u"ERROR. Sea node 2 has ID=5 (should be equal!)"},
        BadData{"TwoUnitsOnOneHex",
                [](test::TestScenario& s) {
                  s.world().airUnits.front()->x = 1;
                  s.world().airUnits.front()->y = 0;
                  s.Write();
                },
                u"ERROR: Trying to place air unit JG 1 (ID=1) to hex (1, 0) occupied by 1st Infantry (ID=1)"}),
    [](const testing::TestParamInfo<BadData>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tr
