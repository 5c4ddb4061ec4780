// A save of the sample as the game writes it, changed in one place the way a
// received save can be: every change is refused at load, or mended, with a
// line that names the file and the row; none loads without a word.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/fatal.h"
#include "foundation/text.h"
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

namespace fs = std::filesystem;

constexpr char kScenario[] = "NorthernTide";

// The ';'-separated data rows of a table, each with the index of its line.
struct sTable {
  std::vector<std::string> lines;  // without their '\n'
  std::vector<std::size_t> data;   // the lines that are data rows

  explicit sTable(const fs::path& file) {
    const std::string text = test::ReadFileBytes(file);
    std::size_t start = 0;
    while (start <= text.size()) {
      const std::size_t end = std::min(text.find('\n', start), text.size());
      lines.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      if (!line.empty() && line != "\r" && line[0] != '#') data.push_back(i);
    }
  }
  // Field k of data row r.
  std::string Field(std::size_t r, std::size_t k) const {
    std::istringstream in(lines[data[r]]);
    std::string field;
    for (std::size_t i = 0; i <= k && std::getline(in, field, ';');) ++i;
    if (!field.empty() && field.back() == '\r') field.pop_back();
    return field;
  }
  // The first data row whose fields pass the test.
  std::optional<std::size_t> Find(const std::function<bool(std::size_t)>& test) const {
    for (std::size_t r = 0; r < data.size(); ++r) {
      if (test(r)) return r;
    }
    return std::nullopt;
  }
};

void Set(const fs::path& save, const char* file, std::size_t row, int field, const std::string& value) {
  ASSERT_TRUE(test::ApplyCorruption(save, {test::sCorruption::Kind::kValue, file, static_cast<int>(row), field, value}))
      << file << " row " << row << " field " << field;
}

void Replace(const fs::path& file, const std::function<std::string(std::string)>& change) {
  const std::string text = change(test::ReadFileBytes(file));
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

// The save is made once: the sample played two impulses by the computer on
// every side, saved as the game saves. Each case changes a copy of it.
class HostileSave : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = new test::TempDir;
    ASSERT_TRUE(test::MakeBaseSave(root_->path(), kScenario));
  }
  static void TearDownTestSuite() {
    delete root_;
    root_ = nullptr;
  }
  ~HostileSave() override {
    if (gGame == game_) gGame = nullptr;
    delete game_;
    UninstallGameSteps();
  }

  // A fresh copy of the save under the name, to be changed.
  fs::path Copy(const std::string& name) {
    name_ = name;
    const fs::path folder = root_->path() / "data/save" / name;
    fs::remove_all(folder);
    fs::copy(root_->path() / "data/save" / test::kBaseSave, folder);
    return folder;
  }
  std::u16string File(const char* file) const { return Utf8ToUtf16("data\\save\\" + name_ + "\\" + file); }

  // Loads the copy as the game loads a save; false when the load was refused.
  bool Load() {
    InstallGameSteps();
    sGameFolderArgs args;
    args.root = root_->path().string();
    args.save = name_;
    try {
      game_ = LoadGameFolder(args);
    } catch (const FatalExitError& error) {
      EXPECT_EQ(error.code(), 1);
      if (gGame != nullptr && gGame != game_) delete gGame;
      gGame = nullptr;
      return false;
    }
    return true;
  }

  static test::TempDir* root_;
  std::string name_;
  cGame* game_ = nullptr;
};

test::TempDir* HostileSave::root_ = nullptr;

struct sHostileCase {
  const char* name;
  // Changes the copy of the save; returns the text a log line must hold.
  std::function<std::u16string(const fs::path& save, const std::u16string& folder)> change;
  bool refused;
  // Checks the game a mended save loaded into.
  std::function<void(const cGame&)> mended = nullptr;
};

class HostileSaveCase : public HostileSave, public testing::WithParamInterface<sHostileCase> {};

TEST_P(HostileSaveCase, IsRefusedOrMendedWithALineNamingTheFile) {
  const fs::path save = Copy(GetParam().name);
  const std::u16string folder = Utf8ToUtf16("data\\save\\" + std::string(GetParam().name));
  const std::u16string expected = GetParam().change(save, folder);
  test::LogCapture log;
  EXPECT_EQ(Load(), !GetParam().refused);
  EXPECT_TRUE(log.ContainsText(expected)) << Utf16ToUtf8(expected);
  if (game_ != nullptr && GetParam().mended) GetParam().mended(*game_);
}

std::u16string Text(const std::string& text) { return Utf8ToUtf16(text); }

// Every commander leads one unit at most, and one who leads a unit is assigned.
void ExpectOneUnitPerCommander(const cGame& game) {
  std::map<const sCommander*, int> units;
  const auto count = [&](const auto& list) {
    for (const auto& unit : list) {
      if (unit->attachedCommander != nullptr) ++units[unit->attachedCommander];
    }
  };
  count(game.landUnits);
  count(game.aboardUnitsA);
  count(game.aboardUnitsB);
  count(game.airUnits);
  count(game.navalUnits);
  count(game.reservePool);
  for (const auto& [commander, led] : units) {
    EXPECT_EQ(led, 1) << Utf16ToUtf8(commander->name);
    EXPECT_EQ(commander->state, kCommanderAssigned) << Utf16ToUtf8(commander->name);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sample, HostileSaveCase,
    testing::Values(
        sHostileCase{"LandUnitOfNoCountry",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable units(save / "land_units.csv");
                       Set(save, "land_units.csv", 0, 2, "0");
                       return u"ERROR: land unit " + Text(units.Field(0, 1)) + u" (ID=" + Text(units.Field(0, 0)) +
                              u") in " + folder + u"\\land_units.csv at line " +
                              Text(std::to_string(units.data[0] + 1)) +
                              u" (counting from 1) names country 0, which does not exist; the game is not loaded";
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
                       return u"WARNING: land unit " + Text(units.Field(*unit, 1)) + u" (ID=" +
                              Text(units.Field(*unit, 0)) + u") of country " + Text(units.Field(*unit, 2)) + u" in " +
                              folder + u"\\land_units.csv at line " + Text(std::to_string(units.data[*unit] + 1)) +
                              u" (counting from 1) names commander " + Text(commanders.Field(*foreign, 1)) +
                              u" (ID=" + Text(commanders.Field(*foreign, 0)) + u") of country " +
                              Text(commanders.Field(*foreign, 2)) + u"; the unit is left without a commander";
                     },
                     false,
                     [](const cGame& game) {
                       const auto check = [](const auto& list) {
                         for (const auto& unit : list) {
                           if (unit->attachedCommander) {
                             EXPECT_EQ(unit->attachedCommander->countryId, unit->owner);
                           }
                         }
                       };
                       check(game.landUnits);
                       check(game.reservePool);
                     }},
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
                       return u"WARNING: land unit " + Text(units.Field(*other, 1)) + u" (ID=" +
                              Text(units.Field(*other, 0)) + u") in " + folder + u"\\land_units.csv at line " +
                              Text(std::to_string(units.data[*other] + 1)) + u" (counting from 1) names commander " +
                              Text(commanders.Field(*commander, 1)) + u" (ID=" + Text(id) +
                              u"), who already leads unit " + Text(units.Field(*led, 1)) + u" (ID=" +
                              Text(units.Field(*led, 0)) + u"); the unit is left without a commander";
                     },
                     false,
                     [](const cGame& game) { ExpectOneUnitPerCommander(game); }},
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
                       return u"WARNING: air unit " + Text(air.Field(*plane, 1)) + u" (ID=" + Text(air.Field(*plane, 0)) +
                              u") in " + folder + u"\\air_units.csv at line " +
                              Text(std::to_string(air.data[*plane] + 1)) + u" (counting from 1) names commander " +
                              Text(commanders.Field(*commander, 1)) + u" (ID=" + Text(id) +
                              u"), who already leads unit " + Text(units.Field(*led, 1)) + u" (ID=" +
                              Text(units.Field(*led, 0)) + u"); the unit is left without a commander";
                     },
                     false,
                     [](const cGame& game) { ExpectOneUnitPerCommander(game); }},
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
                       return u"WARNING: commander " + Text(commanders.Field(*commander, 1)) + u" (ID=" + Text(id) +
                              u") in " + folder + u"\\commanders.csv at line " +
                              Text(std::to_string(commanders.data[*commander] + 1)) +
                              u" (counting from 1) leads unit " + Text(units.Field(*led, 1)) + u" (ID=" +
                              Text(units.Field(*led, 0)) + u") but has state 0; he is counted as assigned (state 2)";
                     },
                     false,
                     [](const cGame& game) { ExpectOneUnitPerCommander(game); }},
        sHostileCase{"TwoShipsWithOneNumber",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable ships(save / "naval_units.csv");
                       Set(save, "naval_units.csv", 1, 0, ships.Field(0, 0));
                       return u"WARNING: naval unit ID " + Text(ships.Field(0, 0)) + u" in " + folder +
                              u"\\naval_units.csv at line " + Text(std::to_string(ships.data[1] + 1)) +
                              u" (counting from 1) is already used; row skipped";
                     },
                     false},
        sHostileCase{"ShipAboveItsHitPoints",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable ships(save / "naval_units.csv");
                       Set(save, "naval_units.csv", 0, 5, "100");
                       return u"WARNING: HP (100) above Max HP (" + Text(ships.Field(0, 6)) + u") in " + folder +
                              u"\\naval_units.csv at line " + Text(std::to_string(ships.data[0] + 1));
                     },
                     false,
                     [](const cGame& game) {
                       for (const auto& ship : game.navalUnits) EXPECT_LE(ship->hitPoints, ship->maxHitPoints);
                     }},
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
                         return folder + u"\\relations.csv: country " + Text(std::to_string(b)) +
                                u" is at war with country 1, but country 1 is at peace with country " +
                                Text(std::to_string(b)) + u" (its row at line " +
                                Text(std::to_string(relations.data[0] + 1)) +
                                u", counting from 1); both are now at war";
                       }
                       ADD_FAILURE() << "country 1 is at war with no one";
                       return std::u16string(u"?");
                     },
                     false,
                     [](const cGame& game) {
                       for (int a = 1; a <= game.CountryCount(); ++a) {
                         for (int b = 1; b <= game.CountryCount(); ++b) {
                           EXPECT_EQ(game.relations.IsAtWar(a, b), game.relations.IsAtWar(b, a)) << a << ' ' << b;
                         }
                       }
                     }},
        sHostileCase{"NoRelations",
                     [](const fs::path& save, const std::u16string& folder) {
                       Replace(save / "relations.csv", [](const std::string&) { return std::string(); });
                       return u"ERROR: " + folder + u"\\relations.csv holds no row of relations between the ";
                     },
                     true},
        sHostileCase{"RelationsOfCountryZero",
                     [](const fs::path& save, const std::u16string& folder) {
                       Set(save, "relations.csv", 1, 0, "0");
                       return u"Error in file " + folder + u"\\relations.csv line no. " +
                              Text(std::to_string(sTable(save / "relations.csv").data[1] + 1));
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
                       return u"WARNING: row of " + folder + u"\\land_units.csv at line " +
                              Text(std::to_string(cut + 1)) + u" (counting from 1) has ";
                     },
                     false},
        sHostileCase{"CommasForSemicolons",
                     [](const fs::path& save, const std::u16string& folder) {
                       Replace(save / "land_units.csv", [](std::string text) {
                         std::replace(text.begin(), text.end(), ';', ',');
                         return text;
                       });
                       return u"rows of " + folder + u"\\land_units.csv has the 33 fields a row needs; the table is "
                                                     u"read as empty";
                     },
                     false},
        sHostileCase{"YearZero",
                     [](const fs::path& save, const std::u16string& folder) {
                       Replace(save / "Info.ini", [](std::string text) {
                         const std::size_t at = text.find("GameYear");
                         const std::size_t end = text.find('\r', at);
                         return text.replace(at, end - at, "GameYear = 0");
                       });
                       return u"ERROR: Save/GameYear (0) in " + folder + u"\\Info.ini is not a year from 1 to";
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
                       return u"Blad: Numer ID=" + Text(units.Field(0, 0)) + u" sie powtarza. (" + folder +
                              u"\\land_units.csv at line " + Text(std::to_string(units.data[1] + 1));
                     },
                     false},
        sHostileCase{"AutomaticEventOfNoEvent",
                     [](const fs::path& save, const std::u16string& folder) {
                       const std::size_t lines = sTable(save / "auto_events.csv").data.size();
                       Replace(save / "auto_events.csv", [](const std::string& text) { return text + "39999;1\r\n"; });
                       return u"WARNING: " + folder + u"\\auto_events.csv at line " +
                              Text(std::to_string(lines + 1)) +
                              u" (counting from 1) names event 39999, which the scenario does not have; left out";
                     },
                     false,
                     [](const cGame& game) { EXPECT_EQ(game.autoEvents.FindPair(39999), nullptr); }}),
    [](const auto& info) { return std::string(info.param.name); });

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

// A land unit saved on a hex of the sea is put into its country's reserve:
// where it stands is found in the loaded save, so the sea hex is a real one.
TEST_F(HostileSave, LandUnitOnTheSeaGoesToTheReserve) {
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
  ASSERT_TRUE(Load());
  EXPECT_TRUE(log.ContainsText(u"in " + File("land_units.csv") + u" at line " +
                               Text(std::to_string(units.data[*onMap] + 1)) + u" (counting from 1) stands on the sea hex (" +
                               Text(std::to_string(x)) + u", " + Text(std::to_string(y)) +
                               u") and is not aboard; moved to the reserve pool"));
  EXPECT_EQ(game_->map->GetHex(x, y)->unit, nullptr);
}

}  // namespace
}  // namespace tr
