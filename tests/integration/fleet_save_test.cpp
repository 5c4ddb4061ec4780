// Fleets of the shipped sample through a save: a fleet split, moved and
// losing its flagship is the same after loading the save, and saving that
// game again writes the same bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "ai/game_invariants.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "integration/built_sample_test.h"
#include "support/temp_dir.h"
#include "turn/game_steps.h"
#include "world/game_start.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr sLocalTime kClock{2011, 3, 4, 9, 30};

std::string DescribeFleets(const cGame& game) {
  std::ostringstream out;
  for (const auto& fleet : game.fleets) {
    out << "fleet " << fleet->id << ' ' << Utf16ToUtf8(fleet->name) << " owner " << fleet->countryId << " node "
        << fleet->seaNodeId << ' ' << fleet->formation << int(fleet->hasMoved) << int(fleet->active) << ' '
        << fleet->aiOrder << ',' << fleet->aiDestinationNode << ',' << fleet->aiInvasionX << ',' << fleet->aiInvasionY
        << " ships";
    for (const cJednostkaMorska* ship : fleet->ships) out << ' ' << ship->id;
    out << '\n';
  }
  const auto ships = [&out](const char* where, const auto& list) {
    for (const auto& ship : list) {
      out << where << ' ' << ship->id << ' ' << Utf16ToUtf8(ship->name) << " fleet "
          << (ship->fleet ? ship->fleet->id : -1) << " hp " << ship->hitPoints << '/' << ship->maxHitPoints
          << " commander " << (ship->attachedCommander ? ship->attachedCommander->id : -1) << '\n';
    }
  };
  ships("ship", game.navalUnits);
  ships("reserve", game.navalReserve);
  for (const auto& commander : game.commanders) {
    out << "commander " << commander->id << " state " << commander->state << '\n';
  }
  return out.str();
}

class FleetSaveTest : public test::BuiltSampleTest {
 protected:
  static void Save(cGame& game, const char16_t* name) {
    game.saveContext->clock = [] { return kClock; };
    ASSERT_TRUE(game.saveContext->SaveGame(name, true));
  }
  std::map<std::string, std::string> Files(const char* save) const { return test::ReadFolderBytes(dir_.path() / "data/save" / save); }
};

TEST_F(FleetSaveTest, SplitMovedAndSunkFleetsSurviveASaveByteForByte) {
  cGame& game = Load(u"data\\scenarios\\NorthernTide\\%s", 0);
  cFleet& home = *game.fleets.front();
  ASSERT_GE(home.ships.size(), 4u);
  auto it = home.ships.begin();
  cJednostkaMorska* flagship = *it++;
  ASSERT_NE(flagship->attachedCommander, nullptr);
  const sCommander* admiral = flagship->attachedCommander;
  ++it;
  (*it++)->mark = 1;
  (*it)->mark = 1;
  cFleet* split = cFleet::SplitOff(home);
  ASSERT_NE(split, nullptr);
  home.RemoveMarkedShips();
  split->ClearShipMarks();
  ASSERT_GT(split->FindReachableNodes(), 0);
  const int target = split->reachableNodes.back();
  split->MoveTo(target);
  EXPECT_EQ(split->seaNodeId, target);
  flagship->Sink(1);
  EXPECT_EQ(admiral->state, kCommanderOnHisWay);
  EXPECT_EQ(FindInvariantViolation(game), "");

  const std::string played = DescribeFleets(game);
  Save(game, u"fleets");
  cGame& loaded = Load(u"data\\save\\fleets\\%s", 1);
  EXPECT_EQ(DescribeFleets(loaded), played);
  EXPECT_EQ(FindInvariantViolation(loaded), "");
  Save(loaded, u"again");

  const std::map<std::string, std::string> first = Files("fleets");
  const std::map<std::string, std::string> second = Files("again");
  ASSERT_FALSE(first.empty());
  ASSERT_EQ(first.size(), second.size());
  for (const auto& [file, bytes] : first) {
    ASSERT_EQ(second.count(file), 1u) << file;
    const std::string& other = second.at(file);
    std::size_t at = 0;
    while (at < bytes.size() && at < other.size() && bytes[at] == other[at]) ++at;
    EXPECT_TRUE(other == bytes) << file << " differs at byte " << at << ": \"" << bytes.substr(at > 40 ? at - 40 : 0, 80)
                                << "\" then \"" << other.substr(at > 40 ? at - 40 : 0, 80) << '"';
  }
}

}  // namespace
}  // namespace tr
