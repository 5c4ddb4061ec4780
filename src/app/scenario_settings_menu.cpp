// The scenario settings menu: its controls, the country list with the
// controller and difficulty controls, the events and the way back.
#include "app/scenario_settings_menu.h"

#include <algorithm>
#include <vector>

#include "app/framework.h"
#include "app/mainmenu.h"
#include "app/menu_wallpaper.h"
#include "app/modal_stack.h"
#include "app/scenario_menu.h"
#include "app/scenario_settings_parts.h"
#include "dialogs/dialog_base.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "gui/check_box.h"
#include "gui/combo_box.h"
#include "gui/edit_box.h"
#include "gui/image.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "gui/tab_frame.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr int kControllerGroup = 1;
constexpr int kDifficultyGroup = 2;
constexpr int kFirstCountriesTabControl = 209;
constexpr int kLastCountriesTabControl = 233;
constexpr int kLastPbemTabControl = 244;

void AddRadio(CDXUTDialog& dialog, int id, int group, const char* key, bool withHint) {
  dialog.AddRadioButtonAt(id, group, GetText(key), withHint ? GetText(std::string(key) + "_hint") : u"");
}

void AddLabel(CDXUTDialog& dialog, int id, const char* key) { dialog.AddStaticAt(id, GetText(key)); }

}  // namespace

cScenarioSettingsMenu::cScenarioSettingsMenu() {
  LogLine(u"----- Scenario Settings Menu -----");
  LoadMenuPicture(kScenarioSettingsWallpaper, u"data\\gfx\\wallpaper_scenariosettings.png");
  SetVisible(false);
  cGame& game = *gGame;
  // The scenario author's readable listing, written beside each event file.
  if (game.events) game.events->ListAllEvents();

  CDXUTStatic* title = nullptr;
  if (Succeeded(AddStaticAt(kSettingsTitle, RememberedScenarioName(), &title))) {
    title->SetTextElement(2);
    title->SetTextFormat(DT_CENTER | DT_VCENTER);
  }
  AddMenuFrame(*this, kSettingsFrame);
  CDXUTTabFrame* tabs = nullptr;
  AddTabFrameAt(kSettingsTabs, &tabs);
  AddMenuButton(*this, kStartButton, "scenario_settings_ok");
  AddMenuButton(*this, kBackButton, "scenario_settings_back");

  CDXUTListBox* countries = nullptr;
  if (Succeeded(AddListBoxAt(kCountryList, 0, &countries))) {
    countries->SetColumns(3, GetText("scenario_settings_countries_columns"), 40, 30, 30);
  }
  CDXUTStatic* name = nullptr;
  if (Succeeded(AddStaticAt(kCountryName, u"", &name))) {
    name->SetTextElement(2);
    name->SetTextFormat(DT_WORDBREAK | DT_VCENTER);
  }
  const cCountry* first = game.countries.empty() ? nullptr : game.countries.front().get();
  AddImageAt(kCountryFlag, first != nullptr ? FlagPicture(*first) : nullptr, Rect{0, 0, 128, 85},
             GetText("scenario_settings_flag_hint"));
  CDXUTTabFrame* statsTabs = nullptr;
  AddTabFrameAt(kStatsTabs, &statsTabs);
  AddListBoxAt(kStatsList, 0);
  if (statsTabs != nullptr) {
    for (const char* key : {"scenario_settings_tab_stats_general", "scenario_settings_tab_stats_resources",
                            "scenario_settings_tab_stats_units", "scenario_settings_tab_stats_technology"}) {
      statsTabs->AddTab(GetText(key), 0, 0, -1);
    }
  }
  AddLabel(*this, kControlledByLabel, "scenario_settings_controlled_by");
  AddRadio(*this, kComputerRadio, kControllerGroup, "scenario_settings_ai_controlled", true);
  AddRadio(*this, kHumanRadio, kControllerGroup, "scenario_settings_human_controlled", true);
  AddComboBoxAt(kPlayerCombo, GetText("scenario_settings_pbem_player_hint"));
  SetControlEnabled(kPlayerCombo, game.pbemGame != 0);
  AddLabel(*this, kDifficultyLabel, "scenario_settings_difficulty");
  AddRadio(*this, kVeryHardRadio, kDifficultyGroup, "scenario_settings_vary_hard", true);
  AddRadio(*this, kVeryHardRadio + 1, kDifficultyGroup, "scenario_settings_hard", false);
  AddRadio(*this, kVeryHardRadio + 2, kDifficultyGroup, "scenario_settings_normal", false);
  AddRadio(*this, kVeryHardRadio + 3, kDifficultyGroup, "scenario_settings_easy", false);
  AddRadio(*this, kVeryEasyRadio, kDifficultyGroup, "scenario_settings_very_easy", false);

  AddCheckBoxAt(kPbemCheckBox, GetText("scenario_settings_pbem_game"), GetText("scenario_settings_pbem_game_hint"),
                game.pbemGame != 0);
  const bool fromSave = game.loadedGame != 0;
  AddTextField(this, kPbemNameField, fromSave ? std::u16string_view(game.pbemGameName) : u"New pbem",
               GetText("scenario_settings_pbem_game_name_hint"), kPbemNameField - 1,
               GetText("scenario_settings_pbem_game_name"));
  SetControlEnabled(kPbemNameField, !fromSave);
  AddLabel(*this, kPlayersLabel, "scenario_settings_pbem_players");
  CDXUTListBox* players = nullptr;
  if (Succeeded(AddListBoxAt(kPlayerList, 0, &players))) {
    players->SetColumns(2, GetText("scenario_settings_pbem_players_columns"), 40, 60);
  }
  AddTextField(this, kPlayerNameField, kNewPlayerName, GetText("scenario_settings_pbem_player_name_hint"),
               kPlayerNameField - 1, GetText("scenario_settings_pbem_player_name"));
  AddTextField(this, kPlayerEmailField, kNewPlayerEmail, GetText("scenario_settings_pbem_player_email_hint"),
               kPlayerEmailField - 1, GetText("scenario_settings_pbem_player_email"));
  for (int field : {kPlayerNameField, kPlayerEmailField}) SetControlEnabled(field, true);
  AddMenuButton(*this, kSavePlayerButton, "scenario_settings_pbem_player_save");
  AddMenuButton(*this, kRemovePlayerButton, "scenario_settings_pbem_player_remove");
  SetControlEnabled(kRemovePlayerButton, false);
  FillPbemPlayers();
  ShowMinimap();
  AddStatic(kSettingsVersion, VersionLine(), 30, BackBufferHeight() - 30, 1024, 30);

  if (tabs != nullptr) {
    tabs->AddTab(GetText("scenario_settings_tab_countries"), 0, kFirstCountriesTabControl, kLastCountriesTabControl);
    tabs->AddTab(GetText("scenario_settings_tab_pbem"), 0, kPbemCheckBox, kLastPbemTabControl);
  }
  LogLine(u"Tabs added");
  FillCountryList();
  LogLine(u"Countries updated");
  if (countries != nullptr && countries->GetSize() > 0) countries->SelectItem(0, true);
  LogLine(u"Country selected");
  if (countries != nullptr) selectedCountry_ = static_cast<std::int32_t>(GetSelectedListItemData(*countries));
  FillCountryStats();
  RefreshControllerControls();
  SetVisible(true);
  LogLine(u"Menu created");
}

cCountry* cScenarioSettingsMenu::selectedCountry() const {
  if (gGame == nullptr || selectedCountry_ < 1 || selectedCountry_ > gGame->CountryCount()) return nullptr;
  return gGame->countries[static_cast<std::size_t>(selectedCountry_ - 1)].get();
}

std::u16string cScenarioSettingsMenu::ControllerText(const cCountry& country) const {
  if (!country.humanControlled) return GetText("scenario_settings_ai_controlled");
  // A player removed from the list leaves its countries with a number no player has.
  if (gGame->pbemGame) {
    if (const sPbemPlayer* player = FindPbemPlayer(*gGame, country.pbemPlayerId)) return player->name;
  }
  return GetText("scenario_settings_human_controlled");
}

std::u16string cScenarioSettingsMenu::CountryRow(const cCountry& country) const {
  return Format(u" %s;%s;%s", country.name, ControllerText(country), DifficultyText(country.difficulty));
}

void cScenarioSettingsMenu::PlayersChanged() {
  FillPbemPlayers();
  if (auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kCountryList, kControlListBox))) {
    for (int i = 0; i < list->GetSize(); ++i) {
      sListBoxItem* row = list->GetItem(i);
      if (const cCountry* country = gGame->GetCountry(static_cast<int>(row->data))) row->text = CountryRow(*country);
    }
  }
  RefreshControllerControls();
}

void cScenarioSettingsMenu::FillCountryList() {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kCountryList, kControlListBox));
  if (list == nullptr) return;
  list->RemoveAllItems();
  std::vector<const cCountry*> shown;
  for (const auto& country : gGame->countries) {
    if (IsListedCountry(*country)) shown.push_back(country.get());
  }
  std::stable_sort(shown.begin(), shown.end(), [](const cCountry* a, const cCountry* b) { return a->name < b->name; });
  for (const cCountry* country : shown) {
    list->AddItem(CountryRow(*country), static_cast<std::uint32_t>(country->id));
  }
  if (shown.empty()) {
    selectedCountry_ = 0;
    return;
  }
  selectedCountry_ = shown.front()->id;
  list->SelectItem(0, true);
}

void cScenarioSettingsMenu::RefreshControllerControls() {
  const cCountry* country = selectedCountry();
  auto* tabs = static_cast<CDXUTTabFrame*>(GetControlOfType(kSettingsTabs, kControlTabFrame));
  const bool shown = country != nullptr && tabs != nullptr && tabs->GetSelectedTab() == 0;
  for (int id : {kComputerRadio, kHumanRadio, kPlayerCombo}) {
    if (CDXUTControl* control = GetControl(id)) control->SetVisible(shown);
  }
  for (int id = kVeryHardRadio; id <= kVeryEasyRadio; ++id) {
    if (CDXUTControl* control = GetControl(id)) control->SetVisible(shown);
  }
  if (!shown) return;

  auto* human = static_cast<CDXUTRadioButton*>(GetControlOfType(kHumanRadio, kControlRadioButton));
  auto* computer = static_cast<CDXUTRadioButton*>(GetControlOfType(kComputerRadio, kControlRadioButton));
  CDXUTRadioButton* controller = country->humanControlled ? human : computer;
  if (controller != nullptr) controller->SetCheckedState(true, true, false, false);
  if (CDXUTControl* combo = GetControl(kPlayerCombo)) combo->SetVisible(country->humanControlled && gGame->pbemGame);

  ClearRadioButtonGroup(kDifficultyGroup, true);
  if (country->difficulty >= 0 && country->difficulty <= 4) {
    const int id = kVeryHardRadio + country->difficulty;
    if (auto* radio = static_cast<CDXUTRadioButton*>(GetControlOfType(id, kControlRadioButton))) {
      radio->SetCheckedState(true, true, false, true);
    }
  }
  if (country->HasPbemPlayer()) {
    if (auto* combo = static_cast<CDXUTComboBox*>(GetControlOfType(kPlayerCombo, kControlComboBox))) {
      combo->SetSelectedByData(static_cast<std::uint32_t>(country->pbemPlayerId));
    }
  }
}

void cScenarioSettingsMenu::ApplyControllers() {
  cCountry* country = selectedCountry();
  if (country == nullptr) return;
  auto* human = static_cast<CDXUTRadioButton*>(GetControlOfType(kHumanRadio, kControlRadioButton));
  auto* combo = static_cast<CDXUTComboBox*>(GetControlOfType(kPlayerCombo, kControlComboBox));
  if (human != nullptr && human->GetChecked()) {
    country->humanControlled = 1;
    if (gGame->pbemGame) {
      if (combo != nullptr) combo->SetVisible(true);
      // With no player defined yet the country waits for one: number 0.
      const sComboBoxItem* item = combo != nullptr ? combo->GetSelectedItem() : nullptr;
      country->pbemPlayerId = item != nullptr ? static_cast<std::int32_t>(item->data) : 0;
    } else if (combo != nullptr) {
      combo->SetVisible(false);
    }
  } else {
    if (combo != nullptr) combo->SetVisible(false);
    country->humanControlled = 0;
  }
  int difficulty = 4;
  for (int d = 0; d < 4; ++d) {
    auto* radio = static_cast<CDXUTRadioButton*>(GetControlOfType(kVeryHardRadio + d, kControlRadioButton));
    if (radio != nullptr && radio->GetChecked()) {
      difficulty = d;
      break;
    }
  }
  country->difficulty = difficulty;
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kCountryList, kControlListBox));
  if (list == nullptr) return;
  if (sListBoxItem* row = list->GetItem(list->GetSelectedIndex())) {
    row->text = CountryRow(*country);
  }
}

void cScenarioSettingsMenu::OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl*) {
  switch (controlId) {
    case kSettingsTabs:
      controllersStale_ = true;
      return;
    case kCountryList:
    case kStatsTabs:
      if (auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kCountryList, kControlListBox))) {
        selectedCountry_ = static_cast<std::int32_t>(GetSelectedListItemData(*list));
      }
      FillCountryStats();
      RefreshControllerControls();
      return;
    case kComputerRadio:
    case kHumanRadio:
    case kPlayerCombo:
      ApplyControllers();
      return;
    case kPbemCheckBox:
      if (auto* box = static_cast<CDXUTCheckBox*>(GetControlOfType(kPbemCheckBox, kControlCheckBox))) {
        TogglePbemGame(box->GetChecked());
      }
      return;
    case kPbemNameField:
      if (event == GuiEventEditChanged) DropRefusedNameCharacters(*this, kPbemNameField);
      return;
    case kPlayerList:
      SelectPlayerRow();
      return;
    case kSavePlayerButton:
      SavePlayer();
      return;
    case kRemovePlayerButton:
      RemovePlayer();
      return;
    case kBackButton:
      ReturnToScenarioMenu();
      return;
    case kStartButton:
      TryStart();
      return;
    default:
      if (controlId >= kVeryHardRadio && controlId <= kVeryEasyRadio) ApplyControllers();
      return;
  }
}

void cScenarioSettingsMenu::TogglePbemGame(bool checked) {
  SetControlEnabled(kPlayerCombo, checked);
  gGame->pbemGame = checked ? 1 : 0;
  ClearHumanControllers();
  FillCountryList();
  FillCountryStats();
  RefreshControllerControls();
}

void cScenarioSettingsMenu::OnKeyboard(std::uint32_t key, bool down, bool alt) {
  // A refusal's message box takes the keys while it is open, so Escape closes
  // it rather than throwing the loaded game away.
  if (TopDialog != nullptr && TopDialog->GetVisible()) {
    TopDialog->OnKeyboard(key, down, alt);
    return;
  }
  if (down && key == VK_ESCAPE) ReturnToScenarioMenu();
}

void cScenarioSettingsMenu::OnFrameMove(Graphics&, double, float) {
  if (!controllersStale_) return;
  controllersStale_ = false;
  RefreshControllerControls();
}

void cScenarioSettingsMenu::Render(float elapsed) {
  DrawMenuWallpaper(kScenarioSettingsWallpaper);
  OnRender(elapsed);
}

void ReturnToScenarioMenu() {
  DestroyGame();
  ReleaseMenuPicture(kScenarioSettingsWallpaper);
  auto* menu = new cScenarioMenu();
  CurrentMenu = menu;
  menu->FillLists();
}

int GetSelectedListItem(const CDXUTListBox& list, int previous) { return list.GetSelectedIndex(previous); }

std::uint32_t GetSelectedListItemData(CDXUTListBox& list, std::uint32_t fallback) {
  const sListBoxItem* item = list.GetItem(list.GetSelectedIndex(-1));
  return item != nullptr ? item->data : fallback;
}

}  // namespace tr
