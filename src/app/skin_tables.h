// The appearance tables of the map and units skins (which fonts and picture
// parts the map drawing uses at which zoom) and the sprite-depth table. The
// skin loaders fill them; this file makes their fonts and picks the active
// records for the zoom.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "foundation/gui_layout.h"
#include "platform/geometry.h"

namespace tr {

class Font;

// A font of an appearance record and the object made from it.
struct sAppearanceFont {
  sGuiFont font;
  std::unique_ptr<Font> object;
};

using sPlacement = std::array<std::int32_t, 4>;

// One zoom range of the city drawing.
struct sCityAppearance {
  std::int32_t threshold = -100;  // zoom percent; -100 when not loaded
  std::array<Rect, 6> source{};
  std::array<sPlacement, 11> placement{};
  std::array<std::uint8_t, 11> valid{};
  std::array<sAppearanceFont, 3> fonts;
};

// One zoom range of the drawing of one unit category.
struct sUnitAppearance {
  std::u16string name;
  std::int32_t threshold = -100;
  std::array<Rect, 9> source{};
  std::array<sPlacement, 14> placement{};
  std::array<std::uint8_t, 14> valid{};
  std::array<sAppearanceFont, 3> fonts;
};

struct sSpriteDepth {
  std::int32_t key = 0;
  float depth = 1.0f;
};

inline constexpr int kUnitTableCount = 3;  // land, air, naval
inline constexpr int kUnitAppearanceCount = 10;
inline constexpr int kCityAppearanceCount = 5;
inline constexpr int kSpriteDepthCount = 18;

struct sSkinTables {
  sAppearanceFont headerFont;
  Rect headerRect{};
  std::array<sCityAppearance, kCityAppearanceCount> cities;
  sCityAppearance* activeCity = &cities[0];
  std::array<std::array<sUnitAppearance, kUnitAppearanceCount>, kUnitTableCount> units;
  std::array<sUnitAppearance*, kUnitTableCount> activeUnit = {&units[0][0], &units[1][0], &units[2][0]};
  std::array<sSpriteDepth, kSpriteDepthCount> depths{};
};

sSkinTables& SkinTables();

// Makes the fonts of every unit record whose threshold is above 0.
void CreateMapZoomFonts();
// The same for the city records, then the header's font.
void CreateFontSets();
// Drops every appearance font object (the device is going).
void ReleaseAppearanceFonts();

// With dynamic appearance on: per unit table, the last record whose threshold
// exceeds the zoom in percent becomes active; none exceeding keeps the active one.
void SelectMapFontsForZoom(float zoom);
// The same rule over the city records, whatever the setting.
void SelectFontSetForZoom(float zoom);

// Reads "sprites_depth.csv": the first 18 lines that are not comments give
// rows 0 to 17, each its first field (at most 39) and depth (39 - v) / 100 + 0.6.
void LoadSpriteDepths(const std::filesystem::path& file);

}  // namespace tr
