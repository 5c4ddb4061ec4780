// The computer's diplomacy and war declarations: which settings and values
// make it act, each action announced in one message box, and the wars on the
// holders of its targets once the gathering is far enough along.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ai/ai_order.h"
#include "ai/ai_pacing.h"
#include "ai_fixture.h"
#include "world/gra.h"

namespace tr {
namespace {

class AiDiplomacyTest : public testing::Test {
 protected:
  AiDiplomacyTest() {
    cCountry& self = world.country(1);
    self.orientation = kNationalistRegime;
    self.diplomaticPoints = 100000;
    previousPauses = SetAiPausesSleep(false);
  }
  ~AiDiplomacyTest() override { SetAiPausesSleep(previousPauses); }

  std::vector<std::u16string> Boxes() {
    std::vector<std::u16string> boxes;
    for (const std::u16string& event : world.screen.events()) {
      if (event.rfind(u"text-dialog ", 0) == 0) boxes.push_back(event);
    }
    return boxes;
  }

  test::AiWorld world;
  bool previousPauses = true;
};

class AiHastenTest : public AiDiplomacyTest, public testing::WithParamInterface<int> {};

// Policy 0 hastens the country's own entry only from 21 on.
TEST_P(AiHastenTest, HastensFromEntry21) {
  cCountry& self = world.country(1);
  self.aiSettings.AllianceEntryPolicy = 0;
  self.allianceEntry = GetParam();
  world.AiOf(1).ConductDiplomacy();
  const bool acts = GetParam() >= 21;
  EXPECT_EQ(self.doneHasteWarEntry, acts ? 1 : 0);
  const std::vector<std::u16string> boxes = Boxes();
  ASSERT_EQ(boxes.size(), acts ? 1u : 0u);
  if (acts) {
    EXPECT_EQ(boxes.front().rfind(u"text-dialog Country1|", 0), 0u);
    EXPECT_EQ(boxes.front().substr(boxes.front().size() - 4), u"|684");
  }
}

INSTANTIATE_TEST_SUITE_P(Entry, AiHastenTest, testing::Values(20, 21, 60));

// Policy 1 delays, any other policy does neither.
TEST_F(AiDiplomacyTest, PolicyOneDelaysAndOtherPoliciesDoNothing) {
  cCountry& self = world.country(1);
  self.allianceEntry = 50;
  self.aiSettings.AllianceEntryPolicy = 2;
  cCountryAI& ai = world.AiOf(1);
  ai.ConductDiplomacy();
  EXPECT_TRUE(Boxes().empty());
  self.aiSettings.AllianceEntryPolicy = 1;
  ai.ConductDiplomacy();
  EXPECT_EQ(self.doneDelayWarEntry, 1);
  EXPECT_EQ(Boxes().size(), 1u);
}

struct PressCase {
  int orientation;
  int entry;
  bool pressed;
};

class AiPressTest : public AiDiplomacyTest, public testing::WithParamInterface<PressCase> {};

// A country of another camp is pressed only from entry 30 on; one of the
// same camp always.
TEST_P(AiPressTest, PressesOtherCampsFromEntry30) {
  cCountry& self = world.country(1);
  self.aiSettings.AllianceEntryPolicy = 2;
  self.aiSettings.CountriesToPress = {3};
  cCountry& target = world.country(3);
  target.orientation = GetParam().orientation;
  target.allianceEntry = GetParam().entry;
  world.AiOf(1).ConductDiplomacy();
  EXPECT_EQ(target.doneExertPressureAxis, GetParam().pressed ? 1 : 0);
  EXPECT_EQ(Boxes().size(), GetParam().pressed ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Camps, AiPressTest,
                         testing::Values(PressCase{kFirmDemocracy, 29, false}, PressCase{kFirmDemocracy, 30, true},
                                         PressCase{kProAxis, 0, true}));

struct WarCase {
  int waiting;    // order 13
  int gathering;  // order 12
  bool declares;
};

class AiWarTest : public AiDiplomacyTest, public testing::WithParamInterface<WarCase> {};

// War comes once more than 70% of the gathering units wait; the holder of
// the first target's hex is the enemy, a second target of the same country
// is refused and a hex without holder is skipped.
TEST_P(AiWarTest, DeclaresOnceMostUnitsWait) {
  cCountry& self = world.country(1);
  world.hex(30, 5).controller = 0;
  world.hex(32, 5).controller = 2;
  world.hex(34, 5).controller = 2;
  self.aiSettings.CurrentTargets = {{30, 5, 10}, {32, 5, 10}, {34, 5, 10}};
  int x = 0;
  for (int i = 0; i < GetParam().waiting + GetParam().gathering; ++i) {
    world.AddLand(1, x, i % 2 == 0 ? 2 : 8).aiOrder = i < GetParam().waiting ? kAiOrderBlocked : kAiOrderGather;
    x += 2;
  }
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  ai.DeclareWars();
  EXPECT_EQ(world.game().relations.IsAtWar(1, 2), GetParam().declares);
  EXPECT_EQ(test::LinesStartingWith(world.log, u"[AI]: Country1 DECLARED WAR ON Country2!!").size(),
            GetParam().declares ? 1u : 0u);
  EXPECT_EQ(test::LinesStartingWith(world.log, u"S: ai4 :").size(), GetParam().declares ? 1u : 0u);
  // The third target's refusal is the last text written.
  if (GetParam().declares) {
    EXPECT_NE(ai.messageText.find(u"already_war"), std::u16string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Readiness, AiWarTest,
                         testing::Values(WarCase{7, 3, false}, WarCase{8, 2, true}, WarCase{0, 0, false}));

}  // namespace
}  // namespace tr
