// A dialog with one of each control, drawn headless from the generated skin
// and saved as "gui_dialog_screenshot.png" in the test folder of the build.
#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/paths.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/frame.h"
#include "gui/icon.h"
#include "gui/image.h"
#include "gui/progress_bar.h"
#include "gui/resource_cache.h"
#include "gui/static.h"
#include "gui/tab_frame.h"
#include "gui_fixture.h"
#include "platform/graphics.h"
#include "platform/texture.h"

namespace tr {
namespace {

using ScreenshotTest = test::GuiFixture;

TEST_F(ScreenshotTest, EveryControlIsDrawnFromTheGeneratedSkin) {
  const std::filesystem::path game = TR_GAME_DIR;
  ASSERT_TRUE(std::filesystem::exists(game / "data" / "gfx" / "GUI.png")) << "the build draws the skin";
  SetGameRoot(game);
  GetGuiResourceCache().Clear();
  GetGuiResourceCache().OnCreateDevice(&frame_->graphics());

  auto picture = Texture::CreateEmpty(16, 16, 0xFF3060C0u);
  CDXUTDialog dialog;
  dialog.SetLocation(40, 40);
  dialog.SetSize(560, 400);
  dialog.EnableCaption(true);
  dialog.SetCaptionText(u"All controls");
  dialog.SetBackgroundColors(0xC0101820u);
  dialog.AddFrame(1, 0, 0, 560, 400, 0);
  dialog.AddStatic(2, u"A static label", 60, 50, 200, 20);
  dialog.AddButton(3, u"Button", 60, 80, 140, 30);
  dialog.AddCheckBox(4, u"Check box", 60, 120, 200, 22, true);
  dialog.AddRadioButton(5, 1, u"Radio one", 60, 150, 200, 22, true);
  dialog.AddRadioButton(6, 1, u"Radio two", 60, 180, 200, 22, false);
  dialog.AddIcon(7, {290, 1921, 315, 1946}, 60, 215, 25, 25);
  CDXUTImage* image = nullptr;
  dialog.AddImage(8, picture.get(), {0, 0, 16, 16}, 100, 215, 32, 32, 0, false, &image);
  dialog.AddFrame(9, 290, 50, 220, 90, 2);
  CDXUTTabFrame* tabs = nullptr;
  ASSERT_EQ(dialog.AddTabFrameAt(10, &tabs), S_OK);
  tabs->SetLocation(290, 160);
  tabs->SetSize(220, 110);
  dialog.AddStatic(11, u"First tab", 310, 200, 150, 20);
  dialog.AddStatic(12, u"Second tab", 310, 200, 150, 20);
  tabs->AddTab(u"First", 0, 11, 11);
  tabs->AddTab(u"Second", 1, 12, 12);
  CDXUTProgressBar* bar = nullptr;
  dialog.AddProgressBarAt(13, 0, 100, 60, &bar);
  bar->SetLocation(60, 300);
  bar->SetSize(300, 25);

  Graphics& graphics = frame_->graphics();
  auto draw = [&] {
    graphics.Clear(0xFF304830u);
    dialog.OnRender(1.0f);
    dialog.OnRender(1.0f);
    graphics.Present();
    return graphics.ReadPixels();
  };
  const std::vector<std::uint32_t> full = draw();
  ASSERT_EQ(full.size(), 1024u * 768u);
  ASSERT_TRUE(graphics.SaveScreenshot("gui_dialog_screenshot.png"));

  // Against the same dialog with only its outer frame, each control changes pixels of its own area.
  std::vector<CDXUTControl*> shown;
  for (const auto& control : dialog.Controls()) {
    if (control->GetID() != 1 && control->GetVisible()) shown.push_back(control.get());
  }
  for (CDXUTControl* control : shown) control->SetVisible(false);
  const std::vector<std::uint32_t> bare = draw();
  const int top = 40 + dialog.GetCaptionHeight();
  for (CDXUTControl* control : shown) {
    const Rect box = control->GetBoundingBox();
    int differing = 0;
    for (int y = box.top; y < box.bottom; ++y) {
      for (int x = box.left; x < box.right; ++x) {
        const std::size_t at = static_cast<std::size_t>(top + y) * 1024 + 40 + x;
        differing += full[at] != bare[at];
      }
    }
    EXPECT_GT(differing, box.width() * box.height() / 20) << "control " << control->GetID();
  }
}

}  // namespace
}  // namespace tr
