// Loads a scenario or a saved game headless, prints its summary and, when
// asked, saves it under a new name. Bad data ends the program with the game's
// own fatal code after the last lines of the log are shown.
#include <deque>
#include <iostream>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/folder_swap.h"
#include "foundation/text.h"
#include "world/scenario_check.h"

namespace {

constexpr std::size_t kShownLogLines = 12;

std::mutex gTailMutex;
std::deque<std::u16string> gTail;

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  tr::LogIntoGameFolder(args);
  tr::ConsoleLog().SetObserver([](std::u16string_view line) {
    std::lock_guard<std::mutex> lock(gTailMutex);
    gTail.emplace_back(line);
    if (gTail.size() > kShownLogLines) gTail.pop_front();
  });
  tr::SetFatalExitHook("scenario_checker", [] {
    std::lock_guard<std::mutex> lock(gTailMutex);
    std::cerr << "The load failed; the last lines of the log:\n";
    for (const std::u16string& line : gTail) std::cerr << "  " << tr::Utf16ToUtf8(line) << '\n';
  });
  const int code = tr::RunScenarioCheck(args, std::cout, std::cerr);
  // The previous saves the run's saves replaced go before the program does.
  tr::WaitForFolderRemovals();
  return code;
}
