// The standing order the computer opponent gives each of its land units for
// the rest of the turn, kept in the unit with its target and ultimate target.
#pragma once

#include <cstdint>

namespace tr {

enum eAiOrder : std::int32_t {
  kAiOrderNone = 0,
  kAiOrderHoldCity = 1,     // the unit of the kind the city wants
  kAiOrderCoverCity = 2,    // a unit of the other kind, until the holder arrives
  kAiOrderReserve = 3,      // no target found
  kAiOrderAttackCity = 4,
  kAiOrderReinforce = 5,    // a threatened front city; onto the line of defence when there is one
  kAiOrderGoToFront = 6,
  kAiOrderObviousMove = 7,  // city taken this turn; becomes a cover order when planning starts
  kAiOrderQuietFront = 8,
  kAiOrderStay = 9,         // on a strong fort, or in place on the line of defence
  kAiOrderSeaTransportA = 10,
  kAiOrderSeaTransportB = 11,
  kAiOrderGather = 12,      // at a staging city for a scenario target
  kAiOrderBlocked = 13,     // a gathering unit that made no move toward its target
  kAiOrderSeaInvasionA = 14,
  kAiOrderSeaInvasionB = 15,
};

}  // namespace tr
