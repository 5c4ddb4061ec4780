// The combo box: items and selection, keys, mouse and wheel, open and close.
#include <gtest/gtest.h>

#include <algorithm>

#include "gui/combo_box.h"
#include "gui_fixture.h"
#include "platform/input.h"

namespace tr {
namespace {

using ComboBoxTest = test::GuiFixture;
using Events = std::vector<test::SentEvent>;

constexpr int kId = 60;

CDXUTComboBox* MakeCombo(CDXUTDialog& dialog, int items) {
  CDXUTComboBox* combo = nullptr;
  EXPECT_EQ(dialog.AddComboBox(kId, 10, 10, 200, 30, 0, false, &combo), S_OK);
  for (int i = 0; i < items; ++i) {
    combo->AddItem(std::u16string(u"item ") + static_cast<char16_t>(u'0' + i), static_cast<std::uint32_t>(100 + i));
  }
  return combo;
}

TEST_F(ComboBoxTest, TheFirstItemIsSelectedWithANonUserEvent) {
  CDXUTDialog dialog;
  Listen(dialog);
  dialog.EnableNonUserEvents(true);
  CDXUTComboBox* combo = MakeCombo(dialog, 2);
  EXPECT_EQ(combo->GetSelectedIndex(), 0);
  EXPECT_EQ(combo->GetSelectedData(), 100u);
  EXPECT_EQ(events_, (Events{{GuiEventComboSelectionChanged, kId}}));
  EXPECT_TRUE(sounds_.empty());
}

TEST_F(ComboBoxTest, SelectionByIndexAndDataReportsBadArguments) {
  CDXUTDialog dialog;
  CDXUTComboBox* combo = MakeCombo(dialog, 3);
  EXPECT_EQ(combo->SetSelectedByIndex(-1), E_INVALIDARG);
  EXPECT_EQ(combo->SetSelectedByIndex(3), E_INVALIDARG);
  EXPECT_EQ(combo->GetSelectedIndex(), 0);
  EXPECT_EQ(combo->SetSelectedByData(102), S_OK);
  EXPECT_EQ(combo->GetSelectedIndex(), 2);
  EXPECT_EQ(combo->SetSelectedByData(7), E_FAIL);
  EXPECT_EQ(combo->FindItem(u"item 1"), 1);
  EXPECT_EQ(combo->FindItem(u"item 1", 2), -1);
  EXPECT_EQ(combo->FindItem(u"ITEM 1"), -1);
  EXPECT_EQ(combo->AddItem(std::u16string_view{}, 0), E_INVALIDARG);
  combo->RemoveAllItems();
  EXPECT_EQ(combo->SetSelectedByData(100), E_FAIL);
  EXPECT_EQ(combo->GetSelectedItem(), nullptr);
  EXPECT_EQ(combo->GetSelectedData(), 0u);
}

struct KeyCase {
  int start;
  std::uint32_t key;
  int expected;
  bool sends;
};

class ComboKeyTest : public test::GuiFixture, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(ComboKeyTest, ArrowsMoveTheClosedSelection) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTComboBox* combo = MakeCombo(dialog, 3);
  combo->SetSelectedByIndex(GetParam().start);
  CDXUTDialog::RequestFocus(combo);
  EXPECT_TRUE(Key(dialog, WM_KEYDOWN, GetParam().key));
  EXPECT_EQ(combo->GetSelectedIndex(), GetParam().expected);
  EXPECT_EQ(events_.size(), GetParam().sends ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Keys, ComboKeyTest,
                         ::testing::Values(KeyCase{0, VK_UP, 0, false}, KeyCase{2, VK_DOWN, 2, false},
                                           KeyCase{0, VK_DOWN, 1, true}, KeyCase{2, VK_LEFT, 1, true},
                                           KeyCase{1, VK_RIGHT, 2, true}));

TEST_F(ComboBoxTest, F4OpensAndClosesButIgnoresItsRepeat) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTComboBox* combo = MakeCombo(dialog, 3);
  CDXUTDialog::RequestFocus(combo);
  const std::uint32_t f4 = VK_F1 + 3;
  EXPECT_TRUE(dialog.MsgProc(WM_KEYDOWN, f4, 1));
  EXPECT_TRUE(combo->IsOpened());
  EXPECT_TRUE(dialog.MsgProc(WM_KEYDOWN, f4, 1 | kKeyPreviousStateBit));
  EXPECT_TRUE(combo->IsOpened());
  // Keys move the highlight without reporting while open; Enter commits.
  Key(dialog, WM_KEYDOWN, VK_DOWN);
  EXPECT_TRUE(events_.empty());
  EXPECT_TRUE(dialog.MsgProc(WM_KEYDOWN, f4, 1));
  EXPECT_FALSE(combo->IsOpened());
  // Closing reports the selection even when it did not change.
  EXPECT_EQ(events_, (Events{{GuiEventComboSelectionChanged, kId}}));
  EXPECT_FALSE(Key(dialog, WM_KEYDOWN, VK_RETURN));
}

TEST_F(ComboBoxTest, APressOnAnItemSelectsItAndEmptySpaceClosesQuietly) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTComboBox* combo = MakeCombo(dialog, 2);
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, 50, 20));
  EXPECT_TRUE(combo->IsOpened());
  EXPECT_TRUE(Send(dialog, WM_LBUTTONUP, 50, 20));
  EXPECT_FALSE(HasMouseCapture());
  RenderOnce(dialog);
  // The open list's frame: 25-pixel corners around the drop-down rectangle.
  const Rect& open = combo->GetDropdownRect();
  const Rect corners[2][2] = {{{212, 1957, 237, 1982}, {open.left, open.top, open.left + 25, open.top + 25}},
                              {{262, 2007, 287, 2032}, {open.right - 25, open.bottom - 25, open.right, open.bottom}}};
  for (const auto& [source, dest] : corners) {
    const auto sprites = Sprites();
    const auto found = std::find_if(sprites.begin(), sprites.end(), [&](auto* s) { return s->source == source; });
    ASSERT_NE(found, sprites.end());
    EXPECT_EQ(test::DestOf(**found), dest);
  }
  const sComboBoxItem* second = combo->GetItem(1);
  ASSERT_TRUE(second->visible);
  const int x = second->active.left + 5;
  const int y = second->active.top + 2;
  EXPECT_TRUE(Send(dialog, WM_MOUSEMOVE, x, y));
  EXPECT_EQ(combo->GetFocusedIndex(), 1);
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, x, y));
  EXPECT_EQ(combo->GetSelectedIndex(), 1);
  EXPECT_FALSE(combo->IsOpened());
  EXPECT_EQ(events_, (Events{{GuiEventComboSelectionChanged, kId}}));
  EXPECT_EQ(sounds_, events_);

  Send(dialog, WM_LBUTTONDOWN, 50, 20);
  Send(dialog, WM_LBUTTONUP, 50, 20);
  const Rect& drop = combo->GetDropdownRect();
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, drop.left + 30, drop.bottom - 3));
  EXPECT_FALSE(combo->IsOpened());
  EXPECT_EQ(events_.size(), 1u);
  // A press elsewhere closes an open list and reports.
  Send(dialog, WM_LBUTTONDOWN, 50, 20);
  Send(dialog, WM_LBUTTONUP, 50, 20);
  EXPECT_FALSE(Send(dialog, WM_LBUTTONDOWN, 900, 700));
  EXPECT_FALSE(combo->IsOpened());
  EXPECT_EQ(events_.size(), 2u);
}

struct WheelCase {
  int delta;
  int expected;
};

class ComboWheelTest : public test::GuiFixture, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(ComboWheelTest, TheWheelStepsAClosedBox) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTComboBox* combo = MakeCombo(dialog, 3);
  combo->SetSelectedByIndex(1);
  CDXUTDialog::RequestFocus(combo);
  EXPECT_TRUE(dialog.MsgProc(WM_MOUSEWHEEL, MakeWParam(0, GetParam().delta), MakeLParam(50, 20)));
  EXPECT_EQ(combo->GetSelectedIndex(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Wheel, ComboWheelTest,
                         ::testing::Values(WheelCase{120, 0}, WheelCase{-120, 2}, WheelCase{60, 2}));

TEST_F(ComboBoxTest, HotkeyCyclesAndLosingFocusCloses) {
  CDXUTDialog dialog;
  CDXUTComboBox* combo = MakeCombo(dialog, 2);
  combo->SetSelectedByIndex(1);
  combo->OnHotkey();
  EXPECT_EQ(combo->GetSelectedIndex(), 0);
  Send(dialog, WM_LBUTTONDOWN, 50, 20);
  EXPECT_TRUE(combo->IsOpened());
  // Tab finds no other control to go to: the focus and the open list stay.
  EXPECT_TRUE(Key(dialog, WM_KEYDOWN, VK_TAB));
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), combo);
  EXPECT_TRUE(combo->IsOpened());
  CDXUTDialog::ClearFocus();
  EXPECT_FALSE(combo->IsOpened());
}

struct SliceCase {
  int width;
  std::vector<Rect> dests;
};

class ComboSliceTest : public test::GuiFixture, public ::testing::WithParamInterface<SliceCase> {};

TEST_P(ComboSliceTest, TheBoxIsAThreeSliceWithSquareEnds) {
  CDXUTDialog dialog;
  CDXUTComboBox* combo = nullptr;
  dialog.AddComboBox(kId, 0, 0, GetParam().width, 30, 0, false, &combo);
  RenderOnce(dialog);
  std::vector<Rect> dests;
  for (const DrawRecord* r : Sprites()) dests.push_back(test::DestOf(*r));
  EXPECT_EQ(dests, GetParam().dests);
  // The left end, then the right end with its button.
  EXPECT_EQ(Sprites().front()->source, (Rect{199, 1926, 229, 1956}));
  EXPECT_EQ(Sprites().back()->source, (Rect{259, 1926, 289, 1956}));
  EXPECT_EQ(combo->GetTextRect().right, GetParam().width - 30);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, ComboSliceTest,
    ::testing::Values(SliceCase{40, {Rect{0, 0, 20, 30}, Rect{20, 0, 40, 30}}},
                      SliceCase{100, {Rect{0, 0, 30, 30}, Rect{30, 0, 70, 30}, Rect{70, 0, 100, 30}}}));

}  // namespace
}  // namespace tr
