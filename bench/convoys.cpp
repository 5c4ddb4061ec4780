// Every convoy of the large generated scenario, as one end of impulse runs
// them inside the supply computation: each country's convoys with the city
// groups and nearest cities of its side, the fleets at sea attacking.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "foundation/paths.h"
#include "foundation/random.h"
#include "turn/convoy.h"
#include "world/city.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/panstwo.h"

namespace {

struct sSide {
  tr::SupplyCityGroups* groups;
  tr::SupplyResults* results;
};

sSide SideOf(tr::cGame& game, const tr::cCountry& country) {
  tr::cSupply& supply = game.supply;
  switch (tr::AllianceBase(country.alliance)) {
    case tr::kAllies: return {&supply.alliesGroups, &supply.alliesResults};
    case tr::kAxis: return {&supply.axisGroups, &supply.axisResults};
    case tr::kComintern: return {&supply.cominternGroups, &supply.cominternResults};
    default: return {&supply.neutralGroups, &supply.neutralResults};
  }
}

void BM_ConvoysOfOneEndOfImpulse(benchmark::State& state) {
  tr::SetGameRoot(TR_LARGE_GAME_DIR);
  tr::SeedRandom(7);
  tr::cGame* game = tr::LoadNewScenario(u"data\\scenarios\\Large\\%s", 0);
  game->supply.ComputeSupply(*game);
  // Each run starts from the same points and city levels.
  std::vector<std::vector<std::int32_t>> supply;
  std::vector<std::vector<bool>> convoy;
  for (const auto& city : game->cities) {
    supply.push_back(city->supplyInfo);
    convoy.push_back(city->convoyInfo);
  }
  std::int64_t convoys = 0;
  for (const auto& list : game->convoys.convoys) convoys += static_cast<std::int64_t>(list.size());
  std::int64_t carried = 0;
  for (auto _ : state) {
    state.PauseTiming();
    game->reports.Clear();
    std::size_t i = 0;
    for (const auto& city : game->cities) {
      city->supplyInfo = supply[i];
      city->convoyInfo = convoy[i];
      ++i;
    }
    for (const auto& country : game->countries) {
      country->seaTransportPoints = 100;
      country->seaTransportUsedByConvoys = 0;
      country->productionPoints = 100.0;
    }
    state.ResumeTiming();
    for (const auto& country : game->countries) {
      const sSide side = SideOf(*game, *country);
      tr::ExecuteAllConvoys(game->convoys, country->id, *side.groups, *side.results);
    }
    state.PauseTiming();
    for (const auto& results : game->convoys.results) {
      for (const tr::sConvoyResult& result : results) carried += result.pointsCarried;
    }
    state.ResumeTiming();
  }
  if (carried == 0) state.SkipWithError("no convoy sailed");
  state.counters["convoys"] = static_cast<double>(convoys);
  state.SetItemsProcessed(state.iterations() * convoys);
  delete tr::gGame;
  tr::gGame = nullptr;
}
BENCHMARK(BM_ConvoysOfOneEndOfImpulse)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
