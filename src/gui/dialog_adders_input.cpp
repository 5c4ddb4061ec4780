// The dialog's adders of the input controls: combo box, slider, edit box,
// list box and memo.
#include "gui/combo_box.h"
#include "gui/control_adder.h"
#include "gui/dialog.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/memo.h"
#include "gui/slider.h"

namespace tr {

HResult CDXUTDialog::AddComboBox(int id, int x, int y, int w, int h, int hotkey, bool is_default,
                                 CDXUTComboBox** created) {
  return AddControlOf(this, id, {x, y, w, h}, created, [&](CDXUTComboBox* control) {
    control->SetHotkey(hotkey);
    control->SetIsDefault(is_default);
  });
}

HResult CDXUTDialog::AddComboBoxAt(int id, std::u16string_view hint, CDXUTComboBox** created) {
  return AddControlAt(id, hint, created, [&](const Rect& r, CDXUTComboBox** control) {
    return AddComboBox(id, r.left, r.top, r.right, r.bottom, 0, false, control);
  });
}

HResult CDXUTDialog::AddSlider(int id, int x, int y, int w, int h, int minimum, int maximum, int value,
                               bool is_default, CDXUTSlider** created) {
  return AddControlOf(this, id, {x, y, w, h}, created, [&](CDXUTSlider* control) {
    control->SetIsDefault(is_default);
    control->SetRange(minimum, maximum);
    control->SetValueWithEvent(value, false, true);
  });
}

HResult CDXUTDialog::AddSliderAt(int id, int minimum, int maximum, int value, CDXUTSlider** created) {
  return AddControlAt(id, {}, created, [&](const Rect& r, CDXUTSlider** control) {
    return AddSlider(id, r.left, r.top, r.right, r.bottom, minimum, maximum, value, false, control);
  });
}

HResult CDXUTDialog::AddEditBox(int id, std::u16string_view text, int x, int y, int w, int h, bool is_default,
                                CDXUTEditBox** created) {
  return AddControlOf(this, id, {x, y, w, h}, created, [&](CDXUTEditBox* control) {
    control->SetIsDefault(is_default);
    if (text.data() != nullptr) control->SetText(text);
  });
}

HResult CDXUTDialog::AddEditBoxAt(int id, std::u16string_view text, std::u16string_view hint,
                                  CDXUTEditBox** created) {
  return AddControlAt(id, hint, created, [&](const Rect& r, CDXUTEditBox** control) {
    return AddEditBox(id, text, r.left, r.top, r.right, r.bottom, false, control);
  });
}

HResult CDXUTDialog::AddListBoxAt(int id, std::uint32_t style, CDXUTListBox** created) {
  return AddControlAt(id, {}, created, [&](const Rect& r, CDXUTListBox** control) {
    return AddControlOf(this, id, r, control,
                        [&](CDXUTListBox* list) { list->SetListStyle(style); });
  });
}

HResult CDXUTDialog::AddMemo(int id, std::u16string_view text, int x, int y, int w, int h, bool is_default,
                             CDXUTMemo** created) {
  return AddControlOf(this, id, {x, y, w, h}, created, [&](CDXUTMemo* control) {
    control->SetIsDefault(is_default);
    if (text.data() != nullptr) control->SetText(text);
  });
}

HResult CDXUTDialog::AddMemoAt(int id, std::u16string_view text, CDXUTMemo** created) {
  return AddControlAt(id, {}, created, [&](const Rect& r, CDXUTMemo** control) {
    return AddMemo(id, text, r.left, r.top, r.right, r.bottom, false, control);
  });
}

}  // namespace tr
