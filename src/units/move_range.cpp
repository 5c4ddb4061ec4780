// Where a land unit can go with the action points it has left: the least
// cost of every reachable hex and the direction it is best reached from, the
// highlight of the player's view, the hexes where a reserve unit may be
// placed, and the computer opponent's search for a free hex away from a
// target.
#include "units/move_range.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <list>

#include "foundation/console_log.h"
#include "units/jednostka_ladowa.h"
#include "units/player_control.h"
#include "world/city.h"
#include "world/gra.h"
#include "world/tech_levels.h"

namespace tr {
namespace {

constexpr std::uint32_t kRangeFlags = 4 | 8 | 16;
constexpr std::uint32_t kRangeSpareFlag = 4;
constexpr std::uint32_t kRangeLowFlag = 8;
constexpr std::uint32_t kRangeSpentFlag = 16;
constexpr std::uint32_t kPlacementFlag = 64;
constexpr std::uint32_t kAllButSelected = ~1u;
constexpr std::int32_t kClosedStep = -1;
constexpr std::int32_t kStepNotWorkedOut = -2;
constexpr int kNoHexKept = 99999;

// The relaxation looks at the neighbours in this order; it decides which of
// two equal routes is kept, and so the direction codes paths follow.
constexpr std::array<int, kDirectionCount> kFloodOrder = {0, 3, 1, 2, 4, 5};

cMap& TheMap() { return *gGame->map; }

// A hex controlled by nobody, the owner, an enemy or an ally may be entered;
// one held by a neutral country may not.
bool MayEnterControlled(const cCountry& owner, int controller) {
  if (controller == 0 || controller == owner.id) return true;
  return gGame->relations.IsAtWar(owner.id, controller) || owner.IsAlly(controller);
}

bool IsEnemyOf(const cCountry& owner, const cUnit* unit) {
  return unit && unit->owner >= 1 && gGame->relations.IsAtWar(owner.id, unit->owner);
}

// A free land hex that may be entered: the one step a unit may always take.
bool IsFreeEnterableNeighbour(const cCountry& owner, const sHex& hex) {
  return !hex.unit && hex.IsLand() && MayEnterControlled(owner, hex.controller);
}

// The range's own lookup, silent: the logged one is for the player's orders.
bool HasEntry(const std::list<sMoveRangeCell>& range, int hexX, int hexY) {
  return std::any_of(range.begin(), range.end(),
                     [&](const sMoveRangeCell& cell) { return cell.x == hexX && cell.y == hexY; });
}

}  // namespace

sMoveRangeWindow::sMoveRangeWindow(cUnit* unit, int centreX, int centreY, int actionPoints, int mapWidth,
                                   int mapHeight) {
  Reset(unit, centreX, centreY, actionPoints, mapWidth, mapHeight);
}

void sMoveRangeWindow::Reset(cUnit* unit, int centreX, int centreY, int actionPoints, int mapWidth,
                             int mapHeight) {
  const std::int64_t reach = static_cast<std::int64_t>(std::max(actionPoints, 0)) + 1;
  const auto clip = [reach](int centre, int extent, int& origin, int& length) {
    const std::int64_t first = std::max<std::int64_t>(centre - reach, 0);
    const std::int64_t last = std::min<std::int64_t>(centre + reach, std::int64_t{extent} - 1);
    origin = static_cast<int>(first);
    length = last >= first ? static_cast<int>(last - first + 1) : 0;
  };
  clip(centreX, mapWidth, originX, width);
  clip(centreY, mapHeight, originY, height);
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  cells.assign(count, sMoveRangeCell{unit, 0, 0, 0, kUnreachedCost});
  marks.assign(count, kMarkFree);
}

int cJednostkaLadowa::ComputeMoveRange(int quiet) {
  moveRange.clear();
  const bool probe = quiet != 0;
  const cCountry* owner = GetOwnerCountry();
  if (!gGame || !gGame->map || !owner || !TheMap().IsInside(x, y)) return 0;
  cMap& map = TheMap();
  const bool untouched = type != kMulberryType && freezeTime <= 0;

  if (actionPoints < 1) {
    // Only a unit that began the turn without points and has not moved may step.
    if (startingActionPoints != 0 || movedThisTurn || !untouched) return 0;
    if (!probe) map.ClearHexFlags(kRangeFlags, false);
    int added = 0;
    for (int d = 0; d < kDirectionCount; ++d) {
      sHex* n = map.GetNeighbour(x, y, d);
      if (!n || !IsFreeEnterableNeighbour(*owner, *n)) continue;
      moveRange.push_back({this, n->x, n->y, d, 0});
      if (!probe) n->AddFlags(kRangeSpentFlag, 0);
      ++added;
    }
    return added;
  }

  thread_local sMoveRangeWindow window;
  window.Reset(this, x, y, actionPoints, map.GetWidth(), map.GetHeight());
  const int threshold = gGame->constants.AttackActionPointCost(TechTableLevel(GetDoctrineLevel(), 0));

  for (int wy = window.originY; wy < window.originY + window.height; ++wy) {
    for (int wx = window.originX; wx < window.originX + window.width; ++wx) {
      if (!map.IsInside(wx, wy)) continue;
      const sHex& hex = *map.GetHex(wx, wy);
      if (!MayEnterControlled(*owner, hex.controller)) {
        window.Mark(wx, wy) = kMarkImpassable;
        continue;
      }
      if (!IsEnemyOf(*owner, hex.unit)) continue;
      // An enemy the player has not seen does not block the view's range,
      // but its zone of control is felt all the same.
      if (probe || hex.unit->spotted) window.Mark(wx, wy) = kMarkImpassable;
      for (int d = 0; d < kDirectionCount; ++d) {
        const sPoint n = NeighbourPoint(wx, wy, d);
        if (!window.Contains(n.x, n.y)) continue;
        std::int32_t& mark = window.Mark(n.x, n.y);
        if (mark != kMarkImpassable) mark = kMarkZoneOfControl;
      }
    }
  }

  window.Cell(x, y) = {this, x, y, 0, 0};
  FloodMoveRange(probe, x, y, 0, window);
  if (!probe) map.ClearHexFlags(kRangeFlags, false);

  int added = 0;
  for (const sMoveRangeCell& cell : window.cells) {
    // A cell no route reached keeps its mark, which points in the millions would take for a cost.
    if (cell.cost <= 0 || cell.cost > actionPoints || cell.cost == kUnreachedCost) continue;
    moveRange.push_back(cell);
    ++added;
    if (probe) continue;
    sHex& hex = *map.GetHex(cell.x, cell.y);
    if (hex.unit && hex.unit->spotted) continue;
    const int left = actionPoints - cell.cost;
    const std::uint32_t flag = left == 0 ? kRangeSpentFlag : left > threshold ? kRangeSpareFlag : kRangeLowFlag;
    hex.AddFlags(flag, left);
  }

  // A unit that has spent nothing may always take one step onto a free
  // neighbour it may enter, however dear that hex is.
  if (actionPoints == startingActionPoints && untouched) {
    for (int d = 0; d < kDirectionCount; ++d) {
      sHex* n = map.GetNeighbour(x, y, d);
      if (!n || !IsFreeEnterableNeighbour(*owner, *n) || HasEntry(moveRange, n->x, n->y)) continue;
      moveRange.push_back({this, n->x, n->y, d, actionPoints});
      if (!probe) n->AddFlags(kRangeSpentFlag, 0);
      ++added;
    }
  }
  return added;
}

void cJednostkaLadowa::FloodMoveRange(bool, int startX, int startY, int startCost, sMoveRangeWindow& window) const {
  const cMap& map = TheMap();
  const cCountry* owner = GetOwnerCountry();
  const sScenarioConstants& constants = gGame->constants;
  const float mudFactor = owner ? owner->mudMove / 100.0f * constants.MudMovePercent() / 100.0f : 0.0f;
  const float winterFactor = owner ? owner->winterMove / 100.0f * constants.WinterMovePercent() / 100.0f : 0.0f;
  // The step costs of the unit's category, read once: index 0 is the cost of
  // any terrain outside 1..7.
  std::array<int, 8> terrainCost{};
  terrainCost[0] = constants.MoveCostDefault(category);
  for (int terrain = 1; terrain <= 7; ++terrain) terrainCost[terrain] = constants.MoveCost(category, terrain);
  const int zocSurcharge = constants.ZocMoveSurcharge(category);
  // A step dearer than all the unit's points is never taken, so holding it
  // just above them changes no route and keeps the sums within range.
  const double dearest = static_cast<double>(actionPoints) + 1.0;
  const auto weathered = [&](int step, int weather) {
    double scaled = step;
    if (weather == 2) {
      scaled = std::trunc((mudFactor + 1.0) * step);
    } else if (weather == 1) {
      scaled = std::trunc((winterFactor + 1.0) * step);
    }
    // A step never costs less than one point, so no route leaves the window.
    if (!(scaled >= 1.0)) return 1;
    return static_cast<int>(std::min(scaled, dearest));
  };
  // The relaxation meets most cells many times, so what entering each costs
  // is worked out once, when a route first reaches it: most of the window
  // lies beyond the unit's points. kClosedStep marks a cell no route enters:
  // the sea, neutral ground and a seen enemy's hex stay closed to a land unit
  // however many points it has and however little the scenario makes them cost.
  const std::size_t count = window.cells.size();
  window.steps.assign(count, kStepNotWorkedOut);
  window.zocSteps.resize(count);
  const auto workOutSteps = [&](int i, int wx, int wy) {
    if (window.steps[i] != kStepNotWorkedOut) return;
    const sHex* hex = map.IsInside(wx, wy) ? map.GetHex(wx, wy) : nullptr;
    if (!hex || window.marks[i] == kMarkImpassable || !hex->IsLand()) {
      window.steps[i] = window.zocSteps[i] = kClosedStep;
      return;
    }
    const int step = terrainCost[hex->terrain >= 1 && hex->terrain <= 7 ? hex->terrain : 0];
    window.steps[i] = weathered(step, hex->weather);
    window.zocSteps[i] =
        window.marks[i] == kMarkZoneOfControl ? weathered(step + zocSurcharge, hex->weather) : window.steps[i];
  };

  const auto stepInto = [&](int fromX, int fromY, int i) {
    const bool zoc = window.Mark(fromX, fromY) == kMarkZoneOfControl && window.marks[i] == kMarkZoneOfControl;
    return zoc ? window.zocSteps[i] : window.steps[i];
  };

  // First the least cost of every cell, cheapest first (every step costs at
  // least one point, so a cell is final when it comes off the queue). The
  // queue holds what routes reached, never one entry per point: the points
  // may run into the millions.
  std::vector<std::int32_t>& least = window.least;
  least.resize(count);
  for (std::size_t i = 0; i < count; ++i) least[i] = window.cells[i].cost;
  struct Reached {
    std::int32_t cost;
    sPoint at;
    bool operator>(const Reached& other) const { return cost > other.cost; }
  };
  thread_local std::vector<Reached> queue;
  queue.clear();
  const auto push = [](const Reached& reached) {
    queue.push_back(reached);
    std::push_heap(queue.begin(), queue.end(), std::greater<>());
  };
  if (startCost >= 0 && startCost <= actionPoints) push({startCost, {startX, startY}});
  while (!queue.empty()) {
    std::pop_heap(queue.begin(), queue.end(), std::greater<>());
    const Reached reached = queue.back();
    queue.pop_back();
    const sPoint from = reached.at;
    const int c = reached.cost;
    // A cell met again after a cheaper arrival is passed over; the start is explored whatever its cell holds.
    const bool start = from.x == startX && from.y == startY && c == startCost;
    if (!start && least[window.Index(from.x, from.y)] != c) continue;
    for (int d = 0; d < kDirectionCount; ++d) {
      const sPoint n = NeighbourPoint(from.x, from.y, d);
      if (!window.Contains(n.x, n.y)) continue;
      const int i = window.Index(n.x, n.y);
      workOutSteps(i, n.x, n.y);
      if (window.steps[i] == kClosedStep) continue;
      const std::int64_t cost = std::int64_t{c} + stepInto(from.x, from.y, i);
      if (cost < least[i] && cost <= actionPoints) {
        least[i] = static_cast<std::int32_t>(cost);
        push({least[i], n});
      }
    }
  }

  // Then the depth-first relaxation whose order decides which of two equal
  // routes is kept, kept on an explicit stack: a frame is a hex, the cost it
  // was reached with, and the next neighbour to look at. An improved
  // neighbour is explored at once, before the rest. A cell reached dearer
  // than its least cost is passed over: such a route and everything it
  // reaches are improved on later anyway, and never set a cell's least cost,
  // so the kept routes are the ones the full relaxation keeps.
  struct Frame {
    int x, y, cost, next;
  };
  thread_local std::vector<Frame> stack;
  stack.clear();
  stack.push_back({startX, startY, startCost, 0});
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.cost > actionPoints || top.next == kDirectionCount) {
      stack.pop_back();
      continue;
    }
    const int d = kFloodOrder[top.next++];
    const Frame from = top;
    const sPoint n = NeighbourPoint(from.x, from.y, d);
    if (!window.Contains(n.x, n.y)) continue;
    const int i = window.Index(n.x, n.y);
    workOutSteps(i, n.x, n.y);
    if (window.steps[i] == kClosedStep) continue;
    const std::int64_t cost = std::int64_t{from.cost} + stepInto(from.x, from.y, i);
    if (cost != least[i]) continue;
    sMoveRangeCell& cell = window.cells[i];
    if (cost < cell.cost && cost <= actionPoints) {
      cell.x = n.x;
      cell.y = n.y;
      cell.direction = OppositeDirection(d);
      cell.cost = least[i];
      stack.push_back({n.x, n.y, least[i], 0});
    }
  }
}

bool cJednostkaLadowa::IsHexInMoveRange(int hexX, int hexY) const {
  const bool found = HasEntry(moveRange, hexX, hexY);
  LogLine(found ? u"Pole jest w zasiďż˝gu ruchu jednostki" : u"Pole jest poza zasiďż˝giem ruchu jednostki");
  return found;
}

int cJednostkaLadowa::MarkPlacementHexes(int mark) {
  if (!gGame || !gGame->map) return 0;
  const cCountry* country = gGame->playerControl.currentCountry;
  if (!country) return 0;
  cMap& map = TheMap();
  const bool highlight = mark != 0;
  if (highlight) map.ClearHexFlags(kAllButSelected, true);
  const int k = country->id;
  const bool atWar = country->IsAtWarWithAnyone();
  const int halfSupply = gGame->constants.FullSupplyLevel() / 2;
  int count = 0;
  for (const auto& city : gGame->cities) {
    if (city->type == kCityResources || !map.IsInside(city->x, city->y)) continue;
    sHex& hex = *map.GetHex(city->x, city->y);
    if (hex.controller != k || hex.owner != k) continue;
    if (atWar) {
      const std::size_t i = static_cast<std::size_t>(k - 1);
      const int supply = i < city->supplyInfo.size() ? city->supplyInfo[i] : 0;
      const bool convoy = i < city->convoyInfo.size() && city->convoyInfo[i];
      if (supply < halfSupply || convoy) continue;
    }
    if (!hex.unit) {
      ++count;
      if (highlight) hex.AddFlags(kPlacementFlag, -1);
    }
    for (int d = 0; d < kDirectionCount; ++d) {
      sHex* n = map.GetNeighbour(city->x, city->y, d);
      if (!n || n->unit || n->controller != k || n->owner != k) continue;
      ++count;
      if (highlight) n->AddFlags(kPlacementFlag, -1);
    }
  }
  return count;
}

bool cJednostka::FindFreeHexAwayFrom(int targetX, int targetY, sPoint (&excluded)[6], sMoveRangeCell& out,
                                     int slot) {
  if (!gGame || !gGame->map) return false;
  ComputeMoveRange(1);
  const cMap& map = TheMap();
  const sMoveRangeCell* best = nullptr;
  int bestCost = kNoHexKept;
  for (const sMoveRangeCell& cell : moveRange) {
    if (map.GetDirectionTo(targetX, targetY, cell.x, cell.y) != 0) continue;
    if (std::find(std::begin(excluded), std::end(excluded), sPoint{cell.x, cell.y}) != std::end(excluded)) continue;
    if (map.GetHex(cell.x, cell.y)->unit) continue;
    if (cell.cost < bestCost) {
      bestCost = cell.cost;
      best = &cell;
    }
  }
  if (!best) return false;
  out = *best;
  if (slot >= 0 && slot < 6) excluded[slot] = {best->x, best->y};
  return true;
}

}  // namespace tr
