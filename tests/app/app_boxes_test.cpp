// Boxes the rules ask the game screen for: the worker waits for its text box
// until the player closes it, the main thread never waits on its own screen;
// the new-turn banner and the camera the rules move.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/modal_stack.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/small_dialogs.h"
#include "foundation/game_lock.h"
#include "game_screen_fixture.h"
#include "gui/static.h"
#include "turn/theads.h"
#include "turn/turn_steps.h"

namespace tr {
namespace {

class AppBoxesTest : public test::GameScreenFixture {
 protected:
  void TearDown() override {
    StopWorkerThread();
    SetComputerTurnStep({});
    SetGameLockActive(false);
    test::GameScreenFixture::TearDown();
  }

  cDialogTekstowy* TopTextBox() {
    GameLockGuard lock;
    return dynamic_cast<cDialogTekstowy*>(TopDialog);
  }
  static std::u16string Label(const cDialogTekstowy& box, int offset) {
    const auto* label = dynamic_cast<const CDXUTStatic*>(box.GetControl(box.layoutBase() + offset));
    return label != nullptr ? label->GetText() : u"(none)";
  }
};

TEST_F(AppBoxesTest, MainThreadPushesItsTextBoxesWithoutWaiting) {
  port_.ShowTextAndWait(u"Siege", u"The city fell.");
  ASSERT_NE(TopTextBox(), nullptr);
  EXPECT_EQ(TopTextBox()->layoutBase(), cDialogTekstowy::kDefaultLayoutBase);
  // The title above, the text below it.
  EXPECT_EQ(Label(*TopTextBox(), 1), u"Siege");
  EXPECT_EQ(Label(*TopTextBox(), 3), u"The city fell.");
  EXPECT_TRUE(port_.IsModalDialogShown());
  port_.PushTextDialog(u"Save game", u"Saved.", cDialogTekstowy::kDefaultLayoutBase);
  EXPECT_EQ(ModalDialogStack.size(), 2u);
  EXPECT_EQ(Label(*TopTextBox(), 1), u"Save game");
  EXPECT_EQ(Label(*TopTextBox(), 3), u"Saved.");
  PopModalDialogs(-1);
  EXPECT_FALSE(port_.IsModalDialogShown());
}

TEST_F(AppBoxesTest, WorkerWaitsForItsTextBoxUntilThePlayerClosesIt) {
  SetGameLockActive(true);
  std::atomic<bool> returned{false};
  SetComputerTurnStep([&](cGame&, cCountry&) {
    Presentation().ShowTextAndWait(u"Siege", u"The city fell.");
    returned = true;
  });
  country(1).finishedTurn = 1;
  game().playerControl.currentCountry = &country(2);
  game().StoreGameState(kGameComputerTurn);
  StartWorkerThread();

  while (TopTextBox() == nullptr) std::this_thread::yield();
  EXPECT_FALSE(returned);
  {
    GameLockGuard lock;
    PopModalDialogs(1);
  }
  while (game().GetGameState() != kGameHumanIdle) std::this_thread::yield();
  EXPECT_TRUE(returned);
  EXPECT_EQ(game().playerControl.currentCountry, &country(3));
  // The human whose turn follows the computer's is greeted with the banner.
  GameLockGuard lock;
  auto* banner = dynamic_cast<cDialogNowejTury*>(TopDialog);
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(banner->countryId(), 3);
}

// A siege the rules check shows its city: the camera stands on it at once.
TEST_F(AppBoxesTest, TheRulesCentreTheCameraOnAHex) {
  cMap& map = *game().map;
  port_.CenterCameraOn(6, 5, false);
  EXPECT_EQ(map.camera.x, 6.0f * kColumnStep);
  EXPECT_EQ(map.camera.y, 5.0f * kRowStep);
  port_.CenterCameraOn(2, 7, true);
  EXPECT_EQ(map.camera.targetX, 2.0f * kColumnStep);
  EXPECT_EQ(map.camera.targetY, 7.0f * kRowStep);
  EXPECT_EQ(map.camera.x, 6.0f * kColumnStep) << "a glide starts where the camera stood";
}

}  // namespace
}  // namespace tr
