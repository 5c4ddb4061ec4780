#include "world/country_ai_settings.h"

namespace tr {

std::int32_t sCountryAiSettings::GetSeaZoneToPatrolValue(int seaZone) const {
  for (const sSeaZoneToPatrol& entry : SeaZonesToPatrol) {
    if (entry.seaZone == seaZone) return entry.value;
  }
  return 0;
}

}  // namespace tr
