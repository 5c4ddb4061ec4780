// The combat-result dialog: its title by kind, the flags and result icons it
// shows and where, the countdown that closes it, the pause, and the wait for
// a click with a negative delay.
#include "dialogs/combat_result_dialog.h"

#include <gtest/gtest.h>

#include <string>

#include "app/modal_stack.h"
#include "gui/button.h"
#include "gui/static.h"
#include "platform/codes.h"
#include "support/screen_fixture.h"
#include "units/combat_result.h"

namespace tr {
namespace {

class CombatResultDialogTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
  }
  cDialogWynikuWalki& Open(float delayMs) {
    auto* dialog = new cDialogWynikuWalki(result_, delayMs);
    PushModalDialog(dialog);
    return *dialog;
  }
  static std::u16string StaticText(const cDialog& dialog, int id) {
    const auto* text = static_cast<const CDXUTStatic*>(dialog.GetControl(id));
    return text != nullptr ? text->GetText() : u"<none>";
  }
  static bool IsOpen() { return TopDialog != nullptr; }

  sCombatResult result_;
};

struct TitleCase {
  int kind;
  const char* key;
};
class CombatResultTitle : public CombatResultDialogTest, public testing::WithParamInterface<TitleCase> {};

TEST_P(CombatResultTitle, FollowsTheKind) {
  result_.kind = GetParam().kind;
  const cDialogWynikuWalki& dialog = Open(-1.0f);
  const std::u16string key(GetParam().key, GetParam().key + std::char_traits<char>::length(GetParam().key));
  EXPECT_EQ(StaticText(dialog, cDialogWynikuWalki::kTitle), key);
}

INSTANTIATE_TEST_SUITE_P(Kinds, CombatResultTitle,
                         testing::Values(TitleCase{0, "combatresult_land_battle_title"},
                                         TitleCase{7, "combatresult_shore_bombardment_title"},
                                         TitleCase{9, "combatresult_carrier_airstrike_sea_zone_title"},
                                         TitleCase{10, "combatresult_unknown_battle_title"},
                                         TitleCase{-1, "combatresult_unknown_battle_title"}));

TEST_F(CombatResultDialogTest, DefenderIconsStandInARowFromTheDefendersText) {
  result_.attackerCountry = 1;
  result_.defenderCountry = 2;
  result_.SetFlag(kFlagDefenderDestroyed);
  result_.SetFlag(kFlagDefenderSurrendered);
  result_.SetFlag(kFlagNavalUnitsHit);
  const cDialogWynikuWalki& dialog = Open(-1.0f);
  Rect text;
  ASSERT_TRUE(Succeeded(CDXUTDialog::GetLayoutRect(cDialogWynikuWalki::kDefenderText, &text)));
  const int expected[][2] = {{7501, 0}, {7502, 70}, {7506, 120}};
  for (const auto& [id, offset] : expected) {
    CDXUTControl* icon = dialog.GetControl(id);
    ASSERT_NE(icon, nullptr) << id;
    EXPECT_EQ(icon->x(), text.left + offset) << id;
    EXPECT_EQ(icon->y(), text.top + text.bottom + 5) << id;
    EXPECT_EQ(icon->width(), 40);
    EXPECT_FALSE(icon->GetHint().empty());
    EXPECT_TRUE(icon->GetEnabled());
  }
  for (int id : {7500, 7503, 7504, 7505}) EXPECT_EQ(dialog.GetControl(id), nullptr) << id;
  EXPECT_NE(dialog.GetControl(cDialogWynikuWalki::kDefenderFlag), nullptr);
}

TEST_F(CombatResultDialogTest, NoDefenderCountryNoDefenderFlagAndNoFlagsNoIcons) {
  result_.attackerCountry = 1;
  result_.defenderCountry = 0;
  const cDialogWynikuWalki& dialog = Open(-1.0f);
  EXPECT_NE(dialog.GetControl(cDialogWynikuWalki::kAttackerFlag), nullptr);
  EXPECT_EQ(dialog.GetControl(cDialogWynikuWalki::kDefenderFlag), nullptr);
  for (int id = 7500; id <= 7506; ++id) EXPECT_EQ(dialog.GetControl(id), nullptr) << id;
}

TEST_F(CombatResultDialogTest, CountdownClosesAfterItsDelayAndNotBefore) {
  cDialogWynikuWalki& dialog = Open(2500.0f);
  // Steps of an eighth of a second add up exactly.
  for (int frame = 0; frame < 19; ++frame) dialog.TickTimer(0.125f);
  ASSERT_TRUE(IsOpen()) << "closed at 2.375 s";
  EXPECT_EQ(StaticText(dialog, cDialogWynikuWalki::kCountdown), u"combatresult_timeout");
  dialog.TickTimer(0.125f);
  EXPECT_FALSE(IsOpen());
}

TEST_F(CombatResultDialogTest, SpaceHoldsTheCountAndResumesIt) {
  cDialogWynikuWalki& dialog = Open(1000.0f);
  dialog.TickTimer(0.5f);
  dialog.OnKeyboard(VK_SPACE, true, false);
  EXPECT_EQ(dialog.timerPaused, 1);
  const auto* pause = static_cast<const CDXUTButton*>(dialog.GetControl(cDialogWynikuWalki::kPauseButton));
  EXPECT_EQ(pause->GetText(), u"combat_result_resume");
  EXPECT_EQ(pause->GetHint(), u"combat_result_resume_hint");
  dialog.TickTimer(30.0f);
  ASSERT_TRUE(IsOpen());
  EXPECT_FLOAT_EQ(dialog.timerSeconds, 0.5f);
  dialog.OnKeyboard(VK_SPACE, false, false);  // a key let go does nothing
  dialog.OnKeyboard(VK_SPACE, true, false);
  EXPECT_EQ(pause->GetText(), u"combat_result_pause");
  dialog.TickTimer(0.25f);
  ASSERT_TRUE(IsOpen());
  dialog.TickTimer(0.25f);
  EXPECT_FALSE(IsOpen());
}

class CombatResultClose : public CombatResultDialogTest, public testing::WithParamInterface<int> {};

TEST_P(CombatResultClose, ANegativeDelayWaitsForTheCloseButtonEnterOrEscape) {
  cDialogWynikuWalki& dialog = Open(-1000.0f);
  EXPECT_EQ(dialog.timerPaused, 1);
  dialog.TickTimer(100.0f);
  // Toggling a waiting dialog never starts a count: its seconds are negative.
  dialog.TogglePause();
  dialog.TickTimer(100.0f);
  ASSERT_TRUE(IsOpen());
  EXPECT_EQ(StaticText(dialog, cDialogWynikuWalki::kCountdown), u"combatresult_waiting_for_click");
  if (GetParam() == cDialogWynikuWalki::kCloseButton) {
    dialog.OnGUIEvent(0x101, cDialogWynikuWalki::kCloseButton, dialog.GetControl(cDialogWynikuWalki::kCloseButton));
  } else {
    dialog.OnKeyboard(static_cast<std::uint32_t>(GetParam()), true, false);
  }
  EXPECT_FALSE(IsOpen());
}

INSTANTIATE_TEST_SUITE_P(Ways, CombatResultClose,
                         testing::Values(cDialogWynikuWalki::kCloseButton, static_cast<int>(VK_RETURN),
                                         static_cast<int>(VK_ESCAPE)));

TEST_F(CombatResultDialogTest, ZeroDelayClosesAtTheNextFrame) {
  cDialogWynikuWalki& dialog = Open(0.0f);
  dialog.TickTimer(0.016f);
  EXPECT_FALSE(IsOpen());
}

}  // namespace
}  // namespace tr
