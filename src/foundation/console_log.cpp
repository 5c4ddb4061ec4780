#include "foundation/console_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "foundation/quiet_log.h"

namespace tr {
namespace {

// Writes the bytes whole: one call unless the system takes them in parts.
void WriteAll(int file, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(file, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return;  // a full disk must not stop the game; the line is lost
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
}

}  // namespace

cConsoleLog::cConsoleLog(std::filesystem::path file) : path_(std::move(file)) {}

cConsoleLog::~cConsoleLog() { Close(); }

void cConsoleLog::OpenLocked(bool with_bom) {
  // Never through a link, and emptied only once it is known to be a regular
  // file: a log that is a link would fill the file it names, and one that is
  // a pipe would stop the program at its first line.
  file_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (file_ < 0) return;
  struct stat info {};
  if (::fstat(file_, &info) != 0 || !S_ISREG(info.st_mode) || ::ftruncate(file_, 0) != 0) {
    ::close(file_);
    file_ = -1;
    return;
  }
  const int flags = ::fcntl(file_, F_GETFL);
  if (flags >= 0) ::fcntl(file_, F_SETFL, flags & ~O_NONBLOCK);
  if (with_bom) WriteAll(file_, "\xFF\xFE", 2);
}

void cConsoleLog::CloseLocked() {
  if (file_ >= 0) ::close(file_);
  file_ = -1;
  openPending_ = false;
}

namespace {
thread_local cLastErrorLine* tLastErrorLine = nullptr;
thread_local bool tQuiet = false;
}  // namespace

cLastErrorLine::cLastErrorLine() : outer_(tLastErrorLine) { tLastErrorLine = this; }
cLastErrorLine::~cLastErrorLine() { tLastErrorLine = outer_; }

cQuietLog::cQuietLog() : wasQuiet_(std::exchange(tQuiet, true)) {}
cQuietLog::~cQuietLog() { tQuiet = wasQuiet_; }
bool IsLogQuiet() { return tQuiet; }

void cConsoleLog::LogLine(std::u16string_view text) {
  if (tLastErrorLine != nullptr && text.find(u"ERROR") != std::u16string_view::npos) {
    tLastErrorLine->text_.assign(text);
  }
  std::lock_guard<std::mutex> lock(mutex_);
  if (openPending_) {
    openPending_ = false;
    OpenLocked(false);
  }
  if (file_ >= 0) {
    // One buffer for every line, grown to the longest: a line costs no allocation.
    line_.resize(2 * text.size() + 4);
    char* out = line_.data();
    if constexpr (std::endian::native == std::endian::little) {
      // The text's own bytes are already low byte first.
      std::memcpy(out, text.data(), 2 * text.size());
      out += 2 * text.size();
    } else {
      for (char16_t u : text) {
        *out++ = static_cast<char>(u & 0xFF);
        *out++ = static_cast<char>(u >> 8);
      }
    }
    for (char c : {'\r', '\0', '\n', '\0'}) *out++ = c;
    WriteAll(file_, line_.data(), line_.size());
  }
  if (observer_) observer_(text);
}

void cConsoleLog::Restart() {
  std::lock_guard<std::mutex> lock(mutex_);
  CloseLocked();
  OpenLocked(true);
}

void cConsoleLog::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  CloseLocked();
}

void cConsoleLog::Reopen(std::filesystem::path file) {
  std::lock_guard<std::mutex> lock(mutex_);
  CloseLocked();
  path_ = std::move(file);
  openPending_ = true;
}

void LogFormatArgs(std::u16string_view format, std::initializer_list<FormatArg> args) {
  FormatArgsThen(format, args, [](std::u16string_view line, void*) { ConsoleLog().LogLine(line); }, nullptr);
}

void cConsoleLog::SetObserver(Observer observer) {
  std::lock_guard<std::mutex> lock(mutex_);
  observer_ = std::move(observer);
}

}  // namespace tr
