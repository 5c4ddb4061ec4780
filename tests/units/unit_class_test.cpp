// The unit record: type codes and categories, names, numbering, copies, the
// harbour's fixed values, levels and placing on a hex.
#include <gtest/gtest.h>

#include "units/unit_fixture.h"

namespace tr {
namespace {

using test::UnitWorld;

struct TypeCase {
  int startCategory;
  int code;
  int category;
};
class UnitType : public testing::TestWithParam<TypeCase> {};

TEST_P(UnitType, SetsTheCategoryOfKnownCodesOnly) {
  cJednostkaMorska unit;
  unit.category = GetParam().startCategory;
  unit.SetType(GetParam().code);
  EXPECT_EQ(unit.type, GetParam().code);
  EXPECT_EQ(unit.category, GetParam().category);
}

INSTANTIATE_TEST_SUITE_P(Codes, UnitType,
                         testing::Values(TypeCase{2, 60, kCategoryLand}, TypeCase{2, 6, kCategoryLand},
                                         TypeCase{0, 20, kCategoryAir}, TypeCase{0, 22, kCategoryAir},
                                         TypeCase{1, 40, kCategoryNaval}, TypeCase{1, 45, kCategoryNaval},
                                         TypeCase{2, 7, 2}, TypeCase{1, 46, 1}, TypeCase{0, -1, 0}));

TEST(UnitName, KeepsAtMost99Units) {
  cJednostkaMorska unit;
  unit.SetName(std::u16string(99, u'a'));
  EXPECT_EQ(unit.name.size(), 99u);
  unit.SetName(std::u16string(100, u'b'));
  EXPECT_EQ(unit.name, std::u16string(99, u'b'));
}

class UnitRecord : public UnitWorld {};

TEST_F(UnitRecord, NewUnitsTakeTheRaisedCounterAndCopiesKeepTheirNumber) {
  game().nextLandUnitId = 41;
  game().nextAirUnitId = 7;
  cJednostkaLadowa land;
  EXPECT_EQ(land.id, 42);
  EXPECT_EQ(game().nextLandUnitId, 42);
  EXPECT_EQ(land.turnsWithoutSupply, 1);
  EXPECT_EQ(land.lastX, -1);
  EXPECT_EQ(land.lastY, -1);
  EXPECT_EQ(land.commanderId, -1);
  EXPECT_EQ(land.turnsSinceParadrop, 3);
  EXPECT_EQ(land.category, kCategoryLand);

  cJednostkaLotnicza air;
  EXPECT_EQ(air.id, 8);
  EXPECT_EQ(air.turnsWithoutSupply, 0);
  EXPECT_EQ(air.category, kCategoryAir);

  land.moveRange.push_back({&land, 1, 2, 3, 4});
  land.name = u"Template";
  const cJednostkaLadowa copy(land);
  EXPECT_EQ(copy.id, 42);
  EXPECT_EQ(copy.name, u"Template");
  ASSERT_EQ(copy.moveRange.size(), 1u);
  EXPECT_EQ(copy.moveRange.front().cost, 4);
  EXPECT_EQ(game().nextLandUnitId, 42);
}

TEST_F(UnitRecord, HarbourKeepsItsFixedValues) {
  cMulberry harbour;
  EXPECT_EQ(harbour.type, kMulberryType);
  EXPECT_EQ(harbour.SetStrength(5), 7);
  EXPECT_EQ(harbour.strength, 7);
  harbour.AddStrength(-30);
  EXPECT_EQ(harbour.strength, 7);
  EXPECT_EQ(harbour.SetActionPoints(6), 0);
  harbour.AddActionPoints(3);
  EXPECT_EQ(harbour.actionPoints, 0);
  harbour.SetStartingActionPoints(4);
  EXPECT_EQ(harbour.startingActionPoints, 0);
  harbour.SetSupply(2);
  EXPECT_EQ(harbour.supply, 10);
  harbour.SetSupplySourceX(3);
  harbour.SetSupplySourceY(4);
  EXPECT_EQ(harbour.supplySourceX, -1);
  EXPECT_EQ(harbour.supplySourceY, -1);
  harbour.ResetActionPoints();
  EXPECT_EQ(harbour.actionPoints, 0);
  // Through the base class the same fixed values hold.
  cJednostka& asUnit = harbour;
  asUnit.SetActionPoints(9);
  EXPECT_EQ(harbour.actionPoints, 0);
}

TEST_F(UnitRecord, LevelNeverFallsToZero) {
  cJednostkaLadowa unit;
  unit.level = 1;
  unit.combatValue = 55;
  unit.AddLevel(-1);
  EXPECT_EQ(unit.level, 1);
  EXPECT_EQ(unit.combatValue, 55);
  unit.turnsWithoutSupply = 0;
  unit.supply = 1;
  unit.AddLevel(2);
  EXPECT_EQ(unit.level, 3);
  EXPECT_EQ(unit.combatValue, 100);
}

TEST_F(UnitRecord, PlaceOnHexMovesOnlyToFreeHexesOfTheMap) {
  cJednostkaLadowa& mover = AddLand(1, 2, 2);
  cJednostkaLadowa& blocker = AddLand(2, 4, 4);
  EXPECT_EQ(mover.PlaceOnHex(-1, 3), nullptr);
  EXPECT_EQ(mover.PlaceOnHex(12, 3), nullptr);
  EXPECT_EQ(mover.PlaceOnHex(4, 4), nullptr);
  EXPECT_EQ(mover.x, 2);
  EXPECT_EQ(map().GetHex(2, 2)->unit, &mover);

  EXPECT_EQ(mover.PlaceOnHex(5, 6), map().GetHex(5, 6));
  EXPECT_EQ(mover.x, 5);
  EXPECT_EQ(mover.y, 6);
  EXPECT_EQ(map().GetHex(2, 2)->unit, nullptr);
  EXPECT_EQ(map().GetHex(5, 6)->unit, &mover);
  EXPECT_EQ(map().GetHex(4, 4)->unit, &blocker);
}

TEST_F(UnitRecord, PlacingAUnitFromOffTheMapLeavesHexZeroAlone) {
  cJednostkaLadowa& corner = AddLand(1, 0, 0);
  cJednostkaLadowa& reserve = AddLand(1, -1, -1);
  ASSERT_NE(reserve.PlaceOnHex(3, 3), nullptr);
  EXPECT_EQ(map().GetHex(0, 0)->unit, &corner);
}

TEST_F(UnitRecord, OwnerCountryAndCommanderByNumber) {
  cJednostkaLadowa& unit = AddLand(2, 1, 1);
  EXPECT_EQ(unit.GetOwnerCountry(), &country(2));
  sCommander& commander = AddCommander(5, 2, 10, 10);
  unit.SetCommander(&commander);
  EXPECT_EQ(unit.commanderId, 5);
  EXPECT_EQ(unit.GetCommander(), &commander);
  unit.SetCommander(nullptr);
  EXPECT_EQ(unit.commanderId, -1);
  EXPECT_EQ(unit.GetCommander(), nullptr);
}

}  // namespace
}  // namespace tr
