#include "app/city_draw.h"

#include <algorithm>

#include "app/counter_draw.h"
#include "app/map_skin.h"
#include "app/map_sprites.h"
#include "foundation/format.h"
#include "foundation/settings.h"
#include "platform/codes.h"
#include "units/unit.h"
#include "world/city.h"
#include "world/hex.h"
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

void Icon(SpriteBatch& sprite, const sCityAppearance& ap, int slot, PointF position, float depth) {
  const auto s = static_cast<std::size_t>(slot);
  if (ap.valid[s]) DrawPlaced(sprite, MapSkinTextures().others.GetTexture(), ap.source[s], position, ap.placement[s], depth);
}

void Text(SpriteBatch& sprite, const sCityAppearance& ap, int slot, int font, PointF position,
          std::u16string_view text) {
  const auto s = static_cast<std::size_t>(slot);
  if (!ap.valid[s]) return;
  DrawShadowedText(sprite, ap.fonts[static_cast<std::size_t>(font)], text, PlacedRect(position, ap.placement[s]),
                   kTextFormat);
}

}  // namespace

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
  if (gShowCityNames) Text(sprite, ap, kNameText, 2, position, Format(u"%s", city.name));
}

}  // namespace tr
