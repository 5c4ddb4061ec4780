#include "app/settings_menu.h"

#include "app/map_skin.h"
#include "app/menu_wallpaper.h"
#include "app/modal_stack.h"
#include "dialogs/preferences_dialog.h"
#include "foundation/format.h"
#include "foundation/settings.h"
#include "foundation/console_log.h"
#include "foundation/string_base.h"
#include "gui/static.h"
#include "platform/codes.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr int kTitle = 80;

}  // namespace

cSettingsMenu::cSettingsMenu() {
  LoadMenuPicture(kPreferencesWallpaper, u"data\\gfx\\wallpaper_preferences.png");
  // The dialog's border previews are cut from the map skin, which no game has loaded yet.
  if (gGame == nullptr) {
    TextureHolder& others = MapSkinTextures().others;
    others.Release();
    others.Load(Format(u"data\\gfx\\[MapSkin]%s\\others.png", gMapSkin), TextureHolder::kModeFile, 1);
  }
  CDXUTStatic* title = nullptr;
  AddStaticAt(kTitle, GetText("pref_title"), &title);
  if (title != nullptr) {
    title->SetTextElement(2);
    title->SetTextFormat(DT_CENTER | DT_VCENTER);
  }
  PushModalDialog(new cDialogUstawien());
  SetVisible(true);
}

void cSettingsMenu::Render(float elapsed) {
  DrawMenuWallpaper(kPreferencesWallpaper);
  OnRender(elapsed);
}

}  // namespace tr
