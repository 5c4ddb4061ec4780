// CDXUTDialog: a rectangle of the screen that owns an ordered list of
// controls, draws them from the skin, routes window messages to them, keeps
// keyboard focus and reports what the user did through one event callback.
// Menus, in-game dialogs and panels derive from it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/control.h"
#include "gui/gui_types.h"
#include "gui/skin_element.h"
#include "platform/codes.h"

namespace tr {

class CDXUTButton;
class CDXUTCheckBox;
class CDXUTComboBox;
class CDXUTEditBox;
class CDXUTFrame;
class CDXUTIcon;
class CDXUTImage;
class CDXUTListBox;
class CDXUTMemo;
class CDXUTProgressBar;
class CDXUTRadioButton;
class CDXUTSlider;
class CDXUTStatic;
class CDXUTTabFrame;
class Texture;

class CDXUTDialog {
 public:
  using Callback = std::function<void(std::uint32_t event, int control_id, CDXUTControl* control)>;

  CDXUTDialog();
  virtual ~CDXUTDialog();
  CDXUTDialog(const CDXUTDialog&) = delete;
  CDXUTDialog& operator=(const CDXUTDialog&) = delete;

  // --- Adders (dialog_adders.cpp). The "At" forms take the rectangle of the
  // control's entry in the layout table.
  HResult AddStatic(int id, std::u16string_view text, int x, int y, int w, int h,
                    bool is_default = false, CDXUTStatic** created = nullptr);
  HResult AddStaticAt(int id, std::u16string_view text, CDXUTStatic** created = nullptr);
  HResult AddButton(int id, std::u16string_view text, int x, int y, int w, int h, int hotkey = 0,
                    bool is_default = false, CDXUTButton** created = nullptr);
  HResult AddButtonAt(int id, std::u16string_view text, std::u16string_view hint = {},
                      int hotkey = 0, CDXUTButton** created = nullptr);
  // skin is the disabled picture; the normal and mouse-over ones lie below it.
  HResult AddIcon(int id, const Rect& skin, int x, int y, int w, int h, int hotkey = 0,
                  bool is_default = false, CDXUTIcon** created = nullptr);
  HResult AddImage(int id, Texture* texture, const Rect& source, int x, int y, int w, int h,
                   int hotkey = 0, bool is_default = false, CDXUTImage** created = nullptr);
  HResult AddImageAt(int id, Texture* texture, const Rect& source,
                     std::u16string_view hint = {}, std::uint32_t color = 0xFFFFFFFFu,
                     CDXUTImage** created = nullptr);
  HResult AddCheckBox(int id, std::u16string_view text, int x, int y, int w, int h,
                      bool checked = false, int hotkey = 0, bool is_default = false,
                      CDXUTCheckBox** created = nullptr);
  HResult AddCheckBoxAt(int id, std::u16string_view text, std::u16string_view hint = {},
                        bool checked = false, CDXUTCheckBox** created = nullptr);
  HResult AddRadioButton(int id, int group, std::u16string_view text, int x, int y, int w, int h,
                         bool checked = false, int hotkey = 0, bool is_default = false,
                         CDXUTRadioButton** created = nullptr);
  HResult AddRadioButtonAt(int id, int group, std::u16string_view text,
                           std::u16string_view hint = {}, bool checked = false,
                           CDXUTRadioButton** created = nullptr);
  HResult AddFrame(int id, int x, int y, int w, int h, int style, CDXUTFrame** created = nullptr);
  HResult AddTabFrameAt(int id, CDXUTTabFrame** created = nullptr);
  HResult AddProgressBarAt(int id, int minimum, int maximum, int value,
                           CDXUTProgressBar** created = nullptr);
  // The input controls (dialog_adders_input.cpp).
  HResult AddComboBox(int id, int x, int y, int w, int h, int hotkey = 0, bool is_default = false,
                      CDXUTComboBox** created = nullptr);
  HResult AddComboBoxAt(int id, std::u16string_view hint = {}, CDXUTComboBox** created = nullptr);
  HResult AddSlider(int id, int x, int y, int w, int h, int minimum = 0, int maximum = 100,
                    int value = 50, bool is_default = false, CDXUTSlider** created = nullptr);
  HResult AddSliderAt(int id, int minimum, int maximum, int value, CDXUTSlider** created = nullptr);
  HResult AddEditBox(int id, std::u16string_view text, int x, int y, int w, int h,
                     bool is_default = false, CDXUTEditBox** created = nullptr);
  HResult AddEditBoxAt(int id, std::u16string_view text, std::u16string_view hint = {},
                       CDXUTEditBox** created = nullptr);
  HResult AddListBoxAt(int id, std::uint32_t style = 0, CDXUTListBox** created = nullptr);
  HResult AddMemo(int id, std::u16string_view text, int x, int y, int w, int h,
                  bool is_default = false, CDXUTMemo** created = nullptr);
  HResult AddMemoAt(int id, std::u16string_view text, CDXUTMemo** created = nullptr);

  // Appends a control built by a caller (the adders of other control kinds);
  // it is initialised from the default elements first, and not added when that fails.
  HResult AddControl(std::unique_ptr<CDXUTControl> control);
  // Copies the default elements of the control's type into it and runs its OnInit.
  HResult InitControl(CDXUTControl* control);
  // The layout table's rectangle of id as (x, y, width, height); E_INVALIDARG
  // and a log line for an id outside the table; an unset entry is logged once.
  static HResult GetLayoutRect(int id, Rect* xywh);

  // --- Finding and removing controls.
  CDXUTControl* GetControl(int id) const;
  CDXUTControl* GetControlOfType(int id, eControlType type) const;
  CDXUTControl* GetControlAtPoint(int x, int y) const;
  const std::vector<std::unique_ptr<CDXUTControl>>& Controls() const { return controls_; }
  void RemoveControl(int id);
  void RemoveAllControls();
  void SetControlEnabled(int id, bool enabled);
  bool GetControlEnabled(int id) const;
  void ClearRadioButtonGroup(int group, bool send_event = true);

  // --- Default elements and resources (dialog_resources.cpp).
  void InitDefaultElements();
  const sSkinElement* GetDefaultElement(int type, int index) const;
  HResult SetDefaultElement(int type, int index, const sSkinElement* element);
  // Register a font or texture in the resource cache under a dialog slot;
  // slots skipped over hold -1. A negative slot is refused.
  HResult SetFont(int slot, std::u16string_view face, int height, int weight);
  HResult SetTexture(int slot, std::u16string_view file);
  // The cache index in a slot, -1 for an empty or unknown slot.
  int GetFontIndex(int slot) const;
  int GetTextureIndex(int slot) const;

  // --- State.
  void SetCallback(Callback callback) { callback_ = std::move(callback); }
  void EnableNonUserEvents(bool enable) { non_user_events_ = enable; }
  bool NonUserEventsEnabled() const { return non_user_events_; }
  void EnableKeyboardInput(bool enable) { keyboard_input_ = enable; }
  bool KeyboardInputEnabled() const { return keyboard_input_; }
  void EnableMouseInput(bool enable);
  bool MouseInputEnabled() const { return mouse_input_; }
  void SetVisible(bool visible);
  bool GetVisible() const { return visible_; }
  void SetMinimized(bool minimized) { minimized_ = minimized; }
  bool GetMinimized() const { return minimized_; }
  void EnableCaption(bool enable) { caption_shown_ = enable; }
  void SetCaptionText(std::u16string_view text);
  const std::u16string& GetCaptionText() const { return caption_; }
  void SetCaptionHeight(int height) { caption_height_ = height; }
  int GetCaptionHeight() const { return caption_height_; }
  void SetLocation(int x, int y) { x_ = x; y_ = y; }
  void SetSize(int width, int height) { width_ = width; height_ = height; }
  int x() const { return x_; }
  int y() const { return y_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void SetBackgroundColors(std::uint32_t top_left, std::uint32_t top_right,
                           std::uint32_t bottom_left, std::uint32_t bottom_right);
  void SetBackgroundColors(std::uint32_t all) { SetBackgroundColors(all, all, all, all); }
  void SetDefaultControlID(int id) { default_control_id_ = id; }
  int GetDefaultControlID() const { return default_control_id_; }
  CDXUTControl* GetControlUnderMouse() const { return control_under_mouse_; }
  // The pointer leaves the control it was over (a panel put away keeps no hover).
  void ForgetControlUnderMouse();
  sSkinElement& CaptionElement() { return caption_element_; }

  // Sound hook first (for the user's events, when asked), then the callback.
  void SendEvent(std::uint32_t event, bool by_user, CDXUTControl* control, bool play_sound = true);
  void Refresh();
  static void ResetLayoutDrag();
  // The frame sets this when every dialog must refresh on its next render.
  static void SetRefreshTime(double seconds) { s_refresh_time = seconds; }

  // --- Focus over all dialogs (dialog_focus.cpp).
  static void RequestFocus(CDXUTControl* control);
  static void ClearFocus();
  static CDXUTControl* GetFocusedControl() { return s_focused; }
  void FocusDefaultControl();
  void OnCycleFocus(bool forward);
  static CDXUTControl* GetNextControl(CDXUTControl* control);
  static CDXUTControl* GetPrevControl(CDXUTControl* control);
  // Chains this dialog before next for focus cycling.
  void SetNextDialog(CDXUTDialog* next);
  CDXUTDialog* GetNextDialog() const { return next_dialog_; }
  CDXUTDialog* GetPrevDialog() const { return prev_dialog_; }

  // --- Messages (dialog_input.cpp). True when consumed.
  bool MsgProc(std::uint32_t msg, WParam wparam, LParam lparam);

  // --- Drawing (dialog_render.cpp). Rectangles are relative to the dialog.
  void OnRender(float elapsed);
  HResult DrawSprite(const sSkinElement* element, const Rect& rect, float depth);
  HResult DrawTextureSprite(Texture* texture, const Rect& source, const Rect& rect,
                            float depth, std::uint32_t color);
  HResult DrawText(std::u16string_view text, const sSkinElement* element, const Rect& rect,
                   bool shadow = false, int count = -1, const Rect* clip = nullptr);
  HResult CalcTextRect(std::u16string_view text, const sSkinElement* element, Rect* rect,
                       int count = -1);
  HResult DrawRect(const Rect& rect, std::uint32_t color);
  // Height of the element's font, 0 when it has none.
  int FontHeight(const sSkinElement* element) const;
  // The screen rectangle of a dialog-relative one.
  Rect ToScreen(const Rect& rect) const;

  // Destroys the dialog at once, or, when called while a message or an event
  // is being dispatched (a dialog closed from its own callback), right after
  // that dispatch has unwound.
  static void DestroyAfterDispatch(std::unique_ptr<CDXUTDialog> dialog);

 private:
  friend class DispatchScope;
  void OnMouseMove(int x, int y);
  bool HandleLayoutDrag(std::uint32_t msg, int x, int y);
  bool HandleCaption(std::uint32_t msg, int x, int y);
  bool HandleKeys(std::uint32_t msg, WParam wparam, LParam lparam);
  bool HandleMouseMessage(std::uint32_t msg, WParam wparam, LParam lparam, int x, int y);
  void ForgetControl(CDXUTControl* control);
  CDXUTControl* FirstControl() const;
  CDXUTControl* LastControl() const;

  bool non_user_events_ = false;
  bool keyboard_input_ = true;
  bool mouse_input_ = true;
  bool visible_ = true;
  int default_control_id_ = 0xFFFF;
  double last_refresh_time_ = 0.0;
  CDXUTControl* control_under_mouse_ = nullptr;
  bool caption_shown_ = false;
  bool minimized_ = false;
  std::u16string caption_;
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  int caption_height_ = 18;
  std::uint32_t background_[4] = {0, 0, 0, 0};
  Callback callback_;
  std::vector<int> texture_indices_;
  std::vector<int> font_indices_;
  std::vector<std::unique_ptr<CDXUTControl>> controls_;
  std::vector<sDefaultElement> default_elements_;
  sSkinElement caption_element_;
  CDXUTDialog* next_dialog_ = this;
  CDXUTDialog* prev_dialog_ = this;

  static CDXUTControl* s_focused;
  static double s_refresh_time;
  static int s_drag_anchor_x;
  static int s_drag_anchor_y;
  static bool s_drag_active;
  static bool s_caption_pressed;
};

}  // namespace tr
