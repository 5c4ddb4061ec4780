// Plays a scenario or saved game headless with the computer opponent on every
// side for a number of impulses from a seed, checking the game's invariants
// after every turn, then prints a key=value summary and, when asked, saves
// the game. A broken invariant ends the program with code 3, naming it.
#include <iostream>
#include <string>
#include <vector>

#include "ai/autoplay.h"
#include "foundation/fatal.h"
#include "foundation/folder_swap.h"
#include "world/scenario_check.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  tr::LogIntoGameFolder(args);
  tr::SetFatalExitHook("autoplay",
                       [] { std::cerr << "The game ended on a fatal error; see ConsoleOut.txt in the game folder\n"; });
  const int code = tr::RunAutoplay(args, std::cout, std::cerr);
  // The previous saves the run's saves replaced go before the program does.
  tr::WaitForFolderRemovals();
  return code;
}
