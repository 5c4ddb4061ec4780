// A small world for the computer opponent's tests: a plain land map, a few
// countries, helpers that put units on it, every computer delay at 0, a
// recording presentation port and a recorder of the phases a turn runs.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "foundation/settings.h"
#include "support/log_capture.h"
#include "support/world_builder.h"
#include "world/headless_presentation.h"

namespace tr::test {

// Each phase begun, as "Name" or "Name(0.50)" for the replacement phases.
class PhaseRecorder : public cAiPhaseObserver {
 public:
  PhaseRecorder() : previous_(SetAiPhaseObserver(this)) {}
  ~PhaseRecorder() override { SetAiPhaseObserver(previous_); }
  void PhaseBegun(std::string_view phase, float factor) override;
  void PhaseEnded(std::string_view) override {}
  std::vector<std::string> phases;

 private:
  cAiPhaseObserver* previous_;
};

class AiWorld {
 public:
  AiWorld(int width = 40, int height = 12, int countries = 4);
  ~AiWorld();

  cGame& game() { return world_.game(); }
  cCountry& country(int id) { return world_.country(id); }
  sHex& hex(int x, int y) { return world_.hex(x, y); }
  // The AI of the country, with the country current.
  cCountryAI& AiOf(int id);

  cJednostkaLadowa& AddLand(int owner, int x, int y, int strength = 100, int type = 0);
  cJednostkaLotnicza& AddAir(int owner, int x, int y, int type = 20);
  cJednostkaMorska& AddShip(int owner, int type = 42);
  cCity& AddCity(std::u16string name, int x, int y, int controller);
  // Plain combat constants: every direction count, terrain and the action
  // point cost of an attack count 1 (or 2 points), loss tables of small
  // percentages, so the odds column is the ratio of effective strengths.
  void SetPlainCombatConstants();

  cHeadlessPresentation screen;
  LogCapture log;

 private:
  TestWorld world_;
  ScopedPresentation scopedScreen_{screen};
  std::array<float, kDelayCount> savedDelays_{};
  std::uint8_t savedFollow_ = 0;
};

// The lines of the log that begin with the prefix.
std::vector<std::u16string> LinesStartingWith(const LogCapture& log, std::u16string_view prefix);

}  // namespace tr::test
