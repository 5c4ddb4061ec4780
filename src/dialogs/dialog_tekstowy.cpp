#include "dialogs/dialog_tekstowy.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "app/modal_stack.h"
#include "foundation/gui_layout.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "gui/button.h"
#include "gui/frame.h"
#include "gui/layout_access.h"
#include "gui/resource_cache.h"
#include "gui/static.h"
#include "platform/font.h"

namespace tr {
namespace {

// How far a box widened for its text keeps from the screen's edges.
constexpr int kScreenMargin = 16;

sTextMeasurer& Measurer() {
  static sTextMeasurer measurer;
  return measurer;
}

// Layout font 1 as the toolkit made it, or a font of its own when no device has made it yet.
const Font* MessageFont() {
  const LayoutFont layoutFont = GetLayoutFont(1);
  cGuiResourceCache& cache = GetGuiResourceCache();
  for (int i = 0; i < cache.FontCount(); ++i) {
    const sGuiFontRecord* record = cache.GetFontRecord(i);
    if (record->font && record->face == layoutFont.face && record->height == layoutFont.height && record->weight == layoutFont.weight) {
      return record->font.get();
    }
  }
  // Message boxes are built on both threads.
  static std::mutex mutex;
  static std::unique_ptr<Font> own;
  std::lock_guard<std::mutex> lock(mutex);
  if (!own || own->face() != layoutFont.face || own->height() != layoutFont.height || own->weight() != layoutFont.weight) {
    own = Font::Create(layoutFont.face, layoutFont.height, layoutFont.weight);
  }
  return own.get();
}

int LineWidth(std::u16string_view text) {
  if (auto& measure = Measurer().lineWidth) return measure(text);
  const Font* font = MessageFont();
  if (font == nullptr) return 0;
  Rect rect{0, 0, 0, 0};
  font->Measure(text, -1, &rect, DT_SINGLELINE | DT_CALCRECT);
  return rect.width();
}

// The widest run of the text between blanks and line ends.
int WidestWord(std::u16string_view text) {
  int widest = 0;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find_first_of(u" \n\t", begin);
    if (end == std::u16string_view::npos) end = text.size();
    if (end > begin) widest = std::max(widest, LineWidth(text.substr(begin, end - begin)));
    begin = end + 1;
  }
  return widest;
}

int WrappedHeight(std::u16string_view text, int width) {
  if (auto& measure = Measurer().wrappedHeight) return measure(text, width);
  const Font* font = MessageFont();
  if (font == nullptr) return 0;
  Rect rect{0, 0, width, 0};
  font->Measure(text, -1, &rect, DT_WORDBREAK | DT_CALCRECT);
  return rect.height();
}

Rect Record(int id) {
  const sGuiLayoutEntry& e = sGuiLayoutTable[static_cast<std::size_t>(id)];
  return {e.x, e.y, e.width, e.height};
}

// Only the fields a message box reads: x, y, width, height as left, top, right, bottom.
int X(const Rect& r) { return r.left; }
int Y(const Rect& r) { return r.top; }
int W(const Rect& r) { return r.right; }
int H(const Rect& r) { return r.bottom; }

}  // namespace

void SetMessageBoxMeasurer(sTextMeasurer measurer) { Measurer() = std::move(measurer); }

cDialogTekstowy::cDialogTekstowy(std::u16string_view text, std::u16string_view title, int layoutBase)
    : cDialog(kDialogId, Record(layoutBase)), layoutBase_(layoutBase) {
  Rect d = Record(layoutBase);
  const Rect t = Record(layoutBase + 1);
  const Rect m = Record(layoutBase + 3);
  const Rect k = Record(layoutBase + 4);

  // A title wider than the room widens the box around its centre.
  const int titleWidth = LineWidth(title);
  if (titleWidth + X(t) + W(t) > W(d)) {
    const int grow = (titleWidth + X(t) + W(t) - W(d)) / 2;
    d.left -= grow;
    d.right += 2 * grow;
  }
  // So does a word wider than the text's room, a path as a rule, which no
  // line can break: as far as the screen allows.
  const int room = W(d) - X(m) - W(m);
  const int word = WidestWord(text);
  if (word > room) {
    const int width = std::min(W(d) + word - room, std::max(W(d), gScreenWidth - 2 * kScreenMargin));
    d.left -= (width - W(d)) / 2;
    d.right = width;
    d.left = std::max(kScreenMargin, std::min(d.left, gScreenWidth - kScreenMargin - width));
  }
  const int textWidth = W(d) - X(m) - W(m);
  const int textHeight = WrappedHeight(text, textWidth);
  titleRect_ = {X(d) + X(t), Y(d) + Y(t), W(d) - X(t) - W(t), H(t)};
  textRect_ = {X(d) + X(m), Y(d) + Y(t) + H(t) + Y(m), textWidth, textHeight};
  d.bottom = Y(t) + H(t) + Y(m) + textHeight + H(m) + Y(k) + H(k);
  dialogRect_ = d;

  RemoveControl(kDialogId);
  CDXUTFrame* frame = nullptr;
  if (Succeeded(AddFrame(kDialogId, X(d), Y(d), W(d), H(d), 0, &frame))) frame->SetDraggable(false);

  CDXUTStatic* titleStatic = nullptr;
  if (Succeeded(AddStatic(layoutBase + 1, title, X(titleRect_), Y(titleRect_), W(titleRect_), H(titleRect_), false,
                          &titleStatic))) {
    titleStatic->SetTextElement(1);
    titleStatic->SetTextFormat(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  CDXUTStatic* textStatic = nullptr;
  if (Succeeded(AddStatic(layoutBase + 3, text, X(textRect_), Y(textRect_), W(textRect_), H(textRect_), false,
                          &textStatic))) {
    textStatic->SetTextFormat(DT_WORDBREAK);
  }
  const int buttonTop = Y(textRect_) + H(textRect_) + H(m);
  CDXUTButton* ok = nullptr;
  if (Succeeded(AddButton(okButtonId(), GetText("info_dialog_ok"), X(k), buttonTop, W(k), H(k), 0, false, &ok))) {
    ok->SetHint(GetText("info_dialog_ok_hint"));
  }
}

void cDialogTekstowy::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (!down || (key != VK_RETURN && key != VK_ESCAPE)) return;
  // The key runs the same code as a click on OK.
  EnableNonUserEvents(true);
  SendEvent(GuiEventButtonClicked, false, GetControl(okButtonId()), true);
}

void cDialogTekstowy::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  if (controlId == okButtonId()) PopModalDialogs(1);
}

}  // namespace tr
