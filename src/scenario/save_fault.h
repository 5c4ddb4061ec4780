// Why the last save on this thread stopped where the system reported no error
// or its error alone would mislead: the box says that cause, not a folder to
// make writable.
#pragma once

#include <string>

namespace tr {

enum class eSaveFault {
  kNone,
  kTooLarge,    // a file would be longer than its load reads back
  kKeptEntry,   // a file the player kept in the save's folder could not be copied
  kNotAFolder,  // something other than a folder stands under the save's name
  kDanglingLink,  // a folder on the save's way is a link to nothing (path: the link, system: where it leads)
};

struct sSaveFault {
  eSaveFault kind = eSaveFault::kNone;
  std::u16string path;    // the file, as the game names it
  std::u16string system;  // the system's words, where it said any
};

void NoteSaveFault(sSaveFault fault);
sSaveFault LastSaveFault();
void ClearSaveFault();

}  // namespace tr
