// The scenario menu's details of the selected row, its events and the launch.
#include <string>

#include "app/loading_menu.h"
#include "app/menu_wallpaper.h"
#include "app/save_folder_pictures.h"
#include "app/scenario_menu.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/ini_file.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "gui/edit_box.h"
#include "gui/image.h"
#include "gui/list_box.h"
#include "gui/memo.h"
#include "gui/tab_frame.h"
#include "gui/texture_holder.h"
#include "scenario/scenario_paths.h"
#include "world/folder_path.h"

namespace tr {
namespace {

constexpr int kTabs = 178;
constexpr int kList = 179;
constexpr int kPicture = 199;
constexpr int kStartButton = 200;
constexpr int kBackButton = 201;
constexpr int kMaxTextLines = 100;
constexpr char16_t kNoDate[] = u"--.--.-- --:--";

ScenarioLoader gLoader = &RunGameLoader;

// The numbered lines of a text ("General_ENG/DescriptionLine1", 2, ...), up
// to the first number the file lacks.
std::u16string NumberedLines(cIniFile& info, std::u16string_view keyPattern) {
  const std::u16string pattern = Format(keyPattern, AsciiToUtf16(StringBase().GetLanguage()));
  std::u16string text;
  for (int i = 1; i < kMaxTextLines; ++i) {
    const std::string key = Utf16ToUtf8(Format(pattern, i));
    if (!info.HasKey(key)) break;
    text += info.GetString(key, {});
    text += u'\n';
  }
  return text;
}

}  // namespace

void SetScenarioLoader(ScenarioLoader loader) { gLoader = loader != nullptr ? loader : &RunGameLoader; }

void cScenarioMenu::SetField(int id, std::u16string_view text) {
  if (auto* field = static_cast<CDXUTEditBox*>(GetControlOfType(id, kControlEditBox))) field->SetText(text);
}

void cScenarioMenu::OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl*) {
  switch (controlId) {
    case kTabs:
      if (auto* tabs = static_cast<CDXUTTabFrame*>(GetControlOfType(kTabs, kControlTabFrame))) {
        const int tab = tabs->GetSelectedTab();
        if (tab >= kNewGame && tab <= kPbemGame) listMode_ = tab;
      }
      FillLists();
      return;
    case kList:
      if (event == GuiEventListSelection) ShowDetails();
      if (event == GuiEventListDoubleClick) Launch(true);
      return;
    case kStartButton:
      Launch(false);
      return;
    case kBackButton:
      ReturnToMainMenu();
      return;
    default:
      return;
  }
}

void cScenarioMenu::ShowDetails() {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kList, kControlListBox));
  if (list == nullptr) return;
  const std::u16string folderTemplate = RowTemplate(list->GetSelectedIndex());
  if (folderTemplate.empty()) return;
  cIniFile info;
  info.Load(FolderFilePath(folderTemplate, u"Info.ini"));

  const std::string language = StringBase().GetLanguage();
  RememberedScenarioName() = info.GetString("General_" + language + "/Name", u"Unknown name");
  SetField(182, info.GetString("Misc/Author", u"unknown"));
  SetField(184, info.GetString("Misc/Version", u"1.0"));
  SetField(186, Format(GetText("scenario_duration_%s_to_%s_%i_turns"),
                       info.GetString("Duration/StartDate", kNoDate), info.GetString("Duration/EndDate", kNoDate),
                       info.GetInt("Duration/Turns", 0)));
  SetField(198, Format(u"%ix%i", info.GetInt("Map/SizeX", 0), info.GetInt("Map/SizeY", 0)));
  bool damaged = false;
  if (listMode_ != kNewGame) {
    if (info.HasKey("Save/Date")) SetField(188, info.GetString("Save/Date", kNoDate));
    // A turn that is not a number refuses the load: the panel says so rather
    // than "turn 0", and the save is not offered to start.
    damaged = info.HasKey("Save/Turn") && !IsWholeNumberText(info.GetString("Save/Turn", u""));
    if (damaged) {
      SetField(190, GetText("save_details_damaged"));
    } else if (info.HasKey("Save/Turn")) {
      SetField(190, Format(GetText("%02d.%02d.%02d_turn_%i"), info.GetInt("Save/GameYearDisplayed", 0),
                           info.GetInt("Save/GameMonthDisplayed", 0), info.GetInt("Save/GameDayDisplayed", 0),
                           info.GetInt("Save/Turn", 0)));
    }
  }
  if (auto* memo = static_cast<CDXUTMemo*>(GetControlOfType(192, kControlMemo))) {
    memo->SetText(NumberedLines(info, u"General_%s/DescriptionLine%%i"));
  }
  if (auto* memo = static_cast<CDXUTMemo*>(GetControlOfType(194, kControlMemo))) {
    memo->SetText(NumberedLines(info, u"General_%s/ObjectivesLine%%i"));
  }
  SetControlEnabled(kStartButton, !damaged);
  ShowPicture(folderTemplate, info);
}

void cScenarioMenu::ShowPicture(const std::u16string& folderTemplate, cIniFile& info) {
  auto* image = static_cast<CDXUTImage*>(GetControlOfType(kPicture, kControlImage));
  if (image == nullptr) return;
  image->SetVisible(false);
  image->SetTexture(nullptr);
  const PictureBound bound = SaveFolderPictureBound();
  bool loaded = LoadMenuPicture(kScenarioPicture, FolderFilePath(folderTemplate, u"image.png"), bound);
  if (!loaded && info.HasKey("Save/ScenarioName")) {
    const std::u16string scenario = info.GetString("Save/ScenarioName", u"unknown scenario");
    if (IsSafeFileName(scenario)) {
      loaded = LoadMenuPicture(kScenarioPicture, ScenarioFilePath(scenario, u"image.png"), bound);
    } else {
      LogFormat(u"Save names the scenario \"%s\", which is not a folder name: no picture shown", scenario);
    }
  }
  if (!loaded) return;
  image->SetTexture(MenuPicture(kScenarioPicture).GetTexture());
  image->SetSourceRect({0, 0, 512, 512});
  image->SetVisible(true);
}

void cScenarioMenu::Launch(bool fromDoubleClick) {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kList, kControlListBox));
  if (list == nullptr) return;
  // A double click on a row the details refused starts nothing either.
  if (!GetControlEnabled(kStartButton)) return;
  sLaunchRecord record;
  record.folderTemplate = RowTemplate(list->GetSelectedIndex());
  if (record.folderTemplate.empty()) return;
  record.savedGame = listMode_ != kNewGame ? 1 : 0;
  if (fromDoubleClick) {
    LogLine(Format(GetText("loading_scenario_from_%s"), record.folderTemplate));
  } else {
    ReleaseMenuPicture(kScenarioMenuWallpaper);
  }
  // The loading menu replaces this one, which goes after the dispatch:
  // nothing of it is touched from here on.
  CurrentMenu = new cLoadingMenu();
  gLoader(record);
}

}  // namespace tr
