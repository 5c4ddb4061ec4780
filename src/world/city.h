// A city, port or resource site on one hex. The game keeps its cities in a
// list in city-file order and each city's hex points back to it. Who controls
// a city is not stored here: it is the controller of its hex.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tr {

class cUnit;
struct sCombatResult;
struct sHex;

enum eCityType : std::int32_t {
  kCitySupply = 0,
  kCityNormal = 1,
  kCitySupplyPort = 2,
  kCityPort = 3,
  kCityResources = 4,
};

class cCity {
 public:
  cCity() = default;
  // A copy starts with empty supply info, convoy info and hop counts, as every
  // city made from a file row does; those are filled by their own passes.
  cCity(const cCity& other)
      : x(other.x), y(other.y), name(other.name), type(other.type), victoryPoints(other.victoryPoints),
        productionPoints(other.productionPoints), supply(other.supply), bombedPP(other.bombedPP),
        diagramNode(other.diagramNode), visited(other.visited) {}
  cCity& operator=(const cCity&) = delete;

  // Raids on the city (city_air.cpp): a strategic bomber's or carrier's
  // strike on the city of hex, and a nuclear strike. Both lower its
  // production and write their account into the result.
  void StrategicBombardment(sCombatResult& result, cUnit& attacker, sHex& hex);
  void NuclearStrike(sCombatResult& result);

  std::int32_t x = 0;
  std::int32_t y = 0;
  std::u16string name;  // at most 99 units
  std::int32_t type = kCityNormal;
  std::int32_t victoryPoints = 0;
  float productionPoints = 0.0f;
  std::int32_t supply = 0;
  std::vector<std::int32_t> supplyInfo;  // one element per country, kept by the supply rules
  std::vector<bool> convoyInfo;          // one element per country, kept by the convoy rules
  std::int32_t bombedPP = 0;             // production lost to strategic bombardment so far
  std::int32_t diagramNode = -1;         // none for resource sites
  std::vector<std::int32_t> hopCounts;   // per cities-diagram node; -1 unreachable
  std::uint8_t visited = 0;              // mark of the walks over the cities diagram
  // Working fields of the computer opponent, set again in every computer turn.
  std::uint8_t attackAllowed = 1;
  std::int32_t frontState = 3;  // the state of the front that lists the city; 3 none
  float assignedStrength = 0.0f;
};

}  // namespace tr
