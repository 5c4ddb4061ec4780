// Frame, tab frame and progress bar.
#include <gtest/gtest.h>

#include "gui/frame.h"
#include "gui/progress_bar.h"
#include "gui/static.h"
#include "gui/tab_frame.h"
#include "gui_fixture.h"
#include "platform/input.h"

namespace tr {
namespace {

using FramesTest = test::GuiFixture;
using Events = std::vector<test::SentEvent>;

TEST_F(FramesTest, StyleTwoFrameOfThirtyPixelsHasATenPixelCentre) {
  CDXUTDialog dialog;
  CDXUTFrame* frame = nullptr;
  ASSERT_EQ(dialog.AddFrame(1, 0, 0, 30, 50, 2, &frame), S_OK);
  EXPECT_EQ(frame->GetPieceRect(0), (Rect{10, 10, 20, 40}));
  EXPECT_EQ(frame->GetPieceRect(8), (Rect{20, 40, 30, 50}));
  EXPECT_EQ(dialog.AddFrame(2, 0, 0, 30, 30, 3), E_INVALIDARG);
  RenderOnce(dialog);
  const auto sprites = Sprites();
  ASSERT_EQ(sprites.size(), 9u);
  EXPECT_EQ(sprites[0]->source, (Rect{231, 1905, 241, 1915}));
  EXPECT_EQ(test::DestOf(*sprites[0]), (Rect{10, 10, 20, 40}));
  EXPECT_EQ(sprites[4]->source, (Rect{221, 1905, 231, 1915}));  // the left edge's own cell
  EXPECT_EQ(test::DestOf(*sprites[4]), (Rect{0, 10, 10, 40}));
}

TEST_F(FramesTest, AProgressBarFillsFromItsMinimum) {
  CDXUTDialog dialog;
  CDXUTProgressBar* bar = nullptr;
  ASSERT_EQ(dialog.AddProgressBarAt(20, 50, 150, 100, &bar), S_OK);
  bar->SetLocation(0, 0);
  bar->SetSize(110, 25);
  EXPECT_EQ(bar->GetBarLength(), 50);
  bar->SetRange(120, 120);  // an empty range: nothing filled
  EXPECT_EQ(bar->GetBarLength(), 0);
  bar->SetRange(50, 150);
  bar->SetValue(20);  // below the range: held at the minimum, empty
  EXPECT_EQ(bar->GetBarLength(), 0);
}

struct BarCase {
  int value;
  int bar;
  Rect left_source;
  Rect right_source;
};

class ProgressBarTest : public test::GuiFixture, public ::testing::WithParamInterface<BarCase> {};

TEST_P(ProgressBarTest, BarLengthAndCaps) {
  CDXUTDialog dialog;
  CDXUTProgressBar* bar = nullptr;
  ASSERT_EQ(dialog.AddProgressBarAt(20, 0, 100, GetParam().value, &bar), S_OK);
  bar->SetLocation(0, 0);
  bar->SetSize(110, 25);
  EXPECT_EQ(bar->GetBarLength(), GetParam().bar);
  RenderOnce(dialog);
  const auto sprites = Sprites();
  ASSERT_GE(sprites.size(), 3u);
  EXPECT_EQ(sprites[0]->source, GetParam().left_source);
  EXPECT_EQ(sprites[1]->source, GetParam().right_source);
  EXPECT_EQ(sprites[2]->source, (Rect{355, 1885, 360, 1910}));  // the empty track between the caps
  if (GetParam().bar > 0) {
    ASSERT_EQ(sprites.size(), 4u);
    EXPECT_EQ(test::DestOf(*sprites[3]), (Rect{5, 0, 5 + GetParam().bar, 25}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, ProgressBarTest,
    ::testing::Values(BarCase{0, 0, {350, 1885, 355, 1910}, {360, 1885, 365, 1910}},
                      BarCase{50, 50, {350, 1910, 355, 1935}, {360, 1885, 365, 1910}},
                      BarCase{100, 100, {350, 1910, 355, 1935}, {360, 1910, 365, 1935}},
                      BarCase{150, 100, {350, 1910, 355, 1935}, {360, 1910, 365, 1935}}));

class TabFrameTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    Listen(dialog_);
    ASSERT_EQ(dialog_.AddTabFrameAt(30, &tabs_), S_OK);
    tabs_->SetLocation(0, 0);
    tabs_->SetSize(400, 200);
    dialog_.AddStatic(31, u"one", 10, 40, 50, 20);
    dialog_.AddStatic(32, u"two", 10, 40, 50, 20);
    dialog_.AddStatic(32, u"two again", 10, 70, 50, 20);
    tabs_->AddTab(u"One", 1, 31, 31);
    tabs_->AddTab(u"Two", 2, 32, 32);
  }
  bool Visible(int index) const { return dialog_.Controls()[static_cast<std::size_t>(index)]->GetVisible(); }
  CDXUTDialog dialog_;
  CDXUTTabFrame* tabs_ = nullptr;
};

TEST_F(TabFrameTest, AddingTabsKeepsTheFirstSelected) {
  EXPECT_EQ(tabs_->GetSelectedTab(), 0);
  EXPECT_TRUE(Visible(1));
  EXPECT_FALSE(Visible(2));
  EXPECT_TRUE(Visible(3));  // only the first control with an id is shown or hidden
  EXPECT_TRUE(events_.empty());
}

TEST_F(TabFrameTest, SelectionIsClampedIntoTheTabs) {
  tabs_->SelectTab(9, false);
  EXPECT_EQ(tabs_->GetSelectedTab(), 1);
  EXPECT_FALSE(Visible(1));
  EXPECT_TRUE(Visible(2));
  tabs_->SelectTab(-4, true);
  EXPECT_EQ(tabs_->GetSelectedTab(), 0);
  EXPECT_EQ(events_, (Events{{GuiEventTabSelected, 30}}));
  tabs_->RemoveAllTabs();
  tabs_->SelectTab(0, true);
  EXPECT_EQ(tabs_->GetSelectedTab(), -1);
}

TEST_F(TabFrameTest, ClickingAHeaderSelectsItsTab) {
  const int first_width = tabs_->Tabs()[0].title_width + 20;
  EXPECT_TRUE(Send(dialog_, WM_LBUTTONDOWN, first_width + 3, 5));
  EXPECT_EQ(tabs_->GetSelectedTab(), 1);
  EXPECT_EQ(events_, (Events{{GuiEventTabSelected, 30}}));
  EXPECT_EQ(sounds_, (Events{{GuiEventTabSelected, 30}}));
  EXPECT_FALSE(Send(dialog_, WM_LBUTTONUP, first_width + 3, 5));
  EXPECT_FALSE(HasMouseCapture());
  EXPECT_TRUE(Send(dialog_, WM_LBUTTONDOWN, 399, 5));  // right of the last header: nothing
  EXPECT_EQ(tabs_->GetSelectedTab(), 1);
}

}  // namespace
}  // namespace tr
