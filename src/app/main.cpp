// Entry point of the game: runs it from the folder it was started in.
#include <cstdio>

#include "app/framework.h"
#include "foundation/console_log.h"

int main() {
  const int code = tr::WinMain();
  tr::ConsoleLog().Close();
  // The reason is in the log; say where to look.
  if (code != 0) std::fprintf(stderr, "Tidereach ended with code %d; see ConsoleOut.txt\n", code);
  return code;
}
