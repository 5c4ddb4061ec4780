// The research dialog: where its rows stand, the price of an investment and
// the reasons that keep Invest off, an investment paid in production points,
// and Enter and Escape.
#include "dialogs/dialog_researchu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "app/modal_stack.h"
#include "foundation/format.h"
#include "foundation/gui_layout.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "gui/button.h"
#include "gui/edit_box.h"
#include "gui/image.h"
#include "platform/codes.h"
#include "dialogs/dialog_statystyk.h"
#include "support/english_texts.h"
#include "support/screen_fixture.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"

namespace tr {
namespace {

using D = cDialogResearchu;

// One country whose every field needs 100 points a level, up to level 5,
// at a price factor of 50.
class ResearchDialogTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    world_ = std::make_unique<test::TestWorld>(2, 2, 1);
    world_->game().playerControl.currentCountry = &country();
    for (int tech = 0; tech < kTechCount; ++tech) {
      SetConstant(88, tech, 100);
      SetConstant(89, tech, 5);
      SetConstant(90, tech, 50);
    }
    country().productionPoints = 1000.0;
  }
  void TearDown() override {
    // A text a test gave its key goes back to the key itself.
    StringBase().SetText("research_invest_hint_not_enough_pp", u"research_invest_hint_not_enough_pp");
    world_.reset();
    ScreenFixture::TearDown();
  }
  void SetConstant(int line, int tech, double value) {
    world_->game().constants.SetSlot(sScenarioConstants::SlotOf(line, tech + 2), value);
  }
  cCountry& country() { return world_->country(1); }
  D& Open() {
    auto* dialog = new D();
    PushModalDialog(dialog);
    return *dialog;
  }
  static std::u16string Field(const D& dialog, int id) {
    return static_cast<const CDXUTEditBox*>(dialog.GetControl(id))->GetText();
  }
  static CDXUTButton& Invest(const D& dialog, int row) {
    return *static_cast<CDXUTButton*>(dialog.GetControl(D::kInvestButton + row));
  }
  static void Click(D& dialog, int row) {
    dialog.GetControl(D::kInvestButton + row)->GetDialog()->SendEvent(GuiEventButtonClicked, true,
                                                                      dialog.GetControl(D::kInvestButton + row));
  }

  std::unique_ptr<test::TestWorld> world_;
};

TEST_F(ResearchDialogTest, RowsStandInTheirColumnsOneRecordHeightAndTenApart) {
  const D& dialog = Open();
  for (int column = 0; column < 6; ++column) {
    const sGuiLayoutEntry& record = sGuiLayoutTable[static_cast<std::size_t>(D::kFirstColumn + column)];
    for (int row = 0; row < D::kRowCount; ++row) {
      const CDXUTControl* control = dialog.GetControl(D::kRowLabel + 10 * column + row);
      ASSERT_NE(control, nullptr) << column << " " << row;
      EXPECT_EQ(control->x(), record.x);
      EXPECT_EQ(control->y(), record.y + (row + 1) * (record.height + 10));
      EXPECT_EQ(control->width(), record.width);
      EXPECT_EQ(control->height(), record.height);
    }
  }
  // The doctrine has no row: the third row is aircraft.
  EXPECT_EQ(Field(dialog, D::kRowLabel + 2), u"research_aircraft");
  EXPECT_EQ(dialog.GetControl(D::kRowLabel + 2)->GetHint(), u"research_aircraft_hint");
  EXPECT_LT(dialog.price(kDoctrineTech), 0.0f);
}

TEST_F(ResearchDialogTest, PriceIsTheShareOfPointsLeftTimesTheFactorAndPPDecideInvest) {
  StringBase().SetText("research_invest_hint_not_enough_pp", u"needs %.0f");
  country().researchProgress[kTanksTech] = 40;
  country().productionPoints = 30.0;
  D& dialog = Open();
  EXPECT_FLOAT_EQ(dialog.price(kTanksTech), 30.0f);
  EXPECT_EQ(Field(dialog, D::kPriceField + 1), u"30_pp");
  EXPECT_EQ(Field(dialog, D::kProgressField + 1), u"40/100");
  EXPECT_TRUE(Invest(dialog, 1).GetEnabled());
  EXPECT_EQ(Invest(dialog, 1).GetHint(), u"research_invest_hint");
  EXPECT_FALSE(Invest(dialog, 0).GetEnabled()) << "artillery costs 50";

  country().productionPoints = 29.9;
  dialog.Refresh();
  EXPECT_FALSE(Invest(dialog, 1).GetEnabled());
  EXPECT_EQ(Invest(dialog, 1).GetHint(), u"needs 30");
}

TEST_F(ResearchDialogTest, InvestingPaysMovesThePictureDownAndJudgesEveryButtonAgain) {
  country().researchProgress[kTanksTech] = 40;
  country().productionPoints = 60.0;
  D& dialog = Open();
  const auto& picture = *static_cast<const CDXUTImage*>(dialog.GetControl(D::kInvestmentImage + 1));
  const Rect before = picture.GetSourceRect();
  ASSERT_TRUE(Invest(dialog, 0).GetEnabled());
  Click(dialog, 1);
  EXPECT_DOUBLE_EQ(country().productionPoints, 30.0);
  EXPECT_EQ(country().techInvestments[kTanksTech], 1);
  const Rect after = picture.GetSourceRect();
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.bottom);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
  EXPECT_EQ(picture.GetHint(), u"research_investment_level1_hint");
  // Artillery's 50 no longer fits in the 30 left; the tanks' 30 does.
  EXPECT_FALSE(Invest(dialog, 0).GetEnabled());
  EXPECT_TRUE(Invest(dialog, 1).GetEnabled());
}

struct ReasonCase {
  const char* name;
  int progress;
  int level;
  int investment;
  double pp;
  const char16_t* price;
  const char16_t* hint;
};
class InvestReasons : public ResearchDialogTest, public testing::WithParamInterface<ReasonCase> {};

TEST_P(InvestReasons, FirstReasonWins) {
  const ReasonCase& c = GetParam();
  country().researchProgress[kNavyTech] = c.progress;
  country().techLevels[kNavyTech] = c.level;
  country().techInvestments[kNavyTech] = c.investment;
  country().productionPoints = c.pp;
  const D& dialog = Open();
  EXPECT_EQ(Field(dialog, D::kPriceField + 4), c.price);
  EXPECT_EQ(Invest(dialog, 4).GetEnabled(), std::u16string_view(c.hint) == u"research_invest_hint");
  EXPECT_EQ(Invest(dialog, 4).GetHint(), c.hint);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, InvestReasons,
    testing::Values(
        ReasonCase{"ProgressCompleteIsFree", 100, 0, 0, 0.0, u"0_pp", u"research_invest_hint"},
        ReasonCase{"ProgressPastTheNeedStillFree", 130, 0, 0, 0.0, u"0_pp", u"research_invest_hint"},
        ReasonCase{"EqualPPIsEnough", 0, 0, 0, 50.0, u"50_pp", u"research_invest_hint"},
        ReasonCase{"HighestLevelBeforeFullInvestment", 0, 5, 3, 1000.0, u"50_pp",
                   u"research_invest_hint_max_level_reached"},
        ReasonCase{"FullInvestmentWhateverThePP", 0, 1, 3, 1e9, u"50_pp", u"research_invest_hint_max_investment"}),
    [](const auto& info) { return info.param.name; });

TEST_F(ResearchDialogTest, AFieldNeedingNoPointsHasNoPriceAndCannotBeBought) {
  SetConstant(88, kSubmarineTech, 0);
  const double before = country().productionPoints;
  D& dialog = Open();
  EXPECT_EQ(Field(dialog, D::kPriceField + 3), u"-");
  EXPECT_EQ(Field(dialog, D::kProgressField + 3), u"0/0");
  EXPECT_FALSE(Invest(dialog, 3).GetEnabled());
  EXPECT_EQ(Invest(dialog, 3).GetHint(), u"research_invest_hint_max_level_reached");
  Click(dialog, 3);
  EXPECT_DOUBLE_EQ(country().productionPoints, before);
  EXPECT_FALSE(std::isnan(country().productionPoints));
}

// With keys for texts, every label, value format and hint the two dialogs
// show names itself; each must have an English text.
TEST_F(ResearchDialogTest, EveryKeyBothDialogsShowHasAnEnglishText) {
  const std::set<std::string> english = test::EnglishTextKeys();
  std::set<std::string> shown;
  for (int tab = 0; tab < 2; ++tab) {
    for (const sReportTypeRow& row : ReportTypeRows(tab)) {
      if (std::string_view(row.text) != "Victory points") shown.insert(row.text);
    }
  }
  // Rows in every state: levels 0 to 3 of investment, a field at its
  // highest level, one fully invested, one out of reach.
  country().productionPoints = 10.0;
  for (int row = 0; row < 4; ++row) country().techInvestments[static_cast<std::size_t>(D::kRowTech[row])] = row;
  country().techLevels[kNavyTech] = 5;
  country().researchProgress[kArtilleryTech] = 100;
  D& dialog = Open();
  for (int row = 0; row < D::kRowCount; ++row) {
    for (const int id : {D::kRowLabel, D::kLevelField, D::kInvestmentImage, D::kProgressField, D::kPriceField,
                         D::kInvestButton}) {
      shown.insert(Utf16ToUtf8(dialog.GetControl(id + row)->GetHint()));
    }
    shown.insert(Utf16ToUtf8(Field(dialog, D::kRowLabel + row)));
  }
  for (const char* key : {"research_title", "research_invest", "research_close", "research_close_hint"}) shown.insert(key);
  for (const std::string& key : shown) EXPECT_TRUE(english.contains(key)) << key;
  for (const char* key : {"research_invest_hint_max_level_reached", "research_invest_hint_max_investment",
                          "research_invest_hint_not_enough_pp", "research_investment_level3_hint"}) {
    EXPECT_TRUE(shown.contains(key)) << key;
  }
}

class ResearchCloseKey : public ResearchDialogTest, public testing::WithParamInterface<std::uint32_t> {};

TEST_P(ResearchCloseKey, EnterAndEscapeClose) {
  D& dialog = Open();
  dialog.OnKeyboard(GetParam(), true, false);
  EXPECT_EQ(TopDialog, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Keys, ResearchCloseKey, testing::Values(VK_RETURN, VK_ESCAPE));

}  // namespace
}  // namespace tr
