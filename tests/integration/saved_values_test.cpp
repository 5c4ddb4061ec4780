// What a save holds, through the real load, play, save and load again:
// decimals come back exactly, numbers past the double range read by their
// size, and a received save's values past what the game makes are held to
// their limits before the game plays with them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <utility>

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

// Losses written as long texts: a value past the double range reads as the
// largest and is held at the limit, one below it reads as 0; a value at the
// limit reads as it is. The game plays on, and its save loads clean.
TEST_F(SavedValues, LossesPastTheirRangeAreHeldAndPlayOn) {
  const fs::path save = Copy("Losses");
  const std::string zeros(400, '0');
  Set(save, "losses.csv", 0, 3, "1" + zeros + "e-1");
  Set(save, "losses.csv", 1, 2, "0." + zeros + "1");
  Set(save, "losses.csv", 1, 4, "1000000000");
  Set(save, "losses.csv", 2, 2, "1000000000.0001");
  Set(save, "losses.csv", 2, 3, "-999999936.5");
  test::LogCapture log;
  ASSERT_TRUE(Load());
  EXPECT_TRUE(log.ContainsText(u"WARNING: losses of country 1 against country 2 (179769313486231570"));
  EXPECT_TRUE(log.ContainsText(u"WARNING: losses of country 3 against country 1 (1000000000.000100) out of range in "
                               u"data\\save\\Losses\\losses.csv at line"));
  EXPECT_FALSE(log.ContainsText(u"losses of country 2 against country 3"));
  EXPECT_FALSE(log.ContainsText(u"losses of country 3 against country 2"));
  EXPECT_EQ(game_->relations.GetLosses(1, 2), kMaxLosses);
  EXPECT_EQ(game_->relations.GetLosses(2, 1), 0.0f);
  EXPECT_EQ(game_->relations.GetLosses(2, 3), kMaxLosses);
  EXPECT_EQ(game_->relations.GetLosses(3, 1), kMaxLosses);
  EXPECT_EQ(game_->relations.GetLosses(3, 2), -999999936.0f);
  Play(2);
  const auto losses = Losses();
  test::LogCapture again;
  SaveAndLoad("LossesSaved");
  ExpectClean(again);
  EXPECT_EQ(Losses(), losses);
}

// A received save whose computer memory, combat values, viewing country and
// ship counts lie past what the game makes: held at load with a line naming
// the file, played on, and the save of that game loads clean.
TEST_F(SavedValues, ReceivedValuesAreHeldBeforePlay) {
  const fs::path save = Copy("Received");
  const std::size_t countries = sTable(save / "countries.csv").data.size();
  std::string memory = "\r\nGivenUp;1;7;8;1000000;\r\nGivenUp;1;9;10;1000001;";
  for (std::size_t c = 1; c <= countries; ++c) {
    memory += "\r\nGivenUp;" + std::to_string(c) + ";5;6;-2147483648;";
    memory += "\r\nWaiting;" + std::to_string(c) + ";" + std::to_string(40 + c) + ";2147483647;-1;";
  }
  memory += "\r\nCounts;1;1;1.5;2.5;3.5;4;5;6;7;8;2147483647;2147483646;";
  Append(save / "ai_memory.csv", memory);
  const sTable state(save / "unit_state.csv");
  const auto land = state.Find([&](std::size_t r) { return state.Field(r, 0) == "Land"; });
  const auto otherLand = state.Find([&](std::size_t r) { return state.Field(r, 0) == "Land" && r > *land + 2; });
  const auto node = state.Find([&](std::size_t r) { return state.Field(r, 0) == "Node"; });
  ASSERT_TRUE(land && otherLand && node);
  Set(save, "unit_state.csv", *land, 3, "2147483647");
  Set(save, "unit_state.csv", *land + 1, 3, "1000000");
  Set(save, "unit_state.csv", *otherLand, 3, "-3");
  Set(save, "unit_state.csv", *node, 2, "2147483647");
  Set(save, "unit_state.csv", *node, 3, "-2147483648");
  const int heldUnit = std::stoi(state.Field(*land, 1));
  const int keptUnit = std::stoi(state.Field(*land + 1, 1));
  const int nodeId = std::stoi(state.Field(*node, 1));

  test::LogCapture log;
  ASSERT_TRUE(Load());
  const auto logged = [&log](const std::string& what, const std::string& value, const std::string& held) {
    const std::string line = "WARNING: " + what + " (" + value + ") out of range in data\\save\\Received\\";
    return log.ContainsText(Utf8ToUtf16(line)) && log.ContainsText(Utf8ToUtf16("held at " + held));
  };
  EXPECT_TRUE(logged("impulse of the give-up", "-2147483648", "0"));
  EXPECT_TRUE(logged("impulse of the give-up", "1000001", "1000000"));
  EXPECT_FALSE(log.ContainsText(u"(1000000) out of range"));
  EXPECT_TRUE(logged("impulses stalled", "2147483647", "1000000"));
  EXPECT_TRUE(logged("field 12", "2147483647", "1000000"));
  EXPECT_TRUE(logged("own units", "2147483646", "1000000"));
  EXPECT_TRUE(logged("Combat value", "2147483647", "1000000"));
  EXPECT_TRUE(logged("Combat value", "-3", "0"));
  EXPECT_TRUE(logged("Ship count", "-2147483648", "0"));
  const auto combatValueOf = [this](int id) {
    for (const auto& unit : game_->landUnits) {
      if (unit->id == id) return unit->combatValue;
    }
    return -1;
  };
  EXPECT_EQ(combatValueOf(heldUnit), kMaxCombatValue);
  EXPECT_EQ(combatValueOf(keptUnit), kMaxCombatValue);
  EXPECT_EQ(game_->seaGraph.GetNode(nodeId - 1).ownShips[0], kMaxPoints);
  EXPECT_EQ(game_->seaGraph.GetNode(nodeId - 1).ownShips[1], 0);

  Play(2);
  test::LogCapture again;
  SaveAndLoad("ReceivedSaved");
  ExpectClean(again);
}

}  // namespace
}  // namespace tr
