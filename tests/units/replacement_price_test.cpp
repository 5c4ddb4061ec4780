// The price of one strength point of replacements, which the player's dialog
// and the computer both pay.
#include <gtest/gtest.h>

#include "scenario/scenario_constants.h"
#include "units/replacement_price.h"
#include "units/unit_fixture.h"

namespace tr {
namespace {

class ReplacementPriceTest : public test::UnitWorld {
 protected:
  ReplacementPriceTest() {
    // Every field around the ones the rule reads holds a value of its own, so
    // a rule reading a neighbouring line or field gets another price.
    for (int line = 76; line <= 85; ++line) {
      for (int field = 0; field <= 10; ++field) Set(line, field, 200 + line * 13 + field * 3);
    }
    Set(78, 2 + kInfantryDivision, 40);  // a land unit pays 40% of its base value a point
    Set(80, kTacticalBomber - 18, 6);    // an air unit pays a flat 6 a point
    Set(82, 1, 20);                      // and 20% more a level above the first for land
    Set(83, 1, 35);                      // or 35% for air
  }
  void Set(int line, int field, double value) {
    const int slot = sScenarioConstants::SlotOf(line, field);
    if (slot >= 0) game().constants.SetSlot(slot, value);
  }
};

TEST_F(ReplacementPriceTest, LandAndAirUnitsPayTheSurchargeOfTheirOwnKindForEveryLevelAboveTheFirst) {
  cJednostkaLadowa& land = AddLand(1, 2, 2, kInfantryDivision);
  cJednostkaLotnicza& air = AddAir(1, 3, 3);
  air.type = kTacticalBomber;
  struct Case {
    int level;
    float land;
    float air;
  };
  // The land base value of an infantry division of level 3 is 30 in the fixture, of level 1 it is 10.
  for (const Case& c : {Case{1, 4.0f, 6.0f}, Case{3, 16.8f, 10.2f}}) {
    SCOPED_TRACE(c.level);
    land.level = air.level = c.level;
    EXPECT_FLOAT_EQ(ReplacementPrice(land, game().constants), c.land);
    EXPECT_FLOAT_EQ(ReplacementPrice(air, game().constants), c.air);
  }
}

}  // namespace
}  // namespace tr
