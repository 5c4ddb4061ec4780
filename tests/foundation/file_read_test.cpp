// Whole-file reads take regular files only, and each reader built on them
// fails with its own opening line when a folder stands where its file should.
#include "foundation/file_read.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <functional>
#include <string>
#include <utility>

#include "foundation/csv_reader.h"
#include "foundation/fast_digest.h"
#include "foundation/file_budgets.h"
#include "foundation/gui_layout.h"
#include "foundation/ini_file.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

TEST(FileReadTest, ReadsARegularFileWhole) {
  test::TempDir dir;
  const std::string bytes("a\0b\r\nc", 6);
  const fs::path file = dir.Write("f.bin", bytes);
  EXPECT_EQ(ReadWholeFile(file), bytes);
  // An errno left behind by an earlier call is no interrupted read.
  errno = EINTR;
  const sFileBytes read = ReadRegularFile(file);
  EXPECT_TRUE(read.opened);
  EXPECT_TRUE(read.complete);
  EXPECT_EQ(read.bytes, bytes);
  EXPECT_EQ(ReadWholeFile(dir.Write("empty", "")), std::string());
}

// While a record of checked files lives, a reader reads a held file from the
// file the check opened, and only while it holds the bytes checked: its name
// removed and another file put under it, it reads as checked, every time;
// changed in place to the same size, grown, or held past the reader's budget,
// it is refused, named in the log, and put back it reads again; at its budget
// exactly it is read. A file not held is read from the disk, and once the
// record is gone every file is.
TEST(FileReadTest, ACheckedFileIsReadAsItWasChecked) {
  test::TempDir dir;
  const std::string bytes = "1;as checked;2;";
  const fs::path renamed = dir.Write("renamed.csv", bytes);
  const fs::path edited = dir.Write("edited.csv", bytes);
  const fs::path other = dir.Write("other.csv", "only on the disk");
  {
    cCheckedFiles checked;
    for (const fs::path& file : {renamed, edited}) checked.Hold(file, OpenGameFile(file), bytes.size(), FastDigest(bytes));
    EXPECT_TRUE(checked.Holds(edited));
    EXPECT_FALSE(checked.Holds(other));
    EXPECT_EQ(ReadWholeFile(other), "only on the disk");
    fs::remove(renamed);
    dir.Write("renamed.csv", "another file");
    // An errno left behind by an earlier call is no interrupted read.
    errno = EINTR;
    for (int read = 0; read < 2; ++read) EXPECT_EQ(ReadWholeFile(renamed), bytes);
    for (const std::string& changed : {std::string("1;as checkeD;2;"), bytes + "7"}) {
      SCOPED_TRACE(changed);
      dir.Write("edited.csv", changed);
      test::LogCapture log;
      EXPECT_FALSE(ReadWholeFile(edited).has_value());
      EXPECT_FALSE(ReadRegularFile(edited).opened);
      EXPECT_TRUE(log.ContainsText(u"edited.csv changed on the disk while the game was loaded from it; the game is not loaded"));
    }
    dir.Write("edited.csv", bytes);
    EXPECT_EQ(ReadWholeFile(edited), bytes);
    EXPECT_EQ(ReadWholeFile(edited, bytes.size()), bytes);
    test::LogCapture log;
    EXPECT_FALSE(ReadWholeFile(edited, bytes.size() - 1).has_value());
    EXPECT_TRUE(log.ContainsText(u"edited.csv holds 15 bytes, more than the 14 bytes a file of its kind may hold"));
    // Refused, not read from the smaller file now under its name.
    EXPECT_FALSE(ReadWholeFile(renamed, bytes.size() - 1).has_value());
  }
  EXPECT_EQ(cCheckedFiles::Current(), nullptr);
  EXPECT_EQ(ReadWholeFile(renamed), "another file");
}

// A held file refused to its reader (changed, past the reader's budget, a
// read error) calls the refusal the record was made with, after its reason
// is logged: a reader that may meet a file absent must not go on without it.
// One read as checked calls nothing.
TEST(FileReadTest, AHeldFileRefusedCallsTheRecordsRefusal) {
  struct sRefused {};
  test::TempDir dir;
  const std::string bytes = "1;as checked;2;";
  const fs::path file = dir.Write("held.csv", bytes);
  const fs::path unreadable = dir.Write("unreadable.csv", bytes);
  int refusals = 0;
  cCheckedFiles checked([&refusals] {
    ++refusals;
    throw sRefused{};
  });
  checked.Hold(file, OpenGameFile(file), bytes.size(), FastDigest(bytes));
  // Opened for writing only, the held file gives a read error.
  checked.Hold(unreadable, cGameFile(::open(unreadable.c_str(), O_WRONLY), bytes.size()), bytes.size(),
               FastDigest(bytes));
  EXPECT_EQ(ReadWholeFile(file), bytes);
  EXPECT_EQ(refusals, 0);
  test::LogCapture log;
  EXPECT_THROW(ReadWholeFile(file, bytes.size() - 1), sRefused);
  EXPECT_EQ(refusals, 1);
  EXPECT_TRUE(log.ContainsText(u"held.csv holds 15 bytes, more than the 14 bytes"));
  EXPECT_THROW(ReadWholeFile(unreadable), sRefused);
  EXPECT_EQ(refusals, 2);
  EXPECT_TRUE(log.ContainsText(u"unreadable.csv cannot be read (a read error); the game is not loaded"));
  // Neither is a change on the disk, whose refusal asks for another start.
  EXPECT_FALSE(checked.FoundAChange());
  dir.Write("held.csv", "1;as checkeD;2;");
  EXPECT_THROW(ReadRegularFile(file), sRefused);
  EXPECT_EQ(refusals, 3);
  EXPECT_TRUE(log.ContainsText(u"held.csv changed on the disk while the game was loaded from it"));
  EXPECT_TRUE(checked.FoundAChange());
}

// A link is not followed even to a regular file: one in a received save
// would read whatever it names outside the game folder.
TEST(FileReadTest, RefusesWhatIsNotARegularFile) {
  test::TempDir dir;
  const fs::path file = dir.Write("file", "x");
  fs::create_directories(dir.path() / "folder");
  ASSERT_EQ(mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
  fs::create_symlink(file, dir.path() / "link");
  for (const fs::path& path : {dir.path() / "folder", dir.path() / "pipe", dir.path() / "missing", dir.path() / "link",
                               fs::path(dir.path().string() + std::string("/file\0tail", 10))}) {
    SCOPED_TRACE(path.string());
    EXPECT_FALSE(ReadWholeFile(path).has_value());
    EXPECT_FALSE(ReadRegularFile(path).opened);
    EXPECT_FALSE(IsReadableRegularFile(path));
  }
}

// Only a file that is not there is missing: a name the system cannot look up
// (longer than a name may be) is a file that cannot be opened, and said so.
TEST(FileReadTest, ANameTooLongIsUnreadableNotMissing) {
  test::TempDir dir;
  dir.Write("data/kept.csv", "k");
  const test::ScopedGameRoot root(dir.path());
  eFileRefusal refusal = eFileRefusal::kNone;
  test::LogCapture log;
  EXPECT_FALSE(OpenGameFile(dir.path() / "data" / "gone.csv", kTextFileBudget, &refusal).is_open());
  EXPECT_EQ(refusal, eFileRefusal::kMissing);
  EXPECT_TRUE(log.lines().empty());
  const fs::path tooLong = dir.path() / "data" / std::string(NAME_MAX + 9, 'n');
  EXPECT_FALSE(OpenGameFile(tooLong, kTextFileBudget, &refusal).is_open());
  EXPECT_EQ(refusal, eFileRefusal::kUnreadable);
  EXPECT_TRUE(log.Contains(Utf8ToUtf16("ERROR: " + tooLong.string() + " cannot be opened; it is not read")));
}

// A file is read up to its kind's budget and refused one byte past it, named
// in the log; a padded 2 GB file is refused from its size alone. The files
// are sparse: nothing near that size is written.
TEST(FileReadTest, HoldsAFileToItsBudget) {
  test::TempDir dir;
  const fs::path file = dir.path() / "table.csv";
  fs::resize_file(dir.Write("table.csv", ""), kTextFileBudget);
  EXPECT_EQ(ReadWholeFile(file).value_or("").size(), kTextFileBudget);
  fs::resize_file(file, kTextFileBudget + 1);
  test::LogCapture log;
  EXPECT_FALSE(ReadWholeFile(file).has_value());
  EXPECT_FALSE(ReadRegularFile(file).opened);
  EXPECT_TRUE(log.Contains(Utf8ToUtf16("ERROR: " + file.string() + " holds 16777217 bytes, more than the 16777216 " +
                                       "bytes a file of its kind may hold; it is not read")));
  fs::resize_file(file, 2 * 1024 * kMiB);
  EXPECT_FALSE(ReadWholeFile(file, kMapFileBudget).has_value());
}

// A file of a save or a scenario is held to the budget of its name, whatever
// its letter case and the larger budget its reader asks for: a save without
// a list, or a scenario, is read no further than a save with one. The budgets
// the game is sized by: the map's 283,000 hexes of 37 bytes, the largest a
// save's list may name; the largest game's land units with names of 99
// letters (3.5 MB); all 40,000 flags at their longest (800 KB); tens of
// thousands of reports; a scenario's Info.ini with its descriptions, and the
// list of a save's files. A name that only begins or ends as one of them
// does, or a file of another kind, is read to its reader's own budget. The
// files are sparse.
TEST(FileReadTest, HoldsASavesFileToTheBudgetOfItsName) {
  constexpr std::uint64_t kKiB = 1024;
  const std::pair<std::string, std::uint64_t> named[] = {
      {"map.qel", 10 * kMiB}, {"Map.QEL", 10 * kMiB},      {"land_units.csv", 4 * kKiB + 19000 * 521},
      {"FLAGS.txt", kMiB},    {"reports.dat", 4 * kMiB},   {"Info.ini", 64 * kKiB},
      {"file_digests.csv", 64 * kKiB}};
  EXPECT_EQ(LargestNamedFileBudget(), 10 * kMiB);
  test::TempDir dir;
  for (const auto& [name, budget] : named) {
    SCOPED_TRACE(name);
    const fs::path file = dir.Write(name, "");
    fs::resize_file(file, budget);
    EXPECT_EQ(ReadWholeFile(file, 2 * kMapFileBudget).value_or("").size(), budget);
    fs::resize_file(file, budget + 1);
    test::LogCapture log;
    EXPECT_FALSE(ReadWholeFile(file, 2 * kMapFileBudget).has_value());
    EXPECT_TRUE(log.Contains(Utf8ToUtf16("ERROR: " + file.string() + " holds " + std::to_string(budget + 1) +
                                         " bytes, more than the " + std::to_string(budget) +
                                         " bytes a file of its kind may hold; it is not read")));
    fs::remove(file);
  }
  for (const std::string name : {"map.qel.old", "map.qex", "tile.png"}) {
    SCOPED_TRACE(name);
    const fs::path file = dir.Write(name, "");
    fs::resize_file(file, kTextFileBudget + 1);
    EXPECT_EQ(ReadWholeFile(file, kPictureFileBudget).value_or("").size(), kTextFileBudget + 1);
    fs::remove(file);
  }
}

// Only what lies inside the game folder, reached without a link below it, is
// read. The game folder itself may be reached through a link, as a home
// folder often is, and so may its data folder and that folder's saves,
// turns and scenarios (in any case of their names); the shipped files read
// as before.
TEST(FileReadTest, ReadsInsideTheGameFolderWithoutALinkOnTheWay) {
  test::TempDir dir;
  const fs::path outside = dir.Write("outside.txt", "secret");
  dir.Write("disk/data/table.csv", "a;b");
  dir.Write("disk/data/sub/file.csv", "c");
  dir.Write("saves/Game1/Info.ini", "s");
  dir.Write("turns/turn.ini", "p");
  dir.Write("scen/Sample/Info.ini", "n");
  dir.Write("music/theme.ogg", "m");
  fs::create_directories(dir.path() / "real");
  fs::create_symlink(dir.path() / "real", dir.path() / "game");
  fs::create_symlink(dir.path() / "disk" / "data", dir.path() / "real" / "data");
  for (const auto& [link, to] : {std::pair{"Save", "saves"}, {"pbem", "turns"}, {"scenarios", "scen"},
                                 {"linked", "disk/data/sub"}, {"up", ""}, {"gfx", "music"}}) {
    fs::create_symlink(dir.path() / to, dir.path() / "disk" / "data" / link);
  }
  fs::create_symlink(dir.path() / "music", dir.path() / "real" / "Music");
  fs::create_symlink(dir.path() / "saves" / "Game1", dir.path() / "saves" / "Linked");
  const test::ScopedGameRoot root(dir.path() / "game");
  EXPECT_EQ(ReadWholeFile(ResolveGamePath("data\\table.csv")), "a;b");
  EXPECT_EQ(ReadWholeFile(ResolveGamePath("data/sub/file.csv")), "c");
  EXPECT_EQ(ReadWholeFile(ResolveGamePath("data/Save/Game1/Info.ini")), "s");
  EXPECT_EQ(ReadWholeFile(ResolveGamePath("data/pbem/turn.ini")), "p");
  EXPECT_EQ(ReadWholeFile(ResolveGamePath("data/scenarios/Sample/Info.ini")), "n");
  test::LogCapture log;
  for (const char* path : {"data/linked/file.csv", "data/gfx/theme.ogg", "Music/theme.ogg", "data/Save/Linked/Info.ini",
                           "data/up/outside.txt"}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(ReadWholeFile(ResolveGamePath(path)).has_value());
    EXPECT_FALSE(IsReadableRegularFile(ResolveGamePath(path)));
    EXPECT_TRUE(log.ContainsText(Utf8ToUtf16(std::string(path) + " is reached through a link; it is not read")));
  }
  for (const char* path : {"../outside.txt", "data/../../outside.txt"}) {
    EXPECT_FALSE(ReadWholeFile(ResolveGamePath(path)).has_value());
    EXPECT_FALSE(IsReadableRegularFile(ResolveGamePath(path)));
  }
  EXPECT_FALSE(ReadWholeFile(outside).has_value());
  EXPECT_TRUE(log.Contains(Utf8ToUtf16("ERROR: " + outside.string() + " lies outside the game folder; it is not read")));
}

struct FolderCase {
  const char* name;
  // Runs the reader on the path; returns what it reported.
  std::function<bool(const std::u16string& path)> read;
  const char16_t* line;  // its failure line, before the path
};

class FolderForFileTest : public testing::TestWithParam<FolderCase> {};

TEST_P(FolderForFileTest, ReaderFailsWithItsOwnLine) {
  test::TempDir dir;
  const fs::path folder = dir.path() / "data.file";
  fs::create_directories(folder);
  const std::u16string path = Utf8ToUtf16(folder.string());
  test::LogCapture log;
  EXPECT_FALSE(GetParam().read(path));
  // The table reader reports nothing itself: its caller logs and decides.
  if (GetParam().line != nullptr) {
    std::u16string line = GetParam().line;
    if (const std::size_t at = line.find(u"%s"); at != std::u16string::npos) line.replace(at, 2, path);
    EXPECT_TRUE(log.Contains(line)) << GetParam().name;
  }
  EXPECT_FALSE(log.Contains(u"Loaded"));
}

INSTANTIATE_TEST_SUITE_P(
    Readers, FolderForFileTest,
    testing::Values(
        FolderCase{"CsvTable",
                   [](const std::u16string& path) {
                     cCsvReader reader(path);
                     return reader.IsLoaded() || !reader.AtEnd() || reader.ReadRecord() != 0;
                   },
                   nullptr},
        FolderCase{"IniFile", [](const std::u16string& path) { return cIniFile().Load(path); },
                   u"ERROR during opening INI file %s"},
        FolderCase{"GuiLayout", [](const std::u16string& path) { return LoadGuiLayoutFile(path); },
                   u"Loading GUI coordinates from \"%s\"... FAILED"},
        FolderCase{"StringBase",
                   [](const std::u16string& path) {
                     cStringBase base;
                     base.Load(Utf16ToUtf8(path), true);
                     std::u16string text;
                     return base.FindText("any", text);
                   },
                   u"Failed opening string base"}),
    [](const testing::TestParamInfo<FolderCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tr
