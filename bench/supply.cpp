// The supply computation of every country on the large generated game: city
// groups and nearest cities of the three alliances, then each country's
// levels and unit supply, the neutrals last.
#include <benchmark/benchmark.h>

#include <memory>

#include "datagen/large_scenario.h"
#include "scenario/scenario_constants.h"
#include "turn/supply.h"
#include "world/gra.h"

namespace {

void SetConstant(tr::cGame& game, int line, int field, double value) {
  game.constants.SetSlot(tr::sScenarioConstants::SlotOf(line, field), value);
}

// Supply maximum 10, terrain costs 1 to 3, three turns without supply.
std::unique_ptr<tr::cGame> BuildGame() {
  auto game = tr::datagen::BuildLargeGame();
  tr::gGame = game.get();
  SetConstant(*game, 48, 1, 10);
  for (int terrain = 1; terrain <= 7; ++terrain) SetConstant(*game, 16, terrain + 1, 1 + terrain % 3);
  SetConstant(*game, 17, 1, 1);
  SetConstant(*game, 137, 1, 3);
  return game;
}

void BM_ComputeSupply(benchmark::State& state) {
  auto game = BuildGame();
  for (auto _ : state) game->supply.ComputeSupply(*game);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(game->landUnits.size() + game->airUnits.size()));
  tr::gGame = nullptr;
}
BENCHMARK(BM_ComputeSupply)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The whole step of the end of impulse: the computation, harbours and ships.
void BM_SupplyStep(benchmark::State& state) {
  auto game = BuildGame();
  SetConstant(*game, 135, 2, 5.0);
  SetConstant(*game, 168, 1, 10);
  SetConstant(*game, 169, 1, 4);
  for (int token = 1; token <= 6; ++token) {
    SetConstant(*game, 170, token, 2);
    SetConstant(*game, 171, token, 1);
  }
  for (auto _ : state) tr::RunSupplyStep(*game);
  tr::gGame = nullptr;
}
BENCHMARK(BM_SupplyStep)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
