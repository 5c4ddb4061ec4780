// The world groups, the nearest-city map, the per-country topographies and
// the supply computation's grid.
#include "world/topography.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "foundation/console_log.h"
#include "world/bordered_cells.h"
#include "world/city.h"
#include "world/hex_geometry.h"
#include "world/map.h"

namespace tr {
namespace {

// The mis-encoded Polish letters the log has always carried.
#define TR_PL u"\u010f\u017c\u02dd"

bool Holds(const sTopographyGroup& group, const cCity* city) {
  return std::find(group.cities.begin(), group.cities.end(), city) != group.cities.end();
}

void LogGroupCities(const sTopographyGroup& group) {
  for (const cCity* city : group.cities) LogLine(city->name);
}

}  // namespace

// The map's land, a byte a hex, inside a border of water. The floods below
// test the six neighbours of every hex they reach: here each is one fixed
// step, and on the large maps these bytes fit the cache where the hexes do not.
class cWorldTopography::cLandCells : public cBorderedCells {
 public:
  explicit cLandCells(const cMap& map) : cBorderedCells(map.GetWidth(), map.GetHeight()), land_(Count(), 0) {
    const std::vector<sHex>& hexes = map.Hexes();
    for (int y = 0; y < Height(); ++y) {
      for (int x = 0; x < Width(); ++x) land_[Cell(x, y)] = hexes[static_cast<std::size_t>(y) * Width() + x].IsLand();
    }
  }
  bool Land(int cell) const { return land_[cell] != 0; }

 private:
  std::vector<std::uint8_t> land_;
};

void cWorldTopography::ComputeWorldTopography(const cMap& map, const CityList& cities) {
  width_ = map.GetWidth();
  height_ = map.GetHeight();
  groups_.clear();
  LogLine(u"Licz" TR_PL u" topografi" TR_PL u" dla Ca" TR_PL u"ego " TR_PL u"wiata!!");
  const cLandCells land(map);
  visited_.assign(land.Count(), 0);
  for (const auto& city : cities) {
    if (city->type == kCityResources || !map.IsInside(city->x, city->y)) continue;
    if (visited_[land.Cell(city->x, city->y)]) continue;
    LogFormat(u"Znalaz" TR_PL u"em sprzyjaj" TR_PL u"ce miasto: %s, rozpoczynam tworzenie grupy.", city->name);
    sTopographyGroup group;
    FloodFillCityGroup(map, land, *city, group);
    groups_.push_back(std::move(group));
    LogLine(u"W grupie s" TR_PL u" nast" TR_PL u"puj" TR_PL u"ce miasta:");
    LogGroupCities(groups_.back());
  }
  visited_.clear();
  visited_.shrink_to_fit();
}

void cWorldTopography::FloodFillCityGroup(const cMap& map, const cLandCells& land, const cCity& seed,
                                          sTopographyGroup& group) {
  if (!map.IsInside(seed.x, seed.y)) return;
  std::vector<int> queue{land.Cell(seed.x, seed.y)};
  visited_[queue.front()] = 1;
  group.cities.push_back(const_cast<cCity*>(&seed));
  for (std::size_t i = 0; i < queue.size(); ++i) {
    const int cell = queue[i];
    const int* offsets = land.NeighbourOffsets(cell);
    for (int d = 0; d < kDirectionCount; ++d) {
      const int next = cell + offsets[d];
      if (!land.Land(next) || visited_[next]) continue;
      visited_[next] = 1;
      queue.push_back(next);
      const sHex* n = map.GetHex(land.XOf(next), land.YOf(next));
      if (n->city && n->city->type < kCityResources) group.cities.push_back(n->city);
    }
  }
}

void cWorldTopography::BuildNearestCityMap(const cMap& map, const CityList& cities) {
  width_ = map.GetWidth();
  height_ = map.GetHeight();
  cityByNumber_.clear();
  // The spread runs on the land cells and is copied out to the hexes after.
  const cLandCells land(map);
  std::vector<std::int32_t> spread(land.Count(), 0);
  std::vector<int> queue;
  for (const auto& city : cities) {
    cityByNumber_.push_back(city.get());
    if (city->type == kCityResources || !map.IsInside(city->x, city->y)) continue;
    spread[land.Cell(city->x, city->y)] = static_cast<std::int32_t>(cityByNumber_.size());
    queue.push_back(land.Cell(city->x, city->y));
  }
  for (std::size_t i = 0; i < queue.size(); ++i) {
    const int cell = queue[i];
    const std::int32_t number = spread[cell];
    const int* offsets = land.NeighbourOffsets(cell);
    for (int d = 0; d < kDirectionCount; ++d) {
      const int next = cell + offsets[d];
      if (!land.Land(next) || spread[next] != 0) continue;
      spread[next] = number;
      queue.push_back(next);
    }
  }
  nearestCity_.assign(static_cast<std::size_t>(width_) * height_, 0);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) nearestCity_[Cell(x, y)] = spread[land.Cell(x, y)];
  }
}

cCity* cWorldTopography::NearestCity(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || nearestCity_.empty()) return nullptr;
  const std::int32_t number = nearestCity_[Cell(x, y)];
  return number > 0 && static_cast<std::size_t>(number) <= cityByNumber_.size() ? cityByNumber_[number - 1]
                                                                                 : nullptr;
}

bool cWorldTopography::AreHexesInSameTopographyGroup(int x0, int y0, int x1, int y1) const {
  const cCity* first = NearestCity(x0, y0);
  const cCity* second = NearestCity(x1, y1);
  if (!first || !second) return false;
  for (const sTopographyGroup& group : groups_) {
    if (Holds(group, first)) return Holds(group, second);
  }
  return false;
}

void cStrategicMovement::Init(int countryCount) {
  LogLine(u"Initializuje modu" TR_PL u" ruchu strategicznego");
  topographies_.assign(static_cast<std::size_t>(std::max(countryCount, 0)), cTopography{});
}

cTopography* cStrategicMovement::GetCountryTopography(int countryId) {
  if (countryId < 1 || countryId > CountryCount()) return nullptr;
  return &topographies_[static_cast<std::size_t>(countryId - 1)];
}

const cTopography* cStrategicMovement::GetCountryTopography(int countryId) const {
  return const_cast<cStrategicMovement*>(this)->GetCountryTopography(countryId);
}

void cStrategicMovement::SetCountryTopography(int countryId, const cTopography& topography) {
  cTopography* own = GetCountryTopography(countryId);
  if (!own) {
    LogFormat(u"ERROR: no topography for country id=%i (%i countries), ignored", countryId, CountryCount());
    return;
  }
  *own = topography;
  LogFormat(u"Wsadzone! Od teraz topografia kraju o id=%i ma %i element" TR_PL u"w", countryId,
            static_cast<int>(own->size()));
  LogFormat(u"!!! Ustawiam topografi" TR_PL u" kraju o id=%i", countryId);
  LogLine(u"Topografia ta wygl" TR_PL u"da tak:");
  for (const sTopographyGroup& group : *own) {
    LogLine(u"Nowa Grupa. Oto jej miasta:");
    LogGroupCities(group);
  }
}

bool cStrategicMovement::AreInSameGroup(int countryId, const cCity* a, const cCity* b) const {
  const cTopography* topography = GetCountryTopography(countryId);
  if (!topography) return false;
  for (const sTopographyGroup& group : *topography) {
    if (Holds(group, b)) return Holds(group, a);
  }
  return false;
}

void cTopographyGrid::Allocate(const cMap& map) {
  width = map.GetWidth();
  height = map.GetHeight();
  cells.assign(static_cast<std::size_t>(width) * height, 0);
}

#undef TR_PL

}  // namespace tr
