// Land battles: 10,000 battles of three attackers against one defender on a
// small map, from a fixed seed. The units are restored after every battle so
// each one is fought in full, with its log lines, losses and reports.
#include <benchmark/benchmark.h>

#include <memory>

#include "foundation/paths.h"
#include "foundation/random.h"
#include "scenario/scenario_constants_layout.h"
#include "units/attack.h"
#include "units/combat_result.h"
#include "world/gra.h"
#include "scratch_folder.h"

namespace {

namespace L = tr::consts_layout;

constexpr int kBattles = 10000;
constexpr int kX = 5;
constexpr int kY = 5;

// A running game with two countries at war, the combat constants and four
// units. Its teardown saves the settings, so the game folder is a temporary one.
struct BattleGame {
  BattleGame() {
    tr::SetGameRoot(scratch.path());
    tr::gGame = &game;
    game.map = std::make_unique<tr::cMap>(12, 12);
    for (tr::sHex& hex : game.map->Hexes()) {
      hex.terrain = 1;
      hex.controller = 2;
    }
    for (int id = 1; id <= 2; ++id) {
      auto country = std::make_unique<tr::cCountry>();
      country->id = id;
      country->humanControlled = id == 2;
      game.countries.push_back(std::move(country));
    }
    game.relations.Reset(2);
    game.relations.SetWar(1, 2, true);
    game.relations.SetWar(2, 1, true);
    SetConstants();
    defender = AddUnit(2, kX, kY);
    for (int side : {0, 1, 2}) {
      const tr::sPoint p = tr::NeighbourPoint(kX, kY, side);
      attackers[side] = AddUnit(1, p.x, p.y);
    }
  }
  ~BattleGame() { tr::gGame = nullptr; }

  void SetConstants() {
    auto set = [&](int slot, double value) { game.constants.SetSlot(slot, value); };
    for (int level = 1; level <= 5; ++level) {
      for (int type = 0; type < 7; ++type) set(L::kLandBaseValue + level * 7 + type, 10.0 * level + type);
    }
    for (int doctrine = 0; doctrine <= 5; ++doctrine) set(L::kAttackActionPointCost + doctrine, 2);
    for (int die = 1; die <= 6; ++die) {
      for (int column = 1; column <= 7; ++column) {
        set(L::kDefenderLossPercent + (die - 1) * 7 + column - 1, 5 * die + 3 * column);
        set(L::kAttackerLossFactor + (die - 1) * 7 + column - 1, 1.2 - 0.1 * column);
      }
    }
    for (int n = 1; n <= 6; ++n) set(L::kDirectionsFactor + n - 1, 1.0 + 0.1 * (n - 1));
    for (int t = 0; t <= 7; ++t) {
      set(L::kTerrainDefenceFactor + t, 1.0);
      set(L::kRetreatTerrainFactor + t, 1.0);
    }
    for (int c = 1; c <= 7; ++c) set(L::kRetreatColumnFactor + c, 1.0);
    set(L::kRiverAttackFactor, 0.5);
    set(L::kFortAttackPercent, 10);
    set(L::kEntrenchmentPercent, 10);
    set(L::kRetreatBase, 60);
    set(L::kCommanderMaxExperience, 5);
  }

  tr::cJednostkaLadowa* AddUnit(int owner, int x, int y) {
    auto unit = std::make_unique<tr::cJednostkaLadowa>();
    unit->owner = owner;
    unit->x = x;
    unit->y = y;
    unit->name = u"Unit";
    game.map->GetHex(x, y)->unit = unit.get();
    game.landUnits.push_back(std::move(unit));
    return game.landUnits.back().get();
  }

  // Every unit back at full strength on its hex, the target hex as it was.
  void Restore() {
    auto reset = [&](tr::cJednostkaLadowa* unit, int x, int y) {
      game.map->GetHex(unit->x, unit->y)->unit = nullptr;
      unit->x = x;
      unit->y = y;
      game.map->GetHex(x, y)->unit = unit;
      unit->strength = 100;
      unit->actionPoints = 6;
      unit->attacked = unit->wasAttacked = 0;
    };
    reset(defender, kX, kY);
    defender->strength = 40;      // weak enough to be tested for retreat
    defender->combatValue = 300;  // strong enough never to be overrun
    for (int side : {0, 1, 2}) {
      const tr::sPoint p = tr::NeighbourPoint(kX, kY, side);
      reset(attackers[side], p.x, p.y);
    }
    for (tr::sHex& hex : game.map->Hexes()) hex.controller = 2;
  }

  tr::bench::ScratchFolder scratch{"land_battle"};  // outlives the game, whose teardown writes there
  tr::cGame game;
  tr::cJednostkaLadowa* defender = nullptr;
  tr::cJednostkaLadowa* attackers[3] = {};
};

void BM_ResolveLandBattle(benchmark::State& state) {
  BattleGame world;
  for (auto _ : state) {
    tr::SeedRandom(1939);
    for (int i = 0; i < kBattles; ++i) {
      world.Restore();
      tr::sAttack attack;
      attack.defender = world.defender;
      attack.targetX = kX;
      attack.targetY = kY;
      for (int side : {0, 1, 2}) attack.attackers[side] = world.attackers[side];
      tr::sCombatResult result;
      benchmark::DoNotOptimize(attack.ResolveLandBattle(result));
    }
    state.PauseTiming();
    world.game.reports.Clear();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kBattles);
}
BENCHMARK(BM_ResolveLandBattle)->Unit(benchmark::kMillisecond);

}  // namespace
