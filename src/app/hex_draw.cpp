#include "app/hex_draw.h"

#include <algorithm>
#include <bit>

#include "app/city_draw.h"
#include "app/counter_draw.h"
#include "app/map_draw_state.h"
#include "app/map_skin.h"
#include "app/map_sprites.h"
#include "app/sea_node_markers.h"
#include "foundation/format.h"
#include "foundation/settings.h"
#include "platform/codes.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr Argb kWhite = 0xFFFFFFFFu;
constexpr Rect kPortMarker{1838, 1671, 2004, 1837};

const Texture* TerrainSheet() { return MapSkinTextures().terrain.GetTexture(); }
const Texture* OthersSheet() { return MapSkinTextures().others.GetTexture(); }

bool HasOverlay(int terrain) { return terrain == 2 || terrain == 3 || terrain == 5 || terrain == 6; }

int OverlayRow(int terrain) {
  switch (terrain) {
    case 2: return kRowForest;
    case 3: return kRowRough;
    case 5: return kRowHill;
    default: return kRowMountain;
  }
}

int BaseRow(int base) {
  switch (base) {
    case 0: return kRowWater;
    case 4: return kRowSwamp;
    case 7: return kRowDesert;
    default: return kRowPlain;
  }
}

// The decoration replaces the layers of its own layer number.
bool Hidden(int row, const sHexPathCell& decoration) { return RowLayer(row) == decoration.layer; }

int WeatherIndex(const sHex& hex) { return hex.weather >= 0 && hex.weather <= 2 ? hex.weather : 0; }

// Overlay, base, rivers and decoration, in the weather given (clear for mode 1).
void DrawTerrain(SpriteBatch& sprite, const sHex& hex, PointF p, const sHexPathCell& decoration, int weather) {
  const int terrain = hex.terrain;
  if (terrain >= kTerrainKinds) return;
  const int variant = hex.variant % 6;
  const float weatherDrop = static_cast<float>(WeatherIndex(hex)) / 100.0f;
  if (HasOverlay(terrain) && !Hidden(OverlayRow(terrain), decoration)) {
    DrawSkinSprite(sprite, TerrainSheet(), SkinCell((terrain / 4) * 6 + variant, (terrain % 4) * 3 + weather), p,
                   RowDepth(OverlayRow(terrain)));
  }
  const int base = HasOverlay(terrain) ? 1 : terrain;
  if (!Hidden(BaseRow(base), decoration)) {
    const int row = (base % 4) * 3 + (hex.IsLand() ? weather : 0);
    DrawSkinSprite(sprite, TerrainSheet(), SkinCell((base / 4) * 6 + variant, row), p,
                   RowDepth(BaseRow(base)) - weatherDrop);
  }
  if (hex.rivers != 0 && !Hidden(kRowRivers, decoration)) {
    const int twin = hex.variant % 2;
    if (hex.rivers & kRiverMouth) {
      for (int k = 0; k < 6; ++k) {
        if (hex.rivers & (1 << k)) {
          DrawSkinSprite(sprite, TerrainSheet(), SkinCell(k, 1 + twin), p, RowDepth(kRowRivers) - 0.0001f);
        }
      }
    } else {
      // Each hex carries its sides 1 to 3; the neighbours draw the other three.
      for (int side = 1; side <= 3; ++side) {
        if (hex.rivers & (1 << side)) {
          DrawSkinSprite(sprite, OthersSheet(), SkinCell(twin + 2 * (side - 1), 0), p, RowDepth(kRowRivers));
        }
      }
    }
  }
  if (decoration.depth > 0.5f) {
    const sPoint at = decoration.texture[static_cast<std::size_t>(weather)];
    DrawSkinSprite(sprite, MapSkinTextures().decorations.GetTexture(), RectFromSize(at.x, at.y, 166, 166), p,
                   decoration.depth);
  }
}

Argb Opaque(Argb colour) { return 0xFF000000u | (colour & 0x00FFFFFFu); }

void DrawOwnershipTint(SpriteBatch& sprite, const sHex& hex, PointF p) {
  if (gMapOwnershipMode == 0 || hex.controller == 0 || hex.owner == 0) return;
  const float depth = RowDepth(kRowOwnership);
  if (gMapOwnershipMode == 1 || gMapOwnershipMode == 3) {
    if (const cCountry* c = hex.GetControllerCountry()) {
      DrawSkinSprite(sprite, OthersSheet(), SkinCell(1, 2), p, depth, Opaque(c->colors[0]));
    }
  }
  if (gMapOwnershipMode == 2 || gMapOwnershipMode == 3) {
    if (const cCountry* c = hex.GetOwnerCountry()) {
      DrawSkinSprite(sprite, OthersSheet(), SkinCell(2, 2), p, depth, Opaque(c->colors[0]));
    }
  }
}

void DrawHighlight(SpriteBatch& sprite, const sHex& hex, PointF p) {
  if (hex.flags == 0) return;
  const int b = std::countr_zero(hex.flags);
  // A port chosen from the map is marked on the hex where the node's ships
  // stand: under their counter the mark could not be seen.
  const float depth = hex.seaNodeMarker != 0 ? RowDepth(kRowUnit) - 0.002f : RowDepth(kRowHighlight);
  DrawSkinSprite(sprite, OthersSheet(), RectFromSize(1003 + 167 * (b % 6), 167 * (b / 6), 166, 166), p, depth);
}

void DrawFlagValue(SpriteBatch& sprite, const sHex& hex, PointF p) {
  if (!gShowAPLeft || hex.flagValue < 0) return;
  const sSkinTables& tables = SkinTables();
  const Rect& r = tables.headerRect;
  const int x = static_cast<int>(p.x), y = static_cast<int>(p.y);
  DrawShadowedText(sprite, tables.headerFont, Format(u"%i", hex.flagValue),
                   Rect{x + r.left, y + r.top, x + r.right, y + r.bottom},
                   DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}

void DrawBorders(SpriteBatch& sprite, const sHex& hex, PointF p) {
  const float depth = RowDepth(kRowBorders);
  const int shift = gBorderMode == 2 ? 0 : gBorderMode == 1 ? 3 : -1;
  for (int side = 1; side <= 3; ++side) {
    if (shift >= 0 && (hex.borders & (1u << (shift + side - 1)))) {
      DrawSkinSprite(sprite, OthersSheet(), SkinCell(side - 1, 4), p, depth, gBorderColor);
    }
    if (gShowSeaZoneBorders && (hex.borders & (1u << (6 + side - 1)))) {
      DrawSkinSprite(sprite, OthersSheet(), SkinCell(side + 2, 4), p, depth);
    }
  }
}

bool ChoosingSeaNode(int actionMode, bool withDeployment) {
  return (withDeployment && actionMode == 3) || (actionMode >= 13 && actionMode <= 15);
}

void DrawMarkersOf(SpriteBatch& sprite, const sHex& hex, PointF p, bool highlighted) {
  if (hex.seaNodeMarker == 0 || gGame == nullptr || !gGame->seaGraph.IsNodeId(hex.seaNodeMarker)) return;
  DrawSeaNodeMarkers(sprite, gGame->seaGraph.GetNode(hex.seaNodeMarker - 1), p, hex.x, hex.y, highlighted,
                     !gShowSeaZoneNames);
}

void DrawAttackArrows(SpriteBatch& sprite, const sHex& hex, PointF p, const sMapDrawState& state) {
  if (hex.unit == nullptr || hex.unit != state.attackDefender) return;
  // Just in front of the defender's counter.
  const float depth = RowDepth(kRowUnit) - 0.001f;
  for (int side = 0; side < 6; ++side) {
    if (state.attackSides[static_cast<std::size_t>(side)]) {
      DrawSkinSprite(sprite, OthersSheet(), SkinCell(side, 5), p, depth);
    }
  }
}

}  // namespace

void DrawHex(SpriteBatch& sprite, const sHex& hex, PointF p, const sHexPathCell& decoration,
             const sMapDrawState& state) {
  const int weather = WeatherIndex(hex);
  DrawTerrain(sprite, hex, p, decoration, weather);
  if (gShowWeather && hex.IsLand()) {
    DrawSkinSprite(sprite, OthersSheet(), SkinCell(hex.variant % 2 + 2 * weather, 7), p, RowDepth(kRowWeather));
  }
  DrawOwnershipTint(sprite, hex, p);
  DrawHighlight(sprite, hex, p);
  DrawFlagValue(sprite, hex, p);
  DrawBorders(sprite, hex, p);
  if (gShowGrid && hex.IsLand()) DrawSkinSprite(sprite, OthersSheet(), SkinCell(5, 2), p, RowDepth(kRowGrid));
  const bool cityHidden = Hidden(kRowCity, decoration);
  if (hex.city != nullptr) {
    DrawCity(sprite, *hex.city, p, !cityHidden, hex, hex.variant);
  } else if (hex.fortLevel > 0 && !cityHidden) {
    DrawSkinSprite(sprite, OthersSheet(), SkinCell(std::min<int>(hex.fortLevel, kMaxFortLevel) - 1, 10), p,
                   RowDepth(kRowCity));
  }
  DrawMarkersOf(sprite, hex, p, ChoosingSeaNode(state.actionMode, true));
  if (hex.unit != nullptr && hex.unit->spotted) {
    // Zoomed out no room is left in the hex for both: the city's name takes
    // its counter's name line (the unit panel names the unit).
    const bool named = hex.city == nullptr || Intersect(CityNamePlace(), UnitNamePlace(*hex.unit)).empty();
    DrawUnitCounter(sprite, *hex.unit, p, RowDepth(kRowUnit), state.animationPhase, state.ownCountry, named);
  }
  DrawAttackArrows(sprite, hex, p, state);
}

void DrawHexTerrainOnly(SpriteBatch& sprite, const sHex& hex, PointF p, const sHexPathCell& decoration) {
  DrawTerrain(sprite, hex, p, decoration, 0);
}

void DrawHexPolitical(SpriteBatch& sprite, const sHex& hex, PointF p) {
  if (!hex.IsLand()) {
    DrawSkinSprite(sprite, TerrainSheet(), SkinCell(0, 0), p, RowDepth(kRowWater));
    return;
  }
  const cCountry* controller = hex.GetControllerCountry();
  const int alliance = controller != nullptr ? controller->alliance : 0;
  const Rect cell = alliance >= 1 && alliance <= 6 ? SkinCell(alliance - 1, 1) : SkinCell(0, 2);
  DrawSkinSprite(sprite, OthersSheet(), cell, p, RowDepth(kRowPlain));
  const sCityAppearance& ap = *SkinTables().activeCity;
  if (hex.city != nullptr && ap.valid[0]) {
    DrawPlaced(sprite, FlagOf(controller), Rect{0, 0, 128, 85}, p, ap.placement[0], RowDepth(kRowCity));
  }
}

void DrawHexWithPort(SpriteBatch& sprite, const sHex& hex, PointF p, const sHexPathCell& decoration,
                     const sMapDrawState& state) {
  DrawHex(sprite, hex, p, decoration, state);
  if (hex.IsLand() && hex.port != 0) DrawSkinSprite(sprite, OthersSheet(), kPortMarker, p, 0.5f);
}

void DrawHexSeaNodeMarkers(SpriteBatch& sprite, const sHex& hex, PointF p, const sMapDrawState& state) {
  DrawMarkersOf(sprite, hex, p, ChoosingSeaNode(state.actionMode, false));
}

void DrawHexTerrainSprite(SpriteBatch& sprite, const sHex& hex, PointF p, float depth) {
  DrawSkinSprite(sprite, TerrainSheet(), SkinCell(hex.variant % 6, 0), p, depth);
  if (hex.flags != 0) {
    const int b = std::countr_zero(hex.flags);
    DrawSkinSprite(sprite, OthersSheet(), RectFromSize(1003 + 167 * (b % 6), 167 * (b / 6), 166, 166), p, depth);
  }
  if (const auto* ship = dynamic_cast<const cJednostkaMorska*>(hex.unit)) {
    DrawNavalCounter(sprite, *ship, p, depth - 0.1f);
  }
}

}  // namespace tr
