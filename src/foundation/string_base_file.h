// The two forms of the localised texts: the UTF-8 text source the texts are
// written in (data/texts/*.txt) and the binary "lang_LANGID.db" the game reads.
//
// Text source: one "key=text" pair per line; the key is printable ASCII up to
// the first '=', the text is everything after it, with \n, \t and \\ escapes.
// Blank lines and lines starting with '#' are skipped.
//
// Binary file, little-endian: one unused byte, the record count (u64), then per
// record the key length (u8), the key bytes, the text length in UTF-16 units
// (u16) and the UTF-16LE text.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tr {

struct sStringBaseEntry {
  std::string key;
  std::u16string text;
};

// Parses a text source; every malformed line adds a message ("line 12: ...")
// to errors and is skipped. A key given twice is an error.
std::vector<sStringBaseEntry> ParseStringBaseSource(std::string_view source,
                                                    std::vector<std::string>& errors);

// The bytes of a string-base file. Keys longer than 255 bytes and texts longer
// than 65535 units cannot be stored and are reported in errors instead.
std::string EncodeStringBase(const std::vector<sStringBaseEntry>& entries,
                             std::vector<std::string>& errors);

// Reads the records of a string-base file in order. Stops at the first record
// that runs past the end of the data; complete is then false.
struct sDecodedStringBase {
  std::vector<sStringBaseEntry> entries;
  unsigned long long declaredCount = 0;
  bool complete = true;
};
sDecodedStringBase DecodeStringBase(std::string_view bytes);

}  // namespace tr
