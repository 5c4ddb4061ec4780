// The readable listing of a scenario's events for its authors: one text file
// beside each event file, with every event's dates, condition and options.
#include <tinyxml.h>

#include <filesystem>
#include <system_error>

#include "events/event_xml.h"
#include "events/zdarzenia.h"
#include "foundation/console_log.h"
#include "foundation/file_write.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "world/gra.h"

namespace tr {
namespace {

std::u16string_view YesNo(std::int32_t value) { return value != 0 ? u"Yes" : u"No"; }

std::u16string DateText(const cEvent& event) {
  if (event.beginDate.day == kIntNotSet) return u"all the time";
  return Format(u"%i-%i-%4i to %2i-%2i-%2i", event.beginDate.day, event.beginDate.month, event.beginDate.year,
                event.endDate.day, event.endDate.month, event.endDate.year);
}

std::u16string CountryName(std::int32_t countryId) {
  if (gGame == nullptr || countryId < 1 || countryId > gGame->CountryCount()) return {};
  return gGame->countries[static_cast<std::size_t>(countryId - 1)]->name;
}

bool EndsWithXml(std::u16string_view path) {
  return path.size() >= 4 && EqualsIgnoreCase(path.substr(path.size() - 4), u".xml");
}

// The listing sits beside its event file: "events.xml" gives "events". A name
// that does not end in ".xml", or whose listing would land on one of the event
// files or on a folder, gets ".txt" appended instead, so no file but an
// earlier listing is ever replaced.
std::filesystem::path ListingPath(std::u16string_view documentPath,
                                  const std::vector<std::unique_ptr<TiXmlDocument>>& documents) {
  const std::filesystem::path appended = ResolveGamePath(std::u16string(documentPath) + u".txt");
  if (!EndsWithXml(documentPath)) return appended;
  const std::filesystem::path stripped = ResolveGamePath(documentPath.substr(0, documentPath.size() - 4));
  std::error_code error;
  if (std::filesystem::is_directory(stripped, error)) return appended;
  for (const auto& document : documents) {
    if (ResolveGamePath(Utf8ToUtf16(document->ValueStr())) == stripped) return appended;
  }
  return stripped;
}

// Wide text written in text mode: the code page and CR LF line ends.
std::string TextModeBytes(std::u16string_view text) {
  const std::string bytes = Utf16ToCodePage(text);
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 16);
  for (char c : bytes) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

std::u16string sEffect::Dump() const {
  std::u16string text = method + u"(";
  bool any = false;
  for (double param : params) {
    if (!IsParamSet(param)) break;
    text += Format(u"%.0f, ", param);
    any = true;
  }
  for (const std::u16string& paramString : paramStrings) {
    if (paramString.empty()) break;
    text += u"\"" + paramString + u"\", ";
    any = true;
  }
  if (any) text.resize(text.size() - 2);
  return text + Format(u")  #line: %i\n", line);
}

std::u16string sEventOption::Dump() const {
  std::u16string text = Format(u"\n----------\nOption: %s\nTooltip: %s\nID: %i\nAI chance: %i%%\nEffects:\n",
                               description, tooltip, optionID, chanceAI);
  for (const sEffect& effect : effects) text += effect.Dump();
  return text;
}

std::u16string sConditionGroup::Dump() const {
  std::u16string indent;
  return Dump(indent);
}

std::u16string sConditionGroup::Dump(std::u16string& indent) const {
  const std::u16string separator =
      Format(u"\n%s%s\n%s", indent, kind == kGroupAnd ? u"AND" : u"OR", indent);
  std::u16string text;
  indent += u"  ";
  for (const sConditionGroup& group : groups) {
    text += group.Dump(indent);
    text += separator;
  }
  indent.resize(indent.size() - 2);
  for (std::size_t i = 0; i < expressions.size(); ++i) {
    if (i > 0) text += separator;
    text += expressions[i].left.method;
  }
  return text + u"\n";
}

std::u16string cEvent::Dump() const {
  std::u16string localisedTitle;
  if (!StringBase().FindText(Utf16ToUtf8(title), localisedTitle)) localisedTitle = title;
  std::u16string text = Format(
      u"\n-------------------------------------------------\nTitle: %s (%s)\nID: %i\nCountry: %s (ID = %i)\n"
      u"Visible by player: %s\nOne time checking only: %s\nTime of possible occurence: %s\n\nConditions:\n",
      localisedTitle, title, eventID, CountryName(countryID), countryID, YesNo(visibleByPlayer),
      YesNo(oneTimeChecking), DateText(*this));
  text += condition.Dump();
  for (const sEventOption& option : options) text += option.Dump();
  return text + u"\n\n";
}

void cEventEngine::ListAllEvents() {
  for (const auto& document : documents) ListEventsFromDocument(*document);
}

void cEventEngine::ListEventsFromDocument(const TiXmlDocument& document) {
  const std::u16string documentPath = Utf8ToUtf16(document.ValueStr());
  const std::filesystem::path listing = ListingPath(documentPath, documents);
  std::string bytes;
  if (const TiXmlElement* root = document.RootElement()) {
    for (const TiXmlElement* element = root->FirstChildElement("event"); element != nullptr;
         element = element->NextSiblingElement("event")) {
      bytes += TextModeBytes(ReadEventElement(*element).Dump());
    }
  }
  // Made afresh and renamed into place: a link standing under the listing's
  // name in a scenario from elsewhere is replaced, never written through.
  if (!WriteFileReplacing(listing, bytes)) {
    LogFormat(u"Event listing %s could not be written", listing.generic_u16string());
  }
}

}  // namespace tr
