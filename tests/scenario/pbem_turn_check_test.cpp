// Whether the turn in a play-by-e-mail game's folder waits on another player:
// a country still to play, human, active and another player's.
#include "scenario/pbem_turn_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tr {
namespace {

// A row of countries.csv: every column its own value, the ones looked at set.
std::string Row(int active, int finished, int human, int player) {
  std::vector<std::string> fields;
  for (int column = 1; column <= 64; ++column) fields.push_back(std::to_string(column + 100));
  fields[1] = std::to_string(active);
  fields[12] = std::to_string(finished);
  fields[13] = std::to_string(human);
  fields[61] = "0";  // the column before the player's
  fields[62] = std::to_string(player);
  std::string row;
  for (const std::string& field : fields) row += field + ";";
  return row + "\r\n";
}

TEST(PbemTurnCheck, AFolderWaitsOnACountryAnotherPlayerHasStillToPlay) {
  test::TempDir dir;
  const test::ScopedGameRoot root(dir.path());
  struct sCase {
    std::string rows;
    bool waits;
  };
  const std::string mine = Row(1, 0, 1, 2);
  for (const sCase& c : {sCase{mine + Row(1, 0, 1, 3), true}, sCase{mine + Row(1, 1, 1, 3), false},
                         sCase{mine + Row(0, 0, 1, 3), false}, sCase{mine + Row(1, 0, 0, 3), false},
                         sCase{mine + Row(1, 0, 1, 0), false}, sCase{mine, false}}) {
    SCOPED_TRACE(c.rows);
    dir.Write("data/pbem/Duel/countries.csv", "#countries\r\n" + c.rows);
    EXPECT_EQ(PbemFolderWaitsOnOthers(u"Duel", 2), c.waits);
  }
  dir.Write("data/pbem/Duel/countries.csv", "#countries\r\n1;2;3;\r\n");
  EXPECT_EQ(PbemFolderWaitsOnOthers(u"Duel", 2), std::nullopt);
  EXPECT_EQ(PbemFolderWaitsOnOthers(u"Other", 2), std::nullopt);
}

}  // namespace
}  // namespace tr
