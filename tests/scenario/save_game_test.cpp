// Saving a whole game: the save folder of a name, load-save-load with
// byte-identical files, a save that fails half-way (a step, a rename), what a
// save keeps and leaves alone, what it flushes to the disk, and the message.
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <climits>
#include <iterator>
#include <list>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <tuple>
#include <thread>
#include <vector>

#include "foundation/fatal.h"
#include "foundation/file_budgets.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "save_game_fixture.h"
#include "scenario/pbem_repository.h"
#include "scenario/pbem_turn_check.h"
#include "scenario/save_game.h"
#include "support/fork_alone.h"
#include "support/log_capture.h"
#include "support/test_scenario.h"
#include "turn/supply.h"
#include "turn/turn_steps.h"
#include "world/game_start.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

// The paths of what this program asks the disk to hold (fsync below), in
// order, while a record is kept.
std::mutex gFlushMutex;
std::vector<std::string>* gFlushed = nullptr;

class ScopedFlushRecord {
 public:
  explicit ScopedFlushRecord(std::vector<std::string>& steps) {
    const std::lock_guard lock(gFlushMutex);
    gFlushed = &steps;
  }
  ~ScopedFlushRecord() {
    const std::lock_guard lock(gFlushMutex);
    gFlushed = nullptr;
  }
  ScopedFlushRecord(const ScopedFlushRecord&) = delete;
  ScopedFlushRecord& operator=(const ScopedFlushRecord&) = delete;
};

}  // namespace
}  // namespace tr

namespace tr {
namespace {

// Records the step with the path the descriptor names, while a record is kept.
void RecordFlush(const char* step, int descriptor) {
  const std::lock_guard lock(gFlushMutex);
  if (gFlushed == nullptr) return;
  char path[PATH_MAX];
  const std::string link = "/proc/self/fd/" + std::to_string(descriptor);
  const ssize_t size = ::readlink(link.c_str(), path, sizeof path);
  gFlushed->push_back(step + std::string(path, size > 0 ? static_cast<std::size_t>(size) : 0));
}

}  // namespace
}  // namespace tr

// Every flush and sync of the program's own code comes here first.
extern "C" int fsync(int descriptor) {
  tr::RecordFlush("flush ", descriptor);
  return static_cast<int>(::syscall(SYS_fsync, descriptor));
}

extern "C" int syncfs(int descriptor) {
  tr::RecordFlush("sync ", descriptor);
  return static_cast<int>(::syscall(SYS_syncfs, descriptor));
}

namespace tr {
namespace {


TEST_F(SaveGameTest, LoadSaveLoadKeepsTheGameAndResavesByteForByte) {
  cGame& fresh = LoadScenario();
  fresh.reports.Add(sReport{});
  // Neighbouring columns of a land unit hold values of their own, so a column
  // read one off shows (the scenario gives a land unit one action point).
  cJednostkaLadowa& infantry = *fresh.landUnits.front();
  infantry.supplySourceY = 0;
  infantry.startingActionPoints = 1;
  ASSERT_TRUE(fresh.saveContext->SaveGame(u"first", false));
  const FolderBytes first = Files("first");
  // The files and the list of their digests.
  EXPECT_EQ(first.size(), static_cast<std::size_t>(kSaveFileCount) + 1);
  EXPECT_NE(first.at("Info.ini").find("Date = 10.07.15 14:05"), std::string::npos);
  EXPECT_EQ(screen_.CountEvents(u"text-dialog " + GetText("save_game_title") + u"|"), 1);

  cGame& loaded = LoadSave(u"first");
  EXPECT_EQ(loaded.loadedGame, 1);
  EXPECT_EQ(loaded.CountryCount(), 3);
  EXPECT_EQ(loaded.cities.size(), 6u);
  EXPECT_EQ(loaded.reservePool.size(), 2u);
  EXPECT_EQ(loaded.aboardUnitsA.size(), 1u);
  // The first load's supply computation ran the convoy and reported it.
  ASSERT_EQ(loaded.reports.Reports().size(), 2u);
  EXPECT_EQ(loaded.reports.Reports().front().type, 24);
  EXPECT_EQ(loaded.autoEvents.pairs.size(), 2u);
  EXPECT_EQ(loaded.convoys.ConvoysOf(1).front().id, 3);
  EXPECT_EQ(loaded.flags[17], -4);
  EXPECT_EQ(loaded.landUnits.front()->startingActionPoints, 1);
  ASSERT_TRUE(loaded.saveContext->SaveGame(u"second", true));
  const FolderBytes second = Files("second");
  ASSERT_EQ(second.size(), first.size());
  for (const auto& [file, bytes] : first) {
    const std::string& other = second.at(file);
    std::size_t at = 0;
    while (at < bytes.size() && at < other.size() && bytes[at] == other[at]) ++at;
    EXPECT_TRUE(other == bytes) << file << " differs at byte " << at << " of " << bytes.size() << ": "
                                << int(bytes[at]) << " then " << int(other[at]);
  }
}

// A received save whose table is padded to gigabytes (a few MB zipped) is
// refused from its size, naming the file, before a byte of it is read; the
// same save unpadded loads.
TEST_F(SaveGameTest, ATablePaddedBeyondItsBudgetIsRefusedNamingIt) {
  ASSERT_TRUE(LoadScenario().saveContext->SaveGame(u"sound", true));
  fs::copy(scenario_.root() / "data/save/sound", scenario_.root() / "data/save/padded");
  // As an older save, without the list of its files' digests: the reader's budget, the file's own, refuses it.
  test::MakeOlderSave(scenario_.root() / "data/save/padded");
  const fs::path table = scenario_.root() / "data/save/padded/countries.csv";
  fs::resize_file(table, 2 * 1024 * kMiB);
  EXPECT_EQ(LoadSave(u"sound").CountryCount(), 3);
  test::LogCapture log;
  EXPECT_THROW(LoadSave(u"padded"), FatalExitError);
  EXPECT_TRUE(log.Contains(Utf8ToUtf16("ERROR: " + table.string() + " holds 2147483648 bytes, more than the " +
                                       std::to_string(FileBudgetOf("countries.csv", kTextFileBudget)) +
                                       " bytes a file of its kind may hold; it is not read")));
}

// The units each country spotted from the air come back with the game.
TEST_F(SaveGameTest, UnitsSpottedFromTheAirComeBackForEachCountry) {
  cGame& game = LoadScenario();
  auto unit = game.landUnits.begin();
  const cUnit& first = **unit;
  const cUnit& second = **++unit;
  game.countries[0]->reconSpottedUnits = {&**game.landUnits.begin()};
  game.countries[1]->reconSpottedUnits = {&**unit};
  ASSERT_TRUE(game.saveContext->SaveGame(u"recon", true));
  const sPoint places[2] = {{first.x, first.y}, {second.x, second.y}};
  cGame& loaded = LoadSave(u"recon");
  for (int country = 0; country < 2; ++country) {
    const std::list<cUnit*>& spotted = loaded.countries[country]->reconSpottedUnits;
    ASSERT_EQ(spotted.size(), 1u) << country;
    EXPECT_EQ(spotted.front()->x, places[country].x) << country;
    EXPECT_EQ(spotted.front()->y, places[country].y) << country;
  }
  EXPECT_TRUE(loaded.countries[2]->reconSpottedUnits.empty());
}

// A save made while a unit walks over another unit's hex writes the walker
// where the walk would stop, and leaves it walking on where it was.
TEST_F(SaveGameTest, AWalkerIsSavedWhereItsWalkWouldStopAndWalksOn) {
  cGame& game = LoadScenario();
  auto unit = game.landUnits.begin();
  cJednostkaLadowa& walker = **unit;
  const sPoint over{(*++unit)->x, (*unit)->y};
  const sPoint start{walker.x, walker.y};
  game.map->GetHex(start.x, start.y)->unit = nullptr;
  walker.x = over.x;
  walker.y = over.y;
  game.playerControl.move.unit = &walker;
  game.playerControl.move.walked = {start, over};
  ASSERT_TRUE(game.saveContext->SaveGame(u"walk", true));
  EXPECT_EQ(walker.x, over.x);
  EXPECT_EQ(walker.y, over.y);
  const int id = walker.id;
  game.playerControl.move = sUnitMove{};
  const cGame& loaded = LoadSave(u"walk");
  const auto saved = std::find_if(loaded.landUnits.begin(), loaded.landUnits.end(),
                                  [id](const auto& land) { return land->id == id; });
  ASSERT_NE(saved, loaded.landUnits.end());
  EXPECT_EQ((*saved)->x, start.x);
  EXPECT_EQ((*saved)->y, start.y);
}

// A row of a save's table cut short ends the load, naming the file and line;
// the save whole loads.
TEST_F(SaveGameTest, ASaveWithALandUnitRowCutShortIsRefused) {
  ASSERT_TRUE(LoadScenario().saveContext->SaveGame(u"whole", true));
  fs::copy(scenario_.root() / "data/save/whole", scenario_.root() / "data/save/cut");
  // As an older save, without the list of its files' digests: the row itself refuses it.
  test::MakeOlderSave(scenario_.root() / "data/save/cut");
  const fs::path table = scenario_.root() / "data/save/cut/land_units.csv";
  std::string bytes = test::ReadFileBytes(table);
  // The first data row (line 3) loses its last three fields.
  const std::size_t rowEnd = bytes.find("\r\n", bytes.find("\r\n", bytes.find("\r\n") + 2) + 2);
  ASSERT_NE(rowEnd, std::string::npos);
  std::size_t cut = rowEnd - 1;
  for (int fields = 0; fields < 3; ++fields) cut = bytes.rfind(';', cut - 1);
  bytes.erase(cut + 1, rowEnd - cut - 1);
  std::ofstream(table, std::ios::binary | std::ios::trunc) << bytes;
  EXPECT_GE(LoadSave(u"whole").landUnits.size(), 2u);
  test::LogCapture log;
  EXPECT_THROW(LoadSave(u"cut"), FatalExitError);
  EXPECT_TRUE(log.ContainsText(Utf8ToUtf16("land_units.csv at line 3 (counting from 1) has ")));
}

// A file standing under the save's name is not a save: it stays, and the
// save says it failed, for its own reason, not the full disk of a save before,
// and asks for that file to be moved, not for a folder to be made writable.
TEST_F(SaveGameTest, AFileUnderTheSaveNameStaysAndTheSaveFails) {
  cGame& game = LoadScenario();
  game.saveContext->flushCheck = [](const fs::path&) { return ENOSPC; };
  EXPECT_FALSE(game.saveContext->SaveGame(u"full", true));
  game.saveContext->flushCheck = nullptr;
  ASSERT_EQ(SaveFailureReason(), GetText("save_failure_disk_full"));
  const fs::path file = scenario_.root() / "data/save/notes";
  std::ofstream(file, std::ios::binary) << "mine";
  test::LogCapture log;
  EXPECT_FALSE(game.saveContext->SaveGame(u"notes", false));
  EXPECT_EQ(test::ReadFileBytes(file), "mine");
  EXPECT_EQ(screen_.CountEvents(u"text-dialog"), 0);
  EXPECT_TRUE(log.Contains(u"ERROR: data\\save\\notes is not a save folder; the game is not saved"));
  EXPECT_EQ(SaveFailureReason(), GetText("save_failure_not_a_folder"));
  EXPECT_EQ(SaveFailureRemedy(u"data\\save\\notes", u"Then save again."),
            Format(GetText("save_remedy_not_a_folder_%s"), ShownPath(u"data\\save\\notes")) + u" Then save again.");
}

// A folder on the save's way that is a link to nothing (the folder of saves
// kept elsewhere and gone, or the save's own): the save fails, naming the link
// and where it leads, not the system's "no such file". Beside it, the folder
// of saves linked to one that exists takes the save through the link.
TEST_F(SaveGameTest, ALinkToNothingOnTheSavesWayIsNamedWithWhereItLeads) {
  cGame& game = LoadScenario();
  const fs::path saves = scenario_.root() / "data/save";
  const fs::path elsewhere = scenario_.root() / "kept";
  fs::remove_all(saves);
  fs::create_symlink(elsewhere, saves);
  for (const auto& [link, gamePath, leads] :
       {std::tuple{saves, u"data\\save", elsewhere}, std::tuple{saves / "mine", u"data\\save\\mine", elsewhere / "x"}}) {
    if (link != saves) fs::create_directories(elsewhere);
    if (link != saves) fs::create_symlink(leads, link);
    test::LogCapture log;
    EXPECT_FALSE(game.saveContext->SaveGame(u"mine", false)) << link;
    EXPECT_EQ(screen_.CountEvents(u"text-dialog"), 0);
    const std::u16string shownLeads = Utf8ToUtf16(leads.string());
    EXPECT_TRUE(log.Contains(Format(u"ERROR: %s is a link to %s, which does not exist; the game is not saved",
                                    gamePath, shownLeads)));
    // Nothing is tried through the link: no folder made, no other cause met.
    EXPECT_EQ(log.lines().size(), 1u) << link;
    EXPECT_EQ(SaveFailureReason(), Format(GetText("save_failure_dangling_link_%s_%s"), ShownPath(gamePath), shownLeads));
    EXPECT_EQ(SaveFailureRemedy(u"data\\save\\mine", u"Then save again."),
              Format(GetText("save_remedy_dangling_link_%s_%s"), shownLeads, ShownPath(gamePath)) +
                  u" Then save again.");
    EXPECT_TRUE(fs::is_symlink(link));
  }
  fs::remove(saves / "mine");
  ASSERT_TRUE(game.saveContext->SaveGame(u"mine", true));
  EXPECT_TRUE(fs::is_symlink(saves));
  EXPECT_TRUE(fs::is_regular_file(elsewhere / "mine" / "Info.ini"));
  // The load replaces the game `game` refers to.
  const int turn = game.turn;
  EXPECT_EQ(LoadSave(u"mine").turn, turn);
}

// A game whose file would be longer than its load reads back is not saved:
// the box names that file and, with nothing on the disk at fault, asks for no
// folder to be made writable nor for the save to be tried again.
TEST_F(SaveGameTest, AFilePastItsLoadBudgetIsTheCauseTheBoxGives) {
  cGame& game = LoadScenario();
  ASSERT_TRUE(game.saveContext->SaveGame(u"slot", true));
  const FolderBytes before = Files("slot");
  // Rows of 23 bytes ("1000000000;1000000000" and CR LF) after the scenario's own, to one row past the budget.
  std::uint64_t bytes = 0;
  for (const auto& [event, option] : game.autoEvents.pairs) {
    bytes += std::to_string(event).size() + std::to_string(option).size() + 3;
  }
  const std::uint64_t budget = FileBudgetOf("auto_events.csv", kTextFileBudget);
  for (std::int32_t id = 1000000000; bytes <= budget; ++id, bytes += 23) {
    game.autoEvents.pairs.emplace_back(id, 1000000000);
  }
  test::LogCapture log;
  EXPECT_FALSE(game.saveContext->SaveGame(u"slot", true));
  EXPECT_TRUE(log.ContainsText(Format(u"auto_events.csv would hold %lli bytes, more than the %lli its load reads",
                                      static_cast<long long>(bytes), static_cast<long long>(budget))));
  EXPECT_TRUE(Files("slot") == before);
  EXPECT_EQ(SaveFailureReason(), Format(GetText("save_failure_too_large_%s"), u"auto_events.csv"));
  EXPECT_EQ(SaveFailureRemedy(u"data\\save\\slot", u"Then save again."),
            Format(GetText("save_remedy_too_large_%s"), ShownPath(u"data\\save\\slot")));
  // One row fewer fits, and the next save says nothing of the cause before.
  game.autoEvents.pairs.pop_back();
  EXPECT_TRUE(game.saveContext->SaveGame(u"slot", true));
  game.saveContext->flushCheck = [](const fs::path&) { return ENOSPC; };
  EXPECT_FALSE(game.saveContext->SaveGame(u"slot", true));
  EXPECT_EQ(SaveFailureReason(), GetText("save_failure_disk_full"));
}

TEST_F(SaveGameTest, AFailedSaveLeavesThePreviousSaveAsItWas) {
  cGame& game = LoadScenario();
  ASSERT_TRUE(game.saveContext->SaveGame(u"slot", true));
  const FolderBytes before = Files("slot");
  game.flags[5] = 99;
  game.saveContext->stepCheck = [](int step, std::u16string_view) { return step != 10; };
  test::LogCapture log;
  EXPECT_FALSE(game.saveContext->SaveGame(u"slot", false));
  EXPECT_TRUE(log.Contains(u"ERROR: Saving stopped at flags.txt (file 10 of 25)"));
  // No cause the system gave: the advice sends the player to the log.
  EXPECT_EQ(SaveFailureRemedy(u"data\\save\\slot", {}),
            Format(GetText("save_remedy_see_log_%s"), ShownPath(u"data\\save\\slot")));
  EXPECT_EQ(screen_.CountEvents(u"text-dialog"), 0);
  EXPECT_TRUE(Files("slot") == before);
  EXPECT_EQ(Entries(scenario_.root() / "data/save"), std::set<std::string>{"slot"}) << "nothing is left behind";
  EXPECT_EQ(LoadSave(u"slot").flags[5], 0);
}

// Putting a written save in place is one exchange of folders, or, on a file
// system without one, two renames: the previous save aside, then the new one
// into its name. Any of them failing keeps the previous save. The case gives
// the error of each rename in turn (0: it is made).
struct SwapCase {
  const char* name;
  std::vector<int> errors;
};

class FailedSwap : public SaveGameTest, public testing::WithParamInterface<SwapCase> {};

TEST_P(FailedSwap, LeavesThePreviousSaveAsItWas) {
  cGame& game = LoadScenario();
  ASSERT_TRUE(game.saveContext->SaveGame(u"slot", true));
  const FolderBytes before = Files("slot");
  game.flags[5] = 99;
  std::size_t renames = 0;
  game.saveContext->renameCheck = [&](std::u16string_view, std::u16string_view) {
    const std::vector<int>& errors = GetParam().errors;
    return renames < errors.size() ? errors[renames++] : 0;
  };
  test::LogCapture log;
  EXPECT_FALSE(game.saveContext->SaveGame(u"slot", false));
  EXPECT_EQ(renames, GetParam().errors.size());
  EXPECT_TRUE(log.Contains(u"ERROR: Cannot replace the save folder data\\save\\slot"));
  EXPECT_EQ(screen_.CountEvents(u"text-dialog"), 0);
  EXPECT_TRUE(Files("slot") == before);
  EXPECT_EQ(Entries(scenario_.root() / "data/save"), std::set<std::string>{"slot"}) << "nothing is left behind";
  game.saveContext->renameCheck = nullptr;
  EXPECT_EQ(LoadSave(u"slot").flags[5], 0);
}

INSTANTIATE_TEST_SUITE_P(Renames, FailedSwap,
                         testing::Values(SwapCase{"Exchange", {EIO}}, SwapCase{"PreviousAside", {EINVAL, EIO}},
                                         SwapCase{"NewIntoPlace", {EINVAL, 0, EIO}}),
                         [](const testing::TestParamInfo<SwapCase>& info) { return info.param.name; });

// When even putting the previous save back fails, the failure says where it
// is kept, and the next save in the folder puts it back under its name.
TEST_F(SaveGameTest, APreviousSaveThatCouldNotBePutBackReturnsWithTheNextSave) {
  cGame& game = LoadScenario();
  ASSERT_TRUE(game.saveContext->SaveGame(u"slot", true));
  const FolderBytes before = Files("slot");
  game.flags[5] = 99;
  const std::vector<int> errors{EINVAL, 0, EIO, EIO};
  std::size_t renames = 0;
  game.saveContext->renameCheck = [&](std::u16string_view, std::u16string_view) {
    return renames < errors.size() ? errors[renames++] : 0;
  };
  test::LogCapture log;
  EXPECT_FALSE(game.saveContext->SaveGame(u"slot", false));
  EXPECT_TRUE(log.ContainsText(u"cannot be put back (Input/output error); it is kept in "));
  EXPECT_TRUE(Files("slot").empty());
  game.saveContext->renameCheck = nullptr;
  ASSERT_TRUE(game.saveContext->SaveGame(u"other", true));
  EXPECT_TRUE(Files("slot") == before);
  EXPECT_EQ(Entries(scenario_.root() / "data/save"), (std::set<std::string>{"other", "slot"}));
}

// A flush of the save to the disk that fails: the save not on the disk keeps
// the previous save and fails the save; a failed flush of the folder of saves,
// which already holds the new save then, saves with a warning, and a file
// system with nothing to flush there (EINVAL) saves.
struct FlushCase {
  const char* name;
  bool saves;  // fails the flush of the folder of saves, not of the save
  int error;
  bool saved;
  const char16_t* logged;  // "": no line about the disk
  const char* reasonKey = nullptr;  // what the player is told of a failed save
  const char* remedyKey = nullptr;
};

void PrintTo(const FlushCase& c, std::ostream* os) { *os << c.name; }

class FailedFlush : public SaveGameTest, public testing::WithParamInterface<FlushCase> {};

TEST_P(FailedFlush, KeepsThePreviousSaveUnlessTheSaveIsInPlace) {
  cGame& game = LoadScenario();
  ASSERT_TRUE(game.saveContext->SaveGame(u"slot", true));
  const FolderBytes before = Files("slot");
  game.flags[5] = 99;
  std::vector<std::string> flushed;
  game.saveContext->flushCheck = [&](const fs::path& folder) {
    flushed.push_back(folder.filename().string());
    const bool hit = GetParam().saves ? folder.filename() == "save" : folder.filename().string().starts_with(".saving%slot%");
    return hit ? GetParam().error : 0;
  };
  test::LogCapture log;
  EXPECT_EQ(game.saveContext->SaveGame(u"slot", false), GetParam().saved);
  game.saveContext->flushCheck = nullptr;
  if (*GetParam().logged != u'\0') {
    EXPECT_TRUE(log.ContainsText(GetParam().logged)) << GetParam().name;
  } else {
    EXPECT_FALSE(log.ContainsText(u"the disk")) << GetParam().name;
  }
  EXPECT_EQ(screen_.CountEvents(u"text-dialog"), GetParam().saved ? 1 : 0);
  EXPECT_EQ(Entries(scenario_.root() / "data/save"), std::set<std::string>{"slot"}) << "nothing is left behind";
  if (GetParam().saved) {
    // The save, then the folder of saves holding its new name.
    ASSERT_EQ(flushed.size(), 2u);
    EXPECT_TRUE(flushed[0].starts_with(".saving%slot%")) << flushed[0];
    EXPECT_EQ(flushed[1], "save");
  } else {
    EXPECT_TRUE(log.Contains(u"ERROR: Cannot replace the save folder data\\save\\slot"));
    EXPECT_TRUE(Files("slot") == before);
    // Beyond the disk's state and a refusal, the system's own words.
    const std::u16string reason = GetParam().error == EIO
                                      ? Format(GetText(GetParam().reasonKey), u"Input/output error")
                                      : GetText(GetParam().reasonKey);
    EXPECT_EQ(SaveFailureReason(), reason);
    // A refused save names the folder it is written in, beside the save's.
    const bool refused = GetParam().error == EACCES || GetParam().error == EPERM;
    EXPECT_EQ(SaveFailureRemedy(u"data\\save\\slot"),
              Format(GetText(GetParam().remedyKey), ShownPath(refused ? u"data\\save" : u"data\\save\\slot")));
  }
  EXPECT_EQ(LoadSave(u"slot").flags[5], GetParam().saved ? 99 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Flushes, FailedFlush,
    testing::Values(FlushCase{"TheSave", false, EIO, false, u" to the disk (Input/output error)",
                              "save_failure_system_%s", "save_remedy_other_%s"},
                    FlushCase{"TheSaveOnAFullDisk", false, ENOSPC, false, u" to the disk (No space left on device)",
                              "save_failure_disk_full", "save_remedy_disk_full_%s"},
                    FlushCase{"TheSaveOverQuota", false, EDQUOT, false, u" to the disk (Disk quota exceeded)",
                              "save_failure_disk_full", "save_remedy_disk_full_%s"},
                    FlushCase{"TheSaveOnAReadOnlyDisk", false, EROFS, false, u" to the disk (Read-only file system)",
                              "save_failure_read_only", "save_remedy_read_only_%s"},
                    FlushCase{"TheSaveRefused", false, EACCES, false, u" to the disk (Permission denied)",
                              "save_failure_no_permission", "save_remedy_no_permission_%s"},
                    FlushCase{"TheSaveNotPermitted", false, EPERM, false, u" to the disk (Operation not permitted)",
                              "save_failure_no_permission", "save_remedy_no_permission_%s"},
                    FlushCase{"TheFolderOfSaves", true, EROFS, true,
                              u"may not be on the disk yet (Read-only file system)"},
                    FlushCase{"NothingToFlushInTheFolderOfSaves", true, EINVAL, true, u""}),
    [](const testing::TestParamInfo<FlushCase>& info) { return info.param.name; });

// A save is on the disk before it takes the place of the previous one: the
// file system holding every file it wrote and its folder is synced before the
// exchange, and the folder of saves, which then holds the new names, flushed
// after it.
TEST_F(SaveGameTest, ASaveIsOnTheDiskBeforeItTakesThePlaceOfThePreviousOne) {
  cGame& game = LoadScenario();
  ASSERT_TRUE(game.saveContext->SaveGame(u"slot", true));
  std::vector<std::string> steps;
  game.saveContext->renameCheck = [&](std::u16string_view from, std::u16string_view) {
    const std::lock_guard lock(gFlushMutex);
    steps.push_back("rename " + Utf16ToUtf8(from));
    return 0;
  };
  {
    const ScopedFlushRecord record(steps);
    ASSERT_TRUE(game.saveContext->SaveGame(u"slot", true));
  }
  game.saveContext->renameCheck = nullptr;
  // The place of a step in the record; past the end when it is missing.
  const auto at = [&](const std::string& step) { return std::find(steps.begin(), steps.end(), step) - steps.begin(); };
  const auto exchange = std::find_if(steps.begin(), steps.end(),
                                     [](const std::string& step) { return step.starts_with("rename .saving%slot%"); });
  ASSERT_NE(exchange, steps.end());
  const fs::path saves = fs::canonical(scenario_.root() / "data/save");
  const fs::path working = saves / exchange->substr(std::string_view("rename ").size());
  const auto exchangedAt = exchange - steps.begin();
  const FolderBytes files = Files("slot");
  ASSERT_EQ(files.size(), static_cast<std::size_t>(kSaveFileCount) + 1);
  EXPECT_LT(at("sync " + working.string()), exchangedAt) << "the file system holding the save is synced";
  const auto parentAt = at("flush " + saves.string());
  EXPECT_GT(parentAt, exchangedAt);
  EXPECT_LT(parentAt, static_cast<std::ptrdiff_t>(steps.size()));
}

TEST_F(SaveGameTest, FilesAndFoldersTheSaveDoesNotWriteStayInTheFolder) {
  cGame& game = LoadScenario();
  ASSERT_TRUE(game.saveContext->SaveGame(u"kept", true));
  const fs::path folder = scenario_.root() / "data/save/kept";
  std::ofstream(folder / "image.png", std::ios::binary) << "picture";
  fs::create_directories(folder / "notes/old");
  std::ofstream(folder / "notes/old/turn1.txt", std::ios::binary) << "first turn";
  // Named like a file of the save, but below its top: the player's own.
  std::ofstream(folder / "notes/land_units.csv", std::ios::binary) << "my units";
  ASSERT_TRUE(game.saveContext->SaveGame(u"kept", true));
  EXPECT_EQ(test::ReadFileBytes(folder / "image.png"), "picture");
  EXPECT_EQ(test::ReadFileBytes(folder / "notes/old/turn1.txt"), "first turn");
  EXPECT_EQ(test::ReadFileBytes(folder / "notes/land_units.csv"), "my units");
  EXPECT_EQ(Files("kept").size(), static_cast<std::size_t>(kSaveFileCount) + 4);
  EXPECT_TRUE(SaveFolderExists(u"kept"));
  EXPECT_FALSE(SaveFolderExists(u"never"));
}

// A name the rule refuses saves nothing, anywhere in the game folder. (What
// lies beside it is the test programs' shared working folder, which other
// tests write into while this one runs.)
TEST_F(SaveGameTest, ARefusedNameSavesNothing) {
  cGame& game = LoadScenario();
  const std::set<std::string> root = Entries(scenario_.root());
  test::LogCapture log;
  EXPECT_FALSE(game.saveContext->SaveGame(u"a/b", false));
  EXPECT_TRUE(log.ContainsText(u"ERROR: Save name refused: a/b ("));
  EXPECT_FALSE(log.ContainsText(u"Opening file for writing"));
  EXPECT_EQ(Entries(scenario_.root()), root);
  EXPECT_EQ(screen_.CountEvents(u"text-dialog"), 0);
}

// Another save whose name looks like a working folder of this one is left alone.
struct NeighbourCase {
  const char* name;
  std::u16string_view save;
  const char* neighbour;
};

class SaveNeighbour : public SaveGameTest, public testing::WithParamInterface<NeighbourCase> {};

TEST_P(SaveNeighbour, IsNotTouchedBySavingTwice) {
  cGame& game = LoadScenario();
  ASSERT_TRUE(game.saveContext->SaveGame(Utf8ToUtf16(GetParam().neighbour), true));
  const FolderBytes neighbour = Files(GetParam().neighbour);
  ASSERT_TRUE(game.saveContext->SaveGame(GetParam().save, true));
  ASSERT_TRUE(game.saveContext->SaveGame(GetParam().save, true));
  EXPECT_TRUE(Files(GetParam().neighbour) == neighbour);
  EXPECT_EQ(Entries(scenario_.root() / "data/save"),
            (std::set<std::string>{GetParam().neighbour, Utf16ToUtf8(GetParam().save)}));
}

INSTANTIATE_TEST_SUITE_P(Names, SaveNeighbour,
                         testing::Values(NeighbourCase{"Old", u"campaign", "campaign.old"},
                                         NeighbourCase{"Saving", u"x", "x.saving"}),
                         [](const testing::TestParamInfo<NeighbourCase>& info) { return info.param.name; });

// A game folder that lost its save folders still saves: they are made again.
TEST_F(SaveGameTest, MissingSaveFoldersAreMade) {
  cGame& game = LoadScenario();
  fs::remove_all(scenario_.root() / "data/save");
  fs::remove_all(scenario_.root() / "data/pbem");
  EXPECT_TRUE(game.saveContext->SaveGame(u"autosave", true));
  EXPECT_TRUE(game.saveContext->SavePbemGame(u"Duel"));
  EXPECT_EQ(Files("autosave").size(), static_cast<std::size_t>(kSaveFileCount) + 1);
  EXPECT_TRUE(fs::exists(scenario_.root() / "data/pbem/Duel/land_units.csv"));
}

TEST_F(SaveGameTest, PbemTurnGoesIntoItsOwnFolder) {
  cGame& game = LoadScenario();
  test::LogCapture log;
  ASSERT_TRUE(game.saveContext->SavePbemGame(u"Duel"));
  EXPECT_TRUE(log.Contains(u"Zapisuej gre PBEM to katalogu data\\pbem\\Duel"));
  EXPECT_TRUE(fs::exists(scenario_.root() / "data/pbem/Duel/land_units.csv"));
  EXPECT_EQ(screen_.CountEvents(u"text-dialog"), 0);
}

// A play-by-e-mail game's folder: the turn it holds is counted from its own
// files, a game may stand at that turn to start and must stand beyond it to
// hand over, and a player renamed or given a new address is the same player.
TEST_F(SaveGameTest, PbemFolderTurnIsTheSavedOneAndItsPlayersStayTheirsWhenRenamed) {
  cGame& game = LoadScenario();
  game.pbemGame = 1;
  game.pbemGameName = u"Duel";
  PushBackSetupRecord(game.pbemPlayers, 1, u"Ann", u"ann@example.com");
  PushBackSetupRecord(game.pbemPlayers, 2, u"Bob", u"bob@example.com");
  // One country has ended its turn; the column beside says otherwise for each.
  for (const auto& country : game.countries) {
    country->finishedTurn = country == game.countries.front() ? 1 : 0;
    country->humanControlled = country->finishedTurn ? 0 : 1;
  }
  ASSERT_TRUE(game.saveContext->SavePbemGame(u"Duel"));
  const std::optional<sPbemTurnPosition> held = PbemFolderTurnPosition(u"Duel");
  ASSERT_TRUE(held.has_value());
  EXPECT_EQ(*held, (sPbemTurnPosition{game.turn, 1}));
  EXPECT_EQ(*held, PbemTurnPosition(game));

  const std::u16string duel = ShownPath(u"data\\pbem\\Duel");
  EXPECT_EQ(PbemTurnWriteFault(game, false), u"");
  EXPECT_EQ(PbemTurnWriteFault(game, true),
            duel + u" holds this turn of this game or a later one: this turn was handed over already");
  game.countries.back()->finishedTurn = 1;
  EXPECT_EQ(PbemTurnWriteFault(game, true), u"");

  game.pbemPlayers[0].name = u"Annie";
  game.pbemPlayers[1].email = u"robert@example.com";
  EXPECT_EQ(PbemFolderOwnerFault(game), u"");
  game.pbemPlayers[0].email = u"annie@example.com";
  EXPECT_EQ(PbemFolderOwnerFault(game), duel + u" holds a turn of another game, whose players are Ann, Bob");
  // A turn saved by a game of another name into this game's folder.
  game.pbemGameName = u"Duel 2";
  ASSERT_TRUE(game.saveContext->SavePbemGame(u"Duel"));
  game.pbemGameName = u"Duel";
  EXPECT_EQ(PbemFolderOwnerFault(game), duel + u" holds a turn of another game, \"Duel 2\"");
}

}  // namespace
}  // namespace tr
