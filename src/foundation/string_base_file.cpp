#include "foundation/string_base_file.h"

#include <cstdint>
#include <set>

#include "foundation/text.h"

namespace tr {
namespace {

std::string LineError(std::size_t line, std::string_view what) {
  return "line " + std::to_string(line) + ": " + std::string(what);
}

void PutLe(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint64_t GetLe(std::string_view in, std::size_t at, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) {
    value |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
  }
  return value;
}

}  // namespace

std::vector<sStringBaseEntry> ParseStringBaseSource(std::string_view source,
                                                    std::vector<std::string>& errors) {
  std::vector<sStringBaseEntry> entries;
  std::set<std::string, std::less<>> seen;
  std::size_t line_no = 0;
  std::size_t start = 0;
  while (start < source.size()) {
    std::size_t end = source.find('\n', start);
    if (end == std::string_view::npos) end = source.size();
    std::string_view line = source.substr(start, end - start);
    start = end + 1;
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;

    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || eq == 0) {
      errors.push_back(LineError(line_no, "expected key=text"));
      continue;
    }
    const std::string_view key = line.substr(0, eq);
    bool printable = true;
    for (char c : key) printable = printable && c > ' ' && c < 0x7F;
    if (!printable) {
      errors.push_back(LineError(line_no, "key must be printable ASCII without blanks"));
      continue;
    }
    if (!seen.emplace(key).second) {
      errors.push_back(LineError(line_no, "key \"" + std::string(key) + "\" given twice"));
      continue;
    }
    std::string text;
    const std::string_view raw = line.substr(eq + 1);
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '\\' || i + 1 == raw.size()) {
        text += raw[i];
        continue;
      }
      const char e = raw[++i];
      text += e == 'n' ? '\n' : e == 't' ? '\t' : e;
    }
    entries.push_back({std::string(key), Utf8ToUtf16(text)});
  }
  return entries;
}

std::string EncodeStringBase(const std::vector<sStringBaseEntry>& entries,
                             std::vector<std::string>& errors) {
  std::string out(1, '\0');
  std::string records;
  std::uint64_t count = 0;
  for (const auto& entry : entries) {
    if (entry.key.empty() || entry.key.size() > 0xFF) {
      errors.push_back("key \"" + entry.key + "\" must be 1 to 255 bytes long");
      continue;
    }
    if (entry.text.size() > 0xFFFF) {
      errors.push_back("text of \"" + entry.key + "\" is longer than 65535 units");
      continue;
    }
    PutLe(records, entry.key.size(), 1);
    records += entry.key;
    PutLe(records, entry.text.size(), 2);
    for (char16_t u : entry.text) PutLe(records, u, 2);
    ++count;
  }
  PutLe(out, count, 8);
  return out + records;
}

sDecodedStringBase DecodeStringBase(std::string_view bytes) {
  sDecodedStringBase result;
  if (bytes.size() < 9) {
    result.complete = false;
    return result;
  }
  result.declaredCount = GetLe(bytes, 1, 8);
  std::size_t at = 9;
  for (std::uint64_t i = 0; i < result.declaredCount; ++i) {
    // Each length is checked against the bytes left before it is used.
    if (bytes.size() - at < 1) break;
    const std::size_t key_len = GetLe(bytes, at, 1);
    if (bytes.size() - at - 1 < key_len + 2) break;
    std::string key(bytes.substr(at + 1, key_len));
    const std::size_t text_len = GetLe(bytes, at + 1 + key_len, 2);
    const std::size_t text_at = at + 3 + key_len;
    if ((bytes.size() - text_at) / 2 < text_len) break;
    std::u16string text(text_len, u'\0');
    for (std::size_t u = 0; u < text_len; ++u) {
      text[u] = static_cast<char16_t>(GetLe(bytes, text_at + 2 * u, 2));
    }
    at = text_at + 2 * text_len;
    result.entries.push_back({std::move(key), std::move(text)});
  }
  result.complete = result.entries.size() == result.declaredCount;
  return result;
}

}  // namespace tr
