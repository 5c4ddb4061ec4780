#include "foundation/text.h"

#include <array>

namespace tr {
namespace {

// Windows-1252 bytes 0x80-0x9F. The five bytes the code page leaves undefined
// map to the C1 control of the same value, so every byte round-trips.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

}  // namespace

char16_t CodePageToUnit(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
  return byte;
}

char CodePageFromUnit(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == unit) return static_cast<char>(0x80 + i);
  }
  return '?';
}

std::u16string CodePageToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char c : bytes) out += CodePageToUnit(static_cast<unsigned char>(c));
  return out;
}

std::string Utf16ToCodePage(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t u : text) out += CodePageFromUnit(u);
  return out;
}

bool FitsCodePage(std::u16string_view text) {
  for (const char16_t unit : text) {
    if (CodePageToUnit(static_cast<unsigned char>(CodePageFromUnit(unit))) != unit) return false;
  }
  return true;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  std::u16string out;
  out.reserve(text.size());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    std::size_t extra;
    char32_t cp;
    if (b0 < 0x80) {
      out += b0;
      ++i;
      continue;
    } else if ((b0 & 0xE0) == 0xC0) {
      extra = 1, cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
      extra = 2, cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
      extra = 3, cp = b0 & 0x07;
    } else {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    // Consume the continuation bytes that are there; a short sequence is one
    // replacement character and decoding resumes at the first foreign byte.
    std::size_t j = 1;
    while (j <= extra && i + j < n && (static_cast<unsigned char>(text[i + j]) & 0xC0) == 0x80) {
      cp = (cp << 6) | (static_cast<unsigned char>(text[i + j]) & 0x3F);
      ++j;
    }
    if (j <= extra || cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out += u'\uFFFD';
    } else {
      AppendUtf16(out, cp);
    }
    i += j;
  }
  return out;
}

std::size_t FirstInvalidUtf8(std::string_view text) {
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
      ++i;
      continue;
    }
    std::size_t extra;
    char32_t cp;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      extra = 1, cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
      extra = 2, cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      extra = 3, cp = b0 & 0x07;
    } else {
      return i;
    }
    if (extra >= n - i) return i;
    for (std::size_t j = 1; j <= extra; ++j) {
      const auto b = static_cast<unsigned char>(text[i + j]);
      if ((b & 0xC0) != 0x80) return i;
      cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return i;
    i += extra + 1;
  }
  return std::string_view::npos;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::u16string Utf16LeToUtf16(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto lo = static_cast<unsigned char>(bytes[i]);
    const auto hi = static_cast<unsigned char>(bytes[i + 1]);
    text.push_back(static_cast<char16_t>(lo | (hi << 8)));
  }
  return text;
}

std::string Utf16ToUtf16Le(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

std::u16string AsciiToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out += static_cast<char16_t>(static_cast<unsigned char>(c));
  return out;
}

char16_t FoldCase(char16_t u) {
  if (u >= u'A' && u <= u'Z') return u + 32;
  if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return u + 32;
  return u;
}

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

std::u16string_view CutUnits(std::u16string_view text, std::size_t count) {
  if (count >= text.size()) return text;
  const char16_t last = count > 0 ? text[count - 1] : u'\0';
  if (last >= 0xD800 && last <= 0xDBFF) --count;
  return text.substr(0, count);
}

}  // namespace tr
