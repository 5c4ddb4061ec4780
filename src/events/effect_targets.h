// What the map, unit and sea effects act on, found from an effect's numbers:
// a hex on the map, a country, a sea node. Each lookup that finds nothing
// logs the effect and its line, so a scenario author sees why the effect
// changed nothing; none ever answers with a stand-in (such as hex (0, 0)).
#pragma once

#include <cstdint>

#include "events/event_model.h"

namespace tr {

class cCountry;
struct sHex;
struct sWezelGrafuMorz;

// The whole number of param i, truncated toward zero.
std::int32_t IntParam(const sEffect& effect, int i);

// The hex (param xi, param yi); null and logged when it lies off the map.
sHex* EffectHex(const sEffect& effect, int xi, int yi);
// The country numbered by param i; null and logged when no country has it.
cCountry* EffectCountry(const sEffect& effect, int i);
// The sea node with the ID of param i; null and logged when there is none.
sWezelGrafuMorz* EffectSeaNode(const sEffect& effect, int i);

// The inclusive rectangle (x1, y1)-(x2, y2) clipped to the map; false when
// nothing of it lies on the map.
bool ClipRectangleToMap(int& x1, int& y1, int& x2, int& y2);

}  // namespace tr
