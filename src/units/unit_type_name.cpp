// The localised general name of a unit type code.
#include <string>

#include "foundation/format.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "scenario/scenario_info.h"
#include "units/unit.h"

namespace tr {
namespace {

const char16_t* SizedKey(int type) {
  switch (type) {
    case kInfantryDivision:
    case kInfantryCorps: return u"unit_subtype_infantry_size_%i";
    case kMechanizedDivision:
    case kMechanizedCorps: return u"unit_subtype_mechanized_size_%i";
    case kArmouredDivision:
    case kArmouredCorps: return u"unit_subtype_armoured_size_%i";
    case kAirborneDivision: return u"unit_subtype_airborne_size_%i";
    default: return nullptr;
  }
}

const char* PlainKey(int type) {
  switch (type) {
    case kFighter: return "unit_subtype_air_fighter";
    case kTacticalBomber: return "unit_subtype_tactical_bomber";
    case kStrategicBomber: return "unit_subtype_strategic_bomber";
    case kAircraftCarrier: return "unit_subtype_aircraft_carrier";
    case kBattleship: return "unit_subtype_battleship";
    case kCruiser: return "unit_subtype_cruiser";
    case kSubmarine: return "unit_subtype_submarine";
    case kCargoShip: return "unit_subtype_cargo";
    case kAmphibiousShip: return "unit_subtype_amphibious";
    default: return "unit_subtype_unknown";
  }
}

}  // namespace

std::u16string GetUnitTypeName(int type) {
  if (const char16_t* sized = SizedKey(type)) {
    // Corps are the odd codes; the airborne division counts as a small unit.
    const sUnitCounterSizes& sizes = UnitCounterSizes();
    const int size = (type % 2 == 1 ? sizes.large : sizes.small) + 1;
    return GetText(Utf16ToUtf8(Format(sized, size)));
  }
  return GetText(PlainKey(type));
}

}  // namespace tr
