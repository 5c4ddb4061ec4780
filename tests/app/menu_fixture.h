// A headless screen with the shipped layout, a game folder the tests fill
// with scenario and save folders, and no game, menu or loader left behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "app/framework.h"
#include "app/scenario_menu.h"
#include "foundation/gui_layout.h"
#include "support/screen_fixture.h"

namespace tr::test {

class MenuFixture : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    std::filesystem::create_directories(folder_.path() / "data");
    std::filesystem::copy_file(std::filesystem::path(TR_SOURCE_DIR) / "data" / "GUI_1024x768.csv",
                               folder_.path() / "data" / "GUI_1024x768.csv",
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(LoadGuiLayoutFile(u"data\\GUI_1024x768.csv"));
    RememberedScenarioName().clear();
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
