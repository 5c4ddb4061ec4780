// The missions the computer opponent gives its fleets (the fleet's AI order).
// A fleet's mission sea zone is its AI destination node.
#pragma once

#include <cstdint>

namespace tr {

enum eFleetMission : std::int32_t {
  kMissionFree = 0,            // may join an invasion gathering or a patrol
  kMissionInvasionLand = 1,    // lands its units once at its mission sea zone
  kMissionInvasionGather = 2,  // invasion fleet gathering at its mission sea zone
  kMissionTransport = 3,       // carries land units to its mission sea zone
  kMissionJoinedGathering = 4, // escorts the gathering until the invasion starts
  kMissionPatrol = 5,          // patrols its mission sea zone
};

}  // namespace tr
