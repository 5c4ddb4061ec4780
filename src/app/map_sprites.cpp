#include "app/map_sprites.h"

#include <cmath>

#include "gui/texture_holder.h"
#include "platform/font.h"
#include "platform/sprite_batch.h"
#include "platform/texture.h"

namespace tr {
namespace {

bool InsidePicture(const Texture& texture, const Rect& source) {
  return source.left >= 0 && source.top >= 0 && source.right <= texture.width() &&
         source.bottom <= texture.height() && !source.empty();
}

}  // namespace

float RowDepth(int row) { return SkinTables().depths[static_cast<std::size_t>(row)].depth; }

int RowLayer(int row) { return SkinTables().depths[static_cast<std::size_t>(row)].key; }

void DrawSkinSprite(SpriteBatch& sprite, const Texture* texture, const Rect& source, PointF position, float depth,
                    Argb colour) {
  // Empty cells (clear weather, sides without a border) are common and cost
  // a full blend each with the software renderer.
  if (texture == nullptr || !InsidePicture(*texture, source) || texture->IsClear(source)) return;
  sprite.Draw(texture, &source, position, depth, colour);
}

void DrawPlaced(SpriteBatch& sprite, const Texture* texture, const Rect& source, PointF position,
                const sPlacement& placement, float depth, Argb colour) {
  if (texture == nullptr || !InsidePicture(*texture, source)) return;
  DrawSpriteStretched(sprite, texture, source, position.x + static_cast<float>(placement[0]),
                      position.y + static_cast<float>(placement[1]), static_cast<float>(placement[2]),
                      static_cast<float>(placement[3]), colour, depth, true);
}

Rect PlacedRect(PointF position, const sPlacement& placement) {
  const int x = static_cast<int>(std::lround(position.x)), y = static_cast<int>(std::lround(position.y));
  return Rect{x + placement[0], y + placement[1], x + placement[2], y + placement[3]};
}

std::u16string FitToWidth(const Font& font, std::u16string_view text, int width) {
  if (font.TextWidth(text) <= width) return std::u16string(text);
  constexpr std::u16string_view kCut = u"...";
  const int room = width - font.TextWidth(kCut);
  if (room < 0) return {};
  // The widths of the text's beginnings grow with their length.
  std::size_t fits = 0;
  std::size_t over = text.size();
  while (over - fits > 1) {
    const std::size_t middle = (fits + over) / 2;
    if (font.TextWidth(text.substr(0, middle)) <= room) {
      fits = middle;
    } else {
      over = middle;
    }
  }
  // Half a surrogate pair is no character, and a space before the dots reads as a gap.
  if (fits > 0 && text[fits - 1] >= 0xD800 && text[fits - 1] <= 0xDBFF) --fits;
  while (fits > 0 && text[fits - 1] == u' ') --fits;
  return std::u16string(text.substr(0, fits)) + std::u16string(kCut);
}

void DrawShadowedText(SpriteBatch& sprite, const sAppearanceFont& font, std::u16string_view text, const Rect& rect,
                      std::uint32_t format) {
  if (font.object == nullptr) return;
  Rect shadow{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
  font.object->DrawText(&sprite, text, -1, &shadow, format, font.font.color2);
  Rect front = rect;
  font.object->DrawText(&sprite, text, -1, &front, format, font.font.color);
}

}  // namespace tr
