// The scenario menu: three tabs list the folders of new scenarios, saved
// games and play-by-e-mail games; a selected row shows what its "Info.ini"
// says and its picture; starting hands the folder to the game loader behind
// the loading screen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/menu.h"

namespace tr {

class cIniFile;

// What the loader is handed: the folder's path pattern (one "%s" where a
// file name goes) and whether it is a saved game.
struct sLaunchRecord {
  std::u16string folderTemplate;
  std::int32_t savedGame = 0;
};

class cScenarioMenu : public cMenu {
 public:
  enum eListMode : std::int32_t { kNewGame = 0, kSavedGame = 1, kPbemGame = 2 };

  cScenarioMenu();
  // Lists the folders of the current mode, selects the remembered row (the
  // first otherwise) and shows its details.
  void FillLists();
  // Adds the folder's row when its "Info.ini" loads; returns the row's key
  // (the display name for scenarios, the folder name for saves), empty for none.
  std::u16string AddListRow(std::u16string_view folderName);

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;
  void Render(float elapsed) override;

  std::int32_t listMode() const { return listMode_; }
  // Selects the tab of the list mode and lists its folders.
  void ShowListMode(std::int32_t mode);
  // The path pattern of a row, empty for none.
  std::u16string RowTemplate(int row) const;
  // Selects the row of the folder and shows its details; false when no row lists it.
  bool SelectRowOf(std::u16string_view folderTemplate);

 private:
  void ShowDetails();
  void ShowPicture(const std::u16string& folderTemplate, cIniFile& info);
  void SetField(int id, std::u16string_view text);
  void Launch(bool fromDoubleClick);

  std::int32_t listMode_ = kNewGame;
  // The path pattern of each row; a row's data is its index here.
  std::vector<std::u16string> rowTemplates_;
};

// The display name of the row last selected in any scenario menu.
std::u16string& RememberedScenarioName();

// Releases the scenario wallpaper and makes a new main menu current.
void ReturnToMainMenu();

// The folder names under a game folder, sorted by name: only folders, none
// hidden (a leading '.'), none named "." or "..".
std::vector<std::u16string> ListGameFolders(std::u16string_view gameFolder);

// Runs the game loader on a launch record behind the loading menu.
void RunGameLoader(const sLaunchRecord& record);
// What the menu's start runs; tests put their own in (null restores RunGameLoader).
using ScenarioLoader = void (*)(const sLaunchRecord&);
void SetScenarioLoader(ScenarioLoader loader);

}  // namespace tr
