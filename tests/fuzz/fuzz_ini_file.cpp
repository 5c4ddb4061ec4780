// The INI reader on any bytes: every key it stored read back through the
// typed getters, and a round trip: the text a save writes, read again, must
// write the same text, so nothing a file held is lost or changed by saving.
#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/ini_file.h"
#include "foundation/settings.h"
#include "fuzz_support.h"
#include "scenario/pbem_game_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tr;
  fuzz::WriteGameFile("Settings.ini", fuzz::Bytes(data, size));
  cIniFile ini;
  if (!ini.Load(u"Settings.ini")) __builtin_trap();  // a regular file always opens
  const std::string text = ini.SaveText();
  // Keys of the shipped settings, and the name, year and title a received
  // save or turn gives its game, so the getters and the name's check meet
  // what the file gave them.
  for (const char* key : {"Main/ResolutionX", "Main/Fullscreen", "Audio/MusicVolume", "Main/Language",
                          "Save/PBEMGameName", "Save/GameYear", "General_ENG/Name"}) {
    ini.GetInt(key, 1);
    ini.GetBool(key, false);
    PbemGameNameFault(ini.GetString(key, u"x"));
  }
  const std::string afterGetters = ini.SaveText();
  // What was written is read again and must write itself unchanged: every
  // section, key, value and comment came through.
  fuzz::WriteGameFile("Saved.ini", text);
  cIniFile again;
  if (!again.Load(u"Saved.ini")) __builtin_trap();
  if (again.SaveText() != text) __builtin_trap();
  // The same holds for the file with the getters' defaults stored.
  fuzz::WriteGameFile("Saved.ini", afterGetters);
  if (!again.Load(u"Saved.ini") || again.SaveText() != afterGetters) __builtin_trap();
  // The game's settings read from the same bytes and stored back: each value
  // is held to its range, so the zoom stored as a percent cannot overflow.
  LoadSettings();
  SaveSettings();
  return 0;
}
