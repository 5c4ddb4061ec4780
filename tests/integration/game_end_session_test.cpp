// The two ways a game leaves this machine, through the real program: the end
// of the sample played from a save near its end, whose result stays until the
// player closes it and then gives way to the menus with no further turn, and a
// play-by-e-mail turn handed over to the other player, after which neither
// keys nor the toolbar change the game or its folder and closing the message
// leads to the menus. And a turn received from the other player that does not
// load, which is refused with its reason while the program goes on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ai/autoplay.h"
#include "world/scenario_check.h"
#include "dialogs/convoy_results_dialog.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/event_dialog.h"
#include "dialogs/purchases_dialog.h"
#include "foundation/folder_swap.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "game_session.h"
#include "gui/edit_box.h"
#include "gui/static.h"
#include "support/log_capture.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

constexpr int kKaltheim = 1;
constexpr int kAlbrecia = 3;
// The toolbar's purchases and end-of-turn icons.
constexpr int kPurchasesIcon = 336;
constexpr int kEndTurnIcon = 343;

// Every file under the folder with its bytes and time of writing: a second
// save within the same second may write the same bytes.
struct sFileState {
  std::string bytes;
  fs::file_time_type written;
  bool operator==(const sFileState&) const = default;
};
std::map<std::string, sFileState> ReadFolder(const fs::path& folder) {
  // A folder a save replaced is removed in the background.
  WaitForFolderRemovals();
  std::map<std::string, sFileState> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    files[fs::relative(entry.path(), folder).generic_string()] = {test::ReadFileBytes(entry.path()),
                                                                  entry.last_write_time()};
  }
  return files;
}

std::u16string StaticText(const CDXUTDialog& dialog, int id) {
  const auto* text = static_cast<const CDXUTStatic*>(dialog.GetControlOfType(id, kControlStatic));
  return text != nullptr ? text->GetText() : std::u16string();
}

class GameEndSessionTest : public test::GameSessionTest {
 protected:
  // A computer country given to the player, as the game showed after its end.
  void WatchForComputerPlayer() {
    GameLockGuard lock;
    if (gGame == nullptr) return;
    const eGameState state = gGame->GetGameState();
    const cCountry* current = gGame->playerControl.currentCountry;
    if ((state == kGameHumanIdle || state == kGameHumanMoving) && current != nullptr && !current->humanControlled) {
      computerHandedOver_ = true;
    }
  }
  // The game's result box on top, or null.
  static cDialogTekstowy* ResultBox() {
    auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
    return box != nullptr && StaticText(*box, box->layoutBase() + 1) == GetText("game_over") ? box : nullptr;
  }

  bool computerHandedOver_ = false;
};

TEST_F(GameEndSessionTest, TheResultStaysUntilClosedAndTheMenusComeBackWithNoFurtherTurn) {
  gDelays.fill(0.0f);
  {
    // The sample played by the computer on every side up to its last turn; in
    // seed 1 Kaltheim, whom the player then takes, still holds its cities.
    std::ostringstream out;
    std::ostringstream errors;
    ASSERT_EQ(RunAutoplay({"--root", folder_.path().string(), "--scenario", "NorthernTide", "--impulses", "71",
                           "--seed", "1", "--save-as", "nearend"},
                          out, errors),
              0)
        << errors.str();
    ASSERT_NE(out.str().find("game_over=0"), std::string::npos) << out.str();
  }
  test::LogCapture log;
  bool resultShown = false;
  const int exitCode = RunProgram([&] {
    cScenarioSettingsMenu* settings = OpenSettingsOf(cScenarioMenu::kSavedGame, u"data\\save\\nearend\\%s");
    ASSERT_NE(settings, nullptr);
    cCountry* human = gGame->GetCountry(kKaltheim);
    ChooseHumans(*settings, {{kKaltheim, 0}});
    Click(settings->GetControl(kStartButton));
    ASSERT_TRUE(WorkerReaches([&] { return HumanTurnOf(human); }, false)) << DialogsAndState();
    EXPECT_EQ(gGame->turnsLeft, 0);

    // The turns are played until the result shows; every other box is read and closed.
    for (int turn = 0; turn < 3 && !resultShown; ++turn) {
      EndTurnByQ();
      ASSERT_TRUE(FramesUntil(
          [&] {
            std::this_thread::yield();
            WatchForComputerPlayer();
            AnswerComputerScreens(false);
            CDXUTControl* answer = nullptr;
            bool banner = false;
            {
              GameLockGuard lock;
              if (ResultBox() != nullptr) return resultShown = true;
              if (auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog)) {
                answer = box->GetControl(box->okButtonId());
              } else if (auto* convoys = dynamic_cast<cDialogWynikuKonwojow*>(TopDialog)) {
                answer = convoys->GetControl(cDialogWynikuKonwojow::kExitButton);
              } else if (auto* event = dynamic_cast<cDialogEventu*>(TopDialog)) {
                answer = event->GetControl(4001);
              } else {
                banner = dynamic_cast<cDialogNowejTury*>(TopDialog) != nullptr && HumanTurnOf(human);
              }
            }
            if (answer != nullptr) Click(answer);
            if (banner) PressKey(VK_RETURN);
            GameLockGuard lock;
            return HumanTurnOf(human) && TopDialog == nullptr;
          },
          test::kWaitLimit))
          << DialogsAndState();
    }
    ASSERT_TRUE(resultShown) << DialogsAndState();

    // The result waits for the player; no turn is played meanwhile.
    for (int frame = 0; frame < 200; ++frame) Frame();
    ASSERT_NE(ResultBox(), nullptr) << DialogsAndState();
    ASSERT_NE(gGame, nullptr);
    EXPECT_EQ(gGame->gameOver, 1);
    EXPECT_NE(gGame->GetGameState(), kGameHumanIdle);
    EXPECT_TRUE(frame_->graphics().SaveScreenshot("game_over_result.png"));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(MenusComeBack([&] { WatchForComputerPlayer(); })) << DialogsAndState();
    // The menus stay: nothing of the finished game comes back.
    for (int frame = 0; frame < 100; ++frame) Frame();
    EXPECT_TRUE(InMenus());
    EXPECT_EQ(TopDialog, nullptr);
  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(resultShown);
  EXPECT_FALSE(computerHandedOver_);
  EXPECT_TRUE(log.Contains(u"The game is over; no further turn is played"));
}

TEST_F(GameEndSessionTest, AHandedOverPlayByEmailTurnChangesNothingMoreAndClosingItLeadsToTheMenus) {
  gDelays.fill(0.0f);
  const fs::path pbem = folder_.path() / "data" / "pbem";
  std::map<std::string, sFileState> written;
  const int exitCode = RunProgram([&] {
    cScenarioSettingsMenu* settings = OpenSettingsOf(cScenarioMenu::kNewGame, test::kSampleScenario);
    ASSERT_NE(settings, nullptr);
    // Two players, each with one country, in a game named Duel.
    StartPbemGame(settings, u"Duel", u"Bob", kKaltheim, kAlbrecia);
    ASSERT_FALSE(HasFatalFailure()) << DialogsAndState();
    ASSERT_EQ(gGame->GetCountry(kAlbrecia)->pbemPlayerId, 2);
    cCountry* human = gGame->GetCountry(kKaltheim);

    EndTurnByQ();
    auto* message = dynamic_cast<cDialogTekstowy*>(TopDialog);
    ASSERT_NE(message, nullptr) << DialogsAndState();
    EXPECT_EQ(StaticText(*message, message->layoutBase() + 1), GetText("pbem_turn_end_title"));
    EXPECT_NE(StaticText(*message, message->layoutBase() + 3).find(ShownPath(u"data\\pbem\\Duel")), std::u16string::npos);
    EXPECT_TRUE(frame_->graphics().SaveScreenshot("pbem_hand_over.png"));
    written = ReadFolder(pbem);
    ASSERT_TRUE(written.count("Duel/Info.ini")) << "the turn is saved for the other player";
    const float points = human->productionPoints;

    // Neither the hotkeys nor the toolbar's icons reach the handed-over game.
    PressKey('P');
    PressKey('Q');
    cInfoPanel* info = GetInfoPanel();
    ASSERT_NE(info, nullptr);
    for (int icon : {kPurchasesIcon, kEndTurnIcon}) Click(info->GetControl(icon));
    EXPECT_EQ(TopDialog, message) << DialogsAndState();
    EXPECT_EQ(gGame->GetGameState(), kGameEndOfImpulse);
    EXPECT_EQ(human->productionPoints, points);
    EXPECT_EQ(ReadFolder(pbem), written);

    // Closing the message leaves the game for the menus.
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(MenusComeBack()) << DialogsAndState();
    PressKey('P');
    PressKey('Q');
    EXPECT_TRUE(InMenus());
  });
  EXPECT_EQ(exitCode, 0);
  // Nothing wrote the handed-over turn again, the game's end and teardown neither.
  EXPECT_EQ(ReadFolder(pbem), written);
}

// What another machine sends: a save of the sample put into data\pbem under
// the folder name, its "Info.ini" naming the game as the sending program wrote
// it; a program that lists no digests of the files, as older versions did.
void ReceiveTurn(const fs::path& root, const std::string& folder, const std::string& gameName) {
  const fs::path turn = root / "data" / "pbem" / folder;
  fs::copy(root / "data" / "save" / "sent", turn, fs::copy_options::recursive);
  std::string info = test::ReadFileBytes(turn / "Info.ini");
  const std::size_t save = info.find("[Save]\r\n");
  ASSERT_NE(save, std::string::npos);
  info.insert(save + 8, "PBEMGameName = " + gameName +
                            "\r\nPBEMPlayer1Name = Anna\r\nPBEMPlayer1Email = anna@example.org\r\n"
                            "PBEMPlayer2Name = Bob\r\nPBEMPlayer2Email = bob@example.org\r\n");
  std::ofstream(turn / "Info.ini", std::ios::binary | std::ios::trunc) << info;
  test::MakeOlderSave(turn);
}

// A received turn that cannot be loaded, whatever the reason, puts away what
// was loaded of it, shows the play-by-e-mail list again with a message that
// names the folder and what is wrong, and leaves the folder as it came: the
// program never ends on another machine's files.
TEST_F(GameEndSessionTest, AReceivedTurnThatDoesNotLoadIsRefusedAndTheProgramGoesOn) {
  {
    std::ostringstream out;
    std::ostringstream errors;
    ASSERT_EQ(RunScenarioCheck({"--root", folder_.path().string(), "--scenario", "NorthernTide", "--save-as", "sent"},
                               out, errors),
              0)
        << errors.str();
  }
  // Sent as "Wojna Lodz " by a program that took the blank: "Info.ini" gives
  // the name back without it, the name of another folder.
  ReceiveTurn(folder_.path(), "Wojna Lodz ", "Wojna Lodz ");
  // Its reports came as a folder: found late in the load, with the game's panels made.
  ReceiveTurn(folder_.path(), "Duel", "Duel");
  fs::remove(folder_.path() / "data/pbem/Duel/reports.dat");
  fs::create_directory(folder_.path() / "data/pbem/Duel/reports.dat");
  // Its flags never came: the message names the file.
  ReceiveTurn(folder_.path(), "Bare", "Bare");
  fs::remove(folder_.path() / "data/pbem/Bare/flags.txt");
  // Its land units came cut short, at 700 bytes: loaded, it would start without them.
  ReceiveTurn(folder_.path(), "Cut", "Cut");
  fs::resize_file(folder_.path() / "data/pbem/Cut/land_units.csv", 700);
  const fs::path pbem = folder_.path() / "data" / "pbem";
  const std::map<std::string, sFileState> received = ReadFolder(pbem);

  test::LogCapture log;
  const auto expectRefused = [&](std::u16string_view folder, std::u16string_view reason) {
    ASSERT_EQ(gGame, nullptr);
    auto* menu = dynamic_cast<cScenarioMenu*>(CurrentMenu);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->listMode(), cScenarioMenu::kPbemGame);
    auto* message = dynamic_cast<cDialogTekstowy*>(TopDialog);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(StaticText(*message, message->layoutBase() + 1), GetText("pbem_turn_not_loaded_title"));
    const std::u16string text = StaticText(*message, message->layoutBase() + 3);
    EXPECT_NE(text.find(Format(u"\"%s\"", ShownPath(folder))), std::u16string::npos) << Utf16ToUtf8(text);
    EXPECT_NE(text.find(ShownPath(reason)), std::u16string::npos) << Utf16ToUtf8(text);
    // The message closes and the menus stay.
    PressKey(VK_ESCAPE);
    EXPECT_EQ(TopDialog, nullptr);
    EXPECT_EQ(CurrentMenu, menu);
  };
  const auto startRow = [&](int tab, std::u16string_view folderTemplate) {
    auto* menu = dynamic_cast<cScenarioMenu*>(CurrentMenu);
    ASSERT_NE(menu, nullptr);
    static_cast<CDXUTTabFrame*>(menu->GetControl(178))->SelectTab(tab, true);
    auto& list = *static_cast<CDXUTListBox*>(menu->GetControl(179));
    for (int row = 0; row < list.GetSize(); ++row) {
      if (menu->RowTemplate(row) == folderTemplate) list.SelectItem(row, true);
    }
    Click(menu->GetControl(200));
  };
  const int exitCode = RunProgram([&] {
    EXPECT_EQ(OpenSettingsOf(cScenarioMenu::kPbemGame, u"data\\pbem\\Wojna Lodz \\%s"), nullptr);
    // The menu and the message fade in.
    for (int frame = 0; frame < 60; ++frame) Frame();
    EXPECT_TRUE(frame_->graphics().SaveScreenshot("pbem_turn_not_loaded.png"));
    expectRefused(u"data\\pbem\\Wojna Lodz ",
                  u"This turn belongs to the play-by-e-mail game \"Wojna Lodz\" (so says "
                  u"data\\pbem\\Wojna Lodz \\Info.ini), not to the game of the folder data\\pbem\\Wojna Lodz  it lies in");
    startRow(cScenarioMenu::kPbemGame, u"data\\pbem\\Duel\\%s");
    expectRefused(u"data\\pbem\\Duel", u"data\\pbem\\Duel\\reports.dat cannot be read (a folder stands in its place)");
    startRow(cScenarioMenu::kPbemGame, u"data\\pbem\\Bare\\%s");
    expectRefused(u"data\\pbem\\Bare", u":\ndata\\pbem\\Bare\\flags.txt is missing; the game is not loaded.\n");
    startRow(cScenarioMenu::kPbemGame, u"data\\pbem\\Cut\\%s");
    expectRefused(u"data\\pbem\\Cut", u"data\\pbem\\Cut\\land_units.csv at line ");
    // A good folder loads as ever.
    startRow(cScenarioMenu::kNewGame, test::kSampleScenario);
    EXPECT_NE(dynamic_cast<cScenarioSettingsMenu*>(CurrentMenu), nullptr);
    EXPECT_NE(gGame, nullptr);
  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_FALSE(log.ContainsText(u"Exiting with code"));
  EXPECT_EQ(ReadFolder(pbem), received);
}

}  // namespace
}  // namespace tr
