// Choosing the commander a unit stands under, for one unit or for a whole
// refresh pass that shares one list of headquarters.
#pragma once

#include <vector>

namespace tr {

class cGame;
class cUnit;

// The land units that carry a commander, in list order (the order decides ties).
std::vector<const cUnit*> CollectHeadquarters(const cGame& game);

// `cUnit::AssignCommander` over a precomputed list: a pass over every unit
// costs one scan of the headquarters per unit instead of the whole land list.
void AssignCommanderAmong(cUnit& unit, const std::vector<const cUnit*>& headquarters);

}  // namespace tr
