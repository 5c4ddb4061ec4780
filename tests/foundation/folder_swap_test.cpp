// Replacing a folder whole: a swap over a folder already there, and the
// working folder of a target whose name is as long as a name can be.
#include "foundation/folder_swap.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <set>
#include <string>
#include <string_view>

#include "support/temp_dir.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// Writes one file into a new working folder for the target and swaps it in.
bool SaveOneFile(const fs::path& target, std::string_view file, std::string_view bytes) {
  const cWorkingFolder written(target);
  if (!written.IsMade()) return false;
  std::ofstream(written.path() / file, std::ios::binary) << bytes;
  return SwapFolderIntoPlace(written, target, {});
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

}  // namespace
}  // namespace tr
