#include "app/frame_utils.h"

#include <algorithm>
#include <array>
#include <utility>

#include "app/device_objects.h"
#include "foundation/gui_layout.h"
#include "foundation/settings.h"
#include "gui/control.h"
#include "gui/dialog.h"
#include "gui/resource_cache.h"
#include "gui/static.h"
#include "gui/texture_holder.h"
#include "platform/sprite_batch.h"

namespace tr {
namespace {

// Head id and the number of following ids that move with it.
constexpr std::array<std::pair<int, int>, 28> kControlGroups = {{
    {82, 89},  {252, 6},  {480, 25}, {550, 28}, {630, 10}, {667, 6},  {675, 2},
    {678, 2},  {681, 2},  {684, 4},  {689, 4},  {694, 6},  {701, 6},  {708, 6},
    {715, 6},  {722, 6},  {730, 3},  {740, 17}, {790, 10}, {810, 16}, {840, 12},
    {860, 11}, {880, 14}, {900, 19}, {930, 8},  {940, 16}, {960, 8},  {1010, 15},
}};

// The toggle icons of the unit, hex, attack and diplomacy panels.
constexpr std::array<int, 4> kPanelIcons = {350, 400, 450, 600};

std::function<void(int, int, int)>& PanelMover() {
  static std::function<void(int, int, int)> mover;
  return mover;
}

void StoreRect(int id, const Rect& box) {
  sGuiLayoutTable[static_cast<std::size_t>(id)] = {box.left, box.top, box.right - box.left, box.bottom - box.top};
}

int AlignOffset(int spare, int mode) {
  if (mode == 0) return 0;
  if (mode == 2) return spare;
  return spare / 2;
}

}  // namespace

float SquareRectAligned(int& x, int& y, int& width, int& height, int horizontalMode, int verticalMode) {
  const int side = std::min(width, height);
  x += AlignOffset(width - side, horizontalMode);
  y += AlignOffset(height - side, verticalMode);
  const float scale = static_cast<float>(side) / static_cast<float>(width);
  width = height = side;
  return scale;
}

void DrawSkinBox(int x, int y, int width, int height, int iconIndex) {
  SpriteBatch* sprite = GetGuiResourceCache().sprite();
  const Texture* atlas = GlobalTextureRecord(kTextureGuiSkin).GetTexture();
  if (sprite == nullptr || atlas == nullptr) return;
  constexpr int kPiece = 45;
  // The box shares the atlas's 45-pixel frame cells, so it looks like every
  // other framed area of the interface.
  constexpr int kLeft = 0;
  constexpr int kTop = 1913;
  const int innerW = width - 2 * kPiece;
  const int innerH = height - 2 * kPiece;
  const int columnX[3] = {x, x + kPiece, x + kPiece + innerW};
  const int columnW[3] = {kPiece, innerW, kPiece};
  const int rowY[3] = {y, y + kPiece, y + kPiece + innerH};
  const int rowH[3] = {kPiece, innerH, kPiece};
  const bool begun = sprite->begun();
  if (!begun) sprite->Begin(kSpriteAlphaBlend);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      const Rect source = RectFromSize(kLeft + column * kPiece, kTop + row * kPiece, kPiece, kPiece);
      DrawSpriteStretched(*sprite, atlas, source, static_cast<float>(columnX[column]),
                          static_cast<float>(rowY[row]), static_cast<float>(columnW[column]),
                          static_cast<float>(rowH[row]), 0xFFFFFFFFu, 0.5f, false);
    }
  }
  if (iconIndex >= 0) {
    constexpr int kCell = 120;
    const sGuiLayoutEntry& sheet = sGuiLayoutTable[58];
    const Rect source = RectFromSize(sheet.x + kCell * (iconIndex / 10), sheet.y + kCell * (iconIndex % 10),
                                     kCell, kCell);
    DrawSpriteStretched(*sprite, atlas, source, static_cast<float>(x + (width - kCell) / 2),
                        static_cast<float>(y + (height - kCell) / 2), kCell, kCell, 0xFFFFFFFFu, 0.4f, false);
  }
  if (!begun) sprite->End();
}

int ControlGroupSize(int controlId) {
  for (const auto& [head, size] : kControlGroups) {
    if (head == controlId) return size;
  }
  return 0;
}

void SetPanelMoveHandler(std::function<void(int, int, int)> handler) { PanelMover() = std::move(handler); }

bool OnControlMoved(CDXUTDialog* dialog, int controlId, const Rect& box, int dx, int dy) {
  if (std::find(kPanelIcons.begin(), kPanelIcons.end(), controlId) != kPanelIcons.end()) {
    if (box.left < 0 || box.top < 0 || box.right > gScreenWidth || box.bottom > gScreenHeight) return false;
    StoreRect(controlId, box);
    if (auto& mover = PanelMover()) mover(controlId, dx, dy);
    return true;
  }
  if (controlId < 1 || controlId >= kGuiLayoutEntryCount || controlId == 780) return true;
  StoreRect(controlId, box);
  const int followers = ControlGroupSize(controlId);
  if (dialog != nullptr) {
    for (int id = controlId + 1; id <= controlId + followers; ++id) {
      if (CDXUTControl* control = dialog->GetControl(id)) control->MoveBy(dx, dy);
    }
  }
  return true;
}

void AddMemoWithLabel(CDXUTDialog& dialog, int memoId, std::u16string_view memoText, int labelId,
                      std::u16string_view labelText) {
  dialog.AddMemoAt(memoId, memoText);
  dialog.AddStaticAt(labelId, labelText);
}

CDXUTStatic* AddSliderWithLabels(CDXUTDialog& dialog, int sliderId, int minimum, int maximum, int value,
                                 int labelId, std::u16string_view labelText, int valueLabelId,
                                 std::u16string_view valueText) {
  dialog.AddStaticAt(labelId, labelText);
  dialog.AddSliderAt(sliderId, minimum, maximum, value);
  CDXUTStatic* valueLabel = nullptr;
  if (Failed(dialog.AddStaticAt(valueLabelId, valueText, &valueLabel))) return nullptr;
  valueLabel->SetTextFormat(DT_RIGHT | DT_VCENTER);
  return valueLabel;
}

}  // namespace tr
