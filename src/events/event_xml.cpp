#include "events/event_xml.h"

#include <tinyxml.h>

#include <limits>
#include <optional>

#include "foundation/number_text.h"
#include "foundation/string_base.h"
#include "foundation/text.h"

namespace tr {
std::u16string ConvertEventText(const char* utf8) {
  if (utf8 == nullptr) return {};
  std::u16string localised;
  if (StringBase().FindText(utf8, localised)) return std::u16string(TrimBlanks(localised));
  return Utf8ToUtf16(utf8);
}

std::int32_t ElementLine(const TiXmlElement& element) { return element.Row(); }

bool QueryIntAttribute(const TiXmlElement& element, const char* name, std::int32_t& value) {
  const char* text = element.Attribute(name);
  if (text == nullptr) return false;
  const std::optional<std::int64_t> parsed = LeadingWhole(text);
  if (!parsed || *parsed > std::numeric_limits<std::int32_t>::max() ||
      *parsed < std::numeric_limits<std::int32_t>::min()) {
    return false;
  }
  value = static_cast<std::int32_t>(*parsed);
  return true;
}

bool QueryNumberAttribute(const TiXmlElement& element, const char* name, double& value) {
  const char* text = element.Attribute(name);
  if (text == nullptr) return false;
  const std::optional<double> parsed = LeadingDecimal(text);
  if (!parsed) return false;
  value = *parsed;
  return true;
}

std::u16string TextAttribute(const TiXmlElement& element, const char* name) {
  return ConvertEventText(element.Attribute(name));
}

std::u16string ElementText(const TiXmlElement& element) { return ConvertEventText(element.GetText()); }

bool IsNamed(const TiXmlElement& element, std::string_view name) { return element.ValueStr() == name; }

namespace {

void ReadParams(const TiXmlElement& element, EventParams& params) {
  static constexpr const char* kNames[kParamCount] = {"param0", "param1", "param2", "param3", "param4",
                                                      "param5", "param6", "param7", "param8", "param9"};
  for (int i = 0; i < kParamCount; ++i) QueryNumberAttribute(element, kNames[i], params[i]);
}

}  // namespace

sEventOperand ReadOperand(const TiXmlElement& element) {
  sEventOperand operand;
  operand.line = ElementLine(element);
  operand.method = TextAttribute(element, "method");
  QueryNumberAttribute(element, "constValue", operand.constValue);
  ReadParams(element, operand.params);
  return operand;
}

sExpression ReadExpression(const TiXmlElement& element) {
  sExpression expression;
  for (const TiXmlElement* child = element.FirstChildElement(); child != nullptr;
       child = child->NextSiblingElement()) {
    if (IsNamed(*child, "leftOperand")) {
      expression.left = ReadOperand(*child);
    } else if (IsNamed(*child, "rightOperand")) {
      expression.right = ReadOperand(*child);
    } else if (IsNamed(*child, "operator")) {
      expression.operatorLine = ElementLine(*child);
      expression.operatorText = TextAttribute(*child, "value");
    }
  }
  return expression;
}

sEffect ReadEffect(const TiXmlElement& element) {
  static constexpr const char* kStringNames[kParamStringCount] = {"paramString0", "paramString1",
                                                                  "paramString2", "paramString3"};
  sEffect effect;
  effect.line = ElementLine(element);
  effect.method = TextAttribute(element, "method");
  ReadParams(element, effect.params);
  for (int i = 0; i < kParamStringCount; ++i) effect.paramStrings[i] = TextAttribute(element, kStringNames[i]);
  return effect;
}

void LoadConditionGroup(const TiXmlElement& element, sConditionGroup& group) {
  group.kind = IsNamed(element, "and") ? kGroupAnd : kGroupOr;
  for (const TiXmlElement* child = element.FirstChildElement("expression"); child != nullptr;
       child = child->NextSiblingElement("expression")) {
    group.expressions.push_back(ReadExpression(*child));
  }
  for (const TiXmlElement* child = element.FirstChildElement(); child != nullptr;
       child = child->NextSiblingElement()) {
    if (!IsNamed(*child, "and") && !IsNamed(*child, "or")) continue;
    sConditionGroup& sub = group.groups.emplace_back();
    sub.kind = kGroupUnread;
    LoadConditionGroup(*child, sub);
  }
}

}  // namespace tr
