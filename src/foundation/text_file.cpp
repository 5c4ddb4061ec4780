#include "foundation/text_file.h"

#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/text.h"

namespace tr {

std::size_t ByteOrderMarkLength(std::string_view bytes) {
  return bytes.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
}

bool DecodeMarkedText(std::string& bytes, std::u16string_view fileName) {
  const std::size_t mark = ByteOrderMarkLength(bytes);
  if (mark == 0) return false;
  LogFormat(u"NOTE: %s starts with a UTF-8 byte-order mark; the mark is skipped", fileName);
  const std::u16string text = Utf8ToUtf16(std::string_view(bytes).substr(mark));
  std::string narrowed;
  narrowed.reserve(text.size());
  int line = 1;
  int firstLost = 0;
  char16_t previous = 0;
  for (const char16_t unit : text) {
    if (unit == u'\r' || (unit == u'\n' && previous != u'\r')) ++line;
    previous = unit;
    const char byte = CodePageFromUnit(unit);
    // A letter the code page lacks, or a byte that was not UTF-8, is kept as
    // '?' in every reader and every file the game writes from it.
    if (firstLost == 0 && CodePageToUnit(static_cast<unsigned char>(byte)) != unit) firstLost = line;
    narrowed += byte;
  }
  if (firstLost != 0) {
    LogFormat(u"WARNING: %s holds letters that the Windows-1252 code page of the game's texts cannot keep, first at "
              u"line %i (counting from 1); they are read as '?'",
              fileName, firstLost);
  }
  bytes = std::move(narrowed);
  return true;
}

std::optional<std::string> ReadTextFile(const std::filesystem::path& file) {
  std::optional<std::string> bytes = ReadWholeFile(file);
  if (bytes) DecodeMarkedText(*bytes, Utf8ToUtf16(file.string()));
  return bytes;
}

}  // namespace tr
