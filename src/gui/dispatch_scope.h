// Marks the time a dialog is handling a message or sending an event. A dialog
// closed from inside such a dispatch (typically from its own event callback)
// is kept alive until the outermost dispatch has unwound, so the code still
// running in it never touches freed memory.
#pragma once

#include <memory>
#include <vector>

namespace tr {

class CDXUTDialog;

class DispatchScope {
 public:
  DispatchScope();
  ~DispatchScope();
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;

  static bool Active();
  // Destroys now outside a dispatch, else when the outermost scope ends.
  static void Destroy(std::unique_ptr<CDXUTDialog> dialog);
};

}  // namespace tr
