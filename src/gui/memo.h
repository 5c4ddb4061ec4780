// CDXUTMemo: a read-only, word-wrapped, multi-line text in a nine-piece frame,
// scrolled by whole lines with an embedded scroll bar.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gui/control.h"
#include "gui/edit_text_buffer.h"
#include "gui/scroll_bar.h"

namespace tr {

class CDXUTMemo : public CDXUTControl {
 public:
  explicit CDXUTMemo(CDXUTDialog* dialog = nullptr);
  ~CDXUTMemo() override;

  HResult OnInit() override;
  void Render(float elapsed) override;
  bool HandleKeyboard(std::uint32_t msg, WParam wparam, LParam lparam) override;
  bool HandleMouse(std::uint32_t msg, int x, int y, WParam wparam, LParam lparam) override;
  bool CanHaveFocus() override { return visible_ && enabled_; }
  void UpdateRects() override;

  // Replaces the text; the scroll position stays within the new range.
  void SetText(std::u16string_view text);
  const std::u16string& GetText() const { return buffer_.GetText(); }
  // Brings the last line to the bottom of the page.
  void ScrollToEnd();

  CDXUTScrollBar& ScrollBar() { return scroll_bar_; }
  const Rect& GetTextRect() const { return text_rect_; }
  int GetLineHeight() const { return line_height_; }
  void SetTextFormat(std::uint32_t format) { text_format_ = format; }

 private:
  void UpdateScrollRange();

  cEditTextBuffer buffer_;
  int border_ = 5;
  Rect draw_rect_;
  Rect text_rect_;
  Rect pieces_[9];
  int line_height_ = 0;
  std::uint32_t text_format_ = DT_WORDBREAK;
  CDXUTScrollBar scroll_bar_;
  int scroll_bar_width_ = 16;
};

}  // namespace tr
