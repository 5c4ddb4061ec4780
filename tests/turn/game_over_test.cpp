// The end of the game: the result table, the alliances' victory points and
// the list of individual scores.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "foundation/format.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "scenario/scenario_constants_layout.h"
#include "support/log_capture.h"
#include "turn/game_over.h"
#include "turn/turn_fixture.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/rules_fixture.h"

namespace tr {
namespace {

struct ResultCase {
  int allies;
  int axis;
  int comintern;
  const char* key;
};
class GameResultTest : public testing::TestWithParam<ResultCase> {};

TEST_P(GameResultTest, PicksTheKeyOfTheScores) {
  EXPECT_EQ(GameResultKey(GetParam().allies, GetParam().axis, GetParam().comintern), GetParam().key);
}

INSTANTIATE_TEST_SUITE_P(
    Scores, GameResultTest,
    testing::Values(ResultCase{10, 10, 10, "result:_draw"},
                    ResultCase{0, 0, 0, "result:_all_major_alliances_eliminated,_no_result!"},
                    ResultCase{8, 8, 3, "result:_axis-allied_draw_comintern_defeat"},
                    ResultCase{8, 3, 8, "result:_allied-comintern_draw_axis_defeat"},
                    ResultCase{3, 8, 8, "result:_axis-comintern_draw_allied_defeat"},
                    ResultCase{5, 10, 7, "result:_axis_victory"}, ResultCase{9, 1, 2, "result:_allied_victory"},
                    ResultCase{2, 2, 5, "result:_comintern_victory"}));

// Allies (1), axis (2) and comintern (3) each hold one city worth the given points.
class GameOverTest : public testing::Test {
 protected:
  GameOverTest() : world_(4, 1, 3), screen_(recorder_) {
    const int codes[] = {kAlliesLeader, kAxisLeader, kCominternLeader};
    for (int id = 1; id <= 3; ++id) {
      world_.country(id).alliance = codes[id - 1];
      world_.hex(id - 1, 0).controller = static_cast<std::uint8_t>(id);
      test::AddCity(world_, id - 1, 0);
    }
    world_.country(2).humanControlled = 1;
    world_.game().turnsLeft = 3;
  }
  void SetPoints(int allies, int axis, int comintern) {
    int points[] = {allies, axis, comintern};
    int i = 0;
    for (const auto& city : world_.game().cities) city->victoryPoints = points[i++];
  }
  std::u16string Shown() const {
    for (const auto& event : recorder_.events()) {
      if (event.starts_with(u"text ")) return event;
    }
    return {};
  }

  test::LogCapture log_;
  test::TestWorld world_;
  cHeadlessPresentation recorder_;
  ScopedPresentation screen_;
};

TEST_F(GameOverTest, TimeRunOutShowsTheResultAndScores) {
  world_.game().turnsLeft = 0;
  SetPoints(5, 10, 7);
  CheckGameOver(world_.game());
  EXPECT_EQ(world_.game().gameOver, 1);
  const std::u16string shown = Shown();
  EXPECT_TRUE(shown.starts_with(u"text " + GetText("game_over") + u"|\n")) << Utf16ToUtf8(shown);
  EXPECT_NE(shown.find(GetText("game_over:_time_has_run_out")), std::u16string::npos);
  EXPECT_NE(shown.find(GetText("result:_axis_victory")), std::u16string::npos);
  for (const auto& [key, points] : {std::pair{"axis:_%i_vp", 10}, {"allies:_%i_vp", 5}, {"comintern:_%i_vp", 7}}) {
    EXPECT_NE(shown.find(Format(GetText(key), points)), std::u16string::npos) << key;
  }
  // The axis country holds 10 points of victory and no production.
  EXPECT_NE(shown.find(Format(GetText("%i._%s:_%i"), 1, world_.country(2).name, 10)), std::u16string::npos);
}

// A country's score adds its forces everywhere (land and air units in the
// field and in the reserve, ships at sea and in the yards) to the points and
// the production of the cities it holds; another country's forces count
// nothing.
TEST_F(GameOverTest, ACountrysScoreAddsEveryForceAndEveryHeldCity) {
  world_.game().turnsLeft = 0;
  SetPoints(5, 10, 7);
  (*std::next(world_.game().cities.begin()))->productionPoints = 300.0f;
  // A level-1 land unit of type 2 is worth half its strength.
  world_.game().constants.SetSlot(consts_layout::kLandBaseValue + 7 + 2, 50.0);
  test::AddLandUnit(world_, 1, 0, 2, 1000).type = 2;
  auto landReserve = std::make_unique<cJednostkaLadowa>();
  landReserve->owner = 2;
  landReserve->type = 2;
  landReserve->strength = 3000;
  world_.game().reservePool.push_back(std::move(landReserve));
  test::AddAirUnit(world_, 1, 0, 2, 0, 20);
  test::AddAirUnit(world_, 0, 0, 1, 0, 3);
  auto reserve = std::make_unique<cJednostkaLotnicza>();
  reserve->owner = 2;
  reserve->strength = 160;
  world_.game().reservePool.push_back(std::move(reserve));
  for (const int hitPoints : {40, 80}) {
    auto ship = std::make_unique<cJednostkaMorska>();
    ship->owner = 2;
    ship->hitPoints = hitPoints;
    if (hitPoints == 40) {
      world_.game().navalUnits.push_back(std::move(ship));
    } else {
      world_.game().navalReserve.push_back(std::move(ship));
    }
  }
  CheckGameOver(world_.game());
  const std::u16string shown = Shown();
  EXPECT_NE(shown.find(Format(GetText("%i._%s:_%i"), 1, world_.country(2).name, 10 + 300 + 500 + 1500 + 20 + 160 + 40 + 80)),
            std::u16string::npos)
      << Utf16ToUtf8(shown);
  // Country 1 holds 5 points and an air unit of 3.
  EXPECT_NE(shown.find(Format(GetText("%i._%s:_%i"), 2, world_.country(1).name, 8)), std::u16string::npos);
}

// The scores are counted at every check, also while the war goes on; a city
// that nobody holds is logged and left out each time, and the game goes on.
class UncontrolledCityTest : public GameOverTest, public testing::WithParamInterface<int> {};

TEST_P(UncontrolledCityTest, IsLoggedAndLeftOutAtEveryCheck) {
  world_.game().turnsLeft = GetParam();
  SetPoints(5, 10, 7);
  test::AddCity(world_, 3, 0, kCityNormal, u"Nowhere").victoryPoints = 50;
  CheckGameOver(world_.game());
  const bool over = GetParam() <= 0;
  EXPECT_EQ(world_.game().gameOver, over ? 1 : 0);
  const auto lines = log_.lines();
  const auto count = [&](std::u16string_view line) { return std::count(lines.begin(), lines.end(), line); };
  EXPECT_EQ(count(u"City Nowhere is not controlled by any country (controller id = 0)! (Counting alliance VPs)"), 3);
  EXPECT_EQ(count(u"City Nowhere is not controlled by any country (controller id = 0)! (Counting country VPs)"), 3);
  EXPECT_EQ(lines.back(), u"CHECKING FOR GAME OVER FINISHED");
  const std::u16string shown = Shown();
  EXPECT_EQ(shown.empty(), !over);
  if (over) {
    EXPECT_NE(shown.find(Format(GetText("axis:_%i_vp"), 10)), std::u16string::npos) << Utf16ToUtf8(shown);
  }
}

INSTANTIATE_TEST_SUITE_P(Checks, UncontrolledCityTest, testing::Values(3, 0),
                         [](const auto& info) { return info.param > 0 ? "WarGoesOn" : "TimeRanOut"; });

TEST(GameOverScores, OnlyTheFirstTwentyCountriesAreListed) {
  test::TestWorld world(2, 2, 25);
  cHeadlessPresentation recorder;
  ScopedPresentation screen(recorder);
  for (int id = 1; id <= 25; ++id) world.country(id).name = Format(u"N%02d", id);
  world.game().turnsLeft = 0;
  CheckGameOver(world.game());  // no alliance left at all
  std::u16string shown;
  for (const auto& event : recorder.events()) {
    if (event.starts_with(u"text ")) shown = event;
  }
  ASSERT_NE(shown.find(GetText("game_over:_all_alliances_eliminated_(uncommon_ending)")), std::u16string::npos);
  for (int id = 1; id <= 25; ++id) {
    const bool listed = shown.find(Format(u"N%02d", id)) != std::u16string::npos;
    EXPECT_EQ(listed, id <= 20) << id;
  }
}

}  // namespace
}  // namespace tr
