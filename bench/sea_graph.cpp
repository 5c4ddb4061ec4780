// Path search on the sea graph: a 10 x 20 lattice of sea zones linked both
// ways, searched corner to corner, the case with the most equally short
// routes. Every tenth link is a strait held by the searching country.
#include <benchmark/benchmark.h>

#include <list>
#include <memory>

#include "foundation/paths.h"
#include "turn/sea_graph.h"
#include "world/gra.h"
#include "scratch_folder.h"

namespace {

constexpr int kColumns = 10;
constexpr int kRows = 20;

// A running game holding only what the search reads: a small map, one
// country and the lattice. Its teardown saves the settings, so the game
// folder is a temporary one.
struct LatticeGame {
  LatticeGame() {
    tr::SetGameRoot(scratch.path());
    game.map = std::make_unique<tr::cMap>(4, 4);
    game.map->GetHex(1, 1)->controller = 1;
    auto country = std::make_unique<tr::cCountry>();
    country->id = 1;
    game.countries.push_back(std::move(country));
    game.relations.Reset(1);
    tr::gGame = &game;
    tr::cSeaGraph& graph = game.seaGraph;
    for (int i = 0; i < kColumns * kRows; ++i) {
      tr::sWezelGrafuMorz node;
      node.id = i + 1;
      node.type = tr::kSeaNodeOpenSea;
      graph.nodes.push_back(node);
    }
    int links = 0;
    auto link = [&](int a, int b) {
      const int strait = ++links % 10 == 0 ? 1 : -1;
      graph.GetNode(a - 1).edges.push_back({b, strait, strait});
      graph.GetNode(b - 1).edges.push_back({a, strait, strait});
    };
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        const int id = r * kColumns + c + 1;
        if (c + 1 < kColumns) link(id, id + 1);
        if (r + 1 < kRows) link(id, id + kColumns);
      }
    }
  }
  ~LatticeGame() { tr::gGame = nullptr; }
  tr::bench::ScratchFolder scratch{"sea_graph"};  // outlives the game, whose teardown writes there
  tr::cGame game;
};

void BM_SeaPathLattice(benchmark::State& state) {
  LatticeGame lattice;
  std::list<std::int32_t> path;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lattice.game.seaGraph.FindPath(1, kColumns * kRows, 1, true, path));
  }
  if (path.size() != kColumns + kRows - 1) state.SkipWithError("wrong path length");
}
BENCHMARK(BM_SeaPathLattice)->Unit(benchmark::kMicrosecond);

}  // namespace
