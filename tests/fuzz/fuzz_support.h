// What every fuzz target shares: a private game folder the readers open
// their files in, a silent log, fatal exits that throw instead of ending the
// process, and a small game for the readers that look at countries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tr {
class cGame;
}

namespace tr::fuzz {

// Prepares the process once: the game folder (removed at exit), the silent
// log and the throwing fatal exit. Every helper below calls it.
void Setup();

// The game folder; relative game paths resolve below it.
const std::filesystem::path& GameFolder();

// Writes the bytes to a file below the game folder, replacing it.
void WriteGameFile(std::string_view relative, std::string_view bytes);

// A game of three active countries on a small map, installed as the running
// game; each call gives it back its three countries.
cGame& SmallGame();

// The shipped sample scenario as the build made it, copied into the game
// folder once, with the game's top-level files.
void CopyBuiltSample();

// The sample scenario loaded as a new game once and kept as the running game.
cGame& SampleGame();

// The name of a save of the sample (SampleGame saved as it loaded), written
// once into data/save, without the list of its files (as an older save), so
// each file reaches its reader as it is.
const std::string& SampleSave();

// A save folder of small files, one of each name every save is written
// with, made once under data/save; its name. ListOfSaveFolder gives the list
// the game writes for them, with the fast or the older MD5 digest.
const std::string& ListedSaveFolder();
std::string ListOfSaveFolder(bool md5);

// Runs a reader; a fatal exit it asks for ends only this input.
template <typename Fn>
void RunReader(Fn&& fn);

// The input as the bytes of a file.
inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace tr::fuzz

#include "foundation/fatal.h"

template <typename Fn>
void tr::fuzz::RunReader(Fn&& fn) {
  Setup();
  try {
    fn();
  } catch (const FatalExitError&) {
    // Refusing the file is an answer; only a crash, a hang or a sanitizer report is a finding.
  }
}
