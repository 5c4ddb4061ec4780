// Text conversions at the edges of the program: player-visible text lives in
// std::u16string; files hold 8-bit code-page text or UTF-16LE; fonts and the
// file system take UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tr {

// The 8-bit code page of data files and INI files (Windows-1252).
char16_t CodePageToUnit(unsigned char byte);
// Narrows one UTF-16 unit; units the code page cannot hold become '?'.
char CodePageFromUnit(char16_t unit);

std::u16string CodePageToUtf16(std::string_view bytes);
std::string Utf16ToCodePage(std::u16string_view text);
// True when the code page holds every letter of the text, so a file of that
// code page gives the text back unchanged.
bool FitsCodePage(std::u16string_view text);

// Malformed input becomes U+FFFD instead of being dropped silently.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// UTF-16LE bytes as their units; a last odd byte is no whole unit and is dropped.
std::u16string Utf16LeToUtf16(std::string_view bytes);
// The units as UTF-16LE bytes, each low byte first.
std::string Utf16ToUtf16Le(std::u16string_view text);
// The offset of the first byte that does not belong to well-formed UTF-8
// (a cut or overlong sequence, a surrogate, a value past U+10FFFF), or npos.
std::size_t FirstInvalidUtf8(std::string_view text);

// At most the first `count` units of the text, one fewer where the cut would
// part a surrogate pair (half a character becomes U+FFFD in any file name).
std::u16string_view CutUnits(std::u16string_view text, std::size_t count);

// Plain ASCII widening/narrowing for keys and literals known to be ASCII.
std::u16string AsciiToUtf16(std::string_view text);

// Case folding for ASCII and the Latin-1 letters; enough for file names and keys.
char16_t FoldCase(char16_t unit);
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

}  // namespace tr
