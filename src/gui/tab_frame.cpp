#include "gui/tab_frame.h"

#include <algorithm>
#include <new>

#include "gui/dialog.h"
#include "platform/input.h"

namespace tr {
namespace {

constexpr int kHeaderCap = 10;
constexpr int kTitleElement = 13;

}  // namespace

CDXUTTabFrame::CDXUTTabFrame(CDXUTDialog* dialog) : CDXUTControl(dialog) { type_ = kControlTabFrame; }

void CDXUTTabFrame::UpdateRects() {
  CDXUTControl::UpdateRects();
  const int font_height = dialog_ != nullptr ? dialog_->FontHeight(GetElement(kTitleElement)) : 0;
  header_ = {bounding_box_.left, bounding_box_.top, bounding_box_.right,
             bounding_box_.top + std::max(20, font_height + 2 * header_spacing_)};
}

HResult CDXUTTabFrame::AddTab(std::u16string_view title, int data, int first_control_id,
                              int last_control_id) {
  sTabRecord tab;
  try {
    tab.title.assign(title.substr(0, 255));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  Rect measured{0, 0, 0, 0};
  dialog_->CalcTextRect(tab.title, GetElement(kTitleElement), &measured);
  tab.title_width = measured.width();
  tab.data = data;
  tab.first_control_id = first_control_id;
  tab.last_control_id = last_control_id;
  try {
    tabs_.push_back(std::move(tab));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  selected_ = static_cast<int>(tabs_.size()) - 1;
  SelectTab(0, false);
  return S_OK;
}

void CDXUTTabFrame::ShowTabControls(int tab, bool visible) {
  if (tab < 0 || tab >= static_cast<int>(tabs_.size())) return;
  const sTabRecord& record = tabs_[static_cast<std::size_t>(tab)];
  for (int id = record.first_control_id; id <= record.last_control_id; ++id) {
    if (CDXUTControl* control = dialog_->GetControl(id)) control->SetVisible(visible);
  }
}

void CDXUTTabFrame::Select(int index, bool send_event) {
  ShowTabControls(selected_, false);
  selected_ = std::clamp(index, 0, static_cast<int>(tabs_.size()) - 1);
  if (send_event) dialog_->SendEvent(GuiEventTabSelected, true, this);
  // The callback may have removed the tabs.
  if (selected_ >= static_cast<int>(tabs_.size())) selected_ = tabs_.empty() ? -1 : 0;
  ShowTabControls(selected_, true);
}

void CDXUTTabFrame::SelectTab(int index, bool send_event) {
  if (tabs_.empty()) return;
  Select(index, send_event);
}

void CDXUTTabFrame::RemoveAllTabs() {
  tabs_.clear();
  selected_ = -1;
}

bool CDXUTTabFrame::HandleMouse(std::uint32_t msg, int x, int y, WParam, LParam) {
  if (!enabled_ || !visible_) return false;
  if (msg == WM_LBUTTONUP) {
    ReleaseMouseCapture();
    pressed_ = false;
    return false;
  }
  if ((msg != WM_LBUTTONDOWN && msg != WM_LBUTTONDBLCLK) || tabs_.empty() || !header_.Contains(x, y)) {
    return false;
  }
  int left = header_.left;
  for (std::size_t i = 0; i < tabs_.size(); ++i) {
    const int right = left + tabs_[i].title_width + 2 * kHeaderCap;
    if (x >= left && x < right) {
      SetMouseCapture();
      pressed_ = true;
      Select(static_cast<int>(i), true);
      return true;
    }
    left = right;
  }
  return true;
}

void CDXUTTabFrame::Render(float elapsed) {
  if (!visible_) return;
  for (sSkinElement& element : elements_) element.texture_color.Blend(kStateNormal, elapsed, 0.7f);
  for (int k = 9; k < 15 && k < GetElementCount(); ++k) {
    elements_[static_cast<std::size_t>(k)].font_color.Blend(kStateNormal, elapsed, 0.7f);
  }
  // Border cells are in row order: top-left, top, top-right, left, centre, right, bottom-left, ...
  const Rect area{bounding_box_.left, header_.bottom, bounding_box_.right, bounding_box_.bottom};
  const int xs[4] = {area.left, area.left + 10, area.right - 10, area.right};
  const int ys[4] = {area.top, area.top + 10, area.bottom - 10, area.bottom};
  for (int k = 0; k < 9; ++k) {
    const int c = k % 3;
    const int r = k / 3;
    dialog_->DrawSprite(GetElement(k), {xs[c], ys[r], xs[c + 1], ys[r + 1]}, 0.2f);
  }
  int left = header_.left;
  for (std::size_t i = 0; i < tabs_.size() && left < header_.right; ++i) {
    const bool selected = static_cast<int>(i) == selected_;
    const int first = selected ? 12 : 9;
    const int width = tabs_[i].title_width;
    const Rect middle{left + kHeaderCap, header_.top, left + kHeaderCap + width, header_.bottom};
    dialog_->DrawSprite(GetElement(first), {left, header_.top, middle.left, header_.bottom}, 0.2f);
    dialog_->DrawSprite(GetElement(first + 1), middle, 0.2f);
    dialog_->DrawSprite(GetElement(first + 2), {middle.right, header_.top, middle.right + kHeaderCap, header_.bottom},
                        0.2f);
    dialog_->DrawText(tabs_[i].title, GetElement(first + 1), middle, false);
    left = middle.right + kHeaderCap;
  }
}

}  // namespace tr
