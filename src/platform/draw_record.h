// The recording renderer: every draw that reaches the render device, in the
// order it is drawn, with what a test needs to check it exactly.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace tr {

class Texture;
class Font;

struct DrawRecord {
  enum class Kind { kClear, kSprite, kText, kQuad, kLines };

  Kind kind = Kind::kSprite;
  // Sprites: the texture (may be null: nothing is drawn), its label and the source rectangle in texels.
  const Texture* texture = nullptr;
  std::string texture_label;
  Rect source;
  // Sprites and quads: the destination on the back buffer after the transform.
  // Text: the layout rectangle after the transform.
  RectF dest;
  Argb colour = 0;
  // Quads: top-left, top-right, bottom-left, bottom-right.
  Argb corner_colours[4] = {0, 0, 0, 0};
  float depth = 0;
  // Text: the text drawn (after the character count cut), its DT_ flags and font.
  std::u16string text;
  std::uint32_t flags = 0;
  const Font* font = nullptr;
  // Lines: the points of the polyline and its width.
  std::vector<PointF> points;
  float width = 0;
  // The clip rectangle in force, if any.
  std::optional<Rect> clip;
};

class DrawRecorder {
 public:
  void Record(DrawRecord record) { records_.push_back(std::move(record)); }
  const std::vector<DrawRecord>& records() const { return records_; }
  void Clear() { records_.clear(); }

  std::size_t Count(DrawRecord::Kind kind) const;
  std::vector<const DrawRecord*> OfKind(DrawRecord::Kind kind) const;
  // The first text record whose text equals the given one, or null.
  const DrawRecord* FindText(std::u16string_view text) const;

 private:
  std::vector<DrawRecord> records_;
};

}  // namespace tr
