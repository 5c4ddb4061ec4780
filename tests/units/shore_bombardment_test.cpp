// Shore bombardment of a land unit: the ships that fire, the effect on the
// unit's combat value, the texts and the reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "foundation/format.h"
#include "foundation/random.h"
#include "scenario/scenario_constants_layout.h"
#include "support/naval_world.h"
#include "units/combat_result.h"
#include "units/jednostka_ladowa.h"
#include "units/shore_bombardment_ships.h"
#include "units/unit_fixture.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

using test::RangeDraw;

int Die(int value) { return RangeDraw(1, 6, value); }

// Country 1's fleet off the coast; country 3's infantry of strength value 10
// and combat value 100 on (3, 4). Battleships hit d, cruisers d / 2 for die
// d at the reference of 6 hit points; exponent 2; navy factor 1.
class ShoreBombardment : public testing::Test {
 protected:
  ShoreBombardment() : scoped_(presentation_) {
    zone = sea.AddSea();
    for (int d = 1; d <= 6; ++d) {
      sea.SetConstant(117, 1 + d, d);
      sea.SetConstant(117, 7 + d, d / 2.0);
    }
    sea.SetConstant(117, 14, 2.0);
    sea.SetConstant(73, 2, 6);
    sea.SetConstant(73, 3, 6);
    for (int level = 1; level <= 5; ++level) sea.SetConstant(150, level, 1.0);
    sea.game().constants.SetSlot(consts_layout::kLandBaseValue + 1 * 7 + kInfantryDivision, 10.0);
    unit = &sea.world().PlaceLandUnit(3, 3, 4);
    unit->level = 1;
    unit->strength = 100;
    unit->combatValue = 100;
    fleet = &sea.AddFleet(1, zone, {kBattleship});
  }
  int Reports(int country, int kind) {
    return static_cast<int>(std::count_if(sea.game().reports.Reports().begin(), sea.game().reports.Reports().end(),
                                          [&](const sReport& r) { return r.country == country && r.type == kind; }));
  }
  void Bombard(int die, int allShips = 1) {
    ScopedRandomDraws draws({Die(die)});
    unit->ShoreBombardHex(*fleet, result, allShips);
  }

  test::NavalWorld sea;
  cHeadlessPresentation presentation_;
  ScopedPresentation scoped_;
  int zone = 0;
  cJednostkaLadowa* unit = nullptr;
  cFleet* fleet = nullptr;
  sCombatResult result;
};

TEST_F(ShoreBombardment, OneBattleshipAtItsReferenceHitPointsGivesItsTableValue) {
  unit->spotted = 0;
  Bombard(4);
  // 6 / 6 x 4 x 1^(-1/2) = 4 of strength value 10, times combat value 100.
  EXPECT_FLOAT_EQ(unit->shoreBombardmentEffect, 40.0f);
  EXPECT_EQ(unit->spotted, 1);
  EXPECT_EQ(result.kind, kBattleShoreBombardment);
  EXPECT_EQ(result.attackerCountry, 1);
  EXPECT_EQ(result.defenderCountry, 3);
  EXPECT_EQ(fleet->ships.front()->shoreBombardmentDone, 1);
  EXPECT_FALSE(result.Flag(kFlagDefenderDestroyed));
}

// A ship without a maximum, or of a type the scenario gives no reference
// hit points, fires at its table's full value.
class ShoreBombardmentWeight : public ShoreBombardment, public testing::WithParamInterface<std::pair<int, int>> {};
TEST_P(ShoreBombardmentWeight, IsWholeWithoutAReference) {
  const auto [maxHitPoints, reference] = GetParam();
  cJednostkaMorska& ship = *fleet->ships.front();
  ship.maxHitPoints = maxHitPoints;
  ship.hitPoints = 3;
  sea.SetConstant(73, 2, reference);
  Bombard(4);
  EXPECT_FLOAT_EQ(unit->shoreBombardmentEffect, 40.0f);
}
INSTANTIATE_TEST_SUITE_P(Ships, ShoreBombardmentWeight, testing::Values(std::pair{0, 6}, std::pair{6, 0}));

TEST_F(ShoreBombardment, MoreShipsWeighLessEachAndDamageCounts) {
  cJednostkaMorska& cruiser = sea.AddShip(*fleet, kCruiser);
  cruiser.hitPoints = 3;
  Bombard(4);
  // (4 + 0.5 x 2) x 2^(-1/2).
  EXPECT_NEAR(unit->shoreBombardmentEffect, 10.0f * 5.0f / std::sqrt(2.0f), 1e-3f);
}

TEST_F(ShoreBombardment, EffectIsCappedAtTheStrengthValueAndScaledByTheNavy) {
  sea.AddShip(*fleet, kBattleship);
  sea.AddShip(*fleet, kBattleship);
  sea.AddShip(*fleet, kBattleship);
  sea.SetConstant(117, 14, 100.0);  // four ships weigh almost fully: 24 > 10
  sea.SetConstant(150, 3, 0.5);
  sea.world().country(1).techLevels[5] = 3;
  Bombard(6);
  EXPECT_FLOAT_EQ(unit->shoreBombardmentEffect, 50.0f);
}

TEST_F(ShoreBombardment, SecondBombardmentReplacesTheFirst) {
  Bombard(4);
  fleet->ships.front()->shoreBombardmentDone = 0;
  unit->combatValue = 100;  // the recomputed value depends on supply tables this world leaves empty
  Bombard(2);
  EXPECT_FLOAT_EQ(unit->shoreBombardmentEffect, 20.0f);
}

TEST_F(ShoreBombardment, FleetThatHasFiredAlreadySetsTheEffectToZero) {
  unit->shoreBombardmentEffect = 30.0f;
  fleet->ships.front()->shoreBombardmentDone = 1;
  Bombard(6);
  EXPECT_FLOAT_EQ(unit->shoreBombardmentEffect, 0.0f);
}

TEST_F(ShoreBombardment, UnmarkedShipsFireOnlyWithAllShips) {
  cJednostkaMorska& marked = sea.AddShip(*fleet, kCruiser);
  marked.mark = 1;
  Bombard(4, 0);
  EXPECT_FLOAT_EQ(unit->shoreBombardmentEffect, 20.0f);  // the cruiser alone
  EXPECT_EQ(fleet->ships.front()->shoreBombardmentDone, 0);
}

TEST_F(ShoreBombardment, TextsForBothSidesAndTheirReports) {
  const std::u16string heading = u"Shore bombardment: hex (3, 4)\n\n";
  const std::u16string defender = heading + Format(u"Unit %s was attacked from sea by %s (%s)\n\n", unit->name,
                                                   fleet->name, sea.world().country(1).name);
  const std::u16string attacker = heading + Format(u"Attacked unit %s (%s) from sea with %s\n\n", unit->name,
                                                   sea.world().country(3).name, fleet->name);
  Bombard(4);
  EXPECT_EQ(result.attackerDetails, u"Shore bombardment\n----------\n Fleet: " + fleet->name +
                                        u"\n Battleships:\n  " + fleet->ships.front()->name + u"\n  " + attacker);
  EXPECT_EQ(result.defenderDetails, defender + u"report_details_shorebombardment_def");
  ASSERT_EQ(sea.game().reports.Reports().size(), 2u);
  EXPECT_EQ(sea.game().reports.Reports().front().text, attacker);
  EXPECT_EQ(sea.game().reports.Reports().back().text, defender);
  EXPECT_EQ(Reports(1, 14), 1);
  EXPECT_EQ(Reports(3, 15), 1);
}

TEST_F(ShoreBombardment, UnitWithoutStrengthIsDestroyed) {
  unit->strength = 0;
  Bombard(4);
  EXPECT_TRUE(result.Flag(kFlagDefenderDestroyed));
  EXPECT_EQ(sea.world().hex(3, 4).unit, nullptr);
  EXPECT_EQ(Reports(1, 14), 1);
  EXPECT_EQ(Reports(3, 15), 1);
}

TEST_F(ShoreBombardment, FleetBombardmentRunsItOnTheUnitOfTheHex) {
  sea.game().relations.SetWar(1, 3, true);
  ScopedRandomDraws draws({Die(4)});
  EXPECT_TRUE(fleet->ShoreBombard(3, 4, &result, 1));
  EXPECT_FLOAT_EQ(unit->shoreBombardmentEffect, 40.0f);
}

// Which of a country's fleets in a sea zone fires at the shore.
class ShoreBombardmentShips : public test::UnitWorld {};

TEST_F(ShoreBombardmentShips, TakesTheFleetWithMostGuns) {
  auto fleet = [&](int id, int node, int country) {
    auto f = std::make_unique<cFleet>();
    f->id = id;
    f->seaNodeId = node;
    f->countryId = country;
    game().fleets.push_back(std::move(f));
    return game().fleets.back().get();
  };
  auto ship = [&](cFleet* f, int type, int done = 0) {
    auto s = std::make_unique<cJednostkaMorska>();
    s->SetType(type);
    s->owner = f->countryId;
    s->fleet = f;
    s->shoreBombardmentDone = done;
    game().navalUnits.push_back(std::move(s));
    return game().navalUnits.back().get();
  };
  cFleet* seven = fleet(7, 3, 1);
  cFleet* four = fleet(4, 3, 1);
  cFleet* other = fleet(2, 3, 2);
  cFleet* away = fleet(1, 9, 1);
  cJednostkaMorska* a = ship(seven, kBattleship);
  ship(seven, kCargoShip);
  cJednostkaMorska* b = ship(four, kCruiser);
  cJednostkaMorska* spent = ship(four, kBattleship, 1);
  ship(other, kBattleship);
  ship(other, kBattleship);
  ship(away, kBattleship);
  EXPECT_EQ(FindShoreBombardmentShips(game(), 1, 3), four);  // one each: the lower number wins
  EXPECT_EQ(b->selectedForBombardment, 1);
  EXPECT_EQ(a->selectedForBombardment, 0);
  EXPECT_EQ(spent->selectedForBombardment, 0);
  ship(seven, kCruiser);
  EXPECT_EQ(FindShoreBombardmentShips(game(), 1, 3), seven);
  EXPECT_EQ(a->selectedForBombardment, 1);
  EXPECT_EQ(b->selectedForBombardment, 0);
  EXPECT_EQ(FindShoreBombardmentShips(game(), 3, 3), nullptr);
}

}  // namespace
}  // namespace tr
