// A running game on the headless screen: a small world of three countries
// (1 and 3 human, 2 computer, in that turn order), the shipped layout, the
// application's presentation, the panels it creates and a side panel standing
// in for the unit panel.
#pragma once

#include <array>
#include <memory>

#include "app/app_presentation.h"
#include "app/input_routing.h"
#include "dialogs/minimap_panel.h"
#include "dialogs/panel.h"
#include "dialogs/panel_informacyjny.h"
#include "menu_fixture.h"
#include "support/world_builder.h"
#include "world/map_camera.h"

namespace tr::test {

class GameScreenFixture : public MenuFixture {
 protected:
  void SetUp() override {
    MenuFixture::SetUp();
    // A test that loaded a scenario leaves the view at that map's scale.
    savedView_ = {gZoomLevel, gTargetScale, gDisplayedScale};
    gZoomLevel = 0.0f;
    gTargetScale = gDisplayedScale = 1.0f;
    scoped_ = std::make_unique<ScopedPresentation>(port_);
    world_ = std::make_unique<TestWorld>(8, 8, 3);
    const int strengths[] = {60, 40, 20};
    for (int id = 1; id <= 3; ++id) {
      world_->country(id).politicalStrength = strengths[id - 1];
      world_->country(id).humanControlled = id != 2 ? 1 : 0;
    }
    cMap& map = world_->map();
    map.cameraMaxX = map.cameraMaxY = 100000;
    game().playerControl.currentCountry = &world_->country(1);
    game().viewingCountry = &world_->country(1);
    game().StoreGameState(kGameHumanIdle);
    port_.CreateGamePanels();
    hexPanel_ = dynamic_cast<cPanel*>(gHexPanel);
    unitPanel_ = dynamic_cast<cPanel*>(gUnitPanel);
  }
  void TearDown() override {
    // A box a test held and never had closed by the player goes with the test.
    TellHeldBoxes();
    DestroyGamePanels();
    world_.reset();
    scoped_.reset();
    gZoomLevel = savedView_[0];
    gTargetScale = savedView_[1];
    gDisplayedScale = savedView_[2];
    MenuFixture::TearDown();
  }
  cGame& game() { return world_->game(); }
  cCountry& country(int id) { return world_->country(id); }
  cInfoPanel& info() { return *GetInfoPanel(); }

  cAppPresentation port_;
  std::unique_ptr<ScopedPresentation> scoped_;
  std::unique_ptr<TestWorld> world_;
  cPanel* hexPanel_ = nullptr;
  cPanel* unitPanel_ = nullptr;

 private:
  std::array<float, 3> savedView_{};
};

}  // namespace tr::test
