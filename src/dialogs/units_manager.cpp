#include "dialogs/units_manager.h"

#include <algorithm>
#include <array>
#include <string>

#include "app/modal_stack.h"
#include "dialogs/small_dialog_parts.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "gui/tab_frame.h"
#include "platform/codes.h"
#include "turn/fleet.h"
#include "turn/sea_graph.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/map.h"
#include "world/panstwo.h"

namespace tr {

std::uint32_t UnitsManagerLandTypeFilter = 0xFFFFFFFFu;
std::uint32_t UnitsManagerAirTypeFilter = 0xFFFFFFFFu;
std::uint32_t UnitsManagerNavalTypeFilter = 0xFFFFFFFFu;
std::uint8_t UnitsManagerAutoCenter = 1;
std::int32_t UnitsManagerDeployTab = 0;
cUnit* UnitsManagerCurrentUnit = nullptr;

void SetFlagBit(std::uint32_t& word, int bit, bool state) {
  if (bit < 0 || bit >= 32) return;
  const std::uint32_t mask = 1u << bit;
  word = state ? (word | mask) : (word & ~mask);
}

namespace {

constexpr std::array<const char*, 3> kTypeKeysAir = {"unit_type_fighters", "unit_type_tactical_bombers",
                                                      "unit_type_strategic_bombers"};
constexpr std::array<const char*, 6> kTypeKeysNaval = {"unit_type_carrier",   "unit_type_battleship",
                                                        "unit_type_cruiser",   "unit_type_submarine",
                                                        "unit_type_cargo",     "unit_type_amphibious"};
// The first type code of a branch, and its rows in the per-type-code counts.
constexpr std::array<int, 3> kFirstTypeOfBranch = {kInfantryDivision, kFighter, kAircraftCarrier};
constexpr std::array<int, 3> kFirstCountRow = {16, 23, 26};
constexpr std::array<int, 3> kTypeCountOfBranch = {7, 3, 6};
constexpr std::array<const char*, 3> kBranchNames = {"land", "air", "naval"};

std::uint32_t& FilterOf(int branch) {
  if (branch == cDialogJednostek::kAirBranch) return UnitsManagerAirTypeFilter;
  if (branch == cDialogJednostek::kNavalBranch) return UnitsManagerNavalTypeFilter;
  return UnitsManagerLandTypeFilter;
}

bool PassesFilter(const cUnit& unit, int branch) {
  const int bit = unit.type % 20;
  return bit >= 0 && (FilterOf(branch) >> bit & 1u) != 0;
}

std::u16string AvailabilityText(const cUnit& unit) {
  if (unit.availableInTurns > 0) return Format(GetText("units_mgr_units_list_avail_in_%i_turns"), unit.availableInTurns);
  return GetText("units_mgr_units_list_avail_now");
}

char16_t Mark(bool yes) { return yes ? u'+' : u' '; }

std::u16string MapRow(cJednostka& unit) {
  float effective = unit.GetEffectiveStrength();
  float base = unit.GetBaseValue();
  // A harbour has no column in the combat tables: it shows the strength
  // attacks wear down against the strength it is built with.
  if (unit.type == kMulberryType) {
    effective = static_cast<float>(unit.GetStrength());
    base = gGame->constants.MulberryStrength();
  }
  // A base value of 0 would divide by zero.
  const double percent = base != 0.0f ? static_cast<double>(effective) * 100.0 / static_cast<double>(base) : 0.0;
  std::u16string row = Format(u"%s;%.0f%% (%.1f/%.1f);%i;%i;%s;%i", unit.name, percent, static_cast<double>(effective),
                              static_cast<double>(base), unit.actionPoints, unit.supply, GetUnitTypeName(unit.type),
                              unit.level);
  for (bool yes : {unit.GetLevelUpHint(nullptr), unit.attachedCommander != nullptr, unit.GetStrategicMoveIconHint(nullptr),
                   unit.GetStrengthIconHint(nullptr), unit.GetAirfightIconHint(nullptr),
                   unit.GetBombardmentIconHint(nullptr), unit.GetNuclearIconHint(nullptr),
                   unit.GetReconIconHint(nullptr)}) {
    row += u';';
    row += Mark(yes);
  }
  return row;
}

const sWezelGrafuMorz* NodeOfShip(const cJednostkaMorska& ship) {
  if (ship.fleet == nullptr || !gGame->seaGraph.IsNodeId(ship.fleet->seaNodeId)) return nullptr;
  return &ship.fleet->GetSeaNode();
}

std::u16string ShipRow(const cJednostkaMorska& ship) {
  const int percent = ship.maxHitPoints != 0 ? ship.hitPoints * 100 / ship.maxHitPoints : 0;
  const sWezelGrafuMorz* node = NodeOfShip(ship);
  return Format(u"%s;%i%% (%i/%i);%s;%s;%s", ship.name, percent, ship.hitPoints, ship.maxHitPoints,
                GetUnitTypeName(ship.type), ship.fleet != nullptr ? ship.fleet->name : std::u16string(u"-"),
                node != nullptr ? node->name : std::u16string(u"-"));
}

CDXUTListBox* ListOf(const cDialog& dialog) {
  return static_cast<CDXUTListBox*>(dialog.GetControlOfType(cDialogJednostek::kList, kControlListBox));
}

CDXUTTabFrame* TabsOf(const cDialog& dialog, int id) {
  return static_cast<CDXUTTabFrame*>(dialog.GetControlOfType(id, kControlTabFrame));
}

CDXUTCheckBox* CheckBoxOf(const cDialog& dialog, int id) {
  return static_cast<CDXUTCheckBox*>(dialog.GetControlOfType(id, kControlCheckBox));
}

void SetActionHint(cDialog& dialog, bool enabled, const char* hintKey) {
  dialog.SetControlEnabled(cDialogJednostek::kActionButton, enabled);
  if (CDXUTControl* button = dialog.GetControl(cDialogJednostek::kActionButton)) button->SetHint(GetText(hintKey));
}

}  // namespace

bool UnitsManagerHexOf(const cUnit& unit, int& x, int& y) {
  if (const auto* ship = dynamic_cast<const cJednostkaMorska*>(&unit)) {
    const sWezelGrafuMorz* node = NodeOfShip(*ship);
    if (node == nullptr) return false;
    x = node->IsPort() ? node->playerMarkerX : node->x;
    y = node->IsPort() ? node->playerMarkerY : node->y;
    return true;
  }
  x = unit.x;
  y = unit.y;
  return gGame->map != nullptr && gGame->map->IsInside(x, y);
}

cDialogJednostek::cDialogJednostek(int countryId)
    : cDialog(kDialogId, DialogRecord(kDialogId)), country_(gGame->GetCountry(countryId)) {
  UnitsManagerCurrentUnit = nullptr;
  CDXUTTabFrame* branches = nullptr;
  AddTabFrameAt(kBranchTabs, &branches);
  CDXUTStatic* title = nullptr;
  if (Succeeded(AddStaticAt(kTitle, Format(GetText("units_mgr_units_list_for_country_%s"),
                                           country_ != nullptr ? country_->name : std::u16string()),
                            &title))) {
    title->SetTextElement(1);
    title->SetTextFormat(DT_CENTER | DT_VCENTER);
  }
  for (int t = 0; t < kTypeCountOfBranch[0]; ++t) {
    AddCheckBoxAt(kFirstLandType + t, u"", u"", (UnitsManagerLandTypeFilter >> t & 1u) != 0);
  }
  for (int a = 0; a < kTypeCountOfBranch[1]; ++a) {
    AddCheckBoxAt(kFirstAirType + a, GetText(kTypeKeysAir[static_cast<std::size_t>(a)]), u"",
                  (UnitsManagerAirTypeFilter >> a & 1u) != 0);
  }
  for (int n = 0; n < kTypeCountOfBranch[2]; ++n) {
    AddCheckBoxAt(kFirstNavalType + n, GetText(kTypeKeysNaval[static_cast<std::size_t>(n)]), u"",
                  (UnitsManagerNavalTypeFilter >> n & 1u) != 0);
  }
  CDXUTTabFrame* deployTabs = nullptr;
  AddTabFrameAt(kDeployTabs, &deployTabs);
  CDXUTListBox* list = nullptr;
  if (Succeeded(AddListBoxAt(kList, 0, &list))) {
    list->SetColumns(5, GetText("units_mgr_list_land_onmap_columns"), 35, 15, 5, 25, 20);
  }
  AddButtonAt(kActionButton, GetText("units_mgr_select"), GetText("units_mgr_select_hint"));
  CDXUTCheckBox* autoCenter = nullptr;
  AddCheckBoxAt(kAutoCenter, GetText("units_mgr_auto_center_view"), u"", UnitsManagerAutoCenter != 0, &autoCenter);
  AddKeyButton(*this, kCloseButton, "units_mgr_close");

  if (branches != nullptr) {
    branches->AddTab(GetText("units_mgr_units_list_tab_land"), 0, kFirstLandType, kFirstLandType + 6);
    branches->AddTab(GetText("units_mgr_units_list_tab_air"), 0, kFirstAirType, kFirstAirType + 2);
    branches->AddTab(GetText("units_mgr_units_list_tab_naval"), 0, kFirstNavalType, kFirstNavalType + 5);
    for (int id = kFirstAirType; id < kFirstNavalType + 6; ++id) GetControl(id)->SetVisible(false);
    branches->SelectTab(0, false);
  }
  if (deployTabs != nullptr) {
    deployTabs->AddTab(GetText("units_mgr_units_list_tab_on_map"), 0, 1, 0);
    deployTabs->AddTab(GetText("units_mgr_units_list_tab_to_deploy"), 0, 1, 0);
    deployTabs->SelectTab(UnitsManagerDeployTab, false);
  }
  if (autoCenter != nullptr) {
    autoCenter->SetVisible(UnitsManagerDeployTab == 0);
    autoCenter->SetEnabled(UnitsManagerDeployTab == 0);
  }
  FillList();
}

cDialogJednostek::~cDialogJednostek() = default;

int cDialogJednostek::SelectedBranch() const {
  const CDXUTTabFrame* tabs = TabsOf(*this, kBranchTabs);
  return tabs != nullptr ? std::clamp(tabs->GetSelectedTab(), 0, 2) : kLandBranch;
}

int cDialogJednostek::FirstTypeBox() const {
  switch (SelectedBranch()) {
    case kAirBranch: return kFirstAirType;
    case kNavalBranch: return kFirstNavalType;
    default: return kFirstLandType;
  }
}

int cDialogJednostek::TypeBoxCount() const { return kTypeCountOfBranch[static_cast<std::size_t>(SelectedBranch())]; }

void cDialogJednostek::AddRow(cUnit& unit) {
  CDXUTListBox* list = ListOf(*this);
  std::u16string text;
  if (UnitsManagerDeployTab == 0) {
    if (auto* ship = dynamic_cast<cJednostkaMorska*>(&unit)) {
      text = ShipRow(*ship);
    } else {
      text = MapRow(static_cast<cJednostka&>(unit));
    }
  } else if (unit.category == kCategoryNaval) {
    text = Format(u"%s;%s;%s", unit.name, GetUnitTypeName(unit.type), AvailabilityText(unit));
    LogLine(text);
  } else {
    text = Format(u"%s;%s;%i;%s", unit.name, GetUnitTypeName(unit.type), static_cast<cJednostka&>(unit).level,
                  AvailabilityText(unit));
  }
  if (Succeeded(list->AddItem(text, static_cast<std::uint32_t>(rows_.size())))) rows_.push_back(&unit);
}

void cDialogJednostek::FillList() {
  CDXUTListBox* list = ListOf(*this);
  if (list == nullptr) return;
  list->RemoveAllItems();
  rows_.clear();
  const int branch = SelectedBranch();
  const auto b = static_cast<std::size_t>(branch);
  const std::string key = std::string("units_mgr_list_") + kBranchNames[b] +
                          (UnitsManagerDeployTab != 0 ? "_todeploy" : "_onmap") + "_columns";
  const std::u16string titles = GetText(key);
  if (UnitsManagerDeployTab == 0) {
    if (branch == kNavalBranch) {
      list->SetColumns(5, titles, 20, 12, 18, 25, 25);
    } else {
      list->SetColumns(14, titles, 30, 14, 3, 8, 18, 3, 2, 2, 2, 2, 2, 2, 2, 2);
    }
  } else if (branch == kNavalBranch) {
    list->SetColumns(3, titles, 30, 18, 40);
  } else {
    list->SetColumns(4, titles, 30, 18, 3, 40);
  }
  list->SetColumnHints(GetText(key + "_hint"));
  if (auto* button = static_cast<CDXUTButton*>(GetControlOfType(kActionButton, kControlButton))) {
    button->SetText(GetText(UnitsManagerDeployTab != 0 ? "units_mgr_deploy" : "units_mgr_select"));
  }

  if (country_ == nullptr) {
    UpdateHints(-1);
    return;
  }
  UnitTypeCountTable counts{};
  country_->CountUnitsByType(counts);
  for (int t = 0; t < kTypeCountOfBranch[b]; ++t) {
    const int type = kFirstTypeOfBranch[b] + t;
    const auto& count = counts[static_cast<std::size_t>(kFirstCountRow[b] + t)];
    if (CDXUTCheckBox* box = CheckBoxOf(*this, FirstTypeBox() + t)) {
      box->SetText(Format(u"%s (%i+[%i])", GetUnitTypeName(type), count[0], count[1]));
    }
  }

  cGame& game = *gGame;
  const auto addFrom = [&](const auto& units) {
    for (const auto& unit : units) {
      if (unit->owner == country_->id && PassesFilter(*unit, branch)) AddRow(*unit);
    }
  };
  if (UnitsManagerDeployTab == 0) {
    if (branch == kLandBranch) addFrom(game.landUnits);
    if (branch == kAirBranch) addFrom(game.airUnits);
    if (branch == kNavalBranch) addFrom(game.navalUnits);
  } else if (branch == kNavalBranch) {
    addFrom(game.navalReserve);
  } else {
    const int category = branch == kLandBranch ? kCategoryLand : kCategoryAir;
    for (const auto& unit : game.reservePool) {
      if (unit->category == category && unit->owner == country_->id && PassesFilter(*unit, branch)) AddRow(*unit);
    }
  }
  UpdateHints(-1);
}

void cDialogJednostek::UpdateHints(int unitId) {
  CDXUTListBox* list = ListOf(*this);
  if (list == nullptr) return;
  if (unitId < 1 && !rows_.empty()) unitId = rows_.front()->id;
  UnitsManagerCurrentUnit = nullptr;
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (rows_[row]->id != unitId) continue;
    list->SelectItem(static_cast<int>(row), false);
    UnitsManagerCurrentUnit = rows_[row];
    break;
  }
  cUnit* unit = UnitsManagerCurrentUnit;
  if (unit == nullptr) {
    SetActionHint(*this, false, "units_mgr_select_hint_no_unit_selected");
  } else if (UnitsManagerDeployTab == 0) {
    SetActionHint(*this, true, "units_mgr_select_hint");
  } else if (unit->availableInTurns > 0) {
    SetActionHint(*this, false, "units_mgr_deploy_hint_not_ready_to_deploy");
  } else if (unit->MarkPlacementHexes(0) == 0) {
    SetActionHint(*this, false, "units_mgr_deploy_hint_no_destination_hexes");
  } else {
    SetActionHint(*this, true, "units_mgr_deploy_hint");
  }
}

void cDialogJednostek::CenterOnCurrentUnit() {
  int x = 0;
  int y = 0;
  if (UnitsManagerCurrentUnit == nullptr || gGame->map == nullptr || !UnitsManagerHexOf(*UnitsManagerCurrentUnit, x, y)) {
    return;
  }
  CenterAtHex(*gGame->map, x, y, false);
}

void cDialogJednostek::PressAction() {
  cUnit* unit = UnitsManagerCurrentUnit;
  if (unit == nullptr) return;
  cPlayerControl& control = gGame->playerControl;
  if (UnitsManagerDeployTab != 0) {
    control.ClearSelection();
    control.actionMode = unit->category == kCategoryLand  ? kActionDeployLand
                         : unit->category == kCategoryAir ? kActionDeployAir
                                                          : kActionDeployShip;
    unit->MarkPlacementHexes(1);
    SetVisible(false);
    return;
  }
  int x = 0;
  int y = 0;
  if (!UnitsManagerHexOf(*unit, x, y)) return;
  CenterAtHex(*gGame->map, x, y, false);
  control.SelectHex(x, y);
  unit->ComputeMoveRange(0);
  control.actionMode = unit->category == kCategoryLand  ? kActionMove
                       : unit->category == kCategoryAir ? kActionRebase
                                                        : kActionNone;
  CloseAnsweredDialog(this, serial());
}

void cDialogJednostek::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl* control) {
  if (controlId == kBranchTabs) {
    FillList();
  } else if (controlId >= kFirstLandType && controlId < kFirstNavalType + 6) {
    const bool checked = control != nullptr && static_cast<CDXUTCheckBox*>(control)->GetChecked();
    if (controlId < kFirstAirType) {
      SetFlagBit(UnitsManagerLandTypeFilter, controlId - kFirstLandType, checked);
    } else if (controlId < kFirstNavalType) {
      SetFlagBit(UnitsManagerAirTypeFilter, controlId - kFirstAirType, checked);
    } else {
      SetFlagBit(UnitsManagerNavalTypeFilter, controlId - kFirstNavalType, checked);
    }
    FillList();
  } else if (controlId == kList) {
    CDXUTListBox* list = ListOf(*this);
    const int row = list != nullptr ? list->GetSelectedIndex() : -1;
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    UpdateHints(rows_[static_cast<std::size_t>(row)]->id);
    cUnit* unit = UnitsManagerCurrentUnit;
    if (UnitsManagerAutoCenter != 0 && UnitsManagerDeployTab == 0 && unit != nullptr) {
      CenterOnCurrentUnit();
      if (unit->category != kCategoryNaval) {
        gGame->playerControl.ClearSelection();
        gGame->playerControl.SelectHex(unit->x, unit->y);
      }
    }
  } else if (controlId == kActionButton) {
    PressAction();
  } else if (controlId == kAutoCenter) {
    UnitsManagerAutoCenter = control != nullptr && static_cast<CDXUTCheckBox*>(control)->GetChecked() ? 1 : 0;
    int x = 0;
    int y = 0;
    if (UnitsManagerAutoCenter != 0 && UnitsManagerCurrentUnit != nullptr &&
        UnitsManagerHexOf(*UnitsManagerCurrentUnit, x, y)) {
      CenterAtHex(*gGame->map, x, y, false);
      gGame->playerControl.ClearSelection();
      gGame->playerControl.SelectHex(x, y);
    }
  } else if (controlId == kDeployTabs) {
    const CDXUTTabFrame* tabs = TabsOf(*this, kDeployTabs);
    UnitsManagerDeployTab = tabs != nullptr && tabs->GetSelectedTab() == 1 ? 1 : 0;
    if (CDXUTControl* box = GetControl(kAutoCenter)) {
      // Auto-centring acts only on the map's units, so the box goes with that tab.
      box->SetEnabled(UnitsManagerDeployTab == 0);
      box->SetVisible(UnitsManagerDeployTab == 0);
    }
    FillList();
  } else if (controlId == kCloseButton) {
    CloseAnsweredDialog(this, serial());
  }
}

void cDialogJednostek::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (!down) return;
  EnableNonUserEvents(true);
  CDXUTTabFrame* branches = TabsOf(*this, kBranchTabs);
  CDXUTListBox* list = ListOf(*this);
  const int first = FirstTypeBox();
  const int count = TypeBoxCount();
  const auto setBox = [&](int index, bool checked) {
    if (CDXUTCheckBox* box = CheckBoxOf(*this, first + index)) box->SetCheckedState(checked, false, true);
  };
  if (key == VK_RETURN) {
    if (GetControlEnabled(kActionButton)) SendEvent(GuiEventButtonClicked, false, GetControl(kActionButton));
  } else if (key == VK_ESCAPE) {
    SendEvent(GuiEventButtonClicked, false, GetControl(kCloseButton));
    return;
  } else if ((key == VK_LEFT || key == VK_RIGHT) && branches != nullptr) {
    branches->SelectTab(std::max(branches->GetSelectedTab() + (key == VK_LEFT ? -1 : 1), 0), true);
  } else if ((key == VK_UP || key == VK_DOWN) && list != nullptr && list->GetSize() > 0) {
    const int row = list->GetSelectedIndex() + (key == VK_UP ? -1 : 1);
    list->SelectItem(std::clamp(row, 0, list->GetSize() - 1), true);
  } else if (key == '0' || key == VK_NUMPAD0) {
    for (int i = 0; i < count; ++i) setBox(i, false);
  } else if (key == '9' || key == VK_NUMPAD0 + 9) {
    for (int i = 0; i < count; ++i) setBox(i, true);
  } else if ((key >= '1' && key <= '7') || (key >= VK_NUMPAD0 + 1 && key <= VK_NUMPAD0 + 7)) {
    const int n = static_cast<int>(key >= VK_NUMPAD0 ? key - VK_NUMPAD0 : key - '0');
    if (n <= count) {
      if (CDXUTCheckBox* box = CheckBoxOf(*this, first + n - 1)) setBox(n - 1, !box->GetChecked());
    }
  } else if (key == 'A') {
    if (CDXUTCheckBox* box = CheckBoxOf(*this, kAutoCenter); box != nullptr && box->GetEnabled()) {
      box->SetCheckedState(!box->GetChecked(), false, true);
    }
  } else if (key == 'D' || key == 'M') {
    if (CDXUTTabFrame* tabs = TabsOf(*this, kDeployTabs)) tabs->SelectTab(key == 'D' ? 1 : 0, true);
  }
  EnableNonUserEvents(false);
}

void cDialogJednostek::OnActivate() {
  FillList();
  StartTimer(gDelays[kDelayHumanDeployAfter] / 1000.0f, kTimerShow);
}

}  // namespace tr
