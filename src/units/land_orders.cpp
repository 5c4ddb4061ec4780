// The computer opponent's orders to a land unit: moves toward a hex, standing
// aside, the greedy check of a route to the ultimate target, the stored order
// with its city route, and the strategic-move hex. The moves build the same
// path as the player's and hand the animation to the main thread.
#include <list>

#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "foundation/settings.h"
#include "units/jednostka_ladowa.h"
#include "units/player_control.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/hex_distance.h"
#include "world/presentation.h"

namespace tr {
namespace {

bool FollowsComputerMove(const cUnit& unit) { return unit.spotted && gGame->playerControl.follow; }

// Starts the walk of a unit whose path is built and waits until it is over.
// The presentation runs the steps on the main thread, one per shown frame,
// and a headless run at once; the state goes back to 9 with the last step.
void RunComputerMove() {
  gGame->SetGameState(kGameComputerMoving);
  Presentation().AnimateMove([] {
    if (gGame->playerControl.move.AdvanceMovingUnit()) return true;
    gGame->EndMoveAnimationState();
    return false;
  });
  while (gGame->GetGameState() == kGameComputerMoving && !ThreadStopRequested()) {
    SleepLogged(50, __FILE__, __LINE__);
  }
}

// Takes the unit off its hex and walks it to (x, y) of its range.
bool WalkTo(cJednostkaLadowa& unit, int x, int y) {
  sHex* start = gGame->map->GetHex(unit.x, unit.y);
  if (start->unit == &unit) start->unit = nullptr;
  if (!gGame->playerControl.FindHexPath(&unit, x, y)) return false;
  RunComputerMove();
  return true;
}

cCity* CityAt(int x, int y) {
  const cMap& map = *gGame->map;
  return map.IsInside(x, y) ? map.GetHex(x, y)->city : nullptr;
}

}  // namespace

bool cJednostkaLadowa::ExecuteMoveOrder(int targetX, int targetY) {
  if (!gGame || !gGame->map) return false;
  if (targetX == x && targetY == y) {
    LogLine(u"Jednostka dostaďż˝a rozkaz by iďż˝ďż˝ na pole na ktďż˝rym juďż˝ stoi. No to stoi dalej.");
    return false;
  }
  const cMap& map = *gGame->map;
  int destX = targetX;
  int destY = targetY;
  if (!IsHexInMoveRange(targetX, targetY) || map.GetHex(targetX, targetY)->unit) {
    // The nearest free hex of the range, and only one nearer than where the unit stands.
    int best = HexDistance(x, y, targetX, targetY);
    const sMoveRangeCell* kept = nullptr;
    for (const sMoveRangeCell& cell : moveRange) {
      if (map.GetHex(cell.x, cell.y)->unit) continue;
      const int distance = HexDistance(cell.x, cell.y, targetX, targetY);
      if (distance < best) {
        best = distance;
        kept = &cell;
      }
    }
    if (!kept) return false;
    destX = kept->x;
    destY = kept->y;
  }
  if (FollowsComputerMove(*this)) Presentation().CenterCameraOn(x, y, false);
  if (!WalkTo(*this, destX, destY)) return false;
  SleepLogged(static_cast<int>(gDelays[kDelayAIMoveAfter]), __FILE__, __LINE__);
  return true;
}

bool cJednostkaLadowa::MoveAlongPath(int targetX, int targetY) {
  if (!gGame || !gGame->map || !gGame->map->IsInside(x, y) || !gGame->map->IsInside(targetX, targetY)) return false;
  // Two units never share a hex.
  const cUnit* there = gGame->map->GetHex(targetX, targetY)->unit;
  if (there && there != this) return false;
  ComputeMoveRange(1);
  return WalkTo(*this, targetX, targetY);
}

bool cJednostkaLadowa::OrderMove() {
  if (!gGame || !gGame->map) return false;
  ComputeMoveRange(1);
  const cMap& map = *gGame->map;
  const sMoveRangeCell* kept = nullptr;
  for (const sMoveRangeCell& cell : moveRange) {
    if (map.GetHex(cell.x, cell.y)->unit) continue;
    if (!kept || cell.cost < kept->cost) kept = &cell;
  }
  if (!kept) return false;
  const bool shown = FollowsComputerMove(*this);
  if (shown) Presentation().CenterCameraOn(x, y, false);
  if (!WalkTo(*this, kept->x, kept->y)) return false;
  if (shown) SleepLogged(static_cast<int>(gDelays[kDelayAIMoveAfter]), __FILE__, __LINE__);
  return true;
}

void cJednostkaLadowa::MoveTowardHex(int targetX, int targetY) {
  if (!gGame || !gGame->map || (targetX == x && targetY == y)) return;
  ComputeMoveRange(1);
  const sMoveRangeCell* kept = nullptr;
  int keptDistance = 0;
  for (const sMoveRangeCell& cell : moveRange) {
    if (actionPoints - cell.cost <= 0) continue;
    const int distance = HexDistance(cell.x, cell.y, targetX, targetY);
    if (!kept || distance < keptDistance || (distance == keptDistance && cell.cost > kept->cost)) {
      kept = &cell;
      keptDistance = distance;
    }
  }
  if (kept) ExecuteMoveOrder(kept->x, kept->y);
}

bool cJednostkaLadowa::MoveTowardUltimateTarget() {
  if (!gGame || !gGame->map) return false;
  const cMap& map = *gGame->map;
  const int tx = aiUltimateTargetX;
  const int ty = aiUltimateTargetY;
  if (tx == -1 || ty == -1 || !map.IsInside(tx, ty)) return false;
  const cCountry* own = GetOwnerCountry();
  if (!own) return false;
  // A greedy walk over land the unit may enter: it tells whether the target
  // lies ahead by a plain route, not whether a longer one exists.
  int cx = x;
  int cy = y;
  for (int d = 0; d < kDirectionCount; ++d) {
    const sHex* n = map.GetNeighbour(cx, cy, d);
    if (!n) continue;
    if (n->x == tx && n->y == ty) {
      ComputeMoveRange(1);
      ExecuteMoveOrder(tx, ty);
      return true;
    }
    const int c = n->controller;
    const bool enterable = c != 0 && (c == owner || own->IsAlly(c) || own->IsAtWarWith(c));
    if (n->IsLand() && enterable && HexDistance(n->x, n->y, tx, ty) < HexDistance(cx, cy, tx, ty)) {
      cx = n->x;
      cy = n->y;
      d = -1;
    }
  }
  return false;
}

void cJednostkaLadowa::SetAiOrder(int order, int targetX, int targetY, int hops) {
  if (hops <= 1) {
    aiOrder = order;
    aiTargetX = targetX;
    aiTargetY = targetY;
    aiUltimateTargetX = -1;
    aiUltimateTargetY = -1;
    return;
  }
  cCity* start = gGame && gGame->map ? CityAt(supplySourceX, supplySourceY) : nullptr;
  if (!start) start = GetHexGridEntry();
  cCity* goal = gGame && gGame->map ? CityAt(targetX, targetY) : nullptr;
  std::list<cCity*> path;
  // A unit whose route starts at the goal itself heads straight for it.
  if (start && start == goal) path.push_back(goal);
  if (start && goal && (!path.empty() || gGame->citiesDiagram.FindPath(start, goal, owner, path)) && !path.empty()) {
    // The route runs from the goal back toward the start: its last city is the next one to reach.
    aiOrder = order;
    aiTargetX = path.back()->x;
    aiTargetY = path.back()->y;
    aiUltimateTargetX = targetX;
    aiUltimateTargetY = targetY;
    return;
  }
  aiOrder = 0;
  aiTargetX = -1;
  aiTargetY = -1;
  LogFormat(u"ERROR: Nie znaleziono sciezki dla rozkazu nr %i", order);
}

int cJednostkaLadowa::GetHopsToCity(int cityX, int cityY) {
  const cCity* from = GetHexGridEntry();
  const cCity* to = gGame && gGame->map ? CityAt(cityX, cityY) : nullptr;
  if (!from || !to) {
    LogLine(u"ERROR (Returining no. of hops - land unit): City is null");
    aiOrder = 0;
    aiTargetX = aiTargetY = -1;
    aiUltimateTargetX = aiUltimateTargetY = -1;
    return -1;
  }
  return GetHopsTo(*from, *to);
}

bool cJednostkaLadowa::FindStrategicMoveHex(const cCity& target, int& outX, int& outY) const {
  if (!gGame || !gGame->map || !gGame->strategicMovement) return false;
  if (actionPoints != startingActionPoints) return false;
  if (!gGame->strategicMovement->CanMoveStrategically(*this, target)) return false;
  const cCountry* own = GetOwnerCountry();
  if (!own || own->strategicMovementPoints < gGame->constants.StrategicMoveCost(type)) {
    return false;
  }
  const cMap& map = *gGame->map;
  if (!map.IsInside(target.x, target.y)) return false;
  if (!map.GetHex(target.x, target.y)->unit) {
    outX = target.x;
    outY = target.y;
    return true;
  }
  for (int d = 0; d < kDirectionCount; ++d) {
    const sHex* n = map.GetNeighbour(target.x, target.y, d);
    if (!n || n->controller == 0 || n->unit) continue;
    if (n->controller == owner || own->IsAlly(n->controller)) {
      outX = n->x;
      outY = n->y;
      return true;
    }
  }
  return false;
}

}  // namespace tr
