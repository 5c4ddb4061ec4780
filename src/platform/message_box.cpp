#include "platform/message_box.h"

#include <SDL.h>

#include "foundation/text.h"
#include "platform/frame.h"

namespace tr {

bool ShowMessageBox(std::u16string_view title, std::u16string_view text) {
  AppFrame* frame = CurrentFrame();
  if (!frame || frame->headless() || !frame->window_handle()) return false;
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, Utf16ToUtf8(title).c_str(), Utf16ToUtf8(text).c_str(),
                                  static_cast<SDL_Window*>(frame->window_handle())) == 0;
}

}  // namespace tr
