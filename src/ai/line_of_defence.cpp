// The line of defence: where a front is threatened, a continuous line of
// hexes drawn along the front-node lattice through own and allied land facing
// the enemy, and the reinforcing units moved onto it.
#include <algorithm>
#include <limits>
#include <vector>

#include "ai/ai_order.h"
#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "ai/line_of_defence.h"
#include "foundation/console_log.h"
#include "units/air_support.h"
#include "units/jednostka_ladowa.h"
#include "world/gra.h"
#include "world/hex_distance.h"

namespace tr {
namespace {

constexpr int kLatticeStep = 4;
constexpr std::uint8_t kMarkLatticeNode = 1;
constexpr std::uint8_t kMarkFrontLineNode = 2;
constexpr std::uint8_t kMarkLine = 3;

// A lattice node facing the enemy, with the lattice directions it faces.
struct sLineNode {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::array<std::uint8_t, 6> enemyDirections{};
};

int CountMarkedNeighbours(const cMap& map, sPoint hex) {
  int count = 0;
  for (int d = 0; d < kDirectionCount; ++d) {
    const sPoint next = map.GetNeighbourPoint(hex.x, hex.y, d);
    if (map.IsInside(next.x, next.y) && map.GetFrontNodeMark(next.x, next.y) == kMarkLine) ++count;
  }
  return count;
}

// One marked neighbour, itself at a junction of more than two.
bool IsSpur(const cMap& map, sPoint hex) {
  if (CountMarkedNeighbours(map, hex) != 1) return false;
  for (int d = 0; d < kDirectionCount; ++d) {
    const sPoint next = map.GetNeighbourPoint(hex.x, hex.y, d);
    if (map.IsInside(next.x, next.y) && map.GetFrontNodeMark(next.x, next.y) == kMarkLine) {
      return CountMarkedNeighbours(map, next) > 2;
    }
  }
  return false;
}

// Exactly two marked neighbours in directions d and d + 1; 5 and 0 do not
// count as consecutive.
bool IsCorner(const cMap& map, sPoint hex) {
  int first = -1;
  int second = -1;
  int count = 0;
  for (int d = 0; d < kDirectionCount; ++d) {
    const sPoint next = map.GetNeighbourPoint(hex.x, hex.y, d);
    if (!map.IsInside(next.x, next.y) || map.GetFrontNodeMark(next.x, next.y) != kMarkLine) continue;
    (count == 0 ? first : second) = d;
    ++count;
  }
  return count == 2 && second == first + 1;
}

// Every path from hex to goal through friendly land that never moves away
// from the goal nor doubles back beside the hex it came from, at most
// maxLength hexes after the ones already in path, depth first by direction;
// visit gets each whole path. path is the walk so far and is left as found.
template <typename Visit>
void WalkLinePaths(const cMap& map, const cCountry& country, sPoint hex, sPoint goal, std::vector<sPoint>& path,
                   int maxLength, const Visit& visit) {
  if (static_cast<int>(path.size()) >= maxLength && hex != goal) return;
  path.push_back(hex);
  if (hex == goal) {
    visit(path);
    path.pop_back();
    return;
  }
  const int toGoal = HexDistance(hex.x, hex.y, goal.x, goal.y);
  for (int d = 0; d < kDirectionCount; ++d) {
    const sPoint next = map.GetNeighbourPoint(hex.x, hex.y, d);
    if (!map.IsInside(next.x, next.y) || !map.GetHex(next.x, next.y)->IsFriendlyTo(country)) continue;
    if (HexDistance(next.x, next.y, goal.x, goal.y) > toGoal) continue;
    // No step doubles back beside the hex the path came from.
    if (path.size() >= 2) {
      const sPoint before = path[path.size() - 2];
      if (HexDistance(next.x, next.y, before.x, before.y) < 2) continue;
    }
    WalkLinePaths(map, country, next, goal, path, maxLength, visit);
  }
  path.pop_back();
}

void MarkLine(cMap& map, const std::list<sPoint>& line) {
  for (const sPoint& hex : line) map.SetFrontNodeMark(hex.x, hex.y, kMarkLine);
}

bool Before(sPoint a, sPoint b) { return a.y != b.y ? a.y < b.y : a.x < b.x; }

// hexes must be sorted by Before.
bool Contains(const std::vector<sPoint>& hexes, sPoint hex) {
  return std::binary_search(hexes.begin(), hexes.end(), hex, Before);
}

}  // namespace

void CleanLineOfDefence(cMap& map, std::list<sPoint>& line) {
  MarkLine(map, line);
  // Spurs are judged on the marks of the whole line, then removed at once.
  std::vector<sPoint> spurs;
  for (const sPoint& hex : line) {
    if (IsSpur(map, hex)) spurs.push_back(hex);
  }
  std::sort(spurs.begin(), spurs.end(), Before);
  line.remove_if([&spurs](const sPoint& hex) { return Contains(spurs, hex); });
  std::size_t size = 0;
  do {
    size = line.size();
    std::vector<sPoint> corners;
    for (const sPoint& hex : line) {
      if (IsCorner(map, hex)) corners.push_back(hex);
    }
    std::sort(corners.begin(), corners.end(), Before);
    line.remove_if([&corners](const sPoint& hex) { return Contains(corners, hex); });
    map.ClearFrontNodeMarks();
    MarkLine(map, line);
  } while (line.size() < size);
}

void cCountryAI::PlanLineOfDefence() {
  AiPhaseScope scope("PlanLineOfDefence");
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  cMap& map = *game->map;
  const int width = map.GetWidth();

  // Every hex refers to the front-line node made for it, by index.
  std::vector<std::int32_t> grid(static_cast<std::size_t>(width) * map.GetHeight(), -1);
  std::vector<sLineNode> frontLine;
  map.ClearFrontNodeMarks();
  const std::vector<sPoint> lattice = RunMapOperation([&map] { return map.SetFrontNodeDistance(kLatticeStep); });
  for (const sPoint& node : lattice) map.SetFrontNodeMark(node.x, node.y, kMarkLatticeNode);

  const cWorldTopography& topography = game->playerControl.worldTopography;
  for (const sPoint& node : lattice) {
    const int controller = map.GetHex(node.x, node.y)->controller;
    if (!map.GetHex(node.x, node.y)->IsControlledByFriend(country->id)) continue;
    for (int d = 0; d < kDirectionCount; ++d) {
      const sPoint next = map.GetFrontNodeNeighbour(node.x, node.y, d);
      if (!map.IsInside(next.x, next.y) || map.GetFrontNodeMark(next.x, next.y) == 0) continue;
      if (!AtWar(map.GetHex(next.x, next.y)->controller, controller)) continue;
      if (!topography.AreHexesInSameTopographyGroup(node.x, node.y, next.x, next.y)) continue;
      std::int32_t& cell = grid[static_cast<std::size_t>(node.y) * width + node.x];
      if (map.GetFrontNodeMark(node.x, node.y) != kMarkFrontLineNode) {
        map.SetFrontNodeMark(node.x, node.y, kMarkFrontLineNode);
        cell = static_cast<std::int32_t>(frontLine.size());
        frontLine.push_back({node.x, node.y, {}});
      }
      if (cell >= 0) frontLine[static_cast<std::size_t>(cell)].enemyDirections[static_cast<std::size_t>(d)] = 1;
    }
  }

  lineOfDefence.clear();
  for (const sLineNode& from : frontLine) {
    for (int d = 0; d < 3; ++d) {
      const sPoint next = map.GetFrontNodeNeighbour(from.x, from.y, d);
      if (!map.IsInside(next.x, next.y) || map.GetFrontNodeMark(next.x, next.y) != kMarkFrontLineNode) continue;
      const std::int32_t cell = grid[static_cast<std::size_t>(next.y) * width + next.x];
      if (cell < 0) {
        // Cannot happen while the grid is filled with the marks; the segment is left out.
        LogLine(u"Error! Sanity check failed");
        continue;
      }
      const sLineNode& to = frontLine[static_cast<std::size_t>(cell)];
      std::array<std::uint8_t, 6> flags{};
      for (std::size_t i = 0; i < flags.size(); ++i) {
        flags[i] = from.enemyDirections[i] || to.enemyDirections[i] ? 1 : 0;
      }
      for (const sPoint& hex : FindBestLineBetween({from.x, from.y}, next, flags)) lineOfDefence.push_back(hex);
    }
  }
  CleanLineOfDefence(map, lineOfDefence);
}

std::vector<sPoint> cCountryAI::FindBestLineBetween(sPoint a, sPoint b, const std::array<std::uint8_t, 6>& flags) const {
  cGame* game = gGame;
  if (!game || !game->map || !country) return {};
  const int maxLength = 2 * HexDistance(a.x, a.y, b.x, b.y) - 2;
  // Each path is scored as it is found, the first of the best kept: the
  // paths multiply with the distance, and keeping them all cost more than
  // the search.
  std::vector<sPoint> best;
  bool found = false;
  int bestScore = std::numeric_limits<int>::min();
  std::vector<sPoint> path;
  WalkLinePaths(*game->map, *country, a, b, path, maxLength, [&](const std::vector<sPoint>& line) {
    const int score = ScoreLinePath(line, maxLength, flags);
    if (score > bestScore) {
      bestScore = score;
      best = line;
      found = true;
    }
  });
  return found ? best : std::vector<sPoint>{};
}

void cCountryAI::EnumerateLinePaths(sPoint hex, sPoint goal, const std::vector<sPoint>& path,
                                    std::vector<std::vector<sPoint>>& paths, int maxLength) const {
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  std::vector<sPoint> walked = path;
  WalkLinePaths(*game->map, *country, hex, goal, walked, maxLength,
                [&paths](const std::vector<sPoint>& line) { paths.push_back(line); });
}

int cCountryAI::ScoreLinePath(const std::vector<sPoint>& path, int maxLength,
                              const std::array<std::uint8_t, 6>& flags) const {
  const int n = static_cast<int>(path.size());
  int score = (maxLength - n - 1) * 10;
  cGame* game = gGame;
  if (!game || !game->map || !country) return score;
  const cMap& map = *game->map;
  for (const sPoint& place : path) {
    const sHex& hex = *map.GetHex(place.x, place.y);
    if (hex.terrain >= 2 && hex.terrain <= 6) score += 4;
    for (int i = 0; i < kDirectionCount; ++i) {
      if (flags[static_cast<std::size_t>(i)] && hex.HasRiver(i)) score += 6;
    }
    if (hex.city && hex.IsControlledByFriend(country->id)) score += 15;
  }
  return score;
}

sPoint cCountryAI::NearestLineHexInReach(const cJednostkaLadowa& unit, sPoint target) const {
  sPoint best{-1, -1};
  cGame* game = gGame;
  if (!game || !game->map) return best;
  const cMap& map = *game->map;
  int nearest = 0;
  for (const sMoveRangeCell& cell : unit.moveRange) {
    if (!map.IsInside(cell.x, cell.y) || map.GetHex(cell.x, cell.y)->unit) continue;
    if (map.GetFrontNodeMark(cell.x, cell.y) != kMarkLine) continue;
    const int distance = HexDistance(cell.x, cell.y, target.x, target.y);
    if (best.x == -1 || distance < nearest) {
      best = {cell.x, cell.y};
      nearest = distance;
    }
  }
  return best;
}

sPoint cCountryAI::NearestFreeLineHex(sPoint target) const {
  sPoint best{-1, -1};
  cGame* game = gGame;
  if (!game || !game->map) return best;
  const cMap& map = *game->map;
  int nearest = 0;
  for (const sPoint& hex : lineOfDefence) {
    if (!map.IsInside(hex.x, hex.y) || map.GetHex(hex.x, hex.y)->unit) continue;
    const int distance = HexDistance(hex.x, hex.y, target.x, target.y);
    if (best.x == -1 || distance < nearest) {
      best = hex;
      nearest = distance;
    }
  }
  return best;
}

void cCountryAI::MoveUnitsToLineOfDefence() {
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  const cMap& map = *game->map;
  // A pass counts only moves that changed a unit's hex: a refused move would
  // otherwise repeat the passes for ever.
  bool moved = true;
  while (moved) {
    moved = false;
    for (cJednostkaLadowa* unit : ownLand) {
      if (unit->aiOrder != kAiOrderReinforce) continue;
      const sPoint target{unit->aiTargetX, unit->aiTargetY};
      if (unit->x == target.x && unit->y == target.y) continue;
      if (!map.IsInside(target.x, target.y) || !map.IsInside(unit->x, unit->y)) continue;
      if (map.GetHex(unit->x, unit->y)->fortLevel > country->aiSettings.FortLevelToHoldAtAllCost) continue;
      const sPoint start{unit->x, unit->y};
      unit->ComputeMoveRange(1);
      const sPoint reach = NearestLineHexInReach(*unit, target);
      if (reach.x != -1 &&
          HexDistance(reach.x, reach.y, target.x, target.y) < HexDistance(unit->x, unit->y, target.x, target.y)) {
        unit->ExecuteMoveOrder(reach.x, reach.y);
        if (unit->x != start.x || unit->y != start.y) moved = true;
        continue;
      }
      if (map.GetFrontNodeMark(unit->x, unit->y) != kMarkLine) {
        sPoint free = NearestFreeLineHex(target);
        if (free.x == -1) free = target;
        unit->ExecuteMoveOrder(free.x, free.y);
        if (unit->x != start.x || unit->y != start.y) moved = true;
      }
      unit->aiOrder = kAiOrderStay;
    }
  }
}

}  // namespace tr
