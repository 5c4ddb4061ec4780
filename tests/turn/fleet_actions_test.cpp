// What a fleet's guns, aircraft and scouts reach from its sea zone: the
// targets inland of the coast, the zones around it, and shore bombardment.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "support/log_capture.h"
#include "support/naval_world.h"
#include "units/combat_result.h"
#include "world/city.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

// Zone 1 (beside zone 2) washes the coastal hexes (3, 4) and (10, 4); the
// action range is 1.0 x 2 hexes.
class FleetActions : public testing::Test {
 protected:
  FleetActions() : scoped_(presentation_) {
    zone = sea.AddSea();
    next = sea.AddSea();
    sea.Link(zone, next);
    for (int level = 1; level <= 5; ++level) sea.SetConstant(151, level, 1.0);
    sea.SetConstant(157, 1, 2);
    sea.world().country(1).techLevels[kAircraftTech] = 1;
    hex(3, 4).seaZone = static_cast<std::uint16_t>(zone);
    hex(10, 4).seaZone = static_cast<std::uint16_t>(zone);
    fleet = &sea.AddFleet(1, zone, {kBattleship, kCruiser});
  }
  sHex& hex(int x, int y) { return sea.world().hex(x, y); }
  cJednostkaLadowa& Unit(int owner, int x, int y, bool spotted = true) {
    cJednostkaLadowa& unit = sea.world().PlaceLandUnit(owner, x, y);
    unit.spotted = spotted ? 1 : 0;
    return unit;
  }
  int Flagged(std::uint32_t flag) {
    return static_cast<int>(std::count_if(sea.game().map->Hexes().begin(), sea.game().map->Hexes().end(),
                                          [flag](const sHex& h) { return (h.flags & flag) != 0; }));
  }

  test::NavalWorld sea;
  cHeadlessPresentation presentation_;
  ScopedPresentation scoped_;
  int zone = 0;
  int next = 0;
  cFleet* fleet = nullptr;
};

TEST_F(FleetActions, ShoreBombardmentReachesVisibleEnemiesAroundAnEnemyOnTheCoast) {
  Unit(3, 3, 4);                                      // on the coast
  Unit(3, 4, 4);                                      // one hex inland
  Unit(3, 3, 5, false);                               // unseen
  Unit(3, 7, 4);                                      // beyond the range
  Unit(2, 2, 4);                                      // an ally
  Unit(3, 3, 3).shoreBombardmentEffect = 1.5f;        // bombarded already
  Unit(3, 11, 4);                                     // near the other coast hex, which holds nobody
  EXPECT_EQ(fleet->MarkShoreBombardmentTargets(0), 2);
  EXPECT_EQ(Flagged(0x200), 0);
  hex(9, 7).AddFlags(0x101, -1);
  EXPECT_EQ(fleet->MarkShoreBombardmentTargets(1), 2);
  EXPECT_TRUE(hex(3, 4).flags & 0x200);
  EXPECT_TRUE(hex(4, 4).flags & 0x200);
  EXPECT_EQ(Flagged(0x200), 2);
  EXPECT_EQ(hex(9, 7).flags, 1u);  // earlier highlights go, the selection stays
}

TEST_F(FleetActions, CarrierStrikeAlsoTakesCitiesAndZonesWithSpottedEnemies) {
  Unit(3, 3, 4);
  Unit(3, 3, 3).shoreBombardmentEffect = 1.5f;
  hex(4, 4).controller = 3;
  auto city = std::make_unique<cCity>();
  hex(4, 4).city = city.get();
  sea.game().cities.push_back(std::move(city));
  sea.graph().GetNode(zone - 1).spottedEnemyShips[1] = 1;
  EXPECT_EQ(fleet->MarkBombardmentTargets(1), 4);
  EXPECT_TRUE(hex(4, 4).flags & 0x200);
  EXPECT_TRUE(hex(zone, 0).flags & 0x4000);
  EXPECT_FALSE(hex(next, 0).flags & 0x4000);
  // A fleet on no node of the graph marks nothing and leaves the marks be.
  cFleet stray = *fleet;
  stray.seaNodeId = next + 3;
  EXPECT_EQ(stray.MarkBombardmentTargets(1), 0);
  EXPECT_TRUE(hex(4, 4).flags & 0x200);
}

TEST_F(FleetActions, ReconCoversTheLandInRangeAndTheZonesAround) {
  // The hexes within 2 of each coastal hex, 19 each, and the one zone beside.
  EXPECT_EQ(fleet->MarkReconTargets(0), 2 * 19 + 1);
  EXPECT_EQ(fleet->MarkReconTargets(1), 2 * 19 + 1);
  EXPECT_EQ(Flagged(0x100), 2 * 19);
  EXPECT_TRUE(hex(zone, 0).flags & 0x4000);
  EXPECT_TRUE(hex(next, 0).flags & 0x4000);
}

TEST_F(FleetActions, RangeOfATechnologyLevelOutsideTheTableIsClamped) {
  sea.SetConstant(151, 1, 1.5);
  sea.SetConstant(151, 5, 2.0);
  sea.world().country(1).techLevels[kAircraftTech] = 0;
  test::LogCapture log;
  EXPECT_EQ(fleet->GetActionRange(), 3);
  EXPECT_TRUE(log.ContainsText(u"aircraft technology level 0 has no range factor"));
  sea.world().country(1).techLevels[kAircraftTech] = 6;
  EXPECT_EQ(fleet->GetActionRange(), 4);
}

TEST_F(FleetActions, ShoreBombardmentNeedsAnEnemyNotYetBombarded) {
  sCombatResult result;
  Unit(2, 4, 4);
  cJednostkaLadowa& enemy = Unit(3, 3, 4);
  EXPECT_FALSE(fleet->ShoreBombard(5, 5, &result, 1));  // nobody there
  EXPECT_FALSE(fleet->ShoreBombard(4, 4, &result, 1));  // an ally
  enemy.shoreBombardmentEffect = 0.5f;
  EXPECT_FALSE(fleet->ShoreBombard(3, 4, &result, 1));
  EXPECT_TRUE(std::none_of(fleet->ships.begin(), fleet->ships.end(), [](auto* s) { return s->shoreBombardmentDone; }));
  enemy.shoreBombardmentEffect = 0.0f;
  EXPECT_TRUE(fleet->ShoreBombard(3, 4, &result, 1));
  EXPECT_TRUE(std::all_of(fleet->ships.begin(), fleet->ships.end(), [](auto* s) { return s->shoreBombardmentDone; }));
  const auto events = presentation_.events();
  EXPECT_EQ(std::count(events.begin(), events.end(), u"sound data\\sound\\NavalGun.wav"), 4);
}

}  // namespace
}  // namespace tr
