// Reading one `event` element of an event file into a cEvent: its four
// required attributes, its texts, dates, condition and options.
#include <tinyxml.h>

#include "events/event_xml.h"
#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/text.h"

namespace tr {
namespace {

[[noreturn]] void MissingEventAttribute(const TiXmlElement& element, const char16_t* attribute) {
  LogFormat(u"ERROR: <event> at line %i has no %s attribute or it's not an integer!", ElementLine(element),
            attribute);
  FatalExit(1);
}

void ReadDate(const TiXmlElement& element, sEventDate& date) {
  const std::u16string tag = Utf8ToUtf16(element.ValueStr());
  const auto field = [&](const char* name, std::int32_t& value) {
    if (QueryIntAttribute(element, name, value)) return;
    LogFormat(u"ERROR: <%s> at line %i has no '%s' attribute or it's not an integer!", tag, ElementLine(element),
              name);
    FatalExit(1);
  };
  field("day", date.day);
  field("month", date.month);
  field("year", date.year);
}

sEventOption ReadOption(const TiXmlElement& element) {
  sEventOption option;
  QueryIntAttribute(element, "optionID", option.optionID);
  QueryIntAttribute(element, "chanceAI", option.chanceAI);
  for (const TiXmlElement* child = element.FirstChildElement(); child != nullptr;
       child = child->NextSiblingElement()) {
    if (IsNamed(*child, "description")) {
      option.description = ElementText(*child);
    } else if (IsNamed(*child, "tooltip")) {
      option.tooltip = ElementText(*child);
    } else if (IsNamed(*child, "effects")) {
      for (const TiXmlElement* effect = child->FirstChildElement("effect"); effect != nullptr;
           effect = effect->NextSiblingElement("effect")) {
        option.effects.push_back(ReadEffect(*effect));
      }
    }
  }
  return option;
}

void ReadEventChildren(const TiXmlElement& element, cEvent& event) {
  for (const TiXmlElement* child = element.FirstChildElement(); child != nullptr;
       child = child->NextSiblingElement()) {
    if (IsNamed(*child, "title")) {
      event.title = ElementText(*child);
    } else if (IsNamed(*child, "description")) {
      event.description = ElementText(*child);
    } else if (IsNamed(*child, "image")) {
      event.image = ElementText(*child);
    } else if (IsNamed(*child, "beginDate")) {
      ReadDate(*child, event.beginDate);
    } else if (IsNamed(*child, "endDate")) {
      ReadDate(*child, event.endDate);
    } else if (IsNamed(*child, "condition")) {
      for (const TiXmlElement* group = child->FirstChildElement(); group != nullptr;
           group = group->NextSiblingElement()) {
        if (IsNamed(*group, "and") || IsNamed(*group, "or")) {
          LoadConditionGroup(*group, event.condition);
          break;
        }
      }
    } else if (IsNamed(*child, "options")) {
      for (const TiXmlElement* option = child->FirstChildElement("option"); option != nullptr;
           option = option->NextSiblingElement("option")) {
        event.options.push_back(ReadOption(*option));
      }
    }
  }
}

}  // namespace

cEvent ReadEventElement(const TiXmlElement& element) {
  cEvent event;
  if (!QueryIntAttribute(element, "eventID", event.eventID)) MissingEventAttribute(element, u"eventID");
  LogFormat(u"Loading event id=%i at line %i", event.eventID, ElementLine(element));
  if (!QueryIntAttribute(element, "countryID", event.countryID)) MissingEventAttribute(element, u"countryID");
  if (!QueryIntAttribute(element, "visibleByPlayer", event.visibleByPlayer)) {
    MissingEventAttribute(element, u"visibleByPlayer");
  }
  if (!QueryIntAttribute(element, "oneTimeChecking", event.oneTimeChecking)) {
    MissingEventAttribute(element, u"oneTimeChecking");
  }
  QueryIntAttribute(element, "enableInPbem", event.enableInPbem);
  ReadEventChildren(element, event);
  return event;
}

}  // namespace tr
