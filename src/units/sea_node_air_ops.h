// What air missions need of the sea nodes: the interceptor a node sends up,
// strikes on the ships and port of a node, the naval visibility a
// reconnaissance flight refreshes, and the few node facts the air rules read.
// The built-in operations are those of the game's sea graph; tests install
// their own.
#pragma once

#include <string>

namespace tr {

class cUnit;
struct sCombatResult;
struct sHex;

class cSeaNodeAirOps {
 public:
  virtual ~cSeaNodeAirOps() = default;

  // Node kind 0 (port) or 1 (open sea); -1 for a node that does not exist.
  virtual int NodeType(int nodeId) const = 0;
  virtual std::u16string NodeName(int nodeId) const = 0;
  virtual int CountSpottedEnemyShips(int nodeId) const = 0;
  // The strongest unit able to intercept an air attack on the node by the
  // attacking country, or null.
  virtual cUnit* SearchInterceptor(int nodeId, int attackingCountry) = 0;
  // An air or carrier strike on the ships (and the port) of the node; sets
  // the attacker-destroyed flag when the attacker dies.
  virtual void BombardSeaNode(int nodeId, sCombatResult& result, cUnit& attacker, sHex& hex) = 0;
  virtual void NuclearStrikeOnPort(int nodeId, sCombatResult& result) = 0;
  // Recomputes which enemy ships of the node its viewer sees, with the port
  // secrecy switch off for the call, as reconnaissance does (air recon
  // incrementally, a ship's recon in full).
  virtual void RecalculateNavalVisibilityForRecon(int nodeId, bool incremental) = 0;
};

// The installed operations, or the built-in ones over the game's sea graph.
cSeaNodeAirOps& SeaNodeAirOps();
// Installs operations the caller keeps alive (null restores the built-in
// ones); returns the previous (null for the built-in ones).
cSeaNodeAirOps* SetSeaNodeAirOps(cSeaNodeAirOps* ops);

}  // namespace tr
