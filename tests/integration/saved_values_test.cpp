// What a save holds, through the real load, play, save and load again:
// decimals come back exactly, numbers past the double range read by their
// size, and a received save's values past what the game makes are held to
// their limits before the game plays with them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ai/autoplay.h"
#include "foundation/fatal.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "hostile_save.h"
#include "scenario/save_game.h"
#include "support/log_capture.h"
#include "units/jednostka_ladowa.h"
#include "world/gra.h"
#include "world/value_limits.h"

namespace tr {
namespace {

namespace fs = std::filesystem;
using test::HostileSave;
using test::Set;
using test::sTable;
using test::Text;

class SavedValues : public HostileSave {
 protected:
  // Saves the game under the name and loads that save in its place.
  void SaveAndLoad(const std::string& name) {
    game_->saveContext->clock = [] { return sLocalTime{1939, 9, 1, 4, 45}; };
    ASSERT_TRUE(game_->saveContext->SaveGame(Utf8ToUtf16(name), true));
    gGame = nullptr;
    delete game_;
    game_ = nullptr;
    name_ = name;
    ASSERT_TRUE(Load());
  }
  void Play(int impulses) {
    SeedRandom(7);
    cAutoplay play(*game_);
    try {
      while (play.impulsesRun() < impulses && play.PlayImpulse()) {
      }
    } catch (const FatalExitError& error) {
      FAIL() << "fatal exit " << error.code() << " during play";
    }
    EXPECT_EQ(play.impulsesRun(), impulses) << play.violation();
  }
  static void ExpectClean(const test::LogCapture& log) {
    for (const std::u16string& line : log.lines()) {
      EXPECT_FALSE(line.starts_with(u"WARNING") || line.starts_with(u"ERR")) << Utf16ToUtf8(line);
    }
  }
  std::map<std::pair<int, int>, float> Losses() const {
    std::map<std::pair<int, int>, float> losses;
    for (int a = 1; a <= game_->CountryCount(); ++a) {
      for (int b = 1; b <= game_->CountryCount(); ++b) losses[{a, b}] = game_->relations.GetLosses(a, b);
    }
    return losses;
  }
  static void Append(const fs::path& file, const std::string& lines) {
    test::Replace(file, [&lines](std::string text) { return text + lines; });
  }
};

// Decimals of seven and more digits, and losses grown past their limit in
// play, come back from the save as the game held them.
TEST_F(SavedValues, DecimalsComeBackExactly) {
  Copy("Decimals");
  ASSERT_TRUE(Load());
  cJednostkaLadowa& unit = *game_->landUnits.front();
  unit.shoreBombardmentEffect = 7.3456783f;
  game_->cities.front()->productionPoints = 65.432101f;
  game_->cities.back()->productionPoints = 999999.94f;
  sCountryAiSettings& ai = game_->countries.front()->aiSettings;
  ai.MinRatioToPatchFront = 1.2345678f;
  ai.NewUnitPurchaseData.landPrice = 31.415926f;
  ai.NewUnitPurchaseData.airPrice = 27.182818f;
  ai.NewUnitPurchaseData.navalPrice = 14.142135f;
  ai.ShoreBombardmentSingleUse = {23.456789f * 0.01f, 87.654321f * 0.01f};
  game_->relations.AddLosses(1, 2, 0.1234567f);
  game_->relations.AddLosses(2, 3, 3e9f);
  EXPECT_EQ(game_->relations.GetLosses(2, 3), kMaxLosses);
  const auto losses = Losses();
  const int unitId = unit.id;
  test::LogCapture log;
  SaveAndLoad("DecimalsSaved");
  ExpectClean(log);
  const auto found = std::find_if(game_->landUnits.begin(), game_->landUnits.end(),
                                  [unitId](const auto& u) { return u->id == unitId; });
  ASSERT_NE(found, game_->landUnits.end());
  EXPECT_EQ((*found)->shoreBombardmentEffect, 7.3456783f);
  EXPECT_EQ(game_->cities.front()->productionPoints, 65.432101f);
  EXPECT_EQ(game_->cities.back()->productionPoints, 999999.94f);
  const sCountryAiSettings& loaded = game_->countries.front()->aiSettings;
  EXPECT_EQ(loaded.MinRatioToPatchFront, 1.2345678f);
  EXPECT_EQ(loaded.NewUnitPurchaseData.landPrice, 31.415926f);
  EXPECT_EQ(loaded.NewUnitPurchaseData.airPrice, 27.182818f);
  EXPECT_EQ(loaded.NewUnitPurchaseData.navalPrice, 14.142135f);
  EXPECT_EQ(loaded.ShoreBombardmentSingleUse[0], 23.456789f * 0.01f);
  EXPECT_EQ(loaded.ShoreBombardmentSingleUse[1], 87.654321f * 0.01f);
  EXPECT_EQ(Losses(), losses);
}

// Losses written as long texts: a value at the limit, or one that reads as
// 0, loads as it is; the game plays on, and its save loads clean. One past
// the limit (a long text of the largest double too) is none the game writes,
// and is refused naming the file, line and field.
TEST_F(SavedValues, LossesPastTheirRangeAreRefusedAndAtItPlayOn) {
  const fs::path save = Copy("Losses");
  const std::string zeros(400, '0');
  Set(save, "losses.csv", 1, 2, "0." + zeros + "1");
  Set(save, "losses.csv", 1, 4, "1000000000");
  Set(save, "losses.csv", 2, 3, "-999999936.5");
  test::LogCapture log;
  ASSERT_TRUE(Load());
  ExpectClean(log);
  EXPECT_EQ(game_->relations.GetLosses(2, 1), 0.0f);
  EXPECT_EQ(game_->relations.GetLosses(2, 3), kMaxLosses);
  EXPECT_EQ(game_->relations.GetLosses(3, 2), -999999936.0f);
  Play(2);
  const auto losses = Losses();
  test::LogCapture again;
  SaveAndLoad("LossesSaved");
  ExpectClean(again);
  EXPECT_EQ(Losses(), losses);

  for (const std::string& past : {"1" + zeros + "e-1", std::string("1000000000.0001")}) {
    const fs::path refused = Copy("LossesPast");
    const std::size_t line = sTable(refused / "losses.csv").data[0] + 1;
    Set(refused, "losses.csv", 0, 3, past);
    if (gGame == game_) gGame = nullptr;
    delete game_;
    game_ = nullptr;
    log.Clear();
    EXPECT_FALSE(Load()) << past;
    EXPECT_TRUE(log.ContainsText(u"ERROR: data\\save\\LossesPast\\losses.csv at line " + Text(std::to_string(line)) +
                                 u" (counting from 1) has ")) << past;
    EXPECT_TRUE(log.ContainsText(u" in field 4 (Losses dealt), where the game writes a decimal number from -1000000000 to 1000000000")) << past;
  }
}

// A received save whose computer memory, combat values and ship counts stand
// at the ends of what the game makes loads clean, plays on, and the save of
// that game loads clean. One past them (or a viewing country the game does
// not hold) is none the game writes: refused, naming the file, the line and
// the value.
TEST_F(SavedValues, ReceivedValuesPastWhatTheGameMakesAreRefusedAndAtItPlayOn) {
  const fs::path save = Copy("Received");
  const std::size_t countries = sTable(save / "countries.csv").data.size();
  const sTable state(save / "unit_state.csv");
  const auto seas = state.Find([&](std::size_t r) { return state.Field(r, 0) == "Seas"; });
  const auto land = state.Find([&](std::size_t r) { return state.Field(r, 0) == "Land"; });
  const auto node = state.Find([&](std::size_t r) { return state.Field(r, 0) == "Node"; });
  ASSERT_TRUE(seas && land && node);
  Append(save / "ai_memory.csv", "\r\nGivenUp;1;7;8;1000000;\r\nWaiting;1;41;1000000;0;");
  Set(save, "unit_state.csv", *land, 3, "1000000");
  Set(save, "unit_state.csv", *node, 2, "0");
  const int keptUnit = std::stoi(state.Field(*land, 1));
  test::LogCapture log;
  ASSERT_TRUE(Load());
  ExpectClean(log);
  for (const auto& unit : game_->landUnits) {
    if (unit->id == keptUnit) EXPECT_EQ(unit->combatValue, kMaxCombatValue);
  }
  Play(2);
  test::LogCapture again;
  SaveAndLoad("ReceivedSaved");
  ExpectClean(again);

  struct sPast {
    const char* file;
    std::function<void(const fs::path&)> change;
    std::string what;
  };
  const std::vector<sPast> past{
      {"ai_memory.csv", [](const fs::path& f) { Append(f / "ai_memory.csv", "\r\nGivenUp;1;5;6;-2147483648;"); },
       "\"-2147483648\" in field 5 (Impulse of the give-up), where the game writes a whole number from 0 to 1000000"},
      {"ai_memory.csv", [](const fs::path& f) { Append(f / "ai_memory.csv", "\r\nGivenUp;1;9;10;1000001;"); },
       "\"1000001\" in field 5 (Impulse of the give-up), where the game writes a whole number from 0 to 1000000"},
      {"ai_memory.csv", [](const fs::path& f) { Append(f / "ai_memory.csv", "\r\nWaiting;1;41;2147483647;-1;"); },
       "\"2147483647\" in field 4 (Impulses stalled), where the game writes a whole number from 0 to 1000000"},
      {"unit_state.csv", [&](const fs::path& f) { Set(f, "unit_state.csv", *land, 3, "2147483647"); },
       "\"2147483647\" in field 4 (Combat value), where the game writes a whole number from 0 to 1000000"},
      {"unit_state.csv", [&](const fs::path& f) { Set(f, "unit_state.csv", *land, 3, "-3"); }, "\"-3\" in field 4 (Combat value), where the game writes a whole number from 0 to 1000000"},
      {"unit_state.csv", [&](const fs::path& f) { Set(f, "unit_state.csv", *node, 3, "-2147483648"); },
       "\"-2147483648\" in field 4 (Ship count), where the game writes a whole number from 0 to 1000000"},
      {"unit_state.csv",
       [&](const fs::path& f) { Set(f, "unit_state.csv", *seas, 1, std::to_string(countries + 1)); },
       std::to_string(countries + 1) + " in field 2, where the game writes 0 or a country the save holds"},
  };
  for (const sPast& each : past) {
    if (gGame == game_) gGame = nullptr;
    delete game_;
    game_ = nullptr;
    each.change(Copy("ReceivedPast"));
    test::LogCapture refused;
    EXPECT_FALSE(Load()) << each.what;
    EXPECT_TRUE(refused.ContainsText(Utf8ToUtf16("ERROR: data\\save\\ReceivedPast\\" + std::string(each.file) +
                                                 " at line ")))
        << each.what;
    EXPECT_TRUE(refused.ContainsText(Utf8ToUtf16("(counting from 1) has " + each.what))) << each.what;
  }
}

}  // namespace
}  // namespace tr
