// The corruption sweep: every corruption of the built sample scenario, one
// per run, loaded and played a few impulses with the invariants checked.
//   corruption_sweep --list                 one line per case: number, what it changes
//   corruption_sweep --case N [--impulses K]  runs case N; exit 0 when the load refused
//                                            the data or the game kept its rules, 3 when not
// scripts/corruption_sweep.sh runs every case in parallel; a sanitizer report
// ends a case with its own exit code.
#include <cstdlib>
#include <iostream>
#include <string>

#include "foundation/fatal.h"
#include "support/scenario_corruption.h"
#include "support/temp_dir.h"

namespace {

constexpr char kScenario[] = "NorthernTide";

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  tr::SetFatalExitInterceptor([](int code) { throw tr::FatalExitError(code); });
  const auto cases = tr::test::ListCorruptions(std::filesystem::path(TR_GAME_DIR) / "data/scenarios" / kScenario);
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "--list") {
    for (std::size_t i = 0; i < cases.size(); ++i) std::cout << i << ' ' << cases[i].Describe() << '\n';
    return 0;
  }
  if (mode != "--case" || argc < 3) {
    std::cerr << "usage: corruption_sweep --list | --case N [--impulses K]\n";
    return 2;
  }
  const long index = std::strtol(argv[2], nullptr, 10);
  const int impulses = argc > 4 && std::string(argv[3]) == "--impulses" ? std::atoi(argv[4]) : 3;
  if (index < 0 || index >= static_cast<long>(cases.size())) return 2;
  tr::test::TempDir root;
  std::string outcome;
  const std::string broken = tr::test::PlayCorrupted(root.path(), kScenario, cases[index], impulses, &outcome);
  std::cout << index << ' ' << cases[index].Describe() << ": " << (broken.empty() ? outcome : broken) << '\n';
  return broken.empty() ? 0 : 3;
}
