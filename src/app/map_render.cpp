#include "app/map_render.h"

#include <memory>
#include <utility>

#include "app/counter_draw.h"
#include "app/frame_render.h"
#include "app/hex_draw.h"
#include "app/input_routing.h"
#include "app/sea_node_markers.h"
#include "app/skin_tables.h"
#include "dialogs/dialog_base.h"
#include "foundation/gui_layout.h"
#include "foundation/settings.h"
#include "gui/resource_cache.h"
#include "platform/frame_clock.h"
#include "platform/graphics.h"
#include "platform/sprite_batch.h"
#include "units/unit.h"
#include "world/gra.h"
#include "world/map_camera.h"

namespace tr {
namespace {

// A hex may show a little beyond its cell (names, counters' texts), so it is
// drawn while it lies within this margin of the screen.
constexpr float kCullMargin = 166.0f;
constexpr float kMovingUnitDepth = 0.55f;  // in front of every map layer, and of a unit it passes
constexpr int kPanelClearEntry = 331;

std::function<sMapDrawState()>& StateSource() {
  static std::function<sMapDrawState()> source;
  return source;
}

PointF HexPosition(int column, int row, int ox, int oy) {
  return {static_cast<float>(ox + column * kColumnStep),
          static_cast<float>(oy + row * kRowStep + (column % 2 == 0 ? kRowStep / 2 : 0))};
}

void DrawInMode(SpriteBatch& sprite, const sHex& hex, PointF p, const sHexPathCell& cell, const sMapDrawState& state) {
  switch (gMapMode) {
    case 0: DrawHex(sprite, hex, p, cell, state); break;
    case 1: DrawHexTerrainOnly(sprite, hex, p, cell); break;
    case 2: DrawHexPolitical(sprite, hex, p); break;
    case 3: DrawHexWithPort(sprite, hex, p, cell, state); break;
    default: break;
  }
}

}  // namespace

void SetMapDrawStateSource(std::function<sMapDrawState()> source) { StateSource() = std::move(source); }

sMapDrawState CurrentMapDrawState() {
  if (auto& source = StateSource()) return source();
  sMapDrawState state;
  if (gGame != nullptr && gGame->viewingCountry != nullptr) state.ownCountry = gGame->viewingCountry->id;
  // The moving states begin only once the walk is set up, and the main
  // thread ends them itself: only then is the move record the frame's to read.
  if (gGame != nullptr) {
    const int gameState = gGame->GetGameState();
    if (gameState == kGameHumanMoving || gameState == kGameComputerMoving) {
      state.movingUnit = gGame->playerControl.move.unit;
    }
  }
  state.animationPhase = static_cast<int>(TimerMs() / 100 % 6);
  return state;
}

void RenderHexes(SpriteBatch& sprite, const cMap& map, const sMapDrawState& state, int screenWidth,
                 int screenHeight) {
  const float scale = map.viewTransform[0] > 0.0f ? map.viewTransform[0] : gDisplayedScale;
  if (scale <= 0.0f || map.GetWidth() <= 0 || map.GetHeight() <= 0) return;
  const Matrix2D saved = sprite.GetTransform();
  sprite.SetTransform(Matrix2D::Scaling(scale, scale));
  const float viewWidth = static_cast<float>(screenWidth) / scale;
  const float viewHeight = static_cast<float>(screenHeight) / scale;
  const int ox = static_cast<int>(viewWidth / 2.0f - map.camera.x);
  const int oy = static_cast<int>(viewHeight / 2.0f - map.camera.y);

  static const sHexPathCell kNoDecoration;
  const auto& cells = map.PathCells();
  const std::size_t cellCount = static_cast<std::size_t>(map.GetWidth()) * map.GetHeight();
  const int rows = map.visibleRowsAtScale / 2, columns = map.visibleColumnsAtScale / 2;
  for (int r = map.firstVisibleRow - rows - 1; r <= map.firstVisibleRow + rows + 1; ++r) {
    for (int c = map.firstVisibleColumn - columns; c <= map.firstVisibleColumn + columns + 1; ++c) {
      if (!map.IsInside(c, r)) continue;
      const PointF p = HexPosition(c, r, ox, oy);
      if (p.x + 166.0f + kCullMargin < 0.0f || p.y + 166.0f + kCullMargin < 0.0f ||
          p.x - kCullMargin > viewWidth || p.y - kCullMargin > viewHeight) {
        continue;
      }
      const std::size_t index = static_cast<std::size_t>(r) * map.GetWidth() + c;
      const sHexPathCell& cell = cells.size() == cellCount ? cells[index] : kNoDecoration;
      DrawInMode(sprite, *map.GetHex(c, r), p, cell, state);
    }
  }
  // The walking unit is in no hex until its walk ends, so the hexes' own
  // counters leave it out; the modes that show counters draw it here.
  const cUnit* walking = state.movingUnit;
  if ((gMapMode == 0 || gMapMode == 3) && walking != nullptr && walking->spotted &&
      map.IsInside(walking->x, walking->y) && map.GetHex(walking->x, walking->y)->unit != walking) {
    DrawUnitCounter(sprite, *state.movingUnit, HexPosition(walking->x, walking->y, ox, oy), kMovingUnitDepth,
                    state.animationPhase, state.ownCountry);
  }
  if ((gMapMode == 0 || gMapMode == 1) && state.markedHex != nullptr) {
    const sHex& hex = *state.markedHex;
    DrawHexSeaNodeMarkers(sprite, hex, HexPosition(hex.x, hex.y, ox, oy), state);
  }
  sprite.SetTransform(saved);
}

void RenderGame(Graphics& device, float elapsed) {
  if (gGame == nullptr || gGame->map == nullptr) return;
  SpriteBatch* sprite = GetGuiResourceCache().sprite();
  std::unique_ptr<SpriteBatch> own;
  if (sprite == nullptr || &sprite->graphics() != &device) {
    own = device.CreateSpriteBatch();
    sprite = own.get();
  }
  // An idle map draws the same terrain, borders and cities frame after frame: the batch keeps them.
  sprite->Begin(kSpriteAlphaBlend | kSpriteSortDepthBackToFront | kSpriteKeepBottom);
  RenderHexes(*sprite, *gGame->map, CurrentMapDrawState(), gScreenWidth, gScreenHeight);
  sprite->End();

  const sGuiClearRect& clear = gGuiClearRect;
  device.FillRect(RectF{static_cast<float>(clear.left), static_cast<float>(clear.top),
                        static_cast<float>(clear.right), static_cast<float>(clear.bottom)},
                  0xFF000000u);
  const sGuiLayoutEntry& panel = sGuiLayoutTable[kPanelClearEntry];
  device.FillRect(RectF{static_cast<float>(panel.x), static_cast<float>(panel.y),
                        static_cast<float>(panel.x + panel.width), static_cast<float>(panel.y + panel.height)},
                  0xFF000000u);
  for (cDialog* p : {gMinimapPanel, gHexPanel, gUnitPanel, gAttackPanel, gDiplomacyPanel, gInfoPanel}) {
    if (p != nullptr) p->Render(elapsed);
  }
}

void ChooseAppearanceForZoom() {
  // A scale not settled yet (below 0) would pick the farthest records for any zoom.
  const float zoom = gDisplayedScale > 0.0f ? gDisplayedScale : gTargetScale;
  SelectFontSetForZoom(zoom);
  SelectMapFontsForZoom(zoom);
}

void ViewWholeMap(cMap& map) {
  gTargetScale = map.fitScale;
  gDisplayedScale = -1.0f;
  map.camera.x = map.camera.targetX = map.GetWidth() * 83.0f / 2.0f;
  map.camera.y = map.camera.targetY = map.GetHeight() * 98.0f / 2.0f;
  map.FrameMove(0.0f);
  ChooseAppearanceForZoom();
}

void InstallMapDrawing() {
  SetMapRenderer(RenderGame);
  SetSeaNodeArt(&MapSeaNodeArt());
}

void UninstallMapDrawing() {
  SetMapRenderer({});
  if (SeaNodeArt() == &MapSeaNodeArt()) SetSeaNodeArt(nullptr);
}

}  // namespace tr
