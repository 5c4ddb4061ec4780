// The event dialog: its buttons, its height and place by picture, memo and
// option count, the pick filed and run once, the play-by-e-mail save and
// exit (and the dialog kept when the save fails), and the app port's push.
#include "dialogs/event_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/app_presentation.h"
#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "dialogs/dialog_tekstowy.h"
#include "events/event_builders.h"
#include "events/zdarzenia.h"
#include "gui/button.h"
#include "gui/image.h"
#include "gui/memo.h"
#include "gui/static.h"
#include "platform/codes.h"
#include "platform/texture.h"
#include "scenario/save_game.h"
#include "support/log_capture.h"
#include "support/screen_fixture.h"
#include "support/world_builder.h"

namespace tr {
namespace {

constexpr int kScreenMiddle = 384;

class EventDialogTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    gExitAfterEventDialog.store(0);
    // Record 780 spans the screen's height, so the dialog is centred on it.
    SetLayout(780, 100, 0, 600, 768);
    SetLayout(781, 110, 10, 580, 30);
    SetLayout(782, 110, 48, 128, 85);
    SetLayout(783, 300, 48, 380, 200);
    SetLayout(784, 110, 141, 256, 300);
    SetLayout(785, 300, 258, 380, 34);
    SetLayout(786, 300, 258, 380, 40);
    SetLayout(684, 312, 280, 400, 0);
    SetLayout(685, 16, 12, 16, 24);
    SetLayout(687, 20, 10, 20, 12);
    SetLayout(688, 462, 14, 100, 28);
  }
  void TearDown() override {
    gExitAfterEventDialog.store(0);
    ScreenFixture::TearDown();
  }
  // An event of country 1 whose option k adds k to flag 1.
  cEvent Event(int optionCount, std::u16string image = {}) {
    cEvent event = test::MakeEvent(7);
    event.title = u"The ultimatum";
    event.description = u"Our generals ask for the passes.";
    event.image = std::move(image);
    for (int k = 1; k <= optionCount; ++k) {
      sEventOption option = test::MakeOption(10, {test::MakeEffect(u"Flag.ChangeValue", {1.0, double(k)})},
                                             u"Option " + std::u16string(1, char16_t(u'0' + k)));
      option.tooltip = u"Tip " + std::u16string(1, char16_t(u'0' + k));
      event.options.push_back(option);
    }
    return event;
  }
  cDialogEventu& Open(const cEvent& event) {
    auto* dialog = new cDialogEventu(event);
    PushModalDialog(dialog);
    return *dialog;
  }
  void WritePicture(const char* name, int width, int height) {
    std::vector<std::uint32_t> texels(static_cast<std::size_t>(width * height), 0xFF336699u);
    std::filesystem::create_directories(folder_.path() / "data" / "events");
    ASSERT_TRUE(SavePng(folder_.path() / "data" / "events" / name, texels.data(), width, height, width));
  }
  static void Click(const CDXUTControl* control) {
    ASSERT_NE(control, nullptr);
    const Rect box = control->GetBoundingBox();
    const LParam at = MakeLParam(box.left + 3, box.top + 3);
    bool noFurther = false;
    OnWindowMessage(WM_LBUTTONDOWN, MK_LBUTTON, at, &noFurther);
    OnWindowMessage(WM_LBUTTONUP, 0, at, &noFurther);
  }
  static std::vector<int> Buttons(const cDialog& dialog) {
    std::vector<int> ids;
    for (const auto& control : dialog.Controls()) {
      if (control->GetType() == kControlButton) ids.push_back(control->GetID());
    }
    return ids;
  }
  std::int32_t& flag(int index) { return world_.game().flags[static_cast<std::size_t>(index)]; }
  void MakePbem() {
    world_.game().pbemGame = 1;
    world_.game().pbemGameName = u"duel";
    world_.game().saveContext = std::make_unique<cGameSaver>(world_.game());
  }

  test::TestWorld world_{3, 3, 2};
};

TEST_F(EventDialogTest, ThreeOptionsInAPlayByEmailGameGetTheirButtonsAndSaveAndExit) {
  MakePbem();
  const cDialogEventu& dialog = Open(Event(3));
  EXPECT_EQ(Buttons(dialog), (std::vector<int>{4001, 4002, 4003, 4005}));
  const auto* second = static_cast<const CDXUTButton*>(dialog.GetControl(4002));
  EXPECT_EQ(second->GetText(), u"Option 2");
  EXPECT_EQ(second->GetHint(), u"Tip 2");
  const auto* save = static_cast<const CDXUTButton*>(dialog.GetControl(4005));
  EXPECT_EQ(save->GetText(), u"event_save_and_exit");
  EXPECT_EQ(save->GetHint(), u"event_save_and_exit_hint");
  // The save slot follows the third option's.
  EXPECT_EQ(save->y() - dialog.GetControl(4003)->y(), 40);
  EXPECT_EQ(dialog.GetControl(4001)->x(), 300);
  const auto* title = static_cast<const CDXUTStatic*>(dialog.GetControl(cDialogEventu::kTitle));
  EXPECT_EQ(title->GetText(), u"The ultimatum");
  EXPECT_EQ(title->GetTextFormat(), static_cast<std::uint32_t>(DT_CENTER | DT_VCENTER));
  const auto* memo = static_cast<const CDXUTMemo*>(dialog.GetControl(cDialogEventu::kDescription));
  ASSERT_NE(memo, nullptr);
  EXPECT_NE(dialog.GetControl(cDialogEventu::kFlag), nullptr);
}

TEST_F(EventDialogTest, SaveAndExitWritesTheTurnSetsTheFlagAndCloses) {
  MakePbem();
  const cDialogEventu& dialog = Open(Event(3));
  Click(dialog.GetControl(4005));
  EXPECT_EQ(gExitAfterEventDialog.load(), 1);
  EXPECT_EQ(TopDialog, nullptr);
  EXPECT_TRUE(std::filesystem::is_regular_file(folder_.path() / "data" / "pbem" / "duel" / "Info.ini"));
  EXPECT_EQ(flag(1), 0) << "no option ran";
}

TEST_F(EventDialogTest, AFailedSaveKeepsTheDialogAndTheFlagClearAndSaysSo) {
  MakePbem();
  world_.game().saveContext->stepCheck = [](int step, std::u16string_view) { return step != 3; };
  test::LogCapture log;
  cDialogEventu& dialog = Open(Event(3));
  Click(dialog.GetControl(4005));
  EXPECT_EQ(gExitAfterEventDialog.load(), 0);
  ASSERT_EQ(ModalDialogStack.size(), 2u);
  EXPECT_EQ(ModalDialogStack[0], &dialog);
  auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(log.ContainsText(u"could not be saved; the event dialog stays open"));
  // The player reads the box and picks an option after all.
  Click(box->GetControl(box->okButtonId()));
  EXPECT_EQ(TopDialog, &dialog);
  Click(dialog.GetControl(4001));
  EXPECT_EQ(flag(1), 1);
  EXPECT_EQ(TopDialog, nullptr);
}

TEST_F(EventDialogTest, OptionTwoIsFiledForTheEventsCountryRunsOnceAndCloses) {
  const cDialogEventu& dialog = Open(Event(3));
  EXPECT_EQ(Buttons(dialog), (std::vector<int>{4001, 4002, 4003})) << "no save button outside play-by-e-mail";
  Click(dialog.GetControl(4002));
  EXPECT_EQ(flag(1), 2);
  EXPECT_EQ(TopDialog, nullptr);
  const auto& reports = world_.game().reports.Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports.front().type, 25);
  EXPECT_EQ(reports.front().country, 1);
  EXPECT_EQ(reports.front().text,
            u"Event for country Country1: The ultimatum\n\nOur generals ask for the passes.\n\nChosen option: Option 2 "
            u"(Tip 2)");
}

TEST_F(EventDialogTest, IdsUpToTheBaseDoNothing) {
  cDialogEventu& dialog = Open(Event(2));
  for (int id : {0, 783, 4000}) dialog.OnGUIEvent(GuiEventButtonClicked, id, nullptr);
  EXPECT_EQ(TopDialog, &dialog);
  EXPECT_TRUE(world_.game().reports.Reports().empty());
}

struct HeightCase {
  const char* name;
  std::u16string image;
  int options;
  int memoHeight;
  bool picture;  // the picture loads
  int content;   // H
};
class EventDialogHeight : public EventDialogTest, public testing::WithParamInterface<HeightCase> {};

TEST_P(EventDialogHeight, FollowsPictureMemoOrButtonsAroundTheMiddle) {
  const HeightCase& c = GetParam();
  WritePicture("harbour.png", 64, 64);
  SetLayout(783, 300, 48, 380, c.memoHeight);
  test::LogCapture log;
  const cDialogEventu& dialog = Open(Event(c.options, c.image));
  const int offset = kScreenMiddle - (c.content + 10) / 2;
  const CDXUTControl* frame = dialog.GetControl(cDialogEventu::kDialogId);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->x(), 100);
  EXPECT_EQ(frame->y(), offset);
  EXPECT_EQ(frame->width(), 600);
  EXPECT_EQ(frame->height(), c.content + 10);
  EXPECT_EQ(dialog.GetControl(cDialogEventu::kTitle)->y(), 10 + offset);
  EXPECT_EQ(dialog.GetControl(cDialogEventu::kFlag)->y(), 48 + offset);
  EXPECT_EQ(dialog.GetControl(cDialogEventu::kDescription)->y(), 48 + offset);
  if (c.options > 0) {
    EXPECT_EQ(dialog.GetControl(4000 + c.options)->y(), 258 + (c.options - 1) * 40 + offset);
  }
  const CDXUTControl* picture = dialog.GetControl(cDialogEventu::kPicture);
  EXPECT_EQ(picture != nullptr, c.picture);
  EXPECT_EQ(dialog.picture().GetTexture() != nullptr, c.picture);
  if (picture != nullptr) {
    // Record 784 made square (256 of 256 x 300), centred.
    EXPECT_EQ(picture->x(), 110);
    EXPECT_EQ(picture->y(), 141 + 22 + offset);
    EXPECT_EQ(picture->width(), 256);
    EXPECT_EQ(picture->height(), 256);
    EXPECT_EQ(static_cast<const CDXUTImage*>(picture)->GetSourceRect(), (Rect{0, 0, 64, 64}));
  }
  if (c.image == u"missing.png") {
    EXPECT_TRUE(log.Contains(u"Loading file \"data\\events\\missing.png\" (1) [FAILED]"));
  }
  if (!c.picture && !c.image.empty() && c.image != u"missing.png") {
    EXPECT_TRUE(log.ContainsText(u"which is not a file of data\\events; no picture is shown"));
    EXPECT_FALSE(log.ContainsText(u"Loading file"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Contents, EventDialogHeight,
    testing::Values(HeightCase{"NoImageButtons", u"", 2, 200, false, 338},
                    HeightCase{"NoImageMemo", u"", 2, 400, false, 448},
                    HeightCase{"MissingImage", u"missing.png", 2, 200, false, 338},
                    HeightCase{"ParentFolder", u"../harbour.png", 2, 200, false, 338},
                    HeightCase{"DotDot", u"..", 2, 200, false, 338},
                    HeightCase{"Separator", u"sub/harbour.png", 2, 200, false, 338},
                    HeightCase{"Backslash", u"sub\\harbour.png", 2, 200, false, 338},
                    HeightCase{"Absolute", u"/harbour.png", 2, 200, false, 338},
                    HeightCase{"Picture", u"harbour.png", 1, 200, true, 419},
                    HeightCase{"PictureAndManyOptions", u"harbour.png", 6, 200, true, 498},
                    HeightCase{"SixOptions", u"", 6, 200, false, 498}),
    [](const auto& info) { return info.param.name; });

// Twelve slots fit under the memo in the 768 pixels of record 780; more wrap
// into columns that share the slots, and every button stays inside the frame
// and the frame inside the window.
struct ColumnCase {
  const char* name;
  int options;
  bool pbem;
  int columns;
  int rows;
};
class EventDialogColumns : public EventDialogTest, public testing::WithParamInterface<ColumnCase> {};

TEST_P(EventDialogColumns, KeepEveryOptionOnScreen) {
  const ColumnCase& c = GetParam();
  if (c.pbem) MakePbem();
  const cDialogEventu& dialog = Open(Event(c.options));
  const Rect frame = dialog.GetControl(cDialogEventu::kDialogId)->GetBoundingBox();
  const int offset = kScreenMiddle - (258 + c.rows * 40 + 10) / 2;
  EXPECT_EQ(frame.top, offset);
  EXPECT_EQ(frame.height(), 258 + c.rows * 40 + 10);
  EXPECT_TRUE(frame.top >= 0 && frame.bottom <= 768) << frame.top << "-" << frame.bottom;
  const int width = (380 - (c.columns - 1) * 4) / c.columns;
  const std::vector<int> ids = Buttons(dialog);
  ASSERT_EQ(static_cast<int>(ids.size()), c.options + (c.pbem ? 1 : 0));
  for (std::size_t slot = 0; slot < ids.size(); ++slot) {
    const CDXUTControl& button = *dialog.GetControl(ids[slot]);
    const int column = static_cast<int>(slot) / c.rows;
    EXPECT_EQ(button.x(), 300 + column * (width + 4)) << ids[slot];
    EXPECT_EQ(button.y(), 258 + offset + static_cast<int>(slot) % c.rows * 40) << ids[slot];
    EXPECT_EQ(button.width(), width) << ids[slot];
    const Rect box = button.GetBoundingBox();
    EXPECT_TRUE(box.left >= frame.left && box.right <= frame.right && box.bottom <= frame.bottom) << ids[slot];
  }
}

INSTANTIATE_TEST_SUITE_P(ManyOptions, EventDialogColumns,
                         testing::Values(ColumnCase{"TwelveInOneColumn", 12, false, 1, 12},
                                         ColumnCase{"ThirteenInTwoColumns", 13, false, 2, 7},
                                         ColumnCase{"TwelveAndSaveInTwoColumns", 12, true, 2, 7},
                                         ColumnCase{"TwentyInTwoColumns", 20, false, 2, 10},
                                         ColumnCase{"TwentyFourFillTwoColumns", 24, false, 2, 12},
                                         ColumnCase{"TwentyFiveInThreeColumns", 25, false, 3, 9},
                                         ColumnCase{"ThirtyInThreeColumns", 30, false, 3, 10}),
                         [](const auto& info) { return info.param.name; });

TEST_F(EventDialogTest, AppPortPushesTheDialogAndTheMainThreadDoesNotWait) {
  cAppPresentation port;
  port.PushEventDialog(Event(2));
  auto* dialog = dynamic_cast<cDialogEventu*>(TopDialog);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->shownEvent().eventID, 7);
  // Off the worker the wait returns at once: the dialog needs this thread.
  port.WaitForEventDialog("test", 1);
  EXPECT_EQ(flag(1), 0) << "the app port answers nothing by itself";
  Click(dialog->GetControl(4002));
  EXPECT_EQ(flag(1), 2);
  EXPECT_EQ(TopDialog, nullptr);
}

TEST_F(EventDialogTest, AppPortExitRequestIsTakenOnce) {
  cAppPresentation port;
  EXPECT_EQ(TakeRequestedProgramExit(), -1);
  port.RequestProgramExit(0);
  EXPECT_EQ(TakeRequestedProgramExit(), 0);
  EXPECT_EQ(TakeRequestedProgramExit(), -1);
}

}  // namespace
}  // namespace tr
