#include "app/settings_menu.h"

#include "app/menu_wallpaper.h"
#include "foundation/console_log.h"
#include "foundation/string_base.h"
#include "gui/static.h"
#include "platform/codes.h"

namespace tr {
namespace {

constexpr int kTitle = 80;

}  // namespace

cSettingsMenu::cSettingsMenu() {
  LoadMenuPicture(kPreferencesWallpaper, u"data\\gfx\\wallpaper_preferences.png");
  CDXUTStatic* title = nullptr;
  AddStaticAt(kTitle, GetText("pref_title"), &title);
  if (title != nullptr) {
    title->SetTextElement(2);
    title->SetTextFormat(DT_CENTER | DT_VCENTER);
  }
  LogLine(u"Preferences dialog not available yet");
  SetVisible(true);
}

void cSettingsMenu::Render(float elapsed) {
  DrawMenuWallpaper(kPreferencesWallpaper);
  OnRender(elapsed);
}

}  // namespace tr
