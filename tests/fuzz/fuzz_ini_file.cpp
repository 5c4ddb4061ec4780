// The INI reader on any bytes: every key it stored read back through the
// typed getters, and the text a save would write.
#include <cstddef>
#include <cstdint>

#include "foundation/ini_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tr;
  fuzz::WriteGameFile("Settings.ini", fuzz::Bytes(data, size));
  cIniFile ini;
  if (!ini.Load(u"Settings.ini")) __builtin_trap();  // a regular file always opens
  const std::string text = ini.SaveText();
  // Keys of the shipped settings, so the getters meet what the file gave them.
  for (const char* key : {"Main/ResolutionX", "Main/Fullscreen", "Audio/MusicVolume", "Main/Language"}) {
    ini.GetInt(key, 1);
    ini.GetBool(key, false);
    ini.GetString(key, u"x");
  }
  // The text a save writes is read again.
  fuzz::WriteGameFile("Saved.ini", text);
  cIniFile again;
  again.Load(u"Saved.ini");
  (void)again.SaveText();
  return 0;
}
