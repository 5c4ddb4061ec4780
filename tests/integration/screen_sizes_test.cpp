// The real program started at every window size it ships a layout for: the
// main menu and the game screen of the sample scenario come up with every
// control of the menu and of the map-side panels inside the window; and,
// in a game of its own, the panels lie clear of one another, every control
// of every panel and dialog lies inside its frame, every list shows two rows
// at least, and every text of every panel and dialog fits the place its
// control draws it in, in the shipped font. At 1024x768, every text of the
// menus, panels and dialogs reads against every pixel behind it.
// Screenshots of each stay in the build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/mainmenu.h"
#include "app/pause_menu.h"
#include "app/game_commands.h"
#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/commander_dialog.h"
#include "dialogs/convoy_results_dialog.h"
#include "dialogs/dialog_flot.h"
#include "dialogs/diplomacy_panel.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/event_dialog.h"
#include "dialogs/elections_dialog.h"
#include "dialogs/panel_informacyjny.h"
#include "dialogs/replacements_dialog.h"
#include "dialogs/save_game_dialog.h"
#include "dialogs/small_dialogs.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/string_base.h"
#include "turn/fleet.h"
#include "dialogs/panel.h"
#include "units/combat_result.h"
#include "units/jednostka.h"
#include "units/jednostka_morska.h"
#include "game_session.h"
#include "gui/control.h"
#include "gui/hint_box.h"
#include "gui/list_box.h"
#include "gui/resource_cache.h"
#include "text_contrast.h"
#include "text_fit.h"
#include "world/gra.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

// How far a control keeps from its frame's edge: the width of the border
// the panels' frames paint there.
constexpr int kFrameBorder = 2;
// The menus' version line.
constexpr int kVersionLine = 7001;
// The least contrast a text must have against what is behind it.
constexpr double kReadableContrast = 4.5;
constexpr std::uint32_t kDisabledText = 0xC8808080u;

struct WindowSize {
  int width, height;
};

class ScreenSizeTest : public test::GameSessionTest, public testing::WithParamInterface<WindowSize> {
 protected:
  void SetUp() override {
    GameSessionTest::SetUp();
    // The player's choice of size, as the preferences store it.
    const fs::path ini = folder_.path() / "Settings.ini";
    std::ifstream in(ini, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    Replace(text, "ResolutionX = 1024", "ResolutionX = " + std::to_string(GetParam().width));
    Replace(text, "ResolutionY = 768", "ResolutionY = " + std::to_string(GetParam().height));
    std::ofstream(ini, std::ios::binary | std::ios::trunc) << text;
  }

  static void Replace(std::string& text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  }

  // Every control placed from the layout table lies inside the window.
  void ExpectInside(CDXUTDialog& dialog, const std::string& what) {
    const auto [width, height] = GetParam();
    for (const auto& control : dialog.Controls()) {
      if (control->GetID() >= 1500) continue;
      const Rect box = control->GetBoundingBox();
      EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= width && box.bottom <= height)
          << what << " control " << control->GetID() << " at " << box.left << "," << box.top << "-" << box.right
          << "," << box.bottom;
    }
  }

  // Every control of a panel or dialog, shown now or not, lies inside its
  // frame clear of the frame's painted border, and every list shows at least
  // two rows without scrolling.
  void ExpectInsideItsDialog(cDialog& dialog, const std::string& what) {
    for (const auto& control : dialog.Controls()) {
      if (control->GetType() != kControlListBox) continue;
      const auto& list = static_cast<const CDXUTListBox&>(*control);
      const int rowHeight = list.GetTextHeight();
      EXPECT_TRUE(rowHeight > 0 && list.GetTextRect().height() / rowHeight >= 2)
          << what << " list " << control->GetID() << " shows "
          << (rowHeight > 0 ? list.GetTextRect().height() / rowHeight : 0) << " rows of " << rowHeight << " px";
    }
    CDXUTControl* frame = dialog.GetControlOfType(dialog.id, kControlFrame);
    if (frame == nullptr) return;
    const Rect outer = frame->GetBoundingBox();
    const Rect inner{outer.left + kFrameBorder, outer.top + kFrameBorder, outer.right - kFrameBorder,
                     outer.bottom - kFrameBorder};
    for (const auto& control : dialog.Controls()) {
      if (control.get() == frame) continue;
      const Rect box = control->GetBoundingBox();
      EXPECT_TRUE(box.left >= inner.left && box.top >= inner.top && box.right <= inner.right &&
                  box.bottom <= inner.bottom)
          << what << " control " << control->GetID() << " at " << box.left << "," << box.top << "-" << box.right
          << "," << box.bottom << " not inside its frame " << outer.left << "," << outer.top << "-" << outer.right
          << "," << outer.bottom;
    }
  }

  // The version line's text, where its static draws it, lies over no control
  // of the game screen's panels but the information panel's background.
  void ExpectVersionLineClearOfThePanels(CDXUTDialog& menu) {
    auto* version = static_cast<CDXUTStatic*>(menu.GetControlOfType(kVersionLine, kControlStatic));
    ASSERT_NE(version, nullptr);
    const Font* font = test::ElementFont(menu, version->GetElement(version->GetTextElement()));
    ASSERT_NE(font, nullptr);
    Rect size{0, 0, 0, 0};
    font->Measure(version->GetText(), -1, &size, DT_CALCRECT);
    const Rect box = version->GetBoundingBox();
    ASSERT_EQ(version->GetTextFormat() & (DT_CENTER | DT_RIGHT | DT_BOTTOM), 0u);
    const int top =
        (version->GetTextFormat() & DT_VCENTER) != 0 ? box.top + (box.height() - size.height()) / 2 : box.top;
    const Rect text{box.left, top, box.left + size.width(), top + size.height()};
    for (cDialog* panel : {gInfoPanel, gMinimapPanel, gHexPanel, gAttackPanel, gUnitPanel, gDiplomacyPanel}) {
      if (panel == nullptr) continue;
      const auto* collapsible = dynamic_cast<cPanel*>(panel);
      if (collapsible != nullptr && collapsible->IsCollapsed()) continue;
      for (const auto& control : panel->Controls()) {
        // The picture under the whole information panel counts too: the line is not drawn over the panel.
        if (!control->GetVisible()) continue;
        const Rect at = control->GetBoundingBox();
        EXPECT_TRUE(at.right <= text.left || text.right <= at.left || at.bottom <= text.top || text.bottom <= at.top)
            << "the version line " << text.left << "," << text.top << "-" << text.right << "," << text.bottom
            << " lies over panel " << panel->id << " control " << control->GetID() << " at " << at.left << ","
            << at.top << "-" << at.right << "," << at.bottom;
      }
    }
  }

  // The dialog opened over the game screen, shot, measured tab by tab and closed.
  void Measure(cDialog* dialog, const std::string& name) {
    ASSERT_NE(dialog, nullptr) << name;
    {
      GameLockGuard lock;
      PushModalDialog(dialog);
    }
    // Dialogs fade in over their first second: two long frames.
    for (int i = 0; i < 2; ++i) {
      clock_.AdvanceMs(500);
      Frame();
    }
    EXPECT_TRUE(frame_->graphics().SaveScreenshot(Shot("dialog_" + name)));
    // The pointer rests on the dialog's first button that can be pressed, in its colour for that.
    for (const auto& control : dialog->Controls()) {
      if (control->GetType() != kControlButton || !control->GetVisible() || !control->GetEnabled()) continue;
      const Rect box = control->GetBoundingBox();
      frame_->Inject(RawInput::MouseMove((box.left + box.right) / 2, (box.top + box.bottom) / 2));
      break;
    }
    ExpectReadableOnEveryTab(*dialog, name);
    // The first drop-down list opened, its chosen item on the selection band.
    for (const auto& control : dialog->Controls()) {
      if (control->GetType() != kControlComboBox || !control->GetVisible() || !control->GetEnabled()) continue;
      Click(control.get());
      ExpectReadable(*dialog, name + " list open");
      Click(control.get());
      break;
    }
    fit_.CheckEveryTab(*dialog, name);
    ExpectInsideItsDialog(*dialog, name);
    {
      GameLockGuard lock;
      PopModalDialogs(-1);
    }
    Frame();
  }

  void MeasureEveryDialog(cCountry& human);

  // The screen part the dialog's visible controls cover.
  static Rect AreaOf(CDXUTDialog& dialog) {
    Rect area{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
    for (const auto& control : dialog.Controls()) {
      if (!control->GetVisible()) continue;
      const Rect box = control->GetBoundingBox();
      area = {std::min(area.left, box.left + dialog.x()), std::min(area.top, box.top + dialog.y()),
              std::max(area.right, box.right + dialog.x()), std::max(area.bottom, box.bottom + dialog.y())};
    }
    return area;
  }

  // Whether the text is drawn in the layout's fonts, as controls draw theirs
  // (a unit's counter in a panel or dialog is drawn as on the map, in the
  // map's own), and not greyed for a disabled control on screen: a disabled
  // control takes the skin's colour for it (a static only takes no mouse).
  static bool IsControlText(const DrawRecord& text) {
    const cGuiResourceCache& cache = GetGuiResourceCache();
    bool layoutFont = false;
    for (int i = 0; i < cache.FontCount(); ++i) layoutFont = layoutFont || cache.GetFont(i) == text.font;
    if (!layoutFont || text.colour != kDisabledText) return layoutFont;
    std::vector<CDXUTDialog*> shown(ModalDialogStack.begin(), ModalDialogStack.end());
    shown.insert(shown.end(), {CurrentMenu, gInfoPanel, gMinimapPanel, gHexPanel, gAttackPanel, gUnitPanel,
                               gDiplomacyPanel});
    for (CDXUTDialog* dialog : shown) {
      if (dialog == nullptr) continue;
      for (const auto& control : dialog->Controls()) {
        const Rect box = OffsetRect(control->GetBoundingBox(), dialog->x(), dialog->y());
        if (!control->GetEnabled() && control->GetType() != kControlStatic && box.left <= text.dest.left &&
            box.top <= text.dest.top && box.right >= text.dest.right && box.bottom >= text.dest.bottom) {
          return false;
        }
      }
    }
    return true;
  }
  void ExpectReadable(CDXUTDialog& dialog, const std::string& name) { ExpectReadable(AreaOf(dialog), name); }
  // Every text drawn inside the area reads against every pixel behind it;
  // only measured in the window size the layouts are made for.
  void ExpectReadable(const Rect& area, const std::string& name) {
    if (GetParam().width != 1024) return;
    // Colours blend to a new state (a tab shown, a row selected) over a few frames.
    for (int i = 0; i < 2; ++i) {
      clock_.AdvanceMs(500);
      Frame();
    }
    int measured = 0;
    test::MeasureTexts(frame_->graphics(), [&] { Frame(); }, area, IsControlText,
                       [&](const DrawRecord& text, const Rect& at, double contrast) {
                         ++measured;
                         EXPECT_GE(contrast, kReadableContrast)
                             << name << ": \"" << Utf16ToUtf8(text.text) << "\" in " << std::hex << text.colour
                             << std::dec << " at " << at.left << "," << at.top << "-" << at.right << "," << at.bottom;
                       });
    EXPECT_GT(measured, 0) << name;
    readable_ += measured;
  }
  void ExpectReadableOnEveryTab(CDXUTDialog& dialog, const std::string& name) {
    bool tabbed = false;
    for (const auto& control : dialog.Controls()) {
      if (control->GetType() != kControlTabFrame || !control->GetVisible()) continue;
      tabbed = true;
      auto& frame = static_cast<CDXUTTabFrame&>(*control);
      const int selected = frame.GetSelectedTab();
      for (int tab = 0; tab < static_cast<int>(frame.Tabs().size()); ++tab) {
        frame.SelectTab(tab, true);
        ExpectReadable(dialog, name + " tab " + std::to_string(tab));
      }
      frame.SelectTab(selected < 0 ? 0 : selected, true);
    }
    if (!tabbed) ExpectReadable(dialog, name);
  }

  std::string Shot(const std::string& screen) const {
    return "screen_size_" + std::to_string(GetParam().width) + "x" + std::to_string(GetParam().height) + "_" +
           screen + ".png";
  }

  test::TextFitChecker fit_;
  int readable_ = 0;
};

TEST_P(ScreenSizeTest, MainMenuAndGameScreenFitTheWindow) {
  const auto [width, height] = GetParam();
  const int exitCode = RunProgram(
      [&] {
        EXPECT_EQ(gScreenWidth, width);
        EXPECT_EQ(gScreenHeight, height);
        ASSERT_TRUE(FramesUntil([&] {
          frame_->Inject(RawInput::KeyDown(VK_SPACE));
          return dynamic_cast<cMainMenu*>(CurrentMenu) != nullptr;
        }));
        // The menu fades in over its first second.
        for (int i = 0; i < 70; ++i) Frame();
        EXPECT_TRUE(frame_->graphics().SaveScreenshot(Shot("main_menu")));
        ExpectInside(*CurrentMenu, "main menu");

        cCountry* human = StartSampleWithFirstCountryHuman(Shot("scenario_settings"));
        ASSERT_NE(human, nullptr);
        cInfoPanel* info = GetInfoPanel();
        ASSERT_NE(info, nullptr);
        // The panels that start collapsed are opened by their toolbar toggles.
        Click(info->GetControl(cInfoPanel::kHexPanelToggle));
        Click(info->GetControl(cInfoPanel::kAttackPanelToggle));
        Frame();
        EXPECT_TRUE(frame_->graphics().SaveScreenshot(Shot("game")));
        for (cDialog* panel : {gInfoPanel, gMinimapPanel, gHexPanel, gAttackPanel,
                               gUnitPanel, gDiplomacyPanel}) {
          if (panel != nullptr) ExpectInside(*panel, "panel " + std::to_string(panel->id));
        }

        // The pause menu draws its version line over the paused game screen.
        PressKey(VK_ESCAPE);
        ASSERT_NE(dynamic_cast<cPauseMenu*>(CurrentMenu), nullptr);
        for (int i = 0; i < 70; ++i) Frame();
        EXPECT_TRUE(frame_->graphics().SaveScreenshot(Shot("pause_menu")));
        ExpectVersionLineClearOfThePanels(*CurrentMenu);
      },
      width, height);
  EXPECT_EQ(exitCode, 0);
}

// Every text of every panel and dialog fits its control, in the shipped font.
TEST_P(ScreenSizeTest, EveryPanelAndDialogShowsItsTextsWhole) {
  const auto [width, height] = GetParam();
  const int exitCode = RunProgram(
      [&] {
        ASSERT_TRUE(FramesUntil([&] {
          frame_->Inject(RawInput::KeyDown(VK_SPACE));
          return dynamic_cast<cMainMenu*>(CurrentMenu) != nullptr;
        }));
        ExpectReadable(*CurrentMenu, "main menu");
        Click(CurrentMenu->GetControl(71));
        ASSERT_NE(dynamic_cast<cScenarioMenu*>(CurrentMenu), nullptr);
        ExpectReadableOnEveryTab(*CurrentMenu, "scenario menu");
        cScenarioSettingsMenu* settings = SettingsFromScenarioMenu(0, test::kSampleScenario);
        ASSERT_NE(settings, nullptr);
        ExpectReadableOnEveryTab(*settings, "scenario settings");
        cCountry* human = StartSampleFrom(settings, Shot("texts_scenario_settings"));
        ASSERT_NE(human, nullptr);
        MeasureEveryDialog(*human);
      },
      width, height);
  EXPECT_EQ(exitCode, 0);
}

void ScreenSizeTest::MeasureEveryDialog(cCountry& human) {
  // The panels open, over a hex of the country with a unit of its own and
  // then over another country's hex, so every button of the diplomacy panel shows.
  cInfoPanel* info = GetInfoPanel();
  for (const auto& [panel, toggle] : {std::pair{gUnitPanel, cInfoPanel::kUnitPanelToggle},
                                      std::pair{gHexPanel, cInfoPanel::kHexPanelToggle},
                                      std::pair{gAttackPanel, cInfoPanel::kAttackPanelToggle},
                                      std::pair{gDiplomacyPanel, cInfoPanel::kDiplomacyPanelToggle}}) {
    const auto* collapsible = dynamic_cast<cPanel*>(panel);
    if (collapsible != nullptr && collapsible->IsCollapsed()) Click(info->GetControl(toggle));
    EXPECT_FALSE(collapsible == nullptr || collapsible->IsCollapsed()) << toggle;
  }
  cJednostka* unit = nullptr;
  for (const auto& land : gGame->landUnits) {
    if (land->owner == human.id && land->x >= 0 && unit == nullptr) unit = land.get();
  }
  ASSERT_NE(unit, nullptr);
  sHex* foreign = nullptr;
  for (int y = 0; y < gGame->map->GetHeight() && foreign == nullptr; ++y) {
    for (int x = 0; x < gGame->map->GetWidth() && foreign == nullptr; ++x) {
      sHex* hex = gGame->map->GetHex(x, y);
      if (hex->controller != 0 && hex->controller != human.id) foreign = hex;
    }
  }
  ASSERT_NE(foreign, nullptr);
  const std::vector<cDialog*> panels = {gInfoPanel, gMinimapPanel, gHexPanel, gAttackPanel, gUnitPanel, gDiplomacyPanel};
  for (const sHex* hex : {static_cast<const sHex*>(nullptr), static_cast<const sHex*>(foreign)}) {
    {
      GameLockGuard lock;
      if (hex == nullptr) {
        gGame->playerControl.SelectHex(unit->x, unit->y);
      } else {
        gGame->playerControl.SelectHex(hex->x, hex->y);
      }
    }
    Frame();
    EXPECT_TRUE(frame_->graphics().SaveScreenshot(Shot(hex == nullptr ? "panels_own_hex" : "panels_foreign_hex")));
    for (cDialog* panel : panels) {
      if (panel == nullptr) continue;
      fit_.Check(*panel, "panel " + std::to_string(panel->id));
      const auto* collapsible = dynamic_cast<cPanel*>(panel);
      if (panel->GetVisible() && (collapsible == nullptr || !collapsible->IsCollapsed())) {
        ExpectReadable(*panel, "panel " + std::to_string(panel->id));
      }
      ExpectInsideItsDialog(*panel, "panel " + std::to_string(panel->id));
    }
  }
  // The hint of a toolbar button, once the pointer has rested on it.
  if (GetParam().width == 1024) {
    const Rect toggle = info->GetControl(cInfoPanel::kHexPanelToggle)->GetBoundingBox();
    const int x = (toggle.left + toggle.right) / 2, y = (toggle.top + toggle.bottom) / 2;
    frame_->Inject(RawInput::MouseMove(x, y));
    Frame();
    clock_.AdvanceMs(GetHintBox().delay());
    const HintBox& hint = GetHintBox();
    EXPECT_FALSE(hint.GetText().empty());
    const int w = hint.box_width() + 40, h = hint.box_height() + 40;
    ExpectReadable({x - w, y - h, x + w, y + h}, "hint " + Utf16ToUtf8(hint.GetText()));
  }
  // No two open panels lie over one another.
  for (std::size_t a = 0; a < panels.size(); ++a) {
    for (std::size_t b = a + 1; b < panels.size(); ++b) {
      if (panels[a] == nullptr || panels[b] == nullptr) continue;
      CDXUTControl* first = panels[a]->GetControlOfType(panels[a]->id, kControlFrame);
      CDXUTControl* second = panels[b]->GetControlOfType(panels[b]->id, kControlFrame);
      if (first == nullptr || second == nullptr || !first->GetVisible() || !second->GetVisible()) continue;
      const auto* one = dynamic_cast<cPanel*>(panels[a]);
      const auto* other = dynamic_cast<cPanel*>(panels[b]);
      if ((one != nullptr && one->IsCollapsed()) || (other != nullptr && other->IsCollapsed())) continue;
      const Rect p = first->GetBoundingBox();
      const Rect q = second->GetBoundingBox();
      EXPECT_TRUE(p.right <= q.left || q.right <= p.left || p.bottom <= q.top || q.bottom <= p.top)
          << "panels " << panels[a]->id << " and " << panels[b]->id << " overlap";
    }
  }

  for (int id : {kHotkeysDialogId, kPreferencesDialogId, kCheatsDialogId, kResearchDialogId, kReportsDialogId,
                 kPurchasesDialogId, kUnitsDialogId, kConvoysDialogId}) {
    cDialog* dialog = nullptr;
    {
      GameLockGuard lock;
      dialog = CreateGameDialog(id);
    }
    Measure(dialog, std::to_string(id));
  }
  cJednostkaMorska* ship = nullptr;
  for (const auto& naval : gGame->navalUnits) {
    if (naval->owner == human.id && naval->fleet != nullptr && ship == nullptr) ship = naval.get();
  }
  {
    GameLockGuard lock;
    Measure(new cDialogDowodcow(unit), "commanders");
    Measure(new cDialogUzupelnien(unit), "replacements");
    if (ship != nullptr) Measure(new cDialogFlot(ship->fleet->seaNodeId), "fleets");
    Measure(new cDialogZapisuGry(), "save_game");
    sCombatResult result;
    Measure(new cDialogWynikuWalki(result, 0.0f), "combat_result");
    Measure(new cDialogWyborow(&human, true), "elections");
    Measure(new cDialogWynikuKonwojow(&human), "convoy_results");
    // A box naming a folder at its real place, which no line can break.
    Measure(new cDialogTekstowy(Format(GetText("pbem_turn_end_message"), ShownPath(u"data\\pbem\\Duel"), u"Bob",
                                       u"bob@example.org", u"Albrecia"),
                                GetText("pbem_turn_end_title")),
            "text_box");
    Measure(new cDialogPotwierdzenia(u"Title", u"Question", u"Yes", {}, u"No", {}), "confirmation");
    Measure(new cDialogPobraniaTekstu(u"Title", u"Prompt", u"Text"), "text_input");
    Measure(new cDialogPobraniaListy(u"Title", u"Prompt"), "list_choice");
    Measure(new cDialogPotwKoncaTury(), "end_turn");
    Measure(new cDialogNowejTury(human.id), "new_turn");
    if (!gGame->events->events.empty()) Measure(new cDialogEventu(gGame->events->events.front()), "event");
  }
  EXPECT_NE(ship, nullptr) << "the sample gives the human country no fleet";
  EXPECT_GT(fit_.measured(), 100);
  if (GetParam().width == 1024) {
    EXPECT_GT(readable_, 100);
  }
  std::string clipped;
  for (const std::string& line : fit_.clipped()) clipped += line + "\n";
  EXPECT_TRUE(fit_.clipped().empty()) << fit_.clipped().size() << " texts do not fit:\n" << clipped;
}

INSTANTIATE_TEST_SUITE_P(Shipped, ScreenSizeTest,
                         testing::Values(WindowSize{1024, 768}, WindowSize{1280, 720}, WindowSize{1366, 768},
                                         WindowSize{1920, 1080}),
                         [](const testing::TestParamInfo<WindowSize>& info) {
                           return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
}  // namespace tr
