// Colour fading, the default element table and the resource cache.
#include <gtest/gtest.h>

#include <map>

#include "foundation/gui_layout.h"
#include "gui/default_elements.h"
#include "gui/dialog.h"
#include "gui/resource_cache.h"
#include "gui/skin_element.h"
#include "gui_fixture.h"

namespace tr {
namespace {

TEST(BlendColorTest, FadesFromHiddenTowardTheStateColour) {
  sBlendColor c;
  c.Init(0xFFFFFFFFu);
  ASSERT_EQ(c.CurrentAlpha(), 0.0f);
  c.Blend(kStateNormal, 1.0f / 30.0f, 0.7f);
  EXPECT_NEAR(c.CurrentAlpha(), 0.3f, 1e-6f);
}

class BlendRateZeroTest : public ::testing::TestWithParam<float> {};

TEST_P(BlendRateZeroTest, ReachesTheTargetAtOnce) {
  sBlendColor c;
  c.Init(0x80402010u, 0xC8808080u, 0);
  c.Blend(kStateNormal, GetParam(), 0.0f);
  EXPECT_EQ(c.CurrentArgb(), 0x80402010u);
  c.Blend(kStateDisabled, GetParam(), 0.0f);
  EXPECT_EQ(c.CurrentArgb(), 0xC8808080u);
}

INSTANTIATE_TEST_SUITE_P(Elapsed, BlendRateZeroTest, ::testing::Values(0.0f, 0.016f, 2.0f));

TEST(BlendColorTest, RefreshRestartsTheFadeFromHidden) {
  sSkinElement e;
  e.SetTexture(0, {0, 0, 1, 1});
  e.SetFont(0);
  e.texture_color.Blend(kStateNormal, 0, 0);
  e.font_color.Blend(kStateNormal, 0, 0);
  e.Refresh();
  EXPECT_EQ(e.texture_color.CurrentArgb(), 0u);
  EXPECT_EQ(e.font_color.CurrentArgb(), 0u);
}

TEST(DefaultElementsTest, HasTheElementsOfEveryControlType) {
  const auto table = MakeDefaultElements({});
  ASSERT_EQ(static_cast<int>(table.size()), kDefaultElementCount);
  std::map<int, int> per_type;
  for (const sDefaultElement& d : table) {
    EXPECT_EQ(d.element_index, per_type[d.control_type]++) << "type " << d.control_type;
  }
  const std::map<int, int> expected{{0, 6},  {3, 3},   {4, 2},  {5, 2},  {6, 13}, {7, 5},  {8, 9},
                                    {9, 9},  {10, 10}, {11, 14}, {12, 4}, {13, 27}, {14, 15}, {15, 6}};
  EXPECT_EQ(per_type, expected);
}

struct ElementCase {
  int type;
  int index;
  Rect rect;
  std::uint32_t format;
  std::uint32_t disabled_texture;
};

class DefaultElementCaseTest : public ::testing::TestWithParam<ElementCase> {};

TEST_P(DefaultElementCaseTest, MatchesTheSkin) {
  const ElementCase& c = GetParam();
  for (const sDefaultElement& d : MakeDefaultElements({})) {
    if (d.control_type != c.type || d.element_index != c.index) continue;
    EXPECT_EQ(d.element.texture_rect, c.rect);
    EXPECT_EQ(d.element.text_format, c.format);
    EXPECT_EQ(d.element.texture_color.states[kStateDisabled], c.disabled_texture);
    EXPECT_EQ(d.element.texture_index, 0);
    return;
  }
  FAIL() << "no element " << c.type << "/" << c.index;
}

INSTANTIATE_TEST_SUITE_P(
    Skin, DefaultElementCaseTest,
    ::testing::Values(
        ElementCase{0, 0, {136, 1926, 141, 1956}, DT_CENTER | DT_VCENTER, 0xFFFFFFFFu},
        ElementCase{0, 5, {162, 1926, 167, 1956}, DT_CENTER | DT_VCENTER, 0xFFFFFFFFu},
        ElementCase{4, 1, {316, 1921, 341, 1946}, DT_VCENTER | DT_NOCLIP, 0xC8808080u},
        ElementCase{5, 0, {290, 1947, 315, 1972}, DT_VCENTER | DT_NOCLIP, 0xC8808080u},
        ElementCase{6, 1, {259, 1926, 289, 1956}, DT_CENTER | DT_VCENTER, 0x46FFFFFFu},
        ElementCase{6, 12, {262, 2007, 287, 2032}, DT_NOCLIP, 0xC8808080u},
        ElementCase{7, 4, {178, 1900, 188, 1925}, DT_NOCLIP, 0xC8808080u},
        ElementCase{8, 0, {178, 1936, 188, 1946}, DT_CENTER | DT_VCENTER, 0xC8808080u},
        ElementCase{8, 1, {168, 1926, 178, 1936}, DT_CENTER | DT_VCENTER, 0xC8808080u},
        ElementCase{10, 9, {0, 0, 136, 54}, DT_CENTER | DT_VCENTER, 0xC8808080u},
        ElementCase{11, 8, {400, 1986, 425, 2011}, 0u, 0xC8808080u},
        ElementCase{11, 13, {375, 2011, 400, 2036}, 0u, 0xC8808080u},
        ElementCase{12, 2, {290, 2023, 315, 2048}, DT_NOCLIP, 0x00FFFFFFu},
        ElementCase{13, 0, {45, 1958, 90, 2003}, DT_CENTER | DT_VCENTER, 0xC8808080u},
        ElementCase{13, 10, {1130, 370, 1160, 400}, DT_CENTER | DT_VCENTER, 0xC8808080u},
        ElementCase{13, 26, {241, 1915, 251, 1925}, DT_CENTER | DT_VCENTER, 0xC8808080u},
        ElementCase{14, 4, {200, 1905, 210, 1915}, DT_CENTER | DT_VCENTER, 0xC8808080u},
        ElementCase{14, 8, {210, 1915, 220, 1925}, DT_VCENTER, 0xC8808080u},
        ElementCase{14, 13, {105, 1885, 115, 1905}, DT_VCENTER, 0xC8808080u},
        ElementCase{15, 4, {355, 1910, 360, 1935}, DT_NOCLIP, 0x46FFFFFFu}));

TEST(DefaultElementsTest, TextColoursFollowTheLayoutFonts) {
  DefaultElementFonts fonts{0xFF111111u, 0xFF222222u, 0xFF333333u, 0xFF444444u};
  const auto table = MakeDefaultElements(fonts);
  auto find = [&](int type, int index) -> const sSkinElement& {
    for (const sDefaultElement& d : table) {
      if (d.control_type == type && d.element_index == index) return d.element;
    }
    throw std::runtime_error("missing element");
  };
  const sSkinElement& button = find(kControlButton, 1);
  EXPECT_EQ(button.font_color.states[kStateNormal], 0xFF111111u);
  EXPECT_EQ(button.font_color.states[kStatePressed], 0xFF111111u);
  EXPECT_EQ(button.font_color.states[kStateMouseOver], 0xFF222222u);
  EXPECT_EQ(button.font_color.states[kStateDisabled], 0xC8808080u);
  EXPECT_EQ(button.font_color.states[kStateHidden], 0u);
  const sSkinElement& check = find(kControlCheckBox, 0);
  EXPECT_EQ(check.font_color.states[kStateDisabled], 0xFF111111u);
  EXPECT_EQ(check.font_color.states[kStateMouseOver], 0xFF111111u);
  EXPECT_EQ(find(kControlStatic, 2).font_index, 3);
  EXPECT_EQ(find(kControlStatic, 2).font_color.states[kStateNormal], 0xFF333333u);
  EXPECT_EQ(find(kControlTabFrame, 12).font_color.states[kStateNormal], 0xFF222222u);
  EXPECT_EQ(find(kControlComboBox, 11).font_color.states[kStateNormal], 0xFF222222u);
  EXPECT_EQ(find(kControlComboBox, 12).font_color.states[kStateNormal], 0xFF111111u);
}

using ResourceCacheTest = test::GuiFixture;

TEST_F(ResourceCacheTest, SharesFontsByFaceSizeAndWeightIgnoringCase) {
  cGuiResourceCache& cache = GetGuiResourceCache();
  const int a = cache.AddFont(u"Arial", 16, 400);
  EXPECT_EQ(cache.AddFont(u"ARIAL", 16, 400), a);
  EXPECT_NE(cache.AddFont(u"Arial", 16, 700), a);
  EXPECT_NE(cache.AddFont(u"Arial", 17, 400), a);
  EXPECT_NE(cache.GetFont(a), nullptr);
}

TEST_F(ResourceCacheTest, SharesTexturesByFileIgnoringCaseAndLoadsThemWithTheDevice) {
  cGuiResourceCache& cache = GetGuiResourceCache();
  cache.OnDestroyDevice();
  const int index = cache.AddTexture(u"data\\gfx\\GUI.png");
  EXPECT_EQ(cache.AddTexture(u"DATA\\GFX\\gui.PNG"), index);
  EXPECT_EQ(cache.GetTexture(index), nullptr);
  EXPECT_EQ(cache.OnCreateDevice(&frame_->graphics()), S_OK);
  ASSERT_NE(cache.GetTexture(index), nullptr);
  EXPECT_EQ(cache.GetTextureRecord(index)->height, 2048);
}

// A dialog takes its fonts, and its text and title colours, from the layout's fonts.
TEST_F(ResourceCacheTest, DialogFontsAndColoursComeFromTheLayoutFonts) {
  const auto saved = gGuiFonts;
  gGuiFonts[1] = {u"Liberation Sans", 13, 300, 0, 0xFF121212u, 0xFF343434u};
  gGuiFonts[3] = {u"Liberation Serif", 17, 700, 0, 0xFF565656u, 0xFF787878u};
  {
    CDXUTDialog dialog;
    const sGuiFontRecord* title = GetGuiResourceCache().GetFontRecord(dialog.GetFontIndex(3));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->face, u"Liberation Serif");
    EXPECT_EQ(title->height, 17);
    EXPECT_EQ(title->weight, 700);
    const sSkinElement* heading = dialog.GetDefaultElement(kControlStatic, 2);
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->font_color.states[kStateNormal], 0xFF565656u);
    EXPECT_EQ(heading->font_color.states[kStateMouseOver], 0xFF787878u);
    const sSkinElement* button = dialog.GetDefaultElement(kControlButton, 1);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->font_color.states[kStateNormal], 0xFF121212u);
    EXPECT_EQ(button->font_color.states[kStateMouseOver], 0xFF343434u);
  }
  gGuiFonts = saved;
}

}  // namespace
}  // namespace tr
