// cDialogStatystyk: the reports and statistics of the own alliance. The
// player picks a report type (statistics or events) and a country (the
// current one or an ally) and reads either the stored reports of that type
// one at a time, the victory-point tables, or the country's statistics.
#pragma once

#include <cstdint>
#include <list>
#include <span>

#include "dialogs/dialog_base.h"
#include "scenario/report_kinds.h"
#include "scenario/reports.h"

namespace tr {

class cCountry;

class cDialogStatystyk : public cDialog {
 public:
  static constexpr int kDialogId = 810;
  static constexpr int kTitle = 811;
  static constexpr int kTypeTabs = 813;
  static constexpr int kTypeLabel = 814;
  static constexpr int kTypeList = 815;
  static constexpr int kCountryLabel = 816;
  static constexpr int kCountryList = 817;
  static constexpr int kReportCount = 818;
  static constexpr int kReportSlider = 819;
  static constexpr int kStatsTabs = 820;
  static constexpr int kStatsList = 821;
  static constexpr int kDateLabel = 822;
  static constexpr int kDateField = 823;
  static constexpr int kReportMemo = 824;
  static constexpr int kExitButton = 826;

  // The report types that show tables instead of stored reports.
  static constexpr std::int32_t kCountryStatsType = kReportGeneralSummary;
  static constexpr std::int32_t kVictoryPointsType = kReportVictoryPoints;
  // The selected type before the player picks one: no report has it.
  static constexpr std::int32_t kNoType = -1;

  cDialogStatystyk();

  // Empties the type list and adds the events tab's rows for tab 1, else the
  // statistics tab's; selects no row and keeps the selected type.
  void FillReportTypes(int tab);
  // The current country and its allies, by name; the selection stays on the
  // selected country when it is still listed, else goes to the first row.
  void FillCountries();
  // Shows the view of the selected type; reset starts the stored reports at
  // the newest one.
  void FillStatistics(bool reset);

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;

  std::int32_t selectedType() const { return selectedType_; }
  const cCountry* selectedCountry() const { return selectedCountry_; }
  // 28 or 29 while the statistics tabs hold that type's tabs; -1 before.
  std::int32_t statsLayout() const { return statsLayout_; }
  const std::list<sReport>& filteredReports() const { return filteredReports_; }

 private:
  void ShowReportControls(bool shown);
  void FillVictoryPoints();
  void FillCountryStats();
  void FillStoredReports(bool reset);
  // Replaces the statistics tabs when another table type was shown.
  void SetStatsLayout(std::int32_t type);

  std::list<sReport> filteredReports_;
  cCountry* selectedCountry_ = nullptr;
  std::int32_t selectedType_ = kNoType;
  std::int32_t statsLayout_ = -1;
};

// The string-base key (or, for "Victory points", the text itself) and the
// type code of each row of the two report-type tabs.
struct sReportTypeRow {
  const char* text;
  std::int32_t type;
};
std::span<const sReportTypeRow> ReportTypeRows(int tab);

}  // namespace tr
