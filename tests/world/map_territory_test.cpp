#include <gtest/gtest.h>

#include "foundation/format.h"
#include "foundation/string_base.h"

#include "foundation/fatal.h"
#include "scenario/scenario_constants_layout.h"
#include "support/log_capture.h"
#include "world/headless_presentation.h"
#include "world/map.h"
#include "rules_fixture.h"

namespace tr {
namespace {

// A land unit that records its move to the reserve pool and leaves its hex.
class ReserveRecorder : public cJednostkaLadowa {
 public:
  int MoveToReservePool() override {
    ++moves;
    if (gGame && gGame->map) gGame->map->GetHex(x, y)->unit = nullptr;
    return -1;
  }
  int moves = 0;
};

// A row of hexes 0..5: on a one-row map each hex touches only the next.
class Absorb : public testing::Test {
 protected:
  Absorb() : world(6, 1, 3) {
    const int controllers[] = {1, 1, 2, 2, 2, 0};
    for (int x = 0; x < 6; ++x) world.hex(x, 0).controller = static_cast<std::uint8_t>(controllers[x]);
    test::AddCity(world, 0, 0);
    test::SetWar(world, 1, 2);
    world.game().constants.SetSlot(consts_layout::kMulberrySupplySpread, 3.0);
  }
  std::vector<int> Controllers() {
    std::vector<int> result;
    for (int x = 0; x < 6; ++x) result.push_back(world.hex(x, 0).controller);
    return result;
  }
  cHeadlessPresentation screen;
  ScopedPresentation scoped{screen};
  test::TestWorld world;
};

TEST_F(Absorb, CutOffHexBorderingAnEnemyPassesOneLayerPerImpulse) {
  test::LogCapture log;
  AbsorbUnsuppliedHexes();
  EXPECT_TRUE(log.Contains(u"Wchlaniam hexy bez zaopatrzenia"));
  EXPECT_EQ(Controllers(), (std::vector<int>{1, 1, 1, 2, 2, 0}));
  AbsorbUnsuppliedHexes();
  EXPECT_EQ(Controllers(), (std::vector<int>{1, 1, 1, 1, 2, 0}));
}

TEST_F(Absorb, UnitOrNearbyFriendlyHarbourHoldsTheHex) {
  test::AddLandUnit(world, 2, 0, 2);
  AbsorbUnsuppliedHexes();
  EXPECT_EQ(Controllers(), (std::vector<int>{1, 1, 2, 2, 2, 0}));
  world.hex(2, 0).unit = nullptr;
  auto& harbour = test::AddLandUnit<cMulberry>(world, 4, 0, 2);
  AbsorbUnsuppliedHexes();  // distance 2 < 3: supplied
  EXPECT_EQ(Controllers(), (std::vector<int>{1, 1, 2, 2, 2, 0}));
  world.game().constants.SetSlot(consts_layout::kMulberrySupplySpread, 2.0);
  AbsorbUnsuppliedHexes();  // distance 2 is not below 2
  EXPECT_EQ(Controllers(), (std::vector<int>{1, 1, 1, 2, 2, 0}));
  EXPECT_EQ(harbour.type, kMulberryType);
}

TEST_F(Absorb, AlliedChainToACityKeepsTheHex) {
  world.country(2).alliance = kAxis;
  world.country(3).alliance = kAxisLeader;
  world.hex(3, 0).controller = 3;
  test::AddCity(world, 4, 0);  // a city of country 2 behind its ally's hex
  AbsorbUnsuppliedHexes();
  EXPECT_EQ(Controllers(), (std::vector<int>{1, 1, 2, 3, 2, 0}));
}

class Territory : public Absorb {};

TEST_F(Territory, AnnexationPassesHexesAndJudgesUnits) {
  world.country(1).alliance = kAllies;
  world.country(3).alliance = kAlliesLeader;
  world.hex(1, 0).owner = 1;  // controller 1, owner 1
  world.hex(2, 0).owner = 3;  // controller 2, owner 3
  world.hex(3, 0).owner = 1;  // controller 2, owner 1
  auto& allied = test::AddLandUnit<ReserveRecorder>(world, 1, 0, 3);
  auto& enemy = test::AddLandUnit<ReserveRecorder>(world, 0, 0, 2);
  world.hex(0, 0).owner = 1;
  world.map().ReassignAnnexedHexes(1, 2);
  EXPECT_EQ(Controllers(), (std::vector<int>{2, 2, 2, 2, 2, 0}));
  EXPECT_EQ(world.hex(1, 0).owner, 2);
  EXPECT_EQ(world.hex(2, 0).owner, 3);
  EXPECT_EQ(world.hex(3, 0).owner, 2);
  EXPECT_EQ(allied.moves, 1);
  EXPECT_EQ(enemy.moves, 0);
}

TEST_F(Territory, UnitNeitherAllyNorEnemyOfTheAnnexedIsFatal) {
  world.hex(1, 0).owner = 1;
  test::AddLandUnit(world, 1, 0, 3);
  test::LogCapture log;
  EXPECT_THROW(world.map().ReassignAnnexedHexes(1, 2), FatalExitError);
  EXPECT_TRUE(log.Contains(u"And if its not enemy or ally - it cannot occupy this hex! Report this as a bug! Exiting."));
}

struct StripeCase {
  int x, y, n, c;
};

class BadStripe : public Territory, public testing::WithParamInterface<StripeCase> {};

TEST_P(BadStripe, IsLoggedWithItsNumbersAndChangesNothing) {
  test::TestWorld tall(2, 4, 3);
  const auto [x, y, n, c] = GetParam();
  test::LogCapture log;
  tall.map().ChangeStripeControllerAndOwner(x, y, n, c);
  tall.map().ChangeStripeControllerOwnerAndOriginalOwner(x, y, n, c);
  for (const sHex& hex : tall.map().Hexes()) EXPECT_EQ(hex.controller, 0);
  const std::u16string numbers = Format(u"(%i_%i_%i_%i)", x, y, n, c);
  int lines = 0;
  for (const auto& line : log.lines()) lines += line.find(numbers) != std::u16string::npos;
  EXPECT_EQ(lines, 2);
}

INSTANTIATE_TEST_SUITE_P(Parameters, BadStripe,
                         testing::Values(StripeCase{0, 0, 0, 1}, StripeCase{0, 2, 3, 1}, StripeCase{2, 0, 1, 1},
                                         StripeCase{0, -1, 1, 1}, StripeCase{0, 0, 1, 0}, StripeCase{0, 0, 1, 7}));

TEST_F(Territory, StripeAndTransferMoveForeignUnitsToReserve) {
  test::TestWorld tall(2, 4, 3);
  tall.game().relations.SetWar(1, 2, true);
  auto& foreign = test::AddLandUnit<ReserveRecorder>(tall, 1, 1, 2);
  auto& own = test::AddLandUnit<ReserveRecorder>(tall, 1, 2, 1);
  tall.map().ChangeStripeControllerOwnerAndOriginalOwner(1, 1, 3, 1);
  for (int y = 1; y < 4; ++y) {
    EXPECT_EQ(tall.hex(1, y).controller, 1);
    EXPECT_EQ(tall.hex(1, y).originalOwner, 1);
  }
  EXPECT_EQ(tall.hex(1, 0).controller, 0);
  EXPECT_EQ(foreign.moves, 1);
  EXPECT_EQ(own.moves, 0);
  tall.map().TransferTerritory(1, 3);
  EXPECT_EQ(tall.hex(1, 3).controller, 3);
  EXPECT_EQ(tall.hex(1, 3).owner, 3);
  EXPECT_EQ(tall.hex(1, 3).originalOwner, 3);
  EXPECT_EQ(own.moves, 1);
  test::LogCapture log;
  tall.map().TransferTerritory(0, 3);
  EXPECT_TRUE(log.ContainsText(u"no such country"));
  EXPECT_EQ(tall.hex(0, 0).controller, 0);
}

TEST_F(Territory, AreaSearchesFindThePortAndTheWeakestEnemy) {
  for (int x = 0; x < 6; ++x) world.hex(x, 0).seaZone = 4;
  world.hex(3, 0).port = 1;
  world.hex(4, 0).port = 1;
  int x = -1, y = -1;
  EXPECT_TRUE(world.map().FindAreaPathA(1, 0, 0, 4, 5, x, y, false));
  EXPECT_EQ(x, 3);
  EXPECT_FALSE(world.map().FindAreaPathA(1, 0, 0, 4, 5, x, y, true));  // only the start hex
  EXPECT_FALSE(world.map().FindAreaPathA(1, 0, 0, 4, 1, x, y, false));  // hex 2 lies beyond the reach
  // From the east end of the 6 x 1 map the nearer port is found first.
  EXPECT_TRUE(world.map().FindAreaPathA(1, 5, 0, 4, 3, x, y, false));
  EXPECT_EQ(x, 4);
  test::AddLandUnit(world, 2, 0, 2, 30);
  test::AddLandUnit(world, 4, 0, 2, 10);
  test::AddLandUnit(world, 1, 0, 1, 1);
  world.game().constants.SetSlot(consts_layout::kLandBaseValue + 7, 100.0);  // level 1, infantry
  EXPECT_TRUE(world.map().FindAreaPathB(1, 0, 0, 0, 5, x, y));
  EXPECT_EQ(x, 4);
}

}  // namespace
}  // namespace tr
