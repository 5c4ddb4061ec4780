#include "foundation/paths.h"

#include <cstdlib>
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

namespace {

bool IsNameUnit(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'-';
}

// Where the game folder's "data\<folder>" lies, its links followed, with "~"
// for the home folder.
std::u16string RealPlace(std::u16string_view game_folder) {
  std::error_code ec;
  const fs::path place = ResolveGamePath(game_folder);
  fs::path real = fs::weakly_canonical(place, ec);
  if (ec) real = fs::absolute(place, ec);
  if (ec) return std::u16string(game_folder);
  std::u16string text = Utf8ToUtf16(real.generic_string());
  const char* home_variable = std::getenv("HOME");
  if (home_variable != nullptr && *home_variable == '/') {
    fs::path home = fs::weakly_canonical(home_variable, ec);
    if (ec) home = home_variable;
    std::u16string prefix = Utf8ToUtf16(home.generic_string());
    while (prefix.size() > 1 && prefix.back() == u'/') prefix.pop_back();
    if (prefix.size() > 1 && text.starts_with(prefix) && text.size() > prefix.size() && text[prefix.size()] == u'/') {
      text.replace(0, prefix.size(), u"~");
    }
  }
  return text;
}

}  // namespace

std::u16string ShownPath(std::u16string_view game_path) {
  // A game path starts at a word's start; one inside a path already shown is left alone.
  constexpr std::u16string_view kData = u"data";
  std::u16string text;
  std::size_t from = 0;
  for (std::size_t at = game_path.find(kData); at != std::u16string_view::npos; at = game_path.find(kData, at + 1)) {
    const std::size_t name = at + kData.size() + 1;
    const bool insideAWord = at > 0 && (IsNameUnit(game_path[at - 1]) || game_path[at - 1] == u'/' ||
                                        game_path[at - 1] == u'\\' || game_path[at - 1] == u'.');
    if (at < from || insideAWord || name >= game_path.size() ||
        (game_path[name - 1] != u'\\' && game_path[name - 1] != u'/')) {
      continue;
    }
    std::size_t end = name;
    while (end < game_path.size() && IsNameUnit(game_path[end])) ++end;
    if (end == name) continue;
    text.append(game_path.substr(from, at - from));
    text += RealPlace(game_path.substr(at, end - at));
    from = end;
  }
  text.append(game_path.substr(from));
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
