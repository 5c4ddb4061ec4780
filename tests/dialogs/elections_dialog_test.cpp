// The elections dialog: the choice buttons a country's orientation offers,
// the answer left in ChosenOrientation and reported once to the owner, and
// the random button reaching each of its three choices.
#include "dialogs/elections_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "gui/button.h"
#include "gui/static.h"
#include "platform/codes.h"
#include "support/screen_fixture.h"
#include "world/panstwo.h"

namespace tr {
namespace {

class CountingOwner : public cDialog {
 public:
  CountingOwner() : cDialog(50) {}
  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl*) override {
    heard.push_back(controlId);
    events.push_back(event);
    chosenWhenHeard.push_back(ChosenOrientation);
  }
  std::vector<int> heard;
  std::vector<std::uint32_t> events;
  std::vector<int> chosenWhenHeard;
};

std::u16string Wide(const char* text) { return std::u16string(text, text + std::char_traits<char>::length(text)); }

class ElectionsDialogTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    owner_ = new CountingOwner();
    PushModalDialog(owner_);
    country_.name = u"Nordvik";
  }
  void TearDown() override {
    // A text a test gave its key goes back to the key itself.
    StringBase().SetText("diplomacy_elections_in_country_title", u"diplomacy_elections_in_country_title");
    ScreenFixture::TearDown();
  }
  cDialogWyborow& Open(int orientation, bool elections = true) {
    country_.orientation = orientation;
    ChosenOrientation = 2;
    auto* dialog = new cDialogWyborow(&country_, elections);
    dialog->owner = owner_;
    PushModalDialog(dialog);
    return *dialog;
  }
  static void Click(const CDXUTControl* control) {
    ASSERT_NE(control, nullptr);
    const Rect box = control->GetBoundingBox();
    const LParam at = MakeLParam(box.left + 3, box.top + 3);
    bool noFurther = false;
    OnWindowMessage(WM_LBUTTONDOWN, MK_LBUTTON, at, &noFurther);
    OnWindowMessage(WM_LBUTTONUP, 0, at, &noFurther);
  }
  static std::u16string TextOf(const cDialog& dialog, int id) {
    const auto* text = static_cast<const CDXUTStatic*>(dialog.GetControlOfType(id, kControlStatic));
    return text != nullptr ? text->GetText() : u"<none>";
  }
  // The ids of the dialog's buttons in creation order.
  static std::vector<int> Buttons(const cDialog& dialog) {
    std::vector<int> ids;
    for (const auto& control : dialog.Controls()) {
      if (control->GetType() == kControlButton) ids.push_back(control->GetID());
    }
    return ids;
  }

  cCountry country_;
  CountingOwner* owner_ = nullptr;
};

TEST_F(ElectionsDialogTest, ProAxisCountryOffersItsThreeChoicesAndChanceAtTheirRecords) {
  const cDialogWyborow& dialog = Open(kProAxis);
  EXPECT_EQ(ChosenOrientation, kOrientationCancelled) << "set when built";
  EXPECT_EQ(Buttons(dialog), (std::vector<int>{cDialogWyborow::kCancelButton, 1, 3, 5, 10212}));
  const std::vector<std::pair<int, const char*>> expected = {{1, "diplomacy_elections_nationalist_regime"},
                                                             {3, "diplomacy_elections_pro_allied"},
                                                             {5, "diplomacy_elections_pro_communist"},
                                                             {10212, "diplomacy_elections_random"}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto* button = static_cast<const CDXUTButton*>(dialog.GetControlOfType(expected[i].first, kControlButton));
    ASSERT_NE(button, nullptr) << expected[i].first;
    EXPECT_EQ(button->GetText(), Wide(expected[i].second));
    EXPECT_TRUE(button->GetHint().empty());
    Rect record;
    ASSERT_TRUE(Succeeded(CDXUTDialog::GetLayoutRect(934 + static_cast<int>(i), &record)));
    EXPECT_EQ(button->x(), record.left);
    EXPECT_EQ(button->y(), record.top);
    EXPECT_EQ(button->width(), record.right);
  }
  const auto* cancel = static_cast<const CDXUTButton*>(dialog.GetControl(cDialogWyborow::kCancelButton));
  EXPECT_EQ(cancel->GetText(), u"diplomacy_elections_cancel");
  EXPECT_EQ(cancel->GetHint(), u"diplomacy_elections_cancel_hint");
  EXPECT_EQ(TextOf(dialog, cDialogWyborow::kTitle), u"diplomacy_elections_in_country_title");
  EXPECT_EQ(TextOf(dialog, cDialogWyborow::kText), u"diplomacy_elections_in_country");
}

TEST_F(ElectionsDialogTest, TheTitleNamesTheCountry) {
  StringBase().SetText("diplomacy_elections_in_country_title", u"Elections in %s");
  const cDialogWyborow& dialog = Open(kProCommunist);
  EXPECT_EQ(TextOf(dialog, cDialogWyborow::kTitle), u"Elections in Nordvik");
}

struct ChoicesCase {
  int orientation;
  std::vector<int> choices;
};
class ElectionsChoices : public ElectionsDialogTest, public testing::WithParamInterface<ChoicesCase> {};

TEST_P(ElectionsChoices, FollowTheCurrentOrientation) {
  const cDialogWyborow& dialog = Open(GetParam().orientation);
  std::vector<int> expected = {cDialogWyborow::kCancelButton};
  expected.insert(expected.end(), GetParam().choices.begin(), GetParam().choices.end());
  EXPECT_EQ(Buttons(dialog), expected);
}

INSTANTIATE_TEST_SUITE_P(Orientations, ElectionsChoices,
                         testing::Values(ChoicesCase{kFirmDemocracy, {}}, ChoicesCase{kNationalistRegime, {}},
                                         ChoicesCase{kCommunistRegime, {}}, ChoicesCase{kProAllied, {0, 4, 5, 10212}},
                                         ChoicesCase{kProCommunist, {2, 4, 3, 10212}}, ChoicesCase{9, {}}));

TEST_F(ElectionsDialogTest, OrientationChangeHasItsOwnTextsAndAPlainTitle) {
  const cDialogWyborow& dialog = Open(kProAllied, false);
  EXPECT_EQ(TextOf(dialog, cDialogWyborow::kTitle), u"diplomacy_change_orientation_of_country_title");
  EXPECT_EQ(TextOf(dialog, cDialogWyborow::kText), u"diplomacy_change_orientation_of_country");
  const auto* title = static_cast<const CDXUTStatic*>(dialog.GetControl(cDialogWyborow::kTitle));
  EXPECT_EQ(title->GetTextFormat(), static_cast<std::uint32_t>(DT_VCENTER | DT_NOCLIP));
  const auto* cancel = static_cast<const CDXUTButton*>(dialog.GetControl(cDialogWyborow::kCancelButton));
  EXPECT_EQ(cancel->GetText(), u"diplomacy_change_orientation_cancel");
  EXPECT_EQ(cancel->GetHint(), u"diplomacy_change_orientation_cancel_hint");
}

struct AnswerCase {
  int orientation;
  int button;
  int chosen;
};
class ElectionsAnswer : public ElectionsDialogTest, public testing::WithParamInterface<AnswerCase> {};

TEST_P(ElectionsAnswer, IsStoredReportedOnceAndCloses) {
  const cDialogWyborow& dialog = Open(GetParam().orientation);
  Click(dialog.GetControl(GetParam().button));
  EXPECT_EQ(ChosenOrientation, GetParam().chosen);
  EXPECT_EQ(owner_->heard, std::vector<int>{GetParam().button});
  EXPECT_EQ(owner_->events, std::vector<std::uint32_t>{GuiEventButtonClicked});
  EXPECT_EQ(owner_->chosenWhenHeard, std::vector<int>{GetParam().chosen});
  EXPECT_EQ(TopDialog, owner_);
}

INSTANTIATE_TEST_SUITE_P(Buttons, ElectionsAnswer,
                         testing::Values(AnswerCase{kProAxis, cDialogWyborow::kCancelButton, kOrientationCancelled},
                                         AnswerCase{kFirmDemocracy, cDialogWyborow::kCancelButton,
                                                    kOrientationCancelled},
                                         AnswerCase{kProAxis, 3, 3}, AnswerCase{kProAllied, 0, 0},
                                         AnswerCase{kProCommunist, 2, 2}));

TEST_F(ElectionsDialogTest, AnIdTheDialogDoesNotOfferIsIgnored) {
  cDialogWyborow& dialog = Open(kProAxis);
  dialog.OnGUIEvent(GuiEventButtonClicked, 4, nullptr);
  EXPECT_EQ(ChosenOrientation, kOrientationCancelled);
  EXPECT_TRUE(owner_->heard.empty());
  EXPECT_EQ(TopDialog, &dialog);
}

struct RandomCase {
  int draw;
  int button;
};
class ElectionsRandom : public ElectionsDialogTest, public testing::WithParamInterface<RandomCase> {};

TEST_P(ElectionsRandom, ReachesEachChoiceWithEqualShares) {
  const cDialogWyborow& dialog = Open(kProAxis);
  ScopedRandomDraws draws({GetParam().draw});
  Click(dialog.GetControl(cDialogWyborow::kRandomButton));
  EXPECT_EQ(draws.remaining(), 0u);
  EXPECT_EQ(ChosenOrientation, GetParam().button);
  EXPECT_EQ(owner_->heard, std::vector<int>{GetParam().button});
  EXPECT_EQ(TopDialog, owner_);
}

// Draws 0..32767 fall a third to each choice button (1, 3, 5 of a pro-axis country).
INSTANTIATE_TEST_SUITE_P(Draws, ElectionsRandom,
                         testing::Values(RandomCase{0, 1}, RandomCase{10922, 1}, RandomCase{10923, 3},
                                         RandomCase{21845, 3}, RandomCase{21846, 5}, RandomCase{32767, 5}));

}  // namespace
}  // namespace tr
