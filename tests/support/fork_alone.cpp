#include "support/fork_alone.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <system_error>
#include <thread>

#include "foundation/folder_swap.h"

namespace tr::test {

pid_t ForkAlone() {
  WaitForFolderRemovals();
  const auto threads = [] {
    std::error_code error;
    const std::filesystem::directory_iterator tasks("/proc/self/task", error);
    return error ? 0 : std::distance(std::filesystem::begin(tasks), std::filesystem::end(tasks));
  };
  for (int tries = 0; threads() > 1 && tries < 5000; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return ::fork();
}

}  // namespace tr::test
