#include "platform/gpu_tiles.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>

#include "foundation/console_log.h"
#include "foundation/text.h"
#include "platform/texture.h"

namespace tr {
namespace {

std::atomic<std::uint64_t> g_next_device{1};
std::mutex g_release_mutex;
std::vector<std::pair<std::uint64_t, void*>> g_release_queue;
std::atomic<bool> g_release_pending{false};
// Renderers that exist; copies made by a renderer that is gone died with it.
std::unordered_set<std::uint64_t> g_live_devices;

SDL_Color ToSdl(Argb c) {
  return SDL_Color{static_cast<Uint8>(ArgbR(c)), static_cast<Uint8>(ArgbG(c)), static_cast<Uint8>(ArgbB(c)),
                   static_cast<Uint8>(ArgbA(c))};
}

PointF Lerp(PointF a, PointF b, float t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

// The point of a quad at the fractions (s, t) of its source rectangle.
PointF QuadPoint(const PointF c[4], float s, float t) {
  const PointF p = Lerp(Lerp(c[0], c[1], s), Lerp(c[3], c[2], s), t);
  return {SnapToPixel(p.x), SnapToPixel(p.y)};
}

}  // namespace

// The copy of one texture, in tiles of at most `tile` texels a side, row by row.
struct GpuTiles::Copy {
  int width = 0;
  int height = 0;
  int tile = 0;
  int columns = 0;
  int rows = 0;
  std::vector<SDL_Texture*> textures;

  ~Copy() {
    for (SDL_Texture* t : textures) SDL_DestroyTexture(t);
  }
};

void ReleaseGpuCopy(std::uint64_t device, void* handle) {
  std::lock_guard<std::mutex> lock(g_release_mutex);
  if (!g_live_devices.contains(device)) return;
  g_release_queue.emplace_back(device, handle);
  g_release_pending.store(true, std::memory_order_release);
}

GpuTiles::GpuTiles(SDL_Renderer* renderer, bool nearest)
    : renderer_(renderer), nearest_(nearest), id_(g_next_device++) {
  std::lock_guard<std::mutex> lock(g_release_mutex);
  g_live_devices.insert(id_);
}

GpuTiles::~GpuTiles() {
  {
    std::lock_guard<std::mutex> lock(g_release_mutex);
    g_live_devices.erase(id_);
    std::erase_if(g_release_queue, [this](const auto& e) { return e.first == id_; });
  }
  for (Copy* c : live_) delete c;
}

void GpuTiles::DrainReleases() {
  if (!g_release_pending.load(std::memory_order_acquire)) return;
  std::vector<std::pair<std::uint64_t, void*>> mine;
  {
    std::lock_guard<std::mutex> lock(g_release_mutex);
    auto keep = std::partition(g_release_queue.begin(), g_release_queue.end(),
                               [this](const auto& e) { return e.first != id_; });
    mine.assign(keep, g_release_queue.end());
    g_release_queue.erase(keep, g_release_queue.end());
    g_release_pending.store(!g_release_queue.empty(), std::memory_order_release);
  }
  for (auto& [device, handle] : mine) {
    auto* c = static_cast<Copy*>(handle);
    if (live_.erase(c) == 0) continue;
    delete c;
  }
}

void GpuTiles::Draw(const Texture& texture, std::span<const TexturedQuad> quads, int limit) {
  Copy* g = Upload(texture, limit);
  if (!g || quads.empty()) return;
  if (g->textures.size() == 1) {
    DrawTile(g->textures[0], g->width, g->height, 0, 0, g->width, g->height, quads);
    return;
  }
  for (int row = 0; row < g->rows; ++row) {
    for (int col = 0; col < g->columns; ++col) {
      const int x0 = col * g->tile, y0 = row * g->tile;
      const int tw = std::min(g->tile, g->width - x0), th = std::min(g->tile, g->height - y0);
      DrawTile(g->textures[static_cast<std::size_t>(row) * g->columns + col], tw, th, x0, y0, tw, th, quads);
    }
  }
}

void GpuTiles::Forget(Copy* c) {
  live_.erase(c);
  delete c;
}

GpuTiles::Copy* GpuTiles::Upload(const Texture& texture, int limit) {
  if (texture.width() <= 0 || texture.height() <= 0) return nullptr;
  Texture::GpuCopy& copy = texture.gpu_copy();
  Copy* g = (copy.device == id_) ? static_cast<Copy*>(copy.handle) : nullptr;
  if (g && (g->width != texture.width() || g->height != texture.height())) {
    Forget(g);
    g = nullptr;
  }
  if (!g) {
    g = Create(texture.width(), texture.height(), limit);
    if (!g) {
      copy = {};
      return nullptr;
    }
    copy.device = id_;
    copy.handle = g;
    copy.version = 0;
  }
  const std::uint64_t version = texture.version();
  if (copy.version != version) {
    for (int row = 0; row < g->rows; ++row) {
      for (int col = 0; col < g->columns; ++col) {
        const int x0 = col * g->tile, y0 = row * g->tile;
        const int tw = std::min(g->tile, g->width - x0), th = std::min(g->tile, g->height - y0);
        SDL_Rect r{0, 0, tw, th};
        SDL_UpdateTexture(g->textures[static_cast<std::size_t>(row) * g->columns + col], &r,
                          texture.pixels() + static_cast<std::size_t>(y0) * texture.width() + x0,
                          texture.width() * 4);
      }
    }
    copy.version = version;
  }
  return g;
}

GpuTiles::Copy* GpuTiles::Create(int width, int height, int limit) {
  auto* g = new Copy;
  g->width = width;
  g->height = height;
  g->tile = limit > 0 ? limit : std::max(width, height);
  g->columns = (width + g->tile - 1) / g->tile;
  g->rows = (height + g->tile - 1) / g->tile;
  for (int row = 0; row < g->rows; ++row) {
    for (int col = 0; col < g->columns; ++col) {
      const int tw = std::min(g->tile, width - col * g->tile), th = std::min(g->tile, height - row * g->tile);
      SDL_Texture* t = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, tw, th);
      if (!t) {
        if (!logged_failure_) {
          LogLine(u"Texture creation failed: " + Utf8ToUtf16(SDL_GetError()));
          logged_failure_ = true;
        }
        delete g;
        return nullptr;
      }
      SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
      SDL_SetTextureScaleMode(t, nearest_ ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
      g->textures.push_back(t);
    }
  }
  live_.insert(g);
  return g;
}

void GpuTiles::DrawTile(SDL_Texture* tile, int tile_w, int tile_h, int x0, int y0, int w, int h,
                        std::span<const TexturedQuad> quads) {
  vertices_.clear();
  indices_.clear();
  for (const TexturedQuad& q : quads) {
    const RectF& s = q.source;
    const float sw = s.right - s.left, sh = s.bottom - s.top;
    if (sw == 0 || sh == 0) continue;
    // The source rectangle may run either way (mirrored draws); clip its span to the tile.
    const float u0 = std::max(std::min(s.left, s.right), static_cast<float>(x0));
    const float u1 = std::min(std::max(s.left, s.right), static_cast<float>(x0 + w));
    const float v0 = std::max(std::min(s.top, s.bottom), static_cast<float>(y0));
    const float v1 = std::min(std::max(s.top, s.bottom), static_cast<float>(y0 + h));
    if (u1 <= u0 || v1 <= v0) continue;
    const float su[2] = {(u0 - s.left) / sw, (u1 - s.left) / sw};
    const float sv[2] = {(v0 - s.top) / sh, (v1 - s.top) / sh};
    const SDL_Color colour = ToSdl(q.colour);
    const int base = static_cast<int>(vertices_.size());
    const float us[4] = {u0, u1, u1, u0};
    const float vs[4] = {v0, v0, v1, v1};
    const float fs[4] = {su[0], su[1], su[1], su[0]};
    const float ft[4] = {sv[0], sv[0], sv[1], sv[1]};
    for (int i = 0; i < 4; ++i) {
      const PointF p = QuadPoint(q.corners, fs[i], ft[i]);
      vertices_.push_back(SDL_Vertex{SDL_FPoint{p.x, p.y}, colour,
                                     SDL_FPoint{(us[i] - x0) / tile_w, (vs[i] - y0) / tile_h}});
    }
    for (int i : {0, 1, 2, 0, 2, 3}) indices_.push_back(base + i);
  }
  if (!indices_.empty()) {
    SDL_RenderGeometry(renderer_, tile, vertices_.data(), static_cast<int>(vertices_.size()), indices_.data(),
                       static_cast<int>(indices_.size()));
  }
}

}  // namespace tr
