#include "gui/edit_box.h"

#include <algorithm>

#include "gui/dialog.h"
#include "gui/frame.h"
#include "gui/gui_clock.h"
#include "gui/static.h"
#include "platform/input.h"

namespace tr {
namespace {

constexpr int kFrameCell = 10;

// A single line holds no control characters: a pasted line break or tab would
// only show as a gap and confuse what the owner reads back.
std::u16string PrintableOnly(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t ch : text) {
    if (ch >= 32) out.push_back(ch);
  }
  return out;
}

}  // namespace

bool CDXUTEditBox::s_hide_caret = false;
cEditTextBuffer CDXUTEditBox::s_composition;

CDXUTEditBox::CDXUTEditBox(CDXUTDialog* dialog) : CDXUTControl(dialog) {
  type_ = kControlEditBox;
  blink_period_ = GetCaretBlinkTimeMs() / 1000.0;
  last_blink_ = GuiClockSeconds();
  s_hide_caret = false;
}

void CDXUTEditBox::SyncFont() {
  if (const sSkinElement* element = GetElement(0); element != nullptr && dialog_ != nullptr) {
    buffer_.SetFontIndex(dialog_->GetFontIndex(element->font_index));
  }
}

void CDXUTEditBox::UpdateRects() {
  CDXUTControl::UpdateRects();
  NinePatchRects(bounding_box_, kFrameCell, kFrameCell, pieces_);
  text_rect_ = {bounding_box_.left + border_, bounding_box_.top + border_, bounding_box_.right - border_,
                bounding_box_.bottom - border_};
  // The caret geometry needs the font before the first render.
  SyncFont();
}

void CDXUTEditBox::OnFocusIn() {
  CDXUTControl::OnFocusIn();
  ResetCaretBlink();
}

void CDXUTEditBox::ResetCaretBlink() {
  caret_on_ = true;
  last_blink_ = GuiClockSeconds();
}

void CDXUTEditBox::SetText(std::u16string_view text, bool select_all) {
  buffer_.SetText(text);
  if (enabled_) {
    PlaceCaret(buffer_.GetTextSize());
    selection_start_ = select_all ? 0 : caret_;
    return;
  }
  // A disabled box keeps its place, but never beyond the new text.
  caret_ = std::min(caret_, buffer_.GetTextSize());
  selection_start_ = std::min(selection_start_, buffer_.GetTextSize());
  first_visible_ = std::min(first_visible_, buffer_.GetTextSize());
}

void CDXUTEditBox::ClearText() {
  buffer_.Clear();
  // The caret may not point past the empty text.
  caret_ = selection_start_ = first_visible_ = 0;
}

void CDXUTEditBox::PlaceCaret(int position) {
  caret_ = std::clamp(position, 0, buffer_.GetTextSize());
  first_visible_ = std::clamp(first_visible_, 0, buffer_.GetTextSize());
  int x1 = 0;
  int x = 0;
  int x2 = 0;
  buffer_.CPtoX(first_visible_, false, &x1);
  buffer_.CPtoX(caret_, false, &x);
  if (caret_ == buffer_.GetTextSize()) {
    x2 = x;
  } else {
    buffer_.CPtoX(caret_, true, &x2);
  }
  const int width = text_rect_.width();
  if (x < x1) {
    first_visible_ = caret_;
  } else if (x2 > x1 + width) {
    const int new_left = x2 - width;
    int cp = 0;
    bool trailing = false;
    buffer_.XtoCP(new_left, &cp, &trailing);
    int cp_x = 0;
    buffer_.CPtoX(cp, false, &cp_x);
    if (cp_x < new_left) ++cp;
    first_visible_ = std::min(cp, buffer_.GetTextSize());
  }
}

void CDXUTEditBox::DeleteSelectionText() {
  const int first = std::min(caret_, selection_start_);
  const int last = std::max(caret_, selection_start_);
  PlaceCaret(first);
  selection_start_ = caret_;
  for (int i = first; i < last; ++i) buffer_.RemoveChar(first);
}

void CDXUTEditBox::CopyToClipboard() {
  if (!HasSelection()) return;
  const int first = std::min(caret_, selection_start_);
  const int last = std::max(caret_, selection_start_);
  SetClipboardText(std::u16string_view(buffer_.GetText()).substr(first, last - first));
}

bool CDXUTEditBox::PasteFromClipboard() {
  const bool had_selection = HasSelection();
  DeleteSelectionText();
  const std::u16string text = PrintableOnly(GetClipboardText());
  // A refused paste leaves the caret where it was, inside the text.
  const bool inserted = !text.empty() && buffer_.InsertString(caret_, text);
  if (inserted) PlaceCaret(caret_ + static_cast<int>(text.size()));
  selection_start_ = caret_;
  return inserted || had_selection;
}

void CDXUTEditBox::TextChanged() { dialog_->SendEvent(GuiEventEditChanged, true, this); }

void CDXUTEditBox::HandleImeMessage(std::uint32_t msg, WParam, LParam) {
  switch (msg) {
    case WM_IME_STARTCOMPOSITION:
      s_composition.Clear();
      s_hide_caret = true;
      break;
    case WM_IME_COMPOSITION:
      s_composition.SetText(GetCompositionText());
      break;
    case WM_IME_ENDCOMPOSITION:
      // The typed result arrives as characters; the caret shows again.
      s_composition.Clear();
      s_hide_caret = false;
      break;
    default:
      break;
  }
}

HResult AddTextField(CDXUTDialog* dialog, int id, std::u16string_view value, std::u16string_view hint,
                     int label_id, std::u16string_view label) {
  if (dialog == nullptr) return E_INVALIDARG;
  CDXUTEditBox* field = nullptr;
  HResult hr = dialog->AddEditBoxAt(id, value, hint, &field);
  if (Failed(hr)) return hr;
  field->SetBorder(2);
  field->SetDisabledTextFormat(DT_CENTER | DT_VCENTER);
  field->SetEnabled(false);
  CDXUTStatic* caption = nullptr;
  hr = dialog->AddStaticAt(label_id, label, &caption);
  if (Failed(hr)) return hr;
  caption->SetTextColor(0xFFFFFFFFu);
  caption->SetTextFormat(DT_VCENTER);
  return S_OK;
}

}  // namespace tr
