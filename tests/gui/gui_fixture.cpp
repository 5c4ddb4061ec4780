#include "gui_fixture.h"

#include <cmath>

#include "gui/gui_hooks.h"

namespace tr::test {

void GuiFixture::SetUp() {
  HeadlessScreenFixture::SetUp();
  SetGuiSoundHook([this](std::uint32_t event, int id, CDXUTControl*) { sounds_.push_back({event, id}); });
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
