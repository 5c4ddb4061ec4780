// The turn driver: the phases of a peace turn and a war turn in their order,
// with their log lines, and the cities' attack marks.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "ai/ai_pacing.h"
#include "ai_fixture.h"
#include "foundation/game_lock.h"
#include "turn/game_steps.h"
#include "turn/turn_steps.h"
#include "world/gra.h"

namespace tr {
namespace {

using Phases = std::vector<std::string>;

// Whether the wanted lines appear in the log in this order (others may lie between).
::testing::AssertionResult LogHasInOrder(const test::LogCapture& log, const std::vector<std::u16string>& wanted) {
  std::size_t next = 0;
  for (const std::u16string& line : log.lines()) {
    if (next < wanted.size() && line == wanted[next]) ++next;
  }
  if (next == wanted.size()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "missing or out of order: line " << next;
}

class AiTurnTest : public testing::Test {
 protected:
  AiTurnTest() {
    world.country(1).alliance = kAxisLeader;
    world.country(3).alliance = kAlliesLeader;
  }
  void DeclareWar() {
    world.game().relations.SetWar(1, 3, true);
    world.game().relations.SetWar(3, 1, true);
  }

  test::AiWorld world;
  test::PhaseRecorder recorder;
};

TEST_F(AiTurnTest, PeaceTurnBuysDeploysAndMovesFleetsOnly) {
  world.AiOf(1).PlayTurn();

  EXPECT_EQ(recorder.phases,
            (Phases{"ResetCityAttackFlags", "ConductDiplomacy", "BuildUnitLists", "MakePurchases", "DeployLandUnits",
                    "DeployAirUnits", "DeployNavalUnits", "BuildUnitLists", "NavalMoves",
                    // the landing step of the naval moves ends with the attack searches
                    "BuildUnitLists", "PlanMultiDirectionAttacks", "PlanOneDirectionAttacks", "NavalAndConvoyStep"}));
  EXPECT_TRUE(LogHasInOrder(world.log, {u"[AI] Country1: NEW TURN", u"[AI]: Country1 nie ma wojny",
                                        u"[AI]: Ending turn"}));
  EXPECT_EQ(world.screen.CountEvents(u"status [AI] Country1: NEW TURN"), 1);
}

// The war sequence, with the optional sea transport and line of defence.
class AiWarTurnTest : public AiTurnTest, public testing::WithParamInterface<std::tuple<bool, bool>> {};

TEST_P(AiWarTurnTest, WarTurnRunsItsStepsInOrder) {
  const auto [transportsBySea, threatened] = GetParam();
  DeclareWar();
  world.country(1).aiSettings.TransportsUnitsToFrontsBySea = transportsBySea ? 1 : 0;
  if (threatened) {
    // An own city beside an enemy city held by a strong unit: a critical front.
    cCity& own = world.AddCity(u"Own", 10, 5, 1);
    cCity& enemy = world.AddCity(u"Enemy", 14, 5, 3);
    cGame& game = world.game();
    game.citiesDiagram.Build(game.cities);
    game.citiesDiagram.GetNode(own.diagramNode)->edges.push_back({enemy.diagramNode, 0});
    game.playerControl.worldTopography.BuildNearestCityMap(*game.map, game.cities);
    world.AddLand(3, 15, 5, 100);
  }
  cCountryAI& ai = world.AiOf(1);

  ai.PlayTurn();

  Phases want{"ResetCityAttackFlags", "ConductDiplomacy", "BuildUnitLists", "DeclareWars", "BuildUnitLists",
              "ComputeFrontStrengths", "UpdateFrontList", "EvaluateFronts", "AssignCommanders",
              "ReplaceAirLosses(0.50)", "ReplaceLandLosses(0.50)", "RepairShips", "SavePoorlyDefendedFronts",
              "ComputeFrontStrengths", "UpdateFrontList", "EvaluateFronts", "MoveUnitsStrategically", "RebaseAirUnits", "ScenarioGarrisonRule", "MakePurchases", "DeployLandUnits",
              "DeployAirUnits", "DeployNavalUnits", "AirFights", "BuildUnitLists", "PlanMultiDirectionAttacks",
              "PlanOneDirectionAttacks", "ComputeFrontStrengths", "UpdateFrontList", "EvaluateFronts"};
  if (threatened) want.push_back("PlanLineOfDefence");
  for (const char* phase : {"PlanOperations", "BuildUnitLists", "BuildUpInvasionForces", "AirStrikes", "PlanAirOperations",
                            "ChooseSeaInvasionTarget", "ExecuteOperationalMoves"}) {
    want.push_back(phase);
  }
  if (transportsBySea) want.push_back("TransportUnitsToFronts");
  for (const char* phase : {"StrategicBombing", "NavalMoves", "BuildUnitLists", "PlanMultiDirectionAttacks",
                            "PlanOneDirectionAttacks", "HasPendingOperationalMoves", "NavalAndConvoyStep",
                            "ReplaceAirLosses(0.98)", "ReplaceLandLosses(0.98)"}) {
    want.push_back(phase);
  }
  EXPECT_EQ(recorder.phases, want);

  std::vector<std::u16string> lines{u"[AI] Country1: NEW TURN",
                                    u"[AI]: Country1 ma wojne",
                                    u"[AI]: Country1 - Replacements",
                                    u"[AI]: Country1 - Rebasing air units",
                                    u"[AI]: Country1 - Deploying new units",
                                    u"[AI]: Country1 - Air fights",
                                    u"[AI]: Country1 - Checking the state of fronts (before operational planning)"};
  if (threatened) lines.push_back(u"[AI]: Country1 - Calculating line of defence...");
  for (const char16_t* line : {u"[AI]: Country1 - Operational planning...", u"bu 1", u"bu 2", u"bu 3", u"bu 4",
                               u"bu 5", u"bu 6", u"[AI]: Country1 - Executing operational moves...",
                               u"[AI]: Country1 - Planning sea transport of units to front...", u"[AI]: Ending turn"}) {
    lines.push_back(line);
  }
  EXPECT_TRUE(LogHasInOrder(world.log, lines));
  EXPECT_EQ(world.log.Contains(u"[AI]: Country1 - Calculating line of defence..."), threatened);
  // Nothing of the turn sleeps with every delay at 0 and nothing shown.
  EXPECT_TRUE(test::LinesStartingWith(world.log, u"S: ").empty());
}

INSTANTIATE_TEST_SUITE_P(SeaTransportAndThreat, AiWarTurnTest,
                         testing::Combine(testing::Bool(), testing::Bool()));

TEST_F(AiTurnTest, EveryCityMayBeAttackedExceptTheListedOnes) {
  cCity& spared = world.AddCity(u"Spared", 2, 2, 3);
  cCity& open = world.AddCity(u"Open", 4, 2, 3);
  spared.attackAllowed = 0;
  open.attackAllowed = 0;
  world.country(1).aiSettings.DoNotAttackCities = {{2, 2}, {30, 30}};
  cCountryAI& ai = world.AiOf(1);

  ai.ResetCityAttackFlags();

  EXPECT_EQ(spared.attackAllowed, 0);
  EXPECT_EQ(open.attackAllowed, 1);
  EXPECT_TRUE(world.log.ContainsText(u"no city on hex (30,30)"));
}

TEST_F(AiTurnTest, TheInstalledStepPlaysTheCurrentCountrysAi) {
  InstallGameSteps();
  world.game().playerControl.currentCountry = &world.country(2);
  PlayComputerTurn(world.game(), world.country(2));
  UninstallGameSteps();

  EXPECT_TRUE(world.log.Contains(u"[AI] Country2: NEW TURN"));
  ASSERT_EQ(world.game().countryAi.size(), 4u);
  EXPECT_EQ(world.game().countryAi[1]->country, &world.country(2));
}

TEST_F(AiTurnTest, TurnWithoutCurrentCountryPlaysNothing) {
  cCountryAI& ai = world.AiOf(1);
  world.game().playerControl.currentCountry = nullptr;
  ai.PlayTurn();
  EXPECT_TRUE(recorder.phases.empty());
  EXPECT_FALSE(world.log.Contains(u"[AI]: Ending turn"));
}

// A worker told to stop leaves the wait for the move animation at once.
TEST_F(AiTurnTest, MoveAnimationWaitUnwindsWhenTheWorkerMustStop) {
  world.game().StoreGameState(kGameComputerTurn);
  EXPECT_TRUE(AwaitComputerMoveAnimation(world.game()));

  std::atomic<bool> stop{true};
  SetThreadStopFlag(&stop);
  world.game().StoreGameState(kGameComputerMoving);
  EXPECT_FALSE(AwaitComputerMoveAnimation(world.game()));
  SetThreadStopFlag(nullptr);
  EXPECT_TRUE(test::LinesStartingWith(world.log, u"S: ").empty());
}

}  // namespace
}  // namespace tr
