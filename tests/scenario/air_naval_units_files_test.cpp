// "air_units.csv" and "naval_units.csv": the reserve rule of air units, the
// refused rows, the ships' reserve, and a scenario's and a save's rows read
// and written back column by column.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "foundation/fatal.h"
#include "foundation/text.h"
#include "scenario/air_units_file.h"
#include "scenario/land_units_file.h"
#include "scenario/naval_units_file.h"
#include "support/log_capture.h"
#include "units/unit_files_fixture.h"

namespace tr {
namespace {

using test::AirRow;

class AirNavalUnitsFiles : public test::UnitFiles {
 protected:
  // The rows' points are within what the scenario gives an air unit.
  AirNavalUnitsFiles() {
    for (int type = 0; type < 3; ++type) game().constants.SetSlot(consts_layout::kAirActionPoints + type, 9);
  }
  // The rows between the table's header lines, written back after a load.
  static std::string Rows(std::string_view onMap, std::string_view inReserve) {
    return "\r\n#On map\r\n" + std::string(onMap) + "\r\n#In reserve\r\n" + std::string(inReserve);
  }
};

TEST_F(AirNavalUnitsFiles, AirRowsBreakingTheReserveRuleAreRefusedInOneBox) {
  Scenario("air_units.csv", AirRow(1, "Good", 2, 3, 4, 0) + AirRow(2, "Parked", 2, 5, 7, 1) +
                                AirRow(3, "Lost", 3, -1, -1, 0) + AirRow(4, "Spare", 2, -1, -1, 1, 2) +
                                AirRow(4, "Twin", 2, 6, 6, 0));
  test::LogCapture log;
  LoadAirUnits(game(), test::kScenario);
  ASSERT_EQ(game().airUnits.size(), 3u);
  const cJednostkaLotnicza& good = *game().airUnits.front();
  EXPECT_EQ(good.type, kTacticalBomber);
  EXPECT_EQ(good.level, 3);
  EXPECT_EQ(good.strength, 60);
  EXPECT_EQ(good.attacked, 1);
  EXPECT_EQ(good.actionPoints, 4);
  EXPECT_EQ(good.startingActionPoints, 5);
  EXPECT_EQ(good.supply, 7);
  EXPECT_EQ(good.airReconDone, 1);
  EXPECT_EQ(good.availableInTurns, 2);
  EXPECT_EQ(good.combatValue, 100);
  EXPECT_EQ((*std::next(game().airUnits.begin()))->airReconDone, 0);  // recon column 2 reads as not done

  const std::vector<std::u16string> lines = log.lines();
  const auto header = std::find(lines.begin(), lines.end(), u"Invalid entries from air_units.csv:");
  ASSERT_NE(header, lines.end());
  ASSERT_GE(lines.end() - header, 3);
  EXPECT_EQ(header[1], u"Parked;5;7;2");
  EXPECT_EQ(header[2], u"Lost;-1;-1;3");
  EXPECT_TRUE(log.Contains(
      u"Invalid entry in air_units.csv: jednostka moze byc w rezerwie tylko, jesli ma wspolrzedne (-1, -1)"));
  EXPECT_TRUE(log.ContainsText(u"Blad: Numer ID=4 jednostki lotniczej sie powtarza."));
  EXPECT_TRUE(log.Contains(u"Air unit Good (ID=1 CountryID=2) added"));
  EXPECT_EQ(presentation_.CountEvents(u"message-box"), 1);
  EXPECT_EQ(presentation_.CountEvents(u"message-box air_units.csv|"), 1);
}

TEST_F(AirNavalUnitsFiles, AirUnitsSaveAndLoad) {
  sCommander& commander = AddCommander(4, 2, 1, 1, kCategoryAir);
  Scenario("air_units.csv", "#Air units\r\n" + AirRow(1, "Good", 2, 3, 4, 0) + AirRow(9, "Spare", 2, -1, -1, 1));
  LoadAirUnits(game(), test::kScenario);
  game().airUnits.front()->attachedCommander = &commander;
  game().CollectUnitReserve();
  ASSERT_EQ(game().reservePool.size(), 1u);
  ASSERT_TRUE(WriteAirUnits(game(), test::kSaveFolder));
  const std::string saved = Saved("air_units.csv");
  EXPECT_EQ(saved.substr(0, 11), "#Air units\r");
  EXPECT_NE(saved.find(";Available in turns\r\n#On map\r\n1;Good;2;3;4;21;3;60;4;1;0;2;3;4;5;0;7;1;2;\r\n#In reserve"
                       "\r\n9;Spare;2;-1;-1;21;3;60;-1;1;0;2;3;4;5;1;10;1;2;"),
            std::string::npos)
      << saved;

  LoadAirUnits(game(), test::kSaveTemplate);
  game().CollectUnitReserve();
  ASSERT_EQ(game().airUnits.size(), 1u);
  EXPECT_EQ(game().airUnits.front()->attachedCommander, &commander);
  EXPECT_EQ(commander.headquarters, game().airUnits.front().get());
  ASSERT_EQ(game().reservePool.size(), 1u);
  EXPECT_EQ(game().reservePool[0]->id, 9);
  game().InitNextIds();
  EXPECT_EQ(game().nextAirUnitId, 10);
}

// A saved unit row naming a commander the save does not hold is refused
// naming its file and line, land, air and naval alike; a scenario's loses
// the commander with a line (the land units' file test).
TEST_F(AirNavalUnitsFiles, ASavedRowsCommanderIsOneTheSaveHolds) {
  game().loadedGame = 1;
  for (const auto& [file, rows, line] :
       {std::tuple{"land_units.csv", "#Land units\r\n" + test::LandRow(5, "A", 1, 1, 1) + test::LandRow(6, "B", 1, 2, 2, 0, 7), 3},
        std::tuple{"air_units.csv", std::string("#Air units\r\n#ID\r\n1;Wing;1;2;2;21;3;60;7;1;0;2;3;4;5;0;7;1;2;\r\n"), 3},
        std::tuple{"naval_units.csv", std::string("#Naval units\r\n1;Hood;1;41;5;8;10;7;0;1;0;0;1;1;\r\n"), 2}}) {
    dir_.Write(std::string("data/save/out/") + file, rows);
    test::LogCapture log;
    const std::string name = file;
    EXPECT_THROW(name == "land_units.csv"  ? LoadLandUnits(game(), test::kSaveTemplate)
                 : name == "air_units.csv" ? LoadAirUnits(game(), test::kSaveTemplate)
                                           : LoadNavalUnits(game(), test::kSaveTemplate),
                 FatalExitError)
        << file;
    EXPECT_TRUE(log.ContainsText(u"data\\save\\out\\" + Utf8ToUtf16(name) + u" at line " +
                                 Utf8ToUtf16(std::to_string(line)) +
                                 u" (counting from 1) names the commander ID=7, which the save does not hold;"))
        << file;
  }
}

TEST_F(AirNavalUnitsFiles, ShipsReadSaveAndLoadWithTheirReserve) {
  Scenario("naval_units.csv", "#Naval units\r\n1;Hood;1;41;5;8;10;-1;0;1;0;0;1;1;\r\n2;Spare;1;44;6;3;3;-1;1;0;0;4;0;0;\r\n");
  test::LogCapture log;
  LoadNavalUnits(game(), test::kScenario);
  ASSERT_EQ(game().navalUnits.size(), 2u);
  const cJednostkaMorska& hood = *game().navalUnits.front();
  EXPECT_EQ(hood.type, kBattleship);
  EXPECT_EQ(hood.category, kCategoryNaval);
  EXPECT_EQ(hood.fleetId, 5);
  EXPECT_EQ(hood.hitPoints, 8);
  EXPECT_EQ(hood.maxHitPoints, 10);
  EXPECT_EQ(hood.shoreBombardmentDone, 1);
  EXPECT_EQ(hood.reconDone, 1);
  EXPECT_EQ(hood.canBeRepaired, 1);
  EXPECT_TRUE(log.Contains(u"Naval unit Hood (ID=1 CountryID=1) added"));

  game().CollectNavalReserve();
  ASSERT_EQ(game().navalReserve.size(), 1u);
  ASSERT_TRUE(WriteNavalUnits(game(), test::kSaveFolder));
  EXPECT_EQ(Saved("naval_units.csv"),
            "#Naval units\r\n#ID;Name;Country ID;Type;Fleet ID;HP;Max HP;Commander ID (-1 = no commander "
            "assigned);In reserve [0=false 1=true];Shore bombardment done? [0=false 1=true];Airstrike done? [0=false "
            "1=true];Available in turns;Recon done? [0=false 1=true] ;Can be repaired? [0=false 1=true]\r\n#On "
            "map\r\n1;Hood;1;41;5;8;10;-1;0;1;0;0;1;1;\r\n#In reserve\r\n2;Spare;1;44;-1;3;3;-1;1;0;0;4;0;0;");
  LoadNavalUnits(game(), test::kSaveTemplate);
  game().CollectNavalReserve();
  ASSERT_EQ(game().navalReserve.size(), 1u);
  EXPECT_EQ(game().navalReserve[0]->attachedCommander, nullptr);
  EXPECT_EQ(game().navalReserve[0]->availableInTurns, 4);
  game().InitNextIds();
  EXPECT_EQ(game().nextNavalUnitId, 3);
}

// A ship's number runs from 0 to the largest an object may have; a row past
// either end is logged and skipped.
TEST_F(AirNavalUnitsFiles, ShipNumbersAtTheirBoundsLoadAndOnePastDoNot) {
  Scenario("naval_units.csv", "#Naval units\r\n0;Low;1;41;5;8;10;-1;0;1;0;0;1;1;\r\n"
                              "-1;Under;1;42;5;7;9;-1;0;1;0;0;1;1;\r\n"
                              "999999999;High;2;43;6;6;8;-1;0;1;0;0;1;1;\r\n"
                              "1000000000;Over;2;44;6;5;7;-1;0;1;0;0;1;1;\r\n");
  test::LogCapture log;
  LoadNavalUnits(game(), test::kScenario);
  ASSERT_EQ(game().navalUnits.size(), 2u);
  EXPECT_EQ(game().navalUnits.front()->name, u"Low");
  EXPECT_EQ(game().navalUnits.front()->id, 0);
  EXPECT_EQ(game().navalUnits.back()->name, u"High");
  EXPECT_TRUE(log.ContainsText(u"Naval unit ID (-1) out of range"));
  EXPECT_TRUE(log.ContainsText(u"Naval unit ID (1000000000) out of range"));
  EXPECT_FALSE(log.ContainsText(u"Naval unit ID (0)"));
}

// Neighbouring columns never hold the same value, so a column read from or
// written to its neighbour's place changes the row.
TEST_F(AirNavalUnitsFiles, SavedAirUnitsComeBackColumnByColumn) {
  game().loadedGame = 1;
  constexpr std::string_view kOnMap = "12;Hawk;2;3;4;21;3;11;-1;1;0;7;8;5;6;0;9;1;13;";
  // A unit in the reserve has the full supply level, 10 here.
  constexpr std::string_view kInReserve = "14;Kite;3;-1;-1;22;4;10;-1;0;1;15;16;2;8;1;10;0;17;";
  // A unit on no hex yet not in reserve, or in reserve yet on a hex, is refused saying which.
  for (const auto& [from, to, what] :
       {std::tuple{"12;Hawk;2;3;4;", "12;Hawk;2;-1;-1;",
                   u"at line 3 (counting from 1) has a unit at (-1, -1) on no hex and not in reserve;"},
        std::tuple{"14;Kite;3;-1;-1;", "14;Kite;3;5;6;",
                   u"at line 5 (counting from 1) has a unit at (5, 6) in reserve, though a reserve unit has no hex;"}}) {
    std::string rows = Rows(kOnMap, kInReserve);
    rows.replace(rows.find(from), std::string_view(from).size(), to);
    dir_.Write("data/save/in/air_units.csv", "#Air units" + rows);
    test::LogCapture log;
    EXPECT_THROW(LoadAirUnits(game(), u"data\\save\\in\\%s"), FatalExitError) << to;
    EXPECT_TRUE(log.ContainsText(u"air_units.csv " + std::u16string(what))) << to;
  }
  dir_.Write("data/save/in/air_units.csv", "#Air units" + Rows(kOnMap, kInReserve));
  LoadAirUnits(game(), u"data\\save\\in\\%s");
  game().CollectUnitReserve();
  ASSERT_EQ(game().airUnits.size(), 1u);
  EXPECT_EQ(game().airUnits.front()->availableInTurns, 13);
  ASSERT_TRUE(WriteAirUnits(game(), test::kSaveFolder));
  const std::string saved = Saved("air_units.csv");
  EXPECT_TRUE(saved.ends_with(Rows(kOnMap, kInReserve))) << saved;
}

TEST_F(AirNavalUnitsFiles, SavedShipsComeBackColumnByColumn) {
  game().loadedGame = 1;
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

// A saved ship's row as the game writes it, one field changed: each value the
// game never writes there would load as another (an empty field shifting the
// rest, a switch past 1 read as 1, text read by its leading digits, a value
// held or a row left out) and is refused, naming the line and the field. A
// scenario's row keeps its lenient reading.
struct sSavedShipSlip {
  const char* name;
  int field;              // from 0; -1 appends the text as a field of its own
  const char* text;
  const char16_t* reason;
  int line = 3;  // of the refusal: a number given twice is refused at its second row
};

class SavedShipSlips : public AirNavalUnitsFiles, public testing::WithParamInterface<sSavedShipSlip> {};

TEST_P(SavedShipSlips, AreRefusedNamingTheLineAndTheField) {
  std::vector<std::string> fields;
  std::string text = "3;Argus;2;42;5;8;11;-1;0;1;0;6;0;1;";
  for (std::size_t at = 0, end; (end = text.find(';', at)) != std::string::npos; at = end + 1) {
    fields.push_back(text.substr(at, end - at));
  }
  if (GetParam().field < 0) {
    fields.push_back(GetParam().text);
  } else {
    fields[static_cast<std::size_t>(GetParam().field)] = GetParam().text;
  }
  std::string row;
  for (const std::string& field : fields) row += field + ";";
  dir_.Write("data/save/in/naval_units.csv", "#Naval units" + Rows(row, "7;Tern;3;44;-1;4;9;-1;1;0;1;2;1;0;"));
  game().loadedGame = 1;
  test::LogCapture log;
  EXPECT_THROW(LoadNavalUnits(game(), u"data\\save\\in\\%s"), FatalExitError);
  EXPECT_TRUE(log.Contains(std::u16string(u"ERROR: data\\save\\in\\naval_units.csv at line ") +
                           Utf8ToUtf16(std::to_string(GetParam().line)) + u" (counting from 1) " + GetParam().reason +
                           u"; the game writes the files of a saved game whole, so the file is damaged and the game "
                           u"is not loaded"));

  // The same row in a scenario loads, as it always did.
  Scenario("naval_units.csv", "#Naval units" + Rows(row, "7;Tern;3;44;-1;4;9;-1;1;0;1;2;1;0;"));
  game().loadedGame = 0;
  test::LogCapture lenient;
  LoadNavalUnits(game(), test::kScenario);
  EXPECT_FALSE(lenient.ContainsText(u"ERROR"));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SavedShipSlips,
    testing::Values(
        sSavedShipSlip{"EmptyNumber", 5, "", u"has field 6 empty, where the game writes a number"},
        sSavedShipSlip{"LeadingDigits", 4, "5abc", u"has \"5abc\" in field 5, which is not a whole number"},
        sSavedShipSlip{"DecimalInAWholeColumn", 6, "11.5", u"has \"11.5\" in field 7, which is not a whole number"},
        sSavedShipSlip{"Past32Bits", 2, "2147483648", u"has \"2147483648\" in field 3, which is beyond the 32-bit range"},
        sSavedShipSlip{"SwitchPastOne", 9, "99999", u"has 99999 in field 10, where the game writes 0 or 1"},
        sSavedShipSlip{"SwitchBelowZero", 13, "-1", u"has -1 in field 14, where the game writes 0 or 1"},
        sSavedShipSlip{"LastSwitchPastOne", 12, "2", u"has 2 in field 13, where the game writes 0 or 1"},
        sSavedShipSlip{"HitPointsPastTheirLimit", 5, "1000001", u"has HP of 1000001, a value the game never writes there"},
        sSavedShipSlip{"HitPointsAboveTheMost", 5, "12", u"has HP 12 above Max HP 11"},
        sSavedShipSlip{"UnknownType", 3, "7", u"has Naval unit type of 7, a value the game never writes there"},
        sSavedShipSlip{"NumberBelowZero", 0, "-1", u"has Naval unit ID of -1, a value the game never writes there"},
        sSavedShipSlip{"NumberOfTheOther", 0, "7", u"has the naval unit ID 7 a second time", 5},
        sSavedShipSlip{"FieldPastTheRow", -1, "1", u"has more than the 14 fields of a row"}),
    [](const auto& info) { return std::string(info.param.name); });

// Beside them, the values at the ends the game writes (each switch at 0 and
// at 1, a ship at its full hit points) load and are written back byte for byte.
TEST_F(AirNavalUnitsFiles, SavedShipsAtTheEndsOfTheirValuesComeBackByteForByte) {
  game().loadedGame = 1;
  constexpr std::string_view kOnMap = "3;Argus;2;42;5;11;11;-1;0;1;0;0;1;1;";
  constexpr std::string_view kInReserve = "7;Tern;3;44;-1;0;9;-1;1;0;1;1000000;0;0;";
  dir_.Write("data/save/in/naval_units.csv", "#Naval units" + Rows(kOnMap, kInReserve));
  test::LogCapture log;
  LoadNavalUnits(game(), u"data\\save\\in\\%s");
  game().CollectNavalReserve();
  EXPECT_FALSE(log.ContainsText(u"WARNING"));
  ASSERT_TRUE(WriteNavalUnits(game(), test::kSaveFolder));
  EXPECT_TRUE(Saved("naval_units.csv").ends_with(Rows(kOnMap, kInReserve))) << Saved("naval_units.csv");

  // Lines of separators or blanks, and separators past a row's last value, hold no value: they load as nothing.
  dir_.Write("data/save/in/naval_units.csv",
             "#Naval units" + Rows(std::string(kOnMap) + ";;\r\n;;;\r\n  ;\r\n", std::string(kInReserve) + ";"));
  game().navalUnits.clear();
  game().navalReserve.clear();
  log.Clear();
  LoadNavalUnits(game(), u"data\\save\\in\\%s");
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  EXPECT_EQ(game().navalUnits.size(), 2u);
}

}  // namespace
}  // namespace tr
