// Keyboard and mouse state, mouse capture, the clipboard and text composition,
// for the frame that is running. Main thread only.
#pragma once

#include <cstdint>
#include <string>

namespace tr {

// High bit (negative result) while the key is down; low bit toggles with each press.
std::int16_t GetKeyState(std::uint32_t vk);
// The same, after handling the window events that are waiting, for loops that
// block the frame (the intro's movies).
std::int16_t GetAsyncKeyState(std::uint32_t vk);

struct MousePoint {
  int x = 0;
  int y = 0;
};
MousePoint GetMousePosition();

// While captured, the mouse keeps reporting to the window outside it.
void SetMouseCapture();
void ReleaseMouseCapture();
bool HasMouseCapture();

// Unicode text of the clipboard; empty when there is none.
std::u16string GetClipboardText();
bool SetClipboardText(std::u16string_view text);

// The text an input method is composing, and its cursor in UTF-16 units.
std::u16string GetCompositionText();
int GetCompositionCursor();

// Shows or hides the system pointer over the window (the game may draw its own).
void ShowSystemCursor(bool show);

// Caret blink period in milliseconds, and the lines one wheel notch scrolls.
std::uint32_t GetCaretBlinkTimeMs();
int GetWheelScrollLines();

}  // namespace tr
