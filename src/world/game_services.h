// Services of later layers that the game object's teardown calls: stopping
// the worker thread. The layer that owns the service installs it at start-up;
// until then the call does nothing, which is right while no worker exists.
#pragma once

#include <functional>

namespace tr {

void SetWorkerStopService(std::function<void()> stop);
void StopWorkerThroughService();

}  // namespace tr
