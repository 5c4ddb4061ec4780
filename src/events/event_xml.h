// Reading the elements of an event file into the event records. Element and
// attribute names are compared exactly; anything else is skipped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "events/event_model.h"

class TiXmlElement;

namespace tr {

// A string-base key gives its localised text, trimmed of white space at both
// ends; any other text is decoded from UTF-8 (malformed bytes become U+FFFD).
// Null gives an empty text.
std::u16string ConvertEventText(const char* utf8);

// The 1-based line of an element in its file.
std::int32_t ElementLine(const TiXmlElement& element);

// An integer attribute: false (value untouched) when it is missing, has no
// leading integer, or does not fit 32 bits. Text after the number is ignored.
bool QueryIntAttribute(const TiXmlElement& element, const char* name, std::int32_t& value);
// A number attribute read as a double, independent of the locale: false
// (value untouched) when missing, unreadable, infinite or not a number.
bool QueryNumberAttribute(const TiXmlElement& element, const char* name, double& value);
// A text attribute through ConvertEventText; empty when missing.
std::u16string TextAttribute(const TiXmlElement& element, const char* name);
// The element's text through ConvertEventText; empty when it holds none.
std::u16string ElementText(const TiXmlElement& element);

// A leftOperand or rightOperand element.
sEventOperand ReadOperand(const TiXmlElement& element);
// An expression element: its leftOperand, rightOperand and operator children.
sExpression ReadExpression(const TiXmlElement& element);
// An effect element.
sEffect ReadEffect(const TiXmlElement& element);

// Fills the group from an `and` or `or` element: its expressions, then its
// `and` / `or` children read recursively, each list in document order.
void LoadConditionGroup(const TiXmlElement& element, sConditionGroup& group);

// An `event` element, read as the loader reads it: logs "Loading event id=..."
// and ends the program when a required attribute or a date field is missing.
cEvent ReadEventElement(const TiXmlElement& element);

// Whether the element's name is exactly the given one.
bool IsNamed(const TiXmlElement& element, std::string_view name);

}  // namespace tr
