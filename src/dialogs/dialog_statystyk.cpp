#include "dialogs/dialog_statystyk.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <vector>

#include "app/country_stats_rows.h"
#include "dialogs/small_dialog_parts.h"
#include "events/operand_access.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/memo.h"
#include "gui/slider.h"
#include "gui/static.h"
#include "gui/tab_frame.h"
#include "platform/codes.h"
#include "scenario/report_kinds.h"
#include "turn/game_over.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr std::array<sReportTypeRow, 6> kStatisticsRows = {{
    {"reports_general_summary", kReportGeneralSummary},
    {"reports_production", kReportProduction},
    {"reports_units_upkeep", kReportUpkeep},
    {"reports_research", kReportResearch},
    {"reports_convoys", kReportConvoys},
    {"Victory points", cDialogStatystyk::kVictoryPointsType},
}};

constexpr std::array<sReportTypeRow, 12> kEventRows = {{
    {"reports_raider_activity", kReportRaiders},
    {"reports_battles_at_seas", kReportSeaBattle},
    {"reports_sea_zone_attacks", kReportSeaZoneAttack},
    {"reports_land_combat_(attack)", kReportLandAttack},
    {"reports_land_combat_(defence)", kReportLandDefence},
    {"reports_air_strikes", kReportAirStrike},
    {"reports_air_to_air_combat", kReportAirToAir},
    {"reports_shore_bombardment", kReportShoreBombardment},
    {"reports_strategic_bombardment", kReportStrategicBombardment},
    {"reports_sieges", kReportSiege},
    {"reports_event_results", kReportEventChoice},
    {"reports_cheating", kReportCheating},
}};

// The row shown as it stands instead of through the string base.
constexpr std::string_view kUnlookedRow = "Victory points";

constexpr std::array<const char16_t*, 4> kVictoryPointTabs = {u"Alliances", u"Countries by name",
                                                              u"Countries by alliance", u"Countries by VP"};

// The country-type flag of the country that only runs the events check.
constexpr std::int32_t kSpecialCountry = 1;

template <typename Control>
Control* Find(const cDialog& dialog, int id, eControlType type) {
  return static_cast<Control*>(dialog.GetControlOfType(id, type));
}

std::u16string RowText(const sReportTypeRow& row) {
  if (row.text == kUnlookedRow) return std::u16string(row.text, row.text + kUnlookedRow.size());
  return GetText(row.text);
}

struct sVictoryRow {
  std::u16string name;
  std::u16string alliance;
  int points = 0;
};

}  // namespace

std::span<const sReportTypeRow> ReportTypeRows(int tab) {
  if (tab == 1) return kEventRows;
  return kStatisticsRows;
}

cDialogStatystyk::cDialogStatystyk() : cDialog(kDialogId, DialogRecord(kDialogId)) {
  CDXUTStatic* title = nullptr;
  if (Succeeded(AddStaticAt(kTitle, GetText("reports_title"), &title))) title->SetTextFormat(DT_CENTER | DT_VCENTER);
  CDXUTTabFrame* typeTabs = nullptr;
  if (Succeeded(AddTabFrameAt(kTypeTabs, &typeTabs))) {
    typeTabs->AddTab(GetText("reports_main_type_tab_statistics"), 0, 0, -1);
    typeTabs->AddTab(GetText("reports_main_type_tab_events"), 0, 0, -1);
  }
  AddStaticAt(kTypeLabel, GetText("reports_type"));
  AddListBoxAt(kTypeList, 0);
  AddStaticAt(kCountryLabel, GetText("reports_country"));
  AddListBoxAt(kCountryList, 0);
  AddMemoAt(kReportMemo, u"");
  AddStaticAt(kReportCount, u"");
  AddSliderAt(kReportSlider, 0, 0, 0);
  AddTextField(this, kDateField, u"-", GetText("reports_date_hint"), kDateLabel, GetText("reports_date"));
  CDXUTTabFrame* statsTabs = nullptr;
  if (Succeeded(AddTabFrameAt(kStatsTabs, &statsTabs))) {
    for (const char* key : kCountryStatsTabKeys) statsTabs->AddTab(GetText(key), 0, 0, -1);
  }
  AddListBoxAt(kStatsList, 0);
  AddKeyButton(*this, kExitButton, "reports_exit");

  FillReportTypes(0);
  FillCountries();
  FillStatistics(true);
}

void cDialogStatystyk::FillReportTypes(int tab) {
  auto* list = Find<CDXUTListBox>(*this, kTypeList, kControlListBox);
  if (list == nullptr) return;
  list->RemoveAllItems();
  for (const sReportTypeRow& row : ReportTypeRows(tab)) list->AddItem(RowText(row), static_cast<std::uint32_t>(row.type));
}

void cDialogStatystyk::FillCountries() {
  auto* list = Find<CDXUTListBox>(*this, kCountryList, kControlListBox);
  if (list == nullptr) return;
  const cCountry* current = gGame != nullptr ? gGame->playerControl.currentCountry : nullptr;
  std::vector<cCountry*> listed;
  if (current != nullptr) {
    for (const auto& country : gGame->countries) {
      if (country->isActive == 0 || country->politicalStrength < 0 || country->specialFlags == kSpecialCountry) {
        continue;
      }
      if (country.get() == current || current->IsAlly(country->id)) listed.push_back(country.get());
    }
  }
  std::stable_sort(listed.begin(), listed.end(), [](const cCountry* a, const cCountry* b) { return a->name < b->name; });
  list->RemoveAllItems();
  int selected = 0;
  for (std::size_t row = 0; row < listed.size(); ++row) {
    list->AddItem(listed[row]->name, static_cast<std::uint32_t>(listed[row]->id));
    if (listed[row] == selectedCountry_) selected = static_cast<int>(row);
  }
  list->SelectItem(selected, false);
  selectedCountry_ = listed.empty() ? nullptr : listed[static_cast<std::size_t>(selected)];
}

void cDialogStatystyk::ShowReportControls(bool shown) {
  for (const int id : {kReportCount, kReportSlider, kDateLabel, kDateField, kReportMemo}) {
    if (CDXUTControl* control = GetControl(id)) control->SetVisible(shown);
  }
  for (const int id : {kStatsTabs, kStatsList}) {
    if (CDXUTControl* control = GetControl(id)) control->SetVisible(!shown);
  }
}

void cDialogStatystyk::SetStatsLayout(std::int32_t type) {
  if (statsLayout_ == type) return;
  auto* tabs = Find<CDXUTTabFrame>(*this, kStatsTabs, kControlTabFrame);
  if (tabs == nullptr) return;
  tabs->RemoveAllTabs();
  if (type == kVictoryPointsType) {
    for (const char16_t* title : kVictoryPointTabs) tabs->AddTab(title, 0, 0, -1);
  } else {
    for (const char* key : kCountryStatsTabKeys) tabs->AddTab(GetText(key), 0, 0, -1);
  }
  statsLayout_ = type;
}

void cDialogStatystyk::FillStatistics(bool reset) {
  if (selectedType_ == kVictoryPointsType) {
    FillVictoryPoints();
  } else if (selectedType_ == kCountryStatsType) {
    FillCountryStats();
  } else {
    FillStoredReports(reset);
  }
}

void cDialogStatystyk::FillVictoryPoints() {
  SetStatsLayout(kVictoryPointsType);
  ShowReportControls(false);
  auto* list = Find<CDXUTListBox>(*this, kStatsList, kControlListBox);
  auto* tabs = Find<CDXUTTabFrame>(*this, kStatsTabs, kControlTabFrame);
  if (list == nullptr || tabs == nullptr || gGame == nullptr) return;
  list->RemoveAllItems();
  const cGame& game = *gGame;
  const int tab = tabs->GetSelectedTab();
  if (tab == 0) {
    list->SetColumns(2, u"Alliance|Victory points", 50, 50);
    list->AddItem(Format(u"Allies|%d", CountAllianceVictoryPoints(game, kAllies)), 0);
    list->AddItem(Format(u"Axis|%d", CountAllianceVictoryPoints(game, kAxis)), 0);
    list->AddItem(Format(u"Comintern|%d", CountAllianceVictoryPoints(game, kComintern)), 0);
    return;
  }
  if (tab < 1 || tab > 3) return;
  list->SetColumns(3, u"Country|Alliance|Victory points", 50, 30, 20);
  std::vector<sVictoryRow> rows;
  const auto countryCount = static_cast<std::int32_t>(game.countries.size());
  for (const auto& country : game.countries) {
    // The last country of the vector takes no part in the tables.
    if (country->isActive == 0 || country->specialFlags != 0 || country->id == countryCount) continue;
    sVictoryRow row{country->name, {}, CountCountryVictoryPoints(country->id)};
    country->GetAllianceName(row.alliance, true);
    rows.push_back(std::move(row));
  }
  // Equal keys keep the order of the country vector.
  if (tab == 1) {
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  } else if (tab == 2) {
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.alliance < b.alliance; });
  } else {
    // By the points as numbers, most first: a text key misorders negative
    // points and totals of different lengths.
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.points > b.points; });
  }
  for (const sVictoryRow& row : rows) list->AddItem(Format(u"%s;%s;%d", row.name, row.alliance, row.points), 0);
}

void cDialogStatystyk::FillCountryStats() {
  SetStatsLayout(kCountryStatsType);
  ShowReportControls(false);
  auto* list = Find<CDXUTListBox>(*this, kStatsList, kControlListBox);
  auto* tabs = Find<CDXUTTabFrame>(*this, kStatsTabs, kControlTabFrame);
  if (list == nullptr || tabs == nullptr) return;
  list->RemoveAllItems();
  if (selectedCountry_ == nullptr) return;
  FillCountryStatistics(*list, *selectedCountry_, tabs->GetSelectedTab(), eAllianceRows::kEveryCountry);
}

void cDialogStatystyk::FillStoredReports(bool reset) {
  ShowReportControls(true);
  if (selectedCountry_ == nullptr || gGame == nullptr) return;
  filteredReports_.clear();
  gGame->reports.Select(filteredReports_, selectedCountry_->id, selectedType_);
  auto* slider = Find<CDXUTSlider>(*this, kReportSlider, kControlSlider);
  auto* count = Find<CDXUTStatic>(*this, kReportCount, kControlStatic);
  auto* date = Find<CDXUTEditBox>(*this, kDateField, kControlEditBox);
  auto* memo = Find<CDXUTMemo>(*this, kReportMemo, kControlMemo);
  if (slider == nullptr || count == nullptr || date == nullptr || memo == nullptr) return;
  const int reports = static_cast<int>(filteredReports_.size());
  if (reports == 0) {
    slider->SetRange(0, 0);
    slider->SetEnabled(false);
    count->SetText(GetText("reports_count_no_reports"));
    date->SetText(u"-");
    memo->SetText(u"");
    return;
  }
  slider->SetEnabled(reports > 1);
  if (reset) {
    slider->SetRange(0, reports - 1);
    slider->SetValue(reports - 1);
  }
  // A slider left on a longer list than the one read now shows the newest report.
  const int position = std::clamp(slider->GetValue(), 0, reports - 1);
  const sReport& report = *std::next(filteredReports_.begin(), position);
  count->SetText(Format(GetText("reports_count"), position + 1, reports));
  memo->SetText(report.text);
  date->SetText(Format(u"%i/%i/%i - turn %i", report.day, report.month, report.year, report.turn));
}

void cDialogStatystyk::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  switch (controlId) {
    case kTypeTabs:
      if (auto* tabs = Find<CDXUTTabFrame>(*this, kTypeTabs, kControlTabFrame)) FillReportTypes(tabs->GetSelectedTab());
      FillStatistics(true);
      return;
    case kTypeList:
      if (auto* list = Find<CDXUTListBox>(*this, kTypeList, kControlListBox)) {
        if (const sListBoxItem* row = list->GetItem(list->GetSelectedIndex())) {
          selectedType_ = static_cast<std::int32_t>(row->data);
        }
      }
      FillCountries();
      FillStatistics(true);
      return;
    case kCountryList:
      if (auto* list = Find<CDXUTListBox>(*this, kCountryList, kControlListBox)) {
        if (const sListBoxItem* row = list->GetItem(list->GetSelectedIndex())) {
          selectedCountry_ = gGame != nullptr ? gGame->GetCountry(static_cast<int>(row->data)) : nullptr;
        }
      }
      FillStatistics(true);
      return;
    case kReportSlider:
    case kStatsTabs:
      FillStatistics(false);
      return;
    case kExitButton:
      CloseAnsweredDialog(this, serial());
      return;
    default:
      return;
  }
}

void cDialogStatystyk::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (down && (key == VK_RETURN || key == VK_ESCAPE)) PressButton(*this, kExitButton);
}

}  // namespace tr
