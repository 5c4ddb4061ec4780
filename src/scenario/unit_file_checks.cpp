#include "scenario/unit_file_checks.h"

#include <algorithm>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "scenario/scenario_constants.h"
#include "scenario/scenario_constants_layout.h"
#include "scenario/table_reader.h"
#include "units/unit.h"
#include "world/value_limits.h"

namespace tr {

std::int32_t CheckedLevel(std::int32_t level, std::u16string_view path, int line) {
  if (level >= kMinUnitLevel && level <= kMaxUnitLevel) return level;
  LogValueOutOfRange(u"Unit level", level, path, line);
  return 1;
}

std::int32_t CheckedSupply(std::int32_t supply, std::u16string_view path, int line) {
  if (supply >= 0 && supply < consts_layout::kSupplyLevels) return supply;
  LogValueOutOfRange(u"Unit supply", supply, path, line);
  return 0;
}

std::int32_t MostLandActionPoints(const sScenarioConstants& constants) {
  constexpr int kDoctrineLevels = 6;
  std::int32_t most = 1;
  for (int doctrine = 0; doctrine < kDoctrineLevels; ++doctrine) {
    for (int type = 0; type < kLandTypeCount; ++type) most = std::max(most, constants.LandActionPoints(doctrine, type));
  }
  return most;
}

std::int32_t MostAirActionPoints(const sScenarioConstants& constants) {
  std::int32_t most = 1;
  for (int type = kFighter; type <= kStrategicBomber; ++type) most = std::max(most, constants.AirActionPoints(type));
  return most;
}

std::int32_t CheckedActionPoints(std::int32_t points, std::int32_t most, std::u16string_view what,
                                 std::u16string_view path, int line) {
  if (points < 0) {
    LogValueOutOfRange(what, points, path, line);
    return 0;
  }
  if (points <= most) return points;
  if (ReadingSavedTable(path)) {
    RefuseDamagedTable(path, line, Format(u"has %s %i, more than the scenario gives a unit (%i)", what, points, most));
  }
  LogAboutFile(path,
               u"WARNING: %s (%i) in %s at line %i (counting from 1) are more than the scenario gives a unit (%i); "
               u"held at %i",
               what, points, path, line, most, most);
  return most;
}

bool IsKnownTypeOf(int category, int type) { return CategoryOfType(type) == category; }

}  // namespace tr
