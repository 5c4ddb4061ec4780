#include "dialogs/replacements_dialog.h"

#include <algorithm>
#include <cmath>

#include "dialogs/small_dialog_parts.h"
#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "gui/button.h"
#include "gui/edit_box.h"
#include "gui/slider.h"
#include "gui/static.h"
#include "platform/codes.h"
#include "units/jednostka.h"
#include "units/replacement_price.h"
#include "world/gra.h"
#include "world/hex.h"

namespace tr {
namespace {

constexpr int kKeyM = 77;
constexpr int kTopSupplyLevel = 50;
// A hex of another country lets a unit take this many points at most.
constexpr int kForeignHexCap = 10;

cJednostka* CheckedUnit(cJednostka* unit) {
  LogLine(GetText("constructing_replacements_dialog..."));
  if (unit == nullptr) {
    LogLine(u"Critical error: cannot create replacements dialog - unit is NULL. Exiting.");
    FatalExit(1);
  }
  return unit;
}

bool IsLand(const cJednostka& unit) { return unit.category == kCategoryLand; }

double CurrentPoints() {
  const cCountry* current = gGame != nullptr ? gGame->playerControl.currentCountry : nullptr;
  return current != nullptr ? current->productionPoints : 0.0;
}

}  // namespace

int MinInt(int a, int b) { return a < b ? a : b; }

float ReplacementPrice(const cJednostka& unit) {
  return gGame != nullptr ? ReplacementPrice(unit, gGame->constants) : 0.0f;
}

int ReplacementMaximum(const cJednostka& unit, float price) {
  if (gGame == nullptr) return 0;
  const sScenarioConstants& k = gGame->constants;
  int cap = 0;
  const sHex* hex = gGame->map != nullptr && gGame->map->IsInside(unit.x, unit.y) ? gGame->map->GetHex(unit.x, unit.y)
                                                                                   : nullptr;
  if (hex != nullptr && hex->owner != 0 && hex->owner != unit.owner) {
    cap = kForeignHexCap;
  } else {
    const int level = std::clamp(unit.supply, 0, kTopSupplyLevel);
    cap = IsLand(unit) ? k.SupplyReplacementValueA(level) : k.SupplyReplacementValueB(level);
  }
  int maximum = MinInt(cap, IsLand(unit) ? 100 - unit.GetStrength() : cap - unit.GetStrength());
  // A free point is limited by nothing but the cap and the unit.
  if (price > 0.0f) {
    const double affordable = std::trunc(CurrentPoints() / static_cast<double>(price));
    if (affordable < static_cast<double>(maximum)) maximum = static_cast<int>(affordable);
  }
  return std::max(maximum, 0);
}

cDialogUzupelnien::cDialogUzupelnien(cJednostka* unit)
    : cDialog(kDialogId, DialogRecord(kDialogId)), unit_(CheckedUnit(unit)) {
  price_ = ReplacementPrice(*unit_);
  maximum_ = ReplacementMaximum(*unit_, price_);

  CDXUTStatic* title = nullptr;
  if (Succeeded(AddStaticAt(kTitle, Format(GetText("unit_replacement_title"), unit_->name), &title))) {
    title->SetTextElement(1);
  }
  AddTextField(this, kStrengthAfter, u"-", GetText("unit_replacement_strength_after_hint"), 843,
               GetText("unit_replacement_strength_after"));
  AddTextField(this, kCost, u"-", GetText("unit_replacement_cost_hint"), 845, GetText("unit_replacement_cost"));
  AddTextField(this, kAvailable, u"-", GetText("unit_replacement_pp_available_hint"), 847,
               GetText("unit_replacement_pp_available"));
  AddKeyButton(*this, kMaxButton, "unit_replacement_max");
  AddKeyButton(*this, kOkButton, "unit_replacement_ok");
  AddKeyButton(*this, kCancelButton, "unit_replacement_cancel");
  AddSliderAt(kSlider, 0, maximum_, 0);
  Refresh();
}

void cDialogUzupelnien::Refresh() {
  const auto* slider = static_cast<CDXUTSlider*>(GetControlOfType(kSlider, kControlSlider));
  const int v = slider != nullptr ? slider->GetValue() : 0;
  const auto set = [this](int id, const std::u16string& text) {
    if (auto* field = static_cast<CDXUTEditBox*>(GetControlOfType(id, kControlEditBox))) field->SetText(text);
  };
  if (IsLand(*unit_)) {
    const float base = gGame != nullptr ? gGame->constants.LandBaseValue(unit_->level, unit_->type) : 0.0f;
    const float after = unit_->GetStrengthValue() + base * static_cast<float>(v) / 100.0f;
    set(kStrengthAfter, Format(u"%.2f (%i%%)", static_cast<double>(after), unit_->GetStrength() + v));
  } else {
    set(kStrengthAfter, Format(u"%i", unit_->GetStrength() + v));
  }
  const std::u16string pp = GetText("%.2f_pp");
  set(kCost, Format(pp, static_cast<double>(price_ * static_cast<float>(v))));
  set(kAvailable, Format(pp, CurrentPoints()));
}

void cDialogUzupelnien::OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) {
  auto* slider = static_cast<CDXUTSlider*>(GetControlOfType(kSlider, kControlSlider));
  switch (controlId) {
    case kSlider:
      Refresh();
      return;
    case kMaxButton:
      if (slider != nullptr) slider->SetValueWithEvent(slider->GetMaximum(), false, true);
      Refresh();
      return;
    case kOkButton:
    case kCancelButton: {
      const int v = slider != nullptr ? slider->GetValue() : 0;
      if (controlId == kOkButton && v > 0) {
        unit_->SetActionPoints(0);
        unit_->AddStrength(v);
        unit_->moveRange.clear();
        if (cCountry* current = gGame != nullptr ? gGame->playerControl.currentCountry : nullptr) {
          current->AddProductionPoints(-static_cast<double>(price_ * static_cast<float>(v)));
        }
      }
      cDialog* self = this;
      const std::uint64_t ticket = serial();
      if (owner != nullptr) owner->OnGUIEvent(event, controlId, control);
      CloseAnsweredDialog(self, ticket);
      return;
    }
    default:
      return;
  }
}

void cDialogUzupelnien::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (!down) return;
  if (key == VK_RETURN && GetControlEnabled(kOkButton)) PressButton(*this, kOkButton);
  if (key == VK_ESCAPE) PressButton(*this, kCancelButton);
  if (key == kKeyM && GetControlEnabled(kMaxButton)) PressButton(*this, kMaxButton);
}

}  // namespace tr
