// An air strike of the shipped sample on an enemy port with a fleet in it,
// played through the hex's air bombardment as the map's order does: the
// port, the ships and the reports come out consistent and survive a save.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "ai/game_invariants.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "integration/built_sample_test.h"
#include "support/temp_dir.h"
#include "turn/game_steps.h"
#include "units/combat_result.h"
#include "units/jednostka_lotnicza.h"
#include "world/game_start.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr sLocalTime kClock{2011, 3, 4, 9, 30};
// Kaltheim's tactical bomber strikes Albrecia's home port, where the Home
// Fleet lies.
constexpr int kBomberId = 2;
constexpr int kHomePort = 5;

std::string Describe(const cGame& game) {
  std::ostringstream out;
  for (const sWezelGrafuMorz& node : game.seaGraph.nodes) out << "node " << node.id << " size " << node.portSize << '\n';
  for (const auto& ship : game.navalUnits) {
    out << "ship " << ship->id << " fleet " << (ship->fleet ? ship->fleet->id : -1) << " hp " << ship->hitPoints
        << '\n';
  }
  for (const sReport& report : game.reports.Reports()) {
    out << "report " << report.type << ' ' << report.country << ' ' << Utf16ToUtf8(report.text) << '\n';
  }
  return out.str();
}

class PortStrikeTest : public test::BuiltSampleTest {};

TEST_F(PortStrikeTest, BombedPortItsShipsAndReportsAreRightAndSurviveASave) {
  cGame& game = Load(u"data\\scenarios\\NorthernTide\\%s", 0);
  cJednostkaLotnicza* bomber = nullptr;
  for (const auto& unit : game.airUnits) {
    if (unit->id == kBomberId) bomber = unit.get();
  }
  ASSERT_NE(bomber, nullptr);
  ASSERT_EQ(bomber->owner, 1);
  sWezelGrafuMorz& port = game.seaGraph.GetNode(kHomePort - 1);
  ASSERT_TRUE(port.IsPort());
  sHex& hex = *game.map->GetHex(port.x, port.y);
  ASSERT_EQ(hex.seaNodeMarker, kHomePort);
  ASSERT_TRUE(game.relations.IsAtWar(1, hex.controller));
  // No fighter of the port's side takes off: the strike reaches the port.
  for (const auto& unit : game.airUnits) {
    if (unit->owner == hex.controller) unit->strength = 1;
  }
  // Every ship there is hit and the weakest goes down.
  game.constants.SetSlot(sScenarioConstants::SlotOf(178, 1), 1000);
  game.constants.SetSlot(sScenarioConstants::SlotOf(178, 2), 1000);
  std::size_t shipsThere = 0;
  int owner = 0;
  for (const auto& fleet : game.fleets) {
    if (fleet->seaNodeId != kHomePort) continue;
    owner = fleet->countryId;
    shipsThere += fleet->ships.size();
    fleet->ships.front()->hitPoints = 1;
  }
  ASSERT_GE(shipsThere, 2u);
  const std::size_t shipsBefore = game.navalUnits.size();
  const int sizeBefore = port.portSize;
  const std::size_t reportsBefore = game.reports.Reports().size();

  sCombatResult result;
  SeedRandom(7);
  hex.BombardFromAir(result, *bomber);
  ASSERT_FALSE(result.Flag(kFlagAttackerDestroyed)) << "the strike must reach the port";

  EXPECT_TRUE(result.Flag(kFlagNavalUnitsHit));
  EXPECT_TRUE(result.Flag(kFlagDefenderDestroyed));
  EXPECT_EQ(game.navalUnits.size(), shipsBefore - 1);
  EXPECT_TRUE(std::none_of(game.navalUnits.begin(), game.navalUnits.end(),
                           [](const auto& ship) { return ship->hitPoints <= 0; }));
  EXPECT_GE(port.portSize, std::max(1, sizeBefore - 1));
  EXPECT_LE(port.portSize, sizeBefore);
  EXPECT_EQ(result.Flag(kFlagPortAffected), port.portSize < sizeBefore);
  std::list<sReport> attackerReports;
  std::list<sReport> ownerReports;
  game.reports.Select(attackerReports, 1, 16);
  game.reports.Select(ownerReports, owner, 16);
  ASSERT_EQ(attackerReports.size(), 1u);
  ASSERT_EQ(ownerReports.size(), 1u);
  EXPECT_EQ(attackerReports.front().text, ownerReports.front().text);
  EXPECT_NE(attackerReports.front().text.find(u"destroyed!"), std::u16string::npos);
  EXPECT_GE(game.reports.Reports().size(), reportsBefore + 2);
  EXPECT_EQ(FindInvariantViolation(game), "");

  const std::string played = Describe(game);
  game.saveContext->clock = [] { return kClock; };
  ASSERT_TRUE(game.saveContext->SaveGame(u"struck", true));
  cGame& loaded = Load(u"data\\save\\struck\\%s", 1);
  EXPECT_EQ(Describe(loaded), played);
  EXPECT_EQ(FindInvariantViolation(loaded), "");
}

}  // namespace
}  // namespace tr
