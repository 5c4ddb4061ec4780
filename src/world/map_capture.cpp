// Taking hexes: the capture after a move or an attack with the hexes it
// drags along, the naval consequences of a port changing hands, and the
// border refresh of the whole map.
#include <array>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "units/unit.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/map.h"
#include "world/sea_graph_access.h"

namespace tr {
namespace {

// The order in which the neighbours of a captured hex are looked at: N, S, NE, SE, SW, NW.
constexpr std::array<int, 6> kCaptureOrder = {0, 3, 1, 2, 4, 5};

bool IsEnemyUnit(const cUnit* unit, int country) {
  return unit && unit->owner >= 1 && gGame->relations.IsAtWar(country, unit->owner);
}

void TakeHex(cMap& map, sHex& hex, int c, HexEntryList& undo) {
  map.OnPortCaptured(hex.x, hex.y);
  PushBackHexEntry(undo, hex.x, hex.y, hex.controller);
  hex.SetController(c);
}

}  // namespace

bool IsHexAdjacentToEnemyUnit(int country, int x, int y) {
  if (!gGame || !gGame->map) return false;
  const cMap& map = *gGame->map;
  if (!map.IsInside(x, y)) return false;
  if (IsEnemyUnit(map.GetHex(x, y)->unit, country)) return true;
  for (int d = 0; d < kDirectionCount; ++d) {
    const sHex* n = map.GetNeighbour(x, y, d);
    if (n && IsEnemyUnit(n->unit, country)) return true;
  }
  return false;
}

void cMap::CaptureHex(int c, int x, int y, HexEntryList& undo) {
  if (!IsInside(x, y)) {
    LogFormat(u"ERROR: capture of hex (%i, %i) off the map by country %i, skipped", x, y, c);
    return;
  }
  sHex& target = *GetHex(x, y);
  if (target.controller == 0) {
    LogFormat(u"ERROR: capture of hex (%i, %i) without a controller by country %i, skipped", x, y, c);
    return;
  }
  const cRelations& relations = gGame->relations;
  if (relations.IsAtWar(c, target.controller)) TakeHex(*this, target, c, undo);
  for (int d : kCaptureOrder) {
    sHex* n = GetNeighbour(x, y, d);
    if (!n || n->controller == 0 || n->city || !relations.IsAtWar(c, n->controller)) continue;
    if (IsHexAdjacentToEnemyUnit(c, n->x, n->y)) continue;
    TakeHex(*this, *n, c, undo);
  }
}

void cMap::OnPortCaptured(int x, int y) {
  if (!IsInside(x, y)) return;
  const cCity* city = GetHex(x, y)->city;
  if (!city || !IsPort(*city)) return;
  // Without a sea graph there is no port node and no fleet to move.
  cSeaGraphAccess* graph = SeaGraphAccess();
  if (!graph || !gGame) return;
  const int node = graph->FindNodeIdByHex(x, y);
  if (node < 0) {
    LogLine(Format(GetText("critical_error!_port_%s_(%i,%i)_not_found_in_sea_graph!"), city->name, x, y));
    FatalExit(1);
  }
  for (const auto& fleet : gGame->fleets) {
    if (fleet->seaNodeId != node) continue;
    // A port without open sea beside it keeps the fleet; play goes on.
    if (!graph->LeavePortBecameEnemy(*fleet)) {
      LogFormat(u"ERROR: %s cannot retreat to adjacent seazone from captured port!", fleet->name);
    }
  }
}

void cMap::RefreshHexes() {
  const cSeaGraphAccess* graph = SeaGraphAccess();
  // A sea-zone ID is a sea zone when it names a node that is not a port.
  const auto isSeaZone = [graph](int id) {
    return id >= 1 && id <= graph->NodeCount() && !graph->IsPortNode(id);
  };
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      sHex& hex = *GetHex(x, y);
      hex.UpdateBorders();
      if (hex.IsLand() || !graph) continue;
      if (hex.seaZone >= 1 && hex.seaZone <= graph->NodeCount() && graph->IsPortNode(hex.seaZone)) continue;
      for (int side = 1; side <= 3; ++side) {
        const sHex* n = GetNeighbour(x, y, side);
        if (!n) continue;
        const auto bit = static_cast<std::uint16_t>(64u << (side - 1));
        if (!n->IsLand() && isSeaZone(n->seaZone) && n->seaZone != hex.seaZone) {
          hex.borders |= bit;
        } else {
          hex.borders &= static_cast<std::uint16_t>(~bit);
        }
      }
    }
  }
}

}  // namespace tr
