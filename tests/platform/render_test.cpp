// Software rendering of the headless frame: pixels, clipping, quads, depth
// order; a window of SDL's software renderer drawn by our own blitter.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/draw_record.h"
#include "platform/frame.h"
#include "platform/graphics.h"
#include "platform/render_backend.h"
#include "platform/renderer_probe.h"
#include "platform/sprite_batch.h"
#include "platform/target_canvas.h"
#include "platform/texture.h"
#include "platform/window_blitter.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

void ExpectNear(Argb got, int r, int g, int b, int tolerance = 2) {
  EXPECT_LE(std::abs(static_cast<int>(ArgbR(got)) - r), tolerance) << std::hex << got;
  EXPECT_LE(std::abs(static_cast<int>(ArgbG(got)) - g), tolerance) << std::hex << got;
  EXPECT_LE(std::abs(static_cast<int>(ArgbB(got)) - b), tolerance) << std::hex << got;
}

class HeadlessRender : public testing::Test {
 protected:
  std::unique_ptr<AppFrame> frame = AppFrame::CreateHeadless(64, 48);
  Graphics& g = frame->graphics();
  std::unique_ptr<Texture> red = Texture::CreateEmpty(2, 2, 0xFFFF0000);

  void DrawRedStretched(Argb colour) { DrawStretched(*red, colour); }
  void DrawStretched(const Texture& texture, Argb colour) {
    auto sprite = g.CreateSpriteBatch();
    sprite->Begin(kSpriteAlphaBlend);
    sprite->SetTransform(Matrix2D::Scaling(10, 10));
    sprite->Draw(&texture, nullptr, {1, 1}, 0.5f, colour);
    sprite->End();
  }
  void Fill(Texture& texture, Argb colour) {
    const Texture::LockedRect texels = texture.Lock();
    std::fill_n(texels.bits, texture.width() * texture.height(), colour);
    texture.Unlock();
  }
};

TEST_F(HeadlessRender, HalfTransparentRedOverBlack) {
  g.Clear(0xFF000000);
  DrawRedStretched(0x80FFFFFF);
  ExpectNear(g.ReadPixel(20, 20), 128, 0, 0);
  ExpectNear(g.ReadPixel(5, 5), 0, 0, 0, 0);
  ExpectNear(g.ReadPixel(35, 35), 0, 0, 0, 0);
}

// A frame that repeats the one on screen is neither drawn nor presented; the
// screen keeps what was drawn, and any change, texels included, draws again.
// Texels changed or freed after their draw in a frame still show as drawn.
TEST_F(HeadlessRender, OnlyFramesThatChangeAreDrawn) {
  auto frame_of = [&](Argb clear) {
    g.Clear(clear);
    DrawRedStretched(0xFFFFFFFF);
    return g.Present();
  };
  EXPECT_TRUE(frame_of(0xFF000000));
  EXPECT_FALSE(frame_of(0xFF000000));
  ExpectNear(g.ReadPixel(15, 15), 255, 0, 0);
  EXPECT_TRUE(frame_of(0xFF0000FF));
  ExpectNear(g.ReadPixel(35, 35), 0, 0, 255, 0);
  Fill(*red, 0xFF00FF00);
  EXPECT_TRUE(frame_of(0xFF0000FF));
  ExpectNear(g.ReadPixel(15, 15), 0, 255, 0);
  // Pixels read between frames leave the next one to be compared.
  EXPECT_FALSE(frame_of(0xFF0000FF));
  g.RedrawNextFrame();
  EXPECT_TRUE(frame_of(0xFF0000FF));

  g.Clear(0xFF000000);
  DrawRedStretched(0xFFFFFFFF);
  Fill(*red, 0xFFFFFFFF);
  {
    auto yellow = Texture::CreateEmpty(2, 2, 0xFFFFFF00);
    auto sprite = g.CreateSpriteBatch();
    sprite->Begin(kSpriteAlphaBlend);
    sprite->Draw(yellow.get(), nullptr, {0, 0}, 0.5f, 0xFFFFFFFF);
    sprite->End();
  }
  EXPECT_TRUE(g.Present());
  ExpectNear(g.ReadPixel(15, 15), 0, 255, 0);
  ExpectNear(g.ReadPixel(1, 1), 255, 255, 0);
}

// The glyph atlas grows in one side at a time; drawn through the renderer
// (mirrored), it shows the texels it has now, never the copy from before.
TEST_F(HeadlessRender, AMirroredPictureGrownInOneSideShowsItsNewTexels) {
  auto atlas = Texture::CreateEmpty(4, 3, 0xFFFF0000);
  TexturedQuad q;
  q.corners[0] = {10, 10}, q.corners[1] = {22, 10}, q.corners[2] = {22, 19}, q.corners[3] = {10, 19};
  const auto draw = [&](RectF source) {
    g.Clear(0xFF000000);
    q.source = source;
    g.DrawTexturedQuads(*atlas, std::span(&q, 1));
    return g.ReadPixel(15, 15);
  };
  const auto paint = [&](Rect area, Argb colour) {
    const Texture::LockedRect texels = atlas->Lock();
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) texels.bits[y * atlas->width() + x] = colour;
    }
    atlas->Unlock();
  };
  ExpectNear(draw(RectF{4, 0, 0, 3}), 255, 0, 0, 0);
  atlas->Resize(4, 6);
  paint(Rect{0, 3, 4, 6}, 0xFF00FF00);
  ExpectNear(draw(RectF{4, 3, 0, 6}), 0, 255, 0, 0);
  atlas->Resize(7, 6);
  paint(Rect{4, 0, 7, 6}, 0xFF0000FF);
  ExpectNear(draw(RectF{7, 0, 4, 6}), 0, 0, 255, 0);
}

TEST_F(HeadlessRender, ClipRectangleStopsDrawingOutsideIt) {
  g.Clear(0xFF000000);
  const Rect clip{10, 10, 20, 30};
  g.SetClipRect(&clip);
  DrawRedStretched(0xFFFFFFFF);
  g.SetClipRect(nullptr);
  ExpectNear(g.ReadPixel(15, 15), 255, 0, 0);
  ExpectNear(g.ReadPixel(25, 15), 0, 0, 0, 0);
  ExpectNear(g.ReadPixel(15, 29), 255, 0, 0);
}

// A picture the renderer takes only in tiles, drawn mirrored (so through the
// renderer): every tile of it is drawn, the last row and column of tiles,
// narrower and shorter than the others, included.
TEST_F(HeadlessRender, AMirroredPictureLargerThanTheRendererTakesIsDrawnWhole) {
  g.SetMaxTextureSize(4);
  auto tall = Texture::CreateEmpty(6, 10);
  {
    const Texture::LockedRect texels = tall->Lock();
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 6; ++x) texels.bits[y * 6 + x] = y < 5 ? (x < 3 ? 0xFFFF0000 : 0xFF00FF00) : 0xFF0000FF;
    }
    tall->Unlock();
  }
  g.Clear(0xFF000000);
  TexturedQuad q;
  q.corners[0] = {10, 10}, q.corners[1] = {22, 10}, q.corners[2] = {22, 30}, q.corners[3] = {10, 30};
  q.source = RectF{6, 0, 0, 10};
  g.DrawTexturedQuads(*tall, std::span(&q, 1));
  ExpectNear(g.ReadPixel(11, 11), 0, 255, 0, 0);
  ExpectNear(g.ReadPixel(20, 11), 255, 0, 0, 0);
  ExpectNear(g.ReadPixel(11, 28), 0, 0, 255, 0);
  ExpectNear(g.ReadPixel(20, 29), 0, 0, 255, 0);
  ExpectNear(g.ReadPixel(16, 30), 0, 0, 0, 0);
}

TEST_F(HeadlessRender, FourColourQuadHasItsColoursAtItsCorners) {
  DrawRecorder recorder;
  g.SetRecorder(&recorder);
  g.Clear(0xFF000000);
  g.FillQuad(RectF{0, 0, 64, 48}, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF);
  const auto quads = recorder.OfKind(DrawRecord::Kind::kQuad);
  ASSERT_EQ(quads.size(), 1u);
  EXPECT_EQ(std::vector<Argb>(std::begin(quads[0]->corner_colours), std::end(quads[0]->corner_colours)),
            (std::vector<Argb>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}));
  EXPECT_EQ(quads[0]->colour, 0xFFFF0000u) << "a quad's colour is its top left one";
  EXPECT_EQ(quads[0]->dest, (RectF{0, 0, 64, 48}));
  ExpectNear(g.ReadPixel(0, 0), 255, 0, 0, 12);
  ExpectNear(g.ReadPixel(63, 0), 0, 255, 0, 12);
  ExpectNear(g.ReadPixel(0, 47), 0, 0, 255, 12);
  ExpectNear(g.ReadPixel(63, 47), 255, 255, 255, 12);
}

// A picture stretched the way the dialogs stretch their nine-patch cells (the
// position divided by the scale, then scaled) ends a hair short of a whole
// pixel; its last row must still be drawn, or the piece below leaves a seam.
struct SeamCase {
  int top;
  int bottom;
};
class StretchedEdge : public testing::TestWithParam<SeamCase> {};

TEST_P(StretchedEdge, CoversItsLastRow) {
  auto frame = AppFrame::CreateHeadless(8, 700);
  Graphics& g = frame->graphics();
  auto white = Texture::CreateEmpty(2, 45, 0xFFFFFFFF);
  g.Clear(0xFF000000);
  const float sy = static_cast<float>(GetParam().bottom - GetParam().top) / 45.0f;
  auto sprite = g.CreateSpriteBatch();
  sprite->Begin(kSpriteAlphaBlend);
  sprite->SetTransform(Matrix2D::Scaling(1.0f, sy));
  sprite->Draw(white.get(), nullptr, {0.0f, static_cast<float>(GetParam().top) / sy}, 0.5f, 0xFFFFFFFF);
  sprite->End();
  ExpectNear(g.ReadPixel(1, GetParam().top), 255, 255, 255, 0);
  ExpectNear(g.ReadPixel(1, GetParam().bottom - 1), 255, 255, 255, 0);
  ExpectNear(g.ReadPixel(1, GetParam().bottom), 0, 0, 0, 0);
  ExpectNear(g.ReadPixel(1, GetParam().top - 1), 0, 0, 0, 0);
}

INSTANTIATE_TEST_SUITE_P(Heights, StretchedEdge,
                         testing::Values(SeamCase{179, 586}, SeamCase{209, 553}, SeamCase{45, 452},
                                         SeamCase{100, 145}));

// A wide polyline: each segment a band of the full width centred on it,
// across as along; the record holds the points as given.
TEST_F(HeadlessRender, WideLinesAreBandsAroundEachSegment) {
  DrawRecorder recorder;
  g.SetRecorder(&recorder);
  g.Clear(0xFF000000);
  const std::vector<PointF> points{{8, 30}, {40, 30}, {40, 4}};
  g.DrawLines(points, 0xFF30C0A0u, 6.0f);
  for (const int x : {12, 36}) {
    for (const int y : {27, 32}) ExpectNear(g.ReadPixel(x, y), 0x30, 0xC0, 0xA0);
    for (const int y : {26, 33}) ExpectNear(g.ReadPixel(x, y), 0, 0, 0, 0);
  }
  for (const int y : {7, 20}) {
    for (const int x : {37, 42}) ExpectNear(g.ReadPixel(x, y), 0x30, 0xC0, 0xA0);
    for (const int x : {36, 43}) ExpectNear(g.ReadPixel(x, y), 0, 0, 0, 0);
  }
  const auto lines = recorder.OfKind(DrawRecord::Kind::kLines);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]->points, points);
  EXPECT_FLOAT_EQ(lines[0]->width, 6.0f);
  EXPECT_EQ(lines[0]->colour, 0xFF30C0A0u);
}

TEST_F(HeadlessRender, DepthSortingDrawsBackToFrontAndKeepsEqualDepthsInOrder) {
  DrawRecorder recorder;
  g.SetRecorder(&recorder);
  auto sprite = g.CreateSpriteBatch();
  sprite->Begin(kSpriteAlphaBlend | kSpriteSortDepthBackToFront);
  for (float depth : {0.6f, 0.99f, 0.8f}) sprite->Draw(red.get(), nullptr, {0, 0}, depth, 0xFFFFFFFF);
  const Rect a{0, 0, 1, 1}, b{1, 0, 2, 1}, c{0, 1, 1, 2};
  for (const Rect* r : {&a, &b, &c}) sprite->Draw(red.get(), r, {0, 0}, 0.3f, 0xFFFFFFFF);
  sprite->End();
  const auto sprites = recorder.OfKind(DrawRecord::Kind::kSprite);
  ASSERT_EQ(sprites.size(), 6u);
  EXPECT_FLOAT_EQ(sprites[0]->depth, 0.99f);
  EXPECT_FLOAT_EQ(sprites[1]->depth, 0.8f);
  EXPECT_FLOAT_EQ(sprites[2]->depth, 0.6f);
  EXPECT_EQ(sprites[3]->source, a);
  EXPECT_EQ(sprites[4]->source, b);
  EXPECT_EQ(sprites[5]->source, c);
}

// Tests look texts up by their words: another text drawn first is not it.
TEST(DrawRecorder, FindsTheTextRecordHoldingTheText) {
  DrawRecorder recorder;
  for (const auto& [kind, text] : {std::pair{DrawRecord::Kind::kSprite, u"b"}, std::pair{DrawRecord::Kind::kText, u"a"},
                                   std::pair{DrawRecord::Kind::kText, u"b"}}) {
    DrawRecord r;
    r.kind = kind;
    r.text = text;
    recorder.Record(r);
  }
  EXPECT_EQ(recorder.FindText(u"b"), &recorder.records()[2]);
  EXPECT_EQ(recorder.FindText(u"c"), nullptr);
}

TEST_F(HeadlessRender, RecordsDestinationAfterTransform) {
  DrawRecorder recorder;
  g.SetRecorder(&recorder);
  DrawRedStretched(0x80FFFFFF);
  ASSERT_EQ(recorder.records().size(), 1u);
  const DrawRecord& r = recorder.records()[0];
  EXPECT_EQ(r.dest, (RectF{10, 10, 30, 30}));
  EXPECT_EQ(r.colour, 0x80FFFFFFu);
  EXPECT_EQ(r.source, (Rect{0, 0, 2, 2}));
  // Turned upside down, the destination still runs from top to bottom.
  recorder.Clear();
  auto sprite = g.CreateSpriteBatch();
  sprite->Begin(kSpriteAlphaBlend);
  sprite->SetTransform(Matrix2D::Scaling(3, -4) * Matrix2D::Translation(7, 40));
  sprite->Draw(red.get(), nullptr, {1, 1}, 0.5f, 0xFFFFFFFF);
  sprite->End();
  ASSERT_EQ(recorder.records().size(), 1u);
  EXPECT_EQ(recorder.records()[0].dest, (RectF{10, 28, 16, 36}));
}

// A window of SDL's software renderer draws its rectangles with our own
// blitter: the picture must be SDL's to the pixel, scaled pictures smoothed as
// SDL smooths a window's textures, cut by the clip and by the window's edges.
struct WindowCase {
  std::string name;
  RectF dest;
  std::optional<Rect> clip;
  Argb colour;
  RectF source{2, 1, 22, 19};
  // The renderer's largest texture side, when the test sets one.
  int max_texture = 0;
};
void PrintTo(const WindowCase& c, std::ostream* os) { *os << c.name; }

class WindowDrawing : public testing::TestWithParam<WindowCase> {};

TEST_P(WindowDrawing, IsWhatSdlDraws) {
  const WindowCase& c = GetParam();
  auto frame = AppFrame::CreateHeadless(64, 48);
  // Texels of every alpha in runs, colours changing from texel to texel; a background that is not one colour.
  constexpr int kTexelsW = 24, kTexelsH = 26;
  auto texture = Texture::CreateEmpty(kTexelsW, kTexelsH);
  auto background = Texture::CreateEmpty(64, 48);
  // Changed between draws, so a picture kept from the texels before must not be drawn after.
  const auto paint = [&](int shift) {
    Texture::LockedRect texels = texture->Lock();
    for (int i = 0; i < kTexelsW * kTexelsH; ++i) {
      const int k = (i * 7 + shift) % 11;
      texels.bits[i] = MakeArgb(k < 3 ? 0 : k < 8 ? 255 : 30 + 60 * (k - 8), i * 9 + shift, 200 - i % 200, i * 13);
    }
    texture->Unlock();
  };
  {
    Texture::LockedRect texels = background->Lock();
    for (int i = 0; i < 64 * 48; ++i) texels.bits[i] = MakeArgb(255, i * 3, 255 - i % 256, i * 11);
    background->Unlock();
  }
  std::vector<std::uint32_t> pictures[2];
  for (const bool own : {true, false}) {
    SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_OVERRIDE);
    SDL_Window* window = SDL_CreateWindow("drawing", 0, 0, 64, 48, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr);
    std::unique_ptr<RenderBackend> backend = CreateWindowBackend(window, 64, 48);
    SDL_ResetHint(SDL_HINT_RENDER_DRIVER);
    ASSERT_NE(backend, nullptr);
    backend->set_own_blitter(own);
    if (c.max_texture > 0) backend->set_max_texture_size(c.max_texture);
    {
      Graphics g(std::move(backend), 64, 48);
      g.Clear(0xFF000000u);
      TexturedQuad under;
      under.corners[0] = {0, 0}, under.corners[1] = {64, 0}, under.corners[2] = {64, 48}, under.corners[3] = {0, 48};
      under.source = RectF{0, 0, 64, 48};
      g.DrawTexturedQuads(*background, std::span(&under, 1));
      if (c.clip) g.SetClipRect(&*c.clip);
      TexturedQuad q;
      q.corners[0] = {c.dest.left, c.dest.top}, q.corners[1] = {c.dest.right, c.dest.top};
      q.corners[2] = {c.dest.right, c.dest.bottom}, q.corners[3] = {c.dest.left, c.dest.bottom};
      q.source = c.source;
      q.colour = c.colour;
      // Twice: the second draw blends over the first; then with other texels.
      paint(0);
      g.DrawTexturedQuads(*texture, std::span(&q, 1));
      g.DrawTexturedQuads(*texture, std::span(&q, 1));
      paint(5);
      g.DrawTexturedQuads(*texture, std::span(&q, 1));
      g.SetClipRect(nullptr);
      pictures[own ? 0 : 1] = g.ReadPixels();
    }
    SDL_DestroyWindow(window);
  }
  ASSERT_EQ(pictures[0].size(), 64u * 48u);
  ASSERT_EQ(pictures[1].size(), 64u * 48u);
  int wrong = 0;
  for (std::size_t i = 0; i < pictures[0].size(); ++i) {
    if (pictures[0][i] != pictures[1][i] && ++wrong <= 5) {
      ADD_FAILURE() << "pixel (" << i % 64 << ", " << i / 64 << "): ours " << std::hex << pictures[0][i] << ", SDL's "
                    << pictures[1][i];
    }
  }
  EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Draws, WindowDrawing,
    testing::Values(WindowCase{"AtItsSize", {5, 4, 25, 22}, std::nullopt, 0xFFFFFFFFu},
                    WindowCase{"AtItsSizeModulatedInAClip", {5, 4, 25, 22}, Rect{9, 7, 20, 15}, 0x80C040FFu},
                    WindowCase{"Stretched", {3, 2, 50, 41}, std::nullopt, 0xFFFFFFFFu},
                    WindowCase{"ShrunkModulated", {30, 20, 41, 29}, std::nullopt, 0xC0FF8000u},
                    WindowCase{"StretchedInAClip", {-3, 2, 40, 33}, Rect{6, 5, 31, 29}, 0xFFFFFFFFu},
                    WindowCase{"StretchedInsideCutOnItsRight", {4, 3, 45, 40}, Rect{0, 0, 29, 48}, 0xFFFFFFFFu},
                    WindowCase{"WidenedInsideCutOnItsRight", {4, 3, 60, 20}, Rect{0, 0, 29, 48}, 0xFFFFFFFFu},
                    // Scaled one way only: still smoothed.
                    WindowCase{"WidenedOnly", {4, 3, 60, 21}, std::nullopt, 0xFFFFFFFFu},
                    WindowCase{"HeightenedOnly", {5, 2, 25, 45}, std::nullopt, 0xFFFFFFFFu},
                    // Wide enough for the renderer, too tall: SDL scales each tile on its own.
                    WindowCase{"StretchedTallerThanTheLimit", {3, 2, 50, 45}, std::nullopt, 0xFFFFFFFFu,
                               RectF{2, 1, 22, 26}, 24},
                    WindowCase{"ShrunkInAClipAtFractions", {10.5f, 3.25f, 27.75f, 14.5f}, Rect{13, 6, 60, 12},
                               0xFFFFFFFFu},
                    WindowCase{"StretchedOffEveryEdge", {-7, -5, 70, 52}, std::nullopt, 0xFFFFFFFFu},
                    WindowCase{"ShrunkOffTheRightInAClip", {50, 30, 66, 40}, Rect{0, 0, 60, 35}, 0x60FFFFFFu}),
    [](const testing::TestParamInfo<WindowCase>& info) { return info.param.name; });

// Our blitter takes only quads that read inside their texture; one reading
// past any single edge is left to SDL, which cuts its source to the texture.
TEST(WindowDrawing, AQuadReadingPastAnyEdgeIsLeftToSdl) {
  auto texture = Texture::CreateEmpty(24, 26);
  const auto accepts = [&](RectF source) {
    TexturedQuad q;
    q.corners[0] = {5, 4}, q.corners[1] = {25, 4}, q.corners[2] = {25, 22}, q.corners[3] = {5, 22};
    q.source = source;
    return WindowBlitter::Accepts(*texture, std::span(&q, 1), true, 0);
  };
  EXPECT_TRUE(accepts(RectF{0, 0, 24, 26}));
  for (const RectF past : {RectF{-1, 1, 22, 19}, RectF{2, -1, 22, 19}, RectF{2, 1, 25, 19}, RectF{2, 1, 22, 27}}) {
    EXPECT_FALSE(accepts(past)) << past.left << "," << past.top << "," << past.right << "," << past.bottom;
  }
}

// SDL batches its draws: a clear it still holds reaches the window's surface
// before our own blitter writes into it, not over what it wrote.
TEST(WindowDrawing, ASdlClearStillHeldLandsBeforeOurOwnDraw) {
  auto headless = AppFrame::CreateHeadless(8, 8);  // SDL's video, as the game starts it
  SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_OVERRIDE);
  SDL_SetHintWithPriority(SDL_HINT_RENDER_BATCHING, "1", SDL_HINT_OVERRIDE);
  SDL_Window* window = SDL_CreateWindow("order", 0, 0, 64, 48, SDL_WINDOW_HIDDEN);
  ASSERT_NE(window, nullptr);
  std::unique_ptr<RenderBackend> backend = CreateWindowBackend(window, 64, 48);
  SDL_ResetHint(SDL_HINT_RENDER_DRIVER);
  SDL_ResetHint(SDL_HINT_RENDER_BATCHING);
  ASSERT_NE(backend, nullptr);
  RenderBackend* drawing = backend.get();
  drawing->set_own_blitter(false);
  {
    Graphics g(std::move(backend), 64, 48);
    auto green = Texture::CreateEmpty(2, 2, 0xFF00FF00u);
    g.Clear(0xFFFF0000u);
    g.SetMaxTextureSize(0);  // hands the held clear to SDL
    drawing->set_own_blitter(true);
    auto sprite = g.CreateSpriteBatch();
    sprite->Begin(kSpriteAlphaBlend);
    sprite->Draw(green.get(), nullptr, {10, 10}, 0.5f, 0xFFFFFFFFu);
    sprite->End();
    EXPECT_EQ(g.ReadPixel(10, 10) & 0xFFFFFFu, 0x00FF00u);
    EXPECT_EQ(g.ReadPixel(20, 20) & 0xFFFFFFu, 0xFF0000u);
  }
  SDL_DestroyWindow(window);
}

// The map's bottom sprites are kept between frames and put back while they
// stay the same: a sprite whose texels change under the same size is drawn
// anew, not put back as it was.
TEST(KeptBottom, IsDrawnAgainAfterItsTexelsChange) {
  auto headless = AppFrame::CreateHeadless(8, 8);  // SDL's video, as the game starts it
  SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_OVERRIDE);
  SDL_Window* window = SDL_CreateWindow("kept", 0, 0, 64, 48, SDL_WINDOW_HIDDEN);
  ASSERT_NE(window, nullptr);
  std::unique_ptr<RenderBackend> backend = CreateWindowBackend(window, 64, 48);
  SDL_ResetHint(SDL_HINT_RENDER_DRIVER);
  ASSERT_NE(backend, nullptr);
  {
    Graphics g(std::move(backend), 64, 48);
    auto texture = Texture::CreateEmpty(2, 2, 0xFFFF0000);
    auto sprite = g.CreateSpriteBatch();
    const auto frame = [&] {
      g.Clear(0xFF000000u);
      sprite->Begin(kSpriteAlphaBlend | kSpriteKeepBottom);
      sprite->SetTransform(Matrix2D::Scaling(10, 10));
      sprite->Draw(texture.get(), nullptr, {1, 1}, 0.5f, 0xFFFFFFFF);
      sprite->End();
      g.Present();
      return g.ReadPixel(15, 15);
    };
    for (int i = 0; i < 3; ++i) EXPECT_EQ(frame() & 0xFFFFFFu, 0xFF0000u) << "frame " << i;
    const Texture::LockedRect texels = texture->Lock();
    std::fill_n(texels.bits, 4, 0xFF00FF00u);
    texture->Unlock();
    EXPECT_EQ(frame() & 0xFFFFFFu, 0x00FF00u);
  }
  SDL_DestroyWindow(window);
}

// Where no renderer with hardware drawing can be made (no GL driver, or a
// display that offers none), the window gets SDL's software renderer.
TEST(WindowDrawing, WithoutAnAcceleratedRendererTheWindowDrawsInSoftware) {
  auto headless = AppFrame::CreateHeadless(8, 8);  // SDL's video, as the game starts it
  if (SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr) GTEST_SKIP() << "a renderer is named";
  SDL_Window* window = SDL_CreateWindow("fallback", 0, 0, 40, 30, SDL_WINDOW_HIDDEN);
  ASSERT_NE(window, nullptr);
  std::unique_ptr<RenderBackend> backend = CreateWindowBackend(window, 40, 30);
  ASSERT_NE(backend, nullptr);
  {
    Graphics g(std::move(backend), 40, 30);
    g.Clear(0xFF000000u);
    g.FillRect(RectF{5, 6, 25, 21}, 0xFFC08040u);
    ExpectNear(g.ReadPixel(14, 13), 0xC0, 0x80, 0x40, 0);
    ExpectNear(g.ReadPixel(30, 13), 0, 0, 0, 0);
  }
  SDL_DestroyWindow(window);
}

// The canvas a frame is drawn into, on a renderer with target textures: what
// Keep copied comes back over whatever was drawn after it, and frames go on
// into the canvas after a Keep, to reach the window when presented. Only
// while the window shows the back buffer unscaled.
TEST(TargetCanvas, KeepsTheFrameSoFarAndDrawsOnIntoTheCanvas) {
  auto headless = AppFrame::CreateHeadless(8, 8);  // SDL's video, as the game starts it
  SDL_Window* window = SDL_CreateWindow("canvas", 0, 0, 32, 24, SDL_WINDOW_HIDDEN);
  ASSERT_NE(window, nullptr);
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  ASSERT_NE(renderer, nullptr);
  const auto fill = [&](Uint8 r, Uint8 g, Uint8 b) {
    SDL_SetRenderDrawColor(renderer, r, g, b, 255);
    SDL_RenderClear(renderer);
  };
  const auto pixel = [&] {
    std::uint32_t p = 0;
    const SDL_Rect at{5, 5, 1, 1};
    EXPECT_EQ(SDL_RenderReadPixels(renderer, &at, SDL_PIXELFORMAT_ARGB8888, &p, 4), 0);
    return p & 0x00FFFFFFu;
  };
  {
    TargetCanvas canvas(renderer, window, 32, 24);
    ASSERT_TRUE(canvas.Choose());
    ASSERT_TRUE(canvas.on());
    EXPECT_FALSE(canvas.Choose()) << "the window's size has not changed";
    fill(255, 0, 0);
    ASSERT_TRUE(canvas.Keep());
    EXPECT_TRUE(canvas.kept());
    fill(0, 0, 255);
    EXPECT_EQ(pixel(), 0x0000FFu) << "drawn after the Keep, into the canvas";
    canvas.Restore();
    EXPECT_EQ(pixel(), 0xFF0000u);
    fill(0, 255, 0);
    canvas.Present();
    SDL_SetRenderTarget(renderer, nullptr);
    EXPECT_EQ(pixel(), 0x00FF00u) << "the window shows the canvas";
  }
  // A back buffer of another height than the window's is drawn on the window, scaled.
  for (const auto& [w, h] : {std::pair{32, 20}, std::pair{30, 24}}) {
    TargetCanvas scaled(renderer, window, w, h);
    EXPECT_FALSE(scaled.Choose());
    EXPECT_FALSE(scaled.on());
  }
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
}

// A GL drawn by the CPU gives way to the software renderer, but never over a
// renderer the player named, nor a GL on real hardware.
TEST(RendererChoice, SoftwareReplacesOnlyAnUnrequestedCpuGl) {
  EXPECT_TRUE(PreferSoftwareRenderer("opengl", "llvmpipe (LLVM 15.0.6, 256 bits)", ""));
  EXPECT_TRUE(PreferSoftwareRenderer("opengles2", "Gallium 0.4 on SoftPipe", ""));
  EXPECT_TRUE(PreferSoftwareRenderer("opengl", "Mesa swrast", ""));
  EXPECT_FALSE(PreferSoftwareRenderer("opengl", "llvmpipe (LLVM 15.0.6, 256 bits)", "opengl"));
  EXPECT_FALSE(PreferSoftwareRenderer("opengl", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", ""));
  EXPECT_FALSE(PreferSoftwareRenderer("opengl", "", ""));
  EXPECT_FALSE(PreferSoftwareRenderer("software", "", ""));
}

// The probe the game runs beside itself answers what SDL makes for a window
// here, as this process would make it; a probe that cannot be run answers nothing.
TEST(RendererChoice, ProbeAnswersWhatSdlMakesHere) {
  const std::filesystem::path game(TR_GAME_DIR);
  EXPECT_FALSE(ProbeRenderer(game / "no_such_probe").has_value());
  const std::optional<ProbedRenderer> probed = ProbeRenderer(game / "renderer_probe");
  ASSERT_TRUE(probed.has_value());
  auto frame = AppFrame::CreateHeadless(8, 8);
  SDL_Window* window = SDL_CreateWindow("probe", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
  ASSERT_NE(window, nullptr);
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  SDL_RendererInfo info{};
  ASSERT_TRUE(renderer && SDL_GetRendererInfo(renderer, &info) == 0 && info.name);
  EXPECT_EQ(probed->chosen, info.name);
  EXPECT_EQ(probed->gl.empty(), !std::string_view(info.name).starts_with("opengl"));
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
}

// A probe whose graphics driver hangs is killed when its time is up: the
// game goes on to open its window instead of waiting on it for ever.
TEST(RendererChoice, AProbeThatNeverAnswersIsKilled) {
  test::TempDir dir;
  const std::filesystem::path finished = dir.path() / "finished";
  const std::filesystem::path probe =
      dir.Write("hanging_probe", "#!/bin/sh\nsleep 5\ntouch '" + finished.string() + "'\n");
  std::filesystem::permissions(probe, std::filesystem::perms::owner_all);
  EXPECT_FALSE(ProbeRenderer(probe, std::chrono::milliseconds(50)).has_value());
  // Waited on to its end, it would have left its mark.
  EXPECT_FALSE(std::filesystem::exists(finished));
}

}  // namespace
}  // namespace tr
