// "air_units.csv" and "naval_units.csv" of a save: every column of a unit on
// the map and of one in the reserve comes back from the file in its own place.
#include <gtest/gtest.h>

#include <string>

#include "scenario/air_units_file.h"
#include "scenario/naval_units_file.h"
#include "units/unit_files_fixture.h"

namespace tr {
namespace {

class SavedUnitRowsTest : public test::UnitFiles {
 protected:
  SavedUnitRowsTest() {
    for (int type = 0; type < 3; ++type) game().constants.SetSlot(consts_layout::kAirActionPoints + type, 9);
    game().loadedGame = 1;
  }
  // The rows between the table's header lines, written back after a load.
  static std::string Rows(std::string_view onMap, std::string_view inReserve) {
    return "\r\n#On map\r\n" + std::string(onMap) + "\r\n#In reserve\r\n" + std::string(inReserve);
  }
};

// Neighbouring columns never hold the same value, so a column read from or
// written to its neighbour's place changes the row.
TEST_F(SavedUnitRowsTest, AirUnitsComeBackColumnByColumn) {
  constexpr std::string_view kOnMap = "12;Hawk;2;3;4;21;3;11;-1;1;0;7;8;5;6;0;9;1;13;";
  // A unit in the reserve has the full supply level, 10 here.
  constexpr std::string_view kInReserve = "14;Kite;3;-1;-1;22;4;10;-1;0;1;15;16;2;8;1;10;0;17;";
  dir_.Write("data/save/in/air_units.csv", "#Air units" + Rows(kOnMap, kInReserve));
  LoadAirUnits(game(), u"data\\save\\in\\%s");
  game().CollectUnitReserve();
  ASSERT_EQ(game().airUnits.size(), 1u);
  EXPECT_EQ(game().airUnits.front()->availableInTurns, 13);
  ASSERT_TRUE(WriteAirUnits(game(), test::kSaveFolder));
  const std::string saved = Saved("air_units.csv");
  EXPECT_TRUE(saved.ends_with(Rows(kOnMap, kInReserve))) << saved;
}

TEST_F(SavedUnitRowsTest, ShipsComeBackColumnByColumn) {
  constexpr std::string_view kOnMap = "3;Argus;2;42;5;8;11;-1;0;1;0;6;0;1;";
  constexpr std::string_view kInReserve = "7;Tern;3;44;-1;4;9;-1;1;0;1;2;1;0;";
  dir_.Write("data/save/in/naval_units.csv", "#Naval units" + Rows(kOnMap, kInReserve));
  LoadNavalUnits(game(), u"data\\save\\in\\%s");
  game().CollectNavalReserve();
  ASSERT_EQ(game().navalUnits.size(), 1u);
  EXPECT_EQ(game().navalUnits.front()->availableInTurns, 6);
  ASSERT_TRUE(WriteNavalUnits(game(), test::kSaveFolder));
  const std::string saved = Saved("naval_units.csv");
  EXPECT_TRUE(saved.ends_with(Rows(kOnMap, kInReserve))) << saved;
}

}  // namespace
}  // namespace tr
