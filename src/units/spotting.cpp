// The fog of war: which units the viewing side sees, and what a unit reveals
// around itself. Also whether a land unit has somewhere to give ground.
#include "foundation/console_log.h"
#include "foundation/settings.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "world/gra.h"
#include "world/hex_distance.h"

namespace tr {
namespace {

bool IsFriendOf(const cCountry& viewer, int countryId) {
  // Country 0 is nobody's friend, and asking the relations about it is fatal.
  if (countryId == 0) return false;
  return countryId == viewer.id || viewer.IsAlly(countryId);
}

// Land units first, then air units; the walk stops when visit returns true.
template <typename F>
void ForEachSpottingUnit(cGame& game, F&& visit) {
  for (const auto& unit : game.landUnits) {
    if (visit(*unit)) return;
  }
  for (const auto& unit : game.airUnits) {
    if (visit(*unit)) return;
  }
}

}  // namespace

void cUnit::UpdateSpottedFlag(const cCountry* viewer) {
  if (spotted) return;
  if (gFogOfWar == 0) {
    spotted = 1;
    return;
  }
  if (!viewer || !gGame) return;
  ForEachSpottingUnit(*gGame, [&](const cUnit& other) {
    if (!IsFriendOf(*viewer, other.owner)) return false;
    if (HexDistance(x, y, other.x, other.y) > gFogOfWar) return false;
    spotted = 1;
    return true;
  });
}

void cUnit::RevealUnitsAround(int report) {
  if (!gGame) return;
  const cCountry* own = GetOwnerCountry();
  auto* self = dynamic_cast<cJednostka*>(this);
  ForEachSpottingUnit(*gGame, [&](cUnit& other) {
    if (gFogOfWar != 0 && HexDistance(x, y, other.x, other.y) > gFogOfWar) return false;
    const bool enemy = other.owner != owner && !(own && IsFriendOf(*own, other.owner));
    if (report && enemy && !other.spotted && self) self->newEnemyRevealed = 1;
    other.spotted = 1;
    return false;
  });
}

void cCountry::RecalculateUnitsVisibility() {
  LogLine(u"Recalculating units visibility");
  if (!gGame) return;
  if (gFogOfWar == 0) {
    ForEachSpottingUnit(*gGame, [](cUnit& unit) {
      unit.spotted = 1;
      return false;
    });
  } else {
    ForEachSpottingUnit(*gGame, [](cUnit& unit) {
      unit.spotted = 0;
      return false;
    });
    ForEachSpottingUnit(*gGame, [this](cUnit& unit) {
      if (IsFriendOf(*this, unit.owner)) {
        unit.spotted = 1;
        unit.RevealUnitsAround(0);
      }
      return false;
    });
    for (cUnit* unit : reconSpottedUnits) {
      if (unit) unit->spotted = 1;
    }
  }
  gGame->seaGraph.CalculateNavalVisibilityAll(id, false);
}

bool cJednostkaLadowa::HasRetreatHex() const {
  if (!gGame || !gGame->map) return false;
  const cMap& map = *gGame->map;
  if (!map.IsInside(x, y)) return false;
  const cCountry* own = GetOwnerCountry();
  for (int d = 0; d < kDirectionCount; ++d) {
    const sHex* hex = map.GetNeighbour(x, y, d);
    if (!hex || hex->unit || hex->controller == 0) continue;
    const int controller = hex->controller;
    if (controller == owner) return true;
    if (own && (own->IsAtWarWith(controller) || own->IsAlly(controller))) return true;
  }
  return false;
}

}  // namespace tr
