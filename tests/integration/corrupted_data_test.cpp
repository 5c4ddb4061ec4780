// The built sample with one table corrupted the ways that once overflowed a
// number or broke the game's rules a few impulses later: each is refused or
// mended at load with a line naming the file and row, and the game then plays
// on without breaking an invariant (the sanitizers catch any overflow).
#include <gtest/gtest.h>

#include <string>

#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/scenario_corruption.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

using Kind = test::sCorruption::Kind;

constexpr char kScenario[] = "NorthernTide";
constexpr int kImpulses = 3;

struct sCorruptedCase {
  const char* name;
  test::sCorruption corruption;
  const char* logged;  // part of the line that names the file and row; null for a value within its range
  const char* outcome;
  bool inSave = false;  // the corruption is made to a save of the sample
};

void PrintTo(const sCorruptedCase& c, std::ostream* os) { *os << c.corruption.Describe(); }

class CorruptedDataTest : public testing::TestWithParam<sCorruptedCase> {};

TEST_P(CorruptedDataTest, IsRefusedOrMendedAndPlaysWithinTheRules) {
  test::TempDir root;
  test::LogCapture log;
  std::string outcome;
  EXPECT_EQ(test::PlayCorrupted(root.path(), kScenario, GetParam().corruption, kImpulses, &outcome, GetParam().inSave),
            "");
  EXPECT_EQ(outcome, GetParam().outcome);
  if (GetParam().logged) {
    EXPECT_TRUE(log.ContainsText(Utf8ToUtf16(GetParam().logged))) << GetParam().logged;
  }
}

constexpr char kPlayed[] = "played 3 impulses";
constexpr char kRefused[] = "refused at load";
// A duration refused leaves no turn to play: the game ends after the first impulse.
constexpr char kEndedAtOnce[] = "played 1 impulses";

sCorruptedCase Value(const char* name, const char* file, int row, int field, const char* value, const char* logged,
                     const char* outcome = kPlayed) {
  return {name, {Kind::kValue, file, row, field, value}, logged, outcome};
}

sCorruptedCase SavedValue(const char* name, const char* file, int row, const char* value, const char* logged,
                          const char* outcome = kPlayed) {
  return {name, {Kind::kValue, file, row, 1, value}, logged, outcome, true};
}

INSTANTIATE_TEST_SUITE_P(
    Sample, CorruptedDataTest,
    testing::Values(
        // Numbers that raised the next-number counters past the 32-bit range.
        Value("LandUnitNumber", "land_units.csv", 0, 0, "2147483647",
              "Land unit ID (2147483647) out of range in data\\scenarios\\NorthernTide\\land_units.csv at line 3 "
              "(counting from 1); row skipped"),
        Value("AirUnitNumber", "air_units.csv", 0, 0, "2147483647",
              "Air unit ID (2147483647) out of range in data\\scenarios\\NorthernTide\\air_units.csv at line 4"),
        Value("ShipNumber", "naval_units.csv", 15, 0, "2147483647",
              "Naval unit ID (2147483647) out of range in data\\scenarios\\NorthernTide\\naval_units.csv"),
        Value("ConvoyNumber", "convoys.csv", 0, 0, "2147483647",
              "Convoy ID (2147483647) out of range in data\\scenarios\\NorthernTide\\convoys.csv at line 3"),
        // Unit values that overflowed in the end of impulse and the land values.
        Value("FreezeTime", "land_units.csv", 0, 18, "-2147483648", "Freeze time (-2147483648) out of range"),
        Value("TrenchBonus", "land_units.csv", 0, 29, "2147483647", "Trench bonus multiplier (2147483647) out of range"),
        Value("EventsEffect", "land_units.csv", 29, 25, "2147483647", "EventsEffect (2147483647) out of range"),
        // Units listed on the map but standing nowhere.
        Value("LandUnitHalfOffTheMap", "land_units.csv", 0, 3, "-1",
              "ERROR: Trying to place land unit 1st Grenadier Corps (ID=1) to hex (-1, 14) outside the map", kRefused),
        Value("AirUnitHalfOffTheMap", "air_units.csv", 0, 4, "-1",
              "ERROR: Trying to place air unit 1st Jagdgeschwader (ID=1) to hex (26, -1) outside the map", kRefused),
        Value("LandUnitOnNoHex", "land_units.csv", 29, 16, "0",
              "in data\\scenarios\\NorthernTide\\land_units.csv at line 32 (counting from 1) stands on no hex; moved "
              "to the reserve pool"),
        // Cities' and countries' points below 0 or beyond any sum.
        Value("CityVictoryPoints", "cities.csv", 0, 4, "-1",
              "City victory points (-1) out of range in data\\scenarios\\NorthernTide\\cities.csv at line 2"),
        Value("CityProduction", "cities.csv", 19, 5, "-1e300", "City production points ("),
        Value("DiplomaticPoints", "countries.csv", 0, 22, "2147483647",
              "DPs (2147483647) out of range in data\\scenarios\\NorthernTide\\countries.csv at line 3"),
        Value("SeaTransportPoints", "countries.csv", 8, 24, "-1000001", "STPs (-1000001) out of range"),
        Value("StrategicMovementMax", "countries.csv", 0, 26, "-2147483648", "SMP (-2147483648) out of range"),
        Value("WarEconomy", "countries.csv", 0, 48, "1e300", "WarEconomy(%) ("),
        Value("DpGrowth", "countries.csv", 0, 53, "2147483647", "DP growth per month (2147483647) out of range"),
        Value("DoctrineMonths", "countries.csv", 0, 54, "-2147483648", "Doctrine months (-2147483648) out of range"),
        Value("UpkeepModifier", "countries.csv", 0, 63, "-1e300", "Unit upkeep cost modifier ("),
        Value("UnitNameSlot", "unit_names.csv", 16, 0, "-2147483648", "Unit type slot (-2147483648) out of range"),
        // Strengths and supply values that the computer adds up and subtracts.
        Value("AirUnitStrength", "air_units.csv", 0, 7, "2147483647",
              "Air unit strength (2147483647) out of range in data\\scenarios\\NorthernTide\\air_units.csv at "
              "line 4 (counting from 1); ignored"),
        Value("AirUnitStrengthBelowZero", "air_units.csv", 1, 7, "-2147483648", "Air unit strength (-2147483648)"),
        sCorruptedCase{"SavedCitySupplyInfo", {Kind::kValue, "cities_supply_info.csv", 0, 2, "-2147483648"},
                       "ERROR: data\\save\\corrupted\\cities_supply_info.csv at line 2 (counting from 1) has "
                       "\"-2147483648\" in field 3 (Supply), where the game writes a whole number from 0 to 50",
                       kRefused, true},
        // Action points and step costs that once opened the sea to land
        // units, or sized their move range beyond the memory.
        Value("LandUnitPointsBeyondTheMap", "land_units.csv", 0, 8, "100000", nullptr),
        Value("LandStepOntoTheSeaFree", "consts.csv", 14, 8, "0", nullptr),
        Value("LandStepOntoTheSeaBelowZero", "consts.csv", 14, 8, "-5", nullptr),
        // Constants that the rules multiply.
        Value("ActionPointConstant", "consts.csv", 1, 1, "2147483647",
              "WARNING: constant 2 of data line 2 (2147483647) out of range in "
              "data\\scenarios\\NorthernTide\\consts.csv at line"),
        Value("ProductionConstant", "consts.csv", 8, 1, "1e300", "WARNING: constant 2 of data line 9 ("),
        // The date and turn counts that the end of impulse moves on.
        Value("ScenarioTurns", "Info.ini", 8, 1, "-2147483648",
              "WARNING: Duration/Turns (-2147483648) in data\\scenarios\\NorthernTide\\Info.ini is outside 0 to "
              "1000000; 0 used",
              kEndedAtOnce),
        Value("ScenarioImpulse", "Info.ini", 13, 1, "2147483647", "Save/Impulse (2147483647) in "),
        Value("ScenarioMonth", "Info.ini", 14, 1, "2147483647", "Save/GameMonth (2147483647) in "),
        Value("ScenarioTurn", "Info.ini", 17, 1, "2147483647", "Save/Turn (2147483647) in "),
        Value("CounterSize", "Info.ini", 11, 1, "-2147483648", "Added city: "),
        // A save holds what the game wrote there, or it is refused.
        SavedValue("SavedTurns", "Info.ini", 2, "-2147483648", "Info.ini key Duration/Turns gives \"-2147483648\"",
                   kRefused),
        SavedValue("SavedImpulse", "Info.ini", 21, "-2147483648", "Info.ini key Save/Impulse gives \"-2147483648\"",
                   kRefused),
        SavedValue("SavedMonth", "Info.ini", 16, "-2147483648", "Info.ini key Save/GameMonth gives \"-2147483648\"",
                   kRefused),
        SavedValue("SavedFleetCounter", "Info.ini", 24, "2147483647", "Info.ini key Save/LastFleetId gives \"2147483647\"",
                   kRefused),
        // Fleets that broke the ship links.
        sCorruptedCase{"FleetWithoutShips", {Kind::kDropRow, "naval_units.csv", 12, 0, {}},
                       "WARNING: fleet Red Banner Flotilla (ID=6) in data\\scenarios\\NorthernTide\\fleets.csv has no "
                       "ship; removed",
                       kPlayed},
        sCorruptedCase{"TwoFleetsWithOneNumber", {Kind::kDoubleRow, "fleets.csv", 0, 0, {}},
                       "WARNING: fleet ID 1 in data\\scenarios\\NorthernTide\\fleets.csv at line 11 (counting from 1) "
                       "is already used; row skipped",
                       kPlayed},
        // A received save whose fleets name sea nodes or countries that do not exist.
        sCorruptedCase{"SavedFleetAtNoSeaNode", {Kind::kValue, "fleets.csv", 0, 3, "99"},
                       "ERROR: fleet Home Fleet (ID=1) in data\\save\\corrupted\\fleets.csv at line 3 (counting from "
                       "1) names sea node 99, which does not exist; the game is not loaded",
                       kRefused, true},
        sCorruptedCase{"SavedFleetAtNodeZero", {Kind::kValue, "fleets.csv", 1, 3, "0"},
                       "has \"0\" in field 4 (Sea node ID), where the game writes a whole number from 1 to 65535",
                       kRefused, true},
        sCorruptedCase{"SavedFleetOfNoCountry", {Kind::kValue, "fleets.csv", 0, 2, "99"},
                       "names country 99, which does not exist", kRefused, true},
        sCorruptedCase{"SavedFleetSentNowhere", {Kind::kValue, "fleets.csv", 0, 7, "65535"},
                       "names destination sea node 65535, which does not exist", kRefused, true},
        // A save naming its scenario by a path: the scenario's tables and
        // events would be read from wherever it points.
        SavedValue("SavedScenarioNameOutsideTheScenarios", "Info.ini", 28, "..\\save\\corrupted",
                   "ERROR: Save/ScenarioName (\"..\\save\\corrupted\") in data\\save\\corrupted\\Info.ini is not "
                   "the name of a folder of data\\scenarios; the game is not loaded",
                   kRefused),
        SavedValue("SavedScenarioNameAbsolute", "Info.ini", 28, "/etc", "ERROR: Save/ScenarioName (\"/etc\")",
                   kRefused)),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tr
