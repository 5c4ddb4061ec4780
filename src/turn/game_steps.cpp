#include "turn/game_steps.h"

#include "ai/country_ai.h"
#include "turn/convoy.h"
#include "turn/sea_battle.h"
#include "turn/supply.h"
#include "turn/turn_steps.h"
#include "world/gra.h"

namespace tr {

// One line per subsystem that carries out a step of the turn.
void InstallGameSteps() {
  SetSupplyStep(RunSupplyStep);
  InstallSeaBattleGenerator();
  SetComputerTurnStep(PlayCountryAiTurn);
  SetEventCheckStep([](cGame& game) { game.events->CheckEventsAtTurnEnd(game); });
  SetConvoyResultsStep(ShowConvoyResultsToPlayers);
}

void UninstallGameSteps() {
  SetComputerTurnStep({});
  SetEventCheckStep({});
  SetSupplyStep({});
  SetConvoyResultsStep({});
  SetSeaBattleStep({});
}

}  // namespace tr
