// What the effects act on, found from an effect's numbers: a hex on the map,
// a country, a sea node, a city, a technology, a place in a list. Each lookup
// that finds nothing
// logs the effect and its line, so a scenario author sees why the effect
// changed nothing; none ever answers with a stand-in (such as hex (0, 0)).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "events/event_model.h"

namespace tr {

class cCity;
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

// The city on the hex (param xi, param yi); null and logged when the hex is
// off the map or holds no city.
cCity* EffectCity(const sEffect& effect, int xi, int yi);
// The technology 0..6 of param i; false and logged for any other.
bool EffectTech(const sEffect& effect, int i, std::size_t& tech);
// The 1-based position of param i in a list of size entries, as an index;
// false and logged outside 1..size.
bool EffectPosition(const sEffect& effect, int i, std::size_t size, std::size_t& slot);
// Param i as a float: NaN gives 0 and magnitudes beyond a float's range its
// largest value.
float FloatParam(const sEffect& effect, int i);

// A value held within low..high (the ranges of world/value_limits.h), which
// the game's files read back; a value held is logged with what it is.
std::int32_t HeldWithin(const sEffect& effect, std::u16string_view what, std::int64_t value, std::int64_t low,
                        std::int64_t high);
// The same for a value of a country, logged with whose it is ("DPs").
std::int32_t HeldInRange(const sEffect& effect, std::int64_t value, std::int64_t low, std::int64_t high,
                         std::u16string_view what, const cCountry& country);
double HeldFractionInRange(const sEffect& effect, double value, double low, double high,
                           std::u16string_view what, const cCountry& country);

// A text the event check shows the player after the option has run.
void QueueEffectMessage(std::u16string text);

// The inclusive rectangle (x1, y1)-(x2, y2) clipped to the map; false when
// nothing of it lies on the map.
bool ClipRectangleToMap(int& x1, int& y1, int& x2, int& y2);

}  // namespace tr
