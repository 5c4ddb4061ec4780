// A fleet: ships of one country standing together on one sea node. Every ship
// belongs to exactly one fleet; the game owns the list of fleets, a fleet
// owns its two lists but not its ships. A fleet moves along the sea graph
// within its reach once a turn, splits and merges, and offers the carrier
// strike, shore bombardment and recon actions of the fleets manager.
#pragma once

#include <cstdint>
#include <list>
#include <string>

namespace tr {

class cJednostkaMorska;
struct sCombatResult;
struct sWezelGrafuMorz;

enum eFleetFormation : std::int32_t {
  kFleetRegular = 0,
  kFleetRaiders = 1,
};

class cFleet {
 public:
  // Both lists empty, no AI order, destination and invasion hex -1, active.
  // The caller gives the number (fleet.cpp: NewFleetId).
  cFleet() = default;
  cFleet(const cFleet&) = default;
  cFleet& operator=(const cFleet&) = default;
  // A new fleet of the source's marked ships, appended to the game's fleets:
  // owner, node, formation, active and has-moved flags and the AI fields
  // are the source's, the number is the game's next and the name
  // "fleet_#%i". The ships point to the new fleet but stay in the source's
  // list until the caller runs RemoveMarkedShips on it.
  static cFleet* SplitOff(cFleet& source);

  // The ship lists (fleet.cpp).
  void MoveMarkedShipsTo(cFleet& target);
  void RemoveMarkedShips();
  void ClearShipMarks();
  void MarkShipsOfGroup(int group);
  // True with -1 when every ship has the same group (an empty fleet too),
  // else false with the first group that differs from the first ship's.
  bool HasSingleGroup(int& outGroup) const;
  // Also clears every ship's group.
  int SumHitPoints();
  int SumMaxHitPoints() const;
  float SumNavalStrength() const;
  int GetConvoyAttackValue() const;
  // The node the fleet stands on; the number must name a node.
  sWezelGrafuMorz& GetSeaNode() const;

  // Reach and movement (fleet_movement.cpp). The reachable list holds the
  // nodes the fleet can sail to this turn, without its own.
  int FindReachableNodes();
  bool IsNodeWithinReach(int nodeId);
  // Sails toward the node, as far as the reach allows; once a turn.
  void MoveTo(int nodeId);

  // Actions of the fleets manager (fleet_actions.cpp). The markings count the
  // targets in range and, with mark 1, highlight them.
  bool ShoreBombard(int x, int y, sCombatResult* result, int allShips);
  int MarkBombardmentTargets(int mark);
  int MarkShoreBombardmentTargets(int mark);
  int MarkReconTargets(int mark);
  // The reach of the fleet's aircraft and guns inland, in hexes.
  int GetActionRange() const;

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
  // The computer's value of the zone it patrols; set again every computer
  // turn, so not saved.
  std::int32_t patrolValue = 0;
  // The line (counting from 1) of the row the fleet was read from, for the
  // load's messages; 0 for a fleet formed in play.
  std::int32_t fileLine = 0;
};

// The game's next fleet number (the counter is raised first) and the name
// a new fleet of that number takes.
int NewFleetId();
std::u16string NewFleetName(int fleetId);

// Removes an emptied fleet from the game and frees it; an open fleets
// manager lets go of it first. A fleet that still has ships is refused
// (logged): a ship must never point to a freed fleet.
bool DeleteFleet(cFleet* fleet);

// Highlights the fleet's reachable nodes on the map: the main hex of a sea
// zone, the player-side marker hex of a port.
void MarkFleetRouteHexes(const cFleet& fleet);

// The computer opponent's estimates of the naval strength at a node. Each
// ship counts with the scenario's own-side or enemy-side percentage; the
// ships counted go into the list. The friendly sum also counts the cargo and
// amphibious ships.
float SumFriendlyNavalStrengthInZone(int countryId, int nodeId, std::list<cJednostkaMorska*>& ships,
                                     int& transports);
float SumEnemyNavalStrengthInZone(int countryId, int nodeId, std::list<cJednostkaMorska*>& ships);

}  // namespace tr
