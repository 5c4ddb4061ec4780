#include "turn/turn_steps.h"

#include <mutex>

#include "foundation/console_log.h"
#include "world/gra.h"

namespace tr {
namespace {

struct sSteps {
  CountryTurnStep computerTurn;
  GameTurnStep eventCheck;
  GameTurnStep supply;
  GameTurnStep convoyResults;
  GameTurnStep seaBattles;
};

std::mutex gStepsMutex;
sSteps gSteps;

// A copy is run, so installing a step while another thread runs one is safe.
template <typename Member>
auto CopyStep(Member member) {
  std::lock_guard<std::mutex> lock(gStepsMutex);
  return gSteps.*member;
}

template <typename Member, typename Step>
void Install(Member member, Step step) {
  std::lock_guard<std::mutex> lock(gStepsMutex);
  gSteps.*member = std::move(step);
}

void RunGameStep(GameTurnStep sSteps::*member, cGame& game, std::u16string_view skippedLine) {
  const GameTurnStep step = CopyStep(member);
  if (step) {
    step(game);
  } else {
    LogLine(skippedLine);
  }
}

}  // namespace

void SetComputerTurnStep(CountryTurnStep step) { Install(&sSteps::computerTurn, std::move(step)); }
void SetEventCheckStep(GameTurnStep step) { Install(&sSteps::eventCheck, std::move(step)); }
void SetSupplyStep(GameTurnStep step) { Install(&sSteps::supply, std::move(step)); }
void SetConvoyResultsStep(GameTurnStep step) { Install(&sSteps::convoyResults, std::move(step)); }
void SetSeaBattleStep(GameTurnStep step) { Install(&sSteps::seaBattles, std::move(step)); }

void PlayComputerTurn(cGame& game, cCountry& country) {
  const CountryTurnStep step = CopyStep(&sSteps::computerTurn);
  if (step) {
    step(game, country);
  } else {
    LogFormat(u"Computer turn of %s skipped: no computer opponent installed", country.name);
  }
}

void CheckEventsAtTurnEnd(cGame& game) {
  RunGameStep(&sSteps::eventCheck, game, u"Event check skipped: no event check installed");
}

void ComputeSupplyStep(cGame& game) {
  RunGameStep(&sSteps::supply, game, u"Supply skipped: no supply computation installed");
}

void ShowConvoyResults(cGame& game) {
  RunGameStep(&sSteps::convoyResults, game, u"Convoy results skipped: no convoy results installed");
}

void RunSeaBattleGenerator(cGame& game) {
  const GameTurnStep step = CopyStep(&sSteps::seaBattles);
  if (step) {
    step(game);
  } else {
    LogLine(u"Sea battles skipped: no sea-battle generator installed");
  }
  // The generator hands the end of impulse back in state 3; a missing one must too.
  if (game.GetGameState() == kGameSeaBattles) game.SetGameState(kGameEndOfImpulse);
}

}  // namespace tr
