// Entry point of the game.
#include "foundation/format.h"
#include "foundation/log_sink.h"
#include "foundation/version.h"

int main() {
  tr::LogToSink(tr::Format(u"Running TR2: Tidereach v%.2f", tr::kGameVersion));
  return 0;
}
