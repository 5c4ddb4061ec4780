// A modal message box on the game window; headless frames and runs without a
// window show nothing (callers log the text themselves).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tr {

// The most characters a line of a message box holds. The system's box breaks
// no line and grows with its longest one; at this many characters of its
// 12-point face a line stays well inside the smallest window (1024 pixels).
inline constexpr std::size_t kMessageBoxLineBudget = 72;

// The text broken into lines of at most the budget: between words where it
// can, after a path's separators in a word longer than a line, else inside
// the word. Its own line breaks stay.
std::u16string WrapMessageBoxText(std::u16string_view text, std::size_t budget = kMessageBoxLineBudget);

// True when the box was shown and closed by the player. The text is wrapped.
bool ShowMessageBox(std::u16string_view title, std::u16string_view text);

// A headless frame hands its boxes here, wrapped as the screen would show
// them, so that a test sees what the player would read; none by default.
using HeadlessMessageBoxSink = std::function<void(std::u16string_view title, std::u16string_view text)>;
void SetHeadlessMessageBoxSink(HeadlessMessageBoxSink sink);

}  // namespace tr
