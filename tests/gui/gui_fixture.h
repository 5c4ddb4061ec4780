// The headless GUI screen with a log of every event and GUI sound a dialog
// sends.
#pragma once

#include <vector>

#include "gui/dialog.h"
#include "support/headless_screen.h"

namespace tr::test {

struct SentEvent {
  std::uint32_t event = 0;
  int id = 0;
  bool operator==(const SentEvent&) const = default;
};

class GuiFixture : public HeadlessScreenFixture {
 protected:
  void SetUp() override;

  // Mouse and key messages in client coordinates.
  bool Send(CDXUTDialog& dialog, std::uint32_t msg, int x, int y, WParam wparam = 0);
  bool Key(CDXUTDialog& dialog, std::uint32_t msg, std::uint32_t vk);
  // Presses or releases a key in the frame's keyboard state.
  void HoldKey(std::uint32_t vk, bool down);
  // Routes the dialog's events into events_.
  void Listen(CDXUTDialog& dialog);
  // Renders the dialog into the recorder, which is cleared first.
  void RenderOnce(CDXUTDialog& dialog, float elapsed = 1.0f);
  std::vector<const DrawRecord*> Sprites() const { return recorder_.OfKind(DrawRecord::Kind::kSprite); }

  std::vector<SentEvent> events_;
  std::vector<SentEvent> sounds_;
};

// The destination of a recorded draw, rounded to whole pixels.
Rect DestOf(const DrawRecord& record);

}  // namespace tr::test
