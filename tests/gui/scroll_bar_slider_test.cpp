// The scroll bar's clamp rule, thumb geometry, arrows with repeat and thumb
// drag; the slider's thumb, keys, clicks and drag.
#include <gtest/gtest.h>

#include "gui/scroll_bar.h"
#include "gui/slider.h"
#include "gui_fixture.h"
#include "platform/input.h"

namespace tr {
namespace {

using ScrollBarTest = test::GuiFixture;
using SliderTest = test::GuiFixture;
using Events = std::vector<test::SentEvent>;

struct ThumbCase {
  int range;
  int page;
  int track;
  int thumb;
};

class ThumbSizeTest : public test::GuiFixture, public ::testing::WithParamInterface<ThumbCase> {};

TEST_P(ThumbSizeTest, ThumbIsProportionalWithAMinimumOfEight) {
  const ThumbCase& c = GetParam();
  CDXUTDialog dialog;
  CDXUTScrollBar bar(&dialog);
  bar.SetLocation(0, 0);
  bar.SetSize(16, c.track + 32);
  bar.SetTrackRange(0, c.range);
  bar.SetPageSize(c.page);
  EXPECT_EQ(bar.GetTrackRect().height(), c.track);
  EXPECT_EQ(bar.GetThumbRect().height(), c.thumb);
  EXPECT_EQ(bar.IsThumbShown(), c.thumb > 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ThumbSizeTest,
                         ::testing::Values(ThumbCase{100, 10, 200, 20}, ThumbCase{1000, 1, 100, 8},
                                           ThumbCase{10, 10, 100, 0}, ThumbCase{5, 10, 100, 0},
                                           ThumbCase{3, 1, 0, 8}, ThumbCase{3, 1, -10, 8}));

TEST_F(ScrollBarTest, PositionIsClampedToTheLastFullPage) {
  CDXUTDialog dialog;
  CDXUTScrollBar bar(&dialog);
  bar.SetSize(16, 200);
  bar.SetTrackRange(0, 50);
  bar.SetPageSize(10);
  bar.Scroll(38);
  EXPECT_EQ(bar.GetTrackPos(), 38);
  bar.Scroll(5);
  EXPECT_EQ(bar.GetTrackPos(), 40);
  bar.Scroll(-100);
  EXPECT_EQ(bar.GetTrackPos(), 0);
  bar.ShowItem(-3);
  EXPECT_EQ(bar.GetTrackPos(), 0);
  bar.ShowItem(54);
  EXPECT_EQ(bar.GetTrackPos(), 40);  // item 49 is the page's last row
  bar.ShowItem(12);
  EXPECT_EQ(bar.GetTrackPos(), 12);
  bar.SetTrackRange(0, 0);
  bar.ShowItem(99999);
  EXPECT_EQ(bar.GetTrackPos(), 0);  // never a row above the first
}

// The page of rows 7 to 16: showing its last row keeps it, the row just
// below it moves the page by one row, and so does the row just above it.
TEST_F(ScrollBarTest, ShowingARowJustOffThePageMovesItByOneRow) {
  CDXUTDialog dialog;
  CDXUTScrollBar bar(&dialog);
  bar.SetSize(16, 200);
  bar.SetTrackRange(0, 50);
  bar.SetPageSize(10);
  bar.Scroll(7);
  bar.ShowItem(16);
  EXPECT_EQ(bar.GetTrackPos(), 7);
  bar.ShowItem(17);
  EXPECT_EQ(bar.GetTrackPos(), 8);
  bar.ShowItem(8);
  EXPECT_EQ(bar.GetTrackPos(), 8);
  bar.ShowItem(7);
  EXPECT_EQ(bar.GetTrackPos(), 7);
}

TEST_F(ScrollBarTest, ArrowStepsAtOnceThenRepeatsOnTheFrameClock) {
  CDXUTDialog dialog;
  CDXUTScrollBar bar(&dialog);
  dialog.InitControl(&bar);
  bar.SetSize(16, 200);
  bar.SetTrackRange(0, 100);
  bar.SetPageSize(10);
  // The down arrow is the bottom 16-pixel square; the thumb follows at once.
  const Rect thumb = bar.GetThumbRect();
  EXPECT_TRUE(bar.HandleMouse(WM_LBUTTONDOWN, 5, 190, 0, 0));
  EXPECT_EQ(bar.GetTrackPos(), 1);
  EXPECT_GT(bar.GetThumbRect().top, thumb.top);
  auto render_after = [&](double seconds) {
    clock_.Advance(seconds);
    frame_->Tick();
    bar.Render(0.0f);
  };
  render_after(0.30);
  EXPECT_EQ(bar.GetTrackPos(), 1);
  render_after(0.04);
  EXPECT_EQ(bar.GetTrackPos(), 2);
  render_after(0.04);
  EXPECT_EQ(bar.GetTrackPos(), 2);
  render_after(0.02);
  EXPECT_EQ(bar.GetTrackPos(), 3);
  // Off the arrow nothing repeats, but the hold goes on until the release.
  bar.HandleMouse(WM_MOUSEMOVE, 5, 100, 0, 0);
  render_after(1.0);
  EXPECT_EQ(bar.GetTrackPos(), 3);
  bar.HandleMouse(WM_LBUTTONUP, 5, 100, 0, 0);
  EXPECT_EQ(bar.GetArrowState(), 0);
  EXPECT_FALSE(HasMouseCapture());
  // The up arrow, the top square, waits out its own delay however long ago the last press was.
  EXPECT_TRUE(bar.HandleMouse(WM_LBUTTONDOWN, 5, 5, 0, 0));
  EXPECT_EQ(bar.GetTrackPos(), 2);
  render_after(0.30);
  EXPECT_EQ(bar.GetTrackPos(), 2);
  bar.HandleMouse(WM_LBUTTONUP, 5, 5, 0, 0);
}

TEST_F(ScrollBarTest, DraggingTheThumbToTheBottomReachesTheLastPage) {
  CDXUTDialog dialog;
  CDXUTScrollBar bar(&dialog);
  bar.SetSize(16, 232);  // track 200
  bar.SetTrackRange(7, 107);
  bar.SetPageSize(10);
  const Rect thumb = bar.GetThumbRect();
  EXPECT_TRUE(bar.HandleMouse(WM_LBUTTONDOWN, 5, thumb.top + 2, 0, 0));
  EXPECT_TRUE(CDXUTScrollBar::IsThumbDragging());
  EXPECT_TRUE(bar.HandleMouse(WM_MOUSEMOVE, 5, 1000, 0, 0));
  EXPECT_EQ(bar.GetTrackPos(), 97);
  EXPECT_EQ(bar.GetThumbRect().bottom, bar.GetTrackRect().bottom);
  EXPECT_TRUE(bar.HandleMouse(WM_MOUSEMOVE, 5, -1000, 0, 0));
  EXPECT_EQ(bar.GetTrackPos(), 7);
  EXPECT_FALSE(bar.HandleMouse(WM_LBUTTONUP, 5, 0, 0, 0));
  EXPECT_FALSE(CDXUTScrollBar::IsThumbDragging());
}

TEST_F(ScrollBarTest, TrackClicksPageAndABarWithoutThumbTakesNoMouse) {
  CDXUTDialog dialog;
  CDXUTScrollBar bar(&dialog);
  bar.SetSize(16, 232);
  bar.SetTrackRange(0, 100);
  bar.SetPageSize(10);
  EXPECT_TRUE(bar.HandleMouse(WM_LBUTTONDOWN, 5, 200, 0, 0));
  EXPECT_EQ(bar.GetTrackPos(), 9);
  bar.HandleMouse(WM_LBUTTONUP, 5, 200, 0, 0);
  bar.SetTrackRange(0, 5);
  EXPECT_FALSE(bar.HandleMouse(WM_LBUTTONDOWN, 5, 5, 0, 0));
  EXPECT_EQ(bar.GetTrackPos(), 0);
}

TEST_F(SliderTest, ThumbSitsAtTheValueAlongTheTravel) {
  CDXUTDialog dialog;
  CDXUTSlider* slider = nullptr;
  ASSERT_EQ(dialog.AddSlider(5, 100, 40, 120, 20, 0, 100, 50, false, &slider), S_OK);
  EXPECT_EQ(slider->GetThumbRect(), (Rect{155, 40, 165, 60}));
  slider->SetValue(0);
  EXPECT_EQ(slider->GetThumbRect().left, 105);
  slider->SetValue(100);
  EXPECT_EQ(slider->GetThumbRect().right, 215);
}

TEST_F(SliderTest, DegenerateRangesAndWidthsKeepTheThumbAtTheStart) {
  CDXUTDialog dialog;
  CDXUTSlider* flat = nullptr;
  dialog.AddSlider(1, 0, 0, 120, 20, 7, 7, 7, false, &flat);
  EXPECT_EQ(flat->GetThumbRect().left, 5);
  EXPECT_EQ(flat->ValueFromPos(60), 7);
  CDXUTSlider* narrow = nullptr;
  dialog.AddSlider(2, 0, 0, 20, 20, 0, 10, 5, false, &narrow);
  EXPECT_EQ(narrow->GetThumbRect().left, 5);
  EXPECT_EQ(narrow->ValueFromPos(10), 0);
  RenderOnce(dialog);
}

TEST_F(SliderTest, ValueChangesSendOnlyWhenTheValueMoves) {
  CDXUTDialog dialog;
  Listen(dialog);
  dialog.EnableNonUserEvents(true);
  CDXUTSlider* slider = nullptr;
  dialog.AddSlider(5, 0, 0, 120, 20, 0, 100, 50, false, &slider);
  EXPECT_TRUE(events_.empty());  // 50 was already the value
  slider->SetValueWithEvent(50, false, true);
  EXPECT_TRUE(events_.empty());
  slider->SetValueWithEvent(250, false, true);
  EXPECT_EQ(slider->GetValue(), 100);
  EXPECT_EQ(events_, (Events{{GuiEventSliderChanged, 5}}));
  EXPECT_TRUE(sounds_.empty());
  slider->SetRange(0, 40);
  EXPECT_EQ(slider->GetValue(), 40);
  EXPECT_EQ(events_.size(), 2u);
}

struct SliderKeyCase {
  std::uint32_t key;
  int value;
};

class SliderKeyTest : public test::GuiFixture, public ::testing::WithParamInterface<SliderKeyCase> {};

TEST_P(SliderKeyTest, KeysStepByOneOrJumpToTheEnds) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTSlider* slider = nullptr;
  dialog.AddSlider(5, 0, 0, 120, 20, 0, 100, 50, false, &slider);
  CDXUTDialog::RequestFocus(slider);
  EXPECT_TRUE(Key(dialog, WM_KEYDOWN, GetParam().key));
  EXPECT_EQ(slider->GetValue(), GetParam().value);
  EXPECT_EQ(events_, (Events{{GuiEventSliderChanged, 5}}));
  EXPECT_EQ(sounds_, events_);
}

INSTANTIATE_TEST_SUITE_P(Keys, SliderKeyTest,
                         ::testing::Values(SliderKeyCase{VK_PRIOR, 49}, SliderKeyCase{VK_NEXT, 51},
                                           SliderKeyCase{VK_UP, 49}, SliderKeyCase{VK_LEFT, 49},
                                           SliderKeyCase{VK_DOWN, 51}, SliderKeyCase{VK_RIGHT, 51},
                                           SliderKeyCase{VK_HOME, 0}, SliderKeyCase{VK_END, 100}));

TEST_F(SliderTest, ReleasingADragAlwaysReportsAndDropsTheFocus) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTSlider* slider = nullptr;
  dialog.AddSlider(5, 0, 0, 120, 20, 0, 100, 50, false, &slider);
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, 58, 10));
  EXPECT_TRUE(slider->IsPressed());
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), slider);
  EXPECT_TRUE(Send(dialog, WM_LBUTTONUP, 58, 10));
  EXPECT_EQ(events_, (Events{{GuiEventSliderChanged, 5}}));
  EXPECT_EQ(sounds_, events_);
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), nullptr);
  EXPECT_FALSE(HasMouseCapture());
}

TEST_F(SliderTest, DraggingFollowsThePointerAndClicksBesideTheThumbStep) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTSlider* slider = nullptr;
  dialog.AddSlider(5, 0, 0, 120, 20, 0, 100, 50, false, &slider);
  Send(dialog, WM_LBUTTONDOWN, 60, 10);
  Send(dialog, WM_MOUSEMOVE, 80, 10);
  EXPECT_EQ(slider->GetValue(), 70);
  Send(dialog, WM_LBUTTONUP, 80, 10);
  events_.clear();
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, 110, 10));
  EXPECT_EQ(slider->GetValue(), 71);
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, 10, 10));
  EXPECT_EQ(slider->GetValue(), 70);
  EXPECT_EQ(events_.size(), 2u);
  EXPECT_FALSE(slider->IsPressed());
}

}  // namespace
}  // namespace tr
