// The list box: columns and hints, items, keyboard and mouse selection in
// single and multiple mode, drag scrolling and what it draws.
#include <gtest/gtest.h>

#include <map>

#include "foundation/gui_layout.h"
#include "gui/hint_box.h"
#include "gui/list_box.h"
#include "gui_fixture.h"
#include "platform/input.h"

namespace tr {
namespace {

using Events = std::vector<test::SentEvent>;

constexpr int kListId = 700;

// A list box at (0, 0) whose text area is 300 pixels wide and shows 10 rows of 16 pixels.
class ListBoxTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    saved_ = sGuiLayoutTable[kListId];
    sGuiLayoutTable[kListId] = {0, 0, 338, 16 + 12 + 160};
  }
  void TearDown() override {
    sGuiLayoutTable[kListId] = saved_;
    GuiFixture::TearDown();
  }

  CDXUTListBox* Make(CDXUTDialog& dialog, int items, std::uint32_t style = 0) {
    CDXUTListBox* list = nullptr;
    EXPECT_EQ(dialog.AddListBoxAt(kListId, style, &list), S_OK);
    for (int i = 0; i < items; ++i) list->AddItem(u"item", static_cast<std::uint32_t>(i));
    return list;
  }
  // The client y of a row on the page.
  int RowY(const CDXUTListBox& list, int row) const {
    return list.GetTextRect().top + row * list.GetTextHeight() + 2;
  }
  std::vector<int> Selected(const CDXUTListBox& list) const {
    std::vector<int> out;
    for (int i = list.GetSelectedIndex(-1); i != -1; i = list.GetSelectedIndex(i)) out.push_back(i);
    return out;
  }

 private:
  sGuiLayoutEntry saved_{};
};

TEST_F(ListBoxTest, ColumnsTakeTheirShareOfTheTextArea) {
  CDXUTDialog dialog;
  CDXUTListBox* list = Make(dialog, 0);
  ASSERT_EQ(list->GetTextRect().width(), 300);
  list->SetColumns(3, u"A;B|C", 40, 40, 20);
  ASSERT_EQ(list->GetColumns().size(), 3u);
  EXPECT_EQ(list->GetColumns()[0].width, 120);
  EXPECT_EQ(list->GetColumns()[1].width, 120);
  EXPECT_EQ(list->GetColumns()[2].width, 60);
  EXPECT_EQ(list->GetColumns()[2].title, u"C");
  list->SetColumnHints(u"first;second|third");
  EXPECT_EQ(list->GetColumns()[1].hint, u"second");
  // Too few titles: the rest stay empty, nothing is read past the text.
  list->SetColumns(2, u"Only", 50, 50);
  EXPECT_EQ(list->GetColumns()[1].title, u"");
}

TEST_F(ListBoxTest, ItemsAreCutAndRemovingAllResetsTheSelection) {
  CDXUTDialog dialog;
  CDXUTListBox* list = Make(dialog, 0, kListBoxMultiSelection);
  list->AddItem(std::u16string(300, u'x'), 1);
  EXPECT_EQ(list->GetItem(0)->text.size(), 255u);
  EXPECT_EQ(list->GetItem(1), nullptr);
  list->AddItem(u"b", 2);
  list->AddItem(u"c", 3);
  list->SelectItem(2, false);
  list->RemoveAllItems();
  EXPECT_EQ(list->GetSelectedIndex(-1), -1);
  EXPECT_EQ(list->GetSelectionStart(), 0);
  list->AddItem(u"a", 1);
  list->AddItem(u"b", 2);
  // A Shift range after the refill starts from the top, not from a vanished anchor.
  HoldKey(VK_SHIFT, true);
  CDXUTDialog::RequestFocus(list);
  Key(dialog, WM_KEYDOWN, VK_DOWN);
  HoldKey(VK_SHIFT, false);
  EXPECT_EQ(Selected(*list), (std::vector<int>{0}));
}

TEST_F(ListBoxTest, AnEmptyListConsumesArrowsAndSelectsNothing) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTListBox* list = Make(dialog, 0);
  CDXUTDialog::RequestFocus(list);
  EXPECT_TRUE(Key(dialog, WM_KEYDOWN, VK_DOWN));
  list->SelectItem(3);
  EXPECT_FALSE(Send(dialog, WM_LBUTTONDOWN, 50, 40));
  EXPECT_TRUE(events_.empty());
  EXPECT_EQ(list->GetSelectedIndex(-1), -1);
}

struct KeyCase {
  int start;
  std::uint32_t key;
  int expected;
};

class ListBoxKeyTest : public ListBoxTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(ListBoxKeyTest, KeysMoveTheSelection) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTListBox* list = Make(dialog, 50);
  list->SelectItem(GetParam().start, false);
  CDXUTDialog::RequestFocus(list);
  EXPECT_TRUE(Key(dialog, WM_KEYDOWN, GetParam().key));
  EXPECT_EQ(list->GetSelectedIndex(), GetParam().expected);
  const Events expected = GetParam().start == GetParam().expected ? Events{} : Events{{GuiEventListSelection, kListId}};
  EXPECT_EQ(events_, expected);
  // Releasing the key moves nothing further.
  Key(dialog, WM_KEYUP, GetParam().key);
  EXPECT_EQ(list->GetSelectedIndex(), GetParam().expected);
  EXPECT_EQ(events_, expected);
  const int top = list->ScrollBar().GetTrackPos();
  EXPECT_TRUE(GetParam().expected >= top && GetParam().expected < top + 10);
}

INSTANTIATE_TEST_SUITE_P(Keys, ListBoxKeyTest,
                         ::testing::Values(KeyCase{3, VK_NEXT, 12}, KeyCase{12, VK_PRIOR, 3}, KeyCase{3, VK_PRIOR, 0},
                                           KeyCase{0, VK_UP, 0}, KeyCase{49, VK_DOWN, 49}, KeyCase{5, VK_END, 49},
                                           KeyCase{40, VK_HOME, 0}, KeyCase{7, VK_DOWN, 8}));

TEST_F(ListBoxTest, ShiftDownFromAnchorTwoWithFourCurrentSelectsTwoToFive) {
  CDXUTDialog dialog;
  CDXUTListBox* list = Make(dialog, 10, kListBoxMultiSelection);
  list->SelectItem(2, false);
  // A Shift click on row 4 keeps the anchor at 2 and makes 4 the current item.
  Send(dialog, WM_LBUTTONDOWN, 50, RowY(*list, 4), MK_SHIFT);
  EXPECT_EQ(list->GetSelectionStart(), 2);
  HoldKey(VK_SHIFT, true);
  Key(dialog, WM_KEYDOWN, VK_DOWN);
  HoldKey(VK_SHIFT, false);
  EXPECT_EQ(Selected(*list), (std::vector<int>{2, 3, 4, 5}));
}

TEST_F(ListBoxTest, CtrlClickTogglesOneAndAPlainClickLeavesOne) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTListBox* list = Make(dialog, 10, kListBoxMultiSelection);
  Send(dialog, WM_LBUTTONDOWN, 50, RowY(*list, 1));
  Send(dialog, WM_LBUTTONUP, 50, RowY(*list, 1));
  Send(dialog, WM_LBUTTONDOWN, 50, RowY(*list, 3), MK_CONTROL);
  Send(dialog, WM_LBUTTONUP, 50, RowY(*list, 3));
  EXPECT_EQ(Selected(*list), (std::vector<int>{1, 3}));
  Send(dialog, WM_LBUTTONDOWN, 50, RowY(*list, 3), MK_CONTROL);
  Send(dialog, WM_LBUTTONUP, 50, RowY(*list, 3));
  EXPECT_EQ(Selected(*list), (std::vector<int>{1}));
  Send(dialog, WM_LBUTTONDOWN, 50, RowY(*list, 6));
  Send(dialog, WM_LBUTTONUP, 50, RowY(*list, 6));
  EXPECT_EQ(Selected(*list), (std::vector<int>{6}));
  EXPECT_EQ(events_.size(), 4u);
}

TEST_F(ListBoxTest, DoubleClickSendsWithSoundAndTitleRowAndEmptyAreaSelectNothing) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTListBox* list = Make(dialog, 3);
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, 50, list->GetHeaderRect().top + 2));
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, 50, RowY(*list, 7)));
  EXPECT_EQ(list->GetSelectedIndex(), -1);
  EXPECT_TRUE(events_.empty());
  EXPECT_FALSE(Send(dialog, WM_LBUTTONUP, 50, RowY(*list, 7)));  // the release goes on past the dialog
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDBLCLK, 50, RowY(*list, 1)));
  Send(dialog, WM_LBUTTONUP, 50, RowY(*list, 1));
  EXPECT_EQ(events_, (Events{{GuiEventListDoubleClick, kListId}}));
  EXPECT_EQ(sounds_, events_);
}

// A click in the empty area below the last of 3 items, on the row just below
// it or further down, keeps the selection there was and sends nothing.
struct EmptyAreaCase {
  int row;
  std::uint32_t style;
};
class ListBoxEmptyAreaTest : public ListBoxTest, public testing::WithParamInterface<EmptyAreaCase> {};

TEST_P(ListBoxEmptyAreaTest, AClickChangesNoSelection) {
  CDXUTDialog dialog;
  CDXUTListBox* list = Make(dialog, 3, GetParam().style);
  Send(dialog, WM_LBUTTONDOWN, 50, RowY(*list, 1));
  Send(dialog, WM_LBUTTONUP, 50, RowY(*list, 1));
  Listen(dialog);
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, 50, RowY(*list, GetParam().row)));
  Send(dialog, WM_LBUTTONUP, 50, RowY(*list, GetParam().row));
  EXPECT_EQ(list->GetSelectedIndex(), 1);
  if (GetParam().style == kListBoxMultiSelection) {
    EXPECT_EQ(Selected(*list), (std::vector<int>{1}));
  }
  EXPECT_TRUE(events_.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, ListBoxEmptyAreaTest,
                         testing::Values(EmptyAreaCase{3, 0}, EmptyAreaCase{7, 0},
                                         EmptyAreaCase{3, kListBoxMultiSelection},
                                         EmptyAreaCase{7, kListBoxMultiSelection}));

TEST_F(ListBoxTest, ADragShowsTheRowsPassedOverInTheAnchorsStateUntilTheRelease) {
  CDXUTDialog dialog;
  CDXUTListBox* list = Make(dialog, 10, kListBoxMultiSelection);
  const auto highlighted = [&] {
    RenderOnce(dialog);
    std::vector<int> rows;
    for (const DrawRecord* sprite : Sprites()) {
      if (sprite->source != Rect{350, 2011, 375, 2036}) continue;  // the selection band
      rows.push_back((test::DestOf(*sprite).top - list->GetTextRect().top) / list->GetTextHeight());
    }
    return rows;
  };
  Send(dialog, WM_LBUTTONDOWN, 50, RowY(*list, 5));
  // The row under the pointer keeps its own state until the release, both ways.
  Send(dialog, WM_MOUSEMOVE, 50, RowY(*list, 8));
  EXPECT_EQ(highlighted(), (std::vector<int>{5, 6, 7}));
  Send(dialog, WM_MOUSEMOVE, 50, RowY(*list, 2));
  EXPECT_EQ(highlighted(), (std::vector<int>{3, 4, 5}));
  Send(dialog, WM_LBUTTONUP, 50, RowY(*list, 2));
  EXPECT_EQ(Selected(*list), (std::vector<int>{2, 3, 4, 5}));
  EXPECT_EQ(highlighted(), (std::vector<int>{2, 3, 4, 5}));
}

TEST_F(ListBoxTest, DraggingBelowThePageScrollsOneRowPerMoveQuietly) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTListBox* list = Make(dialog, 30);
  Send(dialog, WM_LBUTTONDOWN, 50, RowY(*list, 2));
  EXPECT_TRUE(list->IsDragging());
  Send(dialog, WM_MOUSEMOVE, 50, RowY(*list, 12));
  EXPECT_EQ(list->ScrollBar().GetTrackPos(), 1);
  EXPECT_EQ(list->GetSelectedIndex(), 10);
  Send(dialog, WM_MOUSEMOVE, 50, RowY(*list, 12));
  EXPECT_EQ(list->ScrollBar().GetTrackPos(), 2);
  EXPECT_EQ(list->GetSelectedIndex(), 11);
  Send(dialog, WM_LBUTTONUP, 50, RowY(*list, 12));
  EXPECT_FALSE(list->IsDragging());
  // One press with sound; the drag and the release go to the callback without it.
  EXPECT_EQ(events_.size(), 4u);
  EXPECT_EQ(sounds_, (Events{{GuiEventListSelection, kListId}}));
}

TEST_F(ListBoxTest, HoverFollowsColumnsAndShowsTheirHints) {
  CDXUTDialog dialog;
  CDXUTListBox* list = Make(dialog, 3);
  list->SetColumns(2, u"A;B", 50, 50);
  list->SetColumnHints(u"left hint;right hint");
  const int y = RowY(*list, 0);
  const int left = list->GetTextRect().left;
  Send(dialog, WM_MOUSEMOVE, left + 20, y);
  EXPECT_EQ(list->GetHoveredColumn(), 0);
  EXPECT_EQ(list->GetHoveredRow(), 0);
  EXPECT_EQ(GetHintBox().GetText(), u"left hint");
  Send(dialog, WM_MOUSEMOVE, left + 200, y);
  EXPECT_EQ(list->GetHoveredColumn(), 1);
  EXPECT_EQ(GetHintBox().GetText(), u"right hint");
  Send(dialog, WM_MOUSEMOVE, 900, 700);
  EXPECT_EQ(list->GetHoveredRow(), -1);
  EXPECT_EQ(list->GetHoveredColumn(), -1);
}

TEST_F(ListBoxTest, CellsAreDrawnInTheirColumnsAndOneColumnShowsTheWholeText) {
  CDXUTDialog dialog;
  CDXUTListBox* list = Make(dialog, 0);
  list->AddItem(u"Alpha;12|x", 0);
  list->SetColumns(3, u"A;B;C", 40, 40, 20);
  RenderOnce(dialog);
  const DrawRecord* alpha = recorder_.FindText(u"Alpha");
  const DrawRecord* twelve = recorder_.FindText(u"12");
  ASSERT_NE(alpha, nullptr);
  ASSERT_NE(twelve, nullptr);
  EXPECT_EQ(alpha->flags & DT_CENTER, 0u);
  EXPECT_NE(twelve->flags & DT_CENTER, 0u);
  EXPECT_NEAR(twelve->dest.left - alpha->dest.left, 120.0f, 0.5f);
  // Each of the two dividers is a header piece, a body piece and a foot piece.
  std::map<std::pair<int, int>, int> pieces;
  for (const DrawRecord* r : Sprites()) {
    if (r->source.left == 425) ++pieces[{r->source.top, r->source.bottom}];
  }
  EXPECT_EQ(pieces, (std::map<std::pair<int, int>, int>{{{1936, 1961}, 2}, {{1961, 1986}, 2}, {{1986, 2011}, 2}}));
  list->SetColumns(1, u"A", 100);
  RenderOnce(dialog);
  EXPECT_NE(recorder_.FindText(u"Alpha;12|x"), nullptr);
}

}  // namespace
}  // namespace tr
