// The event listing for scenario authors: the text of each record and the
// listing file written beside each event file.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include "event_builders.h"
#include "event_fixture.h"
#include "support/temp_dir.h"

namespace tr::test {
namespace {

struct EffectDumpCase {
  const char* name;
  sEffect effect;
  const char16_t* text;
};

class EffectDumpTest : public testing::TestWithParam<EffectDumpCase> {};

TEST_P(EffectDumpTest, ListsParamsUpToTheFirstMissingOne) {
  EXPECT_EQ(GetParam().effect.Dump(), GetParam().text);
}

sEffect WithGap() {
  sEffect effect = MakeEffect(u"M", {1, 2});
  effect.params[3] = 4;
  effect.paramStrings[1] = u"late";
  return effect;
}

INSTANTIATE_TEST_SUITE_P(
    Effects, EffectDumpTest,
    testing::Values(EffectDumpCase{"NumbersAndText", MakeEffect(u"M", {1, 2}, 7, {u"x"}), u"M(1, 2, \"x\")  #line: 7\n"},
                    EffectDumpCase{"Nothing", MakeEffect(u"Game.Nothing", {}, 3), u"Game.Nothing()  #line: 3\n"},
                    EffectDumpCase{"RoundsNumbers", MakeEffect(u"M", {2.6, -0.4}, 9), u"M(3, -0)  #line: 9\n"},
                    EffectDumpCase{"TextOnly", MakeEffect(u"T", {}, 1, {u"a", u"b"}), u"T(\"a\", \"b\")  #line: 1\n"},
                    EffectDumpCase{"StopsAtGaps", WithGap(), u"M(1, 2)  #line: 7\n"}),
    [](const testing::TestParamInfo<EffectDumpCase>& info) { return std::string(info.param.name); });

sExpression Left(std::u16string_view method) {
  sExpression expression;
  expression.left.method = method;
  return expression;
}

TEST(ConditionDump, GroupsComeFirstThenExpressionsIndentedByDepth) {
  sConditionGroup flat;
  flat.expressions = {Left(u"A"), Left(u"B")};
  EXPECT_EQ(flat.Dump(), u"A\nAND\nB\n");

  sConditionGroup nested;
  nested.expressions = {Left(u"A")};
  sConditionGroup inner;
  inner.kind = kGroupOr;
  inner.expressions = {Left(u"C"), Left(u"D")};
  sConditionGroup second;
  second.expressions = {Left(u"E"), Left(u"F")};
  nested.groups = {inner, second};
  // Each group at a depth is indented alike, whatever group came before it.
  EXPECT_EQ(nested.Dump(), u"C\n  OR\n  D\n\nAND\nE\n  AND\n  F\n\nAND\nA\n");
  EXPECT_EQ(sConditionGroup{}.Dump(), u"\n");
}

class EventListingTest : public EventFilesTest {};

TEST_F(EventListingTest, EventDumpShowsItsDatesOrAllTheTime) {
  cEvent event = MakeEvent(12, {MakeOption(40, {MakeEffect(u"Flag.SetValue", {1, 2}, 8)}, u"Go")});
  event.countryID = 2;
  event.condition.expressions = {Left(u"Flag.GetValue")};
  const std::u16string header = u"\n-------------------------------------------------\nTitle: Event2 (Event2)\nID: 12\n"
                                u"Country: Country2 (ID = 2)\nVisible by player: No\nOne time checking only: Yes\n"
                                u"Time of possible occurence: ";
  const std::u16string rest = u"\n\nConditions:\nFlag.GetValue\n\n----------\nOption: Go\nTooltip: \nID: 40\n"
                              u"AI chance: 40%\nEffects:\nFlag.SetValue(1, 2)  #line: 8\n\n\n";
  EXPECT_EQ(event.Dump(), header + u"all the time" + rest);
  event.beginDate = {1, 9, 1939};
  event.endDate = {2, 3, 1940};
  EXPECT_EQ(event.Dump(), header + u"1-9-1939 to  2- 3-1940" + rest);
}

TEST_F(EventListingTest, OneListingBesideEachEventFileReplacingNoOtherFile) {
  const std::string event = R"(<event eventID="3" countryID="1" visibleByPlayer="1" oneTimeChecking="0">)"
                            "<title>Hello</title></event>\n";
  WriteScenarioFile("event_files.txt",
                    "data\\scenarios\\S\\first.xml\r\ndata\\scenarios\\S\\Second.XML\r\n"
                    "data\\scenarios\\S\\third.dat\r\ndata\\scenarios\\S\\first\r\n");
  for (const char* name : {"first.xml", "Second.XML", "third.dat", "first"}) {
    WriteScenarioFile(name, EventFile(event));
  }
  LoadScenarioEvents();
  log_.Clear();
  engine_.ListAllEvents();

  const auto folder = dir_.path() / "data" / "scenarios" / "S";
  // "first" is an event file itself, so the listing of first.xml must not replace it.
  EXPECT_EQ(ReadFileBytes(folder / "first"), EventFile(event));
  const std::string listing = ReadFileBytes(folder / "first.xml.txt");
  EXPECT_NE(listing.find("\r\nTitle: Hello (Hello)\r\nID: 3\r\nCountry: Country1 (ID = 1)\r\n"), std::string::npos);
  EXPECT_NE(listing.find("Time of possible occurence: all the time\r\n"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(folder / "Second"), listing);
  EXPECT_EQ(ReadFileBytes(folder / "third.dat.txt"), listing);
  EXPECT_EQ(ReadFileBytes(folder / "first.txt"), listing);
  EXPECT_EQ(log_.lines(), std::vector<std::u16string>(4, u"Loading event id=3 at line 3"));
}

TEST_F(EventListingTest, ListingRepeatsTheLoadersFatalChecks) {
  WriteSingleEventFile(EventFile(R"(<event eventID="3" countryID="1" visibleByPlayer="1" oneTimeChecking="0"/>)"));
  LoadScenarioEvents();
  engine_.documents.front()->RootElement()->FirstChildElement("event")->RemoveAttribute("countryID");
  EXPECT_EQ(ExitCodeOf([&] { engine_.ListAllEvents(); }), 1);
  EXPECT_TRUE(log_.Contains(u"ERROR: <event> at line 3 has no countryID attribute or it's not an integer!"));
}

}  // namespace
}  // namespace tr::test
