// CDXUTImage: a rectangle of any texture, stretched over the control; a hint
// source and clickable while enabled.
#pragma once

#include "gui/control.h"

namespace tr {

class Texture;

class CDXUTImage : public CDXUTControl {
 public:
  explicit CDXUTImage(CDXUTDialog* dialog = nullptr);

  bool HandleKeyboard(std::uint32_t msg, WParam wparam, LParam lparam) override;
  bool HandleMouse(std::uint32_t msg, int x, int y, WParam wparam, LParam lparam) override;
  bool CanHaveFocus() override { return visible_ && enabled_; }
  void OnHotkey() override;
  bool ContainsPoint(int x, int y) override { return enabled_ && bounding_box_.Contains(x, y); }
  void Render(float elapsed) override;

  // The texture is not owned; null draws nothing.
  void SetTexture(Texture* texture) { texture_ = texture; }
  Texture* GetTexture() const { return texture_; }
  void SetSourceRect(const Rect& source) { source_ = source; }
  const Rect& GetSourceRect() const { return source_; }
  void SetColor(std::uint32_t color) { color_ = color; }
  std::uint32_t GetColor() const { return color_; }

 private:
  Rect source_;
  Texture* texture_ = nullptr;
  std::uint32_t color_ = 0xFFFFFFFFu;
  bool pressed_ = false;
};

}  // namespace tr
