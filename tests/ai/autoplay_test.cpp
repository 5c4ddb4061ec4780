// The headless autoplay runner on the shipped sample scenario.
#include <gtest/gtest.h>
#include <time.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iomanip>
#include <limits>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "ai/ai_order.h"
#include "ai/autoplay.h"
#include "ai/autoplay_resume.h"
#include "ai/country_ai.h"
#include "ai/game_invariants.h"
#include "ai_fixture.h"
#include "foundation/fatal.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "scenario/reports.h"
#include "support/english_texts.h"
#include "support/game_run_scope.h"
#include "support/temp_dir.h"
#include "world/gra.h"
#include "world/hex_geometry.h"
#include "world/map.h"
#include "world/scenario_check.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

constexpr char kScenario[] = "NorthernTide";

using FolderBytes = std::map<std::string, std::string>;

// The summary without its timing lines.
std::string WithoutTiming(const std::string& summary) {
  std::istringstream in(summary);
  std::string kept;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("time_", 0) != 0) kept += line + '\n';
  }
  return kept;
}

class AutoplayTest : public testing::Test {
 protected:
  // A private copy of the built sample, so saves never touch the build folder.
  AutoplayTest() {
    test::CopyBuiltScenario(dir_.path(), kScenario);
  }

  // The private sample loaded into scope, its draws seeded first.
  void LoadSample(test::GameRunScope& scope, std::uint32_t seed) {
    sGameFolderArgs args;
    ASSERT_TRUE(ParseGameFolderArg("--root", dir_.path().string(), args));
    ASSERT_TRUE(ParseGameFolderArg("--scenario", kScenario, args));
    SeedRandom(seed);
    scope.game.reset(LoadGameFolder(args));
    ASSERT_NE(scope.game, nullptr);
  }

  int Run(std::vector<std::string> extra, std::string& summary) {
    std::vector<std::string> args{"--root", dir_.path().string(), "--scenario", kScenario};
    args.insert(args.end(), extra.begin(), extra.end());
    std::ostringstream out;
    std::ostringstream errors;
    const int code = RunAutoplay(args, out, errors);
    summary = out.str();
    errors_ = errors.str();
    return code;
  }

  FolderBytes Files(const std::string& save) const { return test::ReadFolderBytes(dir_.path() / "data/save" / save); }

  // The private sample's game lasts this many turns instead of 72.
  void SetScenarioTurns(const std::string& turns) {
    const fs::path info = fs::path("data/scenarios") / kScenario / "Info.ini";
    std::string ini = test::ReadFileBytes(dir_.path() / info);
    const std::size_t at = ini.find("Turns=72");
    ASSERT_NE(at, std::string::npos);
    dir_.Write(info.string(), ini.replace(at, 8, "Turns=" + turns));
  }

  test::TempDir dir_;
  std::string errors_;
};

TEST_F(AutoplayTest, SameSeedPlaysTheSameGameTwice) {
  std::string first;
  std::string second;
  test::LogCapture log;
  const std::vector<std::string> common{"--impulses", "50", "--seed", "7", "--clock", "2011-03-04 09:30"};
  std::vector<std::string> one = common;
  one.insert(one.end(), {"--save-as", "one"});
  std::vector<std::string> two = common;
  two.insert(two.end(), {"--save-as", "two"});
  ASSERT_EQ(Run(one, first), 0) << errors_ << first;
  ASSERT_EQ(Run(two, second), 0) << errors_ << second;

  EXPECT_NE(first.find("impulses=50\n"), std::string::npos) << first;
  EXPECT_NE(first.find("time_phase_ms=EndOfImpulse:"), std::string::npos) << first;
  // Every phase of a computer turn at war was entered in the sample (not that
  // each acted: several have nothing to do in this game), and none is a
  // placeholder any more.
  for (const char* phase :
       {"PlayTurn", "ResetCityAttackFlags", "ConductDiplomacy", "BuildUnitLists", "DeclareWars",
        "ComputeFrontStrengths", "UpdateFrontList", "EvaluateFronts", "AssignCommanders", "ReplaceAirLosses",
        "ReplaceLandLosses", "RepairShips", "SavePoorlyDefendedFronts", "MoveUnitsStrategically", "RebaseAirUnits",
        "ScenarioGarrisonRule", "MakePurchases", "DeployLandUnits", "DeployAirUnits", "DeployNavalUnits",
        "AirFights", "PlanMultiDirectionAttacks", "PlanOneDirectionAttacks", "PlanOperations",
        "BuildUpInvasionForces", "AirStrikes", "PlanAirOperations", "ChooseSeaInvasionTarget",
        "ExecuteOperationalMoves", "TransportUnitsToFronts", "StrategicBombing", "NavalMoves",
        "HasPendingOperationalMoves", "NavalAndConvoyStep"}) {
    EXPECT_NE(first.find(std::string("time_phase_ms=") + phase + ":"), std::string::npos) << phase;
  }
  EXPECT_FALSE(log.ContainsText(u"not part of this build yet"));
  EXPECT_NE(first.find("country=1 "), std::string::npos) << first;
  const std::string kept = WithoutTiming(first);
  EXPECT_EQ(kept.substr(0, kept.find("saved_as=")),
            WithoutTiming(second).substr(0, WithoutTiming(second).find("saved_as=")));

  const FolderBytes saveOne = Files("one");
  const FolderBytes saveTwo = Files("two");
  ASSERT_FALSE(saveOne.empty());
  ASSERT_EQ(saveOne.size(), saveTwo.size());
  for (const auto& [file, bytes] : saveOne) {
    ASSERT_EQ(saveTwo.count(file), 1u) << file;
    EXPECT_TRUE(saveTwo.at(file) == bytes) << file << " differs";
  }
}

// The seed decides the game: another seed plays another one.
TEST_F(AutoplayTest, AnotherSeedPlaysAnotherGame) {
  std::string seven;
  std::string eight;
  ASSERT_EQ(Run({"--impulses", "10", "--seed", "7"}, seven), 0) << errors_;
  ASSERT_EQ(Run({"--impulses", "10", "--seed", "8"}, eight), 0) << errors_;
  EXPECT_NE(WithoutTiming(seven), WithoutTiming(eight));
}

// A game saved by the runner loads and plays two more impulses without
// breaking an invariant.
TEST_F(AutoplayTest, SavedGameLoadsAndPlaysTwoMoreImpulsesCleanly) {
  std::string summary;
  ASSERT_EQ(Run({"--impulses", "2", "--seed", "3", "--save-as", "mid"}, summary), 0) << errors_;
  // The runner reads the string base as the game does: its reports hold texts, not keys.
  cReportList reports;
  ASSERT_EQ(reports.Deserialize(Files("mid").at("reports.dat"), 255), u"");
  ASSERT_FALSE(reports.Reports().empty());
  const std::set<std::string> keys = test::EnglishTextKeys();
  for (const sReport& report : reports.Reports()) {
    const std::string text = Utf16ToUtf8(report.text);
    for (const std::string& key : keys) {
      if (key.rfind("report_", 0) != 0) continue;
      EXPECT_EQ(text.find(key), std::string::npos) << text;
    }
  }
  std::vector<std::string> args{"--root", dir_.path().string(), "--save", "mid", "--impulses", "2", "--seed", "3"};
  std::ostringstream out;
  std::ostringstream errors;
  ASSERT_EQ(RunAutoplay(args, out, errors), 0) << errors.str();
  EXPECT_NE(out.str().find("impulses=2\n"), std::string::npos) << out.str();
  EXPECT_EQ(out.str().find("violation="), std::string::npos) << out.str();
}

// A saved game, loaded with the random state carried over, plays on exactly
// as the game that was never saved: the same log lines from the save point,
// the same end and the same final save. Seed 501 saves a harbour with a month
// left, which must live until the month changes after impulse 32; seed 505's
// fleets made after impulse 10 take the numbers of the unbroken game, though
// higher-numbered fleets were sunk before the save; seed 506 saves at 50 with
// combat values worked out before the month changed.
TEST_F(AutoplayTest, SavedGamePlaysOnAsTheUnbrokenGame) {
  for (const auto& [seed, savePoint, end] :
       {std::tuple{"501", "30", "60"}, std::tuple{"505", "10", "60"}, std::tuple{"506", "50", "60"}}) {
    std::string summary;
    Run({"--impulses", end, "--seed", seed, "--save-as", "point", "--resume-check", savePoint}, summary);
    EXPECT_TRUE(summary.starts_with("resume_check=match\n")) << "seed " << seed << ":\n" << summary << errors_;
  }
}

// A game saved between two countries' turns, as a hand-over saves it, plays
// on as the unbroken game. Seed 611 saves after the second turn of the first
// impulse, whose month's harbour step the new game ran as it started; seed
// 612 after the fourth turn of impulse 4, with a unit that began its turn
// without points having taken its one step (its entrenchment at the end of
// the impulse decides an attack's odds); seed 623 after the third turn of
// impulse 26, where a country at peace deploys by its fronts of an earlier war.
TEST_F(AutoplayTest, GameSavedBetweenTwoCountriesTurnsPlaysOnAsTheUnbrokenGame) {
  for (const auto& [seed, impulse, turns, end] : {std::tuple{"611", "0", "2", "2"}, std::tuple{"612", "3", "4", "5"},
                                                  std::tuple{"623", "25", "3", "27"}}) {
    std::string summary;
    Run({"--impulses", end, "--seed", seed, "--save-as", "point", "--resume-check", impulse, "--resume-turn", turns},
        summary);
    EXPECT_TRUE(summary.starts_with("resume_check=match\n")) << "seed " << seed << ":\n" << summary << errors_;
  }
}

// The value of a key=value line of a summary; empty when there is none.
std::string SummaryValue(const std::string& summary, const std::string& key) {
  const std::size_t at = summary.find('\n' + key + '=');
  if (at == std::string::npos) return {};
  const std::size_t from = at + key.size() + 2;
  return summary.substr(from, summary.find('\n', from) - from);
}

// A play-by-e-mail game handed over after every country's turn: each turn is
// played in a run of its own that loads the save of the run before and goes
// on with its random state. At every hand-over the loaded game, saved again
// at once, is the save it came from, and the save after the turn is the one
// the game played in one go made after the same turn: a field the load
// forgets shows where it is forgotten, not only if it lasts to the end. The
// game's time runs out with its second impulse, so the turn that ends it is
// compared too.
TEST_F(AutoplayTest, GameLoadedAfterEveryCountrysTurnIsTheGamePlayedInOneGoAtEveryHandOver) {
  ASSERT_NO_FATAL_FAILURE(SetScenarioTurns("2"));
  const std::string clock = "2011-03-04 09:30";
  std::string summary;
  ASSERT_EQ(Run({"--impulses", "3", "--seed", "612", "--clock", clock, "--save-each-turn-as", "one_go", "--save-as",
                 "one_go"},
                summary),
            0)
      << errors_;
  ASSERT_EQ(SummaryValue(summary, "game_over"), "1") << summary;
  ASSERT_EQ(SummaryValue("\n" + summary, "impulses"), "2") << summary;
  const auto expectSame = [this](const std::string& expected, const std::string& actual, int run) {
    const FolderBytes want = Files(expected);
    const FolderBytes got = Files(actual);
    ASSERT_FALSE(want.empty()) << expected;
    EXPECT_EQ(want.size(), got.size()) << actual << " at run " << run;
    for (const auto& [name, bytes] : want) {
      EXPECT_TRUE(got.count(name) && got.at(name) == bytes) << actual << '/' << name << " at run " << run;
    }
  };
  std::vector<std::string> from{"--scenario", kScenario, "--seed", "612"};
  int impulses = 0;
  int runs = 0;
  std::string current;
  bool over = false;
  while (!over && runs < 40 && !HasFailure()) {
    std::vector<std::string> args{"--root", dir_.path().string(), "--turns", "1", "--clock", clock, "--save-as", "handed"};
    args.insert(args.end(), from.begin(), from.end());
    if (runs > 0) args.insert(args.end(), {"--save-loaded-as", "loaded"});
    std::ostringstream out;
    std::ostringstream errors;
    ASSERT_EQ(RunAutoplay(args, out, errors), 0) << errors.str();
    ++runs;
    // No country of this game turns dummy: the load chooses again the country current in the save.
    if (runs > 1) {
      EXPECT_EQ(SummaryValue(out.str(), "loaded_current_country"), current) << "run " << runs;
    }
    current = SummaryValue(out.str(), "current_country");
    if (runs > 1) expectSame("previous", "loaded", runs);
    expectSame("one_go-" + std::to_string(runs), "handed", runs);
    impulses += std::stoi(SummaryValue("\n" + out.str(), "impulses"));
    over = SummaryValue(out.str(), "game_over") == "1";
    fs::remove_all(dir_.path() / "data/save/previous");
    fs::rename(dir_.path() / "data/save/handed", dir_.path() / "data/save/previous");
    from = {"--save", "previous", "--random-state", SummaryValue(out.str(), "random_state")};
  }
  EXPECT_EQ(impulses, 2);
  EXPECT_GT(runs, 2 * 2) << "more than two countries' turns in an impulse";
  EXPECT_FALSE(fs::exists(dir_.path() / "data/save" / ("one_go-" + std::to_string(runs + 1))));
  expectSame("one_go", "previous", runs);
}

// The cities Kaltheim (1) and Lombria (2) hold together, from the summary.
int CitiesOfFirstTwo(const std::string& summary) {
  int total = 0;
  for (const char* country : {"country=1 ", "country=2 "}) {
    const std::size_t line = summary.find(country);
    if (line == std::string::npos) return -1;
    const std::size_t at = summary.find(" cities=", line);
    total += std::stoi(summary.substr(at + 8));
  }
  return total;
}

// With Albrecia and Gallande passing their turns the other camp takes cities
// (no event of the sample moves any).
TEST_F(AutoplayTest, CountriesGainCitiesAgainstPassiveOpponents) {
  std::string start;
  ASSERT_EQ(Run({"--impulses", "0", "--seed", "7"}, start), 0) << errors_;
  std::string end;
  ASSERT_EQ(Run({"--impulses", "20", "--seed", "7", "--passive", "3", "--passive", "4"}, end), 0) << errors_ << end;
  EXPECT_NE(end.find("impulses=20\n"), std::string::npos) << end;
  EXPECT_GT(CitiesOfFirstTwo(end), CitiesOfFirstTwo(start)) << start << end;
}

// A unit stepping back and forth between two hexes is counted when its run
// reaches five impulses: the hexes of impulses 3 to 5 are each the one of two
// impulses before; at ten impulses it is counted again and named.
TEST_F(AutoplayTest, UnitSteppingBackAndForthIsCountedAtItsFifthImpulse) {
  test::GameRunScope scope;
  ASSERT_NO_FATAL_FAILURE(LoadSample(scope, 7));
  cGame& game = *scope.game;
  cMap& map = *game.map;
  cAutoplay play(game);
  const auto cpuMilliseconds = [] {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
  };
  const double cpuStart = cpuMilliseconds();
  std::set<int> everyone;
  for (const auto& country : game.countries) everyone.insert(country->id);
  play.SetPassiveCountries(everyone);
  // A unit with a free land hex of its own country beside it, whose number
  // is not its owner's.
  cJednostkaLadowa* unit = nullptr;
  sPoint a{}, b{};
  for (const auto& candidate : game.landUnits) {
    for (int d = 0; d < kDirectionCount && !unit && candidate->id != candidate->owner; ++d) {
      const sPoint p = NeighbourPoint(candidate->x, candidate->y, d);
      if (!map.IsInside(p.x, p.y)) continue;
      const sHex& hex = *map.GetHex(p.x, p.y);
      if (!hex.IsLand() || hex.unit || hex.city || hex.controller != candidate->owner) continue;
      unit = candidate.get();
      a = {unit->x, unit->y};
      b = p;
    }
    if (unit) break;
  }
  ASSERT_NE(unit, nullptr);
  const auto moveTo = [&](sPoint p) {
    map.GetHex(unit->x, unit->y)->unit = nullptr;
    unit->x = p.x;
    unit->y = p.y;
    map.GetHex(p.x, p.y)->unit = unit;
  };
  for (int impulse = 1; impulse <= 5; ++impulse) {
    moveTo(impulse % 2 == 1 ? a : b);
    ASSERT_TRUE(play.PlayImpulse()) << play.violation();
    EXPECT_EQ(play.stays().shortAlternations, impulse == 5 ? 1 : 0) << impulse;
  }
  EXPECT_EQ(play.stays().longAlternations, 0);
  // The summary counts the runs of five and of ten impulses each in its own line.
  std::ostringstream summary;
  play.PrintSummary(summary);
  EXPECT_EQ(SummaryValue(summary.str(), "alternating_5"), "1") << summary.str();
  EXPECT_EQ(SummaryValue(summary.str(), "alternating_10"), "0") << summary.str();
  // Five impulses more make a run of ten, noted with the unit, its owner and
  // order, the impulses of the run and its two hexes.
  unit->aiOrder = kAiOrderStay;
  ASSERT_EQ(std::set<int>({unit->id, unit->owner, unit->aiOrder}).size(), 3u);
  for (int impulse = 6; impulse <= 10; ++impulse) {
    moveTo(impulse % 2 == 1 ? a : b);
    ASSERT_TRUE(play.PlayImpulse()) << play.violation();
  }
  EXPECT_EQ(play.stays().longAlternations, 1);
  summary.str("");
  play.PrintSummary(summary);
  EXPECT_EQ(SummaryValue(summary.str(), "alternating_10"), "1") << summary.str();
  std::ostringstream note;
  note << "\nnote=alternating unit=" << unit->id << " \"" << Utf16ToUtf8(unit->name) << "\" owner=" << unit->owner
       << " order=" << kAiOrderStay << " impulses=1-10 (" << a.x << ',' << a.y << ")/(" << b.x << ',' << b.y << ")\n";
  EXPECT_NE(summary.str().find(note.str()), std::string::npos) << note.str() << summary.str();
  // The countries' turns took part of the CPU time the impulses took, not more.
  EXPECT_LE(play.timing().phaseMs.at("CountryTurn"), cpuMilliseconds() - cpuStart + 0.001);
}

// A unit of a country at war that stands on one hex for ten impulses is
// counted whatever its orders, with each of them; a unit that moved starts
// again, and a country at peace is left out.
TEST_F(AutoplayTest, UnitStandingTenImpulsesAtWarIsCountedWithItsOrders) {
  test::GameRunScope scope;
  ASSERT_NO_FATAL_FAILURE(LoadSample(scope, 11));
  cGame& game = *scope.game;
  cMap& map = *game.map;
  cAutoplay play(game);
  std::set<int> everyone;
  for (const auto& country : game.countries) everyone.insert(country->id);
  play.SetPassiveCountries(everyone);
  cJednostkaLadowa* standing = nullptr;
  cJednostkaLadowa* moving = nullptr;
  cJednostkaLadowa* atPeace = nullptr;
  sPoint free{};
  for (const auto& unit : game.landUnits) {
    const cCountry* owner = game.GetCountry(unit->owner);
    if (!owner) continue;
    if (!owner->IsAtWarWithAnyone()) {
      if (!atPeace) atPeace = unit.get();
      continue;
    }
    for (int d = 0; d < kDirectionCount && standing && !moving; ++d) {
      const sPoint p = NeighbourPoint(unit->x, unit->y, d);
      if (!map.IsInside(p.x, p.y)) continue;
      const sHex& hex = *map.GetHex(p.x, p.y);
      if (!hex.IsLand() || hex.unit || hex.city || hex.controller != unit->owner) continue;
      moving = unit.get();
      free = p;
    }
    // Its number and owner differ, and so do its column and row: the note
    // must show each from its own field.
    if (!standing && unit->id != unit->owner && unit->x != unit->y) standing = unit.get();
  }
  ASSERT_TRUE(standing && moving && atPeace);
  // Another unit of its country goes aboard a ship at impulse 2, when the
  // ships that carried units from the start are sunk: the longest stay aboard
  // is then one impulse shorter than the longest stay on the map.
  cJednostkaLadowa* carried = nullptr;
  for (const auto& unit : game.landUnits) {
    if (!carried && unit->owner == standing->owner && unit.get() != standing && unit.get() != moving) {
      carried = unit.get();
    }
  }
  ASSERT_NE(carried, nullptr);
  // Every other unit at war holds a target, but for two that stand with none
  // from impulse 6 on: one more of its country and one of another country,
  // whose computer has no front to send it to.
  cJednostkaLadowa* second = nullptr;
  cJednostkaLadowa* idle = nullptr;
  for (const auto& unit : game.landUnits) {
    const cCountry* owner = game.GetCountry(unit->owner);
    if (!owner || !owner->IsAtWarWithAnyone()) continue;
    unit->aiOrder = kAiOrderHoldCity;
    if (unit->owner != standing->owner) {
      if (!idle) idle = unit.get();
    } else if (!second && unit.get() != standing && unit.get() != moving && unit.get() != carried) {
      second = unit.get();
    }
  }
  ASSERT_TRUE(second && idle);
  const auto stayOf = [&](const cJednostkaLadowa& unit) -> const sAutoplayStays::sStay* {
    for (const sAutoplayStays::sStay& stay : play.stays().longStays) {
      if (stay.unit == unit.id) return &stay;
    }
    return nullptr;
  };
  standing->aiOrder = kAiOrderHoldCity;
  for (int impulse = 1; impulse <= 10; ++impulse) {
    if (impulse == 4) {
      map.GetHex(moving->x, moving->y)->unit = nullptr;
      moving->x = free.x;
      moving->y = free.y;
      map.GetHex(free.x, free.y)->unit = moving;
    }
    if (impulse == 2) {
      for (const auto& country : game.countries) {
        while (game.KillFirstAboardUnitOfCountryA(country->id) || game.KillFirstAboardUnitOfCountryB(country->id)) {
        }
      }
      ASSERT_NE(carried->EmbarkOnFleet(kCargoShip, 1, 0), nullptr);
    }
    if (impulse == 6) second->aiOrder = idle->aiOrder = kAiOrderNone;
    if (impulse == 7) standing->aiOrder = kAiOrderReserve;
    // From impulse 8 on its country's computer has a front it could be sent to.
    if (impulse == 8) CountryAiOf(game, *game.GetCountry(standing->owner)).fronts.push_back(sFront{});
    ASSERT_TRUE(play.PlayImpulse()) << play.violation();
    EXPECT_EQ(stayOf(*standing) != nullptr, impulse == 10) << impulse;
  }
  const sAutoplayStays::sStay* stay = stayOf(*standing);
  ASSERT_NE(stay, nullptr);
  EXPECT_EQ(stay->from, 1);
  EXPECT_EQ(stay->to, 10);
  EXPECT_EQ(stay->orders, (std::set<int>{kAiOrderHoldCity, kAiOrderReserve}));
  EXPECT_EQ(stay->aimless, 4);
  EXPECT_EQ(stay->needed, 3);
  EXPECT_EQ(std::make_pair(stay->x, stay->y), std::make_pair(standing->x, standing->y));
  EXPECT_EQ(stayOf(*moving), nullptr);
  EXPECT_EQ(stayOf(*atPeace), nullptr);
  std::ostringstream summary;
  play.PrintSummary(summary);
  EXPECT_EQ(SummaryValue(summary.str(), "longest_stay_at_war"), "10") << summary.str();
  EXPECT_NE(summary.str().find("note=stay unit=" + std::to_string(standing->id) + " "), std::string::npos);
  std::ostringstream note;
  note << "\nnote=stay unit=" << standing->id << " \"" << Utf16ToUtf8(standing->name) << "\" owner=" << standing->owner
       << " orders=" << kAiOrderHoldCity << ',' << kAiOrderReserve << " impulses=1-10 aimless=4 needed=3 ("
       << standing->x << ',' << standing->y << ")\n";
  EXPECT_NE(summary.str().find(note.str()), std::string::npos) << note.str() << summary.str();

  // Played on until stays of twenty impulses with no target are counted,
  // each count of the summary is the one of its own record, and each record
  // holds a value of its own. Of the long stays only those of this country
  // had a front for twenty impulses (from impulse 8 on); the one of the other
  // country had none, and no stay went without a target as long as it lasted.
  for (int impulse = 11; impulse <= 28; ++impulse) ASSERT_TRUE(play.PlayImpulse()) << play.violation();
  ASSERT_NE(carried->transporter, nullptr);
  const sAutoplayStays& stays = play.stays();
  ASSERT_NE(stayOf(*idle), nullptr);
  EXPECT_EQ(std::make_pair(stayOf(*idle)->aimless, stayOf(*idle)->needed), std::make_pair(23, 0));
  ASSERT_NE(stayOf(*second), nullptr);
  EXPECT_EQ(std::make_pair(stayOf(*second)->aimless, stayOf(*second)->needed), std::make_pair(23, 21));
  const std::vector<std::pair<std::string, int>> counts{
      {"long_aboard_stays", 1}, {"longest_aboard", 27}, {"long_reserve_waits", stays.longReserveWaits},
      {"long_stays_at_war", static_cast<int>(stays.longStays.size())}, {"longest_stay_at_war", 28},
      {"aimless_stays_at_war", 2}};
  summary.str("");
  play.PrintSummary(summary);
  const std::string last = "\n" + summary.str();
  std::set<int> values;
  for (const auto& [key, value] : counts) {
    EXPECT_EQ(SummaryValue(last, key), std::to_string(value)) << key << last;
    values.insert(value);
  }
  EXPECT_EQ(values.size(), counts.size()) << last;
  EXPECT_EQ(stays.longAboard, 1);
  EXPECT_EQ(stays.longestAboard, 27);
  std::ostringstream date;
  ASSERT_NE(game.date.impulse, game.date.month);
  date << game.date.impulse << '/' << game.date.month << '/' << game.date.year;
  EXPECT_EQ(SummaryValue(last, "date"), date.str()) << last;
  ASSERT_NE(game.turn, play.impulsesRun());
  EXPECT_EQ(SummaryValue(last, "turn"), std::to_string(game.turn)) << last;
  // The line of the country's forces, each count of its own value: the
  // carried unit counts among its land units.
  const cCountry& owner = *game.GetCountry(standing->owner);
  const auto owned = [&owner](const auto& list) {
    return std::count_if(list.begin(), list.end(), [&owner](const auto& unit) { return unit->owner == owner.id; });
  };
  long cities = 0;
  long points = 0;
  double production = 0.0;
  for (const auto& city : game.cities) {
    if (map.GetHex(city->x, city->y)->controller != owner.id) continue;
    ++cities;
    points += city->victoryPoints;
    production += city->productionPoints;
  }
  const std::vector<long> forces{owned(game.landUnits) + owned(game.aboardUnitsA) + owned(game.aboardUnitsB),
                                 owned(game.airUnits), owned(game.navalUnits), owned(game.reservePool), cities, points};
  EXPECT_EQ(std::set<long>(forces.begin(), forces.end()).size(), forces.size());
  EXPECT_NE(owner.productionPoints, production);
  std::ostringstream line;
  line << "\ncountry=" << owner.id << " name=" << Utf16ToUtf8(owner.name) << std::fixed << std::setprecision(2)
       << " pp=" << owner.productionPoints << " production=" << production << " land=" << forces[0]
       << " air=" << forces[1] << " naval=" << forces[2] << " reserve=" << forces[3] << " cities=" << forces[4]
       << " vp=" << forces[5] << '\n';
  EXPECT_NE(last.find(line.str()), std::string::npos) << line.str() << last;

  // A game with no current country plays no turn and says why.
  game.playerControl.currentCountry = nullptr;
  EXPECT_FALSE(play.PlayTurn());
  EXPECT_EQ(play.violation(), "no country is current");
}

TEST_F(AutoplayTest, BadArgumentsAreRefused) {
  std::string summary;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--impulses", "2"}, {"--seed", "7"}, {"--impulses", "-1", "--seed", "7"},
        {"--impulses", "2", "--seed", "x"}, {"--impulses", "2", "--seed", "7", "--clock", "2011-03-04 09:30"},
        {"--impulses", "2", "--seed", "7", "--save-as", "x", "--clock", "soon"}, {"--impulses"},
        {"--impulses", "2", "--seed", "7", "--passive", "0"}, {"--impulses", "2", "--seed", "7", "--passive", "x"},
        {"--impulses", "2", "--seed", "7", "--passive", "256"},
        {"--impulses", "4", "--seed", "7", "--resume-check", "2"},
        {"--impulses", "4", "--seed", "7", "--save-as", "x", "--resume-check", "4"},
        {"--impulses", "2", "--seed", "7", "--save-loaded-as", "x"},
        {"--impulses", "4", "--seed", "7", "--save-as", "y", "--save-each-turn-as", "x", "--resume-check", "2"}}) {
    EXPECT_EQ(Run(args, summary), 2);
  }
  // Scripts tell the resume check's verdicts by these codes.
  EXPECT_NE(errors_.find("resume check: 4 differs, 5 plays_alike, 6 current_country_chosen_again, 7 skipped\n"),
            std::string::npos)
      << errors_;
  EXPECT_EQ(kResumeDiffers, 4);
  EXPECT_EQ(kResumePlaysAlike, 5);
  EXPECT_EQ(kResumeChosenAgain, 6);
  EXPECT_EQ(kResumeSkipped, 7);
  EXPECT_FALSE(fs::exists(dir_.path() / "data/save/x"));
  // The highest country number a passive country may have.
  EXPECT_EQ(Run({"--impulses", "0", "--seed", "7", "--passive", "255"}, summary), 0) << errors_;
}

// A save point whose name leaves no room for the check's own saves beside it
// fails the check, and says so, rather than report on a game it did not save.
TEST_F(AutoplayTest, ResumeCheckThatCannotSaveItsOneGoGameFails) {
  const std::string name(50, 'p');
  std::string summary;
  EXPECT_EQ(Run({"--impulses", "3", "--seed", "7", "--save-as", name, "--resume-check", "2"}, summary), 1)
      << summary;
  EXPECT_NE(errors_.find("could not be saved as " + name + "_one_go"), std::string::npos) << errors_;
  EXPECT_EQ(summary.find("resume_check="), std::string::npos) << summary;
  EXPECT_TRUE(fs::exists(dir_.path() / "data/save" / name / "Info.ini"));

  // A turn's save that cannot be written fails the run too.
  EXPECT_EQ(Run({"--turns", "1", "--seed", "7", "--save-each-turn-as", name + "_turn"}, summary), 1) << summary;
  EXPECT_NE(errors_.find(name + "_turn-1"), std::string::npos) << errors_;
}

// A save point past the last country turn of its impulse is skipped, naming
// the save points that exist; in a game whose time runs out with that
// impulse, the end is named. Neither leaves a save.
TEST_F(AutoplayTest, ResumeCheckPastItsImpulsesLastTurnIsSkippedAndSaysWhy) {
  std::string summary;
  EXPECT_EQ(Run({"--impulses", "3", "--seed", "17", "--save-as", "late", "--resume-check", "1", "--resume-turn", "30"},
                summary),
            kResumeSkipped)
      << errors_;
  EXPECT_EQ(summary,
            "resume_check=skipped (impulse 1 has 9 country turns: the last save point inside it is 1:8, and after "
            "its last turn comes save point 2)\n");
  EXPECT_FALSE(fs::exists(dir_.path() / "data/save/late"));

  ASSERT_NO_FATAL_FAILURE(SetScenarioTurns("2"));
  EXPECT_EQ(Run({"--impulses", "4", "--seed", "19", "--save-as", "ended", "--resume-check", "1", "--resume-turn", "30"},
                summary),
            kResumeSkipped)
      << errors_;
  EXPECT_EQ(summary, "resume_check=skipped (the game ended before impulse 1 and 30 turns)\n");
  EXPECT_FALSE(fs::exists(dir_.path() / "data/save/ended"));
}

// A country chosen to open the impulse after the save point that leaves the
// game at the end of the impulse before passes its turn in the game played in
// one go; the loaded game chooses the next country at once. The check names
// both choices and the lines of the passed turn, and is no match.
TEST_F(AutoplayTest, ResumeCheckNamesTheCurrentCountryTheLoadChoseAgain) {
  const fs::path events = fs::path("data/scenarios") / kScenario / "events.xml";
  std::string xml = test::ReadFileBytes(dir_.path() / events);
  const std::size_t end = xml.rfind("</events>");
  ASSERT_NE(end, std::string::npos);
  xml.insert(end,
             "<event eventID=\"900\" countryID=\"1\" visibleByPlayer=\"0\" oneTimeChecking=\"1\">\n"
             "  <title>Kaltheim leaves the war</title><description>It lays down its arms.</description>\n"
             "  <condition><expression><leftOperand method=\"Game.GetCurrentTurn\"/><operator value=\"equals\"/>"
             "<rightOperand constValue=\"1\"/></expression></condition>\n"
             "  <options><option optionID=\"1\" chanceAI=\"100\"><description>Lay them down</description>\n"
             "    <effects><effect method=\"Country.SetActive\" param0=\"1\" param1=\"0\"/></effects>\n"
             "  </option></options>\n"
             "</event>\n");
  dir_.Write(events.string(), xml);
  std::string summary;
  EXPECT_EQ(Run({"--impulses", "3", "--seed", "29", "--save-as", "point", "--resume-check", "1"}, summary),
            kResumeChosenAgain)
      << errors_;
  EXPECT_EQ(summary, "resume_check=current_country_chosen_again\n"
                     "current_country=one_go:1 resumed:2\n"
                     "one_go_only_line=Dummy country, ending the sequence\n"
                     "one_go_only_line=Wyznaczam aktualne panstwo...\n"
                     "one_go_only_line=" + Utf16ToUtf8(u"O\u010f\u017c\u02dd. Aktualne panstwo = Lombria") + "\n");

  // Handed over instead, the game names what the hand-over check needs: the
  // turn the dummy passed in one go, the country current in the save before
  // it, and the one a load of that save chose.
  ASSERT_EQ(Run({"--impulses", "2", "--seed", "29", "--save-each-turn-as", "turn"}, summary), 0) << errors_;
  // Country 9 never acts: its turns are passed too.
  int passed = 0;
  std::istringstream lines(summary);
  for (std::string line; std::getline(lines, line) && !passed;) {
    if (line.starts_with("passed_turn=") && line.ends_with(":1")) passed = std::stoi(line.substr(12));
  }
  ASSERT_GT(passed, 1) << summary;
  const std::string before = std::to_string(passed - 1);
  ASSERT_EQ(Run({"--turns", before, "--seed", "29", "--save-as", "before"}, summary), 0) << errors_;
  EXPECT_EQ(SummaryValue(summary, "current_country"), "1") << summary;
  std::ostringstream out;
  std::ostringstream errors;
  ASSERT_EQ(RunAutoplay({"--root", dir_.path().string(), "--save", "before", "--turns", "1", "--random-state",
                         SummaryValue(summary, "random_state")},
                        out, errors),
            0)
      << errors.str();
  EXPECT_EQ(SummaryValue(out.str(), "loaded_current_country"), "2") << out.str();
}

// A passive country's turn is passed on as a player ends one: the save made
// after it marks that turn finished as every finished turn is marked.
TEST_F(AutoplayTest, PassedTurnIsSavedAsFinished) {
  std::string summary;
  std::vector<std::string> args{"--turns", "1", "--seed", "23", "--save-as", "passed"};
  for (int id = 1; id <= 9; ++id) args.insert(args.end(), {"--passive", std::to_string(id)});
  ASSERT_EQ(Run(args, summary), 0) << errors_ << summary;
  std::istringstream rows(Files("passed").at("countries.csv"));
  int countries = 0;
  int finished = 0;
  for (std::string row; std::getline(rows, row);) {
    if (row.empty() || row[0] == '#') continue;
    std::vector<std::string> fields;
    std::istringstream cells(row);
    for (std::string cell; std::getline(cells, cell, ';');) fields.push_back(cell);
    ASSERT_GT(fields.size(), 12u) << row;
    ++countries;
    finished += fields[12] == "1";
    EXPECT_TRUE(fields[12] == "0" || fields[12] == "1") << row;
  }
  EXPECT_GT(countries, 4);
  EXPECT_EQ(finished, 1);
}

// A save whose countries have all finished their turn (the game never writes
// one: the last to finish ends the impulse) is refused by the runner's load,
// as by the game's, instead of playing a game with no country current.
TEST_F(AutoplayTest, SaveWithEveryCountryFinishedIsRefusedByTheLoad) {
  std::string summary;
  ASSERT_EQ(Run({"--turns", "1", "--seed", "23", "--save-as", "done"}, summary), 0) << errors_;
  const fs::path folder = dir_.path() / "data/save/done";
  test::MakeOlderSave(folder);
  std::istringstream rows(test::ReadFileBytes(folder / "countries.csv"));
  std::string edited;
  for (std::string row; std::getline(rows, row);) {
    if (!row.starts_with('#')) {
      std::size_t at = 0;
      for (int field = 0; field < 12; ++field) at = row.find(';', at) + 1;
      row.replace(at, row.find(';', at) - at, "1");
    }
    edited += row + '\n';
  }
  dir_.Write("data/save/done/countries.csv", edited);
  std::ostringstream out;
  std::ostringstream errors;
  try {
    RunAutoplay({"--root", dir_.path().string(), "--save", "done", "--turns", "1", "--seed", "23"}, out, errors);
    ADD_FAILURE() << "loaded: " << out.str() << errors.str();
  } catch (const FatalExitError& error) {
    EXPECT_EQ(error.code(), 1);
  }
  // The refused game is the caller's to put away, as the game's menus do.
  delete gGame;
  gGame = nullptr;
  EXPECT_EQ(errors.str().find("invariant broken"), std::string::npos);
}

}  // namespace
}  // namespace tr
