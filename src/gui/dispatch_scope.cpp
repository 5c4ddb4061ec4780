#include "gui/dispatch_scope.h"

#include <utility>

#include "gui/dialog.h"

namespace tr {
namespace {

int g_depth = 0;

std::vector<std::unique_ptr<CDXUTDialog>>& Pending() {
  static std::vector<std::unique_ptr<CDXUTDialog>> pending;
  return pending;
}

}  // namespace

DispatchScope::DispatchScope() { ++g_depth; }

DispatchScope::~DispatchScope() {
  if (--g_depth > 0) return;
  // Destroying a dialog may close others; keep going until nothing waits.
  while (!Pending().empty()) {
    std::vector<std::unique_ptr<CDXUTDialog>> doomed = std::move(Pending());
    Pending().clear();
    doomed.clear();
  }
}

bool DispatchScope::Active() { return g_depth > 0; }

void DispatchScope::Destroy(std::unique_ptr<CDXUTDialog> dialog) {
  if (!dialog) return;
  if (g_depth > 0) {
    Pending().push_back(std::move(dialog));
  } else {
    dialog.reset();
  }
}

}  // namespace tr
