// Comparison operators, expression checks and the evaluation of condition groups.
#include <gtest/gtest.h>

#include "events/event_conditions.h"
#include "foundation/fatal.h"
#include "support/log_capture.h"
#include "support/world_builder.h"

namespace tr::test {
namespace {

sExpression Constants(double left, std::u16string_view op, double right, int line = 1) {
  sExpression e;
  e.left.constValue = left;
  e.left.line = line;
  e.right.constValue = right;
  e.right.line = line;
  e.operatorText = op;
  e.operatorLine = line;
  return e;
}

// A comparison that reads flag 0 on its left, so the log shows whether it ran.
sExpression FlagIs(int value) {
  sExpression e = Constants(0, u"equals", value);
  e.left.constValue = kParamNotSet;
  e.left.method = u"Flag.GetValue";
  e.left.params[0] = 0;
  return e;
}

struct OperatorCase {
  const char16_t* op;
  bool less, equal, greater;  // result for 2 op 3, 3 op 3.0, 4 op 3
};

class OperatorTest : public testing::TestWithParam<OperatorCase> {};

TEST_P(OperatorTest, TruthTable) {
  const OperatorCase& c = GetParam();
  sExpression lt = Constants(2, c.op, 3);
  sExpression eq = Constants(3, c.op, 3.0);
  sExpression gt = Constants(4, c.op, 3);
  EXPECT_EQ(EvaluateExpression(lt), c.less);
  EXPECT_EQ(EvaluateExpression(eq), c.equal);
  EXPECT_EQ(EvaluateExpression(gt), c.greater);
}

INSTANTIATE_TEST_SUITE_P(Six, OperatorTest,
                         testing::Values(OperatorCase{u"equals", false, true, false},
                                         OperatorCase{u"notEquals", true, false, true},
                                         OperatorCase{u"greater", false, false, true},
                                         OperatorCase{u"less", true, false, false},
                                         OperatorCase{u"greaterOrEqual", false, true, true},
                                         OperatorCase{u"lessOrEqual", true, true, false}),
                         [](const testing::TestParamInfo<OperatorCase>& info) {
                           const std::u16string_view op = info.param.op;
                           return std::string(op.begin(), op.end());
                         });

TEST(Operators, OnlyExactNamesAreKnown) {
  LogCapture log;
  EXPECT_TRUE(ParseCompareOperator(4, u"lessOrEqual"));
  EXPECT_FALSE(ParseCompareOperator(4, u"Equals"));
  EXPECT_FALSE(ParseCompareOperator(kIntNotSet, u""));
  EXPECT_EQ(log.lines(), (std::vector<std::u16string>{
                             u"ERROR: attribute 'value' of <operator> at line 4 has incorrect value (Equals)",
                             u"ERROR: attribute 'value' of <operator> at line -2147483647 has incorrect value ()"}));
}

TEST(Expressions, EveryProblemIsLoggedBeforeOneCriticalLine) {
  LogCapture log;
  sExpression e = Constants(1, u"equal", 2, 9);
  e.left.constValue = kParamNotSet;
  e.left.method = u"Country.HasWarWithCountry";
  e.left.params[0] = 1;
  EXPECT_THROW(ValidateExpression(e), FatalExitError);
  EXPECT_EQ(log.lines(), (std::vector<std::u16string>{
                             u"ERROR: param 1 for operand at line 9 must be defined!",
                             u"ERROR: attribute 'value' of <operator> at line 9 has incorrect value (equal)",
                             u"CRITICAL: Expression was incorrect. Terminating program. See errors above."}));
}

sConditionGroup Group(eGroupKind kind, std::vector<sExpression> expressions, std::vector<sConditionGroup> groups = {}) {
  sConditionGroup g;
  g.kind = kind;
  g.expressions = std::move(expressions);
  g.groups = std::move(groups);
  return g;
}

TEST(Groups, EmptyGroupsAreTrue) {
  EXPECT_TRUE(Group(kGroupAnd, {}).Evaluate());
  EXPECT_TRUE(Group(kGroupOr, {}).Evaluate());
}

struct GroupCase {
  const char* name;
  sConditionGroup group;
  bool result;
  int resolved;  // expressions evaluated before the result was known
};

class GroupTest : public testing::TestWithParam<GroupCase> {};

TEST_P(GroupTest, ResultAndShortCircuit) {
  TestWorld world(2, 2, 1);
  world.game().flags[0] = 1;
  LogCapture log;
  sConditionGroup group = GetParam().group;
  EXPECT_EQ(group.Evaluate(), GetParam().result);
  int resolved = 0;
  for (const auto& line : log.lines()) resolved += line == u"Expression OK, starting resolving it...";
  EXPECT_EQ(resolved, GetParam().resolved);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, GroupTest,
    testing::Values(
        GroupCase{"AndStopsAtFirstFalse", Group(kGroupAnd, {FlagIs(1), FlagIs(0), FlagIs(1)}), false, 2},
        GroupCase{"AndAllTrue", Group(kGroupAnd, {FlagIs(1), FlagIs(1)}), true, 2},
        GroupCase{"OrStopsAtFirstTrue", Group(kGroupOr, {FlagIs(0), FlagIs(1), FlagIs(0)}), true, 2},
        GroupCase{"OrFalseExpressionTrueChild", Group(kGroupOr, {FlagIs(0)}, {Group(kGroupAnd, {FlagIs(1)})}), true,
                  2},
        GroupCase{"AndTrueExpressionsFalseChild",
                  Group(kGroupAnd, {FlagIs(1), FlagIs(1)}, {Group(kGroupOr, {FlagIs(0)})}), false, 3},
        GroupCase{"ChildGroupsWaitForExpressions",
                  Group(kGroupAnd, {FlagIs(0)}, {Group(kGroupAnd, {FlagIs(1)})}), false, 1},
        GroupCase{"OtherKindsAreOr", Group(static_cast<eGroupKind>(7), {FlagIs(0), FlagIs(1)}), true, 2}),
    [](const testing::TestParamInfo<GroupCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tr::test
