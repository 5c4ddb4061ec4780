// The player's preferences: "Settings.ini" in the game folder, held in one
// global cIniFile and copied into plain globals that every subsystem reads.
// Whoever changes a preference sets its key in SettingsIni() and then calls
// SaveSettings, which writes only the map zoom itself.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "foundation/ini_file.h"

namespace tr {

// One row of the delay table: the INI key, the caption's string-base key and
// the id of the preferences dialog's control for it.
struct sDelaySetting {
  const char* iniKey;
  const char* captionKey;
  int controlId;
};

// Row i gives gDelays[i].
enum eDelay {
  kDelayControlHint,
  kDelayAICombatResult,
  kDelayHumanCombatResult,
  kDelayHumanDeployAfter,
  kDelayHumanReconAfter,
  kDelayAIMoveBefore,
  kDelayAIMoveBetween,
  kDelayAIMoveAfter,
  kDelayAICombatBefore,
  kDelayAICombatAfter,
  kDelayAIDeployBefore,
  kDelayAIDeployAfter,
  kDelayAIReplacementBefore,
  kDelayAIReplacementAfter,
  kDelayHumanMoveBetween,
  kDelayCount
};

inline constexpr std::array<sDelaySetting, kDelayCount> gDelaySettings = {{
    {"Delay/ControlHint", "delay_control_hint", 157},
    {"Delay/AICombatResult", "delay_ai_combat_result", 160},
    {"Delay/HumanCombatResult", "delay_human_combat_result", 163},
    {"Delay/HumanDeployAfter", "delay_human_deploy_after", 166},
    {"Delay/HumanReconAfter", "delay_human_recon_after", 169},
    {"Delay/AIMoveBefore", "delay_ai_move_before", 116},
    {"Delay/AIMoveBetween", "delay_ai_move_between", 119},
    {"Delay/AIMoveAfter", "delay_ai_move_after", 122},
    {"Delay/AICombatBefore", "delay_ai_combat_before", 125},
    {"Delay/AICombatAfter", "delay_ai_combat_after", 128},
    {"Delay/AIDeployBefore", "delay_ai_deploy_before", 131},
    {"Delay/AIDeployAfter", "delay_ai_deploy_after", 134},
    {"Delay/AIReplacementBefore", "delay_ai_replacement_before", 137},
    {"Delay/AIReplacementAfter", "delay_ai_replacement_after", 140},
    {"Delay/HumanMoveBetween", "delay_human_move_between", 143},
}};

// The settings INI object ("Settings.ini").
cIniFile& SettingsIni();

// Reads "Settings.ini" into the globals below. Keys the file lacks are added
// with their defaults; a file that does not load leaves every global at its
// key default.
void LoadSettings();
// Stores the map zoom as "MapDisplay/Zoom" (percent, rounded up) and writes the file.
void SaveSettings();

// The globals, with the key each comes from. They start at the key defaults.
extern int gScreenWidth;                 // Main/ResolutionX
extern int gScreenHeight;                // Main/ResolutionY
extern bool gWindowed;                   // not Main/Fullscreen
extern int gMinFrameTime;                // ms, 1000 / Main/FPSLimit; 0 = no limit
extern bool gShowUnitNames;              // UnitsDisplay/ShowName
extern std::u16string gUnitsSkin;        // UnitsDisplay/Skin
extern bool gDynamicUnitAppearance;      // UnitsDisplay/DynamicAppearance
extern std::u16string gMapSkin;          // MapDisplay/Skin
extern float gMapZoom;                   // MapDisplay/Zoom / 100
extern bool gShowGrid;                   // MapDisplay/ShowGrid
extern bool gShowCityNames;              // MapDisplay/ShowCityName
extern bool gShowAPLeft;                 // MapDisplay/ShowAPLeft
extern bool gShowWeather;                // MapDisplay/ShowWeather
extern bool gShowSeaZoneNames;           // MapDisplay/ShowSeaZoneName
extern int gMapOwnershipMode;            // MapDisplay/OwnershipMode
extern int gMapMode;                     // MapDisplay/Mode
extern int gBorderMode;                  // Border/Mode
extern bool gShowSeaZoneBorders;         // Border/ShowSeaZonesBorders
extern std::uint32_t gBorderColor;       // ARGB from Border/ColorA, ColorR, ColorG, ColorB
extern int gFogOfWar;                    // Gameplay/FogOfWar
extern bool gShowAlliesActions;          // Gameplay/ShowAlliesActions
extern int gMinimapOwnershipMode;        // MinimapDisplay/OwnershipMode
extern bool DontConfirmEndTurn;          // not InterfaceSettings/ConfirmEndTurn
extern int gSeaBattleTimeout;            // InterfaceSettings/SeaBattleTimeout, seconds
extern float gMusicVolume;               // Audio/MusicVolume / 100
extern float gSfxVolume;                 // Audio/SFXVolume / 100
extern std::array<float, kDelayCount> gDelays;  // ms, by gDelaySettings row

}  // namespace tr
