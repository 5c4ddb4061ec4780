// The shipped sample played by the computer on every side: its purchases,
// deployments, replacements and repairs grow the forces on the map without
// ever spending points a country does not have.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "ai/ai_phase.h"
#include "ai/autoplay.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "support/game_run_scope.h"
#include "support/temp_dir.h"
#include "turn/game_steps.h"
#include "world/gra.h"
#include "world/scenario_check.h"

namespace tr {
namespace {

// Looks at the current country's production points around every spending
// phase and passes every announcement on to the runner's own observer.
class SpendingWatch : public cAiPhaseObserver {
 public:
  explicit SpendingWatch(cGame& game) : game_(game), previous_(SetAiPhaseObserver(this)) {}
  ~SpendingWatch() override { SetAiPhaseObserver(previous_); }

  void PhaseBegun(std::string_view phase, float factor) override {
    if (previous_) previous_->PhaseBegun(phase, factor);
    if (IsSpending(phase)) before_[std::string(phase)] = Points();
  }
  void PhaseEnded(std::string_view phase) override {
    if (previous_) previous_->PhaseEnded(phase);
    if (!IsSpending(phase)) return;
    ++spendingPhases;
    const double before = before_[std::string(phase)];
    const double after = Points();
    if (before >= 0.0 && after < 0.0 && problem.empty()) {
      problem = std::string(phase) + " of " + Utf16ToUtf8(game_.playerControl.currentCountry->name) + " took " +
                std::to_string(before) + " PP to " + std::to_string(after);
    }
  }

  int spendingPhases = 0;
  std::string problem;

 private:
  static bool IsSpending(std::string_view phase) {
    return phase == "MakePurchases" || phase == "ReplaceAirLosses" || phase == "ReplaceLandLosses" ||
           phase == "RepairShips";
  }
  double Points() const {
    const cCountry* country = game_.playerControl.currentCountry;
    return country ? country->productionPoints : 0.0;
  }

  cGame& game_;
  cAiPhaseObserver* previous_;
  std::map<std::string, double> before_;
};

// The units on the map of each country, as the summary lists them.
std::map<std::string, int> UnitsOnMap(const cAutoplay& play) {
  std::ostringstream out;
  play.PrintSummary(out);
  std::istringstream in(out.str());
  std::map<std::string, int> units;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("country=", 0) != 0) continue;
    int total = 0;
    for (const char* key : {" land=", " air=", " naval="}) {
      const std::size_t at = line.find(key);
      if (at != std::string::npos) total += std::stoi(line.substr(at + std::char_traits<char>::length(key)));
    }
    units[line.substr(0, line.find(' '))] = total;
  }
  return units;
}

TEST(SpendingAutoplayTest, SampleGrowsItsForcesWithoutDebtFromSpending) {
  test::TempDir dir;
  test::CopyBuiltScenario(dir.path(), "NorthernTide");
  sGameFolderArgs args;
  ASSERT_TRUE(ParseGameFolderArg("--root", dir.path().string(), args));
  ASSERT_TRUE(ParseGameFolderArg("--scenario", "NorthernTide", args));
  ASSERT_TRUE(GameFolderArgsValid(args));
  test::GameRunScope scope;
  SeedRandom(7);
  scope.game.reset(LoadGameFolder(args));
  ASSERT_NE(scope.game, nullptr);
  cAutoplay play(*scope.game);
  const std::map<std::string, int> before = UnitsOnMap(play);
  SpendingWatch watch(*scope.game);
  while (play.impulsesRun() < 10 && play.PlayImpulse()) {
  }
  EXPECT_EQ(play.impulsesRun(), 10) << play.violation();
  EXPECT_EQ(play.violation(), "");
  EXPECT_EQ(watch.problem, "");
  EXPECT_GT(watch.spendingPhases, 0);
  const std::map<std::string, int> after = UnitsOnMap(play);
  bool grew = false;
  for (const auto& [country, count] : after) grew = grew || count > before.at(country);
  EXPECT_TRUE(grew);
}

}  // namespace
}  // namespace tr
