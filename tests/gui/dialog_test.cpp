// The dialog: adders and the layout table, events, hotkeys, focus cycling,
// layout drag, the caption, and closing from inside a callback.
#include <gtest/gtest.h>

#include "foundation/gui_layout.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/combo_box.h"
#include "gui/edit_box.h"
#include "gui/gui_hooks.h"
#include "gui/hint_box.h"
#include "gui/static.h"
#include "gui_fixture.h"
#include "support/log_capture.h"

namespace tr {
namespace {

// Sets layout entries for one test and puts the old values back.
class LayoutEntries {
 public:
  void Set(int id, int x, int y, int w, int h) {
    saved_.push_back({id, sGuiLayoutTable[id]});
    sGuiLayoutTable[id] = {x, y, w, h};
  }
  ~LayoutEntries() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) sGuiLayoutTable[it->first] = it->second;
  }

 private:
  std::vector<std::pair<int, sGuiLayoutEntry>> saved_;
};

using DialogTest = test::GuiFixture;

TEST_F(DialogTest, AddButtonAtTakesItsLayoutEntry) {
  LayoutEntries layout;
  layout.Set(12, 100, 200, 50, 20);
  CDXUTDialog dialog;
  CDXUTButton* button = nullptr;
  ASSERT_EQ(dialog.AddButtonAt(12, u"OK", u"ok_hint", 'O', &button), S_OK);
  EXPECT_EQ(button->GetBoundingBox(), (Rect{100, 200, 150, 220}));
  EXPECT_EQ(button->GetHint(), u"ok_hint");
  EXPECT_FALSE(button->IsDefault());
  EXPECT_EQ(dialog.GetControl(12), button);
  EXPECT_EQ(button->GetElementCount(), 6);
}

class LayoutIdTest : public test::GuiFixture, public ::testing::WithParamInterface<int> {};

TEST_P(LayoutIdTest, IdsOutsideTheTableAreRefusedAndLogged) {
  test::LogCapture log;
  CDXUTDialog dialog;
  EXPECT_EQ(dialog.AddButtonAt(GetParam(), u"x"), E_INVALIDARG);
  EXPECT_EQ(dialog.AddStaticAt(GetParam(), u"x"), E_INVALIDARG);
  EXPECT_TRUE(dialog.Controls().empty());
  EXPECT_TRUE(log.ContainsText(u"outside the layout table"));
}

INSTANTIATE_TEST_SUITE_P(Ids, LayoutIdTest, ::testing::Values(-1, 1500, 100000));

TEST_F(DialogTest, TheFirstAndLastLayoutEntriesAreUsable) {
  LayoutEntries layout;
  layout.Set(0, 1, 2, 30, 40);
  layout.Set(kGuiLayoutEntryCount - 1, 5, 6, 70, 80);
  CDXUTDialog dialog;
  CDXUTButton *first = nullptr, *last = nullptr;
  ASSERT_EQ(dialog.AddButtonAt(0, u"x", {}, 0, &first), S_OK);
  ASSERT_EQ(dialog.AddButtonAt(kGuiLayoutEntryCount - 1, u"y", {}, 0, &last), S_OK);
  EXPECT_EQ(first->GetBoundingBox(), (Rect{1, 2, 31, 42}));
  EXPECT_EQ(last->GetBoundingBox(), (Rect{5, 6, 75, 86}));
}

TEST_F(DialogTest, AnUnsetLayoutEntryIsWarnedOnce) {
  LayoutEntries layout;
  layout.Set(1499, -1, -1, -1, -1);
  test::LogCapture log;
  CDXUTDialog dialog;
  EXPECT_EQ(dialog.AddStaticAt(1499, u"a"), S_OK);
  EXPECT_EQ(dialog.AddStaticAt(1499, u"b"), S_OK);
  int warnings = 0;
  for (const auto& line : log.lines()) warnings += line == u"GUI layout: entry 1499 is not set in the layout file";
  EXPECT_LE(warnings, 1);  // once per program run, so an earlier test may have had it
}

TEST_F(DialogTest, NegativeSlotsAreRefusedAndEmptySlotsDrawNothing) {
  CDXUTDialog dialog;
  EXPECT_EQ(dialog.SetTexture(-1, u"x.png"), E_INVALIDARG);
  EXPECT_EQ(dialog.SetFont(-2, u"Arial", 10, 400), E_INVALIDARG);
  EXPECT_EQ(dialog.SetTexture(3, u"data\\gfx\\GUI.png"), S_OK);
  EXPECT_EQ(dialog.GetTextureIndex(2), -1);
  CDXUTButton* button = nullptr;
  dialog.AddButton(1, u"", 0, 0, 100, 30, 0, false, &button);
  for (int i = 0; i < button->GetElementCount(); ++i) button->GetElement(i)->texture_index = -1;
  RenderOnce(dialog);
  EXPECT_TRUE(Sprites().empty());
}

TEST_F(DialogTest, CheckBoxAddedCheckedSendsOnlyWithNonUserEvents) {
  CDXUTDialog quiet;
  Listen(quiet);
  quiet.AddCheckBox(1, u"c", 0, 0, 100, 20, true);
  EXPECT_TRUE(events_.empty());
  CDXUTDialog loud;
  Listen(loud);
  loud.EnableNonUserEvents(true);
  loud.AddCheckBox(2, u"c", 0, 0, 100, 20, true);
  EXPECT_EQ(events_, (std::vector<test::SentEvent>{{GuiEventCheckChanged, 2}}));
  EXPECT_TRUE(sounds_.empty());
}

TEST_F(DialogTest, UserEventsPlayTheSoundFirstUnlessSilenced) {
  CDXUTDialog dialog;
  std::vector<std::string> order;
  SetGuiSoundHook([&](std::uint32_t, int, CDXUTControl*) { order.push_back("sound"); });
  dialog.SetCallback([&](std::uint32_t, int, CDXUTControl*) { order.push_back("callback"); });
  CDXUTButton* button = nullptr;
  dialog.AddButton(5, u"b", 0, 0, 50, 20, 0, false, &button);
  dialog.SendEvent(GuiEventButtonClicked, true, button);
  dialog.SendEvent(GuiEventButtonClicked, true, button, false);
  EXPECT_EQ(order, (std::vector<std::string>{"sound", "callback", "callback"}));
}

struct HotkeyCase {
  const char* name;
  bool visible;
  bool enabled;
  bool edit_focused;
  bool fires;
};

class HotkeyTest : public test::GuiFixture, public ::testing::WithParamInterface<HotkeyCase> {};

// An edit box stands in for the second toolkit part's control: only its type matters here.
class FakeEditBox : public CDXUTControl {
 public:
  explicit FakeEditBox(CDXUTDialog* d) : CDXUTControl(d) { type_ = kControlEditBox; }
  bool CanHaveFocus() override { return true; }
};

TEST_P(HotkeyTest, FiresOnKeyUpOnly) {
  const HotkeyCase& c = GetParam();
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTButton* button = nullptr;
  dialog.AddButton(7, u"b", 0, 0, 50, 20, 'H', false, &button);
  button->SetVisible(c.visible);
  button->SetEnabled(c.enabled);
  if (c.edit_focused) {
    auto edit = std::make_unique<FakeEditBox>(&dialog);
    FakeEditBox* raw = edit.get();
    ASSERT_EQ(dialog.AddControl(std::move(edit)), S_OK);
    CDXUTDialog::RequestFocus(raw);
  }
  EXPECT_FALSE(Key(dialog, WM_KEYDOWN, 'H'));
  EXPECT_TRUE(events_.empty());
  EXPECT_EQ(Key(dialog, WM_KEYUP, 'H'), c.fires);
  EXPECT_EQ(events_.size(), c.fires ? 1u : 0u);
  EXPECT_EQ(sounds_.size(), c.fires ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, HotkeyTest,
                         ::testing::Values(HotkeyCase{"plain", true, true, false, true},
                                           HotkeyCase{"hidden", false, true, false, false},
                                           HotkeyCase{"disabled", true, false, false, false},
                                           HotkeyCase{"typing", true, true, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, TabCyclesFocusAndWrapsAcrossChainedDialogs) {
  CDXUTDialog first;
  CDXUTDialog second;
  first.SetNextDialog(&second);
  second.SetNextDialog(&first);
  CDXUTButton *a = nullptr, *b = nullptr, *c = nullptr;
  first.AddButton(1, u"a", 0, 0, 10, 10, 0, true, &a);
  first.AddButton(2, u"b", 0, 20, 10, 10, 0, false, &b);
  first.AddStatic(3, u"label", 0, 40, 10, 10);  // cannot take focus
  second.AddButton(4, u"c", 0, 0, 10, 10, 0, false, &c);

  EXPECT_TRUE(Key(first, WM_KEYDOWN, VK_TAB));  // no focus yet: the default control
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), a);
  EXPECT_TRUE(Key(first, WM_KEYDOWN, VK_TAB));
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), b);
  EXPECT_TRUE(Key(first, WM_KEYDOWN, VK_TAB));
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), c);
  EXPECT_TRUE(c->HasFocus());
  EXPECT_FALSE(b->HasFocus());
  EXPECT_TRUE(Key(second, WM_KEYDOWN, VK_TAB));
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), a);

  HoldKey(VK_SHIFT, true);
  EXPECT_TRUE(Key(first, WM_KEYDOWN, VK_TAB));
  HoldKey(VK_SHIFT, false);
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), c);
}

TEST_F(DialogTest, TabWithoutFocusGoesToTheDefaultComboBoxOrEditBox) {
  for (const bool combo_default : {true, false}) {
    CDXUTDialog dialog;
    CDXUTComboBox* combo = nullptr;
    CDXUTEditBox* edit = nullptr;
    dialog.AddComboBox(1, 0, 0, 100, 20, 0, combo_default, &combo);
    dialog.AddEditBox(2, u"", 0, 30, 100, 20, !combo_default, &edit);
    EXPECT_TRUE(Key(dialog, WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(CDXUTDialog::GetFocusedControl(),
              combo_default ? static_cast<CDXUTControl*>(combo) : static_cast<CDXUTControl*>(edit));
    CDXUTDialog::ClearFocus();
  }
}

TEST_F(DialogTest, ADialogChainedToItselfWrapsToItsFirstControl) {
  CDXUTDialog dialog;
  CDXUTButton *a = nullptr, *b = nullptr;
  dialog.AddButton(1, u"a", 0, 0, 10, 10, 0, false, &a);
  dialog.AddButton(2, u"b", 0, 20, 10, 10, 0, false, &b);
  CDXUTDialog::RequestFocus(b);
  EXPECT_TRUE(Key(dialog, WM_KEYDOWN, VK_RIGHT));
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), a);
  EXPECT_TRUE(Key(dialog, WM_KEYDOWN, VK_UP));
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), b);
}

TEST_F(DialogTest, WithoutControlsTabDoesNothingAndArrowsAreNotConsumed) {
  CDXUTDialog dialog;
  EXPECT_TRUE(Key(dialog, WM_KEYDOWN, VK_TAB));
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), nullptr);
  EXPECT_FALSE(Key(dialog, WM_KEYDOWN, VK_LEFT));
  EXPECT_FALSE(Key(dialog, WM_KEYDOWN, VK_DOWN));
}

class LayoutDragTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    dialog_.AddButton(9, u"drag", 100, 100, 40, 20, 0, false, &button_);
    button_->SetDraggable(true);
    Send(dialog_, WM_MOUSEMOVE, 110, 110);
    ASSERT_EQ(dialog_.GetControlUnderMouse(), button_);
    Send(dialog_, WM_LBUTTONDOWN, 110, 110);
  }
  CDXUTDialog dialog_;
  CDXUTButton* button_ = nullptr;
};

TEST_F(LayoutDragTest, MovesInFiveStepsOnceTenPixelsAway) {
  EXPECT_FALSE(Send(dialog_, WM_MOUSEMOVE, 119, 110));
  EXPECT_EQ(button_->x(), 100);
  EXPECT_TRUE(Send(dialog_, WM_MOUSEMOVE, 120, 110));
  EXPECT_EQ(button_->x(), 110);
  EXPECT_TRUE(Send(dialog_, WM_MOUSEMOVE, 123, 110));
  EXPECT_EQ(button_->x(), 110);
  EXPECT_TRUE(Send(dialog_, WM_MOUSEMOVE, 127, 110));
  EXPECT_EQ(button_->x(), 115);
  EXPECT_TRUE(Send(dialog_, WM_LBUTTONUP, 127, 110));
  EXPECT_FALSE(Send(dialog_, WM_MOUSEMOVE, 160, 110));
  EXPECT_EQ(button_->x(), 115);
}

TEST_F(LayoutDragTest, ARefusingHookRollsTheControlBack) {
  std::vector<Rect> offered;
  std::vector<std::pair<int, int>> moves;
  SetControlMovedHook([&](CDXUTDialog*, int id, const Rect& box, int dx, int dy) {
    EXPECT_EQ(id, 9);
    offered.push_back(box);
    moves.emplace_back(dx, dy);
    return false;
  });
  EXPECT_TRUE(Send(dialog_, WM_MOUSEMOVE, 110, 125));
  ASSERT_EQ(offered.size(), 1u);
  EXPECT_EQ(offered[0], (Rect{100, 115, 140, 135}));
  EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{0, 15}}));
  EXPECT_EQ(button_->GetBoundingBox(), (Rect{100, 100, 140, 120}));
  Send(dialog_, WM_LBUTTONUP, 110, 125);
}

TEST_F(DialogTest, CaptionClickTogglesMinimisedOnReleaseInsideTheBar) {
  CDXUTDialog dialog;
  dialog.SetLocation(100, 100);
  dialog.SetSize(200, 100);
  dialog.EnableCaption(true);
  CDXUTButton* button = nullptr;
  dialog.AddButton(1, u"b", 0, 0, 200, 100, 0, false, &button);
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, 150, 105));
  EXPECT_FALSE(dialog.GetMinimized());
  EXPECT_FALSE(Send(dialog, WM_LBUTTONUP, 150, 130));  // outside the bar: no toggle
  EXPECT_FALSE(dialog.GetMinimized());
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, 150, 105));
  EXPECT_TRUE(Send(dialog, WM_LBUTTONUP, 150, 110));
  EXPECT_TRUE(dialog.GetMinimized());
  EXPECT_FALSE(Send(dialog, WM_LBUTTONDOWN, 150, 150));  // nothing is hit while minimised
  EXPECT_FALSE(button->IsPressed());
  // The bar runs from the dialog's first column to its last.
  EXPECT_FALSE(Send(dialog, WM_LBUTTONDOWN, 99, 105));
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, 100, 105));
  EXPECT_TRUE(Send(dialog, WM_LBUTTONUP, 100, 108));
  EXPECT_FALSE(dialog.GetMinimized());
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, 299, 105));
  EXPECT_TRUE(Send(dialog, WM_LBUTTONUP, 299, 108));
  EXPECT_TRUE(dialog.GetMinimized());
}

TEST_F(DialogTest, BackgroundCornersKeepTheirOwnColours) {
  CDXUTDialog dialog;
  dialog.SetLocation(30, 40);
  dialog.SetSize(200, 100);
  dialog.SetBackgroundColors(0xC0102030u, 0xC0405060u, 0xC0708090u, 0xC0A0B0C0u);
  RenderOnce(dialog);
  const auto quads = recorder_.OfKind(DrawRecord::Kind::kQuad);
  ASSERT_EQ(quads.size(), 1u);
  EXPECT_EQ(std::vector<Argb>(std::begin(quads[0]->corner_colours), std::end(quads[0]->corner_colours)),
            (std::vector<Argb>{0xC0102030u, 0xC0405060u, 0xC0708090u, 0xC0A0B0C0u}));
}

TEST_F(DialogTest, ADialogWithoutMouseInputIgnoresClicksUntilItIsTurnedBackOn) {
  CDXUTDialog dialog;
  Listen(dialog);
  dialog.AddButton(3, u"b", 0, 0, 50, 20);
  dialog.EnableMouseInput(false);
  EXPECT_FALSE(Send(dialog, WM_LBUTTONDOWN, 10, 10));
  EXPECT_FALSE(Send(dialog, WM_LBUTTONUP, 10, 10));
  EXPECT_TRUE(events_.empty());
  dialog.EnableMouseInput(true);
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, 10, 10));
  EXPECT_TRUE(Send(dialog, WM_LBUTTONUP, 10, 10));
  EXPECT_EQ(events_, (std::vector<test::SentEvent>{{GuiEventButtonClicked, 3}}));
}

TEST_F(DialogTest, RemovingTheControlUnderTheMouseClearsTheHint) {
  CDXUTDialog dialog;
  CDXUTStatic* label = nullptr;
  dialog.AddStatic(3, u"label", 0, 0, 100, 20, false, &label);
  label->SetHint(u"a hint");
  Send(dialog, WM_MOUSEMOVE, 10, 10);
  EXPECT_EQ(dialog.GetControlUnderMouse(), nullptr);  // a disabled static is no hint source
  label->SetEnabled(true);
  Send(dialog, WM_MOUSEMOVE, 11, 10);
  EXPECT_EQ(dialog.GetControlUnderMouse(), label);
  EXPECT_EQ(GetHintBox().GetText(), u"a hint");
  dialog.RemoveControl(3);
  EXPECT_EQ(dialog.GetControlUnderMouse(), nullptr);
  EXPECT_EQ(GetHintBox().GetControl(), nullptr);
  EXPECT_TRUE(GetHintBox().GetText().empty());
}

TEST_F(DialogTest, ADialogClosedFromItsOwnCallbackIsDestroyedAfterTheDispatch) {
  auto dialog = std::make_unique<CDXUTDialog>();
  CDXUTDialog* raw = dialog.get();
  raw->AddButton(1, u"close", 0, 0, 50, 20);
  bool destroyed_in_callback = false;
  raw->SetCallback([&](std::uint32_t, int, CDXUTControl* control) {
    CDXUTDialog::DestroyAfterDispatch(std::move(dialog));
    // Still alive here: the button that sent the event is read after the callback returns.
    destroyed_in_callback = control->GetDialog() != raw;
  });
  EXPECT_TRUE(Send(*raw, WM_LBUTTONDOWN, 10, 10));
  EXPECT_TRUE(Send(*raw, WM_LBUTTONUP, 10, 10));
  EXPECT_FALSE(destroyed_in_callback);
  EXPECT_EQ(dialog, nullptr);
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), nullptr);
}

TEST_F(DialogTest, ADialogClosedOutsideAnyDispatchIsDestroyedAtOnce) {
  auto dialog = std::make_unique<CDXUTDialog>();
  CDXUTButton* button = nullptr;
  dialog->AddButton(1, u"b", 0, 0, 50, 20, 0, false, &button);
  CDXUTDialog::RequestFocus(button);
  ASSERT_EQ(CDXUTDialog::GetFocusedControl(), button);
  CDXUTDialog::DestroyAfterDispatch(std::move(dialog));
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), nullptr);  // its controls are gone with it
}

}  // namespace
}  // namespace tr
