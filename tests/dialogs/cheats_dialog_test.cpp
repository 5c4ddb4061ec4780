// The cheats dialog: the countries it lists, the reports every change files
// to every country, typed numbers held within 32 bits, and the event it
// fires.
#include "dialogs/cheats_dialog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "app/modal_stack.h"
#include "gui/check_box.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "platform/codes.h"
#include "support/screen_fixture.h"
#include "support/world_builder.h"
#include "world/panstwo.h"

namespace tr {
namespace {

class CheatsDialogTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    world_ = std::make_unique<test::TestWorld>(4, 4, 4);
    for (int id = 1; id <= 4; ++id) {
      cCountry& c = world_->country(id);
      c.isActive = 1;
      c.name = u"Land" + std::u16string(1, static_cast<char16_t>(u'0' + id));
    }
    world_->country(2).isActive = 0;
    world_->country(3).politicalStrength = -1;
    world_->game().playerControl.currentCountry = &world_->country(4);
    world_->country(4).productionPoints = 100.0;
    oldEventId_ = CheatEventId;
  }
  void TearDown() override {
    PopModalDialogs(-1);
    ModalDialogStack.clear();
    TopDialog = nullptr;
    CheatEventId = oldEventId_;
    world_.reset();
    ScreenFixture::TearDown();
  }
  cDialogCheatow* Open() {
    dialog_ = new cDialogCheatow();
    PushModalDialog(dialog_);
    return dialog_;
  }
  CDXUTEditBox& Edit(int id) {
    return *static_cast<CDXUTEditBox*>(dialog_->GetControlOfType(id, kControlEditBox));
  }
  // The box's text selected, as after a click into it, then the characters typed.
  void Type(int id, std::u16string_view text) {
    Edit(id).SetText(Edit(id).GetText(), true);
    for (char16_t ch : text) Edit(id).MsgProc(WM_CHAR, ch, 0);
  }
  // The report texts in order, each checked to reach every country once.
  std::vector<std::u16string> Announced() {
    std::vector<std::u16string> texts;
    std::vector<int> countries;
    for (const sReport& r : world_->game().reports.Reports()) {
      EXPECT_EQ(r.type, 30);
      if (countries.empty() || countries.size() == 4) {
        countries.clear();
        texts.push_back(r.text);
      }
      EXPECT_EQ(r.text, texts.back());
      countries.push_back(r.country);
      EXPECT_EQ(r.country, static_cast<int>(countries.size()));
    }
    EXPECT_TRUE(countries.empty() || countries.size() == 4);
    return texts;
  }

  std::unique_ptr<test::TestWorld> world_;
  cDialogCheatow* dialog_ = nullptr;
  std::int32_t oldEventId_ = 0;
};

TEST_F(CheatsDialogTest, ListsActiveCountriesThatCanStandAndSelectsTheCurrentOne) {
  Open();
  auto& list = *static_cast<CDXUTListBox*>(dialog_->GetControlOfType(cDialogCheatow::kCountryList, kControlListBox));
  ASSERT_EQ(list.GetSize(), 2);
  EXPECT_EQ(list.GetItem(0)->text, u"Land1");
  EXPECT_EQ(list.GetItem(1)->text, u"Land4");
  EXPECT_EQ(list.GetSelectedIndex(), 1);
  EXPECT_EQ(Edit(cDialogCheatow::kProductionEdit).GetText(), u"100");
  EXPECT_EQ(Edit(cDialogCheatow::kEventEdit).GetText(), u"1000");
  list.SelectItem(0, true);
  EXPECT_EQ(dialog_->country(), &world_->country(1));
}

TEST_F(CheatsDialogTest, TypingPointsReportsEachValueAndKeepsTheLast) {
  Open();
  Type(cDialogCheatow::kProductionEdit, u"150");
  EXPECT_EQ(Announced(), (std::vector<std::u16string>{u"Land4 PP changed from 100 to 1 (-99 added)",
                                                       u"Land4 PP changed from 1 to 15 (14 added)",
                                                       u"Land4 PP changed from 15 to 150 (135 added)"}));
  EXPECT_DOUBLE_EQ(world_->country(4).productionPoints, 150.0);
  world_->game().reports.Clear();
  Type(cDialogCheatow::kDiplomacyEdit, u"7");
  EXPECT_EQ(Announced(), (std::vector<std::u16string>{u"Land4 DP changed from 0 to 7 (7 added)"}));
  EXPECT_EQ(world_->country(4).diplomaticPoints, 7);
}

// The difference of two values held in 32 bits needs 64.
TEST_F(CheatsDialogTest, HugeNumbersAreHeldAndTheirDifferenceIsExact) {
  world_->country(4).diplomaticPoints = -5;
  Open();
  // Enter on a pasted number.
  Edit(cDialogCheatow::kDiplomacyEdit).SetText(u"2147483647");
  dialog_->OnGUIEvent(GuiEventEditEnter, cDialogCheatow::kDiplomacyEdit, &Edit(cDialogCheatow::kDiplomacyEdit));
  EXPECT_EQ(Announced(), (std::vector<std::u16string>{u"Land4 DP changed from -5 to 2147483647 (2147483652 added)"}));
  world_->game().reports.Clear();
  world_->country(4).diplomaticPoints = -5;
  Edit(cDialogCheatow::kDiplomacyEdit).SetText(u"-5");
  Type(cDialogCheatow::kDiplomacyEdit, u"99999999999");
  const std::vector<std::u16string> texts = Announced();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), u"Land4 DP changed from 2147483647 to 2147483647 (0 added)");
  EXPECT_EQ(texts[9], u"Land4 DP changed from 999999999 to 2147483647 (1147483648 added)");
  world_->game().reports.Clear();
  world_->country(4).productionPoints = -5.0;
  Edit(cDialogCheatow::kProductionEdit).SetText(u"", false);
  Type(cDialogCheatow::kProductionEdit, u"2147483647");
  EXPECT_EQ(Announced().back(), u"Land4 PP changed from 214748364 to 2147483647 (1932735283 added)");
}

TEST_F(CheatsDialogTest, HumanControlIsSetAndAnnounced) {
  Open();
  auto* human = static_cast<CDXUTRadioButton*>(dialog_->GetControlOfType(cDialogCheatow::kHumanRadio, kControlRadioButton));
  ASSERT_NE(human, nullptr);
  EXPECT_FALSE(human->GetChecked());
  human->SetCheckedState(true, true, true);
  EXPECT_EQ(world_->country(4).humanControlled, 1);
  EXPECT_EQ(Announced(), (std::vector<std::u16string>{u"Land4 controller changed to Human"}));
}

TEST_F(CheatsDialogTest, FireReportsAnUnknownEventAndTheNumberIsKept) {
  Open();
  Type(cDialogCheatow::kEventEdit, u"5555");
  EXPECT_EQ(CheatEventId, 5555);
  dialog_->OnGUIEvent(GuiEventButtonClicked, cDialogCheatow::kFireButton, dialog_->GetControl(cDialogCheatow::kFireButton));
  EXPECT_EQ(Announced(), (std::vector<std::u16string>{u"Fired event 5555"}));
  PopModalDialogs(-1);
  Open();
  EXPECT_EQ(Edit(cDialogCheatow::kEventEdit).GetText(), u"5555");
}

}  // namespace
}  // namespace tr
