// Where messages, keys, clicks and GUI events go: the visible top dialog,
// else the current menu, else the panels in their fixed order.
#include "app/input_routing.h"

#include <gtest/gtest.h>

#include <string>

#include "app/menu.h"
#include "app/modal_stack.h"
#include "gui/hint_box.h"
#include "recording_dialog.h"
#include "support/log_capture.h"
#include "support/screen_fixture.h"
#include "support/world_builder.h"

namespace tr {
namespace {

using test::Journal;
using test::RecordingDialog;

// A control over the whole screen that notes each click and takes it when told to.
class ProbeControl : public CDXUTControl {
 public:
  ProbeControl(CDXUTDialog* dialog, std::string name, Journal& journal, const bool& consume)
      : CDXUTControl(dialog), name_(std::move(name)), journal_(journal), consume_(consume) {}
  bool ContainsPoint(int, int) override { return true; }
  bool HandleMouse(std::uint32_t, int, int, WParam, LParam) override {
    journal_.push_back(name_);
    return consume_;
  }

 private:
  std::string name_;
  Journal& journal_;
  const bool& consume_;
};

// A control that takes the focus and notes each key it is given.
class KeyProbeControl : public CDXUTControl {
 public:
  KeyProbeControl(CDXUTDialog* dialog, Journal& journal) : CDXUTControl(dialog), journal_(journal) {}
  bool CanHaveFocus() override { return true; }
  bool HandleKeyboard(std::uint32_t msg, WParam, LParam) override {
    journal_.push_back("menu key " + std::to_string(msg));
    return false;
  }

 private:
  Journal& journal_;
};

class ProbePanel : public cDialog {
 public:
  ProbePanel(const char* name, Journal& journal) : cDialog(0), name_(name), journal_(journal) {
    AddControl(std::make_unique<ProbeControl>(this, name_, journal_, consume));
  }
  ~ProbePanel() override = default;
  bool consume = false;
  void OnGUIEvent(std::uint32_t, int, CDXUTControl*) override { journal_.push_back(name_ + " event"); }

 private:
  std::string name_;
  Journal& journal_;
};

class ProbeMenu : public cMenu {
 public:
  explicit ProbeMenu(Journal& journal) : journal_(journal) {}
  void OnKeyboard(std::uint32_t, bool, bool) override { journal_.push_back("menu key"); }
  void OnFrameMove(Graphics&, double, float) override { journal_.push_back("menu frame"); }
  void OnMouse(bool, bool, bool, bool, bool, int, int, int) override { journal_.push_back("menu mouse"); }

 private:
  Journal& journal_;
};

class InputRoutingTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    for (auto& [slot, name] : std::initializer_list<std::pair<cDialog**, const char*>>{
             {&gDiplomacyPanel, "diplomacy"}, {&gHexPanel, "hex"},         {&gUnitPanel, "unit"},
             {&gAttackPanel, "attack"},       {&gMinimapPanel, "minimap"}, {&gInfoPanel, "information"}}) {
      panels_.emplace_back(std::unique_ptr<ProbePanel, void (*)(ProbePanel*)>(
          new ProbePanel(name, journal_), [](ProbePanel* p) { p->Destroy(); }));
      *slot = panels_.back().get();
    }
  }
  void TearDown() override {
    ScreenFixture::TearDown();
    panels_.clear();
  }
  // A click at a point no control covers: panels answer through their probe.
  void Route() {
    bool noFurther = false;
    OnWindowMessage(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5), &noFurther);
  }

  Journal journal_;
  std::vector<std::unique_ptr<ProbePanel, void (*)(ProbePanel*)>> panels_;
};

ProbePanel& PanelAt(cDialog* panel) { return *static_cast<ProbePanel*>(panel); }

TEST_F(InputRoutingTest, PanelsAreOfferedMessagesInTheirFixedOrderUntilOneTakesIt) {
  test::TestWorld world(4, 4, 1);
  world.game().StoreGameState(kGameHumanIdle);
  Route();
  EXPECT_EQ(journal_, (Journal{"diplomacy", "hex", "unit", "attack", "minimap", "information"}));
  journal_.clear();
  PanelAt(gUnitPanel).consume = true;
  Route();
  EXPECT_EQ(journal_, (Journal{"diplomacy", "hex", "unit"}));
}

TEST_F(InputRoutingTest, NoPanelHearsMessagesWhileAMenuIsCurrentOrTheGameIsOnlyLoaded) {
  test::TestWorld world(4, 4, 1);
  world.game().StoreGameState(kGameLoaded);
  Route();
  EXPECT_TRUE(journal_.empty());
  world.game().StoreGameState(kGameHumanIdle);
  CurrentMenu = new cMenu();
  Route();
  EXPECT_TRUE(journal_.empty());
}

TEST_F(InputRoutingTest, AHiddenTopDialogPassesMessagesOnAndAVisibleOneThatTakesThemStopsThem) {
  test::TestWorld world(4, 4, 1);
  world.game().StoreGameState(kGameHumanIdle);
  auto* top = new ProbePanel("top", journal_);
  top->id = 5;
  top->consume = true;
  PushModalDialog(top);
  top->SetVisible(false);
  Route();
  EXPECT_EQ(journal_.front(), "diplomacy");
  journal_.clear();
  top->SetVisible(true);
  bool noFurther = false;
  OnWindowMessage(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5), &noFurther);
  EXPECT_EQ(journal_, (Journal{"top"}));
  EXPECT_TRUE(noFurther);
}

// The panels lie under a modal dialog where it covers them: the pointer there
// is the dialog's, and a panel's hint must not be drawn over the dialog.
TEST_F(InputRoutingTest, PanelsUnderTheVisibleTopDialogHearNoMouseWhereItCoversThem) {
  test::TestWorld world(4, 4, 1);
  world.game().StoreGameState(kGameHumanIdle);
  auto* top = new cDialog(7, Rect{100, 100, 100, 100});
  PushModalDialog(top);
  bool noFurther = false;
  // Beside the dialog the panels are in sight and hear the pointer as always.
  OnWindowMessage(WM_MOUSEMOVE, 0, MakeLParam(300, 300), &noFurther);
  ASSERT_EQ(journal_, (Journal{"diplomacy", "hex", "unit", "attack", "minimap", "information"}));
  ASSERT_NE(gInfoPanel->GetControlUnderMouse(), nullptr);
  EXPECT_EQ(GetHintBox().GetControl(), gInfoPanel->GetControlUnderMouse());

  journal_.clear();
  OnWindowMessage(WM_MOUSEMOVE, 0, MakeLParam(150, 150), &noFurther);
  OnWindowMessage(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(150, 150), &noFurther);
  OnWindowMessage(WM_LBUTTONUP, 0, MakeLParam(150, 150), &noFurther);
  EXPECT_TRUE(journal_.empty());
  for (cDialog* panel : {gDiplomacyPanel, gHexPanel, gUnitPanel, gAttackPanel, gMinimapPanel, gInfoPanel}) {
    EXPECT_EQ(panel->GetControlUnderMouse(), nullptr);
  }
  // Only the dialog's own controls may give the hint there.
  const CDXUTControl* hinted = GetHintBox().GetControl();
  EXPECT_TRUE(hinted == nullptr || hinted->GetDialog() == top);
}

// A box over a menu is modal: the menu hears the pointer and the keys without
// the box, and with it neither a move nor a button of the mouse's whole range,
// nor a key going down or up.
TEST_F(InputRoutingTest, AMenuUnderAVisibleBoxHearsNoMouseNorKey) {
  const bool consume = false;
  auto* menu = new ProbeMenu(journal_);
  menu->AddControl(std::make_unique<ProbeControl>(menu, "menu", journal_, consume));
  auto keys = std::make_unique<KeyProbeControl>(menu, journal_);
  CDXUTControl* keyControl = keys.get();
  menu->AddControl(std::move(keys));
  menu->SetVisible(true);
  CurrentMenu = menu;
  CDXUTDialog::RequestFocus(keyControl);
  bool noFurther = false;
  OnWindowMessage(WM_MOUSEMOVE, 0, MakeLParam(37, 53), &noFurther);
  OnWindowMessage(WM_KEYDOWN, 'Q', 0, &noFurther);
  MenuMouseCallback(true, false, false, false, false, 0, 37, 53);
  EXPECT_EQ(journal_, (Journal{"menu", "menu key " + std::to_string(WM_KEYDOWN), "menu mouse"}));
  journal_.clear();
  PushModalDialog(new cDialog(7, Rect{100, 100, 100, 100}));
  CDXUTDialog::RequestFocus(keyControl);
  for (const std::uint32_t msg : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_XBUTTONDBLCLK}) {
    OnWindowMessage(msg, 0, MakeLParam(37, 53), &noFurther);
  }
  MenuMouseCallback(false, true, false, false, false, 0, 41, 59);
  OnWindowMessage(WM_KEYDOWN, 'W', 0, &noFurther);
  OnWindowMessage(WM_KEYUP, 'E', 0, &noFurther);
  EXPECT_TRUE(journal_.empty()) << testing::PrintToString(journal_);
  CDXUTDialog::ClearFocus();
}

TEST_F(InputRoutingTest, PanelGuiEventsReachUnitHexAttackAndDiplomacyInOrder) {
  PanelGuiEventCallback(0x101, 351, nullptr);
  EXPECT_EQ(journal_, (Journal{"unit event", "hex event", "attack event", "diplomacy event"}));
}

TEST_F(InputRoutingTest, KeysGoToTheVisibleTopDialogElseToTheGame) {
  int gameKeys = 0;
  sGameScreenHandlers handlers;
  handlers.keyboard = [&](std::uint32_t, bool, bool) { ++gameKeys; };
  SetGameScreenHandlers(std::move(handlers));
  auto* dialog = new RecordingDialog(3, journal_);
  PushModalDialog(dialog);
  GameKeyboardCallback(VK_RETURN, true, false);
  EXPECT_EQ(journal_, (Journal{"key 3"}));
  EXPECT_EQ(gameKeys, 0);
  dialog->SetVisible(false);
  GameKeyboardCallback(VK_RETURN, true, false);
  EXPECT_EQ(gameKeys, 1);
}

TEST_F(InputRoutingTest, CommandsOfTheInformationPanelGoToTheGame) {
  int command = 0;
  sGameScreenHandlers handlers;
  handlers.command = [&](std::uint32_t, int id, CDXUTControl*) { command = id; };
  SetGameScreenHandlers(std::move(handlers));
  InfoPanelGuiEventCallback(0x101, 336, nullptr);
  EXPECT_EQ(command, 336);
}

TEST_F(InputRoutingTest, MenuKeysAndFrameStepsReachTheCurrentMenu) {
  CurrentMenu = new ProbeMenu(journal_);
  MenuKeyboardCallback(VK_ESCAPE, true, false);
  MenuFrameMoveCallback(frame_->graphics(), 0.0, 0.1f);
  EXPECT_EQ(journal_, (Journal{"menu key", "menu frame"}));
}

TEST_F(InputRoutingTest, NewMenuReplacesTheCurrentOneFromInsideItsOwnHandler) {
  class SwitchingMenu : public cMenu {
   public:
    explicit SwitchingMenu(Journal& journal) : journal_(journal) {}
    ~SwitchingMenu() override { journal_.push_back("old menu freed"); }
    void OnKeyboard(std::uint32_t, bool, bool) override {
      CurrentMenu = new cMenu();
      // Still alive here: the old menu goes after the dispatch.
      journal_.push_back("old menu still here");
    }

   private:
    Journal& journal_;
  };
  test::LogCapture log;
  auto* first = new SwitchingMenu(journal_);
  EXPECT_FALSE(log.Contains(u"-- Deleting old menu"));
  EXPECT_TRUE(log.Contains(u"-- Setting callbacks"));
  CurrentMenu = first;
  MenuKeyboardCallback(VK_RETURN, true, false);
  EXPECT_TRUE(log.Contains(u"-- Deleting old menu"));
  EXPECT_NE(CurrentMenu, first);
  EXPECT_NE(CurrentMenu, nullptr);
  EXPECT_EQ(journal_, (Journal{"old menu still here", "old menu freed"}));
}

}  // namespace
}  // namespace tr
