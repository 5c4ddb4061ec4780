// Where the low-level services (formatter, lock, fatal exit) send their log
// lines. The console log installs itself here once it exists; before that the
// lines go to standard error so nothing is lost during start-up.
#pragma once

#include <string_view>

namespace tr {

using LogSinkFn = void (*)(std::u16string_view line);

void SetLogSink(LogSinkFn sink);  // nullptr restores the standard-error sink
void LogToSink(std::u16string_view line);

}  // namespace tr
