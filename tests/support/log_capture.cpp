#include "support/log_capture.h"

#include "foundation/console_log.h"

namespace tr::test {

LogCapture::LogCapture() {
  ConsoleLog().SetObserver([this](std::u16string_view line) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.emplace_back(line);
  });
}

LogCapture::~LogCapture() { ConsoleLog().SetObserver(nullptr); }

std::vector<std::u16string> LogCapture::lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

bool LogCapture::Contains(std::u16string_view line) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& l : lines_) {
    if (l == line) return true;
  }
  return false;
}

bool LogCapture::ContainsText(std::u16string_view part) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& l : lines_) {
    if (l.find(part) != std::u16string::npos) return true;
  }
  return false;
}

void LogCapture::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.clear();
}

}  // namespace tr::test
