// A replacing write never writes through what stands under the file's name or
// its temporary's: a link a received save carried is replaced, and whatever
// it named outside the folder keeps its bytes.
#include "foundation/file_write.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

TEST(FileWriteTest, ReplacesLinksAndLeftoversInsteadOfWritingThroughThem) {
  const std::string bytes = "1;unit;$(touch PWNED)\r\n";
  for (const char* standing : {"temporary link", "dangling temporary link", "leftover temporary", "file link"}) {
    SCOPED_TRACE(standing);
    test::TempDir folder;
    test::TempDir outside;
    const fs::path victim = outside.Write("bashrc", "keep me");
    const fs::path file = folder.path() / "land_units.csv";
    const fs::path temp = folder.path() / "land_units.csv.tmp";
    const std::string kind = standing;
    if (kind == "temporary link") fs::create_symlink(victim, temp);
    if (kind == "dangling temporary link") fs::create_symlink(outside.path() / "new", temp);
    if (kind == "leftover temporary") folder.Write("land_units.csv.tmp", "half a table");
    if (kind == "file link") fs::create_symlink(victim, file);

    EXPECT_TRUE(WriteFileReplacing(file, bytes));
    EXPECT_EQ(test::ReadFileBytes(victim), "keep me");
    EXPECT_FALSE(fs::exists(fs::symlink_status(outside.path() / "new")));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file)));
    EXPECT_EQ(test::ReadFileBytes(file), bytes);
    EXPECT_FALSE(fs::exists(fs::symlink_status(temp)));
  }
}

}  // namespace
}  // namespace tr
