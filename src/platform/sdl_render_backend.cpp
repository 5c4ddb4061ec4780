// The SDL renderer: textured and coloured triangles through SDL_RenderGeometry,
// on a window or, headless, into an ARGB surface with SDL's software renderer.
// Off-screen, and on a window drawn by SDL's software renderer, unrotated
// textured rectangles are drawn straight into the surface by our own blitter:
// SDL's software renderer makes a temporary surface for most blended draws,
// and its blitters visit every texel, clear or not, which cost most of a frame.
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "foundation/console_log.h"
#include "foundation/text.h"
#include "platform/render_backend.h"
#include "platform/smooth_scale.h"
#include "platform/software_blit.h"
#include "platform/texture.h"

namespace tr {
namespace {

std::atomic<std::uint64_t> g_next_device{1};
std::mutex g_release_mutex;
std::vector<std::pair<std::uint64_t, void*>> g_release_queue;
std::atomic<bool> g_release_pending{false};
// Renderers that exist; copies made by a renderer that is gone died with it.
std::unordered_set<std::uint64_t> g_live_devices;

// The renderer's copy of one texture, split into tiles when it is larger than the renderer allows.
struct GpuTiles {
  int width = 0;
  int height = 0;
  int tile = 0;
  int columns = 0;
  int rows = 0;
  std::vector<SDL_Texture*> textures;
};

SDL_Color ToSdl(Argb c) {
  return SDL_Color{static_cast<Uint8>(ArgbR(c)), static_cast<Uint8>(ArgbG(c)), static_cast<Uint8>(ArgbB(c)),
                   static_cast<Uint8>(ArgbA(c))};
}

PointF Lerp(PointF a, PointF b, float t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

// A stretched draw places its corners through a division and a scaling, which
// can land a hair below the whole pixel meant; truncated, the picture would
// lose its last row or column and leave a seam against the next piece.
float SnapToPixel(float v) {
  const float nearest = std::round(v);
  return std::abs(v - nearest) < 1.0f / 256.0f ? nearest : v;
}

// The point of a quad at the fractions (s, t) of its source rectangle.
PointF QuadPoint(const PointF c[4], float s, float t) {
  const PointF p = Lerp(Lerp(c[0], c[1], s), Lerp(c[3], c[2], s), t);
  return {SnapToPixel(p.x), SnapToPixel(p.y)};
}

class SdlBackend : public RenderBackend {
 public:
  SdlBackend(SDL_Renderer* renderer, SDL_Surface* surface, SDL_Window* window, int width, int height)
      : renderer_(renderer), surface_(surface), window_(window), width_(width), height_(height),
        id_(g_next_device++) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer_, &info) == 0) {
      renderer_max_ = std::min(info.max_texture_width, info.max_texture_height);
      software_ = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
      targets_ = window_ && !software_ && (info.flags & SDL_RENDERER_TARGETTEXTURE) != 0;
    }
    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
    std::lock_guard<std::mutex> lock(g_release_mutex);
    g_live_devices.insert(id_);
  }

  ~SdlBackend() override {
    {
      std::lock_guard<std::mutex> lock(g_release_mutex);
      g_live_devices.erase(id_);
      std::erase_if(g_release_queue, [this](const auto& e) { return e.first == id_; });
    }
    for (GpuTiles* g : live_) {
      for (SDL_Texture* t : g->textures) SDL_DestroyTexture(t);
      delete g;
    }
    DropCanvas();
    SDL_DestroyRenderer(renderer_);
    if (surface_) SDL_FreeSurface(surface_);
  }

  void SetClip(const Rect* clip) override {
    has_clip_ = clip != nullptr;
    if (clip) clip_ = *clip;
    ApplyClip();
  }

  void Clear(Argb colour) override {
    DrainReleases();
    if (targets_) ChooseCanvas();
    if (SDL_Surface* s = DirectSurface()) {
      // SDL clears with stores that bypass the cache, so every sprite drawn next would wait for memory.
      FlushSdl();
      for (int y = 0; y < s->h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(s->pixels) +
                                                     static_cast<std::size_t>(y) * s->pitch);
        std::fill_n(row, s->w, colour);
      }
      return;
    }
    SDL_SetRenderDrawColor(renderer_, ArgbR(colour), ArgbG(colour), ArgbB(colour), ArgbA(colour));
    SDL_RenderClear(renderer_);
    sdl_pending_ = true;
  }

  void DrawTexturedQuads(const Texture& texture, std::span<const TexturedQuad> quads) override {
    DrainReleases();
    if (SDL_Surface* s = DirectSurface(); s && DrawDirect(*s, texture, quads, s != surface_)) return;
    sdl_pending_ = true;
    GpuTiles* g = Upload(texture);
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

  void FillQuad(const PointF corners[4], const Argb colours[4]) override {
    DrainReleases();
    SDL_Vertex v[4];
    for (int i = 0; i < 4; ++i) {
      v[i].position = SDL_FPoint{corners[i].x, corners[i].y};
      v[i].color = ToSdl(colours[i]);
      v[i].tex_coord = SDL_FPoint{0, 0};
    }
    static const int kIndices[6] = {0, 1, 2, 0, 2, 3};
    SDL_RenderGeometry(renderer_, nullptr, v, 4, kIndices, 6);
    sdl_pending_ = true;
  }

  void DrawLine(PointF a, PointF b, Argb colour) override {
    SDL_SetRenderDrawColor(renderer_, ArgbR(colour), ArgbG(colour), ArgbB(colour), ArgbA(colour));
    SDL_RenderDrawLineF(renderer_, a.x, a.y, b.x, b.y);
    sdl_pending_ = true;
  }

  void Present() override {
    DrainReleases();
    if (!canvas_on_) {
      SDL_RenderPresent(renderer_);
      return;
    }
    SDL_SetRenderTarget(renderer_, nullptr);
    SDL_RenderSetClipRect(renderer_, nullptr);
    SDL_RenderCopy(renderer_, canvas_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
    SDL_SetRenderTarget(renderer_, canvas_);
    ApplyClip();
  }

  bool ReadPixels(std::vector<std::uint32_t>& out, int& width, int& height) override {
    SDL_RenderFlush(renderer_);
    if (surface_) {
      width = surface_->w;
      height = surface_->h;
      out.resize(static_cast<std::size_t>(width) * height);
      for (int y = 0; y < height; ++y) {
        std::memcpy(&out[static_cast<std::size_t>(y) * width],
                    static_cast<const std::uint8_t*>(surface_->pixels) + static_cast<std::size_t>(y) * surface_->pitch,
                    static_cast<std::size_t>(width) * 4);
      }
      return true;
    }
    if (SDL_GetRendererOutputSize(renderer_, &width, &height) != 0) return false;
    out.resize(static_cast<std::size_t>(width) * height);
    return SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_ARGB8888, out.data(), width * 4) == 0;
  }

  int max_texture_size() const override {
    if (max_override_ > 0) return renderer_max_ > 0 ? std::min(max_override_, renderer_max_) : max_override_;
    return renderer_max_;
  }
  void set_max_texture_size(int size) override { max_override_ = size; }
  void set_own_blitter(bool on) override {
    FlushSdl();
    own_blitter_ = on;
  }

  bool KeepBackBuffer() override {
    if (canvas_on_) return KeepCanvas();
    SDL_Surface* s = DrawnSurface();
    if (!s) return false;
    FlushSdl();
    kept_.resize(static_cast<std::size_t>(s->w) * s->h);
    for (int y = 0; y < s->h; ++y) {
      std::memcpy(&kept_[static_cast<std::size_t>(y) * s->w],
                  static_cast<const std::uint8_t*>(s->pixels) + static_cast<std::size_t>(y) * s->pitch,
                  static_cast<std::size_t>(s->w) * 4);
    }
    kept_surface_ = s;
    return true;
  }

  bool CanRestoreBackBuffer() override {
    if (canvas_on_) return canvas_kept_;
    SDL_Surface* s = DrawnSurface();
    return s && s == kept_surface_ && kept_.size() == static_cast<std::size_t>(s->w) * s->h;
  }

  bool RestoreBackBuffer() override {
    if (!CanRestoreBackBuffer()) return false;
    if (canvas_on_) {
      // The copy replaces every pixel, whatever the clip.
      SDL_RenderSetClipRect(renderer_, nullptr);
      SDL_RenderCopy(renderer_, kept_canvas_, nullptr, nullptr);
      ApplyClip();
      return true;
    }
    SDL_Surface* s = DrawnSurface();
    FlushSdl();
    for (int y = 0; y < s->h; ++y) {
      std::memcpy(static_cast<std::uint8_t*>(s->pixels) + static_cast<std::size_t>(y) * s->pitch,
                  &kept_[static_cast<std::size_t>(y) * s->w], static_cast<std::size_t>(s->w) * 4);
    }
    return true;
  }

 private:
  // Where the renderer offers target textures, a frame is drawn into one of
  // the back buffer's size, the canvas, copied to the window when presented,
  // so that the canvas can be kept by copying it into another target
  // texture, and put back the same way, without reading pixels back. Only
  // while the window shows the back buffer unscaled; otherwise frames are
  // drawn on the window itself and nothing is kept. Chosen as a frame begins.
  void ChooseCanvas() {
    int w = 0, h = 0;
    SDL_GetWindowSizeInPixels(window_, &w, &h);
    const bool want = w == width_ && h == height_;
    if (want == canvas_on_) return;
    if (want && !canvas_) {
      canvas_ = MakeTarget();
      if (!canvas_) {
        targets_ = false;
        return;
      }
    }
    if (SDL_SetRenderTarget(renderer_, want ? canvas_ : nullptr) != 0) {
      targets_ = false;
      DropCanvas();
      SDL_SetRenderTarget(renderer_, nullptr);
      ApplyClip();
      return;
    }
    canvas_on_ = want;
    canvas_kept_ = false;
    ApplyClip();
  }

  // The clip rectangle, set anew whenever the renderer draws into another target (which forgets it).
  void ApplyClip() {
    if (!has_clip_) {
      SDL_RenderSetClipRect(renderer_, nullptr);
      return;
    }
    SDL_Rect r{clip_.left, clip_.top, std::max(0, clip_.width()), std::max(0, clip_.height())};
    if (r.w == 0 || r.h == 0) {
      // An empty clip lets nothing through; SDL reads a zero-sized rectangle as "no clip".
      r = SDL_Rect{-2, -2, 1, 1};
    }
    SDL_RenderSetClipRect(renderer_, &r);
  }

  SDL_Texture* MakeTarget() {
    SDL_Texture* t =
        SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width_, height_);
    if (!t) return nullptr;
    // Copied whole, pixel for pixel, alpha included.
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(t, SDL_ScaleModeNearest);
    return t;
  }

  bool KeepCanvas() {
    if (!kept_canvas_) kept_canvas_ = MakeTarget();
    if (!kept_canvas_ || SDL_SetRenderTarget(renderer_, kept_canvas_) != 0) return false;
    SDL_RenderCopy(renderer_, canvas_, nullptr, nullptr);
    SDL_SetRenderTarget(renderer_, canvas_);
    ApplyClip();
    canvas_kept_ = true;
    return true;
  }

  void DropCanvas() {
    if (canvas_on_) SDL_SetRenderTarget(renderer_, nullptr);
    for (SDL_Texture** t : {&canvas_, &kept_canvas_}) {
      if (*t) SDL_DestroyTexture(*t);
      *t = nullptr;
    }
    canvas_on_ = canvas_kept_ = false;
  }

  // The pixels the renderer draws into, when we may copy them directly: our
  // off-screen surface, or the window's own surface under SDL's software
  // renderer when it is the back buffer's size (no scaling to the window).
  SDL_Surface* DrawnSurface() {
    if (surface_) return surface_;
    if (!software_ || !window_) return nullptr;
    SDL_Surface* s = SDL_GetWindowSurface(window_);
    if (!s || s->w != width_ || s->h != height_ || s->format->BytesPerPixel != 4 || SDL_MUSTLOCK(s)) {
      return nullptr;
    }
    return s;
  }

  // The drawn surface when our own blitter may write into it: its pixels hold
  // red, green and blue where ours do (the alpha byte of a window's surface,
  // where it has none, is never shown nor read back).
  SDL_Surface* DirectSurface() {
    SDL_Surface* s = DrawnSurface();
    if (!s || s == surface_) return s;
    if (!own_blitter_) return nullptr;
    const SDL_PixelFormat& f = *s->format;
    const bool ours = f.Rmask == 0x00FF0000u && f.Gmask == 0x0000FF00u && f.Bmask == 0x000000FFu &&
                      (f.Amask == 0 || f.Amask == 0xFF000000u);
    return ours ? s : nullptr;
  }

  // Draws the quads into the surface when every one is an unmirrored, unrotated
  // rectangle; false (nothing drawn) otherwise. Rectangles and texels are
  // chosen as SDL's software renderer chooses them, and a window's scaled
  // textures smoothed as it smooths them, so the picture is the same.
  bool DrawDirect(SDL_Surface& surface, const Texture& texture, std::span<const TexturedQuad> quads, bool smooth) {
    const int tw = texture.width(), th = texture.height();
    if (tw <= 0 || th <= 0) return true;
    // SDL scales each tile of a texture larger than it allows on its own.
    const int limit = max_texture_size();
    if (smooth && limit > 0 && (tw > limit || th > limit)) return false;
    for (const TexturedQuad& q : quads) {
      const PointF* c = q.corners;
      if (c[0].y != c[1].y || c[1].x != c[2].x || c[2].y != c[3].y || c[3].x != c[0].x) return false;
      if (!(c[0].x < c[2].x && c[0].y < c[2].y)) return false;
      if (!(q.source.left < q.source.right && q.source.top < q.source.bottom)) return false;
      if (q.source.left < 0 || q.source.top < 0 || q.source.right > tw || q.source.bottom > th) return false;
    }
    FlushSdl();
    // The area that may be written: the surface, cut by the clip rectangle.
    int left = 0, top = 0, right = surface.w, bottom = surface.h;
    if (has_clip_) {
      left = std::max(left, clip_.left);
      top = std::max(top, clip_.top);
      right = std::min(right, clip_.right);
      bottom = std::min(bottom, clip_.bottom);
    }
    if (right <= left || bottom <= top) return true;
    BlitTarget target;
    target.pixels = static_cast<std::uint32_t*>(surface.pixels);
    target.pitch = surface.pitch / 4;
    target.area = Rect{left, top, right, bottom};
    for (const TexturedQuad& q : quads) {
      Rect source, dest;
      DirectRects(q, tw, th, source, dest);
      if (source.empty() || dest.empty()) continue;
      if (smooth && (source.width() != dest.width() || source.height() != dest.height())) {
        DrawSmooth(target, Rect{0, 0, surface.w, surface.h}, texture, source, dest, q.colour);
      } else {
        blitter_.Draw(target, texture, source, dest, q.colour);
      }
    }
    return true;
  }

  // A scaled rectangle as SDL's software renderer draws it on a window: one
  // that reaches past the surface is scaled whole and the picture cut; one
  // inside is first cut to the clip, the texels it keeps rounded as SDL rounds
  // them, and that part scaled to what is left.
  void DrawSmooth(const BlitTarget& target, const Rect& whole, const Texture& texture, Rect source, Rect dest,
                  Argb colour) {
    if (dest.left >= whole.left && dest.top >= whole.top && dest.right <= whole.right &&
        dest.bottom <= whole.bottom) {
      const Rect& clip = target.area;
      const double scale_x = static_cast<double>(dest.width()) / source.width();
      const double scale_y = static_cast<double>(dest.height()) / source.height();
      double sx0 = source.left, sy0 = source.top, sx1 = source.right, sy1 = source.bottom;
      double dx0 = dest.left - clip.left, dy0 = dest.top - clip.top;
      double dx1 = dest.right - clip.left, dy1 = dest.bottom - clip.top;
      if (dx0 < 0) sx0 -= dx0 / scale_x, dx0 = 0;
      if (dx1 > clip.width()) sx1 -= (dx1 - clip.width()) / scale_x, dx1 = clip.width();
      if (dy0 < 0) sy0 -= dy0 / scale_y, dy0 = 0;
      if (dy1 > clip.height()) sy1 -= (dy1 - clip.height()) / scale_y, dy1 = clip.height();
      dx0 += clip.left, dx1 += clip.left, dy0 += clip.top, dy1 += clip.top;
      const auto whole_of = [](double v) { return static_cast<int>(std::round(v)); };
      source = Intersect(RectFromSize(whole_of(sx0), whole_of(sy0), whole_of(sx1 - sx0), whole_of(sy1 - sy0)),
                         Rect{0, 0, texture.width(), texture.height()});
      dest = Intersect(RectFromSize(whole_of(dx0), whole_of(dy0), whole_of(dx1 - dx0), whole_of(dy1 - dy0)), clip);
      if (source.empty() || dest.empty()) return;
    }
    // A map drawn again at one zoom scales the same pictures to the same sizes: each is scaled once.
    const SmoothKey key{texture.version(), source, dest.width(), dest.height()};
    auto found = smoothed_.find(key);
    if (found == smoothed_.end()) {
      if (smoothed_texels_ > kSmoothedTexels) {
        smoothed_.clear();
        smoothed_texels_ = 0;
      }
      found = smoothed_.emplace(key, std::vector<std::uint32_t>()).first;
      const std::uint32_t* texels =
          texture.pixels() + static_cast<std::ptrdiff_t>(source.top) * texture.width() + source.left;
      ScaleSmooth(texels, texture.width(), source.width(), source.height(), dest.width(), dest.height(),
                  found->second);
      smoothed_texels_ += found->second.size();
    }
    BlendPicture(target, found->second.data(), dest.width(), dest, colour);
  }

  // What decides a smoothed picture: the texels (a version is never reused), the area scaled and the size.
  struct SmoothKey {
    std::uint64_t version = 0;
    Rect source;
    int width = 0;
    int height = 0;
    bool operator==(const SmoothKey&) const = default;
  };
  struct SmoothKeyHash {
    std::size_t operator()(const SmoothKey& k) const {
      std::uint64_t h = k.version;
      for (int v : {k.source.left, k.source.top, k.source.right, k.source.bottom, k.width, k.height}) {
        h = h * 0x9E3779B97F4A7C15ull + static_cast<std::uint32_t>(v);
      }
      return static_cast<std::size_t>(h ^ (h >> 29));
    }
  };
  // Somewhat more than the pictures of a few screens; past it, all are forgotten.
  static constexpr std::size_t kSmoothedTexels = std::size_t{8} << 20;

  // The texels and pixels SDL's software renderer draws a rectangular quad
  // with: it turns the texture coordinates back into whole texels and the
  // corners into whole pixels, truncating.
  static void DirectRects(const TexturedQuad& q, int tw, int th, Rect& source, Rect& dest) {
    const float fw = static_cast<float>(tw), fh = static_cast<float>(th);
    const int sx = static_cast<int>((q.source.left / fw) * fw);
    const int sy = static_cast<int>((q.source.top / fh) * fh);
    const int sw = static_cast<int>((q.source.right / fw) * fw - static_cast<float>(sx));
    const int sh = static_cast<int>((q.source.bottom / fh) * fh - static_cast<float>(sy));
    const PointF from{SnapToPixel(q.corners[0].x), SnapToPixel(q.corners[0].y)};
    const PointF to{SnapToPixel(q.corners[2].x), SnapToPixel(q.corners[2].y)};
    const int dw = static_cast<int>(to.x - from.x);
    const int dh = static_cast<int>(to.y - from.y);
    source = RectFromSize(sx, sy, std::max(0, sw), std::max(0, sh));
    dest = RectFromSize(static_cast<int>(from.x), static_cast<int>(from.y), std::max(0, dw), std::max(0, dh));
  }

  void FlushSdl() {
    if (!sdl_pending_) return;
    SDL_RenderFlush(renderer_);
    sdl_pending_ = false;
  }

  void DrainReleases() {
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
      auto* g = static_cast<GpuTiles*>(handle);
      if (live_.erase(g) == 0) continue;
      for (SDL_Texture* t : g->textures) SDL_DestroyTexture(t);
      delete g;
    }
  }

  void Forget(GpuTiles* g) {
    for (SDL_Texture* t : g->textures) SDL_DestroyTexture(t);
    live_.erase(g);
    delete g;
  }

  GpuTiles* Upload(const Texture& texture) {
    if (texture.width() <= 0 || texture.height() <= 0) return nullptr;
    Texture::GpuCopy& copy = texture.gpu_copy();
    GpuTiles* g = (copy.device == id_) ? static_cast<GpuTiles*>(copy.handle) : nullptr;
    if (g && (g->width != texture.width() || g->height != texture.height())) {
      Forget(g);
      g = nullptr;
    }
    if (!g) {
      g = Create(texture.width(), texture.height());
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

  GpuTiles* Create(int width, int height) {
    auto* g = new GpuTiles;
    g->width = width;
    g->height = height;
    const int limit = max_texture_size();
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
          for (SDL_Texture* made : g->textures) SDL_DestroyTexture(made);
          delete g;
          return nullptr;
        }
        SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
        // Off-screen frames sample exact texels so tests can check pixels; windows smooth scaled pictures.
        SDL_SetTextureScaleMode(t, surface_ ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        g->textures.push_back(t);
      }
    }
    live_.insert(g);
    return g;
  }

  // Draws the part of every quad that falls on one tile (x0, y0, w, h in texels of the whole texture).
  void DrawTile(SDL_Texture* tile, int tile_w, int tile_h, int x0, int y0, int w, int h,
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

  SDL_Renderer* renderer_;
  SDL_Surface* surface_;
  SDL_Window* window_;
  bool software_ = false;
  bool own_blitter_ = true;
  // The canvas and its kept copy, on renderers with target textures.
  bool targets_ = false;
  SDL_Texture* canvas_ = nullptr;
  SDL_Texture* kept_canvas_ = nullptr;
  bool canvas_on_ = false;    // frames are drawn into the canvas
  bool canvas_kept_ = false;  // kept_canvas_ holds what KeepBackBuffer kept
  // The back buffer as KeepBackBuffer left it, and the surface it came from.
  std::vector<std::uint32_t> kept_;
  SDL_Surface* kept_surface_ = nullptr;
  int width_;
  int height_;
  std::uint64_t id_;
  int renderer_max_ = 0;
  int max_override_ = 0;
  bool logged_failure_ = false;
  std::unordered_set<GpuTiles*> live_;
  std::vector<SDL_Vertex> vertices_;
  SoftwareBlitter blitter_;
  std::unordered_map<SmoothKey, std::vector<std::uint32_t>, SmoothKeyHash> smoothed_;
  std::size_t smoothed_texels_ = 0;
  bool has_clip_ = false;
  Rect clip_{};
  // SDL batches its draws; they must reach the surface before we write into it ourselves.
  bool sdl_pending_ = false;
  std::vector<int> indices_;
};

class NullBackend : public RenderBackend {
 public:
  void SetClip(const Rect*) override {}
  void Clear(Argb) override {}
  void DrawTexturedQuads(const Texture&, std::span<const TexturedQuad>) override {}
  void FillQuad(const PointF[4], const Argb[4]) override {}
  void DrawLine(PointF, PointF, Argb) override {}
  void Present() override {}
  bool ReadPixels(std::vector<std::uint32_t>&, int&, int&) override { return false; }
  int max_texture_size() const override { return max_; }
  void set_max_texture_size(int size) override { max_ = size; }

 private:
  int max_ = 0;
};

// The GL's own name for itself, read with the renderer's context current;
// empty when it cannot be read. Looked up at run time so the game needs no GL library to link.
std::string CurrentGlRenderer(SDL_Window* window) {
  if (SDL_GL_GetCurrentWindow() != window || !SDL_GL_GetCurrentContext()) return {};
  using GetStringFn = const unsigned char* (*)(unsigned int);
  constexpr unsigned int kGlRenderer = 0x1F01;
  auto get_string = reinterpret_cast<GetStringFn>(SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* name = get_string ? get_string(kGlRenderer) : nullptr;
  return name ? std::string(reinterpret_cast<const char*>(name)) : std::string();
}

}  // namespace

void ReleaseGpuCopy(std::uint64_t device, void* handle) {
  std::lock_guard<std::mutex> lock(g_release_mutex);
  if (!g_live_devices.contains(device)) return;
  g_release_queue.emplace_back(device, handle);
  g_release_pending.store(true, std::memory_order_release);
}

std::unique_ptr<RenderBackend> CreateSoftwareBackend(int width, int height) {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return nullptr;
  SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
  if (!renderer) {
    SDL_FreeSurface(surface);
    return nullptr;
  }
  return std::make_unique<SdlBackend>(renderer, surface, nullptr, width, height);
}

bool PreferSoftwareRenderer(std::string_view chosen, std::string_view gl_renderer, std::string_view requested) {
  if (!requested.empty() || !chosen.starts_with("opengl")) return false;
  std::string lower(gl_renderer);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
  for (std::string_view rasteriser : {"llvmpipe", "softpipe", "swrast"}) {
    if (lower.find(rasteriser) != std::string::npos) return true;
  }
  return false;
}

std::unique_ptr<RenderBackend> CreateWindowBackend(void* sdl_window, int width, int height) {
  auto* window = static_cast<SDL_Window*>(sdl_window);
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer) return nullptr;
  SDL_RendererInfo info{};
  const std::string chosen = SDL_GetRendererInfo(renderer, &info) == 0 && info.name ? info.name : "";
  const std::string gl = chosen.starts_with("opengl") ? CurrentGlRenderer(window) : std::string();
  LogLine(u"Renderer: " + Utf8ToUtf16(chosen) + (gl.empty() ? u"" : u" (" + Utf8ToUtf16(gl) + u")"));
  const char* requested = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  if (PreferSoftwareRenderer(chosen, gl, requested ? requested : "")) {
    SDL_DestroyRenderer(renderer);
    // The window's surface would otherwise reach the screen through that same GL.
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) return nullptr;
    LogLine(u"The GL renderer draws on the CPU; using the software renderer instead");
  }
  SDL_RenderSetLogicalSize(renderer, width, height);
  return std::make_unique<SdlBackend>(renderer, nullptr, window, width, height);
}

std::unique_ptr<RenderBackend> CreateNullBackend() { return std::make_unique<NullBackend>(); }

}  // namespace tr
