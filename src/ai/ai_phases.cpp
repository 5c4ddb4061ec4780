// The phases of a computer turn whose rules are not part of this build yet.
// Each is a real entry point that the turn calls in its place: it announces
// itself, logs that it was skipped and changes nothing.
#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "world/panstwo.h"

namespace tr {

void cCountryAI::LogSkipped(const char* phase) const {
  AiPhaseScope scope(phase);
  LogFormat(u"[AI] %ls: %s skipped, not part of this build yet", country ? country->name : u"", phase);
}

void cCountryAI::LogSkipped(const char* phase, float factor) const {
  AiPhaseScope scope(phase, factor);
  LogFormat(u"[AI] %ls: %s (%.2f) skipped, not part of this build yet", country ? country->name : u"", phase,
            factor);
}

void cCountryAI::AssignCommanders() { LogSkipped("AssignCommanders"); }
void cCountryAI::ReplaceAirLosses(float factor) { LogSkipped("ReplaceAirLosses", factor); }
void cCountryAI::ReplaceLandLosses(float factor) { LogSkipped("ReplaceLandLosses", factor); }
void cCountryAI::RepairShips() { LogSkipped("RepairShips"); }
void cCountryAI::MakePurchases() { LogSkipped("MakePurchases"); }
void cCountryAI::DeployLandUnits() { LogSkipped("DeployLandUnits"); }
void cCountryAI::DeployAirUnits() { LogSkipped("DeployAirUnits"); }
void cCountryAI::DeployNavalUnits() { LogSkipped("DeployNavalUnits"); }

}  // namespace tr
