// Saves one game folder's save again and again, as the game does: each
// version is written into a working folder of its own and swapped into
// data/save/<name> (through a link where the folder is one). Lets
// tests/keep_saves_test.sh move the saves while a game saves.
//   save_writer <game folder> <name> <versions> <pause ms> <bytes>
// Version n holds "version" with n and "bulk" of <bytes> bytes; prints the
// last version swapped in whole ("0" when none was), one save's failure (a
// folder moved away meanwhile) being the game's own failed save.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include "foundation/folder_swap.h"

int main(int argc, char** argv) {
  if (argc != 6) {
    std::cerr << "usage: save_writer <game folder> <name> <versions> <pause ms> <bytes>\n";
    return 2;
  }
  const std::filesystem::path target = std::filesystem::path(argv[1]) / "data" / "save" / argv[2];
  const int versions = std::atoi(argv[3]);
  const auto pause = std::chrono::milliseconds(std::atoi(argv[4]));
  const std::string bulk(static_cast<std::size_t>(std::atol(argv[5])), 'b');
  int last = 0;
  for (int version = 1; version <= versions; ++version) {
    {
      const tr::cWorkingFolder written(target);
      bool whole = written.IsMade();
      if (whole) {
        std::ofstream(written.path() / "bulk") << bulk;
        std::ofstream out(written.path() / "version");
        out << version << '\n';
        whole = static_cast<bool>(out.flush());
      }
      if (whole && tr::SwapFolderIntoPlace(written, target, {})) {
        last = version;
      }
    }
    std::this_thread::sleep_for(pause);
  }
  tr::WaitForFolderRemovals();
  std::cout << last << '\n';
  return 0;
}
