#include "scenario/unit_file_checks.h"

#include "scenario/scenario_constants_layout.h"
#include "scenario/table_reader.h"
#include "units/unit.h"

namespace tr {

std::int32_t CheckedLevel(std::int32_t level, std::u16string_view path, int line) {
  if (level >= 1 && level <= 5) return level;
  LogValueOutOfRange(u"Unit level", level, path, line);
  return 1;
}

std::int32_t CheckedSupply(std::int32_t supply, std::u16string_view path, int line) {
  if (supply >= 0 && supply < consts_layout::kSupplyLevels) return supply;
  LogValueOutOfRange(u"Unit supply", supply, path, line);
  return 0;
}

bool IsKnownTypeOf(int category, int type) { return CategoryOfType(type) == category; }

}  // namespace tr
