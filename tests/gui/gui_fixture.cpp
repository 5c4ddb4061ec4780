#include "gui_fixture.h"

#include <cmath>

#include "foundation/paths.h"
#include "gui/dispatch_scope.h"
#include "gui/gui_hooks.h"
#include "gui/hint_box.h"
#include "gui/resource_cache.h"
#include "platform/texture.h"

namespace tr::test {

void GuiFixture::SetUp() {
  old_root_ = GameRoot();
  // A skin picture as tall as the real one, so every default rectangle lies inside it.
  std::vector<std::uint32_t> texels(64 * 2048, 0xFFFFFFFFu);
  std::filesystem::create_directories(folder_.path() / "data" / "gfx");
  ASSERT_TRUE(SavePng(folder_.path() / "data" / "gfx" / "GUI.png", texels.data(), 64, 2048, 64));
  SetGameRoot(folder_.path());

  frame_ = AppFrame::CreateHeadless(1024, 768, &clock_);
  ASSERT_TRUE(Succeeded(frame_->CreateWindowAndDevice(FrameConfig{u"gui test", 1024, 768, false})));
  frame_->graphics().SetRecorder(&recorder_);
  GetGuiResourceCache().Clear();
  GetGuiResourceCache().OnCreateDevice(&frame_->graphics());
  GetGuiResourceCache().OnResetDevice();
  GetHintBox().Init(20, 20, 16, 40, 500);
  CDXUTDialog::ClearFocus();
  CDXUTDialog::ResetLayoutDrag();
  SetGuiSoundHook([this](std::uint32_t event, int id, CDXUTControl*) { sounds_.push_back({event, id}); });
  SetControlMovedHook({});
}

void GuiFixture::TearDown() {
  CDXUTDialog::ClearFocus();
  GetHintBox().Init(20, 20, 16, 40, 500);
  SetGuiSoundHook({});
  SetControlMovedHook({});
  GetGuiResourceCache().Clear();
  if (frame_) frame_->graphics().SetRecorder(nullptr);
  frame_.reset();
  SetGameRoot(old_root_);
}

bool GuiFixture::Send(CDXUTDialog& dialog, std::uint32_t msg, int x, int y, WParam wparam) {
  return dialog.MsgProc(msg, wparam, MakeLParam(x, y));
}

bool GuiFixture::Key(CDXUTDialog& dialog, std::uint32_t msg, std::uint32_t vk) {
  return dialog.MsgProc(msg, vk, msg == WM_KEYUP ? (kKeyPreviousStateBit | kKeyTransitionBit | 1) : 1);
}

void GuiFixture::HoldKey(std::uint32_t vk, bool down) {
  frame_->Inject(down ? RawInput::KeyDown(vk) : RawInput::KeyUp(vk));
  frame_->PumpEvents();
}

void GuiFixture::Listen(CDXUTDialog& dialog) {
  dialog.SetCallback([this](std::uint32_t event, int id, CDXUTControl*) { events_.push_back({event, id}); });
}

void GuiFixture::RenderOnce(CDXUTDialog& dialog, float elapsed) {
  recorder_.Clear();
  dialog.OnRender(elapsed);
}

Rect DestOf(const DrawRecord& record) {
  return {static_cast<int>(std::lround(record.dest.left)), static_cast<int>(std::lround(record.dest.top)),
          static_cast<int>(std::lround(record.dest.right)), static_cast<int>(std::lround(record.dest.bottom))};
}

}  // namespace tr::test
