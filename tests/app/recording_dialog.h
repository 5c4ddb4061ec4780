// A dialog that writes what happens to it ("activate 3", "destroy 3",
// "render 3", "key 3", ...) into a shared journal.
#pragma once

#include <string>
#include <vector>

#include "dialogs/dialog_base.h"

namespace tr::test {

using Journal = std::vector<std::string>;

class RecordingDialog : public cDialog {
 public:
  RecordingDialog(int id, Journal& journal) : cDialog(id), journal_(journal) {}
  ~RecordingDialog() override { journal_.push_back("freed " + std::to_string(id)); }

  void Render(float) override { Note("render"); }
  void Destroy() override {
    Note("destroy");
    cDialog::Destroy();
  }
  void OnActivate() override { Note("activate"); }
  void OnKeyboard(std::uint32_t, bool, bool) override { Note("key"); }
  void OnMouse(bool, bool, bool, bool, bool, int, int, int) override { Note("mouse"); }
  void OnGUIEvent(std::uint32_t, int, CDXUTControl*) override { Note("event"); }
  void OnTimerTick(float) override { Note("tick"); }

 private:
  void Note(const char* what) { journal_.push_back(std::string(what) + " " + std::to_string(id)); }
  Journal& journal_;
};

}  // namespace tr::test
