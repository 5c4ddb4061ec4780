// "land_units.csv": columns, duplicates, commanders, harbours, the reserve and
// carried units after loading, the counters, and save-and-load.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "foundation/csv_reader.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/text.h"
#include "scenario/land_units_file.h"
#include "scenario/unit_file_checks.h"
#include "support/log_capture.h"
#include "units/unit_files_fixture.h"
#include "world/hex.h"

namespace tr {
namespace {

using test::LandRow;
using test::UnitFiles;

class LandUnitsFile : public UnitFiles {};

TEST_F(LandUnitsFile, ReadsEveryColumn) {
  AddCommander(3, 1, 10, 10);
  // Written out: each column its own value, so a column read one off shows.
  Scenario("land_units.csv", "#Land units\r\n#ID;...\r\n"
                             "12;First Guards;2;4;5;3;2;80;3;1;0;4;5;6;-1;3;0;1.5;2;7;8;9;10;11;12;13;14;-1;15;16;17;18;19;\r\n"
                                 "13;Short;1;1;1;0;2;80;3;1;0;4;5;6;-1;-1;0;1.5;2;7;8;9;10;11;12;13;14;-1;0;16;17;18;\r\n");
  test::LogCapture log;
  LoadLandUnits(game(), test::kScenario);
  ASSERT_EQ(game().landUnits.size(), 1u);
  const cJednostkaLadowa& u = *game().landUnits.front();
  EXPECT_EQ(u.id, 12);
  EXPECT_EQ(u.name, u"First Guards");
  EXPECT_EQ(u.owner, 2);
  EXPECT_EQ(u.x, 4);
  EXPECT_EQ(u.y, 5);
  EXPECT_EQ(u.type, kMechanizedCorps);
  EXPECT_EQ(u.category, kCategoryLand);
  EXPECT_EQ(u.level, 2);
  EXPECT_EQ(u.strength, 80);
  EXPECT_EQ(u.actionPoints, 3);
  EXPECT_EQ(u.attacked, 1);
  EXPECT_EQ(u.wasAttacked, 0);
  EXPECT_EQ(u.supplySourceX, 4);
  EXPECT_EQ(u.supplySourceY, 5);
  EXPECT_EQ(u.startingActionPoints, 6);
  EXPECT_EQ(u.transporterId, -1);
  ASSERT_NE(u.attachedCommander, nullptr);
  EXPECT_EQ(u.attachedCommander->headquarters, &u);
  EXPECT_EQ(u.commanderId, -1);
  EXPECT_EQ(u.inReserve, 0);
  EXPECT_FLOAT_EQ(u.shoreBombardmentEffect, 1.5f);
  EXPECT_EQ(u.freezeTime, 2);
  EXPECT_EQ(u.aiOrder, 7);
  EXPECT_EQ(u.aiTargetX, 8);
  EXPECT_EQ(u.aiTargetY, 9);
  EXPECT_EQ(u.aiUltimateTargetX, 10);
  EXPECT_EQ(u.aiUltimateTargetY, 11);
  EXPECT_EQ(u.supply, 12);
  EXPECT_EQ(u.eventsEffect, 13);
  EXPECT_EQ(u.turnsSinceParadrop, 14);
  EXPECT_EQ(u.turnsWithoutSupply, 15);
  EXPECT_EQ(u.trenchBonusMultiplier, 16);
  EXPECT_EQ(u.lastX, 17);
  EXPECT_EQ(u.lastY, 18);
  EXPECT_EQ(u.availableInTurns, 19);
  EXPECT_EQ(u.spotted, 0);
  EXPECT_EQ(u.newEnemyRevealed, 0);
  EXPECT_TRUE(log.Contains(u"Land unit First Guards (ID=12 CountryID=2) added"));
  EXPECT_FALSE(log.ContainsText(u"Commander with ID"));
}

// A row of more fields than the reader keeps is logged with every field it held.
TEST_F(LandUnitsFile, ARowOfThousandsOfFieldsIsLoggedWithTheirCount) {
  std::string row = LandRow(12, "Wide Guards", 2, 4, 5);
  std::string padding;
  for (std::size_t i = 0; i < cCsvReader::kMostFieldsKept; ++i) padding += "1;";
  row.insert(row.size() - 2, padding);
  Scenario("land_units.csv", "#Land units\r\n#ID;...\r\n" + row);
  test::LogCapture log;
  LoadLandUnits(game(), test::kScenario);
  EXPECT_EQ(game().landUnits.size(), 1u);
  EXPECT_TRUE(log.ContainsText(u"at line 3 (counting from 1) has " +
                               Utf8ToUtf16(std::to_string(cCsvReader::kMostFieldsKept + 33)) +
                               u" fields, more than the 33 of a row (two rows on one line?)"));
}

// A whole-number column whose text is not one, or is past 32 bits, is read
// as far as it goes and named: the first such column of a row, and how many more.
TEST_F(LandUnitsFile, WholeNumbersThatAreNotOrDoNotFitAreNamed) {
  std::string hex = LandRow(14, "Hex Guards", 2, 4, 5);
  std::string wide = LandRow(15, "Wide Guards", 1, 1, 1);
  hex.replace(hex.find(";7;8;9;"), 7, ";7;0x1d;99999999999;");
  wide.replace(wide.find(";10;11;"), 7, ";98765432100;11;");
  Scenario("land_units.csv", "#Land units\r\n#ID;...\r\n" + hex + wide);
  test::LogCapture log;
  LoadLandUnits(game(), test::kScenario);
  ASSERT_EQ(game().landUnits.size(), 2u);
  EXPECT_TRUE(log.ContainsText(u"land_units.csv at line 3 (counting from 1), column 21: \"0x1d\" is not a whole "
                               u"number; read as 0 (and 1 more columns of the row)"));
  EXPECT_TRUE(log.ContainsText(u"land_units.csv at line 4 (counting from 1), column 23: \"98765432100\" is beyond "
                               u"the 32-bit range; read as 2147483647"));
}

// Action points below zero are read as none, and more than the scenario gives
// any land unit as that most; none and the most are read as they are.
TEST_F(LandUnitsFile, ActionPointsOutsideWhatTheScenarioGivesAreHeld) {
  const std::int32_t most = MostLandActionPoints(game().constants);
  ASSERT_GT(most, 4);
  const auto row = [](int id, int x, int points, int starting) {
    std::string text = LandRow(id, "U" + std::to_string(id), 1, x, 2);
    const std::string columns = ";2;80;3;1;0;4;5;6;";
    return text.replace(text.find(columns), columns.size(),
                        ";2;80;" + std::to_string(points) + ";1;0;4;5;" + std::to_string(starting) + ";");
  };
  Scenario("land_units.csv", row(31, 3, -3, 0) + row(32, 4, most, most + 1));
  test::LogCapture log;
  LoadLandUnits(game(), test::kScenario);
  ASSERT_EQ(game().landUnits.size(), 2u);
  const cJednostkaLadowa& below = *game().landUnits.front();
  const cJednostkaLadowa& above = *game().landUnits.back();
  EXPECT_EQ(below.actionPoints, 0);
  EXPECT_EQ(below.startingActionPoints, 0);
  EXPECT_EQ(above.actionPoints, most);
  EXPECT_EQ(above.startingActionPoints, most);
  EXPECT_TRUE(log.ContainsText(u"Action Points (-3) out of range"));
  EXPECT_FALSE(log.ContainsText(u"Starting AP (0)"));
  EXPECT_FALSE(log.ContainsText(Format(u"Action Points (%i)", most)));
  EXPECT_TRUE(log.ContainsText(Format(u"Starting AP (%i) in ", most + 1)));
}

// Each row doubted or skipped is named by its line, and each unit keeps the
// line it came from.
TEST_F(LandUnitsFile, DuplicatesAreLoggedAndKeptUnknownCommandersLogged) {
  Scenario("land_units.csv", "#Land units\r\n" + LandRow(5, "A", 1, 1, 1, 0, 7) + LandRow(5, "B", 1, 2, 2) +
                                 LandRow(6, "C", 1, 3, 3, 9) + LandRow(-2, "D", 1, 4, 4));
  test::LogCapture log;
  LoadLandUnits(game(), test::kScenario);
  ASSERT_EQ(game().landUnits.size(), 2u);
  EXPECT_TRUE(log.Contains(u"Commander with ID=7 not found"));
  EXPECT_TRUE(log.ContainsText(u"Blad: Numer ID=5 sie powtarza. (data\\scenarios\\s\\land_units.csv at line 3 "
                               u"(counting from 1))"));
  EXPECT_EQ(game().landUnits.front()->attachedCommander, nullptr);
  EXPECT_TRUE(log.ContainsText(u"Land unit type (9) out of range in data\\scenarios\\s\\land_units.csv at line 4 "
                               u"(counting from 1); ignored"));
  EXPECT_TRUE(log.ContainsText(u"Land unit ID (-2) out of range in data\\scenarios\\s\\land_units.csv at line 5 "
                               u"(counting from 1); row skipped"));
  EXPECT_EQ(game().landUnits.front()->fileLine, 2);
  EXPECT_EQ(game().landUnits.back()->fileLine, 3);
}

// Numbers already held by a carried or reserve land unit count as used; an air
// unit in the reserve has numbers of its own; a harbour's number from the
// file is not its own, so it is no duplicate.
TEST_F(LandUnitsFile, NumbersHeldElsewhereOrTakenByAHarbourAreDuplicates) {
  auto carried = std::make_unique<cJednostkaLadowa>();
  carried->id = 7;
  game().aboardUnitsB.push_back(std::move(carried));
  auto reserve = std::make_unique<cJednostkaLadowa>();
  reserve->id = 8;
  reserve->category = kCategoryLand;
  game().reservePool.push_back(std::move(reserve));
  auto air = std::make_unique<cJednostkaLadowa>();
  air->id = 9;
  air->category = kCategoryAir;
  game().reservePool.push_back(std::move(air));
  Scenario("land_units.csv", LandRow(20, "A", 1, 1, 1) + LandRow(3, "Harbour", 1, 2, 8, 60, -1, 0, -1, 3) +
                                 LandRow(7, "B", 1, 3, 3) + LandRow(8, "C", 1, 4, 4) + LandRow(9, "D", 1, 5, 5) +
                                 LandRow(21, "E", 1, 6, 6));
  test::LogCapture log;
  LoadLandUnits(game(), test::kScenario);
  ASSERT_EQ(game().landUnits.size(), 6u);
  const int harbourNumber = (*std::next(game().landUnits.begin()))->id;
  ASSERT_GT(harbourNumber, 21);  // the counter passes every number of the file first
  EXPECT_TRUE(log.ContainsText(u"Blad: Numer ID=7 sie powtarza."));
  EXPECT_TRUE(log.ContainsText(u"Blad: Numer ID=8 sie powtarza."));
  EXPECT_FALSE(log.ContainsText(u"Numer ID=9 "));
  EXPECT_FALSE(log.ContainsText(u"Numer ID=20 "));
  EXPECT_FALSE(log.ContainsText(u"Numer ID=3 "));
  EXPECT_FALSE(log.ContainsText(u"Numer ID=21 "));
}

// A saved land row the game never writes: a harbour on a sea hex, a unit on
// the sea aboard no ship or on no hex at all, a shore bombardment effect out
// of its range, a switch past 1. Each is refused naming the line, where a
// scenario's row is mended or held with a warning.
TEST_F(LandUnitsFile, ASavesRowsThatWouldBeMendedAreRefused) {
  map().GetHex(4, 7)->terrain = kTerrainWater;
  const std::string effect = LandRow(5, "Shore", 1, 2, 3);
  std::string pastEffect = effect;
  pastEffect.replace(pastEffect.find(";1.5;"), 5, ";-1.5;");
  std::string pastPoints = effect;
  pastPoints.replace(pastPoints.find(";80;3;"), 6, ";80;50;");
  for (const auto& [row, what] :
       {std::pair{LandRow(3, "Harbour", 1, 4, 7, kMulberryType, -1, 0, -1, 2),
                  u"has a Mulberry harbour on the sea hex (4, 7)"},
        std::pair{LandRow(3, "Wet", 1, 4, 7), u"has a unit on the sea hex (4, 7), aboard no ship"},
        std::pair{LandRow(3, "Nowhere", 1, -1, -1), u"has a unit on no hex, aboard no ship and not in reserve"},
        std::pair{LandRow(3, "Harbourless", 1, -1, -1, kMulberryType, -1, 0, -1, 2),
                  u"has Mulberry Hex X of -1, a value the game never writes there"},
        std::pair{pastEffect, u"has ShoreBombEffect of -1.5, a value the game never writes there"},
        std::pair{pastPoints, u"has Action Points 50, more than the scenario gives a unit (10)"},
        std::pair{LandRow(3, "Twice", 1, 2, 3, 0, -1, 2), u"has 2 in field 17, where the game writes 0 or 1"}}) {
    dir_.Write("data/save/out/land_units.csv", "#Land units\r\n" + row);
    game().loadedGame = 1;
    test::LogCapture log;
    EXPECT_THROW(LoadLandUnits(game(), test::kSaveTemplate), FatalExitError) << row;
    EXPECT_TRUE(log.ContainsText(u"land_units.csv at line 2 (counting from 1) " + std::u16string(what) + u";")) << row;
    Scenario("land_units.csv", "#Land units\r\n" + row);
    game().loadedGame = 0;
    log.Clear();
    LoadLandUnits(game(), test::kScenario);
    EXPECT_FALSE(log.ContainsText(u"ERROR")) << row;
  }
}

TEST_F(LandUnitsFile, HarboursTakeTheirTimeAndUniqueNumbers) {
  Scenario("land_units.csv", LandRow(41, "A", 1, 1, 1) + LandRow(41, "Harbour1", 1, 2, 8, 60, -1, 1, -1, -1) +
                                 LandRow(3, "Harbour2", 1, 3, 7, 60, -1, 0, -1, 3) + LandRow(42, "B", 1, 4, 4));
  LoadLandUnits(game(), test::kScenario);
  ASSERT_EQ(game().landUnits.size(), 4u);
  std::set<int> ids;
  std::vector<const cMulberry*> harbours;
  for (const auto& unit : game().landUnits) {
    ids.insert(unit->id);
    if (const auto* harbour = dynamic_cast<const cMulberry*>(unit.get())) harbours.push_back(harbour);
  }
  EXPECT_EQ(ids.size(), 4u);
  ASSERT_EQ(harbours.size(), 2u);
  EXPECT_GT(harbours[0]->id, 42);
  EXPECT_EQ(harbours[0]->remainingTime, 6);  // MulberryDuration 6.7, truncated
  EXPECT_EQ(harbours[1]->remainingTime, 3);
  EXPECT_EQ(harbours[0]->inReserve, 0);
  EXPECT_EQ(harbours[0]->availableInTurns, 0);
  EXPECT_EQ(harbours[0]->strength, 7);
  EXPECT_EQ(harbours[0]->supply, 10);
  EXPECT_EQ(harbours[0]->supplySourceX, -1);
  EXPECT_EQ(harbours[0]->spotted, 1);
  EXPECT_EQ(harbours[0]->type, kMulberryType);
}

// Every column of a harbour row holds its own value, so a column read one off
// shows. What the harbour takes from its row survives a save and a load; its
// number, strength, supply and action points are its own.
TEST_F(LandUnitsFile, AHarbourKeepsEveryColumnItIsSavedWith) {
  Scenario("land_units.csv",
           "50;Harbour;2;6;9;60;3;80;4;0;1;11;12;13;-1;3;0;1.5;21;22;23;24;25;26;27;28;29;5;30;31;32;33;34;\r\n");
  LoadLandUnits(game(), test::kScenario);
  ASSERT_EQ(game().landUnits.size(), 1u);
  const auto& h = dynamic_cast<const cMulberry&>(*game().landUnits.front());
  EXPECT_EQ(h.name, u"Harbour");
  EXPECT_EQ(h.owner, 2);
  EXPECT_EQ(h.x, 6);
  EXPECT_EQ(h.y, 9);
  EXPECT_EQ(h.level, 3);
  EXPECT_EQ(h.attacked, 0);
  EXPECT_EQ(h.wasAttacked, 1);
  EXPECT_EQ(h.transporterId, -1);
  EXPECT_EQ(h.attachedCommander, nullptr);
  EXPECT_EQ(h.inReserve, 0);
  EXPECT_FLOAT_EQ(h.shoreBombardmentEffect, 1.5f);
  EXPECT_EQ(h.freezeTime, 21);
  EXPECT_EQ(h.aiOrder, 22);
  EXPECT_EQ(h.aiTargetX, 23);
  EXPECT_EQ(h.aiTargetY, 24);
  EXPECT_EQ(h.aiUltimateTargetX, 25);
  EXPECT_EQ(h.aiUltimateTargetY, 26);
  EXPECT_EQ(h.eventsEffect, 28);
  EXPECT_EQ(h.turnsSinceParadrop, 29);
  EXPECT_EQ(h.remainingTime, 5);
  EXPECT_EQ(h.turnsWithoutSupply, 30);
  EXPECT_EQ(h.trenchBonusMultiplier, 31);
  EXPECT_EQ(h.lastX, 32);
  EXPECT_EQ(h.lastY, 33);
  EXPECT_EQ(h.availableInTurns, 0);

  // Saved, loaded and saved again: the same row but for the number it takes.
  const auto afterNumber = [](const std::string& file) { return file.substr(file.find(";Harbour;")); };
  ASSERT_TRUE(WriteLandUnits(game(), test::kSaveFolder));
  const std::string first = Saved("land_units.csv");
  const int number = h.id;
  LoadLandUnits(game(), test::kSaveTemplate);
  ASSERT_TRUE(WriteLandUnits(game(), test::kSaveFolder));
  EXPECT_EQ(afterNumber(Saved("land_units.csv")), afterNumber(first));
  EXPECT_NE(game().landUnits.front()->id, number);

  // A harbour of a saved game keeps the number it was saved with.
  game().loadedGame = 1;
  const int saved = game().landUnits.front()->id;
  LoadLandUnits(game(), test::kSaveTemplate);
  ASSERT_EQ(game().landUnits.size(), 1u);
  EXPECT_EQ(game().landUnits.front()->id, saved);
}

TEST_F(LandUnitsFile, CountersContinueAfterTheHighestNumber) {
  Scenario("land_units.csv", LandRow(41, "A", 1, 1, 1) + LandRow(7, "B", 1, -1, -1, 0, -1, 1));
  LoadLandUnits(game(), test::kScenario);
  game().CollectUnitReserve();
  game().InitNextIds();
  EXPECT_EQ(game().nextLandUnitId, 42);
  EXPECT_EQ(game().nextAirUnitId, 1);
  EXPECT_EQ(game().nextFleetId, 1);
  EXPECT_EQ(game().nextNavalUnitId, 2);
  // The counter is raised before it is used.
  const cJednostkaLadowa next;
  EXPECT_EQ(next.id, 43);
}

TEST_F(LandUnitsFile, ReserveAndCarriedUnitsLeaveTheMapList) {
  auto cargo = std::make_unique<cJednostkaMorska>();
  cargo->id = 30;
  cargo->SetType(kCargoShip);
  cargo->owner = 1;
  auto landing = std::make_unique<cJednostkaMorska>();
  landing->id = 31;
  landing->SetType(kAmphibiousShip);
  landing->owner = 1;
  game().navalUnits.push_back(std::move(cargo));
  game().navalUnits.push_back(std::move(landing));
  Scenario("land_units.csv", LandRow(1, "Map", 1, 1, 1) + LandRow(2, "Reserve", 1, -1, -1, 0, -1, 1) +
                                 LandRow(3, "Cargo", 1, -1, -1, 0, -1, 0, 30) +
                                 LandRow(4, "Landing", 1, -1, -1, 0, -1, 0, 31) +
                                 LandRow(5, "Lost", 1, -1, -1, 0, -1, 0, 99));
  test::LogCapture log;
  LoadLandUnits(game(), test::kScenario);
  game().MoveAboardUnitsOffMap();
  game().CollectUnitReserve();
  ASSERT_EQ(game().landUnits.size(), 1u);
  ASSERT_EQ(game().aboardUnitsA.size(), 1u);
  ASSERT_EQ(game().aboardUnitsB.size(), 1u);
  EXPECT_EQ(game().aboardUnitsA.front()->transporter, game().FindNavalUnitById(30));
  EXPECT_EQ(game().FindNavalUnitById(31)->carriedUnit, game().aboardUnitsB.front().get());
  ASSERT_EQ(game().reservePool.size(), 2u);
  EXPECT_EQ(game().reservePool[0]->name, u"Reserve");
  EXPECT_EQ(game().reservePool[1]->name, u"Lost");
  EXPECT_EQ(game().reservePool[0]->supply, 10);
  EXPECT_EQ(game().reservePool[0]->combatValue, 111);  // events effect 13, shore bombardment 1.5
  EXPECT_TRUE(log.ContainsText(u"(ID=5) names transporter ID=99"));
  EXPECT_TRUE(IsLandUnitAboard(*game().aboardUnitsA.front()));
  EXPECT_TRUE(IsUnitInReserve(*game().reservePool[0]));

  ASSERT_TRUE(WriteLandUnits(game(), test::kSaveFolder));
  const std::string saved = Saved("land_units.csv");
  const auto at = [&](const char* name) { return saved.find(std::string(";") + name + ";"); };
  EXPECT_LT(at("Map"), at("Cargo"));
  EXPECT_LT(at("Cargo"), at("Landing"));
  EXPECT_LT(at("Landing"), at("Reserve"));
  EXPECT_LT(at("Reserve"), at("Lost"));
}

TEST_F(LandUnitsFile, HeaderAndRowBytes) {
  AddCommander(3, 1, 1, 1);
  Scenario("land_units.csv", LandRow(12, "Guards", 2, 4, 5, 3, 3) + LandRow(13, "Rangers", 1, 6, 7));
  LoadLandUnits(game(), test::kScenario);
  game().landUnits.front()->name = u"Guards;One";
  ASSERT_TRUE(WriteLandUnits(game(), test::kSaveFolder));
  EXPECT_EQ(Saved("land_units.csv"),
            "#Land units\r\n#ID;Name;Country ID;Hex X;Hex Y;Type;Level (1-5);Current strength (1-100);Action "
            "Points;Attacked [0=false 1=true];Was attacked [0=false 1=true];Supply source X;Supply source Y;Starting "
            "AP;TransporterID (-1=not on transporter);CommanderID (-1=no commander assigned);InReserve [0=false "
            "1=true];ShoreBombEffect;Freeze time;AI - order;AI - targetX;AI - targetY;AI- ultimate target X;AI - "
            "ultimate targetY;Supply;EventsEffect;Number of turns from last paradrop;mulberry remaining time "
            "(months);Turns without supply;Trench bonus multiplier;Last X;Last Y;Available in turns;"
            "\r\n12;Guards,One;2;4;5;3;2;80;3;1;0;4;5;6;-1;3;0;1.500000;2;7;8;9;10;11;12;13;14;-1;0;16;17;18;19;"
            "\r\n13;Rangers;1;6;7;0;2;80;3;1;0;4;5;6;-1;-1;0;1.500000;2;7;8;9;10;11;12;13;14;-1;0;16;17;18;19;");
}

TEST_F(LandUnitsFile, SaveAndLoadKeepsTheUnits) {
  AddCommander(3, 1, 1, 1);
  Scenario("land_units.csv", LandRow(12, "A", 2, 4, 5, 3, 3) + LandRow(20, "B", 1, -1, -1, 6, -1, 1) +
                                 LandRow(21, "Harbour", 1, 6, 2, 60, -1, 0, -1, 4) + LandRow(30, "C", 3, 7, 1, 4));
  LoadLandUnits(game(), test::kScenario);
  game().CollectUnitReserve();
  ASSERT_TRUE(WriteLandUnits(game(), test::kSaveFolder));

  cGame& first = game();
  std::vector<std::tuple<int, int, int, int, int, int>> before;
  for (const auto& u : first.landUnits) before.emplace_back(u->id, u->x, u->y, u->strength, u->attacked, u->type);
  const auto harbourOf = [](const cGame& g) {
    for (const auto& u : g.landUnits) {
      if (u->type == kMulberryType) return u.get();
    }
    return static_cast<cJednostkaLadowa*>(nullptr);
  };
  const int harbourTime = static_cast<const cMulberry*>(harbourOf(first))->remainingTime;

  LoadLandUnits(first, test::kSaveTemplate);
  first.CollectUnitReserve();
  std::vector<std::tuple<int, int, int, int, int, int>> after;
  for (const auto& u : first.landUnits) after.emplace_back(u->id, u->x, u->y, u->strength, u->attacked, u->type);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (std::get<5>(before[i]) == kMulberryType) {
      EXPECT_NE(std::get<0>(after[i]), 12);
      EXPECT_NE(std::get<0>(after[i]), 30);
      EXPECT_EQ(std::get<1>(after[i]), std::get<1>(before[i]));
      continue;
    }
    EXPECT_EQ(after[i], before[i]);
  }
  EXPECT_EQ(static_cast<const cMulberry*>(harbourOf(first))->remainingTime, harbourTime);
  ASSERT_EQ(first.reservePool.size(), 1u);
  EXPECT_EQ(first.reservePool[0]->id, 20);
  EXPECT_EQ(first.reservePool[0]->inReserve, 1);
  EXPECT_EQ(first.landUnits.front()->attachedCommander->id, 3);
}

}  // namespace
}  // namespace tr
