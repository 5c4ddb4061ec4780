// What the map and city rules need of the sea graph, behind one small
// interface that the sea graph implements once it is loaded. Until one is
// installed the rules run as on a map without sea nodes.
#pragma once

namespace tr {

class cFleet;

class cSeaGraphAccess {
 public:
  virtual ~cSeaGraphAccess() = default;

  // The number of the node whose main hex is (x, y), or -1.
  virtual int FindNodeIdByHex(int x, int y) const = 0;
  // Node numbers run 1..NodeCount.
  virtual int NodeCount() const = 0;
  // Whether the node is a port (node kind 0) rather than a sea zone.
  virtual bool IsPortNode(int nodeId) const = 0;
  // Moves a fleet out of a port that fell to the enemy into the open sea
  // beside it; false (nothing changed) when there is none.
  virtual bool LeavePortBecameEnemy(cFleet& fleet) = 0;
};

// The installed sea graph, or null.
cSeaGraphAccess* SeaGraphAccess();
// Installs one the caller keeps alive (null removes it); returns the previous.
cSeaGraphAccess* SetSeaGraphAccess(cSeaGraphAccess* access);

}  // namespace tr
