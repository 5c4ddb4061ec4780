// Whole-file reads for every reader of game data. Only regular files are
// read: a folder, a device or a pipe where a file is expected counts as a
// file that cannot be opened, so each reader fails with its own line instead
// of reading something that never ends or throwing from the stream.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tr {

// What a read of a whole file gave: opened is false for a missing file or one
// that is not a regular file; complete is false when a read error stopped
// the read, and bytes then holds what arrived before it.
struct sFileBytes {
  bool opened = false;
  bool complete = false;
  std::string bytes;
};
sFileBytes ReadRegularFile(const std::filesystem::path& file);

// The file's bytes, or nothing when it is missing, not a regular file, or
// cannot be read whole. A path holding a NUL is refused: the system would
// open only the part before it.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

// True when the path names an existing regular file (links followed).
bool IsReadableRegularFile(const std::filesystem::path& file);

}  // namespace tr
