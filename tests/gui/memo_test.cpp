// The memo: its scroll range in lines, the wheel, scrolling to the end and
// the clipped drawing of scrolled text.
#include <gtest/gtest.h>

#include "gui/memo.h"
#include "gui_fixture.h"

namespace tr {
namespace {

using MemoTest = test::GuiFixture;

std::u16string Lines(int count) {
  std::u16string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += u'\n';
    text += u"line " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
  }
  return text;
}

// A memo of ten 16-pixel lines.
CDXUTMemo* MakeMemo(CDXUTDialog& dialog, const std::u16string& text) {
  CDXUTMemo* memo = nullptr;
  EXPECT_EQ(dialog.AddMemo(90, text, 20, 20, 300, 160 + 10, false, &memo), S_OK);
  return memo;
}

TEST_F(MemoTest, ALongTextScrollsByLinesWithTheWheel) {
  CDXUTDialog dialog;
  CDXUTMemo* memo = MakeMemo(dialog, Lines(30));
  ASSERT_EQ(memo->GetLineHeight(), 16);
  CDXUTScrollBar& bar = memo->ScrollBar();
  EXPECT_EQ(bar.GetPageSize(), 10);
  EXPECT_EQ(bar.GetTrackStart(), 0);
  EXPECT_EQ(bar.GetTrackEnd(), 30);
  EXPECT_TRUE(dialog.MsgProc(WM_MOUSEWHEEL, MakeWParam(0, -WHEEL_DELTA), MakeLParam(100, 100)));
  EXPECT_EQ(bar.GetTrackPos(), 3);
  memo->ScrollToEnd();
  EXPECT_EQ(bar.GetTrackPos(), 20);
  // A shorter text keeps the position within its range.
  memo->SetText(Lines(15));
  EXPECT_EQ(bar.GetTrackPos(), 5);
}

TEST_F(MemoTest, AFittingTextHasNothingToScroll) {
  CDXUTDialog dialog;
  CDXUTMemo* memo = MakeMemo(dialog, Lines(4));
  CDXUTScrollBar& bar = memo->ScrollBar();
  EXPECT_EQ(bar.GetTrackEnd(), 0);
  EXPECT_FALSE(bar.IsThumbShown());
  dialog.MsgProc(WM_MOUSEWHEEL, MakeWParam(0, -WHEEL_DELTA), MakeLParam(100, 100));
  EXPECT_EQ(bar.GetTrackPos(), 0);
  memo->ScrollToEnd();
  EXPECT_EQ(bar.GetTrackPos(), 0);
}

TEST_F(MemoTest, ScrolledTextIsDrawnLinesHigherAndClippedToTheTextArea) {
  CDXUTDialog dialog;
  CDXUTMemo* memo = MakeMemo(dialog, Lines(30));
  memo->ScrollBar().Scroll(2);
  RenderOnce(dialog);
  const DrawRecord* text = nullptr;
  for (const DrawRecord& r : recorder_.records()) {
    if (r.kind == DrawRecord::Kind::kText && r.colour >> 24 != 0 && (r.colour & 0xFFFFFF) != 0) text = &r;
  }
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text, Lines(30));
  // The frame's centre piece lies inside its 10-pixel border.
  ASSERT_FALSE(Sprites().empty());
  EXPECT_EQ(test::DestOf(*Sprites()[0]), (Rect{30, 30, 310, 180}));
  const Rect area = memo->GetTextRect();
  // The text keeps a 5-pixel border inside the 300 x 170 frame at (20, 20), beside the scroll bar.
  EXPECT_EQ(area, (Rect{25, 25, memo->ScrollBar().GetBoundingBox().left - 5, 185}));
  EXPECT_FLOAT_EQ(text->dest.top, static_cast<float>(area.top - 32));
  ASSERT_TRUE(text->clip.has_value());
  EXPECT_EQ(*text->clip, area);
}

}  // namespace
}  // namespace tr
