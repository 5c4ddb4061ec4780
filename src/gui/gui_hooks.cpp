#include "gui/gui_hooks.h"

#include <utility>

namespace tr {
namespace {

GuiSoundHook& SoundHook() {
  static GuiSoundHook hook;
  return hook;
}

ControlMovedHook& MovedHook() {
  static ControlMovedHook hook;
  return hook;
}

}  // namespace

void SetGuiSoundHook(GuiSoundHook hook) { SoundHook() = std::move(hook); }
void SetControlMovedHook(ControlMovedHook hook) { MovedHook() = std::move(hook); }

void CallGuiSoundHook(std::uint32_t event, int control_id, CDXUTControl* control) {
  // A copy, so a hook that replaces itself does not destroy the running function.
  if (GuiSoundHook hook = SoundHook()) hook(event, control_id, control);
}

bool CallControlMovedHook(CDXUTDialog* dialog, int control_id, const Rect& box, int dx, int dy) {
  if (ControlMovedHook hook = MovedHook()) return hook(dialog, control_id, box, dx, dy);
  return true;
}

}  // namespace tr
