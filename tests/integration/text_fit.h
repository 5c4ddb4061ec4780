// Every text a dialog shows, measured with the font its control draws it in
// against the rectangle the control draws it into: labels, buttons, check
// boxes, the items of combo boxes, and the column titles and cells of list
// boxes. Each text that does not fit is named with its dialog and control.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "foundation/text.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/combo_box.h"
#include "gui/dialog.h"
#include "gui/list_box.h"
#include "gui/resource_cache.h"
#include "gui/static.h"
#include "gui/tab_frame.h"
#include "platform/codes.h"
#include "platform/font.h"

namespace tr::test {

inline const Font* ElementFont(const CDXUTDialog& dialog, const sSkinElement* element) {
  if (element == nullptr) return nullptr;
  return GetGuiResourceCache().GetFont(dialog.GetFontIndex(element->font_index));
}

// Whether the text, drawn with the format, stays inside the rectangle: one
// line must not be wider, word-wrapped text not taller.
inline bool TextFits(const Font& font, std::u16string_view text, const Rect& rect, std::uint32_t format) {
  if (text.empty()) return true;
  if ((format & DT_WORDBREAK) != 0) {
    Rect measured{0, 0, rect.width(), 0};
    font.Measure(text, -1, &measured, DT_WORDBREAK | DT_CALCRECT);
    return measured.height() <= rect.height() && measured.width() <= rect.width();
  }
  Rect measured{0, 0, 0, 0};
  font.Measure(text, -1, &measured, DT_CALCRECT);
  return measured.width() <= rect.width();
}

class TextFitChecker {
 public:
  // The visible controls of the dialog as they stand.
  void Check(CDXUTDialog& dialog, const std::string& name) {
    for (const auto& owned : dialog.Controls()) {
      CDXUTControl& control = *owned;
      if (!control.GetVisible()) continue;
      const std::string where = name + " control " + std::to_string(control.GetID());
      switch (control.GetType()) {
        case kControlStatic: {
          auto& label = static_cast<CDXUTStatic&>(control);
          Expect(dialog, where, label.GetText(), control.GetElement(control.GetTextElement()),
                 control.GetBoundingBox(), label.GetTextFormat());
          break;
        }
        case kControlButton: {
          auto& button = static_cast<CDXUTButton&>(control);
          // The label is drawn with the middle slice, the right cap on a narrow button.
          const Rect box = control.GetBoundingBox();
          const sSkinElement* label = control.GetElement(box.width() >= 10 ? 1 : 2);
          Expect(dialog, where, button.GetText(), label, box, label != nullptr ? label->text_format : 0);
          break;
        }
        case kControlCheckBox:
        case kControlRadioButton: {
          auto& box = static_cast<CDXUTCheckBox&>(control);
          const sSkinElement* element = control.GetElement(0);
          Expect(dialog, where, box.GetText(), element, box.GetTextRect(), element != nullptr ? element->text_format : 0);
          break;
        }
        case kControlComboBox: {
          auto& combo = static_cast<CDXUTComboBox&>(control);
          for (int i = 0; i < combo.GetNumItems(); ++i) {
            Expect(dialog, where + " item " + std::to_string(i), combo.GetItem(i)->text, control.GetElement(1),
                   combo.GetTextRect(), DT_VCENTER);
          }
          break;
        }
        case kControlListBox:
          CheckList(dialog, where, static_cast<CDXUTListBox&>(control));
          break;
        default:
          break;
      }
    }
  }

  // Every tab of every tab frame of the dialog in turn, as a click on its
  // header shows it, then the first tab again.
  void CheckEveryTab(CDXUTDialog& dialog, const std::string& name) {
    std::vector<CDXUTTabFrame*> frames;
    for (const auto& control : dialog.Controls()) {
      if (control->GetType() == kControlTabFrame && control->GetVisible()) {
        frames.push_back(static_cast<CDXUTTabFrame*>(control.get()));
      }
    }
    if (frames.empty()) {
      Check(dialog, name);
      return;
    }
    for (CDXUTTabFrame* frame : frames) {
      const int selected = frame->GetSelectedTab();
      for (int tab = 0; tab < static_cast<int>(frame->Tabs().size()); ++tab) {
        frame->SelectTab(tab, true);
        Check(dialog, name + " tab " + std::to_string(tab));
      }
      frame->SelectTab(selected < 0 ? 0 : selected, true);
    }
  }

  const std::vector<std::string>& clipped() const { return clipped_; }
  int measured() const { return measured_; }

 private:
  void CheckList(CDXUTDialog& dialog, const std::string& where, CDXUTListBox& list) {
    const sSkinElement* element = list.GetElement(9);
    const std::vector<sListColumn>& columns = list.GetColumns();
    const Rect text = list.GetTextRect();
    for (std::size_t c = 0; c < columns.size(); ++c) {
      Expect(dialog, where + " column " + std::to_string(c) + " title", columns[c].title, element,
             {0, 0, columns[c].width, text.height()}, DT_VCENTER);
    }
    for (int row = 0; row < list.GetSize(); ++row) {
      const std::u16string& item = list.GetItem(row)->text;
      if (columns.size() <= 1) {
        Expect(dialog, where + " row " + std::to_string(row), item, element, text, DT_VCENTER);
        continue;
      }
      const std::vector<std::u16string_view> cells = SplitListCells(item);
      for (std::size_t c = 0; c < columns.size() && c < cells.size(); ++c) {
        Expect(dialog, where + " row " + std::to_string(row) + " column " + std::to_string(c), cells[c], element,
               {0, 0, columns[c].width, text.height()}, DT_VCENTER);
      }
    }
  }

  void Expect(const CDXUTDialog& dialog, const std::string& where, std::u16string_view text,
              const sSkinElement* element, const Rect& rect, std::uint32_t format) {
    if (text.empty()) return;
    const Font* font = ElementFont(dialog, element);
    if (font == nullptr) return;
    ++measured_;
    if (TextFits(*font, text, rect, format)) return;
    Rect measured{0, 0, (format & DT_WORDBREAK) != 0 ? rect.width() : 0, 0};
    font->Measure(text, -1, &measured, (format & DT_WORDBREAK) | DT_CALCRECT);
    clipped_.push_back(where + ": \"" + Utf16ToUtf8(std::u16string(text)) + "\" needs " +
                       std::to_string(measured.width()) + "x" + std::to_string(measured.height()) + " in " +
                       std::to_string(rect.width()) + "x" + std::to_string(rect.height()));
  }

  std::vector<std::string> clipped_;
  int measured_ = 0;
};

}  // namespace tr::test
