// Topography groups: sets of cities connected over land. Each country has its
// own groups (rebuilt by the supply computation, saved in "topography.csv"),
// and the world groups join cities over any land whoever holds it; neutral
// countries use those. Strategic movement lets a unit jump from the city that
// supplies it to another city of the same group.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

namespace tr {

class cCity;
class cJednostka;
class cMap;

struct sTopographyGroup {
  std::vector<cCity*> cities;  // in the order they were found; not owned
};

using cTopography = std::vector<sTopographyGroup>;
using CityList = std::list<std::unique_ptr<cCity>>;

// The world groups and the nearest-city map, computed once after loading.
class cWorldTopography {
 public:
  // Groups every city but resource sites with the cities it reaches over land.
  void ComputeWorldTopography(const cMap& map, const CityList& cities);
  // Gives each land hex the city a breadth-first spread from all cities
  // reaches first; the first city in list order wins a tie.
  void BuildNearestCityMap(const cMap& map, const CityList& cities);

  // The nearest city of a hex; null for water, for land no spread reached
  // and for coordinates off the map.
  cCity* NearestCity(int x, int y) const;
  // Both hexes have a nearest city and the first world group that holds the
  // first one also holds the second.
  bool AreHexesInSameTopographyGroup(int x0, int y0, int x1, int y1) const;

  const cTopography& Groups() const { return groups_; }

 private:
  class cLandCells;  // topography.cpp

  int Cell(int x, int y) const { return y * width_ + x; }
  // Grows a group breadth-first over land from the seed city's hex.
  void FloodFillCityGroup(const cMap& map, const cLandCells& land, const cCity& seed, sTopographyGroup& group);

  cTopography groups_;
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> visited_;  // by land cell, only during the computation
  // The nearest city of every hex by city number (list position + 1), 0 none.
  std::vector<std::int32_t> nearestCity_;
  std::vector<cCity*> cityByNumber_;  // index = city number - 1
};

class cStrategicMovement {
 public:
  // One empty topography per country.
  void Init(int countryCount);
  // Stores a copy as the country's topography and logs it.
  void SetCountryTopography(int countryId, const cTopography& topography);
  // Null for a country number outside the table.
  cTopography* GetCountryTopography(int countryId);
  const cTopography* GetCountryTopography(int countryId) const;
  int CountryCount() const { return static_cast<int>(topographies_.size()); }

  // The world groups that neutral countries move by; not owned.
  void SetWorldTopography(const cWorldTopography* world) { world_ = world; }

  // Strategic movement of a unit (strategic_movement.cpp).
  bool CanMoveStrategically(const cJednostka& unit, const cCity& target) const;
  void MarkStrategicMoveTargets(const cJednostka& unit) const;

  // The first group of the country that holds city b also holds city a.
  bool AreInSameGroup(int countryId, const cCity* a, const cCity* b) const;

 private:
  std::vector<cTopography> topographies_;  // index = country number - 1
  const cWorldTopography* world_ = nullptr;
};

// The working grid of the supply computation: one 32-bit cell per hex.
class cTopographyGrid {
 public:
  // Sizes the grid to the map, every cell 0.
  void Allocate(const cMap& map);

  std::vector<std::int32_t> cells;
  int width = 0;
  int height = 0;
};

}  // namespace tr
