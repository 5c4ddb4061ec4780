// Game paths are written the Windows way ("data\scenarios\%s"). All file access
// goes through ResolveGamePath, which turns them into file-system paths under
// the game folder and finds components whose case differs on disk.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tr {

// The folder relative game paths start from; defaults to the working directory.
void SetGameRoot(const std::filesystem::path& root);
std::filesystem::path GameRoot();

// '\' becomes '/', and each component that does not exist with its exact name
// is matched case-insensitively against its folder. Components that exist in
// neither form are kept as written, so the result also serves for new files.
std::filesystem::path ResolveGamePath(std::u16string_view game_path);
std::filesystem::path ResolveGamePath(std::string_view game_path);

// A game path, or a message naming game paths, as the player finds them on
// this system: each path from its "data\" folder on is shown at its real
// place (the saves' folders are links to the user's data folder), the home
// folder as "~", with '/' between the folders.
std::u16string ShownPath(std::u16string_view game_path);

// A name taken from data or typed by the player (a save name, a picture name)
// that must stay a single component: no "..", no separator, not absolute.
bool IsSafeFileName(std::u16string_view name);

}  // namespace tr
