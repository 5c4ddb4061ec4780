// What a scenario, save or play-by-e-mail folder may hold: files and folders
// only. A save or scenario from elsewhere that carries a link could make the
// game read a file outside the game folder, or make the next save write
// through it; a pipe or a device would hang or feed a reader without end.
#pragma once

#include <string_view>

namespace tr {

// True when the folder (a game path) is a folder, not a link, and everything
// in it, at any depth, is a regular file or a folder. Each entry that is not
// is logged with its game path. A missing folder passes: its readers report
// their files missing.
bool HoldsOnlyFilesAndFolders(std::u16string_view folder);

}  // namespace tr
