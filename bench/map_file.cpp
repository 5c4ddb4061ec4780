// The map file of a large map: writing it, reading it back (with the passes
// that follow a load), and the front-node lattice the computer opponent asks for.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "foundation/paths.h"
#include "foundation/text.h"
#include "world/map.h"
#include "scratch_folder.h"

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 200;

// A map with sea bands, rivers and owners, saved once in a folder of its own,
// which is the game folder: files outside it are not read.
struct BenchMapFolder {
  BenchMapFolder() {
    tr::SetGameRoot(folder());
    tr::cMap map(kWidth, kHeight);
    for (tr::sHex& hex : map.Hexes()) Fill(hex);
    map.Save(Folder(), u"");
  }
  static void Fill(tr::sHex& hex) {
    hex.terrain = (hex.x / 7 + hex.y / 5) % 4 == 0 ? 0 : 1 + hex.x % 6;
    hex.seaZone = hex.terrain == 0 ? static_cast<std::uint16_t>(1 + hex.x / 30) : 0;
    hex.rivers = hex.x % 9 == 0 ? 0b000011 : 0;
    hex.controller = hex.owner = hex.originalOwner = static_cast<std::uint8_t>(1 + hex.x / 50);
  }
  const std::filesystem::path& folder() const { return scratch.path(); }
  std::u16string Folder() const { return tr::Utf8ToUtf16(folder().string()); }
  std::u16string Template() const { return Folder() + u"/%s"; }
  tr::bench::ScratchFolder scratch{"map"};
};

const BenchMapFolder& Folder() {
  static const BenchMapFolder folder;
  return folder;
}

void BM_SaveMap(benchmark::State& state) {
  tr::cMap map;
  map.Load(Folder().Template());
  for (auto _ : state) {
    if (!map.Save(Folder().Folder(), u"")) {
      state.SkipWithError("the map was not written");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_SaveMap)->Unit(benchmark::kMillisecond);

void BM_LoadMap(benchmark::State& state) {
  for (auto _ : state) {
    tr::cMap map;
    map.Load(Folder().Template());
    benchmark::DoNotOptimize(map.GetHex(1, 1));
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_LoadMap)->Unit(benchmark::kMillisecond);

void BM_FrontNodeLattice(benchmark::State& state) {
  tr::cMap map;
  map.Load(Folder().Template());
  int distance = 4;
  for (auto _ : state) {
    // Alternate the step so every iteration rebuilds the lattice.
    distance = distance == 4 ? 5 : 4;
    benchmark::DoNotOptimize(map.SetFrontNodeDistance(distance).size());
  }
}
BENCHMARK(BM_FrontNodeLattice)->Unit(benchmark::kMicrosecond);

}  // namespace
