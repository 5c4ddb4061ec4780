// The sea-battle generator of one end of impulse on the large generated
// scenario: surprise attacks, the sinking pass and every open sea's meetings
// and raider detections, the battles resolved by the driver without a screen.
// Each run starts from a freshly loaded game, since battles sink ships.
// Counted per run: battles begun, the ships taken into them, the regular
// parts fought, the hit points lost and the ships sunk.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "foundation/paths.h"
#include "foundation/random.h"
#include "scenario/scenario_constants.h"
#include "turn/sea_battle.h"
#include "units/jednostka_morska.h"
#include "world/game_start.h"
#include "world/game_state.h"
#include "world/gra.h"

namespace {

std::int64_t HitPoints(const tr::cGame& game) {
  std::int64_t sum = 0;
  for (const auto& ship : game.navalUnits) sum += ship->hitPoints;
  return sum;
}

// A battle clears the mark of every ship it takes in: set on all before the
// run, the marks left clear name the ships that went into a battle.
void MarkAllShips(tr::cGame& game) {
  for (const auto& ship : game.navalUnits) ship->hasActed = 1;
}

std::int64_t ShipsTakenIntoBattle(const tr::cGame& game) {
  std::int64_t count = 0;
  for (const auto& ship : game.navalUnits) count += ship->hasActed == 0;
  return count;
}

// A meeting of hostile fleets becomes a battle when a roll in thousandths is
// at most the first side's summed sea-battle weights, and only the ships that
// pass their participation roll join either side. The generated seas hold
// some twenty ships a side, whose weights already pass any roll, so what
// keeps a ship out of the fight is its participation roll (60% in the
// sample's constants). With `everyMeetingFights` each ship weighs 1000 and
// every ship joins: every meeting becomes a battle of all the ships there.
// Either way an opening in which both sides bring carriers may still call
// the regular part off, the more likely the more carriers.
tr::cGame* LoadLarge(bool everyMeetingFights) {
  delete tr::gGame;
  tr::gGame = nullptr;
  tr::SeedRandom(7);
  tr::cGame* game = tr::LoadNewScenario(u"data\\scenarios\\Large\\%s", 0);
  game->reports.Clear();
  if (everyMeetingFights) {
    for (int type = 1; type <= 6; ++type) {
      game->constants.SetSlot(tr::sScenarioConstants::SlotOf(72, type), 1000);
    }
    game->constants.SetSlot(tr::sScenarioConstants::SlotOf(128, 1), 100);
  }
  game->SetGameState(tr::kGameSeaBattles);
  return game;
}

void BM_SeaBattleGenerator(benchmark::State& state) {
  tr::SetGameRoot(TR_LARGE_GAME_DIR);
  std::int64_t begun = 0;
  std::int64_t shipsInBattle = 0;
  std::int64_t fought = 0;
  std::int64_t hitPointsLost = 0;
  std::int64_t sunk = 0;
  std::int64_t ships = 0;
  // The regular parts (those the opening did not call off), counted on their way to the headless driver.
  tr::SetSeaBattleScreen([&](tr::sSeaBattle& battle) {
    ++fought;
    tr::RunSeaBattleHeadless(battle);
  });
  for (auto _ : state) {
    state.PauseTiming();
    tr::cGame* game = LoadLarge(state.range(0) != 0);
    const auto before = static_cast<std::int64_t>(game->navalUnits.size());
    const std::int64_t hitPointsBefore = HitPoints(*game);
    MarkAllShips(*game);
    tr::cSeaBattleGenerator generator;
    state.ResumeTiming();
    generator.Run(*game);
    state.PauseTiming();
    // Every battle's "have met" report goes to every country; country 1's copies count them.
    for (const tr::sReport& report : game->reports.Reports()) {
      begun += report.type == tr::kReportSeaBattle && report.country == 1 &&
               report.text.rfind(u"Sea battle at ", 0) != 0;
    }
    const std::int64_t sunkNow = before - static_cast<std::int64_t>(game->navalUnits.size());
    sunk += sunkNow;
    shipsInBattle += ShipsTakenIntoBattle(*game) + sunkNow;
    hitPointsLost += hitPointsBefore - HitPoints(*game);
    ships = before;
    state.ResumeTiming();
  }
  tr::SetSeaBattleScreen({});
  const double runs = static_cast<double>(state.iterations());
  state.counters["ships"] = static_cast<double>(ships);
  state.counters["battles"] = static_cast<double>(begun) / runs;
  state.counters["ships_in_battle"] = static_cast<double>(shipsInBattle) / runs;
  state.counters["fought"] = static_cast<double>(fought) / runs;
  state.counters["hp_lost"] = static_cast<double>(hitPointsLost) / runs;
  state.counters["sunk"] = static_cast<double>(sunk) / runs;
  delete tr::gGame;
  tr::gGame = nullptr;
}
BENCHMARK(BM_SeaBattleGenerator)
    ->ArgName("every_meeting_fights")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
