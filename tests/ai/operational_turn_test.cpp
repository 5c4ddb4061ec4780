// A whole war turn of a country with a threatened front, played the way the
// worker plays it: the line of defence is drawn, every unit is given its
// order and the orders are carried out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ai/ai_order.h"
#include "plan_world.h"
#include "turn/game_steps.h"
#include "turn/theads.h"
#include "turn/turn_steps.h"

namespace tr {
namespace {

TEST(OperationalTurnTest, ThreatenedWarTurnOrdersEveryUnit) {
  test::PlanWorld w;
  cGame& game = w.world.game();
  for (int y = 0; y < 12; ++y) {
    for (int x = 20; x < 40; ++x) {
      w.world.hex(x, y).controller = 2;
      w.world.hex(x, y).owner = 2;
    }
  }
  cCity& home = w.City(u"Home", 6, 5, 1, kCitySupply);
  cCity& line = w.City(u"Line", 14, 5, 1);
  cCity& enemy = w.City(u"Enemy", 26, 5, 2, kCitySupply, 2);
  w.BuildDiagram();
  w.Link(home, line);
  w.Link(line, enemy);
  w.Finish();
  game.playerControl.worldTopography.ComputeWorldTopography(*game.map, game.cities);
  std::vector<cJednostkaLadowa*> own{&w.Unit(line.x, line.y, line, kInfantryCorps),
                                     &w.Unit(12, 3, line), &w.Unit(13, 8, line), &w.Unit(5, 8, home),
                                     &w.Unit(home.x, home.y, home, kArmouredCorps), &w.Unit(3, 2, home)};
  for (int y = 2; y <= 8; y += 2) w.world.AddLand(2, 24, y, 100, kArmouredCorps);
  w.world.country(1).strategicMovementPoints = 0;

  InstallGameSteps();
  game.playerControl.currentCountry = &w.world.country(1);
  const bool played = PlayCurrentCountryTurn(game);
  UninstallGameSteps();

  ASSERT_TRUE(played);
  EXPECT_TRUE(w.world.log.Contains(u"[AI]: Country1 - Calculating line of defence..."));
  // The planning's own progress lines; the air strikes' "bu bu bu ..." follow them.
  std::vector<std::u16string> planning = test::LinesStartingWith(w.world.log, u"bu bu ");
  std::erase_if(planning, [](const std::u16string& line) { return line.starts_with(u"bu bu bu"); });
  EXPECT_EQ(planning,
            (std::vector<std::u16string>{u"bu bu 1", u"bu bu 2", u"bu bu 3", u"bu bu 4", u"bu bu 5", u"bu bu 6",
                                         u"bu bu 7"}));
  EXPECT_TRUE(w.world.log.Contains(u"[AI]: Country1 - Executing operational moves..."));
  EXPECT_FALSE(w.world.log.Contains(u"Error! Sanity check failed"));
  for (const cJednostkaLadowa* unit : own) {
    const bool named =
        w.world.log.Contains(u"ERROR: Jednostka " + unit->name + u" nieprzyporządkowana do żadnego przypadku!");
    EXPECT_TRUE(unit->aiOrder != kAiOrderNone || named) << unit->id;
    EXPECT_EQ(game.map->GetHex(unit->x, unit->y)->unit, unit) << unit->id;
  }
  EXPECT_FALSE(w.Ai().lineOfDefence.empty());
}

}  // namespace
}  // namespace tr
