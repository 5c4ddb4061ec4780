// What artificial harbours and ships add to the supply the cities gave: a
// harbour spreads over friendly land around it, ships reach land units over
// the friendly coast within their radius.
#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "turn/supply.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/hex.h"
#include "world/hex_distance.h"
#include "world/map.h"
#include "world/panstwo.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "supply";
constexpr int kDirections = 6;

bool IsFriendOf(const cGame& game, int owner, int countryId) {
  if (owner == countryId) return true;
  const cCountry* country = game.GetCountry(owner);
  return country != nullptr && countryId >= 1 && country->IsAlly(countryId);
}

// Visited marks over the map, cleared by forgetting only the cells set.
class cHexMarks {
 public:
  explicit cHexMarks(const cMap& map)
      : width_(map.GetWidth()), marks_(static_cast<std::size_t>(map.GetWidth()) * map.GetHeight(), 0) {}
  // True when the hex was not marked before.
  bool Mark(int x, int y) {
    const int cell = y * width_ + x;
    if (marks_[cell] != 0) return false;
    marks_[cell] = 1;
    set_.push_back(cell);
    return true;
  }
  void Clear() {
    for (int cell : set_) marks_[cell] = 0;
    set_.clear();
  }

 private:
  int width_;
  std::vector<std::uint8_t> marks_;
  std::vector<int> set_;
};

// The spread of one harbour. Every hex is entered once and what a unit gets
// depends only on its distance to the harbour, so an explicit stack serves as
// well as recursion and a large supply constant cannot exhaust the call stack.
void SpreadFromMulberry(cGame& game, const cMulberry& mulberry, float reach, cHexMarks& visited) {
  cMap& map = *game.map;
  std::vector<std::pair<int, int>> pending{{mulberry.x, mulberry.y}};
  visited.Mark(mulberry.x, mulberry.y);
  while (!pending.empty()) {
    const auto [x, y] = pending.back();
    pending.pop_back();
    const int distance = HexDistance(x, y, mulberry.x, mulberry.y);
    if (!(static_cast<float>(distance) < reach)) continue;
    sHex& hex = *map.GetHex(x, y);
    // Air units based near the harbour draw on it too; only land units count
    // turns without supply.
    auto* unit = dynamic_cast<cJednostka*>(hex.unit);
    if (unit != nullptr && IsFriendOf(game, unit->owner, mulberry.owner)) {
      if (unit->category == kCategoryLand) unit->turnsWithoutSupply = 0;
      const int supply = static_cast<int>(reach - static_cast<float>(distance));
      if (unit->supply < supply) unit->SetSupply(supply);
    }
    for (int d = 0; d < kDirections; ++d) {
      if (!map.HasNeighbour(x, y, d)) continue;
      int nx = x;
      int ny = y;
      map.GetNeighbourCoords(x, y, d, nx, ny);
      if (!map.IsInside(nx, ny)) continue;
      const sHex& next = *map.GetHex(nx, ny);
      if (!next.IsLand() || !next.IsControlledByFriend(mulberry.owner)) continue;
      if (visited.Mark(nx, ny)) pending.emplace_back(nx, ny);
    }
  }
  visited.Clear();
}

// The ships of every sea node, in naval-unit list order.
using ShipsByNode = std::unordered_map<int, std::vector<const cJednostkaMorska*>>;

ShipsByNode CollectShipsByNode(const cGame& game) {
  ShipsByNode ships;
  for (const auto& ship : game.navalUnits) {
    if (ship->fleet != nullptr) ships[ship->fleet->seaNodeId].push_back(ship.get());
  }
  return ships;
}

// The nearest coastal hex of each sea zone the unit reaches over friendly
// ground within the radius; the first found wins among equally near ones.
std::vector<std::pair<int, int>> ChooseCoastalHexes(const cGame& game, const cJednostka& unit, int radius,
                                                   cHexMarks& visited) {
  const cMap& map = *game.map;
  std::vector<std::pair<int, int>> chosen;  // one per zone
  std::vector<int> zones;
  std::vector<std::pair<int, int>> queue{{unit.x, unit.y}};
  visited.Mark(unit.x, unit.y);
  for (std::size_t next = 0; next < queue.size(); ++next) {
    const auto [x, y] = queue[next];
    const sHex& hex = *map.GetHex(x, y);
    if (hex.IsCoastalLand()) {
      const int distance = HexDistance(unit.x, unit.y, x, y);
      const auto zone = std::find(zones.begin(), zones.end(), hex.seaZone);
      if (zone == zones.end()) {
        zones.push_back(hex.seaZone);
        chosen.emplace_back(x, y);
      } else {
        auto& current = chosen[static_cast<std::size_t>(zone - zones.begin())];
        if (distance < HexDistance(unit.x, unit.y, current.first, current.second)) current = {x, y};
      }
    }
    for (int d = 0; d < kDirections; ++d) {
      if (!map.HasNeighbour(x, y, d)) continue;
      int nx = x;
      int ny = y;
      map.GetNeighbourCoords(x, y, d, nx, ny);
      if (!map.IsInside(nx, ny) || HexDistance(unit.x, unit.y, nx, ny) > radius) continue;
      if (!map.GetHex(nx, ny)->IsControlledByFriend(unit.owner)) continue;
      if (visited.Mark(nx, ny)) queue.emplace_back(nx, ny);
    }
  }
  visited.Clear();
  return chosen;
}

// Counts of coastal land over the map's rectangles, to tell at once that no
// coast lies within a unit's reach. A hex within n steps lies within n
// columns and n rows, so a rectangle with no coast in it proves the search
// would find nothing.
class cCoastCounts {
 public:
  explicit cCoastCounts(const cMap& map)
      : width_(map.GetWidth()),
        height_(map.GetHeight()),
        sums_(static_cast<std::size_t>(width_ + 1) * static_cast<std::size_t>(height_ + 1), 0) {
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        const int coastal = map.GetHex(x, y)->IsCoastalLand() ? 1 : 0;
        At(x + 1, y + 1) = coastal + At(x, y + 1) + At(x + 1, y) - At(x, y);
      }
    }
  }
  // True when some coastal land hex lies within reach columns and rows of the hex.
  bool AnyNear(int x, int y, int reach) const {
    reach = std::max(reach, 0);
    const int left = std::max(x - reach, 0);
    const int top = std::max(y - reach, 0);
    const int right = std::min(x + reach, width_ - 1) + 1;
    const int bottom = std::min(y + reach, height_ - 1) + 1;
    if (left >= right || top >= bottom) return false;
    return At(right, bottom) - At(left, bottom) - At(right, top) + At(left, top) > 0;
  }

 private:
  int& At(int column, int row) { return sums_[static_cast<std::size_t>(row) * (width_ + 1) + column]; }
  int At(int column, int row) const { return sums_[static_cast<std::size_t>(row) * (width_ + 1) + column]; }

  int width_;
  int height_;
  std::vector<int> sums_;
};

// The computer opponent may be given full ship supply wherever one of its
// ships stands off the coast.
bool TakesComputerShipSupply(const cGame& game, const cCountry& owner) {
  const bool computer = !owner.humanControlled || !owner.HasPbemPlayer() || !game.pbemGame;
  return computer && game.constants.Int(181, 1) != 0;
}

int ShipTypeSlot(int type) { return type - kAircraftCarrier + 1; }

}  // namespace

void DrawSupplyFromMulberries(cGame& game) {
  LogLine(u"Ciagne zaopatrzenie z mulberry...");
  if (!game.map) return;
  const float reach = game.constants.Float(135, 2);
  cHexMarks visited(*game.map);
  for (const auto& unit : game.landUnits) {
    if (unit->type != kMulberryType) continue;
    auto* mulberry = dynamic_cast<cMulberry*>(unit.get());
    // Without an owner, land nobody controls would pass for friendly ground.
    if (mulberry == nullptr || mulberry->owner < 1 || !game.map->IsInside(mulberry->x, mulberry->y)) continue;
    mulberry->turnsWithoutSupply = 0;
    SpreadFromMulberry(game, *mulberry, reach, visited);
  }
}

void DrawSupplyFromShips(cGame& game) {
  LogLine(u"Ciagne zaopatrzenie ze statkow");
  if (!game.map) return;
  const int maximum = game.constants.Int(168, 1);
  const int radius = game.constants.Int(169, 1);
  const ShipsByNode shipsByNode = CollectShipsByNode(game);
  cHexMarks visited(*game.map);
  const cCoastCounts coast(*game.map);
  for (const auto& unit : game.landUnits) {
    if (unit->supply >= maximum && unit->turnsWithoutSupply < 1) continue;
    const cCountry* owner = game.GetCountry(unit->owner);
    if (owner == nullptr || !game.map->IsInside(unit->x, unit->y)) continue;
    // No coast within reach: no ship gives anything, and the unit is left as it is.
    if (!coast.AnyNear(unit->x, unit->y, radius)) continue;
    const bool computerSupply = TakesComputerShipSupply(game, *owner);
    int best = 0;
    for (const auto& [x, y] : ChooseCoastalHexes(game, *unit, radius, visited)) {
      int value = 0;
      bool ownShip = false;
      const auto ships = shipsByNode.find(game.map->GetHex(x, y)->seaZone);
      if (ships != shipsByNode.end()) {
        for (const cJednostkaMorska* ship : ships->second) {
          if (ship->type < kAircraftCarrier || ship->type > kAmphibiousShip) continue;
          if (ship->owner == unit->owner) {
            value += game.constants.Int(170, ShipTypeSlot(ship->type));
            ownShip = true;
          } else if (const cCountry* enemy = game.GetCountry(ship->owner); enemy && enemy->IsAtWarWith(unit->owner)) {
            value -= game.constants.Int(171, ShipTypeSlot(ship->type));
          }
        }
      }
      if (computerSupply && ownShip) value = maximum;
      value = std::min(value, maximum) - HexDistance(unit->x, unit->y, x, y);
      best = std::max(best, value);
    }
    // Ships must give something: a unit short of supply that no ship reaches
    // keeps its count of turns without supply and what supply it has.
    if (best > 0 && (best > unit->supply || unit->turnsWithoutSupply >= 1)) {
      unit->turnsWithoutSupply = 0;
      unit->SetSupply(best);
    }
  }
}

void RunSupplyStep(cGame& game) {
  GameLockGuard lock(kThisFile, __LINE__);
  game.supply.ComputeSupply(game);
  DrawSupplyFromMulberries(game);
  DrawSupplyFromShips(game);
}

}  // namespace tr
