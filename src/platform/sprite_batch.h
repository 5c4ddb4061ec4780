// Sprite drawing: textures, or rectangles of them, placed at a position with a
// depth and a colour that modulates the texels, under a 2D transform. Draws
// between Begin and End are collected and drawn at End (or Flush); with depth
// sorting they come out back to front (larger depth first), equal depths in
// the order they were given, since there is no depth buffer.
// Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace tr {

class Graphics;
class Texture;
class Font;
struct TexturedQuad;

// Begin flags (the values the game passes).
inline constexpr std::uint32_t kSpriteDontSaveState = 0x01;
inline constexpr std::uint32_t kSpriteAlphaBlend = 0x10;
inline constexpr std::uint32_t kSpriteSortTexture = 0x20;
inline constexpr std::uint32_t kSpriteSortDepthFrontToBack = 0x40;
inline constexpr std::uint32_t kSpriteSortDepthBackToFront = 0x80;
// Our own: the batch keeps the back buffer as its bottom sprites left it, and
// the next flush that begins with the same sprites on the same cleared back
// buffer puts that copy back instead of drawing them again. Where a renderer
// cannot keep its back buffer pixel for pixel, everything is drawn as usual.
inline constexpr std::uint32_t kSpriteKeepBottom = 0x10000;

class SpriteBatch {
 public:
  explicit SpriteBatch(Graphics& graphics);
  ~SpriteBatch();
  SpriteBatch(const SpriteBatch&) = delete;
  SpriteBatch& operator=(const SpriteBatch&) = delete;

  Graphics& graphics() { return graphics_; }

  // Begin on a begun batch, or End/Flush on one that is not, does nothing and returns false.
  bool Begin(std::uint32_t flags = kSpriteAlphaBlend);
  bool End();
  bool Flush();
  bool begun() const { return begun_; }

  // Draws the source rectangle (the whole texture when null) with its top-left
  // corner at the position, both taken through the current transform.
  // A null texture draws nothing.
  void Draw(const Texture* texture, const Rect* source, PointF position, float depth, Argb colour);

  void SetTransform(const Matrix2D& transform) { transform_ = transform; }
  const Matrix2D& GetTransform() const { return transform_; }

  // Text drawn through the batch (Font::DrawText with a sprite) waits with the
  // sprites and sorts at depth 0, in front of them.
  void QueueText(const Font& font, std::u16string text, const Rect& rect, std::uint32_t format, Argb colour);

 private:
  struct Item {
    const Texture* texture = nullptr;
    const Font* font = nullptr;
    Rect source;
    PointF position;
    float depth = 0;
    Argb colour = 0;
    Matrix2D transform;
    std::u16string text;
    std::uint32_t format = 0;
  };
  void DrawItem(const Item& item);

  // What decides the pixels of one sprite: the texture as it is now, the texels, the corners, the colour.
  struct DrawnKey {
    const Texture* texture = nullptr;
    std::uint64_t version = 0;
    Rect source;
    PointF corners[4];
    Argb colour = 0;
    bool operator==(const DrawnKey& other) const;
  };
  // What the back buffer was before the first sprite.
  struct BufferContext {
    Argb clear = 0;
    std::optional<Rect> clip;
    bool operator==(const BufferContext&) const = default;
  };

  Graphics& graphics_;
  bool begun_ = false;
  std::uint32_t flags_ = 0;
  Matrix2D transform_;
  struct SortKey {
    float depth;
    std::size_t index;
  };
  std::vector<Item> items_;
  std::vector<SortKey> order_;
  std::vector<TexturedQuad> run_;  // kept to spare an allocation per flush
  // With kSpriteKeepBottom: the last flush's sprites in drawing order up to its
  // first text, the sprites whose drawing the kept back buffer holds, and what
  // the back buffer was before them.
  std::vector<DrawnKey> keys_;
  std::vector<DrawnKey> last_keys_;
  std::vector<DrawnKey> kept_keys_;
  BufferContext kept_context_;
  std::uint64_t kept_token_ = 0;
  // How many sprites each of the last flushes shared with the one before.
  std::array<std::size_t, 64> recent_same_{};
  std::size_t recent_next_ = 0;
};

}  // namespace tr
