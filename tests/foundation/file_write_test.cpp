// A replacing write never writes through what stands under the file's name or
// its temporary's: a link a received save carried is replaced, and whatever
// it named outside the folder keeps its bytes. A write that fails keeps the
// old file.
#include "foundation/file_write.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>
#include <utility>

#include "support/fork_alone.h"
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

// A file of one byte and an empty one are whole files too.
TEST(FileWriteTest, TheShortestFilesAreWritten) {
  test::TempDir folder;
  const fs::path file = folder.Write("flags.txt", "the old flags");
  EXPECT_TRUE(WriteFileReplacing(file, "7"));
  EXPECT_EQ(test::ReadFileBytes(file), "7");
  EXPECT_TRUE(WriteFileReplacing(file, ""));
  EXPECT_EQ(test::ReadFileBytes(file), "");
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder.path() / "flags.txt.tmp")));
}

// A save's list is made from the record of its writes: each file with the
// size and digest of the bytes written, in however many pieces, and a write
// that succeeds leaves no failure behind for the player to be told of.
TEST(FileWriteTest, TheRecordKeepsEachFileAsWrittenAndASuccessNoFailure) {
  test::TempDir folder;
  const fs::path file = folder.path() / "cities.csv";
  ClearWriteFailure();
  cWrittenFilesRecord record;
  cReplacingFile out(file);
  out.Write("3;Hamburg;");
  out.Write("12;");
  ASSERT_TRUE(out.Commit());
  EXPECT_EQ(LastWriteFailure(), 0);
  ASSERT_EQ(record.entries().size(), 1u);
  EXPECT_EQ(record.entries()[0].file, file);
  EXPECT_EQ(record.entries()[0].size, 13u);
  EXPECT_EQ(FastDigestHex(record.entries()[0].digest), "7ad1d8f8fda82f6a");
  EXPECT_EQ(test::ReadFileBytes(file), "3;Hamburg;12;");
}

// The disk fills up part-way (a file size limit, in a child process so the
// limit ends with it): the write fails, tells why (the file grew past its
// limit), and the old file keeps its bytes.
TEST(FileWriteTest, AWriteThatFillsTheDiskFailsAndKeepsTheOldFile) {
  test::TempDir folder;
  const fs::path file = folder.Write("cities.csv", "the old table");
  const pid_t child = test::ForkAlone();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1024, 1024};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
    ClearWriteFailure();
    if (WriteFileReplacing(file, std::string(64 * 1024, 'x'))) ::_exit(1);
    ::_exit(LastWriteFailure() == EFBIG ? 0 : 2);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: a failed write reported as written; 2: the player not told why";
  EXPECT_EQ(test::ReadFileBytes(file), "the old table");
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder.path() / "cities.csv.tmp")));
}

// A file whose temporary cannot be made (its folder is gone) or cannot take
// its name (a folder stands there) is not written, and the player is told why.
TEST(FileWriteTest, AFileThatCannotBeMadeOrPutInPlaceSaysWhy) {
  test::TempDir folder;
  fs::create_directory(folder.path() / "units");
  for (const auto& [name, error] : {std::pair{"gone/units.csv", ENOENT}, std::pair{"units", EISDIR}}) {
    SCOPED_TRACE(name);
    ClearWriteFailure();
    EXPECT_FALSE(WriteFileReplacing(folder.path() / name, "1;unit;\r\n"));
    EXPECT_EQ(LastWriteFailure(), error);
  }
  ClearWriteFailure();
  EXPECT_TRUE(fs::is_empty(folder.path() / "units"));
  EXPECT_FALSE(fs::exists(folder.path() / "units.tmp"));
}

}  // namespace
}  // namespace tr
