// One rendered frame through the software renderer: 5,000 sprites with depth
// sorting and 200 text draws, the load of a busy map view.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "foundation/format.h"
#include "platform/font.h"
#include "platform/frame.h"
#include "platform/render_backend.h"
#include "platform/sprite_batch.h"
#include "platform/texture.h"

namespace {

struct Scene {
  std::unique_ptr<tr::AppFrame> frame = tr::AppFrame::CreateHeadless(1024, 768);
  std::unique_ptr<tr::Texture> atlas = tr::Texture::CreateEmpty(256, 256);
  std::unique_ptr<tr::Font> font = tr::Font::Create(u"Arial", 12, 400);
  std::unique_ptr<tr::SpriteBatch> sprite = frame->graphics().CreateSpriteBatch();
  std::vector<std::u16string> labels;

  Scene() {
    auto locked = atlas->Lock();
    for (int i = 0; i < 256 * 256; ++i) {
      locked.bits[i] = 0x80000000u | static_cast<std::uint32_t>(i * 2654435761u & 0xFFFFFF);
    }
    atlas->Unlock();
    for (int i = 0; i < 200; ++i) labels.push_back(tr::Format(u"Corps %i (%i/%i)", i, i % 10, 10));
  }

  void Draw() {
    tr::Graphics& g = frame->graphics();
    g.Clear(0xFF000000);
    sprite->Begin(tr::kSpriteAlphaBlend | tr::kSpriteSortDepthBackToFront);
    for (int i = 0; i < 5000; ++i) {
      const int cell = i % 64;
      const tr::Rect source{(cell % 8) * 32, (cell / 8) * 32, (cell % 8) * 32 + 32, (cell / 8) * 32 + 32};
      const float x = static_cast<float>((i * 83) % 1000), y = static_cast<float>((i * 98 / 7) % 740);
      sprite->Draw(atlas.get(), &source, {x, y}, 0.6f + static_cast<float>(i % 18) * 0.02f, 0xFFFFFFFF);
    }
    sprite->End();
    for (int i = 0; i < 200; ++i) {
      tr::Rect rect{(i * 97) % 900, (i * 37) % 740, (i * 97) % 900 + 120, (i * 37) % 740 + 16};
      font->DrawText(g, labels[static_cast<std::size_t>(i)], -1, &rect, tr::DT_CENTER | tr::DT_VCENTER, 0xFFFFFF00);
    }
    g.Present();
  }
};

void BM_SoftwareFrame5000SpritesAnd200Texts(benchmark::State& state) {
  Scene scene;
  scene.Draw();  // glyphs rasterised once, textures uploaded
  for (auto _ : state) scene.Draw();
}
BENCHMARK(BM_SoftwareFrame5000SpritesAnd200Texts)->Unit(benchmark::kMillisecond);

void BM_DepthSort5000Sprites(benchmark::State& state) {
  // The same sprites, recorded into a null device: the cost of the batch without rasterising.
  Scene scene;
  tr::Graphics null_graphics(tr::CreateNullBackend(), 1024, 768);
  auto sprite = null_graphics.CreateSpriteBatch();
  for (auto _ : state) {
    sprite->Begin(tr::kSpriteAlphaBlend | tr::kSpriteSortDepthBackToFront);
    for (int i = 0; i < 5000; ++i) {
      sprite->Draw(scene.atlas.get(), nullptr, {static_cast<float>(i % 1000), 0}, 0.6f + (i % 18) * 0.02f,
                   0xFFFFFFFF);
    }
    sprite->End();
  }
}
BENCHMARK(BM_DepthSort5000Sprites)->Unit(benchmark::kMicrosecond);

}  // namespace
