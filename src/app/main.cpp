// Entry point of the game.
#include "foundation/console_log.h"
#include "foundation/version.h"

int main() {
  tr::LogFormat(u"Running TR2: Tidereach v%.2f", tr::kGameVersion);
  tr::ConsoleLog().Close();
  return 0;
}
