#include <gtest/gtest.h>

#include <memory>

#include "foundation/random.h"
#include "turn/convoy_attack.h"
#include "turn/convoy_fixture.h"
#include "world/commander.h"
#include "world/gra.h"

namespace tr::test {
namespace {

// The draw that makes RandomRange(1, 100) give the value.
int DrawFor(int value) {
  for (int draw = 0; draw <= 32767; ++draw) {
    if (1 + static_cast<int>(static_cast<float>(draw) / 32767.0f * 99.0f) == value) return draw;
  }
  return -1;
}

class ConvoyAttackTest : public ::testing::Test, public ConvoyWorld {
 protected:
  ConvoyAttackTest() {
    convoy.pointsCarried = 12;
    game().turn = 1;
  }
  void SetLoss(int type, int loss) {
    SetConstant(122, type - kAircraftCarrier + 2, loss);
    SetConstant(123, type - kAircraftCarrier + 2, loss);
  }
  sCommander& AttachCommander(cJednostkaMorska& ship, int skill) {
    auto commander = std::make_unique<sCommander>();
    commander->id = static_cast<int>(game().commanders.size()) + 1;
    commander->skill = skill;
    ship.attachedCommander = commander.get();
    game().commanders.push_back(std::move(commander));
    return *game().commanders.back();
  }
  void Attack(int node, bool endLine = false) { AttackConvoysInZone(graph(), 1, node, convoy, endLine); }

  sConvoyResult convoy;
};

TEST_F(ConvoyAttackTest, APortNeverAttacksAndOnlyTheRouteGrows) {
  AddFleet(3, destinationNode, {kCruiser});
  ScopedRandomDraws draws({0, 0, 0});
  Attack(destinationNode, true);
  EXPECT_EQ(draws.remaining(), 3u);
  EXPECT_EQ(convoy.details, u"\n>>> Port3\n");
  EXPECT_EQ(convoy.pointsLost, 0);
}

TEST_F(ConvoyAttackTest, OneFleetAttacksItsLossIsCappedAndTheRaidersThenDoNothing) {
  SetLoss(kCruiser, 30);
  AddFleet(1, seaNode, {kCruiser});  // own ships never attack
  AddFleet(4, seaNode, {kCruiser});  // nor those of countries at peace
  cFleet& first = AddFleet(3, seaNode, {kCruiser, kCruiser});
  cFleet& raiders = AddFleet(3, seaNode, {kSubmarine});
  raiders.formation = kFleetRaiders;
  // The pick of the first of the two enemy fleets, its hit, its two ships' rolls.
  ScopedRandomDraws draws({0, 0, 0, 0, 0, 0});
  Attack(seaNode);
  EXPECT_EQ(draws.remaining(), 2u);
  EXPECT_EQ(convoy.pointsLost, 12);
  EXPECT_EQ(convoy.details, u"\n>>> Sea2[ATTACKED by enemy FLEET (2 ships), lost 12 STP] ");
  ASSERT_EQ(game().reports.Reports().size(), 1u);
  const sReport& report = game().reports.Reports().front();
  EXPECT_EQ(report.type, 18);
  EXPECT_EQ(report.country, 3);
  EXPECT_EQ(report.text, first.name + u" attacked convoys on Sea2, inflicted 12 STP loss");
}

struct sRaiderCase {
  const char* name;
  float raiderFactor;
  int skill;
  int roll;
  bool hits;
};

class RaiderChance : public ConvoyAttackTest, public ::testing::WithParamInterface<sRaiderCase> {};

TEST_P(RaiderChance, IsTheTruncatedScaledChancePlusTheCommander) {
  const sRaiderCase& c = GetParam();
  SetConstant(121, 5, c.raiderFactor);
  SetLoss(kSubmarine, 3);
  cFleet& raiders = AddFleet(3, seaNode, {kSubmarine});
  raiders.formation = kFleetRaiders;
  if (c.skill > 0) AttachCommander(*raiders.ships.front(), c.skill);
  // The fleet pick and its roll (a miss), then the raider's roll and loss.
  ScopedRandomDraws draws({0, 32767, DrawFor(c.roll), 0});
  Attack(seaNode);
  EXPECT_EQ(convoy.pointsLost, c.hits ? 3 : 0);
  EXPECT_EQ(convoy.details, c.hits ? u"\n>>> Sea2[ATTACKED by enemy RAIDER, lost 3 STP] " : u"\n>>> Sea2");
}

// Base 50 (50.9 truncated) at factor 1: 50 x 0.55 = 27.5 -> 27, plus 10 a skill point.
INSTANTIATE_TEST_SUITE_P(Cases, RaiderChance,
                         ::testing::Values(sRaiderCase{"AtTheChance", 0.55f, 0, 27, true},
                                           sRaiderCase{"AboveTheChance", 0.55f, 0, 28, false},
                                           sRaiderCase{"CommanderAtTheChance", 0.55f, 2, 47, true},
                                           sRaiderCase{"CommanderAbove", 0.55f, 2, 48, false}),
                         [](const ::testing::TestParamInfo<sRaiderCase>& info) { return std::string(info.param.name); });

TEST_F(ConvoyAttackTest, ReportsAreFiledOnlyAfterTheFirstTurn) {
  game().turn = 0;
  cFleet& raiders = AddFleet(3, seaNode, {kSubmarine});
  raiders.formation = kFleetRaiders;
  ScopedRandomDraws draws({0, 0, 0, 0, 0});
  Attack(seaNode);
  EXPECT_EQ(convoy.pointsLost, 8);
  EXPECT_TRUE(game().reports.Reports().empty());
}

struct sBandCase {
  int remaining;
  int chance;
};

class AttackChance : public ConvoyAttackTest, public ::testing::WithParamInterface<sBandCase> {};

TEST_P(AttackChance, FollowsTheRemainingLoadBand) {
  SetConstant(121, 2, 1.5);
  SetConstant(121, 3, 1.0);
  SetConstant(121, 4, 0.7);
  convoy.pointsCarried = GetParam().remaining + 5;
  convoy.pointsLost = 5;
  EXPECT_EQ(ConvoyAttackChance(convoy), GetParam().chance);
}

// 50 x 0.7f is 35 in single precision but 34.9999994 in double.
INSTANTIATE_TEST_SUITE_P(Bands, AttackChance,
                         ::testing::Values(sBandCase{10, 75}, sBandCase{11, 50}, sBandCase{20, 50}, sBandCase{21, 35}));

}  // namespace
}  // namespace tr::test
