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

 private:
  friend bool AdmitLogLine(std::u16string_view file, std::u16string_view cause);
  struct sCause {
    std::u16string file;
    std::u16string cause;
    std::int64_t lines = 0;
  };
  std::vector<sCause> causes_;  // in the order they first came
  std::unordered_map<std::u16string, std::size_t> index_;  // file and cause to their place in causes_
  cLogBound* outer_;
};

// Whether the next line of the cause about the file is logged: always without
// a bound on the thread; within one (the innermost), only the first kLinesPerCause.
bool AdmitLogLine(std::u16string_view file, std::u16string_view cause);

// LogFormat for a line about a file, its format the cause.
template <typename... Args>
void LogAboutFile(std::u16string_view file, std::u16string_view format, const Args&... args) {
  if (AdmitLogLine(file, format)) LogFormat(format, args...);
}

}  // namespace tr
