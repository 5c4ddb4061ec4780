#include "foundation/paths.h"

#include <mutex>
#include <system_error>

#include "foundation/text.h"

namespace fs = std::filesystem;

namespace tr {
namespace {

std::mutex gRootMutex;
fs::path gRoot;

// Finds an entry of dir whose name equals name ignoring case; empty if none.
fs::path FindIgnoringCase(const fs::path& dir, const std::u16string& name) {
  std::error_code ec;
  fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec);
  if (ec) return {};
  for (const auto& entry : it) {
    const fs::path entry_name = entry.path().filename();
    if (EqualsIgnoreCase(Utf8ToUtf16(entry_name.string()), name)) return entry_name;
  }
  return {};
}

}  // namespace

void SetGameRoot(const fs::path& root) {
  std::lock_guard<std::mutex> lock(gRootMutex);
  gRoot = root;
}

fs::path GameRoot() {
  std::lock_guard<std::mutex> lock(gRootMutex);
  return gRoot;
}

std::u16string ShownPath(std::u16string_view game_path) {
  std::u16string text(game_path);
  for (char16_t& c : text) {
    if (c == u'\\') c = u'/';
  }
  return text;
}

fs::path ResolveGamePath(std::u16string_view game_path) {
  std::u16string text(game_path);
  for (char16_t& c : text) {
    if (c == u'\\') c = u'/';
  }
  fs::path result;
  std::size_t pos = 0;
  if (!text.empty() && text[0] == u'/') {
    result = "/";
    pos = 1;
  } else {
    result = GameRoot();
  }
  bool still_on_disk = true;
  while (pos <= text.size()) {
    std::size_t slash = text.find(u'/', pos);
    if (slash == std::u16string::npos) slash = text.size();
    const std::u16string component = text.substr(pos, slash - pos);
    pos = slash + 1;
    if (component.empty() || component == u".") continue;
    const fs::path exact = Utf16ToUtf8(component);
    if (still_on_disk && component != u"..") {
      std::error_code ec;
      if (!fs::exists(result / exact, ec)) {
        const fs::path found = FindIgnoringCase(result, component);
        if (!found.empty()) {
          result /= found;
          continue;
        }
        still_on_disk = false;
      }
    }
    result /= exact;
  }
  return result;
}

fs::path ResolveGamePath(std::string_view game_path) {
  return ResolveGamePath(Utf8ToUtf16(game_path));
}

bool IsSafeFileName(std::u16string_view name) {
  if (name.empty() || name == u"." || name.find(u"..") != std::u16string_view::npos) return false;
  if (name.find_first_of(u"/\\") != std::u16string_view::npos) return false;
  // A drive-qualified name ("C:x") is absolute where the saves came from.
  if (name.find(u':') != std::u16string_view::npos) return false;
  for (char16_t c : name) {
    if (c < 0x20) return false;
  }
  return true;
}

}  // namespace tr
