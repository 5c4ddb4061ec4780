// The purchases dialog: prices by level and technology, the level buttons
// as the item changes, when Buy is offered, and what a purchase leaves in
// the reserve and in the country's points.
#include "dialogs/purchases_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "gui/check_box.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/tab_frame.h"
#include "platform/codes.h"
#include "scenario/scenario_constants.h"
#include "support/screen_fixture.h"
#include "support/world_builder.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_morska.h"

namespace tr {
namespace {

class PurchasesDialogTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    world_ = std::make_unique<test::TestWorld>(6, 6, 2);
    game().playerControl.currentCountry = &country();
    country().productionPoints = 1000.0;
    // Base value 10 at every level, price factor 2: a land price is 20 x the level multiplier.
    for (int line = 9; line <= 13; ++line) {
      for (int t = 0; t < 7; ++t) Constant(line, 2 + t, 10.0);
    }
    for (int t = 0; t < 7; ++t) Constant(79, 2 + t, 2.0);
    Constant(82, 1, 50.0);
    Constant(85, 1, 40.0);
    // Point prices: a base and a step per count held, each its own value.
    Constant(86, 1, 7.0);
    Constant(87, 1, 2.0);
    Constant(86, 2, 5.0);
    Constant(87, 2, 3.0);
    Constant(86, 3, 11.0);
    Constant(87, 3, 4.0);
    Constant(48, 1, 8.0);
    Constant(154, 1, 3.0);
    Constant(73, 2, 90.0);
  }
  void TearDown() override {
    PopModalDialogs(-1);
    world_.reset();
    ScreenFixture::TearDown();
  }
  cGame& game() { return world_->game(); }
  cCountry& country() { return world_->country(1); }
  void Constant(int line, int field, double value) {
    game().constants.SetSlot(sScenarioConstants::SlotOf(line, field), value);
  }
  void Technologies(int artillery, int tanks) {
    country().techLevels[kArtilleryTech] = artillery;
    country().techLevels[kTanksTech] = tanks;
  }
  cDialogZakupow* Open() {
    dialog_ = new cDialogZakupow();
    PushModalDialog(dialog_);
    return dialog_;
  }
  CDXUTListBox& List() { return *static_cast<CDXUTListBox*>(dialog_->GetControl(cDialogZakupow::kList)); }
  CDXUTTabFrame& Tabs() { return *static_cast<CDXUTTabFrame*>(dialog_->GetControl(cDialogZakupow::kTabs)); }
  CDXUTRadioButton& LevelButton(int level) {
    return *static_cast<CDXUTRadioButton*>(dialog_->GetControl(cDialogZakupow::kFirstLevelButton + level - 1));
  }
  void SelectRow(int row) { List().SelectItem(row, true); }
  void SelectTab(int tab) { Tabs().SelectTab(tab, true); }
  void ChooseLevel(int level) { LevelButton(level).SetCheckedState(true, true, true, true); }
  static void Key(std::uint32_t key) { GameKeyboardCallback(key, true, false); }
  bool BuyOn() { return dialog_->GetControlEnabled(cDialogZakupow::kBuyButton); }
  std::u16string Field(int id) {
    return static_cast<CDXUTEditBox*>(dialog_->GetControl(id))->GetText();
  }

  std::unique_ptr<test::TestWorld> world_;
  cDialogZakupow* dialog_ = nullptr;
};

class LevelMultiplier : public PurchasesDialogTest, public testing::WithParamInterface<std::pair<int, float>> {};

TEST_P(LevelMultiplier, TheSurchargeCountsInWholeMultiples) {
  Open();
  EXPECT_FLOAT_EQ(dialog_->LandPrice(kInfantryDivision, GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(SurchargeOf50, LevelMultiplier,
                         testing::Values(std::pair{1, 20.0f}, std::pair{2, 20.0f}, std::pair{3, 40.0f},
                                         std::pair{4, 40.0f}, std::pair{5, 60.0f}));

TEST_F(PurchasesDialogTest, TechnologyTwoPricesTwoLevelsAndOffersTwoButtons) {
  Technologies(2, 2);
  Open();
  EXPECT_EQ(List().GetItem(0)->text, GetUnitTypeName(kInfantryDivision) + u";3;20.00;20.00;-;-;-");
  for (int level = 1; level <= 5; ++level) {
    EXPECT_TRUE(LevelButton(level).GetVisible()) << level;
    EXPECT_EQ(LevelButton(level).GetEnabled(), level <= 2) << level;
  }
  EXPECT_EQ(dialog_->ChosenLevel(), 1);
  EXPECT_TRUE(LevelButton(1).GetChecked());
}

TEST_F(PurchasesDialogTest, ALowerTechnologyLowersTheChosenLevel) {
  Technologies(3, 5);
  Open();
  SelectRow(kArmouredDivision);
  ChooseLevel(5);
  EXPECT_EQ(dialog_->ChosenLevel(), 5);
  EXPECT_FLOAT_EQ(dialog_->Price(), 60.0f);
  SelectRow(kInfantryDivision);
  EXPECT_EQ(dialog_->ChosenLevel(), 3);
  EXPECT_TRUE(LevelButton(3).GetChecked());
  EXPECT_FALSE(LevelButton(5).GetChecked());
  EXPECT_FLOAT_EQ(dialog_->Price(), 40.0f);
}

TEST_F(PurchasesDialogTest, SeaAndOthersHideTheLevelsAndLandShowsTheLastOneAgain) {
  Technologies(5, 5);
  Open();
  ChooseLevel(4);
  for (int tab : {cDialogZakupow::kSeaTab, cDialogZakupow::kOthersTab}) {
    SelectTab(tab);
    for (int level = 1; level <= 5; ++level) EXPECT_FALSE(LevelButton(level).GetVisible()) << tab << " " << level;
  }
  // The arrow keys step from tab to tab; Left stops at the first.
  Key(VK_LEFT);
  EXPECT_EQ(Tabs().GetSelectedTab(), cDialogZakupow::kSeaTab);
  Key(VK_LEFT);
  Key(VK_LEFT);
  Key(VK_LEFT);
  EXPECT_EQ(Tabs().GetSelectedTab(), cDialogZakupow::kLandTab);
  EXPECT_TRUE(LevelButton(1).GetVisible());
  EXPECT_EQ(dialog_->ChosenLevel(), 4);
  EXPECT_TRUE(LevelButton(4).GetChecked());
  Key(VK_RIGHT);
  EXPECT_EQ(Tabs().GetSelectedTab(), cDialogZakupow::kAirTab);
}

TEST_F(PurchasesDialogTest, APriceEqualToThePointsSellsAndBuyingJudgesBuyAgain) {
  Technologies(1, 1);
  country().productionPoints = 20.0;
  Open();
  EXPECT_EQ(Field(cDialogZakupow::kCostField), u"20.00_pp");
  ASSERT_TRUE(BuyOn());
  Key(VK_RETURN);
  EXPECT_DOUBLE_EQ(country().productionPoints, 0.0);
  EXPECT_FALSE(BuyOn());
  EXPECT_EQ(Field(cDialogZakupow::kAvailableField), u"0.00_pp");
  // Enter does nothing while Buy is off.
  Key(VK_RETURN);
  EXPECT_EQ(game().reservePool.size(), 1u);
}

TEST_F(PurchasesDialogTest, ABoughtLandUnitWaitsInTheReserve) {
  Technologies(3, 3);
  Open();
  ChooseLevel(2);
  const int nextId = game().nextLandUnitId + 1;
  Key(VK_RETURN);
  ASSERT_EQ(game().reservePool.size(), 1u);
  const auto* unit = dynamic_cast<const cJednostkaLadowa*>(game().reservePool.back().get());
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->id, nextId);
  EXPECT_EQ(unit->owner, 1);
  EXPECT_EQ(unit->type, kInfantryDivision);
  EXPECT_EQ(unit->strength, 100);
  EXPECT_EQ(unit->level, 2);
  EXPECT_EQ(unit->supply, 8);
  EXPECT_EQ(unit->availableInTurns, 3);
  EXPECT_EQ(unit->inReserve, 1);
  EXPECT_EQ(unit->x, -1);
  EXPECT_DOUBLE_EQ(country().productionPoints, 980.0);
}

// Each bought unit takes the next number of its own kind.
TEST_F(PurchasesDialogTest, AShipGoesToTheNavalReserveAndAnAircraftToTheReserve) {
  game().nextNavalUnitId = 52;
  game().nextAirUnitId = 27;
  country().techLevels[kAircraftTech] = 2;
  Open();
  SelectTab(cDialogZakupow::kSeaTab);
  Key(VK_RETURN);
  ASSERT_EQ(game().navalReserve.size(), 1u);
  const cJednostkaMorska& ship = *game().navalReserve.back();
  EXPECT_EQ(ship.type, kAircraftCarrier);
  EXPECT_EQ(ship.id, 53);
  EXPECT_EQ(game().nextNavalUnitId, 53);
  EXPECT_DOUBLE_EQ(country().productionPoints, 960.0);

  SelectTab(cDialogZakupow::kAirTab);
  const int nextAir = game().nextAirUnitId + 1;
  ASSERT_GT(nextAir, 28);
  Key(VK_RETURN);
  ASSERT_EQ(game().reservePool.size(), 1u);
  const cJednostka& aircraft = *game().reservePool.back();
  EXPECT_EQ(aircraft.category, kCategoryAir);
  EXPECT_EQ(aircraft.id, nextAir);
}

TEST_F(PurchasesDialogTest, SeaTransportPointsComeInTensAtAPriceFixedUntilReopening) {
  Open();
  SelectTab(cDialogZakupow::kOthersTab);
  Key(VK_DOWN);
  ASSERT_EQ(dialog_->SelectedItem(), kPurchaseSeaTransportPoints);
  EXPECT_FLOAT_EQ(dialog_->Price(), 5.0f);
  Key(VK_RETURN);
  EXPECT_EQ(country().seaTransportPoints, 10);
  EXPECT_FLOAT_EQ(dialog_->Price(), 5.0f);
  Key(VK_RETURN);
  EXPECT_EQ(country().seaTransportPoints, 20);
  EXPECT_DOUBLE_EQ(country().productionPoints, 990.0);
  Key(VK_ESCAPE);
  EXPECT_EQ(FindModalDialog(cDialogZakupow::kDialogId), nullptr);
  Open();
  SelectTab(cDialogZakupow::kOthersTab);
  Key(VK_DOWN);
  EXPECT_FLOAT_EQ(dialog_->Price(), 5.0f + 2 * 3.0f);
}

// Each point costs its base plus its step for every point already held.
TEST_F(PurchasesDialogTest, StrategicMovementAndInvasionPointsRaiseTheirCounts) {
  country().strategicMovementMax = 2;
  country().strategicMovementPoints = 2;
  Open();
  SelectTab(cDialogZakupow::kOthersTab);
  ASSERT_EQ(dialog_->SelectedItem(), kPurchaseStrategicMovementPoint);
  EXPECT_FLOAT_EQ(dialog_->Price(), 7.0f + 2 * 2.0f);
  Key(VK_RETURN);
  EXPECT_EQ(country().strategicMovementMax, 3);
  EXPECT_EQ(country().strategicMovementPoints, 3);
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_FLOAT_EQ(dialog_->Price(), 11.0f);
  Key(VK_RETURN);
  EXPECT_EQ(country().invasionPointsUsed, 1);
  EXPECT_EQ(country().invasionPoints, 1);
}

TEST_F(PurchasesDialogTest, WithoutTheTechnologyNoLevelIsSold) {
  Technologies(0, 0);
  Open();
  EXPECT_EQ(List().GetItem(0)->text, GetUnitTypeName(kInfantryDivision) + u";3;-;-;-;-;-");
  for (int level = 1; level <= 5; ++level) EXPECT_FALSE(LevelButton(level).GetEnabled());
  EXPECT_FALSE(BuyOn());
}

TEST_F(PurchasesDialogTest, DigitsChooseOnlyOfferedLevels) {
  Technologies(2, 2);
  Open();
  Key('2');
  EXPECT_EQ(dialog_->ChosenLevel(), 2);
  Key(VK_NUMPAD0 + 4);
  EXPECT_EQ(dialog_->ChosenLevel(), 2);
  Key(VK_NUMPAD0 + 1);
  EXPECT_EQ(dialog_->ChosenLevel(), 1);
}

}  // namespace
}  // namespace tr
