// The turn of a computer country: the fixed order of its phases at war and
// at peace, with the progress lines the console log shows.
#include <algorithm>
#include <memory>

#include "ai/ai_pacing.h"
#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "units/player_control.h"
#include "world/gra.h"

namespace tr {

void cCountryAI::PlayTurn() {
  AiPhaseScope scope("PlayTurn");
  cGame* game = gGame;
  country = game ? game->playerControl.currentCountry : nullptr;
  if (!country) {
    LogLine(u"[AI] No current country: the computer's turn is not played");
    return;
  }
  const std::u16string newTurn = Format(u"[AI] %ls: NEW TURN", country->name);
  LogLine(newTurn);
  SetPanelHintText(newTurn);
  ResetCityAttackFlags();
  ConductDiplomacy();
  if (country->IsAtWarWithAnyone()) {
    PlayWarTurn();
  } else {
    PlayPeaceTurn();
  }
  // The turn ends in state 9, never inside a move the main thread still shows.
  AwaitComputerMoveAnimation(*game);
  LogLine(u"[AI]: Ending turn");
}

void cCountryAI::PlayWarTurn() {
  const std::u16string& name = country->name;
  LogFormat(u"[AI]: %s ma wojne", name);
  BuildUnitLists();
  DeclareWars();
  // New wars change who counts as an enemy.
  BuildUnitLists();
  RefreshFronts();
  AssignCommanders();
  LogFormat(u"[AI]: %ls - Replacements", name);
  ReplaceAirLosses(0.5f);
  ReplaceLandLosses(0.5f);
  RepairShips();
  SavePoorlyDefendedFronts();
  MoveUnitsStrategically();
  LogFormat(u"[AI]: %ls - Rebasing air units", name);
  RebaseAirUnits();
  ScenarioGarrisonRule();
  MakePurchases();
  LogFormat(u"[AI]: %ls - Deploying new units", name);
  DeployLandUnits();
  DeployAirUnits();
  DeployNavalUnits();
  LogFormat(u"[AI]: %ls - Air fights", name);
  AirFights();
  PlanMultiDirectionAttacks();
  PlanOneDirectionAttacks();
  LogFormat(u"[AI]: %ls - Checking the state of fronts (before operational planning)", name);
  RefreshFronts();
  if (HasThreatenedFront()) {
    LogFormat(u"[AI]: %ls - Calculating line of defence...", name);
    PlanLineOfDefence();
  }
  LogFormat(u"[AI]: %ls - Operational planning...", name);
  LogLine(u"bu 1");
  PlanOperations();
  LogLine(u"bu 2");
  BuildUpInvasionForces();
  LogLine(u"bu 3");
  AirStrikes();
  LogLine(u"bu 4");
  PlanAirOperations();
  LogLine(u"bu 5");
  ChooseSeaInvasionTarget();
  LogLine(u"bu 6");
  LogFormat(u"[AI]: %ls - Executing operational moves...", name);
  ExecuteOperationalMoves();
  LogFormat(u"[AI]: %ls - Planning sea transport of units to front...", name);
  if (country->aiSettings.TransportsUnitsToFrontsBySea) TransportUnitsToFronts();
  StrategicBombing();
  NavalMoves();
  if (HasPendingOperationalMoves()) ExecuteOperationalMoves();
  NavalAndConvoyStep();
  ReplaceAirLosses(0.98f);
  ReplaceLandLosses(0.98f);
}

void cCountryAI::PlayPeaceTurn() {
  LogFormat(u"[AI]: %s nie ma wojny", country->name);
  BuildUnitLists();
  MakePurchases();
  DeployLandUnits();
  DeployAirUnits();
  DeployNavalUnits();
  BuildUnitLists();
  NavalMoves();
  NavalAndConvoyStep();
}

void cCountryAI::RefreshFronts() {
  ComputeFrontStrengths();
  UpdateFrontList();
  EvaluateFronts();
}

void cCountryAI::ResetCityAttackFlags() {
  AiPhaseScope scope("ResetCityAttackFlags");
  cGame* game = gGame;
  if (!game || !country) return;
  for (const auto& city : game->cities) city->attackAllowed = 1;
  if (!game->map) return;
  for (const sPoint& place : country->aiSettings.DoNotAttackCities) {
    sHex* hex = game->map->IsInside(place.x, place.y) ? game->map->GetHex(place.x, place.y) : nullptr;
    if (hex && hex->city) {
      hex->city->attackAllowed = 0;
    } else {
      LogFormat(u"[AI] %ls: no city on hex (%i,%i) of DoNotAttackCities", country->name, place.x, place.y);
    }
  }
}

bool cCountryAI::HasThreatenedFront() const {
  for (const sFront& front : fronts) {
    if (front.state == kFrontThreatened || front.state == kFrontCritical) return true;
  }
  return false;
}

cCountryAI& CountryAiOf(cGame& game, const cCountry& country) {
  // One state per row of the country list: a number read from a file never sizes it.
  const int count = std::max(game.CountryCount(), 1);
  while (static_cast<int>(game.countryAi.size()) < count) game.countryAi.push_back(std::make_unique<cCountryAI>());
  const int index = country.id >= 1 && country.id <= count ? country.id - 1 : 0;
  return *game.countryAi[static_cast<std::size_t>(index)];
}

void PlayCountryAiTurn(cGame& game, cCountry& country) { CountryAiOf(game, country).PlayTurn(); }

}  // namespace tr
