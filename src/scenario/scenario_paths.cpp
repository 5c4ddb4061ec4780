#include "scenario/scenario_paths.h"

namespace tr {

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

std::u16string SaveFilePath(std::u16string_view folder, std::u16string_view file_name) {
  std::u16string result(folder);
  result.push_back(u'\\');
  result.append(file_name);
  return result;
}

std::u16string ScenarioFilePath(std::u16string_view scenario_name, std::u16string_view file_name) {
  return FolderFilePath(MakeFolderTemplate(kScenarioFolderTemplate, scenario_name), file_name);
}

}  // namespace tr
