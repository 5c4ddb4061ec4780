// The reach search of every fleet of the large generated scenario, as the
// fleets manager and the computer opponent run it for each fleet of a turn.
#include <benchmark/benchmark.h>

#include "foundation/paths.h"
#include "foundation/random.h"
#include "turn/fleet.h"
#include "world/game_start.h"
#include "world/gra.h"

namespace {

void BM_FleetReachAllFleets(benchmark::State& state) {
  tr::SetGameRoot(TR_LARGE_GAME_DIR);
  tr::SeedRandom(7);
  tr::cGame* game = tr::LoadNewScenario(u"data\\scenarios\\Large\\%s", 0);
  std::int64_t reached = 0;
  for (auto _ : state) {
    for (const auto& fleet : game->fleets) reached += fleet->FindReachableNodes();
  }
  if (reached == 0) state.SkipWithError("no fleet reaches any node");
  state.counters["fleets"] = static_cast<double>(game->fleets.size());
  state.counters["nodes"] = static_cast<double>(game->seaGraph.NodeCount());
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(game->fleets.size()));
  delete tr::gGame;
  tr::gGame = nullptr;
}
BENCHMARK(BM_FleetReachAllFleets)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
