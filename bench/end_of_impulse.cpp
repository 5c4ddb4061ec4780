// One full end of impulse of the large generated game: three alliances and
// neutrals, a few hundred cities and thousands of units, no dialogs.
#include <benchmark/benchmark.h>

#include <memory>

#include "datagen/large_scenario.h"
#include "scenario/scenario_constants.h"
#include "turn/gra_endturn.h"
#include "world/gra.h"

namespace {

void SetConstant(tr::cGame& game, int line, int field, double value) {
  game.constants.SetSlot(tr::sScenarioConstants::SlotOf(line, field), value);
}

// The large generated scenario's world, held in memory.
std::unique_ptr<tr::cGame> BuildGame() {
  auto game = tr::datagen::BuildLargeGame();
  tr::gGame = game.get();
  for (int month = 1; month <= 12; ++month) SetConstant(*game, 1, month, 3);
  SetConstant(*game, 143, 1, 3);
  game->turn = 1;
  game->turnsLeft = 1000000;
  game->StoreGameState(tr::kGameEndOfImpulse);
  return game;
}

void BM_EndOfImpulse(benchmark::State& state) {
  auto game = BuildGame();
  for (auto _ : state) tr::EndOfImpulse(*game, 1);
  state.SetItemsProcessed(state.iterations());
  tr::gGame = nullptr;
}
BENCHMARK(BM_EndOfImpulse)->Unit(benchmark::kMillisecond);

}  // namespace
