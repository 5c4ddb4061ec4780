// The reports and research dialogs through the real program on the shipped
// sample with Kaltheim the human country: R opens the reports, which show a
// stored report, the victory-point tables and Kaltheim's statistics, and
// Escape closes them; T opens research, an investment is paid, and the game
// saved at the end of the turn holds the production points lower by its
// price and the raised investment. Screenshots of both dialogs stay in the
// build folder.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dialogs/dialog_researchu.h"
#include "dialogs/dialog_statystyk.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "gui/button.h"
#include "gui/list_box.h"
#include "gui/memo.h"
#include "gui/tab_frame.h"
#include "game_session.h"
#include "turn/game_steps.h"
#include "world/scenario_check.h"

namespace tr {
namespace {

class ReportsResearchSessionTest : public test::GameSessionTest {
 protected:
  void Script();
  void ReadReports(cCountry& human);
  void Invest(cCountry& human);
  // The controls' colours blend in over some frames.
  void Shot(const std::string& name) {
    for (int i = 0; i < 60; ++i) Frame();
    EXPECT_TRUE(frame_->graphics().SaveScreenshot(name)) << name;
  }
  template <typename Control>
  static Control& Get(const cDialog& dialog, int id) {
    auto* control = dynamic_cast<Control*>(dialog.GetControl(id));
    EXPECT_NE(control, nullptr) << id;
    return *control;
  }
  static std::vector<std::u16string> Rows(const cDialog& dialog, int id) {
    auto& list = Get<CDXUTListBox>(dialog, id);
    std::vector<std::u16string> rows;
    for (int i = 0; i < list.GetSize(); ++i) rows.push_back(list.GetItem(i)->text);
    return rows;
  }

  double ppBeforeInvesting_ = 0.0;
  float price_ = 0.0f;
  int tech_ = -1;
  int investment_ = 0;
  std::u16string autosave_;
};

void ReportsResearchSessionTest::ReadReports(cCountry& human) {
  {
    GameLockGuard lock;
    gGame->reports.Add(0, human.id, u"Kaltheim's infantry took the border post.");
  }
  PressKey('R');
  auto* reports = dynamic_cast<cDialogStatystyk*>(TopDialog);
  ASSERT_NE(reports, nullptr);
  using D = cDialogStatystyk;
  auto& countries = Get<CDXUTListBox>(*reports, D::kCountryList);
  for (int row = 0; row < countries.GetSize(); ++row) {
    if (countries.GetItem(row)->text == human.name) countries.SelectItem(row, true);
  }
  ASSERT_EQ(reports->selectedCountry(), &human);

  auto& types = Get<CDXUTListBox>(*reports, D::kTypeList);
  types.SelectItem(0, true);
  ASSERT_EQ(reports->selectedType(), D::kCountryStatsType);
  const std::vector<std::u16string> general = Rows(*reports, D::kStatsList);
  const std::u16string strength = Format(u"%s;%i", GetText("country_stats_political_strength"), human.politicalStrength);
  EXPECT_NE(std::find(general.begin(), general.end(), strength), general.end());
  Shot("reports_statistics_general.png");

  types.SelectItem(5, true);
  ASSERT_EQ(reports->selectedType(), D::kVictoryPointsType);
  auto& tabs = Get<CDXUTTabFrame>(*reports, D::kStatsTabs);
  for (int tab = 0; tab < 4; ++tab) {
    tabs.SelectTab(tab, true);
    EXPECT_FALSE(Rows(*reports, D::kStatsList).empty()) << tab;
    Shot("reports_victory_points_tab" + std::to_string(tab) + ".png");
  }

  Get<CDXUTTabFrame>(*reports, D::kTypeTabs).SelectTab(1, true);
  types.SelectItem(3, true);
  ASSERT_EQ(reports->selectedType(), 0);
  EXPECT_EQ(Get<CDXUTMemo>(*reports, D::kReportMemo).GetText(), u"Kaltheim's infantry took the border post.");
  Shot("reports_stored_report.png");

  PressKey(VK_ESCAPE);
  EXPECT_EQ(FindModalDialog(D::kDialogId), nullptr);
  EXPECT_EQ(TopDialog, nullptr);
}

void ReportsResearchSessionTest::Invest(cCountry& human) {
  PressKey('T');
  auto* research = dynamic_cast<cDialogResearchu*>(TopDialog);
  ASSERT_NE(research, nullptr);
  using D = cDialogResearchu;
  int row = 0;
  while (row < D::kRowCount && !research->GetControl(D::kInvestButton + row)->GetEnabled()) ++row;
  ASSERT_LT(row, D::kRowCount) << "no field to invest in";
  tech_ = D::kRowTech[static_cast<std::size_t>(row)];
  const auto slot = static_cast<std::size_t>(tech_);
  price_ = research->price(tech_);
  ppBeforeInvesting_ = human.productionPoints;
  investment_ = human.techInvestments[slot] + 1;
  Click(research->GetControl(D::kInvestButton + row));
  EXPECT_DOUBLE_EQ(human.productionPoints, ppBeforeInvesting_ - price_);
  EXPECT_EQ(human.techInvestments[slot], investment_);
  Shot("research_dialog.png");
  PressKey(VK_ESCAPE);
  EXPECT_EQ(FindModalDialog(D::kDialogId), nullptr);
}

void ReportsResearchSessionTest::Script() {
  gDelays.fill(0.0f);
  cCountry* human = StartSampleWithFirstCountryHuman("reports_settings_menu.png");
  ASSERT_NE(human, nullptr);
  ASSERT_EQ(human->name, u"Kaltheim");
  Frame();
  ReadReports(*human);
  Invest(*human);
  autosave_ = GetText("autosave");
  ASSERT_TRUE(EndTurnUntilItComesBack(human));
}

TEST_F(ReportsResearchSessionTest, KaltheimReadsItsReportsAndInvestsInResearch) {
  EXPECT_EQ(RunProgram([&] { Script(); }), 0);
  ASSERT_GE(tech_, 0);

  InstallGameSteps();
  sGameFolderArgs args;
  args.root = folder_.path().string();
  args.save = Utf16ToUtf8(autosave_);
  std::unique_ptr<cGame> saved(LoadGameFolder(args));
  UninstallGameSteps();
  // The test owns the loaded game; nothing else may reach it.
  if (gGame == saved.get()) gGame = nullptr;
  ASSERT_NE(saved, nullptr);
  const cCountry* kaltheim = saved->GetCountry(1);
  EXPECT_NEAR(kaltheim->productionPoints, ppBeforeInvesting_ - price_, 1e-3) << "price " << price_;
  EXPECT_EQ(kaltheim->techInvestments[static_cast<std::size_t>(tech_)], investment_);
}

}  // namespace
}  // namespace tr
