// The program's one diagnostic channel: "ConsoleOut.txt", UTF-16LE, one line
// per call ended by CR LF. Re-created (with a byte-order mark) at every human
// end of turn, so it holds the lines since then.
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "foundation/format.h"

namespace tr {

class cConsoleLog {
 public:
  // The file is created (or emptied) at the first line, so a program can move
  // the log (Reopen) before any file is made; when that fails the log writes
  // nothing and the program runs on.
  explicit cConsoleLog(std::filesystem::path file = "ConsoleOut.txt");
  ~cConsoleLog();
  cConsoleLog(const cConsoleLog&) = delete;
  cConsoleLog& operator=(const cConsoleLog&) = delete;

  void LogLine(std::u16string_view text);
  // Re-creates the file empty and writes the byte-order mark FF FE.
  void Restart();
  void Close();
  // Moves the log to another file, created anew without a byte-order mark at the next line.
  void Reopen(std::filesystem::path file);

  // Sees every line written (tests, and a future on-screen console).
  using Observer = std::function<void(std::u16string_view)>;
  void SetObserver(Observer observer);

  const std::filesystem::path& path() const { return path_; }

 private:
  void OpenLocked(bool with_bom);

  void CloseLocked();

  std::mutex mutex_;
  std::filesystem::path path_;
  int file_ = -1;  // written unbuffered, one system call per line
  bool openPending_ = true;  // the file is made at the next line
  std::string line_;  // the line's bytes, kept between lines
  Observer observer_;
};

// While one lives, it keeps the last line holding "ERROR" that its thread
// logged: the reason a failure gave, to be shown to the player as well.
class cLastErrorLine {
 public:
  cLastErrorLine();
  ~cLastErrorLine();
  cLastErrorLine(const cLastErrorLine&) = delete;
  cLastErrorLine& operator=(const cLastErrorLine&) = delete;

  const std::u16string& text() const { return text_; }

 private:
  friend class cConsoleLog;
  std::u16string text_;
  cLastErrorLine* outer_;
};

// The global console log (defined with the other process-wide objects).
cConsoleLog& ConsoleLog();

// Shortcuts for the global log.
inline void LogLine(std::u16string_view text) { ConsoleLog().LogLine(text); }

// Formats into a buffer the thread keeps, so a line costs no allocation.
void LogFormatArgs(std::u16string_view format, std::initializer_list<FormatArg> args);

template <typename... Args>
void LogFormat(std::u16string_view format, const Args&... args) {
  LogFormatArgs(format, {FormatArg(args)...});
}
template <std::size_t N, typename... Args>
void LogFormat(const char16_t (&format)[N], const Args&... args) {
  LogFormatArgs(FormatText(format), {FormatArg(args)...});
}

}  // namespace tr
