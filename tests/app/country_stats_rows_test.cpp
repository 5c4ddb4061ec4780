// A country's statistics as the reports dialog asks for them: the general
// tab's alliance rows of a member and of a neutral, and the units tab's
// columns. The scenario settings menu's own rows are tested with that menu.
#include "app/country_stats_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/format.h"
#include "foundation/string_base.h"
#include "gui/dialog.h"
#include "gui/list_box.h"
#include "support/screen_fixture.h"
#include "support/world_builder.h"
#include "world/panstwo.h"

namespace tr {
namespace {

class CountryStatsRowsTest : public test::ScreenFixture {
 protected:
  static constexpr int kListId = 1207;

  void SetUp() override {
    ScreenFixture::SetUp();
    SetLayout(kListId, 43, 61, 350, 217);
    ASSERT_TRUE(Succeeded(dialog_.AddListBoxAt(kListId, 0, &list_)));
    member_.alliance = kAxis;
    member_.allianceEntry = 100;
    member_.politicalStrength = 43;
    neutral_.alliance = kNeutral;
    neutral_.allianceEntry = 37;
    neutral_.politicalStrength = 29;
  }
  std::vector<std::u16string> Fill(const cCountry& country, int tab) {
    list_->RemoveAllItems();
    FillCountryStatistics(*list_, country, tab, eAllianceRows::kEveryCountry);
    std::vector<std::u16string> rows;
    for (int i = 0; i < list_->GetSize(); ++i) rows.push_back(list_->GetItem(i)->text);
    return rows;
  }
  static std::u16string Key(const std::u16string& row) { return row.substr(0, row.find(u';')); }

  test::TestWorld world_{3, 3, 2};
  cCountry& member_ = world_.country(1);
  cCountry& neutral_ = world_.country(2);
  CDXUTDialog dialog_;
  CDXUTListBox* list_ = nullptr;
};

TEST_F(CountryStatsRowsTest, AMemberShowsItsAllianceAndANeutralItsEntryInstead) {
  std::u16string alliance;
  member_.GetAllianceName(alliance, true);
  const std::vector<std::u16string> memberRows = Fill(member_, kStatsGeneralTab);
  ASSERT_GE(memberRows.size(), 4u);
  EXPECT_EQ(memberRows[0], Format(u"%s;%s", GetText("country_stats_alliance"), alliance));
  EXPECT_EQ(Key(memberRows[1]), GetText("country_stats_political_orientation"));
  EXPECT_EQ(Key(memberRows[2]), GetText("country_stats_zone_of_influence"));
  EXPECT_EQ(memberRows[3], Format(u"%s;43", GetText("country_stats_political_strength")));

  const std::vector<std::u16string> neutralRows = Fill(neutral_, kStatsGeneralTab);
  ASSERT_GE(neutralRows.size(), 4u);
  EXPECT_EQ(neutralRows[0], Format(u"%s;37%%", GetText("country_stats_alliance_entry")));
  EXPECT_EQ(Key(neutralRows[1]), GetText("country_stats_political_orientation"));
  EXPECT_EQ(Key(neutralRows[2]), GetText("country_stats_zone_of_influence"));
  EXPECT_EQ(neutralRows[3], Format(u"%s;29", GetText("country_stats_political_strength")));
  EXPECT_EQ(neutralRows.size(), memberRows.size());
}

// The types' names are long and the two counts short: the names get the
// wide column, and the three fill the list.
TEST_F(CountryStatsRowsTest, TheUnitsTabGivesTheTypeNamesTheWideColumn) {
  EXPECT_EQ(Fill(member_, kStatsUnitsTab).size(), 16u);
  const std::vector<sListColumn>& columns = list_->GetColumns();
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_GT(columns[0].width, columns[1].width + columns[2].width);
  EXPECT_NEAR(columns[0].width + columns[1].width + columns[2].width, list_->GetTextRect().width(), 2);
}

}  // namespace
}  // namespace tr
