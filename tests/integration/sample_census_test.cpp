// Whole all-computer games of the shipped sample, counted from the console
// log: the war must go on across land, air and sea to the last impulse or
// until one alliance has won outright, with
// the computer taking every kind of action a player can take, and nothing may keep
// units out of it for good (aboard ships, refused deployments, with no target) nor
// leave a declared war unfought, at sea too once an alliance has lost its
// leader (made to fall by the last test, so no seed has to show it).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "ai/ai_phase.h"
#include "ai/autoplay.h"
#include "foundation/console_log.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "support/game_run_scope.h"
#include "support/temp_dir.h"
#include "turn/game_over.h"
#include "turn/game_steps.h"
#include "turn/turn_rules.h"
#include "world/city_rules.h"
#include "units/jednostka_ladowa.h"
#include "world/gra.h"
#include "world/map.h"
#include "world/panstwo.h"
#include "world/scenario_check.h"

namespace tr {
namespace {

constexpr char kScenario[] = "NorthernTide";
constexpr int kLastImpulse = 72;         // Info.ini: the game ends in December 1941
constexpr int kLateImpulse = 50;         // land battles after this one show the war goes on
constexpr double kDebtLimit = -50.0;     // production points a country may owe at the end
constexpr int kOneOffEvents[] = {1, 2, 3, 4};
constexpr int kRusmark = 5;
constexpr int kNordvik = 8;

// What one game did, by kind.
struct sCensus {
  int lateLandBattles = 0;
  int landings = 0;
  int seaBattles = 0;
  int convoyAttacks = 0;
  int airStrikes = 0;
  int airFights = 0;
  int strategicBombing = 0;
  int navalAirStrikes = 0;
  int diplomacy = 0;
  int shipsBought = 0;
  std::map<int, int> eventsFired;
  int landUnitsAtSea = 0;
  std::string firstAtSea;
  int raiderBattles = 0;      // a raider found by a fleet, or a raider's surprise attack on a ship
  int deploymentRefusals = 0;
  float rusmarkNordvikLosses = 0.0f;
  bool leaderLost = false;    // an alliance had nobody left to lead it
  int seaBattlesAfterLeaderLost = 0;
  bool twoFightOn = false;    // after that, the two other alliances were at war
};

bool Has(std::u16string_view line, std::u16string_view part) { return line.find(part) != std::u16string_view::npos; }
bool Starts(std::u16string_view line, std::u16string_view part) { return line.substr(0, part.size()) == part; }

// Counts each log line by what it tells; the diplomatic actions are the
// announcements the computer makes while it conducts its diplomacy.
class CensusTaker : public cAiPhaseObserver {
 public:
  CensusTaker(sCensus& census, const cAutoplay& play)
      : census_(census), play_(play), previous_(SetAiPhaseObserver(this)) {
    ConsoleLog().SetObserver([this](std::u16string_view line) { Count(line); });
  }
  ~CensusTaker() override {
    ConsoleLog().SetObserver(nullptr);
    SetAiPhaseObserver(previous_);
  }

  void PhaseBegun(std::string_view phase, float factor) override {
    if (previous_) previous_->PhaseBegun(phase, factor);
    if (phase == "ConductDiplomacy") diplomacyPhase_ = true;
  }
  void PhaseEnded(std::string_view phase) override {
    if (previous_) previous_->PhaseEnded(phase);
    if (phase == "ConductDiplomacy") diplomacyPhase_ = false;
  }

 private:
  void Count(std::u16string_view line) {
    sCensus& c = census_;
    const int impulse = play_.impulsesRun() + 1;
    if (Has(line, u" is attacked. Directions=") && impulse > kLateImpulse) ++c.lateLandBattles;
    if (Starts(line, u"[AI] ") && Has(line, u": Amphibious invasion - ") && Has(line, u" landed at (")) ++c.landings;
    if (Starts(line, u"Could not determine new leader")) c.leaderLost = true;
    if (Starts(line, u"Check succeeded, starting battle") || Starts(line, u"Check succeeded. Starting battle.") ||
        Starts(line, u"check_succeeded._starting_battle.")) {
      ++c.seaBattles;
      if (c.leaderLost) ++c.seaBattlesAfterLeaderLost;
    }
    if (Starts(line, u"Convoy attacked on ")) ++c.convoyAttacks;
    if (line == u"bu bu bu petla 15") ++c.airStrikes;
    if (Has(line, u") airfight with ") || Has(line, u" tries to intercept ")) ++c.airFights;
    if (Starts(line, u"[AI] ") && Has(line, u" bombs ")) ++c.strategicBombing;
    if (line == u"bu bu bu bu 10" || (Starts(line, u"[AI] ") && Has(line, u": carrier ") && Has(line, u" strikes targets"))) {
      ++c.navalAirStrikes;
    }
    if ((diplomacyPhase_ && Starts(line, u"[AI] ")) || (Starts(line, u"[AI]: ") && Has(line, u" DECLARED WAR ON "))) {
      ++c.diplomacy;
    }
    if (Starts(line, u"[AI]: ") && Has(line, u" - bought a ship of type ")) ++c.shipsBought;
    if (Has(line, u"fleets have met the enemy raider ") || Has(line, u"fleets_have_met_enemy_raider_")) {
      ++c.raiderBattles;
    }
    // A surprise attack that passed its check fights once it has chosen a target.
    const bool passed = Has(line, u"surprise attack: check passed") || Has(line, u"surprise_attack._check_passed");
    if (surprisePassed_ && (Starts(line, u"Target chosen: ") || Starts(line, u"target_chosen:_"))) ++c.raiderBattles;
    surprisePassed_ = passed;
    if (Has(line, u"cant find appropriate city")) ++c.deploymentRefusals;
    constexpr std::u16string_view kFired = u"Condition for event with ID=";
    if (Starts(line, kFired) && Has(line, u" is true. Firing...")) {
      ++c.eventsFired[std::stoi(Utf16ToUtf8(line.substr(kFired.size())))];
    }
  }

  sCensus& census_;
  const cAutoplay& play_;
  cAiPhaseObserver* previous_;
  bool diplomacyPhase_ = false;
  bool surprisePassed_ = false;
};

void CountLandUnitsAtSea(const cGame& game, int impulse, sCensus& census) {
  for (const auto& unit : game.landUnits) {
    if (!game.map->IsInside(unit->x, unit->y) || game.map->GetHex(unit->x, unit->y)->IsLand()) continue;
    if (census.landUnitsAtSea++ == 0) {
      census.firstAtSea = Utf16ToUtf8(unit->name) + " at (" + std::to_string(unit->x) + ", " +
                          std::to_string(unit->y) + ") after impulse " + std::to_string(impulse);
    }
  }
}

std::vector<int> Leaders(const cGame& game) {
  std::vector<int> leaders;
  for (int alliance = kAllies; alliance <= kComintern; ++alliance) {
    if (const cCountry* leader = GetAllianceLeader(game, alliance)) leaders.push_back(leader->id);
  }
  return leaders;
}

class SampleCensusTest : public testing::Test {
 protected:
  SampleCensusTest() { test::CopyBuiltScenario(dir_.path(), kScenario); }

  // Plays one whole game from the seed and checks what must hold in every game.
  sCensus Play(unsigned seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    sGameFolderArgs args;
    EXPECT_TRUE(ParseGameFolderArg("--root", dir_.path().string(), args));
    EXPECT_TRUE(ParseGameFolderArg("--scenario", kScenario, args));
    test::GameRunScope scope;
    SeedRandom(seed);
    scope.game.reset(LoadGameFolder(args));
    sCensus census;
    if (!scope.game) {
      ADD_FAILURE() << "the sample did not load";
      return census;
    }
    cGame& game = *scope.game;
    {
      cAutoplay play(game);
      CensusTaker taker(census, play);
      // The last impulse ends the game, so its play reports false.
      while (play.impulsesRun() < kLastImpulse + 1) {
        const bool goesOn = play.PlayImpulse();
        CountLandUnitsAtSea(game, play.impulsesRun(), census);
        if (census.leaderLost && !census.twoFightOn) {
          const std::vector<int> leaders = Leaders(game);
          census.twoFightOn = leaders.size() == 2 && game.relations.IsAtWar(leaders[0], leaders[1]);
        }
        if (!goesOn) break;
      }
      EXPECT_EQ(play.violation(), "");
      // Only a war won outright ends the game before its last impulse.
      if (play.impulsesRun() != kLastImpulse) {
        const std::size_t leadersLeft = Leaders(game).size();
        EXPECT_LE(leadersLeft, 1u) << "the game ended after impulse " << play.impulsesRun();
      } else {
        EXPECT_EQ(game.date.year, 1941);
        EXPECT_EQ(game.date.month, 12);
      }
      // An invasion that cannot land is given up before its units have spent ten impulses aboard.
      EXPECT_EQ(play.stays().longAboard, 0);
      std::string aimless;
      for (const sAutoplayStays::sStay& stay : play.stays().longStays) {
        if (stay.needed >= sAutoplayStays::kAimlessStay) aimless += " " + stay.name + ";";
      }
      EXPECT_EQ(aimless, "") << "standing twenty impulses with no target while a front could use them";
    }
    EXPECT_TRUE(game.gameOver);
    EXPECT_EQ(census.landUnitsAtSea, 0) << "first: " << census.firstAtSea;
    for (const auto& country : game.countries) {
      EXPECT_GE(country->productionPoints, kDebtLimit) << Utf16ToUtf8(country->name);
    }
    for (int id : kOneOffEvents) EXPECT_EQ(census.eventsFired[id], 1) << "event " << id;
    EXPECT_EQ(census.deploymentRefusals, 0);
    // The war event 4 declares is fought.
    census.rusmarkNordvikLosses =
        game.relations.GetLosses(kRusmark, kNordvik) + game.relations.GetLosses(kNordvik, kRusmark);
    EXPECT_GT(census.rusmarkNordvikLosses, 0.0f) << "Rusmark and Nordvik never fought";
    // An alliance without a leader keeps no one else from fighting at sea.
    if (census.twoFightOn) {
      EXPECT_GT(census.seaBattlesAfterLeaderLost, 0) << "no sea battle after a leader was lost";
    }
    return census;
  }

  test::TempDir dir_;
};

TEST_F(SampleCensusTest, ThreeWholeGamesFightOnLandInTheAirAndAtSeaToTheEnd) {
  constexpr std::array<unsigned, 3> kSeeds = {1, 2, 3};
  std::array<sCensus, kSeeds.size()> games;
  for (std::size_t i = 0; i < kSeeds.size(); ++i) games[i] = Play(kSeeds[i]);

  // Each kind of action in at least two of the three games.
  const std::pair<const char*, int sCensus::*> kinds[] = {
      {"land battles after impulse 50", &sCensus::lateLandBattles},
      {"amphibious landings", &sCensus::landings},
      {"sea battles", &sCensus::seaBattles},
      {"convoy attacks", &sCensus::convoyAttacks},
      {"computer air strikes on land units", &sCensus::airStrikes},
      {"air fights or interceptions", &sCensus::airFights},
      {"strategic bombing raids", &sCensus::strategicBombing},
      {"carrier or naval air strikes", &sCensus::navalAirStrikes},
      {"computer war declarations or diplomatic actions", &sCensus::diplomacy},
      {"ships bought", &sCensus::shipsBought},
      {"raider battles or raiders' surprise attacks", &sCensus::raiderBattles}};
  std::ostringstream table;
  for (const auto& [kind, count] : kinds) {
    int gamesWith = 0;
    std::ostringstream counts;
    for (const sCensus& census : games) {
      gamesWith += census.*count > 0;
      counts << ' ' << census.*count;
    }
    EXPECT_GE(gamesWith, 2) << kind << " per game:" << counts.str();
    table << kind << ':' << counts.str() << "; ";
  }
  RecordProperty("census", table.str());
}

// The allies hold none of their victory cities when the game starts, so both
// their countries surrender and their leader falls with no one to succeed
// him; the axis and the comintern are at war. The two fight on at sea.
TEST_F(SampleCensusTest, AnAllianceWithoutALeaderKeepsNoOneElseFromFightingAtSea) {
  constexpr int kKaltheim = 1, kLombria = 2, kAlbrecia = 3, kGallande = 4, kBaltavia = 6;
  sGameFolderArgs args;
  ASSERT_TRUE(ParseGameFolderArg("--root", dir_.path().string(), args));
  ASSERT_TRUE(ParseGameFolderArg("--scenario", kScenario, args));
  test::GameRunScope scope;
  SeedRandom(1);
  scope.game.reset(LoadGameFolder(args));
  ASSERT_NE(scope.game, nullptr);
  cGame& game = *scope.game;
  sCensus census;
  cAutoplay play(game);
  CensusTaker taker(census, play);

  for (const auto& city : game.cities) {
    const int owner = GetOwnerId(*city);
    if (owner == kAlbrecia || owner == kGallande) game.map->GetHex(city->x, city->y)->SetController(kKaltheim);
  }
  for (const int axis : {kKaltheim, kLombria}) {
    for (const int comintern : {kRusmark, kBaltavia}) {
      game.relations.SetWar(axis, comintern, true);
      game.relations.SetWar(comintern, axis, true);
    }
  }
  CheckSurrenders(game);
  ASSERT_TRUE(census.leaderLost);
  ASSERT_EQ(Leaders(game), (std::vector<int>{kKaltheim, kRusmark}));

  while (play.impulsesRun() < kLastImpulse + 1 && census.seaBattlesAfterLeaderLost == 0) {
    if (!play.PlayImpulse()) break;
  }
  EXPECT_EQ(play.violation(), "");
  EXPECT_GT(census.seaBattlesAfterLeaderLost, 0) << "no sea battle in " << play.impulsesRun() << " impulses";
}

}  // namespace
}  // namespace tr
