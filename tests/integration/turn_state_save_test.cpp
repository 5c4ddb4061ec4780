// What a country's turn leaves for the end of the impulse and for the
// countries after it, through a save made between two countries' turns: the
// one step of a unit that began its turn without points, the month whose
// once-a-month steps ran, and the computer's fronts with the counts on the
// cities diagram they are read with.
#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "ai/country_ai.h"
#include "ai/front.h"
#include "integration/built_sample_test.h"
#include "units/jednostka_ladowa.h"
#include "world/cities_diagram.h"
#include "world/gra.h"
#include "world/hex_geometry.h"
#include "world/map.h"

namespace tr {
namespace {

class TurnStateSaveTest : public test::BuiltSampleTest {
 protected:
  static cGame& SaveAndLoad(cGame& game) {
    EXPECT_TRUE(game.saveContext->SaveGame(u"between", true));
    return Load(u"data\\save\\between\\%s", 1);
  }
};

// Land units that may step onto a free hex of their own beside them.
std::vector<cJednostkaLadowa*> UnitsWithAFreeHexBeside(cGame& game) {
  std::vector<cJednostkaLadowa*> found;
  cMap& map = *game.map;
  for (const auto& unit : game.landUnits) {
    if (unit->type == kMulberryType || unit->freezeTime > 0) continue;
    for (int d = 0; d < kDirectionCount; ++d) {
      const sPoint p = NeighbourPoint(unit->x, unit->y, d);
      if (!map.IsInside(p.x, p.y)) continue;
      const sHex& hex = *map.GetHex(p.x, p.y);
      if (hex.IsLand() && !hex.unit && hex.controller == unit->owner) {
        found.push_back(unit.get());
        break;
      }
    }
  }
  return found;
}

cJednostkaLadowa& LandUnit(cGame& game, int id) {
  for (const auto& unit : game.landUnits) {
    if (unit->id == id) return *unit;
  }
  ADD_FAILURE() << "no land unit " << id;
  return *game.landUnits.front();
}

// Two units began the turn without points; one took its step. After the load
// the other may still take its step, the first may not take another, and
// the month the new game ran its steps for is not run again.
TEST_F(TurnStateSaveTest, AUnitsOneStepAndTheMonthRunOutlastTheSave) {
  cGame& game = Load(u"data\\scenarios\\NorthernTide\\%s", 0);
  const std::vector<cJednostkaLadowa*> units = UnitsWithAFreeHexBeside(game);
  ASSERT_GE(units.size(), 2u);
  for (cJednostkaLadowa* unit : {units[0], units[1]}) {
    unit->startingActionPoints = 0;
    unit->actionPoints = 0;
  }
  units[0]->movedThisTurn = 1;
  const int stepped = units[0]->id;
  const int waiting = units[1]->id;
  const int month = game.lastMonthProcessed;
  ASSERT_EQ(game.date.impulse, 1) << "the first impulse of a month: the date alone gives the month before";

  cGame& loaded = SaveAndLoad(game);
  EXPECT_EQ(LandUnit(loaded, stepped).movedThisTurn, 1);
  EXPECT_EQ(LandUnit(loaded, stepped).ComputeMoveRange(1), 0);
  EXPECT_EQ(LandUnit(loaded, waiting).movedThisTurn, 0);
  EXPECT_GT(LandUnit(loaded, waiting).ComputeMoveRange(1), 0);
  EXPECT_EQ(loaded.lastMonthProcessed, month);
}

// Every value of a front and of a node's counts has its own value, so a
// column read into another's place shows.
TEST_F(TurnStateSaveTest, TheComputersFrontsAndTheDiagramsCountsOutlastTheSave) {
  cGame& game = Load(u"data\\scenarios\\NorthernTide\\%s", 0);
  cCitiesDiagram& diagram = game.citiesDiagram;
  ASSERT_GE(diagram.NodeCount(), 5);
  const sFrontStatistics stats{2.75f, 3.125f, 4.5f, 5, 6, 7, 8, 9, 10};
  sFront front;
  front.state = kFrontThreatened;
  front.advantage = 0.6111111f;
  front.stats = stats;
  front.cities = {diagram.GetNode(4), diagram.GetNode(2)};
  cCountryAI& ai = CountryAiOf(game, *game.countries[2]);
  ai.fronts = {front};
  sCitiesDiagramNode& node = *diagram.GetNode(3);
  node.visited = 1;
  node.stats = {11.25f, 12.5f, 13.0625f, 14, 15, 16, 17, 18, 19};
  node.ownUnitCount = 20;

  cGame& loaded = SaveAndLoad(game);
  const std::list<sFront>& fronts = CountryAiOf(loaded, *loaded.countries[2]).fronts;
  ASSERT_EQ(fronts.size(), 1u);
  const sFront& back = fronts.front();
  EXPECT_EQ(back.state, kFrontThreatened);
  EXPECT_EQ(back.advantage, 0.6111111f);
  EXPECT_EQ(back.stats.landOurs, 2.75f);
  EXPECT_EQ(back.stats.landOwn, 3.125f);
  EXPECT_EQ(back.stats.landEnemy, 4.5f);
  EXPECT_EQ(back.stats.airStrengthEnemy, 10);
  const cCitiesDiagram& after = loaded.citiesDiagram;
  EXPECT_EQ(std::vector(back.cities.begin(), back.cities.end()),
            (std::vector<sCitiesDiagramNode*>{const_cast<cCitiesDiagram&>(after).GetNode(4),
                                              const_cast<cCitiesDiagram&>(after).GetNode(2)}));
  EXPECT_EQ(back.name, u"Front miasta " + after.GetNode(4)->city->name);
  const sCitiesDiagramNode& counted = *after.GetNode(3);
  EXPECT_EQ(counted.visited, 1);
  EXPECT_EQ(counted.stats.landOurs, 11.25f);
  EXPECT_EQ(counted.stats.landEnemy, 13.0625f);
  EXPECT_EQ(counted.stats.airUnitsOurs, 14);
  EXPECT_EQ(counted.stats.airStrengthEnemy, 19);
  EXPECT_EQ(counted.ownUnitCount, 20);
  EXPECT_EQ(after.GetNode(1)->ownUnitCount, 0);
  EXPECT_TRUE(CountryAiOf(loaded, *loaded.countries[1]).fronts.empty());
}

}  // namespace
}  // namespace tr
