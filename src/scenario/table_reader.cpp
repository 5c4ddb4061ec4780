#include "scenario/reader_log.h"

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "world/game_text.h"

namespace tr {

void LogReaderText(std::string_view key) { LogLine(GameText(key)); }

void FailMissingTable() {
  LogLine(kOpenFailedLine);
  FatalExit(1);
}

}  // namespace tr
