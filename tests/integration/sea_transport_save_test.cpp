// A land unit of the shipped sample embarked on an amphibious ship, saved
// aboard and loaded again, lands the same as the unit that never left the
// game.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "ai/game_invariants.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "integration/built_sample_test.h"
#include "support/temp_dir.h"
#include "turn/fleet.h"
#include "turn/game_steps.h"
#include "units/jednostka_ladowa.h"
#include "world/game_start.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr sLocalTime kClock{2011, 3, 4, 9, 30};
constexpr std::uint32_t kLandingSeed = 1944;

struct sPlan {
  int unitId = -1;
  int nodeId = -1;
  int x = -1;
  int y = -1;
};

cJednostkaLadowa* FindUnit(const cUnitList<cJednostkaLadowa>& list, int id) {
  for (const auto& unit : list) {
    if (unit->id == id) return unit.get();
  }
  return nullptr;
}

// A land unit on the map, and a free coastal land hex of an enemy of its
// owner at the first open sea that has one.
sPlan ChoosePlan(cGame& game) {
  sPlan plan;
  for (const auto& unit : game.landUnits) {
    if (unit->type >= 0 && unit->type < kLandTypeCount) {
      plan.unitId = unit->id;
      break;
    }
  }
  const cJednostkaLadowa* unit = FindUnit(game.landUnits, plan.unitId);
  if (!unit) return plan;
  for (const sHex& hex : game.map->Hexes()) {
    if (!hex.IsLand() || hex.unit || !game.seaGraph.IsNodeId(hex.seaZone)) continue;
    if (hex.controller == 0 || !game.relations.IsAtWar(unit->owner, hex.controller)) continue;
    plan.nodeId = hex.seaZone;
    plan.x = hex.x;
    plan.y = hex.y;
    break;
  }
  return plan;
}

std::string DescribeLanding(cGame& game, const sPlan& plan, bool landed) {
  std::ostringstream out;
  out << "landed " << landed << " aboard " << game.aboardUnitsA.size() + game.aboardUnitsB.size() << " land "
      << game.landUnits.size() << " ships " << game.navalUnits.size() << " fleets " << game.fleets.size()
      << " controller " << int(game.map->GetHex(plan.x, plan.y)->controller);
  if (const cJednostkaLadowa* unit = FindUnit(game.landUnits, plan.unitId)) {
    out << " unit at " << unit->x << ',' << unit->y << " strength " << unit->strength << " supply " << unit->supply
        << " ap " << unit->actionPoints << " combat " << unit->combatValue
        << " on hex " << (game.map->GetHex(plan.x, plan.y)->unit == unit);
  }
  return out.str();
}

class SeaTransportSaveTest : public test::BuiltSampleTest {
 protected:
  // The sample with the planned unit embarked.
  static cGame& LoadEmbarked(sPlan& plan) {
    cGame& game = Load(u"data\\scenarios\\NorthernTide\\%s", 0);
    plan = ChoosePlan(game);
    EXPECT_GE(plan.nodeId, 1);
    cJednostkaLadowa* unit = FindUnit(game.landUnits, plan.unitId);
    EXPECT_NE(unit, nullptr);
    if (!unit) return game;
    // The computer embarks only what its owner can pay for.
    if (cCountry* owner = unit->GetOwnerCountry()) owner->invasionPoints += 100;
    EXPECT_NE(unit->EmbarkOnFleet(kAmphibiousShip, plan.nodeId, 0), nullptr);
    return game;
  }
  static std::string Land(cGame& game, const sPlan& plan) {
    cJednostkaLadowa* unit = FindUnit(game.aboardUnitsB, plan.unitId);
    EXPECT_NE(unit, nullptr);
    if (!unit) return {};
    EXPECT_NE(unit->transporter, nullptr);
    SeedRandom(kLandingSeed);
    const bool landed = unit->AmphibiousInvasion(plan.x, plan.y);
    EXPECT_EQ(FindInvariantViolation(game), "");
    return DescribeLanding(game, plan, landed);
  }
};

TEST_F(SeaTransportSaveTest, AUnitSavedAboardLandsAsOneThatStayedInTheGame) {
  sPlan plan;
  cGame& game = LoadEmbarked(plan);
  if (HasFatalFailure() || plan.nodeId < 1) return;
  const std::string direct = Land(game, plan);
  EXPECT_NE(direct.find("landed 1"), std::string::npos) << direct;

  sPlan again;
  cGame& embarked = LoadEmbarked(again);
  ASSERT_EQ(again.unitId, plan.unitId);
  EXPECT_EQ(FindInvariantViolation(embarked), "");
  embarked.saveContext->clock = [] { return kClock; };
  ASSERT_TRUE(embarked.saveContext->SaveGame(u"aboard", true));
  cGame& loaded = Load(u"data\\save\\aboard\\%s", 1);
  EXPECT_EQ(FindInvariantViolation(loaded), "");
  EXPECT_EQ(Land(loaded, plan), direct);
}

}  // namespace
}  // namespace tr
