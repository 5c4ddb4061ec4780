// Running effects: the game lock around each, dispatch by exact name, the
// flag effects, and methods the language does not know.
#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "event_builders.h"
#include "events/effect_dispatch.h"
#include "events/effect_methods.h"
#include "foundation/game_lock.h"
#include "support/log_capture.h"
#include "support/world_builder.h"

namespace tr::test {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

class EffectTest : public testing::Test {
 protected:
  std::int32_t& flag(int index) { return world_.game().flags[static_cast<std::size_t>(index)]; }

  TestWorld world_{4, 3, 2};
  LogCapture log_;
};

TEST_F(EffectTest, EachEffectHoldsTheGameLockAtItsPositions) {
  SetGameLockActive(true);
  {
    // The thread that runs an option may already hold the lock.
    GameLockGuard held;
    ExecuteEffect(SetFlag(3, 5));
    EXPECT_EQ(GameLockDepth(), 1);
  }
  SetGameLockActive(false);
  EXPECT_EQ(flag(3), 5);
  EXPECT_EQ(log_.lines(), (std::vector<std::u16string>{u"AC:zdarzenia:707", u"RC:zdarzenia:2140"}));
}

struct FlagCase {
  const char* name;
  sEffect effect;
  std::int32_t before;
  int index;
  std::int32_t after;
  std::vector<std::u16string> log;
};

class FlagEffectTest : public EffectTest, public testing::WithParamInterface<FlagCase> {};

TEST_P(FlagEffectTest, ChangesTheFlagOrNothing) {
  const FlagCase& c = GetParam();
  if (c.index >= 0 && c.index < kGameFlagCount) flag(c.index) = c.before;
  ExecuteEffect(c.effect);
  if (c.index >= 0 && c.index < kGameFlagCount) {
    EXPECT_EQ(flag(c.index), c.after);
  }
  EXPECT_EQ(log_.lines(), c.log);
  // Nothing but the named flag changes.
  int changed = 0;
  for (std::int32_t value : world_.game().flags) changed += value != 0;
  EXPECT_LE(changed, 1);
}

sEffect Change(double index, double amount) { return MakeEffect(u"Flag.ChangeValue", {index, amount}); }
sEffect Set(double index, double value) { return MakeEffect(u"Flag.SetValue", {index, value}); }

INSTANTIATE_TEST_SUITE_P(
    Flags, FlagEffectTest,
    testing::Values(FlagCase{"SetFirst", Set(0, 7), 0, 0, 7, {}}, FlagCase{"SetLast", Set(39999, 7), 0, 39999, 7, {}},
                    FlagCase{"SetTruncates", Set(2.9, -2.9), 0, 2, -2, {}},
                    FlagCase{"SetPastTheEnd", Set(40000, 7), 0, 40000, 0,
                             {u"ERR: Flag.SetValue arg out of range: 40000, max is 40000"}},
                    FlagCase{"SetNegativeIsSilent", Set(-1, 7), 0, -1, 0, {}},
                    FlagCase{"Change", Change(5, 3), 4, 5, 7, {}},
                    FlagCase{"ChangeDown", Change(5, -6.5), 4, 5, -2, {}},
                    FlagCase{"ChangePastTheEndIsSilent", Change(40000, 1), 0, 40000, 0, {}},
                    FlagCase{"ChangeNegativeIsSilent", Change(-3, 1), 0, -3, 0, {}},
                    FlagCase{"ChangeJustBelowTheFirstIsSilent", Change(-1, 6), 0, -1, 0, {}},
                    FlagCase{"ChangeStopsAtTheTop", Change(8, 10), kMax - 1, 8, kMax, {}},
                    FlagCase{"ChangeStopsAtTheBottom", Change(8, -1e12), kMin + 5, 8, kMin, {}}),
    [](const testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.name); });

TEST_F(EffectTest, UnknownMethodChangesNothingAndSaysSo) {
  ExecuteEffect(MakeEffect(u"flag.SetValue", {1, 50}, 13));
  EXPECT_EQ(flag(1), 0);
  EXPECT_EQ(log_.lines(), (std::vector<std::u16string>{
                              u"ERROR: Effect at line 13 has unknown method (flag.SetValue); nothing changes"}));
}

class SilentEffectTest : public EffectTest, public testing::WithParamInterface<const char16_t*> {};

TEST_P(SilentEffectTest, AcceptedMethodWithoutBehaviourPassesSilently) {
  sEffect effect = MakeEffect(GetParam(), {1, 2, 3, 4, 5, 6}, 21);
  effect.paramStrings[0] = u"Rifles";
  ASSERT_TRUE(ValidateEffect(effect));
  log_.Clear();
  const std::vector<std::int32_t> flagsBefore(world_.game().flags.begin(), world_.game().flags.end());
  ExecuteEffect(effect);
  ExecuteEffect(effect);
  EXPECT_TRUE(log_.lines().empty());
  EXPECT_EQ(std::vector<std::int32_t>(world_.game().flags.begin(), world_.game().flags.end()), flagsBefore);
  EXPECT_TRUE(world_.game().landUnits.empty());
}

INSTANTIATE_TEST_SUITE_P(ByDesign, SilentEffectTest,
                         testing::Values(u"Commander.ChangeLevel", u"Commander.SetLevel",
                                         u"Hex.AddLandUnitAndPassControlOverHexIfEmpty"),
                         [](const auto& info) {
                           std::string name;
                           for (const char16_t* c = info.param; *c; ++c) {
                             if (*c != u'.') name += static_cast<char>(*c);
                           }
                           return name;
                         });

TEST(EffectTable, EveryValidatedMethodHasABehaviourOrNoneByDesign) {
  std::set<std::u16string_view> dispatched{u"Commander.ChangeLevel", u"Commander.SetLevel",
                                           u"Hex.AddLandUnitAndPassControlOverHexIfEmpty"};
  for (const auto& family : {FlagEffects(), MapEffects(), UnitEffects(), LandUnitEffects(), SeaUnitEffects(),
                             CountryEffects(), CountryForceEffects(), AiEffects()}) {
    for (const sEffectBehaviour& behaviour : family) EXPECT_TRUE(dispatched.insert(behaviour.name).second);
  }
  for (const sEffectMethod& method : EffectMethods()) {
    EXPECT_EQ(dispatched.count(method.name), 1u) << std::string(method.name.begin(), method.name.end());
  }
}

TEST(EffectTable, EveryDispatchedNameIsAValidatedMethod) {
  for (const auto& family : {FlagEffects(), MapEffects(), UnitEffects(), LandUnitEffects(), SeaUnitEffects(),
                             CountryEffects(), CountryForceEffects(), AiEffects()}) {
    for (const sEffectBehaviour& behaviour : family) {
      bool known = false;
      for (const sEffectMethod& method : EffectMethods()) known = known || method.name == behaviour.name;
      EXPECT_TRUE(known) << std::string(behaviour.name.begin(), behaviour.name.end());
    }
  }
}

}  // namespace
}  // namespace tr::test
