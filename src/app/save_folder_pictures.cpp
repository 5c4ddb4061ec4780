#include "app/save_folder_pictures.h"

#include <algorithm>

#include "app/menu_wallpaper.h"

namespace tr {

PictureBound SaveFolderPictureBound() {
  constexpr int kScreens = 4;
  const auto side = [](int screen) { return std::clamp(screen, 1, PictureBound::kLargestSide) * kScreens; };
  return {std::min(side(BackBufferWidth()), PictureBound::kLargestSide),
          std::min(side(BackBufferHeight()), PictureBound::kLargestSide)};
}

}  // namespace tr
