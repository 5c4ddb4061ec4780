// Buttons, check boxes, radio buttons, icons and images: their press logic,
// the events they send and what they draw.
#include <gtest/gtest.h>

#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/icon.h"
#include "gui/image.h"
#include "gui/static.h"
#include "gui_fixture.h"
#include "platform/input.h"
#include "platform/texture.h"

namespace tr {
namespace {

using ControlsTest = test::GuiFixture;
using Events = std::vector<test::SentEvent>;

TEST_F(ControlsTest, ButtonPressedAndReleasedInsideClicksOnceWithSound) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTButton* button = nullptr;
  dialog.AddButton(40, u"Go", 10, 10, 100, 30, 0, false, &button);
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, 20, 20));
  EXPECT_TRUE(button->IsPressed());
  EXPECT_TRUE(HasMouseCapture());
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), button);
  EXPECT_TRUE(Send(dialog, WM_LBUTTONUP, 25, 22));
  EXPECT_EQ(events_, (Events{{GuiEventButtonClicked, 40}}));
  EXPECT_EQ(sounds_, (Events{{GuiEventButtonClicked, 40}}));
  EXPECT_FALSE(HasMouseCapture());
}

TEST_F(ControlsTest, ButtonReleasedOutsideSendsNothingButReleasesCapture) {
  CDXUTDialog dialog;
  Listen(dialog);
  dialog.AddButton(40, u"Go", 10, 10, 100, 30);
  Send(dialog, WM_LBUTTONDOWN, 20, 20);
  EXPECT_TRUE(Send(dialog, WM_LBUTTONUP, 300, 300));
  EXPECT_TRUE(events_.empty());
  EXPECT_FALSE(HasMouseCapture());
}

TEST_F(ControlsTest, SpaceClicksOnReleaseAndALoneReleaseIsConsumedQuietly) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTButton* button = nullptr;
  dialog.AddButton(41, u"Go", 0, 0, 100, 30, 0, true, &button);
  CDXUTDialog::RequestFocus(button);
  EXPECT_TRUE(Key(dialog, WM_KEYUP, VK_SPACE));
  EXPECT_TRUE(events_.empty());
  EXPECT_TRUE(Key(dialog, WM_KEYDOWN, VK_SPACE));
  EXPECT_TRUE(events_.empty());
  EXPECT_TRUE(Key(dialog, WM_KEYUP, VK_SPACE));
  EXPECT_EQ(events_, (Events{{GuiEventButtonClicked, 41}}));
}

TEST_F(ControlsTest, DisabledButtonsAreHitButIgnored) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTButton* button = nullptr;
  dialog.AddButton(42, u"No", 0, 0, 100, 30, 0, false, &button);
  button->SetEnabled(false);
  button->SetHint(u"why not");
  EXPECT_FALSE(Send(dialog, WM_LBUTTONDOWN, 5, 5));
  EXPECT_FALSE(Send(dialog, WM_LBUTTONUP, 5, 5));
  EXPECT_TRUE(events_.empty());
  Send(dialog, WM_MOUSEMOVE, 6, 6);
  EXPECT_EQ(dialog.GetControlUnderMouse(), button);  // so the hint says why
}

struct CapCase {
  int width;
  std::vector<Rect> dests;  // left cap, right cap, middle
};

class ButtonCapsTest : public test::GuiFixture, public ::testing::WithParamInterface<CapCase> {};

TEST_P(ButtonCapsTest, DrawsTheThreeSliceFace) {
  CDXUTDialog dialog;
  dialog.SetLocation(50, 60);
  dialog.AddButton(1, u"", 10, 20, GetParam().width, 30);
  RenderOnce(dialog);
  const auto sprites = Sprites();
  ASSERT_EQ(sprites.size(), GetParam().dests.size());
  for (std::size_t i = 0; i < sprites.size(); ++i) {
    EXPECT_EQ(test::DestOf(*sprites[i]), GetParam().dests[i]) << i;
    EXPECT_EQ(sprites[i]->colour, 0xFFFFFFFFu) << i;
    EXPECT_FLOAT_EQ(sprites[i]->depth, 0.2f);
  }
  EXPECT_EQ(sprites[0]->source, (Rect{136, 1926, 141, 1956}));
  EXPECT_EQ(sprites[1]->source, (Rect{146, 1926, 151, 1956}));
}

INSTANTIATE_TEST_SUITE_P(
    Widths, ButtonCapsTest,
    ::testing::Values(CapCase{9, {{60, 80, 64, 110}, {65, 80, 69, 110}}},
                      CapCase{100, {{60, 80, 65, 110}, {155, 80, 160, 110}, {65, 80, 155, 110}}}));

TEST_F(ControlsTest, AButtonHasItsSixSlicesAndNoElementPastThem) {
  CDXUTDialog dialog;
  CDXUTButton* button = nullptr;
  dialog.AddButton(1, u"", 0, 0, 100, 30, 0, false, &button);
  ASSERT_EQ(button->GetElementCount(), 6);
  EXPECT_NE(button->GetElement(5), nullptr);
  EXPECT_EQ(button->GetElement(6), nullptr);
  EXPECT_EQ(button->GetElement(-3), nullptr);
}

TEST_F(ControlsTest, PressedButtonDrawsThePressedSlicesAtOnce) {
  CDXUTDialog dialog;
  CDXUTButton* button = nullptr;
  dialog.AddButton(1, u"", 0, 0, 100, 30, 0, false, &button);
  Send(dialog, WM_LBUTTONDOWN, 10, 10);
  RenderOnce(dialog, 0.0f);
  const auto sprites = Sprites();
  ASSERT_EQ(sprites.size(), 3u);
  EXPECT_EQ(sprites[0]->source, (Rect{152, 1926, 157, 1956}));
  EXPECT_EQ(sprites[2]->source, (Rect{157, 1926, 162, 1956}));
  EXPECT_EQ(sprites[0]->colour, 0xFFFFFFFFu);
}

TEST_F(ControlsTest, CheckBoxGeometry) {
  CDXUTDialog dialog;
  CDXUTCheckBox* box = nullptr;
  dialog.AddCheckBox(1, u"c", 0, 0, 200, 20, false, 0, false, &box);
  EXPECT_EQ(box->GetBoxRect(), (Rect{0, 0, 20, 20}));
  EXPECT_EQ(box->GetTextRect(), (Rect{25, 0, 200, 20}));
}

TEST_F(ControlsTest, CheckBoxTogglesOnClickSpaceAndHotkey) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTCheckBox* box = nullptr;
  dialog.AddCheckBox(8, u"c", 0, 0, 200, 20, false, 'C', false, &box);
  Send(dialog, WM_LBUTTONDOWN, 5, 5);
  Send(dialog, WM_LBUTTONUP, 5, 5);
  EXPECT_TRUE(box->GetChecked());
  Key(dialog, WM_KEYDOWN, VK_SPACE);
  Key(dialog, WM_KEYUP, VK_SPACE);
  EXPECT_FALSE(box->GetChecked());
  Key(dialog, WM_KEYUP, 'C');
  EXPECT_TRUE(box->GetChecked());
  EXPECT_EQ(events_, (Events{{GuiEventCheckChanged, 8}, {GuiEventCheckChanged, 8}, {GuiEventCheckChanged, 8}}));
  EXPECT_EQ(sounds_.size(), 3u);
  RenderOnce(dialog);
  ASSERT_EQ(Sprites().size(), 1u);
  EXPECT_EQ(Sprites()[0]->source, (Rect{316, 1921, 341, 1946}));
  EXPECT_EQ(test::DestOf(*Sprites()[0]), (Rect{0, 0, 20, 20}));
  // The label is shown in the text colour, not left at the faded-out start.
  const auto texts = recorder_.OfKind(DrawRecord::Kind::kText);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back()->text, u"c");
  EXPECT_EQ(texts.back()->colour, box->GetElement(1)->font_color.states[kStateNormal]);
}

TEST_F(ControlsTest, ClickingACheckedRadioButtonKeepsItCheckedAndClearsTheGroup) {
  for (bool non_user : {false, true}) {
    events_.clear();
    CDXUTDialog dialog;
    Listen(dialog);
    dialog.EnableNonUserEvents(non_user);
    CDXUTRadioButton *a = nullptr, *b = nullptr, *other = nullptr;
    dialog.AddRadioButton(1, 7, u"a", 0, 0, 100, 20, true, 0, false, &a);
    dialog.AddRadioButton(2, 7, u"b", 0, 30, 100, 20, false, 0, false, &b);
    dialog.AddRadioButton(3, 8, u"o", 0, 60, 100, 20, true, 0, false, &other);
    events_.clear();
    Send(dialog, WM_LBUTTONDOWN, 5, 5);
    Send(dialog, WM_LBUTTONUP, 5, 5);
    EXPECT_TRUE(a->GetChecked());
    EXPECT_FALSE(b->GetChecked());
    EXPECT_TRUE(other->GetChecked());
    const Events expected = non_user ? Events{{GuiEventRadioChanged, 1}, {GuiEventRadioChanged, 2},
                                              {GuiEventRadioChanged, 1}}
                                     : Events{{GuiEventRadioChanged, 1}};
    EXPECT_EQ(events_, expected) << non_user;
    Send(dialog, WM_LBUTTONDOWN, 5, 35);
    Send(dialog, WM_LBUTTONUP, 5, 35);
    EXPECT_FALSE(a->GetChecked());
    EXPECT_TRUE(b->GetChecked());
  }
}

TEST_F(ControlsTest, IconDrawsTheStatePictureStackedBelowTheDisabledOne) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTIcon* icon = nullptr;
  dialog.AddIcon(30, {400, 100, 440, 140}, 0, 0, 40, 40, 0, false, &icon);
  RenderOnce(dialog);
  ASSERT_EQ(Sprites().size(), 1u);
  EXPECT_EQ(Sprites()[0]->source, (Rect{400, 140, 440, 180}));
  EXPECT_EQ(Sprites()[0]->colour, 0xDCFFFFFFu);
  Send(dialog, WM_MOUSEMOVE, 10, 10);
  RenderOnce(dialog);
  EXPECT_EQ(Sprites()[0]->source, (Rect{400, 180, 440, 220}));
  EXPECT_EQ(Sprites()[0]->colour, 0xFFFFFFFFu);
  icon->SetEnabled(false);
  RenderOnce(dialog);
  EXPECT_EQ(Sprites()[0]->source, (Rect{400, 100, 440, 140}));
  icon->SetEnabled(true);
  Send(dialog, WM_LBUTTONDOWN, 10, 10);
  Send(dialog, WM_LBUTTONUP, 10, 10);
  EXPECT_EQ(events_, (Events{{GuiEventButtonClicked, 30}}));
  // Space clicks the focused icon on its release.
  CDXUTDialog::RequestFocus(icon);
  EXPECT_TRUE(Key(dialog, WM_KEYDOWN, VK_SPACE));
  EXPECT_EQ(events_.size(), 1u);
  EXPECT_TRUE(Key(dialog, WM_KEYUP, VK_SPACE));
  EXPECT_EQ(events_, (Events{{GuiEventButtonClicked, 30}, {GuiEventButtonClicked, 30}}));
}

TEST_F(ControlsTest, ImageIsClickableOnlyOnceEnabled) {
  auto picture = Texture::CreateEmpty(32, 32, 0xFF00FF00u);
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTImage* image = nullptr;
  dialog.AddImage(31, picture.get(), {0, 0, 32, 32}, 10, 10, 64, 16, 0, false, &image);
  EXPECT_FALSE(Send(dialog, WM_LBUTTONDOWN, 20, 15));
  image->SetEnabled(true);
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, 20, 15));
  EXPECT_TRUE(Send(dialog, WM_LBUTTONUP, 20, 15));
  EXPECT_EQ(events_, (Events{{GuiEventButtonClicked, 31}}));
  image->SetColor(0x80FFFFFFu);
  RenderOnce(dialog);
  ASSERT_EQ(Sprites().size(), 1u);
  EXPECT_EQ(test::DestOf(*Sprites()[0]), (Rect{10, 10, 74, 26}));
  EXPECT_EQ(Sprites()[0]->colour, 0x80FFFFFFu);
  EXPECT_FLOAT_EQ(Sprites()[0]->depth, 0.0f);
}

TEST_F(ControlsTest, StaticTextFadesInAndDrawsWithAShadow) {
  CDXUTDialog dialog;
  dialog.AddStatic(5, u"Hello", 0, 0, 100, 20);
  RenderOnce(dialog, 0.0f);
  EXPECT_EQ(recorder_.Count(DrawRecord::Kind::kText), 0u);  // still fully faded out
  RenderOnce(dialog, 1.0f);
  const auto texts = recorder_.OfKind(DrawRecord::Kind::kText);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0]->text, u"Hello");
  EXPECT_EQ(texts[0]->colour & 0x00FFFFFFu, 0u);  // the shadow, one pixel down and right
  EXPECT_FLOAT_EQ(texts[0]->dest.left, texts[1]->dest.left + 1);
}

}  // namespace
}  // namespace tr
