// The links a loaded world's tables draw between each other: a scenario's
// broken link is logged and mended, a saved game's refuses the load naming
// the file and line, and a sound one passes without a word.
#include "world/load_checks.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "foundation/fatal.h"
#include "support/log_capture.h"
#include "support/world_builder.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/commander.h"

namespace tr {
namespace {

class LoadChecks : public testing::Test {
 protected:
  LoadChecks() {
    game().folderTemplate = u"data\\save\\s\\%s";
    for (const auto& [id, country, line] : {std::tuple{7, 1, 3}, std::tuple{8, 2, 4}}) {
      auto commander = std::make_unique<sCommander>();
      commander->id = id;
      commander->countryId = country;
      commander->name = id == 7 ? u"Vorn" : u"Dacourt";
      commander->state = kCommanderAssigned;
      commander->fileLine = line;
      game().commanders.push_back(std::move(commander));
    }
  }
  cGame& game() { return world_.game(); }
  sCommander& Commander(int i) { return *game().commanders.at(static_cast<std::size_t>(i)); }
  cJednostkaLadowa& Land(int id, int owner, int x, int line) {
    cJednostkaLadowa& unit = world_.PlaceLandUnit(owner, x, 0);
    unit.id = id;
    unit.name = u"Unit " + std::u16string(1, static_cast<char16_t>(u'0' + id));
    unit.fileLine = line;
    return unit;
  }
  void ExpectRefused(const std::u16string& what) {
    test::LogCapture log;
    EXPECT_THROW(CheckUnitLinks(game()), FatalExitError);
    EXPECT_TRUE(log.ContainsText(what)) << std::string(what.begin(), what.end());
  }

  test::TestWorld world_{6, 3, 2};
};

TEST_F(LoadChecks, ARowsCommanderIsOneTheGameHolds) {
  EXPECT_EQ(CommanderOfUnitRow(game(), -1, u"land_units.csv", 5), nullptr);
  EXPECT_EQ(CommanderOfUnitRow(game(), 8, u"land_units.csv", 5), &Commander(1));
  {
    test::LogCapture log;
    EXPECT_EQ(CommanderOfUnitRow(game(), 9, u"land_units.csv", 5), nullptr);
    EXPECT_TRUE(log.Contains(u"Commander with ID=9 not found"));
    EXPECT_FALSE(log.ContainsText(u"ERROR"));
  }
  game().loadedGame = 1;
  EXPECT_EQ(CommanderOfUnitRow(game(), 7, u"air_units.csv", 6), &Commander(0));
  EXPECT_EQ(CommanderOfUnitRow(game(), -1, u"air_units.csv", 6), nullptr);
  test::LogCapture log;
  EXPECT_THROW(CommanderOfUnitRow(game(), 9, u"data\\save\\s\\air_units.csv", 6), FatalExitError);
  EXPECT_TRUE(log.ContainsText(
      u"ERROR: data\\save\\s\\air_units.csv at line 6 (counting from 1) names the commander ID=9, which the save "
      u"does not hold;"));
  // Only a negative number is none: 0 names a commander, here one the save lacks.
  EXPECT_THROW(CommanderOfUnitRow(game(), 0, u"data\\save\\s\\air_units.csv", 6), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"names the commander ID=0, which the save does not hold;"));
}

// The unit tables a commander's link is read from, each checked on its own.
enum class eTable { kLand, kAir, kNaval };

class LoadChecksOfTable : public LoadChecks, public testing::WithParamInterface<eTable> {
 protected:
  // A unit of the table's list, its row at `line`.
  cUnit& UnitOf(eTable table, int id, int owner, int x, int line) {
    cUnit* unit = nullptr;
    if (table == eTable::kLand) unit = &world_.PlaceLandUnit(owner, x, 0);
    if (table == eTable::kAir) unit = &world_.PlaceAirUnit(owner, x, 0);
    if (table == eTable::kNaval) {
      auto ship = std::make_unique<cJednostkaMorska>();
      ship->owner = owner;
      unit = ship.get();
      game().navalUnits.push_back(std::move(ship));
    }
    unit->id = id;
    unit->name = u"Unit " + std::u16string(1, static_cast<char16_t>(u'0' + id));
    unit->fileLine = line;
    return *unit;
  }
  static std::u16string KindOf(eTable table) {
    return table == eTable::kLand ? u"land" : table == eTable::kAir ? u"air" : u"naval";
  }
};

// Each link a saved game never writes, beside the sound game that passes.
TEST_P(LoadChecksOfTable, ASavedGamesCommandersLeadOneUnitOfTheirOwnCountry) {
  const std::u16string kind = KindOf(GetParam());
  const std::u16string row = u"ERROR: data\\save\\s\\" + kind + u"_units.csv at line 6 (counting from 1) gives " +
                             kind + u" unit Unit 3 (ID=3) ";
  game().loadedGame = 1;
  cUnit& first = UnitOf(GetParam(), 2, 1, 1, 5);
  cUnit& second = UnitOf(GetParam(), 3, 1, 2, 6);
  first.attachedCommander = &Commander(0);
  // Each list's units find their commanders: a unit of another list and
  // of the other country leads with its own.
  cUnit& other = UnitOf(GetParam() == eTable::kNaval ? eTable::kLand : eTable::kNaval, 4, 2, 3, 7);
  other.attachedCommander = &Commander(1);
  {
    test::LogCapture log;
    CheckUnitLinks(game());
    EXPECT_FALSE(log.ContainsText(u"WARNING"));
    EXPECT_EQ(Commander(0).headquarters, &first);
    EXPECT_EQ(Commander(1).headquarters, &other);
  }
  other.attachedCommander = nullptr;
  second.attachedCommander = &Commander(1);
  ExpectRefused(row + u"of country 1 commander Dacourt (ID=8) of country 2;");
  second.attachedCommander = &Commander(0);
  ExpectRefused(row + u"commander Vorn (ID=7), who already leads unit Unit 2 (ID=2);");
  second.attachedCommander = nullptr;
  Commander(0).state = kCommanderOnHisWay;
  ExpectRefused(u"ERROR: data\\save\\s\\commanders.csv at line 3 (counting from 1) gives commander Vorn (ID=7), who "
                u"leads unit Unit 2 (ID=2), the state 1, not 2;");

  // A scenario's are mended, as before.
  game().loadedGame = 0;
  second.attachedCommander = &Commander(1);
  test::LogCapture log;
  CheckUnitLinks(game());
  EXPECT_EQ(second.attachedCommander, nullptr);
  EXPECT_EQ(Commander(0).state, kCommanderAssigned);
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
}

INSTANTIATE_TEST_SUITE_P(EachUnitTable, LoadChecksOfTable,
                         testing::Values(eTable::kLand, eTable::kAir, eTable::kNaval),
                         [](const testing::TestParamInfo<eTable>& info) {
                           return info.param == eTable::kLand  ? std::string("Land")
                                  : info.param == eTable::kAir ? std::string("Air")
                                                               : std::string("Naval");
                         });

// A saved unit aboard is carried by a cargo or amphibious ship of its own
// country, alone; one aboard a ship that cannot carry it is refused naming
// its line, where a scenario's goes to the reserve pool.
TEST_F(LoadChecks, ASavedUnitAboardIsOneItsShipCanCarry) {
  auto ship = std::make_unique<cJednostkaMorska>();
  ship->id = 40;
  ship->owner = 1;
  ship->SetType(kCargoShip);
  game().navalUnits.push_back(std::move(ship));
  for (const int transporter : {41, 40}) {
    cJednostkaLadowa& carried = Land(2, 1, 1, 5);
    carried.transporterId = 40;
    cJednostkaLadowa& other = Land(3, 1, 2, 7);
    other.transporterId = transporter;
    game().loadedGame = 1;
    test::LogCapture log;
    EXPECT_THROW(game().MoveAboardUnitsOffMap(), FatalExitError) << transporter;
    EXPECT_TRUE(log.ContainsText(u"ERROR: data\\save\\s\\land_units.csv at line 7 (counting from 1) puts land unit "
                                 u"Unit 3 (ID=3) aboard the ship ID=" +
                                 std::u16string(transporter == 41 ? u"41" : u"40") + u", which cannot carry it;"))
        << transporter;
    game().landUnits.clear();
    game().aboardUnitsA.clear();
    game().navalUnits.front()->carriedUnit = nullptr;
  }
  cJednostkaLadowa& carried = Land(2, 1, 1, 5);
  carried.transporterId = 40;
  cJednostkaLadowa& other = Land(3, 1, 2, 7);
  other.transporterId = 41;
  game().loadedGame = 0;
  game().MoveAboardUnitsOffMap();
  EXPECT_EQ(game().aboardUnitsA.size(), 1u);
  EXPECT_EQ(other.inReserve, 1);
}

// A saved map holds its own countries or none; a scenario's hex of a country
// that does not exist is mended.
TEST_F(LoadChecks, ASavedMapsHexesBelongToItsCountries) {
  world_.hex(4, 2).controller = 3;
  game().loadedGame = 1;
  {
    test::LogCapture log;
    EXPECT_THROW(game().CheckHexOwners(), FatalExitError);
    EXPECT_TRUE(log.ContainsText(u"ERROR: data\\save\\s\\map.qel gives hex (4, 2) controller 3, owner "));
  }
  world_.hex(4, 2).controller = 2;
  world_.hex(4, 2).originalOwner = 3;
  EXPECT_THROW(game().CheckHexOwners(), FatalExitError);
  game().loadedGame = 0;
  test::LogCapture log;
  game().CheckHexOwners();
  EXPECT_TRUE(log.ContainsText(u"WARNING: hex (4, 2) of data\\save\\s\\map.qel given controller"));
}

}  // namespace
}  // namespace tr
