// A dialog's fonts, textures and default elements.
#include <new>

#include "foundation/console_log.h"
#include "gui/default_elements.h"
#include "gui/dialog.h"
#include "gui/layout_access.h"
#include "gui/resource_cache.h"
#include "platform/font.h"

namespace tr {
namespace {

// Slots are small numbers chosen by code; anything larger is a mistake, not a request for memory.
constexpr int kMaxSlot = 255;

HResult StoreSlot(std::vector<int>& slots, int slot, int index) {
  try {
    if (static_cast<std::size_t>(slot) >= slots.size()) slots.resize(slot + 1, -1);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  slots[static_cast<std::size_t>(slot)] = index;
  return index < 0 ? E_OUTOFMEMORY : S_OK;
}

int ReadSlot(const std::vector<int>& slots, int slot) {
  if (slot < 0 || static_cast<std::size_t>(slot) >= slots.size()) return -1;
  return slots[static_cast<std::size_t>(slot)];
}

}  // namespace

void CDXUTDialog::InitDefaultElements() {
  SetTexture(0, kSkinTexturePath);
  for (int i = 0; i < kLayoutFontCount; ++i) {
    const LayoutFont font = GetLayoutFont(i);
    SetFont(i, font.face, font.height, font.weight);
    SetLayoutFontSlot(i, i);
  }
  const LayoutFont text = GetLayoutFont(1);
  const LayoutFont title = GetLayoutFont(3);
  DefaultElementFonts colours;
  colours.text_color = text.color;
  colours.text_color_alt = text.second_color;
  colours.title_color = title.color;
  colours.title_color_alt = title.second_color;
  caption_element_ = MakeCaptionElement();
  default_elements_ = MakeDefaultElements(colours);
}

const sSkinElement* CDXUTDialog::GetDefaultElement(int type, int index) const {
  for (const sDefaultElement& d : default_elements_) {
    if (d.control_type == type && d.element_index == index) return &d.element;
  }
  return nullptr;
}

HResult CDXUTDialog::SetDefaultElement(int type, int index, const sSkinElement* element) {
  if (element == nullptr) return E_INVALIDARG;
  for (sDefaultElement& d : default_elements_) {
    if (d.control_type == type && d.element_index == index) {
      d.element = *element;
      return S_OK;
    }
  }
  try {
    default_elements_.push_back(sDefaultElement{type, index, *element});
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HResult CDXUTDialog::SetFont(int slot, std::u16string_view face, int height, int weight) {
  if (slot < 0 || slot > kMaxSlot) {
    LogFormat(u"GUI: font slot %i refused (slots are 0 to %i)", slot, kMaxSlot);
    return E_INVALIDARG;
  }
  return StoreSlot(font_indices_, slot, GetGuiResourceCache().AddFont(face, height, weight));
}

HResult CDXUTDialog::SetTexture(int slot, std::u16string_view file) {
  if (slot < 0 || slot > kMaxSlot) {
    LogFormat(u"GUI: texture slot %i refused (slots are 0 to %i)", slot, kMaxSlot);
    return E_INVALIDARG;
  }
  return StoreSlot(texture_indices_, slot, GetGuiResourceCache().AddTexture(file));
}

int CDXUTDialog::GetFontIndex(int slot) const { return ReadSlot(font_indices_, slot); }
int CDXUTDialog::GetTextureIndex(int slot) const { return ReadSlot(texture_indices_, slot); }

int CDXUTDialog::FontHeight(const sSkinElement* element) const {
  if (element == nullptr) return 0;
  const Font* font = GetGuiResourceCache().GetFont(GetFontIndex(element->font_index));
  return font != nullptr ? font->height() : 0;
}

}  // namespace tr
