#include "events/effect_targets.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "events/event_params.h"
#include "foundation/console_log.h"
#include "world/gra.h"

namespace tr {

std::int32_t IntParam(const sEffect& effect, int i) { return TruncateParam(effect.params[static_cast<std::size_t>(i)]); }

sHex* EffectHex(const sEffect& effect, int xi, int yi) {
  const int x = IntParam(effect, xi);
  const int y = IntParam(effect, yi);
  if (!gGame->map || !gGame->map->IsInside(x, y)) {
    LogFormat(u"WARNING: effect %s at line %i: hex (%i, %i) is off the map; nothing changes", effect.method,
              effect.line, x, y);
    return nullptr;
  }
  return gGame->map->GetHex(x, y);
}

cCountry* EffectCountry(const sEffect& effect, int i) {
  const int id = IntParam(effect, i);
  if (id < 1 || id > gGame->CountryCount()) {
    LogFormat(u"WARNING: effect %s at line %i: there is no country %i; nothing changes", effect.method, effect.line,
              id);
    return nullptr;
  }
  return gGame->countries[static_cast<std::size_t>(id - 1)].get();
}

sWezelGrafuMorz* EffectSeaNode(const sEffect& effect, int i) {
  const int id = IntParam(effect, i);
  if (!gGame->seaGraph.IsNodeId(id)) {
    LogFormat(u"WARNING: effect %s at line %i: there is no sea node %i; nothing changes", effect.method,
              effect.line, id);
    return nullptr;
  }
  return &gGame->seaGraph.GetNode(id - 1);
}

cCity* EffectCity(const sEffect& effect, int xi, int yi) {
  sHex* hex = EffectHex(effect, xi, yi);
  if (hex == nullptr) return nullptr;
  if (hex->city == nullptr) {
    LogFormat(u"WARNING: effect %s at line %i: there is no city on hex (%i, %i); nothing changes", effect.method,
              effect.line, IntParam(effect, xi), IntParam(effect, yi));
  }
  return hex->city;
}

bool EffectTech(const sEffect& effect, int i, std::size_t& tech) {
  const int value = IntParam(effect, i);
  if (value < 0 || value >= kTechCount) {
    LogFormat(u"WARNING: effect %s at line %i: there is no technology %i (0 to 6); nothing changes", effect.method,
              effect.line, value);
    return false;
  }
  tech = static_cast<std::size_t>(value);
  return true;
}

bool EffectPosition(const sEffect& effect, int i, std::size_t size, std::size_t& slot) {
  const int position = IntParam(effect, i);
  if (position < 1 || static_cast<std::size_t>(position) > size) {
    LogFormat(u"WARNING: effect %s at line %i: position %i is outside 1 to %i; nothing changes", effect.method,
              effect.line, position, static_cast<int>(size));
    return false;
  }
  slot = static_cast<std::size_t>(position - 1);
  return true;
}

float FloatParam(const sEffect& effect, int i) {
  const double value = effect.params[static_cast<std::size_t>(i)];
  if (std::isnan(value)) return 0.0f;
  constexpr double kLargest = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(value, -kLargest, kLargest));
}

std::int32_t HeldWithin(const sEffect& effect, std::u16string_view what, std::int64_t value, std::int64_t low,
                        std::int64_t high) {
  const std::int64_t held = std::clamp(value, low, high);
  if (held != value) {
    LogFormat(u"WARNING: effect %s at line %i: %s %i is outside %i to %i; %i is used", effect.method, effect.line, what,
              value, low, high, held);
  }
  return static_cast<std::int32_t>(held);
}

std::int32_t HeldInRange(const sEffect& effect, std::int64_t value, std::int64_t low, std::int64_t high,
                         std::u16string_view what, const cCountry& country) {
  const std::int64_t held = std::clamp(value, low, high);
  if (held != value) {
    LogFormat(u"WARNING: effect %s at line %i: %s of %s held at %i, within %i to %i", effect.method, effect.line,
              what, country.name, held, low, high);
  }
  return static_cast<std::int32_t>(held);
}

double HeldFractionInRange(const sEffect& effect, double value, double low, double high,
                           std::u16string_view what, const cCountry& country) {
  // A value that is no number keeps the low end rather than spreading into sums.
  const double held = std::isnan(value) ? low : std::clamp(value, low, high);
  if (held != value) {
    LogFormat(u"WARNING: effect %s at line %i: %s of %s held at %f, within %f to %f", effect.method, effect.line,
              what, country.name, held, low, high);
  }
  return held;
}

void QueueEffectMessage(std::u16string text) { gGame->events->messages.push_back(std::move(text)); }

bool ClipRectangleToMap(int& x1, int& y1, int& x2, int& y2) {
  if (!gGame->map) return false;
  x1 = std::max(x1, 0);
  y1 = std::max(y1, 0);
  x2 = std::min(x2, gGame->map->GetWidth() - 1);
  y2 = std::min(y2, gGame->map->GetHeight() - 1);
  return x1 <= x2 && y1 <= y2;
}

}  // namespace tr
