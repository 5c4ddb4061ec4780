// Sprite drawing: textures, or rectangles of them, placed at a position with a
// depth and a colour that modulates the texels, under a 2D transform. Draws
// between Begin and End are collected and drawn at End (or Flush); with depth
// sorting they come out back to front (larger depth first), equal depths in
// the order they were given, since there is no depth buffer.
// Main thread only.
#pragma once

#include <cstdint>
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
};

}  // namespace tr
