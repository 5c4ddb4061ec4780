#include "ai/ai_phase.h"

#include <atomic>

namespace tr {
namespace {

std::atomic<cAiPhaseObserver*> gObserver{nullptr};

}  // namespace

cAiPhaseObserver* SetAiPhaseObserver(cAiPhaseObserver* observer) { return gObserver.exchange(observer); }

// The observer seen at the start also hears the end, even if another is
// installed in between.
AiPhaseScope::AiPhaseScope(std::string_view phase, float factor) : phase_(phase), observer_(gObserver.load()) {
  if (observer_) observer_->PhaseBegun(phase_, factor);
}

AiPhaseScope::~AiPhaseScope() {
  if (observer_) observer_->PhaseEnded(phase_);
}

}  // namespace tr
