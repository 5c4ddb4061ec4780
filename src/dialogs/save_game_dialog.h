// cDialogZapisuGry: saving the running game under a name. It lists the saves
// of "data\save" with their scenario, turn and date, takes the new name in an
// edit box, asks before it overwrites a save, and resumes the game on Exit.
// Saving keeps the dialog open and refreshes the list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/dialog_base.h"

namespace tr {

class cDialogZapisuGry : public cDialog {
 public:
  static constexpr int kDialogId = 252;
  static constexpr int kTitle = 250;
  static constexpr int kListLabel = 253;
  static constexpr int kList = 254;
  static constexpr int kNameLabel = 255;
  static constexpr int kNameEdit = 256;
  static constexpr int kExitButton = 257;
  static constexpr int kSaveButton = 258;

  // Pauses the game unless it is paused already and lists the saves.
  cDialogZapisuGry();

  // Lists the saves again, keeping the selected row when the list still has it.
  void FillSaves();
  // Adds the row of one save folder; nothing when its "Info.ini" does not load.
  void ReadSaveInfo(std::u16string_view folderName);
  // Saves under the name, first asking when a save of that name exists
  // (unless forced; a forced save tells nothing).
  void AskOverwrite(std::u16string_view name, bool force);

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  // The overwrite question has closed.
  void OnActivate() override;

  // The folder name of a list row (data of the row).
  const std::u16string& RowFolder(int row) const;

  std::int32_t pendingOverwrite = 0;

 private:
  // Saves and tells the player what happened; a refused name or a failed
  // write is said in a message box, as the save itself only logs it.
  void Save(std::u16string_view name, bool silent);

  std::vector<std::u16string> folders_;
};

}  // namespace tr
