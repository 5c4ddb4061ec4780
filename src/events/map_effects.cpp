// The effects on the map and what stands on it without creating units:
// new commanders, hex stripes changing hands, forts, cities, the events
// effect of units in an area, forced winter and mud, port sizes and the view.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "events/effect_dispatch.h"
#include "events/effect_targets.h"
#include "events/event_params.h"
#include "foundation/console_log.h"
#include "scenario/cities_file.h"
#include "scenario/table_writer.h"
#include "world/gra.h"
#include "world/map_camera.h"
#include "world/map_records.h"
#include "world/value_limits.h"
#include "world/turn_order.h"

namespace tr {
namespace {

// Pixels of the map per hex column and row.
constexpr float kColumnPixels = 83.0f;
constexpr float kRowPixels = 98.0f;

// Production points stay within what the city file reads back, whatever a
// script adds: the game's totals add them up as whole numbers.
float HeldProduction(const sEffect& effect, double value) {
  const double held = std::isnan(value) ? 0.0 : std::clamp(value, 0.0, kMaxCityProduction);
  if (held != value) {
    LogFormat(u"WARNING: effect %s at line %i: city production points held at %f, within 0 to %f", effect.method,
              effect.line, held, kMaxCityProduction);
  }
  return static_cast<float>(held);
}

void CommanderAddNew(const sEffect& effect) {
  if (!EffectCountry(effect, 0)) return;
  cGame& game = *gGame;
  // Past the highest number in use: the last entry need not hold it, and a
  // second commander with one number would take the first one's units.
  std::int32_t highest = 0;
  for (const auto& commander : game.commanders) highest = std::max(highest, commander->id);
  if (highest == std::numeric_limits<std::int32_t>::max()) {
    LogFormat(u"WARNING: effect %s at line %i: no commander number is left; nothing changes", effect.method,
              effect.line);
    return;
  }
  auto commander = std::make_unique<sCommander>();
  commander->id = highest + 1;
  commander->countryId = IntParam(effect, 0);
  commander->skill = HeldWithin(effect, u"skill", IntParam(effect, 1), 0, kMaxCommanderSkill);
  commander->experience = HeldWithin(effect, u"experience", IntParam(effect, 2), 0, kMaxTurnCount);
  commander->state = kCommanderNotAssigned;
  commander->type = 0;
  commander->name = CutName(effect.paramStrings[0]);
  game.commanders.push_back(std::move(commander));
}

void StripeControllerAndOwner(const sEffect& effect) {
  gGame->map->ChangeStripeControllerAndOwner(IntParam(effect, 0), IntParam(effect, 1), IntParam(effect, 2),
                                             IntParam(effect, 3));
}

void StripeControllerOwnerAndOriginalOwner(const sEffect& effect) {
  gGame->map->ChangeStripeControllerOwnerAndOriginalOwner(IntParam(effect, 0), IntParam(effect, 1), IntParam(effect, 2),
                                                          IntParam(effect, 3));
}

void SetFortLevel(const sEffect& effect) {
  sHex* hex = EffectHex(effect, 0, 1);
  if (!hex) return;
  // Any level the byte holds, past the scale of built forts; a level beyond
  // the byte must not wrap round (a negative one into a fortress).
  hex->fortLevel =
      static_cast<std::uint8_t>(HeldWithin(effect, u"fort level", IntParam(effect, 2), 0, kMaxStoredFortLevel));
}

void ChangeFortLevel(const sEffect& effect) {
  sHex* hex = EffectHex(effect, 0, 1);
  if (!hex) return;
  const double level = static_cast<double>(hex->fortLevel) + effect.params[2];
  const int whole = level < 0.0 ? 0 : TruncateParam(level);
  hex->fortLevel = static_cast<std::uint8_t>(std::min(whole, kMaxFortLevel));
}

void KillUnit(const sEffect& effect) {
  sHex* hex = EffectHex(effect, 0, 1);
  if (hex && hex->unit) hex->unit->Kill();
}

// A hex without a city is no error for the city effects: they change nothing quietly.
cCity* CityOnHex(const sEffect& effect) {
  sHex* hex = EffectHex(effect, 0, 1);
  return hex ? hex->city : nullptr;
}

void CitySetProductionPoints(const sEffect& effect) {
  if (cCity* city = CityOnHex(effect)) city->productionPoints = HeldProduction(effect, effect.params[2]);
}

void CityChangeProductionPoints(const sEffect& effect) {
  if (cCity* city = CityOnHex(effect)) {
    city->productionPoints = HeldProduction(effect, static_cast<double>(city->productionPoints) + effect.params[2]);
  }
}

void CitySetType(const sEffect& effect) {
  cCity* city = CityOnHex(effect);
  if (!city) return;
  const int type = IntParam(effect, 2);
  // The city file knows five types and reads any other as a normal city, so
  // a save would not give back what was set.
  if (type < kCitySupply || type > kCityResources) {
    LogFormat(u"WARNING: effect %s at line %i: city type %i is not one of 0 to 4; nothing changes", effect.method,
              effect.line, type);
    return;
  }
  city->type = type;
}

void AreaChangeEffectivity(const sEffect& effect) {
  const int x1 = IntParam(effect, 0);
  const int y1 = IntParam(effect, 1);
  const int x2 = IntParam(effect, 2);
  const int y2 = IntParam(effect, 3);
  const int country = IntParam(effect, 4);
  const int amount = IntParam(effect, 5);
  for (const auto& unit : gGame->landUnits) {
    if (unit->owner != country) continue;
    if (unit->x >= x1 && unit->x <= x2 && unit->y >= y1 && unit->y <= y2) {
      AddEventsEffect(*unit, amount);
    }
  }
}

// Forced weather on the land hexes of the rectangle; takesWeather 1 gives
// the hexes back to the impulse's weather roll.
void ForceWeather(const sEffect& effect, int weather, std::uint8_t takesWeather) {
  int x1 = IntParam(effect, 0);
  int y1 = IntParam(effect, 1);
  int x2 = IntParam(effect, 2);
  int y2 = IntParam(effect, 3);
  if (x1 > x2 || y1 > y2) return;
  if (!ClipRectangleToMap(x1, y1, x2, y2)) {
    LogFormat(u"WARNING: effect %s at line %i: the rectangle lies off the map; nothing changes", effect.method,
              effect.line);
    return;
  }
  for (int x = x1; x <= x2; ++x) {
    for (int y = y1; y <= y2; ++y) {
      sHex& hex = *gGame->map->GetHex(x, y);
      if (!hex.IsLand()) continue;
      hex.weather = weather;
      hex.takesWeather = takesWeather;
    }
  }
}

std::uint8_t WeatherRollFlag(const sEffect& effect) { return IntParam(effect, 4) != 0 ? 1 : 0; }

void StartWinterArea(const sEffect& effect) { ForceWeather(effect, 1, WeatherRollFlag(effect)); }
void EndWinterArea(const sEffect& effect) { ForceWeather(effect, 0, 1); }
void StartMudArea(const sEffect& effect) { ForceWeather(effect, 2, WeatherRollFlag(effect)); }
// Mud stays until the next weather roll dries it.
void EndMudArea(const sEffect& effect) { ForceWeather(effect, 2, 1); }

int PortSizeOf(double size) {
  if (size <= kMinEventPortSize) return kMinEventPortSize;
  if (size >= kMaxEventPortSize) return kMaxEventPortSize;
  return TruncateParam(size);
}

sWezelGrafuMorz* EffectPort(const sEffect& effect) {
  sWezelGrafuMorz* node = EffectSeaNode(effect, 0);
  return node && node->IsPort() ? node : nullptr;
}

void PortSetSize(const sEffect& effect) {
  if (sWezelGrafuMorz* port = EffectPort(effect)) port->maxPortSize = PortSizeOf(effect.params[1]);
}

void PortChangeSize(const sEffect& effect) {
  if (sWezelGrafuMorz* port = EffectPort(effect)) {
    port->maxPortSize = PortSizeOf(static_cast<double>(port->maxPortSize) + effect.params[1]);
  }
}

void ViewCenterAt(const sEffect& effect) {
  const int x = IntParam(effect, 0);
  const int y = IntParam(effect, 1);
  cGame& game = *gGame;
  if (!game.map) return;
  // Off the map the camera logs its own warning; no turn opens there either.
  CenterAtHex(*game.map, x, y, false);
  if (!game.map->IsInside(x, y)) return;
  if (cCountry* next = FindNextHumanCountry(game.countries, game.playerControl.currentCountry)) {
    next->SetSavedView(static_cast<float>(x) * kColumnPixels, static_cast<float>(y) * kRowPixels, gZoomLevel);
  }
}

const sEffectBehaviour kMapEffects[] = {
    {u"Commander.AddNew", CommanderAddNew},
    {u"HexStripe.ChangeControllerAndOwner", StripeControllerAndOwner},
    {u"HexStripe.ChangeControllerOwnerAndOriginalOwner", StripeControllerOwnerAndOriginalOwner},
    {u"Hex.SetFortLevel", SetFortLevel},
    {u"Hex.ChangeFortLevel", ChangeFortLevel},
    {u"Hex.KillUnit", KillUnit},
    {u"City.SetProductionPoints", CitySetProductionPoints},
    {u"City.ChangeProductionPoints", CityChangeProductionPoints},
    {u"City.SetType", CitySetType},
    {u"Area.ChangeEffectivityOfAllUnits", AreaChangeEffectivity},
    {u"New.StartWinterArea", StartWinterArea},
    {u"New.EndWinterArea", EndWinterArea},
    {u"New.StartMudArea", StartMudArea},
    {u"New.EndMudArea", EndMudArea},
    {u"Port.SetSize", PortSetSize},
    {u"Port.ChangeSize", PortChangeSize},
    {u"View.CenterAt", ViewCenterAt},
};

}  // namespace

std::span<const sEffectBehaviour> MapEffects() { return kMapEffects; }

}  // namespace tr
