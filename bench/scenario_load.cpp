// Loading the large generated scenario the way the scenario checker does:
// every table read, units placed and the finishing passes run.
#include <benchmark/benchmark.h>

#include "foundation/paths.h"
#include "world/game_start.h"
#include "world/gra.h"

namespace {

void BM_LoadLargeScenario(benchmark::State& state) {
  tr::SetGameRoot(TR_LARGE_GAME_DIR);
  std::size_t units = 0;
  for (auto _ : state) {
    tr::cGame* game = tr::LoadNewScenario(u"data\\scenarios\\Large\\%s", 0);
    units = game->landUnits.size() + game->navalUnits.size();
    state.PauseTiming();
    delete tr::gGame;
    tr::gGame = nullptr;
    state.ResumeTiming();
  }
  state.counters["units"] = static_cast<double>(units);
}
BENCHMARK(BM_LoadLargeScenario)->Unit(benchmark::kMillisecond);

}  // namespace
