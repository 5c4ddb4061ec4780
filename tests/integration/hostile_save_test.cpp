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
#include "events/zdarzenia.h"
#include "foundation/fatal.h"
#include "foundation/random.h"
#include "foundation/text.h"
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

// The map of the save: its width and one hex record, as the game wrote them.
struct sMapFile {
  static constexpr std::size_t kHeader = 268;
  static constexpr std::size_t kRecord = 37;
  std::string bytes;
  int width = 0;
  int height = 0;

  explicit sMapFile(const fs::path& file) : bytes(test::ReadFileBytes(file)) {
    width = static_cast<unsigned char>(bytes[264]) | static_cast<unsigned char>(bytes[265]) << 8;
    height = static_cast<unsigned char>(bytes[266]) | static_cast<unsigned char>(bytes[267]) << 8;
  }
  unsigned char& Byte(int x, int y, int field) {
    const std::size_t at = kHeader + (static_cast<std::size_t>(y) * width + x) * kRecord + field;
    return reinterpret_cast<unsigned char&>(bytes[at]);
  }
  // The first land hex in row order that pass the test.
  std::pair<int, int> FindLand(const std::function<bool(int, int)>& test = nullptr) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (Byte(x, y, 0) != 0 && (!test || test(x, y))) return {x, y};
      }
    }
    ADD_FAILURE() << "no land hex";
    return {0, 0};
  }
  void Write(const fs::path& file) const { std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes; }
};

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
  // The loads set the root; it is put back after the game is freed.
  test::ScopedGameRoot gameRoot_{GameRoot()};
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
                       return u"ERROR: " + folder + u"\\relations.csv is empty; the game writes the files of a saved "
                                                    u"game whole, so the file is damaged and the game is not loaded";
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
        // A unit's points size the grids of its paths and ranges: a received
        // save holds them to what the scenario gives a unit.
        sHostileCase{"HugeActionPoints",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable units(save / "land_units.csv");
                       Set(save, "land_units.csv", 0, 8, "50000");
                       return u"WARNING: Action Points (50000) in " + folder + u"\\land_units.csv at line " +
                              Text(std::to_string(units.data[0] + 1)) +
                              u" (counting from 1) are more than the scenario gives a unit (9); held at 9";
                     },
                     false,
                     [](const cGame& game) {
                       for (const auto& unit : game.landUnits) EXPECT_LE(unit->actionPoints, 9) << unit->id;
                     }},
        // An air strike on a fort above level 9 would end the game in play.
        sHostileCase{"FortAboveTheHighestLevel",
                     [](const fs::path& save, const std::u16string& folder) {
                       sMapFile map(save / "map.qel");
                       const auto [x, y] = map.FindLand();
                       map.Byte(x, y, 9) = 50;
                       map.Write(save / "map.qel");
                       return u"WARNING: hex (" + Text(std::to_string(x)) + u", " + Text(std::to_string(y)) +
                              u") in " + folder + u"\\map.qel has the fort level 50, above the highest (9); held at 9";
                     },
                     false,
                     [](const cGame& game) {
                       for (const sHex& hex : game.map->Hexes()) EXPECT_LE(hex.fortLevel, 9) << hex.x << ',' << hex.y;
                     }},
        sHostileCase{"HexOfNoCountry",
                     [](const fs::path& save, const std::u16string& folder) {
                       sMapFile map(save / "map.qel");
                       const auto [x, y] = map.FindLand();
                       map.Byte(x, y, 6) = map.Byte(x, y, 7) = map.Byte(x, y, 8) = 200;
                       map.Write(save / "map.qel");
                       return u"WARNING: hex (" + Text(std::to_string(x)) + u", " + Text(std::to_string(y)) + u") of " +
                              folder + u"\\map.qel given controller ";
                     },
                     false,
                     [](const cGame& game) {
                       // It takes the countries of a neighbour.
                       for (const sHex& hex : game.map->Hexes()) {
                         if (!hex.IsLand()) continue;
                         for (const int id : {hex.controller, hex.owner, hex.originalOwner}) {
                           EXPECT_TRUE(id >= 1 && id <= game.CountryCount()) << hex.x << ',' << hex.y;
                         }
                       }
                     }},
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

// The text of a table or INI file as an editor or another program may write
// it: a byte-order mark, other line ends, numbers the readers would read by
// their first digits, rows run together.
std::string LandUnitsLine(const fs::path& save, std::size_t row) {
  return std::to_string(sTable(save / "land_units.csv").data[row] + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Text, HostileSaveCase,
    testing::Values(
        sHostileCase{"ByteOrderMarkBeforeCities",
                     [](const fs::path& save, const std::u16string& folder) {
                       Replace(save / "cities.csv", [](const std::string& text) { return "\xEF\xBB\xBF" + text; });
                       return u"NOTE: " + folder + u"\\cities.csv starts with a UTF-8 byte-order mark; the mark is "
                                                   u"skipped";
                     },
                     false,
                     [](const cGame& game) {
                       // The header line stays a comment: no city is made of it.
                       for (const auto& city : game.cities) {
                         EXPECT_FALSE(city->name.starts_with(u"\u00EF") || city->name.find(u'#') != std::u16string::npos)
                             << Utf16ToUtf8(city->name);
                       }
                     }},
        sHostileCase{"ByteOrderMarkBeforeInfoIni",
                     [](const fs::path& save, const std::u16string& folder) {
                       Replace(save / "Info.ini", [](const std::string& text) { return "\xEF\xBB\xBF" + text; });
                       return u"NOTE: " + folder + u"\\Info.ini starts with a UTF-8 byte-order mark; the mark is "
                                                   u"skipped";
                     },
                     false},
        sHostileCase{"InfoIniWithCrLineEnds",
                     [](const fs::path& save, const std::u16string& folder) {
                       Replace(save / "Info.ini", [](std::string text) {
                         std::erase(text, '\n');
                         return text;
                       });
                       return u"Loading INI file " + folder + u"\\Info.ini";
                     },
                     false,
                     [](const cGame& game) { EXPECT_GT(game.date.year, 1); }},
        sHostileCase{"NumberWrittenInHex",
                     [](const fs::path& save, const std::u16string& folder) {
                       Set(save, "land_units.csv", 0, 8, "0x17");
                       return u"WARNING: " + folder + u"\\land_units.csv at line " + Text(LandUnitsLine(save, 0)) +
                              u" (counting from 1), column 9: \"0x17\" is not a whole number; read as 0";
                     },
                     false},
        sHostileCase{"ExponentInAWholeNumber",
                     [](const fs::path& save, const std::u16string& folder) {
                       Set(save, "land_units.csv", 1, 13, "1.4e1");
                       return u"WARNING: " + folder + u"\\land_units.csv at line " + Text(LandUnitsLine(save, 1)) +
                              u" (counting from 1), column 14: \"1.4e1\" is not a whole number; read as 1";
                     },
                     false},
        sHostileCase{"WholeNumberBeyond32Bits",
                     [](const fs::path& save, const std::u16string& folder) {
                       Set(save, "land_units.csv", 0, 18, "99999999999");
                       return u"WARNING: " + folder + u"\\land_units.csv at line " + Text(LandUnitsLine(save, 0)) +
                              u" (counting from 1), column 19: \"99999999999\" is beyond the 32-bit range; read as "
                              u"2147483647";
                     },
                     false},
        sHostileCase{"CountryNumberWithText",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable countries(save / "countries.csv");
                       Set(save, "countries.csv", 0, 7, "1st");
                       return u"WARNING: " + folder + u"\\countries.csv at line " +
                              Text(std::to_string(countries.data[0] + 1)) +
                              u" (counting from 1), column 8: \"1st\" is not a whole number; read as 1";
                     },
                     false},
        sHostileCase{"ProductionBeyond32Bits",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable cities(save / "cities.csv");
                       Set(save, "cities.csv", 0, 5, "1e38");
                       return u"WARNING: City production points (1e+38) out of range in " + folder +
                              u"\\cities.csv at line " + Text(std::to_string(cities.data[0] + 1));
                     },
                     false},
        sHostileCase{"TwoRowsOnOneLine",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable units(save / "land_units.csv");
                       const std::size_t first = units.data[0];
                       Replace(save / "land_units.csv", [&](const std::string& text) {
                         std::size_t at = 0;
                         for (std::size_t i = 0; i <= first; ++i) at = text.find('\n', at) + 1;
                         // The line end of the first row is lost: the next row goes on after it.
                         const std::size_t end = text.rfind('\r', at) == at - 2 ? at - 2 : at - 1;
                         return text.substr(0, end) + text.substr(at);
                       });
                       return u"WARNING: row of " + folder + u"\\land_units.csv at line " +
                              Text(std::to_string(first + 1)) +
                              u" (counting from 1) has 66 fields, more than the 33 of a row (two rows on one line?); "
                              u"its first 33 are read and the rest left out";
                     },
                     false},
        sHostileCase{"RowOf65536Fields",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable units(save / "land_units.csv");
                       const std::size_t first = units.data[0];
                       Replace(save / "land_units.csv", [&](const std::string& text) {
                         std::size_t at = 0;
                         for (std::size_t i = 0; i <= first; ++i) at = text.find('\n', at) + 1;
                         const std::size_t end = text.rfind('\r', at) == at - 2 ? at - 2 : at - 1;
                         std::string padding;
                         for (int i = 33; i < 65536; ++i) padding += "1;";
                         return text.substr(0, end) + padding + text.substr(end);
                       });
                       return u"WARNING: row of " + folder + u"\\land_units.csv at line " +
                              Text(std::to_string(first + 1)) + u" (counting from 1) has 65536 fields, more than the 33";
                     },
                     false,
                     [](const cGame& game) { EXPECT_GT(game.landUnits.size(), 1u); }},
        sHostileCase{"ForeignCommanderOnARepeatedNumber",
                     [](const fs::path& save, const std::u16string& folder) {
                       // The message names the row of the unit, not the first row with its number.
                       const sTable units(save / "land_units.csv");
                       const sTable commanders(save / "commanders.csv");
                       const auto unit = units.Find([&](std::size_t r) {
                         return r > 0 && units.Field(r, 15) == "-1" && units.Field(r, 16) == "0";
                       });
                       EXPECT_TRUE(unit.has_value());
                       const auto foreign = commanders.Find(
                           [&](std::size_t r) { return commanders.Field(r, 2) != units.Field(*unit, 2); });
                       EXPECT_TRUE(foreign.has_value());
                       Set(save, "land_units.csv", *unit, 0, units.Field(0, 0));
                       Set(save, "land_units.csv", *unit, 15, commanders.Field(*foreign, 0));
                       return u"WARNING: land unit " + Text(units.Field(*unit, 1)) + u" (ID=" +
                              Text(units.Field(0, 0)) + u") of country " + Text(units.Field(*unit, 2)) + u" in " +
                              folder + u"\\land_units.csv at line " + Text(std::to_string(units.data[*unit] + 1)) +
                              u" (counting from 1) names commander ";
                     },
                     false}),
    [](const auto& info) { return std::string(info.param.name); });

// A table of comments only is an empty table, not a broken one.
TEST_F(HostileSave, ATableOfCommentsOnlyLoadsEmpty) {
  const fs::path save = Copy("AirUnitsCommentsOnly");
  Replace(save / "air_units.csv", [](const std::string& text) { return text.substr(0, text.find("\r\n") + 2); });
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

// Values that once ended play: a unit with points no grid could hold, forts
// above the highest level everywhere and a hex of a country that does not
// exist. Mended at load, the save plays two impulses without a fatal error
// or a lookup of a missing country, and the save it writes loads clean.
TEST_F(HostileSave, MendedValuesPlayAndTheNextSaveLoadsClean) {
  const fs::path save = Copy("Mended");
  Set(save, "land_units.csv", 0, 8, "50000");
  sMapFile map(save / "map.qel");
  for (int y = 0; y < map.height; ++y) {
    for (int x = 0; x < map.width; ++x) {
      if (map.Byte(x, y, 0) != 0) map.Byte(x, y, 9) = 50;
    }
  }
  const auto [x, y] = map.FindLand();
  map.Byte(x, y, 6) = map.Byte(x, y, 7) = map.Byte(x, y, 8) = 200;
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

// A scenario whose events stay true: pairs of events that are not one-time,
// one never true above one always true. The check at the end of an impulse
// fires them in list order, and what it fires and logs grows with the events,
// not with the searches that start again from the top after every firing.
TEST(HostileScenario, EventsThatStayTrueFireInOrderAndLogInProportion) {
  constexpr int kPairs = 100;
  constexpr int kFirstId = 30000;
  test::TempDir root;
  test::CopyBuiltScenario(root.path(), kScenario);
  Replace(root.path() / "data/scenarios" / kScenario / "events.xml", [&](std::string text) {
    std::string added;
    for (int i = 0; i < 2 * kPairs; ++i) {
      added += "<event eventID=\"" + std::to_string(kFirstId + i) +
               "\" countryID=\"1\" visibleByPlayer=\"0\" oneTimeChecking=\"0\"><title>T</title><condition><and>"
               "<expression><leftOperand constValue=\"1\"/><operator value=\"equals\"/><rightOperand constValue=\"" +
               std::to_string(1 + (i + 1) % 2) +
               "\"/></expression></and></condition><options><option optionID=\"1\" chanceAI=\"100\">"
               "<description>D</description></option></options></event>\n";
    }
    return text.insert(text.rfind("</events>"), added);
  });
  test::GameRunScope scope;
  sGameFolderArgs args;
  args.root = root.path().string();
  args.scenario = kScenario;
  scope.game.reset(LoadGameFolder(args));
  cGame& game = *scope.game;
  for (const auto& country : game.countries) country->humanControlled = 0;
  const std::size_t events = game.events->events.size();

  test::LogCapture log;
  game.events->CheckEventsAtTurnEnd(game);
  const std::vector<std::u16string> lines = log.lines();
  std::vector<int> fired;
  for (const std::u16string& line : lines) {
    int id = 0;
    if (line.ends_with(u" is true. Firing...") &&
        std::sscanf(Utf16ToUtf8(line).c_str(), "Condition for event with ID=%d", &id) == 1 && id >= kFirstId) {
      fired.push_back(id);
    }
  }
  ASSERT_FALSE(fired.empty());
  EXPECT_LE(fired.size(), 2 * events);
  EXPECT_LE(lines.size(), 20 * events);
  // Each always-true event fires, in the order of the list.
  std::vector<int> first;
  for (const int id : fired) {
    EXPECT_EQ((id - kFirstId) % 2, 1) << id;
    if (std::find(first.begin(), first.end(), id) == first.end()) first.push_back(id);
  }
  ASSERT_EQ(first.size(), static_cast<std::size_t>(kPairs));
  EXPECT_TRUE(std::is_sorted(first.begin(), first.end()));
}

}  // namespace
}  // namespace tr
