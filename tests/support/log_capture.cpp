#include "support/log_capture.h"

#include "foundation/console_log.h"

namespace tr::test {

namespace {

// The innermost living capture.
LogCapture* gInnermost = nullptr;

}  // namespace

LogCapture::LogCapture() : outer_(gInnermost) {
  gInnermost = this;
  Install();
}

LogCapture::~LogCapture() {
  gInnermost = outer_;
  if (outer_ != nullptr) {
    outer_->Install();
  } else {
    ConsoleLog().SetObserver(nullptr);
  }
}

void LogCapture::Install() {
  ConsoleLog().SetObserver([this](std::u16string_view line) { Record(line); });
}

void LogCapture::Record(std::u16string_view line) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.emplace_back(line);
  }
  if (outer_ != nullptr) outer_->Record(line);
}

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
