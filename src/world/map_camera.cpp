#include "world/map_camera.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <mutex>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "world/gra.h"
#include "world/map.h"

namespace tr {

float gZoomLevel = 1.0f;
float gTargetScale = 1.0f;
float gDisplayedScale = 1.0f;
sMapDrag gMapDrag;

namespace {

// Guards the camera floats: the worker glides the camera while the main thread steps it.
std::mutex& CameraMutex() {
  static std::mutex mutex;
  return mutex;
}

std::function<void()>& ClickHandler() {
  static std::function<void()> handler;
  return handler;
}

// The maximum first, then the minimum, so the minimum wins when the two cross.
float ClampToLimits(float v, std::int32_t low, std::int32_t high) {
  v = std::min(v, static_cast<float>(high));
  return std::max(v, static_cast<float>(low));
}

float SmallSpeed(float speed, float positiveFloor) {
  if (speed > 0.0f && speed < 0.1f) return positiveFloor;
  if (speed < 0.0f && speed > -0.1f) return -0.1f;
  return speed;
}

bool HumanPlaying() {
  if (gGame == nullptr) return false;
  const eGameState state = gGame->GetGameState();
  return state == kGameHumanIdle || state == kGameHumanMoving;
}

// One axis of the glide.
void GlideAxis(float& pos, float target, float& speed, float& zoomOffset, float elapsed) {
  if (pos == target) return;
  const float step = speed * elapsed * 50.0f;
  const float remaining = target - pos;
  if (step == 0.0f || (remaining > 0 ? step >= remaining : step <= remaining) || (remaining > 0) != (step > 0)) {
    // A step that reaches or passes the target, or one that heads away from it, ends the glide.
    pos = target;
    speed = 0.0f;
    zoomOffset = 0.0f;
  } else {
    pos += step;
  }
}

// The zoom level whose target scale (cMap::Zoom) is the scale given: 1 where
// the map's width fits the screen, 0 at scale 1.
float ZoomLevelOfScale(int mapWidth, float scale) {
  const float screenWidth = static_cast<float>(gScreenWidth);
  const float span = static_cast<float>(mapWidth * kColumnStep) - screenWidth;
  if (span <= 0.0f || scale <= 0.0f) return 0.0f;
  return std::clamp((screenWidth / scale - screenWidth) / span, 0.0f, 1.0f);
}

}  // namespace

void SetMapClickHandler(std::function<void()> handler) { ClickHandler() = std::move(handler); }

void ResetMapView(cMap& map) {
  std::lock_guard lock(CameraMutex());
  // The map opens at the zoom the settings keep, between the whole map and scale 1.
  const float fit = map.fitScale > 0.0f ? std::min(map.fitScale, 1.0f) : 1.0f;
  const float scale = std::clamp(gMapZoom, fit, 1.0f);
  gZoomLevel = ZoomLevelOfScale(map.GetWidth(), scale);
  gDisplayedScale = gTargetScale = scale;
  map.camera = sMapCamera{};
  // One step settles the limits, the grid position and the transform for the scale.
  gDisplayedScale = -1.0f;
}

void cMap::ScrollCamera(float dx, float dy, float factor) {
  std::lock_guard lock(CameraMutex());
  camera.targetX = ClampToLimits(camera.targetX + dx, cameraMinX, cameraMaxX);
  camera.targetY = ClampToLimits(camera.targetY + dy, cameraMinY, cameraMaxY);
  camera.glideSpeedX = SmallSpeed((camera.targetX - camera.x) * factor, 0.1f);
  // Downwards the floor is far smaller than in the other directions; the glide keeps that feel.
  camera.glideSpeedY = SmallSpeed((camera.targetY - camera.y) * factor, 0.005f);
}

void cMap::GlideCamera(float x, float y, bool setState) {
  float dx = 0, dy = 0;
  {
    std::lock_guard lock(CameraMutex());
    dx = x - camera.x;
    dy = y - camera.y;
  }
  ScrollCamera(dx, dy, 1.0f);
  if (setState && gGame != nullptr) gGame->SetGameState(kGameCameraGlide);
}

void CenterAtHex(cMap& map, int x, int y, bool glide) {
  if (!map.IsInside(x, y)) {
    LogLine(Format(GetText("warning:_attempt_to_center_map_on_hex_(%i,%i)_which_is_out_of_range!"), x, y));
    return;
  }
  LogLine(u"CenterAtHex");
  float dx = 0, dy = 0;
  {
    std::lock_guard lock(CameraMutex());
    dx = static_cast<float>(x * kColumnStep) - map.camera.targetX;
    dy = static_cast<float>(y * kRowStep) - map.camera.targetY;
  }
  map.ScrollCamera(dx, dy, 1.0f);
  if (!glide) {
    std::lock_guard lock(CameraMutex());
    map.camera.x = map.camera.targetX;
    map.camera.y = map.camera.targetY;
  }
}

void cMap::CenterAtMinimapPoint(int mouseX, int mouseY) {
  const auto [left, top, w, h] = minimapRect;
  if (w <= 0 || h <= 0) return;  // no minimap laid out yet
  const int x = static_cast<int>(static_cast<float>(mouseX - left) / w * width_);
  const int y = static_cast<int>(static_cast<float>(mouseY - top) / h * height_);
  CenterAtHex(*this, x, y);
}

void cMap::Zoom(float amount, float cursorX, float cursorY) {
  if (width_ <= 0) return;
  gZoomLevel -= amount * (gZoomLevel >= 0.75f ? 0.05f : 0.01f);
  gZoomLevel = std::clamp(gZoomLevel, 0.0f, 1.0f);
  const float screenWidth = static_cast<float>(gScreenWidth);
  const float oldTarget = gTargetScale;
  gTargetScale = screenWidth / ((static_cast<float>(width_ * kColumnStep) - screenWidth) * gZoomLevel + screenWidth);
  std::lock_guard lock(CameraMutex());
  if (HumanPlaying()) {
    camera.zoomOffsetX += cursorX / oldTarget - cursorX / gTargetScale;
    camera.zoomOffsetY += cursorY / oldTarget - cursorY / gTargetScale;
  } else {
    camera.zoomOffsetX = 0.0f;
    camera.zoomOffsetY = 0.0f;
  }
}

bool cMap::FrameMove(float elapsed) {
  bool scaleChanged = false;
  bool click = false;
  {
    std::lock_guard lock(CameraMutex());
    sMapCamera& c = camera;
    if (gDisplayedScale != gTargetScale) {
      const float difference = gTargetScale - gDisplayedScale;
      const float reach = 50.0f * elapsed;
      float q = 1.0f;
      if (std::fabs(difference) <= reach || gDisplayedScale <= 0.0f) {
        gDisplayedScale = gTargetScale;
      } else {
        gDisplayedScale += difference > 0 ? reach : -reach;
        q = reach / std::fabs(difference);
      }
      c.x += c.zoomOffsetX * q;
      c.zoomOffsetX -= c.zoomOffsetX * q;
      c.y += c.zoomOffsetY * q;
      c.zoomOffsetY -= c.zoomOffsetY * q;
      scaleChanged = true;
    }
    const float scale = gDisplayedScale;
    if (gMapDrag.inProgress) {
      c.x = ClampToLimits(c.targetX - gMapDrag.offsetX / scale, cameraMinX, cameraMaxX);
      c.y = ClampToLimits(c.targetY - gMapDrag.offsetY / scale, cameraMinY, cameraMaxY);
      c.glideSpeedX = c.glideSpeedY = c.zoomOffsetX = c.zoomOffsetY = 0.0f;
    } else if (gMapDrag.ended) {
      c.targetX -= gMapDrag.offsetX / scale;
      c.targetY -= gMapDrag.offsetY / scale;
      c.x = ClampToLimits(c.targetX, cameraMinX, cameraMaxX);
      c.y = ClampToLimits(c.targetY, cameraMinY, cameraMaxY);
      c.glideSpeedX = c.glideSpeedY = c.zoomOffsetX = c.zoomOffsetY = 0.0f;
      gMapDrag.ended = false;
      click = std::abs(gMapDrag.offsetX) <= 9 && std::abs(gMapDrag.offsetY) <= 9 && HumanPlaying();
    } else {
      GlideAxis(c.x, c.targetX, c.glideSpeedX, c.zoomOffsetX, elapsed);
      GlideAxis(c.y, c.targetY, c.glideSpeedY, c.zoomOffsetY, elapsed);
    }
    firstVisibleColumn = static_cast<std::int32_t>((c.x - 166.0f) / kColumnStep);
    columnOffset = static_cast<std::int32_t>(c.x) % kColumnStep;
    firstVisibleRow = static_cast<std::int32_t>((c.y - 166.0f) / kRowStep);
    rowOffset = static_cast<std::int32_t>(c.y - 166.0f) % kRowStep;
  }
  if (click && ClickHandler()) ClickHandler()();

  if (gGame != nullptr && camera.x == camera.targetX && camera.y == camera.targetY) {
    if (gGame->GetGameState() == kGameCameraGlide) gGame->SetGameState(kGameHumanIdle);
    else if (gGame->GetGameState() == kGameGlideToEndOfImpulse) gGame->SetGameState(kGameEndOfImpulse);
  }

  const float scale = gDisplayedScale;
  const float screenW = static_cast<float>(gScreenWidth);
  const float screenH = static_cast<float>(gScreenHeight);
  // Not only this step's own moves: a centring elsewhere may have set the
  // camera since the last frame without a glide for this step to see.
  const sMinimapOutlineSource source{firstVisibleColumn, firstVisibleRow, scale, minimapRect,
                                     gScreenWidth, gScreenHeight};
  if (source != minimapOutlineSource_ && width_ > 0 && height_ > 0) {
    minimapOutlineSource_ = source;
    const auto [left, top, w, h] = minimapRect;
    const float halfW = w * screenW / scale / (width_ * kColumnStep) / 2.0f;
    const float halfH = h * screenH / scale / (height_ * kRowStep) / 2.0f;
    float x0 = static_cast<float>(firstVisibleColumn + 1) / width_ * w + left - halfW;
    float y0 = static_cast<float>(firstVisibleRow + 1) / height_ * h + top - halfH;
    float x1 = x0 + 2 * halfW, y1 = y0 + 2 * halfH;
    x0 = std::clamp(x0, static_cast<float>(left), static_cast<float>(left + w));
    x1 = std::clamp(x1, static_cast<float>(left), static_cast<float>(left + w));
    y0 = std::clamp(y0, static_cast<float>(top), static_cast<float>(top + h));
    y1 = std::clamp(y1, static_cast<float>(top), static_cast<float>(top + h));
    minimapOutline = {{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}}};
  }
  if (scaleChanged && scale > 0.0f) {
    visibleColumnsAtScale = static_cast<std::int32_t>(visibleColumns / scale + 2);
    visibleRowsAtScale = static_cast<std::int32_t>(visibleRows / scale + 2);
    cameraMaxX = static_cast<std::int32_t>((width_ + 5) * kColumnStep - screenW / (2 * scale));
    cameraMinX = static_cast<std::int32_t>(screenW / (2 * scale) - 415);
    cameraMaxY = static_cast<std::int32_t>((height_ + 5) * kRowStep - screenH / (2 * scale));
    cameraMinY = static_cast<std::int32_t>(screenH / (2 * scale) - 490);
    if (cameraMinX > cameraMaxX) cameraMinX = cameraMaxX = (cameraMinX + cameraMaxX) / 2;
    if (cameraMinY > cameraMaxY) cameraMinY = cameraMaxY = (cameraMinY + cameraMaxY) / 2;
    viewTransform = {scale, 0, 0, 0, 0, scale, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  }
  return scaleChanged;
}

void cMap::RollWeather(int month) {
  if (month < 0 || month >= kMonthsPerYear) {
    LogFormat(u"RollWeather: month index %i is out of range, the weather stays", month);
    return;
  }
  for (int x = 0; x < width_; ++x) {
    for (int y = 0; y < height_; ++y) {
      sHex& hex = *GetHex(x, y);
      if (!hex.IsLand() || hex.takesWeather == 0) continue;
      if (RandomRange(1, 100) <= hex.winterChance[static_cast<std::size_t>(month)]) {
        hex.weather = 1;
      } else {
        hex.weather = RandomRange(1, 100) <= hex.mudChance[static_cast<std::size_t>(month)] ? 2 : 0;
      }
    }
  }
}

}  // namespace tr
