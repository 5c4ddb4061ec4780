// A small running game on the headless screen for the map drawing tests: a
// world of plain land, the settings the drawing reads put to known values,
// the camera placed at a chosen scale, and, after each test, the skin tables
// and textures emptied and the settings as they were.
#pragma once

#include <memory>
#include <vector>

#include "app/map_render.h"
#include "app/map_skin.h"
#include "app/skin_tables.h"
#include "app/units_skin.h"
#include "foundation/settings.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/texture.h"
#include "support/screen_fixture.h"
#include "support/world_builder.h"
#include "world/map_camera.h"

namespace tr::test {

class MapDrawFixture : public ScreenFixture {
 protected:
  void MakeWorld(int width, int height, int countries) {
    world_ = std::make_unique<TestWorld>(width, height, countries);
    world_->game().viewingCountry = &world_->country(1);
  }

  void SetUp() override {
    ScreenFixture::SetUp();
    saved_ = {gMapMode, gBorderMode, gMapOwnershipMode, gScreenWidth, gScreenHeight};
    savedFlags_ = {gShowWeather, gShowGrid, gShowCityNames, gShowUnitNames, gShowAPLeft, gShowSeaZoneBorders,
                   gShowSeaZoneNames};
    savedBorderColour_ = gBorderColor;
    gMapMode = 0;
    gBorderMode = 2;
    gMapOwnershipMode = 0;
    gScreenWidth = 1024;
    gScreenHeight = 768;
    gShowWeather = gShowGrid = gShowUnitNames = gShowAPLeft = gShowSeaZoneBorders = false;
    gShowCityNames = gShowSeaZoneNames = true;
    gBorderColor = 0xFFFF0000u;
    ResetSkin();
    for (int i = 0; i < kSpriteDepthCount; ++i) SkinTables().depths[static_cast<std::size_t>(i)] = {2 * i, 1.0f - 0.02f * i};
    InstallMapDrawing();
  }

  void TearDown() override {
    UninstallMapDrawing();
    world_.reset();
    ResetSkin();
    gMapMode = saved_[0];
    gBorderMode = saved_[1];
    gMapOwnershipMode = saved_[2];
    gScreenWidth = saved_[3];
    gScreenHeight = saved_[4];
    gShowWeather = savedFlags_[0];
    gShowGrid = savedFlags_[1];
    gShowCityNames = savedFlags_[2];
    gShowUnitNames = savedFlags_[3];
    gShowAPLeft = savedFlags_[4];
    gShowSeaZoneBorders = savedFlags_[5];
    gShowSeaZoneNames = savedFlags_[6];
    gBorderColor = savedBorderColour_;
    ScreenFixture::TearDown();
  }

  static void ResetSkin() {
    sSkinTables& t = SkinTables();
    for (auto& record : t.cities) record = sCityAppearance{};
    for (auto& table : t.units) {
      for (auto& record : table) record = sUnitAppearance{};
    }
    t.headerFont = sAppearanceFont{};
    t.activeCity = &t.cities[0];
    for (int i = 0; i < kUnitTableCount; ++i) t.activeUnit[static_cast<std::size_t>(i)] = &t.units[static_cast<std::size_t>(i)][0];
    for (TextureHolder* h : {&MapSkinTextures().terrain, &MapSkinTextures().others, &MapSkinTextures().decorations,
                             &UnitsSkinTextures().units, &UnitsSkinTextures().info}) {
      h->Release();
    }
  }

  // The camera on map point (x, y) at the scale, settled as the frame step leaves it.
  void SetView(float scale, float x, float y) {
    cMap& map = world_->map();
    gTargetScale = scale;
    gDisplayedScale = -1.0f;
    map.camera = sMapCamera{};
    map.camera.x = map.camera.targetX = x;
    map.camera.y = map.camera.targetY = y;
    map.FrameMove(0.0f);
  }

  // One frame of the running game into the recorder.
  void Render() {
    recorder_.Clear();
    frame_->graphics().Clear(0xFF000000u);
    RenderGame(frame_->graphics(), 0.0f);
  }

  std::vector<const DrawRecord*> SpritesOf(const std::string& label) const {
    std::vector<const DrawRecord*> out;
    for (const DrawRecord& r : recorder_.records()) {
      if (r.kind == DrawRecord::Kind::kSprite && r.texture_label == label) out.push_back(&r);
    }
    return out;
  }

  const DrawRecord* SpriteOf(const std::string& label, const Rect& source) const {
    for (const DrawRecord* r : SpritesOf(label)) {
      if (r->source == source) return r;
    }
    return nullptr;
  }

  std::unique_ptr<TestWorld> world_;

 private:
  std::array<int, 5> saved_{};
  std::array<bool, 7> savedFlags_{};
  std::uint32_t savedBorderColour_ = 0;
};

}  // namespace tr::test
