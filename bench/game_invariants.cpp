// The autoplay runner's invariant checks on a game of many ships, as a
// loaded save with that many ship rows holds them: the ships in fleets of
// the size given as the second argument (0: one fleet of them all), every
// tenth a cargo ship carrying a land unit. The checks run after every
// country's turn, so they must grow with the game, not with its square.
#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

#include "ai/game_invariants.h"
#include "world/gra.h"

namespace {

std::unique_ptr<tr::cGame> MakeFleets(int shipCount, int fleetSize) {
  auto game = std::make_unique<tr::cGame>();
  game->map = std::make_unique<tr::cMap>(10, 10);
  for (tr::sHex& hex : game->map->Hexes()) hex.terrain = 1;
  tr::cFleet* fleet = nullptr;
  for (int i = 0; i < shipCount; ++i) {
    if (!fleet || (fleetSize > 0 && static_cast<int>(fleet->ships.size()) == fleetSize)) {
      auto made = std::make_unique<tr::cFleet>();
      made->id = static_cast<int>(game->fleets.size()) + 1;
      fleet = made.get();
      game->fleets.push_back(std::move(made));
    }
    auto ship = std::make_unique<tr::cJednostkaMorska>();
    ship->id = i + 1;
    ship->owner = 1;
    ship->type = i % 10 == 0 ? tr::kCargoShip : 42;
    ship->fleet = fleet;
    fleet->ships.push_back(ship.get());
    if (ship->type == tr::kCargoShip) {
      auto unit = std::make_unique<tr::cJednostkaLadowa>();
      unit->id = i + 1;
      unit->owner = 1;
      unit->x = -1;
      unit->y = -1;
      unit->transporter = ship.get();
      ship->carriedUnit = unit.get();
      game->aboardUnitsA.push_back(std::move(unit));
    }
    game->navalUnits.push_back(std::move(ship));
  }
  return game;
}

void BM_FindInvariantViolation(benchmark::State& state) {
  const std::unique_ptr<tr::cGame> game = MakeFleets(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    const std::string found = tr::FindInvariantViolation(*game);
    if (!found.empty()) throw std::logic_error(found);
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_FindInvariantViolation)
    ->ArgsProduct({{2000, 20000, 200000}, {0, 10}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
