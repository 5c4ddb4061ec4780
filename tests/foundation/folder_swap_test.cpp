// Replacing a folder whole: a swap over a folder already there, the working
// folder of a target whose name is as long as a name can be, and a swap by
// two renames that fails half-way.
#include "foundation/folder_swap.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

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
}

// On a file system without an exchange the previous folder goes aside, and
// when the new one cannot take its name it comes back at once; when even that
// fails, the next swap in the parent puts it back. Also for a name too long
// to be kept whole in the name of the folder left aside.
class FailedSwapByTwoRenames : public testing::TestWithParam<std::string> {};

TEST_P(FailedSwapByTwoRenames, KeepsThePreviousFolderUnderItsName) {
  test::TempDir dir;
  const std::string name = GetParam();
  const fs::path target = dir.path() / name;
  dir.Write(name + "/old.csv", "old");
  // The renames in turn: the exchange, the previous folder aside, the new one
  // into place, the previous one back.
  for (const std::vector<int>& errors : {std::vector<int>{EINVAL, 0, EIO}, std::vector<int>{EINVAL, 0, EIO, EIO}}) {
    const bool backAtOnce = errors.size() == 3;
    SCOPED_TRACE(backAtOnce ? "back at once" : "back with the next swap");
    std::size_t renames = 0;
    const FolderRenameCheck check = [&](std::u16string_view, std::u16string_view) {
      const std::size_t rename = renames++;
      return rename < errors.size() ? errors[rename] : 0;
    };
    test::LogCapture log;
    EXPECT_FALSE(SaveOneFile(target, "new.csv", "new", check));
    EXPECT_EQ(renames, 4u);
    EXPECT_EQ(log.ContainsText(u"cannot be put back (Input/output error); it is kept in "), !backAtOnce);
    if (!backAtOnce) {
      EXPECT_FALSE(fs::exists(target));
      ASSERT_TRUE(SaveOneFile(dir.path() / "Other", "other.csv", "other"));
      EXPECT_TRUE(log.ContainsText(u"back in place of the save that did not finish"));
    }
    EXPECT_EQ(Entries(target), (std::set<std::string>{"old.csv"}));
    EXPECT_EQ(dir.Read(name + "/old.csv"), "old");
    const std::set<std::string> beside = backAtOnce ? std::set<std::string>{name} : std::set<std::string>{name, "Other"};
    EXPECT_EQ(Entries(dir.path()), beside);
  }
}

INSTANTIATE_TEST_SUITE_P(Names, FailedSwapByTwoRenames, testing::Values("Autosave", std::string(NAME_MAX, 'a')),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param.size() == NAME_MAX ? std::string("Longest") : info.param;
                         });

}  // namespace
}  // namespace tr
