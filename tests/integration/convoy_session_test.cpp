// The shipped sample's supply convoy through a whole end of impulse played
// headless, as the program loads and runs it, and a save after it.
#include <gtest/gtest.h>

#include <filesystem>
#include <list>
#include <map>
#include <string>

#include "foundation/paths.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "support/temp_dir.h"
#include "turn/game_steps.h"
#include "turn/gra_endturn.h"
#include "world/city.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/headless_presentation.h"
#include "world/panstwo.h"

namespace tr {
namespace {

constexpr sLocalTime kClock{1939, 9, 1, 4, 45};

class ConvoySessionTest : public testing::Test {
 protected:
  ConvoySessionTest() : oldRoot_(GameRoot()), scoped_(screen_) {
    test::CopyBuiltScenario(dir_.path(), "NorthernTide");
    SetGameRoot(dir_.path());
    InstallGameSteps();
  }
  ~ConvoySessionTest() override {
    Drop();
    UninstallGameSteps();
    SetGameRoot(oldRoot_);
  }
  static void Drop() {
    delete gGame;
    gGame = nullptr;
  }
  static cGame& Load(const std::u16string& folderTemplate, int loaded) {
    Drop();
    SeedRandom(1939);
    return *LoadNewScenario(folderTemplate, loaded);
  }
  static void Save(cGame& game, const char16_t* name) {
    game.saveContext->clock = [] { return kClock; };
    ASSERT_TRUE(game.saveContext->SaveGame(name, true));
  }
  std::map<std::string, std::string> Files(const char* save) const {
    return test::ReadFolderBytes(dir_.path() / "data/save" / save);
  }

  test::TempDir dir_;
  std::filesystem::path oldRoot_;
  cHeadlessPresentation screen_;
  ScopedPresentation scoped_;
};

// The sample's supply convoy of Albrecia from Lundmouth to Brestoc: no unit of
// Albrecia draws on Brestoc's cities at the start, so it stays in port; once
// a division stands in Brestoc it sails, pays and gets its points back. The
// player of Albrecia sees the results at every impulse, also while they stay
// the same.
TEST_F(ConvoySessionTest, TheSampleSupplyConvoyRunsInTheEndOfImpulseAndSurvivesASave) {
  cGame& game = Load(u"data\\scenarios\\NorthernTide\\%s", 0);
  ASSERT_EQ(game.convoys.ConvoysOf(3).size(), 1u);
  cCountry& owner = *game.countries[2];
  int points = owner.seaTransportPoints;
  owner.humanControlled = 1;
  screen_.ClearEvents();
  ASSERT_GT(points, 0);
  ASSERT_EQ(owner.seaTransportUsedByConvoys, 0);
  game.reports.Clear();

  EndOfImpulse(game, 1);
  ASSERT_EQ(game.convoys.results[2].size(), 1u);
  const sConvoyResult idle = game.convoys.results[2].front();
  EXPECT_EQ(idle.departureName, u"Lundmouth");
  EXPECT_EQ(idle.destinationName, u"Brestoc");
  EXPECT_EQ(idle.result, u"convoy_not_executed");
  EXPECT_EQ(idle.details, u"convoy_not_executed:_there_aren't_any_units_that_could_use_supplies_provided_by_this_convoy!");
  EXPECT_EQ(owner.seaTransportPoints, points);
  std::list<sReport> reports;
  game.reports.Select(reports, 3, 24);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports.front().text, u"Convoy with 5 of supply from Lundmouth to Brestoc\n\nResult: convoy_not_executed\n\n"
                                  u"Details: " + idle.details);
  EXPECT_EQ(screen_.CountEvents(u"convoy-results 3"), 1);
  // The next impulse: the same results, filed and put before the player again.
  EndOfImpulse(game, 1);
  ASSERT_EQ(game.convoys.results[2].size(), 1u);
  EXPECT_EQ(game.convoys.results[2].front().result, idle.result);
  EXPECT_EQ(game.convoys.results[2].front().details, idle.details);
  EXPECT_EQ(screen_.CountEvents(u"convoy-results 3"), 2);
  points = owner.seaTransportPoints;

  // A division lands in Brestoc.
  cJednostka* division = nullptr;
  for (const auto& unit : game.landUnits) {
    if (unit->owner == 3 && unit->x >= 0) division = unit.get();
  }
  ASSERT_NE(division, nullptr);
  ASSERT_NE(division->PlaceOnHex(14, 17), nullptr);
  EndOfImpulse(game, 1);
  ASSERT_EQ(game.convoys.results[2].size(), 1u);
  const sConvoyResult sailed = game.convoys.results[2].front();
  EXPECT_NE(sailed.result, u"convoy_not_executed") << std::string(sailed.details.begin(), sailed.details.end());
  EXPECT_GE(sailed.pointsCarried, 1);
  EXPECT_EQ(sailed.details,
            u"supply_for_1_unitsconvoy_route:_\n>>> Lundmouth\n>>> Western Ocean\n>>> Brestoc\nconvoy_arrives,_carrying_"
            u"supplies_worth_10._Brestoc_and_all_cities_with_land_connection_recieve_supply_10_unless_their_own_supply_"
            u"value_is_higher._");
  EXPECT_EQ(owner.seaTransportPoints, points - sailed.pointsCarried);
  EXPECT_EQ(owner.seaTransportUsedByConvoys, sailed.pointsCarried - sailed.pointsLost);
  EXPECT_EQ(screen_.CountEvents(u"convoy-results 3"), 3);
  reports.clear();
  game.reports.Select(reports, 3, 24);
  EXPECT_EQ(reports.size(), 3u);

  Save(game, u"convoys");
  cGame& loaded = Load(u"data\\save\\convoys\\%s", 1);
  EXPECT_EQ(loaded.countries[2]->seaTransportUsedByConvoys, sailed.pointsCarried - sailed.pointsLost);
  Save(loaded, u"again");
  const std::map<std::string, std::string> first = Files("convoys");
  const std::map<std::string, std::string> second = Files("again");
  ASSERT_FALSE(first.empty());
  ASSERT_EQ(first.size(), second.size());
  for (const auto& [file, bytes] : first) {
    ASSERT_EQ(second.count(file), 1u) << file;
    EXPECT_TRUE(second.at(file) == bytes) << file;
  }

  // The transport at sea comes back at the next execution.
  const int before = loaded.countries[2]->seaTransportPoints;
  EndOfImpulse(loaded, 1);
  const sConvoyResult& next = loaded.convoys.results[2].front();
  EXPECT_EQ(loaded.countries[2]->seaTransportPoints,
            before + sailed.pointsCarried - sailed.pointsLost - next.pointsCarried);
}

}  // namespace
}  // namespace tr
