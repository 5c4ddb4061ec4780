// Boxes the rules ask the game screen for: the worker waits for its text box
// until the player closes it, the main thread never waits on its own screen.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/modal_stack.h"
#include "dialogs/dialog_tekstowy.h"
#include "foundation/game_lock.h"
#include "game_screen_fixture.h"
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
};

TEST_F(AppBoxesTest, MainThreadPushesItsTextBoxesWithoutWaiting) {
  port_.ShowTextAndWait(u"Siege", u"The city fell.");
  ASSERT_NE(TopTextBox(), nullptr);
  EXPECT_EQ(TopTextBox()->layoutBase(), cDialogTekstowy::kDefaultLayoutBase);
  EXPECT_TRUE(port_.IsModalDialogShown());
  port_.PushTextDialog(u"Save game", u"Saved.", cDialogTekstowy::kDefaultLayoutBase);
  EXPECT_EQ(ModalDialogStack.size(), 2u);
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
}

}  // namespace
}  // namespace tr
