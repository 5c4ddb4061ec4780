// The SDL renderer: on a window or, headless, into an ARGB surface with
// SDL's software renderer. It wires the pieces that draw: the renderer's
// copies of textures (GpuTiles), drawn as triangles; our own blitter
// (WindowBlitter), which draws unrotated rectangles straight into the
// surface off-screen and on a window of SDL's software renderer; and, on
// renderers with target textures, the canvas a frame is drawn into
// (TargetCanvas), so the back buffer can be kept and put back.
#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "foundation/console_log.h"
#include "foundation/text.h"
#include "platform/gl_name.h"
#include "platform/gpu_tiles.h"
#include "platform/render_backend.h"
#include "platform/renderer_probe.h"
#include "platform/target_canvas.h"
#include "platform/window_blitter.h"

namespace tr {
namespace {

// Frees the renderer, and with it the off-screen surface it draws into, after
// everything made with it.
struct OwnedRenderer {
  SDL_Renderer* renderer;
  SDL_Surface* surface;
  ~OwnedRenderer() {
    SDL_DestroyRenderer(renderer);
    if (surface) SDL_FreeSurface(surface);
  }
};

SDL_Color ToSdl(Argb c) {
  return SDL_Color{static_cast<Uint8>(ArgbR(c)), static_cast<Uint8>(ArgbG(c)), static_cast<Uint8>(ArgbB(c)),
                   static_cast<Uint8>(ArgbA(c))};
}

class SdlBackend : public RenderBackend {
 public:
  SdlBackend(SDL_Renderer* renderer, SDL_Surface* surface, SDL_Window* window, int width, int height)
      : owned_{renderer, surface}, renderer_(renderer), surface_(surface), window_(window), width_(width),
        height_(height), tiles_(renderer, surface != nullptr) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer_, &info) == 0) {
      renderer_max_ = std::min(info.max_texture_width, info.max_texture_height);
      software_ = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
      if (window_ && !software_ && (info.flags & SDL_RENDERER_TARGETTEXTURE) != 0) {
        canvas_.emplace(renderer_, window_, width_, height_);
      }
    }
    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
  }

  void SetClip(const Rect* clip) override {
    has_clip_ = clip != nullptr;
    if (clip) clip_ = *clip;
    ApplyClip();
  }

  void Clear(Argb colour) override {
    tiles_.DrainReleases();
    if (canvas_ && canvas_->Choose()) ApplyClip();
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
    tiles_.DrainReleases();
    if (SDL_Surface* s = DirectSurface()) {
      // A window's scaled pictures are smoothed as SDL smooths them; off-screen ones take the nearest texel.
      const bool smooth = s != surface_;
      if (WindowBlitter::Accepts(texture, quads, smooth, max_texture_size())) {
        FlushSdl();
        const Surface32 target{static_cast<std::uint32_t*>(s->pixels), s->pitch / 4, s->w, s->h};
        blitter_.Draw(target, has_clip_ ? &clip_ : nullptr, texture, quads, smooth);
        return;
      }
    }
    sdl_pending_ = true;
    tiles_.Draw(texture, quads, max_texture_size());
  }

  void FillQuad(const PointF corners[4], const Argb colours[4]) override {
    tiles_.DrainReleases();
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
    tiles_.DrainReleases();
    if (!canvas_ || !canvas_->on()) {
      SDL_RenderPresent(renderer_);
      return;
    }
    canvas_->Present();
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
    if (canvas_ && canvas_->on()) {
      const bool kept = canvas_->Keep();
      ApplyClip();
      return kept;
    }
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
    if (canvas_ && canvas_->on()) return canvas_->kept();
    SDL_Surface* s = DrawnSurface();
    return s && s == kept_surface_ && kept_.size() == static_cast<std::size_t>(s->w) * s->h;
  }

  bool RestoreBackBuffer() override {
    if (!CanRestoreBackBuffer()) return false;
    if (canvas_ && canvas_->on()) {
      canvas_->Restore();
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

  // SDL batches its draws; they must reach the surface before we write into it ourselves.
  void FlushSdl() {
    if (!sdl_pending_) return;
    SDL_RenderFlush(renderer_);
    sdl_pending_ = false;
  }

  // Declared first, so freed last.
  OwnedRenderer owned_;
  SDL_Renderer* renderer_;
  SDL_Surface* surface_;
  SDL_Window* window_;
  int width_;
  int height_;
  GpuTiles tiles_;
  WindowBlitter blitter_;
  std::optional<TargetCanvas> canvas_;
  bool software_ = false;
  bool own_blitter_ = true;
  // The back buffer as KeepBackBuffer left it, and the surface it came from.
  std::vector<std::uint32_t> kept_;
  SDL_Surface* kept_surface_ = nullptr;
  int renderer_max_ = 0;
  int max_override_ = 0;
  bool has_clip_ = false;
  Rect clip_{};
  bool sdl_pending_ = false;
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

}  // namespace

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

namespace {

void LogRenderer(const std::string& chosen, const std::string& gl) {
  LogLine(u"Renderer: " + Utf8ToUtf16(chosen) + (gl.empty() ? u"" : u" (" + Utf8ToUtf16(gl) + u")"));
}

SDL_Renderer* CreateSoftwareInstead(SDL_Window* window) {
  // The window's surface would otherwise reach the screen through that same GL.
  SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer) LogLine(u"The GL renderer draws on the CPU; using the software renderer instead");
  return renderer;
}

// What the renderer probe beside the game answered, asked once a process:
// the display and its drivers do not change while the game runs.
const std::optional<ProbedRenderer>& FirstRendererProbed() {
  static const std::optional<ProbedRenderer> probed = ProbeRenderer(ProbeBesideExecutable());
  return probed;
}

}  // namespace

std::unique_ptr<RenderBackend> CreateWindowBackend(void* sdl_window, int width, int height) {
  auto* window = static_cast<SDL_Window*>(sdl_window);
  const char* requested_hint = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  const std::string requested = requested_hint ? requested_hint : "";
  SDL_Renderer* renderer = nullptr;
  // Decided before SDL makes its choice here: a GL made only to be put aside
  // leaves its driver loaded. Without the probe, SDL's choice is made and looked at.
  std::optional<ProbedRenderer> probed;
  if (requested.empty()) probed = FirstRendererProbed();
  if (probed && PreferSoftwareRenderer(probed->chosen, probed->gl, requested)) {
    LogRenderer(probed->chosen, probed->gl);
    renderer = CreateSoftwareInstead(window);
    if (!renderer) return nullptr;
  } else {
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) return nullptr;
    SDL_RendererInfo info{};
    const std::string chosen = SDL_GetRendererInfo(renderer, &info) == 0 && info.name ? info.name : "";
    const std::string gl = chosen.starts_with("opengl") ? CurrentGlRenderer(window) : std::string();
    LogRenderer(chosen, gl);
    if (PreferSoftwareRenderer(chosen, gl, requested)) {
      SDL_DestroyRenderer(renderer);
      renderer = CreateSoftwareInstead(window);
      if (!renderer) return nullptr;
    }
  }
  SDL_RenderSetLogicalSize(renderer, width, height);
  return std::make_unique<SdlBackend>(renderer, nullptr, window, width, height);
}

std::unique_ptr<RenderBackend> CreateNullBackend() { return std::make_unique<NullBackend>(); }

}  // namespace tr
