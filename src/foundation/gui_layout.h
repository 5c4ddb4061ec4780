// The screen layout of the current resolution: the rectangle of every control
// id and the eight interface fonts, read once at start-up from
// "data\GUI_<width>x<height>.csv".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tr {

inline constexpr int kGuiLayoutEntryCount = 1500;
inline constexpr int kGuiFontCount = 8;

// x, y, width, height in pixels; -1 where the file sets nothing. A few entries
// hold left, top, right, bottom instead (see LoadGuiLayout).
struct sGuiLayoutEntry {
  std::int32_t x, y, width, height;
};

extern std::array<sGuiLayoutEntry, kGuiLayoutEntryCount> sGuiLayoutTable;

// One interface font of the layout file. The font object made from it belongs
// to the GUI toolkit's resource cache.
// The tallest font a layout or skin row may ask for, either sign (a negative
// height is a character height): a sixth of the smallest screen, while a
// font's glyph atlas still holds a hundred letters of it.
inline constexpr int kMaxGuiFontHeight = 128;

struct sGuiFont {
  std::u16string face;
  int height = 0;
  int weight = 0;            // 100 to 900
  int dialogFontSlot = 0;    // written by the GUI toolkit
  std::uint32_t color = 0;   // ARGB
  std::uint32_t color2 = 0;  // ARGB
};

extern std::array<sGuiFont, kGuiFontCount> gGuiFonts;

// The screen area the renderer clears to black, from entry 315.
struct sGuiClearRect {
  int left, top, right, bottom;
};
extern sGuiClearRect gGuiClearRect;

// Reads the layout file of gScreenWidth x gScreenHeight. A missing file is
// fatal (exit code 1); rows with an id or font number outside the tables are
// logged and skipped.
void LoadGuiLayout();
// The same for a named file; false (logged) when it cannot be opened.
bool LoadGuiLayoutFile(std::u16string_view fileName);

// Turns an entry from x, y, width, height into left, top, right, bottom.
void LayoutRectToCorners(int id);

}  // namespace tr
