// Game paths of the files of a scenario or save folder.
#pragma once

#include <string>
#include <string_view>

namespace tr {

// The folder template ("data\\scenarios\\<name>\\%s") with the file name put
// in. The folder name was put in literally, so it may itself hold "%s" or
// '%': only the last "%s" is the file's place, and nothing else is a format.
std::u16string FolderFilePath(std::u16string_view folderTemplate, std::u16string_view fileName);

}  // namespace tr
