// The land move range of a unit with 12 action points in the middle of a
// large generated map: mixed terrain and weather, two fronts of enemy units
// whose zones of control the range must respect, in the computer's probe and
// in the player's highlighted view, and the path back from the far edge.
#include <benchmark/benchmark.h>

#include <memory>

#include "scenario/scenario_constants_layout.h"
#include "world/gra.h"

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 200;
constexpr int kActionPoints = 12;

struct BenchWorld {
  BenchWorld() : game(std::make_unique<tr::cGame>()) {
    tr::gGame = game.get();
    game->map = std::make_unique<tr::cMap>(kWidth, kHeight);
    for (int id = 1; id <= 3; ++id) {
      auto country = std::make_unique<tr::cCountry>();
      country->id = id;
      country->alliance = id == 1 ? tr::kAllies : id == 2 ? tr::kAxis : tr::kNeutral;
      country->mudMove = 50;
      country->winterMove = 25;
      game->countries.push_back(std::move(country));
    }
    game->relations.Reset(3);
    game->relations.SetWar(1, 2, true);
    game->relations.SetWar(2, 1, true);
    auto& c = game->constants;
    for (int terrain = 0; terrain < tr::consts_layout::kMoveCostRow; ++terrain) {
      c.SetSlot(tr::consts_layout::kMoveCost + terrain, 1 + terrain % 3);
    }
    c.SetSlot(tr::consts_layout::kMoveCost + 9, 2);
    c.SetSlot(tr::consts_layout::kMudMovePercent, 100);
    c.SetSlot(tr::consts_layout::kWinterMovePercent, 100);
    for (tr::sHex& hex : game->map->Hexes()) {
      hex.terrain = (hex.x / 7 + hex.y / 5) % 9 == 0 ? 0 : 1 + (hex.x * 7 + hex.y * 3) % 7;
      hex.weather = (hex.x + hex.y) % 11 == 0 ? 2 : (hex.x * hex.y) % 13 == 0 ? 1 : 0;
      hex.controller = hex.owner = static_cast<std::uint8_t>(hex.x < 170 ? 1 : hex.y % 40 == 0 ? 3 : 2);
    }
    // Enemy lines east and north of the unit, a few hexes apart.
    for (int y = 80; y < 120; y += 3) AddUnit(2, 158, y);
    for (int x = 135; x < 165; x += 4) AddUnit(2, x, 89);
    unit = AddUnit(1, 150, 100);
    unit->actionPoints = unit->startingActionPoints = kActionPoints;
  }
  ~BenchWorld() { tr::gGame = nullptr; }

  tr::cJednostkaLadowa* AddUnit(int owner, int x, int y) {
    auto land = std::make_unique<tr::cJednostkaLadowa>();
    land->owner = owner;
    land->x = x;
    land->y = y;
    land->spotted = 1;
    game->map->GetHex(x, y)->terrain = 1;
    game->map->GetHex(x, y)->unit = land.get();
    game->landUnits.push_back(std::move(land));
    return game->landUnits.back().get();
  }

  std::unique_ptr<tr::cGame> game;
  tr::cJednostkaLadowa* unit = nullptr;
};

BenchWorld& World() {
  static BenchWorld world;
  return world;
}

void BM_ComputeMoveRange(benchmark::State& state) {
  BenchWorld& world = World();
  const int quiet = static_cast<int>(state.range(0));
  int cells = 0;
  for (auto _ : state) {
    cells = world.unit->ComputeMoveRange(quiet);
    benchmark::DoNotOptimize(cells);
  }
  state.counters["cells"] = cells;
}
BENCHMARK(BM_ComputeMoveRange)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_FindHexPathToTheFarthestHex(benchmark::State& state) {
  BenchWorld& world = World();
  tr::cJednostkaLadowa& unit = *world.unit;
  unit.ComputeMoveRange(1);
  tr::sMoveRangeCell far = unit.moveRange.front();
  for (const tr::sMoveRangeCell& cell : unit.moveRange) {
    if (cell.cost > far.cost) far = cell;
  }
  tr::cPlayerControl& control = world.game->playerControl;
  for (auto _ : state) {
    benchmark::DoNotOptimize(control.FindHexPath(&unit, far.x, far.y));
    world.game->map->GetHex(unit.x, unit.y)->unit = &unit;
  }
  control.move = {};
  control.undo = {};
}
BENCHMARK(BM_FindHexPathToTheFarthestHex)->Unit(benchmark::kMicrosecond);

}  // namespace
