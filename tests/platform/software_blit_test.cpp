// The off-screen blitter against a plain per-pixel drawing: clipping at every
// edge, source rectangles, scaling, partial alpha and colour modulation; and
// the span lists it draws from, which must follow the texels when they change.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/software_blit.h"
#include "platform/texel_runs.h"
#include "platform/texture.h"

namespace tr {
namespace {

constexpr int kSurfaceWidth = 48;
constexpr int kSurfaceHeight = 36;

// A texture with clear, opaque and half-seen texels in runs of varied length,
// and colours that differ from texel to texel.
std::unique_ptr<Texture> PatternTexture(int width, int height) {
  auto texture = Texture::CreateEmpty(width, height);
  Texture::LockedRect locked = texture->Lock();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int k = (x * 7 + y * 3) % 11;
      const std::uint32_t alpha = k < 3 ? 0u : k < 8 ? 255u : static_cast<std::uint32_t>(20 + 70 * (k - 8) + y);
      locked.bits[y * width + x] = MakeArgb(alpha, 40 + x * 9, 200 - y * 5, (x * y * 13) % 256);
    }
  }
  texture->Unlock();
  return texture;
}

// A background that is not one colour, with some alpha below 255.
std::vector<std::uint32_t> Background() {
  std::vector<std::uint32_t> pixels(kSurfaceWidth * kSurfaceHeight);
  for (int i = 0; i < kSurfaceWidth * kSurfaceHeight; ++i) {
    pixels[static_cast<std::size_t>(i)] = MakeArgb(i % 5 == 0 ? 128 : 255, i * 3, 255 - i % 256, i * 11);
  }
  return pixels;
}

// Source-over as SDL's blitter does it for plain unscaled draws: each channel in eighths of 256.
std::uint32_t ReferenceShiftBlend(std::uint32_t s, std::uint32_t d) {
  const std::uint32_t a = s >> 24;
  if (a == 0) return d;
  if (a == 255) return s;
  std::uint32_t out = 0;
  for (int shift : {0, 8, 16}) {
    const std::uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
    out |= ((sc * a >> 8) + (dc * (255 - a) >> 8)) << shift;
  }
  return out | ((a * 255 >> 8) + ((d >> 24) * (255 - a) >> 8)) << 24;
}

// Modulation then source-over with divisions by 255, as SDL does for modulated or scaled draws.
std::uint32_t ReferenceDivideBlend(std::uint32_t s, std::uint32_t d, Argb colour) {
  const std::uint32_t a = (s >> 24) * ArgbA(colour) / 255;
  std::uint32_t out = 0;
  for (int shift : {0, 8, 16}) {
    std::uint32_t sc = ((s >> shift) & 0xFF) * ((colour >> shift) & 0xFF) / 255;
    if (a < 255) sc = sc * a / 255;
    out |= (sc + (255 - a) * ((d >> shift) & 0xFF) / 255) << shift;
  }
  return out | (a + (255 - a) * (d >> 24) / 255) << 24;
}

// Every pixel of dest inside area takes the texel nearest its centre.
void ReferenceDraw(std::vector<std::uint32_t>& pixels, const Rect& area, const Texture& texture, const Rect& source,
                   const Rect& dest, Argb colour) {
  const bool scaled = source.width() != dest.width() || source.height() != dest.height();
  const std::uint64_t incx = (static_cast<std::uint64_t>(source.width()) << 16) / dest.width();
  const std::uint64_t incy = (static_cast<std::uint64_t>(source.height()) << 16) / dest.height();
  for (int y = dest.top; y < dest.bottom; ++y) {
    for (int x = dest.left; x < dest.right; ++x) {
      if (!area.Contains(x, y)) continue;
      const int tx = source.left + static_cast<int>((incx / 2 + (x - dest.left) * incx) >> 16);
      const int ty = source.top + static_cast<int>((incy / 2 + (y - dest.top) * incy) >> 16);
      const std::uint32_t texel = texture.Pixel(tx, ty);
      std::uint32_t& pixel = pixels[static_cast<std::size_t>(y) * kSurfaceWidth + x];
      pixel = (!scaled && colour == 0xFFFFFFFFu) ? ReferenceShiftBlend(texel, pixel)
                                                 : ReferenceDivideBlend(texel, pixel, colour);
    }
  }
}

struct BlitCase {
  std::string name;
  Rect source;
  Rect dest;
  Rect area;
  Argb colour;
};

void PrintTo(const BlitCase& c, std::ostream* os) { *os << c.name; }

class SoftwareBlitCompare : public testing::TestWithParam<BlitCase> {};

TEST_P(SoftwareBlitCompare, MatchesThePlainPerPixelDrawing) {
  const BlitCase& c = GetParam();
  auto texture = PatternTexture(24, 20);
  std::vector<std::uint32_t> got = Background(), want = Background();
  SoftwareBlitter blitter;
  // Twice over the same pixels: the second draw blends over the first and reuses what the first found.
  for (int pass = 0; pass < 2; ++pass) {
    blitter.Draw(BlitTarget{got.data(), kSurfaceWidth, c.area}, *texture, c.source, c.dest, c.colour);
    ReferenceDraw(want, c.area, *texture, c.source, c.dest, c.colour);
  }
  ASSERT_EQ(got.size(), want.size());
  int wrong = 0;
  for (std::size_t i = 0; i < got.size(); ++i) {
    if (got[i] != want[i] && ++wrong <= 5) {
      ADD_FAILURE() << "pixel (" << i % kSurfaceWidth << ", " << i / kSurfaceWidth << "): got " << std::hex
                    << got[i] << ", want " << want[i];
    }
  }
  EXPECT_EQ(wrong, 0);
}

const Rect kWhole{0, 0, kSurfaceWidth, kSurfaceHeight};

INSTANTIATE_TEST_SUITE_P(
    Draws, SoftwareBlitCompare,
    testing::Values(
        BlitCase{"UnscaledInside", {0, 0, 24, 20}, {5, 4, 29, 24}, kWhole, 0xFFFFFFFFu},
        BlitCase{"UnscaledOffTheLeftAndTop", {0, 0, 24, 20}, {-7, -5, 17, 15}, kWhole, 0xFFFFFFFFu},
        BlitCase{"UnscaledOffTheRightAndBottom", {0, 0, 24, 20}, {35, 27, 59, 47}, kWhole, 0xFFFFFFFFu},
        BlitCase{"UnscaledInAClip", {0, 0, 24, 20}, {5, 4, 29, 24}, {9, 7, 20, 15}, 0xFFFFFFFFu},
        BlitCase{"UnscaledSubRectangle", {5, 3, 19, 17}, {-2, 30, 12, 44}, kWhole, 0xFFFFFFFFu},
        BlitCase{"UnscaledColourModulated", {0, 0, 24, 20}, {5, 4, 29, 24}, kWhole, 0xFF3080C0u},
        BlitCase{"UnscaledAlphaModulated", {2, 1, 22, 19}, {40, -3, 60, 15}, kWhole, 0x80FFFFFFu},
        BlitCase{"UnscaledBothModulatedInAClip", {0, 0, 24, 20}, {5, 4, 29, 24}, {0, 10, 14, 36}, 0x6010E0F0u},
        BlitCase{"ShrunkByHalf", {0, 0, 24, 20}, {3, 3, 15, 13}, kWhole, 0xFFFFFFFFu},
        BlitCase{"ShrunkUnevenly", {1, 2, 24, 19}, {10, 9, 21, 21}, kWhole, 0xFFFFFFFFu},
        BlitCase{"StretchedOffEveryEdge", {0, 0, 24, 20}, {-5, -4, 53, 40}, {0, 0, kSurfaceWidth, kSurfaceHeight},
                 0xFFFFFFFFu},
        BlitCase{"StretchedInAClip", {4, 4, 10, 9}, {-3, 2, 40, 33}, {6, 5, 31, 29}, 0xFFFFFFFFu},
        BlitCase{"StretchedModulated", {0, 0, 24, 20}, {0, 0, 47, 35}, kWhole, 0xC0FF8000u},
        BlitCase{"ShrunkAlphaModulatedSubRectangle", {3, 5, 21, 20}, {30, 20, 40, 33}, kWhole, 0x40FFFFFFu},
        BlitCase{"AlphaZeroDrawsNothing", {0, 0, 24, 20}, {5, 4, 29, 24}, kWhole, 0x00FFFFFFu},
        BlitCase{"EmptyClipDrawsNothing", {0, 0, 24, 20}, {5, 4, 29, 24}, {10, 10, 10, 20}, 0xFFFFFFFFu}),
    [](const testing::TestParamInfo<BlitCase>& info) { return info.param.name; });

TEST(TexelRuns, SplitARowIntoOpaqueAndPartialSpansWithTheirTexels) {
  const std::uint32_t row[] = {0x00FFFFFF, 0xFF000001, 0xFF000002, 0x80000003, 0x01000004,
                               0x00000000, 0xFF000005, 0xFE000006, 0xFF000007};
  std::vector<TexelRun> runs;
  std::vector<std::uint32_t> packed;
  TexelRuns::Scan(row, 9, runs, packed);
  EXPECT_EQ(runs, (std::vector<TexelRun>{{1, 3, 0, true}, {3, 5, 2, false}, {6, 7, 4, true}, {7, 8, 5, false},
                                         {8, 9, 6, true}}));
  EXPECT_EQ(packed, (std::vector<std::uint32_t>{0xFF000001, 0xFF000002, 0x80000003, 0x01000004, 0xFF000005,
                                                0xFE000006, 0xFF000007}));
}

TEST(TexelRuns, AScaledAreaIsSampledAgainAfterItsTexelsChange) {
  auto texture = Texture::CreateEmpty(8, 8, 0xFFFF0000u);
  std::vector<std::uint32_t> pixels(kSurfaceWidth * kSurfaceHeight, 0xFF000000u);
  SoftwareBlitter blitter;
  const auto draw = [&] {
    blitter.Draw(BlitTarget{pixels.data(), kSurfaceWidth, kWhole}, *texture, Rect{0, 0, 8, 8}, Rect{0, 0, 4, 4},
                 0xFFFFFFFFu);
    return pixels[kSurfaceWidth + 1];
  };
  // The second draw at this size keeps the sampled spans; the third draws from them.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(draw(), 0xFFFF0000u);
  ASSERT_NE(texture->runs().Scaled(Rect{0, 0, 8, 8}, 4, 4), nullptr);
  Texture::LockedRect locked = texture->Lock();
  for (int i = 0; i < 64; ++i) locked.bits[i] = 0xFF00FF00u;
  texture->Unlock();
  EXPECT_EQ(draw(), 0xFF00FF00u);
  EXPECT_EQ(draw(), 0xFF00FF00u);
}

TEST(TexelRuns, AnAreaIsFoundAgainAfterItsTexelsChange) {
  auto texture = Texture::CreateEmpty(8, 4, 0xFFFF0000u);
  const Rect area{2, 1, 6, 3};
  std::vector<std::uint32_t> pixels(kSurfaceWidth * kSurfaceHeight, 0xFF000000u);
  SoftwareBlitter blitter;
  const auto draw = [&] {
    blitter.Draw(BlitTarget{pixels.data(), kSurfaceWidth, kWhole}, *texture, area, Rect{0, 0, 4, 2}, 0xFFFFFFFFu);
    return pixels[kSurfaceWidth + 1];
  };
  EXPECT_EQ(draw(), 0xFFFF0000u);
  Texture::LockedRect locked = texture->Lock();
  for (int i = 0; i < 32; ++i) locked.bits[i] = 0xFF0000FFu;
  texture->Unlock();
  EXPECT_EQ(draw(), 0xFF0000FFu);
  // A grown texture has its texels elsewhere and wider rows.
  texture->Resize(16, 8);
  EXPECT_EQ(texture->runs().Of(area).Row(1).size(), 1u);
  EXPECT_EQ(texture->runs().Of(area).Texels(texture->runs().Of(area).Row(1)[0])[0], 0xFF0000FFu);
  locked = texture->Lock();
  locked.bits[2 * 16 + 3] = 0;
  texture->Unlock();
  EXPECT_EQ(texture->runs().Of(area).Row(1).size(), 2u);
}

}  // namespace
}  // namespace tr
