#include "app/scenario_menu.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/frame_utils.h"
#include "app/mainmenu.h"
#include "app/menu_wallpaper.h"
#include "app/modal_stack.h"
#include "dialogs/dialog_base.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/gui_layout.h"
#include "foundation/ini_file.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "gui/edit_box.h"
#include "gui/image.h"
#include "gui/list_box.h"
#include "gui/memo.h"
#include "gui/static.h"
#include "gui/tab_frame.h"
#include "platform/codes.h"
#include "scenario/scenario_paths.h"
#include "world/folder_path.h"

namespace tr {
namespace {

enum eScenarioMenuControl : int {
  kTitle = 175,
  kListBox = 176,
  kDetailsBox = 177,
  kTabs = 178,
  kList = 179,
  kDescriptionMemo = 192,
  kGoalsMemo = 194,
  kPicture = 199,
  kStartButton = 200,
  kBackButton = 201,
};

struct sListModeInfo {
  const char16_t* folder;
  std::u16string_view baseTemplate;
  const char* columnsKey;
  int widths[3];
};

const sListModeInfo& ModeInfo(std::int32_t mode) {
  static const sListModeInfo kModes[] = {
      {u"data\\scenarios", kScenarioFolderTemplate, "scenarios_list_new_game_columns", {70, 15, 15}},
      {u"data\\save", kSaveFolderTemplate, "scenarios_list_saved_game_columns", {40, 40, 20}},
      {u"data\\pbem", kPbemFolderTemplate, "scenarios_list_saved_pbem_columns", {40, 40, 20}},
  };
  return kModes[std::clamp(mode, 0, 2)];
}

void AddField(CDXUTDialog& dialog, int id, const char* labelKey) {
  AddTextField(&dialog, id, u"-", {}, id - 1, GetText(labelKey));
}

}  // namespace

std::u16string& RememberedScenarioName() {
  static std::u16string name;
  return name;
}

std::vector<std::u16string> ListGameFolders(std::u16string_view gameFolder) {
  std::vector<std::u16string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(ResolveGamePath(gameFolder), error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    // A folder reached through a link is refused when loaded, so it is not listed either.
    std::error_code typeError;
    if (!std::filesystem::is_directory(it->symlink_status(typeError))) continue;
    names.push_back(Utf8ToUtf16(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

void ReturnToMainMenu() {
  ReleaseMenuPicture(kScenarioMenuWallpaper);
  CurrentMenu = new cMainMenu();
}

cScenarioMenu::cScenarioMenu() {
  LogLine(u"----- SinglePlayer Menu -----");
  LoadMenuPicture(kScenarioMenuWallpaper, u"data\\gfx\\wallpaper_scenario.png");

  CDXUTStatic* title = nullptr;
  AddStaticAt(kTitle, GetText("scenario_title"), &title);
  if (title != nullptr) {
    title->SetTextElement(2);
    title->SetTextFormat(DT_CENTER | DT_VCENTER);
  }
  CDXUTTabFrame* tabs = nullptr;
  AddTabFrameAt(kTabs, &tabs);
  CDXUTListBox* list = nullptr;
  AddListBoxAt(kList, 0, &list);
  if (list != nullptr) list->SetColumns(3, GetText("scenarios_list_new_game_columns"), 60, 20, 20);
  AddField(*this, 182, "scenario_author");
  AddField(*this, 184, "scenario_version");
  AddField(*this, 186, "scenario_duration");
  AddMemoWithLabel(*this, kDescriptionMemo, u"-", 191, GetText("scenario_description"));
  AddMemoWithLabel(*this, kGoalsMemo, u"-", 193, GetText("scenario_goals"));
  AddField(*this, 198, "scenario_map_size");

  Rect box;
  if (Succeeded(GetLayoutRect(kPicture, &box))) {
    // A square of the smaller side, centred in the layout rectangle.
    SquareRectAligned(box.left, box.top, box.right, box.bottom, 1, 1);
    CDXUTImage* image = nullptr;
    AddImage(kPicture, nullptr, {0, 0, 512, 512}, box.left, box.top, box.right, box.bottom, 0, false, &image);
    if (image != nullptr) image->SetVisible(false);
  }
  AddField(*this, 188, "scenario_save_date");
  AddField(*this, 190, "scenario_save_turn");
  AddMenuButton(*this, kStartButton, "scenario_new_game_start");
  AddMenuButton(*this, kBackButton, "scenario_back");

  if (tabs != nullptr) {
    // The new-game tab has no controls of its own: its range is empty.
    tabs->AddTab(GetText("scenario_tab_new_game"), 0, 0, -1);
    tabs->AddTab(GetText("scenario_tab_load_game"), 0, 187, 190);
    tabs->AddTab(GetText("scenario_tab_load_pbem_game"), 0, 187, 190);
    tabs->SelectTab(0, false);
  }
  listMode_ = kNewGame;
  AddVersionStatic(*this);
  SetVisible(true);
}

std::u16string cScenarioMenu::RowTemplate(int row) const {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kList, kControlListBox));
  if (list == nullptr) return {};
  const sListBoxItem* item = list->GetItem(row);
  if (item == nullptr || item->data >= rowTemplates_.size()) return {};
  return rowTemplates_[item->data];
}

bool cScenarioMenu::SelectRowOf(std::u16string_view folderTemplate) {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kList, kControlListBox));
  if (list == nullptr) return false;
  for (int row = 0; row < list->GetSize(); ++row) {
    if (RowTemplate(row) != folderTemplate) continue;
    list->SelectItem(row, true);
    return true;
  }
  return false;
}

void cScenarioMenu::ShowListMode(std::int32_t mode) {
  listMode_ = std::clamp(mode, static_cast<std::int32_t>(kNewGame), static_cast<std::int32_t>(kPbemGame));
  if (auto* tabs = static_cast<CDXUTTabFrame*>(GetControlOfType(kTabs, kControlTabFrame))) {
    tabs->SelectTab(listMode_, false);
  }
  FillLists();
}

void cScenarioMenu::FillLists() {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kList, kControlListBox));
  if (list == nullptr) return;
  for (int memo : {kDescriptionMemo, kGoalsMemo}) {
    if (auto* control = static_cast<CDXUTMemo*>(GetControlOfType(memo, kControlMemo))) control->SetText({});
  }
  list->RemoveAllItems();
  rowTemplates_.clear();

  const sListModeInfo& mode = ModeInfo(listMode_);
  list->SetColumns(3, GetText(mode.columnsKey), mode.widths[0], mode.widths[1], mode.widths[2]);
  const std::vector<std::u16string> folders = ListGameFolders(mode.folder);
  int selection = 0;
  for (std::size_t i = 0; i < folders.size(); ++i) {
    const std::u16string key = AddListRow(folders[i]);
    if (i == 0) {
      selection = key.empty() ? -1 : 0;
    } else if (!key.empty() && key == RememberedScenarioName()) {
      selection = list->GetSize() - 1;
    }
  }
  if (selection < 0) selection = 0;
  // Before the selection, whose details may refuse the row.
  SetControlEnabled(kStartButton, list->GetSize() > 0);
  if (list->GetSize() > 0) list->SelectItem(selection, true);
}

std::u16string cScenarioMenu::AddListRow(std::u16string_view folderName) {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kList, kControlListBox));
  if (list == nullptr) return {};
  const std::u16string folderTemplate = MakeFolderTemplate(ModeInfo(listMode_).baseTemplate, folderName);
  cIniFile info;
  if (!info.Load(FolderFilePath(folderTemplate, u"Info.ini"))) return {};

  const std::string nameKey = "General_" + StringBase().GetLanguage() + "/Name";
  const std::u16string name = info.GetString(nameKey, u"Unknown name");
  std::u16string text;
  std::u16string key;
  if (listMode_ == kNewGame) {
    text = Format(u"%s;%i;%ix%i", ListCellText(name), info.GetInt("Duration/Turns", 0), info.GetInt("Map/SizeX", 0),
                  info.GetInt("Map/SizeY", 0));
    key = name;
  } else {
    text = Format(u"%s;%s;%s", ListCellText(folderName), ListCellText(name),
                  ListCellText(info.GetString("Save/Date", u"--.--.-- --:--")));
    key = std::u16string(folderName);
  }
  if (Failed(list->AddItem(text, static_cast<std::uint32_t>(rowTemplates_.size())))) return {};
  rowTemplates_.push_back(folderTemplate);
  return key;
}

void cScenarioMenu::OnKeyboard(std::uint32_t key, bool down, bool alt) {
  // The message of a turn that did not load takes the keys while it is open,
  // so Escape closes it rather than leaving for the main menu.
  if (TopDialog != nullptr && TopDialog->GetVisible()) {
    TopDialog->OnKeyboard(key, down, alt);
    return;
  }
  if (down && key == VK_ESCAPE) ReturnToMainMenu();
}

void cScenarioMenu::Render(float elapsed) {
  DrawMenuWallpaper(kScenarioMenuWallpaper);
  for (int id : {kListBox, kDetailsBox}) {
    const sGuiLayoutEntry& box = sGuiLayoutTable[static_cast<std::size_t>(id)];
    if (box.width > 0 && box.height > 0) DrawSkinBox(box.x, box.y, box.width, box.height, -1);
  }
  OnRender(elapsed);
}

}  // namespace tr
