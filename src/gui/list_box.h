// CDXUTListBox: a vertical list of text items with an embedded scroll bar,
// single or multiple selection, optional columns with a title row and
// per-column hints, and a highlight of the row under the pointer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/control.h"
#include "gui/scroll_bar.h"

namespace tr {

struct sListBoxItem {
  std::u16string text;  // at most 255 units
  std::uint32_t data = 0;
  bool selected = false;
};

struct sListColumn {
  int width = 0;
  std::u16string title;  // at most 49 units
  std::u16string hint;   // at most 255 units
};

// Style bit: more than one item may be selected.
inline constexpr std::uint32_t kListBoxMultiSelection = 1;

class CDXUTListBox : public CDXUTControl {
 public:
  explicit CDXUTListBox(CDXUTDialog* dialog = nullptr);
  ~CDXUTListBox() override;

  HResult OnInit() override;
  void Render(float elapsed) override;
  bool HandleKeyboard(std::uint32_t msg, WParam wparam, LParam lparam) override;
  bool HandleMouse(std::uint32_t msg, int x, int y, WParam wparam, LParam lparam) override;
  bool CanHaveFocus() override { return visible_ && enabled_; }
  void OnMouseLeave() override;
  void UpdateRects() override;

  // Column titles are the pieces of titles between ';' or '|'; each width is
  // that percentage of the text area. Missing pieces give empty titles (logged).
  void SetColumns(std::u16string_view titles, const std::vector<int>& percents);
  template <typename... Percent>
  void SetColumns(int count, std::u16string_view titles, Percent... percents) {
    std::vector<int> list{static_cast<int>(percents)...};
    list.resize(count < 0 ? 0 : static_cast<std::size_t>(count), 0);
    SetColumns(titles, list);
  }
  // The i-th piece of text becomes the hint of column i.
  void SetColumnHints(std::u16string_view text);
  const std::vector<sListColumn>& GetColumns() const { return columns_; }

  HResult AddItem(std::u16string_view text, std::uint32_t data);
  void RemoveAllItems();
  sListBoxItem* GetItem(int index);
  int GetSize() const { return static_cast<int>(items_.size()); }
  // Single selection: the selected index. Multiple: the next selected index after previous.
  int GetSelectedIndex(int previous = -1) const;
  // Moves the current item (and in multiple selection selects it); a 0x702 with sound when send is set.
  void SelectItem(int index, bool send = true);

  void SetListStyle(std::uint32_t style) { list_style_ = style; }
  std::uint32_t GetListStyle() const { return list_style_; }
  int GetSelectionStart() const { return selection_start_; }
  int GetHoveredRow() const { return hovered_row_; }
  int GetHoveredColumn() const { return hovered_column_; }
  bool IsDragging() const { return dragging_; }
  CDXUTScrollBar& ScrollBar() { return scroll_bar_; }
  const Rect& GetTextRect() const { return text_rect_; }
  const Rect& GetSelectionRect() const { return selection_rect_; }
  const Rect& GetHeaderRect() const { return header_rect_; }
  int GetTextHeight() const { return text_height_; }

 private:
  bool MultiSelection() const { return (list_style_ & kListBoxMultiSelection) != 0; }
  int RowAt(int y) const;
  bool HandlePress(std::uint32_t msg, int x, int y, WParam wparam);
  void HandleDrag(int y);
  void TrackHover(int x, int y);
  // The callback without sound, whatever the non-user-events flag says.
  void NotifySelection();
  void RenderColumns(float elapsed);
  void RenderRow(int index, const Rect& row, bool selected);
  bool ShownSelected(int index) const;

  Rect header_rect_;
  Rect text_rect_;
  Rect selection_rect_;
  int hovered_column_ = -1;
  int hovered_row_ = -1;
  CDXUTScrollBar scroll_bar_;
  int scroll_bar_width_ = 16;
  int border_ = 6;
  int margin_ = 5;
  int text_height_ = 0;
  std::uint32_t list_style_ = 0;
  int selected_ = -1;
  int selection_start_ = 0;
  bool dragging_ = false;
  std::vector<sListColumn> columns_;
  std::vector<std::unique_ptr<sListBoxItem>> items_;

  // Set once a font has given the page its height in rows.
  bool page_size_set_ = false;
};

// Splits at ';' and '|'.
std::vector<std::u16string_view> SplitListCells(std::u16string_view text);

// A text as one cell of a row: the ';' and '|' it holds would start another
// column, so they are shown by characters that look the same (U+037E, U+01C0).
std::u16string ListCellText(std::u16string_view text);

}  // namespace tr
