// The in-game dialog base: its one-shot timer and where its GUI events go.
#include "dialogs/dialog_base.h"

#include <gtest/gtest.h>

#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "gui/button.h"
#include "support/screen_fixture.h"

namespace tr {
namespace {

class TimedDialog : public cDialog {
 public:
  TimedDialog(int id, int& ticks, int& events) : cDialog(id, Rect{100, 100, 200, 100}), ticks_(ticks), events_(events) {}
  void OnTimerTick(float) override { ++ticks_; }
  void OnGUIEvent(std::uint32_t, int, CDXUTControl*) override { ++events_; }

 private:
  int& ticks_;
  int& events_;
};

class DialogBaseTest : public test::ScreenFixture {
 protected:
  TimedDialog* Push(int id = 700) {
    auto* dialog = new TimedDialog(id, ticks_, events_);
    PushModalDialog(dialog);
    return dialog;
  }
  int ticks_ = 0;
  int events_ = 0;
};

TEST_F(DialogBaseTest, FramedDialogOwnsADraggableFrameWithItsId) {
  TimedDialog* dialog = Push(700);
  CDXUTControl* frame = dialog->GetControl(700);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->GetType(), kControlFrame);
  EXPECT_TRUE(frame->IsDraggable());
  EXPECT_EQ(frame->GetBoundingBox(), (Rect{100, 100, 300, 200}));
  EXPECT_EQ(dialog->timerPaused, 1);
  EXPECT_EQ(dialog->timerSeconds, -1.0f);
  EXPECT_EQ(dialog->owner, nullptr);
}

TEST_F(DialogBaseTest, TimerOfZeroSecondsClosesTheDialogOnTheNextFrame) {
  TimedDialog* dialog = Push();
  dialog->StartTimer(0.0f, cDialog::kTimerClose);
  dialog->TickTimer(0.016f);
  EXPECT_EQ(ticks_, 1);
  EXPECT_TRUE(ModalDialogStack.empty());
}

TEST_F(DialogBaseTest, TimerFiresOnceAndAPausedOneNeverRuns) {
  TimedDialog* dialog = Push();
  dialog->StartTimer(0.5f, cDialog::kTimerHide);
  dialog->TickTimer(0.3f);
  EXPECT_TRUE(dialog->GetVisible());
  dialog->TickTimer(0.3f);
  EXPECT_FALSE(dialog->GetVisible());
  EXPECT_EQ(dialog->timerSeconds, -1.0f);
  dialog->SetVisible(true);
  dialog->TickTimer(1.0f);
  EXPECT_TRUE(dialog->GetVisible());
  EXPECT_EQ(ticks_, 2);

  dialog->StartTimer(0.1f, cDialog::kTimerHide);
  dialog->timerPaused = 1;
  dialog->TickTimer(1.0f);
  EXPECT_EQ(ticks_, 2);
  EXPECT_FLOAT_EQ(dialog->timerSeconds, 0.1f);
  // Un-pausing a timer whose seconds are negative does nothing.
  dialog->timerSeconds = -1.0f;
  dialog->timerPaused = 0;
  dialog->TickTimer(1.0f);
  EXPECT_EQ(ticks_, 2);
}

TEST_F(DialogBaseTest, GuiEventsOfAnyInGameDialogGoToTheVisibleTopDialog) {
  TimedDialog* lower = Push(700);
  int upperEvents = 0;
  int upperTicks = 0;
  auto* upper = new TimedDialog(701, upperTicks, upperEvents);
  PushModalDialog(upper);
  CDXUTButton* button = nullptr;
  lower->AddButton(710, u"b", 0, 0, 10, 10, 0, false, &button);
  lower->SendEvent(0x101, true, button);
  EXPECT_EQ(events_, 0);
  EXPECT_EQ(upperEvents, 1);
  upper->SetVisible(false);
  lower->SendEvent(0x101, true, button);
  EXPECT_EQ(upperEvents, 1);
  EXPECT_EQ(events_, 0);
}

}  // namespace
}  // namespace tr
