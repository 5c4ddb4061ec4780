// Small scripted events built in memory: comparisons of event flags and
// options whose effects set flags.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "events/event_model.h"

namespace tr::test {

inline sEffect MakeEffect(std::u16string_view method, std::initializer_list<double> params, int line = 7,
                          std::initializer_list<std::u16string_view> texts = {}) {
  sEffect effect;
  effect.method = method;
  effect.line = line;
  int i = 0;
  for (double p : params) effect.params[i++] = p;
  i = 0;
  for (std::u16string_view t : texts) effect.paramStrings[i++] = std::u16string(t);
  return effect;
}

inline sEffect SetFlag(int flag, int value) { return MakeEffect(u"Flag.SetValue", {double(flag), double(value)}); }

// flag == value
inline sExpression FlagEquals(int flag, int value) {
  sExpression expression;
  expression.left.line = 3;
  expression.left.method = u"Flag.GetValue";
  expression.left.params[0] = flag;
  expression.right.line = 3;
  expression.right.constValue = value;
  expression.operatorLine = 3;
  expression.operatorText = u"equals";
  return expression;
}

inline sEventOption MakeOption(int chanceAI, std::initializer_list<sEffect> effects = {},
                               std::u16string_view description = u"") {
  sEventOption option;
  option.optionID = chanceAI;
  option.chanceAI = chanceAI;
  option.description = description;
  option.effects = effects;
  return option;
}

// A one-time event of country 1, decided by the computer, true at any date.
inline cEvent MakeEvent(int id, std::initializer_list<sEventOption> options = {}) {
  cEvent event;
  event.eventID = id;
  event.countryID = 1;
  event.oneTimeChecking = 1;
  event.title = u"Event" + std::u16string(1, static_cast<char16_t>(u'0' + id % 10));
  event.options = options;
  return event;
}

}  // namespace tr::test
