// The message box: laid out from its layout base, grown to its title and
// text, closed by OK, Enter or Escape.
#include "dialogs/dialog_tekstowy.h"

#include <gtest/gtest.h>

#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "foundation/gui_layout.h"
#include "foundation/settings.h"
#include "gui/resource_cache.h"
#include "gui/static.h"
#include "support/screen_fixture.h"

namespace tr {
namespace {

constexpr int kLineHeight = 16;

class MessageBoxTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    // Ten pixels a character; lines as long as the width allows, whole characters.
    SetMessageBoxMeasurer({[](std::u16string_view text) { return static_cast<int>(text.size()) * 10; },
                           [](std::u16string_view text, int width) {
                             const int perLine = std::max(1, width / 10);
                             const int lines = (static_cast<int>(text.size()) + perLine - 1) / perLine;
                             return std::max(1, lines) * kLineHeight;
                           }});
    SetLayout(684, 312, 300, 400, 0);
    SetLayout(685, 10, 8, 17, 20);  // title: margins 10 and 17, 8 from the top, 20 high
    SetLayout(687, 12, 6, 12, 8);   // text: margins 12 and 12, 6 below the title, 8 above the button
    SetLayout(688, 462, 10, 100, 24);
  }
  void TearDown() override {
    SetMessageBoxMeasurer({});
    ScreenFixture::TearDown();
  }
};

TEST_F(MessageBoxTest, TitleWiderThanTheRoomWidensTheBoxAroundItsCentre) {
  // The room is 400 - 10 - 17 = 373; a 38-character title is 7 pixels wider.
  auto* box = new cDialogTekstowy(u"Short text.", std::u16string(38, u'T'));
  EXPECT_EQ(box->dialogRect().left, 309);
  EXPECT_EQ(box->dialogRect().right, 406);
  EXPECT_EQ(box->titleRect(), (Rect{319, 308, 379, 20}));
  EXPECT_EQ(box->textRect(), (Rect{321, 334, 382, kLineHeight}));
  EXPECT_EQ(box->dialogRect().bottom, 8 + 20 + 6 + kLineHeight + 8 + 10 + 24);
  CDXUTControl* ok = box->GetControl(688);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->GetBoundingBox(), (Rect{462, 334 + kLineHeight + 8, 562, 334 + kLineHeight + 8 + 24}));
  EXPECT_EQ(box->GetControl(8000)->GetBoundingBox().left, 309);
  EXPECT_FALSE(box->GetControl(8000)->IsDraggable());
  EXPECT_EQ(static_cast<CDXUTStatic*>(box->GetControl(685))->GetTextFormat(), 0x25u);
  EXPECT_EQ(static_cast<CDXUTStatic*>(box->GetControl(687))->GetTextFormat(), 0x10u);
  PushModalDialog(box);
}

TEST_F(MessageBoxTest, ThreeLinesOfTextMakeTheBoxTwoLinesTallerAndKeepTheButtonX) {
  auto* one = new cDialogTekstowy(std::u16string(30, u'a'), u"Title");
  std::u16string words;
  for (int i = 0; i < 20; ++i) words += u"aaaa ";
  auto* three = new cDialogTekstowy(words, u"Title");
  EXPECT_EQ(one->dialogRect(), (Rect{312, 300, 400, one->dialogRect().bottom}));
  EXPECT_EQ(three->dialogRect().bottom - one->dialogRect().bottom, 2 * kLineHeight);
  EXPECT_EQ(three->GetControl(688)->x(), one->GetControl(688)->x());
  PushModalDialog(one);
  PushModalDialog(three);
}

// A path, which no line can break, widens the box around its centre as a
// title does, and no further than 16 pixels from the screen's edges.
TEST_F(MessageBoxTest, APathWiderThanTheRoomWidensTheBoxAsFarAsTheScreenAllows) {
  // The text's room is 400 - 12 - 12 = 376; the path is 44 characters, 64 pixels wider.
  auto* box = new cDialogTekstowy(u"Saved in ~/.local/share/tidereach/pbem/Northern-Duel.", u"Title");
  EXPECT_EQ(box->dialogRect().left, 280);
  EXPECT_EQ(box->dialogRect().right, 464);
  EXPECT_EQ(box->textRect().right, 440);
  PushModalDialog(box);
  auto* wide = new cDialogTekstowy(u"In " + std::u16string(150, u'p'), u"Title");
  EXPECT_EQ(wide->dialogRect().left, 16);
  EXPECT_EQ(wide->dialogRect().right, gScreenWidth - 32);
  PushModalDialog(wide);
}

// A box built before the device exists measures in a font of its own, made
// anew when the layout changes font 1.
TEST_F(MessageBoxTest, BeforeTheDeviceATitleInTheBoldLayoutFontWidensTheBoxMore) {
  SetMessageBoxMeasurer({});
  cGuiResourceCache& cache = GetGuiResourceCache();
  Graphics* device = cache.device();
  cache.OnDestroyDevice();
  const sGuiFont saved = gGuiFonts[1];
  gGuiFonts[1].face = u"DejaVu Sans";
  gGuiFonts[1].height = 23;  // a size no other font here has
  const auto widthWithWeight = [](int weight) {
    gGuiFonts[1].weight = weight;
    auto* box = new cDialogTekstowy(u"Text", std::u16string(20, u'W'));
    PushModalDialog(box);
    return box->dialogRect().right;
  };
  const int regular = widthWithWeight(400);
  const int bold = widthWithWeight(700);
  EXPECT_GT(regular, 400);  // wider than the room: the title sets the width
  EXPECT_GT(bold, regular);
  gGuiFonts[1] = saved;
  EXPECT_EQ(cache.OnCreateDevice(device), S_OK);
}

class MessageBoxKeys : public MessageBoxTest, public testing::WithParamInterface<std::uint32_t> {};

TEST_P(MessageBoxKeys, EnterAndEscapeActAsOk) {
  PushModalDialog(new cDialogTekstowy(u"Text", u"Title"));
  GameKeyboardCallback(GetParam(), false, false);
  GameKeyboardCallback(u'A', true, false);
  ASSERT_EQ(ModalDialogStack.size(), 1u);
  GameKeyboardCallback(GetParam(), true, false);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_EQ(TopDialog, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Keys, MessageBoxKeys, testing::Values(VK_RETURN, VK_ESCAPE));

TEST_F(MessageBoxTest, ClickOnOkClosesIt) {
  auto* box = new cDialogTekstowy(u"Text", u"Title");
  PushModalDialog(box);
  const Rect ok = box->GetControl(688)->GetBoundingBox();
  bool noFurther = false;
  const LParam at = MakeLParam(ok.left + 5, ok.top + 5);
  OnWindowMessage(WM_LBUTTONDOWN, MK_LBUTTON, at, &noFurther);
  OnWindowMessage(WM_LBUTTONUP, 0, at, &noFurther);
  EXPECT_TRUE(ModalDialogStack.empty());
}

}  // namespace
}  // namespace tr
