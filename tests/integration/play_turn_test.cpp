// One turn of the shipped sample scenario played through the real program
// with scripted input: the logos skipped, the main menu, the scenario menu,
// the settings menu with one human country, the start, a minute idle on the
// map that logs nothing, the end of the turn by its hotkey and the
// confirmation, the computer countries' turns on the worker, and the turn
// back with the date moved on. Screenshots of the settings menu and of the
// game screen stay in the build folder.
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
#include "game_session.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/gra.h"
#include "world/scenario_check.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

// A minute of the clock in frames of 100 ms: fewer frames than a player's,
// each as real.
constexpr int kIdleFrames = 600;
constexpr int kIdleFrameMs = 100;

class PlayTurnTest : public test::GameSessionTest {
 protected:
  void Script();

  std::u16string autosave_;
};

void PlayTurnTest::Script() {
  gDelays.fill(0.0f);
  cCountry* human = StartSampleWithFirstCountryHuman("play_turn_settings_menu.png");
  ASSERT_NE(human, nullptr);
  Frame();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("play_turn_game_screen.png"));
  {
    // A minute on the map with nothing to do writes nothing to the log: a
    // line a frame would fill the disk of a player who leaves the game open.
    test::LogCapture log;
    for (int frame = 0; frame < kIdleFrames; ++frame) {
      clock_.AdvanceMs(kIdleFrameMs);
      frame_->Tick();
    }
    const std::vector<std::u16string> lines = log.lines();
    EXPECT_TRUE(lines.empty()) << lines.size() << " lines, the first: " << Utf16ToUtf8(lines.front());
  }
  cInfoPanel* info = GetInfoPanel();
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(static_cast<CDXUTStatic*>(info->GetControl(cInfoPanel::kCountryName))->GetText(), human->name);
  // The human country's own playlist took over from the menu music.
  ASSERT_NE(GameMusicPlayer(), nullptr);
  EXPECT_EQ(GameMusicPlayer()->currentPlaylist(), human->id);
  const cGameDate start = gGame->date;
  const int startTurn = gGame->turn;

  frame_->Inject(RawInput::KeyDown('Q'));
  frame_->Inject(RawInput::KeyUp('Q'));
  Frame();
  auto* confirm = dynamic_cast<cDialogPotwKoncaTury*>(TopDialog);
  ASSERT_NE(confirm, nullptr);
  Click(confirm->GetControl(cDialogPotwKoncaTury::kYesButton));
  // The end of turn saved the game before it handed the turn on.
  autosave_ = GetText("autosave");
  EXPECT_TRUE(fs::exists(ResolveGamePath(u"data\\save\\" + autosave_ + u"\\Info.ini")));
  // The human's finished mark stands until the worker ends the impulse, which
  // clears it and then counts the turn on: one of the two holds outside that step.
  EXPECT_TRUE(WorkerReaches([&] { return human->finishedTurn == 1 || gGame->turn > startTurn; }));
  ASSERT_TRUE(WorkerReaches([&] { return TurnComingBackTo(human); }))
      << "state " << static_cast<int>(gGame->GetGameState());
  // The worker's hand-over ends with the panels given back, which may come after the glide.
  ASSERT_TRUE(FramesUntil([&] {
    GameLockGuard lock;
    return HumanTurnOf(human) && !info->GetControl(cInfoPanel::kBusyImage)->GetVisible();
  }, test::kWaitLimit));
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
  EXPECT_EQ(RunProgram([&] { Script(); }), 0);
  EXPECT_EQ(gGame, nullptr);

  // The autosave loads as a saved game.
  ASSERT_FALSE(autosave_.empty());
  std::ostringstream out, errors;
  EXPECT_EQ(RunScenarioCheck({"--root", folder_.path().string(), "--save", Utf16ToUtf8(autosave_)}, out, errors), 0)
      << errors.str();
}

}  // namespace
}  // namespace tr
