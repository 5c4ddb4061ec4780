#include <gtest/gtest.h>

#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "foundation/text.h"

#include "scenario/scenario_constants_layout.h"
#include "world/city_rules.h"
#include "world/commander.h"
#include "world/headless_presentation.h"
#include "rules_fixture.h"

namespace tr {
namespace {

// A city on (1, 1) of a 3 x 3 map, held by country 1 at war with country 2;
// its six neighbours are set from a pattern, one letter per direction 0..5:
// E enemy unit, F friendly unit, W water, L free land.
struct SiegeCase {
  const char* name;
  const char* pattern;
  bool defended;
  bool besieged;
};

class CitySiegeWorld : public testing::Test {
 protected:
  CitySiegeWorld() : world(3, 3, 2) {
    test::HoldAll(world, 1);
    test::SetWar(world, 1, 2);
    city = &test::AddCity(world, 1, 1);
  }
  void Surround(const char* pattern) {
    for (int d = 0; d < 6; ++d) {
      const sPoint p = NeighbourPoint(1, 1, d);
      switch (pattern[d]) {
        case 'E': test::AddLandUnit(world, p.x, p.y, 2); break;
        case 'F': test::AddLandUnit(world, p.x, p.y, 1); break;
        case 'W': world.hex(p.x, p.y).terrain = kTerrainWater; break;
        default: break;
      }
    }
  }
  cHeadlessPresentation screen;
  ScopedPresentation scoped{screen};
  test::TestWorld world;
  cCity* city = nullptr;
};

class CitySiege : public CitySiegeWorld, public testing::WithParamInterface<SiegeCase> {};

TEST_P(CitySiege, Besieged) {
  Surround(GetParam().pattern);
  if (GetParam().defended) test::AddLandUnit(world, 1, 1, 1);
  EXPECT_EQ(IsBesieged(*city), GetParam().besieged);
}

INSTANTIATE_TEST_SUITE_P(Neighbours, CitySiege,
                         testing::Values(SiegeCase{"OneEnemyRestWater", "EWWWWW", true, false},
                                         SiegeCase{"TwoEnemiesRestWater", "WEWWEW", true, true},
                                         SiegeCase{"FreeLandNeighbour", "EEWWWL", true, false},
                                         SiegeCase{"FriendBeside", "EEFWWW", true, false},
                                         SiegeCase{"AllEnemies", "EEEEEE", true, true},
                                         SiegeCase{"Undefended", "EEEEEE", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

class SiegeCheck : public CitySiegeWorld {
 protected:
  SiegeCheck() {
    Surround("EEWWWW");
    for (int level = 1; level <= 2; ++level) {
      world.game().constants.SetSlot(consts_layout::kLandBaseValue + level * 7, 100.0);
    }
    defender = &test::AddLandUnit(world, 1, 1, 1, 20);
  }
  void BaseChance(double chance) { world.game().constants.SetSlot(consts_layout::kSiegeValues, chance); }
  cJednostkaLadowa* defender = nullptr;
};

TEST_F(SiegeCheck, CertainSuccessCostsALevelThenSurrender) {
  BaseChance(5.0);
  defender->level = 2;
  const std::u16string name = defender->name;  // the surrender frees the unit
  std::u16string text;
  CheckSiege(*city, text);
  EXPECT_EQ(defender->level, 1);
  EXPECT_NE(text.find(Format(GetText("check_succeeded,_%s_loses_1_level"), name)), std::u16string::npos);
  CheckSiege(*city, text);
  EXPECT_NE(text.find(Format(GetText("check_succeeded,_%s_surrenders!"), name)), std::u16string::npos);
  EXPECT_EQ(screen.CountEvents(u"camera"), 2);
}

TEST_F(SiegeCheck, ChanceOfZeroAlwaysFails) {
  BaseChance(-5.0);
  std::u16string text;
  CheckSiege(*city, text);
  EXPECT_EQ(defender->level, 1);
  EXPECT_NE(text.find(GetText("check_failed,_siege_continues...")), std::u16string::npos);
}

// The draw that makes RandomRange(1, 1000) give the roll.
int DrawForRoll(int roll) {
  for (int draw = 0; draw <= 32767; ++draw) {
    if (1 + static_cast<int>(static_cast<float>(draw) / 32767.0f * 999.0f) == roll) return draw;
  }
  return -1;
}

// Every siege value different, so a value read in the wrong term shows:
// the besiegers are twice the defender, a besieger's commander has skill 4,
// the city has 5 supply and the defender's side has no air opposition:
// p = 0.25 + (2 - 1) x 0.5 / 4 + 4 x 6.25 / 100 - 5 x 2.5 / 100 + 0.125 = 0.625.
struct RollCase {
  const char* name;
  int roll;
  bool succeeds;
};
class SiegeRoll : public SiegeCheck, public testing::WithParamInterface<RollCase> {};

TEST_P(SiegeRoll, SucceedsOnlyBelowTheChanceTimesAThousand) {
  const double values[] = {0.25, 0.5, 6.25, 2.5, 0.125, 3.0, 4.0};
  for (int i = 0; i < 7; ++i) world.game().constants.SetSlot(consts_layout::kSiegeValues + i, values[i]);
  defender->strength = 10;
  defender->level = 2;
  auto commander = std::make_unique<sCommander>();
  commander->id = 7;
  commander->skill = 4;
  world.game().commanders.push_back(std::move(commander));
  world.hex(1, 0).unit->commanderId = 7;
  city->supply = 5;

  // The report shows each term as the rule computed it.
  StringBase().SetText("siege_report", u"%s|%.2f|%.2f|%.2f|%.2f|%.2f|%.2f|");
  const std::u16string terms = Format(u"%s|25.00|12.50|-12.50|25.00|12.50|62.50|", defender->name);
  ScopedRandomDraws draws({DrawForRoll(GetParam().roll)});
  std::u16string text;
  CheckSiege(*city, text);
  StringBase().SetText("siege_report", u"siege_report");
  EXPECT_EQ(draws.remaining(), 0u);
  EXPECT_EQ(defender->level, GetParam().succeeds ? 1 : 2) << Utf16ToUtf8(text);
  EXPECT_TRUE(text.starts_with(terms)) << Utf16ToUtf8(text);
}

INSTANTIATE_TEST_SUITE_P(Rolls, SiegeRoll,
                         testing::Values(RollCase{"JustBelow", 624, true}, RollCase{"Exactly", 625, false},
                                         RollCase{"Lowest", 1, true}, RollCase{"Above", 626, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The strength term grows with the besiegers' ratio up to 1:1 and from there
// starts again from 0: r x 0.5 below, (r - 1) x 0.5 / 4 from 1 up.
class SiegeStrengthTerm : public SiegeCheck, public testing::WithParamInterface<std::pair<int, const char16_t*>> {};

TEST_P(SiegeStrengthTerm, IsZeroWhenTheBesiegersEqualTheDefence) {
  const auto [defenderStrength, term] = GetParam();
  const double values[] = {0.25, 0.5, 6.25, 2.5, 0.125, 3.0, 4.0};
  for (int i = 0; i < 7; ++i) world.game().constants.SetSlot(consts_layout::kSiegeValues + i, values[i]);
  defender->strength = defenderStrength;
  StringBase().SetText("siege_report", u"%s|%.2f|%.2f|%.2f|%.2f|%.2f|%.2f|");
  ScopedRandomDraws draws({32767});
  std::u16string text;
  CheckSiege(*city, text);
  StringBase().SetText("siege_report", u"siege_report");
  EXPECT_TRUE(text.starts_with(Format(u"%s|25.00|%s|", defender->name, term))) << Utf16ToUtf8(text);
}

INSTANTIATE_TEST_SUITE_P(Ratios, SiegeStrengthTerm,
                         testing::Values(std::pair{40, u"25.00"}, std::pair{20, u"0.00"}, std::pair{10, u"12.50"}));

// The air term: the defender's side below parity with the enemy's fighters
// adds (1 - a) x 0.125, above it takes (a - 1) x 0.125 / 3 away.
struct AirCase {
  int friendly;
  int enemy;
  const char16_t* term;
};
class SiegeAirTerm : public SiegeCheck, public testing::WithParamInterface<AirCase> {};

TEST_P(SiegeAirTerm, FollowsTheDefendersAirRatio) {
  const double values[] = {0.25, 0.5, 6.25, 2.5, 0.125, 3.0, 4.0};
  for (int i = 0; i < 7; ++i) world.game().constants.SetSlot(consts_layout::kSiegeValues + i, values[i]);
  world.game().constants.SetSlot(consts_layout::kAirRangeBase, 3);
  world.game().constants.SetSlot(consts_layout::kAirRangeFactor, 1.0);
  test::AddAirUnit(world, 0, 2, 1, kFighter, GetParam().friendly);
  test::AddAirUnit(world, 2, 0, 2, kFighter, GetParam().enemy);
  StringBase().SetText("siege_report", u"%s|%.2f|%.2f|%.2f|%.2f|%.2f|%.2f|");
  ScopedRandomDraws draws({32767});
  std::u16string text;
  CheckSiege(*city, text);
  StringBase().SetText("siege_report", u"siege_report");
  std::vector<std::u16string> fields;
  for (std::size_t at = 0, bar; (bar = text.find(u'|', at)) != std::u16string::npos; at = bar + 1) {
    fields.push_back(text.substr(at, bar - at));
  }
  ASSERT_GE(fields.size(), 6u) << Utf16ToUtf8(text);
  EXPECT_EQ(fields[5], GetParam().term) << Utf16ToUtf8(text);
}

INSTANTIATE_TEST_SUITE_P(Ratios, SiegeAirTerm,
                         testing::Values(AirCase{12, 3, u"-12.50"}, AirCase{3, 6, u"6.25"}, AirCase{9, 6, u"-2.08"}));

}  // namespace
}  // namespace tr
