// Marks the lines the thread writes for a while as routine lines written
// before: for work done again whose lines were written the first time it was
// done. Only a routine line asks IsLogQuiet and leaves itself out; an error, a
// warning or the reason of a fatal exit is written whatever the mark.
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

// Whether the calling thread's routine lines are left out now.
bool IsLogQuiet();

}  // namespace tr
