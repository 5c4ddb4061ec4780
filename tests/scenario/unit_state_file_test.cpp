// "unit_state.csv" of a save: the spotted flags and combat values of the
// units and every sea node's ship counters, each in its own place, the last
// node included.
#include <gtest/gtest.h>

#include <string>

#include "foundation/fatal.h"
#include "scenario/unit_state_file.h"
#include "turn/sea_graph.h"
#include "units/unit_files_fixture.h"

namespace tr {
namespace {

class UnitStateFileTest : public test::UnitFiles {
 protected:
  // Every counter of every node its own value.
  static void FillNode(sWezelGrafuMorz& node, int base) {
    int value = base;
    for (auto* counters : {&node.ownShips, &node.alliedShips, &node.spottedEnemyShips}) {
      for (std::int32_t& count : *counters) count = value++;
    }
  }
};

TEST_F(UnitStateFileTest, EveryUnitAndEveryNodeComesBackInItsOwnPlace) {
  cJednostkaLadowa& land = AddLand(1, 2, 2);
  land.id = 21;
  land.spotted = 1;
  land.movedThisTurn = 1;
  land.combatValue = 57;
  cJednostkaLotnicza& air = AddAir(2, 3, 3);
  air.id = 23;
  air.spotted = 0;
  air.combatValue = 61;
  cSeaGraph& seas = game().seaGraph;
  seas.nodes.resize(2);
  for (int i = 0; i < 2; ++i) {
    seas.nodes[static_cast<std::size_t>(i)].id = i + 1;
    FillNode(seas.nodes[static_cast<std::size_t>(i)], 100 * (i + 1) + 2);
  }
  seas.viewingCountry = 3;
  ASSERT_TRUE(WriteUnitState(game(), test::kSaveFolder));
  const std::string written = Saved("unit_state.csv");
  EXPECT_NE(written.find("\r\nSeas;3;\r\nLand;21;1;57;\r\nAir;23;0;61;\r\nMoved;21;\r\nNode;1;102;103;"), std::string::npos)
      << written;

  // A node without marker ships holds none.
  EXPECT_NE(written.find(";-1;-1;\r\nNode;2;"), std::string::npos) << written;
  land.spotted = 0;
  land.movedThisTurn = 0;
  land.combatValue = 5;
  air.spotted = 1;
  air.combatValue = 7;
  for (sWezelGrafuMorz& node : seas.nodes) FillNode(node, 9000);
  seas.viewingCountry = 2;
  LoadUnitState(game(), test::kSaveTemplate);
  EXPECT_EQ(land.spotted, 1);
  EXPECT_EQ(land.combatValue, 57);
  EXPECT_EQ(land.movedThisTurn, 1);
  EXPECT_EQ(air.spotted, 0);
  EXPECT_EQ(air.combatValue, 61);
  EXPECT_EQ(seas.viewingCountry, 3);
  for (int i = 0; i < 2; ++i) {
    sWezelGrafuMorz want;
    FillNode(want, 100 * (i + 1) + 2);
    const sWezelGrafuMorz& got = seas.nodes[static_cast<std::size_t>(i)];
    EXPECT_EQ(got.ownShips, want.ownShips) << i;
    EXPECT_EQ(got.alliedShips, want.alliedShips) << i;
    EXPECT_EQ(got.spottedEnemyShips, want.spottedEnemyShips) << i;
  }
  ASSERT_TRUE(WriteUnitState(game(), test::kSaveFolder));
  EXPECT_EQ(Saved("unit_state.csv"), written);

  // A number of a saved line that is no number is damage, named by its field.
  std::string damaged = written;
  damaged.replace(damaged.find("Land;21;1;57;"), 13, "Land;21;1;5x;");
  dir_.Write("data/save/out/unit_state.csv", damaged);
  test::LogCapture log;
  EXPECT_THROW(LoadUnitState(game(), test::kSaveTemplate), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"unit_state.csv at line 3 (counting from 1) has no whole number in field 4;"));
}

}  // namespace
}  // namespace tr
