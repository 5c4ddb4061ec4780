// A front of the computer opponent: the cities-diagram nodes where own or
// allied cities touch enemy cities, with the strengths summed over them.
#pragma once

#include <cstdint>
#include <list>
#include <string>

#include "world/front_statistics.h"

namespace tr {

class cCountry;
struct sCitiesDiagramNode;

enum eFrontState : std::int32_t {
  kFrontHolding = 0,
  kFrontThreatened = 1,
  kFrontCritical = 2,
  kNoFront = 3,  // the state of a city that no front lists
};

struct sFront {
  std::u16string name{};  // "Front miasta %s", at most 99 units
  std::list<sCitiesDiagramNode*> cities{};  // in the order they were reached; not owned
  std::int32_t state = kFrontHolding;
  float advantage = 0.0f;  // ours / enemy land strength ("Przewaga")
  sFrontStatistics stats{};  // sums over the front's nodes

  // The front's nodes whose city the country or an ally controls, in order.
  std::list<sCitiesDiagramNode*> GetFriendlyCities(const cCountry& country) const;
  // Exactly one friendly city, and the city that opened the front has no
  // free land neighbour.
  bool HasSingleEnclosedCity(const cCountry& country) const;
};

// Own and allied land strength against the enemy's: 1 when neither side has
// any, 99999 when only the enemy has none.
float FrontAdvantage(float ours, float enemy);
// Critical below 0.33, threatened below 0.8, else holding.
std::int32_t FrontStateOf(float advantage);

}  // namespace tr
