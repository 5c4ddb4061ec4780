// The scenario settings menu's play-by-e-mail set-up (the players and the
// game's folder) and the start of play with its refusals.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <set>
#include <system_error>

#include "app/menu_wallpaper.h"
#include "app/modal_stack.h"
#include "app/scenario_menu.h"
#include "app/scenario_settings_menu.h"
#include "app/scenario_settings_parts.h"
#include "dialogs/dialog_tekstowy.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "foundation/version.h"
#include "gui/check_box.h"
#include "gui/combo_box.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "scenario/pbem_game_name.h"
#include "scenario/pbem_repository.h"
#include "scenario/pbem_turn_check.h"
#include "turn/game_over.h"
#include "world/gra.h"
#include "world/turn_order.h"

namespace tr {
namespace {

constexpr std::int32_t kSpecialCountry = 1;

void Refuse(std::u16string_view text, std::u16string_view title, std::u16string_view refused = u"Game not started") {
  LogFormat(u"%s: %s", refused, text);
  PushModalDialog(new cDialogTekstowy(text, title, cDialogTekstowy::kDefaultLayoutBase), 0);
}

std::u16string FieldText(const CDXUTDialog& dialog, int id) {
  auto* field = static_cast<CDXUTEditBox*>(dialog.GetControlOfType(id, kControlEditBox));
  return field != nullptr ? field->GetText() : std::u16string();
}

void SetFieldText(CDXUTDialog& dialog, int id, std::u16string_view text) {
  if (auto* field = static_cast<CDXUTEditBox*>(dialog.GetControlOfType(id, kControlEditBox))) field->SetText(text);
}

// The turn of a saved play-by-e-mail game that this machine has played already.
bool IsTurnPlayedHere(const cGame& game) {
  const std::optional<std::uint32_t> local = FindPbemRepoPlayer(game.pbemGameName);
  const cCountry* current = game.playerControl.currentCountry;
  const cCountry* next = FindNextHumanCountry(game.countries, current);
  // A machine that never handed a turn of this game over has no number of its own.
  if (!local || next == nullptr) return false;
  if (current != nullptr && current->specialFlags == kSpecialCountry) return false;
  return static_cast<std::int64_t>(*local) != next->pbemPlayerId;
}

// What a save behind its folder's turn has come to: the folder holds either
// this machine's hand-over, still waiting on the other players, or their
// answer, which is this player's to play from the folder.
std::u16string SaveBehindFolderText(const cGame& game, std::u16string_view behind) {
  const std::optional<std::uint32_t> local = FindPbemRepoPlayer(game.pbemGameName);
  const std::optional<bool> waits =
      local ? PbemFolderWaitsOnOthers(game.pbemGameName, static_cast<std::int32_t>(*local)) : std::nullopt;
  if (!waits) return Format(GetText("pbem_save_behind_folder_%s"), behind);
  if (*waits) return Format(GetText("pbem_save_behind_sent_turn_%s"), behind);
  return Format(GetText("pbem_save_behind_received_turn_%s"), ShownPath(u"data\\pbem\\" + game.pbemGameName));
}

}  // namespace

const sPbemPlayer* FindPbemPlayer(const cGame& game, std::int32_t number) {
  const auto it = std::find_if(game.pbemPlayers.begin(), game.pbemPlayers.end(),
                               [number](const sPbemPlayer& player) { return player.number == number; });
  return it != game.pbemPlayers.end() ? &*it : nullptr;
}

sPbemPlayer* FindPbemPlayer(cGame& game, std::int32_t number) {
  return const_cast<sPbemPlayer*>(FindPbemPlayer(static_cast<const cGame&>(game), number));
}

void DropRefusedNameCharacters(CDXUTDialog& dialog, int fieldId) {
  std::u16string text = FieldText(dialog, fieldId);
  const auto refused = [](char16_t c) { return kPbemNameRefusedCharacters.find(c) != std::u16string_view::npos; };
  if (std::none_of(text.begin(), text.end(), refused)) return;
  std::erase_if(text, refused);
  SetFieldText(dialog, fieldId, text);
}

void ClearHumanControllers() {
  for (const auto& country : gGame->countries) {
    country->humanControlled = 0;
    country->pbemPlayerId = 0;
  }
}

bool IsPbemSetupValid() {
  std::set<std::int32_t> numbers;
  // A country handed back to the computer keeps its number but has no player.
  for (const auto& country : gGame->countries) {
    if (country->humanControlled && country->HasPbemPlayer()) numbers.insert(country->pbemPlayerId);
  }
  return numbers.size() >= 2;
}

bool IsPbemGameNameValid(std::u16string_view name) { return PbemGameNameFault(name).empty(); }

std::u16string PbemGameNameTakenBy(std::u16string_view name) {
  // The name of a folder is found in another case too (ResolveGamePath), and
  // the other player's system may not tell the cases apart.
  for (const std::u16string& folder : ListGameFolders(u"data\\pbem")) {
    if (EqualsIgnoreCase(folder, name)) return folder;
  }
  return {};
}

bool CheckPbemFolder(std::u16string_view name) {
  if (const std::u16string_view fault = PbemGameNameFault(name); !fault.empty()) {
    LogFormat(u"PBEM game name \"%s\" %s", name, fault);
    return false;
  }
  const std::filesystem::path folder = ResolveGamePath(u"data\\pbem\\" + std::u16string(name));
  std::error_code error;
  std::filesystem::create_directories(folder.parent_path(), error);
  // An existing folder belongs to another game of that name.
  const bool created = std::filesystem::create_directory(folder, error);
  return created && !error;
}

void StartGameFromSettings() {
  ReleaseMenuPicture(kScenarioSettingsWallpaper);
  gGame->StartGame();
}

void cScenarioSettingsMenu::FillPbemPlayers() {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kPlayerList, kControlListBox));
  auto* combo = static_cast<CDXUTComboBox*>(GetControlOfType(kPlayerCombo, kControlComboBox));
  if (list == nullptr || combo == nullptr) return;
  list->RemoveAllItems();
  combo->RemoveAllItems();
  for (const sPbemPlayer& player : gGame->pbemPlayers) {
    const auto number = static_cast<std::uint32_t>(player.number);
    list->AddItem(Format(u"%s;%s", player.name, player.email), number);
    combo->AddItem(player.name, number);
    if (player.number == selectedPlayer_) list->SelectItem(list->GetSize() - 1, false);
  }
  list->AddItem(GetText("scenario_settings_pbem_player_new"), 0);
}

void cScenarioSettingsMenu::SelectPlayerRow() {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kPlayerList, kControlListBox));
  const std::int32_t number = list != nullptr ? static_cast<std::int32_t>(GetSelectedListItemData(*list)) : 0;
  const sPbemPlayer* player = FindPbemPlayer(*gGame, number);
  selectedPlayer_ = player != nullptr ? player->number : 0;
  SetFieldText(*this, kPlayerNameField, player != nullptr ? std::u16string_view(player->name) : kNewPlayerName);
  SetFieldText(*this, kPlayerEmailField, player != nullptr ? std::u16string_view(player->email) : kNewPlayerEmail);
  SetControlEnabled(kRemovePlayerButton, player != nullptr);
}

void cScenarioSettingsMenu::SavePlayer() {
  const std::u16string name = FieldText(*this, kPlayerNameField);
  const std::u16string email = FieldText(*this, kPlayerEmailField);
  // "Info.ini" keeps the players in the Windows-1252 code page: other letters
  // would come back as '?' in every later turn.
  for (const auto& [text, refusal] : {std::pair{&name, GetText("pbem_player_name_code_page_%s")},
                                      std::pair{&email, GetText("pbem_player_email_code_page_%s")}}) {
    if (!FitsCodePage(*text)) {
      Refuse(Format(refusal, *text), GetText("start_refused_pbem_settings_title"), u"Player not saved");
      return;
    }
  }
  if (sPbemPlayer* player = FindPbemPlayer(*gGame, selectedPlayer_)) {
    player->name = name.substr(0, 99);
    player->email = email.substr(0, 99);
  } else {
    // Players are numbered by their place in the list, as the save stores them.
    PushBackSetupRecord(gGame->pbemPlayers, static_cast<std::int32_t>(gGame->pbemPlayers.size()) + 1, name, email);
  }
  PlayersChanged();
}

void cScenarioSettingsMenu::RemovePlayer() {
  auto& players = gGame->pbemPlayers;
  const auto it = std::find_if(players.begin(), players.end(),
                               [this](const sPbemPlayer& player) { return player.number == selectedPlayer_; });
  if (it == players.end()) return;
  // A save stores the players by their place in the list and numbers them so
  // when it is read back: the players after the removed one move up a number,
  // and so do their countries. The removed player's countries are left
  // without a player; the start asks for two players again.
  const std::int32_t removed = it->number;
  players.erase(it);
  for (sPbemPlayer& player : players) {
    if (player.number > removed) --player.number;
  }
  for (const auto& country : gGame->countries) {
    if (country->pbemPlayerId == removed) {
      country->pbemPlayerId = 0;
    } else if (country->pbemPlayerId > removed) {
      --country->pbemPlayerId;
    }
  }
  selectedPlayer_ = 0;
  SetFieldText(*this, kPlayerNameField, kNewPlayerName);
  SetFieldText(*this, kPlayerEmailField, kNewPlayerEmail);
  SetControlEnabled(kRemovePlayerButton, false);
  PlayersChanged();
}

void cScenarioSettingsMenu::TryStart() {
  cGame& game = *gGame;
  const bool fromSave = game.loadedGame != 0;
  auto* pbemBox = static_cast<CDXUTCheckBox*>(GetControlOfType(kPbemCheckBox, kControlCheckBox));
  const bool newPbemGame = !fromSave && pbemBox != nullptr && pbemBox->GetChecked();
  const std::u16string pbemName = FieldText(*this, kPbemNameField);

  // A new scenario has no saving program: only a save can be too old.
  if (fromSave && IsOlderThanProgram(game.gameVersion)) {
    Refuse(GetText("start_refused_old_save"), GetText("start_refused_old_save_title"));
    return;
  }
  // A save of a play-by-e-mail game writes its turn into its game's folder only.
  if (const std::u16string fault = fromSave && game.pbemGame ? PbemFolderOwnerFault(game) : u""; !fault.empty()) {
    Refuse(Format(GetText("start_refused_not_handed_over_%s"), fault), GetText("start_refused_pbem_save_title"));
    return;
  }
  // A save made before the turn was handed over (the autosave of the turn's
  // end among them) stands behind the turn the game's folder holds.
  if (const std::u16string behind = fromSave && game.pbemGame ? PbemTurnWriteFault(game, false) : u"";
      !behind.empty()) {
    Refuse(SaveBehindFolderText(game, behind), GetText("start_refused_pbem_save_title"));
    return;
  }
  if (fromSave && game.pbemGame && IsTurnPlayedHere(game)) {
    Refuse(GetText("pbem_turn_already_played"), GetText("start_refused_pbem_save_title"));
    return;
  }
  if (!IsAnyHumanPlayer(game)) {
    Refuse(GetText("start_refused_no_human"), GetText("start_refused_settings_title"));
    return;
  }
  if (newPbemGame && !IsPbemSetupValid()) {
    Refuse(GetText("start_refused_pbem_players"), GetText("start_refused_pbem_settings_title"));
    return;
  }
  if (const std::u16string_view fault = newPbemGame ? PbemGameNameFault(pbemName) : u""; !fault.empty()) {
    Refuse(Format(GetText("start_refused_pbem_name_%s_%s"), pbemName, fault),
           GetText("start_refused_pbem_settings_title"));
    return;
  }
  if (const std::u16string taken = newPbemGame ? PbemGameNameTakenBy(pbemName) : u""; !taken.empty()) {
    Refuse(Format(GetText("start_refused_pbem_name_taken_%s_%s"), pbemName, ShownPath(u"data\\pbem\\" + taken)),
           GetText("start_refused_pbem_settings_title"));
    return;
  }
  if (newPbemGame && !CheckPbemFolder(pbemName)) {
    Refuse(Format(GetText("start_refused_pbem_folder_%s"), ShownPath(u"data\\pbem\\" + pbemName)),
           GetText("start_refused_pbem_settings_title"));
    return;
  }
  if (newPbemGame) {
    game.pbemGame = 1;
    game.pbemGameName = pbemName;
    for (const auto& country : game.countries) {
      if (country->specialFlags == kSpecialCountry) country->humanControlled = 1;
    }
  }
  // The game's start deletes this menu: nothing of it is touched afterwards.
  StartGameFromSettings();
}

}  // namespace tr
