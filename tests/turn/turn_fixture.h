// A world for the turn tests: countries placed in alliances and turn order,
// a presentation port that records the hand-over and lets a test wait for
// it, and the turn steps of other subsystems replaced for the test's life.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "scenario/scenario_constants.h"
#include "support/world_builder.h"
#include "turn/turn_steps.h"
#include "world/headless_presentation.h"

namespace tr::test {

class HandOverRecorder : public cHeadlessPresentation {
 public:
  void PushNewTurnDialog(int countryId) override {
    newTurnDialogs.fetch_add(1);
    lastNewTurnCountry.store(countryId);
  }
  void UpdateDateCaption() override { dateCaptions.fetch_add(1); }
  void ResumePlayerPanels() override {
    std::lock_guard<std::mutex> lock(mutex_);
    ++handOvers_;
    signal_.notify_all();
  }
  void RequestReturnToMenus() override {
    cHeadlessPresentation::RequestReturnToMenus();
    std::lock_guard<std::mutex> lock(mutex_);
    ++menuRequests_;
    signal_.notify_all();
  }
  // Blocks until the worker has handed the game back `count` times in all;
  // false when that did not happen within the generous bound.
  bool WaitForHandOvers(int count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return signal_.wait_for(lock, std::chrono::seconds(60), [&] { return handOvers_ >= count; });
  }
  // Blocks until the worker has asked for the menus; false past the bound.
  bool WaitForMenusRequest() {
    std::unique_lock<std::mutex> lock(mutex_);
    return signal_.wait_for(lock, std::chrono::seconds(60), [&] { return menuRequests_ > 0; });
  }
  int handOvers() {
    std::lock_guard<std::mutex> lock(mutex_);
    return handOvers_;
  }

  std::atomic<int> newTurnDialogs{0};
  std::atomic<int> lastNewTurnCountry{0};
  std::atomic<int> dateCaptions{0};

 private:
  std::mutex mutex_;
  std::condition_variable signal_;
  int handOvers_ = 0;
  int menuRequests_ = 0;
};

// The steps of later subsystems, taken out again when the test ends.
class ScopedTurnSteps {
 public:
  ~ScopedTurnSteps() {
    SetComputerTurnStep({});
    SetEventCheckStep({});
    SetSupplyStep({});
    SetConvoyResultsStep({});
    SetSeaBattleStep({});
  }
};

inline void SetConstant(cGame& game, int line, int field, double value) {
  game.constants.SetSlot(sScenarioConstants::SlotOf(line, field), value);
}

inline void SetGameImpulses(cGame& game, int impulses) {
  for (int month = 1; month <= 12; ++month) SetConstant(game, 1, month, impulses);
}

}  // namespace tr::test
