// A save of the sample as the game writes it, with one of its files emptied
// or cut inside its last row, as a cut transfer or a full disk leaves it: the
// load is refused naming the file, where the game would otherwise start with
// units, fleets or rows gone and the next save would make the loss final.
// The saves here are without the list of their files' digests, as older
// saves are, so what the tables themselves show is what refuses them. The
// scenario the save was made from, written by hand, loads with the same cut
// as before, with its warnings.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "built_sample_test.h"
#include "foundation/fatal.h"
#include "foundation/file_read.h"
#include "foundation/text.h"
#include "scenario/pbem_player.h"
#include "support/log_capture.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

constexpr char16_t kScenarioTemplate[] = u"data\\scenarios\\NorthernTide\\%s";
constexpr char16_t kRefused[] = u"so the file is damaged and the game is not loaded";

enum class eDamage { kEmpty, kCut };

// Empties the file, or cuts it in the middle of its last line that is not a
// '#' comment (of a binary file, in the middle).
void Damage(const fs::path& file, eDamage damage, bool binary) {
  std::string bytes = test::ReadFileBytes(file);
  if (damage == eDamage::kEmpty) {
    bytes.clear();
  } else if (binary) {
    bytes.resize(bytes.size() / 2);
  } else {
    std::size_t end = bytes.size();
    for (;;) {
      while (end > 0 && (bytes[end - 1] == '\r' || bytes[end - 1] == '\n')) --end;
      const std::size_t newline = bytes.find_last_of("\r\n", end == 0 ? 0 : end - 1);
      const std::size_t start = newline == std::string::npos ? 0 : newline + 1;
      ASSERT_GT(end, start) << file << " holds no line to cut";
      if (bytes[start] != '#') {
        bytes.resize(start + (end - start) / 2);
        break;
      }
      ASSERT_GT(start, 0u) << file << " holds only its header";
      end = start;
    }
  }
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

class DamagedSaveFixture : public test::BuiltSampleTest {
 protected:
  fs::path Game(const std::string& relative) const { return dir_.path() / relative; }
  // A save as one from before the list of its files' digests.
  void MakeOlderSave(const std::u16string& name, const std::u16string& pbemName = {}) {
    MakeSave(name, pbemName);
    ASSERT_TRUE(fs::exists(Game("data/save/" + Utf16ToUtf8(name)) / "file_digests.csv"));
    test::MakeOlderSave(Game("data/save/" + Utf16ToUtf8(name)));
  }
};

struct sDamageCase {
  const char* file;
  eDamage damage;
  // What the refusal logs after "ERROR: data\save\x\<file>"; null: the save loads.
  const char16_t* logged;
  bool binary = false;
};

void PrintTo(const sDamageCase& c, std::ostream* os) {
  *os << c.file << (c.damage == eDamage::kEmpty ? " empty" : " cut");
}

class DamagedSaveTest : public DamagedSaveFixture, public testing::WithParamInterface<sDamageCase> {};

// Every file the save writes, emptied and (where it has rows) cut. "unit_names.csv" is a
// copy of the scenario's own file, in whatever form its author gave it: cut,
// it is only the beginning of the scenario's.
TEST_P(DamagedSaveTest, IsRefusedNamingTheFile) {
  MakeOlderSave(u"x");
  const sDamageCase& c = GetParam();
  Damage(Game("data/save/x") / c.file, c.damage, c.binary);
  test::LogCapture log;
  const int code = LoadEnding(u"data\\save\\x\\%s", 1);
  if (c.logged == nullptr) {
    EXPECT_EQ(code, 0);
    return;
  }
  EXPECT_EQ(code, 1);
  const std::u16string file = u"data\\save\\x\\" + Utf8ToUtf16(c.file);
  EXPECT_TRUE(log.ContainsText(c.logged)) << c.file;
  EXPECT_TRUE(log.ContainsText(u"ERROR: " + file) || log.ContainsText(file + u" is")) << c.file;
}

sDamageCase Empty(const char* file, const char16_t* logged = u" is empty; the game writes") {
  return {file, eDamage::kEmpty, logged};
}
sDamageCase Cut(const char* file, const char16_t* logged = kRefused) { return {file, eDamage::kCut, logged}; }

INSTANTIATE_TEST_SUITE_P(
    SampleSave, DamagedSaveTest,
    testing::Values(
        Empty("ai_data.csv"), Cut("ai_data.csv"), Empty("air_units.csv"), Cut("air_units.csv"), Empty("cities.csv"),
        Cut("cities.csv"), Empty("sea_nodes.csv"), Cut("sea_nodes.csv"), Empty("cities_supply_info.csv"),
        Cut("cities_supply_info.csv"), Empty("cities_convoy_info.csv"), Cut("cities_convoy_info.csv"),
        Empty("commanders.csv"), Cut("commanders.csv"), Empty("convoys.csv"), Cut("convoys.csv"),
        Empty("countries.csv"), Cut("countries.csv"), Empty("flags.txt"), Empty("fleets.csv"), Cut("fleets.csv"),
        Empty("land_units.csv"), Cut("land_units.csv"), Empty("losses.csv"), Cut("losses.csv"),
        Empty("naval_units.csv"), Cut("naval_units.csv"), Empty("relations.csv"), Cut("relations.csv"),
        Empty("topography.csv"), Cut("topography.csv"), Empty("airship_attacks.csv"), Empty("airrecon_units.csv"),
        Empty("unit_names.csv", u"is empty, and the scenario's own is not; the game writes"),
        Cut("unit_names.csv", u"bytes of the scenario's own (cut short?); the game writes"),
        Empty("Info.ini"),
        Cut("Info.ini", u"ends inside a line (cut short?)"),
        sDamageCase{"map.qel", eDamage::kEmpty, u"map.qel ends after 0 of the ", true},
        sDamageCase{"map.qel", eDamage::kCut, u"(cut short?); the game is not loaded", true},
        sDamageCase{"reports.dat", eDamage::kEmpty, u"reports.dat ends inside its tag and count of reports", true},
        sDamageCase{"reports.dat", eDamage::kCut, u"(cut short?); the game writes the files of a saved game whole",
                    true},
        // Written without a header, one line per automatic event taken: empty is none taken.
        Empty("auto_events.csv", nullptr), Cut("auto_events.csv"), Empty("unit_state.csv"), Cut("unit_state.csv"),
        Empty("ai_memory.csv")),
    [](const testing::TestParamInfo<sDamageCase>& info) {
      std::string name = info.param.file;
      name.erase(std::remove_if(name.begin(), name.end(), [](char ch) { return ch == '_' || ch == '.'; }),
                 name.end());
      return name + (info.param.damage == eDamage::kEmpty ? "Empty" : "Cut");
    });

// The sound case beside them: the save as written loads without an error.
TEST_F(DamagedSaveFixture, TheSaveAsWrittenLoads) {
  MakeSave(u"x");
  test::LogCapture log;
  EXPECT_EQ(LoadEnding(u"data\\save\\x\\%s", 1), 0);
  EXPECT_FALSE(log.ContainsText(u"ERROR:"));
  EXPECT_FALSE(log.ContainsText(u"WARNING: row of"));
}

// A save written before the game kept the units' state and the computer's
// memory has neither file (nor the list of its files): it loads, as it
// always did.
TEST_F(DamagedSaveFixture, ASaveFromBeforeTheUnitStateAndMemoryLoads) {
  MakeOlderSave(u"x");
  fs::remove(Game("data/save/x") / "unit_state.csv");
  fs::remove(Game("data/save/x") / "ai_memory.csv");
  test::LogCapture log;
  EXPECT_EQ(LoadEnding(u"data\\save\\x\\%s", 1), 0);
  EXPECT_TRUE(log.ContainsText(u"No unit_state.csv"));
  EXPECT_FALSE(log.ContainsText(u"ERROR:"));
}

// The cut of the report: "land_units.csv" of 5,616 bytes cut to 700. The
// scenario loads without the rows cut, as a hand-written table always has;
// the save is refused at the row.
TEST_F(DamagedSaveFixture, ALandUnitTableCutShortIsRefusedInASaveOnly) {
  MakeOlderSave(u"x");
  for (const char* folder : {"data/scenarios/NorthernTide", "data/save/x"}) {
    const fs::path file = Game(folder) / "land_units.csv";
    std::string bytes = test::ReadFileBytes(file);
    ASSERT_GT(bytes.size(), 700u);
    bytes.resize(700);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  }
  test::LogCapture log;
  ASSERT_EQ(LoadEnding(kScenarioTemplate, 0), 0);
  EXPECT_TRUE(log.ContainsText(u"WARNING: row of data\\scenarios\\NorthernTide\\land_units.csv at line"));
  EXPECT_FALSE(log.ContainsText(u"ERROR:"));
  log.Clear();
  EXPECT_EQ(LoadEnding(u"data\\save\\x\\%s", 1), 1);
  EXPECT_TRUE(log.ContainsText(u"ERROR: data\\save\\x\\land_units.csv at line "));
  EXPECT_TRUE(log.ContainsText(u"fields of the 33 of a row (cut short?); the game writes the files of a saved "
                               u"game whole, so the file is damaged and the game is not loaded"));
}

// Sets "Finished turn?" of every country's row but country `left`'s, which
// is made inactive unless `leftActive`.
std::string EveryCountryFinished(const std::string& bytes, int left, bool leftActive) {
  std::string edited;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = std::min(bytes.find('\n', start), bytes.size() - 1) + 1;
    std::string line = bytes.substr(start, end - start);
    start = end;
    std::vector<std::size_t> cuts{0};
    for (std::size_t at = line.find(';'); at != std::string::npos; at = line.find(';', at + 1)) cuts.push_back(at + 1);
    if (!line.starts_with('#') && cuts.size() > 13) {
      const bool kept = std::stoi(line.substr(0, cuts[1] - 1)) == left;
      // Field 13 ("Finished turn?") before field 2 ("IsActive?"): the offsets hold.
      line.replace(cuts[12], cuts[13] - 1 - cuts[12], kept ? "0" : "1");
      if (kept && !leftActive) line.replace(cuts[1], cuts[2] - 1 - cuts[1], "0");
    }
    edited += line;
  }
  return edited;
}

// The game saves only while a country is left to play the impulse: the last
// one to finish ends it, which clears every mark. A save whose countries
// have all finished, or all that are active, would load a game nobody plays:
// it is refused naming countries.csv. One country left to play loads with it
// current, as the save as written does with its own.
TEST_F(DamagedSaveFixture, ASaveWithNoCountryLeftToPlayIsRefused) {
  MakeOlderSave(u"x");
  ASSERT_EQ(LoadEnding(u"data\\save\\x\\%s", 1), 0);
  ASSERT_NE(gGame->playerControl.currentCountry, nullptr);
  const fs::path file = Game("data/save/x/countries.csv");
  const std::string bytes = test::ReadFileBytes(file);
  for (const int left : {0, 8}) {
    SCOPED_TRACE(left);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << EveryCountryFinished(bytes, left, false);
    test::LogCapture log;
    EXPECT_EQ(LoadEnding(u"data\\save\\x\\%s", 1), 1);
    EXPECT_TRUE(log.Contains(u"ERROR: data\\save\\x\\countries.csv leaves no country to play: every active "
                             u"country has \"Finished turn?\" set; the game writes the files of a saved game whole, "
                             u"so the file is damaged and the game is not loaded"));
  }
  std::ofstream(file, std::ios::binary | std::ios::trunc) << EveryCountryFinished(bytes, 8, true);
  ASSERT_EQ(LoadEnding(u"data\\save\\x\\%s", 1), 0);
  ASSERT_NE(gGame->playerControl.currentCountry, nullptr);
  EXPECT_EQ(gGame->playerControl.currentCountry->id, 8);
  // A scenario is written by hand: its countries all marked finished start
  // the game with the marks cleared and the first country to play chosen.
  const fs::path own = Game("data/scenarios/NorthernTide/countries.csv");
  const std::string scenario = test::ReadFileBytes(own);
  ASSERT_EQ(LoadEnding(kScenarioTemplate, 0), 0);
  const int first = gGame->playerControl.currentCountry->id;
  std::ofstream(own, std::ios::binary | std::ios::trunc) << EveryCountryFinished(scenario, 0, false);
  ASSERT_EQ(LoadEnding(kScenarioTemplate, 0), 0);
  ASSERT_NE(gGame->playerControl.currentCountry, nullptr);
  EXPECT_EQ(gGame->playerControl.currentCountry->id, first);
}

// A received turn from before the list of its files whose reports.dat is
// cut on its way, missing, or larger than any release kept it is refused
// naming the file and why: the turn is asked for again, whole.
TEST_F(DamagedSaveFixture, AReceivedTurnWithItsReportsLostIsRefusedNamingThem) {
  MakeOlderSave(u"Duel", u"Duel");
  fs::rename(Game("data/save/Duel"), Game("data/pbem/Duel"));
  const fs::path reports = Game("data/pbem/Duel/reports.dat");
  const std::string bytes = test::ReadFileBytes(reports);
  const std::pair<std::function<void()>, std::u16string> cases[] = {
      {[&] { Damage(reports, eDamage::kEmpty, true); },
       u"ERROR: data\\pbem\\Duel\\reports.dat ends inside its tag and count of reports (cut short?); the game "
       u"writes the files of a saved game whole, so the file is damaged and the game is not loaded"},
      {[&] { fs::remove(reports); },
       u"ERROR: data\\pbem\\Duel\\reports.dat is missing, though the game writes it with every save; the game is "
       u"not loaded"},
      {[&] {
         std::ofstream(reports, std::ios::binary) << bytes;
         fs::resize_file(reports, kReportsReadLimit + 1);
       },
       u"ERROR: data\\pbem\\Duel\\reports.dat holds more than the 67108864 bytes a file of its kind may hold; the "
       u"game is not loaded"},
  };
  for (const auto& [damage, line] : cases) {
    damage();
    test::LogCapture log;
    EXPECT_EQ(LoadEnding(u"data\\pbem\\Duel\\%s", 1), 1);
    EXPECT_TRUE(log.Contains(line)) << Utf16ToUtf8(line);
  }
  std::ofstream(reports, std::ios::binary | std::ios::trunc) << bytes;
  EXPECT_EQ(LoadEnding(u"data\\pbem\\Duel\\%s", 1), 0);
}

}  // namespace
}  // namespace tr
