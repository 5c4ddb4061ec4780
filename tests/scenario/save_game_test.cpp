// Saving a whole game: the save folder of a name, load-save-load with
// byte-identical files, a save that fails half-way, what a save keeps and
// leaves alone, and the message.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "foundation/fatal.h"
#include "foundation/text.h"
#include "scenario/save_game.h"
#include "support/log_capture.h"
#include "support/test_scenario.h"
#include "turn/supply.h"
#include "turn/turn_steps.h"
#include "world/game_start.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

using FolderBytes = std::map<std::string, std::string>;

class SaveGameTest : public testing::Test {
 protected:
  // A new game computes supply before its first turn, as the game does, so
  // the cities' supply information is saved and read back.
  SaveGameTest() : scoped_(screen_) {
    scenario_.Write();
    SetSupplyStep(RunSupplyStep);
  }
  ~SaveGameTest() override {
    DestroyGame();
    SetSupplyStep({});
  }

  static void DestroyGame() {
    delete gGame;
    gGame = nullptr;
  }
  // Loads a scenario (flag 0) or a save (flag 1), replacing the running game.
  cGame& Load(std::u16string_view folderTemplate, int loaded) {
    DestroyGame();
    cGame& game = *LoadNewScenario(folderTemplate, loaded);
    game.saveContext->clock = [] { return sLocalTime{2010, 7, 15, 14, 5}; };
    return game;
  }
  cGame& LoadScenario() { return Load(scenario_.FolderTemplate(), 0); }
  cGame& LoadSave(std::u16string_view name) { return Load(u"data\\save\\" + std::u16string(name) + u"\\%s", 1); }

  static std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
  }

  // Every file below the save folder, by its path there.
  FolderBytes Files(const std::string& save) const {
    FolderBytes files;
    const fs::path folder = scenario_.root() / "data/save" / save;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      if (entry.is_regular_file()) files[entry.path().lexically_relative(folder).string()] = test::ReadFileBytes(entry.path());
    }
    return files;
  }

  test::TestScenario scenario_;
  cHeadlessPresentation screen_;
  ScopedPresentation scoped_;
};

TEST_F(SaveGameTest, LoadSaveLoadKeepsTheGameAndResavesByteForByte) {
  cGame& fresh = LoadScenario();
  fresh.reports.Add(sReport{});
  ASSERT_TRUE(fresh.saveContext->SaveGame(u"first", false));
  const FolderBytes first = Files("first");
  EXPECT_EQ(first.size(), static_cast<std::size_t>(kSaveFileCount));
  EXPECT_NE(first.at("Info.ini").find("Date = 10.07.15 14:05"), std::string::npos);
  EXPECT_EQ(screen_.CountEvents(u"text-dialog Save game|"), 1);

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

TEST_F(SaveGameTest, AFailedSaveLeavesThePreviousSaveAsItWas) {
  cGame& game = LoadScenario();
  ASSERT_TRUE(game.saveContext->SaveGame(u"slot", true));
  const FolderBytes before = Files("slot");
  game.flags[5] = 99;
  game.saveContext->stepCheck = [](int step, std::u16string_view) { return step != 10; };
  test::LogCapture log;
  EXPECT_FALSE(game.saveContext->SaveGame(u"slot", false));
  EXPECT_TRUE(log.Contains(u"ERROR: Saving stopped at flags.txt (file 10 of 23)"));
  EXPECT_EQ(screen_.CountEvents(u"text-dialog"), 0);
  EXPECT_TRUE(Files("slot") == before);
  EXPECT_EQ(Entries(scenario_.root() / "data/save"), std::set<std::string>{"slot"}) << "nothing is left behind";
  EXPECT_EQ(LoadSave(u"slot").flags[5], 0);
}

// Putting a written save in place takes two renames: the previous save aside,
// then the new one into its name. Either failing keeps the previous save.
class FailedSwap : public SaveGameTest, public testing::WithParamInterface<const char16_t*> {};

TEST_P(FailedSwap, LeavesThePreviousSaveAsItWas) {
  cGame& game = LoadScenario();
  ASSERT_TRUE(game.saveContext->SaveGame(u"slot", true));
  const FolderBytes before = Files("slot");
  game.flags[5] = 99;
  const std::u16string_view failing = GetParam();
  game.saveContext->renameCheck = [&](std::u16string_view from, std::u16string_view) { return from != failing; };
  test::LogCapture log;
  EXPECT_FALSE(game.saveContext->SaveGame(u"slot", false));
  EXPECT_TRUE(log.Contains(u"ERROR: Cannot replace the save folder data\\save\\slot"));
  EXPECT_EQ(screen_.CountEvents(u"text-dialog"), 0);
  EXPECT_TRUE(Files("slot") == before);
  EXPECT_EQ(Entries(scenario_.root() / "data/save"), std::set<std::string>{"slot"}) << "nothing is left behind";
  game.saveContext->renameCheck = nullptr;
  EXPECT_EQ(LoadSave(u"slot").flags[5], 0);
}

INSTANTIATE_TEST_SUITE_P(Renames, FailedSwap, testing::Values(u"slot", u".saving%slot"),
                         [](const auto& info) { return info.index == 0 ? "PreviousAside" : "NewIntoPlace"; });

TEST_F(SaveGameTest, FilesAndFoldersTheSaveDoesNotWriteStayInTheFolder) {
  cGame& game = LoadScenario();
  ASSERT_TRUE(game.saveContext->SaveGame(u"kept", true));
  const fs::path folder = scenario_.root() / "data/save/kept";
  std::ofstream(folder / "image.png", std::ios::binary) << "picture";
  fs::create_directories(folder / "notes/old");
  std::ofstream(folder / "notes/old/turn1.txt", std::ios::binary) << "first turn";
  ASSERT_TRUE(game.saveContext->SaveGame(u"kept", true));
  EXPECT_EQ(test::ReadFileBytes(folder / "image.png"), "picture");
  EXPECT_EQ(test::ReadFileBytes(folder / "notes/old/turn1.txt"), "first turn");
  EXPECT_EQ(Files("kept").size(), static_cast<std::size_t>(kSaveFileCount) + 2);
  EXPECT_TRUE(SaveFolderExists(u"kept"));
  EXPECT_FALSE(SaveFolderExists(u"never"));
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
  EXPECT_EQ(Files("autosave").size(), static_cast<std::size_t>(kSaveFileCount));
  EXPECT_TRUE(fs::exists(scenario_.root() / "data/pbem/Duel/land_units.csv"));
}

struct NameCase {
  std::u16string_view name;
  std::u16string_view folder;  // empty: refused
};

class SaveFolderName : public testing::TestWithParam<NameCase> {};

TEST_P(SaveFolderName, IsTrimmedOrRefused) { EXPECT_EQ(SaveFolderPath(GetParam().name), GetParam().folder); }

// A name is never cut: two long names that begin alike would share a folder.
INSTANTIATE_TEST_SUITE_P(
    Names, SaveFolderName,
    testing::Values(NameCase{u"  spaced name \t", u"data\\save\\spaced name"},
                    NameCase{u"abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcd",
                             u"data\\save\\abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcd"},
                    NameCase{u"abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcde", u""},
                    // The limit is taken after the blanks around the name go.
                    NameCase{u" abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcd ",
                             u"data\\save\\abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcd"},
                    NameCase{u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\U0001F600", u""},
                    NameCase{u"..", u""}, NameCase{u"a..b", u""}, NameCase{u"a/b", u""}, NameCase{u"a\\b", u""},
                    NameCase{u"50%s", u""}, NameCase{u"   ", u""}, NameCase{u".hidden", u""},
                    NameCase{u"  .x", u""}));

TEST_F(SaveGameTest, PbemTurnGoesIntoItsOwnFolder) {
  cGame& game = LoadScenario();
  test::LogCapture log;
  ASSERT_TRUE(game.saveContext->SavePbemGame(u"Duel"));
  EXPECT_TRUE(log.Contains(u"Zapisuej gre PBEM to katalogu data\\pbem\\Duel"));
  EXPECT_TRUE(fs::exists(scenario_.root() / "data/pbem/Duel/land_units.csv"));
  EXPECT_EQ(screen_.CountEvents(u"text-dialog"), 0);
}

}  // namespace
}  // namespace tr
