#include "turn/game_steps.h"

#include "turn/turn_steps.h"

namespace tr {

// One line per subsystem that carries out a step of the turn.
void InstallGameSteps() {
}

void UninstallGameSteps() {
  SetComputerTurnStep({});
  SetEventCheckStep({});
  SetSupplyStep({});
  SetConvoyResultsStep({});
  SetSeaBattleStep({});
}

}  // namespace tr
