// Where the renderer offers target textures, a frame is drawn into one of
// the back buffer's size, the canvas, copied to the window when presented,
// so that the canvas can be kept by copying it into another target texture,
// and put back the same way, without reading pixels back. Only while the
// window shows the back buffer unscaled; otherwise frames are drawn on the
// window itself and nothing is kept. Chosen as a frame begins.
// The renderer forgets its clip rectangle whenever it draws into another
// target: after Present, Keep and Restore, and Choose when it says so, the caller
// sets it again.
#pragma once

struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Window;

namespace tr {

class TargetCanvas {
 public:
  // width x height: the back buffer's size.
  TargetCanvas(SDL_Renderer* renderer, SDL_Window* window, int width, int height);
  ~TargetCanvas();
  TargetCanvas(const TargetCanvas&) = delete;
  TargetCanvas& operator=(const TargetCanvas&) = delete;

  // Draws the coming frame into the canvas or on the window, as the window's
  // size asks; once the renderer fails at it, always on the window. True
  // when the renderer's target was set (its clip forgotten).
  bool Choose();
  // Whether frames are drawn into the canvas.
  bool on() const { return on_; }
  // Shows the canvas on the window.
  void Present();
  // Copies the canvas as drawn so far; false when it cannot.
  bool Keep();
  // Whether Keep's copy may be put back.
  bool kept() const { return kept_; }
  // Puts Keep's copy back over the whole canvas, whatever the clip.
  void Restore();

 private:
  SDL_Texture* MakeTarget();
  // Back to the window, the textures freed.
  void Drop();

  SDL_Renderer* renderer_;
  SDL_Window* window_;
  int width_;
  int height_;
  bool usable_ = true;
  SDL_Texture* canvas_ = nullptr;
  SDL_Texture* kept_canvas_ = nullptr;
  bool on_ = false;    // frames are drawn into the canvas
  bool kept_ = false;  // kept_canvas_ holds what Keep kept
};

}  // namespace tr
