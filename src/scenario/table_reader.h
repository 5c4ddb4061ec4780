// The log lines the table readers share, and their fatal stop. The Polish
// lines carry the characters they have always carried in the log.
#pragma once

#include <string_view>

namespace tr {

inline constexpr std::u16string_view kOpenFailedLine = u"Blad otwarcia pliku! (nie istnieje?)";
inline constexpr std::u16string_view kOpenOkLine = u"Otwarcie OK";

inline constexpr std::u16string_view kOpeningNavalUnitsLine =
    u"Otwieram plik z jednostkami morskimi ze \u010f\u017c\u02ddcie\u010f\u017c\u02ddk\u010f\u017c\u02dd...";
inline constexpr std::u16string_view kOpeningCommandersLine =
    u"Otwieram plik z dow\u010f\u017c\u02dddcami ze \u010f\u017c\u02ddcie\u010f\u017c\u02ddk\u010f\u017c\u02dd...";
inline constexpr std::u16string_view kOpeningUnitNamesLine =
    u"Otwieram plik z szablonami nazw jednostek ze \u010f\u017c\u02ddcie\u010f\u017c\u02ddk\u010f\u017c\u02dd...";
inline constexpr std::u16string_view kOpeningAiDataLine = u"Otwieram plik z danymi AI ze sciezki...";
inline constexpr std::u16string_view kOpeningCitiesLine = u"Otwieram plik z miastami ze sciezka...";
inline constexpr std::u16string_view kOpeningCountriesLine = u"Otwieram plik z panstwami ze sciezka...";

// Logs the string-base text of a key.
void LogReaderText(std::string_view key);

// A required table that cannot be opened: logs kOpenFailedLine and ends the
// program with exit code 1 (the registered exit hooks tear the game down).
[[noreturn]] void FailMissingTable();

}  // namespace tr
