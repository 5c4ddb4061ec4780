// A fleet: ships of one country standing together on one sea node. Every ship
// belongs to exactly one fleet; the game owns the list of fleets, a fleet
// owns its two lists but not its ships.
#pragma once

#include <cstdint>
#include <list>
#include <string>

namespace tr {

class cJednostkaMorska;

enum eFleetFormation : std::int32_t {
  kFleetRegular = 0,
  kFleetRaiders = 1,
};

class cFleet {
 public:
  cFleet() = default;

  std::int32_t countryId = 0;
  std::list<std::int32_t> reachableNodes;  // filled by the reach search
  std::int32_t id = 0;
  std::u16string name;  // at most 99 units
  std::int32_t seaNodeId = 0;
  std::int32_t formation = kFleetRegular;
  std::list<cJednostkaMorska*> ships;  // in order of joining; not owned
  std::uint8_t hasMoved = 0;
  std::int32_t aiOrder = 0;
  std::int32_t aiDestinationNode = -1;
  std::int32_t aiInvasionX = -1;
  std::int32_t aiInvasionY = -1;
  std::uint8_t active = 1;
};

}  // namespace tr
