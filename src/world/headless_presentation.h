// A presentation port without a screen: it answers every request at once and
// keeps a record of what was asked, so tests can check what a rule showed.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "world/presentation.h"

namespace tr {

class cHeadlessPresentation : public cPresentation {
 public:
  // The built-in port of long headless runs keeps no record.
  explicit cHeadlessPresentation(bool record = true) : record_(record) {}

  void SetLoadingProgress(int percent) override;
  void CreateGamePanels() override;
  void LoadMapSkin() override;
  void LoadUnitsSkin() override;
  void ShowScenarioSettingsMenu() override;
  void LoadPauseWallpaper() override;
  void ChooseFontsForZoom() override;
  void UpdateMinimapOwnershipLayer() override;
  // True for the playlists SetMusicPlaylists named.
  bool HasMusicPlaylist(int playlist) override;
  void StartMusic(int playlist) override;
  void CloseMenu() override;
  void RefreshInfoPanel() override;
  void UpdateHexPanel() override;
  void UpdateUnitPanel() override;
  void UpdateDiplomacyPanel() override;
  void SetStatusText(std::u16string_view text) override;
  void SetHoveredSeaNode(int seaNodeId) override;
  void ShowMessageBox(std::u16string_view caption, std::u16string_view text,
                      eMessageIcon icon) override;
  void ShowTextAndWait(std::u16string_view title, std::u16string_view text) override;
  bool AskYesNo(std::u16string_view title, std::u16string_view question) override;
  bool IsModalDialogShown() override;
  void OpenFleetDialog(int seaNodeId) override;
  void PushTextDialog(std::u16string_view title, std::u16string_view text, int layoutBase) override;
  void InstallMenuCallbacks() override;
  void InstallGameCallbacks() override;
  void CenterCameraOn(int x, int y, bool glide) override;
  void PlaySoundEffect(std::u16string_view file) override;
  void AnimateMove(const std::function<bool()>& step) override;
  TextureId LoadTexture(const std::filesystem::path& file, eTextureUse use) override;
  void ReleaseTexture(TextureId texture) override;
  TextureId DefaultFlagTexture() override;
  void ReleaseGameTextures() override;
  void OnMapFontsLost() override;
  void ReleaseMinimapOwnershipLayer() override;
  // Answers at once with the next scripted answer (1 when none is left): the
  // option of that number runs; a number past the options in a
  // play-by-e-mail game is the save-and-exit button.
  void PushEventDialog(const cEvent& event) override;
  void WaitForEventDialog(const char* file, int line) override;
  // Recorded as "convoy-results <country>" and "convoy-results-closed".
  void PushConvoyResultsDialog(int countryId) override;
  void WaitForConvoyResults(const char* file, int line) override;
  void RequestProgramExit(int exitCode) override;
  // Recorded as "menus".
  void RequestReturnToMenus() override;
  // Recorded as "info-panel-country <country>".
  void ShowCountryOnInfoPanel(int countryId) override;
  // Recorded as "combat-result <kind> <ms>"; closes at once.
  void ShowCombatResultAndWait(const sCombatResult& result, float closeAfterMs) override;

  // The answer AskYesNo gives.
  void SetYesNoAnswer(bool yes);
  // Whether IsModalDialogShown answers that a dialog is up (OpenFleetDialog does not change it).
  void SetModalDialogShown(bool shown);
  void SetMusicPlaylists(std::vector<int> playlists);
  // The buttons the next event dialogs are answered with, in order.
  void SetEventDialogAnswers(std::deque<int> answers);

  // One line per request, such as "progress 15" or "message-box caption|text".
  std::vector<std::u16string> events() const;
  void ClearEvents();
  int CountEvents(std::u16string_view prefix) const;

 private:
  void Record(std::u16string event);

  mutable std::mutex mutex_;
  std::vector<std::u16string> events_;
  const bool record_;
  bool yes_answer_ = true;
  bool modal_shown_ = false;
  std::vector<int> playlists_;
  std::deque<int> event_answers_;
  TextureId next_texture_ = 1;
};

// Installs a port for the life of the object and restores the previous one.
class ScopedPresentation {
 public:
  explicit ScopedPresentation(cPresentation& presentation);
  ~ScopedPresentation();
  ScopedPresentation(const ScopedPresentation&) = delete;
  ScopedPresentation& operator=(const ScopedPresentation&) = delete;

 private:
  cPresentation* previous_;
};

}  // namespace tr
