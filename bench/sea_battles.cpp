// The sea-battle generator of one end of impulse on the large generated
// scenario: surprise attacks, the sinking pass and every open sea's meetings
// and raider detections, the battles resolved by the driver without a screen.
// Each run starts from a freshly loaded game, since battles sink ships.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "foundation/paths.h"
#include "foundation/random.h"
#include "scenario/scenario_constants.h"
#include "turn/sea_battle.h"
#include "world/game_start.h"
#include "world/game_state.h"
#include "world/gra.h"

namespace {

// With `everyMeetingFights` each ship weighs 1000, so every meeting whose
// ships pass their participation rolls becomes a battle.
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
  }
  game->SetGameState(tr::kGameSeaBattles);
  return game;
}

void BM_SeaBattleGenerator(benchmark::State& state) {
  tr::SetGameRoot(TR_LARGE_GAME_DIR);
  std::int64_t battles = 0;
  std::int64_t sunk = 0;
  std::int64_t ships = 0;
  for (auto _ : state) {
    state.PauseTiming();
    tr::cGame* game = LoadLarge(state.range(0) != 0);
    const auto before = static_cast<std::int64_t>(game->navalUnits.size());
    tr::cSeaBattleGenerator generator;
    state.ResumeTiming();
    generator.Run(*game);
    state.PauseTiming();
    for (const tr::sReport& report : game->reports.Reports()) {
      battles += report.type == tr::kReportSeaBattle && report.text.rfind(u"Sea battle at ", 0) == 0;
    }
    sunk += before - static_cast<std::int64_t>(game->navalUnits.size());
    ships = before;
    state.ResumeTiming();
  }
  // Per run: damage reports (one per participating country and battle) and ships sunk.
  const double runs = static_cast<double>(state.iterations());
  state.counters["ships"] = static_cast<double>(ships);
  state.counters["battle_reports"] = static_cast<double>(battles) / runs;
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
