// The walk of a unit along a path: the path built back from the target over
// the direction codes of the move range, the undo record it opens, and one
// step of the walk with the capture of the entered hex.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "foundation/console_log.h"
#include "units/jednostka_ladowa.h"
#include "units/player_control.h"
#include "world/gra.h"
#include "world/hex_distance.h"
#include "world/presentation.h"

namespace tr {
namespace {

const char16_t* MoveSound(int type) {
  switch (type) {
    case kInfantryDivision:
    case kInfantryCorps: return u"data\\sound\\InfantryMarching.wav";
    case kMechanizedDivision:
    case kMechanizedCorps: return u"data\\sound\\TruckDriving.wav";
    case kArmouredDivision:
    case kArmouredCorps: return u"data\\sound\\TankRolling.wav";
    default: return nullptr;
  }
}

// Takes the unit back onto its hex when the hex is free, so a refused move loses nothing.
void PutBack(cJednostka& unit) {
  sHex* hex = gGame->map->GetHex(unit.x, unit.y);
  if (gGame->map->IsInside(unit.x, unit.y) && !hex->unit) hex->unit = &unit;
}

// The steps from the unit's hex to the target, read back over the direction
// codes of the range; empty when the codes do not lead back to the unit.
std::deque<sHexEntry> TracePath(const cJednostka& unit, int targetX, int targetY) {
  // The cells the range can reach, one step beyond the unit's points, and
  // never beyond the map: the points alone could size it past any memory.
  const cMap& map = *gGame->map;
  const std::int64_t reach = std::int64_t{std::max(unit.actionPoints, 0)} + 1;
  const int originX = static_cast<int>(std::max<std::int64_t>(unit.x - reach, 0));
  const int originY = static_cast<int>(std::max<std::int64_t>(unit.y - reach, 0));
  const int width = static_cast<int>(std::min<std::int64_t>(unit.x + reach, map.GetWidth() - 1) - originX + 1);
  const int height = static_cast<int>(std::min<std::int64_t>(unit.y + reach, map.GetHeight() - 1) - originY + 1);
  auto inside = [&](int x, int y) {
    return x >= originX && x - originX < width && y >= originY && y - originY < height;
  };
  if (width <= 0 || height <= 0 || !inside(unit.x, unit.y)) return {};
  struct Cell {
    bool set = false;
    int direction = 0;
    int cost = -1;
  };
  std::vector<Cell> grid(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  auto cell = [&](int x, int y) -> Cell& {
    return grid[static_cast<std::size_t>(y - originY) * static_cast<std::size_t>(width) + (x - originX)];
  };
  cell(unit.x, unit.y) = {true, 0, 0};
  for (const sMoveRangeCell& entry : unit.moveRange) {
    if (inside(entry.x, entry.y)) cell(entry.x, entry.y) = {true, entry.direction, entry.cost};
  }

  std::deque<sHexEntry> path;
  int x = targetX;
  int y = targetY;
  // Every step leads one cell nearer the unit, so a longer walk is a broken range.
  for (std::size_t guard = 0; guard < grid.size(); ++guard) {
    if (!inside(x, y) || !cell(x, y).set) break;
    const Cell& here = cell(x, y);
    const sPoint back = NeighbourPoint(x, y, here.direction);
    if (!inside(back.x, back.y) || !cell(back.x, back.y).set) break;
    const int stepCost = here.cost - cell(back.x, back.y).cost;
    path.push_front({x, y, stepCost});
    LogFormat(u"Adding hex (%i,%i) to path (cost %i)", x, y, stepCost);
    if (back.x == unit.x && back.y == unit.y) return path;
    x = back.x;
    y = back.y;
  }
  return {};
}

}  // namespace

bool cPlayerControl::FindHexPath(cJednostka* unit, int targetX, int targetY) {
  if (!unit || !gGame || !gGame->map) return false;
  const auto entry = std::find_if(unit->moveRange.begin(), unit->moveRange.end(),
                                  [&](const sMoveRangeCell& c) { return c.x == targetX && c.y == targetY; });
  if (entry == unit->moveRange.end()) {
    LogFormat(u"Hex (%i,%i) is not in the move range of %s, the move is refused", targetX, targetY, unit->name);
    PutBack(*unit);
    return false;
  }
  std::deque<sHexEntry> steps;
  const bool adjacent = HexDistance(targetX, targetY, unit->x, unit->y) == 1;
  if (!adjacent) {
    steps = TracePath(*unit, targetX, targetY);
    if (steps.empty()) {
      LogFormat(u"No path leads back from hex (%i,%i) to %s, the move is refused", targetX, targetY, unit->name);
      PutBack(*unit);
      return false;
    }
  }

  unit->newEnemyRevealed = 0;
  undo.unit = unit;
  undo.actionPoints = unit->actionPoints;
  undo.startX = unit->x;
  undo.startY = unit->y;
  undo.changedHexes.clear();
  move.capturingCountry = gGame->map->GetHex(unit->x, unit->y)->controller;
  move.unit = unit;
  move.path = std::move(steps);
  move.walked.assign(1, sPoint{unit->x, unit->y});
  if (adjacent) {
    move.path.push_front({targetX, targetY, entry->cost});
    if (unit->category == kCategoryLand && unit->startingActionPoints == 0) {
      static_cast<cJednostkaLadowa*>(unit)->movedThisTurn = 1;
    }
  }
  if (unit->spotted) {
    if (const char16_t* sound = MoveSound(unit->type)) Presentation().PlaySoundEffect(sound);
  }
  return true;
}

sPoint sUnitMove::StopHex() const {
  if (unit == nullptr || gGame == nullptr || gGame->map == nullptr || walked.empty()) {
    return unit != nullptr ? sPoint{unit->x, unit->y} : sPoint{};
  }
  const cMap& map = *gGame->map;
  // Should the walk end on a hex that another unit holds, the unit stops on
  // the last free hex of its way instead.
  for (std::size_t i = walked.size() - 1; i > 0; --i) {
    const cUnit* holder = map.GetHex(walked[i].x, walked[i].y)->unit;
    if (holder == nullptr || holder == unit) return walked[i];
  }
  return walked.front();
}

bool sUnitMove::AdvanceMovingUnit() {
  if (!unit || !gGame || !gGame->map) return false;
  cMap& map = *gGame->map;
  const cRelations& relations = gGame->relations;
  cCountry* owner = unit->GetOwnerCountry();
  bool walking = !path.empty() && owner;
  if (walking) {
    capturingCountry = map.GetHex(unit->x, unit->y)->controller;
    const sHexEntry step = path.front();
    const sHex& next = *map.GetHex(step.x, step.y);
    if (next.unit && next.unit->owner >= 1 && relations.IsAtWar(unit->owner, next.unit->owner)) {
      path.clear();
      walking = false;
    } else {
      const cCountry* left = map.GetHex(unit->x, unit->y)->GetControllerCountry();
      unit->x = step.x;
      unit->y = step.y;
      unit->AddActionPoints(-step.value);
      walked.push_back({step.x, step.y});
      sHex& entered = *map.GetHex(step.x, step.y);
      if (entered.controller != 0 && !relations.IsAtWar(unit->owner, entered.controller)) {
        capturingCountry = entered.controller;
      }
      // A strong enough mover keeps what it takes; otherwise the hex goes to
      // the country whose ground it came from. From ground nobody holds there
      // is no one to leave it to.
      const int margin = gGame->constants.CaptureMargin();
      if (!left || owner->politicalStrength >= left->politicalStrength + margin) capturingCountry = unit->owner;
      if (entered.controller != entered.owner && entered.owner != 0 && capturingCountry != entered.controller &&
          capturingCountry != entered.owner && entered.GetOwnerCountry() &&
          entered.GetOwnerCountry()->IsAlly(capturingCountry)) {
        capturingCountry = entered.owner;
      }
      // Ground without a controller has nobody to take it from.
      if (entered.controller != 0) map.CaptureHex(capturingCountry, step.x, step.y, gGame->playerControl.undo.changedHexes);
      path.pop_front();
      if (!path.empty()) return true;
      walking = false;
    }
  }

  const sPoint stop = StopHex();
  unit->x = stop.x;
  unit->y = stop.y;
  sHex& end = *map.GetHex(unit->x, unit->y);
  if (!end.unit) end.unit = unit;
  if (owner && owner->humanControlled) owner->RecalculateUnitsVisibility();
  gGame->playerControl.lastMoveDestination = {unit->x, unit->y};
  unit = nullptr;
  capturingCountry = 0;
  walked.clear();
  return false;
}

}  // namespace tr
