#include "gui/layout_access.h"

#include "foundation/gui_layout.h"

namespace tr {

static_assert(kLayoutEntryCount == kGuiLayoutEntryCount && kLayoutFontCount == kGuiFontCount);

bool ReadLayoutEntry(int id, LayoutEntry* entry) {
  if (id < 0 || id >= kGuiLayoutEntryCount) return false;
  const sGuiLayoutEntry& e = sGuiLayoutTable[static_cast<std::size_t>(id)];
  *entry = {e.x, e.y, e.width, e.height};
  return true;
}

LayoutFont GetLayoutFont(int entry) {
  LayoutFont font;
  if (entry < 0 || entry >= kGuiFontCount) return font;
  const sGuiFont& f = gGuiFonts[static_cast<std::size_t>(entry)];
  // Before a layout file is read the table is empty; the defaults keep text readable.
  if (f.face.empty() || f.height <= 0) return font;
  font.face = f.face;
  font.height = f.height;
  font.weight = f.weight;
  font.color = f.color;
  font.second_color = f.color2;
  return font;
}

void SetLayoutFontSlot(int entry, int slot) {
  if (entry >= 0 && entry < kGuiFontCount) gGuiFonts[static_cast<std::size_t>(entry)].dialogFontSlot = slot;
}

}  // namespace tr
