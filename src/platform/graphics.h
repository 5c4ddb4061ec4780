// The render device of the frame: the back buffer, the clip rectangle, clear,
// filled and four-colour quads, lines, and the read-back of pixels. Sprites go
// through SpriteBatch and text through Font, both of which draw here.
// Main thread only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/draw_record.h"
#include "platform/geometry.h"

namespace tr {

class RenderBackend;
class SpriteBatch;
class Texture;
struct TexturedQuad;

class Graphics {
 public:
  Graphics(std::unique_ptr<RenderBackend> backend, int width, int height);
  ~Graphics();
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  // Back-buffer size in pixels.
  int width() const { return width_; }
  int height() const { return height_; }

  // Fills the whole back buffer, whatever the clip.
  void Clear(Argb colour);

  // Restricts every later draw to the rectangle; null removes the restriction.
  void SetClipRect(const Rect* clip);
  std::optional<Rect> clip_rect() const { return clip_; }

  void FillRect(const RectF& rect, Argb colour);
  // Corner colours: top-left, top-right, bottom-left, bottom-right.
  void FillQuad(const RectF& rect, Argb top_left, Argb top_right, Argb bottom_left, Argb bottom_right);
  // A polyline through the points, width in pixels.
  void DrawLines(std::span<const PointF> points, Argb colour, float width = 1.0f);

  // A new sprite batch drawing on this device.
  std::unique_ptr<SpriteBatch> CreateSpriteBatch();

  // Textures wider or taller than this are drawn in tiles; 0 uses the renderer's own limit.
  void SetMaxTextureSize(int size);
  int max_texture_size() const;

  // The back buffer as ARGB pixels, row-major (empty when the renderer cannot
  // read back), with what the frame holds so far drawn. Read between frames,
  // it shows the frame presented and leaves the coming one to be compared.
  std::vector<std::uint32_t> ReadPixels();
  Argb ReadPixel(int x, int y);
  bool SaveScreenshot(const std::filesystem::path& png_file);

  // While set, every draw is also listed in the recorder.
  void SetRecorder(DrawRecorder* recorder) { recorder_ = recorder; }
  DrawRecorder* recorder() const { return recorder_; }

  // The clear colour while the back buffer holds nothing but the last Clear
  // (nothing drawn, presented or restored since, same renderer); else empty.
  std::optional<Argb> untouched_clear() const { return untouched_clear_; }
  // A copy of the whole back buffer as drawn so far: a token for putting it
  // back, or 0 where the renderer cannot do it pixel for pixel. There is one
  // copy: a later keep (by anyone) or another renderer makes a token stale,
  // and restoring with a stale token does nothing and returns false.
  std::uint64_t KeepBackBuffer();
  bool RestoreBackBuffer(std::uint64_t token);

  // Draws wait for the end of the frame: a frame that draws exactly what the
  // last one drew (same draws, clips and texture contents) is neither drawn
  // nor presented, since the screen already shows it. FinishFrame decides and
  // draws what waited; Present calls it when the frame's owner did not.
  void FinishFrame();
  // The next frame is drawn and presented even if it is the same (the window
  // was exposed or resized, and the screen lost what it showed), and drawn
  // whole: a renderer's kept copy may have been lost with it.
  void RedrawNextFrame() {
    last_valid_ = false;
    kept_token_ = 0;
  }
  // Called by the frame; false when the frame was the one already on screen.
  bool Present();
  void ReplaceBackend(std::unique_ptr<RenderBackend> backend);
  // Draws at once what this frame holds that uses the texture (before it changes or goes).
  void DrawHeldUsing(const Texture* texture);

  // The drawing primitives SpriteBatch and Font build on.
  void DrawTexturedQuads(const Texture& texture, std::span<const TexturedQuad> quads);
  void Record(DrawRecord record);
  RenderBackend& backend() { return *backend_; }

 private:
  // One draw as it reaches the renderer; quads live in the frame's quad list.
  struct HeldDraw {
    enum class Kind : std::uint8_t { kClip, kClear, kQuads, kFill, kLine, kRestore };
    Kind kind = Kind::kClear;
    bool has_clip = false;
    Rect clip{};
    const Texture* texture = nullptr;
    std::uint64_t version = 0;  // of the texture; of the kept back buffer for kRestore
    std::size_t first = 0;
    std::size_t count = 0;
    PointF corners[4]{};
    Argb colours[4]{};
    bool operator==(const HeldDraw& other) const;
  };
  void Hold(HeldDraw draw);
  // On or off this thread's list of devices holding draws.
  void SetHolding(bool holding);
  friend void DrawHeldFramesUsing(const Texture* texture);
  void HoldFill(const PointF corners[4], const Argb colours[4]);
  // Draws everything held so far; later draws of the frame go straight through.
  void DrawHeld();
  // Draws what the frame holds before the back buffer is read; nothing held, nothing drawn.
  void DrawHeldForReading();
  void Execute(const HeldDraw& draw);
  bool SameAsLast() const;

  std::unique_ptr<RenderBackend> backend_;
  int width_;
  int height_;
  std::optional<Rect> clip_;
  DrawRecorder* recorder_ = nullptr;
  std::optional<Argb> untouched_clear_;
  std::uint64_t keep_count_ = 0;
  std::uint64_t kept_token_ = 0;
  // This frame's draws and the last presented frame's, for comparing them.
  std::vector<HeldDraw> held_;
  std::vector<TexturedQuad> held_quads_;
  std::vector<HeldDraw> last_;
  std::vector<TexturedQuad> last_quads_;
  bool last_valid_ = false;
  bool frame_drawn_ = false;  // something of this frame reached the renderer
  bool finished_ = false;
  bool skip_present_ = false;
  bool holding_ = false;
  Graphics* next_holding_ = nullptr;
  std::optional<Rect> backend_clip_;
  // The clip each frame started with: it applies to the draws before the frame sets its own.
  std::optional<Rect> start_clip_;
  std::optional<Rect> last_start_clip_;
};

}  // namespace tr
