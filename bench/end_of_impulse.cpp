// One full end of impulse of a large generated game: three alliances and
// neutrals, a few hundred cities and thousands of units, no dialogs.
#include <benchmark/benchmark.h>

#include <memory>

#include "foundation/format.h"
#include "scenario/scenario_constants.h"
#include "turn/gra_endturn.h"
#include "world/gra.h"

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 150;
constexpr int kCountries = 24;
constexpr int kCitiesPerCountry = 12;
constexpr int kLandUnitsPerCountry = 120;
constexpr int kAirUnitsPerCountry = 15;

void SetConstant(tr::cGame& game, int line, int field, double value) {
  game.constants.SetSlot(tr::sScenarioConstants::SlotOf(line, field), value);
}

// Country k holds a vertical band of the map; its cities and units stand in it.
std::unique_ptr<tr::cGame> BuildGame() {
  auto game = std::make_unique<tr::cGame>();
  tr::gGame = game.get();
  game->map = std::make_unique<tr::cMap>(kWidth, kHeight);
  const int band = kWidth / kCountries;
  for (tr::sHex& hex : game->map->Hexes()) {
    hex.terrain = hex.y % 37 == 0 ? 0 : 1 + hex.x % 5;
    const auto owner = static_cast<std::uint8_t>(1 + std::min(hex.x / band, kCountries - 1));
    hex.controller = hex.owner = hex.originalOwner = owner;
  }
  for (int id = 1; id <= kCountries; ++id) {
    auto country = std::make_unique<tr::cCountry>();
    country->id = id;
    country->isActive = 1;
    country->name = tr::Format(u"Country%i", id);
    country->politicalStrength = 10 + id;
    country->alliance = id <= 3 ? id + 3 : (id <= 18 ? 1 + id % 3 : tr::kNeutral);
    country->humanControlled = id == 1 ? 1 : 0;
    game->countries.push_back(std::move(country));
  }
  game->relations.Reset(kCountries);
  for (int a = 1; a <= 18; ++a) {
    for (int b = 1; b <= 18; ++b) {
      if (a % 3 != b % 3) game->relations.SetWar(a, b, true);
    }
  }
  for (int month = 1; month <= 12; ++month) SetConstant(*game, 1, month, 3);
  SetConstant(*game, 143, 1, 3);
  for (int id = 1; id <= kCountries; ++id) {
    const int x0 = (id - 1) * band;
    for (int c = 0; c < kCitiesPerCountry; ++c) {
      auto city = std::make_unique<tr::cCity>();
      city->x = x0 + c % band;
      city->y = 5 + c * 11;
      city->name = tr::Format(u"City%i_%i", id, c);
      city->victoryPoints = 1 + c % 3;
      city->productionPoints = 10.0f;
      game->map->GetHex(city->x, city->y)->city = city.get();
      game->cities.push_back(std::move(city));
    }
    for (int u = 0; u < kLandUnitsPerCountry; ++u) {
      auto unit = std::make_unique<tr::cJednostkaLadowa>();
      unit->owner = id;
      unit->strength = 10;
      unit->x = x0 + u % band;
      unit->y = 1 + (u / band) * 2;
      tr::sHex* hex = game->map->GetHex(unit->x, unit->y);
      if (hex->unit || hex->terrain == 0) continue;
      hex->unit = unit.get();
      game->landUnits.push_back(std::move(unit));
    }
    for (int u = 0; u < kAirUnitsPerCountry; ++u) {
      auto unit = std::make_unique<tr::cJednostkaLotnicza>();
      unit->owner = id;
      unit->SetType(tr::kFighter);
      unit->strength = 10;
      unit->x = x0 + u % band;
      unit->y = 100 + u;
      game->airUnits.push_back(std::move(unit));
    }
  }
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
