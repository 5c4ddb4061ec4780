#include "units/replacement_price.h"

#include "scenario/scenario_constants.h"
#include "units/jednostka.h"

namespace tr {

float ReplacementPrice(const cJednostka& unit, const sScenarioConstants& k) {
  const bool land = unit.category == kCategoryLand;
  const float surcharge = static_cast<float>((unit.level - 1) * k.Int(land ? 82 : 83, 1)) / 100.0f;
  const float base = land ? unit.GetBaseValue() * k.Float(78, unit.type + 2) / 100.0f : k.Float(80, unit.type - 18);
  return base * (1.0f + surcharge);
}

}  // namespace tr
