#include "app/app_presentation.h"

#include <memory>

#include "app/frame_utils.h"
#include "app/game_commands.h"
#include "app/game_frame_move.h"
#include "app/game_textures.h"
#include "app/input_routing.h"
#include "app/loading_menu.h"
#include "app/map_render.h"
#include "app/map_skin.h"
#include "app/menu_wallpaper.h"
#include "app/minimap_texture.h"
#include "app/modal_stack.h"
#include "app/music_player.h"
#include "app/player_interface.h"
#include "app/sound.h"
#include "app/units_skin.h"
#include "dialogs/attack_panel.h"
#include "dialogs/date_caption.h"
#include "dialogs/diplomacy_panel.h"
#include "dialogs/hex_panel.h"
#include "dialogs/minimap_panel.h"
#include "dialogs/panel_informacyjny.h"
#include "dialogs/small_dialogs.h"
#include "dialogs/unit_panel.h"
#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "gui/hint_box.h"
#include "world/gra.h"

namespace tr {
namespace {
constexpr const char* kThisFile = "app_presentation";
}  // namespace

void cAppPresentation::SetLoadingProgress(int percent) {
  if (auto* loading = dynamic_cast<cLoadingMenu*>(CurrentMenu)) loading->SetProgress(percent);
}

void cAppPresentation::CreateGamePanels() {
  // The game's own music takes over from the main menu's loop, which starts
  // again from its beginning when the menu comes back.
  SetGameMusicPlayer(std::make_unique<cMusicPlayer>());
  StopSoundSlot(kSoundMainMenuMusicLoop);
  ResetUnitStepTime();
  DestroyGamePanels();
  gInfoPanel = new cInfoPanel();
  auto* unit = new cUnitPanel();
  gUnitPanel = unit;
  auto* attack = new cAttackPanel();
  gAttackPanel = attack;
  auto* hex = new cHexPanel();
  gHexPanel = hex;
  gMinimapPanel = new cMinimapPanel();
  auto* diplomacy = new cDiplomacyPanel();
  gDiplomacyPanel = diplomacy;
  for (cPanel* panel : {static_cast<cPanel*>(unit), static_cast<cPanel*>(attack), static_cast<cPanel*>(hex),
                        static_cast<cPanel*>(diplomacy)}) {
    SetPanelCollapsed(panel, true);
  }
  SetPanelMoveHandler(&MovePanelOfToggle);
}

bool cAppPresentation::HasMusicPlaylist(int playlist) {
  const cMusicPlayer* music = GameMusicPlayer();
  return music != nullptr && music->playlists().count(playlist) != 0;
}

void cAppPresentation::StartMusic(int playlist) {
  cMusicPlayer* music = GameMusicPlayer();
  if (music == nullptr) return;
  if (!music->Play(playlist)) LogFormat(u"WARNING: no music playlist %i", playlist);
}

void cAppPresentation::LoadMapSkin() { tr::LoadMapSkin(gMapSkin); }

void cAppPresentation::LoadUnitsSkin() { tr::LoadUnitsSkin(gUnitsSkin); }

void cAppPresentation::ShowScenarioSettingsMenu() { CreateScenarioSettingsMenu(); }

void cAppPresentation::LoadPauseWallpaper() { LoadMenuPicture(kPauseWallpaper, u"data\\gfx\\wallpaper_pause.png"); }

void cAppPresentation::ChooseFontsForZoom() {
  // The frame draws with the records chosen here; unlogged, as zooming calls it every frame.
  GameLockGuard lock;
  ChooseAppearanceForZoom();
}

void cAppPresentation::CloseMenu() { DeleteCurrentMenu(); }

void cAppPresentation::UpdateMinimapOwnershipLayer() {
  if (gGame != nullptr && gGame->map != nullptr) UpdateOwnershipLayer(*gGame->map, MinimapTexture());
}

void cAppPresentation::RefreshInfoPanel() {
  if (cInfoPanel* panel = GetInfoPanel()) panel->Update();
}

void cAppPresentation::UpdateHexPanel() {
  if (cHexPanel* panel = GetHexPanel()) panel->Update();
}

void cAppPresentation::UpdateDiplomacyPanel() {
  if (cDiplomacyPanel* panel = GetDiplomacyPanel()) panel->Update();
}

void cAppPresentation::UpdateUnitPanel() {
  if (cUnitPanel* panel = GetUnitPanel()) panel->Update();
}

void cAppPresentation::SetHoveredSeaNode(int seaNodeId) {
  cHoverable* node = nullptr;
  if (seaNodeId != 0 && gGame != nullptr && gGame->seaGraph.IsNodeId(seaNodeId)) {
    node = &gGame->seaGraph.GetNode(seaNodeId - 1);
  }
  GetHintBox().SetHoverable(node);
}

void cAppPresentation::SetStatusText(std::u16string_view text) {
  if (cInfoPanel* panel = GetInfoPanel()) panel->SetStatusText(text);
}

void cAppPresentation::PushNewTurnDialog(int countryId) {
  GameLockGuard lock(kThisFile, __LINE__);
  PushHeldBoxes();
  PushModalDialog(new cDialogNowejTury(countryId));
}

void cAppPresentation::UpdateDateCaption() {
  GameLockGuard lock(kThisFile, __LINE__);
  tr::UpdateDateCaption(GetMinimapPanel());
}

void cAppPresentation::ResumePlayerPanels() {
  GameLockGuard lock(kThisFile, __LINE__);
  tr::ResumePlayerPanels();
}

void cAppPresentation::SuspendPlayerPanels() {
  GameLockGuard lock(kThisFile, __LINE__);
  tr::SuspendPlayerPanels();
}

void cAppPresentation::InstallMenuCallbacks() { InstallPausedCallbackSet(); }

void cAppPresentation::InstallGameCallbacks() {
  InstallGameCallbackSet();
  InstallGameCommandHandlers();
}

void cAppPresentation::CenterCameraOn(int x, int y, bool glide) {
  // The computer's moves follow the camera from the worker, while the frame
  // moves and draws it.
  GameLockGuard lock(kThisFile, __LINE__);
  if (gGame != nullptr && gGame->map != nullptr) CenterAtHex(*gGame->map, x, y, glide);
}

void cAppPresentation::AnimateMove(const std::function<bool()>& step) { SetPendingMoveStep(step); }

TextureId cAppPresentation::LoadTexture(const std::filesystem::path& file, eTextureUse use) {
  return LoadGameTexture(file, TextureUseBound(use));
}

void cAppPresentation::ReleaseTexture(TextureId texture) {
  std::lock_guard lock(flagMutex_);
  if (texture == defaultFlag_) return;
  ReleaseGameTexture(texture);
}

TextureId cAppPresentation::DefaultFlagTexture() {
  std::lock_guard lock(flagMutex_);
  if (defaultFlag_ == kNoTexture) {
    defaultFlag_ =
        LoadGameTexture(ResolveGamePath(u"data\\gfx\\Flags\\unknown.png"), TextureUseBound(eTextureUse::kPlain));
  }
  return defaultFlag_;
}

void cAppPresentation::ReleaseGameTextures() {
  ReleaseMenuPicture(kPauseWallpaper);
  std::lock_guard lock(flagMutex_);
  ReleaseGameTexture(defaultFlag_);
  defaultFlag_ = kNoTexture;
}

}  // namespace tr
