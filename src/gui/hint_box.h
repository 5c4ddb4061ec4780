// HintBox: the one tooltip of the program, shown near the pointer once it has
// rested over something with a hint for the configured delay. Its source is
// the control under the mouse, a text set directly, or a cHoverable game
// object that measures and draws its own content. It also keeps the mouse
// state the frame reports (buttons, press positions, drag offsets).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/hoverable.h"
#include "platform/geometry.h"

namespace tr {

class CDXUTControl;
class SpriteBatch;

class HintBox {
 public:
  // Hint texts are measured for a box of about this width.
  static constexpr int kWrapWidth = 200;

  void Init(int offset_x, int offset_y, int layout_a, int layout_b, int delay_ms,
            std::u16string_view initial_text = {});

  // The text is copied; an empty one hides the box. The rest time goes on.
  void SetText(std::u16string_view text);
  // A changed control (or force) takes its hint; null clears the hint.
  void SetControl(CDXUTControl* control, bool force = false);
  // Not owned; whoever sets it clears it before the object goes.
  void SetHoverable(cHoverable* hoverable);

  // Forgets a press of the left button (held, released, released this frame),
  // so a click that opened a dialog does not act on what lies under it.
  void ForgetLeftButton();
  // Every mouse report, before anything else sees it.
  void OnMouse(bool left, bool right, int x, int y);
  // Once per frame, after every dialog: advances the rest time and draws the box when due.
  void Update();
  void Update(std::uint32_t now_ms);

  CDXUTControl* GetControl() const { return control_; }
  cHoverable* GetHoverable() const { return hoverable_; }
  const std::u16string& GetText() const { return text_; }
  int box_width() const { return box_width_; }
  int box_height() const { return box_height_; }
  int hover_time() const { return hover_time_; }
  int total_time() const { return total_time_; }
  int delay() const { return delay_; }
  // The rest time before a hint shows, in milliseconds.
  void SetDelay(int delay_ms) { delay_ = delay_ms; }

  // Mouse state.
  int pointer_x() const { return pointer_x_; }
  int pointer_y() const { return pointer_y_; }
  bool left_down() const { return left_down_; }
  bool right_down() const { return right_down_; }
  bool left_held() const { return left_held_; }
  bool right_held() const { return right_held_; }
  bool left_released() const { return left_released_; }
  bool right_released() const { return right_released_; }
  bool left_released_now() const { return left_released_now_; }
  bool right_pressed_now() const { return right_pressed_now_; }
  int left_press_x() const { return left_press_x_; }
  int left_press_y() const { return left_press_y_; }
  int right_press_x() const { return right_press_x_; }
  int right_press_y() const { return right_press_y_; }
  int left_drag_x() const { return left_drag_x_; }
  int left_drag_y() const { return left_drag_y_; }
  int right_drag_x() const { return right_drag_x_; }
  int right_drag_y() const { return right_drag_y_; }

 private:
  void Render(int x, int y);
  void Measure();

  bool left_down_ = false;
  bool right_down_ = false;
  std::uint32_t last_update_ = 0;
  int offset_x_ = 20;
  int offset_y_ = 20;
  int pointer_x_ = 0;
  int pointer_y_ = 0;
  int left_press_x_ = 0;
  int left_press_y_ = 0;
  int right_press_x_ = 0;
  int right_press_y_ = 0;
  int layout_a_ = 0;
  int layout_b_ = 0;
  int total_time_ = 0;
  int delay_ = 0;
  int hover_time_ = 0;
  int box_width_ = 0;
  int box_height_ = 0;
  std::u16string text_;
  cHoverable* hoverable_ = nullptr;
  CDXUTControl* control_ = nullptr;
  bool right_held_ = false;
  bool left_held_ = false;
  bool right_released_ = false;
  bool left_released_ = false;
  int left_drag_x_ = 0;
  int left_drag_y_ = 0;
  int right_drag_x_ = 0;
  int right_drag_y_ = 0;
  bool right_pressed_now_ = false;
  bool left_released_now_ = false;
};

// The program's hint box.
HintBox& GetHintBox();

}  // namespace tr
