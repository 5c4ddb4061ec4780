// Map and unit effects as a scenario author writes them: an option of an
// event file, loaded and validated by the engine, runs its effects in order
// and each sees what the ones before it made.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "event_fixture.h"
#include "world/gra.h"

namespace tr::test {
namespace {

struct OptionCase {
  const char* name;
  const char* effects;  // the <effect> elements of the option
  std::function<void(cGame&, const LogCapture&)> check;
};

class EffectFileTest : public EventFilesTest, public testing::WithParamInterface<OptionCase> {};

TEST_P(EffectFileTest, OptionRunsItsEffectsInOrder) {
  WriteSingleEventFile(EventFile(std::string("<event eventID=\"4\" countryID=\"1\" visibleByPlayer=\"0\" "
                                             "oneTimeChecking=\"1\"><options><option><effects>") +
                                 GetParam().effects + "</effects></option></options></event>"));
  LoadScenarioEvents();
  ASSERT_EQ(engine_.events.size(), 1u);
  log_.Clear();
  engine_.events[0].options.at(0).ExecuteEffects();
  GetParam().check(world_.game(), log_);
}

INSTANTIATE_TEST_SUITE_P(
    Options, EffectFileTest,
    testing::Values(
        OptionCase{"NewUnitIsFrozenByTheNextEffect",
                   R"(<effect method="Hex.AddLandUnit" param0="2" param1="1" param2="1" param3="0" param4="1"
                       param5="75" paramString0="Border Rifles"/>
                      <effect method="Unit.Freeze" param0="2" param1="1" param2="3"/>)",
                   [](cGame& game, const LogCapture&) {
                     ASSERT_EQ(game.landUnits.size(), 1u);
                     EXPECT_EQ(game.landUnits.front()->name, u"Border Rifles");
                     EXPECT_EQ(game.landUnits.front()->freezeTime, 3);
                   }},
        OptionCase{"AirUnitMovedAndKilled",
                   R"(<effect method="Hex.AddAirUnit" param0="2" param1="0" param2="0" param3="21" param4="1"
                       param5="6" paramString0="Wing"/>
                      <effect method="Unit.Teleport" param0="0" param1="0" param2="5" param3="3"/>
                      <effect method="Hex.KillUnit" param0="5" param1="3"/>)",
                   [](cGame& game, const LogCapture&) {
                     EXPECT_TRUE(game.airUnits.empty());
                     EXPECT_EQ(game.map->GetHex(0, 0)->unit, nullptr);
                     EXPECT_EQ(game.map->GetHex(5, 3)->unit, nullptr);
                   }},
        OptionCase{"HarbourOnTheStripeJustTaken",
                   R"(<effect method="HexStripe.ChangeControllerOwnerAndOriginalOwner" param0="3" param1="0"
                       param2="4" param3="2"/>
                      <effect method="Hex.AddMulberry" param0="2" param1="3" param2="2" paramString0="Gold Beach"/>
                      <effect method="Hex.AddMulberry" param0="2" param1="3" param2="2" paramString0="Twice"/>)",
                   [](cGame& game, const LogCapture& log) {
                     for (int y = 0; y < 4; ++y) EXPECT_EQ(game.map->GetHex(3, y)->originalOwner, 2);
                     ASSERT_EQ(game.landUnits.size(), 1u);
                     EXPECT_EQ(game.landUnits.front()->type, kMulberryType);
                     EXPECT_EQ(log.lines(), std::vector<std::u16string>{
                                                u"Mulberry  \"Gold Beach\" created at (3, 2) for country Country2"});
                   }},
        OptionCase{"PartisansNeedAnotherController",
                   R"(<effect method="HexStripe.ChangeControllerAndOwner" param0="2" param1="0" param2="4" param3="3"/>
                      <effect method="City.FirePartisans" param0="2" param1="2" param2="3" param3="0" param4="1"
                       param5="30" paramString0="Maquis"/>
                      <effect method="Flag.SetValue" param0="7" param1="1"/>)",
                   [](cGame& game, const LogCapture& log) {
                     EXPECT_TRUE(game.landUnits.empty());
                     EXPECT_EQ(game.flags[7], 1);
                     EXPECT_TRUE(log.lines().empty());
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tr::test
