#include "app/modal_stack.h"

#include <cxxabi.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <typeinfo>

#include "dialogs/dialog_base.h"
#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "gui/hint_box.h"

namespace tr {

std::vector<cDialog*> ModalDialogStack;
cDialog* TopDialog = nullptr;

namespace {

constexpr const char* kThisFile = "modal_stack.cpp";

// One placeholder serves every negative-id top: it is never in the stack and
// never freed while the program runs, so replacing it cannot leak.
class cPlaceholderDialog final : public cDialog {
 public:
  cPlaceholderDialog() : cDialog(kPlaceholderDialogId) { SetVisible(false); }
  void Destroy() override {
    if (TopDialog == this) TopDialog = nullptr;
  }
};

cDialog* Placeholder() {
  static cPlaceholderDialog* placeholder = new cPlaceholderDialog();
  return placeholder;
}

// A negative-id entry takes no input, so the placeholder stands in for it.
void SetTopFromStack() {
  if (ModalDialogStack.empty()) {
    TopDialog = nullptr;
  } else {
    cDialog* last = ModalDialogStack.back();
    TopDialog = last->id < 0 ? Placeholder() : last;
  }
}

void ForgetPointerState() {
  HintBox& hints = GetHintBox();
  hints.ForgetLeftButton();
  CDXUTDialog::ResetLayoutDrag();
  hints.SetControl(nullptr);
}

// "class cDialogTekstowy", the form the log has always shown.
std::u16string ClassName(const cDialog& dialog) {
  const char* mangled = typeid(dialog).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                   std::free);
  std::string name = status == 0 && demangled ? demangled.get() : mangled;
  if (name.rfind("tr::", 0) == 0) name.erase(0, 4);
  std::u16string wide = u"class ";
  for (char c : name) wide.push_back(static_cast<unsigned char>(c));
  return wide;
}

bool InStack(const cDialog* dialog, std::uint64_t serial) {
  return std::any_of(ModalDialogStack.begin(), ModalDialogStack.end(),
                     [&](const cDialog* d) { return d == dialog && d->serial() == serial; });
}

// Sleeps the ms in short steps; true when the thread was told to stop.
bool PauseUnlessStopped(int ms) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!ThreadStopRequested()) {
    const auto now = std::chrono::steady_clock::now();
    if (now >= until) return false;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(until - now,
                                                                              std::chrono::milliseconds(10)));
  }
  return true;
}

}  // namespace

bool IsPlaceholderDialog(const cDialog* dialog) { return dialog != nullptr && dialog == Placeholder(); }

void PushModalDialog(cDialog* dialog, int offset) {
  GameLockGuard lock;
  ForgetPointerState();
  if (dialog == nullptr) return;
  const int size = static_cast<int>(ModalDialogStack.size());
  offset = std::clamp(offset, -size, 0);
  ModalDialogStack.insert(ModalDialogStack.begin() + (size + offset), dialog);
  SetTopFromStack();
  GetHintBox().SetHoverable(nullptr);
}

void PopModalDialogs(int count) {
  GameLockGuard lock;
  ForgetPointerState();
  if (count < 1 && count != -1) return;
  while (true) {
    if (TopDialog != nullptr) {
      cDialog* top = TopDialog;
      // A negative-id entry is owned elsewhere: it leaves the stack but lives on.
      const bool owned = !IsPlaceholderDialog(top) && top->id >= 0;
      if (!ModalDialogStack.empty()) ModalDialogStack.pop_back();
      TopDialog = nullptr;
      if (owned) top->Destroy();
      if (count > 0) --count;
      if (!ModalDialogStack.empty()) {
        SetTopFromStack();
        TopDialog->OnActivate();
      }
    }
    if (TopDialog == nullptr) return;
    if (count == -1 ? ModalDialogStack.empty() : count <= 0) return;
  }
}

void CloseModalDialog(int id) {
  GameLockGuard lock;
  const int size = static_cast<int>(ModalDialogStack.size());
  for (int k = 1; k <= size; ++k) {
    if (ModalDialogStack[static_cast<std::size_t>(size - k)]->id == id) {
      PopModalDialogs(k);
      return;
    }
  }
}

cDialog* FindModalDialog(int id) {
  GameLockGuard lock;
  for (cDialog* dialog : ModalDialogStack) {
    if (dialog->id == id) return dialog;
  }
  return nullptr;
}

void WaitForBoxClosed(const cDialog* dialog, const char* file, int line) {
  std::u16string logLine;
  std::uint64_t serial = 0;
  {
    GameLockGuard lock(kThisFile, __LINE__);
    // The dialog may already be closed and freed: only a dialog still in the
    // stack is read, and a later dialog at the same address is not mistaken for it.
    const auto it = std::find(ModalDialogStack.begin(), ModalDialogStack.end(), dialog);
    if (it == ModalDialogStack.end()) return;
    serial = (*it)->serial();
    logLine = Format(u"WBC:%s:%s:%d", ClassName(**it), SourceFileName(file ? file : ""), line);
  }
  // Logged once per wait: a player who reads a dialog for a minute would
  // otherwise add hundreds of lines of the same wait to the log.
  LogLine(logLine);
  while (true) {
    if (PauseUnlessStopped(100)) return;
    GameLockGuard lock;
    if (!InStack(dialog, serial)) return;
  }
}

}  // namespace tr
