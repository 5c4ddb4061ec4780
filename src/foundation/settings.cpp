#include "foundation/settings.h"

#include <cmath>
#include <string>

#include "foundation/console_log.h"
#include "foundation/string_base.h"

namespace tr {

// The string globals gUnitsSkin and gMapSkin are defined with the other
// process-wide objects, in their place of the construction order.
int gScreenWidth = 1024;
int gScreenHeight = 768;
bool gWindowed = true;
int gMinFrameTime = 0;
bool gShowUnitNames = true;
bool gDynamicUnitAppearance = true;
float gMapZoom = 1.0f;
bool gShowGrid = true;
bool gShowCityNames = true;
bool gShowAPLeft = true;
bool gShowWeather = true;
bool gShowSeaZoneNames = true;
int gMapOwnershipMode = 0;
int gMapMode = 0;
int gBorderMode = 0;
bool gShowSeaZoneBorders = true;
std::uint32_t gBorderColor = 0xFFFFFFFFu;
int gFogOfWar = 0;
bool gShowAlliesActions = true;
int gMinimapOwnershipMode = 0;
bool DontConfirmEndTurn = false;
int gSeaBattleTimeout = 2;
float gMusicVolume = 1.0f;
float gSfxVolume = 1.0f;
std::array<float, kDelayCount> gDelays = {};

namespace {

// Volumes run from silence to full. The zoom is a percent of the map's scale:
// 0 or less would stop the map from scrolling, and no view comes near ten
// times the map's own size.
constexpr int kMaxVolume = 100;
constexpr int kMinZoomPercent = 1;
constexpr int kMaxZoomPercent = 1000;

// The setting held to [low, high]; a value outside is logged with the file and key.
int RangedSetting(cIniFile& ini, const char* key, int defaultValue, int low, int high) {
  const int value = ini.GetInt(key, defaultValue);
  if (value >= low && value <= high) return value;
  const int held = value < low ? low : high;
  LogFormat(u"WARNING: %s (%i) in %s is outside %i to %i; %i used", std::string(key), value, ini.FileName(), low,
            high, held);
  return held;
}

// Reads every setting in its fixed order; the getters add absent keys.
void ReadSettings(cIniFile& ini) {
  gScreenWidth = ini.GetInt("Main/ResolutionX", 1024);
  gScreenHeight = ini.GetInt("Main/ResolutionY", 768);
  gWindowed = !ini.GetBool("Main/Fullscreen", false);
  const int fps = ini.GetInt("Main/FPSLimit", 0);
  gMinFrameTime = fps > 0 ? 1000 / fps : 0;
  gShowUnitNames = ini.GetBool("UnitsDisplay/ShowName", true);
  gUnitsSkin = ini.GetString("UnitsDisplay/Skin", u"Counters");
  gDynamicUnitAppearance = ini.GetBool("UnitsDisplay/DynamicAppearance", true);
  gMapSkin = ini.GetString("MapDisplay/Skin", u"Normal");
  const int zoom = RangedSetting(ini, "MapDisplay/Zoom", 100, kMinZoomPercent, kMaxZoomPercent);
  gMapZoom = static_cast<float>(zoom) / 100.0f;
  gShowGrid = ini.GetBool("MapDisplay/ShowGrid", true);
  gShowCityNames = ini.GetBool("MapDisplay/ShowCityName", true);
  gShowAPLeft = ini.GetBool("MapDisplay/ShowAPLeft", true);
  gShowWeather = ini.GetBool("MapDisplay/ShowWeather", true);
  gShowSeaZoneNames = ini.GetBool("MapDisplay/ShowSeaZoneName", true);
  gMapOwnershipMode = ini.GetInt("MapDisplay/OwnershipMode", 0);
  gMapMode = ini.GetInt("MapDisplay/Mode", 0);
  gBorderMode = ini.GetInt("Border/Mode", 0);
  gShowSeaZoneBorders = ini.GetBool("Border/ShowSeaZonesBorders", true);
  // Each channel keeps its low byte, so an out-of-range value cannot spill into its neighbour.
  std::uint32_t color = 0;
  for (const char* key : {"Border/ColorA", "Border/ColorR", "Border/ColorG", "Border/ColorB"}) {
    color = color * 256 + (static_cast<std::uint32_t>(ini.GetInt(key, 255)) & 0xFF);
  }
  gBorderColor = color;
  gFogOfWar = ini.GetInt("Gameplay/FogOfWar", 0);
  gShowAlliesActions = ini.GetBool("Gameplay/ShowAlliesActions", true);
  gMinimapOwnershipMode = ini.GetInt("MinimapDisplay/OwnershipMode", 0);
  DontConfirmEndTurn = !ini.GetBool("InterfaceSettings/ConfirmEndTurn", true);
  gSeaBattleTimeout = ini.GetInt("InterfaceSettings/SeaBattleTimeout", 2);
  gMusicVolume = static_cast<float>(RangedSetting(ini, "Audio/MusicVolume", 100, 0, kMaxVolume)) / 100.0f;
  gSfxVolume = static_cast<float>(RangedSetting(ini, "Audio/SFXVolume", 100, 0, kMaxVolume)) / 100.0f;
  for (std::size_t i = 0; i < gDelaySettings.size(); ++i) {
    // A negative pause would be a wait of years once converted for the sleep.
    // The combat results are never slept on: a negative value there makes
    // the result wait for the player's click.
    const int ms = ini.GetInt(gDelaySettings[i].iniKey, 1000);
    const bool waitsForClick = i == kDelayAICombatResult || i == kDelayHumanCombatResult;
    gDelays[i] = static_cast<float>(ms < 0 && !waitsForClick ? 0 : ms);
  }
}

}  // namespace

void LoadSettings() {
  LogLine(u"Loading settings...");
  if (SettingsIni().Load(u"Settings.ini")) {
    ReadSettings(SettingsIni());
  } else {
    // Without the file the key defaults hold (a 1024 x 768 window), never a 0 x 0 screen.
    cIniFile defaults;
    ReadSettings(defaults);
  }
  StringBase().SetLanguage(u"ENG");
}

void SaveSettings() {
  // In single precision, as the zoom is held: 1.1f * 100 stores 110, not 111.
  const float percent = gMapZoom * 100.0f;
  SettingsIni().SetInt("MapDisplay/Zoom", static_cast<int>(std::ceil(percent)));
  SettingsIni().Save();
}

}  // namespace tr
