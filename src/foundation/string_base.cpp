#include "foundation/string_base.h"

#include <fstream>
#include <mutex>
#include <sstream>

#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/md5.h"
#include "foundation/paths.h"
#include "foundation/string_base_file.h"
#include "foundation/text.h"

namespace tr {
namespace {

// A key file with this digest beside the game marks any string base as trusted.
constexpr std::string_view kKeyFileDigest = "9c41d07be2a85f3361c0e7d4ab29f856";

std::u16string CutAtPercent(std::u16string text) {
  if (const std::size_t pos = text.find(u'%'); pos != std::u16string::npos) text.resize(pos);
  return text;
}

}  // namespace

cStringBase::cStringBase(std::string trustedDigest) : trustedDigest_(std::move(trustedDigest)) {}

void cStringBase::SetLanguage(std::u16string_view code) {
  std::string narrow;
  for (char16_t u : code) narrow += static_cast<char>(u & 0xFF);
  std::unique_lock lock(mutex_);
  language_ = std::move(narrow);
}

std::string cStringBase::GetLanguage() const {
  std::shared_lock lock(mutex_);
  return language_;
}

bool cStringBase::IsTrusted(std::string_view fileBytes) const {
  if (!trustedDigest_.empty() && Md5Hex(fileBytes) == trustedDigest_) return true;
  // The key file is read as text: CR LF pairs shrink to LF and the bytes the
  // shrinking frees at the end count as zeros.
  const std::optional<std::string> keyFile = ReadWholeFile(ResolveGamePath(std::string_view("data/addsettings")));
  if (!keyFile) return false;
  const std::string& key = *keyFile;
  std::string text;
  for (std::size_t i = 0; i < key.size(); ++i) {
    if (key[i] == '\r' && i + 1 < key.size() && key[i + 1] == '\n') continue;
    text += key[i];
  }
  text.resize(key.size(), '\0');
  return Md5Hex(text) == kKeyFileDigest;
}

void cStringBase::Load(std::string_view fileName, bool overwrite) {
  LogLine(u"Loading string base");
  std::string name(fileName);
  const std::string language = GetLanguage();
  for (std::size_t pos = name.find("LANGID"); pos != std::string::npos;
       pos = name.find("LANGID", pos + language.size())) {
    name.replace(pos, 6, language);
  }

  const std::optional<std::string> file = ReadWholeFile(ResolveGamePath(std::string_view(name)));
  if (!file) {
    LogLine(u"Failed opening string base");
    return;
  }
  const std::string& bytes = *file;
  const bool trusted = IsTrusted(bytes);
  const sDecodedStringBase decoded = DecodeStringBase(bytes);

  std::size_t count;
  {
    std::unique_lock lock(mutex_);
    loadedFiles_.push_back(name);
    for (const auto& entry : decoded.entries) {
      auto [it, inserted] = texts_.try_emplace(entry.key);
      if (inserted || overwrite) it->second = trusted ? entry.text : CutAtPercent(entry.text);
    }
    count = texts_.size();
  }
  if (!decoded.complete) {
    LogFormat(u"String base \"%s\" is cut short: %i of %llu records loaded", name,
              static_cast<int>(decoded.entries.size()), decoded.declaredCount);
  }
  LogFormat(u"Loaded %i strings", static_cast<int>(count));
  LogLine(u"Loaded string base");
}

std::u16string cStringBase::GetText(std::string_view key) {
  {
    std::shared_lock lock(mutex_);
    const auto it = texts_.find(std::string(key));
    if (it != texts_.end()) return it->second;
  }
  std::unique_lock lock(mutex_);
  return texts_.try_emplace(std::string(key), CodePageToUtf16(key)).first->second;
}

bool cStringBase::FindText(std::string_view key, std::u16string& text) const {
  std::shared_lock lock(mutex_);
  const auto it = texts_.find(std::string(key));
  if (it == texts_.end()) return false;
  text = it->second;
  return true;
}

void cStringBase::SetText(std::string_view key, std::u16string_view text) {
  std::unique_lock lock(mutex_);
  texts_[std::string(key)] = std::u16string(text);
}

std::size_t cStringBase::Size() const {
  std::shared_lock lock(mutex_);
  return texts_.size();
}

std::vector<std::string> cStringBase::LoadedFiles() const {
  std::shared_lock lock(mutex_);
  return loadedFiles_;
}

}  // namespace tr
