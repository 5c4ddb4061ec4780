// The computer's supply convoys: the port they start from and the ports
// they serve.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "naval_ai_fixture.h"

namespace tr {
namespace {

using test::NavalAi;

class Convoys : public NavalAi {
 protected:
  Convoys() {
    sea.SetConstant(48, 1, 10);
  }
  cCity& PortCity(int nodeId, std::u16string name, int type, int supply) {
    auto city = std::make_unique<cCity>();
    city->name = std::move(name);
    city->x = nodeId;
    city->y = 0;
    city->type = type;
    city->supplyInfo.assign(4, supply);
    hex(nodeId, 0).city = city.get();
    hex(nodeId, 0).owner = 1;
    game().cities.push_back(std::move(city));
    return *game().cities.back();
  }
};

struct ConvoyCase {
  const char* name;
  bool secondSourceNearer;
  const char16_t* departure;
};
class ConvoySource : public Convoys, public testing::WithParamInterface<ConvoyCase> {};

// Src1 - A - B - Dest; Src2 joins B (3 nodes to Dest) or A (4, a tie).
TEST_P(ConvoySource, IsThePortNearestTheDestinationAndServedGroupsGetNone) {
  const int src1 = sea.AddPort(1);
  const int a = sea.AddSea();
  const int b = sea.AddSea();
  const int src2 = sea.AddPort(1);
  const int dest = sea.AddPort(1);
  const int served = sea.AddPort(1);
  sea.Link(src1, a);
  sea.Link(a, b);
  sea.Link(b, dest);
  sea.Link(served, b);
  sea.Link(src2, GetParam().secondSourceNearer ? b : a);
  cCity& s1 = PortCity(src1, u"Src1", kCitySupplyPort, 10);
  cCity& s2 = PortCity(src2, u"Src2", kCityPort, 0);
  cCity& d = PortCity(dest, u"Dest", kCityPort, 4);
  cCity& other = PortCity(served, u"Served", kCityPort, 0);
  game().strategicMovement->SetCountryTopography(1, {{{&s1, &s2}}, {{&d}}, {{&other}}});
  game().convoys.AddSupplyConvoy(&s1, &other, 1);
  game().convoys.AddSupplyConvoy(&s1, &other, 1);  // the oldest goes first

  cCountryAI& ai = Ai(1);
  const std::list<cCity*> sources = ai.FindConvoySourcePorts();
  EXPECT_EQ(sources, (std::list<cCity*>{&s1, &s2}));
  ai.NavalAndConvoyStep();

  const std::vector<sConvoy>& convoys = game().convoys.ConvoysOf(1);
  ASSERT_EQ(convoys.size(), 2u);
  EXPECT_EQ(convoys[0].destination, &other);
  EXPECT_EQ(convoys[1].destination, &d);
  EXPECT_EQ(convoys[1].departure->name, GetParam().departure);
  EXPECT_EQ(convoys[1].amount, 6);
}

INSTANTIATE_TEST_SUITE_P(Paths, ConvoySource,
                         testing::Values(ConvoyCase{"FewerNodes", true, u"Src2"},
                                         ConvoyCase{"TieTakesTheFirst", false, u"Src1"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Sea nodes are numbered from 1: a port on the first node is a port like any other.
TEST_F(Convoys, APortOnTheFirstNodeIsSupplied) {
  const int dest = sea.AddPort(1);
  const int src = sea.AddPort(1);
  ASSERT_EQ(dest, 1);
  sea.Link(src, dest);
  cCity& s = PortCity(src, u"Src", kCitySupplyPort, 10);
  cCity& d = PortCity(dest, u"Dest", kCityPort, 4);
  game().strategicMovement->SetCountryTopography(1, {{{&s}}, {{&d}}});
  Ai(1).NavalAndConvoyStep();
  const std::vector<sConvoy>& convoys = game().convoys.ConvoysOf(1);
  ASSERT_EQ(convoys.size(), 1u);
  EXPECT_EQ(convoys[0].departure, &s);
  EXPECT_EQ(convoys[0].destination, &d);
  EXPECT_EQ(convoys[0].amount, 6);
}

TEST_F(Convoys, AWellSuppliedOrUnreachablePortGetsNone) {
  const int src = sea.AddPort(1);
  const int full = sea.AddPort(1);
  const int cut = sea.AddPort(1);
  sea.Link(src, full);
  cCity& s = PortCity(src, u"Src", kCitySupplyPort, 10);
  cCity& f = PortCity(full, u"Full", kCityPort, 10);
  cCity& c = PortCity(cut, u"Cut", kCityPort, 0);
  game().strategicMovement->SetCountryTopography(1, {{{&s}}, {{&f}}, {{&c}}});
  cCountryAI& ai = Ai(1);
  EXPECT_EQ(ai.PlanConvoys(ai.FindConvoySourcePorts()), nullptr);
  ai.NavalAndConvoyStep();
  EXPECT_TRUE(game().convoys.ConvoysOf(1).empty());
}
}  // namespace
}  // namespace tr
