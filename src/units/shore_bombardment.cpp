// Shore bombardment of a land unit by a fleet off its coast.
#include "units/jednostka_ladowa.h"

namespace tr {

// The effect on the unit is not computed yet: a bombardment changes nothing
// but the ships' bombardment-done flags, which the fleet sets.
void cJednostkaLadowa::ShoreBombardHex(cFleet&, sCombatResult&, int) {}

}  // namespace tr
