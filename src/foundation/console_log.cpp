#include "foundation/console_log.h"

#include <string>


namespace tr {

cConsoleLog::cConsoleLog(std::filesystem::path file) : path_(std::move(file)) {
  std::lock_guard<std::mutex> lock(mutex_);
  OpenLocked(false);
}

cConsoleLog::~cConsoleLog() { Close(); }

void cConsoleLog::OpenLocked(bool with_bom) {
  file_ = std::fopen(path_.c_str(), "wb");
  if (!file_) return;
  std::setvbuf(file_, nullptr, _IONBF, 0);
  if (with_bom) std::fwrite("\xFF\xFE", 1, 2, file_);
}

void cConsoleLog::LogLine(std::u16string_view text) {
  // The line is encoded before the lock, so writers wait only for the write itself.
  std::string bytes;
  bytes.reserve(2 * text.size() + 4);
  for (char16_t u : text) {
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
  }
  bytes.append("\r\0\n\0", 4);
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_) std::fwrite(bytes.data(), 1, bytes.size(), file_);
  if (observer_) observer_(text);
}

void cConsoleLog::Restart() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_) std::fclose(file_);
  file_ = nullptr;
  OpenLocked(true);
}

void cConsoleLog::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

void cConsoleLog::Reopen(std::filesystem::path file) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_) std::fclose(file_);
  file_ = nullptr;
  path_ = std::move(file);
  OpenLocked(false);
}

void cConsoleLog::SetObserver(Observer observer) {
  std::lock_guard<std::mutex> lock(mutex_);
  observer_ = std::move(observer);
}

}  // namespace tr
