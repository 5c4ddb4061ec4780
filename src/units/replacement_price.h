// The price of replacing lost strength, one rule for the player's dialog and
// the computer alike: two copies of it would drift apart where only one is
// tested.
#pragma once

namespace tr {

class cJednostka;
class sScenarioConstants;

// The production-point price of one strength point of a land or air unit:
// the type's price (a share of the base value for a land unit, a flat price
// for an air unit) plus, for every level above the first, the surcharge of
// its kind, in percent (constants line 82 for land units, 83 for air units).
float ReplacementPrice(const cJednostka& unit, const sScenarioConstants& k);

}  // namespace tr
