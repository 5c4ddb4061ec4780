// cDialogTekstowy: the game's message box. A title, a word-wrapped text and an
// OK button, laid out from five layout records starting at its layout base and
// grown to fit the text; Enter and Escape act as OK.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "dialogs/dialog_base.h"

namespace tr {

// How the message box measures its texts (with layout font 1 unless replaced).
struct sTextMeasurer {
  // The width of the text on one line.
  std::function<int(std::u16string_view text)> lineWidth;
  // The height of the text broken into lines of the width.
  std::function<int(std::u16string_view text, int width)> wrappedHeight;
};
// An empty measurer restores the font's.
void SetMessageBoxMeasurer(sTextMeasurer measurer);

class cDialogTekstowy : public cDialog {
 public:
  static constexpr int kDialogId = 8000;
  static constexpr int kDefaultLayoutBase = 684;

  cDialogTekstowy(std::u16string_view text, std::u16string_view title, int layoutBase = kDefaultLayoutBase);

  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;
  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;

  // Rectangles as (x, y, width, height) in screen pixels.
  const Rect& titleRect() const { return titleRect_; }
  const Rect& textRect() const { return textRect_; }
  const Rect& dialogRect() const { return dialogRect_; }
  int layoutBase() const { return layoutBase_; }
  int okButtonId() const { return layoutBase_ + 4; }

 private:
  Rect titleRect_{};
  Rect textRect_{};
  Rect dialogRect_{};
  int layoutBase_;
};

}  // namespace tr
