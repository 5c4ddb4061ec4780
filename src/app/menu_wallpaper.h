// What the full-screen menus share: their texture records (wallpapers and the
// placeholder flag), the wallpaper drawn over the whole back buffer, and the
// version line in the bottom-left corner.
#pragma once

#include <string>
#include <string_view>

#include "platform/texture.h"

namespace tr {

class CDXUTDialog;
class TextureHolder;

// One record per picture; each menu releases and reloads its own.
enum eMenuPicture : int {
  kMainMenuWallpaper = 0,
  kScenarioMenuWallpaper,
  kScenarioSettingsWallpaper,
  kPreferencesWallpaper,
  kLoadingWallpaper,
  kPauseWallpaper,
  kScenarioPicture,
  kPlaceholderFlag,
  kMenuPictureCount,
};
TextureHolder& MenuPicture(eMenuPicture picture);
// Releases the record, then loads the game path into it (from file); false when it did not load.
bool LoadMenuPicture(eMenuPicture picture, std::u16string_view gamePath, PictureBound bound = {});
void ReleaseMenuPicture(eMenuPicture picture);

// The back buffer's size: the running frame's, else the configured resolution.
int BackBufferWidth();
int BackBufferHeight();

// Draws the picture's layout-record-1 rectangle scaled over the whole back
// buffer with the shared sprite; an empty record draws nothing.
void DrawMenuWallpaper(eMenuPicture picture);

// "Tidereach v1.02", or with " [build N]" when the build is not a multiple of 100.
std::u16string VersionLine();
// The version static 7001 at (30, back-buffer height - 30, 1024, 30).
void AddVersionStatic(CDXUTDialog& dialog);

}  // namespace tr
