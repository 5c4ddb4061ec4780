#include "scenario/save_fault.h"

#include <utility>

namespace tr {
namespace {

thread_local sSaveFault tSaveFault;

}  // namespace

// The first cause stands: it is the one that stopped the save.
void NoteSaveFault(sSaveFault fault) {
  if (tSaveFault.kind == eSaveFault::kNone) tSaveFault = std::move(fault);
}

sSaveFault LastSaveFault() { return tSaveFault; }

void ClearSaveFault() { tSaveFault = {}; }

}  // namespace tr
