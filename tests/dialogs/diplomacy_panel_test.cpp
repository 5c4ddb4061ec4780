// The diplomacy panel: what it shows of the selected hex's controller, which
// actions it offers on an own and on a foreign country, the war declaration
// through its confirmation and result box, the actions that act at once, the
// answers of its dialogs, moving it with its toggle icon, and that every text
// it shows exists in English. Screenshots of both states stay in the build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "dialogs/diplomacy_panel.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/elections_dialog.h"
#include "dialogs/small_dialogs.h"
#include "events/diplomacy.h"
#include "foundation/gui_layout.h"
#include "foundation/text.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "platform/graphics.h"
#include "support/english_texts.h"
#include "support/screen_fixture.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"
#include "world/panstwo.h"

namespace tr {
namespace {

class DiplomacyPanelTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    world_ = std::make_unique<test::TestWorld>(6, 6, 3);
    for (int c = 1; c <= 3; ++c) {
      country(c).isActive = 1;
      country(c).diplomaticPoints = 100000;
    }
    country(1).orientation = kProAllied;
    country(2).orientation = kProAxis;
    game().playerControl.currentCountry = &country(1);
    hex(1, 1).controller = 1;
    hex(4, 4).controller = 2;
    panel_ = new cDiplomacyPanel();
    gDiplomacyPanel = panel_;
  }
  void TearDown() override {
    PopModalDialogs(-1);
    DestroyGamePanels();
    world_.reset();
    ScreenFixture::TearDown();
  }
  cGame& game() { return world_->game(); }
  cCountry& country(int id) { return world_->country(id); }
  sHex& hex(int x, int y) { return world_->hex(x, y); }

  void Select(int x, int y) {
    game().playerControl.selectedHex = &hex(x, y);
    panel_->Update();
  }
  std::u16string Field(int id) {
    auto* field = static_cast<CDXUTEditBox*>(panel_->GetControlOfType(id, kControlEditBox));
    return field != nullptr ? field->GetText() : u"<none>";
  }
  bool Visible(int id) { return panel_->GetControl(id)->GetVisible(); }
  bool Enabled(int id) { return panel_->GetControlEnabled(id); }
  std::vector<std::u16string> WarList() {
    auto* list = static_cast<CDXUTListBox*>(panel_->GetControlOfType(cDiplomacyPanel::kWarList, kControlListBox));
    std::vector<std::u16string> names;
    for (int i = 0; i < list->GetSize(); ++i) names.push_back(list->GetItem(i)->text);
    return names;
  }
  void Press(int id) { panel_->OnGUIEvent(0x0101, id, panel_->GetControl(id)); }
  static std::u16string TopTitle() {
    auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
    if (box == nullptr) return u"<no text box>";
    // The title is the static after the layout base.
    auto* title = static_cast<CDXUTStatic*>(box->GetControlOfType(cDialogTekstowy::kDefaultLayoutBase + 1, kControlStatic));
    return title != nullptr ? title->GetText() : u"<no title>";
  }

  std::unique_ptr<test::TestWorld> world_;
  cDiplomacyPanel* panel_ = nullptr;
};

TEST_F(DiplomacyPanelTest, AHexWithoutControllerEmptiesThePanelAndHidesEveryButton) {
  Select(4, 4);
  Select(2, 2);
  EXPECT_EQ(panel_->shownCountry(), nullptr);
  for (int id = 602; id <= 608; ++id) EXPECT_FALSE(Visible(id)) << id;
  EXPECT_FALSE(Visible(cDiplomacyPanel::kFlag));
  for (int id = 611; id <= 625; id += 2) EXPECT_EQ(Field(id), u"-") << id;
  EXPECT_TRUE(WarList().empty());
}

TEST_F(DiplomacyPanelTest, AnOwnHexOffersTheDomesticActionsAsTheirChecksAllow) {
  country(1).doneParliamentaryElections = 1;  // elections refused
  Select(1, 1);
  EXPECT_EQ(panel_->shownCountry(), &country(1));
  for (int id : {602, 603, 604}) EXPECT_FALSE(Visible(id)) << id;
  using Check = bool (*)(int, std::u16string&);
  const struct {
    int id;
    Check check;
  } domestic[] = {{605, CanDelayAllianceEntry}, {606, CanHasteAllianceEntry}, {607, CanHoldElections},
                  {608, CanChangeOrientation}};
  for (const auto& d : domestic) {
    std::u16string text;
    const bool allowed = d.check(1, text);
    EXPECT_TRUE(Visible(d.id)) << d.id;
    EXPECT_EQ(Enabled(d.id), allowed) << d.id;
    EXPECT_EQ(panel_->GetControl(d.id)->GetHint(), text) << d.id;
  }
  EXPECT_FALSE(Enabled(607));
  EXPECT_EQ(Field(cDiplomacyPanel::kCountryName), country(1).name);
}

TEST_F(DiplomacyPanelTest, AForeignHexOffersTheForeignActionsAndListsItsWarsInCountryOrder) {
  country(2).socialUnrest = 12.25f;
  country(2).warEconomy = 40.0f;
  country(2).allianceEntry = 35;
  country(2).politicalStrength = 7;
  country(2).alliance = 5;
  for (int other : {3, 1}) {
    game().relations.SetWar(other, 2, true);
    game().relations.SetWar(2, other, true);
  }
  Select(4, 4);
  for (int id : {605, 606, 607, 608}) EXPECT_FALSE(Visible(id)) << id;
  using Check = bool (*)(int, int, std::u16string&);
  const struct {
    int id;
    Check check;
  } foreign[] = {{602, CanDeclareWar}, {603, CanExertPressure}, {604, CanStageCoupDetat}};
  for (const auto& f : foreign) {
    std::u16string text;
    const bool allowed = f.check(1, 2, text);
    EXPECT_TRUE(Visible(f.id)) << f.id;
    EXPECT_EQ(Enabled(f.id), allowed) << f.id;
    EXPECT_EQ(panel_->GetControl(f.id)->GetHint(), text) << f.id;
  }
  EXPECT_EQ(Field(cDiplomacyPanel::kSocialUnrest), u"12.2%");
  EXPECT_EQ(Field(cDiplomacyPanel::kWarEconomy), u"40.0%");
  EXPECT_EQ(Field(cDiplomacyPanel::kAlliance), u"diplomacy_country_axis_leader");
  EXPECT_EQ(Field(cDiplomacyPanel::kAllianceEntry), u"35%");
  EXPECT_EQ(Field(cDiplomacyPanel::kPoliticalStrength), u"7");
  EXPECT_EQ(WarList(), (std::vector<std::u16string>{country(1).name, country(3).name}));
  country(3).isActive = 0;
  panel_->Update();
  EXPECT_EQ(WarList(), (std::vector<std::u16string>{country(1).name}));
}

TEST_F(DiplomacyPanelTest, DeclaringWarShowsTheResultBelowTheClosingConfirmation) {
  Select(4, 4);
  Press(cDiplomacyPanel::kDeclareWar);
  EXPECT_EQ(panel_->pendingAction(), cDiplomacyPanel::kWarAwaitingConfirmation);
  auto* confirm = dynamic_cast<cDialogPotwierdzenia*>(TopDialog);
  ASSERT_NE(confirm, nullptr);
  EXPECT_EQ(confirm->owner, panel_);
  // Another action waits for the answer.
  Press(cDiplomacyPanel::kExternPressure);
  EXPECT_EQ(TopDialog, confirm);

  confirm->OnGUIEvent(0x0101, cDialogPotwierdzenia::kYesButton, confirm->GetControl(cDialogPotwierdzenia::kYesButton));
  EXPECT_EQ(TopTitle(), u"diplomacy_declare_war_result_title");
  EXPECT_EQ(ModalDialogStack.size(), 1u);
  EXPECT_TRUE(game().relations.IsAtWar(1, 2));
  EXPECT_EQ(panel_->pendingAction(), cDiplomacyPanel::kNoAction);
  EXPECT_EQ(WarList(), (std::vector<std::u16string>{country(1).name}));
}

TEST_F(DiplomacyPanelTest, RefusingTheWarChangesNothing) {
  Select(4, 4);
  const int points = country(1).diplomaticPoints;
  Press(cDiplomacyPanel::kDeclareWar);
  auto* confirm = dynamic_cast<cDialogPotwierdzenia*>(TopDialog);
  ASSERT_NE(confirm, nullptr);
  confirm->OnGUIEvent(0x0101, cDialogPotwierdzenia::kNoButton, confirm->GetControl(cDialogPotwierdzenia::kNoButton));
  EXPECT_EQ(TopDialog, nullptr);
  EXPECT_FALSE(game().relations.IsAtWar(1, 2));
  EXPECT_EQ(country(1).diplomaticPoints, points);
  EXPECT_EQ(panel_->pendingAction(), cDiplomacyPanel::kNoAction);
  EXPECT_TRUE(WarList().empty());
}

TEST_F(DiplomacyPanelTest, ElectionsInAFirmDemocracyRunAtOnceTowardTheAllies) {
  country(1).orientation = kFirmDemocracy;
  Select(1, 1);
  Press(cDiplomacyPanel::kElections);
  EXPECT_EQ(country(1).orientation, kProAllied);
  EXPECT_EQ(country(1).doneParliamentaryElections, 1);
  EXPECT_EQ(TopTitle(), u"diplomacy_elections_result_title");
  EXPECT_EQ(panel_->pendingAction(), cDiplomacyPanel::kNoAction);
}

TEST_F(DiplomacyPanelTest, ElectionsElsewhereRunWithTheOrientationChosenInTheChoiceDialog) {
  Select(1, 1);
  Press(cDiplomacyPanel::kElections);
  EXPECT_EQ(panel_->pendingAction(), cDiplomacyPanel::kElectionsChoiceOpen);
  auto* choice = dynamic_cast<cDialogWyborow*>(TopDialog);
  ASSERT_NE(choice, nullptr);
  EXPECT_EQ(choice->owner, panel_);
  EXPECT_EQ(choice->country(), &country(1));
  int picked = -1;
  for (int orientation = 0; orientation <= 5 && picked < 0; ++orientation) {
    if (orientation != country(1).orientation && choice->GetControl(orientation) != nullptr) picked = orientation;
  }
  ASSERT_GE(picked, 0);
  choice->OnGUIEvent(0x0101, picked, choice->GetControl(picked));
  EXPECT_EQ(country(1).orientation, picked);
  EXPECT_EQ(country(1).doneParliamentaryElections, 1);
  EXPECT_EQ(ModalDialogStack.size(), 1u);
  EXPECT_EQ(TopTitle(), u"diplomacy_elections_in_country_title");
  EXPECT_EQ(panel_->pendingAction(), cDiplomacyPanel::kNoAction);
}

TEST_F(DiplomacyPanelTest, CancellingTheElectionsChoiceChangesNothing) {
  Select(1, 1);
  Press(cDiplomacyPanel::kElections);
  auto* choice = dynamic_cast<cDialogWyborow*>(TopDialog);
  ASSERT_NE(choice, nullptr);
  choice->OnGUIEvent(0x0101, cDialogWyborow::kCancelButton, choice->GetControl(cDialogWyborow::kCancelButton));
  EXPECT_EQ(TopDialog, nullptr);
  EXPECT_EQ(country(1).orientation, kProAllied);
  EXPECT_EQ(country(1).doneParliamentaryElections, 0);
  EXPECT_EQ(panel_->pendingAction(), cDiplomacyPanel::kNoAction);
}

TEST_F(DiplomacyPanelTest, ACancelledChoiceChangesNothingAndFreesThePanel) {
  Select(4, 4);
  Press(cDiplomacyPanel::kDeclareWar);
  panel_->OnGUIEvent(0x0101, cDiplomacyPanel::kChoiceCancelled, nullptr);
  EXPECT_EQ(panel_->pendingAction(), cDiplomacyPanel::kNoAction);
  EXPECT_FALSE(game().relations.IsAtWar(1, 2));
  EXPECT_EQ(country(2).orientation, kProAxis);
}

TEST_F(DiplomacyPanelTest, AChoiceOutsideTheElectionsChangesTheOrientationWithItsBoxBelowTheChoice) {
  Select(1, 1);
  std::u16string text;
  ASSERT_TRUE(CanChangeOrientation(1, text));
  panel_->OnGUIEvent(0x0101, kProAxis, nullptr);
  EXPECT_EQ(country(1).orientation, kProAxis);
  EXPECT_EQ(TopTitle(), u"diplomacy_change_orientation_of_country_title");
}

// A firm regime (0 to 2) turns to its leaning at once; a leaning (3 and up)
// is asked where to turn.
class OrientationChangeTest : public DiplomacyPanelTest, public testing::WithParamInterface<int> {};

TEST_P(OrientationChangeTest, RegimesTurnAtOnceAndLeaningsChoose) {
  const int from = GetParam();
  country(1).orientation = from;
  Select(1, 1);
  Press(cDiplomacyPanel::kChangeOrientation);
  if (from <= kCommunistRegime) {
    EXPECT_EQ(country(1).orientation, from + 3);
    EXPECT_EQ(TopTitle(), u"diplomacy_change_orientation_of_country_title");
  } else {
    EXPECT_EQ(country(1).orientation, from);
    EXPECT_NE(dynamic_cast<cDialogWyborow*>(TopDialog), nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(Orientations, OrientationChangeTest,
                         testing::Values(kFirmDemocracy, kCommunistRegime, kProAllied),
                         [](const auto& info) { return "From" + std::to_string(info.param); });

TEST_F(DiplomacyPanelTest, DomesticActionsShowTheirResult) {
  country(1).allianceEntry = 50;
  Select(1, 1);
  Press(cDiplomacyPanel::kLowerWarEntry);
  EXPECT_EQ(TopTitle(), u"diplomacy_delay_entry_result_title");
  EXPECT_EQ(country(1).doneDelayWarEntry, 1);
  // Once a turn: the panel now refuses it.
  EXPECT_FALSE(Enabled(cDiplomacyPanel::kLowerWarEntry));
}

TEST_F(DiplomacyPanelTest, TheToggleIconMovesTheWholePanel) {
  const sGuiLayoutEntry before = sGuiLayoutTable[cDiplomacyPanel::kWarList];
  const int buttonX = panel_->GetControl(cDiplomacyPanel::kDeclareWar)->x();
  MovePanelOfToggle(600, -10, 5);
  EXPECT_EQ(sGuiLayoutTable[cDiplomacyPanel::kWarList].x, before.x - 10);
  EXPECT_EQ(sGuiLayoutTable[cDiplomacyPanel::kWarList].y, before.y + 5);
  EXPECT_EQ(panel_->GetControl(cDiplomacyPanel::kDeclareWar)->x(), buttonX - 10);
}

// The panel paints something, and the own hex's actions look different from the foreign hex's.
TEST_F(DiplomacyPanelTest, ScreenshotsOfAnOwnAndAForeignHexDiffer) {
  panel_->SetMinimized(false);
  std::vector<std::string> pictures;
  const auto saveShot = [&](const std::string& file) {
    const auto path = std::filesystem::path(TR_GAME_DIR).parent_path() / file;
    EXPECT_TRUE(frame_->graphics().SaveScreenshot(path));
    return path;
  };
  for (const auto& [x, file] : {std::pair{1, "diplomacy_panel_own.png"}, std::pair{4, "diplomacy_panel_foreign.png"}}) {
    Select(x, x);
    frame_->graphics().Clear(0xFF000000u);
    const std::string blank = test::ReadFileBytes(saveShot(std::string("blank_") + file));
    panel_->Render(0.0f);
    pictures.push_back(test::ReadFileBytes(saveShot(file)));
    EXPECT_NE(pictures.back(), blank) << file;
  }
  EXPECT_NE(pictures[0], pictures[1]);
}

// The test's string base answers every key with itself: whatever the panel
// shows that looks like a key must have an English text.
TEST_F(DiplomacyPanelTest, EveryTextItShowsHasAnEnglishText) {
  const std::set<std::string> english = test::EnglishTextKeys();
  std::set<std::string> shown;
  const auto collect = [&] {
    for (const auto& control : panel_->Controls()) {
      shown.insert(Utf16ToUtf8(control->GetHint()));
      if (auto* text = dynamic_cast<CDXUTStatic*>(control.get())) shown.insert(Utf16ToUtf8(text->GetText()));
      if (auto* field = dynamic_cast<CDXUTEditBox*>(control.get())) shown.insert(Utf16ToUtf8(field->GetText()));
    }
  };
  for (int alliance = 0; alliance <= 6; ++alliance) {
    country(2).alliance = alliance;
    Select(4, 4);
    collect();
  }
  Select(1, 1);
  collect();
  for (const std::string& text : shown) {
    if (text.find('_') == std::string::npos || text.find(' ') != std::string::npos) continue;
    EXPECT_TRUE(english.count(text)) << text;
  }
  const char* boxes[] = {"diplomacy_declare_war_title",
                         "diplomacy_declare_war_on_country_question",
                         "diplomacy_declare_war_yes",
                         "diplomacy_declare_war_yes_hint",
                         "diplomacy_declare_war_no",
                         "diplomacy_declare_war_no_hint",
                         "diplomacy_declare_war_result_title",
                         "diplomacy_country_declare_war_on_country_unknown",
                         "diplomacy_country_declare_war_on_country",
                         "diplomacy_country_declare_war_on_country_country_join_alliance",
                         "diplomacy_country_declare_war_on_alliance",
                         "diplomacy_country_declare_war_on_country_all_alliance_countries_at_war_with_country",
                         "diplomacy_country_declare_war_on_country_country_join_alliance_alliance_at_war_with_alliance",
                         "diplomacy_country_declare_war_on_country_alliance_at_war_with_alliance",
                         "diplomacy_general_declare_war",
                         "diplomacy_extern_pressure_result_title",
                         "diplomacy_coup_detat_result_title",
                         "diplomacy_delay_entry_result_title",
                         "diplomacy_elections_result_title",
                         "diplomacy_elections_in_country_title",
                         "diplomacy_change_orientation_of_country_title"};
  for (const char* key : boxes) EXPECT_TRUE(english.count(key)) << key;
}

}  // namespace
}  // namespace tr
