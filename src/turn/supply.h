// Supply: the cities a side holds joined into groups over the ground it
// controls, and for each unit the cheapest city it can draw from.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

namespace tr {

class cCity;
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
  // Alliance 1, 2, 3 (codes 4, 5, 6 count as their alliance) or -1 for
  // country mode, where only hexes the country controls count.
  void DetermineCityGroup(const cGame& game, int alliance, int countryId, SupplyCityGroups& out);
  void FindNearestSupplyCity(const cGame& game, int alliance, int countryId, SupplyResults& out);

  SupplyCityGroups alliesGroups, axisGroups, cominternGroups, neutralGroups;
  SupplyResults alliesResults, axisResults, cominternResults, neutralResults;

 private:
  struct sNearest {
    int cityNumber = 0;
    int cost = 0;
  };
  // The search of one unit from its hex; leaves the grids clear again.
  sNearest SearchFrom(const cGame& game, int alliance, int countryId, int x, int y);
  void SizeGrids(const cGame& game);
  int Cell(int x, int y) const { return y * width_ + x; }

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> reached_;  // apart from the costs, so cost 0 ground is entered once
  std::vector<std::int32_t> cost_;
  std::vector<int> touched_;  // cells to clear after one unit's search
};

// Every city gets one supply-information value (0) and one clear
// convoy-information flag per country.
void ResetSupplyState(cGame& game);

// The supply cost of entering a hex of the terrain (consts lines 16 and 17).
int SupplyTerrainCost(const cGame& game, int terrain);

}  // namespace tr
