// The fleet whose battleships and cruisers bombard a shore from a sea node.
#pragma once

namespace tr {

class cFleet;
class cGame;

// Of the country's fleets at the node, the one with the most battleships and
// cruisers that have not bombarded yet (the lowest fleet number on a tie).
// Those ships get the selected-for-bombardment mark, every other ship loses
// it. Null when no fleet there has such a ship.
cFleet* FindShoreBombardmentShips(cGame& game, int countryId, int seaNodeId);

}  // namespace tr
