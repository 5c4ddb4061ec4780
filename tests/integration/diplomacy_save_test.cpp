// Diplomatic actions taken in the shipped sample scenario survive a save and
// a load, and the end of impulse opens the once-per-turn actions again.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "events/diplomacy.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "scenario/save_game.h"
#include "support/temp_dir.h"
#include "turn/gra_endturn.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

constexpr int kKaltheim = 1;
constexpr int kAlbrecia = 3;
constexpr int kHelvara = 7;
constexpr int kNordvik = 8;

// What a save must keep of the diplomacy: per country the seven marks, the
// politics and the points, and the war matrix.
std::vector<std::int64_t> DiplomacyState(const cGame& game) {
  std::vector<std::int64_t> state;
  for (const auto& c : game.countries) {
    for (std::int64_t value :
         {std::int64_t{c->doneDelayWarEntry}, std::int64_t{c->doneHasteWarEntry},
          std::int64_t{c->doneParliamentaryElections}, std::int64_t{c->doneTurnInOrientation},
          std::int64_t{c->doneExertPressureAxis}, std::int64_t{c->doneExertPressureAllied},
          std::int64_t{c->doneExertPressureComintern}, std::int64_t{c->alliance}, std::int64_t{c->orientation},
          std::int64_t{c->allianceEntry}, std::int64_t{c->diplomaticPoints}}) {
      state.push_back(value);
    }
  }
  for (int a = 1; a <= game.CountryCount(); ++a) {
    for (int b = 1; b <= game.CountryCount(); ++b) state.push_back(game.relations.IsAtWar(a, b));
  }
  return state;
}

class DiplomacySaveTest : public testing::Test {
 protected:
  DiplomacySaveTest() : oldRoot_(GameRoot()), scoped_(screen_) {
    test::CopyBuiltScenario(dir_.path(), "NorthernTide");
    SetGameRoot(dir_.path());
  }
  ~DiplomacySaveTest() override {
    DropGame();
    SetGameRoot(oldRoot_);
  }

  static void DropGame() {
    delete gGame;
    gGame = nullptr;
  }
  cGame& Load(std::u16string_view folderTemplate, int loaded) {
    DropGame();
    SeedRandom(1939);
    cGame& game = *LoadNewScenario(folderTemplate, loaded);
    game.saveContext->clock = [] { return sLocalTime{1939, 9, 1, 4, 45}; };
    return game;
  }

  test::TempDir dir_;
  std::filesystem::path oldRoot_;
  cHeadlessPresentation screen_;
  ScopedPresentation scoped_;
};

TEST_F(DiplomacySaveTest, ActionsSurviveSaveAndLoadAndTheEndOfImpulseClearsTheTurnMarks) {
  cGame& game = Load(u"data\\scenarios\\NorthernTide\\%s", 0);
  for (const auto& c : game.countries) c->diplomaticPoints = 5000;
  std::u16string text;

  ASSERT_TRUE(CanDelayAllianceEntry(kHelvara, text)) << std::string(text.begin(), text.end());
  DelayAllianceEntry(kHelvara, text);
  ASSERT_TRUE(CanHasteAllianceEntry(kHelvara, text));
  HasteAllianceEntry(kHelvara, text);
  ASSERT_TRUE(CanExertPressure(kAlbrecia, kHelvara, text));
  ExertPressure(kAlbrecia, kHelvara, text);
  ASSERT_TRUE(CanHoldElections(kNordvik, text));
  HoldElections(kNordvik, kProAllied, text);
  ASSERT_TRUE(CanChangeOrientation(kNordvik, text));
  ChangeOrientation(kNordvik, kFirmDemocracy, text);
  ASSERT_TRUE(CanDeclareWar(kKaltheim, kNordvik, text));
  EXPECT_EQ(DeclareWar(kKaltheim, kNordvik, true), 4);

  const auto acted = DiplomacyState(game);
  ASSERT_TRUE(game.saveContext->SaveGame(u"diplomacy", true));
  cGame& loaded = Load(u"data\\save\\diplomacy\\%s", 1);
  EXPECT_EQ(DiplomacyState(loaded), acted);

  cCountry& helvara = *loaded.countries[kHelvara - 1];
  cCountry& nordvik = *loaded.countries[kNordvik - 1];
  EXPECT_TRUE(helvara.doneDelayWarEntry && helvara.doneHasteWarEntry && helvara.doneExertPressureAllied);
  EXPECT_TRUE(nordvik.doneParliamentaryElections && nordvik.doneTurnInOrientation);
  EXPECT_TRUE(loaded.relations.IsAtWar(kNordvik, kKaltheim));

  EndOfImpulse(loaded, 1);
  for (const auto& c : loaded.countries) {
    if (!c->isActive) continue;
    EXPECT_EQ(c->doneDelayWarEntry + c->doneHasteWarEntry + c->doneTurnInOrientation + c->doneExertPressureAxis +
                  c->doneExertPressureAllied + c->doneExertPressureComintern,
              0)
        << std::string(c->name.begin(), c->name.end());
  }
  EXPECT_EQ(nordvik.doneParliamentaryElections, 1);
  EXPECT_FALSE(CanHoldElections(kNordvik, text));
  EXPECT_TRUE(CanHasteAllianceEntry(kHelvara, text));
}

}  // namespace
}  // namespace tr
