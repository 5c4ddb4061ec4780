// The reports and statistics dialog: the countries it lists, the stored
// reports of a type one at a time, the victory-point tables and their
// orders, the country statistics, the tabs kept or rebuilt by type, and
// Enter and Escape.
#include "dialogs/dialog_statystyk.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/modal_stack.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/memo.h"
#include "gui/slider.h"
#include "gui/static.h"
#include "gui/tab_frame.h"
#include "platform/codes.h"
#include "support/screen_fixture.h"
#include "support/world_builder.h"
#include "units/unit.h"

namespace tr {
namespace {

using D = cDialogStatystyk;

// Six countries on a row of six hexes, each holding the city on its own hex:
// 1 "Varn" (axis leader, the current one), 2 "Albrecia" (allies leader),
// 3 "Ostmark" (axis), 4 "Aster" (axis, never surrenders), 5 "Brenn" (axis,
// the events country) and 6 "Zeta" (neutral, the last of the vector).
class ReportsDialogTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    world_ = std::make_unique<test::TestWorld>(6, 1, 6);
    const char16_t* names[] = {u"Varn", u"Albrecia", u"Ostmark", u"Aster", u"Brenn", u"Zeta"};
    const int alliances[] = {kAxisLeader, kAlliesLeader, kAxis, kAxis, kAxis, kNeutral};
    for (int id = 1; id <= 6; ++id) {
      cCountry& country = world_->country(id);
      country.name = names[id - 1];
      country.alliance = alliances[id - 1];
      country.politicalStrength = 50;
      world_->hex(id - 1, 0).controller = static_cast<std::uint8_t>(id);
      auto city = std::make_unique<cCity>();
      city->x = id - 1;
      city->name = names[id - 1];
      world_->game().cities.push_back(std::move(city));
    }
    world_->country(4).politicalStrength = -1;
    world_->country(5).specialFlags = 1;
    world_->game().playerControl.currentCountry = &world_->country(1);
  }
  void TearDown() override {
    // A text a test gave its key goes back to the key itself.
    StringBase().SetText("reports_count", u"reports_count");
    world_.reset();
    ScreenFixture::TearDown();
  }
  D& Open() {
    auto* dialog = new D();
    PushModalDialog(dialog);
    return *dialog;
  }
  void SetPoints(std::vector<int> points) {
    auto city = world_->game().cities.begin();
    for (const int value : points) (*city++)->victoryPoints = value;
  }
  template <typename Control>
  static Control& Get(const D& dialog, int id) {
    auto* control = dynamic_cast<Control*>(dialog.GetControl(id));
    EXPECT_NE(control, nullptr) << id;
    return *control;
  }
  static std::vector<std::u16string> Rows(const D& dialog, int id) {
    auto& list = Get<CDXUTListBox>(dialog, id);
    std::vector<std::u16string> rows;
    for (int i = 0; i < list.GetSize(); ++i) rows.push_back(list.GetItem(i)->text);
    return rows;
  }
  static std::vector<std::u16string> TabTitles(const D& dialog) {
    std::vector<std::u16string> titles;
    for (const auto& tab : Get<CDXUTTabFrame>(dialog, D::kStatsTabs).Tabs()) titles.push_back(tab.title);
    return titles;
  }
  // A click on the report type of the tab's row, as the player makes it.
  static void PickType(D& dialog, int tab, int row) {
    Get<CDXUTTabFrame>(dialog, D::kTypeTabs).SelectTab(tab, true);
    Get<CDXUTListBox>(dialog, D::kTypeList).SelectItem(row, true);
  }
  static void PickStatsTab(D& dialog, int tab) { Get<CDXUTTabFrame>(dialog, D::kStatsTabs).SelectTab(tab, true); }
  static bool Visible(const D& dialog, int id) { return dialog.GetControl(id)->GetVisible(); }
  void AddReport(int type, int country, std::u16string text, int day = 1) {
    sReport report;
    report.type = type;
    report.country = country;
    report.text = std::move(text);
    report.day = day;
    report.month = 10;
    report.year = 1939;
    report.turn = day + 1;
    world_->game().reports.Add(report, sReportStamp{1939, 10, day, day + 1});
  }

  std::unique_ptr<test::TestWorld> world_;
};

TEST_F(ReportsDialogTest, JustOpenedShowsNoReportsForTheFirstListedCountryOfTheOwnAlliance) {
  const D& dialog = Open();
  EXPECT_EQ(dialog.selectedType(), D::kNoType);
  EXPECT_EQ(Get<CDXUTListBox>(dialog, D::kTypeList).GetSelectedIndex(), -1);
  // The allies of the current country by name; the one that never
  // surrenders, the events country, the enemy and the neutral are left out.
  EXPECT_EQ(Rows(dialog, D::kCountryList), (std::vector<std::u16string>{u"Ostmark", u"Varn"}));
  EXPECT_EQ(dialog.selectedCountry(), &world_->country(3));
  EXPECT_EQ(Get<CDXUTStatic>(dialog, D::kReportCount).GetText(), u"reports_count_no_reports");
  EXPECT_EQ(Get<CDXUTEditBox>(dialog, D::kDateField).GetText(), u"-");
  EXPECT_EQ(Get<CDXUTMemo>(dialog, D::kReportMemo).GetText(), u"");
  EXPECT_FALSE(Get<CDXUTSlider>(dialog, D::kReportSlider).GetEnabled());
  EXPECT_TRUE(Visible(dialog, D::kReportMemo));
  EXPECT_FALSE(Visible(dialog, D::kStatsList));
  // The statistics tab's types, "Victory points" as it stands.
  EXPECT_EQ(Rows(dialog, D::kTypeList),
            (std::vector<std::u16string>{u"reports_general_summary", u"reports_production", u"reports_units_upkeep",
                                         u"reports_research", u"reports_convoys", u"Victory points"}));
}

TEST_F(ReportsDialogTest, ANeutralCurrentCountryListsOnlyItself) {
  world_->game().playerControl.currentCountry = &world_->country(6);
  EXPECT_EQ(Rows(Open(), D::kCountryList), std::vector<std::u16string>{u"Zeta"});
}

TEST_F(ReportsDialogTest, TheTypeRowsCarryTheTypeCodes) {
  const std::vector<int> statistics = {28, 22, 26, 23, 24, 29};
  const std::vector<int> events = {18, 20, 16, 0, 1, 8, 2, 14, 12, 21, 25, 30};
  for (const auto& [tab, codes] : {std::pair{0, statistics}, std::pair{1, events}}) {
    std::vector<int> shown;
    for (const sReportTypeRow& row : ReportTypeRows(tab)) shown.push_back(row.type);
    EXPECT_EQ(shown, codes) << tab;
  }
}

class StoredReports : public ReportsDialogTest, public testing::WithParamInterface<int> {};

TEST_P(StoredReports, StartOnTheNewestAndTheSliderWalksBack) {
  StringBase().SetText("reports_count", u"%i of %i");
  const int count = GetParam();
  for (int i = 1; i <= count; ++i) AddReport(0, 3, Format(u"attack %i", i), i);
  AddReport(1, 3, u"defence");
  AddReport(0, 1, u"someone else's");
  D& dialog = Open();
  PickType(dialog, 1, 3);
  ASSERT_EQ(dialog.selectedType(), 0);
  auto& slider = Get<CDXUTSlider>(dialog, D::kReportSlider);
  EXPECT_EQ(slider.GetMinimum(), 0);
  EXPECT_EQ(slider.GetMaximum(), count - 1);
  EXPECT_EQ(slider.GetValue(), count - 1);
  EXPECT_EQ(slider.GetEnabled(), count > 1);
  EXPECT_EQ(Get<CDXUTStatic>(dialog, D::kReportCount).GetText(), Format(u"%i of %i", count, count));
  EXPECT_EQ(Get<CDXUTMemo>(dialog, D::kReportMemo).GetText(), Format(u"attack %i", count));
  EXPECT_EQ(Get<CDXUTEditBox>(dialog, D::kDateField).GetText(), Format(u"%i/10/1939 - turn %i", count, count + 1));
  slider.SetValueWithEvent(0, true, true);
  EXPECT_EQ(Get<CDXUTStatic>(dialog, D::kReportCount).GetText(), Format(u"1 of %i", count));
  EXPECT_EQ(Get<CDXUTMemo>(dialog, D::kReportMemo).GetText(), u"attack 1");
}

INSTANTIATE_TEST_SUITE_P(Counts, StoredReports, testing::Values(1, 3));

TEST_F(ReportsDialogTest, AnotherCountryShowsItsOwnReports) {
  AddReport(0, 1, u"own attack");
  D& dialog = Open();
  PickType(dialog, 1, 3);
  EXPECT_EQ(Get<CDXUTStatic>(dialog, D::kReportCount).GetText(), u"reports_count_no_reports");
  Get<CDXUTListBox>(dialog, D::kCountryList).SelectItem(1, true);
  EXPECT_EQ(dialog.selectedCountry(), &world_->country(1));
  EXPECT_EQ(Get<CDXUTMemo>(dialog, D::kReportMemo).GetText(), u"own attack");
  // A new type keeps the chosen country; having no report of it, the last one shown goes.
  PickType(dialog, 1, 4);
  EXPECT_EQ(dialog.selectedCountry(), &world_->country(1));
  EXPECT_EQ(Get<CDXUTStatic>(dialog, D::kReportCount).GetText(), u"reports_count_no_reports");
  EXPECT_EQ(Get<CDXUTMemo>(dialog, D::kReportMemo).GetText(), u"");
  EXPECT_EQ(Get<CDXUTEditBox>(dialog, D::kDateField).GetText(), u"-");
}

TEST_F(ReportsDialogTest, TablesRebuildTheirTabsOnlyWhenTheTableTypeChanges) {
  const std::vector<std::u16string> victoryTabs = {u"Alliances", u"Countries by name", u"Countries by alliance",
                                                   u"Countries by VP"};
  const std::vector<std::u16string> statsTabs = {
      u"scenario_settings_tab_stats_general", u"scenario_settings_tab_stats_resources",
      u"scenario_settings_tab_stats_units", u"scenario_settings_tab_stats_technology"};
  D& dialog = Open();
  PickType(dialog, 0, 5);
  EXPECT_EQ(dialog.statsLayout(), D::kVictoryPointsType);
  EXPECT_EQ(TabTitles(dialog), victoryTabs);
  EXPECT_TRUE(Visible(dialog, D::kStatsList));
  EXPECT_FALSE(Visible(dialog, D::kReportMemo));
  PickStatsTab(dialog, 2);
  PickType(dialog, 0, 0);
  EXPECT_EQ(dialog.statsLayout(), D::kCountryStatsType);
  EXPECT_EQ(TabTitles(dialog), statsTabs);
  EXPECT_EQ(Get<CDXUTTabFrame>(dialog, D::kStatsTabs).GetSelectedTab(), 0);
  PickStatsTab(dialog, 3);
  // Two event types show stored reports; the table tabs stay as they were.
  PickType(dialog, 1, 3);
  PickType(dialog, 1, 4);
  EXPECT_EQ(dialog.statsLayout(), D::kCountryStatsType);
  EXPECT_EQ(Get<CDXUTTabFrame>(dialog, D::kStatsTabs).GetSelectedTab(), 3);
  EXPECT_FALSE(Visible(dialog, D::kStatsList));
  EXPECT_TRUE(Visible(dialog, D::kReportMemo));
}

TEST_F(ReportsDialogTest, AlliancesTabCountsEachAlliancesCities) {
  SetPoints({10, 7, 5, 3, 2, 100});
  D& dialog = Open();
  PickType(dialog, 0, 5);
  // Varn, Ostmark, Aster and Brenn are the axis; the neutral counts for nobody.
  EXPECT_EQ(Rows(dialog, D::kStatsList),
            (std::vector<std::u16string>{u"Allies|7", u"Axis|20", u"Comintern|0"}));
}

struct VictoryCase {
  const char* name;
  int tab;
  std::vector<int> points;
  std::vector<std::u16string> order;
};
class VictoryTables : public ReportsDialogTest, public testing::WithParamInterface<VictoryCase> {};

TEST_P(VictoryTables, ListEveryActivePlayingCountryButTheLastInTheTabsOrder) {
  SetPoints(GetParam().points);
  D& dialog = Open();
  PickType(dialog, 0, 5);
  PickStatsTab(dialog, GetParam().tab);
  std::vector<std::u16string> names;
  for (const std::u16string& row : Rows(dialog, D::kStatsList)) names.push_back(row.substr(0, row.find(u';')));
  EXPECT_EQ(names, GetParam().order);
}

// Aster never surrenders but is listed; Brenn is the events country, Zeta the last.
INSTANTIATE_TEST_SUITE_P(
    Orders, VictoryTables,
    testing::Values(VictoryCase{"ByName", 1, {1, 2, 3, 4, 5, 6}, {u"Albrecia", u"Aster", u"Ostmark", u"Varn"}},
                    VictoryCase{"ByAllianceKeepingTheVectorOrder", 2, {1, 2, 3, 4, 5, 6},
                                {u"Albrecia", u"Varn", u"Ostmark", u"Aster"}},
                    VictoryCase{"ByPointsEqualOnesInVectorOrder", 3, {4, 9, 4, 4, 0, 0},
                                {u"Albrecia", u"Varn", u"Ostmark", u"Aster"}},
                    VictoryCase{"NegativePointsLast", 3, {-5, 9, 0, 1000000000, 0, 0},
                                {u"Aster", u"Albrecia", u"Ostmark", u"Varn"}}),
    [](const auto& info) { return info.param.name; });

TEST_F(ReportsDialogTest, CountryRowsGiveNameAllianceAndPoints) {
  SetPoints({-5, 0, 0, 0, 0, 0});
  D& dialog = Open();
  PickType(dialog, 0, 5);
  PickStatsTab(dialog, 3);
  std::u16string alliance;
  world_->country(1).GetAllianceName(alliance, true);
  EXPECT_EQ(Rows(dialog, D::kStatsList).back(), Format(u"Varn;%s;-5", alliance));
  std::vector<std::u16string> titles;
  for (const sListColumn& column : Get<CDXUTListBox>(dialog, D::kStatsList).GetColumns()) {
    titles.push_back(column.title);
  }
  EXPECT_EQ(titles, (std::vector<std::u16string>{u"Country", u"Alliance", u"Victory points"}));
}

TEST_F(ReportsDialogTest, UnitsTabCountsSixteenTypesOnTheMapAndInReserve) {
  for (int i = 0; i < 2; ++i) world_->PlaceLandUnit(3, 1, 0).type = 1;
  D& dialog = Open();
  PickType(dialog, 0, 0);
  PickStatsTab(dialog, 2);
  const std::vector<std::u16string> rows = Rows(dialog, D::kStatsList);
  const int types[] = {0, 1, 2, 3, 4, 5, 6, 20, 21, 22, 40, 41, 42, 43, 44, 45};
  ASSERT_EQ(rows.size(), 16u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i], Format(u"%s;%i;%i", GetUnitTypeName(types[i]), types[i] == 1 ? 2 : 0, 0)) << types[i];
  }
}

struct GeneralCase {
  const char* name;
  int country;
  std::vector<std::u16string> firstKeys;
};
class GeneralTab : public ReportsDialogTest, public testing::WithParamInterface<GeneralCase> {};

TEST_P(GeneralTab, ANeutralStartsWithItsEntryAnyOtherWithItsAlliance) {
  world_->country(6).allianceEntry = 40;
  world_->game().playerControl.currentCountry = &world_->country(GetParam().country);
  D& dialog = Open();
  PickType(dialog, 0, 0);
  const std::vector<std::u16string> rows = Rows(dialog, D::kStatsList);
  ASSERT_GE(rows.size(), 4u);
  for (std::size_t i = 0; i < GetParam().firstKeys.size(); ++i) {
    EXPECT_EQ(rows[i].substr(0, rows[i].find(u';')), GetParam().firstKeys[i]) << i;
  }
  if (GetParam().country == 6) {
    EXPECT_EQ(rows[0], u"country_stats_alliance_entry;40%");
  }
  EXPECT_EQ(rows.back(), u"country_stats_nuclear_bombs;0");
}

INSTANTIATE_TEST_SUITE_P(
    Countries, GeneralTab,
    testing::Values(GeneralCase{"Neutral", 6,
                                {u"country_stats_alliance_entry", u"country_stats_political_orientation",
                                 u"country_stats_zone_of_influence", u"country_stats_political_strength"}},
                    GeneralCase{"Member", 1,
                                {u"country_stats_alliance", u"country_stats_political_orientation",
                                 u"country_stats_zone_of_influence", u"country_stats_political_strength"}}),
    [](const auto& info) { return info.param.name; });

class ReportsCloseKey : public ReportsDialogTest, public testing::WithParamInterface<std::uint32_t> {};

TEST_P(ReportsCloseKey, EnterAndEscapeClose) {
  D& dialog = Open();
  dialog.OnKeyboard(GetParam(), false, false);
  ASSERT_EQ(TopDialog, &dialog);
  dialog.OnKeyboard(GetParam(), true, false);
  EXPECT_EQ(TopDialog, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Keys, ReportsCloseKey, testing::Values(VK_RETURN, VK_ESCAPE));

}  // namespace
}  // namespace tr
