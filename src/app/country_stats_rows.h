// A country's statistics as the rows of a list: general values, resources,
// units and technology, one tab each. The scenario settings menu and the
// reports dialog show the same tables; they differ only in the alliance rows
// of the general tab.
#pragma once

#include <array>
#include <string_view>

namespace tr {

class cCountry;
class CDXUTListBox;

enum eCountryStatsTab : int {
  kStatsGeneralTab = 0,
  kStatsResourcesTab = 1,
  kStatsUnitsTab = 2,
  kStatsTechnologyTab = 3,
};

// The tab titles of the four tables, in tab order.
inline constexpr std::array<const char*, 4> kCountryStatsTabKeys = {
    "scenario_settings_tab_stats_general", "scenario_settings_tab_stats_resources",
    "scenario_settings_tab_stats_units", "scenario_settings_tab_stats_technology"};

// What the general tab says of alliances.
enum class eAllianceRows {
  // A neutral gets its alliance entry, alliance, orientation and zone of
  // influence; a member of an alliance none of these.
  kNeutralOnly,
  // A neutral gets its alliance entry, any other country its alliance; every
  // country then its orientation and zone of influence.
  kEveryCountry,
};

// Sets the list's columns for the tab and adds its rows for the country
// after those already there; nothing for another tab.
void FillCountryStatistics(CDXUTListBox& list, const cCountry& country, int tab, eAllianceRows alliance);

}  // namespace tr
