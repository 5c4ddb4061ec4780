// A computer country's war turn played through the worker's step, as the
// game plays it: the obvious move and the attacks of the turn, with what
// they leave on the map.
#include <gtest/gtest.h>

#include <string>

#include "ai/ai_order.h"
#include "ai/ai_pacing.h"
#include "ai/game_invariants.h"
#include "ai_fixture.h"
#include "foundation/random.h"
#include "turn/game_steps.h"
#include "turn/theads.h"
#include "world/gra.h"

namespace tr {
namespace {

class AttackTurnTest : public testing::Test {
 protected:
  AttackTurnTest() {
    cGame& game = world.game();
    game.relations.SetWar(1, 2, true);
    game.relations.SetWar(2, 1, true);
    world.country(1).alliance = kAxisLeader;
    world.country(2).alliance = kAlliesLeader;
    world.SetPlainCombatConstants();
    previousPauses = SetAiPausesSleep(false);
    InstallGameSteps();
    SeedRandom(1939);
  }
  ~AttackTurnTest() override {
    UninstallGameSteps();
    SetAiPausesSleep(previousPauses);
  }

  cJednostkaLadowa& Ready(int owner, int x, int y, int strength) {
    cJednostkaLadowa& unit = world.AddLand(owner, x, y, strength);
    unit.actionPoints = unit.startingActionPoints = 6;
    return unit;
  }

  // The worker's step for the current country: true when the turn ended.
  bool PlayCountry(int id) {
    world.game().playerControl.currentCountry = &world.country(id);
    world.game().StoreGameState(kGameComputerTurn);
    return PlayCurrentCountryTurn(world.game());
  }

  test::AiWorld world{40, 12, 2};
  bool previousPauses = true;
};

// Three own units of strength 100 (effective 10) around an enemy of strength
// 40 (effective 4): one attacker gives 2:1, two give 5:1, three 7:1. An empty
// enemy city far from them is taken by the fourth own unit.
TEST_F(AttackTurnTest, WarTurnTakesTheEmptyCityAndAttacksFromSeveralSides) {
  cJednostkaLadowa& enemy = Ready(2, 20, 5, 40);
  enemy.name = u"Enemy";
  Ready(1, 20, 2, 100);
  Ready(1, 23, 6, 100);
  Ready(1, 17, 6, 100);
  world.AddCity(u"Open", 35, 5, 2);
  cJednostkaLadowa& taker = Ready(1, 32, 5, 100);

  ASSERT_TRUE(PlayCountry(1));

  // The obvious move took the city; planning later in the turn turns its
  // order into covering that city.
  EXPECT_EQ(world.hex(35, 5).unit, &taker);
  EXPECT_TRUE(world.log.ContainsText(u"[AI-RO] SZUKANIE RUCHÓW OCZYWISTYCH"));
  EXPECT_EQ(taker.aiOrder, kAiOrderCoverCity);
  EXPECT_EQ(taker.aiTargetX, 35);
  EXPECT_EQ(taker.aiTargetY, 5);
  EXPECT_EQ(taker.aiUltimateTargetX, -1);
  EXPECT_EQ(taker.aiUltimateTargetY, -1);
  // A multi-direction attack at 5:1 or better was fought.
  const auto attacked = test::LinesStartingWith(world.log, u"Enemy is attacked. Directions=");
  ASSERT_FALSE(attacked.empty());
  EXPECT_NE(attacked.front().find(u"Directions=3"), std::u16string::npos);
  EXPECT_TRUE(world.log.Contains(u"[AI] ATAKI WIELOKIERUNKOWE"));
  EXPECT_TRUE(world.log.ContainsText(u"KOL=7:1"));
  // No hex holds two units, and every unit stands where its hex says.
  EXPECT_EQ(FindInvariantViolation(world.game()), "");
  EXPECT_EQ(world.country(1).finishedTurn, 1);
  EXPECT_TRUE(world.log.Contains(u"[AI]: Ending turn"));
}

}  // namespace
}  // namespace tr
