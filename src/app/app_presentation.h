// The application's presentation port: what the game rules show goes to the
// screen. The loading screen, the menus' callback sets, the game's panels,
// textures and skins, the camera and the move animation are served here;
// requests whose screens are not built yet are answered as the headless port
// answers them.
#pragma once

#include <mutex>
#include <string>

#include "world/headless_presentation.h"

namespace tr {

class cDialog;

class cAppPresentation : public cHeadlessPresentation {
 public:
  cAppPresentation() : cHeadlessPresentation(false) {}

  // The current menu's progress bar, when the loading menu is current.
  void SetLoadingProgress(int percent) override;
  // The information, unit, attack, hex, minimap and diplomacy panels,
  // replacing those of a game before; the unit, attack, hex and diplomacy
  // panels start collapsed.
  void CreateGamePanels() override;
  bool HasMusicPlaylist(int playlist) override;
  void StartMusic(int playlist) override;
  void LoadMapSkin() override;
  void LoadUnitsSkin() override;
  void ShowScenarioSettingsMenu() override;
  void LoadPauseWallpaper() override;
  // The map's fonts for its zoom: at the start of play and after every change of scale.
  void ChooseFontsForZoom() override;
  // Deletes the current menu (after the running dispatch) as the game screen takes over.
  void CloseMenu() override;
  // The owners or controllers of the running game's hexes over the minimap picture.
  void UpdateMinimapOwnershipLayer() override;
  void RefreshInfoPanel() override;
  void UpdateHexPanel() override;
  void UpdateDiplomacyPanel() override;
  void UpdateUnitPanel() override;
  void SetStatusText(std::u16string_view text) override;
  // The hint box shows the sea node under the pointer.
  void SetHoveredSeaNode(int seaNodeId) override;
  // The worker's calls take the game lock, since the frame draws what they change.
  void PushNewTurnDialog(int countryId) override;
  void UpdateDateCaption() override;
  void ResumePlayerPanels() override;
  void SuspendPlayerPanels() override;
  // The paused game's set (the menu's mouse and keyboard, no frame move).
  void InstallMenuCallbacks() override;
  void InstallGameCallbacks() override;
  void CenterCameraOn(int x, int y, bool glide) override;
  // Hands the steps to the frame, which runs one per move delay; the caller
  // waits for the game state to leave the moving state.
  void AnimateMove(const std::function<bool()>& step) override;
  // Boxes on the game screen. A box asked for by the worker is pushed under
  // the game lock and waited for; the main thread never waits on its own screen.
  void ShowMessageBox(std::u16string_view caption, std::u16string_view text, eMessageIcon icon) override;
  void ShowTextAndWait(std::u16string_view title, std::u16string_view text) override;
  void PushTextDialog(std::u16string_view title, std::u16string_view text, int layoutBase) override;
  void ShowTextInLayoutAndWait(std::u16string_view title, std::u16string_view text, int layoutBase) override;
  bool IsModalDialogShown() override;
  // The fleets manager of the node pushed on the modal stack.
  void OpenFleetDialog(int seaNodeId) override;
  // The fleets manager, wherever it stands on the stack, lets go of the fleet.
  void ForgetFleet(const cFleet& fleet) override;
  // The ship's cell on the sea-battle screen, when one is shown, empties.
  void ClearSeaBattleCell(const cJednostkaMorska& ship) override;
  // The combat-result dialog pushed under the game lock; the worker waits
  // until it has closed.
  void ShowCombatResultAndWait(const sCombatResult& result, float closeAfterMs) override;
  // The event dialog and the convoy results, pushed by the worker under the
  // game lock; the worker then waits until the dialog it pushed has closed.
  void PushEventDialog(const cEvent& event) override;
  void WaitForEventDialog(const char* file, int line) override;
  void PushConvoyResultsDialog(int countryId) override;
  void WaitForConvoyResults(const char* file, int line) override;
  // The next game frame ends the main loop with the code.
  void RequestProgramExit(int exitCode) override;
  // The first game frame with no dialog open puts the game away for the menus.
  void RequestReturnToMenus() override;
  // Under the game lock.
  void ShowCountryOnInfoPanel(int countryId) override;
  // Effects asked for by the worker play at the main thread's next frame.
  void PlaySoundEffect(std::u16string_view file) override;
  TextureId LoadTexture(const std::filesystem::path& file, eTextureUse use) override;
  void ReleaseTexture(TextureId texture) override;
  TextureId DefaultFlagTexture() override;
  void ReleaseGameTextures() override;

 private:
  // Flags are asked for on both threads.
  std::mutex flagMutex_;
  TextureId defaultFlag_ = kNoTexture;
  // The dialogs the worker pushed last and waits for.
  std::mutex pushedMutex_;
  const cDialog* eventDialog_ = nullptr;
  const cDialog* convoyResultsDialog_ = nullptr;
};

// The exit code the worker asked the main loop to end with, taken once (-1 for none).
int TakeRequestedProgramExit();
// Whether the game is to be put away for the menus once no dialog is open
// (the game is over, or this player's play-by-e-mail turn is handed over).
bool ReturnToMenusRequested();
void ClearReturnToMenusRequest();
// The same request, naming the list the scenario menu comes back with
// (cScenarioMenu::eListMode); RequestReturnToMenus asks for the new games.
void RequestReturnToMenusList(int listMode);
// The list asked for; -1 while no return is asked for.
int RequestedMenusList();

// A box for the player that the computer's phase must not take away (a
// sea-battle screen closes every modal box): held until a human country's
// turn begins on this screen, and shown under its banner. It stays held until
// the player closes it with OK, so one closed by anything else is pushed again
// at the next turn, or told as the game is put away (TellHeldBoxes).
// The text told when the game is put away before the player closed the box
// is its own, as advice for the game at hand no longer holds then.
void HoldBoxForNextTurn(std::u16string title, std::u16string text, std::u16string textIfGameLeft);
// Pushes the held boxes not on screen yet, the first held on top of the
// others; the game lock is taken.
void PushHeldBoxes();
// A game put away (the window closed, the menus come back) shows what it held
// and the player has not closed, each in a message box of its own: the program
// may be ending, and a held box is one the player must not miss (a save that
// did not go in).
void TellHeldBoxes();

// Plays the effects the worker asked for since the last frame (main thread).
void PlayQueuedSoundEffects();

}  // namespace tr
