// The shipped sample scenario: it loads without a warning, its map file
// agrees with the map text it is built from, its constants file names every
// line, and its events pass the event loader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "foundation/paths.h"
#include "support/log_capture.h"
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

std::filesystem::path SourceFolder() { return std::filesystem::path(TR_SOURCE_DIR) / "data/scenarios" / kScenario; }

TEST(SampleScenarioTest, LoadsWithoutWarningsAndHoldsEveryKind) {
  test::LogCapture log;
  std::ostringstream out;
  std::ostringstream errors;
  ASSERT_EQ(RunScenarioCheck({"--root", TR_GAME_DIR, "--scenario", kScenario}, out, errors), 0) << errors.str();
  for (const std::u16string& line : log.lines()) {
    const std::string text(line.begin(), line.end());
    EXPECT_EQ(text.find("WARNING"), std::string::npos) << text;
    EXPECT_EQ(text.find("ERROR"), std::string::npos) << text;
    EXPECT_EQ(text.find("rror"), std::string::npos) << text;
  }
  const std::string summary = out.str();
  EXPECT_NE(summary.find("Countries: 9"), std::string::npos) << summary;
  EXPECT_NE(summary.find("1 aboard, 2 in reserve"), std::string::npos) << summary;
  EXPECT_NE(summary.find("Convoys: 2"), std::string::npos) << summary;
}

TEST(SampleScenarioTest, BuiltMapAgreesWithItsText) {
  std::string error;
  const auto expected =
      ParseMapText(ReadAll(std::filesystem::path(TR_SOURCE_DIR) / "data/scenario_maps" / (std::string(kScenario) + ".txt")), error);
  ASSERT_NE(expected, nullptr) << error;
  SetGameRoot(TR_GAME_DIR);
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

  InstallGameSteps();
  sGameFolderArgs args;
  args.root = TR_GAME_DIR;
  args.scenario = kScenario;
  std::unique_ptr<cGame> game(LoadGameFolder(args));
  UninstallGameSteps();
  ASSERT_NE(game, nullptr);
  EXPECT_EQ(game->constants.ShipBombedValueA(), std::stoi(data[182]));
  EXPECT_EQ(game->constants.ShipBombedValueB(), std::stoi(data[183]));
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

  InstallGameSteps();
  sGameFolderArgs args;
  args.root = TR_GAME_DIR;
  args.scenario = kScenario;
  std::unique_ptr<cGame> game(LoadGameFolder(args));
  UninstallGameSteps();
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

}  // namespace
}  // namespace tr
