#include "turn/gra_endturn.h"

#include <algorithm>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "foundation/string_base.h"
#include "scenario/saved_info.h"
#include "turn/game_over.h"
#include "turn/theads.h"
#include "turn/turn_rules.h"
#include "turn/turn_steps.h"
#include "units/commander_link.h"
#include "units/player_control.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "gra_endturn";
// Freeze times from here up never run down.
constexpr int kPermanentFreeze = 10000;

int ImpulsesOfCurrentMonth(const cGame& game) {
  const int month = std::clamp(game.date.month, 1, 12);
  // A month without impulses is refused at load; one impulse keeps the date moving.
  return std::max(1, game.constants.ImpulsesPerMonth(month));
}

}  // namespace

void CheckImpulsesPerMonth(const cGame& game) {
  for (int month = 1; month <= 12; ++month) {
    const int impulses = game.constants.ImpulsesPerMonth(month);
    if (impulses >= 1 && impulses <= kMaxImpulse) continue;
    // Past the most a save's Info.ini holds, no save of the game would load.
    LogFormat(u"Data error in consts.csv: month %i has %i impulses; every month needs from one to %i", month,
              impulses, kMaxImpulse);
    ExitDestroyingGame(1);
  }
}

bool IsMonthlyImpulse(const cGame& game) { return (game.turn - 1) % ImpulsesOfCurrentMonth(game) == 0; }

void AgeMulberries(cGame& game) {
  LogLine(u"Zmniejszam liczniki zycia mulberry");
  game.lastMonthProcessed = game.date.month;
  std::vector<cJednostkaLadowa*> expired;
  for (const auto& unit : game.landUnits) {
    auto* harbour = dynamic_cast<cMulberry*>(unit.get());
    if (!harbour) continue;
    --harbour->remainingTime;
    if (harbour->remainingTime < 1) expired.push_back(harbour);
  }
  // Killed after the walk: a kill takes the unit out of the list being walked.
  for (cJednostkaLadowa* harbour : expired) harbour->Kill();
}

void UpdateEntrenchment(cGame& game) {
  LogLine(u"Modyfikuje jednostkam bonusy z okopania");
  const int maxEntrenchment = game.constants.MaxEntrenchment();
  for (const auto& unit : game.landUnits) {
    cJednostkaLadowa& u = *unit;
    int change = 0;
    if (u.startingActionPoints == 0 && u.movedThisTurn == 0) {
      change = 1;
    } else if (u.actionPoints == u.startingActionPoints && u.startingActionPoints > 0) {
      change = 1;
    } else if (u.x == u.lastX && u.y == u.lastY) {
      change = 0;
    } else {
      change = -u.trenchBonusMultiplier;
    }
    u.trenchBonusMultiplier += change;
    u.lastX = u.x;
    u.lastY = u.y;
    if (u.trenchBonusMultiplier > maxEntrenchment) u.trenchBonusMultiplier = maxEntrenchment;
  }
}

void RepairProductionAndPorts(cGame& game) {
  LogLine(u"Odbudowuje zniszczenia produkcji");
  for (const auto& city : game.cities) {
    if (city->bombedPP <= 0) continue;
    --city->bombedPP;
    city->productionPoints = std::min(city->productionPoints + 1.0f, static_cast<float>(kMaxCityProduction));
  }
  LogLine(u"Odbudowuje zniszczenia z portow");
  for (sWezelGrafuMorz& node : game.seaGraph.nodes) {
    if (node.IsPort() && node.portSize < node.maxPortSize) ++node.portSize;
    node.ShareBestCommander(-1);
  }
}

void RefreshUnitsAndFleets(cGame& game, bool full) {
  LogLine(u"Refreshuje wspolczynniki dla jednostek ladowych");
  const float mulberryStrength = game.constants.Float(135, 3);
  // Nothing in this pass moves a unit or a commander, so one list serves every unit.
  const std::vector<const cUnit*> headquarters = CollectHeadquarters(game);
  for (const auto& unit : game.landUnits) {
    cJednostkaLadowa& u = *unit;
    if (u.type == kMulberryType && u.GetStrengthValue() > mulberryStrength) {
      u.SetStrength(static_cast<int>(mulberryStrength));
    }
    if (u.freezeTime < kPermanentFreeze) u.freezeTime = std::max(0, u.freezeTime - 1);
    u.shoreBombardmentEffect = 0.0f;
    u.ResetActionPoints();
    AssignCommanderAmong(u, headquarters);
    u.ComputeCombatValue();
    u.attacked = 0;
    u.wasAttacked = 0;
    u.newEnemyRevealed = 0;
  }
  LogLine(u"Refreshuje wspolczynniki dla jednostek lotniczych");
  for (const auto& unit : game.airUnits) {
    unit->ResetActionPoints();
    AssignCommanderAmong(*unit, headquarters);
    unit->ComputeCombatValue();
    unit->attacked = 0;
    unit->wasAttacked = 0;
    unit->newEnemyRevealed = 0;
    unit->airReconDone = 0;
  }
  LogLine(u"Refreshuje wspolczynniki dla jednostek morskich");
  for (const auto& ship : game.navalUnits) {
    ship->shoreBombardmentDone = 0;
    ship->airstrikeDone = 0;
    ship->reconDone = 0;
    ship->canBeRepaired = 1;
  }
  LogLine(u"Refreshuje wspolczynniki dla flot");
  for (const auto& fleet : game.fleets) fleet->hasMoved = 0;
  if (full) {
    LogLine(u"Zmniejszam czas produkcji...");
    for (const auto& unit : game.reservePool) {
      if (unit->availableInTurns > 0) --unit->availableInTurns;
    }
    for (const auto& ship : game.navalReserve) {
      if (ship->availableInTurns > 0) --ship->availableInTurns;
    }
  }
  LogLine(u"Czyszcze listy odkrytych jednostek");
  for (const auto& country : game.countries) country->reconSpottedUnits.clear();
}

void RefreshCountries(cGame& game, bool full) {
  LogLine(u"Odswiezam rozne wspolczynniki dla wszystkich krajow");
  const float unrestDecrease = game.constants.Float(115, 6);
  const float growthOther = game.constants.Float(115, 4);
  const float growthRegime = game.constants.Float(115, 5);
  const float growthAbove100 = game.constants.Float(115, 7);
  const bool monthly = IsMonthlyImpulse(game);
  for (const auto& c : game.countries) {
    cCountry& country = *c;
    if (!country.isActive) continue;
    country.socialUnrest = std::clamp(country.socialUnrest - unrestDecrease, 0.0f, 100.0f);
    country.strategicMovementPoints = country.strategicMovementMax;
    country.invasionPointsUsed = country.invasionPoints;
    country.AddAmphibiousShipCapacity();
    if (!full || !monthly || !country.IsAtWarWithAnyone()) continue;
    if (country.warEconomy < 100.0f) {
      const bool regime = country.orientation == kNationalistRegime || country.orientation == kCommunistRegime;
      country.warEconomy = std::min(100.0f, country.warEconomy + (regime ? growthRegime : growthOther));
    } else {
      country.warEconomy += growthAbove100;
    }
    // Held where the countries table reads it back.
    country.warEconomy = std::clamp(country.warEconomy, 0.0f, static_cast<float>(kMaxPoints));
  }
}

void AdvanceDate(cGame& game) {
  ++game.turn;
  --game.turnsLeft;
  LogLine(u"Zmieniam date");
  cGameDate& date = game.date;
  ++date.impulse;
  if (date.impulse > ImpulsesOfCurrentMonth(game)) {
    date.impulse = 1;
    ++date.month;
    if (date.month > 12) {
      date.month = 1;
      ++date.year;
    }
  }
}

void RestoreLastMonthProcessed(cGame& game) {
  // At a month's first impulse the impulse that ended was the last month's.
  const int month = game.date.month;
  game.lastMonthProcessed = game.date.impulse > 1 ? month : (month > 1 ? month - 1 : 12);
}

void EndOfImpulse(cGame& game, std::uint8_t full) {
  LogLine(u"Zaczynam wykonywanie konca impulsu");
  SetPanelHintText(GetText("end_of_turn"));
  // The renderer reads the lists these passes change, so each pass holds
  // the lock; the steps that show a box and wait for it run outside it.
  {
    GameLockGuard lock(kThisFile, __LINE__);
    if (game.date.month != game.lastMonthProcessed) AgeMulberries(game);
    LogLine(u"Losuje pogode");
    if (game.map) game.map->RollWeather(game.date.month - 1);
    UpdateEntrenchment(game);
    LogLine(u"DowĂłdcy w drodze do sztabu docieraja do nich");
    for (const auto& commander : game.commanders) {
      if (commander->state == kCommanderOnHisWay) commander->state = kCommanderNotAssigned;
    }
    LogLine(u"Zaznaczam kazdemu panstwu rozne pierdoly");
    for (const auto& country : game.countries) {
      if (!country->isActive) continue;
      country->finishedTurn = 0;
      country->doneDelayWarEntry = 0;
      country->doneHasteWarEntry = 0;
      country->doneTurnInOrientation = 0;
      country->doneExertPressureAxis = 0;
      country->doneExertPressureAllied = 0;
      country->doneExertPressureComintern = 0;
    }
    RepairProductionAndPorts(game);
    LogLine(u"Zeruje efektywnosci z eventu dla jedn ladowych");
    for (const auto& unit : game.landUnits) unit->eventsEffect = 0;
  }

  if (full) {
    CheckSurrenders(game);
    if (WorkerMustStop(game)) return;
    CheckSieges(game);
    if (WorkerMustStop(game)) return;
    CalculateProduction(game);
    CalculateUpkeep(game);
    CalculateResearch(game);
    if (!game.pbemGame) CheckEventsAtTurnEnd(game);
    if (WorkerMustStop(game)) return;
    CheckGameOver(game);
    if (game.gameOver || WorkerMustStop(game)) return;
  }

  ComputeSupplyStep(game);
  {
    GameLockGuard lock(kThisFile, __LINE__);
    AbsorbUnsuppliedHexes();
  }
  if (full) {
    LogLine(u"Rozgrywam dodatkowe");
    SetPanelHintText(GetText("statusbar_hint_convoys_results"));
    ShowConvoyResults(game);
    if (WorkerMustStop(game)) return;
  }
  {
    GameLockGuard lock(kThisFile, __LINE__);
    RefreshUnitsAndFleets(game, full != 0);
    RefreshCountries(game, full != 0);
  }
  if (full) {
    LogLine(u"Rozgrywam bitwy morskie");
    SetPanelHintText(GetText("statusbar_hint_determining_sea_battles"));
    game.SetGameState(kGameSeaBattles);
    RunSeaBattleGenerator(game);
    if (WorkerMustStop(game)) return;
  }
  AdvanceDate(game);
  LogLine(u"Koniec impulsu wykonany");
}

cCountry* ChooseNewAllianceLeader(cGame& game, int alliance) {
  LogFormat(GetText("determining_new_leader_of_alliance_%i"), alliance);
  const int member = alliance >= kAlliesLeader ? alliance - 3 : alliance;
  cCountry* candidate = nullptr;
  int best = 0;
  for (const auto& country : game.countries) {
    if (!country->isActive || member == kNeutral || country->alliance != member) continue;
    if (country->politicalStrength < best) continue;
    best = country->politicalStrength;
    candidate = country.get();
  }
  if (!candidate) {
    LogLine(u"Could not determine new leader - no countries left in alliance!");
    return nullptr;
  }
  LogFormat(GetText("%s_becomes_new_leader"), candidate->name);
  return candidate;
}

}  // namespace tr
