// One full impulse of the large generated scenario through the autoplay
// runner: every country's computer turn, the invariant checks after each,
// and the end of impulse. The game is loaded as the scenario checker loads it.
// Each repetition loads the game afresh and plays the same fixed number of
// impulses, so every build and every run times the same positions.
#include <benchmark/benchmark.h>

#include "ai/autoplay.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "turn/game_steps.h"
#include "world/game_start.h"
#include "world/gra.h"

namespace {

void BM_AiImpulse(benchmark::State& state) {
  tr::SetGameRoot(TR_LARGE_GAME_DIR);
  tr::InstallGameSteps();
  tr::SeedRandom(7);
  tr::cGame* game = tr::LoadNewScenario(u"data\\scenarios\\Large\\%s", 0);
  {
    tr::cAutoplay play(*game);
    for (auto _ : state) {
      if (!play.PlayImpulse()) {
        state.SkipWithError(play.violation().empty() ? "the game ended" : play.violation().c_str());
        break;
      }
    }
    state.counters["land_units"] = static_cast<double>(game->landUnits.size());
  }
  tr::UninstallGameSteps();
  delete tr::gGame;
  tr::gGame = nullptr;
}
BENCHMARK(BM_AiImpulse)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->MeasureProcessCPUTime();

}  // namespace
