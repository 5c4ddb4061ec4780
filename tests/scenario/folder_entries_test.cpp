// A game folder is read only when it holds files and folders alone: a link or
// a pipe anywhere in it is named, with its place in the folder, and refused.
#include "scenario/folder_entries.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

TEST(FolderEntries, ALinkOrAPipeAnywhereInTheFolderIsNamedAndRefused) {
  test::TempDir dir;
  const test::ScopedGameRoot root(dir.path());
  dir.Write("data/save/x/land_units.csv", "1;");
  dir.Write("data/save/x/notes/old/turn1.txt", "first turn");
  EXPECT_TRUE(HoldsOnlyFilesAndFolders(u"data\\save\\x"));

  fs::create_symlink(dir.path() / "data/save/x/land_units.csv", dir.path() / "data/save/x/notes/old/units");
  test::LogCapture log;
  EXPECT_FALSE(HoldsOnlyFilesAndFolders(u"data\\save\\x"));
  EXPECT_TRUE(log.Contains(u"ERROR: data\\save\\x\\notes\\old\\units is a link; a game folder may hold only files "
                           u"and folders, so the game is not loaded"));
  fs::remove(dir.path() / "data/save/x/notes/old/units");
  ASSERT_EQ(mkfifo((dir.path() / "data/save/x/notes/pipe").c_str(), 0600), 0);
  log.Clear();
  EXPECT_FALSE(HoldsOnlyFilesAndFolders(u"data\\save\\x"));
  EXPECT_TRUE(log.Contains(u"ERROR: data\\save\\x\\notes\\pipe is neither a file nor a folder; a game folder may "
                           u"hold only files and folders, so the game is not loaded"));
}

}  // namespace
}  // namespace tr
