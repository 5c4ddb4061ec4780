// The application's screen without a display: the headless GUI screen and,
// after each test, an empty modal stack, no menu, no panels and the layout
// table as it was.
#pragma once

#include <array>

#include "foundation/gui_layout.h"
#include "support/headless_screen.h"

namespace tr::test {

class ScreenFixture : public HeadlessScreenFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Sets one layout entry (x, y, width, height).
  static void SetLayout(int id, int x, int y, int width, int height);
  // Copies the shipped 1024x768 layout into the test's folder and loads it.
  bool LoadShippedLayout();

 private:
  std::array<sGuiLayoutEntry, kGuiLayoutEntryCount> oldLayout_{};
};

}  // namespace tr::test
