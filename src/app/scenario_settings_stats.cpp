// The scenario settings menu's view of a country: its name, flag and the
// statistics tabs, and the minimap prepared for the game screen.
#include <array>

#include "app/eyecandies.h"
#include "app/game_textures.h"
#include "app/minimap_texture.h"
#include "app/scenario_settings_menu.h"
#include "app/scenario_settings_parts.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "gui/image.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "gui/tab_frame.h"
#include "scenario/scenario_paths.h"
#include "units/unit.h"
#include "world/folder_path.h"
#include "world/gra.h"

namespace tr {
namespace {

// The country whose turn runs the events check instead of a player's turn.
constexpr std::int32_t kSpecialCountry = 1;

enum eStatsTab : int { kGeneralTab = 0, kResourcesTab = 1, kUnitsTab = 2, kTechnologyTab = 3 };

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

void FillGeneral(StatsRows& rows, const cCountry& country) {
  if (country.alliance == kNeutral) {
    std::u16string alliance;
    std::u16string orientation;
    std::u16string zone;
    country.GetAllianceName(alliance, true);
    country.GetOrientationName(orientation, true);
    country.GetZoneOfInfluenceName(zone, true);
    rows.Add(u"%s;%i%%", "country_stats_alliance_entry", country.allianceEntry);
    rows.Add(u"%s;%s", "country_stats_alliance", alliance);
    rows.Add(u"%s;%s", "country_stats_political_orientation", orientation);
    rows.Add(u"%s;%s", "country_stats_zone_of_influence", zone);
  }
  rows.Add(u"%s;%i", "country_stats_political_strength", country.politicalStrength);
  rows.Add(u"%s;%.0f%%", "country_stats_social_unrest", country.socialUnrest);
  rows.Add(u"%s;%.0f%%", "country_stats_war_economy", country.warEconomy);
  rows.Add(u"%s;%i", "country_stats_land_warfare_doctrine_level", country.GetTechLevel(2));
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
      {"country_stats_technology_artillery", 0},
      {"country_stats_technology_tanks", 1},
      {"country_stats_technology_aircrafts", 3},
      {"country_stats_technology_submarines", 4},
      {"country_stats_technology_warships", 5},
      {"country_stats_technology_nuclear_bomb", 6},
  }};
  for (const auto& [key, slot] : kTechs) rows.Add(u"%s;%i", key, country.GetTechLevel(slot));
}

}  // namespace

bool IsListedCountry(const cCountry& country) {
  return country.isActive != 0 && country.politicalStrength != -1 && country.specialFlags != kSpecialCountry;
}

std::u16string DifficultyText(int difficulty) {
  static constexpr std::array<const char*, 5> kKeys = {"scenario_settings_very_hard", "scenario_settings_hard",
                                                       "scenario_settings_normal", "scenario_settings_easy",
                                                       "scenario_settings_very_easy"};
  if (difficulty < 0 || difficulty > 4) return {};
  return GetText(kKeys[static_cast<std::size_t>(difficulty)]);
}

Texture* FlagPicture(const cCountry& country) {
  // The game's picture store owns it; the image control only names it.
  return const_cast<Texture*>(FindGameTexture(country.GetFlagTexture()));
}

void cScenarioSettingsMenu::FillCountryStats() {
  const cCountry* country = selectedCountry();
  if (country == nullptr) return;
  if (auto* name = static_cast<CDXUTStatic*>(GetControlOfType(kCountryName, kControlStatic))) {
    name->SetText(country->name);
  }
  if (auto* flag = static_cast<CDXUTImage*>(GetControlOfType(kCountryFlag, kControlImage))) {
    flag->SetTexture(FlagPicture(*country));
  }
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kStatsList, kControlListBox));
  auto* tabs = static_cast<CDXUTTabFrame*>(GetControlOfType(kStatsTabs, kControlTabFrame));
  if (list == nullptr || tabs == nullptr) return;
  list->RemoveAllItems();
  StatsRows rows(*list);
  switch (tabs->GetSelectedTab()) {
    case kGeneralTab:
      list->SetColumns(2, GetText("scenario_settings_country_stats_general_columns"), 50, 50);
      FillGeneral(rows, *country);
      return;
    case kResourcesTab:
      list->SetColumns(2, GetText("scenario_settings_country_stats_resources_columns"), 50, 50);
      FillResources(rows, *country);
      return;
    case kUnitsTab:
      list->SetColumns(3, GetText("scenario_settings_country_stats_units_columns"), 60, 20, 20);
      FillUnits(*list, *country);
      return;
    case kTechnologyTab:
      list->SetColumns(2, GetText("scenario_settings_country_stats_technology_columns"), 50, 50);
      FillTechnology(rows, *country);
      return;
    default:
      return;
  }
}

void cScenarioSettingsMenu::ShowMinimap() {
  cGame& game = *gGame;
  if (!game.map) return;
  std::u16string picture;
  if (game.loadedGame == 0) {
    picture = FolderFilePath(game.folderTemplate, u"minimap.png");
  } else if (IsSafeFileName(game.scenarioName)) {
    // A save keeps neither the scenery nor the minimap: its scenario has them.
    const std::u16string folder = TemplateFolder(MakeFolderTemplate(kScenarioFolderTemplate, game.scenarioName));
    LoadEyecandies(*game.map, ResolveGamePath(folder));
    picture = ScenarioFilePath(game.scenarioName, u"minimap.png");
  } else {
    LogFormat(u"Save names the scenario \"%s\", which is not a folder name: no minimap loaded", game.scenarioName);
  }
  if (!picture.empty()) RenderMinimapTexture(*game.map, picture);
  LogLine(u"Minimap loaded");
}

}  // namespace tr
