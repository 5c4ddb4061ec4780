// What the computer opponent's fronts count: land strength, air units and
// air strength points, each for the own country, for own and allied units
// together ("ours") and for the countries at war with it. A cities-diagram
// node holds them for its city's area; a front sums them over its nodes.
#pragma once

#include <cstdint>

namespace tr {

struct sFrontStatistics {
  float landOurs = 0.0f;
  float landOwn = 0.0f;
  float landEnemy = 0.0f;
  std::int32_t airUnitsOurs = 0;
  std::int32_t airUnitsOwn = 0;
  std::int32_t airUnitsEnemy = 0;
  std::int32_t airStrengthOurs = 0;
  std::int32_t airStrengthOwn = 0;
  std::int32_t airStrengthEnemy = 0;

  sFrontStatistics& operator+=(const sFrontStatistics& other) {
    landOurs += other.landOurs;
    landOwn += other.landOwn;
    landEnemy += other.landEnemy;
    airUnitsOurs += other.airUnitsOurs;
    airUnitsOwn += other.airUnitsOwn;
    airUnitsEnemy += other.airUnitsEnemy;
    airStrengthOurs += other.airStrengthOurs;
    airStrengthOwn += other.airStrengthOwn;
    airStrengthEnemy += other.airStrengthEnemy;
    return *this;
  }
};

}  // namespace tr
