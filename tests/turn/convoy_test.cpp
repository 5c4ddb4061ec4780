#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "turn/convoy_fixture.h"
#include "world/headless_presentation.h"
#include "world/map.h"
#include "world/presentation.h"

namespace tr::test {
namespace {

class ConvoyManagerTest : public ::testing::Test, public ConvoyWorld {
 protected:
  cConvoyManager& manager() { return game().convoys; }
};

TEST_F(ConvoyManagerTest, InitTakesTheNextNumberAndTheDeparturePortSize) {
  game().nextConvoyId = 6;
  graph().GetNode(departureNode - 1).portSize = 3;
  sConvoy convoy;
  convoy.amount = 9;
  convoy.unitsServed = 2;
  convoy.Init(1, kConvoyResources, departure, destination);
  EXPECT_EQ(convoy.id, 7);
  EXPECT_EQ(convoy.owner, 1);
  EXPECT_EQ(convoy.kind, kConvoyResources);
  EXPECT_EQ(convoy.departure, departure);
  EXPECT_EQ(convoy.destination, destination);
  EXPECT_EQ(convoy.amount, 0);
  EXPECT_EQ(convoy.portSize, 3);
  EXPECT_EQ(convoy.unitsServed, 0);
}

struct sSupplyAmountCase {
  int destinationSupply;
  int amount;
  bool logged;
};

class SupplyConvoyAmount : public ConvoyManagerTest, public ::testing::WithParamInterface<sSupplyAmountCase> {};

TEST_P(SupplyConvoyAmount, IsWhatTheDestinationLacks) {
  destination->supplyInfo[0] = GetParam().destinationSupply;
  const int id = manager().AddSupplyConvoy(departure, destination, 1);
  ASSERT_EQ(manager().ConvoysOf(1).size(), 1u);
  const sConvoy& convoy = manager().ConvoysOf(1).back();
  EXPECT_EQ(id, convoy.id);
  EXPECT_EQ(convoy.kind, kConvoySupplies);
  EXPECT_EQ(convoy.amount, GetParam().amount);
  EXPECT_EQ(log.Contains(u"Znowu k*wa jakis konwoj z wartoscia <= 0"), GetParam().logged);
}

INSTANTIATE_TEST_SUITE_P(Supplies, SupplyConvoyAmount,
                         ::testing::Values(sSupplyAmountCase{2, 8, false}, sSupplyAmountCase{9, 1, false},
                                           sSupplyAmountCase{10, 0, true}, sSupplyAmountCase{12, 0, true}));

TEST_F(ConvoyManagerTest, SupplyConvoysJoinOnlyPorts) {
  EXPECT_EQ(manager().AddSupplyConvoy(departure, inland, 1), -1);
  EXPECT_EQ(manager().AddSupplyConvoy(inland, destination, 1), -1);
  EXPECT_TRUE(manager().ConvoysOf(1).empty());
}

struct sDialogCase {
  const char* name;
  int from;  // -1: the departure port, -3: the destination port, -2: the open-sea node
  int to;
  const char16_t* error;
};

class DialogConvoy : public ConvoyManagerTest, public ::testing::WithParamInterface<sDialogCase> {};

TEST_P(DialogConvoy, NeedsTwoPortNodes) {
  const sDialogCase& c = GetParam();
  const auto node = [](int value) { return value < 0 ? -value : value; };
  const int id = manager().AddConvoyFromDialog(node(c.from), node(c.to), 1);
  if (c.error == nullptr) {
    ASSERT_EQ(manager().ConvoysOf(1).size(), 1u);
    EXPECT_EQ(id, manager().ConvoysOf(1).front().id);
    EXPECT_EQ(manager().ConvoysOf(1).front().destination, destination);
  } else {
    EXPECT_EQ(id, -1);
    EXPECT_TRUE(manager().ConvoysOf(1).empty());
    EXPECT_TRUE(log.Contains(c.error));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Nodes, DialogConvoy,
    ::testing::Values(
        sDialogCase{"Valid", -1, -3, nullptr},
        sDialogCase{"DepartureZero", 0, -3, u"ERROR: New convoy has departure sea node with ID=0, there's no such sea node!"},
        sDialogCase{"DepartureBeyond", 4, -3, u"ERROR: New convoy has departure sea node with ID=4, there's no such sea node!"},
        sDialogCase{"DestinationBeyond", -1, 4, u"ERROR: New convoy has destination sea node with ID=4, there's no such sea node!"},
        sDialogCase{"DepartureAtSea", -2, -3,
                    u"ERROR: New convoy has departure sea node with ID=2, there's no port city for this sea node!"},
        sDialogCase{"DestinationAtSea", -1, -2,
                    u"ERROR: New convoy has destination sea node with ID=2, there's no port city for this sea node!"}),
    [](const ::testing::TestParamInfo<sDialogCase>& info) { return std::string(info.param.name); });

TEST_F(ConvoyManagerTest, EventConvoysAreAddedAndRemovedByTheirHexes) {
  EXPECT_EQ(manager().AddConvoyFromEvent(1, kConvoyResources, 5, 1, 0, 2, 0), -1);  // no city at sea
  const int first = manager().AddConvoyFromEvent(1, kConvoyResources, 5, 1, 0, 3, 0);
  const int second = manager().AddConvoyFromEvent(1, kConvoySupplies, 4, 1, 0, 3, 0);
  const int third = manager().AddConvoyFromEvent(1, kConvoyResources, 6, 1, 0, 0, 4);
  const int fourth = manager().AddConvoyFromEvent(1, kConvoyResources, 7, 1, 0, 3, 0);
  EXPECT_EQ(manager().ConvoysOf(1).size(), 4u);
  EXPECT_EQ(manager().ConvoysOf(1)[2].amount, 6);
  EXPECT_TRUE(manager().HasConvoyTo(inland, 1));
  EXPECT_FALSE(manager().HasConvoyTo(inland, 2));

  manager().RemoveConvoysBetweenHexes(1, kConvoyResources, 1, 0, 2, 0);  // no city: nothing
  EXPECT_EQ(manager().ConvoysOf(1).size(), 4u);
  manager().RemoveConvoysBetweenHexes(1, kConvoyResources, 1, 0, 3, 0);
  ASSERT_EQ(manager().ConvoysOf(1).size(), 2u);
  EXPECT_EQ(manager().ConvoysOf(1)[0].id, second);
  EXPECT_EQ(manager().ConvoysOf(1)[1].id, third);
  EXPECT_NE(first, fourth);

  manager().RemoveFirstConvoy(1);
  ASSERT_EQ(manager().ConvoysOf(1).size(), 1u);
  EXPECT_EQ(manager().ConvoysOf(1)[0].id, third);
  EXPECT_FALSE(manager().HasConvoyTo(destination, 1));
}

TEST_F(ConvoyManagerTest, MarkingFlagsThePortsForDepartureAndDestination) {
  const int enemyPort = AddPort(3);
  const int neutralPort = AddPort(4);
  const auto marked = [&](int node) {
    const sWezelGrafuMorz& n = graph().GetNode(node - 1);
    return (world().hex(n.playerMarkerX, n.playerMarkerY).flags & 0x8000u) != 0;
  };
  world().hex(seaNode, 1).AddFlags(0x4000, -1);
  MarkConvoyCandidateCities(1);
  EXPECT_TRUE(marked(departureNode));
  EXPECT_FALSE(marked(destinationNode));
  EXPECT_FALSE(marked(seaNode));
  EXPECT_EQ(world().hex(seaNode, 1).flags & 0x4000u, 0u);

  MarkConvoyCitiesForAction(1, departureNode);
  EXPECT_FALSE(marked(departureNode));
  EXPECT_TRUE(marked(destinationNode));
  EXPECT_FALSE(marked(enemyPort));
  EXPECT_FALSE(marked(neutralPort));
  MarkConvoyCitiesForAction(1, destinationNode);
  EXPECT_TRUE(marked(departureNode));
}

struct sShownCase {
  const char* name;
  bool pbem;
  int human;         // humanControlled of country 1
  int pbemPlayer;    // country 1's play-by-e-mail player; the viewer's is 2
  int strength;
  bool shown;
};

class ConvoyResultsShown : public ConvoyManagerTest, public ::testing::WithParamInterface<sShownCase> {};

TEST_P(ConvoyResultsShown, ToThePlayerOfTheCountry) {
  const sShownCase& c = GetParam();
  cHeadlessPresentation port;
  cPresentation* previous = SetPresentation(&port);
  for (int id = 1; id <= 4; ++id) country(id).isActive = 1;
  game().pbemGame = c.pbem ? 1 : 0;
  country(1).humanControlled = static_cast<std::uint8_t>(c.human);
  country(1).pbemPlayerId = c.pbemPlayer;
  country(1).politicalStrength = c.strength;
  country(2).pbemPlayerId = 2;
  game().viewingCountry = &country(2);
  manager().results[0].emplace_back();
  ShowConvoyResultsToPlayers(game());
  SetPresentation(previous);
  if (c.shown) {
    // Shown under the country's own information panel, which goes back after.
    EXPECT_EQ(port.events(), (std::vector<std::u16string>{u"info-panel-country 1", u"convoy-results 1",
                                                          u"convoy-results-closed", u"info-panel-country 0"}));
  } else {
    EXPECT_TRUE(port.events().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Players, ConvoyResultsShown,
                         ::testing::Values(sShownCase{"Human", false, 1, 0, 0, true},
                                           sShownCase{"Computer", false, 0, 2, 0, false},
                                           sShownCase{"NegativeStrength", false, 1, 0, -1, false},
                                           sShownCase{"PbemSamePlayer", true, 0, 2, 5, true},
                                           sShownCase{"PbemOtherPlayer", true, 1, 3, 5, false}),
                         [](const ::testing::TestParamInfo<sShownCase>& info) { return std::string(info.param.name); });

class ConvoyResultsAgain : public ConvoyManagerTest, public ::testing::WithParamInterface<int> {};

// The player sees the results of every impulse, also results that are the
// same as the last ones and where no convoy carried anything.
TEST_P(ConvoyResultsAgain, AtEveryImpulseWhateverTheConvoysCarried) {
  cHeadlessPresentation port;
  cPresentation* previous = SetPresentation(&port);
  country(1).isActive = 1;
  country(1).humanControlled = 1;
  sConvoyResult result;
  result.pointsCarried = GetParam();
  manager().results[0].push_back(result);
  ShowConvoyResultsToPlayers(game());
  ShowConvoyResultsToPlayers(game());
  SetPresentation(previous);
  const std::vector<std::u16string> events = port.events();
  const auto shown = std::count(events.begin(), events.end(), u"convoy-results 1");
  EXPECT_EQ(shown, 2);
}

INSTANTIATE_TEST_SUITE_P(Carried, ConvoyResultsAgain, ::testing::Values(0, 1));

}  // namespace
}  // namespace tr::test
