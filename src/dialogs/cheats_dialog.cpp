#include "dialogs/cheats_dialog.h"

#include <limits>
#include <string>

#include "app/modal_stack.h"
#include "dialogs/panel_informacyjny.h"
#include "dialogs/small_dialog_parts.h"
#include "events/zdarzenia.h"
#include "foundation/format.h"
#include "foundation/number_text.h"
#include "foundation/text.h"
#include "gui/check_box.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "scenario/report_kinds.h"
#include "world/gra.h"
#include "world/panstwo.h"

namespace tr {

std::int32_t CheatEventId = 1000;

namespace {

constexpr int kControlGroup = 1;

// The production points as a whole number within 32 bits.
std::int32_t WholePoints(double points) {
  if (!(points == points)) return 0;
  if (points >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (points <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(points);
}

}  // namespace

cDialogCheatow::cDialogCheatow() : cDialog(kDialogId, DialogRecord(kDialogId)) {
  AddButtonAt(kCloseButton, u"Close", u"Close this dialog");
  AddButtonAt(kFireButton, u"Fire", u"Fire event with given ID");
  CDXUTListBox* list = nullptr;
  AddListBoxAt(kCountryList, 0, &list);
  AddEditBoxAt(kProductionEdit, u"", u"Production points");
  AddEditBoxAt(kDiplomacyEdit, u"", u"Diplomacy points");
  AddEditBoxAt(kEventEdit, u"", u"Event ID to fire");
  AddRadioButtonAt(kComputerRadio, kControlGroup, u"AI", u"AI controlled", true);
  AddRadioButtonAt(kHumanRadio, kControlGroup, u"Human", u"Human controlled");

  if (gGame != nullptr && list != nullptr) {
    country_ = gGame->playerControl.currentCountry;
    for (std::size_t i = 0; i < gGame->countries.size(); ++i) {
      const cCountry& c = *gGame->countries[i];
      if (c.isActive == 0 || c.politicalStrength < 0) continue;
      list->AddItem(c.name, static_cast<std::uint32_t>(i));
      if (&c == country_) list->SelectItem(list->GetSize() - 1, false);
    }
  }
  Refresh();
}

void cDialogCheatow::Refresh() {
  auto setText = [this](int id, std::int64_t value) {
    if (auto* edit = static_cast<CDXUTEditBox*>(GetControlOfType(id, kControlEditBox))) {
      edit->SetText(Format(u"%d", value));
    }
  };
  if (country_ != nullptr) {
    if (auto* human = static_cast<CDXUTRadioButton*>(GetControlOfType(kHumanRadio, kControlRadioButton))) {
      // Checking one radio of the group unchecks the other; unchecking needs the other checked.
      if (country_->humanControlled != 0) {
        human->SetCheckedState(true, false, false);
      } else if (auto* computer =
                     static_cast<CDXUTRadioButton*>(GetControlOfType(kComputerRadio, kControlRadioButton))) {
        computer->SetCheckedState(true, false, false);
      }
    }
    setText(kProductionEdit, WholePoints(country_->productionPoints));
    setText(kDiplomacyEdit, country_->diplomaticPoints);
  }
  setText(kEventEdit, CheatEventId);
}

void cDialogCheatow::ReportCheat(std::u16string_view text) {
  if (gGame == nullptr) return;
  const int count = static_cast<int>(gGame->countries.size());
  for (int country = 1; country <= count; ++country) {
    gGame->reports.Add(kReportCheating, country, std::u16string(text));
  }
}

void cDialogCheatow::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  auto editText = [this](int id) {
    auto* edit = static_cast<CDXUTEditBox*>(GetControlOfType(id, kControlEditBox));
    return edit != nullptr ? edit->GetText() : std::u16string();
  };
  switch (controlId) {
    case kCountryList: {
      auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kCountryList, kControlListBox));
      const int row = list != nullptr ? list->GetSelectedIndex() : -1;
      if (row < 0 || gGame == nullptr) return;
      const std::uint32_t index = list->GetItem(row)->data;
      if (index < gGame->countries.size()) country_ = gGame->countries[index].get();
      Refresh();
      return;
    }
    case kComputerRadio:
    case kHumanRadio:
      if (country_ == nullptr) return;
      ReportCheat(Format(controlId == kHumanRadio ? u"%s controller changed to Human" : u"%s controller changed to AI",
                         country_->name));
      country_->humanControlled = controlId == kHumanRadio ? 1 : 0;
      return;
    case kProductionEdit:
    case kDiplomacyEdit: {
      if (country_ == nullptr) return;
      const bool production = controlId == kProductionEdit;
      const std::int32_t typed = ParseLeadingInt(editText(controlId));
      const std::int32_t old = production ? WholePoints(country_->productionPoints) : country_->diplomaticPoints;
      // In 64 bits: the difference of two 32-bit numbers may not fit in one.
      const std::int64_t added = static_cast<std::int64_t>(typed) - old;
      // The formatter's %d is 32 bits wide, as it always was; the sum goes in as text.
      ReportCheat(Format(production ? u"%s PP changed from %d to %d (%s added)" : u"%s DP changed from %d to %d (%s added)",
                         country_->name, old, typed, Utf8ToUtf16(std::to_string(added))));
      if (production) {
        country_->productionPoints = typed;
      } else {
        country_->diplomaticPoints = typed;
      }
      if (cInfoPanel* info = GetInfoPanel()) info->Update();
      return;
    }
    case kEventEdit:
      CheatEventId = ParseLeadingInt(editText(kEventEdit));
      return;
    case kFireButton:
      if (gGame != nullptr && gGame->events) gGame->events->ForceFireEvent(CheatEventId);
      ReportCheat(Format(u"Fired event %d", CheatEventId));
      return;
    case kCloseButton:
      PopModalDialogs(1);
      return;
    default:
      return;
  }
}

}  // namespace tr
