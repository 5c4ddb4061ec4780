// A save of the sample whose tables hold a value the game never writes there:
// text where it writes a number, a decimal where it writes a whole one, a
// number past the values of its field, a unit's line given twice. Each would
// load as some other value without a word, so the load is refused naming the
// file, the line and the field. Each reader's own program holds its cases;
// here each file is refused through the whole load of a save. Beside them, a
// save the game wrote with values at the ends of what it writes loads and is
// written back byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <filesystem>
#include <string>
#include <vector>

#include "ai/country_ai.h"
#include "ai/front.h"
#include "events/zdarzenia.h"
#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/report_kinds.h"
#include "scenario/reports.h"
#include "turn/convoy.h"
#include "world/cities_diagram.h"
#include "world/map.h"
#include "hostile_save.h"
#include "support/log_capture.h"
#include "world/game_start.h"
#include "world/byte_io.h"
#include "world/gra.h"
#include "world/value_limits.h"

namespace tr {
namespace {

using test::HostileSave;
using test::HostileSaveCase;
using test::Replace;
using test::Set;
using test::sHostileCase;
using test::sTable;
using test::Text;
namespace fs = std::filesystem;

constexpr char16_t kRefused[] =
    u"; the game writes the files of a saved game whole, so the file is damaged and the game is not loaded";

// The refusal of the file at the line (counting from 1), for what it holds.
std::u16string Refusal(const std::u16string& folder, const char* file, std::size_t line, const std::u16string& what) {
  return u"ERROR: " + folder + u"\\" + Text(file) + u" at line " + Text(std::to_string(line)) +
         u" (counting from 1) " + what + kRefused;
}

// Adds the line at the end of the file; gives its number.
std::size_t AppendLine(const fs::path& file, const std::string& line) {
  std::size_t number = 0;
  Replace(file, [&](std::string text) {
    if (!text.empty() && text.back() != '\n') text += "\r\n";
    number = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    return text + line + "\r\n";
  });
  return number;
}

// Field `field` (from 0) of the first data row of the table whose first field
// is `key` (any row when empty) set to the text; the case's refusal names
// the row's line and the field counting from 1 with `what`.
sHostileCase SetField(const char* name, const char* file, std::string key, int field, std::string text,
                      std::u16string what) {
  return {name,
          [=](const fs::path& save, const std::u16string& folder) {
            const sTable table(save / file);
            const auto row = table.Find([&](std::size_t r) { return key.empty() || table.Field(r, 0) == key; });
            EXPECT_TRUE(row.has_value()) << file << " " << key;
            Set(save, file, *row, field, text);
            return Refusal(folder, file, table.data[*row] + 1, what);
          },
          true};
}

// The line added to the end of the file.
sHostileCase AddLine(const char* name, const char* file, std::string line, std::u16string what) {
  return {name,
          [=](const fs::path& save, const std::u16string& folder) {
            return Refusal(folder, file, AppendLine(save / file, line), what);
          },
          true};
}

// The save's reports.dat changed by `change`, which gives what the refusal
// says of the file after its name.
sHostileCase ReportsChanged(const char* name, std::function<std::u16string(std::string& bytes)> change) {
  return {name,
          [=](const fs::path& save, const std::u16string& folder) {
            std::u16string what;
            Replace(save / "reports.dat", [&](std::string bytes) {
              what = change(bytes);
              return bytes;
            });
            return u"ERROR: " + folder + u"\\reports.dat " + what;
          },
          true};
}

// The first data row of the table whose first field is `kind` (any row when
// empty) added again at the end; the refusal names the second line, the key
// (`label` and field `keyField` from 0) and the first line.
sHostileCase RepeatRow(const char* name, const char* file, std::string kind, std::size_t keyField,
                       std::u16string label) {
  return {name,
          [=](const fs::path& save, const std::u16string& folder) {
            const sTable table(save / file);
            const auto row = table.Find([&](std::size_t r) { return kind.empty() || table.Field(r, 0) == kind; });
            EXPECT_TRUE(row.has_value()) << file << " " << kind;
            std::string line = table.lines[table.data[*row]];
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return Refusal(folder, file, AppendLine(save / file, line),
                           u"repeats the line with " + label + Text(table.Field(*row, keyField)) +
                               u", first at line " + Text(std::to_string(table.data[*row] + 1)) +
                               u", where the game writes one line for each");
          },
          true};
}

void SetU32(std::string& bytes, std::size_t at, std::uint32_t value) {
  std::string field;
  AppendU32(field, value);
  bytes.replace(at, 4, field);
}

// Where each report of the file starts, the header aside.
std::vector<std::size_t> ReportStarts(const std::string& bytes) {
  std::vector<std::size_t> starts;
  for (std::size_t at = 9; at + 32 <= bytes.size(); at += 32 + 2 * std::size_t{ReadU32(bytes, at + 28)}) {
    starts.push_back(at);
  }
  EXPECT_GE(starts.size(), 2u);
  EXPECT_EQ(ReadU32(bytes, 5), starts.size());
  return starts;
}

// Field `at` (0 the type ... 24 the country, 28 the text's length) of the
// first report set to the value.
sHostileCase FirstReportField(const char* name, std::size_t at, std::int32_t value, std::u16string what) {
  return ReportsChanged(name, [=](std::string& bytes) {
    SetU32(bytes, 9 + at, static_cast<std::uint32_t>(value));
    return what;
  });
}

std::u16string Number(std::size_t n) { return Text(std::to_string(n)); }

// A field of the first data row of the table (of the kind, when given) with a
// blank before its value.
sHostileCase BlankBefore(const char* name, const char* file, std::string kind, int field, std::u16string written) {
  return {name,
          [=](const fs::path& save, const std::u16string& folder) {
            const sTable table(save / file);
            const auto row = table.Find([&](std::size_t r) { return kind.empty() || table.Field(r, 0) == kind; });
            EXPECT_TRUE(row.has_value()) << file << " " << kind;
            const std::string text = " " + table.Field(*row, static_cast<std::size_t>(field));
            Set(save, file, *row, field, text);
            return Refusal(folder, file, table.data[*row] + 1,
                           u"has \"" + Text(text) + u"\" in field " + Text(std::to_string(field + 1)) + u" " +
                               written);
          },
          true};
}

// The byte (or the two bytes from it) of the record of the first land hex
// set to the value; the refusal names the hex, its record and the field.
sHostileCase MapValue(const char* name, std::size_t offset, int value, std::u16string what) {
  return {name,
          [=](const fs::path& save, const std::u16string& folder) {
            test::sMapFile map(save / "map.qel");
            const auto [x, y] = map.FindLand();
            map.Byte(x, y, static_cast<int>(offset)) = static_cast<unsigned char>(value & 0xFF);
            if (value > 0xFF) map.Byte(x, y, static_cast<int>(offset) + 1) = static_cast<unsigned char>(value >> 8);
            map.Write(save / "map.qel");
            return u"ERROR: " + folder + u"\\map.qel gives hex (" + Text(std::to_string(x)) + u", " +
                   Text(std::to_string(y)) + u") (record " + Text(std::to_string(y * map.width + x)) + u") the " +
                   what + kRefused;
          },
          true};
}

// The value of the Info.ini key (its name without its section) set to the
// text; `what` gives the refusal for the save's own length in turns.
sHostileCase InfoValue(const char* name, std::string key, std::string value,
                       std::u16string (*what)(const std::string& turns)) {
  return {name,
          [=](const fs::path& save, const std::u16string& folder) {
            std::size_t line = 0;
            std::string turns;
            Replace(save / "Info.ini", [&](std::string info) {
              const std::size_t length = info.find("\nTurns = ") + 9;
              turns = info.substr(length, info.find('\r', length) - length);
              const std::size_t at = info.find("\n" + key + " = ");
              EXPECT_NE(at, std::string::npos) << key;
              line = static_cast<std::size_t>(std::count(info.begin(), info.begin() + at + 1, '\n')) + 1;
              return info.replace(at + 1, info.find('\r', at) - at - 1, key + " = " + value);
            });
            return Refusal(folder, "Info.ini", line, what(turns));
          },
          true};
}

class HostileSaveValues : public HostileSaveCase {};

TEST_P(HostileSaveValues, IsRefusedNamingTheFileLineAndField) { Check(); }

INSTANTIATE_TEST_SUITE_P(
    Values, HostileSaveValues,
    testing::Values(
        AddLine("FlagValueAsText", "flags.txt", "2;abc;", u"has \"abc\" in field 2 (Flag value), where the game writes a whole number"),
        AddLine("FlagValueMinusZero", "flags.txt", "2;-0;", u"has \"-0\" in field 2 (Flag value), where the game writes a whole number"),
        SetField("SupplyInfoAsText", "cities_supply_info.csv", "", 2, "ten",
                 u"has \"ten\" in field 3 (Supply), where the game writes a whole number from 0 to 50"),
        SetField("LossesAsText", "losses.csv", "", 3, "lots", u"has \"lots\" in field 4 (Losses dealt), where the game writes a decimal number from "
                 u"-1000000000 to 1000000000"),
        SetField("AiSwitchAsText", "ai_data.csv", "MakesSeaInvasions", 1, "yes", u"has \"yes\" in field 2 (Value), where the game writes a whole number"),
        SetField("AiPriceAsText", "ai_data.csv", "NewUnitPurchaseData", 4, "cheap",
                 u"has \"cheap\" in field 5 (Air price), where the game writes a decimal number"),
        SetField("AiWholeValueAsDecimal", "ai_data.csv", "MaxUnitCountOnFront", 1, "15.5",
                 u"has \"15.5\" in field 2 (Value), where the game writes a whole number"),
        SetField("AiCountryWithTextAfterIt", "ai_data.csv", "Country", 1, "2nd",
                 u"has \"2nd\" in field 2 (Country), where the game writes a whole number from 1 to 255"),
        AddLine("FrontStatePastTheThree", "ai_memory.csv", "Front;2;77;0;0;0;0;0;0;0;0;0;0;1;3;",
                u"has \"77\" in field 3 (State), where the game writes a whole number from 0 to 2"),
        // An empty field where the game writes a value: it would shift every later one.
        SetField("SupplyInfoEmptyField", "cities_supply_info.csv", "", 4, "",
                 u"has field 5 (Supply) empty, where the game writes a whole number from 0 to 50"),
        SetField("ConvoyInfoEmptyField", "cities_convoy_info.csv", "", 4, "",
                 u"has field 5 (Convoy) empty, where the game writes a whole number from 0 to 1"),
        SetField("AiListEmptyField", "ai_data.csv", "DesiredTechLevels", 2, "",
                 u"has field 3 (Value) empty, where the game writes a whole number"),
        SetField("NavalEmptyField", "naval_units.csv", "", 5, "", u"has field 6 (HP) empty, where the game writes a whole number from 0 to 1000000"),
        // A war cell that read as peace or war.
        SetField("WarCellAsText", "relations.csv", "", 2, "abc", u"has \"abc\" in field 3 (At war), where the game writes a whole number from 0 to 1"),
        SetField("WarCellBelowZero", "relations.csv", "", 2, "-1", u"has \"-1\" in field 3 (At war), where the game writes a whole number from 0 to 1"),
        // Text in a number column, read as its leading number or 0.
        AddLine("ReconHexAsText", "airrecon_units.csv", "abc;3;",
                u"has \"abc\" in field 1 (Hex X), where the game writes a whole number from -1 to 65534"),
        AddLine("AutoEventOptionAsText", "auto_events.csv", "1;abc", u"has \"abc\" in field 2 (Favoured option ID), where the game writes a whole number"),
        AddLine("AutoEventOptionPast32Bits", "auto_events.csv", "1;2147483648",
                u"has \"2147483648\" in field 2 (Favoured option ID), where the game writes a whole number"),
        SetField("FleetNumberWithText", "fleets.csv", "", 3, "12abc", u"has \"12abc\" in field 4 (Sea node ID), where the game writes a whole number from 1 to 65535"),
        SetField("CityTypeAsText", "cities.csv", "", 3, "port",
                 u"has \"port\" in field 4 (Type), where the game writes a whole number from 0 to 4"),
        SetField("SeaNodeMarkerAsText", "sea_nodes.csv", "", 6, "x", u"has \"x\" in field 7 (Player unit hex X), where the game writes a whole number"),
        // A switch the game writes as 0 or 1.
        SetField("LandSwitchPastOne", "land_units.csv", "", 16, "99999",
                 u"has \"99999\" in field 17 (InReserve), where the game writes a whole number from 0 to 1"),
        SetField("AirSwitchPastOne", "air_units.csv", "", 17, "2", u"has \"2\" in field 18 (Air recon done?), where the game writes a whole number from 0 to 1"),
        SetField("CountryActiveBelowZero", "countries.csv", "", 1, "-1",
                 u"has \"-1\" in field 2 (IsActive?), where the game writes a whole number from 0 to 1"),
        // A value out of its range, which a scenario's file is held or left out for.
        SetField("CommanderSkillPastItsEnd", "commanders.csv", "", 4, "999999",
                 u"has \"999999\" in field 5 (Skill), where the game writes a whole number from 0 to 100"),
        // A second value where the game writes one.
        SetField("TopographyCountryTwice", "topography.csv", "Country", 1, "1;2",
                 u"has 3 fields, more than the 2 of its line"),
        AddLine("FlagWithAThirdField", "flags.txt", "2;5;7;", u"has 3 fields, more than the 2 of a line"),
        sHostileCase{"UnitStateTwiceForOneUnit",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable state(save / "unit_state.csv");
                       const auto land = state.Find([&](std::size_t r) { return state.Field(r, 0) == "Land"; });
                       EXPECT_TRUE(land.has_value());
                       const std::string id = state.Field(*land, 1);
                       const std::size_t line = AppendLine(save / "unit_state.csv", "Land;" + id + ";1;5;");
                       return Refusal(folder, "unit_state.csv", line,
                                      u"names the Land unit ID=" + Text(id) + u" a second time (first at line " +
                                          Text(std::to_string(state.data[*land] + 1)) + u")");
                     },
                     true},
        // reports.dat: its tag, its count against the reports that follow, each field.
        ReportsChanged("ReportsOfAnotherTag",
                       [](std::string& bytes) {
                         bytes.replace(0, 5, "Qelv2");
                         return u"does not begin with the tag \"Qelv1\" the game writes";
                       }),
        ReportsChanged("ReportsCountedAsNone",
                       [](std::string& bytes) {
                         SetU32(bytes, 5, 0);
                         return u"holds " + Number(bytes.size() - 9) + u" bytes past the last of the 0 reports";
                       }),
        ReportsChanged("ReportsCountedOneFewer",
                       [](std::string& bytes) {
                         const std::vector<std::size_t> starts = ReportStarts(bytes);
                         SetU32(bytes, 5, static_cast<std::uint32_t>(starts.size() - 1));
                         return u"holds " + Number(bytes.size() - starts.back()) + u" bytes past the last of the " +
                                Number(starts.size() - 1) + u" reports its count gives";
                       }),
        ReportsChanged("ReportsCountedOneMore",
                       [](std::string& bytes) {
                         const std::size_t count = ReportStarts(bytes).size() + 1;
                         SetU32(bytes, 5, static_cast<std::uint32_t>(count));
                         return u"ends inside report " + Number(count) + u" of the " + Number(count) +
                                u" its count gives (cut short?)";
                       }),
        FirstReportField("ReportTextPastAnyFile", 28, 0x7fffffff,
                         u"gives report 1 a text of 2147483647 characters, more than a file of 67108864 bytes holds"),
        FirstReportField("ReportOfNoKind", 0, 4, u"gives report 1 a type of 4, which is no kind of report"),
        FirstReportField("ReportMonthPastTwelve", 8, 13, u"gives report 1 a month of 13, where the game writes 0 to 12"),
        FirstReportField("ReportTurnBelowZero", 16, -7, u"gives report 1 a turn of -7, where the game writes 0 to "),
        FirstReportField("ReportCountryBelowZero", 24, -5, u"gives report 1 a country of -5, where the game writes 0 to "),
        FirstReportField("ReportCountryPastTheGame", 24, 99999,
                         u"gives report 1 a country of 99999, where the game writes 0 to "),
        // A key the game writes once: a second line would win over the first or be lost beside it.
        RepeatRow("RelationsRowTwice", "relations.csv", "", 0, u"field 1 (Country ID) "),
        RepeatRow("LossesRowTwice", "losses.csv", "", 0, u"field 1 (Country ID) "),
        RepeatRow("ConvoyTwice", "convoys.csv", "", 0, u"field 1 (ID) "),
        RepeatRow("AiCountsTwice", "ai_memory.csv", "Counts", 1, u"field 2 (Cities diagram node) "),
        // Each key the game writes once, given twice: the second would win over the first or make a second object.
        RepeatRow("CommanderTwice", "commanders.csv", "", 0, u"field 1 (ID) "),
        RepeatRow("FlagTwice", "flags.txt", "", 0, u"field 1 (Flag number) "),
        RepeatRow("UnitStateNodeTwice", "unit_state.csv", "Node", 1, u"field 2 (Node ID) "),
        RepeatRow("SeaNodeTwice", "sea_nodes.csv", "", 0, u"field 1 (ID) "),
        RepeatRow("AutoEventTwice", "auto_events.csv", "", 0, u"field 1 (Event ID) "),
        RepeatRow("CountryTwice", "countries.csv", "", 0, u"field 1 (ID) "),
        sHostileCase{"AiWaitTwice",
                     [](const fs::path& save, const std::u16string& folder) {
                       const std::size_t first = AppendLine(save / "ai_memory.csv", "Waiting;1;5;0;3;");
                       return Refusal(folder, "ai_memory.csv", AppendLine(save / "ai_memory.csv", "Waiting;1;5;1;3;"),
                                      u"repeats the line with field 2 (Country) 1, field 3 (Land unit ID) 5, first at "
                                      u"line " + Text(std::to_string(first)) + u", where the game writes one line for each");
                     },
                     true},
        // A value past the kinds the game writes, which loaded as one of them or was kept.
        SetField("ConvoyKindPastTheTwo", "convoys.csv", "", 2, "99999", u"has \"99999\" in field 3 (Type), where the game writes a whole number from 0 to 1"),
        SetField("ConvoyKindBelowZero", "convoys.csv", "", 2, "-1", u"has \"-1\" in field 3 (Type), where the game writes a whole number from 0 to 1"),
        SetField("AiVisitedBelowZero", "ai_memory.csv", "Counts", 2, "-1", u"has \"-1\" in field 3 (Visited), where the game writes a whole number from 0 to 1"),
        SetField("AiVisitedPastOne", "ai_memory.csv", "Counts", 2, "99999",
                 u"has \"99999\" in field 3 (Visited), where the game writes a whole number from 0 to 1"),
        MapValue("MapWeatherPastMud", 34, 200, u"weather 200, where the game writes 0 to 2"),
        MapValue("MapMudChancePastAHundred", 10 + 4, 250, u"mud chance of month 5 250, where the game writes 0 to 100"),
        MapValue("MapWinterChancePastAHundred", 22, 101, u"winter chance of month 1 101, where the game writes 0 to 100"),
        MapValue("MapTerrainPastDesert", 0, 255, u"terrain 255, where the game writes 0 to 7"),
        MapValue("MapVariantPastTheSixth", 5, 6, u"variant 6, where the game writes 0 to 5"),
        MapValue("MapRiverTopBit", 2, 0x81, u"rivers 129, where the game writes 0 to 127"),
        MapValue("MapKindPastNoWeather", 35, 3, u"kind 3, where the game writes 0 to 2"),
        MapValue("MapKindHighByte", 35, 0x100, u"kind 256, where the game writes 0 to 2"),
        sHostileCase{"MapSeaZonePastTheNodes",
                     [](const fs::path& save, const std::u16string& folder) {
                       test::sMapFile map(save / "map.qel");
                       const auto [x, y] = map.FindLand();
                       map.Byte(x, y, 3) = map.Byte(x, y, 4) = 0xFF;
                       map.Write(save / "map.qel");
                       return u"ERROR: " + folder + u"\\map.qel gives hex (" + Text(std::to_string(x)) + u", " +
                              Text(std::to_string(y)) + u") the sea zone 65535, where the game writes 0 to ";
                     },
                     true},
        // A blank before a number, which read as the number.
        BlankBefore("RelationsCellAfterABlank", "relations.csv", "", 2, u"(At war), where the game writes a whole number from 0 to 1"),
        BlankBefore("RelationsCountryAfterABlank", "relations.csv", "", 0,
                    u"(Country ID), where the game writes a whole number from 1 to 255"),
        BlankBefore("LossesAfterABlank", "losses.csv", "", 3,
                    u"(Losses dealt), where the game writes a decimal number from -1000000000 to 1000000000"),
        BlankBefore("ConvoyOwnerAfterABlank", "convoys.csv", "", 1,
                    u"(Owner ID), where the game writes a whole number from 1 to 255"),
        BlankBefore("AiCountsAfterABlank", "ai_memory.csv", "Counts", 1,
                    u"(Cities diagram node), where the game writes a whole number from 0 to 2147483647"),
        sHostileCase{"ScenarioLengthAsText",
                     [](const fs::path& save, const std::u16string& folder) {
                       std::size_t line = 0;
                       Replace(save / "Info.ini", [&line](std::string info) {
                         const std::size_t at = info.find("\nTurns = ");
                         EXPECT_NE(at, std::string::npos);
                         line = static_cast<std::size_t>(std::count(info.begin(), info.begin() + at + 1, '\n')) + 1;
                         return info.replace(at + 1, info.find('\r', at) - at - 1, "Turns = abc");
                       });
                       return Refusal(folder, "Info.ini", line,
                                      u"gives \"abc\" as the number of turns the game lasts, where "
                                      u"the game writes a whole number from 0 to 1000000");
                     },
                     true},
        // Info.ini: each number the save writes within the values it writes there.
        InfoValue("LengthBelowZero", "Turns", "-1",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"-1\" as the number of turns the game lasts, where the game "
                           u"writes a whole number from 0 to 1000000";
                  }),
        InfoValue("TurnBelowZero", "Turn", "-1",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"-1\" as the turn of the game, where the game writes a whole number "
                           u"from 0 to 1000000";
                  }),
        InfoValue("TurnPastTheLength", "Turn", "99999",
                  [](const std::string& turns) -> std::u16string {
                    return u"gives 99999 as the turn of the game, past the " + Text(turns) +
                           u" turns the game lasts";
                  }),
        InfoValue("MonthPastTheYear", "GameMonth", "99999",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"99999\" as the month of the game, where the game writes a whole "
                           u"number from 0 to 12";
                  }),
        InfoValue("MonthPast32Bits", "GameMonth", "2147483648",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"2147483648\" as the month of the game, where the game writes a "
                           u"whole number from 0 to 12";
                  }),
        InfoValue("ImpulseBelowZero", "Impulse", "-1",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"-1\" as the impulse of the turn, where the game writes a whole "
                           u"number from 0 to 1000";
                  }),
        InfoValue("VersionAsText", "GameVersion", "abc",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"abc\" as the version of the program that saved it, where the "
                           u"game writes a version from 1.00 to 1.02";
                  }),
        // A number the game writes without a sign or a leading zero: "05" or "+5" would be written back as 5.
        InfoValue("ImpulseWithALeadingZero", "Impulse", "02",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"02\" as the impulse of the turn, where the game writes a whole "
                           u"number from 0 to 1000";
                  }),
        InfoValue("TurnWithAPlus", "Turn", "+2",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"+2\" as the turn of the game, where the game writes a whole number "
                           u"from 0 to 1000000";
                  }),
        InfoValue("ImpulseEmpty", "Impulse", "",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"\" as the impulse of the turn, where the game writes a whole "
                           u"number from 0 to 1000";
                  }),
        InfoValue("TurnAfterABlank", "Turn", " 5",
                  [](const std::string&) -> std::u16string {
                    return u"holds the turn of the game other than as \"key = value\", the way the game "
                           u"writes it";
                  }),
        sHostileCase{"InfoKeyTwice",
                     [](const fs::path& save, const std::u16string& folder) {
                       std::size_t line = 0;
                       Replace(save / "Info.ini", [&line](std::string info) {
                         const std::size_t at = info.find("\nImpulse = ") + 1;
                         const std::size_t end = info.find('\n', at) + 1;
                         line = static_cast<std::size_t>(std::count(info.begin(), info.begin() + end, '\n')) + 1;
                         return info.insert(end, "Impulse = 1\r\n");
                       });
                       return Refusal(folder, "Info.ini", line, u"repeats Save/Impulse, which the game writes once");
                     },
                     true}),
    [](const auto& info) { return std::string(info.param.name); });

// The sound saves beside the refused ones. A save the game wrote with values
// at the ends of what it writes (flags at the 32-bit bounds, negative and
// largest losses, both switches, a front in each state, a hex at the top
// fort, weather and chances, a convoy of production points, a visited node
// of the cities diagram) loads without a
// warning and is written back byte for byte, automatic events' options at
// the 32-bit ends and a unit spotted from the air too; one with two land
// units of one number, which the unit tables load, loads with both units'
// lines.
class SavedValuesAtTheirEnds : public HostileSave {};

TEST_F(SavedValuesAtTheirEnds, LoadAndAreWrittenBackByteForByte) {
  Copy("Ends");
  ASSERT_TRUE(Load());
  game_->flags.front() = INT_MAX;
  game_->flags.back() = INT_MIN;
  game_->relations.AddLosses(1, 2, -1.0f);
  game_->relations.AddLosses(2, 1, 2.5f);
  game_->relations.AddLosses(3, 1, 3e9f);
  game_->relations.AddLosses(1, 3, -3e9f);
  game_->countries[0]->aiSettings.MakesSeaInvasions = 1;
  game_->countries[1]->aiSettings.MakesSeaInvasions = 0;
  game_->countries[0]->aiSettings.TransportsUnitsToFrontsBySea = 0;
  game_->countries[1]->aiSettings.TransportsUnitsToFrontsBySea = 1;
  game_->countries[1]->aiSettings.MinRatioToPatchFront = 0.1234567f;
  cCountryAI& ai = CountryAiOf(*game_, *game_->countries[1]);
  ai.fronts.clear();
  for (const std::int32_t state : {kFrontHolding, kFrontThreatened, kFrontCritical}) {
    sFront front;
    front.state = state;
    front.cities.push_back(game_->citiesDiagram.GetNode(state));
    ai.fronts.push_back(front);
  }
  // Automatic events' options at the 32-bit ends, and a unit spotted from the air.
  game_->autoEvents.pairs.clear();
  ASSERT_GE(game_->events->events.size(), 2u);
  game_->autoEvents.AddIfNew(game_->events->events.front().eventID, INT_MIN);
  game_->autoEvents.AddIfNew(game_->events->events.back().eventID, INT_MAX);
  game_->countries[0]->reconSpottedUnits = {game_->landUnits.back().get()};
  // Reports at the ends of what the game writes: the last kind, the last
  // country, the stamp's ends, and the stamp without a running game.
  sReport report;
  report.type = kReportCheating;
  report.country = game_->CountryCount();
  report.text = u"\xFFFF\xD800";
  game_->reports.Add(report, {kMaxTurnCount, 12, 31, kMaxTurnCount});
  report.type = kReportLandAttack;
  report.country = 1;
  game_->reports.Add(report, {});
  const std::size_t reports = game_->reports.Reports().size();
  // The map's bytes at the top of what the game writes, the last sea zone,
  // a convoy of production points and a node of the diagram visited.
  const auto [landX, landY] = test::sMapFile(root_->path() / "data/save/Ends/map.qel").FindLand();
  sHex& land = *game_->map->GetHex(landX, landY);
  land.fortLevel = kMaxStoredFortLevel;
  land.weather = kMaxWeatherCode;
  land.mudChance.fill(kMaxChancePercent);
  land.winterChance.fill(kMaxChancePercent);
  const int lastZone = game_->seaGraph.NodeCount();
  sHex* lastZoneHex = nullptr;
  for (int y = 0; y < game_->map->GetHeight() && lastZoneHex == nullptr; ++y) {
    for (int x = 0; x < game_->map->GetWidth() && lastZoneHex == nullptr; ++x) {
      if (game_->map->GetHex(x, y)->seaZone == lastZone) lastZoneHex = game_->map->GetHex(x, y);
    }
  }
  ASSERT_NE(lastZoneHex, nullptr) << "no hex of sea zone " << lastZone;
  ASSERT_FALSE(game_->convoys.convoys.empty());
  sConvoy* convoy = nullptr;
  for (auto& list : game_->convoys.convoys) {
    if (convoy == nullptr && !list.empty()) convoy = &list.front();
  }
  ASSERT_NE(convoy, nullptr);
  convoy->kind = kConvoyResources;
  game_->citiesDiagram.GetNode(0)->visited = 1;
  SaveAs(u"AtTheEnds");
  test::LogCapture log;
  ASSERT_TRUE(Load());
  for (const std::u16string& line : log.lines()) {
    EXPECT_FALSE(line.starts_with(u"WARNING") || line.starts_with(u"ERR")) << Utf16ToUtf8(line);
  }
  EXPECT_EQ(game_->flags.front(), INT_MAX);
  EXPECT_EQ(game_->flags.back(), INT_MIN);
  EXPECT_EQ(game_->relations.GetLosses(3, 1), kMaxLosses);
  EXPECT_EQ(game_->relations.GetLosses(1, 3), -kMaxLosses);
  EXPECT_EQ(game_->countries[1]->aiSettings.TransportsUnitsToFrontsBySea, 1);
  std::vector<std::int32_t> states;
  for (const sFront& front : CountryAiOf(*game_, *game_->countries[1]).fronts) states.push_back(front.state);
  EXPECT_EQ(states, (std::vector<std::int32_t>{kFrontHolding, kFrontThreatened, kFrontCritical}));
  ASSERT_EQ(game_->autoEvents.pairs.size(), 2u);
  EXPECT_EQ(game_->autoEvents.pairs.front().second, INT_MIN);
  EXPECT_EQ(game_->autoEvents.pairs.back().second, INT_MAX);
  EXPECT_EQ(game_->countries[0]->reconSpottedUnits.size(), 1u);
  EXPECT_EQ(game_->reports.Reports().size(), reports);
  EXPECT_EQ(game_->citiesDiagram.GetNode(0)->visited, 1);
  SaveAs(u"AgainAtTheEnds");
  const fs::path saves = root_->path() / "data/save";
  EXPECT_EQ(test::ReadFolderBytes(saves / "AgainAtTheEnds"), test::ReadFolderBytes(saves / "AtTheEnds"));
}

TEST_F(SavedValuesAtTheirEnds, TwoLandUnitsOfOneNumberLoadWithALineEach) {
  Copy("Shared");
  ASSERT_TRUE(Load());
  ASSERT_GE(game_->landUnits.size(), 2u);
  const int id = game_->landUnits.front()->id;
  game_->landUnits.back()->id = id;
  SaveAs(u"SharedNumber");
  const sTable state(root_->path() / "data/save/SharedNumber/unit_state.csv");
  std::size_t lines = 0;
  for (std::size_t r = 0; r < state.data.size(); ++r) {
    lines += state.Field(r, 0) == "Land" && state.Field(r, 1) == std::to_string(id) ? 1 : 0;
  }
  EXPECT_EQ(lines, 2u);
  test::LogCapture log;
  EXPECT_TRUE(Load());
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
}

// A turn received by e-mail is read as strictly as a save: the convoy bit 7
// refuses it, naming the file in the folder it came in, where the same turn
// as sent loads.
TEST_F(SavedValuesAtTheirEnds, AReceivedTurnIsReadAsASaveIs) {
  const fs::path turn = root_->path() / "data/pbem/Duel";
  fs::remove_all(turn);
  fs::copy(root_->path() / "data/save" / test::kBaseSave, turn);
  Replace(turn / "Info.ini", [](std::string info) {
    const std::size_t at = info.find("[Save]\r\n");
    EXPECT_NE(at, std::string::npos);
    return info.insert(at + 8, "PBEMGameName = Duel\r\n");
  });
  const auto load = [] {
    try {
      LoadNewScenario(u"data\\pbem\\Duel\\%s", 1);
    } catch (const FatalExitError& error) {
      EXPECT_EQ(error.code(), 1);
      delete gGame;
      gGame = nullptr;
      return false;
    }
    EXPECT_EQ(gGame->pbemGame, 1);
    delete gGame;
    gGame = nullptr;
    return true;
  };
  SetGameRoot(root_->path());
  test::LogCapture log;
  EXPECT_TRUE(load());
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  const sTable convoys(turn / "cities_convoy_info.csv");
  Set(turn, "cities_convoy_info.csv", 0, 2, "7");
  log.Clear();
  EXPECT_FALSE(load());
  EXPECT_TRUE(log.Contains(Refusal(u"data\\pbem\\Duel", "cities_convoy_info.csv", convoys.data[0] + 1,
                                   u"has \"7\" in field 3 (Convoy), where the game writes a whole number from 0 to 1")));
}

}  // namespace
}  // namespace tr
