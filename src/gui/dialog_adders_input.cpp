// The dialog's adders of the input controls: combo box, slider, edit box,
// list box and memo.
#include <new>

#include "gui/combo_box.h"
#include "gui/dialog.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/memo.h"
#include "gui/slider.h"

namespace tr {
namespace {

template <typename T>
std::unique_ptr<T> Make(CDXUTDialog* dialog) {
  return std::unique_ptr<T>(new (std::nothrow) T(dialog));
}

// Position first, then size, as the controls' UpdateRects expect.
void Place(CDXUTControl* control, int x, int y, int w, int h) {
  control->SetLocation(x, y);
  control->SetSize(w, h);
}

}  // namespace

HResult CDXUTDialog::AddComboBox(int id, int x, int y, int w, int h, int hotkey, bool is_default,
                                 CDXUTComboBox** created) {
  CDXUTComboBox* control = nullptr;
  const HResult hr = AddNew(Make<CDXUTComboBox>(this), &control);
  if (Failed(hr)) return hr;
  control->SetID(id);
  Place(control, x, y, w, h);
  control->SetHotkey(hotkey);
  control->SetIsDefault(is_default);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddComboBoxAt(int id, std::u16string_view hint, CDXUTComboBox** created) {
  Rect r;
  HResult hr = GetLayoutRect(id, &r);
  if (Failed(hr)) return hr;
  CDXUTComboBox* control = nullptr;
  hr = AddComboBox(id, r.left, r.top, r.right, r.bottom, 0, false, &control);
  if (Failed(hr)) return hr;
  control->SetHint(hint);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddSlider(int id, int x, int y, int w, int h, int minimum, int maximum, int value,
                               bool is_default, CDXUTSlider** created) {
  CDXUTSlider* control = nullptr;
  const HResult hr = AddNew(Make<CDXUTSlider>(this), &control);
  if (Failed(hr)) return hr;
  control->SetID(id);
  Place(control, x, y, w, h);
  control->SetIsDefault(is_default);
  control->SetRange(minimum, maximum);
  control->SetValueWithEvent(value, false, true);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddSliderAt(int id, int minimum, int maximum, int value, CDXUTSlider** created) {
  Rect r;
  const HResult hr = GetLayoutRect(id, &r);
  if (Failed(hr)) return hr;
  return AddSlider(id, r.left, r.top, r.right, r.bottom, minimum, maximum, value, false, created);
}

HResult CDXUTDialog::AddEditBox(int id, std::u16string_view text, int x, int y, int w, int h, bool is_default,
                                CDXUTEditBox** created) {
  CDXUTEditBox* control = nullptr;
  const HResult hr = AddNew(Make<CDXUTEditBox>(this), &control);
  if (Failed(hr)) return hr;
  control->SetID(id);
  Place(control, x, y, w, h);
  control->SetIsDefault(is_default);
  if (text.data() != nullptr) control->SetText(text);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddEditBoxAt(int id, std::u16string_view text, std::u16string_view hint,
                                  CDXUTEditBox** created) {
  Rect r;
  HResult hr = GetLayoutRect(id, &r);
  if (Failed(hr)) return hr;
  CDXUTEditBox* control = nullptr;
  hr = AddEditBox(id, text, r.left, r.top, r.right, r.bottom, false, &control);
  if (Failed(hr)) return hr;
  control->SetHint(hint);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddListBoxAt(int id, std::uint32_t style, CDXUTListBox** created) {
  Rect r;
  HResult hr = GetLayoutRect(id, &r);
  if (Failed(hr)) return hr;
  CDXUTListBox* control = nullptr;
  hr = AddNew(Make<CDXUTListBox>(this), &control);
  if (Failed(hr)) return hr;
  control->SetID(id);
  Place(control, r.left, r.top, r.right, r.bottom);
  control->SetListStyle(style);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddMemo(int id, std::u16string_view text, int x, int y, int w, int h, bool is_default,
                             CDXUTMemo** created) {
  CDXUTMemo* control = nullptr;
  const HResult hr = AddNew(Make<CDXUTMemo>(this), &control);
  if (Failed(hr)) return hr;
  control->SetID(id);
  Place(control, x, y, w, h);
  control->SetIsDefault(is_default);
  if (text.data() != nullptr) control->SetText(text);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddMemoAt(int id, std::u16string_view text, CDXUTMemo** created) {
  Rect r;
  const HResult hr = GetLayoutRect(id, &r);
  if (Failed(hr)) return hr;
  return AddMemo(id, text, r.left, r.top, r.right, r.bottom, false, created);
}

}  // namespace tr
