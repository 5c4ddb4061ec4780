// cDialog: the base of every in-game window (modal dialogs and, through
// cPanel, the map-side panels). It adds to the toolkit dialog an id that is
// also its frame's id and its key in the modal dialog stack, a one-shot timer
// that closes, hides or shows it, an owner that small dialogs report to, and
// the seven operations through which the frame hands it input.
#pragma once

#include <cstdint>

#include "gui/dialog.h"

namespace tr {

class cDialog : public CDXUTDialog {
 public:
  // What the timer does when it runs out.
  static constexpr int kTimerClose = 1;
  static constexpr int kTimerHide = 2;
  static constexpr int kTimerShow = 3;

  // A framed dialog: with an id above 0 it owns a draggable frame with that id
  // over the rectangle (x, y, width, height), and its GUI events go to the top dialog.
  cDialog(int id, const Rect& xywh);
  // A bare dialog (the stack's placeholder, the panels): no frame, no callback.
  explicit cDialog(int id);

  virtual void Render(float elapsed);
  // The only way a dialog ends: forgets its callback and TopDialog, and is
  // freed (after the message dispatch when called from inside one).
  virtual void Destroy();
  virtual void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control);
  virtual void OnKeyboard(std::uint32_t key, bool down, bool alt);
  virtual void OnMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheel, int x,
                       int y);
  // The dialog has become the top of the modal stack again.
  virtual void OnActivate();
  virtual void OnTimerTick(float elapsed);

  // Once per frame for the top dialog only.
  void TickTimer(float elapsed);
  // Starts the timer: after the seconds, the action.
  void StartTimer(float seconds, int action);

  // Distinguishes a dialog from a later one made at the same address.
  std::uint64_t serial() const { return serial_; }

  std::int32_t timerPaused = 1;
  float timerSeconds = -1.0f;
  std::int32_t timerAction = 0;
  std::int32_t id = 0;
  cDialog* owner = nullptr;

 protected:
  // Dialogs are freed only through Destroy.
  ~cDialog() override = default;

 private:
  std::uint64_t serial_;
};

}  // namespace tr
