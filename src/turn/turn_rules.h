// The country and city rules of a played impulse's end: surrenders, sieges,
// production, unit upkeep and monthly research. Each walks the countries or
// cities, applies the world's rule, files the turn reports and, where
// everybody must know, shows a box and waits until it is closed.
#pragma once

#include "world/panstwo.h"

namespace tr {

class cGame;

// Active, and a political strength of 0 or more: the countries that produce,
// pay upkeep, research and are scored.
inline bool TakesPart(const cCountry& country) { return country.isActive && country.politicalStrength >= 0; }

void CheckSurrenders(cGame& game);
void CheckSieges(cGame& game);
void CalculateProduction(cGame& game);
void CalculateUpkeep(cGame& game);
// Only on the first impulse of a month (by the turn counter).
void CalculateResearch(cGame& game);

}  // namespace tr
