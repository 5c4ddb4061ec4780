// What the operand methods share: whole-number params, and the countries,
// hexes and list entries their params name, checked before they are read.
// A param that names nothing is logged and the operand's value becomes 0.
#pragma once

#include <array>
#include <cstdint>

#include "events/event_model.h"
#include "events/event_params.h"

namespace tr {

class cCountry;
struct sHex;

inline std::int32_t IntParam(const sEventOperand& operand, int index) {
  return TruncateParam(operand.params[index]);
}

// The country whose number is the param, or null (logged).
const cCountry* ParamCountry(const sEventOperand& operand, int index);
// The hex of the params x and y; a coordinate off the map reads the hex
// (0, 0), logged. Null (logged) only while the game has no map.
const sHex* ParamHex(const sEventOperand& operand, int xIndex, int yIndex);
// Whether the param lies in low..high; logged when not.
bool ParamInRange(const sEventOperand& operand, int index, int low, int high);

// Entry (param - 1) of a list addressed by 1-based position; 0 when outside.
template <typename T, std::size_t N>
double PositionEntry(const sEventOperand& operand, int index, const std::array<T, N>& list) {
  if (!ParamInRange(operand, index, 1, static_cast<int>(N))) return 0.0;
  return static_cast<double>(list[static_cast<std::size_t>(IntParam(operand, index) - 1)]);
}

// Entry param of a list addressed by 0-based index; 0 when outside.
template <typename T, std::size_t N>
double IndexEntry(const sEventOperand& operand, int index, const std::array<T, N>& list) {
  if (!ParamInRange(operand, index, 0, static_cast<int>(N) - 1)) return 0.0;
  return static_cast<double>(list[static_cast<std::size_t>(IntParam(operand, index))]);
}

// Units of a type code owned by a country: land units on the map and aboard
// ships, air units or ships, by the code's category; 0 for other codes.
int CountUnitsOfCountry(int countryId, int type);
// Victory points of the cities on hexes the country controls; a city on a
// hex without controller is a fatal data error.
int CountCountryVictoryPoints(int countryId);
// Ships of a country and type in the fleets standing at a sea node.
int CountShipsAtSeaNode(int countryId, int seaNodeId, int type);

}  // namespace tr
