// Fonts resolved through fontconfig, measured and drawn with the DT_ flags.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/codes.h"
#include "platform/font.h"
#include "platform/frame.h"
#include "platform/sprite_batch.h"

namespace tr {
namespace {

TEST(Font, ArialResolvesToAnInstalledFace) {
  const std::string file = ResolveFontFile(u"Arial", 400);
  ASSERT_FALSE(file.empty());
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_NE(file.find("Liberation"), std::string::npos) << file;
  auto font = Font::Create(u"Arial", 16, 400);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->line_height(), 16);
  auto smallest = Font::Create(u"Arial", 1, 400);
  ASSERT_NE(smallest, nullptr);
  EXPECT_EQ(smallest->line_height(), 1);
  // A bold weight picks another file of the family.
  EXPECT_NE(ResolveFontFile(u"Arial", 700), file);
}

TEST(Font, WordBreakAtNarrowWidthGivesTwoLinesOfTheRequestedHeight) {
  auto font = Font::Create(u"Arial", 16, 400);
  ASSERT_NE(font, nullptr);
  const int word = font->TextWidth(u"abc");
  Rect rect{10, 20, 10 + word + 4, 20};
  const int height = font->Measure(u"abc def", -1, &rect, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(height, 32);
  EXPECT_EQ(rect.top, 20);
  EXPECT_EQ(rect.bottom, 52);
  EXPECT_LE(rect.width(), word + 4);
  // Without the word break it stays one line as wide as the text.
  Rect single{0, 0, 1, 0};
  EXPECT_EQ(font->Measure(u"abc def", -1, &single, DT_CALCRECT), 16);
  EXPECT_EQ(single.right, font->TextWidth(u"abc def"));
}

struct AlignCase {
  std::uint32_t format;
  int expected_left;  // -1: right-aligned, -2: centred
};
class FontAlignment : public testing::TestWithParam<AlignCase> {};

TEST_P(FontAlignment, TextIsPlacedInItsRectangle) {
  auto frame = AppFrame::CreateHeadless(200, 100);
  auto font = Font::Create(u"DejaVu Sans", 20, 400);
  ASSERT_NE(font, nullptr);
  Graphics& g = frame->graphics();
  g.Clear(0xFF000000);
  Rect rect{0, 0, 200, 100};
  font->DrawText(g, u"WWW", -1, &rect, GetParam().format, 0xFFFFFFFF);
  int min_x = 1000, max_x = -1, min_y = 1000, max_y = -1;
  const auto pixels = g.ReadPixels();
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (ArgbR(pixels[static_cast<std::size_t>(y) * 200 + x]) > 128) {
        min_x = std::min(min_x, x);
        max_x = std::max(max_x, x);
        min_y = std::min(min_y, y);
        max_y = std::max(max_y, y);
      }
    }
  }
  ASSERT_GE(max_x, 0) << "nothing drawn";
  const int width = font->TextWidth(u"WWW");
  if (GetParam().expected_left == -1) {
    EXPECT_NEAR(max_x, 200 - 1, 3);
  } else if (GetParam().expected_left == -2) {
    EXPECT_NEAR(min_x, (200 - width) / 2, 3);
  } else {
    EXPECT_NEAR(min_x, GetParam().expected_left, 3);
  }
  if (GetParam().format & DT_VCENTER) {
    EXPECT_GT(min_y, 35);
    EXPECT_LT(max_y, 65);
  } else {
    EXPECT_LT(min_y, 20);
  }
}

INSTANTIATE_TEST_SUITE_P(Flags, FontAlignment,
                         testing::Values(AlignCase{DT_LEFT, 0}, AlignCase{DT_RIGHT, -1}, AlignCase{DT_CENTER, -2},
                                         AlignCase{DT_CENTER | DT_VCENTER | DT_SINGLELINE, -2},
                                         AlignCase{DT_LEFT | DT_VCENTER, 0}));

TEST(Font, TextIsClippedToItsRectangleUnlessNoClip) {
  auto frame = AppFrame::CreateHeadless(200, 40);
  auto font = Font::Create(u"Arial", 20, 400);
  ASSERT_NE(font, nullptr);
  Graphics& g = frame->graphics();
  auto lit_beyond = [&](int from_x) {
    const auto pixels = g.ReadPixels();
    for (int y = 0; y < 40; ++y) {
      for (int x = from_x; x < 200; ++x) {
        if (ArgbR(pixels[static_cast<std::size_t>(y) * 200 + x]) > 0) return true;
      }
    }
    return false;
  };
  g.Clear(0xFF000000);
  Rect rect{0, 0, 20, 40};
  font->DrawText(g, u"MMMMMM", -1, &rect, DT_LEFT, 0xFFFFFFFF);
  EXPECT_FALSE(lit_beyond(20));
  g.Clear(0xFF000000);
  font->DrawText(g, u"MMMMMM", -1, &rect, DT_LEFT | DT_NOCLIP, 0xFFFFFFFF);
  EXPECT_TRUE(lit_beyond(20));
  EXPECT_FALSE(g.clip_rect().has_value());
}

// Glyphs taller than the atlas has room for make it grow as far as they need
// and up to its largest size; the glyphs beyond that are left out, and the
// ones already drawn stay whole. What was made for a glyph left out is freed.
TEST(Font, GlyphsTallerThanTheAtlasGrowItOrAreLeftOut) {
  constexpr int kWidth = 2600, kHeight = 800;
  auto frame = AppFrame::CreateHeadless(kWidth, kHeight);
  Graphics& g = frame->graphics();
  // Each of these glyphs is wider than half the atlas: a row of its own.
  const std::u16string text = u"W\u0152\u0416W";
  const auto draw = [&] {
    auto font = Font::Create(u"DejaVu Sans", 700, 400);
    EXPECT_NE(font, nullptr);
    if (!font) return;
    g.Clear(0xFF000000);
    Rect rect{0, 0, kWidth, kHeight};
    font->DrawText(g, text, -1, &rect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP, 0xFFFFFFFF);
    const auto pixels = g.ReadPixels();
    const auto lit = [&](int x) {
      for (int y = 0; y < kHeight; ++y) {
        if (ArgbR(pixels[static_cast<std::size_t>(y) * kWidth + x]) > 0) return true;
      }
      return false;
    };
    int pen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const int advance = font->TextWidth(text.substr(i, 1));
      ASSERT_GT(advance, 512) << i;
      ASSERT_LE(pen + advance, kWidth);
      // The third glyph finds the atlas full; the fourth is the first again.
      EXPECT_EQ(lit(pen + advance / 2), i != 2) << i;
      pen += advance;
    }
  };
  draw();
  const int allocations = SDL_GetNumAllocations();
  draw();
  EXPECT_EQ(SDL_GetNumAllocations(), allocations);
}

// A character outside the basic plane is a pair of UTF-16 units and one
// glyph, measured once whatever follows it; a text cut between the two keeps
// its first half as a half, and the pair drawn ends where it is measured to.
TEST(Font, ASurrogatePairIsOneGlyph) {
  constexpr int kWidth = 160, kHeight = 40;
  auto frame = AppFrame::CreateHeadless(kWidth, kHeight);
  auto font = Font::Create(u"DejaVu Sans", 30, 400);
  ASSERT_NE(font, nullptr);
  const int smile = font->TextWidth(u"\U0001F600");
  EXPECT_NE(smile, font->TextWidth(u"\xD83D"));
  EXPECT_EQ(font->TextWidth(u"\U0001F600\uFFFD"), smile + font->TextWidth(u"\uFFFD"));
  EXPECT_EQ(font->TextWidth(u"\U0001F600k"), smile + font->TextWidth(u"k"));
  Graphics& g = frame->graphics();
  const auto drawn = [&](const std::u16string& text, int count) {
    g.Clear(0xFF000000);
    Rect rect{0, 0, kWidth, kHeight};
    font->DrawText(g, text, count, &rect, DT_LEFT | DT_TOP | DT_SINGLELINE, 0xFFFFFFFF);
    return g.ReadPixels();
  };
  EXPECT_EQ(drawn(u"k\U0001F600", 2), drawn(u"k\xD83D", -1));
  const auto pixels = drawn(u"\U0001F600", -1);
  int right = -1;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (ArgbR(pixels[static_cast<std::size_t>(y) * kWidth + x]) > 0) right = std::max(right, x);
    }
  }
  EXPECT_GT(right, smile / 2);
  EXPECT_LT(right, smile);
}

// Shrunk with the map, a text is drawn from the face opened at the height it
// is shown, each glyph on whole pixels: a font's glyph at half scale looks as
// the font of half its height draws it unshrunk. A scale that rounds to the
// font's own height draws from the font itself, and each shown height opens
// its face once.
TEST(Font, ShrunkTextIsDrawnFromTheFaceOfItsShownHeightOnWholePixels) {
  constexpr int kWidth = 90, kHeight = 50;
  auto frame = AppFrame::CreateHeadless(kWidth, kHeight);
  auto full = Font::Create(u"DejaVu Sans", 40, 400);
  auto half = Font::Create(u"DejaVu Sans", 20, 400);
  ASSERT_NE(full, nullptr);
  ASSERT_NE(half, nullptr);
  Graphics& g = frame->graphics();
  const auto drawn = [&](const Font& font, const Matrix2D& transform, Rect rect) {
    g.Clear(0xFF000000);
    auto sprite = g.CreateSpriteBatch();
    sprite->Begin(kSpriteAlphaBlend);
    sprite->SetTransform(transform);
    font.DrawText(sprite.get(), u"Rg", -1, &rect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP, 0xFFFFFFFF);
    sprite->End();
    return g.ReadPixels();
  };
  // The lit pixels within their bounding box, and the box's corner.
  struct Lit {
    int left = kWidth, top = kHeight;
    std::vector<std::vector<std::uint32_t>> rows;
  };
  const auto lit = [&](const std::vector<std::uint32_t>& pixels) {
    Lit out;
    int right = -1, bottom = -1;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if (ArgbR(pixels[static_cast<std::size_t>(y) * kWidth + x]) == 0) continue;
        out.left = std::min(out.left, x), out.top = std::min(out.top, y);
        right = std::max(right, x), bottom = std::max(bottom, y);
      }
    }
    for (int y = out.top; y <= bottom; ++y) {
      const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(y) * kWidth;
      out.rows.emplace_back(row + out.left, row + right + 1);
    }
    return out;
  };
  const Lit shrunk = lit(drawn(*full, Matrix2D::Scaling(0.5f, 0.5f) * Matrix2D::Translation(37, 6), Rect{8, 2, 88, 42}));
  const Lit own = lit(drawn(*half, Matrix2D::Translation(41, 7), Rect{0, 0, 40, 20}));
  ASSERT_FALSE(own.rows.empty());
  EXPECT_EQ(shrunk.rows, own.rows);
  EXPECT_EQ(shrunk.left, own.left);
  EXPECT_NEAR(shrunk.top, own.top, 1);

  drawn(*full, Matrix2D::Identity(), Rect{0, 0, 80, 40});
  const int opened = SDL_GetNumAllocations();
  drawn(*full, Matrix2D::Scaling(0.49f, 0.49f), Rect{0, 0, 80, 40});
  drawn(*full, Matrix2D::Scaling(0.99f, 0.99f), Rect{0, 0, 80, 40});
  EXPECT_EQ(SDL_GetNumAllocations(), opened);
}

TEST(Font, TextThroughTheSpriteIsRecordedWithItsFlagsAndCut) {
  auto frame = AppFrame::CreateHeadless(100, 100);
  auto font = Font::Create(u"Arial", 12, 700);
  ASSERT_NE(font, nullptr);
  DrawRecorder recorder;
  frame->graphics().SetRecorder(&recorder);
  auto sprite = frame->graphics().CreateSpriteBatch();
  sprite->Begin(kSpriteAlphaBlend);
  sprite->SetTransform(Matrix2D::Translation(5, 6));
  Rect rect{0, 0, 50, 20};
  font->DrawText(sprite.get(), u"Hello", 4, &rect, DT_CENTER | DT_VCENTER, 0xFF00FF00);
  EXPECT_EQ(recorder.records().size(), 0u);  // waits for the batch
  sprite->End();
  const DrawRecord* text = recorder.FindText(u"Hell");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->flags, DT_CENTER | DT_VCENTER);
  EXPECT_EQ(text->dest, (RectF{5, 6, 55, 26}));
  EXPECT_EQ(text->colour, 0xFF00FF00u);
  EXPECT_EQ(text->font, font.get());
}

}  // namespace
}  // namespace tr
