// The map clicks that finish a fleets-manager action: the manager hides with
// its targets marked, the click unloads, sails, scouts or bombards, and the
// manager comes back after the recon delay.
#include "app/fleet_map_actions.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "app/app_presentation.h"
#include "app/game_commands.h"
#include "app/modal_stack.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/dialog_flot.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/small_dialog_parts.h"
#include "foundation/settings.h"
#include "gui/hint_box.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "menu_fixture.h"
#include "scenario/scenario_constants_layout.h"
#include "support/naval_world.h"
#include "world/city.h"
#include "world/map_camera.h"

namespace tr {
namespace {

constexpr int kHuman = 1;
constexpr int kEnemy = 3;

// Zone 1 washes the coastal hex (3, 4); port 2 at (2, 0) lies beside it.
class FleetMapActionsTest : public test::MenuFixture {
 protected:
  void SetUp() override {
    MenuFixture::SetUp();
    savedDelays_ = gDelays;
    gDelays.fill(0.0f);
    gDelays[kDelayHumanReconAfter] = 500.0f;
    savedView_ = {gZoomLevel, gTargetScale, gDisplayedScale};
    gZoomLevel = 0.0f;
    gTargetScale = gDisplayedScale = 1.0f;
    gScreenWidth = 1024;
    gScreenHeight = 768;
    scoped_ = std::make_unique<ScopedPresentation>(port_);
    naval_ = std::make_unique<test::NavalWorld>();
    cGame& g = game();
    g.playerControl.currentCountry = &naval_->world().country(kHuman);
    g.viewingCountry = g.playerControl.currentCountry;
    g.StoreGameState(kGameHumanIdle);
    cMap& map = *g.map;
    map.cameraMaxX = map.cameraMaxY = 100000;
    map.camera.x = 542.0f;
    map.camera.y = 420.0f;
    zone_ = naval_->AddSea();
    port_id_ = naval_->AddPort(kHuman);
    naval_->Link(zone_, port_id_);
    for (int level = 1; level <= 5; ++level) naval_->SetConstant(151, level, 1.0);
    naval_->SetConstant(157, 1, 2);
    naval_->world().country(kHuman).techLevels[kAircraftTech] = 1;
    hex(3, 4).seaZone = static_cast<std::uint16_t>(zone_);
    hex(3, 4).port = 1;
    // The port's city, and the marker hexes that lead the clicks to the nodes.
    auto city = std::make_unique<cCity>();
    city->x = port_id_;
    city->y = 0;
    city->type = kCityPort;
    hex(port_id_, 0).city = city.get();
    g.cities.push_back(std::move(city));
    hex(zone_, 0).seaNodeMarker = static_cast<std::uint16_t>(zone_);
    hex(port_id_, 1).terrain = kTerrainWater;
    hex(port_id_, 1).seaNodeMarker = static_cast<std::uint16_t>(port_id_);
    for (int terrain = 0; terrain < consts_layout::kMoveCostRow; ++terrain) {
      g.constants.SetSlot(consts_layout::kMoveCost + terrain, 1);
    }
    InstallGameCommandHandlers();
  }
  void TearDown() override {
    PopModalDialogs(-1);
    naval_.reset();
    scoped_.reset();
    gDelays = savedDelays_;
    gZoomLevel = savedView_[0];
    gTargetScale = savedView_[1];
    gDisplayedScale = savedView_[2];
    MenuFixture::TearDown();
  }
  cGame& game() { return naval_->game(); }
  sHex& hex(int x, int y) { return naval_->world().hex(x, y); }

  cDialogFlot* OpenManager(int node) {
    port_.OpenFleetDialog(node);
    manager_ = dynamic_cast<cDialogFlot*>(TopDialog);
    return manager_;
  }
  void SelectShip(int row) {
    auto* list = static_cast<CDXUTListBox*>(manager_->GetControl(cDialogFlot::kShipList));
    for (int i = 0; i < list->GetSize(); ++i) list->GetItem(i)->selected = i == row;
    manager_->OnGUIEvent(GuiEventListSelection, cDialogFlot::kShipList, list);
  }
  void Press(int id) { PressButton(*manager_, id); }
  // A left click on the middle of the hex (camera (542, 420), zoom 1).
  static void Click(int column, int row) {
    const int x = 83 * column + 50;
    const int y = 98 * row + 49 + (column % 2 == 0 ? 49 : 0);
    GetHintBox().SetControl(nullptr);
    GameMouseCallback(true, false, false, false, false, 0, x, y);
    GameMouseCallback(false, false, false, false, false, 0, x, y);
  }
  cJednostkaLadowa& Load(cJednostkaMorska& ship) {
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->owner = ship.owner;
    unit->name = u"1st Rifles";
    unit->transporter = &ship;
    ship.carriedUnit = unit.get();
    auto& list = ship.type == kCargoShip ? game().aboardUnitsA : game().aboardUnitsB;
    list.push_back(std::move(unit));
    return *list.back();
  }
  cJednostkaLadowa& Enemy(int x, int y) {
    cJednostkaLadowa& unit = naval_->world().PlaceLandUnit(kEnemy, x, y);
    unit.spotted = 1;
    return unit;
  }
  bool Afloat(const cJednostkaMorska* ship) {
    for (const auto& held : game().navalUnits) {
      if (held.get() == ship) return true;
    }
    return false;
  }
  // The manager is hidden until the recon delay has run out.
  void ExpectShownAfterDelay() {
    ASSERT_EQ(TopDialog, manager_);
    EXPECT_FALSE(manager_->GetVisible());
    manager_->TickTimer(0.4f);
    EXPECT_FALSE(manager_->GetVisible());
    manager_->TickTimer(0.2f);
    EXPECT_TRUE(manager_->GetVisible());
  }

  cAppPresentation port_;
  std::unique_ptr<ScopedPresentation> scoped_;
  std::unique_ptr<test::NavalWorld> naval_;
  cDialogFlot* manager_ = nullptr;
  int zone_ = 0;
  int port_id_ = 0;

 private:
  std::array<float, kDelayCount> savedDelays_{};
  std::array<float, 3> savedView_{};
};

TEST_F(FleetMapActionsTest, AnUnloadInAPortPutsTheUnitAshoreAndTheTransportIsGone) {
  naval_->AddFleet(kHuman, port_id_, {kCruiser});
  cFleet& convoy = naval_->AddFleet(kHuman, port_id_, {kCargoShip});
  cJednostkaMorska* transport = convoy.ships.front();
  cJednostkaLadowa& unit = Load(*transport);
  gDelays[kDelayHumanReconAfter] = 500.0f;
  ASSERT_NE(OpenManager(port_id_), nullptr);
  auto* fleets = static_cast<CDXUTListBox*>(manager_->GetControl(cDialogFlot::kFleetList));
  fleets->GetItem(0)->selected = false;
  fleets->GetItem(1)->selected = true;
  manager_->OnGUIEvent(GuiEventListSelection, cDialogFlot::kFleetList, fleets);
  ASSERT_TRUE(manager_->GetControlEnabled(cDialogFlot::kUnload));
  Press(cDialogFlot::kUnload);
  ASSERT_EQ(game().playerControl.actionMode, kActionInvasionTarget);

  Click(port_id_, 0);
  EXPECT_EQ(unit.x, port_id_);
  EXPECT_EQ(unit.y, 0);
  EXPECT_EQ(hex(port_id_, 0).unit, &unit);
  EXPECT_EQ(unit.spotted, 1);
  EXPECT_FALSE(Afloat(transport));
  EXPECT_TRUE(manager_->selectedShips().empty() || manager_->selectedShips().front() != transport);
  EXPECT_EQ(game().playerControl.actionMode, kActionNone);
  ASSERT_EQ(TopDialog, manager_);
  EXPECT_EQ(static_cast<CDXUTListBox*>(manager_->GetControl(cDialogFlot::kFleetList))->GetSize(), 1);
  ExpectShownAfterDelay();
}

TEST_F(FleetMapActionsTest, ALandingFromTheOpenSeaTakesTheCoastAndTheShipLeavesTheSelection) {
  naval_->AddFleet(kHuman, zone_, {kCruiser});
  cFleet& landing = naval_->AddFleet(kHuman, zone_, {kAmphibiousShip});
  cJednostkaMorska* ship = landing.ships.front();
  Load(*ship);
  hex(3, 4).controller = hex(3, 4).owner = kEnemy;
  ASSERT_NE(OpenManager(zone_), nullptr);
  auto* fleets = static_cast<CDXUTListBox*>(manager_->GetControl(cDialogFlot::kFleetList));
  fleets->GetItem(0)->selected = false;
  fleets->GetItem(1)->selected = true;
  manager_->OnGUIEvent(GuiEventListSelection, cDialogFlot::kFleetList, fleets);
  ASSERT_TRUE(manager_->GetControlEnabled(cDialogFlot::kUnload));
  Press(cDialogFlot::kUnload);
  ASSERT_NE(hex(3, 4).flags & 64u, 0u);

  Click(3, 4);
  EXPECT_FALSE(Afloat(ship));
  EXPECT_EQ(game().playerControl.actionMode, kActionNone);
  // The landing's report box sits on the manager; closing it brings the manager back.
  while (TopDialog != nullptr && TopDialog != manager_) PopModalDialogs(1);
  ASSERT_EQ(TopDialog, manager_);
  EXPECT_EQ(static_cast<CDXUTListBox*>(manager_->GetControl(cDialogFlot::kFleetList))->GetSize(), 1);
  EXPECT_TRUE(manager_->selectedShips().empty() || manager_->selectedShips().front() != ship);
}

TEST_F(FleetMapActionsTest, AFleetMoveSailsTheSelectedFleetAndTheManagerComesBack) {
  cFleet& sailing = naval_->AddFleet(kHuman, port_id_, {kCruiser});
  naval_->AddFleet(kHuman, port_id_, {kSubmarine});
  ASSERT_NE(OpenManager(port_id_), nullptr);
  Press(cDialogFlot::kMoveFleet);
  EXPECT_FALSE(manager_->GetVisible());
  ASSERT_EQ(game().playerControl.actionMode, kActionFleetMove);
  ASSERT_NE(hex(zone_, 0).flags & 0x1FFFCu, 0u);

  Click(zone_, 0);
  EXPECT_EQ(sailing.seaNodeId, zone_);
  EXPECT_EQ(game().playerControl.actionMode, kActionNone);
  ASSERT_EQ(TopDialog, manager_);
  EXPECT_EQ(static_cast<CDXUTListBox*>(manager_->GetControl(cDialogFlot::kFleetList))->GetSize(), 1);
  ExpectShownAfterDelay();
}

TEST_F(FleetMapActionsTest, TheLastFleetSailingAwayClosesTheManager) {
  naval_->AddFleet(kHuman, port_id_, {kCruiser});
  ASSERT_NE(OpenManager(port_id_), nullptr);
  Press(cDialogFlot::kMoveFleet);
  Click(zone_, 0);
  EXPECT_TRUE(ModalDialogStack.empty());
}

TEST_F(FleetMapActionsTest, AReconFromACarrierScoutsTheClickedZone) {
  cFleet& fleet = naval_->AddFleet(kHuman, zone_, {kAircraftCarrier, kAircraftCarrier, kCruiser});
  const std::vector<cJednostkaMorska*> fleetShips(fleet.ships.begin(), fleet.ships.end());
  fleetShips[0]->reconDone = 1;
  ASSERT_NE(OpenManager(zone_), nullptr);
  // Every ship selected: the carrier that has not flown yet scouts.
  auto* ships = static_cast<CDXUTListBox*>(manager_->GetControl(cDialogFlot::kShipList));
  for (int row = 0; row < 3; ++row) ships->GetItem(row)->selected = true;
  manager_->OnGUIEvent(GuiEventListSelection, cDialogFlot::kShipList, ships);
  ASSERT_EQ(manager_->selectedShips().size(), 3u);
  Press(cDialogFlot::kRecon);
  ASSERT_EQ(game().playerControl.actionMode, kActionRecon);
  Click(zone_, 0);
  EXPECT_EQ(fleetShips[1]->reconDone, 1);
  EXPECT_EQ(fleetShips[2]->reconDone, 0);
  EXPECT_EQ(game().playerControl.actionMode, kActionNone);
  ExpectShownAfterDelay();
}

TEST_F(FleetMapActionsTest, AShoreBombardmentThatFindsNoTargetSaysSoAndTheManagerComesBack) {
  naval_->AddFleet(kHuman, zone_, {kCruiser});
  cJednostkaLadowa& enemy = Enemy(3, 4);
  ASSERT_NE(OpenManager(zone_), nullptr);
  ASSERT_TRUE(manager_->GetControlEnabled(cDialogFlot::kShoreBombardment));
  Press(cDialogFlot::kShoreBombardment);
  ASSERT_NE(hex(3, 4).flags & 0x200u, 0u);
  // Another fleet's guns got there first.
  enemy.shoreBombardmentEffect = 0.5f;
  Click(3, 4);
  auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
  ASSERT_NE(box, nullptr);
  bool titled = false;
  bool told = false;
  for (const auto& control : box->Controls()) {
    if (auto* text = dynamic_cast<CDXUTStatic*>(control.get())) {
      titled = titled || text->GetText() == u"shore_bombardment_result_title";
      told = told || text->GetText() == u"shore_bombardment_result_message_no_unit_or_missed";
    }
  }
  EXPECT_TRUE(titled);
  EXPECT_TRUE(told);
  PopModalDialogs(1);
  ExpectShownAfterDelay();
}

TEST_F(FleetMapActionsTest, AShoreBombardmentThatHitsShowsTheResult) {
  naval_->AddFleet(kHuman, zone_, {kCruiser});
  Enemy(3, 4);
  gDelays[kDelayHumanCombatResult] = 2000.0f;
  ASSERT_NE(OpenManager(zone_), nullptr);
  Press(cDialogFlot::kShoreBombardment);
  Click(3, 4);
  EXPECT_NE(dynamic_cast<cDialogWynikuWalki*>(TopDialog), nullptr);
  EXPECT_EQ(game().fleets.front()->ships.front()->shoreBombardmentDone, 1);
}

TEST_F(FleetMapActionsTest, ACarrierStrikeShowsItsResultAndTheManagerComesBackWhenItCloses) {
  cFleet& fleet = naval_->AddFleet(kHuman, zone_, {kAircraftCarrier});
  Enemy(3, 4);
  gDelays[kDelayHumanCombatResult] = 2000.0f;
  ASSERT_NE(OpenManager(zone_), nullptr);
  ASSERT_TRUE(manager_->GetControlEnabled(cDialogFlot::kAirAttack));
  Press(cDialogFlot::kAirAttack);
  ASSERT_EQ(game().playerControl.actionMode, kActionBombardment);
  Click(3, 4);
  EXPECT_EQ(fleet.ships.front()->airstrikeDone, 1);
  EXPECT_EQ(game().playerControl.actionMode, kActionNone);
  ASSERT_NE(dynamic_cast<cDialogWynikuWalki*>(TopDialog), nullptr);
  PopModalDialogs(1);
  ExpectShownAfterDelay();
  EXPECT_EQ(manager_->GetControl(cDialogFlot::kAirAttack)->GetHint(),
            u"fleets_attack_hex_hint_already_attacked_using_planes");
}

TEST_F(FleetMapActionsTest, WithoutAResultDelayTheCarrierStrikeBringsTheManagerBackAtOnce) {
  naval_->AddFleet(kHuman, zone_, {kAircraftCarrier});
  Enemy(3, 4);
  ASSERT_NE(OpenManager(zone_), nullptr);
  Press(cDialogFlot::kAirAttack);
  Click(3, 4);
  ExpectShownAfterDelay();
}

TEST_F(FleetMapActionsTest, AnUnmarkedHexEndsTheBombardmentAndBringsTheManagerBack) {
  naval_->AddFleet(kHuman, zone_, {kCruiser});
  Enemy(3, 4);
  ASSERT_NE(OpenManager(zone_), nullptr);
  Press(cDialogFlot::kShoreBombardment);
  Click(6, 6);
  EXPECT_EQ(game().playerControl.actionMode, kActionNone);
  ExpectShownAfterDelay();
}

TEST_F(FleetMapActionsTest, AClickTakenByAnotherRowStillBringsTheManagerBack) {
  naval_->AddFleet(kHuman, zone_, {kCruiser});
  Enemy(3, 4);
  cJednostkaLadowa& own = naval_->world().PlaceLandUnit(kHuman, 6, 6);
  own.actionPoints = 3;
  ASSERT_NE(OpenManager(zone_), nullptr);
  Press(cDialogFlot::kShoreBombardment);
  // An own unit on an unmarked hex is selected for a move instead.
  Click(6, 6);
  EXPECT_EQ(game().playerControl.actionMode, kActionMove);
  ExpectShownAfterDelay();
}

TEST_F(FleetMapActionsTest, AHiddenDialogOfAnotherKindIsNoFleetsManager) {
  cFleet& convoy = naval_->AddFleet(kHuman, port_id_, {kCargoShip});
  Load(*convoy.ships.front());
  auto* other = new cDialog(60, Rect{0, 0, 10, 10});
  PushModalDialog(other);
  other->SetVisible(false);
  game().playerControl.actionMode = kActionInvasionTarget;
  hex(port_id_, 0).AddFlags(64, -1);
  Click(port_id_, 0);
  EXPECT_EQ(convoy.ships.size(), 1u);
  EXPECT_EQ(game().playerControl.actionMode, kActionNone);
  EXPECT_EQ(TopDialog, other);
}

TEST_F(FleetMapActionsTest, ADeletedFleetLeavesTheManagerWhereverItStands) {
  cFleet& fleet = naval_->AddFleet(kHuman, port_id_, {kCruiser});
  ASSERT_NE(OpenManager(port_id_), nullptr);
  PushModalDialog(new cDialogTekstowy(u"text", u"title"));
  port_.ForgetFleet(fleet);
  EXPECT_TRUE(manager_->selectedFleets().empty());
}

}  // namespace
}  // namespace tr
