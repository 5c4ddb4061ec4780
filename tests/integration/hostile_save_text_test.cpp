// A save of the sample in the forms an editor or another program may give
// its text: each is read as the game wrote it, or refused or mended with a
// line naming the file and the row.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "hostile_save.h"

namespace tr {
namespace {

using test::HostileSave;
using test::HostileSaveCase;
using test::kScenario;
using test::Replace;
using test::Set;
using test::sHostileCase;
using test::sMapFile;
using test::sTable;
using test::Text;
namespace fs = std::filesystem;

class HostileSaveText : public HostileSaveCase {};

TEST_P(HostileSaveText, IsRefusedOrMendedWithALineNamingTheFile) { Check(); }

// The text of a table or INI file as an editor or another program may write
// it: a byte-order mark, other line ends, numbers the readers would read by
// their first digits, rows run together.
// The refusal of the file at the line, for what it holds.
std::u16string Refusal(const std::u16string& folder, const char* file, const std::string& line,
                       const std::u16string& what) {
  return u"ERROR: " + folder + u"\\" + Text(file) + u" at line " + Text(line) + u" (counting from 1) " + what +
         u"; the game writes the files of a saved game whole, so the file is damaged and the game is not loaded";
}

std::string LandUnitsLine(const fs::path& save, std::size_t row) {
  return std::to_string(sTable(save / "land_units.csv").data[row] + 1);
}

// Text in place of a number the save writes into its Info.ini, which would
// read as 0 or as the digits before it: refused, naming the file, the line
// and, in the player's words, the number.
sHostileCase SavedNumberAsText(const char* name, std::string key, std::string text, std::u16string what) {
  return {name,
          [=](const fs::path& save, const std::u16string& folder) {
            std::string line;
            Replace(save / "Info.ini", [&](std::string info) {
              const std::size_t at = info.find("\n" + key + " = ");
              EXPECT_NE(at, std::string::npos) << key;
              line = std::to_string(std::count(info.begin(), info.begin() + at + 1, '\n') + 1);
              return info.replace(at + 1, info.find('\r', at) - at - 1, key + " = " + text);
            });
            return u"ERROR: " + folder + u"\\Info.ini at line " + Text(line) + u" (counting from 1) gives \"" +
                   Text(text) + u"\" as " + what + u", where the game writes a whole number";
          },
          true};
}

INSTANTIATE_TEST_SUITE_P(
    Text, HostileSaveText,
    testing::Values(
        sHostileCase{"ByteOrderMarkBeforeCities",
                     [](const fs::path& save, const std::u16string& folder) {
                       Replace(save / "cities.csv", [](const std::string& text) { return "\xEF\xBB\xBF" + text; });
                       return u"NOTE: " + folder + u"\\cities.csv starts with a UTF-8 byte-order mark; the mark is "
                                                   u"skipped";
                     },
                     false,
                     [](const cGame& game) {
                       // The header line stays a comment: no city is made of it.
                       for (const auto& city : game.cities) {
                         EXPECT_FALSE(city->name.starts_with(u"\u00EF") || city->name.find(u'#') != std::u16string::npos)
                             << Utf16ToUtf8(city->name);
                       }
                     }},
        sHostileCase{"ByteOrderMarkBeforeInfoIni",
                     [](const fs::path& save, const std::u16string& folder) {
                       Replace(save / "Info.ini", [](const std::string& text) { return "\xEF\xBB\xBF" + text; });
                       return u"NOTE: " + folder + u"\\Info.ini starts with a UTF-8 byte-order mark; the mark is "
                                                   u"skipped";
                     },
                     false},
        sHostileCase{"InfoIniWithCrLineEnds",
                     [](const fs::path& save, const std::u16string& folder) {
                       Replace(save / "Info.ini", [](std::string text) {
                         std::erase(text, '\n');
                         return text;
                       });
                       return u"Loading INI file " + folder + u"\\Info.ini";
                     },
                     false,
                     [](const cGame& game) { EXPECT_GT(game.date.year, 1); }},
        sHostileCase{"NumberWrittenInHex",
                     [](const fs::path& save, const std::u16string& folder) {
                       Set(save, "land_units.csv", 0, 8, "0x17");
                       return Refusal(folder, "land_units.csv", LandUnitsLine(save, 0),
                                      u"has \"0x17\" in field 9 (Action Points), where the game writes a whole "
                                      u"number from 0 to 100000");
                     },
                     true},
        sHostileCase{"ExponentInAWholeNumber",
                     [](const fs::path& save, const std::u16string& folder) {
                       Set(save, "land_units.csv", 1, 13, "1.4e1");
                       return Refusal(folder, "land_units.csv", LandUnitsLine(save, 1),
                                      u"has \"1.4e1\" in field 14 (Starting AP), where the game writes a whole "
                                      u"number from 0 to 100000");
                     },
                     true},
        sHostileCase{"WholeNumberBeyond32Bits",
                     [](const fs::path& save, const std::u16string& folder) {
                       Set(save, "land_units.csv", 0, 18, "99999999999");
                       return Refusal(folder, "land_units.csv", LandUnitsLine(save, 0),
                                      u"has \"99999999999\" in field 19 (Freeze time), where the game writes a whole number "
                                      u"from 0 to 1000000");
                     },
                     true},
        sHostileCase{"CountryNumberWithText",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable countries(save / "countries.csv");
                       Set(save, "countries.csv", 0, 7, "1st");
                       return Refusal(folder, "countries.csv", std::to_string(countries.data[0] + 1),
                                      u"has \"1st\" in field 8 (Alliance), where the game writes a whole number from 0 to 6");
                     },
                     true},
        sHostileCase{"ProductionBeyond32Bits",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable cities(save / "cities.csv");
                       Set(save, "cities.csv", 0, 5, "1e38");
                       return Refusal(folder, "cities.csv", std::to_string(cities.data[0] + 1),
                                      u"has \"1e38\" in field 6 (Production Points), where the game writes a decimal number "
                                      u"from 0 to 1000000");
                     },
                     true},
        sHostileCase{"TwoRowsOnOneLine",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable units(save / "land_units.csv");
                       const std::size_t first = units.data[0];
                       Replace(save / "land_units.csv", [&](const std::string& text) {
                         std::size_t at = 0;
                         for (std::size_t i = 0; i <= first; ++i) at = text.find('\n', at) + 1;
                         // The line end of the first row is lost: the next row goes on after it.
                         const std::size_t end = text.rfind('\r', at) == at - 2 ? at - 2 : at - 1;
                         return text.substr(0, end) + text.substr(at);
                       });
                       return Refusal(folder, "land_units.csv", std::to_string(first + 1),
                                      u"has more than the 33 fields of a row");
                     },
                     true},
        sHostileCase{"RowOf65536Fields",
                     [](const fs::path& save, const std::u16string& folder) {
                       const sTable units(save / "land_units.csv");
                       const std::size_t first = units.data[0];
                       Replace(save / "land_units.csv", [&](const std::string& text) {
                         std::size_t at = 0;
                         for (std::size_t i = 0; i <= first; ++i) at = text.find('\n', at) + 1;
                         const std::size_t end = text.rfind('\r', at) == at - 2 ? at - 2 : at - 1;
                         std::string padding;
                         for (int i = 33; i < 65536; ++i) padding += "1;";
                         return text.substr(0, end) + padding + text.substr(end);
                       });
                       return Refusal(folder, "land_units.csv", std::to_string(first + 1),
                                      u"has more than the 33 fields of a row");
                     },
                     true},
        sHostileCase{"ForeignCommanderOnARepeatedNumber",
                     [](const fs::path& save, const std::u16string& folder) {
                       // The message names the row of the unit, not the first row with its number.
                       const sTable units(save / "land_units.csv");
                       const sTable commanders(save / "commanders.csv");
                       const auto unit = units.Find([&](std::size_t r) {
                         return r > 0 && units.Field(r, 15) == "-1" && units.Field(r, 16) == "0";
                       });
                       EXPECT_TRUE(unit.has_value());
                       const auto foreign = commanders.Find(
                           [&](std::size_t r) { return commanders.Field(r, 2) != units.Field(*unit, 2); });
                       EXPECT_TRUE(foreign.has_value());
                       Set(save, "land_units.csv", *unit, 0, units.Field(0, 0));
                       Set(save, "land_units.csv", *unit, 15, commanders.Field(*foreign, 0));
                       return u"ERROR: " + folder + u"\\land_units.csv at line " +
                              Text(std::to_string(units.data[*unit] + 1)) + u" (counting from 1) gives land unit " +
                              Text(units.Field(*unit, 1)) + u" (ID=" + Text(units.Field(0, 0)) + u") of country " +
                              Text(units.Field(*unit, 2)) + u" commander ";
                     },
                     true},
        SavedNumberAsText("TurnAsText", "Turn", "abc", u"the turn of the game"),
        SavedNumberAsText("YearWithTextAfterIt", "GameYear", "1939x", u"the year of the game"),
        SavedNumberAsText("LandUnitNumberingAsText", "LastLandUnitId", "many", u"the numbering of the land units")),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tr
