// The codes every part of the GUI toolkit shares: control types, the drawing
// states that index the skin colours, and the events a dialog reports.
#pragma once

#include <cstdint>

#include "platform/geometry.h"

namespace tr {

// Control type codes; stored in default-element records, so the values are fixed.
enum eControlType : std::int32_t {
  kControlButton = 0,
  kControlIcon = 1,
  kControlImage = 2,
  kControlStatic = 3,
  kControlCheckBox = 4,
  kControlRadioButton = 5,
  kControlComboBox = 6,
  kControlSlider = 7,
  kControlEditBox = 8,
  kControlMemo = 9,
  kControlTextEdit = 10,  // reserved: an edit box with composition support
  kControlListBox = 11,
  kControlScrollBar = 12,
  kControlFrame = 13,
  kControlTabFrame = 14,
  kControlProgressBar = 15,
};

// Index into the six colours of a blend colour.
enum eControlState : std::int32_t {
  kStateNormal = 0,
  kStateDisabled = 1,
  kStateHidden = 2,
  kStateFocus = 3,
  kStateMouseOver = 4,
  kStatePressed = 5,
  kStateCount = 6,
};

enum eGuiEvent : std::uint32_t {
  GuiEventButtonClicked = 0x101,
  GuiEventComboSelectionChanged = 0x201,
  GuiEventRadioChanged = 0x301,
  GuiEventCheckChanged = 0x401,
  GuiEventSliderChanged = 0x501,
  GuiEventEditEnter = 0x601,
  GuiEventEditChanged = 0x602,
  GuiEventListDoubleClick = 0x701,
  GuiEventListSelection = 0x702,
  GuiEventTabSelected = 0x801,
};

inline Rect OffsetRect(const Rect& r, std::int32_t dx, std::int32_t dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

}  // namespace tr
