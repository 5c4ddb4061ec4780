// A running game for the movement rules: plain land costing 1 a step, a zone
// of control surcharge of 2, country 1 (allies) at war with country 2 (axis),
// country 3 neutral, and a recording presentation port.
#pragma once

#include <gtest/gtest.h>

#include "units/unit_fixture.h"
#include "world/headless_presentation.h"

namespace tr::test {

class MovementWorld : public UnitWorld {
 protected:
  MovementWorld() : scoped_(port_) {
    cGame& g = game();
    for (int terrain = 0; terrain < consts_layout::kMoveCostRow; ++terrain) {
      g.constants.SetSlot(consts_layout::kMoveCost + terrain, 1);
    }
    g.constants.SetSlot(consts_layout::kMoveCost + 9, 2);  // zone of control
    for (int doctrine = 0; doctrine <= 5; ++doctrine) g.constants.SetSlot(consts_layout::kAttackActionPointCost + doctrine, 1);
    country(1).alliance = kAllies;
    country(2).alliance = kAxis;
    g.relations.SetWar(1, 2, true);
    g.relations.SetWar(2, 1, true);
  }

  void SetLandCost(int terrain, int cost) { game().constants.SetSlot(consts_layout::kMoveCost + terrain, cost); }

  // A land unit with the points it began the turn with.
  cJednostkaLadowa& Mover(int owner, int x, int y, int points, int type = kInfantryDivision) {
    cJednostkaLadowa& unit = AddLand(owner, x, y, type);
    unit.actionPoints = points;
    unit.startingActionPoints = points;
    return unit;
  }

  const sMoveRangeCell* Entry(const cJednostka& unit, int x, int y) {
    for (const sMoveRangeCell& cell : unit.moveRange) {
      if (cell.x == x && cell.y == y) return &cell;
    }
    return nullptr;
  }

  cHeadlessPresentation port_;

 private:
  ScopedPresentation scoped_;
};

}  // namespace tr::test
