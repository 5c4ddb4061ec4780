// The dialog's adders: each makes a control, gives it the dialog's default
// elements, appends it and places it, by coordinates or from the layout table.
#include <mutex>
#include <new>
#include <set>

#include "foundation/console_log.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/dialog.h"
#include "gui/frame.h"
#include "gui/icon.h"
#include "gui/image.h"
#include "gui/layout_access.h"
#include "gui/progress_bar.h"
#include "gui/static.h"
#include "gui/tab_frame.h"

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

HResult CDXUTDialog::GetLayoutRect(int id, Rect* xywh) {
  LayoutEntry e;
  if (!ReadLayoutEntry(id, &e)) {
    LogFormat(u"GUI layout: control id %i is outside the layout table (0-%i)", id, kLayoutEntryCount - 1);
    return E_INVALIDARG;
  }
  *xywh = {e.x, e.y, e.width, e.height};
  if (e.IsUnset()) {
    static std::mutex mutex;
    static std::set<int> warned;
    const std::lock_guard<std::mutex> lock(mutex);
    if (warned.insert(id).second) LogFormat(u"GUI layout: entry %i is not set in the layout file", id);
  }
  return S_OK;
}

HResult CDXUTDialog::InitControl(CDXUTControl* control) {
  if (control == nullptr) return E_INVALIDARG;
  control->SetIndex(static_cast<int>(controls_.size()));
  for (const sDefaultElement& d : default_elements_) {
    if (d.control_type != control->GetType()) continue;
    const HResult hr = control->SetElement(d.element_index, &d.element);
    if (Failed(hr)) return hr;
  }
  return control->OnInit();
}

HResult CDXUTDialog::AddControl(std::unique_ptr<CDXUTControl> control) {
  if (!control) return E_OUTOFMEMORY;
  const HResult hr = InitControl(control.get());
  if (Failed(hr)) return hr;
  try {
    controls_.push_back(std::move(control));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HResult CDXUTDialog::AddStatic(int id, std::u16string_view text, int x, int y, int w, int h,
                               bool is_default, CDXUTStatic** created) {
  CDXUTStatic* control = nullptr;
  const HResult hr = AddNew(Make<CDXUTStatic>(this), &control);
  if (Failed(hr)) return hr;
  control->SetID(id);
  control->SetText(text);
  Place(control, x, y, w, h);
  control->SetIsDefault(is_default);
  // Statics are text until enabled: only then do they catch the mouse and show a hint.
  control->SetEnabled(false);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddStaticAt(int id, std::u16string_view text, CDXUTStatic** created) {
  Rect r;
  const HResult hr = GetLayoutRect(id, &r);
  if (Failed(hr)) return hr;
  return AddStatic(id, text, r.left, r.top, r.right, r.bottom, false, created);
}

HResult CDXUTDialog::AddButton(int id, std::u16string_view text, int x, int y, int w, int h,
                               int hotkey, bool is_default, CDXUTButton** created) {
  CDXUTButton* control = nullptr;
  const HResult hr = AddNew(Make<CDXUTButton>(this), &control);
  if (Failed(hr)) return hr;
  control->SetID(id);
  control->SetText(text);
  Place(control, x, y, w, h);
  control->SetHotkey(hotkey);
  control->SetIsDefault(is_default);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddButtonAt(int id, std::u16string_view text, std::u16string_view hint,
                                 int hotkey, CDXUTButton** created) {
  Rect r;
  HResult hr = GetLayoutRect(id, &r);
  if (Failed(hr)) return hr;
  CDXUTButton* control = nullptr;
  hr = AddButton(id, text, r.left, r.top, r.right, r.bottom, hotkey, false, &control);
  if (Failed(hr)) return hr;
  control->SetHint(hint);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddIcon(int id, const Rect& skin, int x, int y, int w, int h, int hotkey,
                             bool is_default, CDXUTIcon** created) {
  CDXUTIcon* control = nullptr;
  const HResult hr = AddNew(Make<CDXUTIcon>(this), &control);
  if (Failed(hr)) return hr;
  control->SetID(id);
  control->SetSkinRects(skin);
  Place(control, x, y, w, h);
  control->SetHotkey(hotkey);
  control->SetIsDefault(is_default);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddImage(int id, Texture* texture, const Rect& source, int x, int y, int w,
                              int h, int hotkey, bool is_default, CDXUTImage** created) {
  CDXUTImage* control = nullptr;
  const HResult hr = AddNew(Make<CDXUTImage>(this), &control);
  if (Failed(hr)) return hr;
  control->SetID(id);
  control->SetTexture(texture);
  control->SetSourceRect(source);
  Place(control, x, y, w, h);
  control->SetHotkey(hotkey);
  control->SetIsDefault(is_default);
  control->SetEnabled(false);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddImageAt(int id, Texture* texture, const Rect& source,
                                std::u16string_view hint, std::uint32_t color,
                                CDXUTImage** created) {
  Rect r;
  HResult hr = GetLayoutRect(id, &r);
  if (Failed(hr)) return hr;
  CDXUTImage* control = nullptr;
  hr = AddImage(id, texture, source, r.left, r.top, r.right, r.bottom, 0, false, &control);
  if (Failed(hr)) return hr;
  control->SetHint(hint);
  control->SetColor(color);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddCheckBox(int id, std::u16string_view text, int x, int y, int w, int h,
                                 bool checked, int hotkey, bool is_default,
                                 CDXUTCheckBox** created) {
  CDXUTCheckBox* control = nullptr;
  const HResult hr = AddNew(Make<CDXUTCheckBox>(this), &control);
  if (Failed(hr)) return hr;
  control->SetID(id);
  control->SetText(text);
  Place(control, x, y, w, h);
  control->SetHotkey(hotkey);
  control->SetIsDefault(is_default);
  control->SetCheckedState(checked, false, true);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddCheckBoxAt(int id, std::u16string_view text, std::u16string_view hint,
                                   bool checked, CDXUTCheckBox** created) {
  Rect r;
  HResult hr = GetLayoutRect(id, &r);
  if (Failed(hr)) return hr;
  CDXUTCheckBox* control = nullptr;
  hr = AddCheckBox(id, text, r.left, r.top, r.right, r.bottom, checked, 0, false, &control);
  if (Failed(hr)) return hr;
  control->SetHint(hint);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddRadioButton(int id, int group, std::u16string_view text, int x, int y,
                                    int w, int h, bool checked, int hotkey, bool is_default,
                                    CDXUTRadioButton** created) {
  CDXUTRadioButton* control = nullptr;
  const HResult hr = AddNew(Make<CDXUTRadioButton>(this), &control);
  if (Failed(hr)) return hr;
  control->SetID(id);
  control->SetText(text);
  control->SetButtonGroup(group);
  Place(control, x, y, w, h);
  control->SetHotkey(hotkey);
  control->SetIsDefault(is_default);
  control->SetCheckedState(checked, true, false, true);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddRadioButtonAt(int id, int group, std::u16string_view text,
                                      std::u16string_view hint, bool checked,
                                      CDXUTRadioButton** created) {
  Rect r;
  HResult hr = GetLayoutRect(id, &r);
  if (Failed(hr)) return hr;
  CDXUTRadioButton* control = nullptr;
  hr = AddRadioButton(id, group, text, r.left, r.top, r.right, r.bottom, checked, 0, false, &control);
  if (Failed(hr)) return hr;
  control->SetHint(hint);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddFrame(int id, int x, int y, int w, int h, int style, CDXUTFrame** created) {
  if (style < 0 || style > 2) {
    LogFormat(u"GUI: frame %i has style %i; styles are 0 to 2", id, style);
    return E_INVALIDARG;
  }
  CDXUTFrame* control = nullptr;
  const HResult hr = AddNew(Make<CDXUTFrame>(this), &control);
  if (Failed(hr)) return hr;
  control->SetID(id);
  control->SetStyle(style);
  Place(control, x, y, w, h);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddTabFrameAt(int id, CDXUTTabFrame** created) {
  Rect r;
  HResult hr = GetLayoutRect(id, &r);
  if (Failed(hr)) return hr;
  CDXUTTabFrame* control = nullptr;
  hr = AddNew(Make<CDXUTTabFrame>(this), &control);
  if (Failed(hr)) return hr;
  control->SetID(id);
  Place(control, r.left, r.top, r.right, r.bottom);
  if (created != nullptr) *created = control;
  return S_OK;
}

HResult CDXUTDialog::AddProgressBarAt(int id, int minimum, int maximum, int value,
                                      CDXUTProgressBar** created) {
  Rect r;
  HResult hr = GetLayoutRect(id, &r);
  if (Failed(hr)) return hr;
  CDXUTProgressBar* control = nullptr;
  hr = AddNew(Make<CDXUTProgressBar>(this), &control);
  if (Failed(hr)) return hr;
  control->SetID(id);
  Place(control, r.left, r.top, r.right, r.bottom);
  control->SetRange(minimum, maximum);
  control->SetValue(value);
  if (created != nullptr) *created = control;
  return S_OK;
}

}  // namespace tr
