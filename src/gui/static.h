// CDXUTStatic: a line or block of text; a hint source while enabled.
#pragma once

#include <string>
#include <string_view>

#include "gui/control.h"

namespace tr {

class CDXUTStatic : public CDXUTControl {
 public:
  explicit CDXUTStatic(CDXUTDialog* dialog = nullptr);

  void Render(float elapsed) override;
  // A disabled static is invisible to the mouse.
  bool ContainsPoint(int x, int y) override;

  // Keeps at most 259 characters.
  void SetText(std::u16string_view text);
  const std::u16string& GetText() const { return text_; }
  void SetTextFormat(std::uint32_t format) { text_format_ = format; }
  std::uint32_t GetTextFormat() const { return text_format_; }

 protected:
  std::u16string text_;
  std::uint32_t text_format_ = DT_VCENTER | DT_NOCLIP;
};

}  // namespace tr
