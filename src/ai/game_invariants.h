// The invariants a running game keeps between turns, checked by the headless
// autoplay runner after every country's turn and every end of impulse.
#pragma once

#include <string>

namespace tr {

class cGame;

// The first broken invariant, described for a person, or empty when none is:
// each hex's unit and that unit's coordinates agree; at most one unit stands
// on a hex; no unit of the map lists stands at (-1,-1) or off the map, and
// no land unit on a sea hex (one at sea is aboard a ship); no
// fleet is empty; a ship is in the naval reserve (and no fleet) or in the
// naval list and exactly one fleet, the one it points to; every ship of a
// fleet points back to it; the countries' points and the
// cities' points are finite and not negative, except production points,
// which upkeep may drive into debt.
std::string FindInvariantViolation(const cGame& game);

}  // namespace tr
