// The corruption sweep: every corruption of the built sample scenario, one
// per run, loaded and played a few impulses with the invariants checked.
//   corruption_sweep [--save] --list         one line per case: number, what it changes
//   corruption_sweep [--save] --case N [--impulses K]
//       runs case N; exit 0 when the load refused the data or the game kept
//       its rules, 3 when not. With --save the cases corrupt a saved game of
//       the sample instead of the scenario.
// scripts/corruption_sweep.sh runs every case in parallel; a sanitizer report
// ends a case with its own exit code.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

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
  std::vector<std::string> args(argv + 1, argv + argc);
  const bool inSave = !args.empty() && args[0] == "--save";
  if (inSave) args.erase(args.begin());

  std::vector<tr::test::sCorruption> cases;
  if (inSave) {
    tr::test::TempDir base;
    if (!tr::test::MakeBaseSave(base.path(), kScenario)) {
      std::cerr << "the base save failed\n";
      return 2;
    }
    cases = tr::test::ListCorruptions(base.path() / "data/save" / tr::test::kBaseSave);
  } else {
    cases = tr::test::ListCorruptions(std::filesystem::path(TR_GAME_DIR) / "data/scenarios" / kScenario);
  }
  const std::string mode = args.empty() ? "" : args[0];
  if (mode == "--list") {
    for (std::size_t i = 0; i < cases.size(); ++i) std::cout << i << ' ' << cases[i].Describe() << '\n';
    return 0;
  }
  if (mode != "--case" || args.size() < 2) {
    std::cerr << "usage: corruption_sweep [--save] --list | [--save] --case N [--impulses K]\n";
    return 2;
  }
  const long index = std::strtol(args[1].c_str(), nullptr, 10);
  const int impulses = args.size() > 3 && args[2] == "--impulses" ? std::atoi(args[3].c_str()) : 3;
  if (index < 0 || index >= static_cast<long>(cases.size())) return 2;
  tr::test::TempDir root;
  std::string outcome;
  const std::string broken =
      tr::test::PlayCorrupted(root.path(), kScenario, cases[index], impulses, &outcome, inSave);
  std::cout << index << ' ' << cases[index].Describe() << ": " << (broken.empty() ? outcome : broken) << '\n';
  return broken.empty() ? 0 : 3;
}
