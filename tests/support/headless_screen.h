// The GUI's screen without a display: a headless frame with a recording
// device, the GUI resource cache made on it and a white skin picture in a
// temporary game folder, with the GUI's hooks, focus and hint box reset around
// each test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/draw_record.h"
#include "platform/frame.h"
#include "support/temp_dir.h"

namespace tr::test {

class HeadlessScreenFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  ManualClock clock_;
  TempDir folder_;
  std::unique_ptr<AppFrame> frame_;
  DrawRecorder recorder_;

 private:
  std::filesystem::path oldRoot_;
};

}  // namespace tr::test
