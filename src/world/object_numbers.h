// Numbers for new units, ships, fleets and convoys. Each kind has a counter
// that goes on from the highest number in use; the loaders read numbers up
// to kMaxObjectNumber only, so at that top a new object takes the lowest
// number no object of its kind holds, and everything the game numbers loads
// back.
#pragma once

#include <cstdint>

namespace tr {

class cGame;

std::int32_t NewLandUnitNumber(cGame& game);
std::int32_t NewAirUnitNumber(cGame& game);
std::int32_t NewShipNumber(cGame& game);
std::int32_t NewFleetNumber(cGame& game);
std::int32_t NewConvoyNumber(cGame& game);

}  // namespace tr
