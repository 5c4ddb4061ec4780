#include "dialogs/preferences_dialog.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/mainmenu.h"
#include "app/map_skin.h"
#include "app/menu.h"
#include "app/modal_stack.h"
#include "app/music_player.h"
#include "app/units_skin.h"
#include "app/frame_utils.h"
#include "dialogs/small_dialog_parts.h"
#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "gui/check_box.h"
#include "gui/combo_box.h"
#include "gui/frame.h"
#include "gui/hint_box.h"
#include "gui/image.h"
#include "gui/list_box.h"
#include "gui/slider.h"
#include "gui/static.h"
#include "gui/tab_frame.h"
#include "platform/codes.h"
#include "platform/desktop_mode.h"
#include "platform/frame.h"
#include "world/gra.h"
#include "world/panstwo.h"

namespace tr {

std::vector<sResolution> gAvailableResolutions;

namespace {

constexpr char kThisFile[] = "preferences_dialog.cpp";

constexpr int kResolutionLabel = 84, kFpsLabel = 87, kUnitsSkinLabel = 90, kMapSkinLabel = 96,
              kBorderColourLabel = 103;
constexpr int kSliderMaximum = 20;

// A check box and the setting it stands for.
struct sCheckSetting {
  int id;
  const char* textKey;
  const char* hintKey;  // null: no hint
  bool* value;
  const char* iniKey;
};
const sCheckSetting kChecks[] = {
    {cDialogUstawien::kDynamicUnitsCheck, "pref_units_dynamic_display", nullptr, &gDynamicUnitAppearance,
     "UnitsDisplay/DynamicAppearance"},
    {cDialogUstawien::kUnitNamesCheck, "pref_show_unit_name", nullptr, &gShowUnitNames, "UnitsDisplay/ShowName"},
    {cDialogUstawien::kGridCheck, "pref_show_grid", nullptr, &gShowGrid, "MapDisplay/ShowGrid"},
    {cDialogUstawien::kWeatherCheck, "pref_show_weather", nullptr, &gShowWeather, "MapDisplay/ShowWeather"},
    {cDialogUstawien::kCityNamesCheck, "pref_show_city_names", nullptr, &gShowCityNames, "MapDisplay/ShowCityName"},
    {cDialogUstawien::kSeaZoneNamesCheck, "pref_show_sea_zones_names", nullptr, &gShowSeaZoneNames,
     "MapDisplay/ShowSeaZoneName"},
    {cDialogUstawien::kAPLeftCheck, "pref_show_ap_left", nullptr, &gShowAPLeft, "MapDisplay/ShowAPLeft"},
    {cDialogUstawien::kAlliesActionsCheck, "pref_units_show_allies_actions", "pref_units_show_allies_actions_hint",
     &gShowAlliesActions, "Gameplay/ShowAlliesActions"},
};

const sCheckSetting* CheckSetting(int id) {
  for (const sCheckSetting& c : kChecks) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

// The delay row whose slider has the id; -1 for none.
int DelayRowOfSlider(int id) {
  for (std::size_t r = 0; r < gDelaySettings.size(); ++r) {
    if (gDelaySettings[r].controlId == id) return static_cast<int>(r);
  }
  return -1;
}

int DelaySliderMinimum(int row) { return row == kDelayAICombatResult || row == kDelayHumanCombatResult ? -1 : 0; }

// The preview pictures' cells of the map skin's "others.png".
Rect PreviewSource(int id) {
  if (id <= 106) return {1, 669, 167, 835};
  if (id == 107) return {167, 669, 333, 835};
  return {333, 669, 499, 835};
}

int SliderValue(const CDXUTDialog& dialog, int id) {
  auto* slider = static_cast<CDXUTSlider*>(dialog.GetControlOfType(id, kControlSlider));
  return slider != nullptr ? slider->GetValue() : 0;
}

// The delay's label: seconds, or what a special value means for its row.
std::u16string DelayText(int row, float delayMs) {
  if (delayMs > 0.0f) return Format(GetText("pref_delay_%.1f"), delayMs / 1000.0f);
  if (delayMs < 0.0f) return GetText("pref_delay_wait_for_click");
  if (row == kDelayControlHint) return GetText("pref_delay_immediately");
  if (row == kDelayAICombatResult || row == kDelayHumanCombatResult) return GetText("pref_delay_dont_show");
  return Format(GetText("pref_delay_%.1f"), 0.0);
}

std::vector<std::u16string> SkinFolders(std::u16string_view prefix) {
  std::vector<std::u16string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(ResolveGamePath(u"data\\gfx"), error), end; !error && it != end;
       it.increment(error)) {
    const std::u16string name = Utf8ToUtf16(it->path().filename().string());
    std::error_code typeError;
    if (name.size() < prefix.size() || name.compare(0, prefix.size(), prefix) != 0 || !it->is_directory(typeError)) {
      continue;
    }
    names.push_back(name.substr(prefix.size()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

cDialogUstawien::cDialogUstawien() : cDialog(kDialogId, DialogRecord(kDialogId)) {
  FillResolutions();
  if (gGame == nullptr) {
    if (auto* frame = static_cast<CDXUTFrame*>(GetControlOfType(kDialogId, kControlFrame))) frame->SetDraggable(false);
  }
  CDXUTTabFrame* tabs = nullptr;
  AddTabFrameAt(kTabs, &tabs);

  // General.
  AddStaticAt(kResolutionLabel, GetText("pref_resolution"));
  CDXUTComboBox* resolutions = nullptr;
  AddComboBoxAt(kResolutionCombo, GetText("pref_resolution_hint"), &resolutions);
  AddCheckBoxAt(kWindowedCheck, GetText("pref_windowed"), GetText("pref_windowed_hint"), gWindowed);
  AddStaticAt(kFpsLabel, GetText("pref_fps_limit"));
  CDXUTComboBox* fps = nullptr;
  if (Succeeded(AddComboBoxAt(kFpsCombo, GetText("pref_fps_limit_hint"), &fps))) {
    const std::pair<const char*, int> items[] = {{"fps_no_limit", 0}, {"fps_25", 25}, {"fps_30", 30}, {"fps_60", 60}};
    for (const auto& [key, data] : items) fps->AddItem(GetText(key), static_cast<std::uint32_t>(data));
    // On the limit in force: showing "no limit" under a limit would also make that item unselectable.
    if (Failed(fps->SetSelectedByData(static_cast<std::uint32_t>(SettingsIni().GetInt("Main/FPSLimit", 0))))) {
      fps->SetSelectedByIndex(0);
    }
  }

  // Audio, then the sea-battle time-out and the allies' actions of the gameplay tab.
  AddSliderWithLabels(*this, kSoundSlider, 0, kSliderMaximum, static_cast<int>(gSfxVolume * 20.0f), 148,
                      GetText("pref_sound_volume"), 149, {});
  AddSliderWithLabels(*this, kMusicSlider, 0, kSliderMaximum, static_cast<int>(gMusicVolume * 20.0f), 151,
                      GetText("pref_music_volume"), 152, {});
  AddSliderWithLabels(*this, kSeaBattleSlider, 0, kSliderMaximum, gSeaBattleTimeout, 144,
                      GetText("pref_seabattle_delay"), 145, Format(u"%.1f sec", static_cast<double>(gSeaBattleTimeout)));
  AddSettingCheck(kAlliesActionsCheck);

  // Units.
  AddStaticAt(kUnitsSkinLabel, GetText("pref_units_skin"));
  AddSkinList(kUnitsSkinList, u"[UnitsSkin]", gUnitsSkin);
  for (int id : {kDynamicUnitsCheck, kUnitNamesCheck}) AddSettingCheck(id);

  // Gameplay: visibility and the delays (the interface tab shows rows 0 to 4).
  AddSliderWithLabels(*this, kVisibilitySlider, 0, kSliderMaximum, gFogOfWar, 111, GetText("pref_visibility_range"),
                      112, {});
  for (std::size_t r = 0; r < gDelaySettings.size(); ++r) {
    const sDelaySetting& row = gDelaySettings[r];
    AddSliderWithLabels(*this, row.controlId, DelaySliderMinimum(static_cast<int>(r)), kSliderMaximum,
                        static_cast<int>(gDelays[r] / 1000.0f), row.controlId - 2, GetText(row.captionKey),
                        row.controlId - 1, {});
  }
  AddCheckBoxAt(kEndTurnConfirmCheck, GetText("pref_show_end_turn_confirm"), {}, !DontConfirmEndTurn);

  // Map.
  AddStaticAt(kMapSkinLabel, GetText("pref_map_skin"));
  AddSkinList(kMapSkinList, u"[MapSkin]", gMapSkin);
  AddSettingCheck(kGridCheck);
  AddStaticAt(kBorderColourLabel, GetText("pref_border_color"));
  AddComboBoxAt(kBorderColourCombo);
  Texture* others = MapSkinTextures().others.GetTexture();
  for (int id = kFirstPreview; id <= kLastPreview; ++id) AddImageAt(id, others, PreviewSource(id), {}, gBorderColor);
  for (int id : {kCityNamesCheck, kSeaZoneNamesCheck, kAPLeftCheck, kWeatherCheck}) AddSettingCheck(id);
  AddButtonAt(kOkButton, GetText("pref_ok"), GetText("pref_ok_hint"));

  if (resolutions != nullptr) {
    int selected = 0;
    for (const sResolution& r : gAvailableResolutions) {
      resolutions->AddItem(Format(u"%ix%i", r.width, r.height), static_cast<std::uint32_t>(r.index));
      if (r.width == gScreenWidth && r.height == gScreenHeight) selected = r.index;
    }
    resolutions->SetSelectedByIndex(selected);
  }
  FillBorderColours();
  FormatDelay();
  FormatVisibility();
  FormatPercent();
  if (tabs != nullptr) {
    tabs->AddTab(GetText("pref_tab_general"), 0, 84, 88);
    tabs->AddTab(GetText("pref_tab_gameplay"), 1, 111, 147);
    tabs->AddTab(GetText("pref_tab_units"), 2, 90, 95);
    tabs->AddTab(GetText("pref_tab_map"), 3, 96, 110);
    tabs->AddTab(GetText("pref_tab_interface"), 4, 154, 169);
    tabs->AddTab(GetText("pref_tab_audio"), 5, 148, 153);
    tabs->SelectTab(0, false);
  }
  SetVisible(true);
}

void cDialogUstawien::AddSettingCheck(int id) {
  const sCheckSetting* c = CheckSetting(id);
  if (c == nullptr) return;
  AddCheckBoxAt(c->id, GetText(c->textKey), c->hintKey != nullptr ? GetText(c->hintKey) : std::u16string(), *c->value);
}

void cDialogUstawien::AddSkinList(int listId, std::u16string_view prefix, const std::u16string& current) {
  CDXUTListBox* list = nullptr;
  if (Failed(AddListBoxAt(listId, 0, &list))) return;
  int selected = 0;
  for (const std::u16string& name : SkinFolders(prefix)) {
    if (name == current) selected = list->GetSize();
    list->AddItem(name, 0);
  }
  if (list->GetSize() > 0) list->SelectItem(selected, false);
}

void cDialogUstawien::FillResolutions() {
  LogLine(u"Detecting resolutions...");
  gAvailableResolutions.clear();
  const auto listed = [](int width, int height) {
    return std::any_of(gAvailableResolutions.begin(), gAvailableResolutions.end(),
                       [&](const sResolution& r) { return r.width == width && r.height == height; });
  };
  if (const AppFrame* frame = CurrentFrame()) {
    if (frame->windowed()) {
      // A window needs no display mode of its own: every size with a layout
      // that fits the desktop can be had, also on a display that offers only
      // its native mode.
      const DisplayMode desktop = DesktopMode(*frame);
      for (const auto& [width, height] : LayoutFileSizes()) {
        if (width <= desktop.width && height <= desktop.height && !listed(width, height)) HasLayoutFile(width, height);
      }
    } else {
      for (const DisplayMode& mode : frame->DisplayModes()) {
        if (!listed(mode.width, mode.height)) HasLayoutFile(mode.width, mode.height);
      }
    }
  }
  // The size the game runs at is always in the list, so the list shows it.
  if (gScreenWidth > 0 && gScreenHeight > 0 && !listed(gScreenWidth, gScreenHeight)) {
    gAvailableResolutions.push_back({static_cast<int>(gAvailableResolutions.size()), gScreenWidth, gScreenHeight, 0});
  }
  std::stable_sort(gAvailableResolutions.begin(), gAvailableResolutions.end(),
                   [](const sResolution& a, const sResolution& b) {
                     return a.width != b.width ? a.width < b.width : a.height < b.height;
                   });
  for (std::size_t i = 0; i < gAvailableResolutions.size(); ++i) gAvailableResolutions[i].index = static_cast<int>(i);
}

std::vector<std::pair<int, int>> cDialogUstawien::LayoutFileSizes() {
  std::vector<std::pair<int, int>> sizes;
  std::error_code error;
  const std::filesystem::path folder = ResolveGamePath(u"data");
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    // "GUI_<width>x<height>.csv", the letters in any case as the path helper finds them.
    std::string name = it->path().filename().string();
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    if (name.size() < 12 || name.rfind("gui_", 0) != 0 || name.substr(name.size() - 4) != ".csv") continue;
    const std::string size = name.substr(4, name.size() - 8);
    const std::size_t x = size.find('x');
    const auto digits = [](std::string_view part) {
      return !part.empty() && part.size() <= 5 &&
             std::all_of(part.begin(), part.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
    };
    if (x == std::string::npos || !digits(std::string_view(size).substr(0, x)) ||
        !digits(std::string_view(size).substr(x + 1))) {
      continue;
    }
    sizes.emplace_back(std::stoi(size.substr(0, x)), std::stoi(size.substr(x + 1)));
  }
  return sizes;
}

void cDialogUstawien::HasLayoutFile(int width, int height) {
  const std::u16string name = Format(u"data\\GUI_%dx%d.csv", width, height);
  const std::filesystem::path path = ResolveGamePath(name);
  if (!IsReadableRegularFile(path)) return;
  // The last digit of the height stands right before ".csv".
  const std::u16string found = Utf8ToUtf16(path.filename().string());
  if (found.find(u'x') == std::u16string::npos || found.size() < 5 || found[found.size() - 5] < u'0' ||
      found[found.size() - 5] > u'9') {
    return;
  }
  gAvailableResolutions.push_back({static_cast<int>(gAvailableResolutions.size()), width, height, 0});
}

void cDialogUstawien::FillBorderColours() {
  auto* combo = static_cast<CDXUTComboBox*>(GetControlOfType(kBorderColourCombo, kControlComboBox));
  if (combo == nullptr) return;
  int selected = 0;
  for (std::size_t i = 0; i < kNamedColours.size(); ++i) {
    combo->AddItem(kNamedColours[i].name, kNamedColours[i].colour);
    if (kNamedColours[i].colour == gBorderColor) selected = static_cast<int>(i);
  }
  combo->SetSelectedByIndex(selected);
  combo->SetDropHeight(300);
}

void cDialogUstawien::SetValueText(int id, std::u16string_view text) {
  if (auto* label = static_cast<CDXUTStatic*>(GetControlOfType(id, kControlStatic))) label->SetText(text);
}

void cDialogUstawien::FormatDelay() {
  for (std::size_t r = 0; r < gDelaySettings.size(); ++r) {
    SetValueText(gDelaySettings[r].controlId - 1, DelayText(static_cast<int>(r), gDelays[r]));
  }
}

void cDialogUstawien::FormatVisibility() {
  SetValueText(112, gFogOfWar >= 1 ? Format(GetText("pref_visibility_%i_hexes"), gFogOfWar)
                                   : GetText("pref_visibility_disabled"));
}

void cDialogUstawien::FormatPercent() {
  SetValueText(149, Format(u"%.0f%%", static_cast<double>(gSfxVolume) * 100.0));
  SetValueText(152, Format(u"%.0f%%", static_cast<double>(gMusicVolume) * 100.0));
}

void cDialogUstawien::FormatSeconds() { SetValueText(145, Format(u"%.1f sec", static_cast<double>(gSeaBattleTimeout))); }

void cDialogUstawien::TintPreviews() {
  for (int id = kFirstPreview; id <= kLastPreview; ++id) {
    if (auto* image = static_cast<CDXUTImage*>(GetControlOfType(id, kControlImage))) image->SetColor(gBorderColor);
  }
}

void cDialogUstawien::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl* control) {
  cIniFile& ini = SettingsIni();
  if (const sCheckSetting* c = CheckSetting(controlId)) {
    auto* box = static_cast<CDXUTCheckBox*>(GetControlOfType(controlId, kControlCheckBox));
    if (box == nullptr) return;
    *c->value = box->GetChecked();
    ini.SetBool(c->iniKey, box->GetChecked());
    return;
  }
  if (const int row = DelayRowOfSlider(controlId); row >= 0) {
    gDelays[static_cast<std::size_t>(row)] = static_cast<float>(SliderValue(*this, controlId)) * 1000.0f;
    ini.SetInt(gDelaySettings[static_cast<std::size_t>(row)].iniKey,
               static_cast<int>(gDelays[static_cast<std::size_t>(row)]));
    GetHintBox().SetDelay(static_cast<int>(gDelays[kDelayControlHint]));
    FormatDelay();
    return;
  }
  switch (controlId) {
    case kResolutionCombo: {
      auto* combo = static_cast<CDXUTComboBox*>(control);
      const std::uint32_t index = combo != nullptr ? combo->GetSelectedData() : 0;
      if (index >= gAvailableResolutions.size()) return;
      ini.SetInt("Main/ResolutionX", gAvailableResolutions[index].width);
      ini.SetInt("Main/ResolutionY", gAvailableResolutions[index].height);
      return;
    }
    case kWindowedCheck: {
      auto* box = static_cast<CDXUTCheckBox*>(GetControlOfType(controlId, kControlCheckBox));
      if (box != nullptr) ini.SetBool("Main/Fullscreen", !box->GetChecked());
      return;
    }
    case kFpsCombo: {
      auto* combo = static_cast<CDXUTComboBox*>(GetControlOfType(controlId, kControlComboBox));
      if (combo == nullptr) return;
      const int f = static_cast<int>(combo->GetSelectedData());
      gMinFrameTime = f >= 1 ? 1000 / f : 0;
      ini.SetInt("Main/FPSLimit", f);
      return;
    }
    case kUnitsSkinList:
    case kMapSkinList: {
      auto* list = static_cast<CDXUTListBox*>(GetControlOfType(controlId, kControlListBox));
      const int row = list != nullptr ? list->GetSelectedIndex() : -1;
      if (row < 0) return;
      const std::u16string name = list->GetItem(row)->text;
      if (controlId == kUnitsSkinList) {
        if (name != gUnitsSkin) {
          gUnitsSkin = name;
          LoadUnitsSkin(name);
          ini.SetString("UnitsDisplay/Skin", name);
        }
        return;
      }
      GameLockGuard lock(kThisFile, __LINE__);
      if (name != gMapSkin) {
        gMapSkin = name;
        LoadMapSkin(name);
        ini.SetString("MapDisplay/Skin", name);
      }
      for (int id = kFirstPreview; id <= kLastPreview; ++id) {
        if (auto* image = static_cast<CDXUTImage*>(GetControlOfType(id, kControlImage))) {
          image->SetTexture(MapSkinTextures().others.GetTexture());
        }
      }
      return;
    }
    case kSoundSlider:
    case kMusicSlider: {
      const int sound = SliderValue(*this, kSoundSlider), music = SliderValue(*this, kMusicSlider);
      gSfxVolume = static_cast<float>(sound) / 20.0f;
      gMusicVolume = static_cast<float>(music) / 20.0f;
      // Whole percents as the labels show them: a slider step is 5%.
      ini.SetInt("Audio/SFXVolume", sound * 5);
      ini.SetInt("Audio/MusicVolume", music * 5);
      if (gGame != nullptr) {
        if (cMusicPlayer* player = GameMusicPlayer()) player->SetVolume(gMusicVolume);
      }
      FormatPercent();
      return;
    }
    case kSeaBattleSlider:
      gSeaBattleTimeout = SliderValue(*this, kSeaBattleSlider);
      FormatSeconds();
      ini.SetInt("InterfaceSettings/SeaBattleTimeout", gSeaBattleTimeout);
      return;
    case kVisibilitySlider:
      gFogOfWar = SliderValue(*this, kVisibilitySlider);
      FormatVisibility();
      ini.SetInt("Gameplay/FogOfWar", gFogOfWar);
      return;
    case kBorderColourCombo: {
      auto* combo = static_cast<CDXUTComboBox*>(GetControlOfType(controlId, kControlComboBox));
      if (combo == nullptr || combo->GetSelectedIndex() < 0) return;
      gBorderColor = combo->GetSelectedData();
      ini.SetInt("Border/ColorA", static_cast<int>((gBorderColor >> 24) & 0xFF));
      ini.SetInt("Border/ColorR", static_cast<int>((gBorderColor >> 16) & 0xFF));
      ini.SetInt("Border/ColorG", static_cast<int>((gBorderColor >> 8) & 0xFF));
      ini.SetInt("Border/ColorB", static_cast<int>(gBorderColor & 0xFF));
      TintPreviews();
      return;
    }
    case kEndTurnConfirmCheck: {
      auto* box = static_cast<CDXUTCheckBox*>(GetControlOfType(controlId, kControlCheckBox));
      if (box == nullptr) return;
      DontConfirmEndTurn = !box->GetChecked();
      ini.SetBool("InterfaceSettings/ConfirmEndTurn", box->GetChecked());
      return;
    }
    case kOkButton:
      SaveSettings();
      PopModalDialogs(1);
      if (gGame != nullptr) {
        GameLockGuard lock(kThisFile, __LINE__);
        if (cCountry* country = gGame->playerControl.currentCountry) country->RecalculateUnitsVisibility();
        // F1 also opens this over the computer's turn, which resuming would hand to the player.
        if (gGame->GetGameState() == kGamePaused) gGame->Resume();
      } else {
        CurrentMenu = new cMainMenu();
      }
      return;
    default:
      return;
  }
}

}  // namespace tr
