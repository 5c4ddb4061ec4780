// The steps the dialog's adders share: make the control, append it to the
// dialog, give it its id and rectangle, and hand back its address. Each adder
// then states only the fields of its own kind.
#pragma once

#include <memory>
#include <new>
#include <string_view>

#include "gui/dialog.h"

namespace tr {

// Makes a T in dialog at xywh (x, y, width, height), lets setup set the fields
// of its kind and stores its address in created. A control that cannot be made
// or initialised is not appended, and its error is returned.
template <typename T, typename Setup>
HResult AddControlOf(CDXUTDialog* dialog, int id, const Rect& xywh, T** created, Setup&& setup) {
  std::unique_ptr<T> owned(new (std::nothrow) T(dialog));
  T* control = owned.get();
  const HResult hr = dialog->AddControl(std::move(owned));
  if (Failed(hr)) return hr;
  control->SetID(id);
  // Position first, then size, as the controls' UpdateRects expect.
  control->SetLocation(xywh.left, xywh.top);
  control->SetSize(xywh.right, xywh.bottom);
  setup(control);
  if (created != nullptr) *created = control;
  return S_OK;
}

// Adds a T through add(rectangle, &control) at the rectangle of id's entry in
// the layout table, then gives it hint.
template <typename T, typename Add>
HResult AddControlAt(int id, std::u16string_view hint, T** created, Add&& add) {
  Rect r;
  HResult hr = CDXUTDialog::GetLayoutRect(id, &r);
  if (Failed(hr)) return hr;
  T* control = nullptr;
  hr = add(r, &control);
  if (Failed(hr)) return hr;
  control->SetHint(hint);
  if (created != nullptr) *created = control;
  return S_OK;
}

}  // namespace tr
