// The presentation port: everything the game rules show or wait for goes
// through this one interface (loading progress, panels, message boxes,
// dialogs, camera, sound, the move animation, textures). The application
// installs its implementation; without one, a headless port answers at once,
// so the rule engine runs and is tested without a screen.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

namespace tr {

class cEvent;
class cFleet;
class cJednostkaMorska;
struct sCombatResult;

// A texture record of the presentation; 0 means none.
using TextureId = std::int32_t;
inline constexpr TextureId kNoTexture = 0;

enum class eMessageIcon { kInformation, kWarning, kError };

// Unit sheets get extra detail levels where the device can afford them.
enum class eTextureUse { kPlain, kUnitSheet };

class cPresentation {
 public:
  virtual ~cPresentation() = default;

  // Loading screen.
  virtual void SetLoadingProgress(int percent) = 0;
  // The steps of a load that are the screen's: the music player and the
  // in-game panels (the main-menu music stops), the map skin and the units
  // skin named by the settings, and at the end the scenario settings menu,
  // with which the worker thread starts.
  virtual void CreateGamePanels() = 0;
  virtual void LoadMapSkin() = 0;
  virtual void LoadUnitsSkin() = 0;
  virtual void ShowScenarioSettingsMenu() = 0;

  // The start of play: the pause wallpaper loaded again, the map and city
  // fonts chosen for the zoom, the minimap's ownership layer brought up to
  // date, the music of a playlist (-1 the default one), the menu closed.
  virtual void LoadPauseWallpaper() = 0;
  virtual void ChooseFontsForZoom() = 0;
  virtual void UpdateMinimapOwnershipLayer() = 0;
  virtual bool HasMusicPlaylist(int playlist) = 0;
  virtual void StartMusic(int playlist) = 0;
  virtual void CloseMenu() = 0;

  // Panels. Each call does nothing while its panel does not exist.
  virtual void RefreshInfoPanel() = 0;
  virtual void UpdateHexPanel() = 0;
  virtual void UpdateUnitPanel() = 0;
  virtual void UpdateDiplomacyPanel() = 0;
  // The one-line status text of the information panel.
  virtual void SetStatusText(std::u16string_view text) = 0;
  // The hint box follows the sea node of that number; 0 gives it back to the controls.
  virtual void SetHoveredSeaNode(int seaNodeId) = 0;

  // Message boxes and modal dialogs. The waits return early when the worker
  // thread is told to stop.
  virtual void ShowMessageBox(std::u16string_view caption, std::u16string_view text,
                              eMessageIcon icon) = 0;
  virtual void ShowTextAndWait(std::u16string_view title, std::u16string_view text) = 0;
  virtual bool AskYesNo(std::u16string_view title, std::u16string_view question) = 0;
  // Whether a modal dialog is on top of the stack; the fleets manager of a
  // sea node opens only when none is.
  virtual bool IsModalDialogShown() = 0;
  virtual void OpenFleetDialog(int seaNodeId) = 0;
  // A fleet is about to be freed: the fleets manager, when it is the top
  // dialog and lists fleets, drops it first.
  virtual void ForgetFleet(const cFleet& /*fleet*/) {}
  // A ship sinks while the sea-battle screen shows it: its grid cell empties.
  virtual void ClearSeaBattleCell(const cJednostkaMorska& /*ship*/) {}
  // A text box with an OK button pushed on the modal stack; returns at once.
  virtual void PushTextDialog(std::u16string_view title, std::u16string_view text, int layoutBase) = 0;
  // The same text box, and the worker waits until it is closed (without a
  // screen it only pushes it).
  virtual void ShowTextInLayoutAndWait(std::u16string_view title, std::u16string_view text, int layoutBase) {
    PushTextDialog(title, text, layoutBase);
  }

  // The hand-over of a turn to a human country, called from the worker: the
  // new-turn banner of the country pushed on top of the modal stack (the
  // caller holds the game lock and does not wait for it), the minimap's date
  // caption, and the information panel enabled with the hex, unit, attack and
  // diplomacy panels back in the states they had before the computer's phase.
  virtual void PushNewTurnDialog(int /*countryId*/) {}
  virtual void UpdateDateCaption() {}
  virtual void ResumePlayerPanels() {}
  // The game's start with a computer country: the information panel disabled
  // and the hex, unit, attack and diplomacy panels put away.
  virtual void SuspendPlayerPanels() {}

  // The event dialog of a visible event of a human country, built from the
  // fired event (the dialog keeps its own copy) and pushed on top of the modal
  // stack by the worker, which holds the game lock. The player's pick runs
  // through RunPlayerEventChoice on the main thread. WaitForEventDialog
  // returns once the dialog has closed, or at once when the worker is told
  // to stop; the caller holds no lock while it waits.
  virtual void PushEventDialog(const cEvent& /*event*/) {}
  virtual void WaitForEventDialog(const char* /*file*/, int /*line*/) {}
  // The combat-result popup of a computer attack, strike or interception:
  // it closes itself after closeAfterMs (0: at the next frame; negative:
  // when the player closes it). Returns once it has closed, or at once when
  // the worker is told to stop; the caller holds no lock while it waits.
  virtual void ShowCombatResultAndWait(const sCombatResult& /*result*/, float /*closeAfterMs*/) {}
  // The convoy results dialog of a country, built from the country's results
  // of the convoy manager and pushed by the worker under the game lock.
  // WaitForConvoyResults returns once it has closed, or at once when the
  // worker is told to stop; the caller holds no lock while it waits.
  virtual void PushConvoyResultsDialog(int /*countryId*/) {}
  virtual void WaitForConvoyResults(const char* /*file*/, int /*line*/) {}
  // Asks the main loop to end the program in order with the code (the
  // play-by-e-mail save-and-exit of the event dialog).
  virtual void RequestProgramExit(int /*exitCode*/) {}

  // The frame's input callback sets: the menu set while paused, the game set while playing.
  virtual void InstallMenuCallbacks() = 0;
  virtual void InstallGameCallbacks() = 0;

  // Camera.
  virtual void CenterCameraOn(int x, int y, bool glide) = 0;

  // Sound effects, by game path ("data\\sound\\AirStrike.wav").
  virtual void PlaySoundEffect(std::u16string_view file) = 0;

  // A unit move on screen: step is called once per shown frame until it
  // returns false (the move has ended); returns when the move is over.
  virtual void AnimateMove(const std::function<bool()>& step) = 0;

  // Textures. A file that does not load gives kNoTexture.
  virtual TextureId LoadTexture(const std::filesystem::path& file, eTextureUse use) = 0;
  virtual void ReleaseTexture(TextureId texture) = 0;
  virtual TextureId DefaultFlagTexture() = 0;

  // Teardown of a game: the presentation's own game textures (the pause
  // wallpaper), the map fonts, the minimap's ownership layer.
  virtual void ReleaseGameTextures() = 0;
  virtual void OnMapFontsLost() = 0;
  virtual void ReleaseMinimapOwnershipLayer() = 0;

  // The end of a game on this screen: once the player has closed what is
  // shown (the result, the hand-over message), the game is put away and the
  // menus come back. No further turn is played.
  virtual void RequestReturnToMenus() {}
  // While one player's decision is shown during the computer's phase (an
  // event of the player's country, its convoy results), the information
  // panel shows that player's country; 0 gives it back to the current one.
  virtual void ShowCountryOnInfoPanel(int /*countryId*/) {}
};

// The installed port, or the built-in headless one.
cPresentation& Presentation();
// Installs a port the caller keeps alive (nullptr restores the headless one)
// and returns the one installed before (nullptr for the headless one).
cPresentation* SetPresentation(cPresentation* presentation);

// Shows a human country's decision under its own information panel for the
// scope's life.
class ScopedInfoPanelCountry {
 public:
  explicit ScopedInfoPanelCountry(int countryId) { Presentation().ShowCountryOnInfoPanel(countryId); }
  ~ScopedInfoPanelCountry() { Presentation().ShowCountryOnInfoPanel(0); }
  ScopedInfoPanelCountry(const ScopedInfoPanelCountry&) = delete;
  ScopedInfoPanelCountry& operator=(const ScopedInfoPanelCountry&) = delete;
};

}  // namespace tr
