// "unit_state.csv" of a save: the spotted flags and combat values of the
// units and every sea node's ship counters, each in its own place, the last
// node included.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "foundation/fatal.h"
#include "foundation/text.h"
#include "scenario/unit_state_file.h"
#include "turn/sea_graph.h"
#include "units/jednostka_morska.h"
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
  // One that stayed: no "Moved" line, and after the load still unmoved.
  cJednostkaLadowa& stayed = AddLand(1, 4, 2);
  stayed.id = 22;
  stayed.spotted = 0;
  stayed.movedThisTurn = 0;
  stayed.combatValue = 44;
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
  // The first node's markers are two ships, each read back from its own field.
  for (const int id : {31, 32}) {
    game().navalUnits.push_back(std::make_unique<cJednostkaMorska>());
    game().navalUnits.back()->id = id;
  }
  cJednostkaMorska* playerMarker = game().navalUnits.front().get();
  cJednostkaMorska* enemyMarker = game().navalUnits.back().get();
  seas.nodes[0].playerMarkerShip = playerMarker;
  seas.nodes[0].enemyMarkerShip = enemyMarker;
  seas.viewingCountry = 3;
  ASSERT_TRUE(WriteUnitState(game(), test::kSaveFolder));
  const std::string written = Saved("unit_state.csv");
  EXPECT_NE(written.find("\r\nSeas;3;\r\nLand;21;1;57;\r\nLand;22;0;44;\r\nAir;23;0;61;\r\nNaval;31;0;\r\nNaval;32;0;"
                         "\r\nMoved;21;\r\nNode;1;102;103;"), std::string::npos)
      << written;

  // The first node's markers, and none in the last.
  EXPECT_NE(written.find(";119;31;32;\r\nNode;2;"), std::string::npos) << written;
  EXPECT_NE(written.find(";219;-1;-1;"), std::string::npos) << written;
  // The save written with from changed to to is refused, the log naming logged.
  const auto refused = [&](std::string_view from, std::string_view to, std::u16string_view logged) {
    std::string changed = written;
    changed.replace(changed.find(from), from.size(), to);
    dir_.Write("data/save/out/unit_state.csv", changed);
    test::LogCapture log;
    EXPECT_THROW(LoadUnitState(game(), test::kSaveTemplate), FatalExitError) << to;
    EXPECT_TRUE(log.ContainsText(logged)) << to << Utf16ToUtf8(logged);
  };
  land.spotted = 0;
  land.movedThisTurn = 0;
  land.combatValue = 5;
  seas.nodes[0].playerMarkerShip = enemyMarker;
  seas.nodes[0].enemyMarkerShip = nullptr;
  air.spotted = 1;
  air.combatValue = 7;
  for (sWezelGrafuMorz& node : seas.nodes) FillNode(node, 9000);
  seas.viewingCountry = 2;
  LoadUnitState(game(), test::kSaveTemplate);
  EXPECT_EQ(land.spotted, 1);
  EXPECT_EQ(land.combatValue, 57);
  EXPECT_EQ(land.movedThisTurn, 1);
  EXPECT_EQ(stayed.movedThisTurn, 0);
  EXPECT_EQ(stayed.combatValue, 44);
  EXPECT_EQ(seas.nodes[0].playerMarkerShip, playerMarker);
  EXPECT_EQ(seas.nodes[0].enemyMarkerShip, enemyMarker);
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

  // A last line of separators only, without a line end, holds nothing: the save loads as written.
  ASSERT_FALSE(written.ends_with("\n"));
  dir_.Write("data/save/out/unit_state.csv", written + "\r\n;;");
  {
    test::LogCapture log;
    LoadUnitState(game(), test::kSaveTemplate);
    EXPECT_FALSE(log.ContainsText(u"ERROR"));
  }
  ASSERT_TRUE(WriteUnitState(game(), test::kSaveFolder));
  EXPECT_EQ(Saved("unit_state.csv"), written);

  // Seas seen for no country yet (0) read back quietly.
  std::string none = written;
  none.replace(none.find("Seas;3;"), 7, "Seas;0;");
  dir_.Write("data/save/out/unit_state.csv", none);
  seas.viewingCountry = 2;
  {
    test::LogCapture log;
    LoadUnitState(game(), test::kSaveTemplate);
    EXPECT_EQ(seas.viewingCountry, 0);
    EXPECT_FALSE(log.ContainsText(u"WARNING"));
  }
  // Seas seen for a negative country, a spotted switch not 0 or 1, or a combat value past the game's are
  // none the game writes: refused, named with its line.
  for (const auto& [from, to, logged] :
       {std::tuple{"Seas;3;", "Seas;-1;",
                   u"at line 2 (counting from 1) has -1 in field 2, where the game writes 0 or a country the save holds"},
        std::tuple{"Land;22;0;44;", "Land;22;2;44;", u"at line 4 (counting from 1) has 2 in field 3, where the game writes 0 or 1"},
        std::tuple{"Naval;31;0;", "Naval;31;-1;", u"at line 6 (counting from 1) has -1 in field 3, where the game writes 0 or 1"},
        std::tuple{"Land;21;1;57;", "Land;21;1;1000001;", u"at line 3 (counting from 1) has Combat value of 1000001,"}}) {
    refused(from, to, logged);
  }
  // The limits the game writes load: a combat value of 1000000 and the spotted switch at 1.
  {
    std::string other = written;
    other.replace(other.find("Land;22;0;44;"), 13, "Land;22;1;1000000;");
    dir_.Write("data/save/out/unit_state.csv", other);
    test::LogCapture log;
    LoadUnitState(game(), test::kSaveTemplate);
    EXPECT_FALSE(log.ContainsText(u"WARNING"));
    EXPECT_EQ(stayed.combatValue, 1000000);
    EXPECT_EQ(stayed.spotted, 1);
  }

  // A number of a saved line that is no number is damage, named by its field.
  refused("Land;21;1;57;", "Land;21;1;5x;", u"unit_state.csv at line 3 (counting from 1) has no whole number in field 4;");
  // So is a line of a kind the game does not write, and a line of each kind one field short of its fields.
  for (const auto& [from, to, logged] :
       {std::tuple{"Air;23;0;61;", "Aircraft;23;0;61;",
                   u"at line 5 (counting from 1) has a line that is not the game's"},
        std::tuple{"Seas;3;", "Seas;", u"at line 2 (counting from 1) has 1 fields of the 2 of a row"},
        std::tuple{"Land;22;0;44;", "Land;22;0;", u"at line 4 (counting from 1) has 3 fields of the 4 of a row"},
        std::tuple{"Air;23;0;61;", "Air;23;0;", u"at line 5 (counting from 1) has 3 fields of the 4 of a row"},
        std::tuple{"Naval;31;0;", "Naval;31;", u"at line 6 (counting from 1) has 2 fields of the 3 of a row"},
        std::tuple{"Moved;21;", "Moved;", u"at line 8 (counting from 1) has 1 fields of the 2 of a row"},
        std::tuple{";219;-1;-1;", ";219;-1;", u"at line 10 (counting from 1) has 21 fields of the 22 of a row"}}) {
    refused(from, to, logged);
  }

  // What a line names that the save does not hold, and a unit of the save
  // without its line, are the tables disagreeing: refused, naming the line.
  ASSERT_EQ(game().CountryCount(), 3);
  for (const auto& [from, to, logged] :
       {std::tuple{"Seas;3;", "Seas;4;", u"at line 2 (counting from 1) has 4 in field 2, where the game writes 0 or a country the save holds"},
        std::tuple{"Naval;32;0;", "Naval;39;1;",
                   u"at line 7 (counting from 1) names the Naval unit ID=39, which the save does not hold"},
        // A line of separators before it is still a line.
        std::tuple{"Naval;32;0;", ";;\r\nNaval;39;1;",
                   u"at line 8 (counting from 1) names the Naval unit ID=39, which the save does not hold"},
        std::tuple{"Land;22;0;44;", "Air;22;0;44;",
                   u"at line 4 (counting from 1) names the Air unit ID=22, which the save does not hold"},
        std::tuple{"Moved;21;", "Moved;99;", u"at line 8 (counting from 1) names the land unit ID=99, which the save"},
        std::tuple{"Moved;21;", "Moved;23;", u"at line 8 (counting from 1) names the land unit ID=23, which the save"},
        std::tuple{";119;31;32;", ";119;31;33;", u"at line 9 (counting from 1) names the ship ID=33, which no fleet"},
        // Only -1 is no ship: any other number below 0 is none the game writes.
        std::tuple{";119;31;32;", ";119;31;-2;", u"at line 9 (counting from 1) names the ship ID=-2, which no fleet"},
        std::tuple{"Node;2;", "Node;3;", u"at line 10 (counting from 1) names the sea node ID=3, which the save"},
        std::tuple{"\r\nAir;23;0;61;", "",
                   u"unit_state.csv has no line for the Air unit ID=23 of air_units.csv at line 0 (counting from 1)"}}) {
    refused(from, to, logged);
  }

  // A line of separators only holds no record and is passed over.
  std::string passed = written;
  passed.insert(passed.find("\r\nLand;21;"), "\r\n;;;");
  dir_.Write("data/save/out/unit_state.csv", passed);
  test::LogCapture quiet;
  LoadUnitState(game(), test::kSaveTemplate);
  EXPECT_FALSE(quiet.ContainsText(u"WARNING"));
  EXPECT_FALSE(quiet.ContainsText(u"ERROR"));
  ASSERT_TRUE(WriteUnitState(game(), test::kSaveFolder));
  EXPECT_EQ(Saved("unit_state.csv"), written);

  // A ship may be numbered 0: a node it marks keeps it.
  playerMarker->id = 0;
  ASSERT_TRUE(WriteUnitState(game(), test::kSaveFolder));
  const std::string zero = Saved("unit_state.csv");
  ASSERT_NE(zero.find(";119;0;32;"), std::string::npos) << zero;
  seas.nodes[0].playerMarkerShip = nullptr;
  LoadUnitState(game(), test::kSaveTemplate);
  EXPECT_EQ(seas.nodes[0].playerMarkerShip, playerMarker);
  ASSERT_TRUE(WriteUnitState(game(), test::kSaveFolder));
  EXPECT_EQ(Saved("unit_state.csv"), zero);
}

// The reserve pool holds land and air units in the order they joined it,
// which the unit tables cannot keep: the load puts them back in the order
// of the file's lines.
TEST_F(UnitStateFileTest, TheReservePoolComesBackInTheOrderItWasSaved) {
  for (const int id : {51, 47, 49}) {
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->id = id;
    unit->category = kCategoryLand;
    game().reservePool.push_back(std::move(unit));
  }
  ASSERT_TRUE(WriteUnitState(game(), test::kSaveFolder));
  std::reverse(game().reservePool.begin(), game().reservePool.end());
  game().loadedGame = 1;
  LoadUnitState(game(), test::kSaveTemplate);
  std::vector<int> order;
  for (const auto& unit : game().reservePool) order.push_back(unit->id);
  EXPECT_EQ(order, (std::vector<int>{51, 47, 49}));
}

// A second line for a unit would be read over its first: refused, naming
// both lines. Units two table rows gave one number have a line each, and
// each takes its own line's values back.
TEST_F(UnitStateFileTest, AUnitsSecondLineIsDamageWhereUnitsOfOneNumberTakeALineEach) {
  cJednostkaLadowa& first = AddLand(1, 2, 2);
  first.id = 21;
  first.spotted = 1;
  first.combatValue = 57;
  cJednostkaLadowa& second = AddLand(1, 4, 2);
  second.id = 22;
  second.spotted = 0;
  second.combatValue = 44;
  ASSERT_TRUE(WriteUnitState(game(), test::kSaveFolder));
  std::string twice = Saved("unit_state.csv");
  const std::size_t at = twice.find("Land;22;0;44;");
  ASSERT_NE(at, std::string::npos) << twice;
  twice.insert(at, "Land;21;0;9;\r\n");
  dir_.Write("data/save/out/unit_state.csv", twice);
  game().loadedGame = 1;
  {
    test::LogCapture log;
    EXPECT_THROW(LoadUnitState(game(), test::kSaveTemplate), FatalExitError);
    EXPECT_TRUE(log.ContainsText(
        u"unit_state.csv at line 4 (counting from 1) names the Land unit ID=21 a second time (first at line 3)"));
  }

  second.id = 21;
  ASSERT_TRUE(WriteUnitState(game(), test::kSaveFolder));
  first.spotted = second.spotted = 0;
  first.combatValue = second.combatValue = 0;
  test::LogCapture log;
  LoadUnitState(game(), test::kSaveTemplate);
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  EXPECT_EQ(first.spotted, 1);
  EXPECT_EQ(first.combatValue, 57);
  EXPECT_EQ(second.spotted, 0);
  EXPECT_EQ(second.combatValue, 44);
  // A third line for the two is one more than the save holds.
  std::string thrice = Saved("unit_state.csv");
  thrice.insert(thrice.find("Land;21;"), "Land;21;0;9;\r\n");
  dir_.Write("data/save/out/unit_state.csv", thrice);
  EXPECT_THROW(LoadUnitState(game(), test::kSaveTemplate), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"at line 5 (counting from 1) names the Land unit ID=21 more often than the 2 units of that number the save holds "
                               u"(first at line 3)"));
}

}  // namespace
}  // namespace tr
