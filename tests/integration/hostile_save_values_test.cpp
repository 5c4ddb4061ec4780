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
#include <filesystem>
#include <string>
#include <vector>

#include "ai/country_ai.h"
#include "ai/front.h"
#include "events/zdarzenia.h"
#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "hostile_save.h"
#include "support/log_capture.h"
#include "world/game_start.h"
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
        AddLine("FlagValueAsText", "flags.txt", "2;abc;", u"has no whole number in field 2"),
        SetField("SupplyInfoAsText", "cities_supply_info.csv", "", 2, "ten", u"has no whole number in field 3"),
        SetField("LossesAsText", "losses.csv", "", 3, "lots", u"has no number in field 4"),
        SetField("AiSwitchAsText", "ai_data.csv", "MakesSeaInvasions", 1, "yes", u"has no whole number in field 2"),
        SetField("AiPriceAsText", "ai_data.csv", "NewUnitPurchaseData", 4, "cheap", u"has no number in field 5"),
        SetField("AiWholeValueAsDecimal", "ai_data.csv", "MaxUnitCountOnFront", 1, "15.5",
                 u"has no whole number in field 2"),
        SetField("AiCountryWithTextAfterIt", "ai_data.csv", "Country", 1, "2nd", u"has no whole number in field 2"),
        AddLine("FrontStatePastTheThree", "ai_memory.csv", "Front;2;77;0;0;0;0;0;0;0;0;0;0;1;3;",
                u"has 77 in field 3, where the game writes a front's state from 0 to 2"),
        // An empty field where the game writes a value: it would shift every later one.
        SetField("SupplyInfoEmptyField", "cities_supply_info.csv", "", 4, "", u"has no whole number in field 5"),
        SetField("ConvoyInfoEmptyField", "cities_convoy_info.csv", "", 4, "", u"has no whole number in field 5"),
        SetField("AiListEmptyField", "ai_data.csv", "DesiredTechLevels", 2, "", u"has no whole number in field 3"),
        SetField("NavalEmptyField", "naval_units.csv", "", 5, "", u"has field 6 empty, where the game writes a number"),
        // A war cell that read as peace or war.
        SetField("WarCellAsText", "relations.csv", "", 2, "abc", u"has no whole number in field 3"),
        SetField("WarCellBelowZero", "relations.csv", "", 2, "-1", u"has -1 in field 3, where the game writes 0 or 1"),
        // Text in a number column, read as its leading number or 0.
        AddLine("ReconHexAsText", "airrecon_units.csv", "abc;3;", u"has no whole number in field 1"),
        AddLine("AutoEventOptionAsText", "auto_events.csv", "1;abc", u"has no whole number in field 2"),
        AddLine("AutoEventOptionPast32Bits", "auto_events.csv", "1;2147483648",
                u"has a number beyond the 32-bit range in field 2"),
        SetField("FleetNumberWithText", "fleets.csv", "", 3, "12abc", u"has \"12abc\" in field 4, which is not a whole number"),
        SetField("CityTypeAsText", "cities.csv", "", 3, "port", u"has \"port\" in field 4, which is not a whole number"),
        SetField("SeaNodeMarkerAsText", "sea_nodes.csv", "", 6, "x", u"has \"x\" in field 7, which is not a whole number"),
        // A switch the game writes as 0 or 1.
        SetField("LandSwitchPastOne", "land_units.csv", "", 16, "99999",
                 u"has 99999 in field 17, where the game writes 0 or 1"),
        SetField("AirSwitchPastOne", "air_units.csv", "", 17, "2", u"has 2 in field 18, where the game writes 0 or 1"),
        SetField("CountryActiveBelowZero", "countries.csv", "", 1, "-1", u"has -1 in field 2, where the game writes 0 or 1"),
        // A value out of its range, which a scenario's file is held or left out for.
        SetField("CommanderSkillPastItsEnd", "commanders.csv", "", 4, "999999",
                 u"has Commander skill of 999999, a value the game never writes there"),
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
                                      u"gives \"abc\" as the number of turns the game lasts (Duration/Turns), where "
                                      u"the game writes a whole number from 0 to 1000000");
                     },
                     true},
        // Info.ini: each number the save writes within the values it writes there.
        InfoValue("LengthBelowZero", "Turns", "-1",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"-1\" as the number of turns the game lasts (Duration/Turns), where the game "
                           u"writes a whole number from 0 to 1000000";
                  }),
        InfoValue("TurnBelowZero", "Turn", "-1",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"-1\" as the turn of the game (Save/Turn), where the game writes a whole number "
                           u"from 0 to 1000000";
                  }),
        InfoValue("TurnPastTheLength", "Turn", "99999",
                  [](const std::string& turns) -> std::u16string {
                    return u"gives 99999 as the turn of the game (Save/Turn), past the " + Text(turns) +
                           u" turns the game lasts (Duration/Turns)";
                  }),
        InfoValue("MonthPastTheYear", "GameMonth", "99999",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"99999\" as the month of the game (Save/GameMonth), where the game writes a whole "
                           u"number from 0 to 12";
                  }),
        InfoValue("MonthPast32Bits", "GameMonth", "2147483648",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"2147483648\" as the month of the game (Save/GameMonth), where the game writes a "
                           u"whole number from 0 to 12";
                  }),
        InfoValue("ImpulseBelowZero", "Impulse", "-1",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"-1\" as the impulse of the turn (Save/Impulse), where the game writes a whole "
                           u"number from 0 to 1000";
                  }),
        InfoValue("VersionAsText", "GameVersion", "abc",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"abc\" as the version of the program that saved it (Save/GameVersion), where the "
                           u"game writes a version from 1.00 to 1.02";
                  }),
        InfoValue("ImpulseEmpty", "Impulse", "",
                  [](const std::string&) -> std::u16string {
                    return u"gives \"\" as the impulse of the turn (Save/Impulse), where the game writes a whole "
                           u"number from 0 to 1000";
                  }),
        InfoValue("TurnAfterABlank", "Turn", " 5",
                  [](const std::string&) -> std::u16string {
                    return u"holds the turn of the game (Save/Turn) other than as \"key = value\", the way the game "
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
// largest losses, both switches, a front in each state) loads without a
// warning and is written back byte for byte, automatic events' options at
// the 32-bit ends and a unit spotted from the air too; one with two land
// units of one number, which the unit tables load, loads with both units'
// lines.
class SavedValuesAtTheirEnds : public HostileSave {
 protected:
  void SaveAs(const char16_t* name) {
    SaveAndClose(name);
    name_ = Utf16ToUtf8(name);
  }
};

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
                                   u"has 7 in field 3, where the game writes 0 or 1")));
}

}  // namespace
}  // namespace tr
