#include "platform/target_canvas.h"

#include <SDL.h>

#include <initializer_list>

namespace tr {

TargetCanvas::TargetCanvas(SDL_Renderer* renderer, SDL_Window* window, int width, int height)
    : renderer_(renderer), window_(window), width_(width), height_(height) {}

TargetCanvas::~TargetCanvas() { Drop(); }

bool TargetCanvas::Choose() {
  if (!usable_) return false;
  int w = 0, h = 0;
  SDL_GetWindowSizeInPixels(window_, &w, &h);
  const bool want = w == width_ && h == height_;
  if (want == on_) return false;
  if (want && !canvas_) {
    canvas_ = MakeTarget();
    if (!canvas_) {
      usable_ = false;
      return false;
    }
  }
  if (SDL_SetRenderTarget(renderer_, want ? canvas_ : nullptr) != 0) {
    usable_ = false;
    Drop();
    SDL_SetRenderTarget(renderer_, nullptr);
    return true;
  }
  on_ = want;
  kept_ = false;
  return true;
}

void TargetCanvas::Present() {
  SDL_SetRenderTarget(renderer_, nullptr);
  SDL_RenderSetClipRect(renderer_, nullptr);
  SDL_RenderCopy(renderer_, canvas_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
  SDL_SetRenderTarget(renderer_, canvas_);
}

bool TargetCanvas::Keep() {
  if (!kept_canvas_) kept_canvas_ = MakeTarget();
  if (!kept_canvas_ || SDL_SetRenderTarget(renderer_, kept_canvas_) != 0) return false;
  SDL_RenderCopy(renderer_, canvas_, nullptr, nullptr);
  SDL_SetRenderTarget(renderer_, canvas_);
  kept_ = true;
  return true;
}

void TargetCanvas::Restore() {
  SDL_RenderSetClipRect(renderer_, nullptr);
  SDL_RenderCopy(renderer_, kept_canvas_, nullptr, nullptr);
}

SDL_Texture* TargetCanvas::MakeTarget() {
  SDL_Texture* t = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width_, height_);
  if (!t) return nullptr;
  // Copied whole, pixel for pixel, alpha included.
  SDL_SetTextureBlendMode(t, SDL_BLENDMODE_NONE);
  SDL_SetTextureScaleMode(t, SDL_ScaleModeNearest);
  return t;
}

void TargetCanvas::Drop() {
  if (on_) SDL_SetRenderTarget(renderer_, nullptr);
  for (SDL_Texture** t : {&canvas_, &kept_canvas_}) {
    if (*t) SDL_DestroyTexture(*t);
    *t = nullptr;
  }
  on_ = kept_ = false;
}

}  // namespace tr
