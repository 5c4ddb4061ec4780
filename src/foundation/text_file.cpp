#include "foundation/text_file.h"

#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/text.h"

namespace tr {

std::size_t ByteOrderMarkLength(std::string_view bytes) {
  return bytes.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
}

bool DropByteOrderMark(std::string& bytes, std::u16string_view fileName) {
  const std::size_t mark = ByteOrderMarkLength(bytes);
  if (mark == 0) return false;
  bytes.erase(0, mark);
  LogFormat(u"NOTE: %s starts with a UTF-8 byte-order mark; the mark is skipped", fileName);
  return true;
}

std::optional<std::string> ReadTextFile(const std::filesystem::path& file) {
  std::optional<std::string> bytes = ReadWholeFile(file);
  if (bytes) DropByteOrderMark(*bytes, Utf8ToUtf16(file.string()));
  return bytes;
}

std::vector<sTextLine> SplitTextLines(std::string_view bytes) {
  std::vector<sTextLine> lines;
  for (std::string_view line : TextLineViews(bytes)) lines.push_back({std::string(line), true});
  // Only the last line can lack its line end.
  if (!lines.empty() && !bytes.ends_with('\r') && !bytes.ends_with('\n')) lines.back().ended = false;
  return lines;
}

}  // namespace tr
