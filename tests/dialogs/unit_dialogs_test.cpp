// The dialogs the unit panel opens: commander assignment (which commanders it
// lists where, assigning and recalling, reporting its close once) and
// replacements (price, maximum and what OK buys).
#include <gtest/gtest.h>

#include <memory>

#include "app/modal_stack.h"
#include "dialogs/commander_dialog.h"
#include "dialogs/replacements_dialog.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/slider.h"
#include "gui/static.h"
#include "platform/codes.h"
#include "support/screen_fixture.h"
#include "support/world_builder.h"
#include "units/jednostka_morska.h"
#include "world/commander.h"

namespace tr {
namespace {

constexpr std::uint32_t kClick = 0x101;

// An owner that counts the reports it hears.
class CountingOwner : public cDialog {
 public:
  CountingOwner() : cDialog(-5) {}
  void OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) override {
    ++reports;
    lastId = controlId;
  }
  int reports = 0;
  int lastId = 0;
};

class UnitDialogsTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    world_ = std::make_unique<test::TestWorld>(6, 6, 3);
    game().playerControl.currentCountry = &world_->country(1);
    owner_ = new CountingOwner();
  }
  void TearDown() override {
    while (!ModalDialogStack.empty()) PopModalDialogs(1);
    owner_->Destroy();
    world_.reset();
    ScreenFixture::TearDown();
  }
  cGame& game() { return world_->game(); }
  sCommander& Commander(const char16_t* name, int country, int kind, int skill, int state = kCommanderNotAssigned) {
    auto commander = std::make_unique<sCommander>();
    commander->id = static_cast<int>(game().commanders.size()) + 1;
    commander->name = name;
    commander->countryId = country;
    commander->type = kind;
    commander->skill = skill;
    commander->state = state;
    game().commanders.push_back(std::move(commander));
    return *game().commanders.back();
  }
  template <typename Dialog, typename Unit>
  Dialog& Open(Unit* unit) {
    auto* dialog = new Dialog(unit);
    dialog->owner = owner_;
    PushModalDialog(dialog);
    return *dialog;
  }
  static CDXUTListBox& List(cDialog& dialog, int id) {
    return *static_cast<CDXUTListBox*>(dialog.GetControlOfType(id, kControlListBox));
  }
  static std::vector<std::u16string> Rows(cDialog& dialog, int id) {
    std::vector<std::u16string> rows;
    CDXUTListBox& list = List(dialog, id);
    for (int i = 0; i < list.GetSize(); ++i) rows.push_back(list.GetItem(i)->text);
    return rows;
  }
  static void Press(cDialog& dialog, int id) { dialog.OnGUIEvent(kClick, id, dialog.GetControl(id)); }

  std::unique_ptr<test::TestWorld> world_;
  CountingOwner* owner_ = nullptr;
};

// The unit's combat value follows its commander: a quarter per point of skill,
// on 75% for its supply.
TEST_F(UnitDialogsTest, AUnitWithACommanderCanRecallButNotAssign) {
  game().constants.SetSlot(consts_layout::kCommanderSkillFactor, 25.0);
  game().constants.SetSlot(consts_layout::kSupplyCombatPercent + 6, 75.0);
  sCommander& old = Commander(u"Old", 1, 0, 2, kCommanderAssigned);
  Commander(u"Waiting", 1, 0, 5);
  cJednostkaLadowa& unit = world_->PlaceLandUnit(1, 2, 2);
  unit.supply = 6;
  unit.turnsWithoutSupply = 0;
  unit.attachedCommander = &old;
  unit.ComputeCombatValue();
  ASSERT_EQ(unit.combatValue, 112);
  auto& dialog = Open<cDialogDowodcow>(&unit);
  EXPECT_TRUE(dialog.GetControlEnabled(cDialogDowodcow::kRecallButton));
  EXPECT_FALSE(dialog.GetControlEnabled(cDialogDowodcow::kAssignButton));
  EXPECT_EQ(Rows(dialog, cDialogDowodcow::kAvailableList), std::vector<std::u16string>{u"Waiting;5;0;commander_status_in_hq"});

  Press(dialog, cDialogDowodcow::kRecallButton);
  EXPECT_EQ(unit.attachedCommander, nullptr);
  EXPECT_EQ(old.state, kCommanderOnHisWay);
  EXPECT_EQ(old.headquarters, nullptr);
  EXPECT_EQ(unit.combatValue, 75);
  EXPECT_EQ(Rows(dialog, cDialogDowodcow::kUnavailableList),
            std::vector<std::u16string>{u"Old;2;0;commander_status_heading_to_hq"});
  EXPECT_TRUE(dialog.GetControlEnabled(cDialogDowodcow::kAssignButton));
  EXPECT_FALSE(dialog.GetControlEnabled(cDialogDowodcow::kRecallButton));

  Press(dialog, cDialogDowodcow::kAssignButton);
  ASSERT_NE(unit.attachedCommander, nullptr);
  EXPECT_EQ(unit.attachedCommander->name, u"Waiting");
  EXPECT_EQ(unit.attachedCommander->state, kCommanderAssigned);
  EXPECT_EQ(unit.attachedCommander->headquarters, &unit);
  EXPECT_EQ(unit.commanderId, -1);
  EXPECT_EQ(unit.combatValue, 168);
}

TEST_F(UnitDialogsTest, CommandersListBestFirstWithEqualSkillsInTheVectorsOrder) {
  Commander(u"A", 1, 0, 3);
  Commander(u"B", 1, 0, 5);
  Commander(u"C", 1, 0, 3);
  Commander(u"Foreign", 2, 0, 9);
  Commander(u"Admiral", 1, 2, 9);
  cJednostkaLadowa& unit = world_->PlaceLandUnit(1, 2, 2);
  auto& dialog = Open<cDialogDowodcow>(&unit);
  EXPECT_EQ(Rows(dialog, cDialogDowodcow::kAvailableList),
            (std::vector<std::u16string>{u"B;5;0;commander_status_in_hq", u"A;3;0;commander_status_in_hq",
                                         u"C;3;0;commander_status_in_hq"}));
  EXPECT_EQ(List(dialog, cDialogDowodcow::kAvailableList).GetSelectedIndex(), 0);
}

TEST_F(UnitDialogsTest, AShipListsOnlyNavalCommanders) {
  Commander(u"General", 1, 0, 4);
  Commander(u"Airman", 1, 1, 4);
  Commander(u"Admiral", 1, 2, 1);
  cJednostkaMorska ship;
  ship.owner = 1;
  auto& dialog = Open<cDialogDowodcow>(static_cast<cUnit*>(&ship));
  EXPECT_EQ(Rows(dialog, cDialogDowodcow::kAvailableList),
            std::vector<std::u16string>{u"Admiral;1;0;commander_status_in_hq"});
  EXPECT_TRUE(Rows(dialog, cDialogDowodcow::kUnavailableList).empty());
  PopModalDialogs(1);
}

class CommanderExit : public UnitDialogsTest, public testing::WithParamInterface<bool> {};

TEST_P(CommanderExit, ReportsToTheOwnerOnceAndCloses) {
  cJednostkaLadowa& unit = world_->PlaceLandUnit(1, 2, 2);
  auto& dialog = Open<cDialogDowodcow>(&unit);
  if (GetParam()) {
    dialog.OnKeyboard(VK_ESCAPE, true, false);
  } else {
    Press(dialog, cDialogDowodcow::kExitButton);
  }
  EXPECT_EQ(owner_->reports, 1);
  EXPECT_EQ(owner_->lastId, cDialogDowodcow::kExitButton);
  EXPECT_TRUE(ModalDialogStack.empty());
}

INSTANTIATE_TEST_SUITE_P(ByKeyOrButton, CommanderExit, testing::Bool());

TEST_F(UnitDialogsTest, ANullUnitEndsTheProcess) {
  EXPECT_THROW(cDialogDowodcow(nullptr), FatalExitError);
  EXPECT_THROW(cDialogUzupelnien(nullptr), FatalExitError);
}

class ReplacementsTest : public UnitDialogsTest {
 protected:
  void SetUp() override {
    UnitDialogsTest::SetUp();
    sScenarioConstants& k = game().constants;
    k.SetSlot(consts_layout::kLandBaseValue + 3 * 7 + kInfantryDivision, 10.0);
    k.SetSlot(sScenarioConstants::SlotOf(78, 2 + kInfantryDivision), 50.0);
    k.SetSlot(sScenarioConstants::SlotOf(82, 1), 20.0);
    for (int level = 0; level <= 50; ++level) {
      k.SetSlot(consts_layout::kSupplyReplacementValueA + level, 30.0);
    }
    for (sHex& hex : world_->map().Hexes()) hex.owner = 1;
    world_->country(1).productionPoints = 1000.0;
  }
  cJednostkaLadowa& Unit(int strength) {
    cJednostkaLadowa& unit = world_->PlaceLandUnit(1, 2, 2);
    unit.level = 3;
    unit.strength = strength;
    unit.supply = 10;
    unit.actionPoints = 4;
    return unit;
  }
};

TEST_F(ReplacementsTest, ALevelThreeLandUnitPaysTheSurchargeForTwoLevels) {
  cJednostkaLadowa& unit = Unit(50);
  auto& dialog = Open<cDialogUzupelnien>(static_cast<cJednostka*>(&unit));
  EXPECT_FLOAT_EQ(dialog.pricePerPoint(), 7.0f);
  EXPECT_EQ(dialog.maximum(), 30);
}

// Each of the three value fields has its own label beside it, in its own
// place of the layout: the strength after, the cost and the points available.
TEST_F(ReplacementsTest, EachValueFieldHasItsOwnLabel) {
  cJednostkaLadowa& unit = Unit(50);
  auto& dialog = Open<cDialogUzupelnien>(static_cast<cJednostka*>(&unit));
  const std::pair<int, const char*> labels[] = {{843, "unit_replacement_strength_after"},
                                                {845, "unit_replacement_cost"},
                                                {847, "unit_replacement_pp_available"}};
  for (const auto& [id, key] : labels) {
    const auto* label = static_cast<const CDXUTStatic*>(dialog.GetControlOfType(id, kControlStatic));
    ASSERT_NE(label, nullptr) << id;
    EXPECT_EQ(label->GetText(), GetText(key)) << id;
  }
  // Above them, the title in the title font.
  const auto* title = static_cast<const CDXUTStatic*>(dialog.GetControlOfType(cDialogUzupelnien::kTitle, kControlStatic));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->GetTextElement(), 1);
}

struct MaximumCase {
  int strength;
  double points;
  int hexOwner;
  int maximum;
};
class ReplacementMaximumTest : public ReplacementsTest, public testing::WithParamInterface<MaximumCase> {};

TEST_P(ReplacementMaximumTest, IsTheLeastOfWhatIsAffordableTheCapAndTheRoomLeft) {
  const MaximumCase& c = GetParam();
  cJednostkaLadowa& unit = Unit(c.strength);
  world_->hex(2, 2).owner = static_cast<std::uint8_t>(c.hexOwner);
  world_->country(1).productionPoints = c.points;
  EXPECT_EQ(ReplacementMaximum(unit, ReplacementPrice(unit)), c.maximum);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplacementMaximumTest,
                         testing::Values(MaximumCase{100, 1000.0, 1, 0},  // full strength
                                         MaximumCase{50, 1000.0, 2, 10},  // another country's hex
                                         MaximumCase{95, 1000.0, 1, 5},   // the room left
                                         MaximumCase{50, 6.9, 1, 0},      // less than one point
                                         MaximumCase{50, 70.0, 1, 10}));  // what the points pay

TEST_F(ReplacementsTest, AFreePointIsLimitedOnlyByTheCapAndTheUnit) {
  cJednostkaLadowa& unit = Unit(50);
  game().constants.SetSlot(sScenarioConstants::SlotOf(78, 2 + kInfantryDivision), 0.0);
  world_->country(1).productionPoints = 0.0;
  EXPECT_EQ(ReplacementMaximum(unit, ReplacementPrice(unit)), 30);
}

TEST_F(ReplacementsTest, AnAirUnitAboveItsCapGetsNoNegativeMaximum) {
  cJednostkaLotnicza& plane = world_->PlaceAirUnit(1, 3, 3);
  plane.strength = 8;
  plane.supply = 10;
  for (int level = 0; level <= 50; ++level) {
    game().constants.SetSlot(consts_layout::kSupplyReplacementValueB + level, 4.0);
  }
  EXPECT_EQ(ReplacementMaximum(plane, 1.0f), 0);
}

TEST_F(ReplacementsTest, AnAirUnitShowsItsStrengthAfterAsAWholeNumber) {
  cJednostkaLotnicza& plane = world_->PlaceAirUnit(1, 3, 3);
  plane.strength = 6;
  plane.supply = 10;
  for (int level = 0; level <= 50; ++level) {
    game().constants.SetSlot(consts_layout::kSupplyReplacementValueB + level, 10.0);
  }
  auto& dialog = Open<cDialogUzupelnien>(static_cast<cJednostka*>(&plane));
  ASSERT_GT(dialog.maximum(), 0);
  dialog.OnKeyboard('M', true, false);
  auto* after = static_cast<CDXUTEditBox*>(dialog.GetControlOfType(cDialogUzupelnien::kStrengthAfter, kControlEditBox));
  EXPECT_EQ(after->GetText(), Format(u"%i", 6 + dialog.maximum()));
}

TEST_F(ReplacementsTest, OkBuysThePointsAndTakesTheActionPoints) {
  cJednostkaLadowa& unit = Unit(50);
  world_->country(1).productionPoints = 100.0;
  unit.moveRange.push_back(sMoveRangeCell{&unit, 2, 3, 1, 1});
  auto& dialog = Open<cDialogUzupelnien>(static_cast<cJednostka*>(&unit));
  static_cast<CDXUTSlider*>(dialog.GetControl(cDialogUzupelnien::kSlider))->SetValue(5);
  Press(dialog, cDialogUzupelnien::kSlider);
  Press(dialog, cDialogUzupelnien::kOkButton);
  EXPECT_DOUBLE_EQ(world_->country(1).productionPoints, 65.0);
  EXPECT_EQ(unit.strength, 55);
  EXPECT_EQ(unit.actionPoints, 0);
  EXPECT_TRUE(unit.moveRange.empty());
  EXPECT_EQ(owner_->reports, 1);
  EXPECT_EQ(owner_->lastId, cDialogUzupelnien::kOkButton);
  EXPECT_TRUE(ModalDialogStack.empty());
}

TEST_F(ReplacementsTest, AtFullStrengthOkBuysNothing) {
  cJednostkaLadowa& unit = Unit(100);
  auto& dialog = Open<cDialogUzupelnien>(static_cast<cJednostka*>(&unit));
  EXPECT_EQ(dialog.maximum(), 0);
  Press(dialog, cDialogUzupelnien::kMaxButton);
  Press(dialog, cDialogUzupelnien::kOkButton);
  EXPECT_DOUBLE_EQ(world_->country(1).productionPoints, 1000.0);
  EXPECT_EQ(unit.strength, 100);
  EXPECT_EQ(unit.actionPoints, 4);
}

TEST_F(ReplacementsTest, TheMaximumButtonMovesTheSliderAndTheFieldsFollow) {
  cJednostkaLadowa& unit = Unit(95);
  auto& dialog = Open<cDialogUzupelnien>(static_cast<cJednostka*>(&unit));
  dialog.OnKeyboard('M', true, false);
  EXPECT_EQ(static_cast<CDXUTSlider*>(dialog.GetControl(cDialogUzupelnien::kSlider))->GetValue(), 5);
  auto* after = static_cast<CDXUTEditBox*>(dialog.GetControlOfType(cDialogUzupelnien::kStrengthAfter, kControlEditBox));
  EXPECT_EQ(after->GetText(), u"10.00 (100%)");
  dialog.OnKeyboard(VK_ESCAPE, true, false);
  EXPECT_EQ(owner_->lastId, cDialogUzupelnien::kCancelButton);
  EXPECT_EQ(unit.strength, 95);
}

}  // namespace
}  // namespace tr
