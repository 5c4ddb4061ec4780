#include "app/mainmenu.h"

#include <memory>
#include <string>

#include "app/menu_wallpaper.h"
#include "app/music_player.h"
#include "app/scenario_menu.h"
#include "app/settings_menu.h"
#include "app/sound.h"
#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "foundation/string_base.h"
#include "platform/codes.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "platform/movie_player.h"
#include "world/gra.h"

namespace tr {
namespace {

enum eMainMenuControl : int {
  kFrame = 70,
  kStart = 71,
  kPreferences = 72,
  kCredits = 73,
  kExit = 74,
};

}  // namespace

void AddMenuButton(CDXUTDialog& dialog, int id, const char* key) {
  const std::string hintKey = std::string(key) + "_hint";
  dialog.AddButtonAt(id, GetText(key), GetText(hintKey));
}

void AddMenuFrame(CDXUTDialog& dialog, int id) {
  Rect box;
  if (Failed(CDXUTDialog::GetLayoutRect(id, &box))) return;
  // GetLayoutRect gives x, y, width, height in the rectangle's fields.
  dialog.AddFrame(id, box.left, box.top, box.right, box.bottom, 0);
}

void PlayMainMenuMusic() {
  StopSoundSlot(kSoundMainMenuMusicLoop);
  PlaySoundSlot(kSoundMainMenuMusicLoop, true);
}

cMainMenu::cMainMenu() {
  LogLine(u"----- Main Menu -----");
  StopSoundSlot(kSoundIntroGameLogo);
  PlaySoundSlot(kSoundMainMenuMusicLoop, true);
  LoadMenuPicture(kMainMenuWallpaper, u"data\\gfx\\wallpaper_main.png");
  AddMenuFrame(*this, kFrame);
  AddMenuButton(*this, kStart, "mainmenu_start");
  AddMenuButton(*this, kPreferences, "mainmenu_preferences");
  AddMenuButton(*this, kCredits, "mainmenu_credits");
  AddMenuButton(*this, kExit, "mainmenu_exit");
  AddVersionStatic(*this);
  SetVisible(true);
}

void cMainMenu::Render(float elapsed) {
  DrawMenuWallpaper(kMainMenuWallpaper);
  OnRender(elapsed);
}

void cMainMenu::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  switch (controlId) {
    case kStart: {
      ReleaseMenuPicture(kMainMenuWallpaper);
      // This menu is deleted after the dispatch: nothing of it is touched below.
      auto* menu = new cScenarioMenu();
      CurrentMenu = menu;
      menu->FillLists();
      return;
    }
    case kPreferences:
      // This menu is deleted after the dispatch.
      CurrentMenu = new cSettingsMenu();
      return;
    case kCredits:
      PlayCredits();
      return;
    case kExit:
      ReleaseMenuPicture(kMainMenuWallpaper);
      if (AppFrame* frame = CurrentFrame()) frame->RequestClose();
      return;
    default:
      return;
  }
}

void cMainMenu::PlayCredits() {
  SetVisible(false);
  StopSoundSlot(kSoundMainMenuMusicLoop);
  {
    cMoviePlayer movie(GetAudioDevice());
    if (!movie.Open(u"data\\credits.avi")) {
      LogLine(u"Loading credits movie from datacredits.avi [FAILED]");
    } else {
      LogLine(u"Loading credits movie from datacredits.avi [OK]");
      std::unique_ptr<cMusicPlayer> temporary;
      cMusicPlayer* music = gGame != nullptr ? GameMusicPlayer() : nullptr;
      if (music == nullptr) {
        temporary = std::make_unique<cMusicPlayer>();
        music = temporary.get();
      }
      music->StopSingleTrack();
      music->PlayFile("data/credits.ogg");
      movie.Play(10000);
      SleepLogged(100, "mainmenu.cpp", __LINE__);
      do {
        SleepLogged(5, "mainmenu.cpp", __LINE__);
        if (GetAsyncKeyState(VK_ESCAPE) < 0) {
          movie.Stop();
          music->StopSingleTrack();
        }
      } while (movie.IsPlaying());
    }
  }
  PlaySoundSlot(kSoundMainMenuMusicLoop, true);
  SetVisible(true);
}

}  // namespace tr
