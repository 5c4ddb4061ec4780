// Replacing a folder whole: a swap over a folder already there, the working
// folder of a target whose name is as long as a name can be, and a swap by
// two renames that fails half-way.
#include "foundation/folder_swap.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/file_write.h"
#include "foundation/text.h"
#include "support/fork_alone.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

std::set<std::string> Entries(const fs::path& folder) {
  WaitForFolderRemovals();
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// Writes one file into a new working folder for the target and swaps it in.
bool SaveOneFile(const fs::path& target, std::string_view file, std::string_view bytes,
                 const FolderRenameCheck& check = {}) {
  const cWorkingFolder written(target);
  if (!written.IsMade()) return false;
  std::ofstream(written.path() / file, std::ios::binary) << bytes;
  return SwapFolderIntoPlace(written, target, check);
}

TEST(FolderSwap, ASwapReplacesTheFolderThereWholeAndLeavesNothingBeside) {
  test::TempDir dir;
  const fs::path target = dir.path() / "Autosave";
  dir.Write("Autosave/old.csv", "old");
  ASSERT_TRUE(SaveOneFile(target, "new.csv", "new"));
  EXPECT_EQ(Entries(target), (std::set<std::string>{"new.csv"}));
  EXPECT_EQ(dir.Read("Autosave/new.csv"), "new");
  EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"Autosave"}));
}

// The lock of a replaced folder goes with it to its removal, which alone
// gives it up: a file the game opens right after the swap, under whatever
// descriptor number is free, stays open while and after the folder goes.
TEST(FolderSwap, AFileOpenedAfterASwapStaysOpenWhileTheReplacedFolderGoes) {
  test::TempDir dir;
  const fs::path target = dir.path() / "Quicksave";
  dir.Write("opened.txt", "kept open");
  for (int round = 0; round < 12; ++round) {
    for (int file = 0; file < 20; ++file) dir.Write("Quicksave/t" + std::to_string(file) + ".csv", "round");
    ASSERT_TRUE(SaveOneFile(target, "s" + std::to_string(round) + ".csv", "new"));
    const int opened = ::open((dir.path() / "opened.txt").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(opened, 0);
    WaitForFolderRemovals();
    char bytes[16] = {};
    EXPECT_EQ(::read(opened, bytes, sizeof bytes), 9) << "round " << round << ": " << std::strerror(errno);
    ::close(opened);
  }
}

// The working folder's name is cut to fit, at a whole character, and marked.
TEST(FolderSwap, ATargetOfTheLongestNameStillGetsItsWorkingFolder) {
  test::TempDir dir;
  std::string letters;
  while (letters.size() + 2 <= NAME_MAX) letters += "\xC3\xA9";
  // Two-byte letters from an even and from an odd place: one of the cuts falls inside a letter.
  for (const std::string& name : {std::string(NAME_MAX, 'a'), letters, "a" + letters}) {
    const fs::path target = dir.path() / name;
    {
      const cWorkingFolder written(target);
      ASSERT_TRUE(written.IsMade()) << name.size();
      const std::string own = written.path().filename().string();
      EXPECT_LE(own.size(), static_cast<std::size_t>(NAME_MAX));
      EXPECT_NE(own.find("%%"), std::string::npos);
      // No character is cut in two: the kept part of the name ends on a whole one.
      constexpr std::size_t kRole = std::string_view(".saving%").size();
      const std::string kept = own.substr(kRole, own.find("%%") - kRole);
      ASSERT_TRUE(name.starts_with(kept));
      EXPECT_NE(static_cast<unsigned char>(name[kept.size()]) & 0xC0, 0x80) << name.size();
    }
    ASSERT_TRUE(SaveOneFile(target, "land_units.csv", "units")) << name.size();
    EXPECT_EQ(test::ReadFileBytes(target / "land_units.csv"), "units");
  }
}

// A working folder's name that just fits is kept whole; one a byte longer is
// cut and marked.
TEST(FolderSwap, AWorkingFolderNameThatJustFitsIsKeptWhole) {
  test::TempDir dir;
  int next = 0;
  {
    const cWorkingFolder probe(dir.path() / "Slot");
    ASSERT_TRUE(probe.IsMade());
    const std::string name = probe.path().filename().string();
    next = std::stoi(name.substr(name.rfind('-') + 1)) + 1;
  }
  const std::string unique = std::to_string(::getpid()) + "-" + std::to_string(next);
  const std::string fits(NAME_MAX - std::string_view(".saving%").size() - 1 - unique.size(), 'f');
  {
    const cWorkingFolder written(dir.path() / fits);
    ASSERT_TRUE(written.IsMade());
    EXPECT_EQ(written.path().filename().string(), ".saving%" + fits + "%" + unique);
  }
  const cWorkingFolder longer(dir.path() / (fits + "g"));
  ASSERT_TRUE(longer.IsMade());
  EXPECT_NE(longer.path().filename().string().find("%%"), std::string::npos);
  EXPECT_LE(longer.path().filename().string().size(), static_cast<std::size_t>(NAME_MAX));
}

// Names taken by folders earlier writers left are passed over, for 64 tries
// at most: past them the working folder is not made and the save fails,
// rather than trying for ever.
TEST(FolderSwap, AWorkingFolderPassesOverTakenNamesForSixtyFourTries) {
  test::TempDir dir;
  const fs::path target = dir.path() / "Slot";
  // This process names its working folders "<role><owner>%<pid>-<n>", n counting up.
  const std::string prefix = ".saving%Slot%" + std::to_string(::getpid()) + "-";
  int next = 0;
  {
    const cWorkingFolder probe(target);
    ASSERT_TRUE(probe.IsMade());
    next = std::stoi(probe.path().filename().string().substr(prefix.size())) + 1;
  }
  const auto take = [&](int count) {
    for (int n = next; n < next + count; ++n) fs::create_directory(dir.path() / (prefix + std::to_string(n)));
  };
  take(63);
  {
    const cWorkingFolder written(target);
    EXPECT_TRUE(written.IsMade());
    EXPECT_EQ(written.path().filename().string(), prefix + std::to_string(next + 63));
  }
  next += 64;
  take(64);
  const cWorkingFolder refused(target);
  EXPECT_FALSE(refused.IsMade());
  // Nor is one in a folder that is gone, and the player is told why.
  ClearWriteFailure();
  const cWorkingFolder homeless(dir.path() / "gone" / "Slot");
  EXPECT_FALSE(homeless.IsMade());
  EXPECT_EQ(LastWriteFailure(), ENOENT);
  ClearWriteFailure();
}

// Writes one file into a new working folder and swaps it in, with the flushes checked.
bool SaveFlushed(const fs::path& target, std::string_view bytes, const FolderFlushCheck& flush,
                 const FolderRenameCheck& rename = {}) {
  const cWorkingFolder written(target);
  if (!written.IsMade()) return false;
  std::ofstream(written.path() / "new.csv", std::ios::binary) << bytes;
  return SwapFolderIntoPlace(written, target, rename, flush);
}

// The written folder is on the disk before it takes the previous one's place,
// and the changed names of the parent after, by an exchange or by two
// renames alike; a written folder that cannot be flushed never goes in. A
// flush that succeeds says nothing, whatever error an earlier call left.
TEST(FolderSwap, TheWrittenFolderIsOnTheDiskBeforeItGoesIn) {
  test::TempDir dir;
  const fs::path target = dir.path() / "Slot";
  dir.Write("Slot/old.csv", "old");
  for (const bool exchange : {true, false}) {
    SCOPED_TRACE(exchange ? "exchange" : "two renames");
    std::vector<fs::path> flushed;
    const FolderFlushCheck record = [&](const fs::path& folder) {
      flushed.push_back(folder);
      errno = EIO;
      return 0;
    };
    // Without an exchange: the previous folder aside, the new one in.
    int renames = 0;
    const FolderRenameCheck rename = [&](std::u16string_view, std::u16string_view) {
      return !exchange && renames++ == 0 ? EINVAL : 0;
    };
    test::LogCapture log;
    ASSERT_TRUE(SaveFlushed(target, exchange ? "first" : "second", record, rename));
    ASSERT_EQ(flushed.size(), 2u);
    EXPECT_EQ(flushed.front().parent_path(), dir.path());
    EXPECT_TRUE(flushed.front().filename().string().starts_with(".saving%Slot%"));
    EXPECT_EQ(flushed.back(), dir.path());
    EXPECT_EQ(dir.Read("Slot/new.csv"), exchange ? "first" : "second");
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"Slot"});
    EXPECT_FALSE(log.ContainsText(u"WARNING"));
    EXPECT_FALSE(log.ContainsText(u"ERROR"));
  }

  test::LogCapture log;
  ClearWriteFailure();
  EXPECT_FALSE(SaveFlushed(target, "third", [&](const fs::path& folder) { return folder == dir.path() ? 0 : EIO; }));
  EXPECT_TRUE(log.ContainsText(u"to the disk (Input/output error)"));
  EXPECT_EQ(LastWriteFailure(), EIO);
  // Nor does one whose previous folder cannot be moved aside, and the player
  // is told why.
  ClearWriteFailure();
  int renames = 0;
  EXPECT_FALSE(SaveFlushed(target, "fourth", {}, [&](std::u16string_view, std::u16string_view) {
    return ++renames == 1 ? EINVAL : EACCES;
  }));
  EXPECT_EQ(LastWriteFailure(), EACCES);
  ClearWriteFailure();
  EXPECT_TRUE(log.ContainsText(u"ERROR: Cannot move " + Utf8ToUtf16(target.string()) + u" aside (Permission denied)"));
  // Nor one whose exchange fails for another reason than the file system's.
  EXPECT_FALSE(SaveFlushed(target, "fifth", {}, [](std::u16string_view, std::u16string_view) { return ENOSPC; }));
  EXPECT_EQ(LastWriteFailure(), ENOSPC);
  ClearWriteFailure();
  EXPECT_TRUE(log.ContainsText(u" in place of " + Utf8ToUtf16(target.string()) + u" (No space left on device)"));
  EXPECT_EQ(dir.Read("Slot/new.csv"), "second");
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"Slot"});
}

// Once the written folder is in place a parent whose names cannot be flushed
// is told of, and a file system with nothing to flush is not.
TEST(FolderSwap, AParentThatCannotBeFlushedAfterTheSwapIsOnlyWarnedOf) {
  test::TempDir dir;
  const fs::path target = dir.path() / "Slot";
  for (const int error : {EIO, EINVAL}) {
    test::LogCapture log;
    EXPECT_TRUE(SaveFlushed(target, std::to_string(error), [&](const fs::path& folder) {
      return folder == dir.path() ? error : 0;
    }));
    EXPECT_EQ(dir.Read("Slot/new.csv"), std::to_string(error));
    EXPECT_EQ(log.ContainsText(u"WARNING: The new names in "), error == EIO);
  }
}

// The written folder opened for its flush is closed again under any number,
// the first too, which is free in a game started without an input (in a
// child process, whose descriptors end with it).
TEST(FolderSwap, TheFolderOpenedForItsFlushIsClosedUnderAnyNumber) {
  test::TempDir dir;
  const fs::path target = dir.path() / "Slot";
  const pid_t child = test::ForkAlone();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const cWorkingFolder written(target);
    if (!written.IsMade()) ::_exit(3);
    ::close(0);
    if (!SwapFolderIntoPlace(written, target, {}, [](const fs::path&) { return 0; })) ::_exit(4);
    ::_exit(::fcntl(0, F_GETFD) == -1 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the first descriptor was left open";
}

// A working folder its writer no longer holds (the writer ended) is removed
// by the next swap in the parent; one still held is left to its writer.
TEST(FolderSwap, WorkingFoldersNobodyHoldsAreRemovedByTheNextSwap) {
  test::TempDir dir;
  dir.Write(".saving%Slot%1-7/land_units.csv", "half");
  const cWorkingFolder held(dir.path() / "Other");
  ASSERT_TRUE(held.IsMade());
  test::LogCapture log;
  ASSERT_TRUE(SaveOneFile(dir.path() / "Slot", "new.csv", "new"));
  EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"Slot", held.path().filename().string()}));
  EXPECT_TRUE(log.ContainsText(u".saving%Slot%1-7, left by a save that did not finish"));
}

// The name a swap by two renames puts the previous folder aside under, after
// the working folder's "<role><owner>%<pid>-<n>": "<role><owner>%<pid>-<n + 1>",
// the owner cut and marked with "%%" where the whole would not fit.
std::string AsideName(const std::string& owner, const std::string& working) {
  const std::size_t mark = working.rfind('%');
  const std::size_t dash = working.rfind('-');
  const std::string unique =
      working.substr(mark + 1, dash - mark - 1) + "-" + std::to_string(std::stoi(working.substr(dash + 1)) + 1);
  constexpr std::string_view kRole = ".old%";
  const std::string whole = std::string(kRole) + owner + "%" + unique;
  if (whole.size() <= NAME_MAX) return whole;
  return std::string(kRole) + owner.substr(0, NAME_MAX - kRole.size() - 2 - unique.size()) + "%%" + unique;
}

// On a file system without an exchange the previous folder goes aside, and
// when the new one cannot take its name it comes back at once; when even that
// fails, the next swap in the parent puts it back. One that cannot go aside
// (the rename refused, or a file where it would go) stays as it was. Also for
// a name too long to be kept whole in the name of the folder left aside; each
// failure tells the player why.
class FailedSwapByTwoRenames : public testing::TestWithParam<std::string> {};

TEST_P(FailedSwapByTwoRenames, KeepsThePreviousFolderUnderItsName) {
  test::TempDir dir;
  const std::string name = GetParam();
  const bool cut = name.size() == NAME_MAX;
  const fs::path target = dir.path() / name;
  dir.Write(name + "/old.csv", "old");
  struct sCase {
    const char* what;
    std::vector<int> errors;  // of the renames in turn: the exchange, aside, into place, back
    bool asideTaken;
    int failure;
    std::size_t renames;
  };
  // A cut name goes aside inside a folder of its own, which cannot be made.
  const sCase cases[] = {{"back at once", {EINVAL, 0, EIO}, false, EIO, 4},
                         {"not aside", {EINVAL, EACCES}, false, EACCES, 2},
                         {"aside taken", {EINVAL}, true, cut ? EEXIST : ENOTDIR, cut ? 1u : 2u},
                         {"back with the next swap", {EINVAL, 0, EIO, EIO}, false, EIO, 4}};
  for (const sCase& each : cases) {
    const bool later = each.errors.size() == 4;
    SCOPED_TRACE(each.what);
    std::size_t renames = 0;
    fs::path taken;
    const FolderRenameCheck check = [&](std::u16string_view from, std::u16string_view) {
      const std::size_t rename = renames++;
      if (rename == 0 && each.asideTaken) {
        taken = dir.path() / AsideName(name, Utf16ToUtf8(from));
        std::ofstream(taken) << "x";
      }
      return rename < each.errors.size() ? each.errors[rename] : 0;
    };
    ClearWriteFailure();
    test::LogCapture log;
    EXPECT_FALSE(SaveOneFile(target, "new.csv", "new", check));
    EXPECT_EQ(renames, each.renames);
    EXPECT_EQ(LastWriteFailure(), each.failure);
    ClearWriteFailure();
    EXPECT_EQ(log.ContainsText(u"cannot be put back (Input/output error); it is kept in "), later);
    if (!taken.empty()) {
      EXPECT_TRUE(fs::is_regular_file(taken));
      fs::remove(taken);
    }
    if (later) {
      EXPECT_FALSE(fs::exists(target));
      ASSERT_TRUE(SaveOneFile(dir.path() / "Other", "other.csv", "other"));
      EXPECT_TRUE(log.ContainsText(u"back in place of the save that did not finish"));
    }
    EXPECT_EQ(Entries(target), (std::set<std::string>{"old.csv"}));
    EXPECT_EQ(dir.Read(name + "/old.csv"), "old");
    const std::set<std::string> beside = later ? std::set<std::string>{name, "Other"} : std::set<std::string>{name};
    EXPECT_EQ(Entries(dir.path()), beside);
  }
}

INSTANTIATE_TEST_SUITE_P(Names, FailedSwapByTwoRenames, testing::Values("Autosave", std::string(NAME_MAX, 'a')),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param.size() == NAME_MAX ? std::string("Longest") : info.param;
                         });

}  // namespace
}  // namespace tr
