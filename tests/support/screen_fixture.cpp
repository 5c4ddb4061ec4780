#include "support/screen_fixture.h"

#include <vector>

#include "app/frame_render.h"
#include "app/input_routing.h"
#include "app/menu.h"
#include "app/modal_stack.h"
#include "foundation/paths.h"
#include "gui/dialog.h"
#include "gui/gui_hooks.h"
#include "gui/hint_box.h"
#include "gui/resource_cache.h"
#include "platform/texture.h"

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
  oldRoot_ = GameRoot();
  oldLayout_ = sGuiLayoutTable;
  std::vector<std::uint32_t> texels(64 * 2048, 0xFFFFFFFFu);
  std::filesystem::create_directories(folder_.path() / "data" / "gfx");
  ASSERT_TRUE(SavePng(folder_.path() / "data" / "gfx" / "GUI.png", texels.data(), 64, 2048, 64));
  SetGameRoot(folder_.path());

  frame_ = AppFrame::CreateHeadless(1024, 768, &clock_);
  ASSERT_TRUE(Succeeded(frame_->CreateWindowAndDevice(FrameConfig{u"screen test", 1024, 768, false})));
  frame_->graphics().SetRecorder(&recorder_);
  GetGuiResourceCache().Clear();
  GetGuiResourceCache().OnCreateDevice(&frame_->graphics());
  GetGuiResourceCache().OnResetDevice();
  GetHintBox().Init(20, 20, 16, 40, 500);
  CDXUTDialog::ClearFocus();
  CDXUTDialog::ResetLayoutDrag();
  SetGuiSoundHook({});
  SetControlMovedHook({});
  ClearScreens();
}

void ScreenFixture::TearDown() {
  ClearScreens();
  CDXUTDialog::ClearFocus();
  GetHintBox().Init(20, 20, 16, 40, 500);
  GetGuiResourceCache().Clear();
  if (frame_) frame_->graphics().SetRecorder(nullptr);
  frame_.reset();
  sGuiLayoutTable = oldLayout_;
  SetGameRoot(oldRoot_);
}

void ScreenFixture::SetLayout(int id, int x, int y, int width, int height) {
  sGuiLayoutTable[static_cast<std::size_t>(id)] = {x, y, width, height};
}

}  // namespace tr::test
