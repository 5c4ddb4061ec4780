#include "scenario/folder_entries.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "foundation/console_log.h"
#include "foundation/paths.h"
#include "foundation/text.h"

namespace tr {

namespace fs = std::filesystem;

namespace {

// The entry's fault, or nothing for a file or a folder.
std::u16string_view Fault(const fs::file_status& status) {
  if (fs::is_symlink(status)) return u"a link";
  if (fs::is_regular_file(status) || fs::is_directory(status)) return {};
  return u"neither a file nor a folder";
}

void Refuse(std::u16string_view path, std::u16string_view fault) {
  LogFormat(u"ERROR: %s is %s; a game folder may hold only files and folders, so the game is not loaded", path,
            fault);
}

}  // namespace

bool HoldsOnlyFilesAndFolders(std::u16string_view folder) {
  const fs::path root = ResolveGamePath(folder);
  std::error_code error;
  const fs::file_status top = fs::symlink_status(root, error);
  if (!fs::exists(top)) return true;
  if (!fs::is_directory(top)) {
    Refuse(folder, Fault(top).empty() ? u"not a folder" : Fault(top));
    return false;
  }
  bool clean = true;
  // The walk never enters a linked folder: links are reported, not followed.
  fs::recursive_directory_iterator it(root, fs::directory_options::none, error);
  for (const fs::recursive_directory_iterator end; !error && it != end; it.increment(error)) {
    const std::u16string_view fault = Fault(it->symlink_status(error));
    if (error) break;
    if (fault.empty()) continue;
    std::u16string path(folder);
    for (const fs::path& part : it->path().lexically_relative(root)) {
      path += u'\\';
      path += Utf8ToUtf16(part.string());
    }
    Refuse(path, fault);
    clean = false;
  }
  if (error) {
    LogFormat(u"ERROR: The folder %s cannot be read whole (%s); the game is not loaded", folder,
              Utf8ToUtf16(error.message()));
    return false;
  }
  return clean;
}

}  // namespace tr
