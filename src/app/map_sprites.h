// The small pieces every map layer is drawn with: the 167-pixel cells of the
// skin pictures, the depth of a drawing row, pictures stretched into a skin
// placement, and texts with their shadow.
#pragma once

#include <string>
#include <string_view>

#include "app/skin_tables.h"
#include "platform/geometry.h"

namespace tr {

class SpriteBatch;
class Texture;

// The 166 x 166 sprite of a skin cell.
inline Rect SkinCell(int column, int row) { return RectFromSize(1 + 167 * column, 1 + 167 * row, 166, 166); }

// Rows of the sprite-depth table.
enum eDepthRow : int {
  kRowWater = 0,
  kRowPlain = 2,
  kRowDesert = 3,
  kRowSwamp = 4,
  kRowHill = 5,
  kRowMountain = 6,
  kRowRivers = 7,
  kRowRough = 8,
  kRowForest = 9,
  kRowHighlight = 10,
  kRowOwnership = 11,
  kRowGrid = 12,
  kRowCity = 13,
  kRowUnit = 14,
  kRowWeather = 16,
  kRowBorders = 17,
};
float RowDepth(int row);
int RowLayer(int row);

// Draws the source of the texture at the map position; a source that does
// not lie inside the picture (a skin without that cell) draws nothing.
void DrawSkinSprite(SpriteBatch& sprite, const Texture* texture, const Rect& source, PointF position, float depth,
                    Argb colour = 0xFFFFFFFF);
// Stretches the source into a raw placement (x, y, width, height from the position).
void DrawPlaced(SpriteBatch& sprite, const Texture* texture, const Rect& source, PointF position,
                const sPlacement& placement, float depth, Argb colour = 0xFFFFFFFF);
// A relative placement (left, top, right, bottom from the position) as a rectangle.
Rect PlacedRect(PointF position, const sPlacement& placement);
// The text as it fits the width in the font: whole, or cut with "..." after
// its last whole character that leaves room for them.
std::u16string FitToWidth(const Font& font, std::u16string_view text, int width);
// The text in the font's shadow colour one pixel down and right, then in its text colour.
void DrawShadowedText(SpriteBatch& sprite, const sAppearanceFont& font, std::u16string_view text, const Rect& rect,
                      std::uint32_t format);

}  // namespace tr
