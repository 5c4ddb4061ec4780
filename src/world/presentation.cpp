#include "world/presentation.h"

#include <atomic>

#include "world/headless_presentation.h"

namespace tr {
namespace {

std::atomic<cPresentation*> gInstalled{nullptr};

cPresentation& BuiltInHeadless() {
  // Never destroyed: the worker thread may still report during process exit.
  static auto* headless = new cHeadlessPresentation(false);
  return *headless;
}

}  // namespace

cPresentation& Presentation() {
  cPresentation* installed = gInstalled.load();
  return installed ? *installed : BuiltInHeadless();
}

cPresentation* SetPresentation(cPresentation* presentation) {
  return gInstalled.exchange(presentation);
}

}  // namespace tr
