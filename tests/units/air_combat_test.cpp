// Interceptions, air fights, the carrier's hit points and the commander checks.
#include <gtest/gtest.h>

#include "foundation/string_base.h"
#include "scenario/report_kinds.h"
#include "support/log_capture.h"
#include "units/air_fixture.h"

namespace tr {
namespace {

using test::AirWorld;
using test::Die;

class AirCombat : public AirWorld {
 protected:
  AirCombat() {
    bomber_ = &AddPlane(1, 5, 5, kTacticalBomber);
    bomber_->SetName(u"Bomber");
  }
  cJednostkaLotnicza* bomber_;
};

TEST_F(AirCombat, DeadFighterInterceptorLetsTheMissionGoOn) {
  test::LogCapture log;
  FillAirTables(10, 10);  // both sides fall to 0
  cJednostkaLotnicza& fighter = AddPlane(2, 7, 5, kFighter);
  fighter.SetName(u"Fighter");
  ScopedRandomDraws draws({Die(2)});
  EXPECT_FALSE(bomber_->TryIntercept(&fighter, &result_));
  EXPECT_EQ(game().airUnits.size(), 1u);  // the fighter is gone
  EXPECT_TRUE(result_.Flag(kFlagDefenderDestroyed));
  EXPECT_TRUE(result_.Flag(kFlagInterception));
  EXPECT_FALSE(result_.Flag(kFlagInterceptionStopped));
  EXPECT_EQ(result_.kind, kBattleInterception);
  EXPECT_TRUE(log.Contains(u"Fighter tries to intercept Bomber"));
  EXPECT_TRUE(log.Contains(u"Intercepcja nieudana, interceptor zdechl"));
  EXPECT_FLOAT_EQ(game().relations.GetLosses(1, 2), 10.0f);
  // Both countries find the duel among their air-to-air combats, the fallen
  // fighter's owner too.
  const auto& reports = game().reports.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports.front().type, kReportAirToAir);
  EXPECT_EQ(reports.front().country, 1);
  EXPECT_EQ(reports.back().type, kReportAirToAir);
  EXPECT_EQ(reports.back().country, 2);
  EXPECT_EQ(reports.back().text, reports.front().text);
  EXPECT_EQ(reports.front().text.rfind(GetText("report_interception") + u"\n\n", 0), 0u);
}

struct DuelCase {
  int lossA;  // the mission's loss
  int lossB;  // the interceptor's loss
  bool stopped;
  const char16_t* logLine;
};
class InterceptionOutcome : public AirCombat, public testing::WithParamInterface<DuelCase> {};

TEST_P(InterceptionOutcome, LossesDecide) {
  test::LogCapture log;
  const DuelCase c = GetParam();
  FillAirTables(c.lossA, c.lossB);
  cJednostkaLotnicza& fighter = AddPlane(2, 7, 5, kFighter);
  ScopedRandomDraws draws({Die(1)});
  EXPECT_EQ(bomber_->TryIntercept(&fighter, &result_), c.stopped);
  EXPECT_EQ(result_.Flag(kFlagInterceptionStopped), c.stopped);
  EXPECT_EQ(bomber_->strength, 10 - c.lossA);
  EXPECT_EQ(fighter.strength, 10 - c.lossB);
  EXPECT_FLOAT_EQ(result_.attackerLoss, static_cast<float>(c.lossA));
  EXPECT_TRUE(log.Contains(c.logLine));
}

INSTANTIATE_TEST_SUITE_P(
    Losses, InterceptionOutcome,
    testing::Values(DuelCase{3, 3, false, u"Intercepcja nieudana, interceptor straciĹ‚ wiÄ™cej niĹĽ ataker"},
                    DuelCase{4, 2, true, u"Intercepcja udana, interceptor straciĹ‚ mniej niĹĽ ataker"},
                    DuelCase{10, 2, true, u"Intercepcja udana, ataker zabity"}));

TEST_F(AirCombat, ColumnIsHeldWithinTheTable) {
  // Column = bomber level 1 + strength 10 - fighter level 1 - strength 1 = 9,
  // held to +4: only that column of table A costs anything, and the die
  // picks its row, the highest die included.
  for (int i = 0; i < 54; ++i) Set(consts_layout::kAirCombatTableA + i, 0);
  Set(consts_layout::kAirCombatTableA + 8, 3);   // die 1, column +4
  Set(consts_layout::kAirCombatTableA + 53, 4);  // die 6, column +4
  cJednostkaLotnicza& fighter = AddPlane(2, 7, 5, kFighter, 1);
  ScopedRandomDraws draws({Die(1), Die(6)});
  bomber_->TryIntercept(&fighter, &result_);
  EXPECT_EQ(bomber_->strength, 7);
  bomber_->TryIntercept(&fighter, &result_);  // column 1 + 7 - 1 - 1 = 6, held to +4
  EXPECT_EQ(bomber_->strength, 3);
}

TEST_F(AirCombat, CarrierInterceptorKeepsItsMinimumHitPoints) {
  Set(consts_layout::kMinimumHitPointsPercent, 25.0);
  FillAirTables(0, 9);
  cJednostkaMorska& carrier = AddCarrier(2, 10, 12);
  ScopedRandomDraws draws({Die(1)});
  EXPECT_FALSE(bomber_->TryIntercept(&carrier, &result_));
  EXPECT_EQ(carrier.hitPoints, 3);  // floor(0.25 x 12)
  EXPECT_FLOAT_EQ(result_.defenderLoss, 7.0f);  // what it really lost
}

TEST_F(AirCombat, HitPointsStayWithinTheirBounds) {
  cJednostkaMorska& carrier = AddCarrier(1, 5, 8);
  carrier.AddHitPoints(2.7f);
  EXPECT_EQ(carrier.hitPoints, 7);
  carrier.AddHitPoints(10.0f);
  EXPECT_EQ(carrier.hitPoints, 8);
  carrier.AddHitPoints(-20.0f);
  EXPECT_EQ(carrier.hitPoints, 0);
}

TEST_F(AirCombat, BombersCannotAttackAirUnitsButCarriersCan) {
  cJednostkaLotnicza& defender = AddPlane(2, 7, 5, kFighter);
  defender.OnBombarded(&result_, bomber_, nullptr);
  EXPECT_EQ(result_.kind, kBattleLand);
  EXPECT_EQ(defender.strength, 10);

  FillAirTables(4, 1);
  cJednostkaMorska& carrier = AddCarrier(1, 10, 10);
  ScopedRandomDraws draws({Die(1)});
  defender.OnBombarded(&result_, &carrier, nullptr);
  EXPECT_EQ(result_.kind, kBattleAirFight);
  EXPECT_EQ(defender.strength, 6);
  EXPECT_EQ(carrier.hitPoints, 9);
  EXPECT_FALSE(result_.Flag(kFlagAttackerDestroyed));

  // A carrier that loses its last hit points is the attacker destroyed.
  FillAirTables(2, 3);
  cJednostkaMorska& spent = AddCarrier(1, 3, 10);
  sCombatResult second;
  ScopedRandomDraws more({Die(2)});
  defender.OnBombarded(&second, &spent, nullptr);
  EXPECT_EQ(spent.hitPoints, 0);
  EXPECT_EQ(defender.strength, 4);
  EXPECT_TRUE(second.Flag(kFlagAttackerDestroyed));
}

TEST_F(AirCombat, AirFightFilesBothReports) {
  test::LogCapture log;
  FillAirTables(3, 2);
  cJednostkaLotnicza& fighter = AddPlane(1, 6, 5, kFighter);
  fighter.SetName(u"Hunter");
  cJednostkaLotnicza& target = AddPlane(2, 8, 5, kTacticalBomber);
  target.SetName(u"Prey");
  ScopedRandomDraws draws({Die(1)});
  target.AirFight(result_, fighter, nullptr);
  EXPECT_EQ(fighter.actionPoints, 3);
  EXPECT_EQ(fighter.strength, 8);
  EXPECT_EQ(target.strength, 7);
  EXPECT_TRUE(log.Contains(u"Hunter (strength:10, level:0, supply:0) airfight with Prey (strength:10, level:1, supply: 0)"));
  EXPECT_TRUE(log.Contains(u"Column = -1, D6=1, att losses=2, def losses=3"));
  const auto& reports = game().reports.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports.front().type, kReportAirToAir);
  EXPECT_EQ(reports.back().type, kReportAirToAirSuffered);
  EXPECT_EQ(reports.front().country, 1);
  EXPECT_EQ(reports.front().text,
            u"Air combat\n\nHunter attacked Prey (Country2).\n\nAttacker losses: 2.00\nDefender losses: 3.00");
  EXPECT_EQ(reports.back().country, 2);
  EXPECT_EQ(reports.back().text,
            u"Air combar\n\nPrey was attacked by Hunter (Country2).\n\nAttacker losses: 2.00\nDefender losses: 3.00");
}

TEST_F(AirCombat, ShotDownDefenderIsRemoved) {
  FillAirTables(20, 0);
  cJednostkaLotnicza& fighter = AddPlane(1, 6, 5, kFighter);
  cJednostkaLotnicza& target = AddPlane(2, 8, 5, kFighter);
  ScopedRandomDraws draws({Die(1)});
  target.AirFight(result_, fighter, nullptr);
  EXPECT_TRUE(result_.Flag(kFlagDefenderDestroyed));
  EXPECT_EQ(map().GetHex(8, 5)->unit, nullptr);
  EXPECT_EQ(game().airUnits.size(), 2u);  // the bomber and the fighter
}

class CommanderCheck : public AirCombat, public testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(CommanderCheck, CancelsTheLossBelowTheChance) {
  const auto [roll, passes] = GetParam();
  Set(consts_layout::kCommanderCheckFactor, 10);
  sCommander& commander = AddCommander(5, 1, 4, 0, kCategoryAir);  // chance 40
  Attach(commander, *bomber_);
  EXPECT_EQ(bomber_->GetCommanderCheckChance(), 0);  // its factor is not set
  ScopedRandomDraws draws({test::DrawFor(1, 100, roll)});
  EXPECT_EQ(bomber_->RollCommanderCheck(), passes);
}

INSTANTIATE_TEST_SUITE_P(Rolls, CommanderCheck,
                         testing::Values(std::tuple{39, true}, std::tuple{40, false}));

TEST_F(AirCombat, NoCommanderNoCheckAndNoDie) {
  ScopedRandomDraws draws({0});
  EXPECT_FALSE(bomber_->RollCommanderCheck());
  EXPECT_FALSE(bomber_->RollCommanderDefenceCheck());
  EXPECT_EQ(draws.remaining(), 1u);
}

}  // namespace
}  // namespace tr
