// The string-base reader on any bytes, through the file the game loads.
#include <cstddef>
#include <cstdint>

#include "foundation/string_base.h"
#include "foundation/string_base_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tr;
  const std::string_view bytes = fuzz::Bytes(data, size);
  const sDecodedStringBase decoded = DecodeStringBase(bytes);
  if (decoded.entries.size() > size) __builtin_trap();  // a record takes at least three bytes
  fuzz::WriteGameFile("lang_ENG.db", bytes);
  cStringBase base;
  base.SetLanguage(u"ENG");
  base.Load("lang_LANGID.db", true);
  std::u16string text;
  for (const auto& entry : decoded.entries) base.FindText(entry.key, text);
  return 0;
}
