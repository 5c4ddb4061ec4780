// cMinimapPanel: the panel of the minimap picture, the frame of the part of
// the map in view, the date caption and the five map buttons. Every event of
// its controls goes to the game's command handler; a click on the picture
// arrives as control 315.
#pragma once

#include <array>
#include <cstdint>

#include "dialogs/panel.h"

namespace tr {

class cMinimapPanel : public cPanel {
 public:
  static constexpr int kDateCaption = 311;
  static constexpr int kMinimapImage = 315;

  cMinimapPanel();

  // Stores where the minimap picture lies on screen (x, y, width, height)
  // and puts the picture there again as the one image 315.
  void SetViewRect(const std::array<std::int32_t, 4>& rect);
  const std::array<std::int32_t, 4>& GetViewRect() const { return viewRect_; }

  // Nothing while collapsed; otherwise the panel, then the view frame.
  void Render(float elapsed) override;

 private:
  std::array<std::int32_t, 4> viewRect_{};
};

// The game's minimap panel, or null.
cMinimapPanel* GetMinimapPanel();

}  // namespace tr
