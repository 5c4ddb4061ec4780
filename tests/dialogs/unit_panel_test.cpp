// The unit panel: what it shows of an own, a foreign and a hidden unit, its
// picture chain, the commander field, and its actions - rename, disband,
// loading into a ship and the dialogs that hold the other actions back.
#include "dialogs/unit_panel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "dialogs/commander_dialog.h"
#include "dialogs/replacements_dialog.h"
#include "dialogs/small_dialogs.h"
#include "foundation/gui_layout.h"
#include "foundation/text.h"
#include "gui/edit_box.h"
#include "gui/icon.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "platform/texture.h"
#include "foundation/format.h"
#include "support/english_texts.h"
#include "support/log_capture.h"
#include "support/naval_world.h"
#include "support/screen_fixture.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"
#include "world/city.h"
#include "world/commander.h"

namespace tr {
namespace {

using test::LogCapture;

constexpr std::uint32_t kClick = 0x101;

std::u16string Field(cDialog& panel, int id) {
  auto* field = static_cast<CDXUTEditBox*>(panel.GetControlOfType(id, kControlEditBox));
  return field != nullptr ? field->GetText() : u"<none>";
}
std::u16string Hint(cDialog& panel, int id) {
  CDXUTControl* control = panel.GetControl(id);
  return control != nullptr ? control->GetHint() : u"<none>";
}
bool On(cDialog& panel, int id) {
  CDXUTControl* control = panel.GetControl(id);
  return control != nullptr && control->GetEnabled();
}

constexpr int kFieldIds[] = {354, 358, 360, 363, 366, 369, 371, 374, 377, 379};
constexpr int kIconIds[] = {355, 361, 364, 367, 372, 375, 380, 381, 382, 383, 384, 385, 386, 387, 388, 390};

class UnitPanelTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    world_ = std::make_unique<test::TestWorld>(6, 6, 7);
    game().playerControl.currentCountry = &world_->country(1);
    game().viewingCountry = &world_->country(1);
    for (int level = 1; level <= 5; ++level) {
      for (int type = 0; type < kLandTypeCount; ++type) {
        game().constants.SetSlot(consts_layout::kLandBaseValue + level * 7 + type, 10.0);
      }
    }
    panel_ = new cUnitPanel();
    gUnitPanel = panel_;
  }
  void TearDown() override {
    while (!ModalDialogStack.empty()) PopModalDialogs(1);
    game().playerControl.DropAttack();
    DestroyGamePanels();
    world_.reset();
    ScreenFixture::TearDown();
  }
  cGame& game() { return world_->game(); }
  cJednostkaLadowa& Land(int owner, int x, int y) {
    cJednostkaLadowa& unit = world_->PlaceLandUnit(owner, x, y);
    unit.name = u"1st Rifles";
    unit.strength = 100;
    unit.spotted = 1;
    unit.supply = 5;
    unit.turnsWithoutSupply = 0;
    return unit;
  }
  void Select(int x, int y) {
    game().playerControl.selectedHex = &world_->hex(x, y);
    panel_->Update();
  }
  void Press(int id) { panel_->OnGUIEvent(kClick, id, nullptr); }
  // A click on a button of the dialog on top, delivered as the frame does.
  static void PressOnTop(int id) { TopDialog->OnGUIEvent(kClick, id, TopDialog->GetControl(id)); }
  void WritePicture(const char* name) {
    const std::filesystem::path folder = folder_.path() / "data" / "gfx" / "Units images";
    std::filesystem::create_directories(folder);
    const std::vector<std::uint32_t> texels(16, 0xFF808080u);
    ASSERT_TRUE(SavePng(folder / name, texels.data(), 4, 4, 4));
  }

  std::unique_ptr<test::TestWorld> world_;
  cUnitPanel* panel_ = nullptr;
};

TEST_F(UnitPanelTest, AForeignUnitHiddenByFogShowsNothing) {
  cJednostkaLadowa& enemy = Land(2, 3, 3);
  enemy.spotted = 0;
  Select(3, 3);
  for (int id : kFieldIds) {
    EXPECT_EQ(Field(*panel_, id), u"-") << id;
    EXPECT_EQ(Hint(*panel_, id), u"unitpanel_no_unit_selected") << id;
  }
  for (int id : kIconIds) {
    EXPECT_FALSE(On(*panel_, id)) << id;
    EXPECT_EQ(Hint(*panel_, id), u"unitpanel_no_unit_selected") << id;
  }
  EXPECT_FALSE(panel_->GetControl(cUnitPanel::kPicture)->GetVisible());
  EXPECT_FALSE(panel_->GetControl(cUnitPanel::kFlag)->GetVisible());
}

TEST_F(UnitPanelTest, AVisibleForeignUnitShowsItsValuesWithEveryActionOff) {
  cJednostkaLadowa& enemy = Land(2, 3, 3);
  enemy.level = 2;
  enemy.actionPoints = 4;
  enemy.trenchBonusMultiplier = 3;
  game().constants.SetSlot(consts_layout::kEntrenchmentPercent, 12.5);
  Select(3, 3);
  EXPECT_EQ(Field(*panel_, cUnitPanel::kName), u"1st Rifles");
  EXPECT_EQ(Field(*panel_, cUnitPanel::kOwner), world_->country(2).name);
  EXPECT_EQ(Field(*panel_, cUnitPanel::kLevel), u"2");
  EXPECT_EQ(Field(*panel_, cUnitPanel::kActionPoints), u"4");
  EXPECT_EQ(Field(*panel_, cUnitPanel::kBonus), u"37%");
  EXPECT_EQ(Field(*panel_, cUnitPanel::kSupply), u"unitpanel_supply_peace_time");
  for (int id : kIconIds) {
    EXPECT_FALSE(On(*panel_, id)) << id;
    EXPECT_EQ(Hint(*panel_, id), u"unitpanel_not_owned_unit") << id;
  }
  EXPECT_TRUE(panel_->GetControl(cUnitPanel::kPicture)->GetVisible());
  EXPECT_TRUE(panel_->GetControl(cUnitPanel::kFlag)->GetVisible());
}

struct SupplyCase {
  int supply;
  int turnsWithout;
  int sourceX;
  bool sourceIsCity;
  const char16_t* text;
  bool iconOn;
};
class UnitPanelSupply : public UnitPanelTest, public testing::WithParamInterface<SupplyCase> {};

TEST_P(UnitPanelSupply, TheFirstCaseThatHoldsFillsTheFieldAndTheIcon) {
  const SupplyCase& c = GetParam();
  cJednostkaLadowa& unit = Land(1, 3, 3);
  unit.supply = c.supply;
  unit.turnsWithoutSupply = c.turnsWithout;
  unit.supplySourceX = c.sourceX;
  unit.supplySourceY = c.sourceX == -1 ? -1 : 1;
  auto city = std::make_unique<cCity>();
  city->name = u"Vell";
  if (c.sourceIsCity) world_->hex(1, 1).city = city.get();
  Select(3, 3);
  EXPECT_EQ(Field(*panel_, cUnitPanel::kSupply), c.text);
  EXPECT_EQ(On(*panel_, cUnitPanel::kSupplySource), c.iconOn);
  world_->hex(1, 1).city = nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnitPanelSupply,
    testing::Values(SupplyCase{0, 2, 1, true, u"unitpanel_supply_out_of_supply_more", false},
                    SupplyCase{4, 2, 1, true, u"unitpanel_supply_out_of_supply", false},
                    SupplyCase{4, 0, 1, true, u"unitpanel_supply_value_from_city", true},
                    SupplyCase{4, 0, 1, false, u"-! BUG !-", false},
                    SupplyCase{4, 0, -1, false, u"unitpanel_supply_peace_time", false}));

TEST_F(UnitPanelTest, TheSupplyIconJumpsToTheSourceCity) {
  cJednostkaLadowa& unit = Land(1, 3, 3);
  unit.supplySourceX = 1;
  unit.supplySourceY = 1;
  auto city = std::make_unique<cCity>();
  world_->hex(1, 1).city = city.get();
  Select(3, 3);
  Press(cUnitPanel::kSupplySource);
  EXPECT_EQ(game().playerControl.selectedHex, &world_->hex(1, 1));
  world_->hex(1, 1).city = nullptr;
}

TEST_F(UnitPanelTest, AnOwnUnitOffersRenameCommanderAndDisband) {
  Land(1, 3, 3);
  Select(3, 3);
  EXPECT_TRUE(On(*panel_, cUnitPanel::kRename));
  EXPECT_EQ(Hint(*panel_, cUnitPanel::kRename), u"unitpanel_rename_hint_allowed");
  EXPECT_TRUE(On(*panel_, cUnitPanel::kCommanderIcon));
  EXPECT_TRUE(On(*panel_, cUnitPanel::kDisband));
  EXPECT_EQ(Hint(*panel_, cUnitPanel::kUndo), u"unitpanel_undo_move_icon_hint_no_undo_possible");
}

TEST_F(UnitPanelTest, StrategicMoveTakesTheSelectedUnitIntoItsActionMode) {
  Land(1, 3, 3);
  Select(3, 3);
  Press(cUnitPanel::kStrategicMove);
  EXPECT_EQ(game().playerControl.actionMode, kActionStrategicMove);
}

TEST_F(UnitPanelTest, AnAirUnitKeepsADashAsBonus) {
  cJednostkaLotnicza& plane = world_->PlaceAirUnit(1, 2, 2);
  plane.spotted = 1;
  plane.name = u"Hawks";
  Select(2, 2);
  EXPECT_EQ(Field(*panel_, cUnitPanel::kName), u"Hawks");
  EXPECT_EQ(Field(*panel_, cUnitPanel::kBonus), u"-");
}

TEST_F(UnitPanelTest, ThePictureFallsBackToTypeAndLevelAndIsLoadedOncePerUnit) {
  WritePicture("4_2.png");
  WritePicture("default.png");
  cJednostkaLadowa& unit = Land(7, 3, 3);
  unit.type = kArmouredDivision;
  unit.level = 2;
  {
    // Variants that are not there are passed over quietly: only a picture
    // that exists and does not load is a failure worth a log line.
    LogCapture log;
    Select(3, 3);
    EXPECT_FALSE(log.ContainsText(u"[FAILED]"));
    EXPECT_TRUE(log.Contains(u"Loading file \"data\\gfx\\Units images\\4_2.png\" (1) [OK]"));
  }
  EXPECT_EQ(panel_->picture().path().u16string(), u"data\\gfx\\Units images\\4_2.png");
  EXPECT_NE(panel_->picture().GetTexture(), nullptr);
  LogCapture log;
  Select(3, 3);
  EXPECT_FALSE(log.ContainsText(u"Loading file"));
  // Another unit without any picture of its own gets the default one.
  cJednostkaLadowa& other = Land(1, 4, 4);
  other.type = kInfantryDivision;
  Select(4, 4);
  EXPECT_EQ(panel_->picture().path().u16string(), u"data\\gfx\\Units images\\default.png");
}

TEST_F(UnitPanelTest, TheCommanderFieldMarksOneNotArrivedWithBrackets) {
  auto commander = std::make_unique<sCommander>();
  commander->id = 4;
  commander->name = u"Harlan";
  commander->countryId = 1;
  commander->skill = 3;
  commander->experience = 7;
  sCommander& harlan = *commander;
  game().commanders.push_back(std::move(commander));
  cJednostkaLadowa& unit = Land(1, 3, 3);
  unit.attachedCommander = &harlan;
  Select(3, 3);
  EXPECT_EQ(Field(*panel_, cUnitPanel::kCommander), u"Harlan (3/7)");
  unit.attachedCommander = nullptr;
  unit.commanderId = 4;
  Select(3, 3);
  EXPECT_EQ(Field(*panel_, cUnitPanel::kCommander), u"[ Harlan (3/7) ]");
  unit.commanderId = -1;
  Select(3, 3);
  EXPECT_EQ(Field(*panel_, cUnitPanel::kCommander), u"-");
}

TEST_F(UnitPanelTest, RenameOpensOneDialogCancelKeepsTheNameAndOkRenames) {
  cJednostkaLadowa& unit = Land(1, 3, 3);
  Select(3, 3);
  Press(cUnitPanel::kRename);
  Press(cUnitPanel::kRename);
  ASSERT_EQ(ModalDialogStack.size(), 1u);
  ASSERT_NE(dynamic_cast<cDialogPobraniaTekstu*>(TopDialog), nullptr);
  PressOnTop(cDialogPobraniaTekstu::kCancelButton);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_EQ(unit.name, u"1st Rifles");
  EXPECT_EQ(panel_->pendingAction, cUnitPanel::kPendingNone);

  Press(cUnitPanel::kRename);
  ASSERT_NE(dynamic_cast<cDialogPobraniaTekstu*>(TopDialog), nullptr);
  static_cast<CDXUTEditBox*>(TopDialog->GetControl(cDialogPobraniaTekstu::kEditBox))->SetText(u"Iron Guard");
  PressOnTop(cDialogPobraniaTekstu::kOkButton);
  EXPECT_EQ(unit.name, u"Iron Guard");
  EXPECT_EQ(Field(*panel_, cUnitPanel::kName), u"Iron Guard");
  EXPECT_EQ(panel_->pendingAction, cUnitPanel::kPendingNone);
}

TEST_F(UnitPanelTest, DisbandRefundsHalfTheValueTimesTheFactorAndRemovesTheUnit) {
  cJednostkaLadowa& unit = Land(1, 3, 3);
  game().constants.SetSlot(consts_layout::kReplacementFactor + unit.type, 3.0);
  world_->country(1).productionPoints = 2.0;
  ASSERT_FLOAT_EQ(unit.GetStrengthValue(), 10.0f);
  Select(3, 3);
  Press(cUnitPanel::kDisband);
  ASSERT_NE(dynamic_cast<cDialogPotwierdzenia*>(TopDialog), nullptr);
  PressOnTop(cDialogPotwierdzenia::kYesButton);
  EXPECT_DOUBLE_EQ(world_->country(1).productionPoints, 17.0);
  EXPECT_TRUE(game().landUnits.empty());
  EXPECT_EQ(world_->hex(3, 3).unit, nullptr);
  EXPECT_EQ(game().playerControl.selectedHex, nullptr);
  EXPECT_EQ(panel_->shownUnit(), nullptr);
  EXPECT_TRUE(ModalDialogStack.empty());
}

TEST_F(UnitPanelTest, ADisbandedUnitLeavesThePlannedAttack) {
  cJednostkaLadowa& unit = Land(1, 3, 3);
  cJednostkaLadowa& enemy = Land(2, 3, 4);
  sAttack attack;
  attack.defender = &enemy;
  attack.targetX = 3;
  attack.targetY = 4;
  attack.SetAttacker(0, &unit);
  game().playerControl.BeginAttack(attack);
  Select(3, 3);
  Press(cUnitPanel::kDisband);
  PressOnTop(cDialogPotwierdzenia::kYesButton);
  EXPECT_EQ(game().playerControl.GetPendingAttack(), nullptr);
}

TEST_F(UnitPanelTest, NoKeepsTheUnitAndFreesThePanel) {
  Land(1, 3, 3);
  Select(3, 3);
  Press(cUnitPanel::kDisband);
  PressOnTop(cDialogPotwierdzenia::kNoButton);
  EXPECT_EQ(game().landUnits.size(), 1u);
  EXPECT_EQ(panel_->pendingAction, cUnitPanel::kPendingNone);
}

TEST_F(UnitPanelTest, AMapActionWaitsWhileTheReplacementsAreOpenAndOkEndsTheActionMode) {
  Land(1, 3, 3);
  world_->country(1).productionPoints = 100.0;
  Select(3, 3);
  Press(cUnitPanel::kReinforce);
  ASSERT_NE(dynamic_cast<cDialogUzupelnien*>(TopDialog), nullptr);
  game().playerControl.actionMode = kActionMove;
  Press(cUnitPanel::kBombardment);
  EXPECT_EQ(game().playerControl.actionMode, kActionMove);
  Press(cUnitPanel::kCommanderIcon);
  EXPECT_EQ(ModalDialogStack.size(), 1u);
  PressOnTop(cDialogUzupelnien::kOkButton);
  EXPECT_EQ(game().playerControl.actionMode, kActionNone);
  EXPECT_EQ(panel_->pendingAction, cUnitPanel::kPendingNone);
  EXPECT_TRUE(ModalDialogStack.empty());
}

TEST_F(UnitPanelTest, TheShippedLayoutPlacesThePanelAndBothDialogs) {
  for (int id = 351; id <= 390; ++id) {
    if (id == 389) continue;
    EXPECT_GE(sGuiLayoutTable[id].width, 0) << id;
  }
  for (int id = 840; id <= 852; ++id) EXPECT_GE(sGuiLayoutTable[id].width, 0) << id;
  for (int id = 860; id <= 871; ++id) EXPECT_GE(sGuiLayoutTable[id].width, 0) << id;
  EXPECT_EQ(panel_->GetControl(cUnitPanel::kName)->x(), sGuiLayoutTable[cUnitPanel::kName].x);
  // Each field and icon is made once, so a look-up by its number finds that one.
  std::set<int> ids;
  for (const auto& control : panel_->Controls()) EXPECT_TRUE(ids.insert(control->GetID()).second) << control->GetID();
  for (int id : kIconIds) EXPECT_TRUE(ids.contains(id)) << id;
}

TEST_F(UnitPanelTest, DraggingItsToggleMovesThePanelsRecordsAndControls) {
  const sGuiLayoutEntry before = sGuiLayoutTable[389];  // no control has this id
  const int fieldX = panel_->GetControl(cUnitPanel::kName)->x();
  MovePanelOfToggle(350, 7, 2);
  EXPECT_EQ(sGuiLayoutTable[389].x, before.x + 7);
  EXPECT_EQ(panel_->GetControl(cUnitPanel::kName)->x(), fieldX + 7);
}

// The test's string base answers every key with itself, so whatever looks
// like a key on the panel and its dialogs was looked up and needs an English text.
TEST_F(UnitPanelTest, EveryTextTheyShowHasAnEnglishText) {
  const std::set<std::string> english = test::EnglishTextKeys();
  std::set<std::string> shown;
  const auto collect = [&](cDialog& dialog) {
    for (const auto& control : dialog.Controls()) {
      shown.insert(Utf16ToUtf8(control->GetHint()));
      if (auto* text = dynamic_cast<CDXUTStatic*>(control.get())) shown.insert(Utf16ToUtf8(text->GetText()));
      if (auto* field = dynamic_cast<CDXUTEditBox*>(control.get())) shown.insert(Utf16ToUtf8(field->GetText()));
      if (auto* list = dynamic_cast<CDXUTListBox*>(control.get())) {
        for (int i = 0; i < list->GetSize(); ++i) {
          const std::u16string& row = list->GetItem(i)->text;
          shown.insert(Utf16ToUtf8(row.substr(row.rfind(u';') + 1)));
        }
      }
    }
  };
  Select(0, 0);
  collect(*panel_);
  cJednostkaLadowa& own = Land(1, 3, 3);
  own.freezeTime = 1;
  auto commander = std::make_unique<sCommander>();
  commander->countryId = 1;
  commander->state = kCommanderOnHisWay;
  game().commanders.push_back(std::move(commander));
  for (int supply : {0, 5}) {
    own.supply = supply;
    Select(3, 3);
    collect(*panel_);
  }
  game().playerControl.undo.unit = &own;
  Select(3, 3);
  collect(*panel_);
  Land(2, 4, 4);
  Select(4, 4);
  collect(*panel_);
  auto* commanders = new cDialogDowodcow(&own);
  PushModalDialog(commanders);
  collect(*commanders);
  auto* replacements = new cDialogUzupelnien(&own);
  PushModalDialog(replacements);
  collect(*replacements);
  game().playerControl.undo.unit = nullptr;
  const std::regex key("[a-z][a-z0-9_.]*_[a-z0-9_.]*");
  int keys = 0;
  for (const std::string& text : shown) {
    if (!std::regex_match(text, key)) continue;
    ++keys;
    EXPECT_TRUE(english.contains(text)) << text;
  }
  EXPECT_GT(keys, 40);
}

// Loading a unit into a ship in a port of the sea world.
class UnitLoadingTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    naval_ = std::make_unique<test::NavalWorld>();
    game().playerControl.currentCountry = &world().country(1);
    port_ = naval_->AddPort(1);
    auto city = std::make_unique<cCity>();
    city->x = port_;
    city->y = 0;
    city->type = kCityPort;
    world().hex(port_, 0).city = city.get();
    game().cities.push_back(std::move(city));
    game().constants.SetSlot(consts_layout::kSeaTransportCost + kInfantryDivision, 4);
    game().constants.SetSlot(consts_layout::kAmphibiousTransportCost + kInfantryDivision, 6);
    game().constants.SetSlot(consts_layout::kShipHitPoints + kCargoShip - 40, 2);
    world().country(1).seaTransportPoints = 10;
    world().country(1).invasionPoints = 10;
    panel_ = new cUnitPanel();
    gUnitPanel = panel_;
  }
  void TearDown() override {
    DestroyGamePanels();
    naval_.reset();
    ScreenFixture::TearDown();
  }
  cGame& game() { return naval_->game(); }
  test::TestWorld& world() { return naval_->world(); }
  cJednostkaLadowa& Unit(int x, int y) {
    cJednostkaLadowa& unit = world().PlaceLandUnit(1, x, y);
    unit.name = u"Marines";
    unit.spotted = 1;
    return unit;
  }

  std::unique_ptr<test::NavalWorld> naval_;
  cUnitPanel* panel_ = nullptr;
  int port_ = 0;
};

TEST_F(UnitLoadingTest, WithoutAFleetInThePortANewOneIsMadeAndTheTransportPointsPaid) {
  cJednostkaLadowa& unit = Unit(port_, 0);
  // The unit was planned into an attack, and its loading range is still marked.
  cJednostkaLadowa& enemy = world().PlaceLandUnit(3, port_ + 2, 3);
  sAttack attack;
  attack.defender = &enemy;
  attack.targetX = port_ + 2;
  attack.targetY = 3;
  attack.SetAttacker(2, &unit);
  game().playerControl.BeginAttack(attack);
  game().playerControl.selectedHex = &world().hex(port_, 0);
  game().nextNavalUnitId = 36;
  panel_->Update();
  LogCapture log;
  panel_->OnGUIEvent(kClick, cUnitPanel::kSeaTransport, nullptr);
  EXPECT_TRUE(log.Contains(u"Loading unit: new fleet will be created"));
  ASSERT_EQ(game().fleets.size(), 1u);
  const cFleet& fleet = *game().fleets.front();
  EXPECT_EQ(fleet.name, Format(u"fleet_#%i", fleet.id));
  EXPECT_EQ(fleet.seaNodeId, port_);
  ASSERT_EQ(fleet.ships.size(), 1u);
  const cJednostkaMorska& ship = *fleet.ships.front();
  EXPECT_EQ(ship.type, kCargoShip);
  EXPECT_EQ(ship.id, 37);  // the ship counter's next number
  EXPECT_EQ(ship.name, u"transport_#37");
  EXPECT_EQ(ship.hitPoints, 2);
  EXPECT_EQ(ship.carriedUnit, &unit);
  EXPECT_EQ(world().country(1).seaTransportPoints, 6);
  EXPECT_EQ(unit.x, -1);
  EXPECT_EQ(unit.transporter, &ship);
  EXPECT_EQ(world().hex(port_, 0).unit, nullptr);
  ASSERT_EQ(game().landUnits.size(), 1u);
  EXPECT_EQ(game().landUnits.front().get(), &enemy);
  EXPECT_EQ(game().aboardUnitsA.size(), 1u);
  EXPECT_EQ(game().playerControl.selectedHex, nullptr);
  EXPECT_EQ(game().playerControl.GetPendingAttack(), nullptr);
}

TEST_F(UnitLoadingTest, AnAmphibiousShipJoinsTheOwnersFleetInThePortAndCostsInvasionPoints) {
  cFleet& fleet = naval_->AddFleet(1, port_, {kBattleship});
  Unit(port_ + 1, 0);  // beside the port
  game().playerControl.selectedHex = &world().hex(port_ + 1, 0);
  panel_->Update();
  LogCapture log;
  panel_->OnGUIEvent(kClick, cUnitPanel::kAmphibiousTransport, nullptr);
  EXPECT_TRUE(log.Contains(u"Loading unit: transport will be added to existing fleet"));
  EXPECT_EQ(game().fleets.size(), 1u);
  ASSERT_EQ(fleet.ships.size(), 2u);
  EXPECT_EQ(fleet.ships.back()->type, kAmphibiousShip);
  EXPECT_EQ(fleet.ships.back()->name, Format(u"landing_task_force_#%i", fleet.ships.back()->id));
  EXPECT_EQ(world().country(1).invasionPoints, 4);
  EXPECT_EQ(game().aboardUnitsB.size(), 1u);
}

TEST_F(UnitLoadingTest, AwayFromAPortNothingIsPaidAndTheUnitStays) {
  cJednostkaLadowa& unit = Unit(port_ + 4, 5);
  world().hex(port_ + 3, 2).AddFlags(4u | 8u | 16u | 64u, 5);
  game().playerControl.selectedHex = &world().hex(port_ + 4, 5);
  panel_->Update();
  LogCapture log;
  panel_->OnGUIEvent(kClick, cUnitPanel::kSeaTransport, nullptr);
  EXPECT_TRUE(log.Contains(u"ERROR! Unit tries to load into transport but isn't in or near friendle port"));
  EXPECT_EQ(world().country(1).seaTransportPoints, 10);
  EXPECT_EQ(unit.x, port_ + 4);
  EXPECT_EQ(game().landUnits.size(), 1u);
  EXPECT_TRUE(game().fleets.empty());
  // The loading marks go all the same; other marks stay.
  EXPECT_EQ(world().hex(port_ + 3, 2).flags, 64u);
}

}  // namespace
}  // namespace tr
