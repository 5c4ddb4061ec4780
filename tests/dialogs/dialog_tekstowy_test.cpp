// The message box: laid out from its layout base, grown to its title and
// text, closed by OK, Enter or Escape.
#include "dialogs/dialog_tekstowy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "foundation/gui_layout.h"
#include "gui/resource_cache.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "gui/static.h"
#include "platform/graphics.h"
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
  auto* three = new cDialogTekstowy(std::u16string(100, u'a'), u"Title");
  EXPECT_EQ(one->dialogRect(), (Rect{312, 300, 400, one->dialogRect().bottom}));
  EXPECT_EQ(three->dialogRect().bottom - one->dialogRect().bottom, 2 * kLineHeight);
  EXPECT_EQ(three->GetControl(688)->x(), one->GetControl(688)->x());
  PushModalDialog(one);
  PushModalDialog(three);
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

// The relative luminance of a colour, as the contrast of text is measured.
double Luminance(std::uint32_t rgb) {
  double sum = 0.0;
  const double weights[3] = {0.2126, 0.7152, 0.0722};
  for (int i = 0; i < 3; ++i) {
    const double c = static_cast<double>((rgb >> (16 - 8 * i)) & 0xFF) / 255.0;
    sum += weights[i] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
  }
  return sum;
}

// The text colour laid over the background by its alpha.
std::uint32_t Over(std::uint32_t argb, std::uint32_t background) {
  const double a = static_cast<double>(argb >> 24) / 255.0;
  std::uint32_t out = 0;
  for (int shift : {16, 8, 0}) {
    const double c = a * ((argb >> shift) & 0xFF) + (1.0 - a) * ((background >> shift) & 0xFF);
    out |= static_cast<std::uint32_t>(std::lround(c)) << shift;
  }
  return out;
}

// A message box of the shipped layout and skin picture, drawn until its
// colours have settled: its title, text and button read at a contrast of 4.5
// to 1 or more against every pixel drawn behind them (the box drawn again
// without its texts), inside their places.
class MessageBoxLook : public test::ScreenFixture {};

TEST_F(MessageBoxLook, EveryTextReadsAgainstItsBackground) {
  ASSERT_TRUE(LoadShippedLayout());
  ASSERT_TRUE(std::filesystem::exists(std::filesystem::path(TR_GAME_DIR) / "data" / "gfx" / "GUI.png"));
  SetGameRoot(TR_GAME_DIR);
  cGuiResourceCache& cache = GetGuiResourceCache();
  cache.Clear();
  ASSERT_EQ(cache.OnCreateDevice(&frame_->graphics()), S_OK);
  auto* box = new cDialogTekstowy(u"The turn was written.\nSend the folder to the next player.", u"Turn finished");
  PushModalDialog(box);
  Graphics& graphics = frame_->graphics();
  const auto draw = [&] {
    for (int frame = 0; frame < 3; ++frame) {
      recorder_.Clear();
      graphics.Clear(0xFF000000u);
      box->Render(1.0f);
    }
  };
  draw();
  std::vector<DrawRecord> texts;
  for (const DrawRecord& r : recorder_.records()) {
    // The shadow is drawn first in black; the text itself is what must read.
    if (r.kind == DrawRecord::Kind::kText && !r.text.empty() && (r.colour & 0x00FFFFFFu) != 0) texts.push_back(r);
  }
  ASSERT_GE(texts.size(), 3u);
  for (const auto& control : box->Controls()) {
    if (auto* label = dynamic_cast<CDXUTStatic*>(control.get())) label->SetText(u"");
  }
  draw();
  const std::vector<std::uint32_t> behind = graphics.ReadPixels();
  for (const DrawRecord& r : texts) {
    double least = 100.0;
    // Three pixels in from the place's edges, clear of a button's border.
    for (int y = static_cast<int>(r.dest.top) + 3; y < static_cast<int>(r.dest.bottom) - 3; ++y) {
      for (int x = static_cast<int>(r.dest.left) + 3; x < static_cast<int>(r.dest.right) - 3; ++x) {
        if (x < 0 || y < 0 || x >= 1024 || y >= 768) continue;
        const std::uint32_t background = behind[static_cast<std::size_t>(y) * 1024 + static_cast<std::size_t>(x)];
        const double a = Luminance(Over(r.colour, background)), b = Luminance(background);
        least = std::min(least, (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
      }
    }
    EXPECT_GE(least, 4.5) << Utf16ToUtf8(r.text) << std::hex << ": colour " << r.colour;
  }
}

}  // namespace
}  // namespace tr
