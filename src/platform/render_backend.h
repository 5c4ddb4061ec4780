// What a renderer must do for Graphics: the few primitives everything else is
// built from. The SDL renderer draws on a window or, headless, into an
// off-screen surface; the null renderer draws nothing.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/geometry.h"

namespace tr {

class Texture;

// A textured quad: corners top-left, top-right, bottom-right, bottom-left on
// the back buffer; the source rectangle in texels; the modulating colour.
struct TexturedQuad {
  PointF corners[4];
  RectF source;
  Argb colour = 0xFFFFFFFF;
};

// A stretched draw places its corners through a division and a scaling, which
// can land a hair below the whole pixel meant; truncated, the picture would
// lose its last row or column and leave a seam against the next piece.
inline float SnapToPixel(float v) {
  const float nearest = std::round(v);
  return std::abs(v - nearest) < 1.0f / 256.0f ? nearest : v;
}

class RenderBackend {
 public:
  virtual ~RenderBackend() = default;
  virtual void SetClip(const Rect* clip) = 0;
  virtual void Clear(Argb colour) = 0;
  virtual void DrawTexturedQuads(const Texture& texture, std::span<const TexturedQuad> quads) = 0;
  // Corners top-left, top-right, bottom-right, bottom-left, each with its colour.
  virtual void FillQuad(const PointF corners[4], const Argb colours[4]) = 0;
  virtual void DrawLine(PointF a, PointF b, Argb colour) = 0;
  virtual void Present() = 0;
  virtual bool ReadPixels(std::vector<std::uint32_t>& out, int& width, int& height) = 0;
  virtual int max_texture_size() const = 0;
  virtual void set_max_texture_size(int size) = 0;
  // Keeps a copy of the whole back buffer as drawn so far, and puts it back
  // (whatever the clip). Only renderers that can do it cheaply, pixel for
  // pixel, do; the others return false and keep nothing.
  virtual bool KeepBackBuffer() { return false; }
  virtual bool RestoreBackBuffer() { return false; }
  // Whether RestoreBackBuffer would put the copy back now.
  virtual bool CanRestoreBackBuffer() { return false; }
  // With false, a window leaves all its drawing to SDL, our own blitter
  // unused: the picture that blitter must match, for tests.
  virtual void set_own_blitter(bool) {}
};

// Draws into an off-screen ARGB surface of the given size.
std::unique_ptr<RenderBackend> CreateSoftwareBackend(int width, int height);
// Draws on the window (an SDL_Window), scaled from the back-buffer size.
std::unique_ptr<RenderBackend> CreateWindowBackend(void* sdl_window, int width, int height);
std::unique_ptr<RenderBackend> CreateNullBackend();

// Whether to put SDL's software renderer in place of the one SDL chose
// (`chosen`, with `gl_renderer` the GL's own name when it is GL): a GL that
// rasterises on the CPU costs several times what the software renderer does.
// A renderer the player asked for by name (`requested`) is kept.
bool PreferSoftwareRenderer(std::string_view chosen, std::string_view gl_renderer, std::string_view requested);

// Frees a renderer's copy of a texture from any thread: the renderer that made
// it frees it at its next draw on the main thread.
void ReleaseGpuCopy(std::uint64_t device, void* handle);

// Draws now what the devices of this thread hold of the texture's drawing,
// before its texels change or it goes.
void DrawHeldFramesUsing(const Texture* texture);

}  // namespace tr
