#include "dialogs/convoys_manager.h"

#include <algorithm>

#include "app/device_objects.h"
#include "app/frame_utils.h"
#include "dialogs/small_dialog_parts.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/string_base.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/list_box.h"
#include "gui/slider.h"
#include "gui/static.h"
#include "gui/texture_holder.h"
#include "turn/convoy.h"
#include "world/city.h"
#include "world/gra.h"
#include "world/panstwo.h"

namespace tr {

std::int32_t ConvoysManagerDepartureNode = 0;
std::int32_t ConvoysManagerDestinationNode = 0;
cCountry* ConvoysManagerCountry = nullptr;
std::int32_t ConvoysManagerSelectedRow = -1;

namespace {

// consts.csv: the amount factors of a production and of a supply convoy.
constexpr int kProductionFactorLine = 163;
constexpr int kSupplyFactorLine = 164;
// The picture's cell in the skin.
constexpr Rect kPictureSource{1898, 1898, 2048, 2048};

int MaximumAmount(const sConvoy& convoy, int kind) {
  const int factor = gGame->constants.Int(kind == kConvoyResources ? kProductionFactorLine : kSupplyFactorLine, 1);
  return convoy.portSize * factor;
}

CDXUTListBox* ListOf(const cDialog& dialog) {
  return static_cast<CDXUTListBox*>(dialog.GetControlOfType(cDialogKonwojow::kList, kControlListBox));
}

void SetButton(cDialog& dialog, int id, bool enabled, const char* hintKey) {
  dialog.SetControlEnabled(id, enabled);
  if (CDXUTControl* control = dialog.GetControl(id)) control->SetHint(GetText(hintKey));
}

std::u16string CityName(const cCity* city) { return city != nullptr ? city->name : std::u16string(u"-"); }

}  // namespace

cDialogKonwojow::cDialogKonwojow() : cDialog(kDialogId, DialogRecord(kDialogId)) {
  ConvoysManagerCountry = gGame->playerControl.currentCountry;
  cConvoyManager& manager = gGame->convoys;
  if (ConvoysManagerCountry != nullptr && ConvoysManagerCountry->id >= 1 &&
      ConvoysManagerCountry->id <= static_cast<int>(manager.convoys.size())) {
    convoys_ = &manager.ConvoysOf(ConvoysManagerCountry->id);
  }
  ConvoysManagerDepartureNode = 0;
  ConvoysManagerDestinationNode = 0;
  ConvoysManagerSelectedRow = -1;

  AddDialogTitle(*this, kTitle, GetText("convoys_title"));
  Rect box = DialogRecord(kPicture);
  SquareRectAligned(box.left, box.top, box.right, box.bottom, 2, 2);
  AddImage(kPicture, GlobalTextureRecord(kTextureGuiSkin).GetTexture(), kPictureSource, box.left, box.top, box.right,
           box.bottom);
  AddStaticAt(kListLabel, GetText("convoys_list"));
  CDXUTListBox* list = nullptr;
  if (Succeeded(AddListBoxAt(kList, 0, &list))) list->SetColumns(4, GetText("convoys_list_columns"), 30, 30, 30, 10);
  AddKeyButton(*this, kNewButton, "convoys_new");
  AddButtonAt(kDeleteButton, GetText("convoys_delete"), GetText("convoys_delete_hint_no_selection"));
  AddButtonAt(kMoveUpButton, GetText("convoys_moveup"), GetText("convoys_moveup_hint_no_selection"));
  AddButtonAt(kMoveDownButton, GetText("convoys_movedown"), GetText("convoys_movedown_hint_no_selection"));
  for (int id : {kDeleteButton, kMoveUpButton, kMoveDownButton}) SetControlEnabled(id, false);
  AddStaticAt(kTypeLabel, GetText("convoys_type"));
  AddRadioButtonAt(kProductionRadio, 1, GetText("convoys_type_pp"), GetText("convoys_type_pp_hint"));
  AddRadioButtonAt(kSupplyRadio, 1, GetText("convoys_type_supply"), GetText("convoys_type_supply_hint"));
  AddSliderAt(kAmountSlider, 0, 300, 150);
  AddStaticAt(kAmountText, u"");
  AddKeyButton(*this, kExitButton, "convoys_exit");
  FillList(-1);
  UpdateHints();
}

cDialogKonwojow::~cDialogKonwojow() = default;

std::vector<sConvoy>* cDialogKonwojow::Convoys() const { return convoys_; }

sConvoy* cDialogKonwojow::SelectedConvoy() const {
  if (convoys_ == nullptr || ConvoysManagerSelectedRow < 0 ||
      ConvoysManagerSelectedRow >= static_cast<int>(convoys_->size())) {
    return nullptr;
  }
  return &(*convoys_)[static_cast<std::size_t>(ConvoysManagerSelectedRow)];
}

void cDialogKonwojow::FillList(int selectId) {
  CDXUTListBox* list = ListOf(*this);
  if (list == nullptr) return;
  list->RemoveAllItems();
  if (convoys_ == nullptr) return;
  int selectRow = -1;
  for (std::size_t i = 0; i < convoys_->size(); ++i) {
    const sConvoy& convoy = (*convoys_)[i];
    const std::u16string kind = GetText(convoy.kind == kConvoyResources ? "convoys_type_production" : "convoys_type_supply");
    list->AddItem(Format(u"%s;%s;%s;%i", CityName(convoy.departure), CityName(convoy.destination), kind, convoy.amount),
                  static_cast<std::uint32_t>(i));
    if (selectId != -1 && selectRow < 0 && convoy.id == selectId) selectRow = static_cast<int>(i);
  }
  if (selectRow >= 0) {
    list->SelectItem(selectRow, false);
    OnGUIEvent(GuiEventListSelection, kList, list);
  }
}

void cDialogKonwojow::UpdateHints() {
  const sConvoy* convoy = SelectedConvoy();
  auto* production = static_cast<CDXUTRadioButton*>(GetControlOfType(kProductionRadio, kControlRadioButton));
  auto* supply = static_cast<CDXUTRadioButton*>(GetControlOfType(kSupplyRadio, kControlRadioButton));
  auto* slider = static_cast<CDXUTSlider*>(GetControlOfType(kAmountSlider, kControlSlider));
  auto* amount = static_cast<CDXUTStatic*>(GetControlOfType(kAmountText, kControlStatic));
  if (convoy == nullptr) {
    SetButton(*this, kDeleteButton, false, "convoys_delete_hint_no_selection");
    for (CDXUTRadioButton* radio : {production, supply}) {
      if (radio == nullptr) continue;
      radio->SetEnabled(false);
      radio->SetCheckedState(false, false, false, false);
    }
    if (slider != nullptr) slider->SetEnabled(false);
    if (amount != nullptr) amount->SetVisible(false);
    SetButton(*this, kMoveUpButton, false, "convoys_moveup_hint_no_selection");
    SetButton(*this, kMoveDownButton, false, "convoys_movedown_hint_no_selection");
    return;
  }
  SetButton(*this, kDeleteButton, true, "convoys_delete_hint");
  const bool isProduction = convoy->kind == kConvoyResources;
  if (production != nullptr) {
    production->SetEnabled(true);
    production->SetCheckedState(isProduction, false, false, false);
  }
  if (supply != nullptr) {
    supply->SetEnabled(true);
    supply->SetCheckedState(!isProduction, false, false, false);
  }
  if (slider != nullptr) {
    slider->SetEnabled(true);
    slider->SetRange(0, MaximumAmount(*convoy, convoy->kind));
    slider->SetValue(convoy->amount);
  }
  if (amount != nullptr) {
    amount->SetText(Format(GetText("convoys_value_%i"), convoy->amount));
    amount->SetVisible(true);
  }
  const int row = ConvoysManagerSelectedRow;
  if (row < 1) {
    SetButton(*this, kMoveUpButton, false, "convoys_moveup_hint_is_topmost");
  } else {
    SetButton(*this, kMoveUpButton, true, "convoys_moveup_hint");
  }
  if (row < static_cast<int>(convoys_->size()) - 1) {
    SetButton(*this, kMoveDownButton, true, "convoys_movedown_hint");
  } else {
    SetButton(*this, kMoveDownButton, false, "convoys_movedown_hint_is_bottommost");
  }
}

void cDialogKonwojow::Rebuild() {
  if (ConvoysManagerDepartureNode < 1 || ConvoysManagerDestinationNode < 1 || ConvoysManagerCountry == nullptr) return;
  int id = -1;
  {
    GameLockGuard lock(__FILE__, __LINE__);
    id = gGame->convoys.AddConvoyFromDialog(ConvoysManagerDepartureNode, ConvoysManagerDestinationNode,
                                            ConvoysManagerCountry->id);
  }
  // A refused convoy leaves a list without a selection, so nothing may point at the old row.
  if (id == -1) ConvoysManagerSelectedRow = -1;
  FillList(id);
  UpdateHints();
}

void cDialogKonwojow::SetKind(int kind) {
  sConvoy* convoy = SelectedConvoy();
  if (convoy == nullptr) return;
  convoy->kind = kind;
  convoy->amount = MaximumAmount(*convoy, kind);
  FillList(convoy->id);
  UpdateHints();
}

void cDialogKonwojow::Move(int step) {
  sConvoy* convoy = SelectedConvoy();
  if (convoy == nullptr) return;
  const int row = ConvoysManagerSelectedRow;
  const int target = row + step;
  if (target < 0 || target >= static_cast<int>(convoys_->size())) return;
  const sConvoy copy = *convoy;
  {
    GameLockGuard lock(__FILE__, __LINE__);
    convoys_->erase(convoys_->begin() + row);
    convoys_->insert(convoys_->begin() + target, copy);
  }
  ConvoysManagerSelectedRow = target;
  FillList(copy.id);
}

void cDialogKonwojow::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl* control) {
  switch (controlId) {
    case kList: {
      CDXUTListBox* list = ListOf(*this);
      const int row = list != nullptr ? list->GetSelectedIndex() : -1;
      ConvoysManagerSelectedRow = row >= 0 ? static_cast<int>(list->GetItem(row)->data) : -1;
      UpdateHints();
      return;
    }
    case kNewButton:
      ConvoysManagerDepartureNode = 0;
      ConvoysManagerDestinationNode = 0;
      if (ConvoysManagerCountry == nullptr) return;
      SetVisible(false);
      MarkConvoyCandidateCities(ConvoysManagerCountry->id);
      gGame->playerControl.actionMode = kActionConvoyDeparture;
      return;
    case kMoveUpButton:
      Move(-1);
      return;
    case kMoveDownButton:
      Move(1);
      return;
    case kDeleteButton:
      if (SelectedConvoy() != nullptr) {
        GameLockGuard lock(__FILE__, __LINE__);
        convoys_->erase(convoys_->begin() + ConvoysManagerSelectedRow);
      }
      ConvoysManagerSelectedRow = -1;
      FillList(-1);
      UpdateHints();
      return;
    case kProductionRadio:
      SetKind(kConvoyResources);
      return;
    case kSupplyRadio:
      SetKind(kConvoySupplies);
      return;
    case kAmountSlider:
      if (sConvoy* convoy = SelectedConvoy(); convoy != nullptr && control != nullptr) {
        convoy->amount = static_cast<CDXUTSlider*>(control)->GetValue();
        FillList(convoy->id);
        UpdateHints();
      }
      return;
    case kExitButton:
      CloseAnsweredDialog(this, serial());
      return;
    default:
      return;
  }
}

}  // namespace tr
