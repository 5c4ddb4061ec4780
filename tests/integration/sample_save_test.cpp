// The shipped sample scenario through the checker's save: the save loads back
// into the same game, and saving that game again writes the same bytes.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdint>
#include <fstream>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ai/autoplay.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "scenario/save_game.h"
#include "support/temp_dir.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/scenario_check.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

constexpr char kScenario[] = "NorthernTide";
constexpr char kClock[] = "2011-03-04 09:30";
constexpr std::uint32_t kSeed = 20110304;

using FolderBytes = std::map<std::string, std::string>;

// Everything a player could tell two games apart by: the map with its coast
// and weather, the countries, the cities and every unit with its place and
// commander, the flags and the wars.
std::string Describe(const cGame& game) {
  std::ostringstream out;
  PrintGameSummary(game, out);
  out << "turn " << game.turn << ' ' << game.turnsLeft << " date " << game.date.impulse << '/' << game.date.month
      << '/' << game.date.year << '\n';
  for (const sHex& hex : game.map->Hexes()) {
    out << "hex " << hex.x << ',' << hex.y << ": " << int(hex.terrain) << ',' << int(hex.rivers) << ',' << int(hex.controller) << ',' << int(hex.owner) << ','
        << int(hex.originalOwner) << ',' << hex.seaZone << ',' << int(hex.port) << ',' << int(hex.fortLevel) << ','
        << hex.weather << (hex.unit ? "u" : "") << (hex.city ? "c" : "") << '\n';
  }
  for (const auto& country : game.countries) {
    out << "country " << country->id << ' ' << Utf16ToUtf8(country->name) << ' ' << int(country->isActive) << ' '
        << country->alliance << ' ' << country->politicalStrength << '\n';
  }
  for (const auto& city : game.cities) {
    out << "city " << Utf16ToUtf8(city->name) << ' ' << city->x << ',' << city->y << ' ' << city->type << ' '
        << city->victoryPoints << ' ' << city->productionPoints << '\n';
  }
  const auto units = [&out](const char* where, const auto& list) {
    for (const auto& unit : list) {
      out << where << ' ' << unit->id << ' ' << unit->owner << ' ' << unit->type << ' ' << Utf16ToUtf8(unit->name)
          << ' ' << unit->x << ',' << unit->y << ' ';
      out << unit->commanderId << ' ';
      if constexpr (requires { unit->strength; }) {
        out << unit->strength << '\n';
      } else {
        out << unit->fleetId << ' ' << unit->hitPoints << '\n';
      }
    }
  };
  units("land", game.landUnits);
  units("aboard-a", game.aboardUnitsA);
  units("aboard-b", game.aboardUnitsB);
  units("air", game.airUnits);
  units("naval", game.navalUnits);
  units("reserve", game.reservePool);
  units("naval-reserve", game.navalReserve);
  for (std::size_t i = 0; i < game.flags.size(); ++i) {
    if (game.flags[i] != 0) out << "flag " << i << '=' << game.flags[i] << '\n';
  }
  for (int a = 1; a <= game.CountryCount(); ++a) {
    for (int b = 1; b <= game.CountryCount(); ++b) out << (game.relations.IsAtWar(a, b) ? 'w' : '.');
  }
  out << '\n';
  return out.str();
}

// The value of a key of "Info.ini" (written "key = value"), empty when absent.
std::string IniValue(const std::string& text, const std::string& key) {
  const std::string start = "\n" + key + " = ";
  const std::size_t at = text.find(start);
  if (at == std::string::npos) return {};
  const std::size_t from = at + start.size();
  return text.substr(from, text.find('\r', from) - from);
}

class SampleSaveTest : public testing::Test {
 protected:
  // A private game folder holding a copy of the built sample, so the saves
  // never touch the shared build folder.
  SampleSaveTest() {
    test::CopyBuiltScenario(dir_.path(), kScenario);
  }
  ~SampleSaveTest() override { DropGame(); }

  static void DropGame() {
    delete gGame;
    gGame = nullptr;
  }

  // The checker's run: loads and saves under a fixed clock; returns its summary.
  // A new game rolls its first weather while it loads, so each load starts
  // from the same draws and the game saved is the game described below.
  std::string Check(const char* loadKind, const std::string& name, const std::string& saveAs) const {
    SeedRandom(kSeed);
    std::ostringstream out;
    std::ostringstream errors;
    const int code = RunScenarioCheck(
        {"--root", dir_.path().string(), loadKind, name, "--save-as", saveAs, "--clock", kClock}, out, errors);
    EXPECT_EQ(code, 0) << errors.str();
    return out.str();
  }

  std::string DescribeLoaded(const std::u16string& folderTemplate, int loaded) const {
    SetGameRoot(dir_.path().string());
    DropGame();
    SeedRandom(kSeed);
    const std::string text = Describe(*LoadNewScenario(folderTemplate, loaded));
    DropGame();
    return text;
  }

  FolderBytes Files(const std::string& save) const { return test::ReadFolderBytes(dir_.path() / "data/save" / save); }

  // An artificial harbour takes the next land-unit number at every load, so
  // its row is compared without its number.
  static std::string WithoutHarbourNumbers(const std::string& file, std::string bytes) {
    if (file != "land_units.csv") return bytes;
    std::string out;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
      const std::size_t name = line.find(';');
      const std::size_t type = name == std::string::npos ? name : line.find(";60;", name);
      if (type != std::string::npos && std::count(line.begin(), line.begin() + static_cast<long>(type), ';') == 4) {
        line.replace(0, name, 1, '#');
      }
      out += line + '\n';
    }
    return out;
  }

  static void ExpectSameFiles(const FolderBytes& first, const FolderBytes& second) {
    // The files and the list of their digests, which differs where they do.
    ASSERT_EQ(first.size(), static_cast<std::size_t>(kSaveFileCount) + 1);
    ASSERT_EQ(second.size(), static_cast<std::size_t>(kSaveFileCount) + 1);
    for (const auto& [file, original] : first) {
      ASSERT_EQ(second.count(file), 1u) << file;
      if (file == "file_digests.csv") continue;
      const std::string bytes = WithoutHarbourNumbers(file, original);
      const std::string other = WithoutHarbourNumbers(file, second.at(file));
      std::size_t at = 0;
      while (at < bytes.size() && at < other.size() && bytes[at] == other[at]) ++at;
      EXPECT_TRUE(other == bytes) << file << " differs at byte " << at << " of " << bytes.size() << ": "
                                  << bytes.substr(at, 60) << " / " << other.substr(at, 60);
    }
  }

  test::TempDir dir_;
  // The loads and the checker set the root; it is put back after the game is freed.
  test::ScopedGameRoot gameRoot_{GameRoot()};
};

// The AI columns (target x and y, ultimate target x and y) of a unit's row in
// "land_units.csv"; empty when the unit is not there.
std::vector<std::string> AiTargetFields(const std::string& file, const std::string& id) {
  std::istringstream in(file);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(id + ";", 0) != 0) continue;
    std::vector<std::string> fields;
    std::istringstream row(line);
    for (std::string field; std::getline(row, field, ';');) fields.push_back(field);
    if (fields.size() < 24) return {};
    return {fields.begin() + 20, fields.begin() + 24};
  }
  return {};
}

TEST_F(SampleSaveTest, SavedSampleLoadsIntoTheSameGameAndResavesByteForByte) {
  // One unit with AI targets whose four coordinates all differ, so a column
  // read or written in another's place shows in the saved file.
  const fs::path units = dir_.path() / "data/scenarios" / kScenario / "land_units.csv";
  std::string table = test::ReadFileBytes(units);
  const std::size_t row = table.find("\n1;");
  ASSERT_NE(row, std::string::npos);
  const std::size_t rowEnd = table.find_first_of("\r\n", row + 1);
  std::vector<std::string> fields;
  std::istringstream cells(table.substr(row + 1, rowEnd - row - 1));
  for (std::string field; std::getline(cells, field, ';');) fields.push_back(field);
  ASSERT_GE(fields.size(), 24u);
  const std::vector<std::string> targets{"2", "5", "3", "7"};
  std::copy(targets.begin(), targets.end(), fields.begin() + 20);
  std::string edited;
  for (std::size_t i = 0; i < fields.size(); ++i) edited += (i ? ";" : "") + fields[i];
  table.replace(row + 1, rowEnd - row - 1, edited);
  std::ofstream(units, std::ios::binary | std::ios::trunc) << table;

  const std::string fromScenario = Check("--scenario", kScenario, "first");
  const std::string fromSave = Check("--save", "first", "second");
  // The summaries differ only in the line the checker adds for the save name.
  EXPECT_EQ(fromScenario.substr(0, fromScenario.find("Saved as:")), fromSave.substr(0, fromSave.find("Saved as:")));

  const FolderBytes first = Files("first");
  const FolderBytes second = Files("second");
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first.at("Info.ini").find("11.03.04 09:30"), std::string::npos) << first.at("Info.ini");
  ExpectSameFiles(first, second);
  EXPECT_EQ(AiTargetFields(first.at("land_units.csv"), "1"), targets);

  const std::string scenarioGame = DescribeLoaded(u"data\\scenarios\\NorthernTide\\%s", 0);
  const std::string savedGame = DescribeLoaded(u"data\\save\\first\\%s", 1);
  std::istringstream want(scenarioGame);
  std::istringstream got(savedGame);
  std::string wantLine;
  std::string gotLine;
  while (std::getline(want, wantLine)) {
    ASSERT_TRUE(std::getline(got, gotLine)) << "the saved game lacks: " << wantLine;
    EXPECT_EQ(gotLine, wantLine);
  }
  EXPECT_FALSE(std::getline(got, gotLine)) << "the saved game has more: " << gotLine;
}

// An editor may save a file as UTF-8 with a byte-order mark in front. The
// sample moved to a folder named with a letter beyond ASCII, once with its
// Info.ini, event list and countries as the game writes them (Windows-1252)
// and once as such an editor saves them: both are the same game with the
// same letters, and both save the same bytes.
TEST_F(SampleSaveTest, FilesSavedAsUtf8WithAMarkLoadAndSaveAsTheSameGame) {
  const fs::path scenarios = dir_.path() / "data/scenarios";
  const std::string folder = "N\xC3\xB6rdtide";  // the file system's names are UTF-8
  fs::rename(scenarios / kScenario, scenarios / folder);
  std::map<std::string, std::string> originals;
  for (const char* file : {"Info.ini", "event_files.txt", "countries.csv"}) {
    originals[file] = test::ReadFileBytes(scenarios / folder / file);
  }
  const auto write = [&](bool utf8) {
    const std::string mark = utf8 ? "\xEF\xBB\xBF" : "";
    const std::map<std::string, std::string> renames = {
        {kScenario, utf8 ? folder : "N\xF6rdtide"},
        {"5;1;Rusmark;", utf8 ? "5;1;R\xC3\xBCsmark;" : "5;1;R\xFCsmark;"}};
    for (auto [file, text] : originals) {
      for (const auto& [from, to] : renames) {
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
          text.replace(at, from.size(), to);
        }
      }
      std::ofstream(scenarios / folder / file, std::ios::binary | std::ios::trunc) << mark + text;
    }
  };
  write(false);
  const std::u16string folderTemplate = u"data\\scenarios\\N\u00F6rdtide\\%s";
  const std::string asWritten = DescribeLoaded(folderTemplate, 0);
  EXPECT_NE(asWritten.find("country 5 R\xC3\xBCsmark 1"), std::string::npos) << asWritten;
  Check("--scenario", folder, "written");
  write(true);
  EXPECT_EQ(DescribeLoaded(folderTemplate, 0), asWritten);
  Check("--scenario", folder, "edited");
  const FolderBytes written = Files("written");
  ASSERT_FALSE(written.empty());
  EXPECT_NE(written.at("Info.ini").find("ScenarioName = N\xF6rdtide\r"), std::string::npos) << written.at("Info.ini");
  ExpectSameFiles(written, Files("edited"));
}

// A game the computer played on every side for a long while: the runner's
// save loads back and the checker saves it again byte for byte.
TEST_F(SampleSaveTest, LongPlayedGameResavesByteForByte) {
  // The sample is over sooner; a longer one plays on through the years.
  const fs::path info = dir_.path() / "data/scenarios" / kScenario / "Info.ini";
  std::string text = test::ReadFileBytes(info);
  const std::size_t turns = text.find("\nTurns=");
  ASSERT_NE(turns, std::string::npos) << text;
  text.replace(turns, text.find_first_of("\r\n", turns + 1) - turns, "\nTurns=200");
  std::ofstream(info, std::ios::binary | std::ios::trunc) << text;

  std::ostringstream out;
  std::ostringstream errors;
  SeedRandom(kSeed);
  ASSERT_EQ(RunAutoplay({"--root", dir_.path().string(), "--scenario", kScenario, "--impulses", "150", "--seed", "11",
                         "--save-as", "played", "--clock", kClock},
                        out, errors),
            0)
      << errors.str() << out.str();
  // The war may be won before the last impulse; a long game still lies behind the save.
  const bool whole = out.str().find("impulses=150\n") != std::string::npos;
  const bool won = out.str().find("game_over=1\n") != std::string::npos;
  ASSERT_TRUE(whole || won) << out.str();
  const std::size_t impulses = out.str().find("impulses=");
  ASSERT_NE(impulses, std::string::npos) << out.str();
  ASSERT_GE(std::stoi(out.str().substr(impulses + 9)), 60) << out.str();
  Check("--save", "played", "again");
  const FolderBytes played = Files("played");
  ASSERT_FALSE(played.empty());
  const std::string& saved = played.at("Info.ini");
  EXPECT_EQ(IniValue(saved, "GameMonthDisplayed"), IniValue(saved, "GameMonth")) << saved;
  EXPECT_EQ(IniValue(saved, "GameYearDisplayed"), IniValue(saved, "GameYear")) << saved;
  ExpectSameFiles(played, Files("again"));
}

// The game folder the build makes is one a player saves into as it is.
TEST(BuiltGameFolder, HoldsTheFoldersTheGameSavesInto) {
  for (const char* folder : {"data/save", "data/pbem"}) {
    EXPECT_TRUE(fs::is_directory(fs::path(TR_GAME_DIR) / folder)) << folder;
  }
}

TEST_F(SampleSaveTest, ClockThatIsNotATimeIsRefused) {
  std::ostringstream out;
  std::ostringstream errors;
  EXPECT_EQ(RunScenarioCheck({"--root", dir_.path().string(), "--scenario", kScenario, "--save-as", "x", "--clock",
                              "tomorrow"},
                             out, errors),
            2);
  EXPECT_FALSE(fs::exists(dir_.path() / "data/save/x"));
}

}  // namespace
}  // namespace tr
