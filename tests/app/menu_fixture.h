// A headless screen with the shipped layout, a game folder the tests fill
// with scenario and save folders, and no game, menu or loader left behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "app/framework.h"
#include "app/input_routing.h"
#include "app/menu.h"
#include "app/scenario_menu.h"
#include "foundation/gui_layout.h"
#include "support/screen_fixture.h"

namespace tr::test {

class MenuFixture : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    RememberedScenarioName().clear();
  }
  // A click of the current menu's control by the pointer, as the window sends it.
  static void ClickControl(int id) {
    const Rect box = CurrentMenu->GetControl(id)->GetBoundingBox();
    const LParam at = MakeLParam(box.left + 3, box.top + 3);
    bool noFurther = false;
    OnWindowMessage(WM_LBUTTONDOWN, MK_LBUTTON, at, &noFurther);
    OnWindowMessage(WM_LBUTTONUP, 0, at, &noFurther);
  }
  void TearDown() override {
    DestroyGame();
    SetScenarioLoader(nullptr);
    ScreenFixture::TearDown();
  }
  // "data/<kind>/<name>/Info.ini" with the given text (lines joined with CR LF).
  void WriteInfo(std::string_view kind, std::string_view name, std::string_view ini) {
    folder_.Write("data/" + std::string(kind) + "/" + std::string(name) + "/Info.ini", ini);
  }
};

}  // namespace tr::test
