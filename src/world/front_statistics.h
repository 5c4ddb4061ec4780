// What the computer opponent's fronts count: land strength, air units and
// air strength points, each for the own country, for own and allied units
// together ("ours") and for the countries at war with it. A cities-diagram
// node holds them for its city's area; a front sums them over its nodes.
#pragma once

#include <algorithm>
#include <cstdint>

#include "world/value_limits.h"

namespace tr {

// The most a front's strength, count or advantage reaches: far beyond any
// front's, and low enough that the deployments' sums of them stay within a
// whole number. The fronts are held to it as they are counted and a save's
// as they are read, so a game's fronts come back from its save as they were.
inline constexpr std::int32_t kMaxFrontValue = kMaxPoints;

inline float HeldFrontValue(float value) { return std::clamp(value, 0.0f, static_cast<float>(kMaxFrontValue)); }
inline std::int32_t HeldFrontValue(std::int32_t value) { return std::clamp(value, 0, kMaxFrontValue); }

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

  // Each value held (HeldFrontValue).
  void Hold() {
    for (float* value : {&landOurs, &landOwn, &landEnemy}) *value = HeldFrontValue(*value);
    for (std::int32_t* value :
         {&airUnitsOurs, &airUnitsOwn, &airUnitsEnemy, &airStrengthOurs, &airStrengthOwn, &airStrengthEnemy}) {
      *value = HeldFrontValue(*value);
    }
  }

  // Adds held values and holds the sums, which therefore never overflow.
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
    Hold();
    return *this;
  }
};

}  // namespace tr
