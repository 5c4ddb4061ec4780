// A small world at sea for the naval rules: countries 1 and 2 allies, 3 at
// war with both, 4 neutral; sea nodes whose main hexes lie on row 0 (node n
// at column n), fleets and ships made straight into the game's lists, and
// the scenario constants the fleets read set to plain values.
#pragma once

#include <initializer_list>

#include "support/world_builder.h"
#include "turn/fleet.h"
#include "units/jednostka_morska.h"

namespace tr::test {

// The generator value that makes RandomRange(low, high) give value.
inline int RangeDraw(int low, int high, int value) {
  for (int r = 0; r <= 32767; ++r) {
    if (low + static_cast<int>(static_cast<float>(r) / 32767.0f * static_cast<float>(high - low)) == value) return r;
  }
  return 0;
}

class NavalWorld {
 public:
  NavalWorld();

  cGame& game() { return world_.game(); }
  TestWorld& world() { return world_; }
  cSeaGraph& graph() { return game().seaGraph; }

  // Sets (line, token) of the constants.
  void SetConstant(int line, int token, double value);
  // Port size needed by a ship type (line 162).
  void SetPortSizeFor(int type, int size);

  // A node whose main hex is (number, 0), a water hex of the zone, and whose
  // player-side marker hex is (number, 1); a port's main hex is land
  // controlled by `controller`.
  int AddSea();
  int AddPort(int controller, int size = 5);
  void AddEdge(int from, int to, int passageX = -1, int passageY = -1);
  void Link(int a, int b);

  // A fleet of the owner at the node with ships of the types, all listed.
  cFleet& AddFleet(int owner, int nodeId, std::initializer_list<int> types);
  cJednostkaMorska& AddShip(cFleet& fleet, int type);
  // A ship waiting in the naval reserve.
  cJednostkaMorska& AddReserveShip(int owner, int type);

 private:
  TestWorld world_;
  int nextShipId_ = 1;
};

}  // namespace tr::test
