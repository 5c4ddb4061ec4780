// The event-file list, the XML reader and the event records it builds.
#include <gtest/gtest.h>

#include <tinyxml.h>

#include <filesystem>
#include <utility>

#include "event_fixture.h"
#include "events/event_xml.h"
#include "events/xml_nesting.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "support/log_capture.h"

namespace tr::test {
namespace {

using namespace std::string_literals;

constexpr const char* kPlainEvent =
    R"(<event eventID="%ID%" countryID="1" visibleByPlayer="1" oneTimeChecking="0"><title>T</title>)"
    R"(<options><option optionID="1" chanceAI="1"/></options></event>)";

std::string EventWithId(int id) {
  std::string text = kPlainEvent;
  text.replace(text.find("%ID%"), 4, std::to_string(id));
  return text;
}

TEST_F(EventFilesTest, ListSkipsCommentsAndEmptyLinesAndLoadsFilesInOrder) {
  WriteScenarioFile("event_files.txt",
                    ";data\\scenarios\\S\\missing.xml\r\n\r\ndata\\scenarios\\S\\b.xml\r\ndata\\scenarios\\S\\a.xml");
  WriteScenarioFile("a.xml", EventFile(EventWithId(7)));
  WriteScenarioFile("b.xml", EventFile(EventWithId(3) + EventWithId(9)));
  LoadScenarioEvents();
  ASSERT_EQ(engine_.documents.size(), 2u);
  EXPECT_EQ(engine_.documents[0]->ValueStr(), "data\\scenarios\\S\\b.xml");
  ASSERT_EQ(engine_.events.size(), 3u);
  EXPECT_EQ(engine_.events[0].eventID, 3);
  EXPECT_EQ(engine_.events[1].eventID, 9);
  EXPECT_EQ(engine_.events[2].eventID, 7);
  EXPECT_EQ(engine_.checkedBits.size(), 10u);
}

TEST_F(EventFilesTest, MissingListMeansNoEventsAndNoError) {
  LoadScenarioEvents();
  EXPECT_TRUE(engine_.events.empty());
  EXPECT_TRUE(engine_.checkedBits.empty());
  EXPECT_TRUE(log_.Contains(u"Initializing XML events file"));
  EXPECT_TRUE(log_.Contains(u"*LOADING ALL EVENTS FROM DOM*"));
  EXPECT_TRUE(log_.Contains(u"*  FINISHED LOADING EVENTS  *"));
  EXPECT_TRUE(LinesStartingWith({u"ERR", u"CRI"}).empty());
}

TEST_F(EventFilesTest, UnparsableOrMissingFileIsFatal) {
  WriteScenarioFile("event_files.txt", "data\\scenarios\\S\\broken.xml\ndata\\scenarios\\S\\none.xml\n");
  WriteScenarioFile("broken.xml", "<events><event></events>");
  EXPECT_EQ(ExitCodeOf([&] { engine_.OpenEventFiles(u"S"); }), 1);
  EXPECT_TRUE(log_.Contains(u"ERROR initializing events from file data\\scenarios\\S\\broken.xml. Exiting..."));

  WriteScenarioFile("event_files.txt", "data\\scenarios\\S\\none.xml\n");
  EXPECT_EQ(ExitCodeOf([&] { engine_.OpenEventFiles(u"S"); }), 1);
  EXPECT_TRUE(log_.Contains(u"ERROR initializing events from file data\\scenarios\\S\\none.xml. Exiting..."));
}

// Lists and files that are not what they claim to be: each ends with the
// line naming the file, never with an exception or a read past the text.
struct UnreadableCase {
  const char* name;
  std::string list;  // "event_files.txt"
  std::string xml;   // events.xml; empty for a folder in its place
  std::vector<std::u16string> errors;
};

class UnreadableEventFileTest : public EventFilesTest, public testing::WithParamInterface<UnreadableCase> {};

TEST_P(UnreadableEventFileTest, IsFatalWithItsLines) {
  WriteScenarioFile("event_files.txt", GetParam().list);
  if (GetParam().xml.empty()) {
    std::filesystem::create_directories(dir_.path() / "data/scenarios/S/events.xml");
  } else {
    WriteScenarioFile("events.xml", GetParam().xml);
  }
  EXPECT_EQ(ExitCodeOf([&] { engine_.OpenEventFiles(u"S"); }), 1);
  EXPECT_EQ(LinesStartingWith({u"ERR", u"XML"}), GetParam().errors);
}

std::u16string ListLineError(std::u16string_view line) {
  return u"ERROR: data\\scenarios\\S\\event_files.txt names the events file " + std::u16string(line) +
         u", which is not a file of data\\scenarios\\S. Exiting...";
}

// An events file whose elements nest `levels` deep, on its second line.
std::string DeeplyNested(int levels) {
  std::string text = "<?xml version=\"1.0\"?>\n<events>";
  for (int i = 1; i < levels; ++i) text += "<a>";
  return text;
}

// The same nesting behind a tag the parser reads as unknown, whose quote it
// never sees as one: the depth scan must read the tag as the parser does.
std::string NestedBehind(const std::string& opening, int levels) {
  std::string text = "<events>" + opening;
  for (int i = 0; i < levels; ++i) text += "<a>";
  return text;
}

const std::u16string kEventsFileError = u"ERROR initializing events from file data\\scenarios\\S\\events.xml. Exiting...";

INSTANTIATE_TEST_SUITE_P(
    Events, UnreadableEventFileTest,
    testing::Values(
        UnreadableCase{"FolderInPlaceOfTheFile", "data\\scenarios\\S\\events.xml\r\n", "", {kEventsFileError}},
        // A list may name files of its own scenario only.
        UnreadableCase{"LineNamingTheScenarioFolder", "data\\scenarios\\S\r\n", "<events/>",
                       {ListLineError(u"data\\scenarios\\S")}},
        UnreadableCase{"LineCutShortByANul", "data\\scenarios\\S\0\\events.xml\r\n"s, "<events/>",
                       {ListLineError(u"data\\scenarios\\S")}},
        UnreadableCase{"AbsolutePath", "/etc/hostname\r\n", "<events/>", {ListLineError(u"/etc/hostname")}},
        UnreadableCase{"ParentFolders", "data\\scenarios\\S\\..\\..\\..\\Settings.ini\r\n", "<events/>",
                       {ListLineError(u"data\\scenarios\\S\\..\\..\\..\\Settings.ini")}},
        UnreadableCase{"OtherScenario", "data\\scenarios\\T\\events.xml\r\n", "<events/>",
                       {ListLineError(u"data\\scenarios\\T\\events.xml")}},
        UnreadableCase{"DriveLetter", "C:\\events.xml\r\n", "<events/>", {ListLineError(u"C:\\events.xml")}},
        // Nesting that would run the parser out of stack is refused before parsing.
        UnreadableCase{"NestedTooDeep", "data\\scenarios\\S\\events.xml\r\n", DeeplyNested(30000),
                       {u"XML error in data\\scenarios\\S\\events.xml at row 2, column 606: Elements are nested "
                        u"more than 200 deep.",
                        kEventsFileError}},
        UnreadableCase{"NestedBehindAQuoteInATagName", "data\\scenarios\\S\\events.xml\r\n",
                       NestedBehind("<'a>", 70000),
                       {u"XML error in data\\scenarios\\S\\events.xml at row 1, column 610: Elements are nested "
                        u"more than 200 deep.",
                        kEventsFileError}},
        // Only the byte-order mark counts as white space; a character that
        // shares its first two bytes starts a tag name.
        UnreadableCase{"NestedUnderNamesLikeAByteOrderMark", "data\\scenarios\\S\\events.xml\r\n",
                       [] {
                         std::string text = "<events>";
                         for (int i = 0; i < 300; ++i) text += "<\xEF\xBB\xBC>";
                         return text;
                       }(),
                       {u"XML error in data\\scenarios\\S\\events.xml at row 1, column 1004: Elements are "
                        u"nested more than 200 deep.",
                        kEventsFileError}},
        // A character reference runs to the next ';', over the end tags in between.
        UnreadableCase{"NestedBehindCharacterReferences", "data\\scenarios\\S\\events.xml\r\n",
                       [] {
                         std::string text = "<events>";
                         for (int i = 0; i < 300; ++i) text += "<a>&#</a>#1;";
                         return text;
                       }(),
                       {u"XML error in data\\scenarios\\S\\events.xml at row 1, column 2397: Elements are "
                        u"nested more than 200 deep.",
                        kEventsFileError}},
        UnreadableCase{"EndsInsideAMultiByteSequence",
                       "data\\scenarios\\S\\events.xml\r\n",
                       "<events>\n<event>\xF0\x9F",
                       {u"XML error in data\\scenarios\\S\\events.xml at row 2, column 8: The text is not valid UTF-8.",
                        kEventsFileError}},
        UnreadableCase{"EndsInsideATagName",
                       "data\\scenarios\\S\\events.xml\r\n",
                       "<events>\r\n<e\xE2\x82",
                       {u"XML error in data\\scenarios\\S\\events.xml at row 2, column 3: The text is not valid UTF-8.",
                        kEventsFileError}},
        UnreadableCase{"LatinOneText",
                       "data\\scenarios\\S\\events.xml\r\n",
                       "<events>\r<title>Caf\xE9</title></events>",
                       {u"XML error in data\\scenarios\\S\\events.xml at row 2, column 11: The text is not valid UTF-8.",
                        kEventsFileError}},
        UnreadableCase{"Surrogate",
                       "data\\scenarios\\S\\events.xml\r\n",
                       "<events><title>\xED\xA0\x80</title></events>",
                       {u"XML error in data\\scenarios\\S\\events.xml at row 1, column 16: The text is not valid UTF-8.",
                        kEventsFileError}}),
    [](const testing::TestParamInfo<UnreadableCase>& info) { return std::string(info.param.name); });

// An empty element opens no level, also when its last value is unquoted and
// runs up to the "/>"; an element at the limit is still within it.
TEST(XmlNesting, EmptyElementsOpenNoLevelWhateverTheirValues) {
  const std::string text = "<r><e x=1/><e y='2'/><e z=3 /><f><g/></f></r>";
  EXPECT_EQ(FindTooDeepElement(text, 3), std::string_view::npos);
  EXPECT_EQ(FindTooDeepElement(text, 2), text.find("<g/>"));
  EXPECT_EQ(FindTooDeepElement(text, 1), text.find("<e"));
}

// A hexadecimal reference runs over the end tags before its ';' as a decimal
// one does, with any hexadecimal digit.
TEST(XmlNesting, HexadecimalReferenceHidesTheEndTagsItRunsOver) {
  std::string text = "<r>";
  for (const char* digits : {"1f", "A0", "9F"}) text += std::string("<a>&#x</a>x") + digits + ";";
  EXPECT_EQ(FindTooDeepElement(text, 3), text.rfind("<a>"));
  EXPECT_EQ(FindTooDeepElement(text, 4), std::string_view::npos);
}

// The scan counts the nodes the parser makes: each element, attribute,
// comment, declaration, CDATA section and text that is not all white space,
// and no end tag. The node past the most starts where the scan says.
int DomNodes(const TiXmlNode& node) {
  int count = 1;
  if (const TiXmlElement* element = node.ToElement()) {
    for (const TiXmlAttribute* a = element->FirstAttribute(); a != nullptr; a = a->Next()) ++count;
  }
  for (const TiXmlNode* child = node.FirstChild(); child != nullptr; child = child->NextSibling()) {
    count += DomNodes(*child);
  }
  return count;
}

TEST(XmlNesting, CountsTheNodesOfTheParsersTree) {
  const std::string text = "<?xml version=\"1.0\"?>\n<r a=\"1\" b='2'>\n  <!-- c -->text &amp; more<e/>\n"
                           "<![CDATA[x]]><f g=3></f> <h/>tail</r>\n";
  TiXmlDocument document;
  document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
  ASSERT_FALSE(document.Error());
  const int nodes = DomNodes(document) - 1;  // the document itself is no node of the text
  EXPECT_EQ(nodes, 12);
  EXPECT_EQ(ScanXmlTree(text, 200, std::string_view::npos).nodes, 12u);
  for (const auto& [most, at] : {std::pair<std::size_t, std::size_t>{12, std::string_view::npos},
                                 {11, text.find("tail")}, {10, text.find("<h/>")}, {9, text.find("g=3")},
                                 {8, text.find("<f")}, {4, text.find("<!--")}, {3, text.find("b='2'")},
                                 {1, text.find("<r")}, {0, 0}, {5, text.find("text")}}) {
    EXPECT_EQ(ScanXmlTree(text, 200, most).tooMany, at) << most;
  }
  EXPECT_EQ(ScanXmlTree(text, 2, 100).tooDeep, std::string_view::npos);
  EXPECT_EQ(ScanXmlTree(text, 1, 100).tooDeep, text.find("<e/>"));
  // A text that ends inside a tag ends the count there.
  EXPECT_EQ(ScanXmlTree("<r a='1' ", 200, 100).nodes, 2u);
}

// The event files of a scenario hold up to 200,000 nodes together: at the
// limit they load, and a node more in either file stops the load there.
TEST_F(EventFilesTest, EventFilesHoldUpToTheirNodesTogether) {
  WriteScenarioFile("event_files.txt", "data\\scenarios\\S\\a.xml\r\ndata\\scenarios\\S\\b.xml\r\n");
  const std::string first = EventFile(EventWithId(7));
  const std::size_t firstNodes = ScanXmlTree(first, 200, std::string_view::npos).nodes;
  std::string padding;
  for (std::size_t i = ScanXmlTree(EventFile(""), 200, 100).nodes; i + firstNodes < 200000; ++i) {
    padding += "<p/>";
  }
  WriteScenarioFile("a.xml", first);
  WriteScenarioFile("b.xml", EventFile(padding));
  LoadScenarioEvents();
  ASSERT_EQ(engine_.events.size(), 1u);
  EXPECT_EQ(engine_.events[0].eventID, 7);
  EXPECT_TRUE(LinesStartingWith({u"ERR", u"XML"}).empty());

  WriteScenarioFile("b.xml", EventFile(padding + "\n<p/>"));
  EXPECT_EQ(ExitCodeOf([&] { engine_.OpenEventFiles(u"S"); }), 1);
  EXPECT_EQ(LinesStartingWith({u"ERR", u"XML"}),
            (std::vector<std::u16string>{
                u"XML error in data\\scenarios\\S\\b.xml at row 4, column 1: The events files "
                u"data\\scenarios\\S\\event_files.txt names hold more than 200000 elements, attributes and texts "
                u"together.",
                u"ERROR initializing events from file data\\scenarios\\S\\b.xml. Exiting..."}));
}

// An element may carry up to 64 attributes, an event's own as well as ones
// the game ignores; the attribute past them stops the load there, before the
// parser spends the square of their number comparing them.
TEST_F(EventFilesTest, ElementHoldsUpTo64Attributes) {
  const auto eventWithAttributes = [](int count) {
    std::string text = R"(<event eventID="7" countryID="1" visibleByPlayer="1" oneTimeChecking="0")";
    for (int i = 4; i < count; ++i) text += " x" + std::to_string(i) + "=\"\"";
    return text + R"(><title>T</title><options><option/></options></event>)";
  };
  WriteSingleEventFile(EventFile(eventWithAttributes(64)));
  LoadScenarioEvents();
  ASSERT_EQ(engine_.events.size(), 1u);
  EXPECT_EQ(engine_.events[0].eventID, 7);
  EXPECT_TRUE(LinesStartingWith({u"ERR", u"XML"}).empty());

  const std::string file = EventFile(eventWithAttributes(65));
  WriteSingleEventFile(file);
  const int column = static_cast<int>(file.find("x64") - file.find("<event ")) + 1;
  EXPECT_EQ(ExitCodeOf([&] { engine_.OpenEventFiles(u"S"); }), 1);
  EXPECT_EQ(LinesStartingWith({u"ERR", u"XML"}),
            (std::vector<std::u16string>{
                u"XML error in data\\scenarios\\S\\events.xml at row 3, column " +
                    Utf8ToUtf16(std::to_string(column)) + u": An element has more than 64 attributes.",
                u"ERROR initializing events from file data\\scenarios\\S\\events.xml. Exiting..."}));
}

TEST_F(EventFilesTest, ListThatIsAFolderMeansNoEvents) {
  std::filesystem::create_directories(dir_.path() / "data/scenarios/S/event_files.txt");
  LoadScenarioEvents();
  EXPECT_TRUE(engine_.documents.empty());
  EXPECT_TRUE(engine_.events.empty());
  EXPECT_TRUE(LinesStartingWith({u"ERR", u"CRI", u"XML"}).empty());
}

TEST_F(EventFilesTest, WellFormedMultiByteTextAndByteOrderMarkLoad) {
  WriteSingleEventFile("\xEF\xBB\xBF" + EventFile(R"(<event eventID="1" countryID="1" visibleByPlayer="1" )"
                                                  R"(oneTimeChecking="0"><title>Caf)" "\xC3\xA9 \xF0\x9F\x98\x80"
                                                  R"(</title><options><option/></options></event>)"));
  LoadScenarioEvents();
  ASSERT_EQ(engine_.events.size(), 1u);
  EXPECT_EQ(engine_.events[0].title, u"Caf\u00E9 \U0001F600");
}

struct RequiredCase {
  const char* name;
  const char* event;  // the event element on line 7 of its file
  const char16_t* message;
};

class RequiredAttributeTest : public EventFilesTest, public testing::WithParamInterface<RequiredCase> {};

TEST_P(RequiredAttributeTest, MissingOrNotIntegerIsFatalWithItsLine) {
  WriteSingleEventFile(EventFile("\n\n\n\n" + std::string(GetParam().event)));
  EXPECT_EQ(ExitCodeOf([&] { LoadScenarioEvents(); }), 1);
  EXPECT_EQ(LinesStartingWith({u"ERROR", u"CRI"}), std::vector<std::u16string>{GetParam().message});
}

INSTANTIATE_TEST_SUITE_P(
    Events, RequiredAttributeTest,
    testing::Values(
        RequiredCase{"EventId", R"(<event countryID="1" visibleByPlayer="1" oneTimeChecking="1"/>)",
                     u"ERROR: <event> at line 7 has no eventID attribute or it's not an integer!"},
        RequiredCase{"CountryId", R"(<event eventID="1" countryID="one" visibleByPlayer="1" oneTimeChecking="1"/>)",
                     u"ERROR: <event> at line 7 has no countryID attribute or it's not an integer!"},
        RequiredCase{"VisibleByPlayer", R"(<event eventID="1" countryID="1" oneTimeChecking="1"/>)",
                     u"ERROR: <event> at line 7 has no visibleByPlayer attribute or it's not an integer!"},
        RequiredCase{"OneTimeChecking", R"(<event eventID="1" countryID="1" visibleByPlayer="1" oneTimeChecking=""/>)",
                     u"ERROR: <event> at line 7 has no oneTimeChecking attribute or it's not an integer!"},
        RequiredCase{"BeginDay", R"(<event eventID="1" countryID="1" visibleByPlayer="1" oneTimeChecking="1">)"
                     R"(<beginDate month="1" year="1940"/></event>)",
                     u"ERROR: <beginDate> at line 7 has no 'day' attribute or it's not an integer!"},
        RequiredCase{"BeginMonth", R"(<event eventID="1" countryID="1" visibleByPlayer="1" oneTimeChecking="1">)"
                     R"(<beginDate day="1" month="x" year="1940"/></event>)",
                     u"ERROR: <beginDate> at line 7 has no 'month' attribute or it's not an integer!"},
        RequiredCase{"BeginYear", R"(<event eventID="1" countryID="1" visibleByPlayer="1" oneTimeChecking="1">)"
                     R"(<beginDate day="1" month="2"/></event>)",
                     u"ERROR: <beginDate> at line 7 has no 'year' attribute or it's not an integer!"},
        RequiredCase{"EndDay", R"(<event eventID="1" countryID="1" visibleByPlayer="1" oneTimeChecking="1">)"
                     R"(<endDate month="1" year="1940"/></event>)",
                     u"ERROR: <endDate> at line 7 has no 'day' attribute or it's not an integer!"},
        RequiredCase{"EndMonth", R"(<event eventID="1" countryID="1" visibleByPlayer="1" oneTimeChecking="1">)"
                     R"(<endDate day="1" year="1940"/></event>)",
                     u"ERROR: <endDate> at line 7 has no 'month' attribute or it's not an integer!"},
        RequiredCase{"EndYear", R"(<event eventID="1" countryID="1" visibleByPlayer="1" oneTimeChecking="1">)"
                     R"(<endDate day="1" month="2" year="99999999999"/></event>)",
                     u"ERROR: <endDate> at line 7 has no 'year' attribute or it's not an integer!"}),
    [](const testing::TestParamInfo<RequiredCase>& info) { return std::string(info.param.name); });

TEST_F(EventFilesTest, DefaultsOfOptionalValues) {
  WriteSingleEventFile(EventFile(R"(
<event eventID="4" countryID="2" visibleByPlayer="1" oneTimeChecking="0" enableInPbem="no">
  <beginDate day="3" month="4" year="1941"/>
  <options>
    <option optionID="2" chanceAI="x"><description>Yes</description>
      <effects><effect method="Flag.SetValue" param0="1" param1="2.5" paramString1="s"/></effects>
    </option>
  </options>
  <options><option/></options>
</event>
<event eventID="5" countryID="3" visibleByPlayer="0" oneTimeChecking="1" enableInPbem="0"><options><option/></options></event>
)"));
  LoadScenarioEvents();
  ASSERT_EQ(engine_.events.size(), 2u);
  const cEvent& event = engine_.events[0];
  EXPECT_EQ(event.enableInPbem, 1);
  EXPECT_EQ(engine_.events[1].enableInPbem, 0);
  EXPECT_EQ(event.beginDate.day, 3);
  EXPECT_EQ(event.beginDate.year, 1941);
  EXPECT_EQ(event.endDate.day, kIntNotSet);
  EXPECT_EQ(event.endDate.month, kIntNotSet);
  EXPECT_EQ(event.endDate.year, -2147483647);
  EXPECT_TRUE(event.condition.expressions.empty());
  ASSERT_EQ(event.options.size(), 2u);
  EXPECT_EQ(event.options[0].optionID, 2);
  EXPECT_EQ(event.options[0].chanceAI, -1);
  EXPECT_EQ(event.options[1].optionID, -1);
  EXPECT_EQ(event.options[0].description, u"Yes");
  ASSERT_EQ(event.options[0].effects.size(), 1u);
  const sEffect& effect = event.options[0].effects[0];
  EXPECT_EQ(effect.line, 8);
  EXPECT_EQ(effect.recognised, 0);
  EXPECT_EQ(effect.params[1], 2.5);
  EXPECT_EQ(effect.params[2], -2147483647.0);
  EXPECT_EQ(effect.paramStrings[0], u"");
  EXPECT_EQ(effect.paramStrings[1], u"s");
}

TEST_F(EventFilesTest, ConditionTakesItsFirstAndOrOrChild) {
  WriteSingleEventFile(EventFile(R"(
<event eventID="1" countryID="1" visibleByPlayer="1" oneTimeChecking="0">
  <condition><note/>
    <or>
      <and/>
      <expression><leftOperand constValue="1"/><operator value="equals"/><rightOperand constValue="1"/></expression>
      <or><expression><leftOperand constValue="2"/><operator value="less"/><rightOperand constValue="3"/></expression></or>
    </or>
    <and><note/></and>
  </condition><options><option/></options>
</event>)"));
  LoadScenarioEvents();
  const sConditionGroup& group = engine_.events.at(0).condition;
  EXPECT_EQ(group.kind, kGroupOr);
  ASSERT_EQ(group.expressions.size(), 1u);
  EXPECT_EQ(group.expressions[0].left.line, 8);
  EXPECT_EQ(group.expressions[0].operatorText, u"equals");
  ASSERT_EQ(group.groups.size(), 2u);
  EXPECT_EQ(group.groups[0].kind, kGroupAnd);
  EXPECT_EQ(group.groups[1].kind, kGroupOr);
  EXPECT_EQ(group.groups[1].expressions.at(0).right.constValue, 3.0);
}

TEST_F(EventFilesTest, EventNumbersUpTo40000Load) {
  WriteSingleEventFile(EventFile(EventWithId(0) + EventWithId(40000)));
  LoadScenarioEvents();
  EXPECT_EQ(engine_.events.size(), 2u);
  EXPECT_EQ(engine_.checkedBits.size(), 40001u);
  EXPECT_TRUE(log_.Contains(u"Loading event id=40000 at line 3"));
  EXPECT_TRUE(log_.Contains(u"Reserving memory for event bool vector... Max no. of events is 40000, event with ID "
                            u"higher than 40000 will crash..."));
}

TEST_F(EventFilesTest, EventNumberAbove40000IsFatal) {
  WriteSingleEventFile(EventFile(EventWithId(40001)));
  EXPECT_EQ(ExitCodeOf([&] { LoadScenarioEvents(); }), 1);
  EXPECT_TRUE(log_.Contains(u"ERROR: maxID = 40001 (have to be >= 0 && <= 40000"));
}

TEST_F(EventFilesTest, EventsTheGameCannotKeepAreLeftOutWithTheirFileAndLine) {
  WriteSingleEventFile(EventFile(R"(
<event eventID="-3" countryID="1" visibleByPlayer="1" oneTimeChecking="0"/>
<event eventID="2" countryID="4" visibleByPlayer="1" oneTimeChecking="0"/>
<event eventID="3" countryID="0" visibleByPlayer="1" oneTimeChecking="0"/>
<event eventID="1" countryID="3" visibleByPlayer="1" oneTimeChecking="0"><options><option/></options></event>
<event eventID="1" countryID="2" visibleByPlayer="1" oneTimeChecking="0"><options><option/></options></event>
<event eventID="4" countryID="2" visibleByPlayer="1" oneTimeChecking="0"><options><option/></options>
  <beginDate day="1" month="13" year="1940"/></event>
<event eventID="5" countryID="2" visibleByPlayer="1" oneTimeChecking="0"><options><option/></options>
  <endDate day="0" month="1" year="1940"/></event>
<event eventID="6" countryID="2" visibleByPlayer="1" oneTimeChecking="0"><options><option/></options>
  <beginDate day="1" month="1" year="0"/></event>
<event eventID="7" countryID="2" visibleByPlayer="1" oneTimeChecking="0"><options/></event>
<event eventID="8" countryID="2" visibleByPlayer="1" oneTimeChecking="0"><options><option/></options>
  <beginDate day="31" month="12" year="1939"/></event>
)"));
  LoadScenarioEvents();
  ASSERT_EQ(engine_.events.size(), 2u);
  EXPECT_EQ(engine_.events[0].eventID, 1);
  EXPECT_EQ(engine_.events[0].countryID, 3);
  EXPECT_EQ(engine_.events[1].eventID, 8);
  const std::u16string file = u"data\\scenarios\\S\\events.xml";
  EXPECT_EQ(LinesStartingWith({u"ERROR"}),
            (std::vector<std::u16string>{
                u"ERROR: <event> at line 4 of " + file + u" has a negative eventID (-3); the event is left out",
                u"ERROR: <event> at line 5 of " + file + u" has countryID 4, which names no country; the event is "
                                                        u"left out",
                u"ERROR: <event> at line 6 of " + file + u" has countryID 0, which names no country; the event is "
                                                        u"left out",
                u"ERROR: <event> at line 8 of " + file + u" has eventID 1, which an event before it has; the event "
                                                        u"is left out",
                u"ERROR: <event> at line 9 of " + file + u" has the beginDate 1.13.1940, which is not a day of the "
                                                        u"calendar (day 1-31, month 1-12, year 1-100000); the event "
                                                        u"is left out",
                u"ERROR: <event> at line 11 of " + file + u" has the endDate 0.1.1940, which is not a day of the "
                                                         u"calendar (day 1-31, month 1-12, year 1-100000); the event "
                                                         u"is left out",
                u"ERROR: <event> at line 13 of " + file + u" has the beginDate 1.1.0, which is not a day of the "
                                                         u"calendar (day 1-31, month 1-12, year 1-100000); the event "
                                                         u"is left out",
                u"ERROR: <event> at line 15 of " + file + u" has no <option>; the event is left out"}));
}

TEST_F(EventFilesTest, OnlyEventsDirectlyUnderTheRootLoad) {
  WriteSingleEventFile(EventFile("<group>" + EventWithId(5) + "</group>" + EventWithId(6)));
  LoadScenarioEvents();
  ASSERT_EQ(engine_.events.size(), 1u);
  EXPECT_EQ(engine_.events[0].eventID, 6);
}

TEST_F(EventFilesTest, TextsAreStringBaseKeysOrUtf8) {
  StringBase().SetText("event_test_title_key", u"  \tLocalised title \r\n");
  WriteSingleEventFile(EventFile(
      "<event eventID=\"1\" countryID=\"1\" visibleByPlayer=\"1\" oneTimeChecking=\"0\">"
      "<title>event_test_title_key</title><description>Zw\xC3\xB3l end</description><image/>"
      "<options><option><effects><effect method=\"Flag.SetValue\" param0=\"3\" param1=\"4\" paramString0=\"\xC5\x81\xC3\xB3" "d\xC5\xBA Guards\" "
      "paramString1=\"Caf\xC3\xA9 Rifles\"/></effects></option></options></event>"));
  test::LogCapture log;
  LoadScenarioEvents();
  const cEvent& event = engine_.events.at(0);
  EXPECT_EQ(event.title, u"Localised title");
  EXPECT_EQ(event.description, u"Zw\u00F3l end");
  EXPECT_EQ(event.image, u"");
  // A name an effect gives is saved in the 8-bit tables: letters they cannot
  // keep are the saved '?' from the start, and said so; the others stay.
  const sEffect& effect = event.options.at(0).effects.at(0);
  EXPECT_EQ(effect.paramStrings[0], u"?\u00F3d? Guards");
  EXPECT_EQ(effect.paramStrings[1], u"Caf\u00E9 Rifles");
  EXPECT_TRUE(log.ContainsText(u"gives the name \"\u0141\u00F3d\u017A Guards\", whose letters the Windows-1252 code "
                               u"page of saved games cannot all keep; it is used as \"?\u00F3d? Guards\""));
  EXPECT_FALSE(log.ContainsText(u"Caf\u00E9 Rifles\", whose"));
}

TEST_F(EventFilesTest, PictureNameThatLeavesTheEventsFolderIsFatal) {
  for (const char* image : {"..\\..\\Settings.ini", "/etc/hostname", "pictures\\a.png", "C:a.png"}) {
    log_.Clear();
    WriteSingleEventFile(EventFile(std::string(R"(<event eventID="4" countryID="1" visibleByPlayer="1" )") +
                                   R"(oneTimeChecking="0"><image>)" + image + "</image></event>"));
    EXPECT_EQ(ExitCodeOf([&] { LoadScenarioEvents(); }), 1) << image;
    EXPECT_EQ(LinesStartingWith({u"ERR"}),
              std::vector<std::u16string>{u"ERROR: <event> at line 3 of data\\scenarios\\S\\events.xml names the "
                                          u"image \"" + Utf8ToUtf16(image) + u"\", which is not a file name of "
                                          u"data\\events"});
  }
}

TEST(EventAttributes, NumbersReadAsTheirLeadingValue) {
  TiXmlElement element("e");
  element.SetAttribute("a", " +12x");
  element.SetAttribute("b", "2.9e1");
  element.SetAttribute("c", "nan");
  element.SetAttribute("d", "-");
  std::int32_t i = 0;
  double d = kParamNotSet;
  EXPECT_TRUE(QueryIntAttribute(element, "a", i));
  EXPECT_EQ(i, 12);
  EXPECT_TRUE(QueryNumberAttribute(element, "b", d));
  EXPECT_EQ(d, 29.0);
  EXPECT_FALSE(QueryNumberAttribute(element, "c", d));
  EXPECT_FALSE(QueryIntAttribute(element, "d", i));
  EXPECT_FALSE(QueryIntAttribute(element, "missing", i));
  EXPECT_EQ(i, 12);
  EXPECT_EQ(d, 29.0);
}

}  // namespace
}  // namespace tr::test
