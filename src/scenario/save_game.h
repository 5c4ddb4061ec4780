// Saving a running game: a save folder under "data\save" (or "data\pbem" for
// a play-by-e-mail turn) receives every table of the game in one fixed order.
// The files are first written into a sibling folder of the save's own, which
// replaces the save folder only once all of them were written, so a failed
// save leaves the previous save as it was and the game running, and two
// processes saving one name at once each put a whole save in place.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/folder_swap.h"
#include "scenario/scenario_info.h"

namespace tr {

class cGame;

// The number of files a save holds.
inline constexpr int kSaveFileCount = 25;

// The longest save name, in UTF-16 units: its folder "data\save\<name>"
// keeps to 64.
inline constexpr std::size_t kMaxSaveNameUnits = 54;

// The save folder of a name: "data\save\" and the trimmed name. Empty for a
// name that is refused: empty after trimming, longer than kMaxSaveNameUnits,
// starting with '.', or holding "..", a separator, ':' or '%'.
std::u16string SaveFolderPath(std::u16string_view name);
// The rule a refused save name breaks, for messages.
std::u16string SaveNameRule();

// The game's saving object.
class cGameSaver {
 public:
  explicit cGameSaver(const cGame& game) : game_(game) {}

  // Saves under the player's name (or the autosave name); unless silent,
  // tells the player when the save succeeded. False when the name is refused
  // or a file could not be written (the previous save is kept).
  bool SaveGame(std::u16string_view name, bool silent);
  // Writes the play-by-e-mail turn into "data\pbem\<name>".
  bool SavePbemGame(std::u16string_view name);
  // Writes the 25 files into the folder (a game path without a trailing
  // separator), stopping at the first that fails.
  bool WriteSaveFiles(std::u16string_view folder);

  // The clock that stamps "Info.ini"; the local time unless set.
  std::function<sLocalTime()> clock;
  // Tests make a step fail: called before each step (1..25) with the file
  // name; false makes that step fail as a write error would.
  std::function<bool(int step, std::u16string_view file)> stepCheck;
  // Tests make a folder rename that puts a save in place fail (see
  // FolderRenameCheck).
  FolderRenameCheck renameCheck;
  // Tests make a flush of the save to the disk fail (see FolderFlushCheck).
  FolderFlushCheck flushCheck;

 private:
  bool SaveIntoFolder(const std::u16string& folder);

  const cGame& game_;
};

// Why the last save on this thread failed, in the player's words: a full
// disk, a read-only disk, no permission, what the system said, or a cause of
// the save's own (a file too long to read back, a kept file not copied).
std::u16string SaveFailureReason();
// What the player can do about that failure, as a sentence naming the save's
// folder (a game path), followed by `then` (the box's next step, "Then save
// again."), unless no step of the player's can make that save go in.
std::u16string SaveFailureRemedy(std::u16string_view folder, std::u16string_view then = {});

// The names of the files every save writes, in their order.
std::vector<std::u16string_view> SaveFileNames();

// True when the folder a save of the name would be written to
// (SaveFolderPath) exists and is a folder.
bool SaveFolderExists(std::u16string_view name);

}  // namespace tr
