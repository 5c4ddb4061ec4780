// The entry function run headless from start to close, and its caption; the
// program itself where it cannot open its window.
#include "app/framework.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_presentation.h"
#include "app/mainmenu.h"
#include "app/modal_stack.h"
#include "app/menu.h"
#include "app/music_player.h"
#include "app/sound.h"
#include "dialogs/dialog_base.h"
#include "foundation/fatal.h"
#include "foundation/game_lock.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/version.h"
#include "gui/control.h"
#include "gui/dialog.h"
#include "gui/resource_cache.h"
#include "platform/codes.h"
#include "platform/graphics.h"
#include "platform/message_box.h"
#include "platform/null_audio.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/gra.h"
#include "world/presentation.h"

namespace tr {
namespace {

struct CaptionCase {
  int build;
  const char16_t* caption;
};
class WindowCaptionTest : public testing::TestWithParam<CaptionCase> {};

TEST_P(WindowCaptionTest, ShowsTheBuildOnlyWhenItIsNotAMultipleOfAHundred) {
  EXPECT_EQ(WindowCaption(1.02, GetParam().build), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(Builds, WindowCaptionTest,
                         testing::Values(CaptionCase{400, u"Tidereach v1.02"},
                                         CaptionCase{401, u"Tidereach v1.02 [build 401]"},
                                         CaptionCase{1200, u"Tidereach v1.02"},
                                         CaptionCase{1234, u"Tidereach v1.02 [build 1234]"},
                                         CaptionCase{7, u"Tidereach v1.02 [build   7]"}));

class WinMainTest : public testing::Test {
 protected:
  void SetUp() override {
    oldRoot_ = GameRoot();
    SetGameRoot(folder_.path());
  }
  void TearDown() override {
    SetGameRoot(oldRoot_);
    GetGuiResourceCache().Clear();
  }
  void CopyLayout() {
    std::filesystem::create_directories(folder_.path() / "data");
    std::filesystem::copy_file(std::filesystem::path(TR_SOURCE_DIR) / "data" / "GUI_1024x768.csv",
                               folder_.path() / "data" / "GUI_1024x768.csv");
  }
  // A start-up with a headless window and no sound device.
  static sStartUp Headless(ManualClock* clock = nullptr) {
    sStartUp startUp;
    startUp.frame = AppFrame::CreateHeadless(1024, 768, clock);
    startUp.audio = std::make_unique<NullAudioDevice>();
    return startUp;
  }
  test::TempDir folder_;

 private:
  std::filesystem::path oldRoot_;
};

TEST_F(WinMainTest, HeadlessRunRendersFramesAndShutsDownInOrderOnClose) {
  CopyLayout();
  test::LogCapture log;
  ManualClock clock;
  sStartUp startUp = Headless(&clock);
  startUp.beforeMainLoop = [&](AppFrame& frame) {
    // Input with no menu and no dialog yet goes nowhere, harmlessly.
    frame.Inject(RawInput::MouseMove(200, 150));
    frame.Inject(RawInput::MouseDown(RawInput::kLeft, 200, 150));
    frame.Inject(RawInput::KeyDown(VK_SPACE));
    frame.Tick();
    EXPECT_TRUE(frame.graphics().SaveScreenshot("app_first_frame.png"));
    for (int i = 0; i < 3; ++i) {
      clock.AdvanceMs(16);
      frame.Tick();
    }
    EXPECT_TRUE(IsGameLockActive());
    frame.RequestClose();
  };
  EXPECT_EQ(WinMain(std::move(startUp)), 0);
  EXPECT_FALSE(IsGameLockActive());
  EXPECT_TRUE(std::filesystem::exists("app_first_frame.png"));

  const std::vector<std::u16string> lines = log.lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), u"Running TR2: Tidereach v1.02");
  // Start-up and shut-down in their order.
  const std::vector<std::u16string> steps = {u"Device create", u"Device create end", u"Device reset end",
                                             u"Loading intro movie from dataintro3.avi [FAILED]",
                                             u"Loading string base", u"Device lost", u"Device destroy",
                                             u"Device destroy end"};
  std::size_t at = 0;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    while (at < lines.size() && lines[at] != steps[i]) ++at;
    EXPECT_LT(at, lines.size()) << "step " << i << " missing or out of order";
  }
}

TEST_F(WinMainTest, PauseSilencesTheGamesMusicAndClosingTearsTheGameDownBeforeTheDevice) {
  CopyLayout();
  test::LogCapture log;
  sStartUp startUp = Headless();
  startUp.beforeMainLoop = [&](AppFrame& frame) {
    gGame = new cGame();
    gGame->StoreGameState(kGameHumanIdle);
    SetGameMusicPlayer(std::make_unique<cMusicPlayer>(GetAudioDevice()));
    frame.Pause(true, true);
    EXPECT_EQ(GameMusicPlayer()->volume(), 0.0f);
    frame.Pause(false, false);
    EXPECT_EQ(GameMusicPlayer()->volume(), gMusicVolume);
    frame.RequestClose();
  };
  EXPECT_EQ(WinMain(std::move(startUp)), 0);
  EXPECT_EQ(gGame, nullptr);
  EXPECT_EQ(GameMusicPlayer(), nullptr);
  const std::vector<std::u16string> lines = log.lines();
  const auto teardown = std::find(lines.begin(), lines.end(), u"---- Game state = 15");
  const auto deviceLost = std::find(lines.begin(), lines.end(), u"Device lost");
  EXPECT_NE(teardown, lines.end());
  EXPECT_LT(teardown, deviceLost);
}

// The window closed at any moment after an autosave failed: while its box
// waits for the player's next turn in the computer's phase, while the banner
// of that turn covers it, after a computer's phase closed it unread. The box
// is shown before the program ends, once, with the worker stopped and the
// window still there, with advice for a game that is gone, broken into lines
// the smallest window holds. Only the player's OK tells it for good.
enum class eClosedAt { kComputersPhase, kBannerUp, kBoxClosedByTheGame, kBoxClosedByThePlayer };

class ClosingWithAHeldBoxTest : public WinMainTest, public testing::WithParamInterface<eClosedAt> {};

TEST_P(ClosingWithAHeldBoxTest, TheHeldSaveFailureIsShownUntilThePlayerClosesIt) {
  CopyLayout();
  test::LogCapture log;
  std::vector<std::u16string> shownLines;
  SetHeadlessMessageBoxSink([&](std::u16string_view title, std::u16string_view text) {
    shownLines.push_back(std::u16string(title) + u"|" + std::u16string(text));
  });
  const std::u16string path = u"/home/a-player-with-a-long-name/.local/share/tidereach/save/Autosave";
  const std::u16string inGame = u"The disk is full. Save from the pause menu.";
  const std::u16string gameLeft = u"The autosave made as the turn ended could not be written: the disk is full.\n"
                                  u"Free some room on the disk that holds " + path +
                                  u". Next time, save the game yourself from the pause menu (Escape) before you "
                                  u"leave it.";
  sStartUp startUp = Headless();
  // A failed step ends the setting up, never the close: the main loop would run on.
  const auto setUp = [&](AppFrame& frame) {
    gGame = new cGame();
    gGame->StoreGameState(GetParam() == eClosedAt::kComputersPhase ? kGameComputerTurn : kGameHumanIdle);
    HoldBoxForNextTurn(u"Autosave failed", inGame, gameLeft);
    if (GetParam() != eClosedAt::kComputersPhase) {
      Presentation().PushNewTurnDialog(1);
      ASSERT_EQ(ModalDialogStack.size(), 2u);
    }
    if (GetParam() == eClosedAt::kBoxClosedByTheGame) PopModalDialogs(-1);
    if (GetParam() == eClosedAt::kBoxClosedByThePlayer) {
      // Enter closes the banner, then the box under it.
      for (int i = 0; i < 2; ++i) {
        ASSERT_NE(TopDialog, nullptr);
        TopDialog->OnKeyboard(VK_RETURN, true, false);
        frame.Tick();
      }
      EXPECT_TRUE(ModalDialogStack.empty());
    }
    frame.Tick();
  };
  startUp.beforeMainLoop = [&](AppFrame& frame) {
    setUp(frame);
    frame.RequestClose();
  };
  EXPECT_EQ(WinMain(std::move(startUp)), 0);
  SetHeadlessMessageBoxSink({});
  EXPECT_EQ(gGame, nullptr);
  const std::vector<std::u16string> lines = log.lines();
  const std::u16string shown = u"Message box \"Autosave failed\": " + gameLeft;
  if (GetParam() == eClosedAt::kBoxClosedByThePlayer) {
    EXPECT_EQ(std::count(lines.begin(), lines.end(), shown), 0);
    EXPECT_TRUE(shownLines.empty());
    return;
  }
  EXPECT_EQ(std::count(lines.begin(), lines.end(), shown), 1);
  const auto box = std::find(lines.begin(), lines.end(), shown);
  const auto teardown = std::find(lines.begin(), lines.end(), u"---- Game state = 15");
  const auto deviceLost = std::find(lines.begin(), lines.end(), u"Device lost");
  EXPECT_LT(teardown, box);
  EXPECT_LT(box, deviceLost);
  // The box as the screen shows it: the text whole, in lines of the budget.
  ASSERT_EQ(shownLines.size(), 1u);
  EXPECT_EQ(shownLines[0], u"Autosave failed|" + WrapMessageBoxText(gameLeft));
  EXPECT_GE(std::count(shownLines[0].begin(), shownLines[0].end(), u'\n'), 4);
}

INSTANTIATE_TEST_SUITE_P(Moments, ClosingWithAHeldBoxTest,
                         testing::Values(eClosedAt::kComputersPhase, eClosedAt::kBannerUp,
                                         eClosedAt::kBoxClosedByTheGame, eClosedAt::kBoxClosedByThePlayer),
                         [](const testing::TestParamInfo<eClosedAt>& info) {
                           switch (info.param) {
                             case eClosedAt::kComputersPhase: return "ComputersPhase";
                             case eClosedAt::kBannerUp: return "BannerUp";
                             case eClosedAt::kBoxClosedByTheGame: return "BoxClosedByTheGame";
                             case eClosedAt::kBoxClosedByThePlayer: return "BoxClosedByThePlayer";
                           }
                           return "";
                         });

// The window closed while the player holds a main menu button down: the menu
// goes with the screens, and the focus keeps nothing of it.
TEST_F(WinMainTest, ClosingOverAHeldMainMenuButtonLetsGoOfIt) {
  CopyLayout();
  sStartUp startUp = Headless();
  const auto holdAButton = [](AppFrame& frame) {
    frame.Tick();
    frame.Inject(RawInput::KeyDown(VK_SPACE));
    frame.Tick();
    frame.Tick();
    ASSERT_NE(dynamic_cast<cMainMenu*>(CurrentMenu), nullptr);
    const CDXUTControl* button = nullptr;
    for (const auto& control : CurrentMenu->Controls()) {
      if (control->GetType() == kControlButton && control->GetVisible() && control->GetEnabled()) {
        button = control.get();
        break;
      }
    }
    ASSERT_NE(button, nullptr);
    const Rect box = button->GetBoundingBox();
    frame.Inject(RawInput::MouseMove(box.left + 7, box.top + 5));
    frame.Inject(RawInput::MouseDown(RawInput::kLeft, box.left + 7, box.top + 5));
    frame.Tick();
    ASSERT_EQ(CDXUTDialog::GetFocusedControl(), button);
  };
  startUp.beforeMainLoop = [&](AppFrame& frame) {
    holdAButton(frame);
    frame.RequestClose();
  };
  EXPECT_EQ(WinMain(std::move(startUp)), 0);
  EXPECT_EQ(CurrentMenu, nullptr);
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), nullptr);
}

// Without a display the game cannot start: it ends with code 1 and says on
// its error output where the reason is written.
TEST_F(WinMainTest, TheProgramWithoutADisplaySaysWhereToLook) {
  CopyLayout();
  const std::filesystem::path program = std::filesystem::path(TR_GAME_DIR) / "tidereach";
  const std::string command = "cd '" + folder_.path().string() + "' && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" +
                              program.string() + "' > output.txt 2> errors.txt";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(test::ReadFileBytes(folder_.path() / "errors.txt"), "Tidereach ended with code 1; see ConsoleOut.txt\n");
  EXPECT_EQ(test::ReadFileBytes(folder_.path() / "output.txt"), "");
  EXPECT_TRUE(std::filesystem::exists(folder_.path() / "ConsoleOut.txt"));
}

TEST_F(WinMainTest, MissingLayoutFileEndsWithCodeOne) {
  try {
    sStartUp startUp = Headless();
    WinMain(std::move(startUp));
    FAIL() << "start-up went on without a layout";
  } catch (const FatalExitError& e) {
    EXPECT_EQ(e.code(), 1);
  }
  EXPECT_FALSE(IsGameLockActive());
}

}  // namespace
}  // namespace tr
