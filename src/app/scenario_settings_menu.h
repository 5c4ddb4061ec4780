// The scenario settings menu, shown between the load of a game (state 1) and
// the start of play: every playable country with its controller and
// difficulty, the country's statistics, the play-by-e-mail set-up (game name
// and players), the start with its refusals, and the way back, which
// destroys the loaded game. Every choice goes straight into the game.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/menu.h"

namespace tr {

class cCountry;
class CDXUTListBox;
struct sListBoxItem;
struct sPbemPlayer;

class cScenarioSettingsMenu : public cMenu {
 public:
  // Needs the loaded game (gGame).
  cScenarioSettingsMenu();

  // The list of playable countries, sorted by name; selects the first.
  void FillCountryList();
  // The statistics of the selected country on the selected statistics tab.
  void FillCountryStats();
  // Shows the controller and difficulty of the selected country.
  void RefreshControllerControls();
  // Writes the controller and difficulty controls into the selected country and its row.
  void ApplyControllers();
  // The player list and the player combo box, from the game's players.
  void FillPbemPlayers();

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;
  // A switch of the main tabs shows the whole countries tab after its event:
  // the controller controls are put right on the next frame.
  void OnFrameMove(Graphics& device, double time, float elapsed) override;
  void Render(float elapsed) override;

  // The selected country, null for none.
  cCountry* selectedCountry() const;
  // The number of the selected play-by-e-mail player, 0 for none.
  std::int32_t selectedPlayer() const { return selectedPlayer_; }

  // The player placeholders shown while the list's "new player" row is selected.
  static constexpr std::u16string_view kNewPlayerName = u"new player name";
  static constexpr std::u16string_view kNewPlayerEmail = u"player@example.com";

 private:
  void SelectPlayerRow();
  void SavePlayer();
  void RemovePlayer();
  void TogglePbemGame(bool checked);
  void TryStart();
  void ShowMinimap();
  std::u16string ControllerText(const cCountry& country) const;
  // " name;controller;difficulty".
  std::u16string CountryRow(const cCountry& country) const;
  // The player lists again, and the countries' rows and combo choice with the players' new names.
  void PlayersChanged();

  std::int32_t selectedCountry_ = 0;  // country number
  std::int32_t selectedPlayer_ = 0;   // player number
  bool controllersStale_ = false;
};

// The controls of the menu.
enum eScenarioSettingsControl : int {
  kSettingsTitle = 205,
  kSettingsFrame = 207,
  kSettingsTabs = 208,
  kCountryList = 216,
  kCountryName = 218,
  kCountryFlag = 219,
  kStatsTabs = 220,
  kStatsList = 221,
  kControlledByLabel = 222,
  kComputerRadio = 224,
  kHumanRadio = 225,
  kPlayerCombo = 226,
  kDifficultyLabel = 227,
  kVeryHardRadio = 229,
  kVeryEasyRadio = 233,
  kPbemCheckBox = 234,
  kPbemNameField = 236,
  kPlayersLabel = 237,
  kPlayerList = 238,
  kPlayerNameField = 240,
  kPlayerEmailField = 242,
  kSavePlayerButton = 243,
  kRemovePlayerButton = 244,
  kStartButton = 245,
  kBackButton = 246,
  kSettingsVersion = 7010,
};

// Every country computer-led and without a player.
void ClearHumanControllers();
// The countries carry at least two different player numbers above 0.
bool IsPbemSetupValid();
// Whether a typed play-by-e-mail game name can be a game's name
// (PbemGameNameFault): a folder name without the refused characters, not
// starting with '.', not the repository's name, held by the code page.
bool IsPbemGameNameValid(std::u16string_view name);
// The folder of data\pbem whose name equals the name ignoring case (another
// game's), empty when none has it.
std::u16string PbemGameNameTakenBy(std::u16string_view name);
// Creates "data\pbem\<name>"; true only when the folder did not exist and
// was made (the name must be valid).
bool CheckPbemFolder(std::u16string_view name);
// Releases the wallpaper and starts play.
void StartGameFromSettings();
// Destroys the game and goes back to the scenario menu.
void ReturnToScenarioMenu();

// The index of the next selected row after previous (-1 for the first), -1 when none.
int GetSelectedListItem(const CDXUTListBox& list, int previous);
// The data of the first selected row; fallback when none is selected.
std::uint32_t GetSelectedListItemData(CDXUTListBox& list, std::uint32_t fallback = 0);

}  // namespace tr
