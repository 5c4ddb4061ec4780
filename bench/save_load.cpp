// Loading a saved game and saving it again, as the saved-game menu and the
// save box do: the sample saved once, and the large generated scenario at
// four times its size saved once (about 6 MB). The figures to watch are CPU
// times, taken for the whole process (the save removes the folder it
// replaces on a thread of its own). Each game folder is a copy in a folder of the build, so the build's
// own game folder keeps no save of a run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "foundation/paths.h"
#include "scenario/save_game.h"
#include "world/game_start.h"
#include "world/gra.h"

namespace {

namespace fs = std::filesystem;

// A copy of a game folder holding one save, made from a load of the scenario.
class cSavedGame {
 public:
  cSavedGame(const fs::path& from, const char* name, const char16_t* scenario) : root_(fs::path(TR_BENCH_DIR) / name) {
    std::error_code error;
    fs::remove_all(root_, error);
    fs::create_directories(root_, error);
    fs::copy(from, root_, fs::copy_options::recursive | fs::copy_options::skip_symlinks, error);
    for (const char* folder : {"data/save", "data/pbem"}) {
      fs::remove_all(root_ / folder, error);
      fs::create_directories(root_ / folder, error);
    }
    tr::SetGameRoot(root_);
    tr::gGame = tr::LoadNewScenario(scenario, 0);
    saved_ = tr::gGame->saveContext->SaveGame(u"bench", true);
    Drop();
    for (const auto& entry : fs::directory_iterator(root_ / "data/save/bench", error)) bytes_ += entry.file_size();
  }
  ~cSavedGame() {
    Drop();
    tr::SetGameRoot({});
    std::error_code error;
    fs::remove_all(root_, error);
  }
  cSavedGame(const cSavedGame&) = delete;
  cSavedGame& operator=(const cSavedGame&) = delete;

  bool saved() const { return saved_; }
  std::uintmax_t bytes() const { return bytes_; }
  static void Drop() {
    delete tr::gGame;
    tr::gGame = nullptr;
  }

 private:
  fs::path root_;
  bool saved_ = false;
  std::uintmax_t bytes_ = 0;
};

constexpr char16_t kSaveTemplate[] = u"data\\save\\bench\\%s";

void LoadSave(benchmark::State& state, const cSavedGame& game) {
  if (!game.saved()) {
    state.SkipWithError("the save was not written");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(tr::LoadNewScenario(kSaveTemplate, 1));
    state.PauseTiming();
    cSavedGame::Drop();
    state.ResumeTiming();
  }
  state.counters["save_bytes"] = static_cast<double>(game.bytes());
}

void SaveLoaded(benchmark::State& state, const cSavedGame& game) {
  if (!game.saved()) {
    state.SkipWithError("the save was not written");
    return;
  }
  tr::LoadNewScenario(kSaveTemplate, 1);
  for (auto _ : state) {
    if (!tr::gGame->saveContext->SaveGame(u"again", true)) {
      state.SkipWithError("the save failed");
      break;
    }
  }
  cSavedGame::Drop();
  state.counters["save_bytes"] = static_cast<double>(game.bytes());
}

void BM_LoadSampleSave(benchmark::State& state) {
  const cSavedGame game(TR_GAME_DIR, "sample", u"data\\scenarios\\NorthernTide\\%s");
  LoadSave(state, game);
}
void BM_SaveSampleGame(benchmark::State& state) {
  const cSavedGame game(TR_GAME_DIR, "sample", u"data\\scenarios\\NorthernTide\\%s");
  SaveLoaded(state, game);
}
void BM_LoadLargeSave(benchmark::State& state) {
  const cSavedGame game(TR_LARGE_GAME_DIR, "large", u"data\\scenarios\\Large4\\%s");
  LoadSave(state, game);
}
void BM_SaveLargeGame(benchmark::State& state) {
  const cSavedGame game(TR_LARGE_GAME_DIR, "large", u"data\\scenarios\\Large4\\%s");
  SaveLoaded(state, game);
}
BENCHMARK(BM_LoadSampleSave)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_SaveSampleGame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_LoadLargeSave)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_SaveLargeGame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
