// The sample with values at the ends of what the game's loaders read, played
// on by the computer on every side, saved and loaded back: whatever play
// makes of them, the game's own save loads without a warning and with every
// object it saved.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ai/autoplay.h"
#include "foundation/unit_caps.h"
#include "hostile_save.h"
#include "support/game_run_scope.h"
#include "world/unit_room.h"
#include "world/value_limits.h"

namespace tr::test {
namespace {

constexpr char kClock[] = "2011-03-04 09:30";

// The lines of a load that warn, refuse or leave something out.
std::vector<std::u16string> Complaints(const LogCapture& log) {
  std::vector<std::u16string> found;
  for (const std::u16string& line : log.lines()) {
    for (std::u16string_view mark : {u"WARNING", u"ERROR", u"out of range", u"Blad"}) {
      if (line.find(mark) != std::u16string::npos) {
        found.push_back(line);
        break;
      }
    }
  }
  return found;
}

std::size_t ReserveOf(const cGame& game, int category) {
  std::size_t count = 0;
  for (const auto& unit : game.reservePool) count += unit->category == category ? 1 : 0;
  return count;
}

class PlayAtLimits : public testing::Test {
 protected:
  PlayAtLimits() { CopyBuiltScenario(dir_.path(), kScenario); }

  fs::path ScenarioFolder() const { return dir_.path() / "data/scenarios" / kScenario; }
  fs::path SaveFolder(const std::string& name) const { return dir_.path() / "data/save" / name; }

  // Plays the sample, or a save, and saves the game as the program does.
  // A passive country only passes its turns on.
  void Play(const std::string& save, int impulses, int seed, const std::string& saveAs,
            const std::string& passive = "") const {
    std::ostringstream out;
    std::ostringstream errors;
    std::vector<std::string> args{"--root", dir_.path().string(), save.empty() ? "--scenario" : "--save",
                                  save.empty() ? std::string(kScenario) : save, "--impulses", std::to_string(impulses),
                                  "--seed", std::to_string(seed), "--save-as", saveAs, "--clock", kClock};
    if (!passive.empty()) args.insert(args.end(), {"--passive", passive});
    ASSERT_EQ(RunAutoplay(args, out, errors), 0) << errors.str();
  }

  // Loads a save in this process: it must load without a complaint and with
  // a unit, a ship and a fleet for every row of their tables.
  void ExpectCleanLoad(const std::string& save) const {
    GameRunScope scope;
    ExpectCleanLoad(save, scope);
  }

  // The same, leaving the loaded game in scope.
  void ExpectCleanLoad(const std::string& save, GameRunScope& scope) const {
    const ScopedGameRoot gameRoot(dir_.path());
    LogCapture log;
    sGameFolderArgs args;
    args.root = dir_.path().string();
    args.save = save;
    scope.game.reset(LoadGameFolder(args));
    const cGame& game = *scope.game;
    EXPECT_EQ(Complaints(log), std::vector<std::u16string>{}) << save;
    const fs::path folder = SaveFolder(save);
    EXPECT_EQ(sTable(folder / "land_units.csv").data.size(),
              game.landUnits.size() + game.aboardUnitsA.size() + game.aboardUnitsB.size() +
                  ReserveOf(game, kCategoryLand));
    EXPECT_EQ(sTable(folder / "air_units.csv").data.size(), game.airUnits.size() + ReserveOf(game, kCategoryAir));
    EXPECT_EQ(sTable(folder / "naval_units.csv").data.size(), game.navalUnits.size() + game.navalReserve.size());
    EXPECT_EQ(sTable(folder / "fleets.csv").data.size(), game.fleets.size());
  }

  // The save holds land units the play made, not only the scenario's.
  void ExpectNewLandUnits(const std::string& save) const {
    const sTable scenario(ScenarioFolder() / "land_units.csv");
    std::set<std::string> names;
    for (std::size_t r = 0; r < scenario.data.size(); ++r) names.insert(scenario.Field(r, 1));
    const sTable saved(SaveFolder(save) / "land_units.csv");
    int made = 0;
    for (std::size_t r = 0; r < saved.data.size(); ++r) made += names.count(saved.Field(r, 1)) == 0 ? 1 : 0;
    EXPECT_GT(made, 0) << save;
  }

  TempDir dir_;
};

// A number one below the top, at it, and past it (a row the loaders refuse).
struct sNumberCase {
  const char* name;
  std::int64_t number;
};

class NumbersAtTheTop : public PlayAtLimits, public testing::WithParamInterface<sNumberCase> {};

// The loaders read numbers up to the top only: past it the next numbers are
// free ones, so a game that reached the top loses nothing at its next load.
TEST_P(NumbersAtTheTop, NewObjectsKeepNumbersTheLoadersRead) {
  const std::string number = std::to_string(GetParam().number);
  Set(ScenarioFolder(), "land_units.csv", 0, 0, number);
  Set(ScenarioFolder(), "air_units.csv", 0, 0, number);
  LogCapture played;
  Play("", 30, 4, "numbers");
  const bool past = GetParam().number > kMaxObjectNumber;
  EXPECT_EQ(played.ContainsText(u"Land unit ID (" + Text(number) + u") out of range"), past);
  ExpectCleanLoad("numbers");
  ExpectNewLandUnits("numbers");

  // A received save whose counters stand at the number goes on as well; one
  // past the top holds what the game never writes, and is refused.
  if (past) return;
  Replace(SaveFolder("numbers") / "Info.ini", [&](std::string text) {
    for (const char* key : {"LastFleetId", "LastNavalUnitId", "LastLandUnitId", "LastAirUnitId", "LastConvoyId"}) {
      const std::size_t start = text.find('=', text.find(key)) + 2;
      text.replace(start, text.find_first_not_of("0123456789", start) - start, number);
    }
    return text;
  });
  // An edited save is loaded as one without its files' digests.
  test::MakeOlderSave(SaveFolder("numbers"));
  played.Clear();
  Play("numbers", 30, 7, "counters");
  EXPECT_FALSE(played.ContainsText(u"Save/LastLandUnitId"));
  ExpectCleanLoad("counters");
  ExpectNewLandUnits("counters");
}

INSTANTIATE_TEST_SUITE_P(Sample, NumbersAtTheTop,
                         testing::Values(sNumberCase{"Below", kMaxObjectNumber - 1},
                                         sNumberCase{"At", kMaxObjectNumber},
                                         sNumberCase{"Past", std::int64_t{kMaxObjectNumber} + 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// Country values at the ends of the countries table: play holds them there,
// and a value past an end reads as that end. The country plays no turn, so
// that a war economy at the top, which multiplies its production, buys no
// armies the test would wait for; its production runs to the top as well.
struct sCountryCase {
  const char* name;
  const char* warEconomy;
  const char* diplomaticPoints;
  const char* production;
  bool held;
};

class CountryValuesAtTheirEnds : public PlayAtLimits, public testing::WithParamInterface<sCountryCase> {};

TEST_P(CountryValuesAtTheirEnds, PlayKeepsThemWhereTheLoadReadsThem) {
  const sCountryCase& c = GetParam();
  Set(ScenarioFolder(), "countries.csv", 0, 48, c.warEconomy);
  Set(ScenarioFolder(), "countries.csv", 0, 22, c.diplomaticPoints);
  Set(ScenarioFolder(), "countries.csv", 0, 21, c.production);
  LogCapture played;
  Play("", 8, 3, "countries", "1");
  const std::u16string at =
      u" out of range in data\\scenarios\\NorthernTide\\countries.csv at line 3 (counting from 1); ";
  EXPECT_EQ(played.ContainsText(u"WarEconomy(%) (1000001)" + at + u"held at 1e+06"), c.held);
  EXPECT_EQ(played.ContainsText(u"DPs (1000003)" + at + u"held at 1000000"), c.held);
  EXPECT_EQ(played.ContainsText(u"PPs (1000000005)" + at + u"held at 1e+09"), c.held);
  GameRunScope scope;
  ExpectCleanLoad("countries", scope);

  const cCountry& country = *scope.game->countries[0];
  // Months of war economy at the top stay there, and so does the production it multiplies.
  EXPECT_GE(country.warEconomy, 999999.5f);
  EXPECT_LE(country.warEconomy, static_cast<float>(kMaxPoints));
  EXPECT_GE(country.diplomaticPoints, 999998);
  EXPECT_LE(country.diplomaticPoints, kMaxPoints);
  EXPECT_GT(country.productionPoints, kMaxProduction - 1e6);
  EXPECT_LE(country.productionPoints, kMaxProduction);
}

INSTANTIATE_TEST_SUITE_P(Sample, CountryValuesAtTheirEnds,
                         testing::Values(sCountryCase{"Below", "999999.5", "999998", "999999997.25", false},
                                         sCountryCase{"At", "1000000", "1000000", "1000000000", false},
                                         sCountryCase{"Past", "1000001", "1000003", "1000000005", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A country of the largest war economy buys without end: purchases stop at
// the most units of a kind a game holds, and the game's save, which at that
// many units its load reads whole, loads back with every unit.
TEST_F(PlayAtLimits, BuyingWithoutEndStopsAtTheCapsAndTheGameIsSaved) {
  Set(ScenarioFolder(), "countries.csv", 2, 48, "1000000");
  LogCapture played;
  Play("", 6, 809, "buys");
  EXPECT_TRUE(played.ContainsText(u"none added, the game holds the"));
  EXPECT_FALSE(played.ContainsText(u"Game not saved"));
  GameRunScope scope;
  ExpectCleanLoad("buys", scope);
  for (const int category : {kCategoryLand, kCategoryAir, kCategoryNaval}) {
    EXPECT_LE(UnitsHeld(*scope.game, category), MostUnits(category)) << category;
  }
  EXPECT_EQ(UnitsHeld(*scope.game, kCategoryAir), kMostAirUnits);
}

// Technology levels past the tables that research and events make, and the
// diplomatic, sea transport and invasion points that events leave owed: the
// computer plays its air, land and sea turns with them, and the save keeps
// them. The fields count from 0: levels from 14, the points at 22, 24 and 25.
TEST_F(PlayAtLimits, LevelsPastTheTablesAndPointsOwedSurvivePlayAndTheSave) {
  const std::vector<std::pair<int, std::string>> set = {
      {14, "6"}, {15, "-4"}, {16, "8"}, {17, "7"}, {18, "-5"}, {19, "9"}, {22, "-3001"}, {24, "-4002"}, {25, "-503"}};
  for (const auto& [field, value] : set) Set(ScenarioFolder(), "countries.csv", 0, field, value);
  Play("", 8, 5, "levels");
  GameRunScope scope;
  ExpectCleanLoad("levels", scope);

  const sTable saved(SaveFolder("levels") / "countries.csv");
  const cCountry& country = *scope.game->countries[0];
  for (std::size_t t = 0; t < 6; ++t) {
    EXPECT_EQ(country.techLevels[t], std::stoi(saved.Field(0, 14 + t))) << t;
  }
  // Research only raises a level, a step a month at most.
  EXPECT_GE(country.techLevels[0], 6);
  EXPECT_LT(country.techLevels[1], 0);
  EXPECT_GE(country.techLevels[2], 8);
  EXPECT_GE(country.techLevels[3], 7);
  EXPECT_LT(country.techLevels[4], 0);
  EXPECT_GE(country.techLevels[5], 9);
  EXPECT_EQ(country.diplomaticPoints, std::stoi(saved.Field(0, 22)));
  EXPECT_EQ(country.seaTransportPoints, std::stoi(saved.Field(0, 24)));
  EXPECT_EQ(country.invasionPoints, std::stoi(saved.Field(0, 25)));
  EXPECT_LT(country.diplomaticPoints, 0);
  EXPECT_LT(country.seaTransportPoints, 0);
  EXPECT_LT(country.invasionPoints, 0);
}

// Forts past the scale of built ones, as an event may set them, where the
// units stand and fight: the map keeps their levels through play and loads.
TEST_F(PlayAtLimits, FortsPastTheScaleKeepTheirLevels) {
  const sTable units(ScenarioFolder() / "land_units.csv");
  sMapFile map(ScenarioFolder() / "map.qel");
  const int levels[] = {kMaxFortLevel - 1, kMaxFortLevel, 12, kMaxStoredFortLevel};
  std::vector<std::pair<int, int>> hexes;
  for (std::size_t r = 0; r < std::size(levels); ++r) {
    // Units of both sides, the first of each country's rows.
    const int x = std::stoi(units.Field(r * 7, 3));
    const int y = std::stoi(units.Field(r * 7, 4));
    map.Byte(x, y, 9) = static_cast<unsigned char>(levels[r]);
    hexes.emplace_back(x, y);
  }
  map.Write(ScenarioFolder() / "map.qel");
  Play("", 10, 6, "forts");
  GameRunScope scope;
  ExpectCleanLoad("forts", scope);

  for (std::size_t r = 0; r < hexes.size(); ++r) {
    EXPECT_EQ(scope.game->map->GetHex(hexes[r].first, hexes[r].second)->fortLevel, levels[r]) << r;
  }
}

}  // namespace
}  // namespace tr::test
