#include "world/folder_path.h"

namespace tr {

std::u16string FolderFilePath(std::u16string_view folderTemplate, std::u16string_view fileName) {
  std::u16string path(folderTemplate);
  const std::size_t at = path.rfind(u"%s");
  if (at == std::u16string::npos) {
    // A template without a place for the name: the file lies in that folder.
    if (!path.empty() && path.back() != u'\\') path += u'\\';
    return path + std::u16string(fileName);
  }
  path.replace(at, 2, fileName);
  return path;
}

}  // namespace tr
