#include "app/end_turn.h"

#include <string>
#include <vector>

#include "app/app_presentation.h"
#include "app/modal_stack.h"
#include "app/player_interface.h"
#include "app/scenario_menu.h"
#include "dialogs/attack_panel.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/small_dialogs.h"
#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "scenario/pbem_repository.h"
#include "scenario/pbem_turn_check.h"
#include "scenario/save_game.h"
#include "turn/theads.h"
#include "world/gra.h"
#include "world/map_camera.h"
#include "world/presentation.h"
#include "world/turn_order.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "end_turn";
// A country whose turn runs the events check instead of the new-turn banner.
constexpr std::int32_t kEventsCheckCountry = 1;
constexpr int kPbemMessageLayout = 684;

void ReportPosition(std::u16string_view text) {
  LogLine(text);
  Presentation().ShowMessageBox(u"DBG WARNING", text, eMessageIcon::kWarning);
}

void PushOnTop(cDialog* dialog) {
  GameLockGuard lock(kThisFile, __LINE__);
  PushModalDialog(dialog);
}

// A failure at the hand-over that the player must know, shown on top at once
// and held until the player closes it: the window closed first, it is told
// as the game is put away, in words for a game that is gone.
void ShowHeldOnTop(std::u16string title, std::u16string text, std::u16string textIfGameLeft) {
  HoldBoxForNextTurn(std::move(title), std::move(text), std::move(textIfGameLeft));
  PushHeldBoxes();
}

enum class eHandOver { kStaysHere, kHandedOver, kNotWritten };

// The player of the play-by-e-mail number; an empty record when the game has none.
sPbemPlayer PlayerOf(const cGame& game, const cCountry& country) {
  const int index = country.pbemPlayerId - 1;
  if (index >= 0 && index < static_cast<int>(game.pbemPlayers.size())) {
    return game.pbemPlayers[static_cast<std::size_t>(index)];
  }
  LogFormat(u"No play-by-e-mail player %i for %s", country.pbemPlayerId, country.name);
  return {};
}

// The turn goes to a human country of another player: written for that
// player, who is named with the game in a message. The turn is written
// first; only a whole turn is recorded in the repository as the other
// player's and ends the game here. A turn that cannot be written (a full
// disk, a file or another game's turn where its folder should be, or a save
// of a turn handed over already) is reported and stays with this player.
eHandOver HandOverPbemTurn(cGame& game, const cCountry& ending, const cCountry* nextHuman) {
  if (game.pbemGame == 0 || nextHuman == nullptr || nextHuman->pbemPlayerId == ending.pbemPlayerId ||
      nextHuman->specialFlags == kEventsCheckCountry) {
    return eHandOver::kStaysHere;
  }
  const sPbemPlayer player = PlayerOf(game, *nextHuman);
  const std::u16string gameFolder = u"data\\pbem\\" + game.pbemGameName;
  const std::u16string fault = PbemTurnWriteFault(game, true);
  // The refusal, and its words for a game left before the turn ended again.
  std::u16string refusal;
  std::u16string refusalIfLeft;
  if (!fault.empty()) {
    LogFormat(u"ERROR: The play-by-e-mail turn of %s is not handed over: %s", game.pbemGameName, fault);
    refusal = Format(GetText("pbem_turn_not_handed_over_%s_%s"), player.name, fault);
    refusalIfLeft = Format(GetText("pbem_turn_left_not_handed_over_%s_%s"), player.name, fault);
  } else if (!(game.saveContext && game.saveContext->SavePbemGame(game.pbemGameName))) {
    const std::u16string folder = ShownPath(gameFolder);
    const std::u16string reason = SaveFailureReason();
    LogFormat(u"ERROR: The play-by-e-mail turn of %s is not handed over: it could not be written into %s (%s)",
              game.pbemGameName, folder, reason);
    refusal = Format(GetText("pbem_turn_not_written_%s_%s_%s_%s"), player.name, folder, reason,
                     SaveFailureRemedy(gameFolder, GetText("pbem_then_end_turn_again")));
    refusalIfLeft = Format(GetText("pbem_turn_left_not_written_%s_%s_%s_%s"), player.name, folder, reason,
                           SaveFailureRemedy(gameFolder, GetText("pbem_then_load_and_end_turn_again")));
  }
  if (!refusal.empty()) {
    ShowHeldOnTop(GetText("pbem_turn_not_handed_over_title"), std::move(refusal), std::move(refusalIfLeft));
    return eHandOver::kNotWritten;
  }
  // The turn is written whole: a note that cannot be kept is said, and the hand-over goes on.
  const std::u16string noteFault =
      ending.specialFlags != kEventsCheckCountry
          ? UpdatePbemRepository(static_cast<std::uint32_t>(ending.pbemPlayerId), game.pbemGameName)
          : std::u16string();
  const std::u16string text = Format(GetText("pbem_turn_end_message"), ShownPath(gameFolder), player.name,
                                     player.email, nextHuman->name);
  // The turn written is the other player's now: nothing here may change the
  // game or write its folder again. The toolbar and the side panels are put
  // away as in the computer's phase, and closing the message leaves the game.
  SuspendPlayerPanels();
  {
    GameLockGuard lock(kThisFile, __LINE__);
    if (TopDialog != nullptr) PopModalDialogs(-1);
  }
  PushOnTop(new cDialogTekstowy(text, GetText("pbem_turn_end_title"), kPbemMessageLayout));
  if (!noteFault.empty()) {
    const std::u16string noteLost = Format(GetText("pbem_repo_not_written_%s_%s"), ShownPath(gameFolder), noteFault);
    ShowHeldOnTop(GetText("pbem_turn_end_title"), noteLost, noteLost);
  }
  // The player comes back to the list this game's turns arrive in.
  RequestReturnToMenusList(cScenarioMenu::kPbemGame);
  return eHandOver::kHandedOver;
}

void StartHumanTurn(cGame& game, cCountry& next) {
  if (next.specialFlags == kEventsCheckCountry && game.pbemGame != 0) {
    // The worker's check asks for this end of turn again when it is done.
    gEventsCheckRequested.store(1);
    return;
  }
  next.RecalculateUnitsVisibility();
  ResumePlayerInterface();
  const auto view = next.GetSavedView();
  if (view[2] >= 0.0f) {
    game.map->GlideCamera(view[0], view[1], true);
  } else {
    game.playerControl.CenterOnCurrentCountry(true);
  }
  // What was held for the player comes under the banner, both in one step:
  // no frame shows a held box alone on top.
  Presentation().PushNewTurnDialog(next.id);
}

// The planned attack ends with the turn: the next player, or this one after
// the computer's phase, does not meet it. The attack panel shows it no more
// but stays open or put away as the player left it.
void EndAttackPlan(cPlayerControl& control) {
  control.DropAttack();
  if (cAttackPanel* panel = GetAttackPanel()) panel->Update();
}

// A unit that spent no points this turn has one more turn of rest towards its
// next airborne assault; one that acted starts counting again. Returns the
// counts as they were, for a turn whose end is taken back.
std::vector<std::int32_t> CountIdleTurns(cGame& game, int endingId) {
  std::vector<std::int32_t> before;
  for (const auto& unit : game.landUnits) {
    if (unit->owner != endingId) continue;
    std::int32_t& turns = unit->turnsSinceParadrop;
    before.push_back(turns);
    if (unit->actionPoints != unit->startingActionPoints) {
      turns = 0;
    } else if (turns < kMaxTurnCount) {
      ++turns;  // held where the unit files read it back
    }
  }
  return before;
}

void RestoreIdleTurns(cGame& game, int endingId, const std::vector<std::int32_t>& before) {
  std::size_t next = 0;
  for (const auto& unit : game.landUnits) {
    if (unit->owner == endingId && next < before.size()) unit->turnsSinceParadrop = before[next++];
  }
}

}  // namespace

void CheckUnitPositions(const cGame& game) {
  if (game.map == nullptr) return;
  const cMap& map = *game.map;
  for (int y = 0; y < map.GetHeight(); ++y) {
    for (int x = 0; x < map.GetWidth(); ++x) {
      const sHex& hex = *map.GetHex(x, y);
      const cUnit* unit = hex.unit;
      if (unit == nullptr) continue;
      if (!hex.IsLand()) ReportPosition(Format(u"DBGINF: sea hex (%d, %d) is occupied by unit", x, y));
      if (unit->x != x || unit->y != y) {
        const cCountry* owner = unit->GetOwnerCountry();
        ReportPosition(Format(u"DBGINF: hex (%d, %d) is occupied by unit %s owned by %s which location field is "
                              u"different: (%d, %d)",
                              x, y, unit->name, owner ? owner->name : std::u16string(), unit->x, unit->y));
      }
    }
  }
}

bool Autosave() {
  cGame* game = gGame;
  if (game == nullptr || !game->saveContext) return true;
  return game->saveContext->SaveGame(GetText("autosave"), true);
}

namespace {

// Why the autosave failed and what the player can do, or nothing when it went
// in; taken at once, as the hand-over's own save writes the failure anew. What
// the player does next depends on whether the turn is handed over, and on
// whether the game is still there when the box is read.
struct sAutosaveFailure {
  std::u16string reason;
  std::u16string earlier;  // what became of the autosave before it
  std::u16string remedy;
  std::u16string remedyHandedOver;
  std::u16string remedyGameLeft;
  bool failed() const { return !reason.empty(); }
};

sAutosaveFailure AutosaveAtTheEndOfTurn() {
  if (Autosave()) return {};
  const std::u16string folder = SaveFolderPath(GetText("autosave"));
  // A failed save leaves the one before it whole, if there was one.
  const bool earlierKept = SaveFolderExists(GetText("autosave"));
  return {SaveFailureReason(), GetText(earlierKept ? "autosave_earlier_kept" : "autosave_no_earlier"),
          SaveFailureRemedy(folder, GetText("autosave_then_save_yourself")),
          SaveFailureRemedy(folder, GetText("autosave_then_before_next_turn")),
          SaveFailureRemedy(folder, GetText("autosave_then_next_time"))};
}

// A failed autosave is told where the player can still act on it: on top of
// a turn that stays here, under the banner of the next human turn (held
// through any computer's phase, whose screens close every box, and shown as
// the game is put away if the window is closed first, with advice for a game
// that is gone), or on top of the hand-over message, which leaves for the
// menus, held the same way.
void TellAutosaveFailure(const cGame& game, const sAutosaveFailure& failure, eHandOver handOver) {
  if (!failure.failed()) return;
  if (handOver == eHandOver::kHandedOver) {
    // Its advice holds with the game gone: the hand-over leaves for the menus.
    const std::u16string text = Format(GetText("autosave_failed_handed_over_%s_%s_%s_%s"), failure.reason,
                                       failure.earlier, ShownPath(u"data\\pbem\\" + game.pbemGameName),
                                       failure.remedyHandedOver);
    ShowHeldOnTop(GetText("autosave_failed_title"), text, text);
    return;
  }
  HoldBoxForNextTurn(GetText("autosave_failed_title"),
                     Format(GetText("autosave_failed_%s_%s_%s"), failure.reason, failure.earlier, failure.remedy),
                     Format(GetText("autosave_failed_%s_%s_%s"), failure.reason, failure.earlier,
                            failure.remedyGameLeft));
}

}  // namespace

void EndHumanTurn() {
  cGame* game = gGame;
  if (game == nullptr || game->map == nullptr) return;
  CheckUnitPositions(*game);
  game->SetGameState(kGameEndOfImpulse);

  cPlayerControl& control = game->playerControl;
  cCountry* ending = control.currentCountry;
  Presentation().UpdateMinimapOwnershipLayer();
  if (ending != nullptr) {
    ending->SetSavedView(game->map->camera.x, game->map->camera.y, gZoomLevel);
    game->viewingCountry = ending;
  }
  ConsoleLog().Restart();
  const sAutosaveFailure autosave = AutosaveAtTheEndOfTurn();
  const std::vector<std::int32_t> idleBefore =
      ending != nullptr ? CountIdleTurns(*game, ending->id) : std::vector<std::int32_t>();

  EndAttackPlan(control);
  control.ClearSelection();
  game->map->ClearHexFlags(0xFFFFFFFFu, true);
  if (ending != nullptr) ending->finishedTurn = 1;

  cCountry* next = DetermineCurrentCountry(game->countries);
  const cCountry* nextHuman = FindNextHumanCountry(game->countries, ending);
  const eHandOver handOver =
      ending != nullptr ? HandOverPbemTurn(*game, *ending, nextHuman) : eHandOver::kStaysHere;
  TellAutosaveFailure(*game, autosave, handOver);
  if (handOver == eHandOver::kHandedOver) return;
  if (handOver == eHandOver::kNotWritten) {
    // The turn was not handed over: it is this player's again, as before its
    // end, so it can be ended once more.
    ending->finishedTurn = 0;
    RestoreIdleTurns(*game, ending->id, idleBefore);
    ResumePlayerInterface();
    PushHeldBoxes();
    return;
  }
  if (next == nullptr) {
    // The closing country of every impulse is never finished when a human ends a turn.
    LogLine(GetText("error:_end_of_turn_from_main_thread._no_dummy_country?"));
    FatalExit(1);
    return;
  }
  control.SetCurrentCountry(next);
  if (next->humanControlled) {
    StartHumanTurn(*game, *next);
  } else {
    SuspendPlayerInterface();
  }
}

}  // namespace tr
