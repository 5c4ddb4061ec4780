#include "world/sea_graph_access.h"

#include <atomic>

namespace tr {
namespace {

std::atomic<cSeaGraphAccess*> gAccess{nullptr};

}  // namespace

cSeaGraphAccess* SeaGraphAccess() { return gAccess.load(); }

cSeaGraphAccess* SetSeaGraphAccess(cSeaGraphAccess* access) { return gAccess.exchange(access); }

}  // namespace tr
