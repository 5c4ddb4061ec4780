// The dialog's adders: each makes a control, gives it the dialog's default
// elements, appends it and places it, by coordinates or from the layout table.
#include <mutex>
#include <new>
#include <set>

#include "foundation/console_log.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/control_adder.h"
#include "gui/dialog.h"
#include "gui/frame.h"
#include "gui/icon.h"
#include "gui/image.h"
#include "gui/layout_access.h"
#include "gui/progress_bar.h"
#include "gui/static.h"
#include "gui/tab_frame.h"

namespace tr {

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
  return AddControlOf(this, id, {x, y, w, h}, created, [&](CDXUTStatic* control) {
    control->SetText(text);
    control->SetIsDefault(is_default);
    // Statics are text until enabled: only then do they catch the mouse and show a hint.
    control->SetEnabled(false);
  });
}

HResult CDXUTDialog::AddStaticAt(int id, std::u16string_view text, CDXUTStatic** created) {
  return AddControlAt(id, {}, created, [&](const Rect& r, CDXUTStatic** control) {
    return AddStatic(id, text, r.left, r.top, r.right, r.bottom, false, control);
  });
}

HResult CDXUTDialog::AddButton(int id, std::u16string_view text, int x, int y, int w, int h,
                               int hotkey, bool is_default, CDXUTButton** created) {
  return AddControlOf(this, id, {x, y, w, h}, created, [&](CDXUTButton* control) {
    control->SetText(text);
    control->SetHotkey(hotkey);
    control->SetIsDefault(is_default);
  });
}

HResult CDXUTDialog::AddButtonAt(int id, std::u16string_view text, std::u16string_view hint,
                                 int hotkey, CDXUTButton** created) {
  return AddControlAt(id, hint, created, [&](const Rect& r, CDXUTButton** control) {
    return AddButton(id, text, r.left, r.top, r.right, r.bottom, hotkey, false, control);
  });
}

HResult CDXUTDialog::AddIcon(int id, const Rect& skin, int x, int y, int w, int h, int hotkey,
                             bool is_default, CDXUTIcon** created) {
  return AddControlOf(this, id, {x, y, w, h}, created, [&](CDXUTIcon* control) {
    control->SetSkinRects(skin);
    control->SetHotkey(hotkey);
    control->SetIsDefault(is_default);
  });
}

HResult CDXUTDialog::AddImage(int id, Texture* texture, const Rect& source, int x, int y, int w,
                              int h, int hotkey, bool is_default, CDXUTImage** created) {
  return AddControlOf(this, id, {x, y, w, h}, created, [&](CDXUTImage* control) {
    control->SetTexture(texture);
    control->SetSourceRect(source);
    control->SetHotkey(hotkey);
    control->SetIsDefault(is_default);
    control->SetEnabled(false);
  });
}

HResult CDXUTDialog::AddImageAt(int id, Texture* texture, const Rect& source,
                                std::u16string_view hint, std::uint32_t color,
                                CDXUTImage** created) {
  return AddControlAt(id, hint, created, [&](const Rect& r, CDXUTImage** control) {
    const HResult hr = AddImage(id, texture, source, r.left, r.top, r.right, r.bottom, 0, false, control);
    if (Succeeded(hr)) (*control)->SetColor(color);
    return hr;
  });
}

HResult CDXUTDialog::AddCheckBox(int id, std::u16string_view text, int x, int y, int w, int h,
                                 bool checked, int hotkey, bool is_default,
                                 CDXUTCheckBox** created) {
  return AddControlOf(this, id, {x, y, w, h}, created, [&](CDXUTCheckBox* control) {
    control->SetText(text);
    control->SetHotkey(hotkey);
    control->SetIsDefault(is_default);
    control->SetCheckedState(checked, false, true);
  });
}

HResult CDXUTDialog::AddCheckBoxAt(int id, std::u16string_view text, std::u16string_view hint,
                                   bool checked, CDXUTCheckBox** created) {
  return AddControlAt(id, hint, created, [&](const Rect& r, CDXUTCheckBox** control) {
    return AddCheckBox(id, text, r.left, r.top, r.right, r.bottom, checked, 0, false, control);
  });
}

HResult CDXUTDialog::AddRadioButton(int id, int group, std::u16string_view text, int x, int y,
                                    int w, int h, bool checked, int hotkey, bool is_default,
                                    CDXUTRadioButton** created) {
  return AddControlOf(this, id, {x, y, w, h}, created, [&](CDXUTRadioButton* control) {
    control->SetText(text);
    control->SetButtonGroup(group);
    control->SetHotkey(hotkey);
    control->SetIsDefault(is_default);
    control->SetCheckedState(checked, true, false, true);
  });
}

HResult CDXUTDialog::AddRadioButtonAt(int id, int group, std::u16string_view text,
                                      std::u16string_view hint, bool checked,
                                      CDXUTRadioButton** created) {
  return AddControlAt(id, hint, created, [&](const Rect& r, CDXUTRadioButton** control) {
    return AddRadioButton(id, group, text, r.left, r.top, r.right, r.bottom, checked, 0, false,
                          control);
  });
}

HResult CDXUTDialog::AddFrame(int id, int x, int y, int w, int h, int style, CDXUTFrame** created) {
  if (style < 0 || style > 2) {
    LogFormat(u"GUI: frame %i has style %i; styles are 0 to 2", id, style);
    return E_INVALIDARG;
  }
  return AddControlOf(this, id, {x, y, w, h}, created, [&](CDXUTFrame* control) {
    control->SetStyle(style);
    // The frame's pieces follow its style, so they are cut again for this one.
    control->UpdateRects();
  });
}

HResult CDXUTDialog::AddTabFrameAt(int id, CDXUTTabFrame** created) {
  return AddControlAt(id, {}, created, [&](const Rect& r, CDXUTTabFrame** control) {
    return AddControlOf(this, id, r, control, [](CDXUTTabFrame*) {});
  });
}

HResult CDXUTDialog::AddProgressBarAt(int id, int minimum, int maximum, int value,
                                      CDXUTProgressBar** created) {
  return AddControlAt(id, {}, created, [&](const Rect& r, CDXUTProgressBar** control) {
    return AddControlOf(this, id, r, control, [&](CDXUTProgressBar* bar) {
      bar->SetRange(minimum, maximum);
      bar->SetValue(value);
    });
  });
}

}  // namespace tr
