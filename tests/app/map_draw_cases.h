// The map drawing tests' shared cases: a 4x3 map on blank skin sheets with
// the map's origin at the screen centre, the player's side of the frame as a
// test sets it, and the fonts and text format the map's texts take.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "app/map_draw_state.h"
#include "map_draw_fixture.h"
#include "platform/font.h"

namespace tr {

// The player's side of the frame as a test sets it, in force while it lives.
struct StateOfTheFrame {
  sMapDrawState state;
  StateOfTheFrame() { SetMapDrawStateSource([this] { return state; }); }
  ~StateOfTheFrame() { SetMapDrawStateSource({}); }
  StateOfTheFrame(const StateOfTheFrame&) = delete;
  StateOfTheFrame& operator=(const StateOfTheFrame&) = delete;
};

// The map's texts stand centred on one line in their place, and may reach past it.
constexpr std::uint32_t kMapText = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;

inline std::unique_ptr<Font> TestFont(Argb colour, Argb shadow, sAppearanceFont& into) {
  into.font.color = colour;
  into.font.color2 = shadow;
  return Font::Create(u"Arial", 12, 400);
}

class MapDraw : public test::MapDrawFixture {
 protected:
  void SetUp() override {
    MapDrawFixture::SetUp();
    MakeWorld(4, 3, 2);
    Blank(MapSkinTextures().terrain, 2004, 2004, "terrain");
    Blank(MapSkinTextures().others, 2004, 2004, "others");
    Blank(UnitsSkinTextures().units, 2048, 1000, "units");
    Blank(UnitsSkinTextures().info, 256, 128, "info");
    // At scale 1 with the camera on (0, 0) the map's origin is the screen centre.
    SetView(1.0f, 0.0f, 0.0f);
  }

  // An opaque sheet: cells with nothing in them are not drawn at all.
  static void Blank(TextureHolder& holder, int w, int h, const char* label) {
    holder.CreateEmpty(w, h);
    Texture& texture = *holder.GetTexture();
    Texture::LockedRect texels = texture.Lock();
    std::fill_n(texels.bits, static_cast<std::size_t>(w) * h, 0xFFFFFFFFu);
    texture.Unlock();
    texture.set_label(label);
  }

  static constexpr int kOx = 512, kOy = 384;
};

}  // namespace tr
