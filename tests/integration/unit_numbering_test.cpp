// How a load orders the ships and fleets and where the numbering goes on: a
// scenario, and a save from before the counters and the units' state were
// kept, are sorted by number and count on from the highest number plus one;
// a save that keeps both goes on in its own order with its own counters.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "ai/autoplay.h"
#include "hostile_save.h"
#include "support/game_run_scope.h"

namespace tr::test {
namespace {

template <typename List>
std::vector<int> NumbersOf(const List& list) {
  std::vector<int> numbers;
  for (const auto& object : list) numbers.push_back(object->id);
  return numbers;
}

// The data rows of a table before its first "#In reserve" line, in reverse.
void ReverseRowsOnTheMap(const fs::path& file) {
  Replace(file, [](std::string text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    const auto end = std::find_if(lines.begin(), lines.end(),
                                  [](const std::string& line) { return line.starts_with("#In reserve"); });
    const auto first = std::find_if(lines.begin(), end, [](const std::string& line) {
      return !line.empty() && line != "\r" && line[0] != '#';
    });
    std::reverse(first, end);
    std::string out;
    for (const std::string& line : lines) out += line + '\n';
    if (!text.ends_with('\n')) out.pop_back();
    return out;
  });
}

int Highest(const std::vector<int>& numbers) {
  return numbers.empty() ? 0 : *std::max_element(numbers.begin(), numbers.end());
}

class UnitNumbering : public testing::Test {
 protected:
  UnitNumbering() { CopyBuiltScenario(dir_.path(), kScenario); }

  fs::path ScenarioFolder() const { return dir_.path() / "data/scenarios" / kScenario; }
  fs::path SaveFolder(const std::string& name) const { return dir_.path() / "data/save" / name; }

  cGame& Load(GameRunScope& scope, const std::string& scenario, const std::string& save) const {
    sGameFolderArgs args;
    args.root = dir_.path().string();
    args.scenario = scenario;
    args.save = save;
    scope.game.reset(LoadGameFolder(args));
    return *scope.game;
  }

  TempDir dir_;
};

TEST_F(UnitNumbering, AScenarioIsSortedByNumberAndCountsOnPastTheHighest) {
  ReverseRowsOnTheMap(ScenarioFolder() / "naval_units.csv");
  ReverseRowsOnTheMap(ScenarioFolder() / "fleets.csv");
  const ScopedGameRoot gameRoot(dir_.path());
  GameRunScope scope;
  cGame& game = Load(scope, kScenario, "");
  const std::vector<int> ships = NumbersOf(game.navalUnits);
  ASSERT_GT(ships.size(), 2u);
  EXPECT_TRUE(std::is_sorted(ships.begin(), ships.end())) << testing::PrintToString(ships);
  const std::vector<int> fleets = NumbersOf(game.fleets);
  EXPECT_TRUE(std::is_sorted(fleets.begin(), fleets.end())) << testing::PrintToString(fleets);

  std::vector<int> land = NumbersOf(game.landUnits);
  for (const auto* list : {&game.aboardUnitsA, &game.aboardUnitsB}) {
    for (const auto& unit : *list) land.push_back(unit->id);
  }
  for (const auto& unit : game.reservePool) {
    if (unit->category == kCategoryLand) land.push_back(unit->id);
  }
  EXPECT_EQ(game.nextLandUnitId, Highest(land) + 1);
  EXPECT_EQ(game.nextFleetId, Highest(fleets) + 1);
  // The counter is raised before it is used: the highest number plus two.
  const cJednostkaLadowa next;
  EXPECT_EQ(next.id, Highest(land) + 2);

  ASSERT_TRUE(game.saveContext->SaveGame(u"sorted", true));
  const sTable saved(SaveFolder("sorted") / "naval_units.csv");
  std::vector<int> savedShips;
  for (std::size_t r = 0; r < ships.size(); ++r) savedShips.push_back(std::stoi(saved.Field(r, 0)));
  EXPECT_EQ(savedShips, ships);
}

TEST_F(UnitNumbering, ASaveKeepsItsOrderAndCountersAndAnOlderSaveIsSorted) {
  std::ostringstream out;
  std::ostringstream errors;
  ASSERT_EQ(RunAutoplay({"--root", dir_.path().string(), "--scenario", kScenario, "--impulses", "3", "--seed", "8",
                         "--save-as", "kept", "--clock", "2011-03-04 09:30"},
                        out, errors),
            0)
      << errors.str();
  ReverseRowsOnTheMap(SaveFolder("kept") / "naval_units.csv");
  // An edited save is loaded as one without its files' digests.
  test::MakeOlderSave(SaveFolder("kept"));
  fs::copy(SaveFolder("kept"), SaveFolder("older"));
  fs::remove(SaveFolder("older") / "unit_state.csv");
  const std::string info = ReadFileBytes(SaveFolder("kept") / "Info.ini");
  const auto counter = [&](const std::string& key) {
    const std::size_t at = info.find('=', info.find(key + " "));
    return std::stoi(info.substr(at + 1));
  };
  // The order the edited save lists its ships on the map in.
  const sTable listed(SaveFolder("kept") / "naval_units.csv");
  std::vector<int> listedShips;
  for (std::size_t r = 0; r < listed.data.size(); ++r) {
    if (listed.data[r] > listed.data[0] + r) break;  // the "#In reserve" line
    listedShips.push_back(std::stoi(listed.Field(r, 0)));
  }

  const ScopedGameRoot gameRoot(dir_.path());
  {
    GameRunScope scope;
    const cGame& kept = Load(scope, "", "kept");
    const std::vector<int> ships = NumbersOf(kept.navalUnits);
    ASSERT_GT(ships.size(), 2u);
    EXPECT_EQ(ships, listedShips);
    EXPECT_FALSE(std::is_sorted(ships.begin(), ships.end()));
    EXPECT_EQ(kept.nextNavalUnitId, counter("LastNavalUnitId"));
    EXPECT_EQ(kept.nextLandUnitId, counter("LastLandUnitId"));
    EXPECT_EQ(kept.nextFleetId, counter("LastFleetId"));
  }
  GameRunScope scope;
  const cGame& older = Load(scope, "", "older");
  const std::vector<int> ships = NumbersOf(older.navalUnits);
  EXPECT_TRUE(std::is_sorted(ships.begin(), ships.end())) << testing::PrintToString(ships);
  EXPECT_EQ(older.nextFleetId, Highest(NumbersOf(older.fleets)) + 1);
}

}  // namespace
}  // namespace tr::test
