// Entry point of the game: runs it from the folder it was started in.
#include "app/framework.h"
#include "foundation/console_log.h"

int main() {
  const int code = tr::WinMain();
  tr::ConsoleLog().Close();
  return code;
}
