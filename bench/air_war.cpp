// The air war's map-wide work on a 300 x 200 map with 400 enemy fighters: a
// bomber's rebase hexes (every hex is shaded first), its bombardment targets,
// and the interceptor search over a land hex.
#include <benchmark/benchmark.h>

#include <memory>

#include "foundation/paths.h"
#include "scenario/scenario_constants_layout.h"
#include "world/gra.h"
#include "scratch_folder.h"

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 200;

// Its teardown saves the settings, so the game folder is a temporary one.
struct AirGame {
  AirGame() {
    tr::SetGameRoot(scratch.path());
    tr::gGame = &game;
    using namespace tr::consts_layout;
    tr::sScenarioConstants& k = game.constants;
    for (int t = 0; t < 3; ++t) {
      k.SetSlot(kAirActionPoints + t, 4);
      k.SetSlot(kAirMaxStrength + t, 10);
    }
    for (int i = 0; i < 4; ++i) k.SetSlot(kAirRangeBase + i, 8 + 4 * (i % 2));
    for (int level = 0; level <= 5; ++level) k.SetSlot(kAirRangeFactor + level, 1.0);
    k.SetSlot(kAirSearchRadius, 6);
    k.SetSlot(kFullSupplyLevel, 10);
    game.map = std::make_unique<tr::cMap>(kWidth, kHeight);
    for (tr::sHex& hex : game.map->Hexes()) {
      hex.terrain = 1;
      hex.controller = hex.x < kWidth / 2 ? 1 : 2;
    }
    for (int id = 1; id <= 2; ++id) {
      auto country = std::make_unique<tr::cCountry>();
      country->id = id;
      country->techLevels[3] = 3;
      game.countries.push_back(std::move(country));
    }
    game.relations.Reset(2);
    game.relations.SetWar(1, 2, true);
    game.relations.SetWar(2, 1, true);
    for (int i = 0; i < 400; ++i) Add(2, kWidth / 2 + (i * 7) % (kWidth / 2), (i * 13) % kHeight, tr::kFighter);
    bomber = Add(1, kWidth / 2 - 3, kHeight / 2, tr::kTacticalBomber);
  }
  ~AirGame() { tr::gGame = nullptr; }

  tr::cJednostkaLotnicza* Add(int owner, int x, int y, int type) {
    auto unit = std::make_unique<tr::cJednostkaLotnicza>();
    unit->owner = owner;
    unit->SetType(type);
    unit->strength = 10;
    unit->supply = 10;
    unit->actionPoints = unit->startingActionPoints = 4;
    unit->spotted = 1;
    unit->PlaceOnHex(x, y);
    game.airUnits.push_back(std::move(unit));
    return game.airUnits.back().get();
  }

  tr::bench::ScratchFolder scratch{"air_war"};  // outlives the game, whose teardown writes there
  tr::cGame game;
  tr::cJednostkaLotnicza* bomber = nullptr;
};

void BM_MarkRebaseHexes(benchmark::State& state) {
  AirGame air;
  for (auto _ : state) {
    benchmark::DoNotOptimize(air.bomber->MarkMoveHexes(1));
    air.game.map->ClearHexFlags(~0u, true);
  }
}
BENCHMARK(BM_MarkRebaseHexes)->Unit(benchmark::kMicrosecond);

void BM_MarkBombardmentTargets(benchmark::State& state) {
  AirGame air;
  for (auto _ : state) benchmark::DoNotOptimize(air.bomber->MarkBombardmentTargets(1));
}
BENCHMARK(BM_MarkBombardmentTargets)->Unit(benchmark::kMicrosecond);

void BM_HexInterceptorSearch(benchmark::State& state) {
  AirGame air;
  const tr::sHex& target = *air.game.map->GetHex(kWidth / 2 + 2, kHeight / 2);
  for (auto _ : state) benchmark::DoNotOptimize(target.FindBestInterceptor(1));
}
BENCHMARK(BM_HexInterceptorSearch)->Unit(benchmark::kMicrosecond);

}  // namespace
