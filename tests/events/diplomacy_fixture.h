// A small world for the diplomatic actions: countries without alliances,
// the shipped English texts of the diplomacy keys, constants set by data
// line and field, and the raw draws that make RandomRange give chosen values.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <string>
#include <string_view>

#include "foundation/format.h"
#include "foundation/string_base.h"
#include "support/log_capture.h"
#include "support/world_builder.h"

namespace tr::test {

// Installs the English texts of every "diplomacy_" key of the shipped source
// (idempotent, so test order does not matter).
void InstallDiplomacyTexts();
// The English text of a key as the source gives it.
std::u16string EnglishText(std::string_view key);

// The first raw draw for which RandomRange(low, high) gives value.
int RawDrawFor(int value, int low, int high);
// Raw draws giving these values of RandomRange(1, high), in order.
std::deque<int> Rolls(int high, std::initializer_list<int> values);

// The text the rules should write: the key's English text with the values.
template <typename... Args>
std::u16string Says(std::string_view key, const Args&... args) {
  return Format(EnglishText(key), args...);
}

class DiplomacyTest : public testing::Test {
 protected:
  explicit DiplomacyTest(int countries = 6) : world(1, 1, countries) { InstallDiplomacyTexts(); }

  cCountry& country(int id) { return world.country(id); }
  void SetConstant(int line, int field, double value);
  void SetWar(int a, int b);
  bool War(int a, int b) { return world.game().relations.IsAtWar(a, b); }

  TestWorld world;
  LogCapture log;
  std::u16string text;
};

}  // namespace tr::test
