// A dialog with every control type, placed from a layout file of its own and
// driven by a script of platform events: the callback log must be exactly
// what a player's clicks and keys produce, and the rendered screenshot
// ("gui_gallery_screenshot.png" in the test folder of the build) must show
// every control.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "foundation/gui_layout.h"
#include "foundation/paths.h"
#include "gui/combo_box.h"
#include "gui/edit_box.h"
#include "gui/frame.h"
#include "gui/list_box.h"
#include "gui/memo.h"
#include "gui/resource_cache.h"
#include "gui/slider.h"
#include "gui/tab_frame.h"
#include "gui_fixture.h"
#include "platform/graphics.h"
#include "platform/texture.h"

namespace tr {
namespace {

using Events = std::vector<test::SentEvent>;

enum GalleryId {
  kFrameId = 900, kStaticId, kButtonId, kCheckId, kRadioOneId, kRadioTwoId, kIconId, kImageId, kTabsId,
  kTabOneId, kTabTwoId, kProgressId, kComboId, kSliderId, kEditId, kListId, kMemoId, kFieldId, kFieldLabelId,
};

constexpr char kLayout[] =
    "# Gallery layout: id;x;y;width;height\r\n"
    "900;0;0;700;460\r\n901;60;50;200;20\r\n902;60;80;140;30\r\n903;60;120;200;22\r\n"
    "904;60;150;200;22\r\n905;60;180;200;22\r\n906;60;215;25;25\r\n907;100;215;32;32\r\n"
    "908;300;50;180;100\r\n909;320;95;140;20\r\n910;320;95;140;20\r\n911;60;260;200;25\r\n"
    "912;60;300;200;30\r\n913;300;170;200;25\r\n914;300;210;200;30\r\n915;300;255;200;130\r\n"
    "916;520;50;160;180\r\n917;400;400;100;24\r\n918;300;400;90;24\r\n"
    "# Fonts: number;face;height;weight;red;green;blue;red;green;blue\r\n"
    "0;Liberation Sans;12;50;255;255;255;0;0;0\r\n"
    "1;Liberation Sans;14;50;255;255;255;255;220;140\r\n"
    "3;Liberation Sans;16;75;255;220;140;255;255;255\r\n";

class GalleryTest : public test::GuiFixture {
 protected:
  static constexpr int kLeft = 40;
  static constexpr int kTop = 40;

  void SetUp() override {
    GuiFixture::SetUp();
    saved_table_ = sGuiLayoutTable;
    saved_fonts_ = gGuiFonts;
    std::ofstream(folder_.path() / "data" / "GUI_gallery.csv", std::ios::binary) << kLayout;
    ASSERT_TRUE(LoadGuiLayoutFile(u"data\\GUI_gallery.csv"));
    const std::filesystem::path game = TR_GAME_DIR;
    ASSERT_TRUE(std::filesystem::exists(game / "data" / "gfx" / "GUI.png")) << "the build draws the skin";
    SetGameRoot(game);
    GetGuiResourceCache().Clear();
    GetGuiResourceCache().OnCreateDevice(&frame_->graphics());
  }
  void TearDown() override {
    frame_->SetMessageCallback({});
    sGuiLayoutTable = saved_table_;
    gGuiFonts = saved_fonts_;
    GuiFixture::TearDown();
  }

  void Build(CDXUTDialog& dialog, Texture* picture) {
    dialog.SetLocation(kLeft, kTop);
    dialog.SetSize(700, 460);
    dialog.SetBackgroundColors(0xE0101820u);
    Rect r;
    ASSERT_EQ(CDXUTDialog::GetLayoutRect(kFrameId, &r), S_OK);
    ASSERT_EQ(dialog.AddFrame(kFrameId, r.left, r.top, r.right, r.bottom, 0), S_OK);
    ASSERT_EQ(dialog.AddStaticAt(kStaticId, u"Every control"), S_OK);
    ASSERT_EQ(dialog.AddButtonAt(kButtonId, u"Button", u"a button"), S_OK);
    ASSERT_EQ(dialog.AddCheckBoxAt(kCheckId, u"Check box", {}, true), S_OK);
    ASSERT_EQ(dialog.AddRadioButtonAt(kRadioOneId, 1, u"Radio one", {}, true), S_OK);
    ASSERT_EQ(dialog.AddRadioButtonAt(kRadioTwoId, 1, u"Radio two"), S_OK);
    ASSERT_EQ(CDXUTDialog::GetLayoutRect(kIconId, &r), S_OK);
    ASSERT_EQ(dialog.AddIcon(kIconId, {290, 1921, 315, 1946}, r.left, r.top, r.right, r.bottom), S_OK);
    ASSERT_EQ(dialog.AddImageAt(kImageId, picture, {0, 0, 16, 16}), S_OK);
    CDXUTTabFrame* tabs = nullptr;
    ASSERT_EQ(dialog.AddTabFrameAt(kTabsId, &tabs), S_OK);
    ASSERT_EQ(dialog.AddStaticAt(kTabOneId, u"First tab"), S_OK);
    ASSERT_EQ(dialog.AddStaticAt(kTabTwoId, u"Second tab"), S_OK);
    tabs->AddTab(u"First", 0, kTabOneId, kTabOneId);
    tabs->AddTab(u"Second", 1, kTabTwoId, kTabTwoId);
    ASSERT_EQ(dialog.AddProgressBarAt(kProgressId, 0, 100, 60), S_OK);
    CDXUTComboBox* combo = nullptr;
    ASSERT_EQ(dialog.AddComboBoxAt(kComboId, u"a choice", &combo), S_OK);
    for (const char16_t* text : {u"North", u"South", u"East", u"West"}) combo->AddItem(text, 0);
    ASSERT_EQ(dialog.AddSliderAt(kSliderId, 0, 100, 50), S_OK);
    ASSERT_EQ(dialog.AddEditBoxAt(kEditId, u"", u"type here"), S_OK);
    CDXUTListBox* list = nullptr;
    ASSERT_EQ(dialog.AddListBoxAt(kListId, 0, &list), S_OK);
    list->SetColumns(2, u"Unit;Strength", 60, 40);
    for (const char16_t* text : {u"Infantry;10", u"Armour;8", u"Artillery;6", u"Cavalry;4"}) list->AddItem(text, 0);
    ASSERT_EQ(dialog.AddMemoAt(kMemoId, u"A memo wraps its words over lines and scrolls by whole lines."), S_OK);
    ASSERT_EQ(AddTextField(&dialog, kFieldId, u"1942", u"the year", kFieldLabelId, u"Year"), S_OK);
  }

  // Screen point of a point relative to the dialog.
  static int X(int x) { return kLeft + x; }
  static int Y(int y) { return kTop + y; }
  void Click(int x, int y) {
    frame_->Inject(RawInput::MouseDown(RawInput::kLeft, X(x), Y(y)));
    frame_->Inject(RawInput::MouseUp(RawInput::kLeft, X(x), Y(y)));
    frame_->PumpEvents();
  }
  std::vector<std::uint32_t> Draw(CDXUTDialog& dialog) {
    Graphics& graphics = frame_->graphics();
    graphics.Clear(0xFF304830u);
    dialog.OnRender(1.0f);
    dialog.OnRender(1.0f);
    graphics.Present();
    return graphics.ReadPixels();
  }

 private:
  std::array<sGuiLayoutEntry, kGuiLayoutEntryCount> saved_table_{};
  std::array<sGuiFont, kGuiFontCount> saved_fonts_{};
};

TEST_F(GalleryTest, AScriptOfPlayerInputGivesTheExactCallbackLogAndAScreenshot) {
  auto picture = Texture::CreateEmpty(16, 16, 0xFF3060C0u);
  CDXUTDialog dialog;
  Build(dialog, picture.get());
  Listen(dialog);
  frame_->SetMessageCallback([&](std::uint32_t msg, WParam wparam, LParam lparam, bool* done) -> std::int64_t {
    CDXUTEditBox::HandleImeMessage(msg, wparam, lparam);
    *done = dialog.MsgProc(msg, wparam, lparam);
    return 0;
  });
  Draw(dialog);

  Click(130, 95);  // the button
  Click(350, 225);  // into the edit box
  frame_->Inject(RawInput::Text("ok"));
  frame_->Inject(RawInput::KeyDown(VK_RETURN));
  frame_->Inject(RawInput::KeyUp(VK_RETURN));
  frame_->PumpEvents();

  auto* list = static_cast<CDXUTListBox*>(dialog.GetControl(kListId));
  const int row_y = list->GetTextRect().top + list->GetTextHeight() + list->GetTextHeight() / 2;
  Click(list->GetTextRect().left + 10, row_y);  // the second row

  auto* combo = static_cast<CDXUTComboBox*>(dialog.GetControl(kComboId));
  Click(100, 315);  // opens the list
  ASSERT_TRUE(combo->IsOpened());
  Draw(dialog);
  const Rect third = combo->GetItem(2)->active;
  Click(third.left + 5, (third.top + third.bottom) / 2);

  auto* slider = static_cast<CDXUTSlider*>(dialog.GetControl(kSliderId));
  const Rect thumb = slider->GetThumbRect();
  const int thumb_x = (thumb.left + thumb.right) / 2;
  const int thumb_y = (thumb.top + thumb.bottom) / 2;
  frame_->Inject(RawInput::MouseDown(RawInput::kLeft, X(thumb_x), Y(thumb_y)));
  frame_->Inject(RawInput::MouseMove(X(thumb_x + 36), Y(thumb_y)));
  frame_->Inject(RawInput::MouseUp(RawInput::kLeft, X(thumb_x + 36), Y(thumb_y)));
  frame_->PumpEvents();

  EXPECT_EQ(events_, (Events{{GuiEventButtonClicked, kButtonId},
                             {GuiEventEditChanged, kEditId},
                             {GuiEventEditChanged, kEditId},
                             {GuiEventEditEnter, kEditId},
                             {GuiEventListSelection, kListId},
                             {GuiEventComboSelectionChanged, kComboId},
                             {GuiEventSliderChanged, kSliderId},
                             {GuiEventSliderChanged, kSliderId}}));
  EXPECT_EQ(static_cast<CDXUTEditBox*>(dialog.GetControl(kEditId))->GetText(), u"ok");
  EXPECT_EQ(list->GetSelectedIndex(), 1);
  EXPECT_EQ(combo->GetSelectedIndex(), 2);
  EXPECT_FALSE(combo->IsOpened());
  EXPECT_EQ(slider->GetValue(), 70);

  const std::vector<std::uint32_t> full = Draw(dialog);
  ASSERT_TRUE(frame_->graphics().SaveScreenshot("gui_gallery_screenshot.png"));

  // Each control shown changes the pixels of its own area.
  std::vector<CDXUTControl*> shown;
  for (const auto& control : dialog.Controls()) {
    if (control->GetID() != kFrameId && control->GetVisible()) shown.push_back(control.get());
  }
  ASSERT_EQ(shown.size(), 17u);  // the second tab's label is hidden
  for (CDXUTControl* control : shown) {
    control->SetVisible(false);
    const std::vector<std::uint32_t> without = Draw(dialog);
    control->SetVisible(true);
    const Rect box = control->GetBoundingBox();
    int differing = 0;
    for (int y = box.top; y < box.bottom; ++y) {
      for (int x = box.left; x < box.right; ++x) {
        const std::size_t at = static_cast<std::size_t>(Y(y)) * 1024 + static_cast<std::size_t>(X(x));
        differing += full[at] != without[at];
      }
    }
    EXPECT_GT(differing, box.width() * box.height() / 50) << "control " << control->GetID();
  }
}

}  // namespace
}  // namespace tr
