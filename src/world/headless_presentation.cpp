#include "world/headless_presentation.h"

#include <algorithm>

#include "events/event_model.h"
#include "events/zdarzenia.h"
#include "foundation/format.h"
#include "units/combat_result.h"
#include "world/gra.h"

namespace tr {

void cHeadlessPresentation::Record(std::u16string event) {
  if (!record_) return;
  std::lock_guard<std::mutex> lock(mutex_);
  events_.push_back(std::move(event));
}

void cHeadlessPresentation::SetLoadingProgress(int percent) {
  Record(Format(u"progress %i", percent));
}

void cHeadlessPresentation::CreateGamePanels() { Record(u"create-panels"); }

void cHeadlessPresentation::LoadMapSkin() { Record(u"map-skin"); }

void cHeadlessPresentation::LoadUnitsSkin() { Record(u"units-skin"); }

void cHeadlessPresentation::ShowScenarioSettingsMenu() { Record(u"scenario-settings-menu"); }

void cHeadlessPresentation::LoadPauseWallpaper() { Record(u"pause-wallpaper"); }

void cHeadlessPresentation::ChooseFontsForZoom() { Record(u"zoom-fonts"); }

void cHeadlessPresentation::UpdateMinimapOwnershipLayer() { Record(u"minimap-layer"); }

bool cHeadlessPresentation::HasMusicPlaylist(int playlist) {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::find(playlists_.begin(), playlists_.end(), playlist) != playlists_.end();
}

void cHeadlessPresentation::StartMusic(int playlist) { Record(Format(u"music %i", playlist)); }

void cHeadlessPresentation::CloseMenu() { Record(u"close-menu"); }

void cHeadlessPresentation::RefreshInfoPanel() { Record(u"info-panel"); }

void cHeadlessPresentation::UpdateHexPanel() { Record(u"hex-panel"); }

void cHeadlessPresentation::UpdateUnitPanel() { Record(u"unit-panel"); }

void cHeadlessPresentation::UpdateDiplomacyPanel() { Record(u"diplomacy-panel"); }

void cHeadlessPresentation::SetStatusText(std::u16string_view text) { Record(Format(u"status %s", text)); }

void cHeadlessPresentation::SetHoveredSeaNode(int seaNodeId) { Record(Format(u"hover-sea-node %i", seaNodeId)); }

void cHeadlessPresentation::ShowMessageBox(std::u16string_view caption, std::u16string_view text,
                                           eMessageIcon) {
  Record(Format(u"message-box %s|%s", caption, text));
}

void cHeadlessPresentation::ShowTextAndWait(std::u16string_view title, std::u16string_view text) {
  Record(Format(u"text %s|%s", title, text));
}

bool cHeadlessPresentation::AskYesNo(std::u16string_view title, std::u16string_view question) {
  Record(Format(u"yes-no %s|%s", title, question));
  std::lock_guard<std::mutex> lock(mutex_);
  return yes_answer_;
}

bool cHeadlessPresentation::IsModalDialogShown() {
  std::lock_guard<std::mutex> lock(mutex_);
  return modal_shown_;
}

void cHeadlessPresentation::OpenFleetDialog(int seaNodeId) { Record(Format(u"fleet-dialog %i", seaNodeId)); }

void cHeadlessPresentation::InstallMenuCallbacks() { Record(u"menu-callbacks"); }

void cHeadlessPresentation::InstallGameCallbacks() { Record(u"game-callbacks"); }

void cHeadlessPresentation::CenterCameraOn(int x, int y, bool glide) {
  Record(Format(u"camera %i %i %i", x, y, glide ? 1 : 0));
}

void cHeadlessPresentation::PlaySoundEffect(std::u16string_view file) {
  Record(Format(u"sound %s", file));
}

void cHeadlessPresentation::AnimateMove(const std::function<bool()>& step) {
  Record(u"animate-move");
  while (step && step()) {
  }
}

TextureId cHeadlessPresentation::LoadTexture(const std::filesystem::path& file, eTextureUse) {
  Record(Format(u"load-texture %s", file.generic_string()));
  std::lock_guard<std::mutex> lock(mutex_);
  return next_texture_++;
}

void cHeadlessPresentation::ReleaseTexture(TextureId texture) {
  if (texture != kNoTexture) Record(Format(u"release-texture %i", texture));
}

TextureId cHeadlessPresentation::DefaultFlagTexture() { return kNoTexture; }

void cHeadlessPresentation::ReleaseGameTextures() { Record(u"release-game-textures"); }

void cHeadlessPresentation::OnMapFontsLost() { Record(u"map-fonts-lost"); }

void cHeadlessPresentation::ReleaseMinimapOwnershipLayer() { Record(u"release-minimap-layer"); }

void cHeadlessPresentation::PushTextDialog(std::u16string_view title, std::u16string_view text, int layoutBase) {
  Record(Format(u"text-dialog %s|%s|%i", title, text, layoutBase));
}

void cHeadlessPresentation::PushConvoyResultsDialog(int countryId) {
  Record(Format(u"convoy-results %i", countryId));
}

void cHeadlessPresentation::WaitForConvoyResults(const char*, int) { Record(u"convoy-results-closed"); }

void cHeadlessPresentation::PushEventDialog(const cEvent& event) {
  Record(Format(u"event-dialog %i|%s", event.eventID, event.title));
  int answer = 1;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!event_answers_.empty()) {
      answer = event_answers_.front();
      event_answers_.pop_front();
    }
  }
  if (answer > static_cast<int>(event.options.size()) && gGame != nullptr && gGame->pbemGame) {
    gExitAfterEventDialog.store(1);
    return;
  }
  RunPlayerEventChoice(event, answer);
}

void cHeadlessPresentation::WaitForEventDialog(const char* file, int line) {
  Record(Format(u"event-dialog-wait %s:%i", file ? file : "", line));
}

void cHeadlessPresentation::RequestProgramExit(int exitCode) { Record(Format(u"exit %i", exitCode)); }

void cHeadlessPresentation::RequestReturnToMenus() { Record(u"menus"); }

void cHeadlessPresentation::ShowCountryOnInfoPanel(int countryId) {
  Record(Format(u"info-panel-country %i", countryId));
}

void cHeadlessPresentation::ShowCombatResultAndWait(const sCombatResult& result, float closeAfterMs) {
  Record(Format(u"combat-result %i %i", result.kind, static_cast<int>(closeAfterMs)));
}

void cHeadlessPresentation::SetEventDialogAnswers(std::deque<int> answers) {
  std::lock_guard<std::mutex> lock(mutex_);
  event_answers_ = std::move(answers);
}

void cHeadlessPresentation::SetMusicPlaylists(std::vector<int> playlists) {
  std::lock_guard<std::mutex> lock(mutex_);
  playlists_ = std::move(playlists);
}

void cHeadlessPresentation::SetModalDialogShown(bool shown) {
  std::lock_guard<std::mutex> lock(mutex_);
  modal_shown_ = shown;
}

void cHeadlessPresentation::SetYesNoAnswer(bool yes) {
  std::lock_guard<std::mutex> lock(mutex_);
  yes_answer_ = yes;
}

std::vector<std::u16string> cHeadlessPresentation::events() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return events_;
}

void cHeadlessPresentation::ClearEvents() {
  std::lock_guard<std::mutex> lock(mutex_);
  events_.clear();
}

int cHeadlessPresentation::CountEvents(std::u16string_view prefix) const {
  std::lock_guard<std::mutex> lock(mutex_);
  int n = 0;
  for (const auto& e : events_) {
    if (std::u16string_view(e).substr(0, prefix.size()) == prefix) ++n;
  }
  return n;
}

ScopedPresentation::ScopedPresentation(cPresentation& presentation)
    : previous_(SetPresentation(&presentation)) {}

ScopedPresentation::~ScopedPresentation() { SetPresentation(previous_); }

}  // namespace tr
