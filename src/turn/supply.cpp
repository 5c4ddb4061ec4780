// City groups by a breadth-first flood over controlled hexes, and each unit's
// nearest supply city by a first-in first-out label-correcting search.
#include "turn/supply.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <unordered_map>
#include <utility>

#include "foundation/console_log.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "world/city.h"
#include "world/gra.h"
#include "world/hex.h"
#include "world/hexes_beside.h"
#include "world/map.h"
#include "world/panstwo.h"

namespace tr {
namespace {

// The neighbour order of the groups and of the search, by the map's
// directions: N, S, NE, SE, SW, NW. Both depend on it, since it decides which
// of two equal cities wins.
constexpr int kSearchOrder[6] = {0, 3, 1, 2, 4, 5};

bool ControllerQualifies(const cGame& game, int controller, int alliance, int countryId) {
  if (controller == 0) return false;
  if (alliance == -1) return controller == countryId;
  if (controller < 1 || controller > game.CountryCount()) return false;
  return AllianceBase(game.countries[controller - 1]->alliance) == alliance;
}

bool OwnerQualifies(const cGame& game, int owner, int alliance, int countryId) {
  if (alliance == -1) return owner == countryId;
  if (owner < 1 || owner > game.CountryCount()) return false;
  return game.countries[owner - 1]->BelongsToAlliance(alliance);
}

// Marks of the nearest-city search.
constexpr std::uint8_t kReached = 1;
constexpr std::uint8_t kQueued = 2;

bool IsSupplyingCity(const cCity* city) { return city != nullptr && city->type != kCityResources; }

}  // namespace

int SupplyTerrainCost(const cGame& game, int terrain) {
  // Negative costs from data would let the search relabel forever.
  const int cost = (terrain >= 1 && terrain <= 7) ? game.constants.Int(16, terrain + 1) : game.constants.Int(17, 1);
  return std::max(cost, 0);
}

void ResetSupplyState(cGame& game) {
  const auto count = static_cast<std::size_t>(game.CountryCount());
  for (auto& city : game.cities) {
    city->supplyInfo.assign(count, 0);
    city->convoyInfo.assign(count, false);
  }
}

void cSupply::SizeGrids(const cGame& game, int alliance, int countryId) {
  for (int controller = 0; controller < 256; ++controller) {
    friendly_[controller] = ControllerQualifies(game, controller, alliance, countryId);
  }
  grid_ = cBorderedCells(game.map->GetWidth(), game.map->GetHeight());
  const std::size_t cells = grid_.Count();
  reached_.assign(cells, 0);
  cost_.assign(cells, 0);
  touched_.clear();
}

void cSupply::DetermineCityGroup(const cGame& game, int alliance, int countryId, SupplyCityGroups& out) {
  if (alliance != -1) {
    LogFormat(u"Wyznaczam grupe miast dla sojuszu = %i", alliance);
  } else {
    LogFormat(u"Wyznaczam grupe miast dla kraju = %i", countryId);
  }
  out.clear();
  SizeGrids(game, alliance, countryId);
  const cMap& map = *game.map;
  for (const auto& seed : game.cities) {
    if (seed->x < 0 || seed->y < 0 || seed->x >= grid_.Width() || seed->y >= grid_.Height()) continue;
    const sHex* seedHex = map.GetHex(seed->x, seed->y);
    if (!friendly_[seedHex->controller]) continue;
    if (seed->type == kCityResources || reached_[grid_.Cell(seed->x, seed->y)] != 0) continue;
    LogFormat(u"Znalazďż˝em sprzyjajďż˝ce miasto: %s, rozpoczynam tworzenie grupy.", seed->name);
    SupplyCityGroup group{seed.get()};
    reached_[grid_.Cell(seed->x, seed->y)] = 1;
    queue_.assign(1, grid_.Cell(seed->x, seed->y));
    for (std::size_t head = 0; head < queue_.size(); ++head) {
      const int cell = queue_[head];
      const sHexesBeside beside = HexesBeside(map, grid_.XOf(cell), grid_.YOf(cell));
      const int* offsets = grid_.NeighbourOffsets(cell);
      for (const int d : kSearchOrder) {
        const sHex* hex = beside.hex[d];
        if (!hex || !friendly_[hex->controller]) continue;
        const int next = cell + offsets[d];
        if (reached_[next] != 0) continue;
        reached_[next] = 1;
        queue_.push_back(next);
        if (IsSupplyingCity(hex->city)) group.push_back(hex->city);
      }
    }
    out.push_back(std::move(group));
  }
}

void cSupply::FindCostsToCities(int maximum) {
  toCity_.assign(stepCost_.size(), kNoEntry);
  // Least cost first; a cell's cost is what entering the cells after it
  // costs. Only the least costs are kept, so the order among equal costs
  // does not matter: a bucket per cost when the longest supply line is
  // short, a heap otherwise.
  const auto relax = [&](int cell, std::int64_t cost, auto&& add) {
    const std::int64_t through = cost + stepCost_[cell];
    if (through > maximum) return;
    const int* offsets = grid_.NeighbourOffsets(cell);
    for (const int d : kSearchOrder) {
      const int next = cell + offsets[d];
      // Only ground the side may enter lies on a way to a city.
      if (stepCost_[next] == kNoEntry || (toCity_[next] != kNoEntry && toCity_[next] <= through)) continue;
      toCity_[next] = static_cast<std::int32_t>(through);
      add(through, next);
    }
  };
  constexpr int kMostBuckets = 4096;
  if (maximum >= 0 && maximum < kMostBuckets) {
    if (costBuckets_.size() < static_cast<std::size_t>(maximum) + 1) costBuckets_.resize(static_cast<std::size_t>(maximum) + 1);
    for (int cell = 0; cell < static_cast<int>(stepCost_.size()); ++cell) {
      if (supplyCity_[cell] == nullptr || stepCost_[cell] == kNoEntry) continue;
      toCity_[cell] = 0;
      costBuckets_[0].push_back(cell);
    }
    const auto add = [&](std::int64_t cost, int cell) { costBuckets_[static_cast<std::size_t>(cost)].push_back(cell); };
    for (int cost = 0; cost <= maximum; ++cost) {
      std::vector<int>& bucket = costBuckets_[static_cast<std::size_t>(cost)];
      // A step of cost 0 adds to the bucket being read.
      for (std::size_t i = 0; i < bucket.size(); ++i) {
        const int cell = bucket[i];
        if (toCity_[cell] == cost) relax(cell, cost, add);  // else a cheaper way was found meanwhile
      }
      bucket.clear();
    }
    return;
  }
  using Entry = std::pair<std::int64_t, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
  for (int cell = 0; cell < static_cast<int>(stepCost_.size()); ++cell) {
    if (supplyCity_[cell] == nullptr || stepCost_[cell] == kNoEntry) continue;
    toCity_[cell] = 0;
    open.push({0, cell});
  }
  const auto add = [&](std::int64_t cost, int cell) { open.push({cost, cell}); };
  while (!open.empty()) {
    const auto [cost, cell] = open.top();
    open.pop();
    if (cost == toCity_[cell]) relax(cell, cost, add);  // else a cheaper way was found meanwhile
  }
}

bool cSupply::CityWithin(int x, int y, int maximum) const {
  const int start = grid_.Cell(x, y);
  const int* offsets = grid_.NeighbourOffsets(start);
  for (const int d : kSearchOrder) {
    const int cell = start + offsets[d];
    if (stepCost_[cell] == kNoEntry || toCity_[cell] == kNoEntry) continue;
    if (static_cast<std::int64_t>(stepCost_[cell]) + toCity_[cell] <= maximum) return true;
  }
  return false;
}

cSupply::sNearest cSupply::SearchFrom(const cGame& game, int x, int y) {
  const int maximum = game.constants.Int(48, 1);
  sNearest best{nullptr, maximum};
  if (x < 0 || y < 0 || x >= grid_.Width() || y >= grid_.Height()) return sNearest{nullptr, 0};
  if (const cCity* own = supplyCity_[grid_.Cell(x, y)]) return sNearest{own, 0};
  // No city within the longest supply line: the search would find none.
  if (!CityWithin(x, y, maximum)) return best;

  // The start is reached at cost 0, so no path leads back into it. A hex
  // waits in the queue at most once: a cheaper label found meanwhile is
  // simply read when its turn comes.
  //
  // The search ends once no waiting hex costs at most the best city's cost:
  // costs never fall along a path, so nothing after that could find a city
  // as cheap, and the winner is the one the whole search would give. cheap
  // counts the waiting hexes at or below that cost.
  queue_.clear();
  std::size_t head = 0;
  int cheap = 0;
  const int startCell = grid_.Cell(x, y);
  reached_[startCell] = kQueued;
  cost_[startCell] = 0;
  touched_.push_back(startCell);
  queue_.push_back(startCell);
  if (best.cost >= 0) ++cheap;
  while (head < queue_.size() && cheap > 0) {
    const int cellHere = queue_[head++];
    reached_[cellHere] = kReached;
    const int here = cost_[cellHere];
    if (here <= best.cost) --cheap;
    if (here > maximum) continue;
    const int* offsets = grid_.NeighbourOffsets(cellHere);
    for (const int d : kSearchOrder) {
      const int cell = cellHere + offsets[d];
      const int step = stepCost_[cell];
      if (step == kNoEntry) continue;
      const int cost = here + step;
      if (reached_[cell] != 0 && cost_[cell] <= cost) continue;
      if (reached_[cell] == 0) touched_.push_back(cell);
      if (reached_[cell] == kQueued) {
        if (cost_[cell] > best.cost && cost <= best.cost) ++cheap;
      } else {
        reached_[cell] = kQueued;
        queue_.push_back(cell);
        if (cost <= best.cost) ++cheap;
      }
      cost_[cell] = cost;
      if (supplyCity_[cell] != nullptr && cost <= best.cost) {
        const bool cheaper = cost < best.cost;
        best = sNearest{supplyCity_[cell], cost};
        if (cheaper) {
          cheap = 0;
          for (std::size_t i = head; i < queue_.size(); ++i) cheap += cost_[queue_[i]] <= best.cost;
        }
      }
    }
  }
  for (int cell : touched_) {
    reached_[cell] = 0;
    cost_[cell] = 0;
  }
  touched_.clear();
  return best;
}

void cSupply::FindNearestSupplyCity(const cGame& game, int alliance, int countryId, SupplyResults& out) {
  SizeGrids(game, alliance, countryId);
  terrainCost_.resize(256);
  for (int terrain = 0; terrain < 256; ++terrain) terrainCost_[terrain] = SupplyTerrainCost(game, terrain);
  // What the searches read of each hex, packed per cell: the many searches of
  // the pass then walk small arrays instead of the hexes themselves.
  const auto cells = reached_.size();
  stepCost_.assign(cells, kNoEntry);
  supplyCity_.assign(cells, nullptr);
  for (int y = 0; y < grid_.Height(); ++y) {
    for (int x = 0; x < grid_.Width(); ++x) {
      const sHex& hex = *game.map->GetHex(x, y);
      if (friendly_[hex.controller]) stepCost_[grid_.Cell(x, y)] = terrainCost_[hex.terrain];
      if (IsSupplyingCity(hex.city)) supplyCity_[grid_.Cell(x, y)] = hex.city;
    }
  }
  FindCostsToCities(game.constants.Int(48, 1));
  std::unordered_map<const cCity*, int> numbers;
  int number = 0;
  for (const auto& city : game.cities) numbers.emplace(city.get(), ++number);

  auto report = [&](const cUnit& unit, bool isAir) {
    const sNearest nearest = SearchFrom(game, unit.x, unit.y);
    int cityNumber = 0;
    if (nearest.city != nullptr) {
      cityNumber = numbers[nearest.city];
      LogFormat(u"Najbl. miastem dla tej jednostki jest %s, odlegďż˝oďż˝ďż˝ %i", nearest.city->name, nearest.cost);
    } else {
      LogLine(u"Jednostka nie ma poďż˝ďż˝czenia z ďż˝adnym wďż˝asnym/sojuszniczym miastem!");
    }
    out.push_back(sSupplyResult{unit.id, isAir, cityNumber, nearest.cost});
  };
  for (const auto& unit : game.landUnits) {
    if (!OwnerQualifies(game, unit->owner, alliance, countryId)) continue;
    LogFormat(u"Szukam najbl. miasta dla jedn. lďż˝d: %s", unit->name);
    report(*unit, false);
  }
  for (const auto& unit : game.airUnits) {
    if (!OwnerQualifies(game, unit->owner, alliance, countryId)) continue;
    LogFormat(u"Szukam najbl. miasta dla j. lot: %s", unit->name);
    report(*unit, true);
  }
}

}  // namespace tr
