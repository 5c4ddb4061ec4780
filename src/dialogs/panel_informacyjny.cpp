#include "dialogs/panel_informacyjny.h"

#include <array>
#include <string>

#include "app/device_objects.h"
#include "app/game_textures.h"
#include "app/input_routing.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/gui_layout.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "gui/icon.h"
#include "gui/image.h"
#include "gui/static.h"
#include "gui/texture_holder.h"
#include "platform/frame_clock.h"
#include "world/gra.h"

namespace tr {
namespace {

// The logged position of the panel's lock.
constexpr const char* kThisFile = "panel_informacyjny";
constexpr int kPanelId = 292;
constexpr int kBusySize = 150;
constexpr int kBusyFrameSize = 200;
constexpr int kBusyFrameTop = 1390;
constexpr int kBusyFrameMs = 200;

struct sToggle {
  int id;
  Rect skin;
  const char* hint;
  int hotkey;
};
// In the order Disable and Enable hide and show them.
constexpr std::array<sToggle, 4> kToggles = {{
    {cInfoPanel::kUnitPanelToggle, {1040, 100, 1130, 190}, "unitpanel_hint", 'U'},
    {cInfoPanel::kHexPanelToggle, {1130, 100, 1220, 190}, "hexpanel_hint", 'H'},
    {cInfoPanel::kDiplomacyPanelToggle, {950, 460, 1040, 550}, "diplomacypanel_hint", 'D'},
    {cInfoPanel::kAttackPanelToggle, {950, 100, 1040, 190}, "attackpanel_hint", 'A'},
}};

struct sValueField {
  int id;
  const char* hint;
};
constexpr std::array<sValueField, 6> kValueFields = {{
    {cInfoPanel::kProductionPoints, "infopanel_production_points_hint"},
    {cInfoPanel::kDiplomacyPoints, "infopanel_diplomacy_points_hint"},
    {cInfoPanel::kStrategicMovePoints, "infopanel_strategic_moves_points_hint"},
    {cInfoPanel::kSeaTransportPoints, "infopanel_sea_transport_points_hint"},
    {cInfoPanel::kInvasionPoints, "infopanel_sea_invasion_points_hint"},
    {cInfoPanel::kNuclearBombs, "infopanel_nuclear_bombs_hint"},
}};

struct sToolbarButton {
  int id;
  int column;
  int band;
  const char* hint;
};
constexpr std::array<sToolbarButton, 8> kToolbar = {{
    {336, 2, 0, "open_purchase_window"},
    {340, 4, 0, "open_reports_window"},
    {342, 2, 1, "open_options_screen"},
    {337, 0, 1, "open_units_management_window"},
    {339, 1, 0, "open_research_management_window"},
    {341, 1, 1, "open_convoys_management_window"},
    {343, 0, 0, "finish_turn"},
    {344, 3, 1, "open_hotkeys_screen"},
}};

Texture* GuiTexture() { return GlobalTextureRecord(kTextureGuiSkin).GetTexture(); }

// The four numbers of a layout record taken as left, top, right, bottom.
Rect RecordAsSource(int record) {
  const sGuiLayoutEntry& e = sGuiLayoutTable[static_cast<std::size_t>(record)];
  return {e.x, e.y, e.width, e.height};
}

Rect LayoutRect(int id) {
  Rect xywh;
  CDXUTDialog::GetLayoutRect(id, &xywh);
  return xywh;
}

bool InWorkerState() {
  if (gGame == nullptr) return false;
  const eGameState state = gGame->GetGameState();
  // 11 stands with the worker's states although no step of this game sets it.
  return state == kGameEndOfImpulse || state == kGameSeaBattles || state == kGameComputerTurn ||
         state == kGameComputerMoving || static_cast<int>(state) == 11;
}

// The game lock, taken only in the states in which the worker changes the game.
class WorkerStateLock {
 public:
  explicit WorkerStateLock(int line) : line_(line), held_(InWorkerState()) {
    if (held_) EnterGameLock(kThisFile, line_);
  }
  ~WorkerStateLock() {
    if (held_) LeaveGameLock(kThisFile, line_);
  }
  WorkerStateLock(const WorkerStateLock&) = delete;
  WorkerStateLock& operator=(const WorkerStateLock&) = delete;

 private:
  int line_;
  bool held_;
};

}  // namespace

Rect ToolbarCellSkin(int column, int band, float x0, float y0, float w, float h) {
  const float left = x0 + static_cast<float>(column) * w;
  const float top = y0 + static_cast<float>(band) * 3.0f * h;
  return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + w), static_cast<int>(top + h)};
}

cInfoPanel::cInfoPanel() : cPanel(-1, LayoutRect(kPanelId)) {
  Texture* gui = GuiTexture();
  AddImageAt(kPanelId, gui, RecordAsSource(3));
  CDXUTStatic* text = nullptr;
  if (Succeeded(AddStaticAt(kStatusLine, u"-", &text))) text->SetTextFormat(DT_CENTER | DT_VCENTER);
  CDXUTImage* flag = nullptr;
  if (Succeeded(AddImageAt(kFlag, nullptr, Rect{0, 0, 128, 85}, GetText("your_country_flag"), 0xFFFFFFFFu, &flag))) {
    flag->SetVisible(false);
  }
  AddImageAt(330, gui, RecordAsSource(6));
  if (Succeeded(AddStaticAt(kCountryName, u"-", &text))) text->SetTextFormat(DT_CENTER | DT_VCENTER);
  for (const sValueField& field : kValueFields) {
    if (Failed(AddStaticAt(field.id, u"-", &text))) continue;
    text->SetHint(GetText(field.hint));
    text->SetEnabled(true);
    text->SetTextFormat(DT_RIGHT | DT_VCENTER);
  }
  // Made in the order of their ids; hidden and shown in the order above.
  for (const std::size_t index : {0u, 1u, 3u, 2u}) {
    const sToggle& toggle = kToggles[index];
    const Rect at = LayoutRect(toggle.id);
    CDXUTIcon* icon = nullptr;
    if (Failed(AddIcon(toggle.id, toggle.skin, at.left, at.top, at.right, at.bottom, toggle.hotkey, false, &icon))) {
      continue;
    }
    icon->SetHint(GetText(toggle.hint));
    icon->SetDraggable(true);
  }
  CDXUTImage* busy = nullptr;
  if (Succeeded(AddImage(kBusyImage, gui, Rect{0, kBusyFrameTop, kBusyFrameSize, kBusyFrameTop + kBusyFrameSize},
                         gScreenWidth - kBusySize, gScreenHeight - kBusySize, kBusySize, kBusySize, 0, false,
                         &busy))) {
    busy->SetVisible(false);
  }
  AddImageAt(335, gui, RecordAsSource(13));
  const sGuiLayoutEntry& sheet = sGuiLayoutTable[14];
  for (const sToolbarButton& button : kToolbar) {
    const Rect skin = ToolbarCellSkin(button.column, button.band, static_cast<float>(sheet.x),
                                      static_cast<float>(sheet.y), static_cast<float>(sheet.width),
                                      static_cast<float>(sheet.height));
    const Rect at = LayoutRect(button.id);
    CDXUTIcon* icon = nullptr;
    if (Succeeded(AddIcon(button.id, skin, at.left, at.top, at.right, at.bottom, 0, false, &icon))) {
      icon->SetHint(GetText(button.hint));
    }
  }
  EnableKeyboardInput(false);
  SetCallback(&InfoPanelGuiEventCallback);
}

void cInfoPanel::SetStaticText(int id, std::u16string_view text) {
  if (auto* label = static_cast<CDXUTStatic*>(GetControlOfType(id, kControlStatic))) label->SetText(text);
}

void cInfoPanel::Update() {
  WorkerStateLock lock(__LINE__);
  Refresh();
}

void cInfoPanel::ShowCountry(int countryId) {
  shownCountryId_ = countryId;
  Refresh();
}

void cInfoPanel::Refresh() {
  if (gGame == nullptr) return;
  const cCountry* shown = shownCountryId_ != 0 ? gGame->GetCountry(shownCountryId_) : nullptr;
  const cCountry* country = shown != nullptr ? shown : gGame->playerControl.currentCountry;
  if (country == nullptr) return;
  if (auto* flag = static_cast<CDXUTImage*>(GetControlOfType(kFlag, kControlImage))) {
    flag->SetVisible(true);
    // Drawing only reads the picture.
    flag->SetTexture(const_cast<Texture*>(FindGameTexture(country->GetFlagTexture())));
  }
  SetStaticText(kCountryName, country->name);
  if (!country->humanControlled) return;
  SetStaticText(kProductionPoints, Format(u"%.0f", country->productionPoints));
  SetStaticText(kDiplomacyPoints, Format(u"%i", country->diplomaticPoints));
  SetStaticText(kStrategicMovePoints,
                Format(GetText("%i/%i"), country->strategicMovementPoints, country->strategicMovementMax));
  SetStaticText(kSeaTransportPoints, Format(u"%i", country->seaTransportPoints));
  SetStaticText(kInvasionPoints, Format(GetText("%i/%i"), country->invasionPoints, country->invasionPointsUsed));
  SetStaticText(kNuclearBombs, Format(u"%i", country->nuclearBombs));
}

void cInfoPanel::Disable() {
  EnableNonUserEvents(false);
  EnableKeyboardInput(false);
  EnableMouseInput(false);
  for (const sToggle& toggle : kToggles) {
    if (CDXUTControl* icon = GetControlOfType(toggle.id, kControlIcon)) icon->SetVisible(false);
  }
  if (CDXUTControl* busy = GetControlOfType(kBusyImage, kControlImage)) busy->SetVisible(true);
}

void cInfoPanel::Enable() {
  EnableMouseInput(true);
  for (const sToggle& toggle : kToggles) {
    if (CDXUTControl* icon = GetControlOfType(toggle.id, kControlIcon)) icon->SetVisible(true);
  }
  if (CDXUTControl* busy = GetControlOfType(kBusyImage, kControlImage)) busy->SetVisible(false);
}

void cInfoPanel::SetStatusText(std::u16string_view text) {
  WorkerStateLock lock(__LINE__);
  SetStaticText(kStatusLine, text);
}

void cInfoPanel::Render(float elapsed) {
  auto* busy = static_cast<CDXUTImage*>(GetControlOfType(kBusyImage, kControlImage));
  if (busy != nullptr && busy->GetVisible()) {
    const int left = static_cast<int>(TimerMs() / kBusyFrameMs % 2) * kBusyFrameSize;
    busy->SetSourceRect({left, kBusyFrameTop, left + kBusyFrameSize, kBusyFrameTop + kBusyFrameSize});
  }
  OnRender(elapsed);
}

cInfoPanel* GetInfoPanel() { return dynamic_cast<cInfoPanel*>(gInfoPanel); }

}  // namespace tr
