#include "gui/edit_text_buffer.h"

#include <algorithm>

#include "gui/resource_cache.h"
#include "platform/font.h"

namespace tr {

CharClass ClassifyChar(char16_t ch) {
  switch (ch) {
    case u' ': case u'\t': case u'\r': case u'\n': case 0x00A0: case 0x3000:
      return CharClass::kSpace;
    default:
      break;
  }
  if (ch < 0x80) {
    const bool alnum = (ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') ||
                       ch == u'_';
    return alnum ? CharClass::kWord : CharClass::kPunctuation;
  }
  // Latin-1 punctuation and the general punctuation block; everything else spells words.
  if ((ch >= 0x00A1 && ch <= 0x00BF) || ch == 0x00D7 || ch == 0x00F7 || (ch >= 0x2000 && ch <= 0x206F) ||
      (ch >= 0x3001 && ch <= 0x3003)) {
    return CharClass::kPunctuation;
  }
  return CharClass::kWord;
}

cEditTextBuffer::cEditTextBuffer() = default;

bool cEditTextBuffer::SetBufferSize(int wanted) {
  if (capacity_ >= kMaxSize) return false;
  int size = 0;
  if (wanted >= 0 && wanted >= capacity_ * 2) {
    size = wanted > kMaxSize / 2 ? kMaxSize : wanted * 2;
  } else {
    size = capacity_ == 0 ? 256 : std::min(capacity_ * 2, kMaxSize);
  }
  capacity_ = std::min(size, kMaxSize);
  text_.reserve(static_cast<std::size_t>(capacity_));
  return true;
}

bool cEditTextBuffer::InsertChar(int index, char16_t ch) {
  if (index < 0 || index > GetTextSize() || GetTextSize() + 1 >= kMaxSize) return false;
  if (GetTextSize() + 1 >= capacity_ && !SetBufferSize(-1)) return false;
  text_.insert(text_.begin() + index, ch);
  dirty_ = true;
  return true;
}

bool cEditTextBuffer::RemoveChar(int index) {
  if (index < 0 || index >= GetTextSize()) return false;
  text_.erase(text_.begin() + index);
  dirty_ = true;
  return true;
}

bool cEditTextBuffer::InsertString(int index, std::u16string_view text) {
  const int count = static_cast<int>(std::min<std::size_t>(text.size(), kMaxSize));
  if (index < 0 || index > GetTextSize() || GetTextSize() + count >= kMaxSize) return false;
  while (GetTextSize() + count + 1 > capacity_) {
    if (!SetBufferSize(GetTextSize() + count + 1)) return false;
  }
  text_.insert(static_cast<std::size_t>(index), text);
  dirty_ = true;
  return true;
}

bool cEditTextBuffer::SetText(std::u16string_view text) {
  if (text.size() + 1 >= static_cast<std::size_t>(kMaxSize)) return false;
  while (static_cast<int>(text.size()) + 1 > capacity_) {
    if (!SetBufferSize(-1)) return false;
  }
  text_.assign(text);
  dirty_ = true;
  return true;
}

void cEditTextBuffer::Clear() {
  text_.clear();
  dirty_ = true;
}

void cEditTextBuffer::SetFontIndex(int index) {
  if (index == font_index_) return;
  font_index_ = index;
  dirty_ = true;
}

HResult cEditTextBuffer::Analyse() {
  analysed_ = false;
  edges_.clear();
  const Font* font = GetGuiResourceCache().GetFont(font_index_);
  if (font == nullptr) return E_FAIL;
  edges_.assign(text_.size() + 1, 0);
  int x = 0;
  for (std::size_t i = 0; i < text_.size(); ++i) {
    edges_[i] = x;
    const bool pair = text_[i] >= 0xD800 && text_[i] <= 0xDBFF && i + 1 < text_.size() &&
                      text_[i + 1] >= 0xDC00 && text_[i + 1] <= 0xDFFF;
    x += font->TextWidth(std::u16string_view(text_).substr(i, pair ? 2 : 1));
    if (pair) edges_[++i] = x;  // the low half has no width of its own
  }
  edges_[text_.size()] = x;
  analysed_ = true;
  dirty_ = false;
  return S_OK;
}

HResult cEditTextBuffer::CPtoX(int position, bool trailing, int* x) {
  *x = 0;
  if (dirty_) {
    const HResult hr = Analyse();
    if (Failed(hr)) return hr;
  }
  if (!analysed_) return E_FAIL;
  position = std::clamp(position, 0, GetTextSize());
  if (trailing && position < GetTextSize()) ++position;
  *x = edges_[static_cast<std::size_t>(position)];
  return S_OK;
}

HResult cEditTextBuffer::XtoCP(int x, int* position, bool* trailing) {
  *position = 0;
  *trailing = false;
  if (dirty_) {
    const HResult hr = Analyse();
    if (Failed(hr)) return hr;
  }
  if (!analysed_) return E_FAIL;
  if (x < 0) return S_OK;
  const int size = GetTextSize();
  if (x >= edges_[static_cast<std::size_t>(size)]) {
    *position = size;
    *trailing = true;
    return S_OK;
  }
  // The last character whose leading edge is at or left of x (zero-width halves are skipped).
  const auto it = std::upper_bound(edges_.begin(), edges_.end(), x);
  int index = static_cast<int>(it - edges_.begin()) - 1;
  while (index > 0 && edges_[static_cast<std::size_t>(index)] == edges_[static_cast<std::size_t>(index - 1)]) --index;
  const int left = edges_[static_cast<std::size_t>(index)];
  const int right = edges_[static_cast<std::size_t>(std::min(index + 1, size))];
  *position = index;
  *trailing = (x - left) * 2 >= right - left;
  return S_OK;
}

bool cEditTextBuffer::IsSpaceAt(int index) const {
  return index >= 0 && index < GetTextSize() && ClassifyChar(text_[static_cast<std::size_t>(index)]) == CharClass::kSpace;
}

bool cEditTextBuffer::IsWordStop(int index) const {
  if (index <= 0 || index >= GetTextSize()) return false;
  const CharClass here = ClassifyChar(text_[static_cast<std::size_t>(index)]);
  return here != CharClass::kSpace && here != ClassifyChar(text_[static_cast<std::size_t>(index - 1)]);
}

int cEditTextBuffer::PrevWordPos(int position) {
  if (dirty_ && Failed(Analyse())) return position;
  const int analysed = GetTextSize() + 1;
  for (int i = std::min(position - 1, analysed); i >= 1; --i) {
    if (IsWordStop(i) || (!IsSpaceAt(i) && IsSpaceAt(i - 1))) return i;
  }
  return 0;
}

int cEditTextBuffer::NextWordPos(int position) {
  if (dirty_ && Failed(Analyse())) return position;
  const int analysed = GetTextSize() + 1;
  for (int i = std::min(position + 1, analysed); i < analysed - 1; ++i) {
    if (IsWordStop(i)) return i;
    if (IsSpaceAt(i) && !IsSpaceAt(i + 1)) return i + 1;
  }
  return analysed - 1;
}

}  // namespace tr
