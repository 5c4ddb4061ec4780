// Collects the lines written to the console log while it lives. Captures nest:
// an inner one passes each line on to the one it was made inside.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace tr::test {

class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<std::u16string> lines() const;
  bool Contains(std::u16string_view line) const;       // a whole line
  bool ContainsText(std::u16string_view part) const;   // part of any line
  void Clear();

 private:
  void Install();
  void Record(std::u16string_view line);

  LogCapture* outer_;
  mutable std::mutex mutex_;
  std::vector<std::u16string> lines_;
};

}  // namespace tr::test
