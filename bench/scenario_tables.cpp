// The scenario tables of a large scenario: the constants file, and writing
// and reading back the cities and countries of a saved game.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/cities_file.h"
#include "scenario/countries_file.h"
#include "scenario/scenario_constants.h"
#include "world/gra.h"
#include "scratch_folder.h"

namespace {

constexpr int kCities = 3000;
constexpr int kCountries = 60;

// A scenario folder with a full consts.csv and a game of many cities and countries.
struct BenchScenario {
  BenchScenario() : root(scratch.path()) {
    std::filesystem::create_directories(root / "data/scenarios/big");
    std::filesystem::create_directories(root / "data/save/big");
    tr::SetGameRoot(root);
    std::ofstream consts(root / "data/scenarios/big/consts.csv", std::ios::binary);
    consts << "#constants\r\n";
    for (int line = 1; line <= 184; ++line) {
      consts << "line " << line;
      for (int field = 0; field < 12; ++field) consts << ';' << field * 1.5;
      consts << "\r\n";
    }
    for (int i = 0; i < kCities; ++i) {
      auto city = std::make_unique<tr::cCity>();
      city->name = tr::Format(u"City %i", i);
      city->x = i % 300;
      city->y = i / 300;
      city->productionPoints = 1.25f * static_cast<float>(i % 17);
      game.cities.push_back(std::move(city));
    }
    for (int id = 1; id <= kCountries; ++id) {
      auto country = std::make_unique<tr::cCountry>();
      country->id = id;
      country->name = tr::Format(u"Country%i", id);
      country->skinsName = country->name;
      game.countries.push_back(std::move(country));
    }
    tr::WriteCities(game, u"data\\save\\big");
    tr::WriteCountries(game, u"data\\save\\big");
  }
  tr::bench::ScratchFolder scratch{"scenario"};  // outlives the game, whose teardown writes there
  std::filesystem::path root;
  tr::cGame game;
};

BenchScenario& Scenario() {
  static BenchScenario scenario;
  return scenario;
}

void BM_LoadScenarioConstants(benchmark::State& state) {
  Scenario();
  tr::sScenarioConstants constants;
  for (auto _ : state) {
    tr::LoadScenarioConstants(constants, u"big");
    benchmark::DoNotOptimize(constants.CommandRadius());
  }
}
BENCHMARK(BM_LoadScenarioConstants)->Unit(benchmark::kMicrosecond);

void BM_WriteCities(benchmark::State& state) {
  BenchScenario& scenario = Scenario();
  for (auto _ : state) benchmark::DoNotOptimize(tr::WriteCities(scenario.game, u"data\\save\\big"));
  state.SetItemsProcessed(state.iterations() * kCities);
}
BENCHMARK(BM_WriteCities)->Unit(benchmark::kMillisecond);

void BM_LoadCities(benchmark::State& state) {
  Scenario();
  tr::cGame game;
  for (auto _ : state) tr::LoadCities(game, u"data\\save\\big\\%s");
  state.SetItemsProcessed(state.iterations() * kCities);
}
BENCHMARK(BM_LoadCities)->Unit(benchmark::kMillisecond);

void BM_LoadCountries(benchmark::State& state) {
  Scenario();
  tr::cGame game;
  for (auto _ : state) tr::LoadCountries(game, u"data\\save\\big\\%s");
  state.SetItemsProcessed(state.iterations() * kCountries);
}
BENCHMARK(BM_LoadCountries)->Unit(benchmark::kMillisecond);

}  // namespace
