// The shipped sample played by the autoplay runner with hostile fleets
// brought together in one open-sea zone, so that sea battles are fought at
// ends of impulse and resolved by the driver without a screen. In the sample
// as shipped every regular fleet lies in port, so its fleets never meet.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ai/autoplay.h"
#include "support/temp_dir.h"
#include "turn/sea_battle.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

constexpr char kScenario[] = "NorthernTide";
constexpr char kNorthernSea = '2';  // the open sea of the axis raiders

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ';');) fields.push_back(field);
  return fields;
}

std::string Join(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& field : fields) line += field + ';';
  return line;
}

// Each data line of a table (comments and empty lines are not counted) goes
// through `edit` with its number from 1; the line ends are kept.
void EditDataLines(const fs::path& file, const std::function<std::string(int, const std::string&)>& edit) {
  const std::string bytes = test::ReadFileBytes(file);
  std::string out;
  int number = 0;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t end = bytes.find('\n', pos);
    std::string line = bytes.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    const bool cr = !line.empty() && line.back() == '\r';
    if (cr) line.pop_back();
    if (!line.empty() && line[0] != '#') line = edit(++number, line);
    out += line + (cr ? "\r" : "") + (end == std::string::npos ? "" : "\n");
    pos = end == std::string::npos ? bytes.size() : end + 1;
  }
  std::ofstream(file, std::ios::binary | std::ios::trunc) << out;
}

class SeaBattleAutoplayTest : public testing::Test {
 protected:
  SeaBattleAutoplayTest() {
    test::CopyBuiltScenario(dir_.path(), kScenario);
    const fs::path folder = dir_.path() / "data/scenarios" / kScenario;
    // The allies' Home Fleet and Western Squadron and the axis' Middle Sea
    // Squadron put to sea where the axis raiders are.
    EditDataLines(folder / "fleets.csv", [](int, const std::string& line) {
      std::vector<std::string> f = Split(line);
      if (f[0] == "1" || f[0] == "2" || f[0] == "5") f[3] = kNorthernSea;
      return Join(f);
    });
    // Sea-battle weights of 1000 per ship: every meeting of regular fleets
    // whose ships pass their participation rolls is a battle.
    EditDataLines(folder / "consts.csv", [](int number, const std::string& line) {
      if (number != 72) return line;
      std::vector<std::string> f = Split(line);
      for (std::size_t k = 0; k < 6; ++k) f[k] = "1000";
      return Join(f);
    });
    SetSeaBattleScreen([this](sSeaBattle& battle) { Resolve(battle); });
  }
  ~SeaBattleAutoplayTest() override { SetSeaBattleScreen({}); }

  // The driver plays the regular part; then the battle must have filed its
  // damage report for every participant and left no ship at 0 hit points.
  void Resolve(sSeaBattle& battle) {
    ++battles_;
    const std::list<sReport>& reports = gGame->reports.Reports();
    const std::size_t before = reports.size();
    RunSeaBattleHeadless(battle);
    EXPECT_TRUE(battle.finished);
    std::set<std::int32_t> reported;
    for (auto it = std::next(reports.begin(), static_cast<std::ptrdiff_t>(before)); it != reports.end(); ++it) {
      if (it->type == kReportSeaBattle && it->text.rfind(u"Sea battle at " + battle.zoneName, 0) == 0) {
        reported.insert(it->country);
      }
    }
    EXPECT_EQ(reported, battle.participants);
    for (const auto& ship : gGame->navalUnits) EXPECT_GE(ship->hitPoints, 1) << ship->id;
    logs_ += battle.log;
  }

  std::string Run(const std::string& saveAs) {
    const std::vector<std::string> args{"--root",    dir_.path().string(), "--scenario", kScenario,
                                        "--impulses", "20",                "--seed",     "7",
                                        "--save-as", saveAs,               "--clock",    "2011-03-04 09:30"};
    std::ostringstream out;
    std::ostringstream errors;
    EXPECT_EQ(RunAutoplay(args, out, errors), 0) << errors.str() << out.str();
    return out.str();
  }

  test::TempDir dir_;
  int battles_ = 0;
  std::u16string logs_;
};

TEST_F(SeaBattleAutoplayTest, TwentyImpulsesFightReportedBattlesTheSameWayFromTheSeed) {
  const std::string summary = Run("one");
  EXPECT_NE(summary.find("impulses=20\n"), std::string::npos) << summary;
  const int battles = battles_;
  const std::u16string logs = logs_;
  EXPECT_GT(battles, 0);
  RecordProperty("battles", battles);

  // Every ship the save lists on the map has hit points left.
  const fs::path save = dir_.path() / "data/save";
  std::ifstream ships(save / "one" / "naval_units.csv", std::ios::binary);
  int listed = 0;
  for (std::string line; std::getline(ships, line);) {
    if (line.empty() || line[0] == '#' || line == "\r") continue;
    const std::vector<std::string> f = Split(line);
    ASSERT_GE(f.size(), 9u) << line;
    if (f[8] != "0") continue;  // in the reserve
    ++listed;
    EXPECT_GE(std::stoi(f[5]), 1) << line;
  }
  EXPECT_GT(listed, 0);

  battles_ = 0;
  logs_.clear();
  Run("two");
  EXPECT_EQ(battles_, battles);
  EXPECT_TRUE(logs_ == logs);
  const auto one = test::ReadFolderBytes(save / "one");
  const auto two = test::ReadFolderBytes(save / "two");
  ASSERT_EQ(one.size(), two.size());
  for (const auto& [file, bytes] : one) EXPECT_TRUE(two.count(file) && two.at(file) == bytes) << file << " differs";
}

}  // namespace
}  // namespace tr
