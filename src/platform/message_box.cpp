#include "platform/message_box.h"

#include <SDL.h>

#include <utility>

#include "foundation/text.h"
#include "platform/frame.h"

namespace tr {
namespace {

HeadlessMessageBoxSink& Sink() {
  static HeadlessMessageBoxSink sink;
  return sink;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Where a word longer than a line is cut: after the last path separator that
// leaves a piece of at most the budget, else at the budget itself (never
// between the halves of a surrogate pair).
std::size_t CutOf(std::u16string_view word, std::size_t budget) {
  const std::size_t separator = word.substr(0, budget).find_last_of(u"/\\");
  if (separator != std::u16string_view::npos && separator > 0) return separator + 1;
  if (budget > 1 && IsHighSurrogate(word[budget - 1])) return budget - 1;
  return budget;
}

void WrapParagraph(std::u16string_view paragraph, std::size_t budget, std::u16string& out) {
  std::size_t lineLength = 0;
  std::size_t begin = 0;
  while (begin <= paragraph.size()) {
    std::size_t end = paragraph.find(u' ', begin);
    if (end == std::u16string_view::npos) end = paragraph.size();
    std::u16string_view word = paragraph.substr(begin, end - begin);
    begin = end + 1;
    if (word.empty()) continue;
    if (lineLength > 0 && lineLength + 1 + word.size() <= budget) {
      out += u' ';
      lineLength += 1;
    } else if (lineLength > 0) {
      out += u'\n';
      lineLength = 0;
    }
    while (word.size() > budget) {
      const std::size_t cut = CutOf(word, budget);
      out.append(word.substr(0, cut));
      out += u'\n';
      word.remove_prefix(cut);
    }
    out.append(word);
    lineLength += word.size();
  }
}

}  // namespace

std::u16string WrapMessageBoxText(std::u16string_view text, std::size_t budget) {
  if (budget == 0) return std::u16string(text);
  std::u16string out;
  std::size_t begin = 0;
  while (true) {
    const std::size_t end = text.find(u'\n', begin);
    WrapParagraph(text.substr(begin, end == std::u16string_view::npos ? std::u16string_view::npos : end - begin),
                  budget, out);
    if (end == std::u16string_view::npos) break;
    out += u'\n';
    begin = end + 1;
  }
  return out;
}

void SetHeadlessMessageBoxSink(HeadlessMessageBoxSink sink) { Sink() = std::move(sink); }

bool ShowMessageBox(std::u16string_view title, std::u16string_view text) {
  AppFrame* frame = CurrentFrame();
  if (!frame) return false;
  const std::u16string lines = WrapMessageBoxText(text);
  if (frame->headless()) {
    if (Sink()) Sink()(title, lines);
    return false;
  }
  if (!frame->window_handle()) return false;
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, Utf16ToUtf8(title).c_str(), Utf16ToUtf8(lines).c_str(),
                                  static_cast<SDL_Window*>(frame->window_handle())) == 0;
}

}  // namespace tr
