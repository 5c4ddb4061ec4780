// Play-by-e-mail turns through the real menus: a turn is handed over once and
// only into its own game's folder, whatever save of the game is loaded
// afterwards, and a turn that cannot be written is said so and stays in play
// until it is handed over whole.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/app_presentation.h"
#include "app/modal_stack.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/panel_informacyjny.h"
#include "foundation/fast_digest.h"
#include "foundation/file_write.h"
#include "foundation/folder_swap.h"
#include "foundation/game_lock.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "game_session.h"
#include "gui/edit_box.h"
#include "gui/static.h"
#include "platform/message_box.h"
#include "scenario/pbem_repository.h"
#include "scenario/save_game.h"
#include "scenario/save_manifest.h"
#include "support/log_capture.h"
#include "units/jednostka_ladowa.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

constexpr int kKaltheim = 1;
constexpr int kAlbrecia = 3;
constexpr char16_t kAutosave[] = u"data\\save\\Autosave\\%s";
constexpr char16_t kHandedOverAlready[] =
    u"data\\pbem\\Duel holds this turn of this game or a later one: this turn was handed over already";

std::map<std::string, std::string> ReadFolder(const fs::path& folder) {
  // A folder a save replaced is removed in the background.
  WaitForFolderRemovals();
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    files[fs::relative(entry.path(), folder).generic_string()] = test::ReadFileBytes(entry.path());
  }
  return files;
}

std::u16string StaticText(const CDXUTDialog& dialog, int id) {
  const auto* text = static_cast<const CDXUTStatic*>(dialog.GetControlOfType(id, kControlStatic));
  return text != nullptr ? text->GetText() : std::u16string();
}

std::u16string StatusLine() {
  GameLockGuard lock;
  return StaticText(*GetInfoPanel(), cInfoPanel::kStatusLine);
}

// The title of the text box on top; empty when there is none.
std::u16string TopBoxTitle() {
  auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
  return box != nullptr ? StaticText(*box, box->layoutBase() + 1) : std::u16string();
}

class PbemSessionTest : public test::GameSessionTest {
 protected:
  void SetUp() override {
    GameSessionTest::SetUp();
    gDelays.fill(0.0f);
  }
  fs::path Pbem(const std::string& relative = {}) const { return folder_.path() / "data" / "pbem" / relative; }

  // Q ends Kaltheim's turn; the turn goes to the other player, whose message
  // is closed, and the menus come back on the list the answer will come to.
  void HandOver() {
    EndTurnByQ();
    ASSERT_EQ(TopBoxTitle(), GetText("pbem_turn_end_title")) << DialogsAndState();
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(MenusComeBack()) << DialogsAndState();
    EXPECT_EQ(static_cast<cScenarioMenu*>(CurrentMenu)->listMode(), cScenarioMenu::kPbemGame);
  }

  // From the settings menu whose start was refused back to the scenario menu.
  void LeaveRefusedSettings() {
    auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
    ASSERT_NE(box, nullptr);
    Click(box->GetControl(box->okButtonId()));
    ASSERT_NE(CurrentMenu, nullptr);
    Click(CurrentMenu->GetControl(kBackButton));
    ASSERT_TRUE(InMenus()) << DialogsAndState();
  }

  // A game from the save started from its settings: refused with a box
  // whose text the log holds, the settings menu staying.
  void ExpectStartRefused(const std::u16string& logged) {
    test::LogCapture log;
    cScenarioSettingsMenu* settings = SettingsFromScenarioMenu(cScenarioMenu::kSavedGame, kAutosave);
    ASSERT_NE(settings, nullptr);
    Click(settings->GetControl(kStartButton));
    EXPECT_TRUE(log.ContainsText(u"Game not started: " + logged)) << DialogsAndState();
    EXPECT_EQ(CurrentMenu, settings) << "the game started";
    EXPECT_EQ(TopBoxTitle(), GetText("start_refused_pbem_save_title"));
  }
};

// The autosave written as the turn ended still shows the turn before its
// hand-over: started again and ended, it would replace the turn sent.
TEST_F(PbemSessionTest, TheAutosaveOfAHandedOverTurnCannotHandItOverAgain) {
  std::map<std::string, std::string> sent;
  const int exitCode = RunProgram([&] {
    StartPbemGame(OpenSettingsOf(cScenarioMenu::kNewGame, test::kSampleScenario), u"Duel", u"Bob", kKaltheim,
                  kAlbrecia);
    HandOver();
    sent = ReadFolder(Pbem("Duel"));
    ASSERT_TRUE(sent.count("Info.ini"));
    ExpectStartRefused(Format(GetText("pbem_save_behind_sent_turn_%s"), ShownPath(kHandedOverAlready)));
  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(ReadFolder(Pbem("Duel")), sent);
}

// The other player's answer has come into the game's folder: the autosave of
// the turn sent from here stands behind it, and the refusal sends the player
// to that answer instead of telling them to wait for it.
TEST_F(PbemSessionTest, ASaveBehindTheOtherPlayersAnswerPointsToTheAnswer) {
  const int exitCode = RunProgram([&] {
    StartPbemGame(OpenSettingsOf(cScenarioMenu::kNewGame, test::kSampleScenario), u"Duel", u"Bob", kKaltheim,
                  kAlbrecia);
    HandOver();
    const fs::path save = folder_.path() / "data" / "save";
    fs::copy(save / "Autosave", save / "Sent", fs::copy_options::recursive);
    ExpectStartRefused(Format(GetText("pbem_save_behind_sent_turn_%s"), ShownPath(kHandedOverAlready)));
    LeaveRefusedSettings();

    // Bob's machine, whose last hand-over was player 2's, plays the answer.
    UpdatePbemRepository(2, u"Duel");
    cScenarioSettingsMenu* settings = SettingsFromScenarioMenu(cScenarioMenu::kPbemGame, u"data\\pbem\\Duel\\%s");
    ASSERT_NE(settings, nullptr);
    Click(settings->GetControl(kStartButton));
    ASSERT_TRUE(WorkerReaches([&] { return HumanTurnOf(gGame != nullptr ? gGame->GetCountry(kAlbrecia) : nullptr); },
                              false))
        << DialogsAndState();
    PressKey(VK_RETURN);
    HandOver();

    // Back on this machine, with its own autosave of the turn it sent.
    UpdatePbemRepository(1, u"Duel");
    fs::remove_all(save / "Autosave");
    fs::rename(save / "Sent", save / "Autosave");
    ExpectStartRefused(Format(GetText("pbem_save_behind_received_turn_%s"), ShownPath(u"data\\pbem\\Duel")));
  });
  EXPECT_EQ(exitCode, 0);
}

// The note of the hand-over in repo.dat cannot be written (here a folder
// stands in its place; a file that may not be changed fails alike): the turn
// is written whole and handed over all the same, and the player is told.
// The screen that says so prompts for no action of the turn handed over.
TEST_F(PbemSessionTest, ARepositoryThatCannotBeWrittenIsSaidAndTheTurnIsStillHandedOver) {
  test::LogCapture log;
  const int exitCode = RunProgram([&] {
    StartPbemGame(OpenSettingsOf(cScenarioMenu::kNewGame, test::kSampleScenario), u"Duel", u"Bob", kKaltheim,
                  kAlbrecia);
    fs::create_directory(Pbem("repo.dat"));
    // The turn ends with a unit chosen for a move, which ends with the turn.
    const cJednostkaLadowa* unit = nullptr;
    for (const auto& land : gGame->landUnits) {
      if (unit == nullptr && land->owner == kKaltheim && gGame->map->IsInside(land->x, land->y)) unit = land.get();
    }
    ASSERT_NE(unit, nullptr);
    {
      GameLockGuard lock;
      CenterAtHex(*gGame->map, unit->x, unit->y, false);
    }
    Frame();
    ClickHex({unit->x, unit->y});
    Frame();
    EXPECT_EQ(StatusLine(), GetText("statusbar_hint_move_destination_hex"));
    EndTurnByQ();
    ASSERT_EQ(TopBoxTitle(), GetText("pbem_turn_end_title")) << DialogsAndState();
    Frame();
    EXPECT_EQ(StatusLine(), GetText("statusbar_hint_no_action")) << "no action is left on the hand-over's screen";
    auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(StaticText(*box, box->layoutBase() + 3),
              Format(GetText("pbem_repo_not_written_%s_%s"), ShownPath(u"data\\pbem\\Duel"),
                     GetText("pbem_repo_is_a_folder")));
    EXPECT_TRUE(fs::is_regular_file(Pbem("Duel/Info.ini")));
    PressKey(VK_ESCAPE);
    // Under it, the hand-over's own message.
    ASSERT_EQ(TopBoxTitle(), GetText("pbem_turn_end_title")) << DialogsAndState();
    EXPECT_NE(TopDialog, box);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(MenusComeBack()) << DialogsAndState();
  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(log.ContainsText(u"ERROR: Opening data\\pbem\\repo.dat failed: it is a folder, not a file"));
  EXPECT_FALSE(log.ContainsText(u"Exiting with code"));
}

// The autosave of the turn fails on a full disk and the note in repo.dat
// cannot be written, while the turn is handed over whole. The player closes
// the window with both boxes unread: each is told all the same, once; read
// and closed, neither comes back as the game is put away.
class PbemHandOverClosedTest : public PbemSessionTest, public testing::WithParamInterface<bool> {};

TEST_P(PbemHandOverClosedTest, FailuresAtTheHandOverAreToldUntilThePlayerClosesThem) {
  const bool read = GetParam();
  std::vector<std::u16string> told;
  SetHeadlessMessageBoxSink([&](std::u16string_view title, std::u16string_view text) {
    told.push_back(std::u16string(title) + u"|" + std::u16string(text));
  });
  std::vector<std::u16string> boxes;
  const int exitCode = RunProgram([&] {
    StartPbemGame(OpenSettingsOf(cScenarioMenu::kNewGame, test::kSampleScenario), u"Duel", u"Bob", kKaltheim,
                  kAlbrecia);
    fs::create_directory(Pbem("repo.dat"));
    {
      GameLockGuard lock;
      gGame->saveContext->flushCheck = [](const fs::path& file) {
        return file.string().find("data/pbem/") != std::string::npos ? 0 : ENOSPC;
      };
    }
    EndTurnByQ();
    // From the top down: the autosave's box, then the note's.
    for (const char* title : {"autosave_failed_title", "pbem_turn_end_title"}) {
      auto* box = dynamic_cast<cDialogTekstowy*>(ModalDialogStack[ModalDialogStack.size() - 1 - (read ? 0 : boxes.size())]);
      ASSERT_NE(box, nullptr) << DialogsAndState();
      EXPECT_EQ(StaticText(*box, box->layoutBase() + 1), GetText(title));
      boxes.push_back(StaticText(*box, box->layoutBase() + 3));
      if (read) PressKey(VK_ESCAPE);
    }
    if (read) ASSERT_EQ(TopBoxTitle(), GetText("pbem_turn_end_title")) << DialogsAndState();
    EXPECT_TRUE(fs::is_regular_file(Pbem("Duel/Info.ini")));
  });
  SetHeadlessMessageBoxSink({});
  EXPECT_EQ(exitCode, 0);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0].find(GetText("save_failure_disk_full")), std::u16string::npos);
  EXPECT_NE(boxes[1].find(GetText("pbem_repo_is_a_folder")), std::u16string::npos);
  // Told in the order met, as the screen shows them: the note's box, then the autosave's.
  const std::vector<std::u16string> unread{GetText("pbem_turn_end_title") + u"|" + WrapMessageBoxText(boxes[1]),
                                           GetText("autosave_failed_title") + u"|" + WrapMessageBoxText(boxes[0])};
  EXPECT_EQ(told, read ? std::vector<std::u16string>() : unread);
}

INSTANTIATE_TEST_SUITE_P(Boxes, PbemHandOverClosedTest, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "ReadAndClosed" : "Unread"; });

// Two games whose names only looked alike to an older program, "Duel" and
// "Duel ", which it saved as "Duel " and which reads back as "Duel": the
// second one's autosave never writes its turn into the first one's folder.
TEST_F(PbemSessionTest, AnotherGamesSaveNeverWritesIntoAFolderOfALikeName) {
  std::map<std::string, std::string> duel;
  const int exitCode = RunProgram([&] {
    StartPbemGame(OpenSettingsOf(cScenarioMenu::kNewGame, test::kSampleScenario), u"Duel", u"Bob", kKaltheim,
                  kAlbrecia);
    HandOver();
    duel = ReadFolder(Pbem("Duel"));
    StartPbemGame(SettingsFromScenarioMenu(cScenarioMenu::kNewGame, test::kSampleScenario), u"Other", u"Carl",
                  kKaltheim, kAlbrecia);
    HandOver();
    const fs::path info = folder_.path() / "data" / "save" / "Autosave" / "Info.ini";
    std::string text = test::ReadFileBytes(info);
    const std::string key = "PBEMGameName = Other";
    ASSERT_NE(text.find(key), std::string::npos);
    text.replace(text.find(key), key.size(), "PBEMGameName = Duel ");
    std::ofstream(info, std::ios::binary | std::ios::trunc) << text;
    // Such a name came from an older program; its save listed again as this
    // one lists it, so only the folder's owner can tell the games apart.
    std::vector<cWrittenFilesRecord::sEntry> listed;
    for (const std::u16string_view name : SaveFileNames()) {
      const fs::path file = info.parent_path() / fs::path(name);
      const std::string bytes = test::ReadFileBytes(file);
      listed.push_back({file, bytes.size(), FastDigest(bytes)});
    }
    ASSERT_TRUE(WriteSaveManifest(u"data\\save\\Autosave", listed));
    ExpectStartRefused(Format(GetText("start_refused_not_handed_over_%s"),
                              ShownPath(u"data\\pbem\\Duel") + u" holds a turn of another game, whose players are Ann, Bob"));
  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(ReadFolder(Pbem("Duel")), duel);
}

// A file where the game's folder should be (a full disk or a folder that
// cannot be written fails the same way): the player is told the turn is not
// handed over, the repository stays as it was, and the turn goes on; once the
// way is clear, the turn ends again and is handed over whole.
TEST_F(PbemSessionTest, ATurnThatCannotBeWrittenIsSaidSoAndStaysInPlayUntilWrittenWhole) {
  const int exitCode = RunProgram([&] {
    StartPbemGame(OpenSettingsOf(cScenarioMenu::kNewGame, test::kSampleScenario), u"Duel", u"Bob", kKaltheim,
                  kAlbrecia);
    cCountry* kaltheim = gGame->GetCountry(kKaltheim);
    // A unit that does nothing this turn: its end counts one turn of rest, once.
    cJednostkaLadowa* resting = nullptr;
    for (const auto& unit : gGame->landUnits) {
      if (unit->owner == kKaltheim && unit->actionPoints == unit->startingActionPoints) resting = unit.get();
    }
    ASSERT_NE(resting, nullptr);
    const std::int32_t restedTurns = resting->turnsSinceParadrop;
    fs::remove(Pbem("Duel"));
    std::ofstream(Pbem("Duel")) << "not a folder";

    test::LogCapture log;
    EndTurnByQ();
    ASSERT_EQ(TopBoxTitle(), u"Turn not handed over") << DialogsAndState();
    auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(StaticText(*box, box->layoutBase() + 3).find(u"This turn is not handed over to Bob"),
              std::u16string::npos);
    EXPECT_TRUE(log.ContainsText(u"ERROR: data\\pbem\\Duel is not a save folder; the game is not saved"));
    EXPECT_TRUE(log.ContainsText(u"ERROR: The play-by-e-mail turn of Duel is not handed over: it could not be "
                                 u"written into " + ShownPath(u"data\\pbem\\Duel")));
    EXPECT_FALSE(fs::exists(Pbem("repo.dat")));
    EXPECT_FALSE(ReturnToMenusRequested());
    Click(box->GetControl(box->okButtonId()));
    ASSERT_TRUE(HumanTurnOf(kaltheim)) << DialogsAndState();
    EXPECT_EQ(kaltheim->finishedTurn, 0);
    EXPECT_EQ(resting->turnsSinceParadrop, restedTurns);

    fs::remove(Pbem("Duel"));
    EndTurnByQ();
    ASSERT_EQ(TopBoxTitle(), GetText("pbem_turn_end_title")) << DialogsAndState();
    EXPECT_EQ(resting->turnsSinceParadrop, restedTurns + 1);
    EXPECT_TRUE(fs::is_regular_file(Pbem("Duel/Info.ini")));
    EXPECT_EQ(FindPbemRepoPlayer(u"Duel"), std::optional<std::uint32_t>(1));
  });
  EXPECT_EQ(exitCode, 0);
}

}  // namespace
}  // namespace tr
