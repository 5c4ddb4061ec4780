#include "events/effect_targets.h"

#include <algorithm>

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

bool ClipRectangleToMap(int& x1, int& y1, int& x2, int& y2) {
  if (!gGame->map) return false;
  x1 = std::max(x1, 0);
  y1 = std::max(y1, 0);
  x2 = std::min(x2, gGame->map->GetWidth() - 1);
  y2 = std::min(y2, gGame->map->GetHeight() - 1);
  return x1 <= x2 && y1 <= y2;
}

}  // namespace tr
