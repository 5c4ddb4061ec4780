#include <gtest/gtest.h>

#include "support/log_capture.h"
#include "support/world_builder.h"
#include "world/hex.h"

namespace tr {
namespace {

TEST(HexRivers, SidesAndMouthByte) {
  sHex hex;
  hex.rivers = 0b100101;
  std::array<bool, 6> sides{};
  hex.ZwrocWektorRzek(sides);
  EXPECT_EQ(sides, (std::array<bool, 6>{true, false, true, false, false, true}));
  EXPECT_TRUE(hex.HasRiver(5));
  EXPECT_FALSE(hex.HasRiver(6));
  EXPECT_FALSE(hex.HasRiver(-1));
  // A river mouth reads as no river on every side.
  hex.rivers = 0x41;
  hex.ZwrocWektorRzek(sides);
  EXPECT_EQ(sides, (std::array<bool, 6>{}));
  EXPECT_FALSE(hex.HasRiver(0));
}

TEST(HexBorders, OwnerChangeRefreshesTheHexAndItsUpperNeighbours) {
  test::TestWorld world(3, 3, 2);
  for (sHex& hex : world.map().Hexes()) {
    hex.owner = 1;
    hex.controller = 1;
  }
  world.hex(1, 1).SetOwner(2);
  // (1, 1) is odd: its sides 1, 2, 3 lead to (2, 0), (2, 1), (1, 2).
  EXPECT_EQ(world.hex(1, 1).borders & kOwnerBorderBits, 0b111);
  EXPECT_EQ(world.hex(1, 1).borders & kControllerBorderBits, 0);
  // The N neighbour carries the edge on its side 3, SW (0, 1) on 1, NW (0, 0) on 2.
  EXPECT_EQ(world.hex(1, 0).borders & kOwnerBorderBits, 0b100);
  EXPECT_EQ(world.hex(0, 1).borders & kOwnerBorderBits, 0b001);
  EXPECT_EQ(world.hex(0, 0).borders & kOwnerBorderBits, 0b010);
  world.hex(1, 1).SetController(2);
  EXPECT_EQ(world.hex(1, 1).borders & kControllerBorderBits, 0b111000);
  world.hex(1, 1).SetOwner(1);
  EXPECT_EQ(world.hex(1, 0).borders & kOwnerBorderBits, 0);
}

// A hex keeps its countries in a byte: 256 would have become 0 and 300 country 44.
TEST(HexOwnership, CountryNumbersUpTo255AreTakenAndHigherOnesRefused) {
  sHex hex;
  hex.x = 4;
  hex.y = 7;
  test::LogCapture log;
  hex.SetController(255);
  hex.SetOwner(255);
  EXPECT_EQ(hex.controller, 255);
  EXPECT_EQ(hex.owner, 255);
  EXPECT_TRUE(log.lines().empty());
  hex.SetController(300);
  hex.SetOwner(256);
  EXPECT_EQ(hex.controller, 255);
  EXPECT_EQ(hex.owner, 255);
  EXPECT_TRUE(log.Contains(u"ERROR: hex (4, 7) cannot take country 300 as its controller: a hex holds the countries 0 "
                           u"to 255; the hex is left as it was"));
  EXPECT_TRUE(log.ContainsText(u"cannot take country 256 as its owner"));
}

TEST(HexBorders, SideWithoutNeighbourKeepsItsBit) {
  test::TestWorld world(2, 1, 2);
  sHex& hex = world.hex(1, 0);  // the last column: no neighbours on sides 1 and 2
  hex.borders = 0b011;
  hex.owner = 1;
  hex.SetOwner(2);
  EXPECT_EQ(hex.borders & kOwnerBorderBits, 0b011);
}

TEST(HexBorders, SeaNeighbourIsNoBorder) {
  test::TestWorld world(2, 2, 2);
  world.hex(0, 1).terrain = 0;
  world.hex(0, 1).owner = 2;
  world.hex(0, 0).SetOwner(1);
  EXPECT_EQ(world.hex(0, 0).borders & 0b100, 0);  // side 3 (S) is sea
}

TEST(HexFlags, AddAndRemoveKeepTheFlaggedList) {
  test::TestWorld world(3, 1, 1);
  sHex& hex = world.hex(1, 0);
  hex.AddFlags(64, 3);
  hex.AddFlags(128, 5);
  EXPECT_EQ(world.map().FlaggedHexes().size(), 1u);
  EXPECT_EQ(hex.flags, 192u);
  EXPECT_EQ(hex.flagValue, 5);
  hex.RemoveFlags(64, false);
  EXPECT_EQ(hex.flagValue, -1);
  EXPECT_EQ(world.map().FlaggedHexes().size(), 1u);
  hex.RemoveFlags(128, true);
  EXPECT_TRUE(world.map().FlaggedHexes().empty());
  EXPECT_EQ(hex.flags, 0u);
}

TEST(HexFlags, ClearHexFlagsPrunesOnlyEmptiedHexes) {
  test::TestWorld world(4, 1, 1);
  world.hex(0, 0).AddFlags(0x8000 | 64, 1);
  world.hex(1, 0).AddFlags(0x8000, 1);
  world.hex(2, 0).AddFlags(kHexFlagShaded, -1);
  world.hex(3, 0).flags = kHexFlagShaded;  // set outside the list
  world.map().ClearHexFlags(0x8000, false);
  EXPECT_EQ(world.hex(0, 0).flags, 64u);
  EXPECT_EQ(world.hex(1, 0).flags, 0u);
  ASSERT_EQ(world.map().FlaggedHexes().size(), 2u);
  world.map().ClearHexFlags(0x8000, true);
  EXPECT_EQ(world.hex(3, 0).flags, 0u);
  ASSERT_EQ(world.map().FlaggedHexes().size(), 1u);
  EXPECT_EQ(world.map().FlaggedHexes()[0], &world.hex(0, 0));
}

class HexFriendship : public testing::Test {
 protected:
  // 1 and 2 allies, 3 axis at war with 1, 4 neutral.
  HexFriendship() : world(2, 1, 4) {
    world.country(1).alliance = kAllies;
    world.country(2).alliance = kAlliesLeader;
    world.country(3).alliance = kAxis;
    world.game().relations.SetWar(1, 3, true);
    world.game().relations.SetWar(3, 1, true);
  }
  sHex& Hex(int controller, int owner) {
    sHex& hex = world.hex(0, 0);
    hex.controller = static_cast<std::uint8_t>(controller);
    hex.owner = static_cast<std::uint8_t>(owner);
    return hex;
  }
  test::TestWorld world;
};

TEST_F(HexFriendship, ControlledByFriend) {
  EXPECT_TRUE(Hex(1, 0).IsControlledByFriend(1));
  EXPECT_TRUE(Hex(2, 0).IsControlledByFriend(1));
  EXPECT_TRUE(Hex(1, 0).IsControlledByFriend(2));  // and the other way round
  EXPECT_FALSE(Hex(3, 0).IsControlledByFriend(1));
  EXPECT_FALSE(Hex(0, 0).IsControlledByFriend(1));
  // A neutral has no allies, not even itself through the alliance test.
  EXPECT_FALSE(Hex(4, 0).IsControlledByFriend(1));
}

TEST_F(HexFriendship, HeldByFriend) {
  EXPECT_TRUE(Hex(1, 1).IsHeldByFriend(1));
  EXPECT_TRUE(Hex(2, 1).IsHeldByFriend(1));
  EXPECT_FALSE(Hex(2, 3).IsHeldByFriend(1));
  EXPECT_FALSE(Hex(1, 0).IsHeldByFriend(1));
  EXPECT_TRUE(Hex(4, 4).IsHeldByFriend(4));
  // A neutral has no allies: its own hex under a foreign owner is not held.
  EXPECT_FALSE(Hex(4, 1).IsHeldByFriend(4));
}

TEST_F(HexFriendship, FriendlyToCountsEnemiesAndAllies) {
  const cCountry& allies = world.country(1);
  EXPECT_TRUE(Hex(1, 1).IsFriendlyTo(allies));
  EXPECT_TRUE(Hex(2, 2).IsFriendlyTo(allies));
  EXPECT_TRUE(Hex(3, 3).IsFriendlyTo(allies));
  EXPECT_FALSE(Hex(4, 4).IsFriendlyTo(allies));
  EXPECT_FALSE(Hex(0, 0).IsFriendlyTo(allies));
  sHex& sea = Hex(1, 1);
  sea.terrain = 0;
  EXPECT_FALSE(sea.IsFriendlyTo(allies));
}

TEST_F(HexFriendship, CountriesOfTheHex) {
  sHex& hex = Hex(3, 0);
  hex.originalOwner = 9;  // above the country count: logged, no country
  EXPECT_EQ(hex.GetControllerCountry(), &world.country(3));
  EXPECT_EQ(hex.GetOwnerCountry(), nullptr);
  EXPECT_EQ(hex.GetOriginalOwnerCountry(), nullptr);
  hex.seaZone = 2;
  EXPECT_TRUE(hex.IsCoastalLand());
}

}  // namespace
}  // namespace tr
