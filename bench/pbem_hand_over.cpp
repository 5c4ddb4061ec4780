// The writes that end a play-by-e-mail turn on the main thread: the Autosave,
// the hand-over save into data/pbem and the game's note in repo.dat, each
// save flushed to the disk before it takes its folder's place. Measured on a
// disk, not tmpfs: the game folder is copied into a folder of the build
// folder, or of the folder TIDEREACH_BENCH_DISK names (say /var/tmp).
// Flushes wait on the disk, so the wall time is the figure (the window does
// not redraw meanwhile); run it a few times and take the median.
#include <benchmark/benchmark.h>
#include <linux/magic.h>
#include <sys/vfs.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "foundation/paths.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "scenario/pbem_player.h"
#include "scenario/pbem_repository.h"
#include "scenario/save_game.h"
#include "turn/game_steps.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr char16_t kGameName[] = u"BenchDuel";

fs::path DiskFolder() {
  const char* named = std::getenv("TIDEREACH_BENCH_DISK");
  return named != nullptr && *named != '\0' ? fs::path(named) : fs::path(TR_BENCH_DISK_DIR);
}

// A copy of the built game folder on the disk, without the saves a run of the
// game may have left in the build, and the sample loaded as a new PBEM game.
class cHandOverGame {
 public:
  cHandOverGame() : root_(scratch_.path()) {
    std::error_code error;
    fs::copy(TR_GAME_DIR, root_, fs::copy_options::recursive | fs::copy_options::skip_symlinks, error);
    if (error) {
      fault_ = "cannot copy the game folder: " + error.message();
      return;
    }
    for (const char* folder : {"data/save", "data/pbem"}) {
      fs::remove_all(root_ / folder, error);
      fs::create_directories(root_ / folder, error);
    }
    struct statfs disk {};
    if (::statfs(root_.c_str(), &disk) != 0 || disk.f_type == TMPFS_MAGIC || disk.f_type == RAMFS_MAGIC) {
      fault_ = root_.string() + " is not on a disk; name one in TIDEREACH_BENCH_DISK";
      return;
    }
    tr::SetGameRoot(root_);
    tr::StringBase().Load("lang_LANGID.db", true);
    tr::InstallGameSteps();
    tr::SeedRandom(7);
    tr::gGame = tr::LoadNewScenario(u"data\\scenarios\\NorthernTide\\%s", 0);
    tr::cGame& game = *tr::gGame;
    game.saveContext->clock = [] { return tr::sLocalTime{2011, 3, 4, 9, 30}; };
    game.pbemGame = 1;
    game.pbemGameName = kGameName;
    tr::PushBackSetupRecord(game.pbemPlayers, 1, u"Ann", u"ann@example.org");
    tr::PushBackSetupRecord(game.pbemPlayers, 2, u"Bob", u"bob@example.org");
  }
  ~cHandOverGame() {
    delete tr::gGame;
    tr::gGame = nullptr;
    tr::UninstallGameSteps();
    tr::SetGameRoot({});
  }
  cHandOverGame(const cHandOverGame&) = delete;
  cHandOverGame& operator=(const cHandOverGame&) = delete;

  const std::string& fault() const { return fault_; }

 private:
  // A folder of this run's own: the disk folder may be a shared one such as /var/tmp.
  tr::bench::ScratchFolder scratch_{"hand_over", DiskFolder()};
  fs::path root_;
  std::string fault_;
};

// One end of a PBEM turn's writes, as the end of turn makes them (Autosave,
// then the hand-over).
void BM_PbemHandOverWrites(benchmark::State& state) {
  const cHandOverGame game;
  if (!game.fault().empty()) {
    state.SkipWithError(game.fault().c_str());
    return;
  }
  tr::cGameSaver& saver = *tr::gGame->saveContext;
  const std::u16string autosave = tr::GetText("autosave");
  for (auto _ : state) {
    if (!saver.SaveGame(autosave, true) || !saver.SavePbemGame(kGameName) ||
        !tr::UpdatePbemRepository(1, kGameName).empty()) {
      state.SkipWithError("a save of the hand-over failed");
      return;
    }
  }
}
BENCHMARK(BM_PbemHandOverWrites)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20)->Repetitions(5);

}  // namespace
