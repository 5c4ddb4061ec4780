#include "support/headless_screen.h"

#include <vector>

#include "foundation/paths.h"
#include "gui/dialog.h"
#include "gui/gui_hooks.h"
#include "gui/hint_box.h"
#include "gui/resource_cache.h"
#include "platform/texture.h"

namespace tr::test {

void HeadlessScreenFixture::SetUp() {
  oldRoot_ = GameRoot();
  // A skin picture as tall as the real one, so every default rectangle lies inside it.
  std::vector<std::uint32_t> texels(64 * 2048, 0xFFFFFFFFu);
  std::filesystem::create_directories(folder_.path() / "data" / "gfx");
  ASSERT_TRUE(SavePng(folder_.path() / "data" / "gfx" / "GUI.png", texels.data(), 64, 2048, 64));
  SetGameRoot(folder_.path());

  frame_ = AppFrame::CreateHeadless(1024, 768, &clock_);
  ASSERT_TRUE(Succeeded(frame_->CreateWindowAndDevice(FrameConfig{u"headless test", 1024, 768, false})));
  frame_->graphics().SetRecorder(&recorder_);
  GetGuiResourceCache().Clear();
  GetGuiResourceCache().OnCreateDevice(&frame_->graphics());
  GetGuiResourceCache().OnResetDevice();
  GetHintBox().Init(20, 20, 16, 40, 500);
  CDXUTDialog::ClearFocus();
  CDXUTDialog::ResetLayoutDrag();
  SetGuiSoundHook({});
  SetControlMovedHook({});
}

void HeadlessScreenFixture::TearDown() {
  CDXUTDialog::ClearFocus();
  GetHintBox().Init(20, 20, 16, 40, 500);
  SetGuiSoundHook({});
  SetControlMovedHook({});
  GetGuiResourceCache().Clear();
  if (frame_) frame_->graphics().SetRecorder(nullptr);
  frame_.reset();
  SetGameRoot(oldRoot_);
}

}  // namespace tr::test
