#include "foundation/log_sink.h"

#include <atomic>
#include <cstdio>

#include "foundation/text.h"

namespace tr {
namespace {

void StderrSink(std::u16string_view line) {
  const std::string utf8 = Utf16ToUtf8(line);
  std::fprintf(stderr, "%s\n", utf8.c_str());
}

std::atomic<LogSinkFn> gSink{&StderrSink};

}  // namespace

void SetLogSink(LogSinkFn sink) { gSink.store(sink ? sink : &StderrSink); }

void LogToSink(std::u16string_view line) { gSink.load()(line); }

}  // namespace tr
