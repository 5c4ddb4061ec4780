#include "world/game_services.h"

#include <mutex>

namespace tr {
namespace {

std::mutex gMutex;
std::function<void()>& StopService() {
  static auto* stop = new std::function<void()>();
  return *stop;
}

}  // namespace

void SetWorkerStopService(std::function<void()> stop) {
  std::lock_guard<std::mutex> lock(gMutex);
  StopService() = std::move(stop);
}

void StopWorkerThroughService() {
  std::function<void()> stop;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    stop = StopService();
  }
  if (stop) stop();
}

}  // namespace tr
