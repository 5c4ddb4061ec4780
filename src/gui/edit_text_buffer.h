// cEditTextBuffer: the UTF-16 text of an edit box or memo, with the caret
// geometry of its font (advances measured per character) and word stops.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/codes.h"

namespace tr {

class cEditTextBuffer {
 public:
  // No text may reach this many units (terminator included).
  static constexpr int kMaxSize = 65535;

  cEditTextBuffer();

  // Grows the capacity (to twice wanted, or doubling); false once at the maximum.
  bool SetBufferSize(int wanted = -1);
  // Each is refused (false) when the index is outside the text or the result
  // would reach the maximum size.
  bool InsertChar(int index, char16_t ch);
  bool RemoveChar(int index);
  bool InsertString(int index, std::u16string_view text);
  bool SetText(std::u16string_view text);
  void Clear();

  const std::u16string& GetText() const { return text_; }
  int GetTextSize() const { return static_cast<int>(text_.size()); }
  int GetBufferSize() const { return capacity_; }
  char16_t operator[](int index) const { return text_[static_cast<std::size_t>(index)]; }

  // A resource-cache font index; the caret geometry follows its advances.
  void SetFontIndex(int index);
  int GetFontIndex() const { return font_index_; }

  // Measures the text with the font; E_FAIL when the font is not made.
  HResult Analyse();
  // The leading (or trailing) edge of the character at position.
  HResult CPtoX(int position, bool trailing, int* x);
  // The character under x, and whether x lies in its trailing half.
  HResult XtoCP(int x, int* position, bool* trailing);
  // Word-wise caret stops; without an analysis the position itself.
  int PrevWordPos(int position);
  int NextWordPos(int position);

 private:
  bool IsWordStop(int index) const;
  bool IsSpaceAt(int index) const;

  std::u16string text_;
  int capacity_ = 1;
  int font_index_ = 0;
  bool dirty_ = true;
  bool analysed_ = false;
  // Leading x of every position, the end included.
  std::vector<int> edges_;
};

// The classes word stops are found from.
enum class CharClass { kSpace, kPunctuation, kWord };
CharClass ClassifyChar(char16_t ch);

}  // namespace tr
