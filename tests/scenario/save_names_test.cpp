// The names a player gives a save or a play-by-e-mail game: the folder a
// save name takes, and the game names the repository accepts.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "scenario/pbem_game_name.h"
#include "scenario/pbem_repository.h"
#include "scenario/save_game.h"

namespace tr {
namespace {

struct NameCase {
  std::u16string_view name;
  std::u16string_view folder;  // empty: refused
};

class SaveFolderName : public testing::TestWithParam<NameCase> {};

TEST_P(SaveFolderName, IsTrimmedOrRefused) { EXPECT_EQ(SaveFolderPath(GetParam().name), GetParam().folder); }

// A name is never cut: two long names that begin alike would share a folder.
INSTANTIATE_TEST_SUITE_P(
    Names, SaveFolderName,
    testing::Values(NameCase{u"  spaced name \t", u"data\\save\\spaced name"},
                    NameCase{u"abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcd",
                             u"data\\save\\abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcd"},
                    NameCase{u"abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcde", u""},
                    // The limit is taken after the blanks around the name go.
                    NameCase{u" abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcd ",
                             u"data\\save\\abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcd"},
                    NameCase{u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\U0001F600", u""},
                    NameCase{u"..", u""}, NameCase{u"a..b", u""}, NameCase{u"a/b", u""}, NameCase{u"a\\b", u""},
                    NameCase{u"50%s", u""}, NameCase{u"   ", u""}, NameCase{u".hidden", u""},
                    NameCase{u"  .x", u""}));

struct PbemNameCase {
  std::u16string name;
  std::u16string_view fault;  // empty: accepted
};

class PbemGameName : public testing::TestWithParam<PbemNameCase> {};

TEST_P(PbemGameName, IsAcceptedOrRefusedSayingWhy) { EXPECT_EQ(PbemGameNameFault(GetParam().name), GetParam().fault); }

INSTANTIATE_TEST_SUITE_P(
    Names, PbemGameName,
    testing::Values(PbemNameCase{u"Duel", u""}, PbemNameCase{u"Duel at Caf\u00e9", u""},
                    PbemNameCase{u" Duel", u"begins or ends with a blank"},
                    PbemNameCase{u"Duel ", u"begins or ends with a blank"},
                    PbemNameCase{u"Duel \u0142",
                                 u"holds letters outside the Western European (Windows-1252) code page"},
                    PbemNameCase{std::u16string(kPbemRepoNameUnits, u'd'), u""},
                    PbemNameCase{std::u16string(kPbemRepoNameUnits + 1, u'd'),
                                 u"is longer than the 249 characters the repository keeps"},
                    PbemNameCase{u"Repo.DAT", u"is the name of the repository file data\\pbem\\repo.dat"},
                    PbemNameCase{u".Duel", u"starts with '.'"}));

}  // namespace
}  // namespace tr
