#include "app/counter_draw.h"

#include <algorithm>
#include <cmath>

#include "app/game_textures.h"
#include "app/map_sprites.h"
#include "app/units_skin.h"
#include "foundation/format.h"
#include "foundation/settings.h"
#include "platform/codes.h"
#include "platform/sprite_batch.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/panstwo.h"

namespace tr {
namespace {

constexpr Argb kWhite = 0xFFFFFFFFu;
// The track of a ship's hit-point bar: the bar's own picture, darkened.
constexpr Argb kTrackShade = 0xFF383838u;
// A ship that stays out of the regular sea battle shows its picture dimmed.
constexpr Argb kOutOfBattleShade = 0xFF8C8C8Cu;
constexpr Rect kFlagSource{0, 0, 128, 85};
constexpr std::uint32_t kTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;

enum eUnitTable : int { kLandTable = 0, kAirTable = 1, kNavalTable = 2 };

// Land table slots.
enum : int {
  kLandBackground = 0, kLandFrame, kLandSizeMarks, kLandAction, kLandCommander, kLandActionPoints,
  kLandLowSupply, kLandReinforce, kLandFrozen, kLandStrengthText, kLandLevelText, kLandNameText, kLandPicture,
};
// Air table slots.
enum : int {
  kAirBackground = 0, kAirFrame, kAirActionPoints, kAirLowSupply, kAirReady, kAirCommander, kAirFlag,
  kAirStrengthText, kAirLevelText, kAirNameText, kAirPicture,
};
// Naval table slots.
enum : int {
  kShipBackground = 0, kShipFrame, kShipBar, kShipTrack, kShipPointsText, kShipNameText, kShipPicture, kShipFlag,
};

Argb Opaque(Argb colour) { return 0xFF000000u | (colour & 0x00FFFFFFu); }

Argb OwnerColour(const cCountry* owner) { return owner ? Opaque(owner->colors[0]) : 0xFF808080u; }

const sUnitAppearance& Active(int table) { return *SkinTables().activeUnit[static_cast<std::size_t>(table)]; }

// Draws a part cut from the skin's parts sheet; the lit twin lies one height lower.
void Part(SpriteBatch& sprite, const sUnitAppearance& ap, int slot, PointF position, float depth, bool lit,
          Argb colour = kWhite) {
  const auto s = static_cast<std::size_t>(slot);
  if (!ap.valid[s]) return;
  Rect source = ap.source[s];
  if (lit) {
    const int h = source.height();
    source.top += h;
    source.bottom += h;
  }
  DrawPlaced(sprite, UnitsSkinTextures().info.GetTexture(), source, position, ap.placement[s], depth, colour);
}

void Picture(SpriteBatch& sprite, const sUnitAppearance& ap, int slot, const cUnit& unit, int level,
             PointF position, float depth, Argb colour = kWhite) {
  if (!ap.valid[static_cast<std::size_t>(slot)]) return;
  DrawPlaced(sprite, UnitSheetOf(unit.GetOwnerCountry()), UnitAtlasCell(unit.type, level), position,
             ap.placement[static_cast<std::size_t>(slot)], depth, colour);
}

void Text(SpriteBatch& sprite, const sUnitAppearance& ap, int slot, int font, PointF position,
          std::u16string_view text) {
  if (!ap.valid[static_cast<std::size_t>(slot)]) return;
  DrawShadowedText(sprite, ap.fonts[static_cast<std::size_t>(font)],
                   text, PlacedRect(position, ap.placement[static_cast<std::size_t>(slot)]), kTextFormat);
}

// A unit's name under its counter, cut to its place: a longer name would run
// into the names and counters of the neighbouring columns.
void Name(SpriteBatch& sprite, const sUnitAppearance& ap, int slot, int font, PointF position,
          std::u16string_view name) {
  const sAppearanceFont& face = ap.fonts[static_cast<std::size_t>(font)];
  if (!ap.valid[static_cast<std::size_t>(slot)] || face.object == nullptr) return;
  const Rect rect = PlacedRect(position, ap.placement[static_cast<std::size_t>(slot)]);
  // Centred with its shadow one pixel to the right, the name keeps inside its
  // place only when it is two pixels narrower.
  DrawShadowedText(sprite, face, FitToWidth(*face.object, name, rect.width() - 2), rect, kTextFormat);
}

// A value taken to the nearest whole number, halves upwards, as "%.0f".
std::u16string RoundedFigure(float value) { return Format(u"%.0f", std::floor(static_cast<double>(value) + 0.5)); }

}  // namespace

Rect UnitAtlasCell(int type, int level) {
  const int row = (std::clamp(level, 1, 5) - 1) * 100;
  if (type >= kInfantryDivision && type <= kAirborneDivision) {
    static constexpr int kColumn[kLandTypeCount] = {0, 0, 128, 128, 256, 256, 384};
    const bool corps = type == kInfantryCorps || type == kMechanizedCorps || type == kArmouredCorps;
    return RectFromSize(kColumn[type], (corps ? 500 : 0) + row, 128, 100);
  }
  if (type == kMulberryType) return RectFromSize(512, 600, 128, 100);
  if (type >= kFighter && type <= kStrategicBomber) return RectFromSize(640 + 128 * (type - kFighter), row, 128, 100);
  if (type >= kAircraftCarrier && type <= kAmphibiousShip) {
    return RectFromSize(1024 + 128 * (type - kAircraftCarrier), 0, 128, 100);
  }
  return Rect{};
}

const Texture* UnitSheetOf(const cCountry* country) {
  if (country != nullptr) {
    if (const Texture* own = FindGameTexture(country->unitsTexture)) return own;
  }
  return UnitsSkinTextures().units.GetTexture();
}

const Texture* FlagOf(const cCountry* country) {
  return country != nullptr ? FindGameTexture(country->GetFlagTexture()) : nullptr;
}

void DrawLandCounter(SpriteBatch& sprite, cJednostkaLadowa& unit, PointF position, float depth, int frameParity,
                     int ownCountry, bool named) {
  const sUnitAppearance& ap = Active(kLandTable);
  const bool own = unit.owner == ownCountry;
  const bool lit = own && (frameParity & 1) != 0;
  Part(sprite, ap, kLandBackground, position, depth, false, OwnerColour(unit.GetOwnerCountry()));
  Picture(sprite, ap, kLandPicture, unit, unit.level, position, depth);
  Part(sprite, ap, kLandFrame, position, depth, false);
  Part(sprite, ap, kLandSizeMarks, position, depth, unit.IsCorps());
  const bool ready = own ? unit.attacked == 0 && unit.actionPoints > 0 : unit.wasAttacked == 0;
  if (ready) Part(sprite, ap, kLandAction, position, depth, lit);
  const bool commanded = unit.commanderId != -1;
  if (own || commanded) Part(sprite, ap, kLandCommander, position, depth, lit && commanded);
  if (own) {
    if (unit.actionPoints >= 1) Part(sprite, ap, kLandActionPoints, position, depth, lit);
    if (unit.supply < 10) Part(sprite, ap, kLandLowSupply, position, depth, lit);
    if (unit.GetStrengthIconHint(nullptr)) Part(sprite, ap, kLandReinforce, position, depth, lit);
  }
  Text(sprite, ap, kLandStrengthText, 0, position, RoundedFigure(unit.GetEffectiveStrength()));
  if (unit.freezeTime >= 1) Part(sprite, ap, kLandFrozen, position, depth, lit);
  Text(sprite, ap, kLandLevelText, 1, position, Format(u"%i", unit.level));
  if (gShowUnitNames && named) Name(sprite, ap, kLandNameText, 2, position, Format(u"%s", unit.name));
}

void DrawAirCounter(SpriteBatch& sprite, cJednostkaLotnicza& unit, PointF position, float depth, int frameParity,
                    int ownCountry, bool named) {
  const sUnitAppearance& ap = Active(kAirTable);
  const bool lit = unit.owner == ownCountry && (frameParity & 1) != 0;
  const cCountry* owner = unit.GetOwnerCountry();
  Part(sprite, ap, kAirBackground, position, depth, false, OwnerColour(owner));
  Picture(sprite, ap, kAirPicture, unit, unit.level, position, depth);
  Part(sprite, ap, kAirFrame, position, depth, false);
  if (unit.actionPoints >= 1) Part(sprite, ap, kAirActionPoints, position, depth, lit);
  if (unit.supply < 10) Part(sprite, ap, kAirLowSupply, position, depth, lit);
  if (unit.attacked == 0 && unit.actionPoints > 0) Part(sprite, ap, kAirReady, position, depth, lit);
  if (unit.commanderId != -1) Part(sprite, ap, kAirCommander, position, depth, lit);
  if (ap.valid[kAirFlag]) {
    DrawPlaced(sprite, FlagOf(owner), ap.source[kAirFlag], position, ap.placement[kAirFlag], depth);
  }
  Text(sprite, ap, kAirStrengthText, 0, position, RoundedFigure(unit.GetEffectiveStrength()));
  Text(sprite, ap, kAirLevelText, 1, position, Format(u"%i", unit.level));
  if (gShowUnitNames && named) Name(sprite, ap, kAirNameText, 2, position, Format(u"%s", unit.name));
}

void DrawNavalCounter(SpriteBatch& sprite, const cJednostkaMorska& ship, PointF position, float depth, bool named) {
  const sUnitAppearance& ap = Active(kNavalTable);
  const cCountry* owner = ship.GetOwnerCountry();
  Part(sprite, ap, kShipBackground, position, depth, false, OwnerColour(owner));
  Picture(sprite, ap, kShipPicture, ship, 1, position, depth, ship.mayAct ? kWhite : kOutOfBattleShade);
  Part(sprite, ap, kShipFrame, position, depth, false);
  if (ap.valid[kShipTrack] && ap.valid[kShipBar]) {
    const Texture* info = UnitsSkinTextures().info.GetTexture();
    DrawPlaced(sprite, info, ap.source[kShipBar], position, ap.placement[kShipTrack], depth, kTrackShade);
    sPlacement bar = ap.placement[kShipBar];
    const float share = ship.maxHitPoints > 0
                            ? std::clamp(static_cast<float>(ship.hitPoints) / static_cast<float>(ship.maxHitPoints),
                                         0.0f, 1.0f)
                            : 0.0f;
    bar[2] = static_cast<std::int32_t>(static_cast<float>(bar[2]) * share);
    if (bar[2] > 0) DrawPlaced(sprite, info, ap.source[kShipBar], position, bar, depth);
  }
  if (ap.valid[kShipFlag]) DrawPlaced(sprite, FlagOf(owner), kFlagSource, position, ap.placement[kShipFlag], depth);
  Text(sprite, ap, kShipPointsText, 0, position, Format(u"%.0f", static_cast<double>(ship.hitPoints)));
  if (gShowUnitNames && named) Name(sprite, ap, kShipNameText, 1, position, Format(u"%s", ship.name));
}

void DrawUnitCounter(SpriteBatch& sprite, cUnit& unit, PointF position, float depth, int frameParity,
                     int ownCountry, bool named) {
  if (auto* land = dynamic_cast<cJednostkaLadowa*>(&unit)) {
    DrawLandCounter(sprite, *land, position, depth, frameParity, ownCountry, named);
  } else if (auto* air = dynamic_cast<cJednostkaLotnicza*>(&unit)) {
    DrawAirCounter(sprite, *air, position, depth, frameParity, ownCountry, named);
  } else if (auto* ship = dynamic_cast<cJednostkaMorska*>(&unit)) {
    DrawNavalCounter(sprite, *ship, position, depth, named);
  }
}

Rect UnitNamePlace(const cUnit& unit) {
  int table = kNavalTable, slot = kShipNameText;
  if (dynamic_cast<const cJednostkaLadowa*>(&unit) != nullptr) {
    table = kLandTable, slot = kLandNameText;
  } else if (dynamic_cast<const cJednostkaLotnicza*>(&unit) != nullptr) {
    table = kAirTable, slot = kAirNameText;
  }
  const sUnitAppearance& ap = Active(table);
  if (!gShowUnitNames || !ap.valid[static_cast<std::size_t>(slot)]) return Rect{};
  return PlacedRect({0.0f, 0.0f}, ap.placement[static_cast<std::size_t>(slot)]);
}

void DrawNavalCounterInDialog(SpriteBatch& sprite, cJednostkaMorska& ship, const sUnitRect& target) {
  DrawUnitIcon(sprite, ship, target, 0);
}

void DrawUnitIcon(SpriteBatch& sprite, cUnit& unit, const sUnitRect& target, int ownCountry) {
  const float s = (target.right - target.left) / 166.0f;
  if (s <= 0.0f) return;
  const Matrix2D saved = sprite.GetTransform();
  const bool showNames = gShowUnitNames;
  gShowUnitNames = false;
  sprite.SetTransform(Matrix2D::Scaling(s, s));
  DrawUnitCounter(sprite, unit, {target.left / s, target.top / s}, 0.5f, 0, ownCountry);
  sprite.SetTransform(saved);
  gShowUnitNames = showNames;
}

}  // namespace tr
