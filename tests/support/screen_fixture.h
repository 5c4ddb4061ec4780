// The application's screen without a display: a headless frame with a
// recording device, the GUI resource cache made on it, a white skin picture
// in a temporary game folder, and, after each test, an empty modal stack, no
// menu, no panels and the layout table as it was.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>

#include "foundation/gui_layout.h"
#include "platform/draw_record.h"
#include "platform/frame.h"
#include "support/temp_dir.h"

namespace tr::test {

class ScreenFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Sets one layout entry (x, y, width, height).
  static void SetLayout(int id, int x, int y, int width, int height);

  ManualClock clock_;
  TempDir folder_;
  std::unique_ptr<AppFrame> frame_;
  DrawRecorder recorder_;

 private:
  std::filesystem::path oldRoot_;
  std::array<sGuiLayoutEntry, kGuiLayoutEntryCount> oldLayout_{};
};

}  // namespace tr::test
