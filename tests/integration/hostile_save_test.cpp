// A save of the sample as the game writes it, changed in one place the way a
// received save can be: every change is refused at load, or mended, with a
// line that names the file and the row; none loads without a word.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ai/autoplay.h"
#include "ai/country_ai.h"
#include "events/zdarzenia.h"
#include "foundation/fast_digest.h"
#include "foundation/fatal.h"
#include "foundation/file_budgets.h"
#include "foundation/file_read.h"
#include "foundation/file_write.h"
#include "foundation/log_bound.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "hostile_save.h"
#include "scenario/save_game.h"
#include "scenario/save_manifest.h"
#include "support/game_run_scope.h"
#include "support/log_capture.h"
#include "support/scenario_corruption.h"
#include "support/temp_dir.h"
#include "turn/game_steps.h"
#include "world/commander.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/scenario_check.h"

namespace tr {
namespace {
using test::HostileSave;
using test::HostileSaveCase;
using test::kScenario;
using test::Replace;
using test::Set;
using test::sHostileCase;
using test::sMapFile;
using test::sTable;
using test::Text;
namespace fs = std::filesystem;

TEST_P(HostileSaveCase, IsRefusedOrMendedWithALineNamingTheFile) { Check(); }

// The refusal of the file at the line (counting from 1), for what it holds.
std::u16string Refusal(const std::u16string& folder, const char* file, std::size_t line, const std::u16string& what) {
  return u"ERROR: " + folder + u"\\" + Text(file) + u" at line " + Text(std::to_string(line)) +
         u" (counting from 1) " + what +
         u"; the game writes the files of a saved game whole, so the file is damaged and the game is not loaded";
}

// The refused case of these lines added at the end of the save's air recon
// file, its log line going on from the file's name with what.
sHostileCase ReconLinesAdded(const char* name, std::string lines, std::u16string what) {
  return {name,
          [lines, what](const fs::path& save, const std::u16string& folder) {
            Replace(save / "airrecon_units.csv", [&](const std::string& text) { return text + lines; });
            return u"ERROR: " + folder + u"\\airrecon_units.csv" + what;
          },
          true};
}

INSTANTIATE_TEST_SUITE_P(
    Sample, HostileSaveCase,
    testing::Values(
        sHostileCase{"LandUnitOfNoCountry",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable units(save / "land_units.csv");
                       Set(save, "land_units.csv", 0, 2, "99");
                       return u"ERROR: land unit " + Text(units.Field(0, 1)) + u" (ID=" + Text(units.Field(0, 0)) +
                              u") in " + folder + u"\\land_units.csv at line " +
                              Text(std::to_string(units.data[0] + 1)) +
                              u" (counting from 1) names country 99, which does not exist; the game is not loaded";
                     },
                     true},
        sHostileCase{"AirUnitOfNoCountry",
                     [](const fs::path& save, const std::u16string&) {
                       Set(save, "air_units.csv", 0, 2, "99");
                       return u"\\air_units.csv at line " +
                              Text(std::to_string(sTable(save / "air_units.csv").data[0] + 1)) +
                              u" (counting from 1) names country 99, which does not exist";
                     },
                     true},
        sHostileCase{"CommanderOfAnotherCountry",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable units(save / "land_units.csv");
                       const sTable commanders(save / "commanders.csv");
                       const auto unit = units.Find([&](std::size_t r) { return units.Field(r, 15) == "-1"; });
                       EXPECT_TRUE(unit.has_value());
                       const auto foreign = commanders.Find(
                           [&](std::size_t r) { return commanders.Field(r, 2) != units.Field(*unit, 2); });
                       EXPECT_TRUE(foreign.has_value());
                       Set(save, "land_units.csv", *unit, 15, commanders.Field(*foreign, 0));
                       return u"ERROR: " + folder + u"\\land_units.csv at line " +
                              Text(std::to_string(units.data[*unit] + 1)) + u" (counting from 1) gives land unit " +
                              Text(units.Field(*unit, 1)) + u" (ID=" + Text(units.Field(*unit, 0)) + u") of country " +
                              Text(units.Field(*unit, 2)) + u" commander " + Text(commanders.Field(*foreign, 1)) +
                              u" (ID=" + Text(commanders.Field(*foreign, 0)) + u") of country " +
                              Text(commanders.Field(*foreign, 2)) + u"; the game writes the files";
                     },
                     true},
        sHostileCase{"OneCommanderOnTwoUnits",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable units(save / "land_units.csv");
                       const sTable commanders(save / "commanders.csv");
                       const auto led = units.Find([&](std::size_t r) { return units.Field(r, 15) != "-1"; });
                       EXPECT_TRUE(led.has_value());
                       // A later unit of the same country names him too: the first keeps him.
                       const auto other = units.Find([&](std::size_t r) {
                         return r > *led && units.Field(r, 15) == "-1" && units.Field(r, 2) == units.Field(*led, 2);
                       });
                       EXPECT_TRUE(other.has_value());
                       const std::string id = units.Field(*led, 15);
                       const auto commander = commanders.Find([&](std::size_t r) { return commanders.Field(r, 0) == id; });
                       EXPECT_TRUE(commander.has_value());
                       Set(save, "land_units.csv", *other, 15, id);
                       return u"ERROR: " + folder + u"\\land_units.csv at line " +
                              Text(std::to_string(units.data[*other] + 1)) + u" (counting from 1) gives land unit " +
                              Text(units.Field(*other, 1)) + u" (ID=" + Text(units.Field(*other, 0)) +
                              u") commander " + Text(commanders.Field(*commander, 1)) + u" (ID=" + Text(id) +
                              u"), who already leads unit " + Text(units.Field(*led, 1)) + u" (ID=" +
                              Text(units.Field(*led, 0)) + u"); the game writes the files";
                     },
                     true},
        sHostileCase{"OneCommanderOnALandAndAnAirUnit",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable units(save / "land_units.csv");
                       const sTable air(save / "air_units.csv");
                       const sTable commanders(save / "commanders.csv");
                       const auto led = units.Find([&](std::size_t r) {
                         return units.Field(r, 15) != "-1" &&
                                air.Find([&](std::size_t a) { return air.Field(a, 2) == units.Field(r, 2); });
                       });
                       EXPECT_TRUE(led.has_value());
                       // The land unit comes first and keeps him, whatever the files' order.
                       const auto plane = air.Find([&](std::size_t r) { return air.Field(r, 2) == units.Field(*led, 2); });
                       const std::string id = units.Field(*led, 15);
                       const auto commander = commanders.Find([&](std::size_t r) { return commanders.Field(r, 0) == id; });
                       EXPECT_TRUE(commander.has_value());
                       Set(save, "air_units.csv", *plane, 8, id);
                       return u"ERROR: " + folder + u"\\air_units.csv at line " +
                              Text(std::to_string(air.data[*plane] + 1)) + u" (counting from 1) gives air unit " +
                              Text(air.Field(*plane, 1)) + u" (ID=" + Text(air.Field(*plane, 0)) + u") commander " +
                              Text(commanders.Field(*commander, 1)) + u" (ID=" + Text(id) +
                              u"), who already leads unit " + Text(units.Field(*led, 1)) + u" (ID=" +
                              Text(units.Field(*led, 0)) + u"); the game writes the files";
                     },
                     true},
        sHostileCase{"LeadingCommanderSavedAsFree",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable units(save / "land_units.csv");
                       const sTable commanders(save / "commanders.csv");
                       const auto led = units.Find([&](std::size_t r) { return units.Field(r, 15) != "-1"; });
                       EXPECT_TRUE(led.has_value());
                       const std::string id = units.Field(*led, 15);
                       const auto commander = commanders.Find([&](std::size_t r) { return commanders.Field(r, 0) == id; });
                       EXPECT_TRUE(commander.has_value());
                       Set(save, "commanders.csv", *commander, 6, "0");
                       return u"ERROR: " + folder + u"\\commanders.csv at line " +
                              Text(std::to_string(commanders.data[*commander] + 1)) + u" (counting from 1) gives commander " +
                              Text(commanders.Field(*commander, 1)) + u" (ID=" + Text(id) + u"), who leads unit " +
                              Text(units.Field(*led, 1)) + u" (ID=" + Text(units.Field(*led, 0)) +
                              u"), the state 0, not 2; the game writes the files";
                     },
                     true},
        // A unit naming a commander the save lacks.
        sHostileCase{"CommanderTheSaveLacks",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable ships(save / "naval_units.csv");
                       Set(save, "naval_units.csv", 0, 7, "777");
                       return u"ERROR: " + folder + u"\\naval_units.csv at line " +
                              Text(std::to_string(ships.data[0] + 1)) +
                              u" (counting from 1) names the commander ID=777, which the save does not hold";
                     },
                     true},
        sHostileCase{"TwoShipsWithOneNumber",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable ships(save / "naval_units.csv");
                       Set(save, "naval_units.csv", 1, 0, ships.Field(0, 0));
                       return Refusal(folder, "naval_units.csv", ships.data[1] + 1,
                                      u"repeats the line with field 1 (ID) " + Text(ships.Field(0, 0)) + u", first at line " +
                                          Text(std::to_string(ships.data[0] + 1)) +
                                          u", where the game writes one line for each");
                     },
                     true},
        sHostileCase{"ShipAboveItsHitPoints",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable ships(save / "naval_units.csv");
                       Set(save, "naval_units.csv", 0, 5, "100");
                       return Refusal(folder, "naval_units.csv", ships.data[0] + 1,
                                      u"has HP 100 above Max HP " + Text(ships.Field(0, 6)));
                     },
                     true},
        sHostileCase{"ShipInAnotherCountrysFleet",
                     [](const fs::path& save, const std::u16string&) {
                       const sTable ships(save / "naval_units.csv");
                       const sTable fleets(save / "fleets.csv");
                       const auto foreign = fleets.Find([&](std::size_t r) { return fleets.Field(r, 2) != ships.Field(0, 2); });
                       EXPECT_TRUE(foreign.has_value());
                       Set(save, "naval_units.csv", 0, 4, fleets.Field(*foreign, 0));
                       return u"names fleet " + Text(fleets.Field(*foreign, 1)) + u" (ID=" +
                              Text(fleets.Field(*foreign, 0)) + u") of country " + Text(fleets.Field(*foreign, 2)) +
                              u"; the game is not loaded";
                     },
                     true},
        sHostileCase{"WarDeclaredOneWay",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable relations(save / "relations.csv");
                       // Country 1's row: its first war, ended on its side only.
                       for (int b = 1; b <= 20; ++b) {
                         if (relations.Field(0, b + 1) != "1") continue;
                         Set(save, "relations.csv", 0, b + 1, "0");
                         return Refusal(folder, "relations.csv", relations.data[0] + 1,
                                        u"has country 1 at peace with country " + Text(std::to_string(b)) +
                                            u", which is at war with it");
                       }
                       ADD_FAILURE() << "country 1 is at war with no one";
                       return std::u16string(u"?");
                     },
                     true},
        sHostileCase{"NoRelations",
                     [](const fs::path& save, const std::u16string& folder) {
                       Replace(save / "relations.csv", [](const std::string&) { return std::string(); });
                       return u"ERROR: " + folder + u"\\relations.csv is empty; the game writes the files of a saved "
                                                    u"game whole, so the file is damaged and the game is not loaded";
                     },
                     true},
        sHostileCase{"RelationsOfCountryZero",
                     [](const fs::path& save, const std::u16string& folder) {
                       Set(save, "relations.csv", 1, 0, "0");
                       return u"ERROR: " + folder + u"\\relations.csv at line " +
                              Text(std::to_string(sTable(save / "relations.csv").data[1] + 1)) +
                              u" (counting from 1) has \"0\" in field 1 (Country ID)";
                     },
                     true},
        sHostileCase{"LandUnitsCutInARow",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable units(save / "land_units.csv");
                       const std::size_t cut = units.data[units.data.size() / 2];
                       Replace(save / "land_units.csv", [&](const std::string& text) {
                         std::size_t at = 0;
                         for (std::size_t i = 0; i < cut; ++i) at = text.find('\n', at) + 1;
                         return text.substr(0, at + 40);
                       });
                       return u"ERROR: " + folder + u"\\land_units.csv at line " + Text(std::to_string(cut + 1)) +
                              u" (counting from 1) has ";
                     },
                     true},
        sHostileCase{"CommasForSemicolons",
                     [](const fs::path& save, const std::u16string& folder) {
                       Replace(save / "land_units.csv", [](std::string text) {
                         std::replace(text.begin(), text.end(), ';', ',');
                         return text;
                       });
                       return u"ERROR: " + folder + u"\\land_units.csv at line 3 (counting from 1) has 1 fields of "
                                                    u"the 33 of a row";
                     },
                     true},
        sHostileCase{"YearZero",
                     [](const fs::path& save, const std::u16string& folder) {
                       std::size_t line = 0;
                       Replace(save / "Info.ini", [&line](std::string text) {
                         const std::size_t at = text.find("GameYear");
                         const std::size_t end = text.find('\r', at);
                         line = static_cast<std::size_t>(std::count(text.begin(), text.begin() + at, '\n')) + 1;
                         return text.replace(at, end - at, "GameYear = 0");
                       });
                       return Refusal(folder, "Info.ini", line,
                                      u"gives \"0\" as the year of the game, where the game writes "
                                      u"a whole number from 1 to 100000");
                     },
                     true},
        sHostileCase{"NoScenarioName",
                     [](const fs::path& save, const std::u16string& folder) {
                       Replace(save / "Info.ini", [](std::string text) {
                         const std::size_t at = text.find("ScenarioName");
                         return text.replace(at, text.find('\n', at) + 1 - at, "");
                       });
                       return u"ERROR: " + folder + u"\\Info.ini has no Save/ScenarioName, the name of the folder of "
                                                    u"data\\scenarios the game belongs to";
                     },
                     true},
        sHostileCase{"TwoLandUnitsWithOneNumber",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable units(save / "land_units.csv");
                       Set(save, "land_units.csv", 1, 0, units.Field(0, 0));
                       return test::UnitStateNamesLostUnit(save, folder, "Land", units.Field(1, 0));
                     },
                     true},
        // A unit's points size the grids of its paths and ranges: a received
        // save holds them to what the scenario gives a unit.
        sHostileCase{"HugeActionPoints",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable units(save / "land_units.csv");
                       Set(save, "land_units.csv", 0, 8, "50000");
                       return Refusal(folder, "land_units.csv", units.data[0] + 1,
                                      u"has Action Points 50000, more than the scenario gives a unit (9)");
                     },
                     true},
        sHostileCase{"HexOfNoCountry",
                     [](const fs::path& save, const std::u16string& folder) {
                       sMapFile map(save / "map.qel");
                       const auto [x, y] = map.FindLand();
                       map.Byte(x, y, 6) = map.Byte(x, y, 7) = map.Byte(x, y, 8) = 200;
                       map.Write(save / "map.qel");
                       return u"ERROR: " + folder + u"\\map.qel gives hex (" + Text(std::to_string(x)) + u", " +
                              Text(std::to_string(y)) + u") controller 200, owner 200 and original owner 200, not all "
                                                        u"of them 0 or a country the save holds";
                     },
                     true},
        sHostileCase{"AutomaticEventOfNoEvent",
                     [](const fs::path& save, const std::u16string& folder) {
                       const std::size_t lines = sTable(save / "auto_events.csv").data.size();
                       Replace(save / "auto_events.csv", [](const std::string& text) { return text + "39999;1\r\n"; });
                       return u"ERROR: " + folder + u"\\auto_events.csv at line " +
                              Text(std::to_string(lines + 1)) +
                              u" (counting from 1) names event 39999, which the scenario does not have";
                     },
                     true},
        // What one table names that another does not hold: each refused at its line.
        sHostileCase{"UnitAboardAShipThatCannotCarryIt",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable units(save / "land_units.csv");
                       Set(save, "land_units.csv", 0, 14, "999");
                       return u"ERROR: " + folder + u"\\land_units.csv at line " +
                              Text(std::to_string(units.data[0] + 1)) + u" (counting from 1) puts land unit " +
                              Text(units.Field(0, 1)) + u" (ID=" + Text(units.Field(0, 0)) +
                              u") aboard the ship ID=999, which cannot carry it";
                     },
                     true},
        sHostileCase{"FleetNoShipNames",
                     [](const fs::path& save, const std::u16string& folder) {
                       const std::size_t lines = sTable(save / "fleets.csv").lines.size();
                       Replace(save / "fleets.csv",
                               [](const std::string& text) { return text + "\r\n99;Ghost Fleet;3;1;0;0;5;1;-1;-1;1;"; });
                       return u"ERROR: " + folder + u"\\fleets.csv at line " + Text(std::to_string(lines + 1)) +
                              u" (counting from 1) holds fleet Ghost Fleet (ID=99), which no ship of naval_units.csv "
                              u"names";
                     },
                     true},
        sHostileCase{"SupplyRowOfNoCity",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable info(save / "cities_supply_info.csv");
                       Set(save, "cities_supply_info.csv", 0, 0, "0");
                       Set(save, "cities_supply_info.csv", 0, 1, "0");
                       return u"ERROR: " + folder + u"\\cities_supply_info.csv at line " +
                              Text(std::to_string(info.data[0] + 1)) + u" (counting from 1) names hex (0, 0), which "
                                                                       u"holds no city";
                     },
                     true},
        sHostileCase{"ConvoyRowOfACityTwice",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable info(save / "cities_convoy_info.csv");
                       Set(save, "cities_convoy_info.csv", 1, 0, info.Field(0, 0));
                       Set(save, "cities_convoy_info.csv", 1, 1, info.Field(0, 1));
                       return u"ERROR: " + folder + u"\\cities_convoy_info.csv at line " +
                              Text(std::to_string(info.data[1] + 1)) + u" (counting from 1) repeats the line with field 1 (Hex X) ";
                     },
                     true},
        ReconLinesAdded("SpottedForNoCountry", "\r\nCountry;99;",
                        u" at line 2 (counting from 1) names in field 2 no country the save holds"),
        ReconLinesAdded("SpottedHexBeforeItsCountry", "\r\n0;0;",
                        u" at line 2 (counting from 1) gives a hex before any Country line"),
        ReconLinesAdded("SpottedHexWithoutAUnit", "\r\nCountry;1;\r\n0;0;",
                        u" at line 3 (counting from 1) names hex (0, 0), on which the save holds no unit"),
        sHostileCase{"AirshipReportForNoCountry",
                     [](const fs::path& save, const std::u16string& folder) {
                       Replace(save / "airship_attacks.csv", [](const std::string& text) {
                         std::string wide = text;
                         for (const char c : std::string_view("\r\n99;report;")) wide += std::string{c, '\0'};
                         return wide;
                       });
                       return u"ERROR: " + folder + u"\\airship_attacks.csv at line 2 (counting from 1) names in "
                                                    u"field 1 no country the save holds";
                     },
                     true},
        sHostileCase{"ComputerSettingBeforeAnyCountry",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable data(save / "ai_data.csv");
                       Replace(save / "ai_data.csv", [](const std::string& text) {
                         std::string changed = text;
                         return changed.insert(changed.find("Country;"), "MakesSeaInvasions;1\r\n");
                       });
                       return u"ERROR: " + folder + u"\\ai_data.csv at line " + Text(std::to_string(data.data[0] + 1)) +
                              u" (counting from 1) gives MakesSeaInvasions before a Country line naming a country the "
                              u"save holds";
                     },
                     true},
        sHostileCase{"TopographyCityTheSaveLacks",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable topography(save / "topography.csv");
                       const auto city = topography.Find([&](std::size_t r) { return topography.Field(r, 0) == "City"; });
                       EXPECT_TRUE(city.has_value());
                       Set(save, "topography.csv", *city, 1, "0");
                       Set(save, "topography.csv", *city, 2, "0");
                       return u"ERROR: " + folder + u"\\topography.csv at line " +
                              Text(std::to_string(topography.data[*city] + 1)) +
                              u" (counting from 1) gives city (0, 0), which the save does not hold";
                     },
                     true},
        sHostileCase{"TopographyCityOutsideAGroup",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable topography(save / "topography.csv");
                       const auto group = topography.Find([&](std::size_t r) { return topography.Field(r, 0) == "New Group"; });
                       EXPECT_TRUE(group.has_value());
                       Set(save, "topography.csv", *group, 0, "City;26;15");
                       return u"ERROR: " + folder + u"\\topography.csv at line " +
                              Text(std::to_string(topography.data[*group] + 1)) +
                              u" (counting from 1) gives city (26, 15), which lies outside a group";
                     },
                     true}),
    [](const auto& info) { return std::string(info.param.name); });

// A table of comments only is an empty table, not a broken one.
TEST_F(HostileSave, ATableOfCommentsOnlyLoadsEmpty) {
  const fs::path save = Copy("AirUnitsCommentsOnly");
  Replace(save / "air_units.csv", [](const std::string& text) { return text.substr(0, text.find("\r\n") + 2); });
  // The units' state then names none of them either.
  Replace(save / "unit_state.csv", [](std::string text) {
    for (std::size_t at; (at = text.find("\r\nAir;")) != std::string::npos;) text.erase(at, text.find('\r', at + 2) - at);
    return text;
  });
  ASSERT_TRUE(Load());
  EXPECT_TRUE(game_->airUnits.empty());
}

// The list of event files takes any line end: a list with CR alone still
// names its files.
TEST_F(HostileSave, AnEventListWithCrLineEndsKeepsItsEvents) {
  const fs::path list = root_->path() / "data/scenarios" / kScenario / "event_files.txt";
  const std::string kept = test::ReadFileBytes(list);
  struct sPutBack {
    ~sPutBack() { std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes; }
    fs::path file;
    std::string bytes;
  } putBack{list, kept};
  Replace(list, [](std::string text) {
    std::erase(text, '\n');
    return "\xEF\xBB\xBF" + text;
  });
  Copy("EventListWithCr");
  ASSERT_TRUE(Load());
  EXPECT_GT(game_->events->events.size(), 0u);
}

// The checks find nothing in what the game itself wrote.
TEST_F(HostileSave, TheSaveAsWrittenLoadsWithoutAWarning) {
  Copy("AsWritten");
  test::LogCapture log;
  ASSERT_TRUE(Load());
  for (const std::u16string& line : log.lines()) {
    EXPECT_FALSE(line.starts_with(u"WARNING") || line.starts_with(u"ERR") || line.starts_with(u"Blad"))
        << Utf16ToUtf8(line);
  }
}

// A land unit saved on a hex of the sea, aboard no ship, is none the game
// writes: refused. Where it stands is found in the loaded save, so the sea
// hex is a real one.
TEST_F(HostileSave, LandUnitOnTheSeaIsRefused) {
  const fs::path save = Copy("LandUnitOnTheSea");
  ASSERT_TRUE(Load());
  const sHex* sea = nullptr;
  for (const sHex& hex : game_->map->Hexes()) {
    if (!hex.IsLand() && hex.unit == nullptr) {
      sea = &hex;
      break;
    }
  }
  ASSERT_NE(sea, nullptr);
  const int x = sea->x;
  const int y = sea->y;
  gGame = nullptr;
  delete game_;
  game_ = nullptr;
  const sTable units(save / "land_units.csv");
  const auto onMap = units.Find([&](std::size_t r) { return units.Field(r, 14) == "-1" && units.Field(r, 16) == "0"; });
  ASSERT_TRUE(onMap.has_value());
  Set(save, "land_units.csv", *onMap, 3, std::to_string(x));
  Set(save, "land_units.csv", *onMap, 4, std::to_string(y));
  test::LogCapture log;
  EXPECT_FALSE(Load());
  EXPECT_TRUE(log.ContainsText(Refusal(u"data\\save\\LandUnitOnTheSea", "land_units.csv", units.data[*onMap] + 1,
                                       u"has a unit on the sea hex (" + Text(std::to_string(x)) + u", " +
                                           Text(std::to_string(y)) + u"), aboard no ship")));
}

// Values that once ended play: a unit with points no grid could hold and
// forts above the highest level everywhere. Mended at load, the save plays
// two impulses without a fatal error or a lookup of a missing country, and
// the save it writes loads clean.
TEST_F(HostileSave, MendedValuesPlayAndTheNextSaveLoadsClean) {
  const fs::path save = Copy("Mended");
  sMapFile map(save / "map.qel");
  for (int y = 0; y < map.height; ++y) {
    for (int x = 0; x < map.width; ++x) {
      if (map.Byte(x, y, 0) != 0) map.Byte(x, y, 9) = 50;
    }
  }
  map.Write(save / "map.qel");
  test::LogCapture log;
  ASSERT_TRUE(Load());
  SeedRandom(1);
  {
    cAutoplay play(*game_);
    try {
      while (play.impulsesRun() < 2 && play.PlayImpulse()) {
      }
    } catch (const FatalExitError& error) {
      FAIL() << "fatal exit " << error.code() << " during play";
    }
    EXPECT_EQ(play.impulsesRun(), 2) << play.violation();
  }
  EXPECT_FALSE(log.ContainsText(u"does not exist (")) << "a country that does not exist was asked for";
  game_->saveContext->clock = [] { return sLocalTime{1939, 9, 1, 4, 45}; };
  ASSERT_TRUE(game_->saveContext->SaveGame(u"Healed", true));
  gGame = nullptr;
  delete game_;
  game_ = nullptr;
  name_ = "Healed";
  test::LogCapture again;
  ASSERT_TRUE(Load());
  for (const std::u16string& line : again.lines()) {
    EXPECT_FALSE(line.starts_with(u"WARNING") || line.starts_with(u"ERR")) << Utf16ToUtf8(line);
  }
}

// Thousands of rows naming units and countries the save does not hold, as a
// received file can carry: the load is refused at the first, naming its file
// and line, and the rest are never read; the sound save beside them loads.
TEST_F(HostileSave, RowsNamingWhatTheSaveLacksAreRefusedAtTheFirst) {
  Copy("Sound");
  {
    test::LogCapture sound;
    ASSERT_TRUE(Load());
    EXPECT_FALSE(sound.ContainsText(u"which the save does not hold"));
  }
  gGame = nullptr;
  delete game_;
  game_ = nullptr;
  constexpr int kRows = 3000;
  for (const char* file : {"unit_state.csv", "ai_memory.csv"}) {
    const fs::path save = Copy(std::string("Flooded_") + (file[0] == 'u' ? "units" : "memory"));
    const std::size_t lines = sTable(save / file).lines.size();
    Replace(save / file, [file](std::string text) {
      for (int i = 0; i < kRows; ++i) {
        text += file[0] == 'u' ? "\r\nLand;" + std::to_string(700001 + i) + ";1;83;"
                               : "\r\nWaiting;97;" + std::to_string(800003 + i) + ";4;6;";
      }
      return text;
    });
    test::LogCapture log;
    EXPECT_FALSE(Load()) << file;
    EXPECT_TRUE(log.ContainsText(u"ERROR: " + File(file) + u" at line " + Text(std::to_string(lines + 1)) +
                                 (file[0] == 'u' ? std::u16string(u" (counting from 1) names the Land unit ID=700001")
                                                 : std::u16string(u" (counting from 1) names the country 97"))))
        << file;
    std::size_t named = 0;
    for (const std::u16string& line : log.lines()) named += line.find(u"which the save does not hold") != std::u16string::npos;
    EXPECT_EQ(named, 1u) << file;
  }
}

// Lines of only ';' in the two tables read line by line, in a save whose list
// of files was written again over them (as an older save has no list): such
// a line holds no record and is passed over, and the game loaded is the one
// the save without them gives, written back byte for byte.
TEST_F(HostileSave, LinesOfOnlySeparatorsArePassedOver) {
  const fs::path saves = root_->path() / "data/save";
  Copy("Sound");
  ASSERT_TRUE(Load());
  SaveAs(u"FromSound");
  ASSERT_TRUE(Load());
  SaveAndClose(u"Resaved");

  const fs::path save = saves / "Separators";
  fs::copy(saves / "FromSound", save);
  for (const char* file : {"unit_state.csv", "ai_memory.csv"}) {
    Replace(save / file, [](std::string text) {
      const std::size_t header = text.find("\r\n");
      return text.insert(header, "\r\n;\r\n;;;") + "\r\n;";
    });
  }
  std::vector<cWrittenFilesRecord::sEntry> listed;
  for (const std::u16string_view name : SaveFileNames()) {
    const fs::path file = save / fs::path(name);
    const std::string bytes = test::ReadFileBytes(file);
    listed.push_back({file, bytes.size(), FastDigest(bytes)});
  }
  ASSERT_TRUE(WriteSaveManifest(u"data\\save\\Separators", listed));
  name_ = "Separators";
  test::LogCapture log;
  ASSERT_TRUE(Load());
  for (const std::u16string& line : log.lines()) {
    EXPECT_FALSE(line.starts_with(u"WARNING") || line.starts_with(u"ERR")) << Utf16ToUtf8(line);
  }
  SaveAndClose(u"FromSeparators");
  EXPECT_EQ(test::ReadFolderBytes(saves / "FromSeparators"), test::ReadFolderBytes(saves / "Resaved"));
}

// A file at its reader's budget loads, but the game would write it back
// larger than a load reads: that save is refused, naming the file, and the
// save it would have replaced stays as it was and loads.
TEST_F(HostileSave, ASaveItsLoadWouldRefuseIsNotWrittenAndTheLastOneIsKept) {
  Copy("BeforeBudget");
  ASSERT_TRUE(Load());
  game_->saveContext->clock = [] { return sLocalTime{1941, 6, 22, 3, 15}; };
  ASSERT_TRUE(game_->saveContext->SaveGame(u"Kept", true));
  gGame = nullptr;
  delete game_;
  game_ = nullptr;
  const fs::path kept = root_->path() / "data/save/Kept";
  const std::string keptMemory = test::ReadFileBytes(kept / "ai_memory.csv");
  const std::string keptInfo = test::ReadFileBytes(kept / "Info.ini");

  const fs::path save = Copy("AtBudget");
  std::size_t rows = 0;
  Replace(save / "ai_memory.csv", [&rows](std::string text) {
    const std::string row = "\r\nFront;2;1;0;0;0;0;0;0;0;0;0;0;1;3;";
    for (; text.size() + row.size() <= FileBudgetOf("ai_memory.csv", kTextFileBudget); ++rows) text += row;
    return text;
  });
  ASSERT_TRUE(Load());
  EXPECT_GE(CountryAiOf(*game_, *game_->countries[1]).fronts.size(), rows);
  game_->saveContext->clock = [] { return sLocalTime{1942, 7, 23, 4, 25}; };
  test::LogCapture log;
  EXPECT_FALSE(game_->saveContext->SaveGame(u"Kept", true));
  EXPECT_TRUE(log.ContainsText(u"ERROR: data\\save\\"));
  EXPECT_TRUE(log.ContainsText(u"\\ai_memory.csv would hold "));
  EXPECT_TRUE(log.ContainsText(u" bytes, more than the " +
                               Utf8ToUtf16(std::to_string(FileBudgetOf("ai_memory.csv", kTextFileBudget))) +
                               u" its load reads; it is not written"));
  EXPECT_TRUE(log.Contains(u"ERROR: Game not saved; data\\save\\Kept is left as it was"));
  EXPECT_EQ(test::ReadFileBytes(kept / "ai_memory.csv"), keptMemory);
  EXPECT_EQ(test::ReadFileBytes(kept / "Info.ini"), keptInfo);
  gGame = nullptr;
  delete game_;
  game_ = nullptr;
  name_ = "Kept";
  EXPECT_TRUE(Load());
}

}  // namespace
}  // namespace tr
