// Whole-file reads for every reader of game data. Only regular files are
// read, and never through a link: a folder, a device, a pipe or a link where
// a file is expected counts as a file that cannot be opened, so each reader
// fails with its own line instead of reading something that never ends,
// throwing from the stream, or reading a file outside the game folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tr {

// What a read of a whole file gave: opened is false for a missing file or one
// that is not a regular file (a link is not); complete is false when a read error stopped
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

// True when the path names an existing regular file, not a link to one.
bool IsReadableRegularFile(const std::filesystem::path& file);

}  // namespace tr
