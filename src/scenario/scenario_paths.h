// Where the tables of a scenario, a saved game and a play-by-e-mail game live.
// A folder template holds one "%s" where a file name goes (FolderFilePath of
// world/folder_path.h fills it). Names (of scenarios, saves, files) are put in
// literally, so a '%' in a name is data, never a format.
#pragma once

#include <string>
#include <string_view>

#include "world/folder_path.h"

namespace tr {

inline constexpr std::u16string_view kScenarioFolderTemplate = u"data\\scenarios\\%s\\%%s";
inline constexpr std::u16string_view kSaveFolderTemplate = u"data\\save\\%s\\%%s";
inline constexpr std::u16string_view kPbemFolderTemplate = u"data\\pbem\\%s\\%%s";

// "data\scenarios\%s\%%s" with "Sample" gives "data\scenarios\Sample\%s".
std::u16string MakeFolderTemplate(std::u16string_view base_template, std::u16string_view name);

// The folder of a template, without the trailing separator and "%s".
std::u16string TemplateFolder(std::u16string_view folder_template);

// Whether a game folder (no template) is a play-by-e-mail game's, a turn
// received or sent, rather than a plain save or a scenario.
bool IsPbemGameFolder(std::u16string_view folder);

// A writer's path: the folder (no template), a backslash and the file name.
std::u16string SaveFilePath(std::u16string_view folder, std::u16string_view file_name);

// A file of the scenario folder of a name (the tables no save holds).
std::u16string ScenarioFilePath(std::u16string_view scenario_name, std::u16string_view file_name);

// Whether a game path that a scenario's file gives for another of its files
// ("data\scenarios\S\events.xml") lies in that scenario's folder: its first
// components name the folder (case aside) and every later one is a plain
// file name, so it reaches nothing outside.
bool IsScenarioFilePath(std::u16string_view game_path, std::u16string_view scenario_name);

}  // namespace tr
