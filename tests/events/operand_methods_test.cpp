// Validation of operands and the values the operand methods read from a game.
#include <gtest/gtest.h>

#include <set>

#include "events/operand_methods.h"
#include "foundation/fatal.h"
#include "foundation/random.h"
#include "support/log_capture.h"
#include "support/world_builder.h"
#include "turn/fleet.h"

namespace tr::test {
namespace {

sEventOperand Method(std::u16string_view name, std::initializer_list<double> params, int line = 12) {
  sEventOperand op;
  op.method = name;
  op.line = line;
  int i = 0;
  for (double p : params) op.params[i++] = p;
  return op;
}

TEST(OperandTable, NamesAreUniqueAndCountsInRange) {
  std::set<std::u16string_view> names;
  for (const sOperandMethod& m : OperandMethods()) {
    EXPECT_TRUE(names.insert(m.name).second) << std::string(m.name.begin(), m.name.end());
    EXPECT_GE(m.paramCount, 0);
    EXPECT_LE(m.paramCount, 3);
  }
  EXPECT_EQ(names.size(), 52u);
}

struct InvalidCase {
  const char* name;
  sEventOperand operand;
  const char16_t* message;
};

class InvalidOperandTest : public testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidOperandTest, FailsWithItsMessage) {
  LogCapture log;
  sEventOperand op = GetParam().operand;
  EXPECT_FALSE(ValidateOperand(op));
  EXPECT_EQ(log.lines(), std::vector<std::u16string>{GetParam().message});
}

sEventOperand WithConst(sEventOperand op, double value) {
  op.constValue = value;
  return op;
}

INSTANTIATE_TEST_SUITE_P(
    Messages, InvalidOperandTest,
    testing::Values(
        InvalidCase{"Neither", Method(u"", {}),
                    u"ERROR: operand element at line 12 has neither 'method' nor 'constValue' attribute. It must "
                    u"have one of them defined"},
        InvalidCase{"Both", WithConst(Method(u"Game.GetCurrentTurn", {}), 1),
                    u"nERROR: operand element at line 12 has both 'method' and 'constValue' attributes defined. "
                    u"Only one of them can be defined"},
        InvalidCase{"MissingParam", Method(u"Country.HasWarWithCountry", {1}),
                    u"ERROR: param 1 for operand at line 12 must be defined!"},
        InvalidCase{"MissingAlliance", Method(u"Hex.ControlledByAliance", {3, 2}),
                    u"ERROR: param 2 for operand at line 12 must be defined!"},
        InvalidCase{"MissingTechnology", Method(u"Country.GetTechInvestment", {3}),
                    u"ERROR: param 1 for operand at line 12 must be defined!"},
        InvalidCase{"EffectName", Method(u"Country.SetAICarrierTargetsPriorities", {1, 2}),
                    u"ERROR: operand element at line 12 has unknown method (Country.SetAICarrierTargetsPriorities)"},
        InvalidCase{"CaseMatters", Method(u"flag.GetValue", {1}),
                    u"ERROR: operand element at line 12 has unknown method (flag.GetValue)"}),
    [](const testing::TestParamInfo<InvalidCase>& info) { return std::string(info.param.name); });

TEST(Operands, ConstantWithParamsWarnsAndKeepsItsValue) {
  LogCapture log;
  sEventOperand op = WithConst(Method(u"", {2}), 5);
  EXPECT_TRUE(ValidateOperand(op));
  EXPECT_EQ(log.lines(), std::vector<std::u16string>{u"WARNING: operand element at line 12 has defined 'constValue' "
                                                     u"attribute and at least one from param0..param9 attributes."});
  EXPECT_EQ(EvaluateOperand(op), 5.0);
}

TEST(Operands, MethodsWithoutParamsAndExtraParamsValidate) {
  for (const char16_t* name : {u"Game.GetCurrentTurn", u"Get.WinterBattle", u"Get.MudMove"}) {
    sEventOperand op = Method(name, {});
    EXPECT_TRUE(ValidateOperand(op));
    EXPECT_EQ(op.recognised, 1);
  }
  sEventOperand extra = Method(u"Flag.GetValue", {1, 2, 3});
  EXPECT_TRUE(ValidateOperand(extra));
}

TEST(Operands, UnknownMethodAtEvaluationIsFatal) {
  LogCapture log;
  EXPECT_THROW(EvaluateOperand(Method(u"Hex.Nothing", {})), FatalExitError);
  EXPECT_TRUE(log.Contains(u"CRICITAL: Could not resolve operand at line 12! Method=Hex.Nothing unknown?"));
}

class OperandValueTest : public testing::Test {
 protected:
  OperandValueTest() {
    cCountry& c = world_.country(2);
    c.productionPoints = 12.5;
    c.alliance = kAxisLeader;
    c.humanControlled = 1;
    c.strategicMovementPoints = 3;
    c.strategicMovementMax = 9;
    c.aiSettings.NewUnitPurchasePreferences[0] = 77;
    c.aiSettings.SeaZonesToPatrol.push_back({14, 2});
    c.researchProgress[6] = 40;
    world_.game().flags[kGameFlagCount - 1] = -8;
    world_.game().turn = 17;
    world_.game().relations.SetWar(1, 3, true);
    world_.hex(2, 1).controller = 2;
    world_.hex(0, 0).terrain = kTerrainWater;
  }

  double Value(std::u16string_view name, std::initializer_list<double> params) {
    return EvaluateOperand(Method(name, params));
  }

  TestWorld world_{4, 3, 3};
};

TEST_F(OperandValueTest, CountryFields) {
  EXPECT_EQ(Value(u"Country.GetProductionPoints", {2.9}), 12.5);
  EXPECT_EQ(Value(u"Country.GetAlliance", {2}), 5.0);
  EXPECT_EQ(Value(u"Country.IsAIControlled", {2}), 0.0);
  EXPECT_EQ(Value(u"Country.IsAIControlled", {1}), 1.0);
  EXPECT_EQ(Value(u"Country.GetStrategicMovementPoints", {2}), 9.0);
  EXPECT_EQ(Value(u"Country.GetUnitPurchasePreferences", {2, 1}), 77.0);
  EXPECT_EQ(Value(u"Country.GetTechResearchProgress", {2, 6}), 40.0);
  EXPECT_EQ(Value(u"Country.GetTechLevel", {2, 9}), 0.0);
  EXPECT_EQ(Value(u"AI.IsSeaZonePatrolled", {2, 14}), 1.0);
  EXPECT_EQ(Value(u"AI.IsSeaZonePatrolled", {2, 2}), 0.0);
  EXPECT_EQ(Value(u"Country.HasWarWithCountry", {1, 3}), 1.0);
  EXPECT_EQ(Value(u"Country.HasWarWithCountry", {3, 1}), 0.0);
  EXPECT_EQ(Value(u"Country.IsAtWar", {1}), 1.0);
  EXPECT_EQ(Value(u"Game.GetCurrentTurn", {}), 17.0);
}

TEST_F(OperandValueTest, ParamsNamingNothingGiveZeroWithALogLine) {
  LogCapture log;
  EXPECT_EQ(Value(u"Country.HasWarWithCountry", {0, 1}), 0.0);
  EXPECT_EQ(Value(u"Country.GetUnitPurchasePreferences", {2, 15}), 0.0);
  EXPECT_EQ(Value(u"Country.GetTechInvestment", {2, 7}), 0.0);
  EXPECT_EQ(Value(u"Hex.Occupied", {4, 0}), 0.0);
  EXPECT_EQ(log.lines(), (std::vector<std::u16string>{
                             u"ERROR: operand Country.HasWarWithCountry at line 12 names country 0, which does not "
                             u"exist; its value is 0",
                             u"ERROR: operand Country.GetUnitPurchasePreferences at line 12 has param1 = 15 outside "
                             u"1..14; its value is 0",
                             u"ERROR: operand Country.GetTechInvestment at line 12 has param1 = 7 outside 0..6; its "
                             u"value is 0",
                             u"WARNING: operand Hex.Occupied at line 12 names hex (4, 0), which is off the map; hex "
                             u"(0, 0) is read"}));
}

TEST_F(OperandValueTest, Flags) {
  LogCapture log;
  EXPECT_EQ(Value(u"Flag.GetValue", {kGameFlagCount - 1}), -8.0);
  EXPECT_EQ(Value(u"Flag.GetValue", {kGameFlagCount}), 0.0);
  EXPECT_EQ(Value(u"Flag.GetValue", {-1}), 0.0);
  EXPECT_EQ(log.lines(), (std::vector<std::u16string>{u"ERR: Flag.GetValue arg out of range: 40000, max is 40000",
                                                      u"ERR: Flag.GetValue arg out of range: -1, max is 40000"}));
}

TEST_F(OperandValueTest, HexControl) {
  LogCapture log;
  EXPECT_EQ(Value(u"Hex.ControlledByAliance", {2, 1, 2}), 1.0);
  EXPECT_EQ(Value(u"Hex.ControlledByAliance", {2, 1, 1}), 0.0);
  EXPECT_EQ(Value(u"Hex.ControlledByCountry", {2, 1, 2}), 1.0);
  EXPECT_EQ(Value(u"Hex.ControlledByCountry", {2, 1, 2.5}), 0.0);
  EXPECT_TRUE(log.lines().empty());
  EXPECT_EQ(Value(u"Hex.ControlledByAliance", {0, 0, 2}), 0.0);
  EXPECT_EQ(Value(u"Hex.OccupiedAndControlledByAlliance", {1, 1, 2}), 0.0);
  EXPECT_EQ(log.lines(),
            (std::vector<std::u16string>{
                u"ERROR Hex.ControlledByAliance called with arg pointing hex (0, 0) which is sea hex",
                u"ERROR Hex.OccupiedAndControlledByAlliance called with arg pointing hex (1, 1) which is sea hex"}));
}

TEST_F(OperandValueTest, UnitsAreCountedForTheirOwner) {
  cGame& game = world_.game();
  const auto land = [&](auto& list, int owner, int type) {
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->owner = owner;
    unit->type = type;
    cJednostkaLadowa* raw = unit.get();
    list.push_back(std::move(unit));
    return raw;
  };
  world_.hex(3, 2).unit = land(game.landUnits, 2, kArmouredCorps);
  land(game.aboardUnitsA, 2, kArmouredCorps);
  land(game.aboardUnitsB, 2, kArmouredCorps);
  land(game.landUnits, 1, kArmouredCorps);
  auto fleet = std::make_unique<cFleet>();
  fleet->seaNodeId = 6;
  for (int owner : {2, 2, 3}) {
    auto ship = std::make_unique<cJednostkaMorska>();
    ship->owner = owner;
    ship->type = kSubmarine;
    ship->fleet = fleet.get();
    game.navalUnits.push_back(std::move(ship));
  }
  game.fleets.push_back(std::move(fleet));

  EXPECT_EQ(Value(u"Country.GetUnitCount", {2, kArmouredCorps}), 3.0);
  EXPECT_EQ(Value(u"Country.GetUnitCount", {2, kSubmarine}), 2.0);
  EXPECT_EQ(Value(u"Country.GetUnitCount", {2, 50}), 0.0);
  EXPECT_EQ(Value(u"Country.GetShipsAmountInSeaZone", {2, 6, kSubmarine}), 2.0);
  EXPECT_EQ(Value(u"Country.GetShipsAmountInSeaZone", {2, 5, kSubmarine}), 0.0);
  EXPECT_EQ(Value(u"Hex.Occupied", {3, 2}), 1.0);
  EXPECT_EQ(Value(u"Hex.Occupied", {3, 1}), 0.0);
  EXPECT_EQ(Value(u"Hex.OccupiedByUnitOwnedByCountry", {3, 2, 2}), 1.0);
  EXPECT_EQ(Value(u"Hex.OccupiedByUnitOwnedByCountry", {3, 2, 1}), 0.0);
  world_.hex(3, 2).controller = 2;
  EXPECT_EQ(Value(u"Hex.OccupiedAndControlledByAlliance", {3, 2, 5}), 1.0);
  EXPECT_EQ(Value(u"Hex.OccupiedAndControlledByAlliance", {3, 2, kAllies}), 0.0);  // held by another alliance
  world_.hex(3, 2).unit = nullptr;
}

TEST_F(OperandValueTest, RandomNumberDrawsEachTime) {
  ScopedRandomDraws draws({0, 32767});
  EXPECT_EQ(Value(u"System.GetRandomNumber", {3, 8}), 3.0);
  EXPECT_EQ(Value(u"System.GetRandomNumber", {3, 8}), 8.0);
  // A span that rounds to 2^31 as a float would overflow the draw: the low end, no draw.
  EXPECT_EQ(Value(u"System.GetRandomNumber", {1, 2147483647}), 1.0);
  EXPECT_EQ(draws.remaining(), 0u);
}

TEST_F(OperandValueTest, PortSizeOfASeaNode) {
  world_.game().seaGraph.nodes.resize(2);
  world_.game().seaGraph.nodes[1].portSize = 4;
  LogCapture log;
  EXPECT_EQ(Value(u"Port.GetSize", {2}), 4.0);
  EXPECT_EQ(Value(u"Port.GetSize", {3}), 0.0);
  EXPECT_EQ(log.lines(), std::vector<std::u16string>{
                             u"ERROR: operand Port.GetSize at line 12 has param0 = 3 outside 1..2; its value is 0"});
}

TEST_F(OperandValueTest, HexOffTheMapReadsTheFirstHex) {
  world_.hex(0, 0).terrain = 1;
  world_.hex(0, 0).controller = 2;
  LogCapture log;
  EXPECT_EQ(Value(u"Hex.ControlledByCountry", {9, -1, 2}), 1.0);
  EXPECT_EQ(Value(u"Hex.ControlledByAliance", {4, 3, 2}), 1.0);
  EXPECT_EQ(log.lines().size(), 2u);
}

TEST_F(OperandValueTest, VictoryPointsOfTheCitiesACountryHolds) {
  const auto city = [&](int x, int y, int points, int controller) {
    auto made = std::make_unique<cCity>();
    made->x = x;
    made->y = y;
    made->victoryPoints = points;
    world_.hex(x, y).controller = controller;
    world_.game().cities.push_back(std::move(made));
  };
  city(1, 0, 3, 2);
  city(3, 1, 4, 2);
  city(3, 2, 5, 1);
  EXPECT_EQ(Value(u"Country.GetVP", {2}), 7.0);
  EXPECT_EQ(Value(u"Country.GetVP", {3}), 0.0);
  world_.hex(3, 2).controller = 0;
  LogCapture log;
  EXPECT_THROW(Value(u"Country.GetVP", {2}), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"is not controlled by any country (controller id = 0)! (Counting country VPs)"));
}

}  // namespace
}  // namespace tr::test
