// One turn of the shipped sample scenario played through the real program
// with scripted input: the logos skipped, the main menu, the scenario menu,
// the settings menu with one human country, the start, the end of the turn
// by its hotkey and the confirmation, the computer countries' turns on
// the worker, and the turn back with the date moved on. Screenshots of the
// settings menu and of the game screen stay in the build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <thread>

#include "app/end_turn.h"
#include "app/framework.h"
#include "app/input_routing.h"
#include "app/mainmenu.h"
#include "app/modal_stack.h"
#include "app/music_player.h"
#include "app/scenario_menu.h"
#include "app/scenario_settings_menu.h"
#include "dialogs/panel_informacyjny.h"
#include "dialogs/small_dialogs.h"
#include "foundation/game_lock.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "platform/graphics.h"
#include "platform/null_audio.h"
#include "support/temp_dir.h"
#include "world/gra.h"
#include "world/scenario_check.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

constexpr char16_t kSample[] = u"data\\scenarios\\NorthernTide\\%s";
// Enough frames for any screen to come up; a screen that needs more is stuck.
constexpr int kFrameLimit = 2000;
// The computer countries play on the worker; the frames in between are cheap.
constexpr long kWaitLimit = 50'000'000;

// A game folder of its own: the shipped data is linked, the settings are
// copied and the save folders are empty, so the test writes nothing shared.
void MakeGameFolder(const fs::path& to) {
  const fs::path from = TR_GAME_DIR;
  for (const auto& entry : fs::directory_iterator(from)) {
    if (entry.path().filename() == "data") continue;
    if (entry.is_regular_file()) fs::copy_file(entry.path(), to / entry.path().filename());
  }
  fs::create_directories(to / "data" / "save");
  fs::create_directories(to / "data" / "pbem");
  for (const auto& entry : fs::directory_iterator(from / "data")) {
    const fs::path target = to / "data" / entry.path().filename();
    if (entry.is_directory()) {
      fs::create_directory_symlink(entry.path(), target);
    } else {
      fs::copy_file(entry.path(), target);
    }
  }
}

class PlayTurnTest : public testing::Test {
 protected:
  void SetUp() override {
    oldRoot_ = GameRoot();
    MakeGameFolder(folder_.path());
    SetGameRoot(folder_.path());
  }
  void TearDown() override {
    SetGameScreenHandlers({});
    SetGameRoot(oldRoot_);
  }

  void Frame() {
    clock_.AdvanceMs(16);
    frame_->Tick();
  }
  // Frames until the condition holds; false when it never did.
  bool FramesUntil(const std::function<bool()>& condition, long limit = kFrameLimit) {
    for (long i = 0; i < limit; ++i) {
      if (condition()) return true;
      Frame();
    }
    return condition();
  }
  void Click(const CDXUTControl* control) {
    ASSERT_NE(control, nullptr);
    const Rect box = control->GetBoundingBox();
    const int x = (box.left + box.right) / 2, y = (box.top + box.bottom) / 2;
    frame_->Inject(RawInput::MouseMove(x, y));
    frame_->Inject(RawInput::MouseDown(RawInput::kLeft, x, y));
    frame_->Inject(RawInput::MouseUp(RawInput::kLeft, x, y));
    Frame();
  }
  bool HumanTurnOf(const cCountry* country) {
    GameLockGuard lock;
    return gGame != nullptr && gGame->playerControl.currentCountry == country &&
           gGame->GetGameState() == kGameHumanIdle;
  }

  void Script();

  test::TempDir folder_;
  fs::path oldRoot_;
  ManualClock clock_;
  AppFrame* frame_ = nullptr;
  std::u16string autosave_;
};

void PlayTurnTest::Script() {
  gDelays.fill(0.0f);
  // The two logos give way to keys.
  ASSERT_TRUE(FramesUntil([&] {
    frame_->Inject(RawInput::KeyDown(VK_SPACE));
    return dynamic_cast<cMainMenu*>(CurrentMenu) != nullptr;
  }));
  Click(CurrentMenu->GetControl(71));
  auto* scenarios = dynamic_cast<cScenarioMenu*>(CurrentMenu);
  ASSERT_NE(scenarios, nullptr);
  auto& list = *static_cast<CDXUTListBox*>(scenarios->GetControl(179));
  for (int row = 0; row < list.GetSize(); ++row) {
    if (scenarios->RowTemplate(row) == kSample) list.SelectItem(row, true);
  }
  Click(scenarios->GetControl(200));

  // The settings: the first country of the turn order is the only human one.
  auto* settings = dynamic_cast<cScenarioSettingsMenu*>(CurrentMenu);
  ASSERT_NE(settings, nullptr);
  ASSERT_NE(gGame, nullptr);
  cCountry* human = gGame->GetCountry(1);
  auto& countries = *static_cast<CDXUTListBox*>(settings->GetControl(kCountryList));
  for (int row = 0; row < countries.GetSize(); ++row) {
    countries.SelectItem(row, true);
    Click(settings->GetControl(settings->selectedCountry() == human ? kHumanRadio : kComputerRadio));
  }
  int humans = 0;
  for (const auto& country : gGame->countries) humans += country->humanControlled;
  EXPECT_EQ(humans, 1);
  ASSERT_EQ(human->humanControlled, 1);
  Frame();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("play_turn_settings_menu.png"));
  Click(settings->GetControl(kStartButton));
  ASSERT_EQ(CurrentMenu, nullptr);

  // The first turn on screen, its view reached.
  ASSERT_TRUE(FramesUntil([&] { return HumanTurnOf(human); }));
  Frame();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("play_turn_game_screen.png"));
  cInfoPanel* info = GetInfoPanel();
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(static_cast<CDXUTStatic*>(info->GetControl(cInfoPanel::kCountryName))->GetText(), human->name);
  // The human country's own playlist took over from the menu music.
  ASSERT_NE(GameMusicPlayer(), nullptr);
  EXPECT_EQ(GameMusicPlayer()->currentPlaylist(), human->id);
  const cGameDate start = gGame->date;
  const int startTurn = gGame->turn;

  // Q presses the toolbar's end of turn, which asks first.
  frame_->Inject(RawInput::KeyDown('Q'));
  frame_->Inject(RawInput::KeyUp('Q'));
  Frame();
  auto* confirm = dynamic_cast<cDialogPotwKoncaTury*>(TopDialog);
  ASSERT_NE(confirm, nullptr);
  Click(confirm->GetControl(cDialogPotwKoncaTury::kYesButton));
  {
    // The worker may already have played the computer countries and ended
    // the impulse, which clears every finished mark and counts the turn on.
    GameLockGuard lock;
    EXPECT_TRUE(human->finishedTurn == 1 || gGame->turn > startTurn);
  }
  autosave_ = GetText("autosave");
  EXPECT_TRUE(fs::exists(ResolveGamePath(u"data\\save\\" + autosave_ + u"\\Info.ini")));

  // The computer countries play without drawing; the frames still step their moves.
  frame_->Pause(false, true);
  const bool back = FramesUntil(
      [&] {
        std::this_thread::yield();
        return HumanTurnOf(human) || (gGame != nullptr && gGame->GetGameState() == kGameCameraGlide &&
                                      gGame->playerControl.currentCountry == human);
      },
      kWaitLimit);
  frame_->Pause(false, false);
  ASSERT_TRUE(back) << "state " << static_cast<int>(gGame->GetGameState());
  // The worker's hand-over ends with the panels given back, which may come after the glide.
  ASSERT_TRUE(FramesUntil([&] {
    GameLockGuard lock;
    return HumanTurnOf(human) && !info->GetControl(cInfoPanel::kBusyImage)->GetVisible();
  }));
  EXPECT_EQ(gGame->turn, startTurn + 1);
  EXPECT_TRUE(start.IsBefore(gGame->date.GetDayOfMonth(), gGame->date.month, gGame->date.year));
  auto* banner = dynamic_cast<cDialogNowejTury*>(TopDialog);
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(banner->countryId(), human->id);
  EXPECT_TRUE(info->MouseInputEnabled());
  Frame();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("play_turn_next_turn.png"));
}

TEST_F(PlayTurnTest, TheSampleScenarioPlaysATurnAndTheTurnComesBackWithTheDateMovedOn) {
  sStartUp startUp;
  startUp.frame = AppFrame::CreateHeadless(1024, 768, &clock_);
  startUp.audio = std::make_unique<NullAudioDevice>();
  startUp.beforeMainLoop = [&](AppFrame& frame) {
    frame_ = &frame;
    Script();
    frame.RequestClose();
  };
  EXPECT_EQ(WinMain(std::move(startUp)), 0);
  EXPECT_EQ(gGame, nullptr);

  // The autosave loads as a saved game.
  ASSERT_FALSE(autosave_.empty());
  std::ostringstream out, errors;
  EXPECT_EQ(RunScenarioCheck({"--root", folder_.path().string(), "--save", Utf16ToUtf8(autosave_)}, out, errors), 0)
      << errors.str();
}

}  // namespace
}  // namespace tr
