// The units manager: its list by branch, tab and type filter, the deploy
// button's judgement, the keys, the filters kept between openings, and a
// deployment carried out on the map with the window shown again after the
// deploy delay.
#include "dialogs/units_manager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <set>
#include <string>

#include "app/game_commands.h"
#include "app/game_mouse.h"
#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "app/pause_menu.h"
#include "dialogs/convoys_manager.h"
#include "dialogs/purchases_dialog.h"
#include "foundation/settings.h"
#include "foundation/text.h"
#include "game_screen_fixture.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/hint_box.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "gui/tab_frame.h"
#include "platform/codes.h"
#include "scenario/scenario_constants.h"
#include "support/english_texts.h"
#include "support/temp_dir.h"
#include "turn/convoy.h"
#include "turn/fleet.h"
#include "turn/sea_graph.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/city.h"

namespace tr {
namespace {

class UnitsManagerTest : public test::GameScreenFixture {
 protected:
  void SetUp() override {
    GameScreenFixture::SetUp();
    savedDelays_ = gDelays;
    gDelays.fill(0.0f);
    UnitsManagerLandTypeFilter = UnitsManagerAirTypeFilter = UnitsManagerNavalTypeFilter = 0xFFFFFFFFu;
    UnitsManagerAutoCenter = 1;
    UnitsManagerDeployTab = 0;
    gScreenWidth = 1024;
    gScreenHeight = 768;
    for (sHex& hex : map().Hexes()) hex.controller = hex.owner = 1;
    map().camera.x = 542.0f;
    map().camera.y = 420.0f;
    InstallGameCommandHandlers();
    GetHintBox().SetControl(nullptr);
    auto city = std::make_unique<cCity>();
    city->x = 2;
    city->y = 2;
    city->type = kCityNormal;
    city->name = u"Brenn";
    map().GetHex(2, 2)->city = city.get();
    game().cities.push_back(std::move(city));
  }
  void TearDown() override {
    PopModalDialogs(-1);
    gDelays = savedDelays_;
    UnitsManagerCurrentUnit = nullptr;
    GameScreenFixture::TearDown();
  }
  cMap& map() { return *game().map; }
  cPlayerControl& control() { return game().playerControl; }

  cDialogJednostek* Open() {
    ToggleGameDialog(cDialogJednostek::kDialogId);
    dialog_ = dynamic_cast<cDialogJednostek*>(TopDialog);
    return dialog_;
  }
  cJednostkaLadowa& Reserve(int type, int availableIn) {
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->owner = 1;
    unit->SetType(type);
    unit->name = u"Reserve";
    unit->inReserve = 1;
    unit->availableInTurns = availableIn;
    cJednostkaLadowa& made = *unit;
    game().reservePool.push_back(std::move(unit));
    return made;
  }
  static void Key(std::uint32_t key) { GameKeyboardCallback(key, true, false); }
  CDXUTListBox& List() { return *static_cast<CDXUTListBox*>(dialog_->GetControl(cDialogJednostek::kList)); }
  CDXUTCheckBox& Box(int id) { return *static_cast<CDXUTCheckBox*>(dialog_->GetControl(id)); }
  CDXUTTabFrame& Tabs(int id) { return *static_cast<CDXUTTabFrame*>(dialog_->GetControl(id)); }
  CDXUTControl& Action() { return *dialog_->GetControl(cDialogJednostek::kActionButton); }
  static void Click(int column, int row) {
    const int x = 83 * column + 50;
    const int y = 98 * row + 49 + (column % 2 == 0 ? 49 : 0);
    GameMouseCallback(true, false, false, false, false, 0, x, y);
    GameMouseCallback(false, false, false, false, false, 0, x, y);
  }

  cDialogJednostek* dialog_ = nullptr;

 private:
  std::array<float, kDelayCount> savedDelays_{};
};

TEST_F(UnitsManagerTest, UncheckingEveryTypeEmptiesTheListAndOffersNoSelect) {
  world_->PlaceLandUnit(1, 4, 4);
  world_->PlaceLandUnit(2, 5, 5);
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(List().GetSize(), 1);
  EXPECT_TRUE(Action().GetEnabled());
  Key('0');
  EXPECT_EQ(UnitsManagerLandTypeFilter & 0x7Fu, 0u);
  EXPECT_EQ(List().GetSize(), 0);
  EXPECT_FALSE(Action().GetEnabled());
  EXPECT_EQ(Action().GetHint(), u"units_mgr_select_hint_no_unit_selected");
  EXPECT_EQ(UnitsManagerCurrentUnit, nullptr);
  Key('9');
  EXPECT_EQ(List().GetSize(), 1);
}

TEST_F(UnitsManagerTest, AUnitDeliveredLaterShowsItsTurnsAndCannotBeDeployed) {
  Reserve(kInfantryDivision, 2);
  UnitsManagerDeployTab = 1;
  ASSERT_NE(Open(), nullptr);
  ASSERT_EQ(List().GetSize(), 1);
  EXPECT_EQ(List().GetItem(0)->text, u"Reserve;" + GetUnitTypeName(kInfantryDivision) +
                                         u";1;units_mgr_units_list_avail_in_2_turns");
  EXPECT_FALSE(Action().GetEnabled());
  EXPECT_EQ(Action().GetHint(), u"units_mgr_deploy_hint_not_ready_to_deploy");
  EXPECT_EQ(static_cast<CDXUTButton&>(Action()).GetText(), u"units_mgr_deploy");
  // The auto-centre box belongs to the on-map tab.
  EXPECT_FALSE(Box(cDialogJednostek::kAutoCenter).GetVisible());
}

TEST_F(UnitsManagerTest, AHarbourIsFilteredWithTheFirstLandType) {
  cJednostkaLadowa& harbour = world_->PlaceLandUnit(1, 3, 3);
  harbour.SetType(kMulberryType);
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(List().GetSize(), 1);
  Key('1');
  EXPECT_FALSE(Box(cDialogJednostek::kFirstLandType).GetChecked());
  EXPECT_EQ(List().GetSize(), 0);
}

TEST_F(UnitsManagerTest, OnTheAirTabThreeTogglesStrategicBombersAndFourNothing) {
  ASSERT_NE(Open(), nullptr);
  Key(VK_RIGHT);
  ASSERT_EQ(dialog_->SelectedBranch(), cDialogJednostek::kAirBranch);
  EXPECT_TRUE(Box(cDialogJednostek::kFirstAirType).GetVisible());
  EXPECT_FALSE(Box(cDialogJednostek::kFirstLandType).GetVisible());
  Key('3');
  EXPECT_EQ(UnitsManagerAirTypeFilter & 0x7u, 0x3u);
  const std::uint32_t land = UnitsManagerLandTypeFilter;
  const std::uint32_t naval = UnitsManagerNavalTypeFilter;
  Key(VK_NUMPAD0 + 4);
  EXPECT_EQ(UnitsManagerAirTypeFilter & 0x7u, 0x3u);
  EXPECT_EQ(UnitsManagerLandTypeFilter, land);
  EXPECT_EQ(UnitsManagerNavalTypeFilter, naval);
}

TEST_F(UnitsManagerTest, ReopeningKeepsTheFiltersAndTheTab) {
  ASSERT_NE(Open(), nullptr);
  Key('2');
  Key('D');
  EXPECT_EQ(UnitsManagerDeployTab, 1);
  Key(VK_ESCAPE);
  EXPECT_EQ(FindModalDialog(cDialogJednostek::kDialogId), nullptr);
  ASSERT_NE(Open(), nullptr);
  EXPECT_FALSE(Box(cDialogJednostek::kFirstLandType + 1).GetChecked());
  EXPECT_TRUE(Box(cDialogJednostek::kFirstLandType).GetChecked());
  EXPECT_EQ(Tabs(cDialogJednostek::kDeployTabs).GetSelectedTab(), 1);
  // U again closes it.
  PressToolbarButton(337);
  EXPECT_EQ(FindModalDialog(cDialogJednostek::kDialogId), nullptr);
}

TEST_F(UnitsManagerTest, TheCheckBoxesCountTheUnitsOnTheMapAndInTheReserve) {
  world_->PlaceLandUnit(1, 4, 4);
  Reserve(kInfantryDivision, 0);
  Reserve(kInfantryDivision, 0);
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(Box(cDialogJednostek::kFirstLandType).GetText(), GetUnitTypeName(kInfantryDivision) + u" (1+[2])");
}

TEST_F(UnitsManagerTest, SelectOnTheMapTabPreparesTheMoveAndCloses) {
  cJednostkaLadowa& unit = world_->PlaceLandUnit(1, 4, 4);
  unit.actionPoints = 2;
  ASSERT_NE(Open(), nullptr);
  Key(VK_RETURN);
  EXPECT_EQ(FindModalDialog(cDialogJednostek::kDialogId), nullptr);
  EXPECT_EQ(control().selectedHex, map().GetHex(4, 4));
  EXPECT_EQ(control().actionMode, kActionMove);
}

TEST_F(UnitsManagerTest, ADeployedUnitStandsWhereClickedAndTheWindowComesBackAfterTheDelay) {
  cJednostkaLadowa& unit = Reserve(kInfantryDivision, 0);
  gDelays[kDelayHumanDeployAfter] = 500.0f;
  UnitsManagerDeployTab = 1;
  ASSERT_NE(Open(), nullptr);
  ASSERT_TRUE(Action().GetEnabled());
  EXPECT_EQ(Action().GetHint(), u"units_mgr_deploy_hint");
  Key(VK_RETURN);
  EXPECT_EQ(control().actionMode, kActionDeployLand);
  EXPECT_FALSE(dialog_->GetVisible());
  EXPECT_NE(map().GetHex(2, 3)->flags & 64u, 0u);
  Click(2, 3);
  EXPECT_EQ(map().GetHex(2, 3)->unit, &unit);
  EXPECT_EQ(unit.inReserve, 0);
  EXPECT_EQ(unit.spotted, 1);
  EXPECT_TRUE(game().reservePool.empty());
  EXPECT_EQ(control().actionMode, kActionNone);
  EXPECT_FALSE(dialog_->GetVisible());
  // A click elsewhere during the delay does not bring the window back early.
  Click(5, 5);
  EXPECT_FALSE(dialog_->GetVisible());
  dialog_->TickTimer(0.4f);
  EXPECT_FALSE(dialog_->GetVisible());
  dialog_->TickTimer(0.1f);
  EXPECT_TRUE(dialog_->GetVisible());
  EXPECT_EQ(List().GetSize(), 0);
}

TEST_F(UnitsManagerTest, AClickOnAnUnmarkedHexEndsTheDeploymentAndShowsTheWindow) {
  Reserve(kInfantryDivision, 0);
  UnitsManagerDeployTab = 1;
  ASSERT_NE(Open(), nullptr);
  Key(VK_RETURN);
  ASSERT_FALSE(dialog_->GetVisible());
  Click(6, 6);
  EXPECT_EQ(control().actionMode, kActionNone);
  EXPECT_TRUE(dialog_->GetVisible());
  EXPECT_EQ(game().reservePool.size(), 1u);
}

// The pause menu takes the waiting window with it: the deployment ends and its marks go.
TEST_F(UnitsManagerTest, PausingWhileTheWindowWaitsForAHexEndsTheDeployment) {
  Reserve(kInfantryDivision, 0);
  UnitsManagerDeployTab = 1;
  ASSERT_NE(Open(), nullptr);
  Key(VK_RETURN);
  ASSERT_EQ(control().actionMode, kActionDeployLand);
  ASSERT_NE(map().GetHex(2, 3)->flags & 64u, 0u);
  CurrentMenu = new cPauseMenu();
  EXPECT_EQ(FindModalDialog(cDialogJednostek::kDialogId), nullptr);
  EXPECT_EQ(control().actionMode, kActionNone);
  EXPECT_EQ(map().GetHex(2, 3)->flags & 64u, 0u);
  EXPECT_EQ(game().reservePool.size(), 1u);
}

TEST_F(UnitsManagerTest, AReserveShipDeployedInAPortFormsANewFleet) {
  sWezelGrafuMorz node;
  node.id = 1;
  node.type = kSeaNodePort;
  node.maxPortSize = node.portSize = 5;
  node.x = 5;
  node.y = 2;
  node.playerMarkerX = 5;
  node.playerMarkerY = 3;
  node.name = u"Harbour";
  game().seaGraph.nodes.push_back(node);
  map().GetHex(5, 3)->seaNodeMarker = 1;
  auto city = std::make_unique<cCity>();
  city->x = 5;
  city->y = 2;
  city->type = kCityPort;
  city->name = u"Portside";
  map().GetHex(5, 2)->city = city.get();
  game().cities.push_back(std::move(city));
  auto ship = std::make_unique<cJednostkaMorska>();
  ship->owner = 1;
  ship->SetType(kCruiser);
  ship->name = u"Swift";
  ship->inReserve = 1;
  ship->hitPoints = ship->maxHitPoints = 10;
  cJednostkaMorska& made = *ship;
  game().navalReserve.push_back(std::move(ship));

  UnitsManagerDeployTab = 1;
  ASSERT_NE(Open(), nullptr);
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  ASSERT_EQ(List().GetSize(), 1);
  ASSERT_TRUE(Action().GetEnabled());
  Key(VK_RETURN);
  ASSERT_EQ(control().actionMode, kActionDeployShip);
  ASSERT_NE(map().GetHex(5, 3)->flags & 64u, 0u);
  Click(5, 3);
  ASSERT_NE(made.fleet, nullptr);
  EXPECT_EQ(made.fleet->seaNodeId, 1);
  EXPECT_TRUE(game().navalReserve.empty());
  ASSERT_EQ(game().navalUnits.size(), 1u);
}

TEST_F(UnitsManagerTest, EveryTextOfTheThreeWindowsHasAnEnglishText) {
  const std::set<std::string> english = test::EnglishTextKeys();
  std::set<std::string> shown;
  const auto collect = [&](cDialog& dialog) {
    for (const auto& control : dialog.Controls()) {
      shown.insert(Utf16ToUtf8(control->GetHint()));
      if (auto* text = dynamic_cast<CDXUTStatic*>(control.get())) shown.insert(Utf16ToUtf8(text->GetText()));
      if (auto* list = dynamic_cast<CDXUTListBox*>(control.get())) {
        for (const sListColumn& column : list->GetColumns()) {
          shown.insert(Utf16ToUtf8(column.title));
          shown.insert(Utf16ToUtf8(column.hint));
        }
      }
      if (auto* tabs = dynamic_cast<CDXUTTabFrame*>(control.get())) {
        for (const sTabRecord& tab : tabs->Tabs()) shown.insert(Utf16ToUtf8(tab.title));
      }
    }
  };
  world_->PlaceLandUnit(1, 4, 4);
  Reserve(kInfantryDivision, 2);
  Reserve(kInfantryDivision, 0);
  for (int tab : {0, 1}) {
    UnitsManagerDeployTab = tab;
    ASSERT_NE(Open(), nullptr);
    for (int branch = 0; branch < 3; ++branch) {
      Tabs(cDialogJednostek::kBranchTabs).SelectTab(branch, true);
      for (int row = 0; row < List().GetSize(); ++row) {
        List().SelectItem(row, true);
        collect(*dialog_);
      }
      collect(*dialog_);
    }
    PopModalDialogs(-1);
  }
  country(1).productionPoints = 1000.0;
  ToggleGameDialog(cDialogZakupow::kDialogId);
  auto* shop = dynamic_cast<cDialogZakupow*>(TopDialog);
  ASSERT_NE(shop, nullptr);
  for (int tab = 0; tab < 4; ++tab) {
    static_cast<CDXUTTabFrame*>(shop->GetControl(cDialogZakupow::kTabs))->SelectTab(tab, true);
    collect(*shop);
  }
  PopModalDialogs(-1);
  game().convoys.Reset(3);
  ToggleGameDialog(cDialogKonwojow::kDialogId);
  ASSERT_NE(TopDialog, nullptr);
  collect(*TopDialog);
  PopModalDialogs(-1);
  shown.insert("units_mgr_units_list_avail_in_%i_turns");
  shown.insert("units_mgr_units_list_avail_now");
  shown.insert("convoys_type_production");
  shown.insert("convoys_type_supply");
  shown.insert("convoys_value_%i");
  shown.insert("%.2f_pp");
  const std::regex key("[a-z%][a-z0-9_.%]*_[a-z0-9_.%]*");
  int keys = 0;
  for (const std::string& text : shown) {
    if (!std::regex_match(text, key)) continue;
    ++keys;
    EXPECT_TRUE(english.contains(text)) << text;
  }
  EXPECT_GT(keys, 70);
}

}  // namespace
}  // namespace tr
