// The shipped sample scenario: it loads without a warning, its map file
// agrees with the map text it is built from, its constants file names every
// line, and its events pass the event loader. The checker warns about each
// data fault put into a copy of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <vector>

#include "foundation/paths.h"
#include "support/log_capture.h"
#include "support/scenario_corruption.h"
#include "support/temp_dir.h"
#include "turn/game_steps.h"
#include "turn/gra_endturn.h"
#include "world/gra.h"
#include "world/map_text.h"
#include "world/scenario_check.h"

namespace tr {
namespace {

constexpr char kScenario[] = "NorthernTide";

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A private copy of the game folder as the build makes it, made once: a game
// ended writes its settings into its root, which must never be the build's.
const std::filesystem::path& BuiltCopy() {
  static const test::TempDir copy;
  static const bool made = (test::CopyBuiltScenario(copy.path(), kScenario), true);
  (void)made;
  return copy.path();
}

// The sample as the build ships it, loaded as the game loads a new scenario.
std::unique_ptr<cGame> LoadBuiltSample() {
  const test::ScopedGameRoot root(GameRoot());
  InstallGameSteps();
  sGameFolderArgs args;
  args.root = BuiltCopy().string();
  args.scenario = kScenario;
  std::unique_ptr<cGame> game(LoadGameFolder(args));
  UninstallGameSteps();
  return game;
}

std::filesystem::path SourceFolder() { return std::filesystem::path(TR_SOURCE_DIR) / "data/scenarios" / kScenario; }

// The checker's "Warning: " lines for the scenario of the root.
std::vector<std::string> CheckerWarnings(const std::filesystem::path& root, std::string* errorsOut = nullptr) {
  std::ostringstream out;
  std::ostringstream errors;
  const int code = RunScenarioCheck({"--root", root.string(), "--scenario", kScenario}, out, errors);
  if (errorsOut) *errorsOut = "exit " + std::to_string(code) + ": " + errors.str();
  std::vector<std::string> warnings;
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("Warning: ", 0) == 0) warnings.push_back(line);
  }
  return warnings;
}

TEST(SampleScenarioTest, LoadsWithoutWarningsAndHoldsEveryKind) {
  test::LogCapture log;
  std::ostringstream out;
  std::ostringstream errors;
  ASSERT_EQ(RunScenarioCheck({"--root", BuiltCopy().string(), "--scenario", kScenario}, out, errors), 0) << errors.str();
  for (const std::u16string& line : log.lines()) {
    const std::string text(line.begin(), line.end());
    EXPECT_EQ(text.find("WARNING"), std::string::npos) << text;
    EXPECT_EQ(text.find("ERROR"), std::string::npos) << text;
    EXPECT_EQ(text.find("rror"), std::string::npos) << text;
  }
  const std::string summary = out.str();
  EXPECT_EQ(summary.find("Warning: "), std::string::npos) << summary;
  EXPECT_NE(summary.find("Countries: 9"), std::string::npos) << summary;
  EXPECT_NE(summary.find("1 aboard, 2 in reserve"), std::string::npos) << summary;
  EXPECT_NE(summary.find("Convoys: 2"), std::string::npos) << summary;
}

TEST(SampleScenarioTest, BuiltMapAgreesWithItsText) {
  std::string error;
  const auto expected =
      ParseMapText(ReadAll(std::filesystem::path(TR_SOURCE_DIR) / "data/scenario_maps" / (std::string(kScenario) + ".txt")), error);
  ASSERT_NE(expected, nullptr) << error;
  test::ScopedGameRoot gameRoot(TR_GAME_DIR);
  cMap built;
  built.Load(u"data\\scenarios\\NorthernTide\\%s");
  ASSERT_EQ(built.GetWidth(), expected->GetWidth());
  ASSERT_EQ(built.GetHeight(), expected->GetHeight());
  int land = 0;
  for (const sHex& want : expected->Hexes()) {
    const sHex& got = *built.GetHex(want.x, want.y);
    SCOPED_TRACE(testing::Message() << "hex " << want.x << "," << want.y);
    EXPECT_EQ(got.terrain, want.terrain);
    EXPECT_EQ(got.owner, want.owner);
    EXPECT_EQ(got.controller, want.controller);
    EXPECT_EQ(got.fortLevel, want.fortLevel);
    EXPECT_EQ(got.port, want.port);
    EXPECT_EQ(got.weather, want.weather);
    EXPECT_EQ(got.winterChance, want.winterChance);
    EXPECT_EQ(got.mudChance, want.mudChance);
    // The loader spreads sea zones onto the coast and marks river mouths at sea.
    if (want.IsLand()) {
      ++land;
      EXPECT_EQ(got.rivers, want.rivers);
    } else {
      EXPECT_EQ(got.seaZone, want.seaZone);
    }
  }
  EXPECT_GT(land, 0);
}

TEST(SampleScenarioTest, ConstantsHave184DataLinesEachWithItsComment) {
  std::istringstream in(ReadAll(SourceFolder() / "consts.csv"));
  std::string line;
  int dataLines = 0;
  bool commented = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '#') {
      commented = line.rfind("# " + std::to_string(dataLines + 1) + ": ", 0) == 0;
      continue;
    }
    ++dataLines;
    EXPECT_TRUE(commented) << "data line " << dataLines << " has no comment naming it";
    commented = false;
  }
  EXPECT_EQ(dataLines, 184);
}

// The last two data lines of the built sample's constants, as the game reads them.
TEST(SampleScenarioTest, ConstantsLoadTheirLastDataLines) {
  const std::string text = ReadAll(std::filesystem::path(TR_GAME_DIR) / "data/scenarios" / kScenario / "consts.csv");
  std::istringstream in(text);
  std::vector<std::string> data;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] != '#') data.push_back(line);
  }
  ASSERT_EQ(data.size(), 184u);
  ASSERT_NE(data[182], data[183]) << "two equal values would hide a line read in the other's place";
  ASSERT_NE(std::stoi(data[183]), 0);

  const std::unique_ptr<cGame> game = LoadBuiltSample();
  ASSERT_NE(game, nullptr);
  EXPECT_EQ(game->constants.ShipBombedValueA(), std::stoi(data[182]));
  EXPECT_EQ(game->constants.ShipBombedValueB(), std::stoi(data[183]));
}

// Entrenchment adds its percent per level to a defender and takes it off an
// air strike's effect: at the sample's maximum the strike keeps some effect.
TEST(SampleScenarioTest, MaximumEntrenchmentLeavesAirStrikesAnEffect) {
  const std::unique_ptr<cGame> game = LoadBuiltSample();
  ASSERT_NE(game, nullptr);
  const sScenarioConstants& k = game->constants;
  EXPECT_GT(k.MaxEntrenchment(), 0);
  EXPECT_LT(static_cast<float>(k.MaxEntrenchment()) * k.EntrenchmentPercent(), 100.0f);
}

// A line of blanks a hand edit leaves in a table is an empty line: a
// commanders table whose only row is one loads as the table without it.
TEST(SampleScenarioTest, ALineOfBlanksIsAnEmptyLine) {
  const std::string shipped = ReadAll(BuiltCopy() / "data/scenarios" / kScenario / "commanders.csv");
  std::size_t headerEnd = 0;
  for (int line = 0; line < 2; ++line) headerEnd = shipped.find("\r\n", headerEnd) + 2;
  ASSERT_EQ(shipped.rfind("#", 0), 0u);
  ASSERT_EQ(shipped[shipped.find("\r\n") + 2], '#') << "the table no longer starts with two header lines";

  for (const std::string blankLine : {"", " \r\n", " \t \r\n"}) {
    SCOPED_TRACE("last line \"" + blankLine + "\"");
    test::TempDir root;
    test::CopyBuiltScenario(root.path(), kScenario);
    std::ofstream(root.path() / "data/scenarios" / kScenario / "commanders.csv", std::ios::binary | std::ios::trunc)
        << shipped.substr(0, headerEnd) << blankLine;
    const test::ScopedGameRoot gameRoot(GameRoot());
    InstallGameSteps();
    sGameFolderArgs args;
    args.root = root.path().string();
    args.scenario = kScenario;
    std::unique_ptr<cGame> game;
    EXPECT_NO_THROW(game.reset(LoadGameFolder(args)));
    UninstallGameSteps();
    ASSERT_NE(game, nullptr);
    EXPECT_TRUE(game->commanders.empty());
  }
}

// Month and year of a "dd.mm.yyyy" value of the shipped description.
std::pair<int, int> DescribedMonthAndYear(const std::string& info, const std::string& key) {
  const std::size_t at = info.find(key + "=");
  if (at == std::string::npos) return {0, 0};
  const std::string date = info.substr(at + key.size() + 1, 10);
  return {std::stoi(date.substr(3, 2)), std::stoi(date.substr(6, 4))};
}

TEST(SampleScenarioTest, ItsLastImpulseFallsInTheLastImpulseOfTheMonthItsDescriptionEndsIn) {
  const std::string info = ReadAll(std::filesystem::path(TR_GAME_DIR) / "data/scenarios" / kScenario / "Info.ini");
  const auto [startMonth, startYear] = DescribedMonthAndYear(info, "StartDate");
  const auto [endMonth, endYear] = DescribedMonthAndYear(info, "EndDate");
  ASSERT_NE(endYear, 0) << info;

  const std::unique_ptr<cGame> game = LoadBuiltSample();
  ASSERT_NE(game, nullptr);
  EXPECT_EQ(game->date.impulse, 1);
  EXPECT_EQ(game->date.month, startMonth);
  EXPECT_EQ(game->date.year, startYear);

  // The war ends after the impulse at whose end no turn is left: the date
  // moves on once for every turn left before it.
  for (int left = game->turnsLeft; left > 0; --left) AdvanceDate(*game);
  EXPECT_EQ(game->date.month, endMonth);
  EXPECT_EQ(game->date.year, endYear);
  EXPECT_EQ(game->date.impulse, game->constants.ImpulsesPerMonth(endMonth));
}

// The data rows of a table of the scenario folder, split at ';'.
std::vector<std::vector<std::string>> DataRows(const std::filesystem::path& file) {
  std::istringstream in(ReadAll(file));
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string field; std::getline(cells, field, ';');) fields.push_back(field);
    rows.push_back(std::move(fields));
  }
  return rows;
}

// A data fault made in the copied scenario folder, given the copy's map; it
// returns the text its warning must hold.
struct sDataFault {
  const char* name;
  std::function<std::string(const std::filesystem::path& folder, const cMap& map)> make;
};

void Change(const std::filesystem::path& folder, const char* file, int row, int field, const std::string& value) {
  ASSERT_TRUE(test::ApplyCorruption(folder, {test::sCorruption::Kind::kValue, file, row, field, value}))
      << file << " row " << row << " field " << field;
}

class SampleDataFaultTest : public testing::TestWithParam<sDataFault> {};

// Each fault gives its own warning line and no other new one.
TEST_P(SampleDataFaultTest, CheckerWarnsAboutIt) {
  std::string errors;
  const std::vector<std::string> shipped = CheckerWarnings(BuiltCopy(), &errors);
  ASSERT_EQ(errors.rfind("exit 0", 0), 0u) << errors;

  test::TempDir root;
  test::CopyBuiltScenario(root.path(), kScenario);
  const std::filesystem::path folder = root.path() / "data/scenarios" / kScenario;
  test::ScopedGameRoot gameRoot(root.path());
  cMap map;
  map.Load(u"data\\scenarios\\NorthernTide\\%s");
  const std::string says = GetParam().make(folder, map);
  ASSERT_FALSE(testing::Test::HasFatalFailure());

  const std::vector<std::string> warnings = CheckerWarnings(root.path(), &errors);
  ASSERT_EQ(errors.rfind("exit 0", 0), 0u) << errors;
  bool found = false;
  for (const std::string& warning : warnings) {
    found = found || warning.find(says) != std::string::npos;
    const bool shippedToo = std::find(shipped.begin(), shipped.end(), warning) != shipped.end();
    EXPECT_TRUE(shippedToo || warning.find(says) != std::string::npos) << warning;
  }
  EXPECT_TRUE(found) << "no warning holds: " << says;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SampleDataFaultTest,
    testing::Values(
        // A port whose hex has no sea zone: a port city moved inland, with
        // its sea node and its links in the cities diagram.
        sDataFault{"PortOnSeaZoneZero",
                   [](const std::filesystem::path& folder, const cMap& map) {
                     std::set<std::pair<int, int>> taken;
                     for (const auto& fields : DataRows(folder / "cities.csv")) {
                       taken.insert({std::stoi(fields[1]), std::stoi(fields[2])});
                     }
                     for (const auto& fields : DataRows(folder / "sea_nodes.csv")) {
                       for (int i = 4; i <= 8; i += 2) taken.insert({std::stoi(fields[i]), std::stoi(fields[i + 1])});
                     }
                     for (const char* file : {"land_units.csv", "air_units.csv"}) {
                       for (const auto& fields : DataRows(folder / file)) {
                         taken.insert({std::stoi(fields[3]), std::stoi(fields[4])});
                       }
                     }
                     const sHex* inland = nullptr;
                     for (const sHex& hex : map.Hexes()) {
                       if (hex.IsLand() && hex.seaZone == 0 && !taken.count({hex.x, hex.y})) {
                         inland = &hex;
                         break;
                       }
                     }
                     const auto cities = DataRows(folder / "cities.csv");
                     std::size_t port = 0;
                     while (port < cities.size() && cities[port][3] != "2" && cities[port][3] != "3") ++port;
                     if (!inland || port == cities.size()) {
                       ADD_FAILURE() << "no free inland hex or no port city";
                       return std::string("?");
                     }
                     const std::string x = std::to_string(inland->x);
                     const std::string y = std::to_string(inland->y);
                     const std::pair<std::string, std::string> at{cities[port][1], cities[port][2]};
                     Change(folder, "cities.csv", static_cast<int>(port), 1, x);
                     Change(folder, "cities.csv", static_cast<int>(port), 2, y);
                     const auto nodes = DataRows(folder / "sea_nodes.csv");
                     for (std::size_t row = 0; row < nodes.size(); ++row) {
                       if (std::make_pair(nodes[row][4], nodes[row][5]) != at) continue;
                       Change(folder, "sea_nodes.csv", static_cast<int>(row), 4, x);
                       Change(folder, "sea_nodes.csv", static_cast<int>(row), 5, y);
                     }
                     const auto links = DataRows(folder / "cities_diagram.csv");
                     for (std::size_t row = 0; row < links.size(); ++row) {
                       for (int end = 0; end <= 2; end += 2) {
                         if (std::make_pair(links[row][end], links[row][end + 1]) != at) continue;
                         Change(folder, "cities_diagram.csv", static_cast<int>(row), end, x);
                         Change(folder, "cities_diagram.csv", static_cast<int>(row), end + 1, y);
                       }
                     }
                     return "port city \"" + cities[port][0] + "\" at (" + x + "," + y + ") lies on a hex of sea zone 0";
                   }},
        // Fighters and tactical bombers that reach one hex.
        sDataFault{"AirRangeBelowSafetyDistance",
                   [](const std::filesystem::path& folder, const cMap&) {
                     Change(folder, "consts.csv", 46, 0, "1");
                     return std::string(", below the safety distance of ");
                   }},
        // The carriers' sea-battle weight at the value a sea-battle tuning
        // once gave it: the strategic bombers' strategic-move price too.
        sDataFault{"StrategicMovePriceAboveEveryCountrysPoints",
                   [](const std::filesystem::path& folder, const cMap&) {
                     Change(folder, "consts.csv", 71, 0, "60");
                     return std::string("unit type 22 pays 60 strategic movement points");
                   }}),
    [](const testing::TestParamInfo<sDataFault>& info) { return info.param.name; });

}  // namespace
}  // namespace tr
