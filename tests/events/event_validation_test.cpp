// The effect table and the validation pass over whole event files: each
// broken file gives exactly its golden log and a fatal end.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "event_fixture.h"
#include "events/effect_methods.h"

namespace tr::test {
namespace {

sEffect Effect(std::u16string_view method, int numbers, int texts = 0) {
  sEffect e;
  e.method = method;
  e.line = 30;
  for (int i = 0; i < numbers; ++i) e.params[i] = i;
  for (int i = 0; i < texts; ++i) e.paramStrings[i] = u"x";
  return e;
}

TEST(EffectTable, EveryMethodPassesWithItsRequiredParamsAndFailsWithOneLess) {
  std::set<std::u16string_view> names;
  for (const sEffectMethod& m : EffectMethods()) {
    EXPECT_TRUE(names.insert(m.name).second);
    sEffect complete = Effect(m.name, m.numbers, m.texts);
    EXPECT_TRUE(ValidateEffect(complete));
    EXPECT_EQ(complete.recognised, 1);
    if (m.numbers > 0) {
      sEffect shortNumber = Effect(m.name, m.numbers - 1, m.texts);
      EXPECT_FALSE(ValidateEffect(shortNumber));
    }
    if (m.texts > 0) {
      sEffect shortText = Effect(m.name, m.numbers, m.texts - 1);
      EXPECT_FALSE(ValidateEffect(shortText));
    }
  }
  EXPECT_EQ(names.size(), 108u);
}

// Parameters beyond what a method needs are no fault, for every method.
TEST(EffectTable, ExtraParamsPass) {
  for (const sEffectMethod& m : EffectMethods()) {
    const int numbers = std::min(m.numbers + 1, kParamCount);
    const int texts = std::min(m.texts + 1, kParamStringCount);
    sEffect extra = Effect(m.name, numbers, texts);
    EXPECT_TRUE(ValidateEffect(extra)) << std::string(m.name.begin(), m.name.end());
  }
}

// A file whose validation ends the program, with the lines it must log.
struct BrokenFile {
  const char* name;
  const char* body;
  std::vector<std::u16string> log;
};

class BrokenFileTest : public EventFilesTest, public testing::WithParamInterface<BrokenFile> {};

TEST_P(BrokenFileTest, GoldenLog) {
  WriteSingleEventFile(EventFile(GetParam().body));
  EXPECT_EQ(ExitCodeOf([&] { LoadScenarioEvents(); }), 1);
  EXPECT_EQ(LinesStartingWith({u"ERR", u"nERR", u"WARN", u"CRI", u"<", u"Valid", u"*"}), GetParam().log);
  EXPECT_TRUE(engine_.events.empty());
}

constexpr const char* kGoodExpression =
    R"(<expression><leftOperand constValue="1"/><operator value="equals"/><rightOperand constValue="1"/></expression>)";

const std::u16string kSearchExpressions = u"Validation of events XML file. Searching for expressions...";
const std::u16string kSearchEffects = u"Validation of events XML file. Searching for effects...";
const std::u16string kBadExpression = u"CRITICAL: Expression was incorrect. Terminating program. See errors above.";

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenFileTest,
    testing::Values(
        BrokenFile{"ExpressionOutsideEveryEvent",
                   "<note>\n<expression><leftOperand/><operator value=\"less\"/>\n"
                   "<rightOperand constValue=\"2\"/></expression></note>\n",
                   {kSearchExpressions, u"<expression> found at row 4",
                    u"ERROR: operand element at line 4 has neither 'method' nor 'constValue' attribute. It must have "
                    u"one of them defined",
                    kBadExpression}},
        BrokenFile{"AllErrorsOfTheFirstBadExpression",
                   "<event eventID=\"1\" countryID=\"1\" visibleByPlayer=\"1\" oneTimeChecking=\"1\"><condition><and>\n"
                   "<expression><leftOperand method=\"Flag.GetValue\" constValue=\"3\"/>\n"
                   "<rightOperand method=\"Hex.Occupied\" param0=\"1\"/>\n<operator value=\"Equals\"/></expression>\n"
                   "<expression><leftOperand/></expression>\n"
                   "</and></condition></event>\n",
                   {kSearchExpressions, u"<expression> found at row 4", u"<expression> found at row 7",
                    u"nERROR: operand element at line 4 has both 'method' and 'constValue' attributes defined. Only "
                    u"one of them can be defined",
                    u"ERROR: param 1 for operand at line 5 must be defined!",
                    u"ERROR: attribute 'value' of <operator> at line 6 has incorrect value (Equals)",
                    kBadExpression}},
        BrokenFile{"MissingOperator",
                   "<x><expression><leftOperand constValue=\"1\"/><rightOperand method=\"Country.GetOrientation\" "
                   "param0=\"1\"/></expression></x>\n",
                   {kSearchExpressions, u"<expression> found at row 3",
                    u"ERROR: attribute 'value' of <operator> at line -2147483647 has incorrect value ()",
                    kBadExpression}},
        BrokenFile{"UnknownEffectMethod",
                   "<event eventID=\"1\" countryID=\"1\" visibleByPlayer=\"1\" oneTimeChecking=\"1\"><options><option>"
                   "<effects>\n<effect method=\"Flag.SetValue\" param0=\"1\" param1=\"1\"/>\n"
                   "<effect method=\"flag.SetValue\" param0=\"1\" param1=\"1\"/>\n"
                   "<effect method=\"Nothing\"/></effects></option></options></event>\n",
                   {kSearchExpressions, kSearchEffects, u"<effect> found at row 4", u"<effect> found at row 5",
                    u"<effect> found at row 6", u"ERROR: Effect at line 5 has unknown method (flag.SetValue)!",
                    u"CRITICAL: Effect at line 5 is not correct. See error messages above. Exiting..."}},
        BrokenFile{"MissingNumber",
                   "<effect method=\"Country.SetAICarrierTargetsPriorities\" param0=\"1\" param1=\"1\" param2=\"1\" "
                   "param3=\"1\" param4=\"1\" param5=\"1\" param6=\"1\" param7=\"1\"/>\n",
                   {kSearchExpressions, kSearchEffects, u"<effect> found at row 3",
                    u"ERROR: param8 for effect at line 3 is not defined!",
                    u"CRITICAL: Effect at line 3 is not correct. See error messages above. Exiting..."}},
        BrokenFile{"MissingText",
                   "<effect method=\"Hex.AddLandUnit\" param0=\"1\" param1=\"1\" param2=\"1\" param3=\"1\" "
                   "param4=\"1\" param5=\"1\" paramString0=\"\"/>\n",
                   {kSearchExpressions, kSearchEffects, u"<effect> found at row 3",
                    u"ERROR: paramString0 for effect at line 3 is not defined!",
                    u"CRITICAL: Effect at line 3 is not correct. See error messages above. Exiting..."}},
        BrokenFile{"ExpressionsBeforeEffects",
                   "<effect method=\"Nothing\"/>\n<expression/>\n",
                   {kSearchExpressions, u"<expression> found at row 4",
                    u"ERROR: operand element at line -2147483647 has neither 'method' nor 'constValue' attribute. "
                    u"It must have one of them defined",
                    u"ERROR: operand element at line -2147483647 has neither 'method' nor 'constValue' attribute. "
                    u"It must have one of them defined",
                    u"ERROR: attribute 'value' of <operator> at line -2147483647 has incorrect value ()",
                    kBadExpression}}),
    [](const testing::TestParamInfo<BrokenFile>& info) { return std::string(info.param.name); });

TEST_F(EventFilesTest, ValidFilesPassAndKeepTheValidationCopies) {
  WriteSingleEventFile(EventFile(std::string("<event eventID=\"2\" countryID=\"1\" visibleByPlayer=\"1\" "
                                             "oneTimeChecking=\"1\"><condition><or>") +
                                 kGoodExpression + "</or></condition><options><option><effects>"
                                 "<effect method=\"Commander.SetLevel\" param0=\"1\" param1=\"2\"/>"
                                 "</effects></option></options></event><x>" + kGoodExpression + "</x>"));
  LoadScenarioEvents();
  EXPECT_EQ(engine_.validationExpressions.size(), 2u);
  ASSERT_EQ(engine_.validationEffects.size(), 1u);
  EXPECT_EQ(engine_.validationEffects[0].recognised, 1);
  ASSERT_EQ(engine_.events.size(), 1u);
  EXPECT_EQ(engine_.events[0].options.at(0).effects.at(0).recognised, 0);
  EXPECT_TRUE(LinesStartingWith({u"ERR", u"CRI"}).empty());
}

}  // namespace
}  // namespace tr::test
