#include "events/xml_nesting.h"

#include "foundation/number_text.h"

namespace tr {
namespace {

constexpr std::size_t npos = std::string_view::npos;

// The parser's white space: the blanks, and in UTF-8 mode the three
// byte-order-mark sequences it steps over between the parts of a tag.
std::size_t SkipSpace(std::string_view t, std::size_t i) {
  while (i < t.size()) {
    if (i + 2 < t.size() && static_cast<unsigned char>(t[i]) == 0xEF) {
      const auto b = static_cast<unsigned char>(t[i + 1]);
      const auto c = static_cast<unsigned char>(t[i + 2]);
      if ((b == 0xBB && c == 0xBF) || (b == 0xBF && (c == 0xBE || c == 0xBF))) {
        i += 3;
        continue;
      }
    }
    if (!IsBlank(t[i])) break;
    ++i;
  }
  return i;
}

// Any byte from 127 up counts as a letter: the parser has no table of the rest.
bool IsLetter(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 127 || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Past a name that starts at i, or npos when none starts there.
std::size_t SkipName(std::string_view t, std::size_t i) {
  if (i >= t.size() || !(IsLetter(t[i]) || t[i] == '_')) return npos;
  const auto inName = [](char c) { return IsLetter(c) || IsDigit(c) || c == '_' || c == '-' || c == '.' || c == ':'; };
  while (i < t.size() && inName(t[i])) ++i;
  return i;
}

bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Past the '&' at i as the parser reads it in text and quoted values, or npos
// where it gives up. A character reference runs to the next ';' however far
// and is taken when the digits just before that ';' go back to a '#' (or an
// 'x'): so it may hold tags and quotes the parser never sees.
std::size_t SkipReference(std::string_view t, std::size_t i) {
  if (i + 2 >= t.size() || t[i + 1] != '#') return i + 1;
  const bool hex = t[i + 2] == 'x';
  if (hex && i + 3 >= t.size()) return npos;
  const std::size_t semicolon = t.find(';', i + (hex ? 3 : 2));
  if (semicolon == npos) return npos;
  for (std::size_t q = semicolon - 1; t[q] != (hex ? 'x' : '#'); --q) {
    if (!(hex ? IsHexDigit(t[q]) : IsDigit(t[q]))) return npos;
  }
  return semicolon + 1;
}

// Where the text or quoted value from i ends at `end`, or npos.
std::size_t FindEnd(std::string_view t, std::size_t i, char end) {
  while (i < t.size() && t[i] != end) i = t[i] == '&' ? SkipReference(t, i) : i + 1;
  return i < t.size() ? i : npos;
}

// Past an attribute that starts at i (name, '=', value), or npos where the
// parser gives up: it ends the whole parse there.
std::size_t SkipAttribute(std::string_view t, std::size_t i) {
  i = SkipName(t, i);
  if (i == npos) return npos;
  i = SkipSpace(t, i);
  if (i >= t.size() || t[i] != '=') return npos;
  i = SkipSpace(t, i + 1);
  if (i >= t.size()) return npos;
  if (t[i] == '"' || t[i] == '\'') {
    const std::size_t close = FindEnd(t, i + 1, t[i]);
    return close == npos ? npos : close + 1;
  }
  // An unquoted value runs to white space or the end of the tag; a quote in it is an error.
  for (; i < t.size() && !IsBlank(t[i]) && t[i] != '/' && t[i] != '>'; ++i) {
    if (t[i] == '"' || t[i] == '\'') return npos;
  }
  return i;
}

bool StartsWithIgnoringCase(std::string_view t, std::size_t i, std::string_view word) {
  if (t.size() - i < word.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k) {
    char c = t[i + k];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[k]) return false;
  }
  return true;
}

// Past an XML declaration "<?xml" at i, or npos: it reads its three
// attributes with their quotes, and steps over anything else word by word.
std::size_t SkipDeclaration(std::string_view t, std::size_t i) {
  i += 5;
  while (i < t.size()) {
    if (t[i] == '>') return i + 1;
    i = SkipSpace(t, i);
    if (StartsWithIgnoringCase(t, i, "version") || StartsWithIgnoringCase(t, i, "encoding") ||
        StartsWithIgnoringCase(t, i, "standalone")) {
      i = SkipAttribute(t, i);
      if (i == npos) return npos;
    } else {
      while (i < t.size() && t[i] != '>' && !IsBlank(t[i])) ++i;
    }
  }
  return npos;
}

std::size_t SkipPast(std::string_view t, std::size_t from, std::string_view end) {
  const std::size_t at = t.find(end, from);
  return at == npos ? npos : at + end.size();
}

}  // namespace

std::size_t FindTooDeepElement(std::string_view text, int limit) {
  return ScanXmlTree(text, limit, npos).tooDeep;
}

sXmlScan ScanXmlTree(std::string_view text, int depthLimit, std::size_t mostNodes, std::size_t mostAttributes) {
  sXmlScan scan;
  // One node more, starting at `at`; false once it is one too many.
  const auto count = [&](std::size_t at) {
    if (scan.nodes == mostNodes) {
      scan.tooMany = at;
      return false;
    }
    ++scan.nodes;
    return true;
  };
  int depth = 0;
  std::size_t i = 0;
  // From tag to tag: text ends at the next '<' not inside a character
  // reference; npos wherever the parser would stop.
  while (i < text.size()) {
    const std::size_t textStart = i;
    if ((i = FindEnd(text, i, '<')) == npos) break;
    const std::string_view between = text.substr(textStart, i - textStart);
    if (!TrimBlanks(between).empty() && !count(textStart)) return scan;
    const std::string_view rest = text.substr(i);
    if (depth > 0 && rest.starts_with("</")) {
      // The end tag of the open element, or an error that ends the parse.
      --depth;
      i = SkipPast(text, i + 2, ">");
      continue;
    }
    if (!count(i)) return scan;
    if (StartsWithIgnoringCase(text, i, "<?xml")) {
      i = SkipDeclaration(text, i);
    } else if (rest.starts_with("<!--")) {
      i = SkipPast(text, i + 4, "-->");
    } else if (rest.starts_with("<![CDATA[")) {
      i = SkipPast(text, i + 9, "]]>");
    } else if (rest.size() < 2 || !(IsLetter(rest[1]) || rest[1] == '_')) {
      // Anything else that is not an element, "<!" included, ends at the first '>'.
      i = SkipPast(text, i + 1, ">");
    } else {
      // The parser is a level deeper as soon as it reads the name, even of an
      // empty element or one whose tag it gives up on.
      if (depth + 1 > depthLimit) {
        scan.tooDeep = i;
        return scan;
      }
      // The parser steps over white space before the name, and takes the
      // byte-order mark for some.
      std::size_t p = SkipName(text, SkipSpace(text, i + 1));
      std::size_t attributes = 0;
      while (p != npos) {
        p = SkipSpace(text, p);
        if (p >= text.size()) return scan;
        if (text[p] == '/') {
          p = p + 1 < text.size() && text[p + 1] == '>' ? p + 2 : npos;
          break;
        }
        if (text[p] == '>') {
          ++depth;
          ++p;
          break;
        }
        if (attributes++ == mostAttributes) {
          scan.tooManyAttributes = p;
          return scan;
        }
        if (!count(p)) return scan;
        p = SkipAttribute(text, p);
        if (p == npos) break;
      }
      i = p;
    }
  }
  return scan;
}

}  // namespace tr
