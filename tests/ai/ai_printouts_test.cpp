// The printouts of fronts and attack plans: their exact lines.
#include <gtest/gtest.h>

#include "ai_fixture.h"
#include "world/cities_diagram.h"
#include "world/gra.h"

namespace tr {
namespace {

using Lines = std::vector<std::u16string>;

class AiPrintoutsTest : public testing::Test {
 protected:
  test::AiWorld world;
};

TEST_F(AiPrintoutsTest, FrontPrintoutListsStrengthsStateAndCities) {
  cCity& first = world.AddCity(u"Łódź", 1, 1, 1);
  cCity& second = world.AddCity(u"Kraków", 2, 1, 1);
  sCitiesDiagramNode nodeA{.city = &first};
  sCitiesDiagramNode nodeB{.city = &second};
  sFront front{.name = u"Front miasta Łódź",
               .cities = {&nodeA, &nodeB},
               .state = kFrontCritical,
               .advantage = 0.5f,
               .stats = {.landOurs = 12.5f,
                         .landOwn = 10.0f,
                         .landEnemy = 25.1f,
                         .airUnitsOurs = 3,
                         .airUnitsOwn = 2,
                         .airUnitsEnemy = 4,
                         .airStrengthOurs = 30,
                         .airStrengthOwn = 20,
                         .airStrengthEnemy = 40}};
  cCountryAI& ai = world.AiOf(1);
  world.log.Clear();

  ai.PrintFront(front);
  ai.PrintFrontSummary(front);

  EXPECT_EQ(world.log.lines(), (Lines{u"FRONT: Front miasta Łódź", u"Jedn lotn: Nasze=3 Wlasne=2 Wrogie=4",
                                      u"Sila lotn: Nasza=30 Wlasna=20 Wroga=40",
                                      u"Siła lądowa: Nasza=12.50 Wlasna=10.00 Wroga=25.10", u"Stan frontu = 2",
                                      u"MIASTA FRONTOWE:", u"|", u"|- Łódź", u"|- Kraków", u"-",
                                      u"Front (Łódź), miasta: 2, Przewaga=0.50"}));
}

TEST_F(AiPrintoutsTest, AttackPlanPrintoutShowsMovesAndAirUnits) {
  cJednostkaLadowa& target = world.AddLand(3, 5, 5);
  cJednostkaLadowa& stepAside = world.AddLand(1, 5, 4);
  cJednostkaLadowa& attacker = world.AddLand(1, 7, 7);
  cJednostkaLotnicza& bomber = world.AddAir(1, 2, 2, kTacticalBomber);
  cJednostkaLotnicza& fighter = world.AddAir(3, 8, 8, kFighter);
  bomber.strength = 7;
  bomber.level = 2;
  bomber.actionPoints = 1;
  fighter.strength = 9;
  fighter.level = 3;
  fighter.actionPoints = 0;
  world.AddCity(u"Fort", 5, 5, 3);
  sAttackPlan plan;
  plan.target = &target;
  plan.cost = 14;
  plan.oddsColumn = 4;
  plan.goodAirStrikes = 2;
  plan.withdrawals[1] = sReachEntry{&stepAside, 6, 4, 0, 3};
  plan.approaches[1] = sReachEntry{&attacker, 5, 4, 2, 5};
  plan.approaches[4] = sReachEntry{&attacker, 4, 5, 1, 9};
  plan.supportingAirUnits = {&bomber};
  plan.interceptors = {&fighter};
  cCountryAI& ai = world.AiOf(1);
  world.log.Clear();

  ai.PrintAttackPlan(plan);
  ai.PrintAttackCandidate(plan);

  EXPECT_EQ(world.log.lines(),
            (Lines{u"[AI Country1] == Wydruk planu ataku ==", u"Cel: Land1 (5,5). KOSZT=14, KOL=4:1", u"Ruchy:",
                   u"Odejscie Land2 -> (6,4), kier 1, koszt 3", u"Podejscie Land3 -> (5,4), kier 1, koszt 5",
                   u"Podejscie Land3 -> (4,5), kier 4, koszt 9",
                   u"Własne jednostki zdolne do wspomagającego air-strike'u:", u"Air1: sila=7, level=2, PA=1",
                   u"Wrogie jednostki zdolne do intercepcji air-strike'u:", u"Air2: sila=9, level=3, PA=0",
                   u"Ilosc dobrych nalotow = 2", u"[AI] == Koniec wydruku planu ataku ==",
                   u"Cel=Land1 Kolumna=4:1 Miasto=TAK Koszt=14"}));
}

TEST_F(AiPrintoutsTest, CandidateAwayFromACitySaysNie) {
  cJednostkaLadowa& target = world.AddLand(3, 5, 5);
  sAttackPlan plan;
  plan.target = &target;
  plan.oddsColumn = 2;
  plan.cost = 3;
  cCountryAI& ai = world.AiOf(1);
  world.log.Clear();
  ai.PrintAttackCandidate(plan);
  EXPECT_EQ(world.log.lines(), (Lines{u"Cel=Land1 Kolumna=2:1 Miasto=NIE Koszt=3"}));
}

}  // namespace
}  // namespace tr
