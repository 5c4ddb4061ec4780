// The nine unit lists: who goes where, what is left out, and the order of
// the own land units.
#include <gtest/gtest.h>

#include "ai_fixture.h"
#include "world/gra.h"

namespace tr {
namespace {

// Country 1 plays; 2 is its ally, 3 its enemy, 4 neutral.
class UnitListsTest : public testing::Test {
 protected:
  UnitListsTest() {
    world.country(1).alliance = kAxisLeader;
    world.country(2).alliance = kAxis;
    world.country(3).alliance = kAlliesLeader;
    world.country(4).alliance = kNeutral;
    world.game().relations.SetWar(1, 3, true);
    world.game().relations.SetWar(3, 1, true);
  }

  test::AiWorld world;
};

TEST_F(UnitListsTest, UnitsAreSplitByTheirOwnersStanding) {
  world.AddLand(1, 0, 0, 50);
  world.AddLand(1, 1, 0, 80);
  world.AddLand(2, 2, 0);
  world.AddLand(3, 3, 0);
  world.AddLand(3, 4, 0);
  world.AddLand(4, 5, 0);
  cJednostkaLadowa& aboard = world.AddLand(1, -1, -1);
  cJednostkaMorska& transport = world.AddShip(1, kCargoShip);
  aboard.transporter = &transport;
  transport.carriedUnit = &aboard;
  world.AddAir(1, 0, 1);
  world.AddAir(2, 1, 1);
  world.AddAir(2, 2, 1);
  world.AddAir(3, 3, 1);
  world.AddAir(4, 4, 1);
  world.AddAir(4, 5, 1);
  world.AddShip(3, kBattleship);
  world.AddShip(1, kCruiser);

  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();

  EXPECT_EQ(ai.ownLand.size(), 2u);
  EXPECT_EQ(ai.alliedLand.size(), 1u);
  EXPECT_EQ(ai.enemyLand.size(), 2u);
  EXPECT_EQ(ai.otherLand.size(), 1u);
  EXPECT_EQ(ai.ownAir.size(), 1u);
  EXPECT_EQ(ai.alliedAir.size(), 2u);
  EXPECT_EQ(ai.enemyAir.size(), 1u);
  EXPECT_EQ(ai.otherAir.size(), 2u);
  ASSERT_EQ(ai.ownNaval.size(), 2u);
  for (const cJednostkaMorska* ship : ai.ownNaval) EXPECT_EQ(ship->owner, 1);
  for (const cJednostkaLadowa* unit : ai.ownLand) EXPECT_NE(unit, &aboard);
  EXPECT_TRUE(world.log.Contains(u"[AI Country1] Wyznaczam listy jednostek"));

  // Seen from its enemy, country 1's units are the enemy's; its ally's are nobody's business.
  cCountryAI& enemy = world.AiOf(3);
  enemy.BuildUnitLists();
  ASSERT_EQ(enemy.enemyLand.size(), 2u);
  for (const cJednostkaLadowa* unit : enemy.enemyLand) EXPECT_EQ(unit->owner, 1);
  ASSERT_EQ(enemy.enemyAir.size(), 1u);
  EXPECT_EQ(enemy.enemyAir.front()->owner, 1);
  EXPECT_EQ(enemy.otherAir.size(), 4u);
}

TEST_F(UnitListsTest, OwnLandUnitsAreSortedStrongestFirstKeepingTiesInListOrder) {
  cJednostkaLadowa& weak = world.AddLand(1, 0, 0, 20);
  cJednostkaLadowa& tieFirst = world.AddLand(1, 1, 0, 60);
  cJednostkaLadowa& strong = world.AddLand(1, 2, 0, 90);
  cJednostkaLadowa& tieSecond = world.AddLand(1, 3, 0, 60);
  cJednostkaLadowa& tieThird = world.AddLand(1, 4, 0, 60);

  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();

  const std::vector<cJednostkaLadowa*> order(ai.ownLand.begin(), ai.ownLand.end());
  EXPECT_EQ(order, (std::vector<cJednostkaLadowa*>{&strong, &tieFirst, &tieSecond, &tieThird, &weak}));
}

TEST_F(UnitListsTest, ArtificialHarbourTakesNoPlaceAmongTheOwnUnits) {
  world.AddLand(1, 0, 0, 50, kMulberryType);
  world.AddLand(1, 1, 0, 50);
  world.AddLand(3, 2, 0, 50, kMulberryType);

  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();

  EXPECT_EQ(ai.ownLand.size(), 1u);
  EXPECT_EQ(ai.enemyLand.size(), 1u);
}

TEST_F(UnitListsTest, RebuildingEmptiesTheListsFirst) {
  world.AddLand(1, 0, 0);
  world.AddAir(3, 1, 0);
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  ai.BuildUnitLists();
  EXPECT_EQ(ai.ownLand.size(), 1u);
  EXPECT_EQ(ai.enemyAir.size(), 1u);

  // A new war moves the neutral's units into the at-war lists at the next build.
  world.AddLand(4, 2, 0);
  ai.BuildUnitLists();
  EXPECT_EQ(ai.otherLand.size(), 1u);
  world.game().relations.SetWar(1, 4, true);
  ai.BuildUnitLists();
  EXPECT_EQ(ai.otherLand.size(), 0u);
  EXPECT_EQ(ai.enemyLand.size(), 1u);

  // Each change of an owner, a type, a carrier or the list shows at the next build.
  cJednostkaLadowa& own = *world.game().landUnits.front();
  own.owner = 2;
  ai.BuildUnitLists();
  EXPECT_EQ(ai.ownLand.size(), 0u);
  EXPECT_EQ(ai.alliedLand.size(), 1u);
  own.owner = 1;
  own.type = kMulberryType;
  ai.BuildUnitLists();
  EXPECT_EQ(ai.ownLand.size(), 0u);
  own.type = kInfantryDivision;
  own.transporter = &world.AddShip(1, kCargoShip);
  ai.BuildUnitLists();
  EXPECT_EQ(ai.ownLand.size(), 0u);
  own.transporter = nullptr;
  auto taken = world.game().landUnits.Take(world.game().landUnits.begin());
  ai.BuildUnitLists();
  EXPECT_EQ(ai.ownLand.size(), 0u);
  world.game().landUnits.push_back(std::move(taken));
  ai.BuildUnitLists();
  EXPECT_EQ(ai.ownLand, std::vector<cJednostkaLadowa*>{&own});
}

}  // namespace
}  // namespace tr
