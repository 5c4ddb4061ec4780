// Keeps the lines the thread writes out of the console log for a while: for
// work done again whose lines were written the first time it was done.
#pragma once

namespace tr {

class cQuietLog {
 public:
  cQuietLog();
  ~cQuietLog();
  cQuietLog(const cQuietLog&) = delete;
  cQuietLog& operator=(const cQuietLog&) = delete;

 private:
  bool wasQuiet_;
};

// Whether the calling thread's lines are kept out of the log now.
bool IsLogQuiet();

}  // namespace tr
