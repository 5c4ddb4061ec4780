// Supply: the cities a side holds joined into groups over the ground it
// controls, each unit's cheapest city, the supply levels that follow, and
// what artificial harbours and ships add near the coast.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <vector>

#include "world/bordered_cells.h"

namespace tr {

class cCity;
class cCountry;
class cGame;

// A group of cities joined over controlled ground; rebuilt at every
// computation, so the pointers are only good until the next one.
using SupplyCityGroup = std::list<cCity*>;
using SupplyCityGroups = std::list<SupplyCityGroup>;

// One unit's nearest city. Numbers rather than pointers, so a result left
// over from an earlier impulse never points at a unit or city that is gone.
struct sSupplyResult {
  std::int32_t unitId = 0;
  bool isAir = false;
  std::int32_t cityNumber = 0;  // position in the game's city list + 1; 0 none
  std::int32_t cost = 0;
};
using SupplyResults = std::list<sSupplyResult>;

class cSupply {
 public:
  // The whole computation of the end of impulse: city groups of the three
  // alliances, their units' nearest cities, then every country's city levels,
  // convoys and unit supply, the neutrals last.
  void ComputeSupply(cGame& game);
  // City levels, convoys and unit supply of one country, from the groups and
  // results of its side already found.
  void ComputeCountrySupply(cGame& game, int countryId);

  // Alliance 1, 2, 3 (codes 4, 5, 6 count as their alliance) or -1 for
  // country mode, where only hexes the country controls count.
  void DetermineCityGroup(const cGame& game, int alliance, int countryId, SupplyCityGroups& out);
  void FindNearestSupplyCity(const cGame& game, int alliance, int countryId, SupplyResults& out);

  SupplyCityGroups alliesGroups, axisGroups, cominternGroups, neutralGroups;
  SupplyResults alliesResults, axisResults, cominternResults, neutralResults;

 private:
  struct sNearest {
    const cCity* city = nullptr;
    int cost = 0;
  };
  // The search of one unit from its hex over the grids SizeGrids marked for
  // the side; leaves them clear again.
  sNearest SearchFrom(const cGame& game, int x, int y);
  // Sizes the grids to the map and marks which controllers count for the side.
  void SizeGrids(const cGame& game, int alliance, int countryId);
  cBorderedCells grid_;  // the cells of every grid below
  std::vector<std::uint8_t> reached_;  // apart from the costs, so cost 0 ground is entered once
  std::vector<std::int32_t> cost_;
  std::vector<int> touched_;  // cells to clear after one unit's search
  std::vector<int> queue_;    // the search's first-in first-out queue, kept between units
  std::vector<int> terrainCost_;  // per terrain code, read once per search pass
  // Per cell for the nearest-city searches of one pass: the cost of entering
  // (kNoEntry where the side's controllers do not count) and the supplying city.
  static constexpr std::int32_t kNoEntry = -1;
  std::vector<std::int32_t> stepCost_;  // kNoEntry on the border too
  std::vector<const cCity*> supplyCity_;
  // Per cell for the same pass: the least cost on from it to a supplying city
  // (0 on an enterable one), kNoEntry beyond the longest supply line. Found
  // once from the cities back, it spares the far units a search that could
  // only come back empty.
  void FindCostsToCities(int maximum);
  bool CityWithin(int x, int y, int maximum) const;
  std::vector<std::int32_t> toCity_;
  std::vector<std::vector<int>> costBuckets_;  // FindCostsToCities' cells by cost, kept empty between passes
  std::array<bool, 256> friendly_{};  // per controller number: its hexes count for the side
};

// Every city gets one supply-information value (0) and one clear
// convoy-information flag per country.
void ResetSupplyState(cGame& game);

// The supply cost of entering a hex of the terrain (consts lines 16 and 17).
int SupplyTerrainCost(const cGame& game, int terrain);

// Artificial harbours supply friendly units within their reach over friendly
// land; ships in the sea zones of nearby coast supply land units short of it.
// Both run right after ComputeSupply.
void DrawSupplyFromMulberries(cGame& game);
void DrawSupplyFromShips(cGame& game);

// The supply step of the end of impulse: the computation, then harbours and
// ships, under the game lock.
void RunSupplyStep(cGame& game);

// Convoys of one country run between its city levels and its units' draw,
// with the groups and results of its side. Tests that watch that moment
// install a step of their own; an empty step runs the country's convoys.
using ConvoyExecutionStep = std::function<void(cGame&, int countryId, SupplyCityGroups&, SupplyResults&)>;
void SetConvoyExecutionStep(ConvoyExecutionStep step);

// Milliseconds for the timing lines; tests install a fixed clock, an empty
// function restores the steady clock.
using SupplyClock = std::function<std::int64_t()>;
void SetSupplyClock(SupplyClock clock);

}  // namespace tr
