// The computer's diplomacy: the same actions a player takes from the
// diplomacy panel, chosen by the country's settings and each announced in a
// message box, and the declarations of war on the owners of its targets once
// most of the units gathering for them wait at their staging cities.
#include "ai/ai_order.h"
#include "ai/ai_pacing.h"
#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "events/diplomacy.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "units/jednostka_ladowa.h"
#include "world/gra.h"
#include "world/panstwo.h"
#include "world/presentation.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "ai4";
inline constexpr int kMessageBoxLayout = 684;
inline constexpr int kWarDeclarationPauseMs = 2000;
inline constexpr int kHastenFromEntry = 21;
inline constexpr int kPressOtherCampFromEntry = 30;
inline constexpr float kWarReadiness = 0.7f;

}  // namespace

void cCountryAI::AnnounceDiplomacy() const {
  LogFormat(u"[AI] %ls: %ls", country->name, messageText);
  Presentation().ShowTextInLayoutAndWait(country->name, messageText, kMessageBoxLayout);
}

void cCountryAI::ConductDiplomacy() {
  AiPhaseScope scope("ConductDiplomacy");
  cGame* game = gGame;
  if (!game || !country) return;
  const int self = country->id;
  const sCountryAiSettings& settings = country->aiSettings;
  if (settings.AllianceEntryPolicy == 1 && CanDelayAllianceEntry(self, messageText)) {
    DelayAllianceEntry(self, messageText);
    AnnounceDiplomacy();
  }
  if (settings.AllianceEntryPolicy == 0 && country->allianceEntry >= kHastenFromEntry &&
      CanHasteAllianceEntry(self, messageText)) {
    HasteAllianceEntry(self, messageText);
    AnnounceDiplomacy();
  }
  for (const int pressed : settings.CountriesToPress) {
    const cCountry* target = game->GetCountry(pressed);
    if (!target || !CanExertPressure(self, pressed, messageText)) continue;
    if (!target->SharesOrientationWith(*country) && target->allianceEntry < kPressOtherCampFromEntry) continue;
    ExertPressure(self, pressed, messageText);
    AnnounceDiplomacy();
  }
}

void cCountryAI::DeclareWars() {
  AiPhaseScope scope("DeclareWars");
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  const auto& targets = country->aiSettings.CurrentTargets;
  if (targets.empty()) return;
  int gathering = 0;
  int waiting = 0;
  for (const cJednostkaLadowa* unit : ownLand) {
    if (unit->aiOrder == kAiOrderGather) ++gathering;
    if (unit->aiOrder == kAiOrderBlocked) ++waiting;
  }
  const float ready =
      gathering + waiting == 0 ? 0.0f : static_cast<float>(waiting) / static_cast<float>(gathering + waiting);
  if (!(ready > kWarReadiness)) return;
  cMap& map = *game->map;
  for (const sAiTarget& target : targets) {
    if (!map.IsInside(target.x, target.y)) continue;
    const int controller = map.GetHex(target.x, target.y)->controller;
    // Nobody holds the hex: no relation to test.
    if (controller == 0) continue;
    const cCountry* enemy = game->GetCountry(controller);
    if (!enemy || !CanDeclareWar(country->id, controller, messageText)) continue;
    DeclareWar(country->id, controller, true);
    messageText = Format(u"[AI]: %ls DECLARED WAR ON %ls!!", country->name, enemy->name);
    LogLine(messageText);
    SleepAiPause(kWarDeclarationPauseMs, kThisFile, __LINE__);
  }
}

}  // namespace tr
