#include "app/country_stats_rows.h"

#include <utility>

#include "foundation/format.h"
#include "foundation/string_base.h"
#include "gui/list_box.h"
#include "units/unit.h"
#include "world/panstwo.h"

namespace tr {
namespace {

// The nuclear research slot, after the navy's.
constexpr int kNuclearBombTech = kNavyTech + 1;

class StatsRows {
 public:
  explicit StatsRows(CDXUTListBox& list) : list_(list) {}
  template <typename... Values>
  void Add(std::u16string_view format, const char* key, const Values&... values) {
    list_.AddItem(Format(format, GetText(key), values...), 0);
  }

 private:
  CDXUTListBox& list_;
};

std::u16string AllianceText(const cCountry& country) {
  std::u16string text;
  country.GetAllianceName(text, true);
  return text;
}

void AddOrientationAndZone(StatsRows& rows, const cCountry& country) {
  std::u16string orientation;
  std::u16string zone;
  country.GetOrientationName(orientation, true);
  country.GetZoneOfInfluenceName(zone, true);
  rows.Add(u"%s;%s", "country_stats_political_orientation", orientation);
  rows.Add(u"%s;%s", "country_stats_zone_of_influence", zone);
}

void FillGeneral(StatsRows& rows, const cCountry& country, eAllianceRows alliance) {
  const bool neutral = country.alliance == kNeutral;
  if (neutral) rows.Add(u"%s;%i%%", "country_stats_alliance_entry", country.allianceEntry);
  if (alliance == eAllianceRows::kEveryCountry) {
    if (!neutral) rows.Add(u"%s;%s", "country_stats_alliance", AllianceText(country));
    AddOrientationAndZone(rows, country);
  } else if (neutral) {
    rows.Add(u"%s;%s", "country_stats_alliance", AllianceText(country));
    AddOrientationAndZone(rows, country);
  }
  rows.Add(u"%s;%i", "country_stats_political_strength", country.politicalStrength);
  rows.Add(u"%s;%.0f%%", "country_stats_social_unrest", country.socialUnrest);
  rows.Add(u"%s;%.0f%%", "country_stats_war_economy", country.warEconomy);
  rows.Add(u"%s;%i", "country_stats_land_warfare_doctrine_level", country.GetTechLevel(kDoctrineTech));
  rows.Add(u"%s;%i", "country_stats_nuclear_bombs", country.nuclearBombs);
}

void FillResources(StatsRows& rows, const cCountry& country) {
  rows.Add(u"%s;%.0f", "country_stats_production_points", country.productionPoints);
  rows.Add(u"%s;%s", "country_stats_diplomacy_points",
           Format(GetText("country_stats_diplomacy_points_value"), country.diplomaticPoints, country.dpGrowthPerMonth));
  rows.Add(u"%s;%i", "country_stats_strategic_movement_points", country.strategicMovementPoints);
  rows.Add(u"%s;%i", "country_stats_sea_transport_points", country.seaTransportPoints);
  rows.Add(u"%s;%i", "country_stats_amphibious_invasion_points", country.invasionPoints);
}

void FillUnits(CDXUTListBox& list, const cCountry& country) {
  static constexpr std::array<int, 16> kTypes = {0, 1, 2, 3, 4, 5, 6, 20, 21, 22, 40, 41, 42, 43, 44, 45};
  UnitTypeCountTable table;
  country.CountUnitsByType(table);
  // Rows 16 to 31 of the table count the types in exactly this order.
  for (std::size_t i = 0; i < kTypes.size(); ++i) {
    const auto& counts = table[16 + i];
    list.AddItem(Format(u"%s;%i;%i", GetUnitTypeName(kTypes[i]), counts[0], counts[1]), 0);
  }
}

void FillTechnology(StatsRows& rows, const cCountry& country) {
  static constexpr std::array<std::pair<const char*, int>, 6> kTechs = {{
      {"country_stats_technology_artillery", kArtilleryTech},
      {"country_stats_technology_tanks", kTanksTech},
      {"country_stats_technology_aircrafts", kAircraftTech},
      {"country_stats_technology_submarines", kSubmarineTech},
      {"country_stats_technology_warships", kNavyTech},
      {"country_stats_technology_nuclear_bomb", kNuclearBombTech},
  }};
  for (const auto& [key, slot] : kTechs) rows.Add(u"%s;%i", key, country.GetTechLevel(slot));
}

}  // namespace

void FillCountryStatistics(CDXUTListBox& list, const cCountry& country, int tab, eAllianceRows alliance) {
  StatsRows rows(list);
  switch (tab) {
    case kStatsGeneralTab:
      list.SetColumns(2, GetText("scenario_settings_country_stats_general_columns"), 50, 50);
      FillGeneral(rows, country, alliance);
      return;
    case kStatsResourcesTab:
      list.SetColumns(2, GetText("scenario_settings_country_stats_resources_columns"), 50, 50);
      FillResources(rows, country);
      return;
    case kStatsUnitsTab:
      list.SetColumns(3, GetText("scenario_settings_country_stats_units_columns"), 60, 20, 20);
      FillUnits(list, country);
      return;
    case kStatsTechnologyTab:
      list.SetColumns(2, GetText("scenario_settings_country_stats_technology_columns"), 50, 50);
      FillTechnology(rows, country);
      return;
    default:
      return;
  }
}

}  // namespace tr
