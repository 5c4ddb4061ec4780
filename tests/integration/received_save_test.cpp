// A save or a play-by-e-mail turn from a stranger, through the real load and
// save: a link or a pipe anywhere in the folders a game is read from refuses
// the load, the save writes nothing through a link, and the name a received
// turn gives its game can only be the folder it came in.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/scenario_menu.h"
#include "built_sample_test.h"
#include "foundation/fatal.h"
#include "foundation/folder_swap.h"
#include "foundation/text.h"
#include "scenario/pbem_repository.h"
#include "scenario/save_game.h"
#include "support/log_capture.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

constexpr char16_t kScenarioTemplate[] = u"data\\scenarios\\NorthernTide\\%s";

class ReceivedSaveTest : public test::BuiltSampleTest {
 protected:
  ReceivedSaveTest() { victim_ = outside_.Write("victim/bashrc", "export PATH=/usr/bin\n"); }

  void ExpectVictimUntouched() const {
    EXPECT_EQ(test::ReadFileBytes(victim_), "export PATH=/usr/bin\n");
    std::size_t entries = 0;
    for (const auto& entry : fs::recursive_directory_iterator(outside_.path())) entries += entry.exists() ? 1 : 0;
    EXPECT_EQ(entries, 2u) << "something was written outside the game folder";
  }

  fs::path Game(const std::string& relative) const { return dir_.path() / relative; }

  test::TempDir outside_;
  fs::path victim_;
};

struct StrangeEntry {
  const char* name;
  const char* entry;  // below the game folder
  enum Kind { kFileLink, kFolderLink, kPipe } kind;
  const char16_t* logged;
};

void PrintTo(const StrangeEntry& c, std::ostream* os) { *os << c.name; }

class StrangeEntryTest : public ReceivedSaveTest, public testing::WithParamInterface<StrangeEntry> {};

// Each is found before any reader opens a file, so nothing outside is read,
// and the save that would follow never happens.
TEST_P(StrangeEntryTest, RefusesTheLoadNamingTheEntry) {
  MakeSave(u"x");
  const fs::path entry = Game(GetParam().entry);
  fs::remove(entry);
  fs::create_directories(entry.parent_path());
  if (GetParam().kind == StrangeEntry::kFileLink) {
    fs::copy_file(Game("data/scenarios/NorthernTide/cities.csv"), outside_.path() / "cities.csv");
    fs::create_symlink(fs::relative(outside_.path() / "cities.csv", entry.parent_path()), entry);
  } else if (GetParam().kind == StrangeEntry::kFolderLink) {
    fs::create_directory_symlink(victim_.parent_path(), entry);
  } else {
    ASSERT_EQ(mkfifo(entry.c_str(), 0600), 0);
  }
  test::LogCapture log;
  EXPECT_EQ(LoadEnding(u"data\\save\\x\\%s"), 1);
  EXPECT_TRUE(log.ContainsText(GetParam().logged)) << GetParam().name;
  fs::remove(outside_.path() / "cities.csv");
  ExpectVictimUntouched();
}

INSTANTIATE_TEST_SUITE_P(
    Sample, StrangeEntryTest,
    testing::Values(
        StrangeEntry{"TemporaryOfATable", "data/save/x/land_units.csv.tmp", StrangeEntry::kFileLink,
                     u"ERROR: data\\save\\x\\land_units.csv.tmp is a link; a game folder may hold only files and "
                     u"folders, so the game is not loaded"},
        StrangeEntry{"Table", "data/save/x/cities.csv", StrangeEntry::kFileLink,
                     u"ERROR: data\\save\\x\\cities.csv is a link;"},
        StrangeEntry{"InAKeptFolder", "data/save/x/notes/old.txt", StrangeEntry::kFileLink,
                     u"ERROR: data\\save\\x\\notes\\old.txt is a link;"},
        StrangeEntry{"Folder", "data/save/x/pictures", StrangeEntry::kFolderLink,
                     u"ERROR: data\\save\\x\\pictures is a link;"},
        StrangeEntry{"Pipe", "data/save/x/reports.dat.tmp", StrangeEntry::kPipe,
                     u"ERROR: data\\save\\x\\reports.dat.tmp is neither a file nor a folder;"},
        StrangeEntry{"ScenarioOfTheSave", "data/scenarios/NorthernTide/consts.csv", StrangeEntry::kFileLink,
                     u"ERROR: data\\scenarios\\NorthernTide\\consts.csv is a link;"}),
    [](const testing::TestParamInfo<StrangeEntry>& info) { return std::string(info.param.name); });

// Saving over a folder that holds links (a "save as" onto a stranger's save)
// replaces the folder with files only: the tables and their temporaries are
// written fresh, kept files and folders are carried, links are left behind.
TEST_F(ReceivedSaveTest, SaveOverAFolderOfLinksWritesNothingThroughThem) {
  MakeSave(u"x");
  const fs::path x = Game("data/save/x");
  for (const char* name : {"land_units.csv.tmp", "reports.dat.tmp", "Info.ini", "image.png", "notes/old.txt"}) {
    fs::remove(x / name);
    fs::create_directories((x / name).parent_path());
    fs::create_symlink(victim_, x / name);
  }
  fs::create_directory_symlink(victim_.parent_path(), x / "pictures");
  const std::string kept = "my notes";
  std::ofstream(x / "notes/kept.txt", std::ios::binary) << kept;

  cGame& game = Load(kScenarioTemplate, 0);
  ASSERT_TRUE(game.saveContext->SaveGame(u"x", true));
  ExpectVictimUntouched();
  for (const auto& entry : fs::recursive_directory_iterator(x)) {
    EXPECT_FALSE(entry.is_symlink()) << entry.path();
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
  }
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(x / "land_units.csv")));
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(x / "Info.ini")));
  EXPECT_EQ(test::ReadFileBytes(x / "notes/kept.txt"), kept);
  // What was saved loads again.
  EXPECT_EQ(LoadEnding(u"data\\save\\x\\%s"), 0);
}

struct TurnCase {
  const char* name;
  const char16_t* gameName;   // what the turn's "Info.ini" was written with
  const char* folder;         // where it was received, below data
  const char16_t* logged;     // empty: the turn loads
};

void PrintTo(const TurnCase& c, std::ostream* os) { *os << c.name; }

class ReceivedTurnTest : public ReceivedSaveTest, public testing::WithParamInterface<TurnCase> {};

// This machine plays two games, Duel and Other, each with its folder and its
// record in the repository. A received turn is loaded from the folder it was
// put in and handed over as the end of a turn does: refused, or written into
// its own folder only.
TEST_P(ReceivedTurnTest, HandsOverIntoItsOwnFolderOnly) {
  for (const char16_t* name : {u"Duel", u"Other"}) {
    MakeSave(u"setup", name);
    fs::rename(Game("data/save/setup"), Game("data/pbem") / Utf16ToUtf8(name));
    UpdatePbemRepository(1, name);
  }
  const std::string repository = test::ReadFileBytes(Game("data/pbem/repo.dat"));
  const std::string other = test::ReadFileBytes(Game("data/pbem/Other/land_units.csv"));
  MakeSave(u"received", GetParam().gameName);
  const fs::path folder = Game(std::string("data/") + GetParam().folder);
  fs::remove_all(folder);
  fs::rename(Game("data/save/received"), folder);
  std::u16string folderTemplate = u"data/" + Utf8ToUtf16(GetParam().folder) + u"/%s";
  std::replace(folderTemplate.begin(), folderTemplate.end(), u'/', u'\\');

  test::LogCapture log;
  const int code = LoadEnding(folderTemplate);
  if (*GetParam().logged != u'\0') {
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(log.ContainsText(GetParam().logged)) << GetParam().name;
    EXPECT_EQ(test::ReadFileBytes(Game("data/pbem/repo.dat")), repository);
  } else {
    ASSERT_EQ(code, 0);
    cGame& game = *gGame;
    UpdatePbemRepository(2, game.pbemGameName);
    EXPECT_TRUE(game.saveContext->SavePbemGame(game.pbemGameName));
    EXPECT_TRUE(fs::is_regular_file(Game("data/pbem/Duel/Info.ini")));
  }
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(Game("data/pbem/repo.dat"))));
  EXPECT_EQ(test::ReadFileBytes(Game("data/pbem/Other/land_units.csv")), other);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ReceivedTurnTest,
    testing::Values(
        TurnCase{"OwnName", u"Duel", "pbem/Duel", u""},
        TurnCase{"Repository", u"repo.dat", "pbem/Duel",
                 u"ERROR: The play-by-e-mail game's name \"repo.dat\" (in data\\pbem\\Duel\\Info.ini) cannot name its "
                 u"folder in data\\pbem: it is the name of the repository file data\\pbem\\repo.dat; the game is not "
                 u"loaded"},
        TurnCase{"RepositoryInAnotherCase", u"REPO.DAT", "save/x",
                 u"\"REPO.DAT\" (in data\\save\\x\\Info.ini) cannot name its folder in data\\pbem: it is the name of the "
                 u"repository file"},
        TurnCase{"AnotherGame", u"Other", "pbem/Duel",
                 u"ERROR: This turn belongs to the play-by-e-mail game \"Other\" (so says data\\pbem\\Duel\\Info.ini), "
                 u"not to the game of the folder data\\pbem\\Duel it lies in: put it in its own game's folder, or ask "
                 u"the sender for this game's turn; the game is not loaded"},
        TurnCase{"HiddenFolder", u".old", "pbem/.old", u"\".old\" (in data\\pbem\\.old\\Info.ini) cannot name "
                                                       u"its folder in data\\pbem: it starts with '.'"},
        // Written by a program that let any letters in: "Игра" came out as "????".
        TurnCase{"LettersTheIniLost", u"Игра", "pbem/Игра",
                 u"\"????\" (in data\\pbem\\Игра\\Info.ini) cannot name its folder in data\\pbem: it cannot "
                 u"name a folder"}),
    [](const testing::TestParamInfo<TurnCase>& info) { return std::string(info.param.name); });

// A player keeps the saves on another disk, or the turns in a folder two
// players share, through a link in the place of the game's own folder, and
// the scenarios elsewhere too: the game saves and loads through those links.
// A link in the place of a save or turn folder, or inside one, which a
// stranger's files can carry, is still refused, by the save and the load alike.
struct LinkedFolder {
  const char* name;
  const char* folder;  // the game's own folder below data, kept elsewhere
};

void PrintTo(const LinkedFolder& c, std::ostream* os) { *os << c.name; }

class LinkedFolderTest : public ReceivedSaveTest, public testing::WithParamInterface<LinkedFolder> {
 protected:
  // Moves the game's folder to the other disk and leaves a link in its place.
  fs::path KeepElsewhere(const std::string& folder) const {
    const fs::path kept = disk_.path() / folder;
    fs::create_directories(Game("data/" + folder));
    fs::rename(Game("data/" + folder), kept);
    fs::create_directory_symlink(kept, Game("data/" + folder));
    return kept;
  }

  test::TempDir disk_;
};

TEST_P(LinkedFolderTest, SavesAndLoadsThroughItButNotThroughALinkInIt) {
  const std::string folder = GetParam().folder;
  const bool pbem = folder == "pbem";
  const fs::path scenarios = KeepElsewhere("scenarios");
  const fs::path kept = KeepElsewhere(folder);
  MakeSave(u"viaLink", pbem ? u"viaLink" : u"");
  if (pbem) fs::rename(Game("data/save/viaLink"), Game("data/pbem/viaLink"));
  const std::u16string game = u"data\\" + Utf8ToUtf16(folder) + u"\\viaLink";
  EXPECT_TRUE(fs::is_regular_file(kept / "viaLink/land_units.csv"));
  EXPECT_TRUE(fs::is_regular_file(scenarios / "NorthernTide/consts.csv"));

  ASSERT_EQ(LoadEnding(game + u"\\%s"), 0);
  gGame->flags[6] = 37;
  ASSERT_TRUE(pbem ? gGame->saveContext->SavePbemGame(u"viaLink") : gGame->saveContext->SaveGame(u"viaLink", true));
  ASSERT_EQ(LoadEnding(game + u"\\%s"), 0);
  EXPECT_EQ(gGame->flags[6], 37);
  EXPECT_TRUE(fs::is_symlink(Game("data/" + folder)));
  WaitForFolderRemovals();
  for (const auto& entry : fs::directory_iterator(kept)) {
    EXPECT_EQ(entry.path().filename(), "viaLink") << "nothing is left beside the save";
  }

  // A second name that is a link to the save: neither listed, loaded nor saved through.
  fs::create_directory_symlink(kept / "viaLink", kept / "alias");
  EXPECT_EQ(ListGameFolders(u"data\\" + Utf8ToUtf16(folder)), std::vector<std::u16string>{u"viaLink"});
  const std::u16string alias = u"data\\" + Utf8ToUtf16(folder) + u"\\alias";
  test::LogCapture log;
  EXPECT_EQ(LoadEnding(alias + u"\\%s"), 1);
  EXPECT_TRUE(log.Contains(u"ERROR: " + alias + u" is a link; a game folder may hold only files and folders, so "
                                             u"the game is not loaded"));
  cGame& again = Load(game + u"\\%s", 1);
  EXPECT_FALSE(pbem ? again.saveContext->SavePbemGame(u"alias") : again.saveContext->SaveGame(u"alias", true));
  EXPECT_TRUE(log.Contains(u"ERROR: " + alias + u" is not a save folder; the game is not saved"));
  fs::remove(kept / "alias");

  // A table of the save that is a link, to a file of the save's own.
  fs::remove(kept / "viaLink/cities.csv");
  fs::create_symlink(scenarios / "NorthernTide/cities.csv", kept / "viaLink/cities.csv");
  EXPECT_EQ(LoadEnding(game + u"\\%s"), 1);
  EXPECT_TRUE(log.ContainsText(u"ERROR: " + game + u"\\cities.csv is a link;"));
  ExpectVictimUntouched();
}

INSTANTIATE_TEST_SUITE_P(Folders, LinkedFolderTest,
                         testing::Values(LinkedFolder{"Saves", "save"}, LinkedFolder{"PlayByEmailTurns", "pbem"}),
                         [](const testing::TestParamInfo<LinkedFolder>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tr
