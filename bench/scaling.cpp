// How the large generated scenario's costs grow with its size: the same
// scenario at size factors 1, 2 and 4 (map, land, air and naval units grown,
// countries and cities the same). Each program argument is the factor.
//   FloorBytes  - reading every file of the scenario folder whole and cutting
//                 the bytes into records and fields in place: what no load
//                 can beat.
//   FloorReader - the same files through the game's own reader, whose fields
//                 are UTF-16 strings: the floor of the loaders as written.
//                 Both floors run once untimed first, so they measure a warm
//                 heap and page cache as the load does after its first round.
//   Load     - the real load path with the game's turn steps installed, so
//              the first short end of impulse with its supply step counts.
//   Impulse  - one full impulse through the autoplay runner (every country's
//              computer turn, the invariant checks, the end of impulse); ten
//              impulses from a fresh load per repetition, so every build
//              times the same positions. Its counters phase_<name> give the
//              CPU milliseconds per impulse of each phase the autoplay
//              summary times (a phase inside another counts in both).
//   Supply   - the supply step of the end of impulse on the loaded game.
//   Save     - saving the loaded game.
// Run pinned to two cores: taskset -c 0,1 build/bench/bench_scaling. On a
// shared machine the process CPU times are the figures to compare: the wall
// times then mostly measure the wait for a core.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

#include "ai/autoplay.h"
#include "foundation/csv_reader.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "scenario/save_game.h"
#include "turn/game_steps.h"
#include "turn/supply.h"
#include "world/game_start.h"
#include "world/gra.h"

namespace {

std::u16string ScenarioName(int factor) { return factor == 1 ? u"Large" : tr::Format(u"Large%i", factor); }

std::u16string FolderTemplate(int factor) { return u"data\\scenarios\\" + ScenarioName(factor) + u"\\%s"; }

// The game loaded as the player's new game loads it, steps installed.
class cLoadedGame {
 public:
  explicit cLoadedGame(int factor) {
    tr::SetGameRoot(TR_LARGE_GAME_DIR);
    tr::InstallGameSteps();
    tr::SeedRandom(7);
    game_ = tr::LoadNewScenario(FolderTemplate(factor), 0);
  }
  ~cLoadedGame() {
    tr::UninstallGameSteps();
    delete tr::gGame;
    tr::gGame = nullptr;
  }
  cLoadedGame(const cLoadedGame&) = delete;
  cLoadedGame& operator=(const cLoadedGame&) = delete;
  tr::cGame& game() { return *game_; }

 private:
  tr::cGame* game_;
};

std::filesystem::path ScenarioFolder(int factor) {
  return std::filesystem::path(TR_LARGE_GAME_DIR) / "data" / "scenarios" / tr::Utf16ToUtf8(ScenarioName(factor));
}

bool IsTable(const std::filesystem::path& file) {
  const std::string extension = file.extension().string();
  return extension == ".csv" || extension == ".txt" || extension == ".ini";
}

// Every file read whole; the tables cut at CR, LF and ';' without copying a
// field. Returns the records that hold a field.
std::size_t SplitRawBytes(const std::filesystem::path& folder) {
  std::size_t records = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const auto bytes = tr::ReadWholeFile(entry.path());
    if (!bytes || !IsTable(entry.path())) {
      benchmark::DoNotOptimize(bytes);
      continue;
    }
    std::size_t fields = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes->size(); ++i) {
      const char c = i < bytes->size() ? (*bytes)[i] : '\n';
      if (c != ';' && c != '\r' && c != '\n') continue;
      fields += i > start;
      benchmark::DoNotOptimize(std::string_view(*bytes).substr(start, i - start));
      start = i + 1;
      if (c != ';') {
        records += fields > 0;
        fields = 0;
      }
    }
  }
  return records;
}

// Every table through the game's reader, every other file read whole.
std::size_t ReadWithGameReader(const std::filesystem::path& folder) {
  std::size_t records = 0;
  tr::cCsvReader reader;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!IsTable(entry.path())) {
      const auto bytes = tr::ReadWholeFile(entry.path());
      benchmark::DoNotOptimize(bytes);
      continue;
    }
    reader.LoadFile(tr::Utf8ToUtf16(entry.path().string()));
    while (!reader.AtEnd()) records += reader.ReadRecord() > 0;
  }
  return records;
}

void BM_FloorBytes(benchmark::State& state) {
  const std::filesystem::path folder = ScenarioFolder(static_cast<int>(state.range(0)));
  std::size_t records = SplitRawBytes(folder);
  for (auto _ : state) records = SplitRawBytes(folder);
  state.counters["records"] = static_cast<double>(records);
}

void BM_FloorReader(benchmark::State& state) {
  const std::filesystem::path folder = ScenarioFolder(static_cast<int>(state.range(0)));
  std::size_t records = ReadWithGameReader(folder);
  for (auto _ : state) records = ReadWithGameReader(folder);
  state.counters["records"] = static_cast<double>(records);
}

void BM_Load(benchmark::State& state) {
  const int factor = static_cast<int>(state.range(0));
  tr::SetGameRoot(TR_LARGE_GAME_DIR);
  tr::InstallGameSteps();
  std::size_t units = 0;
  for (auto _ : state) {
    tr::SeedRandom(7);
    tr::cGame* game = tr::LoadNewScenario(FolderTemplate(factor), 0);
    units = game->landUnits.size() + game->airUnits.size() + game->navalUnits.size();
    state.PauseTiming();
    delete tr::gGame;
    tr::gGame = nullptr;
    state.ResumeTiming();
  }
  tr::UninstallGameSteps();
  state.counters["units"] = static_cast<double>(units);
}

void BM_Impulse(benchmark::State& state) {
  const int factor = static_cast<int>(state.range(0));
  cLoadedGame loaded(factor);
  tr::cAutoplay play(loaded.game());
  for (auto _ : state) {
    if (!play.PlayImpulse()) {
      state.SkipWithError(play.violation().empty() ? "the game ended" : play.violation().c_str());
      return;
    }
  }
  const double impulses = std::max(play.impulsesRun(), 1);
  for (const auto& [phase, ms] : play.timing().phaseMs) state.counters["phase_" + phase] = ms / impulses;
}

void BM_Supply(benchmark::State& state) {
  const int factor = static_cast<int>(state.range(0));
  cLoadedGame loaded(factor);
  for (auto _ : state) tr::RunSupplyStep(loaded.game());
}

void BM_Save(benchmark::State& state) {
  const int factor = static_cast<int>(state.range(0));
  // The generated game folder has no save folder of its own.
  std::filesystem::create_directories(std::filesystem::path(TR_LARGE_GAME_DIR) / "data" / "save");
  cLoadedGame loaded(factor);
  loaded.game().saveContext->clock = [] { return tr::sLocalTime{2000, 1, 1, 12, 0}; };
  const std::u16string name = u"bench_scaling_" + ScenarioName(factor);
  for (auto _ : state) {
    if (!loaded.game().saveContext->SaveGame(name, true)) {
      state.SkipWithError("the save failed");
      break;
    }
  }
}

void Factors(benchmark::internal::Benchmark* bench) {
  bench->ArgName("factor")->Arg(1)->Arg(2)->Arg(4)->MeasureProcessCPUTime();
}

BENCHMARK(BM_FloorBytes)->Apply(Factors)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_FloorReader)->Apply(Factors)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_Load)->Apply(Factors)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_Impulse)
    ->Apply(Factors)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Supply)->Apply(Factors)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_Save)->Apply(Factors)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace
