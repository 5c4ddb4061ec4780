#include "scenario/scenario_paths.h"

#include <vector>

#include "foundation/paths.h"

namespace tr {
namespace {

std::vector<std::u16string_view> SplitGamePath(std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = path.find_first_of(u"/\\", start);
    parts.push_back(path.substr(start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start));
    if (end == std::u16string_view::npos) return parts;
    start = end + 1;
  }
}

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::u16string MakeFolderTemplate(std::u16string_view base_template, std::u16string_view name) {
  // Only the first "%s" takes the name; every "%%" collapses to "%", so "%%s" becomes "%s".
  std::u16string result;
  bool name_used = false;
  for (std::size_t i = 0; i < base_template.size(); ++i) {
    const char16_t c = base_template[i];
    if (c == u'%' && i + 1 < base_template.size()) {
      const char16_t next = base_template[i + 1];
      if (next == u'%') {
        result.push_back(u'%');
        ++i;
        continue;
      }
      if (next == u's' && !name_used) {
        result.append(name);
        name_used = true;
        ++i;
        continue;
      }
    }
    result.push_back(c);
  }
  return result;
}

std::u16string TemplateFolder(std::u16string_view folder_template) {
  std::u16string_view folder = folder_template;
  if (folder.ends_with(u"%s")) folder.remove_suffix(2);
  while (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) folder.remove_suffix(1);
  return std::u16string(folder);
}

bool IsPbemGameFolder(std::u16string_view folder) {
  // The template's own start: "data\pbem\".
  return folder.starts_with(kPbemFolderTemplate.substr(0, kPbemFolderTemplate.find(u'%')));
}

std::u16string SaveFilePath(std::u16string_view folder, std::u16string_view file_name) {
  std::u16string result(folder);
  result.push_back(u'\\');
  result.append(file_name);
  return result;
}

std::u16string ScenarioFilePath(std::u16string_view scenario_name, std::u16string_view file_name) {
  return FolderFilePath(MakeFolderTemplate(kScenarioFolderTemplate, scenario_name), file_name);
}

bool IsScenarioFilePath(std::u16string_view game_path, std::u16string_view scenario_name) {
  if (!IsSafeFileName(scenario_name)) return false;
  const std::u16string folder = TemplateFolder(MakeFolderTemplate(kScenarioFolderTemplate, scenario_name));
  const std::vector<std::u16string_view> parts = SplitGamePath(game_path);
  const std::vector<std::u16string_view> base = SplitGamePath(folder);
  if (parts.size() <= base.size()) return false;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i < base.size() ? !SameIgnoringCase(parts[i], base[i]) : !IsSafeFileName(parts[i])) return false;
  }
  return true;
}

}  // namespace tr
