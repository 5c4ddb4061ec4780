// The diplomacy panel through the real program: its toggle icon on the
// information panel opens it, and the selected hex decides what it offers -
// the domestic actions on a hex of the human country, the foreign ones on a
// hex of another. Screenshots of both stay in the build folder.
#include <gtest/gtest.h>

#include "dialogs/diplomacy_panel.h"
#include "dialogs/panel_informacyjny.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "gui/static.h"
#include "foundation/settings.h"
#include "game_session.h"
#include "world/gra.h"

namespace tr {
namespace {

class DiplomacyPanelSessionTest : public test::GameSessionTest {
 protected:
  void Script();

  // The first hex the country controls (any other country's for a foreign one).
  sHex* HexOf(int country, bool own) {
    cMap& map = *gGame->map;
    for (int y = 0; y < map.GetHeight(); ++y) {
      for (int x = 0; x < map.GetWidth(); ++x) {
        sHex* hex = map.GetHex(x, y);
        if (hex->controller == 0) continue;
        if ((hex->controller == country) == own) return hex;
      }
    }
    return nullptr;
  }
  void SelectAndShoot(sHex& hex, const char* file) {
    {
      GameLockGuard lock;
      gGame->playerControl.SelectHex(hex.x, hex.y);
    }
    Frame();
    EXPECT_TRUE(frame_->graphics().SaveScreenshot(file));
  }
};

void DiplomacyPanelSessionTest::Script() {
  gDelays.fill(0.0f);
  cCountry* human = StartSampleWithFirstCountryHuman("diplomacy_session_settings.png");
  ASSERT_NE(human, nullptr);
  cDiplomacyPanel* panel = GetDiplomacyPanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->IsCollapsed());
  Click(GetInfoPanel()->GetControl(cInfoPanel::kDiplomacyPanelToggle));
  EXPECT_FALSE(panel->IsCollapsed());

  sHex* own = HexOf(human->id, true);
  sHex* foreign = HexOf(human->id, false);
  ASSERT_NE(own, nullptr);
  ASSERT_NE(foreign, nullptr);
  SelectAndShoot(*own, "diplomacy_panel_own_hex.png");
  EXPECT_EQ(panel->shownCountry(), human);
  for (int id = 605; id <= 608; ++id) EXPECT_TRUE(panel->GetControl(id)->GetVisible()) << id;
  for (int id = 602; id <= 604; ++id) EXPECT_FALSE(panel->GetControl(id)->GetVisible()) << id;

  SelectAndShoot(*foreign, "diplomacy_panel_foreign_hex.png");
  EXPECT_EQ(panel->shownCountry(), gGame->GetCountry(foreign->controller));
  for (int id = 602; id <= 604; ++id) EXPECT_TRUE(panel->GetControl(id)->GetVisible()) << id;
  for (int id = 605; id <= 608; ++id) EXPECT_FALSE(panel->GetControl(id)->GetVisible()) << id;

  // An action that costs points: the information panel shows what is left,
  // as the reports do, and not the number from before the payment.
  const auto shownPoints = [] {
    return static_cast<CDXUTStatic*>(GetInfoPanel()->GetControl(cInfoPanel::kDiplomacyPoints))->GetText();
  };
  const int before = human->diplomaticPoints;
  EXPECT_EQ(shownPoints(), Format(u"%i", before));
  bool acted = false;
  for (const auto& country : gGame->countries) {
    if (acted || country.get() == human) continue;
    sHex* hex = HexOf(country->id, true);
    if (hex == nullptr) continue;
    SelectAndShoot(*hex, "diplomacy_panel_pressure.png");
    CDXUTControl* pressure = panel->GetControl(cDiplomacyPanel::kExternPressure);
    if (!pressure->GetVisible() || !pressure->GetEnabled()) continue;
    Click(pressure);
    acted = true;
  }
  ASSERT_TRUE(acted) << "no country of the sample can be pressed";
  EXPECT_LT(human->diplomaticPoints, before);
  EXPECT_EQ(shownPoints(), Format(u"%i", human->diplomaticPoints));
}

TEST_F(DiplomacyPanelSessionTest, TheToggleOpensThePanelAndTheSelectedHexDecidesItsActions) {
  EXPECT_EQ(RunProgram([&] { Script(); }), 0);
}

}  // namespace
}  // namespace tr
