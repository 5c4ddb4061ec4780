// A modal message box on the game window; headless frames and runs without a
// window show nothing (callers log the text themselves).
#pragma once

#include <string_view>

namespace tr {

// True when the box was shown and closed by the player.
bool ShowMessageBox(std::u16string_view title, std::u16string_view text);

}  // namespace tr
