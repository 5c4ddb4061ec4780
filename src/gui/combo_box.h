// CDXUTComboBox: a drop-down choice. The box shows the selected item's text;
// a press opens a list of the items below it, with an embedded scroll bar.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/button.h"
#include "gui/scroll_bar.h"

namespace tr {

struct sComboBoxItem {
  std::u16string text;  // at most 255 units
  std::uint32_t data = 0;
  Rect active;          // the item's row in the open list at the last render
  bool visible = false; // the item had a row at the last render
};

class CDXUTComboBox : public CDXUTButton {
 public:
  explicit CDXUTComboBox(CDXUTDialog* dialog = nullptr);
  ~CDXUTComboBox() override;

  HResult OnInit() override;
  void Render(float elapsed) override;
  bool HandleKeyboard(std::uint32_t msg, WParam wparam, LParam lparam) override;
  bool HandleMouse(std::uint32_t msg, int x, int y, WParam wparam, LParam lparam) override;
  bool CanHaveFocus() override { return visible_ && enabled_; }
  void OnFocusOut() override;
  void OnHotkey() override;
  void SetTextColor(std::uint32_t color) override;
  void UpdateRects() override;

  // The first item added becomes selected (a non-user 0x201).
  HResult AddItem(std::u16string_view text, std::uint32_t data);
  void RemoveAllItems();
  // Exact, case-sensitive match from start on; -1 when none.
  int FindItem(std::u16string_view text, int start = 0) const;
  bool ContainsItem(std::u16string_view text, int start = 0) const { return FindItem(text, start) != -1; }
  std::uint32_t GetSelectedData() const;
  sComboBoxItem* GetSelectedItem();
  sComboBoxItem* GetItem(int index);
  int GetNumItems() const { return static_cast<int>(items_.size()); }
  int GetSelectedIndex() const { return selected_; }
  int GetFocusedIndex() const { return focused_; }
  HResult SetSelectedByIndex(int index);
  HResult SetSelectedByData(std::uint32_t data);
  void SetDropHeight(int height) { drop_height_ = height; UpdateRects(); }
  void SetScrollBarWidth(int width) { scroll_bar_width_ = width; UpdateRects(); }

  bool IsOpened() const { return opened_; }
  const Rect& GetTextRect() const { return text_rect_; }
  const Rect& GetDropdownRect() const { return dropdown_rect_; }
  const Rect& GetDropdownTextRect() const { return dropdown_text_rect_; }
  CDXUTScrollBar& ScrollBar() { return scroll_bar_; }

 private:
  void SelectAndNotify(int index, bool by_user);
  void CloseAndReport();
  void LayoutRows();
  void RenderList(float elapsed);

  int selected_ = -1;
  int focused_ = -1;
  int drop_height_ = 100;
  CDXUTScrollBar scroll_bar_;
  int scroll_bar_width_ = 25;
  bool opened_ = false;
  Rect text_rect_;
  Rect button_rect_;
  Rect dropdown_rect_;
  Rect dropdown_text_rect_;
  std::vector<std::unique_ptr<sComboBoxItem>> items_;
  // Set once a font has given the drop-down its height in rows.
  bool page_size_set_ = false;
};

}  // namespace tr
