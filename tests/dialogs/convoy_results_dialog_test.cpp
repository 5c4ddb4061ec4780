// The convoy results dialog: one row per result of the country, the first
// selected with its details, another row's details on selection, an empty
// list and memo without results, and Enter, Escape or Close to leave.
#include "dialogs/convoy_results_dialog.h"

#include <gtest/gtest.h>

#include "app/app_presentation.h"
#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "gui/list_box.h"
#include "gui/memo.h"
#include "platform/codes.h"
#include "support/screen_fixture.h"
#include "support/world_builder.h"

namespace tr {
namespace {

sConvoyResult Result(const char16_t* from, const char16_t* to, int needed, const char16_t* details) {
  sConvoyResult result;
  result.departureName = from;
  result.destinationName = to;
  result.result = u"success";
  result.pointsNeeded = needed;
  result.pointsCarried = needed - 1;
  result.pointsLost = 1;
  result.kindText = u"supplies";
  result.details = details;
  return result;
}

class ConvoyResultsDialogTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    world_.game().convoys.Reset(2);
    world_.game().convoys.results[1] = {Result(u"Brestoc", u"Avonmouth", 12, u"All went well."),
                                        Result(u"Kiel", u"Rigova", 5, u"A raider sank one ship.")};
  }
  cDialogWynikuKonwojow& Open(int countryId) {
    auto* dialog = new cDialogWynikuKonwojow(&world_.country(countryId));
    PushModalDialog(dialog);
    return *dialog;
  }
  static CDXUTListBox& List(cDialog& dialog) {
    return *static_cast<CDXUTListBox*>(dialog.GetControl(cDialogWynikuKonwojow::kList));
  }
  static std::u16string Details(const cDialog& dialog) {
    return static_cast<const CDXUTMemo*>(dialog.GetControl(cDialogWynikuKonwojow::kDetails))->GetText();
  }

  test::TestWorld world_{3, 3, 2};
};

TEST_F(ConvoyResultsDialogTest, TwoResultsMakeTwoRowsWithTheFirstSelectedAndShown) {
  cDialogWynikuKonwojow& dialog = Open(2);
  CDXUTListBox& list = List(dialog);
  ASSERT_EQ(list.GetSize(), 2);
  EXPECT_EQ(list.GetItem(0)->text, u"Brestoc;Avonmouth;success;12;11;1;supplies");
  EXPECT_EQ(list.GetItem(1)->text, u"Kiel;Rigova;success;5;4;1;supplies");
  EXPECT_EQ(list.GetSelectedIndex(), 0);
  EXPECT_EQ(Details(dialog), u"All went well.");
  const auto& columns = list.GetColumns();
  ASSERT_EQ(columns.size(), 7u);
  EXPECT_EQ(columns[0].title, u"convoys_result_list_columns");
}

TEST_F(ConvoyResultsDialogTest, SelectingTheSecondRowShowsItsDetails) {
  cDialogWynikuKonwojow& dialog = Open(2);
  List(dialog).SelectItem(1, true);
  EXPECT_EQ(Details(dialog), u"A raider sank one ship.");
  List(dialog).SelectItem(0, true);
  EXPECT_EQ(Details(dialog), u"All went well.");
}

TEST_F(ConvoyResultsDialogTest, ACountryWithoutResultsGetsAnEmptyListAndMemo) {
  cDialogWynikuKonwojow& dialog = Open(1);
  EXPECT_EQ(List(dialog).GetSize(), 0);
  EXPECT_EQ(List(dialog).GetSelectedIndex(), -1);
  EXPECT_EQ(Details(dialog), u"");
}

class ConvoyResultsClose : public ConvoyResultsDialogTest, public testing::WithParamInterface<int> {};

TEST_P(ConvoyResultsClose, ByEnterEscapeOrTheCloseButton) {
  cDialogWynikuKonwojow& dialog = Open(2);
  if (GetParam() == 0) {
    const Rect box = dialog.GetControl(cDialogWynikuKonwojow::kExitButton)->GetBoundingBox();
    bool noFurther = false;
    OnWindowMessage(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(box.left + 3, box.top + 3), &noFurther);
    OnWindowMessage(WM_LBUTTONUP, 0, MakeLParam(box.left + 3, box.top + 3), &noFurther);
  } else {
    GameKeyboardCallback(static_cast<std::uint32_t>(GetParam()), false, false);
    ASSERT_EQ(TopDialog, &dialog) << "a key let go does nothing";
    GameKeyboardCallback(static_cast<std::uint32_t>(GetParam()), true, false);
  }
  EXPECT_EQ(TopDialog, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Ways, ConvoyResultsClose,
                         testing::Values(0, static_cast<int>(VK_RETURN), static_cast<int>(VK_ESCAPE)));

TEST_F(ConvoyResultsDialogTest, AppPortPushesTheCountrysResults) {
  cAppPresentation port;
  port.PushConvoyResultsDialog(2);
  auto* dialog = dynamic_cast<cDialogWynikuKonwojow*>(TopDialog);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->country(), &world_.country(2));
  EXPECT_EQ(List(*dialog).GetSize(), 2);
  port.WaitForConvoyResults("test", 1);
  EXPECT_EQ(TopDialog, dialog) << "the main thread never waits";
}

}  // namespace
}  // namespace tr
