// A hot-seat game of the sample through the real program, Kaltheim and
// Albrecia played on one screen: what a player decides outside the player's
// own turn (an event of the player's country, the player's convoy results,
// both in the computer's phase) shows under that player's own information
// panel, never under the other player's, and each wait for such a dialog
// writes its log line once however long the player reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/convoy_results_dialog.h"
#include "dialogs/event_dialog.h"
#include "dialogs/panel_informacyjny.h"
#include "foundation/text.h"
#include "game_session.h"
#include "gui/static.h"
#include "support/log_capture.h"

namespace tr {
namespace {

constexpr int kKaltheim = 1;
constexpr int kAlbrecia = 3;
// Frames a player spends reading a decision before answering it.
constexpr int kReadingFrames = 40;

class HotSeatSessionTest : public test::GameSessionTest {
 protected:
  // The decision on top, with the country it belongs to and the control
  // that answers it; null when none is on top.
  const cCountry* Decision(CDXUTControl*& answer) {
    GameLockGuard lock;
    if (auto* event = dynamic_cast<cDialogEventu*>(TopDialog)) {
      answer = event->GetControl(4001);
      return gGame->GetCountry(event->shownEvent().countryID);
    }
    if (auto* convoys = dynamic_cast<cDialogWynikuKonwojow*>(TopDialog)) {
      answer = convoys->GetControl(cDialogWynikuKonwojow::kExitButton);
      return convoys->country();
    }
    return nullptr;
  }
  std::u16string PanelCountryName() {
    GameLockGuard lock;
    const auto* name = static_cast<const CDXUTStatic*>(GetInfoPanel()->GetControl(cInfoPanel::kCountryName));
    return name != nullptr ? name->GetText() : std::u16string();
  }
  // A decision on top is read and answered, after the panel it shows under
  // is checked; everything else the computer's phase shows is answered as a
  // player would.
  void ReadAndAnswer() {
    CDXUTControl* answer = nullptr;
    const cCountry* deciding = Decision(answer);
    if (deciding == nullptr) {
      AnswerComputerScreens(true);
      return;
    }
    ++decisions_;
    if (deciding->id == kAlbrecia) ++albreciaDecisions_;
    const std::u16string before = PanelCountryName();
    for (int frame = 0; frame < kReadingFrames; ++frame) Frame();
    if (deciding->id == kAlbrecia && albreciaDecisions_ == 1) {
      EXPECT_TRUE(frame_->graphics().SaveScreenshot("hot_seat_albrecia_decision.png"));
    }
    for (const std::u16string& shown : {before, PanelCountryName()}) {
      if (shown != deciding->name) {
        misplaced_.push_back(Utf16ToUtf8(deciding->name) + "'s decision under " + Utf16ToUtf8(shown) + "'s panel");
      }
    }
    Click(answer);
  }

  int decisions_ = 0;
  int albreciaDecisions_ = 0;
  std::vector<std::string> misplaced_;
};

TEST_F(HotSeatSessionTest, EachPlayersDecisionsShowUnderThatPlayersOwnPanel) {
  gDelays.fill(0.0f);
  test::LogCapture log;
  const int exitCode = RunProgram([&] {
    cScenarioSettingsMenu* settings = OpenSettingsOf(cScenarioMenu::kNewGame, test::kSampleScenario);
    ASSERT_NE(settings, nullptr);
    ChooseHumans(*settings, {{kKaltheim, 0}, {kAlbrecia, 0}});
    Click(settings->GetControl(kStartButton));
    const cCountry* kaltheim = gGame->GetCountry(kKaltheim);
    const cCountry* albrecia = gGame->GetCountry(kAlbrecia);
    // The player whose turn is on screen with the panels given back, or null.
    const auto playerOnScreen = [&]() -> const cCountry* {
      GameLockGuard lock;
      const bool busy = GetInfoPanel()->GetControl(cInfoPanel::kBusyImage)->GetVisible();
      for (const cCountry* player : {kaltheim, albrecia}) {
        if (HumanTurnOf(player) && !busy) return player;
      }
      return nullptr;
    };
    ASSERT_TRUE(WorkerReaches([&] { return playerOnScreen() != nullptr; }, false)) << DialogsAndState();
    // Each player ends the turn on screen, until the end of the first impulse
    // has shown Albrecia's decisions and Kaltheim has the screen again.
    for (int turn = 0; turn < 4; ++turn) {
      if (dynamic_cast<cDialogNowejTury*>(TopDialog) != nullptr) PressKey(VK_RETURN);
      ASSERT_EQ(TopDialog, nullptr) << DialogsAndState();
      if (albreciaDecisions_ > 0 && playerOnScreen() == kaltheim) break;
      EndTurnByQ();
      // The frames of the computer's phase read and answer what it shows.
      ASSERT_TRUE(FramesUntil(
          [&] {
            std::this_thread::yield();
            ReadAndAnswer();
            return playerOnScreen() != nullptr;
          },
          test::kWaitLimit))
          << DialogsAndState();
    }
  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_GE(albreciaDecisions_, 2) << "Albrecia's event and convoy results";
  EXPECT_TRUE(misplaced_.empty()) << misplaced_.front();
  int waits = 0;
  for (const std::u16string& line : log.lines()) {
    if (line.starts_with(u"WBC:class cDialogEventu:") || line.starts_with(u"WBC:class cDialogWynikuKonwojow:")) {
      ++waits;
    }
  }
  EXPECT_EQ(waits, decisions_) << "one line per wait";
}

}  // namespace
}  // namespace tr
