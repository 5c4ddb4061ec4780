// The scenario settings menu's view of a country: its name, flag and the
// statistics, and the minimap prepared for the game screen.
#include <array>

#include "app/country_stats_rows.h"
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
#include "world/folder_path.h"
#include "world/gra.h"

namespace tr {
namespace {

// The country whose turn runs the events check instead of a player's turn.
constexpr std::int32_t kSpecialCountry = 1;

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
  FillCountryStatistics(*list, *country, tabs->GetSelectedTab(), eAllianceRows::kNeutralOnly);
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
