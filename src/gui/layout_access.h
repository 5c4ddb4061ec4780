// What the toolkit reads of the layout file: control rectangles and the eight
// interface fonts. One place, so the toolkit depends on the layout table's
// shape nowhere else.
#pragma once

#include <cstdint>
#include <string>

namespace tr {

inline constexpr int kLayoutEntryCount = 1500;
inline constexpr int kLayoutFontCount = 8;

struct LayoutEntry {
  std::int32_t x = -1, y = -1, width = -1, height = -1;
  bool IsUnset() const { return x == -1 && y == -1 && width == -1 && height == -1; }
};

// The entry of a control id; false for an id outside the table.
bool ReadLayoutEntry(int id, LayoutEntry* entry);

struct LayoutFont {
  std::u16string face = u"Arial";
  int height = 16;
  int weight = 400;
  std::uint32_t color = 0xFFFFFFFFu;
  std::uint32_t second_color = 0xFFFFFFFFu;
};

// Layout font 0 to 7; out-of-range entries give the defaults.
LayoutFont GetLayoutFont(int entry);
// Records which dialog font slot a layout font went to.
void SetLayoutFontSlot(int entry, int slot);

}  // namespace tr
