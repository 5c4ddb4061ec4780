// CDXUTTabFrame: a bordered area under a row of tab headers; each tab shows a
// range of the dialog's controls (by control ID) and hides the other tabs'.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gui/control.h"

namespace tr {

struct sTabRecord {
  std::u16string title;   // at most 255 characters
  int title_width = 0;    // measured when the tab is added
  int data = 0;           // the owner's value
  int first_control_id = 0;
  int last_control_id = 0;  // the range is closed
};

class CDXUTTabFrame : public CDXUTControl {
 public:
  explicit CDXUTTabFrame(CDXUTDialog* dialog = nullptr);

  bool HandleMouse(std::uint32_t msg, int x, int y, WParam wparam, LParam lparam) override;
  void UpdateRects() override;
  void Render(float elapsed) override;

  HResult AddTab(std::u16string_view title, int data, int first_control_id, int last_control_id);
  // Clamps the index into the tabs; nothing without tabs.
  void SelectTab(int index, bool send_event);
  int GetSelectedTab() const { return selected_; }
  // The controls keep their visibility.
  void RemoveAllTabs();
  const std::vector<sTabRecord>& Tabs() const { return tabs_; }
  const Rect& GetHeaderRect() const { return header_; }

 private:
  void ShowTabControls(int tab, bool visible);
  void Select(int index, bool send_event);

  Rect header_;
  int header_spacing_ = 5;
  int selected_ = -1;
  bool pressed_ = false;
  std::vector<sTabRecord> tabs_;
};

}  // namespace tr
