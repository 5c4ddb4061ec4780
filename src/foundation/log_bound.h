// What reading a game's files may write to the log. A received file can hold
// millions of rows that each earn a warning; while a cLogBound lives, the
// lines of one cause about one file are logged up to kLinesPerCause, the rest
// only counted, and each count is logged in one line when the bound ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "foundation/console_log.h"

namespace tr {

inline constexpr std::int64_t kLinesPerCause = 10;

class cLogBound {
 public:
  cLogBound();
  ~cLogBound();  // logs how many lines of each cause were left out
  cLogBound(const cLogBound&) = delete;
  cLogBound& operator=(const cLogBound&) = delete;

 public:
  struct sCause {
    std::u16string file;
    std::u16string cause;
    std::int64_t lines = 0;
  };

 private:
  friend bool AdmitLogLine(std::u16string_view file, std::u16string_view cause, std::u16string_view causeEnd);
  std::vector<sCause> causes_;  // in the order they first came
  // A digest of the file and the cause to their places in causes_: a file
  // of millions of lines that each earn one is counted without building a
  // text for each.
  std::unordered_multimap<std::uint64_t, std::size_t> index_;
  std::size_t last_ = 0;  // the place of the cause met last, which a flood of lines meets again
  cLogBound* outer_;
};

// Whether the next line of the cause about the file is logged: always without
// a bound on the thread; within one (the innermost), only the first
// kLinesPerCause. The cause may be given in two parts, read as one text.
bool AdmitLogLine(std::u16string_view file, std::u16string_view cause, std::u16string_view causeEnd = {});

// LogFormat for a line about a file, its format the cause.
template <typename... Args>
void LogAboutFile(std::u16string_view file, std::u16string_view format, const Args&... args) {
  if (AdmitLogLine(file, format)) LogFormat(format, args...);
}

}  // namespace tr
