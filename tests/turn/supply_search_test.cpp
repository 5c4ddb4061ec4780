// The nearest-city search stops early and keeps its queue between units; it
// must still pick the very city, at the very cost, that the plain search over
// every hex within the supply maximum picks, ties included: when two cities
// cost the same, the last one the search labels wins.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "turn/supply.h"
#include "turn/supply_fixture.h"
#include "world/gra.h"
#include "world/hex.h"
#include "world/map.h"

namespace tr::test {
namespace {

struct sPlainResult {
  const cCity* city = nullptr;
  int cost = 0;
};

// The whole first-in first-out search, with no early stop, fresh marks per
// unit, and the same neighbour order.
sPlainResult PlainSearch(const cGame& game, const std::vector<bool>& friendly, int x, int y) {
  static constexpr int kEven[6][2] = {{0, -1}, {0, 1}, {1, 0}, {1, 1}, {-1, 1}, {-1, 0}};
  static constexpr int kOdd[6][2] = {{0, -1}, {0, 1}, {1, -1}, {1, 0}, {-1, 0}, {-1, -1}};
  const cMap& map = *game.map;
  const int width = map.GetWidth();
  const int height = map.GetHeight();
  const int maximum = game.constants.Int(48, 1);
  const auto supplying = [](const cCity* city) { return city != nullptr && city->type != kCityResources; };
  sPlainResult best{nullptr, maximum};
  if (x < 0 || y < 0 || x >= width || y >= height) return {nullptr, 0};
  if (supplying(map.GetHex(x, y)->city)) return {map.GetHex(x, y)->city, 0};
  std::vector<int> reached(static_cast<std::size_t>(width * height), 0);  // 1 reached, 2 queued
  std::vector<int> cost(static_cast<std::size_t>(width * height), 0);
  reached[y * width + x] = 2;
  std::deque<std::pair<int, int>> queue{{x, y}};
  while (!queue.empty()) {
    const auto [hx, hy] = queue.front();
    queue.pop_front();
    reached[hy * width + hx] = 1;
    const int here = cost[hy * width + hx];
    if (here > maximum) continue;
    const auto& steps = hx % 2 == 0 ? kEven : kOdd;
    for (const auto& step : steps) {
      const int nx = hx + step[0];
      const int ny = hy + step[1];
      if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
      const sHex* hex = map.GetHex(nx, ny);
      if (!friendly[hex->controller]) continue;
      const int cell = ny * width + nx;
      const int next = here + SupplyTerrainCost(game, hex->terrain);
      if (reached[cell] != 0 && cost[cell] <= next) continue;
      cost[cell] = next;
      if (reached[cell] != 2) {
        reached[cell] = 2;
        queue.emplace_back(nx, ny);
      }
      if (supplying(hex->city) && next <= best.cost) best = {hex->city, next};
    }
  }
  return best;
}

// A map of the supply world refilled at random: controllers of both sides and
// nobody, terrains of cost 0, 1 and 2 (so that equal costs abound), cities of
// every kind, and units of the allies and of the axis.
class RandomSupplyMap : public SupplyWorld {
 public:
  explicit RandomSupplyMap(std::uint32_t seed) : random_(seed) {
    for (int terrain = 1; terrain <= 7; ++terrain) SetConstant(game(), 16, terrain + 1, terrain % 3);
    SetConstant(game(), 17, 1, 1);
  }

  void Refill() {
    game().cities.clear();
    game().landUnits.clear();
    SetConstant(game(), 48, 1, Pick(-1, 12));
    const int width = game().map->GetWidth();
    const int height = game().map->GetHeight();
    const int nobodyChance = Pick(0, 30);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        sHex& h = hex(x, y);
        h.city = nullptr;
        h.unit = nullptr;
        h.terrain = static_cast<std::uint8_t>(Pick(0, 8));
        h.controller = static_cast<std::uint8_t>(Pick(0, 99) < nobodyChance ? 0 : Pick(1, 5));
      }
    }
    const int cities = Pick(0, 14);
    for (int i = 0; i < cities; ++i) {
      const int x = Pick(0, width - 1);
      const int y = Pick(0, height - 1);
      if (hex(x, y).city != nullptr) continue;
      AddCity(x, y, Pick(0, 4) == 0 ? kCityResources : kCityNormal);
    }
    const int units = Pick(1, 12);
    for (int i = 0; i < units; ++i) AddLandUnit(i + 1, Pick(1, 5), Pick(0, width - 1), Pick(0, height - 1));
  }

  // Which controllers count: the alliance's countries, or only the country.
  std::vector<bool> Friendly(int alliance, int countryId) {
    std::vector<bool> friendly(256, false);
    for (int controller = 1; controller <= game().CountryCount(); ++controller) {
      friendly[controller] = alliance == -1
                                 ? controller == countryId
                                 : AllianceBase(game().countries[controller - 1]->alliance) == alliance;
    }
    return friendly;
  }

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

 private:
  std::mt19937 random_;
};

TEST(SupplySearch, PicksTheSameCitiesAsThePlainSearchOnRandomMaps) {
  constexpr int kMaps = 1200;
  RandomSupplyMap world(19390901);
  int searched = 0;
  int found = 0;
  for (int map = 0; map < kMaps; ++map) {
    world.Refill();
    cGame& game = world.game();
    const bool countryMode = world.Pick(0, 3) == 0;
    const int alliance = countryMode ? -1 : (world.Pick(0, 1) == 0 ? kAllies : kAxis);
    const int countryId = countryMode ? world.Pick(1, 5) : -1;
    const std::vector<bool> friendly = world.Friendly(alliance, countryId);
    std::map<int, std::pair<int, int>> where;
    for (const auto& unit : game.landUnits) where[unit->id] = {unit->x, unit->y};

    SupplyResults results;
    game.supply.FindNearestSupplyCity(game, alliance, countryId, results);
    for (const sSupplyResult& result : results) {
      const auto [x, y] = where.at(result.unitId);
      const sPlainResult plain = PlainSearch(game, friendly, x, y);
      const int plainNumber = plain.city == nullptr ? 0 : world.CityNumber(plain.city);
      ASSERT_EQ(result.cityNumber, plainNumber) << "map " << map << ", unit " << result.unitId;
      ASSERT_EQ(result.cost, plain.cost) << "map " << map << ", unit " << result.unitId;
      ++searched;
      found += plainNumber != 0;
    }
  }
  // The maps must exercise both outcomes, not only units cut off.
  EXPECT_GT(found, searched / 4);
  EXPECT_LT(found, searched);
}

}  // namespace
}  // namespace tr::test
