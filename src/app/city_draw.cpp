#include "app/city_draw.h"

#include <algorithm>
#include <cmath>

#include "app/counter_draw.h"
#include "app/map_skin.h"
#include "app/map_sprites.h"
#include "platform/font.h"
#include "foundation/format.h"
#include "foundation/settings.h"
#include "platform/codes.h"
#include "units/unit.h"
#include "world/city.h"
#include "world/gra.h"
#include "world/hex.h"
#include "world/map.h"
#include "world/panstwo.h"
#include "world/value_limits.h"

namespace tr {
namespace {

// Slots of the city appearance.
enum : int {
  kFlag = 0, kFortStrip, kPortIcon, kSupplyIcon, kResourcesIcon, kVictoryIcon,
  kVictoryText, kProductionText, kNameText,
};
constexpr std::uint32_t kTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;
// The texts stand on a dark, see-through patch of the others sheet, so that
// they read on every terrain (white on it keeps above 6:1 even over white).
constexpr Rect kBackingSource{105, 1341, 121, 1357};
constexpr Argb kBackingColour = 0xA0000000u;
constexpr int kBackingMargin = 2;

void Icon(SpriteBatch& sprite, const sCityAppearance& ap, int slot, PointF position, float depth) {
  const auto s = static_cast<std::size_t>(slot);
  if (ap.valid[s]) DrawPlaced(sprite, MapSkinTextures().others.GetTexture(), ap.source[s], position, ap.placement[s], depth);
}

// The text with its left edge at left, in the line's height, on the patch.
void Backed(SpriteBatch& sprite, const sAppearanceFont& face, std::u16string_view text, int left, const Rect& line) {
  const int width = face.object->TextWidth(text);
  const sPlacement backing{left - kBackingMargin, line.top, width + 2 * kBackingMargin, line.height()};
  DrawPlaced(sprite, MapSkinTextures().others.GetTexture(), kBackingSource, {0.0f, 0.0f}, backing,
             RowDepth(kRowCity), kBackingColour);
  DrawShadowedText(sprite, face, text, Rect{left, line.top, left + width, line.bottom}, kTextFormat);
}

void Text(SpriteBatch& sprite, const sCityAppearance& ap, int slot, int font, PointF position,
          std::u16string_view text) {
  const auto s = static_cast<std::size_t>(slot);
  const sAppearanceFont& face = ap.fonts[static_cast<std::size_t>(font)];
  if (!ap.valid[s] || face.object == nullptr) return;
  const Rect place = PlacedRect(position, ap.placement[s]);
  Backed(sprite, face, text, (place.left + place.right - face.object->TextWidth(text)) / 2, place);
}

// A hex that draws nothing where a neighbour's name may reach: no counter, no
// city, no ships of a sea zone and no figure of the moves left.
bool Bare(const sHex& hex) {
  return (hex.unit == nullptr || !hex.unit->spotted) && hex.city == nullptr && hex.seaNodeMarker == 0 &&
         (!gShowAPLeft || hex.flagValue < 0);
}

// Whether the hex of the next column on the side, level with the name (the
// upper one for a name above the counter, the lower one below it), is bare.
bool SideBare(const sHex& hex, int side, bool upper) {
  if (gGame == nullptr || gGame->map == nullptr) return false;
  const int x = hex.x + side;
  // Even columns stand half a row lower than odd ones.
  const int upperRow = hex.y - (hex.x % 2 != 0 ? 1 : 0);
  const int y = upper ? upperRow : upperRow + 1;
  return !gGame->map->IsInside(x, y) || Bare(*gGame->map->GetHex(x, y));
}

// The city's name in its line of the hex, as wide as the hex's own column
// allows. Where the next column's hex level with it is bare the name may take
// its width too, up to the names of the column after it, so that most names
// stand whole; the name stays centred on the hex as far as the room allows.
void Name(SpriteBatch& sprite, const sCityAppearance& ap, PointF position, const sHex& hex,
          std::u16string_view name) {
  const sAppearanceFont& face = ap.fonts[2];
  if (!ap.valid[kNameText] || face.object == nullptr) return;
  const Rect line = PlacedRect(position, ap.placement[kNameText]);
  Rect room = line;
  const int reach = 2 * kColumnStep - line.width();
  if (reach > 0) {
    const bool upper = line.top + line.bottom < 2 * static_cast<int>(std::lround(position.y)) + 166;
    if (SideBare(hex, -1, upper)) room.left -= reach;
    if (SideBare(hex, 1, upper)) room.right += reach;
  }
  const std::u16string shown = FitToWidth(*face.object, name, room.width() - 2 * kBackingMargin);
  if (shown.empty()) return;
  const int width = face.object->TextWidth(shown);
  Backed(sprite, face, shown,
         std::clamp((line.left + line.right - width) / 2, room.left + kBackingMargin,
                    room.right - kBackingMargin - width),
         line);
}

}  // namespace

Rect CityNamePlace() {
  const sCityAppearance& ap = *SkinTables().activeCity;
  if (!gShowCityNames || !ap.valid[kNameText]) return Rect{};
  return PlacedRect({0.0f, 0.0f}, ap.placement[kNameText]);
}

void DrawCity(SpriteBatch& sprite, const cCity& city, PointF position, bool drawMarker, const sHex& hex,
              int variant) {
  const float depth = RowDepth(kRowCity);
  const bool resources = city.type == kCityResources;
  if (drawMarker) {
    const int column = resources ? 3 + variant % 2 : variant % 3;
    DrawSkinSprite(sprite, MapSkinTextures().others.GetTexture(), SkinCell(column, 3), position, depth);
  }
  const sCityAppearance& ap = *SkinTables().activeCity;
  if (ap.valid[kFlag]) {
    DrawPlaced(sprite, FlagOf(hex.GetOwnerCountry()), ap.source[kFlag], position, ap.placement[kFlag], depth);
  }
  if (ap.valid[kFortStrip] && hex.fortLevel > 0) {
    // One strip per level, each as high as the first, one under the other.
    Rect strip = ap.source[kFortStrip];
    const int shift = strip.height() * (std::min<int>(hex.fortLevel, kMaxFortLevel) - 1);
    strip.top += shift;
    strip.bottom += shift;
    DrawPlaced(sprite, MapSkinTextures().others.GetTexture(), strip, position, ap.placement[kFortStrip], depth);
  }
  if (city.type == kCitySupplyPort || city.type == kCityPort) Icon(sprite, ap, kPortIcon, position, depth);
  if (city.type == kCitySupply || city.type == kCitySupplyPort) Icon(sprite, ap, kSupplyIcon, position, depth);
  if (resources) Icon(sprite, ap, kResourcesIcon, position, depth);
  if (city.victoryPoints > 0) Icon(sprite, ap, kVictoryIcon, position, depth);
  // The figures stand where a counter in the city stands, the one place of the
  // hex that no neighbour's name or counter reaches: a counter there hides
  // them, as it hides the flag (the hex panel shows them).
  const bool garrisoned = hex.unit != nullptr && hex.unit->spotted;
  if (city.victoryPoints > 0 && !garrisoned) {
    Text(sprite, ap, kVictoryText, 0, position, Format(u"%i", city.victoryPoints));
  }
  if (city.productionPoints > 0.0f && !garrisoned) {
    Text(sprite, ap, kProductionText, 1, position, Format(u"%.0f", static_cast<double>(city.productionPoints)));
  }
  if (gShowCityNames) Name(sprite, ap, position, hex, Format(u"%s", city.name));
}

}  // namespace tr
