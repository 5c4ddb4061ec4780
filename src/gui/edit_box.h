// CDXUTEditBox: a single-line text entry with caret, selection, insert and
// overwrite modes, word-wise caret moves, clipboard copy, cut and paste,
// horizontal scrolling and a nine-piece frame.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gui/control.h"
#include "gui/edit_text_buffer.h"

namespace tr {

class CDXUTStatic;

class CDXUTEditBox : public CDXUTControl {
 public:
  explicit CDXUTEditBox(CDXUTDialog* dialog = nullptr);

  void Render(float elapsed) override;
  bool MsgProc(std::uint32_t msg, WParam wparam, LParam lparam) override;
  bool HandleKeyboard(std::uint32_t msg, WParam wparam, LParam lparam) override;
  bool HandleMouse(std::uint32_t msg, int x, int y, WParam wparam, LParam lparam) override;
  bool CanHaveFocus() override { return visible_ && enabled_; }
  void OnFocusIn() override;
  // The text colours come from element 0's states; this has no visible effect.
  void SetTextColor(std::uint32_t color) override { text_color_ = color; }
  void UpdateRects() override;

  // A disabled box keeps its caret, selection and first visible character
  // (clamped into the new text).
  void SetText(std::u16string_view text, bool select_all = false);
  void ClearText();
  const std::u16string& GetText() const { return buffer_.GetText(); }
  int GetTextLength() const { return buffer_.GetTextSize(); }
  cEditTextBuffer& Buffer() { return buffer_; }

  void PlaceCaret(int position);
  void DeleteSelectionText();
  void CopyToClipboard();
  // True when text was inserted.
  bool PasteFromClipboard();
  void ResetCaretBlink();

  int GetCaret() const { return caret_; }
  int GetSelectionStart() const { return selection_start_; }
  int GetFirstVisible() const { return first_visible_; }
  bool IsInsertMode() const { return insert_mode_; }
  bool IsCaretOn() const { return caret_on_; }
  const Rect& GetTextRect() const { return text_rect_; }
  void SetBorder(int border) { border_ = border; UpdateRects(); }
  void SetDisabledTextFormat(std::uint32_t format) { disabled_text_format_ = format; }
  void SetSelectedTextColor(std::uint32_t color) { selected_text_color_ = color; }
  void SetSelectedBackColor(std::uint32_t color) { selected_back_color_ = color; }
  void SetCaretColor(std::uint32_t color) { caret_color_ = color; }

  // Input-method messages the window procedure passes to every edit box:
  // composition start hides the caret, its end shows it again.
  static void HandleImeMessage(std::uint32_t msg, WParam wparam, LParam lparam);
  static bool IsCaretHidden() { return s_hide_caret; }
  static const cEditTextBuffer& CompositionText() { return s_composition; }

 private:
  bool HasSelection() const { return caret_ != selection_start_; }
  void TextChanged();
  void InsertTyped(char16_t ch);
  int CaretFromX(int x, bool* ok);
  void SyncFont();

  cEditTextBuffer buffer_;
  int border_ = 5;
  int spacing_ = 4;
  Rect text_rect_;
  Rect pieces_[9];
  double blink_period_ = 0.5;
  double last_blink_ = 0.0;
  bool caret_on_ = true;
  int caret_ = 0;
  bool insert_mode_ = true;
  int selection_start_ = 0;
  int first_visible_ = 0;
  std::uint32_t text_color_ = 0xFF101010u;
  std::uint32_t selected_text_color_ = 0xFFFFFFFFu;
  std::uint32_t selected_back_color_ = 0xFF28325Cu;
  std::uint32_t caret_color_ = 0xFFFFFFFFu;
  std::uint32_t disabled_text_format_ = DT_CENTER | DT_VCENTER;
  bool mouse_drag_ = false;

  static bool s_hide_caret;
  static cEditTextBuffer s_composition;
};

// A read-only, centred value field with a left-aligned white label beside it.
HResult AddTextField(CDXUTDialog* dialog, int id, std::u16string_view value, std::u16string_view hint,
                     int label_id, std::u16string_view label);

}  // namespace tr
