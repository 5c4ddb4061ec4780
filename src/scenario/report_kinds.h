// The kinds of report, each a number stored with the report in "reports.dat"
// and offered by the reports dialog: the makers of reports and the dialog
// name them from this one list.
#pragma once

#include <cstdint>

namespace tr {

enum eReportKind : std::int32_t {
  kReportLandAttack = 0,
  kReportLandDefence = 1,
  kReportAirToAir = 2,
  kReportAirToAirSuffered = 3,
  kReportAirStrike = 8,
  kReportAirStrikeSuffered = 9,
  kReportStrategicBombardment = 12,
  kReportStrategicBombardmentSuffered = 13,
  kReportShoreBombardment = 14,
  kReportShoreBombardmentSuffered = 15,
  kReportSeaZoneAttack = 16,
  kReportRaiders = 18,
  kReportSeaBattle = 20,
  kReportSiege = 21,
  kReportProduction = 22,
  kReportResearch = 23,
  kReportConvoys = 24,
  kReportEventChoice = 25,
  kReportUpkeep = 26,
  kReportGeneralSummary = 28,
  kReportVictoryPoints = 29,
  kReportCheating = 30,
};

}  // namespace tr
