// Entry point of the game: runs it from the folder it was started in.
#include <cstdio>

#include "app/framework.h"
#include "foundation/console_log.h"
#include "foundation/folder_swap.h"

int main() {
  const int code = tr::WinMain();
  // The previous saves the last saves replaced go before the program does.
  tr::WaitForFolderRemovals();
  tr::ConsoleLog().Close();
  // The reason is in the log; say where to look.
  if (code != 0) std::fprintf(stderr, "Tidereach ended with code %d; see ConsoleOut.txt\n", code);
  return code;
}
