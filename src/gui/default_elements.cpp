#include "gui/default_elements.h"

#include "platform/codes.h"

namespace tr {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kFaint = 0x46FFFFFFu;
constexpr std::uint32_t kClear = 0x00FFFFFFu;
constexpr std::int32_t kTextFont = 1;   // layout font 1
constexpr std::int32_t kTitleFont = 3;  // layout font 3

constexpr std::uint32_t kCentred = DT_CENTER | DT_VCENTER;
constexpr std::uint32_t kLabel = DT_VCENTER | DT_NOCLIP;

// Nine-patch cell order used by edit boxes, memos and frames: centre first, then the border clockwise by rows.
constexpr int kCentreFirst[9][2] = {{1, 1}, {0, 0}, {1, 0}, {2, 0}, {0, 1},
                                    {2, 1}, {0, 2}, {1, 2}, {2, 2}};

class TableBuilder {
 public:
  explicit TableBuilder(const DefaultElementFonts& fonts) : fonts_(fonts) {}

  // Adds an element with the common colour rule: normal and pressed text in the
  // first colour, focus and mouse over in the second, greyed when disabled.
  sSkinElement& Add(int type, const Rect& rect, std::uint32_t format) {
    sDefaultElement record;
    record.control_type = type;
    record.element_index = next_index_[type]++;
    sSkinElement& e = record.element;
    e.SetTexture(0, rect);
    e.SetFont(kTextFont, fonts_.text_color, format);
    e.font_color.states[kStateFocus] = fonts_.text_color_alt;
    e.font_color.states[kStateMouseOver] = fonts_.text_color_alt;
    table_.push_back(record);
    return table_.back().element;
  }

  std::vector<sDefaultElement> Take() { return std::move(table_); }

 private:
  const DefaultElementFonts& fonts_;
  int next_index_[16] = {};
  std::vector<sDefaultElement> table_;
};

Rect Cell(int left, int top, int w, int h, int column, int row) {
  return RectFromSize(left + column * w, top + row * h, w, h);
}

void AllStates(sBlendColor& color, std::uint32_t argb, bool keep_hidden = true) {
  const std::uint32_t hidden = color.states[kStateHidden];
  color.states.fill(argb);
  if (keep_hidden) color.states[kStateHidden] = hidden;
}

}  // namespace

std::vector<sDefaultElement> MakeDefaultElements(const DefaultElementFonts& fonts) {
  TableBuilder t(fonts);

  // Button: a three-slice face, then the same pressed.
  for (int left : {136, 141, 146, 152, 157, 162}) {
    sSkinElement& e = t.Add(kControlButton, {left, 1926, left + 5, 1956}, kCentred);
    e.texture_color.states[kStateDisabled] = kWhite;
  }

  // Static: text only; the third element is the title style. A static is
  // disabled only so that it neither catches the mouse nor shows a hint: its
  // text keeps its colour then, where greyed text would be hard to read.
  for (int k = 0; k < 2; ++k) {
    sSkinElement& e = t.Add(kControlStatic, {}, kCentred);
    e.font_color.states[kStateDisabled] = fonts.text_color;
  }
  {
    sSkinElement& e = t.Add(kControlStatic, {}, kCentred);
    e.SetFont(kTitleFont, fonts.title_color, kCentred);
    e.font_color.states[kStateFocus] = fonts.title_color_alt;
    e.font_color.states[kStateMouseOver] = fonts.title_color_alt;
    e.font_color.states[kStateDisabled] = fonts.title_color;
  }

  // Check box and radio button: unchecked and checked boxes; the label keeps one colour.
  for (int type : {kControlCheckBox, kControlRadioButton}) {
    const int top = type == kControlCheckBox ? 1921 : 1947;
    for (int left : {290, 316}) {
      sSkinElement& e = t.Add(type, {left, top, left + 25, top + 25}, kLabel);
      AllStates(e.font_color, fonts.text_color);
    }
  }

  // Combo box: the box, its button, the selection band and the drop-down frame.
  for (const Rect& r : {Rect{199, 1926, 229, 1956}, Rect{259, 1926, 289, 1956},
                           Rect{229, 1926, 259, 1956}}) {
    t.Add(kControlComboBox, r, kCentred).texture_color.states[kStateDisabled] = kFaint;
  }
  {
    sSkinElement& e = t.Add(kControlComboBox, {212, 2033, 287, 2045}, DT_NOCLIP);
    e.texture_color.states[kStateDisabled] = kFaint;
    e.font_color.states[kStateNormal] = fonts.text_color_alt;
  }
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      sSkinElement& e = t.Add(kControlComboBox, Cell(212, 1957, 25, 25, column, row), DT_NOCLIP);
      if (row < 2 || column < 2) e.font_color.states[kStateNormal] = fonts.text_color_alt;
    }
  }

  // Slider: track caps and middle, then the thumb and the pressed thumb.
  for (int left : {136, 146, 156, 167, 178}) {
    sSkinElement& e = t.Add(kControlSlider, {left, 1900, left + 10, 1925}, DT_NOCLIP);
    if (left < 167) e.texture_color.states[kStateDisabled] = kFaint;
  }

  // Edit box and memo share one nine-patch.
  for (int type : {kControlEditBox, kControlMemo}) {
    for (const auto& c : kCentreFirst) t.Add(type, Cell(168, 1926, 10, 10, c[0], c[1]), kCentred);
  }

  // The reserved type: a frame of 6-pixel sides and 8-pixel top and bottom, and a panel.
  {
    const int xs[4] = {8, 14, 241, 247};
    const int ys[4] = {82, 90, 113, 121};
    for (const auto& c : kCentreFirst) {
      t.Add(kControlTextEdit, {xs[c[0]], ys[c[1]], xs[c[0] + 1], ys[c[1] + 1]}, 0);
    }
    t.Add(kControlTextEdit, {0, 0, 136, 54}, kCentred);
  }

  // List box: frame cells in row order, the column divider, the selection and hover bands.
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      t.Add(kControlListBox, Cell(350, 1936, 25, 25, column, row),
            row * 3 + column < 8 ? kCentred : 0);
    }
  }
  for (int row = 0; row < 3; ++row) t.Add(kControlListBox, Cell(425, 1936, 25, 25, 0, row), 0);
  t.Add(kControlListBox, {350, 2011, 375, 2036}, 0);
  t.Add(kControlListBox, {375, 2011, 400, 2036}, 0);

  // Scroll bar: up arrow, track, down arrow, thumb.
  for (const Rect& r : {Rect{290, 1973, 315, 1998}, Rect{290, 1998, 315, 2023},
                           Rect{290, 2023, 315, 2048}}) {
    t.Add(kControlScrollBar, r, DT_NOCLIP).texture_color.states[kStateDisabled] = kClear;
  }
  t.Add(kControlScrollBar, {316, 1973, 341, 2048}, DT_NOCLIP);

  // Frame: nine cells per style.
  for (const FrameStyle& s : kFrameStyles) {
    for (const auto& c : kCentreFirst) {
      t.Add(kControlFrame, Cell(s.left, s.top, s.cell_width, s.cell_height, c[0], c[1]), kCentred);
    }
  }

  // Tab frame: border cells in row order, then the header slices, plain and selected.
  for (int k = 0; k < 9; ++k) {
    t.Add(kControlTabFrame, Cell(kSmallBoxLeft, kSmallBoxTop, 10, 10, k % 3, k / 3),
          k < 8 ? kCentred : DT_VCENTER);
  }
  for (int left : {65, 75, 85, 95, 105, 115}) {
    sSkinElement& e = t.Add(kControlTabFrame, {left, 1885, left + 10, 1905}, DT_VCENTER);
    if (left >= 95) e.font_color.states[kStateNormal] = fonts.text_color_alt;
  }

  // Progress bar: the empty track, then the filled one.
  for (int top : {1885, 1910}) {
    for (int left : {350, 355, 360}) {
      t.Add(kControlProgressBar, {left, top, left + 5, top + 25}, DT_NOCLIP)
          .texture_color.states[kStateDisabled] = kFaint;
    }
  }
  return t.Take();
}

sSkinElement MakeCaptionElement() {
  sSkinElement e;
  e.SetTexture(0, {17, 269, 241, 287}, kWhite);
  e.SetFont(kTextFont, kWhite, DT_VCENTER | DT_NOCLIP);
  e.texture_color.Blend(kStateNormal, 0.0f, 0.0f);
  e.font_color.Blend(kStateNormal, 0.0f, 0.0f);
  return e;
}

}  // namespace tr
