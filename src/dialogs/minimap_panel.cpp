#include "dialogs/minimap_panel.h"

#include "app/device_objects.h"
#include "app/input_routing.h"
#include "app/minimap_texture.h"
#include "foundation/gui_layout.h"
#include "foundation/string_base.h"
#include "gui/icon.h"
#include "gui/image.h"
#include "gui/resource_cache.h"
#include "gui/static.h"
#include "gui/texture_holder.h"
#include "platform/graphics.h"
#include "platform/sprite_batch.h"
#include "platform/texture.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr int kPanelId = 310;

struct sMapButton {
  int id;
  Rect skin;
  const char* hint;
};
constexpr sMapButton kButtons[] = {
    {316, {560, 375, 585, 400}, "zoom_in"},
    {317, {590, 375, 615, 400}, "zoom_out"},
    {319, {620, 375, 645, 400}, "change_ownership_draw_mode"},
    {318, {650, 375, 675, 400}, "change_border_draw_mode"},
    {320, {680, 375, 705, 400}, "change_map_draw_mode"},
};

// The part of the minimap picture that shows the map.
Rect ContentSource() {
  const sMinimapView& view = MinimapView();
  return {0, 0, view.contentWidth, view.contentHeight};
}

Rect LayoutRect(int id) {
  Rect xywh;
  CDXUTDialog::GetLayoutRect(id, &xywh);
  return xywh;
}

}  // namespace

cMinimapPanel::cMinimapPanel() : cPanel(-1, LayoutRect(kPanelId)) {
  const sGuiLayoutEntry& background = sGuiLayoutTable[4];
  AddImageAt(kPanelId, GlobalTextureRecord(kTextureGuiSkin).GetTexture(),
             Rect{background.x, background.y, background.width, background.height});
  CDXUTStatic* text = nullptr;
  if (Succeeded(AddStaticAt(kPanelId, u"", &text))) text->SetEnabled(true);
  if (Succeeded(AddStaticAt(kDateCaption, GetText("-"), &text))) text->SetTextFormat(DT_CENTER | DT_VCENTER);
  for (const sMapButton& button : kButtons) {
    const Rect at = LayoutRect(button.id);
    CDXUTIcon* icon = nullptr;
    if (Succeeded(AddIcon(button.id, button.skin, at.left, at.top, at.right, at.bottom, 0, false, &icon))) {
      icon->SetHint(GetText(button.hint));
    }
  }
  SetCallback(&InfoPanelGuiEventCallback);
}

void cMinimapPanel::SetViewRect(const std::array<std::int32_t, 4>& rect) {
  viewRect_ = rect;
  if (GetControlOfType(kMinimapImage, kControlImage) != nullptr) RemoveControl(kMinimapImage);
  CDXUTImage* image = nullptr;
  if (Succeeded(AddImage(kMinimapImage, MinimapImage().GetTexture(), ContentSource(), rect[0], rect[1], rect[2],
                         rect[3], 0, false, &image))) {
    image->SetEnabled(true);
  }
}

void cMinimapPanel::Render(float elapsed) {
  if (IsCollapsed()) return;
  OnRender(elapsed);
  if (!GetVisible()) return;
  SpriteBatch* sprite = GetGuiResourceCache().sprite();
  if (sprite == nullptr) return;
  // The ownership layer lies over the picture, at the same place and scale.
  if (Texture* layer = MinimapTexture().GetTexture(); layer != nullptr && viewRect_[2] > 0 && viewRect_[3] > 0) {
    sprite->Begin(kSpriteAlphaBlend | kSpriteDontSaveState);
    DrawTextureSprite(layer, ContentSource(), RectFromSize(viewRect_[0], viewRect_[1], viewRect_[2], viewRect_[3]),
                      0.5f, 0xFFFFFFFFu);
    sprite->End();
  }
  if (gGame != nullptr && gGame->map != nullptr) DrawMinimapViewFrame(sprite->graphics(), *gGame->map);
}

cMinimapPanel* GetMinimapPanel() { return dynamic_cast<cMinimapPanel*>(gMinimapPanel); }

}  // namespace tr
