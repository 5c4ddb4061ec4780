#include "app/sea_node_markers.h"

#include "app/counter_draw.h"
#include "app/map_skin.h"
#include "app/map_sprites.h"
#include "app/units_skin.h"
#include "foundation/format.h"
#include "foundation/gui_layout.h"
#include "gui/layout_access.h"
#include "gui/resource_cache.h"
#include "gui/texture_holder.h"
#include "platform/codes.h"
#include "platform/font.h"
#include "platform/sprite_batch.h"
#include "units/jednostka_morska.h"

namespace tr {
namespace {

constexpr Argb kHintBackground = 0xE0202428u;
constexpr Argb kHintText = 0xFFFFFFFFu;
// The white square of the parts sheet, tinted into the hint's background.
constexpr Rect kPlainSquare{0, 0, 64, 64};
// The highlight of the selected hex (lowest flag bit 0).
constexpr Rect kSelectedHighlight{1003, 0, 1169, 166};

Font* HintFont() {
  const LayoutFont layoutFont = GetLayoutFont(0);
  cGuiResourceCache& cache = GetGuiResourceCache();
  return cache.GetFont(cache.AddFont(layoutFont.face, layoutFont.height, layoutFont.weight));
}

void HintText(SpriteBatch& sprite, Font* font, std::u16string_view text, Rect rect, std::uint32_t format) {
  if (font != nullptr) font->DrawText(&sprite, text, -1, &rect, format | DT_SINGLELINE | DT_NOCLIP, kHintText);
}

}  // namespace

cMapSeaNodeArt& MapSeaNodeArt() {
  static cMapSeaNodeArt art;
  return art;
}

void cMapSeaNodeArt::Begin(SpriteBatch* sprite, bool highlighted) {
  sprite_ = sprite;
  highlighted_ = highlighted;
}

void cMapSeaNodeArt::End() { sprite_ = nullptr; }

void cMapSeaNodeArt::DrawMarkerShip(const cJednostkaMorska& ship, float screenX, float screenY) {
  if (sprite_ == nullptr) return;
  const float depth = RowDepth(kRowUnit);
  if (highlighted_) {
    DrawSkinSprite(*sprite_, MapSkinTextures().others.GetTexture(), kSelectedHighlight, {screenX, screenY},
                   depth + 0.001f);
  }
  DrawNavalCounter(*sprite_, ship, {screenX, screenY}, depth);
}

void cMapSeaNodeArt::DrawZoneName(const sWezelGrafuMorz& node, float screenX, float screenY) {
  if (sprite_ == nullptr) return;
  const int x = static_cast<int>(screenX), y = static_cast<int>(screenY);
  DrawShadowedText(*sprite_, SkinTables().activeCity->fonts[2], node.name, Rect{x - 40, y + 66, x + 206, y + 100},
                   DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}

void cMapSeaNodeArt::DrawHint(const sWezelGrafuMorz& node, SpriteBatch& sprite, int x, int y) {
  const sGuiLayoutEntry& box = sGuiLayoutTable[15];
  const int w = box.width, h = box.height;
  if (w <= 0 || h <= 0) return;
  DrawSpriteStretched(sprite, UnitsSkinTextures().info.GetTexture(), kPlainSquare, static_cast<float>(x),
                      static_cast<float>(y), static_cast<float>(w), static_cast<float>(h), kHintBackground, 0.5f,
                      false);
  Font* font = HintFont();
  const int line = font != nullptr ? font->line_height() + 2 : 16;
  HintText(sprite, font, node.name, Rect{x + 4, y + 2, x + w - 4, y + 2 + line}, DT_CENTER);
  // Six columns, one per ship type: the picture, then own, allied and spotted enemy ships.
  const int column = (w - 8) / kShipTypeCount;
  const int pictureHeight = column * 100 / 128;
  const int top = y + 2 + line;
  for (int i = 0; i < kShipTypeCount; ++i) {
    const int left = x + 4 + i * column;
    DrawSpriteStretched(sprite, UnitsSkinTextures().units.GetTexture(), UnitAtlasCell(kAircraftCarrier + i, 1),
                        static_cast<float>(left), static_cast<float>(top), static_cast<float>(column),
                        static_cast<float>(pictureHeight), 0xFFFFFFFFu, 0.5f, false);
    const std::array<std::int32_t, 3> counts = {node.ownShips[static_cast<std::size_t>(i)],
                                                node.alliedShips[static_cast<std::size_t>(i)],
                                                node.spottedEnemyShips[static_cast<std::size_t>(i)]};
    for (std::size_t r = 0; r < counts.size(); ++r) {
      const int rowTop = top + pictureHeight + static_cast<int>(r) * line;
      HintText(sprite, font, Format(u"%i", counts[r]), Rect{left, rowTop, left + column, rowTop + line}, DT_CENTER);
    }
  }
  if (node.IsPort()) {
    HintText(sprite, font, Format(u"%i/%i", node.portSize, node.maxPortSize),
             Rect{x + 4, y + h - line - 2, x + w - 4, y + h - 2}, DT_CENTER);
  }
}

void DrawSeaNodeMarkers(SpriteBatch& sprite, const sWezelGrafuMorz& node, PointF position, int hexX, int hexY,
                        bool highlighted, bool suppressLabel) {
  cMapSeaNodeArt& art = MapSeaNodeArt();
  art.Begin(&sprite, highlighted);
  node.DrawMarkers(position.x, position.y, hexX, hexY, suppressLabel);
  art.End();
}

}  // namespace tr
