#include "support/screen_fixture.h"

#include <filesystem>

#include "app/frame_render.h"
#include "app/input_routing.h"
#include "app/menu.h"
#include "app/modal_stack.h"
#include "gui/dialog.h"

namespace tr::test {
namespace {

void ClearScreens() {
  PopModalDialogs(-1);
  ModalDialogStack.clear();
  TopDialog = nullptr;
  DeleteCurrentMenu();
  gInfoPanel = gDiplomacyPanel = gHexPanel = gUnitPanel = gAttackPanel = gMinimapPanel = nullptr;
  SetGameScreenHandlers({});
  SetMapRenderer({});
}

}  // namespace

void ScreenFixture::SetUp() {
  oldLayout_ = sGuiLayoutTable;
  HeadlessScreenFixture::SetUp();
  ClearScreens();
}

void ScreenFixture::TearDown() {
  ClearScreens();
  HeadlessScreenFixture::TearDown();
  sGuiLayoutTable = oldLayout_;
}

void ScreenFixture::SetLayout(int id, int x, int y, int width, int height) {
  sGuiLayoutTable[static_cast<std::size_t>(id)] = {x, y, width, height};
}

bool ScreenFixture::LoadShippedLayout() {
  std::filesystem::create_directories(folder_.path() / "data");
  std::filesystem::copy_file(std::filesystem::path(TR_SOURCE_DIR) / "data" / "GUI_1024x768.csv",
                             folder_.path() / "data" / "GUI_1024x768.csv",
                             std::filesystem::copy_options::overwrite_existing);
  return LoadGuiLayoutFile(u"data\\GUI_1024x768.csv");
}

}  // namespace tr::test
