#include "dialogs/commander_dialog.h"

#include <algorithm>
#include <vector>

#include "dialogs/small_dialog_parts.h"
#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "gui/button.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "platform/codes.h"
#include "units/unit.h"
#include "world/commander.h"
#include "world/gra.h"

namespace tr {
namespace {

cUnit* CheckedUnit(cUnit* unit) {
  if (unit == nullptr) {
    LogLine(u"Critical error: cannot create commander assignment dialog - unit is NULL. Exiting.");
    FatalExit(1);
  }
  return unit;
}

const char* StateKey(int state) {
  if (state == kCommanderNotAssigned) return "commander_status_in_hq";
  if (state == kCommanderOnHisWay) return "commander_status_heading_to_hq";
  return "commander_status_assigned";
}

void AddListAt(cDialog& dialog, int id, const char* columnsKey) {
  CDXUTListBox* list = nullptr;
  if (Failed(dialog.AddListBoxAt(id, 0, &list))) return;
  list->SetColumns(4, GetText(columnsKey), 40, 10, 13, 37);
}

}  // namespace

bool cDialogDowodcow::CompareRows(const sCommander* a, const sCommander* b) { return a->skill > b->skill; }

cDialogDowodcow::cDialogDowodcow(cUnit* unit)
    : cDialog(kDialogId, DialogRecord(kDialogId)), unit_(CheckedUnit(unit)) {
  AddTextField(this, kCommanderField, u"-", GetText("commander_selected_unit_commander_hint"), kCommanderLabel,
               GetText("commander_selected_unit_commander"));
  CDXUTStatic* title = nullptr;
  if (Succeeded(AddStaticAt(kTitle, GetText("commander_title"), &title))) title->SetTextFormat(DT_CENTER | DT_VCENTER);
  AddKeyButton(*this, kRecallButton, "commander_recall");
  AddStaticAt(kAvailableLabel, GetText("commander_available_commanders"));
  AddListAt(*this, kAvailableList, "commander_list_available_columns");
  AddStaticAt(kUnavailableLabel, GetText("commander_unavailable_commanders"));
  AddListAt(*this, kUnavailableList, "commander_list_unavailable_columns");
  SetControlEnabled(kUnavailableList, false);
  AddKeyButton(*this, kAssignButton, "commander_assign");
  AddKeyButton(*this, kExitButton, "commander_exit");
  ShowAssigned();
}

void cDialogDowodcow::ShowAssigned() {
  const sCommander* commander = unit_->attachedCommander;
  if (auto* field = static_cast<CDXUTEditBox*>(GetControlOfType(kCommanderField, kControlEditBox))) {
    field->SetText(commander != nullptr ? Format(GetText("%s_(%i_/_%i)"), commander->name, commander->skill,
                                                 commander->experience)
                                        : GetText("commander_no_commander_assigned"));
  }
  SetControlEnabled(kRecallButton, commander != nullptr);
  FillAvailable();
  const auto* available = static_cast<CDXUTListBox*>(GetControlOfType(kAvailableList, kControlListBox));
  SetControlEnabled(kAssignButton, available != nullptr && available->GetSize() > 0 && commander == nullptr);
}

void cDialogDowodcow::FillAvailable() {
  auto* available = static_cast<CDXUTListBox*>(GetControlOfType(kAvailableList, kControlListBox));
  auto* others = static_cast<CDXUTListBox*>(GetControlOfType(kUnavailableList, kControlListBox));
  if (available == nullptr || others == nullptr || gGame == nullptr) return;
  const cCountry* current = gGame->playerControl.currentCountry;
  std::vector<std::uint32_t> rows;  // indexes into the game's commanders
  for (std::size_t i = 0; i < gGame->commanders.size(); ++i) {
    const sCommander& commander = *gGame->commanders[i];
    if (current != nullptr && commander.countryId == current->id && commander.type == unit_->category) {
      rows.push_back(static_cast<std::uint32_t>(i));
    }
  }
  std::stable_sort(rows.begin(), rows.end(), [](std::uint32_t a, std::uint32_t b) {
    return CompareRows(gGame->commanders[a].get(), gGame->commanders[b].get());
  });
  available->RemoveAllItems();
  others->RemoveAllItems();
  for (std::uint32_t index : rows) {
    const sCommander& commander = *gGame->commanders[index];
    const std::u16string row = Format(u"%s;%i;%i;%s", commander.name, commander.skill, commander.experience,
                                      GetText(StateKey(commander.state)));
    (commander.state == kCommanderNotAssigned ? available : others)->AddItem(row, index);
  }
  if (available->GetSize() > 0) available->SelectItem(0, true);
}

void cDialogDowodcow::OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) {
  switch (controlId) {
    case kRecallButton:
      if (sCommander* commander = unit_->attachedCommander) {
        commander->state = kCommanderOnHisWay;
        commander->headquarters = nullptr;
      }
      unit_->attachedCommander = nullptr;
      unit_->commanderId = -1;
      unit_->ComputeCombatValue();
      ShowAssigned();
      return;
    case kAssignButton: {
      auto* available = static_cast<CDXUTListBox*>(GetControlOfType(kAvailableList, kControlListBox));
      const sListBoxItem* item = available != nullptr ? available->GetItem(available->GetSelectedIndex()) : nullptr;
      if (item == nullptr || gGame == nullptr || item->data >= gGame->commanders.size()) return;
      sCommander& commander = *gGame->commanders[item->data];
      unit_->attachedCommander = &commander;
      unit_->commanderId = -1;
      commander.headquarters = unit_;
      commander.state = kCommanderAssigned;
      unit_->ComputeCombatValue();
      ShowAssigned();
      return;
    }
    case kExitButton: {
      cDialog* self = this;
      const std::uint64_t ticket = serial();
      if (owner != nullptr) owner->OnGUIEvent(event, kExitButton, control);
      CloseAnsweredDialog(self, ticket);
      return;
    }
    default:
      return;
  }
}

void cDialogDowodcow::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (down && key == VK_ESCAPE) PressButton(*this, kExitButton);
}

}  // namespace tr
