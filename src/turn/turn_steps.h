// Entry points of the turn steps that other subsystems carry out: the
// computer opponent's turn of one country, the scripted-event check, supply,
// the convoy results and the sea-battle generator. Each subsystem installs
// its step at start-up (tests install their own). A step nobody installed
// logs that it was skipped, so the turn goes on without it.
#pragma once

#include <functional>

namespace tr {

class cCountry;
class cGame;

using CountryTurnStep = std::function<void(cGame&, cCountry&)>;
using GameTurnStep = std::function<void(cGame&)>;

// Installing an empty function takes the step out again.
void SetComputerTurnStep(CountryTurnStep step);
void SetEventCheckStep(GameTurnStep step);
void SetSupplyStep(GameTurnStep step);
void SetConvoyResultsStep(GameTurnStep step);
void SetSeaBattleStep(GameTurnStep step);

// The country's computer opponent plays its whole turn.
void PlayComputerTurn(cGame& game, cCountry& country);
// The scripted events of the current country.
void CheckEventsAtTurnEnd(cGame& game);
// Supply of the whole map: the computation and what artificial harbours and
// ships hand out.
void ComputeSupplyStep(cGame& game);
void ShowConvoyResults(cGame& game);
// Generates and fights the impulse's sea battles; ends in state 3.
void RunSeaBattleGenerator(cGame& game);

}  // namespace tr
