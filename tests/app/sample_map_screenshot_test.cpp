// The shipped sample scenario, loaded as the scenario checker loads it, drawn
// headless with the shipped skins at a close and a whole-map zoom, with the
// minimap in its corner. The pictures are kept in the build folder for a look.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "app/app_presentation.h"
#include "app/counter_draw.h"
#include "app/game_frame_move.h"
#include "app/hex_draw.h"
#include "app/map_draw_state.h"
#include "app/map_render.h"
#include "app/map_sprites.h"
#include "app/minimap_texture.h"
#include "app/skin_tables.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "map_draw_fixture.h"
#include "platform/render_backend.h"
#include "platform/sprite_batch.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/city.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/map_camera.h"
#include "world/presentation.h"

namespace tr {
namespace {

// The zooms the wheel reaches, as the map's own zoom steps it from full size
// out to the whole map: of each run of steps that draw with the same
// appearances of the skins, the nearest and the farthest (the layout changes
// only between runs).
std::vector<float> RangeZooms(cMap& map) {
  sSkinTables& tables = SkinTables();
  const auto saved = std::make_tuple(gZoomLevel, tables.activeCity, tables.activeUnit);
  const auto appearances = [&] { return std::make_tuple(tables.activeCity, tables.activeUnit); };
  std::vector<float> zooms;
  decltype(appearances()) last;
  float previous = 0.0f;
  gZoomLevel = 0.0f;
  for (float step = 1.0f; step != previous; map.Zoom(-1.0f, 0.0f, 0.0f), step = gTargetScale) {
    SelectFontSetForZoom(step), SelectMapFontsForZoom(step);
    if (zooms.empty() || appearances() != last) {
      if (!zooms.empty() && zooms.back() != previous) zooms.push_back(previous);
      zooms.push_back(step);
    }
    last = appearances();
    previous = step;
  }
  if (zooms.back() != previous) zooms.push_back(previous);
  EXPECT_FLOAT_EQ(previous, static_cast<float>(gScreenWidth) / static_cast<float>(map.GetWidth() * kColumnStep));
  EXPECT_GE(zooms.size(), 8u);
  std::tie(gZoomLevel, tables.activeCity, tables.activeUnit) = saved;
  return zooms;
}

// The contrast ratio of two colours by their relative luminance (sRGB).
double Contrast(Argb a, Argb b) {
  const auto linear = [](Argb c, int shift) {
    const double v = static_cast<double>((c >> shift) & 0xFFu) / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  const auto lum = [&](Argb c) { return 0.2126 * linear(c, 16) + 0.7152 * linear(c, 8) + 0.0722 * linear(c, 0); };
  return (std::max(lum(a), lum(b)) + 0.05) / (std::min(lum(a), lum(b)) + 0.05);
}

constexpr char16_t kFolder[] = u"data\\scenarios\\NorthernTide\\%s";

class SampleMapScreenshot : public test::MapDrawFixture {
 protected:
  void SetUp() override {
    MapDrawFixture::SetUp();
    savedOwnershipMode_ = gMinimapOwnershipMode;
    savedZoom_ = {gZoomLevel, gTargetScale, gDisplayedScale};
    gMinimapOwnershipMode = 1;
    gShowUnitNames = true;
    SetGameRoot(TR_GAME_DIR);
    // The load rolls the weather: the same draws give the same picture in any test order.
    SeedRandom(1);
    ASSERT_NE(LoadNewScenario(kFolder, 0), nullptr);
    LoadMapSkin(u"Normal");
    LoadUnitsSkin(u"Counters");
    // The minimap sits in the bottom-left corner, where the game's panel shows it.
    SetLayout(315, 8, 768 - 8 - 180, 240, 180);
    // No panels stand over the map, so nothing is blacked out behind them.
    SetLayout(331, 0, 0, 0, 0);
    savedClear_ = gGuiClearRect;
    gGuiClearRect = {};
    RenderMinimapTexture(*gGame->map, u"data\\scenarios\\NorthernTide\\minimap.png");
    UpdateOwnershipLayer(*gGame->map, MinimapTexture());
    // The game's teardown saves the settings, which belong in the test's own folder.
    SetGameRoot(folder_.path());
    ShowEverything();
    // From here on the game's screen answers the rules, as in the program.
    savedPresentation_ = SetPresentation(&screen_);
  }

  void TearDown() override {
    SetPresentation(savedPresentation_);
    MinimapImage().Release();
    MinimapTexture().Release();
    delete gGame;
    gGame = nullptr;
    gMinimapOwnershipMode = savedOwnershipMode_;
    gZoomLevel = savedZoom_[0];
    gTargetScale = savedZoom_[1];
    gDisplayedScale = savedZoom_[2];
    gGuiClearRect = savedClear_;
    MapDrawFixture::TearDown();
  }

  // Both sides' units are shown, and each sea node's marker shows a ship of
  // its own type in turn, so that every kind of counter is in the picture.
  void ShowEverything() {
    cGame& game = *gGame;
    for (auto& unit : game.landUnits) unit->spotted = 1;
    for (auto& unit : game.airUnits) unit->spotted = 1;
    std::map<int, cJednostkaMorska*> shipOfType;
    for (auto& ship : game.navalUnits) shipOfType.emplace(ship->type, ship.get());
    auto next = shipOfType.begin();
    for (auto& node : game.seaGraph.nodes) {
      if (next == shipOfType.end()) next = shipOfType.begin();
      if (next == shipOfType.end()) break;
      node.playerMarkerShip = next->second;
      ++next;
    }
  }

  void DrawMinimap() {
    Graphics& device = frame_->graphics();
    const sMinimapView& view = MinimapView();
    auto sprite = device.CreateSpriteBatch();
    sprite->Begin(kSpriteAlphaBlend);
    sprite->SetTransform(view.transform);
    const PointF origin{static_cast<float>(view.originX), static_cast<float>(view.originY)};
    const Rect content{0, 0, view.contentWidth, view.contentHeight};
    sprite->Draw(MinimapImage().GetTexture(), &content, origin, 0.0f, 0xFFFFFFFFu);
    sprite->Draw(MinimapTexture().GetTexture(), &content, origin, 0.0f, 0xFFFFFFFFu);
    sprite->End();
    DrawMinimapViewFrame(device, *gGame->map);
  }

  // The map zoomed to the scale (0: the whole map) over the point, in one
  // step of the game's frame, which picks the fonts for the new zoom.
  void Shoot(float scale, float x, float y, const char* file) {
    cMap& map = *gGame->map;
    gTargetScale = scale > 0.0f ? scale : map.fitScale;
    map.camera.x = map.camera.targetX = x;
    map.camera.y = map.camera.targetY = y;
    MoveGameFrame(frame_->graphics(), 0.0, 1.0f);
    ASSERT_EQ(gDisplayedScale, gTargetScale);
    recorder_.Clear();
    frame_->graphics().Clear(0xFF000000u);
    RenderGame(frame_->graphics(), 0.0f);
    DrawMinimap();
    const auto path = std::filesystem::path(TR_GAME_DIR).parent_path() / file;
    ASSERT_TRUE(frame_->graphics().SaveScreenshot(path));
    const std::vector<Argb> pixels = frame_->graphics().ReadPixels();
    const std::set<Argb> colours(pixels.begin(), pixels.end());
    EXPECT_GT(colours.size(), 200u);
    // A city's white name keeps 4.5:1 against what lies beside its letters,
    // whatever the ground (read where the patch is a pixel wide or more).
    int read = 0;
    for (const DrawRecord& r : recorder_.records()) {
      const bool city = std::any_of(gGame->cities.begin(), gGame->cities.end(),
                                    [&](const auto& c) { return Names(r.text, c->name); });
      const int x = static_cast<int>(r.dest.left) - 1, y = static_cast<int>((r.dest.top + r.dest.bottom) / 2.0f);
      if (r.kind != DrawRecord::Kind::kText || r.colour != 0xFFFFFFFFu || !city || gDisplayedScale < 0.5f ||
          x < 0 || y < 0 || x >= 1024 || y >= 768 || (x < 8 + 240 && y >= 768 - 8 - 180)) continue;
      const Argb beside = pixels[static_cast<std::size_t>(y * 1024 + x)];
      EXPECT_GE(Contrast(0xFFFFFFFFu, beside), 4.5) << file << ": " << Utf16ToUtf8(r.text) << std::hex << " on " << beside;
      ++read;
    }
    EXPECT_TRUE(read > 0 || gDisplayedScale < 0.5f) << file;
    // Every counter (its background from the icon sheet) stays within the column
    // step of its hex, so that neighbours on a front do not cover each other.
    int backgrounds = 0;
    for (const DrawRecord* r : SpritesFrom("Counters\\info.png")) {
      if (r->source != Rect{0, 0, 64, 64}) continue;
      ++backgrounds;
      EXPECT_LE(r->dest.right - r->dest.left, 83.0f * gDisplayedScale + 0.5f) << file;
    }
    EXPECT_GT(backgrounds, 0) << file;
    // Every counter's name keeps between the counters of the neighbouring
    // columns (the next column's counter stands half a row lower, level with
    // the name), as wide as the text is drawn in its face.
    int names = 0;
    for (const DrawRecord& r : recorder_.records()) {
      if (r.kind != DrawRecord::Kind::kText || r.font == nullptr || !UnitNamed(r.text)) continue;
      ++names;
      const float scale = gDisplayedScale;
      const float drawn = std::max(r.dest.right - r.dest.left, static_cast<float>(r.font->TextWidth(r.text)) * scale);
      EXPECT_LE(drawn, (128.0f - 39.0f) * scale + 1.0f) << file << ": " << Utf16ToUtf8(r.text);
      // The land counters' names grow as the map is zoomed out (the shipped
      // ranges: below 75, 50 and 35 percent), so that they stay readable.
      if (!LandUnitNamed(r.text)) continue;
      const int z = static_cast<int>(gDisplayedScale * 100.0f);
      const int height = z < 35 ? 31 : z < 50 ? 26 : z < 75 ? 20 : 14;
      EXPECT_EQ(r.font->height(), height) << file << ": " << Utf16ToUtf8(r.text);
    }
    EXPECT_GT(names, 0) << file;
  }

  bool LandUnitNamed(const std::u16string& text) const {
    for (const auto& unit : gGame->landUnits) {
      if (Names(text, unit->name)) return true;
    }
    return false;
  }
  static bool Names(const std::u16string& text, const std::u16string& name) {
    if (text == name) return true;
    return text.ends_with(u"...") && name.starts_with(text.substr(0, text.size() - 3));
  }

  // A unit's name, or its beginning cut with "...".
  bool UnitNamed(const std::u16string& text) const {
    const auto matches = [&](const std::u16string& name) { return Names(text, name); };
    for (const auto& unit : gGame->landUnits) {
      if (matches(unit->name)) return true;
    }
    for (const auto& unit : gGame->airUnits) {
      if (matches(unit->name)) return true;
    }
    for (const auto& ship : gGame->navalUnits) {
      if (matches(ship->name)) return true;
    }
    return false;
  }

  // Sprites of the picture whose path ends in the name (labels are full paths).
  std::vector<const DrawRecord*> SpritesFrom(std::string_view name) const {
    std::vector<const DrawRecord*> out;
    for (const DrawRecord& r : recorder_.records()) {
      if (r.kind == DrawRecord::Kind::kSprite && r.texture_label.ends_with(name)) out.push_back(&r);
    }
    return out;
  }

  bool Drawn(std::string_view name, const Rect& source, Argb colour) const {
    for (const DrawRecord* r : SpritesFrom(name)) {
      if (r->source == source && r->colour == colour) return true;
    }
    return false;
  }

  bool DrawnAnywhere(const Rect& source) const {
    for (const DrawRecord& r : recorder_.records()) {
      if (r.kind == DrawRecord::Kind::kSprite && r.source == source) return true;
    }
    return false;
  }

  int savedOwnershipMode_ = 0;
  std::array<float, 3> savedZoom_{};
  sGuiClearRect savedClear_{};
  cAppPresentation screen_;
  cPresentation* savedPresentation_ = nullptr;
};

TEST_F(SampleMapScreenshot, WholeMapShowsTerrainBordersCitiesAndEveryKindOfCounter) {
  const cMap& map = *gGame->map;
  Shoot(0.0f, map.GetWidth() * 83.0f / 2.0f, map.GetHeight() * 98.0f / 2.0f, "sample_map_whole.png");
  ASSERT_FALSE(SpritesFrom("Normal\\terrain.png").empty());
  // A border of the first side in the border colour, and the minimap's picture under its frame.
  EXPECT_TRUE(Drawn("Normal\\others.png", SkinCell(0, 4), gBorderColor));
  EXPECT_FALSE(SpritesFrom("NorthernTide\\minimap.png").empty());
  std::set<int> kinds;
  for (const auto& unit : gGame->landUnits) {
    EXPECT_TRUE(DrawnAnywhere(UnitAtlasCell(unit->type, unit->level))) << "land type " << unit->type;
    kinds.insert(unit->type);
  }
  for (const auto& unit : gGame->airUnits) {
    EXPECT_TRUE(DrawnAnywhere(UnitAtlasCell(unit->type, unit->level))) << "air type " << unit->type;
    kinds.insert(unit->type);
  }
  for (const auto& ship : gGame->navalUnits) kinds.insert(ship->type);
  EXPECT_GE(kinds.size(), 14u);
  for (const auto& node : gGame->seaGraph.nodes) {
    if (node.playerMarkerShip != nullptr) {
      EXPECT_TRUE(DrawnAnywhere(UnitAtlasCell(node.playerMarkerShip->type, 1)))
          << "ship type " << node.playerMarkerShip->type;
    }
  }
}

TEST_F(SampleMapScreenshot, CloseViewShowsCityNamesAndCounters) {
  // The city nearest the middle of the map, where the fronts meet.
  const cMap& map = *gGame->map;
  const cCity* city = nullptr;
  int best = 0;
  for (const auto& c : gGame->cities) {
    const int d = std::abs(c->x - map.GetWidth() / 2) + std::abs(c->y - map.GetHeight() / 2);
    if (city == nullptr || d < best) city = c.get(), best = d;
  }
  ASSERT_NE(city, nullptr);
  Shoot(1.0f, city->x * 83.0f + 83.0f, city->y * 98.0f + 49.0f, "sample_map_close.png");
  EXPECT_NE(recorder_.FindText(city->name), nullptr);
  int counters = 0;
  for (const auto& unit : gGame->landUnits) counters += DrawnAnywhere(UnitAtlasCell(unit->type, unit->level)) ? 1 : 0;
  EXPECT_GT(counters, 0);
  // Zoomed out, the counters' names come from the larger faces of the farther
  // zoom ranges: a picture at both ends of every range the wheel reaches.
  for (const float zoom : RangeZooms(*gGame->map)) {
    const std::string file = "sample_map_zoom_" + std::to_string(std::lround(zoom * 1000.0f)) + ".png";
    Shoot(zoom, city->x * 83.0f + 83.0f, city->y * 98.0f + 49.0f, file.c_str());
  }
}

// A text as drawn: its face's width and line centred in its place, with the
// shadow one pixel to the lower right.
struct sDrawnText {
  std::u16string text;
  RectF box;
};

// What a drawing puts on the map that a label must keep clear of: its texts
// and its counters (their backgrounds from the icon sheet).
struct sLabels {
  std::vector<sDrawnText> texts;
  std::vector<RectF> counters;
};

// Boxes that meet at an edge, give or take the rounding of the scaling, do not overlap.
bool Overlap(const RectF& a, const RectF& b) {
  constexpr float kEdge = 0.01f;
  return a.left + kEdge < b.right && b.left + kEdge < a.right && a.top + kEdge < b.bottom && b.top + kEdge < a.bottom;
}

// The hex's corner on the map at scale 1, as the map lays its columns out.
PointF MapCorner(int x, int y) {
  return {static_cast<float>(x * kColumnStep), static_cast<float>(y * kRowStep + (x % 2 == 0 ? kRowStep / 2 : 0))};
}

// What the drawing puts down at the scale, the shadow and the text in front
// of it taken as one.
template <typename Draw>
sLabels LabelsOf(Graphics& device, DrawRecorder& recorder, float scale, Draw draw) {
  recorder.Clear();
  auto sprite = device.CreateSpriteBatch();
  sprite->Begin(kSpriteAlphaBlend | kSpriteSortDepthBackToFront);
  sprite->SetTransform(Matrix2D::Scaling(scale, scale));
  draw(*sprite);
  sprite->End();
  sLabels labels;
  for (const DrawRecord& r : recorder.records()) {
    if (r.kind == DrawRecord::Kind::kSprite && r.texture_label.ends_with("Counters\\info.png") &&
        r.source == Rect{0, 0, 64, 64}) {
      labels.counters.push_back(r.dest);
    }
  }
  const std::vector<const DrawRecord*> records = recorder.OfKind(DrawRecord::Kind::kText);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const DrawRecord& r = *records[i];
    if (r.font == nullptr) continue;
    const float width = static_cast<float>(r.font->TextWidth(r.text)) * scale;
    const float height = static_cast<float>(r.font->line_height()) * scale;
    const float cx = (r.dest.left + r.dest.right) / 2.0f, cy = (r.dest.top + r.dest.bottom) / 2.0f;
    const RectF box{cx - width / 2.0f, cy - height / 2.0f, cx + width / 2.0f, cy + height / 2.0f};
    const bool shadowOfNext = i + 1 < records.size() && records[i + 1]->text == r.text &&
                              records[i + 1]->font == r.font &&
                              std::fabs(r.dest.left - records[i + 1]->dest.left - scale) < 0.01f &&
                              std::fabs(r.dest.top - records[i + 1]->dest.top - scale) < 0.01f;
    if (shadowOfNext) continue;
    labels.texts.push_back({r.text, RectF{box.left, box.top, box.right + scale, box.bottom + scale}});
  }
  return labels;
}

std::string Quoted(const std::u16string& text) { return "\"" + Utf16ToUtf8(text) + "\""; }

// No text covers another, nor is it covered by a counter, of its own hex or of
// the hexes around it, at every zoom the wheel reaches: a city's name, victory
// points and production, the texts of the counter standing in it (the
// sample's own, and a land and an air counter put there), a sea zone's name
// and its ships' texts, on every hex of the sample with the sample's own
// counters around it, and every city among counters on all sides too.
TEST_F(SampleMapScreenshot, NoTextCoversAnotherOrIsCoveredByACounterOfItsHexOrTheHexesAroundIt) {
  cMap& map = *gGame->map;
  cUnit* land = gGame->landUnits.front().get();
  cUnit* air = gGame->airUnits.front().get();
  static const sHexPathCell kNoDecoration;
  const auto labelsOf = [&](const sHex& hex, float zoom) {
    return LabelsOf(frame_->graphics(), recorder_, zoom, [&](SpriteBatch& sprite) {
      DrawHex(sprite, hex, MapCorner(hex.x, hex.y), kNoDecoration, CurrentMapDrawState());
    });
  };
  for (const float zoom : RangeZooms(map)) {
    gTargetScale = zoom;
    MoveGameFrame(frame_->graphics(), 0.0, 1.0f);
    ASSERT_EQ(gDisplayedScale, zoom);
    std::vector<sLabels> drawn;
    for (int y = 0; y < map.GetHeight(); ++y) {
      for (int x = 0; x < map.GetWidth(); ++x) drawn.push_back(labelsOf(*map.GetHex(x, y), zoom));
    }
    int namedCities = 0;
    for (int y = 0; y < map.GetHeight(); ++y) {
      for (int x = 0; x < map.GetWidth(); ++x) {
        sHex& hex = *map.GetHex(x, y);
        cUnit* const own = hex.unit;
        std::vector<cUnit*> standing = {own};
        if (hex.city != nullptr) standing.insert(standing.end(), {land, air});
        // A city is also tried with a counter in every empty hex around it.
        std::vector<sHex*> crowd;
        for (int ny = y - 1; ny <= y + 1 && hex.city != nullptr; ++ny) {
          for (int nx = x - 1; nx <= x + 1; ++nx) {
            sHex* next = map.IsInside(nx, ny) ? map.GetHex(nx, ny) : nullptr;
            if (next != nullptr && next != &hex && next->unit == nullptr && next->seaNodeMarker == 0) crowd.push_back(next);
          }
        }
        for (std::size_t round = 0; round < standing.size() * (crowd.empty() ? 1 : 2); ++round) {
          cUnit* const unit = standing[round % standing.size()];
          const bool crowded = round >= standing.size();
          for (sHex* next : crowd) next->unit = crowded ? land : nullptr;
          hex.unit = unit;
          const sLabels here = labelsOf(hex, zoom);
          hex.unit = own;
          const auto where = [&] {
            return " on hex (" + std::to_string(x) + ", " + std::to_string(y) + ")" + (crowded ? " crowded" : "") +
                   " at zoom " + std::to_string(zoom);
          };
          for (std::size_t i = 0; i < here.texts.size(); ++i) {
            for (std::size_t j = i + 1; j < here.texts.size(); ++j) {
              EXPECT_FALSE(Overlap(here.texts[i].box, here.texts[j].box))
                  << Quoted(here.texts[i].text) << " and " << Quoted(here.texts[j].text) << where();
            }
          }
          for (int ny = y - 1; ny <= y + 1; ++ny) {
            for (int nx = x - 1; nx <= x + 1; ++nx) {
              if ((nx == x && ny == y) || !map.IsInside(nx, ny)) continue;
              const sLabels& around =
                  crowded ? labelsOf(*map.GetHex(nx, ny), zoom) : drawn[static_cast<std::size_t>(ny * map.GetWidth() + nx)];
              const auto of = [&] { return " of (" + std::to_string(nx) + ", " + std::to_string(ny) + ")"; };
              for (const sDrawnText& text : here.texts) {
                for (const sDrawnText& other : around.texts) {
                  EXPECT_FALSE(Overlap(text.box, other.box))
                      << Quoted(text.text) << " and " << Quoted(other.text) << of() << where();
                }
                for (const RectF& box : around.counters) {
                  EXPECT_FALSE(Overlap(text.box, box)) << Quoted(text.text) << " under the counter" << of() << where();
                }
              }
              // The counter put in a city keeps off the texts around it too.
              for (const RectF& box : here.counters) {
                for (const sDrawnText& other : around.texts) {
                  EXPECT_FALSE(Overlap(box, other.box)) << Quoted(other.text) << of() << " under the counter" << where();
                }
              }
            }
          }
          for (sHex* next : crowd) next->unit = nullptr;
          if (hex.city == nullptr || crowded) continue;
          int named = 0;
          for (const sDrawnText& text : here.texts) {
            if (!Names(text.text, hex.city->name)) continue;
            ++named;
            for (const RectF& box : here.counters) EXPECT_FALSE(Overlap(text.box, box)) << "the city's name" << where();
          }
          namedCities += named == 1 ? 1 : 0;
        }
      }
    }
    // Every city is named once, whatever stands in it.
    EXPECT_EQ(namedCities, 3 * static_cast<int>(gGame->cities.size())) << "at zoom " << zoom;
  }
}

}  // namespace
}  // namespace tr

namespace tr {
namespace {

std::size_t DifferentPixels(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  if (a.size() != b.size()) return std::max(a.size(), b.size());
  std::size_t n = 0;
  for (std::size_t i = 0; i < a.size(); ++i) n += a[i] != b[i] ? 1 : 0;
  return n;
}

// The renderers SDL can draw a window with on this machine, by name.
std::vector<std::string> WindowRenderers() {
  std::vector<std::string> names;
  for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
    SDL_RendererInfo info{};
    if (SDL_GetRenderDriverInfo(i, &info) == 0 && info.name != nullptr) names.emplace_back(info.name);
  }
  return names;
}

std::string RendererOf(SDL_Window* window) {
  SDL_RendererInfo info{};
  SDL_Renderer* renderer = SDL_GetRenderer(window);
  return renderer != nullptr && SDL_GetRendererInfo(renderer, &info) == 0 && info.name != nullptr ? info.name : "";
}

// The map's bottom layers come back from what the last frame kept: every
// frame, off-screen and on a window of each renderer this machine has, must
// show the very pixels of the same map drawn afresh on a second device, also
// after a counter moves, the blink steps, a hex under the counters changes and
// the map is zoomed to full size. The second window is drawn by SDL alone, so
// a window of SDL's software renderer also shows that our own blitter draws,
// scales and smooths its pictures as SDL does. Without a display only that
// renderer can draw a window; run under one (SDL_VIDEODRIVER=x11) to check GL's.
TEST_F(SampleMapScreenshot, FramesOverTheKeptBottomLayersMatchAFreshDrawing) {
  cMap& map = *gGame->map;
  sMapDrawState state;
  state.ownCountry = gGame->landUnits.front()->owner;
  SetMapDrawStateSource([&state] { return state; });
  const std::uint8_t variant = map.GetHex(map.GetWidth() / 2, map.GetHeight() / 2)->variant;

  std::vector<std::string> renderers = WindowRenderers();
  renderers.insert(renderers.begin(), "");  // off-screen
  for (const std::string& renderer : renderers) {
    const bool onWindow = !renderer.empty();
    SCOPED_TRACE(onWindow ? "window of renderer " + renderer : std::string("off-screen"));
    ViewWholeMap(map);
    SDL_Window* windows[2] = {};
    std::unique_ptr<Graphics> fresh;
    Graphics& device = frame_->graphics();
    if (onWindow) {
      SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, renderer.c_str(), SDL_HINT_OVERRIDE);
      windows[0] = SDL_CreateWindow("kept", 0, 0, 1024, 768, SDL_WINDOW_HIDDEN);
      windows[1] = SDL_CreateWindow("fresh", 0, 0, 1024, 768, SDL_WINDOW_HIDDEN);
      ASSERT_NE(windows[0], nullptr);
      ASSERT_NE(windows[1], nullptr);
      std::unique_ptr<RenderBackend> kept = CreateWindowBackend(windows[0], 1024, 768);
      std::unique_ptr<RenderBackend> other = CreateWindowBackend(windows[1], 1024, 768);
      SDL_ResetHint(SDL_HINT_RENDER_DRIVER);
      if (kept == nullptr || other == nullptr || RendererOf(windows[0]) != renderer ||
          RendererOf(windows[1]) != renderer) {
        std::printf("Renderer %s cannot draw a window here; not checked.\n", renderer.c_str());
        kept.reset();
        other.reset();
        for (SDL_Window* w : windows) SDL_DestroyWindow(w);
        continue;
      }
      other->set_own_blitter(false);
      device.ReplaceBackend(std::move(kept));
      fresh = std::make_unique<Graphics>(std::move(other), 1024, 768);
    } else {
      fresh = std::make_unique<Graphics>(CreateSoftwareBackend(1024, 768), 1024, 768);
    }
    auto check = [&](const char* what) {
      fresh->Clear(0xFF000000u);
      RenderGame(*fresh, 0.0f);  // another device: a batch of its own, nothing kept
      const std::vector<std::uint32_t> expected = fresh->ReadPixels();
      ASSERT_EQ(expected.size(), 1024u * 768u);
      for (int frame = 0; frame < 3; ++frame) {
        device.Clear(0xFF000000u);
        RenderGame(device, 0.0f);
        EXPECT_EQ(DifferentPixels(device.ReadPixels(), expected), 0u) << what << ", frame " << frame;
        device.Present();
      }
    };
    check("as loaded");
    // A counter steps to a free land hex beside it.
    cUnit* unit = nullptr;
    sHex* to = nullptr;
    for (auto& land : gGame->landUnits) {
      sHex* next = map.GetHex(land->x + 1, land->y);
      if (next != nullptr && next->IsLand() && next->unit == nullptr) {
        unit = land.get();
        to = next;
        break;
      }
    }
    ASSERT_NE(unit, nullptr);
    map.GetHex(unit->x, unit->y)->unit = nullptr;
    to->unit = unit;
    unit->x = to->x;
    check("a counter moved");
    ++state.animationPhase;
    check("the blink stepped");
    sHex& middle = *map.GetHex(map.GetWidth() / 2, map.GetHeight() / 2);
    middle.variant = static_cast<std::uint8_t>(middle.variant + 1);
    check("a hex's terrain changed");
    gTargetScale = 1.0f;
    gDisplayedScale = -1.0f;
    map.FrameMove(0.0f);
    SelectFontSetForZoom(gDisplayedScale);
    SelectMapFontsForZoom(gDisplayedScale);
    check("zoomed to full size");
    middle.variant = variant;

    fresh.reset();
    device.ReplaceBackend(CreateSoftwareBackend(1024, 768));
    for (SDL_Window* w : windows) {
      if (w != nullptr) SDL_DestroyWindow(w);
    }
  }
  SetMapDrawStateSource({});
}

}  // namespace
}  // namespace tr
