// Each phase of a computer turn announces its start and end to one optional
// observer: the autoplay runner times the phases with it, tests check their
// order. Without an observer the announcements cost one atomic load.
#pragma once

#include <string_view>

namespace tr {

class cAiPhaseObserver {
 public:
  virtual ~cAiPhaseObserver() = default;
  // factor is the replacement factor of the two replacement phases, 0 elsewhere.
  virtual void PhaseBegun(std::string_view phase, float factor) = 0;
  virtual void PhaseEnded(std::string_view phase) = 0;
};

// Installs the observer (nullptr removes it) and returns the previous one.
// The caller keeps it alive while it is installed.
cAiPhaseObserver* SetAiPhaseObserver(cAiPhaseObserver* observer);

// Announces a phase for the life of the object.
class AiPhaseScope {
 public:
  explicit AiPhaseScope(std::string_view phase, float factor = 0.0f);
  ~AiPhaseScope();
  AiPhaseScope(const AiPhaseScope&) = delete;
  AiPhaseScope& operator=(const AiPhaseScope&) = delete;

 private:
  std::string_view phase_;
  cAiPhaseObserver* observer_;
};

}  // namespace tr
