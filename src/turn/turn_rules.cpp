#include "turn/turn_rules.h"

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "scenario/report_kinds.h"
#include "turn/gra_endturn.h"
#include "turn/theads.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/presentation.h"

namespace tr {
namespace {


// The two orientations a camp's countries may turn to when the camp's
// alliance is gone (first for a roll of 1, second for 2).
struct sRealignment {
  int from[2];
  int to[2];
};

sRealignment RealignmentOf(int leaderCode) {
  switch (leaderCode) {
    case kAlliesLeader: return {{kFirmDemocracy, kProAllied}, {kProAxis, kProCommunist}};
    case kAxisLeader: return {{kNationalistRegime, kProAxis}, {kProAllied, kProCommunist}};
    default: return {{kCommunistRegime, kProCommunist}, {kProAllied, kProAxis}};
  }
}

// The surrendered country led its alliance: a successor takes over, or the
// alliance is gone and its camp turns to the others.
void ReplaceLeader(cGame& game, cCountry& fallen) {
  const int leaderCode = fallen.alliance;
  std::u16string allianceName;
  fallen.GetAllianceName(allianceName, true);
  fallen.alliance = kNeutral;
  if (cCountry* successor = ChooseNewAllianceLeader(game, leaderCode)) {
    successor->alliance = leaderCode;
    Presentation().ShowTextAndWait(
        Format(GetText("leader_of_%s_eliminated!"), allianceName),
        Format(GetText("with_%s_annexed,_%s_becomes_new_leader_of_%s"), fallen.name, successor->name, allianceName));
    return;
  }
  const sRealignment realignment = RealignmentOf(leaderCode);
  for (const auto& country : game.countries) {
    if (country->orientation != realignment.from[0] && country->orientation != realignment.from[1]) continue;
    country->orientation = RandomRange(1, 2) == 1 ? realignment.to[0] : realignment.to[1];
    LogFormat(GetText("since_%s_is_eliminated_%s_changes_alignment_to_%i"), allianceName, country->name,
              country->orientation);
  }
  Presentation().ShowTextAndWait(Format(GetText("%s_eliminated!"), allianceName),
                                 GetText("last_country_in_alliance_has_been_annexed._alliance_ceases_to_exist."));
}

}  // namespace

void CheckSurrenders(cGame& game) {
  LogLine(u"CHECKING FOR SURRENDERS...");
  for (const auto& c : game.countries) {
    cCountry& country = *c;
    if (!country.isActive || !country.HasLostAllVictoryCities()) continue;
    const sCountryReport box = country.Surrender();
    Presentation().ShowTextAndWait(box.title, box.text);
    if (WorkerMustStop(game)) return;
    if (country.alliance >= kAlliesLeader && country.alliance <= kCominternLeader) ReplaceLeader(game, country);
    if (WorkerMustStop(game)) return;
  }
  LogLine(u"CHECKING FOR SURRENDERS FINISHED");
}

void CheckSieges(cGame& game) {
  LogLine(u"CHECKING FOR SIEGES...");
  for (const auto& c : game.cities) {
    cCity& city = *c;
    LogFormat(u"Checking city %s", city.name);
    if (!IsBesieged(city)) continue;
    std::u16string siegeReport;
    CheckSiege(city, siegeReport);
    const sHex* hex = game.map ? game.map->GetHex(city.x, city.y) : nullptr;
    const cCountry* controller = hex ? hex->GetControllerCountry() : nullptr;
    const std::u16string controllerName = controller ? controller->name : std::u16string();
    for (int id = 1; id <= game.CountryCount(); ++id) {
      game.reports.Add(kReportSiege, id, Format(u"Siege of %s (%s)\n\n%s", city.name, controllerName, siegeReport));
    }
    Presentation().ShowTextAndWait(Format(u"Siege of %s (%s)\n\n", city.name, controllerName), siegeReport);
    if (WorkerMustStop(game)) return;
  }
  LogLine(u"CHECKING FOR SIEGES FINISHED");
}

void CalculateProduction(cGame& game) {
  LogLine(u"CALCULATING PRODUCTION...");
  game.relations.UpdateLossesShares();
  for (const auto& country : game.countries) {
    if (!TakesPart(*country)) continue;
    const sCountryReport report = country->CollectProduction();
    game.reports.Add(kReportProduction, country->id, Format(u"%s\n\n%s", report.title, report.text));
  }
  LogLine(u"CALCULATING PRODUCTION FINISHED.");
}

void CalculateUpkeep(cGame& game) {
  LogLine(u"CALCULATING UNITS UPKEEP COSTS...");
  for (const auto& country : game.countries) {
    if (!TakesPart(*country)) continue;
    const sCountryReport report = country->PayUnitUpkeep();
    game.reports.Add(kReportUpkeep, country->id, Format(GetText("report_upkeep_summary_main_content"), report.text));
  }
  LogLine(u"CALCULATING UNITS UPKEEP COSTS FINISHED");
}

void CalculateResearch(cGame& game) {
  LogLine(u"CALCULATING RESEARCH...");
  if (IsMonthlyImpulse(game)) {
    for (const auto& country : game.countries) {
      if (!TakesPart(*country)) continue;
      country->AddDiplomaticPoints(country->dpGrowthPerMonth);
      const sCountryReport report = country->ProgressResearch();
      game.reports.Add(kReportResearch, country->id, Format(GetText("report_research_main_content"), report.text));
      country->CheckDoctrineLevel();
    }
  }
  LogLine(u"CALCULATING RESEARCH FINISHED");
}

}  // namespace tr
