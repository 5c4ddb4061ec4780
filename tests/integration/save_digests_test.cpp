// A save of the sample as the game writes it, with each of its files cut at
// offsets its text cannot tell from a whole table (inside the header, at the
// end of a line, one byte short), grown by a byte, or with one byte changed:
// the list of the files' sizes and digests the save ends with refuses each,
// naming the file. The save as written loads as it did without the list, and
// a save without the list (an older one) loads as before. The tables a save
// holds only since later versions are refused when there but unreadable.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "built_sample_test.h"
#include "foundation/console_log.h"
#include "foundation/text.h"
#include "scenario/save_manifest.h"
#include "support/log_capture.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

constexpr char16_t kSaveTemplate[] = u"data\\save\\x\\%s";
constexpr char16_t kSaveFolder[] = u"data\\save\\x\\";

class SaveDigestsTest : public test::BuiltSampleTest {
 protected:
  fs::path Save() const { return dir_.path() / "data/save/x"; }
  fs::path Pristine() const { return dir_.path() / "pristine"; }
  // The sample saved as "x", kept aside whole to start every case from.
  void MakePristineSave() {
    MakeSave(u"x");
    fs::copy(Save(), Pristine(), fs::copy_options::recursive);
  }
  void Restore() {
    fs::remove_all(Save());
    fs::copy(Pristine(), Save(), fs::copy_options::recursive);
  }
  static void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  }
  // Every file of the save, saved again from a load of it, with a clock of its own.
  std::map<std::string, std::string> SavedAgain(const std::u16string& name) {
    cGame& game = Load(kSaveTemplate, 1);
    game.saveContext->clock = [] { return sLocalTime{1941, 6, 22, 4, 15}; };
    EXPECT_TRUE(game.saveContext->SaveGame(name, true));
    Drop();
    return test::ReadFolderBytes(dir_.path() / "data/save" / Utf16ToUtf8(name));
  }
};

// Where a file's text is cut: inside its first line (the header of a
// table), at that line's end, at the end of the line before the last (a
// whole row gone), one byte short and to nothing.
std::set<std::size_t> CutOffsets(const std::string& bytes) {
  if (bytes.empty()) return {};
  std::set<std::size_t> offsets{0};
  const std::size_t firstEnd = bytes.find('\n');
  if (firstEnd != std::string::npos) {
    offsets.insert(firstEnd / 2);
    offsets.insert(firstEnd + 1);
    const std::size_t lastEnd = bytes.rfind('\n', bytes.size() - 2);
    if (lastEnd != std::string::npos) offsets.insert(lastEnd + 1);
  }
  offsets.insert(bytes.size() - 1);
  offsets.erase(bytes.size());
  return offsets;
}

TEST_F(SaveDigestsTest, EveryFileCutGrownOrChangedAnywhereIsRefusedNamingIt) {
  MakePristineSave();
  const std::map<std::string, std::string> files = test::ReadFolderBytes(Pristine());
  ASSERT_TRUE(files.count(Utf16ToUtf8(kSaveManifestFile)));
  int cases = 0;
  for (const auto& [name, bytes] : files) {
    std::vector<std::pair<std::string, std::string>> damaged;
    for (const std::size_t offset : CutOffsets(bytes)) {
      damaged.emplace_back("cut at " + std::to_string(offset), bytes.substr(0, offset));
    }
    damaged.emplace_back("grown by a byte", bytes + "7");
    if (!bytes.empty()) {
      std::string changed = bytes;
      changed[changed.size() * 2 / 3] ^= 0x04;
      damaged.emplace_back("one byte changed", changed);
    }
    for (const auto& [what, text] : damaged) {
      SCOPED_TRACE(name + " " + what);
      Restore();
      WriteBytes(Save() / name, text);
      test::LogCapture log;
      EXPECT_EQ(LoadEnding(kSaveTemplate), 1);
      EXPECT_TRUE(log.ContainsText(u"ERROR: " + std::u16string(kSaveFolder) + Utf8ToUtf16(name) + u" "));
      EXPECT_TRUE(log.ContainsText(u"the game is not loaded"));
      ++cases;
    }
  }
  // Every file and the list; an empty file has only one case.
  EXPECT_GT(cases, (kSaveFileCount + 1) * 5);
}

// The sound case beside them: the save as written loads as the same save
// without its list and the mark of it in Info.ini, of the version before
// (an older save), loads, and
// saving either again writes the same files, the list among them.
TEST_F(SaveDigestsTest, TheSaveAsWrittenLoadsAsItDidWithoutItsList) {
  MakePristineSave();
  test::LogCapture log;
  const std::map<std::string, std::string> checked = SavedAgain(u"checked");
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  EXPECT_FALSE(log.ContainsText(u"No file_digests.csv"));
  Restore();
  fs::remove(Save() / "file_digests.csv");
  std::string info = test::ReadFileBytes(Save() / "Info.ini");
  const std::string mark = "FileList = file_digests.csv\r\n";
  ASSERT_NE(info.find(mark), std::string::npos);
  info.erase(info.find(mark), mark.size());
  const std::string version = "GameVersion = 1.02\r\n";
  ASSERT_NE(info.find(version), std::string::npos);
  WriteBytes(Save() / "Info.ini", info.replace(info.find(version), version.size(), "GameVersion = 1.01\r\n"));
  log.Clear();
  const std::map<std::string, std::string> older = SavedAgain(u"older");
  EXPECT_TRUE(log.Contains(u"No file_digests.csv: a save from before it was written; its files are not compared "
                           u"with it"));
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  ASSERT_EQ(checked.size(), static_cast<std::size_t>(kSaveFileCount) + 1);
  ASSERT_EQ(older.size(), checked.size());
  for (const auto& [name, bytes] : checked) EXPECT_TRUE(older.at(name) == bytes) << name;
}

// The list names what the save wrote and nothing it carried over: a file
// of the player's kept in the folder is neither listed nor checked.
TEST_F(SaveDigestsTest, AFileThePlayerKeptInTheSaveIsNotListed) {
  MakeSave(u"x");
  WriteBytes(Save() / "notes.txt", "hold the line at the river");
  MakeSave(u"x");
  const std::string list = test::ReadFileBytes(Save() / "file_digests.csv");
  EXPECT_EQ(list.find("notes.txt"), std::string::npos);
  EXPECT_NE(list.find("land_units.csv;"), std::string::npos);
  EXPECT_TRUE(list.ends_with(";\r\n"));
  EXPECT_NE(list.find("\r\n#end;" + std::to_string(kSaveFileCount) + ";"), std::string::npos);
  WriteBytes(Save() / "notes.txt", "moved back across");
  EXPECT_EQ(LoadEnding(kSaveTemplate), 0);
}

// Deletes a file of the save while the load runs, past the check of the
// list and before the file is read.
class cDeletingPresentation : public cHeadlessPresentation {
 public:
  cDeletingPresentation(fs::path file, int atPercent) : file_(std::move(file)), atPercent_(atPercent) {}
  void SetLoadingProgress(int percent) override {
    cHeadlessPresentation::SetLoadingProgress(percent);
    std::error_code error;
    if (percent == atPercent_) fs::remove(file_, error);
  }

 private:
  fs::path file_;
  int atPercent_;
};

constexpr const char16_t* kUnreadableLaterTable =
    u" is there but cannot be read; only a save from before it was written lacks it, so the game is not loaded";

struct sLaterTableCase {
  const char* file;
  enum eState { kFolder, kOverBudget, kGoneDuringLoad } state;
  const char16_t* logged;
};

std::string StateName(sLaterTableCase::eState state) {
  switch (state) {
    case sLaterTableCase::kFolder:
      return "Folder";
    case sLaterTableCase::kOverBudget:
      return "OverBudget";
    case sLaterTableCase::kGoneDuringLoad:
      return "GoneDuringLoad";
  }
  return {};
}

class LaterTableTest : public SaveDigestsTest, public testing::WithParamInterface<sLaterTableCase> {};

// unit_state.csv and ai_memory.csv are read last; only a save from before
// they were written lacks them. One there that cannot be read refuses the
// load. One the check of the list read is read from the file the check
// read: its name gone by the time its reader comes, it loads as the save was
// written.
TEST_P(LaterTableTest, PresentButUnreadableRefusesTheLoadNamingIt) {
  MakeSave(u"x");
  const sLaterTableCase& c = GetParam();
  const fs::path file = Save() / c.file;
  cDeletingPresentation screen(file, c.state == sLaterTableCase::kGoneDuringLoad ? 95 : -1);
  ScopedPresentation scoped(screen);
  if (c.state != sLaterTableCase::kGoneDuringLoad) {
    // An older save has no list; the unreadable file is what is left to tell.
    test::MakeOlderSave(Save());
    fs::remove(file);
    if (c.state == sLaterTableCase::kFolder) {
      fs::create_directory(file);
      WriteBytes(file / "kept.txt", "a folder, not a table");
    } else {
      WriteBytes(file, "#" + std::string(16 * 1024 * 1024 + 3, ';'));
    }
  }
  test::LogCapture log;
  if (c.logged == nullptr) {
    EXPECT_EQ(LoadEnding(kSaveTemplate), 0);
    EXPECT_FALSE(log.ContainsText(u"ERROR"));
    EXPECT_FALSE(fs::exists(file));
    return;
  }
  EXPECT_EQ(LoadEnding(kSaveTemplate), 1);
  EXPECT_TRUE(log.Contains(u"ERROR: " + std::u16string(kSaveFolder) + Utf8ToUtf16(c.file) + c.logged));
}

INSTANTIATE_TEST_SUITE_P(
    Sample, LaterTableTest,
    testing::Values(
        sLaterTableCase{"unit_state.csv", sLaterTableCase::kFolder, kUnreadableLaterTable},
        sLaterTableCase{"ai_memory.csv", sLaterTableCase::kOverBudget, kUnreadableLaterTable},
        // Reports and spotted units a save from before them lacks too.
        sLaterTableCase{"airship_attacks.csv", sLaterTableCase::kFolder, kUnreadableLaterTable},
        sLaterTableCase{"airrecon_units.csv", sLaterTableCase::kOverBudget, kUnreadableLaterTable},
        sLaterTableCase{"unit_state.csv", sLaterTableCase::kGoneDuringLoad, nullptr},
        sLaterTableCase{"ai_memory.csv", sLaterTableCase::kGoneDuringLoad, nullptr}),
    [](const testing::TestParamInfo<sLaterTableCase>& info) {
      std::string name = info.param.file;
      name = name.substr(0, name.find('.'));
      name.erase(std::remove(name.begin(), name.end(), '_'), name.end());
      return name + StateName(info.param.state);
    });

// Changes a file of the save in place when the load reaches a step: past the
// check of the list, before the readers that follow the step.
class cChangingPresentation : public cHeadlessPresentation {
 public:
  cChangingPresentation(fs::path file, int atPercent, bool sameBytes)
      : file_(std::move(file)), atPercent_(atPercent), sameBytes_(sameBytes) {}
  void SetLoadingProgress(int percent) override {
    cHeadlessPresentation::SetLoadingProgress(percent);
    if (percent != atPercent_) return;
    std::string bytes = test::ReadFileBytes(file_);
    // Same size, one byte else: only the digest tells it (an empty file grows by one).
    if (!sameBytes_ && bytes.empty()) bytes = "#";
    else if (!sameBytes_) bytes[bytes.size() / 2] ^= 0x01;
    std::fstream(file_, std::ios::binary | std::ios::in | std::ios::out) << bytes;
  }

 private:
  fs::path file_;
  int atPercent_;
  bool sameBytes_;
};

struct sChangedCase {
  const char* file;
  // The last step of the load before the reader.
  int percent;
};

void PrintTo(const sChangedCase& c, std::ostream* os) { *os << c.file << " at " << c.percent; }

// Each reader of a save's file, by the last step of the load before it.
const sChangedCase kChangedCases[] = {
    {"map.qel", 15}, {"flags.txt", 20}, {"cities.csv", 20}, {"commanders.csv", 25}, {"land_units.csv", 25},
    {"air_units.csv", 25}, {"fleets.csv", 25}, {"naval_units.csv", 25}, {"countries.csv", 35}, {"unit_names.csv", 35},
    {"airship_attacks.csv", 40}, {"airrecon_units.csv", 40}, {"relations.csv", 45}, {"losses.csv", 45},
    {"sea_nodes.csv", 80}, {"convoys.csv", 80}, {"Info.ini", 80}, {"ai_data.csv", 80}, {"cities_supply_info.csv", 85},
    {"cities_convoy_info.csv", 85}, {"topography.csv", 90}, {"reports.dat", 95}, {"auto_events.csv", 95},
    {"Info.ini", 95}, {"ai_memory.csv", 95}, {"unit_state.csv", 95}};

// The cases name every file the save is written with.
TEST_F(SaveDigestsTest, EveryFileOfTheSaveHasItsChangedCase) {
  MakeSave(u"x");
  std::set<std::string> named;
  for (const sChangedCase& c : kChangedCases) named.insert(c.file);
  std::set<std::string> saved;
  for (const auto& [name, bytes] : test::ReadFolderBytes(Save())) saved.insert(name);
  saved.erase(Utf16ToUtf8(kSaveManifestFile));
  EXPECT_EQ(named, saved);
}

class ChangedAfterCheckTest : public SaveDigestsTest, public testing::WithParamInterface<sChangedCase> {};

// A file changed on the disk after the check of the list refuses the load at
// its reader, and the reason the player is shown says so: readers that may
// meet a file absent (reports, spotted units) and the second and third reads
// of Info.ini (the save's counters) took it for no file and played on. The
// same bytes written over it at the same step leave the save as it was.
TEST_P(ChangedAfterCheckTest, RefusesTheLoadAtItsReader) {
  MakeSave(u"x");
  const sChangedCase& c = GetParam();
  const std::u16string changed = u"changed on the disk while the game was loaded from it; the game is not loaded";
  {
    cChangingPresentation screen(Save() / c.file, c.percent, true);
    ScopedPresentation scoped(screen);
    test::LogCapture log;
    ASSERT_EQ(LoadEnding(kSaveTemplate), 0);
    EXPECT_FALSE(log.ContainsText(u"ERROR"));
    Drop();
  }
  cChangingPresentation screen(Save() / c.file, c.percent, false);
  ScopedPresentation scoped(screen);
  test::LogCapture log;
  const cLastErrorLine reason;
  EXPECT_EQ(LoadEnding(kSaveTemplate), 1);
  EXPECT_TRUE(reason.text().starts_with(u"ERROR: ")) << Utf16ToUtf8(reason.text());
  EXPECT_TRUE(reason.text().ends_with(u"/" + Utf8ToUtf16(c.file) + u" " + changed)) << Utf16ToUtf8(reason.text());
  EXPECT_FALSE(log.ContainsText(u"-- Loading new scenario done!"));
  // Refused by the readers that follow the step, not by a later one.
  std::u16string lastProgress;
  for (const std::u16string& event : screen.events()) {
    if (event.starts_with(u"progress ")) lastProgress = event;
  }
  EXPECT_EQ(lastProgress, u"progress " + Utf8ToUtf16(std::to_string(c.percent)));
}

INSTANTIATE_TEST_SUITE_P(
    Sample, ChangedAfterCheckTest, testing::ValuesIn(kChangedCases),
    [](const testing::TestParamInfo<sChangedCase>& info) {
      std::string name = info.param.file;
      name = name.substr(0, name.find('.'));
      name.erase(std::remove(name.begin(), name.end(), '_'), name.end());
      return name + "At" + std::to_string(info.param.percent);
    });

}  // namespace
}  // namespace tr
