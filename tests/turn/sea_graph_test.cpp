// Searches over the sea graph: who may pass a strait and enter a port, the
// choice among equally short routes, and the lookups.
#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <random>
#include <stdexcept>
#include <vector>

#include "support/log_capture.h"
#include "support/world_builder.h"
#include "turn/fleet.h"
#include "units/jednostka_morska.h"
#include "world/commander.h"
#include "turn/sea_graph.h"

namespace tr {
namespace {

using Path = std::list<std::int32_t>;

// Countries: 1 and 2 allies, 3 an enemy of 1 at war with it, 4 neutral.
class SeaGraphTest : public testing::Test {
 protected:
  SeaGraphTest() : world_(12, 12, 4) {
    world_.country(1).alliance = kAllies;
    world_.country(2).alliance = kAllies;
    world_.country(3).alliance = kAxis;
    world_.country(4).alliance = kNeutral;
    world_.game().relations.SetWar(1, 3, true);
    world_.game().relations.SetWar(3, 1, true);
  }

  cSeaGraph& graph() { return world_.game().seaGraph; }

  // A node whose main hex is (number, 0); ports are controlled by `controller`.
  int AddNode(int type, int controller = 0) {
    sWezelGrafuMorz node;
    node.id = graph().NodeCount() + 1;
    node.type = type;
    node.x = node.id;
    node.y = 0;
    world_.hex(node.x, node.y).controller = static_cast<std::uint8_t>(controller);
    graph().nodes.push_back(node);
    return node.id;
  }
  void AddEdge(int from, int to, int passageX = -1, int passageY = -1) {
    graph().GetNode(from - 1).edges.push_back({to, passageX, passageY});
  }
  void AddBothWays(int a, int b) {
    AddEdge(a, b);
    AddEdge(b, a);
  }
  Path Find(int from, int to, int country = 1, bool friendlyOnly = false) {
    Path path{99};
    if (!graph().FindPath(from, to, country, friendlyOnly, path)) {
      EXPECT_TRUE(path.empty());
    }
    return path;
  }

  test::TestWorld world_;
};

TEST_F(SeaGraphTest, DiamondKeepsTheLastPredecessorOfTheDepthBefore) {
  const int s = AddNode(kSeaNodeOpenSea);
  const int a = AddNode(kSeaNodeOpenSea);
  const int b = AddNode(kSeaNodeOpenSea);
  const int t = AddNode(kSeaNodeOpenSea);
  AddEdge(s, a);
  AddEdge(s, b);
  AddEdge(a, t);
  AddEdge(b, t);
  EXPECT_EQ(Find(s, t), (Path{s, b, t}));
  EXPECT_EQ(graph().GetNode(t - 1).searchPredecessor, b);
  EXPECT_EQ(graph().GetNode(t - 1).searchDistance, 2);

  // The order of the start's edges decides which zone comes last.
  graph().GetNode(s - 1).edges = {{b, -1, -1}, {a, -1, -1}};
  EXPECT_EQ(Find(s, t), (Path{s, a, t}));
}

TEST_F(SeaGraphTest, TrivialAndMissingRoutes) {
  const int a = AddNode(kSeaNodeOpenSea);
  const int b = AddNode(kSeaNodeOpenSea);
  AddEdge(a, b);
  EXPECT_EQ(Find(a, a), (Path{a}));
  EXPECT_EQ(Find(a, b), (Path{a, b}));
  EXPECT_EQ(Find(b, a), Path{});  // an edge listed once works one way only
  test::LogCapture log;
  EXPECT_EQ(Find(a, 7), Path{});
  EXPECT_TRUE(log.ContainsText(u"there's no such sea node"));
}

struct PassageCase {
  const char* name;
  int controller;
  int country;
  bool open;
};
class SeaGraphPassage : public SeaGraphTest, public testing::WithParamInterface<PassageCase> {};

TEST_P(SeaGraphPassage, StraitMustBeHeldByAFriend) {
  const PassageCase& c = GetParam();
  const int a = AddNode(kSeaNodeOpenSea);
  const int b = AddNode(kSeaNodeOpenSea);
  world_.hex(5, 5).controller = static_cast<std::uint8_t>(c.controller);
  AddEdge(a, b, 5, 5);
  EXPECT_EQ(graph().HasPassableEdge(a, b, c.country), c.open);
  EXPECT_EQ(Find(a, b, c.country), c.open ? (Path{a, b}) : Path{});
}

INSTANTIATE_TEST_SUITE_P(Controllers, SeaGraphPassage,
                         testing::Values(PassageCase{"Uncontrolled", 0, 1, false}, PassageCase{"Own", 1, 1, true},
                                         PassageCase{"Ally", 2, 1, true}, PassageCase{"Enemy", 3, 1, false},
                                         PassageCase{"Neutral", 4, 1, false}, PassageCase{"NeutralOwn", 4, 4, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PortCase {
  const char* name;
  int controller;
  bool friendlyOnly;
  bool enterable;
};
class SeaGraphPort : public SeaGraphTest, public testing::WithParamInterface<PortCase> {};

TEST_P(SeaGraphPort, PortsOpenByControllerAndFlag) {
  const PortCase& c = GetParam();
  const int sea = AddNode(kSeaNodeOpenSea);
  const int port = AddNode(kSeaNodePort, c.controller);
  AddEdge(sea, port);
  EXPECT_EQ(Find(sea, port, 1, c.friendlyOnly), c.enterable ? (Path{sea, port}) : Path{});
}

INSTANTIATE_TEST_SUITE_P(
    Controllers, SeaGraphPort,
    testing::Values(PortCase{"UncontrolledAny", 0, false, true}, PortCase{"UncontrolledFriendly", 0, true, false},
                    PortCase{"NeutralAny", 4, false, true}, PortCase{"NeutralFriendly", 4, true, false},
                    PortCase{"EnemyAny", 3, false, false}, PortCase{"EnemyFriendly", 3, true, false},
                    PortCase{"AllyFriendly", 2, true, true}, PortCase{"OwnFriendly", 1, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SeaGraphTest, UnknownNodeTypeIsNeverEntered) {
  const int a = AddNode(kSeaNodeOpenSea);
  const int b = AddNode(7);
  AddEdge(a, b);
  EXPECT_EQ(Find(a, b), Path{});
}

TEST_F(SeaGraphTest, Lookups) {
  const int a = AddNode(kSeaNodePort, 1);
  const int b = AddNode(kSeaNodePort, 1);
  const int c = AddNode(kSeaNodeOpenSea);
  AddEdge(a, b);
  AddEdge(a, c);
  EXPECT_EQ(graph().FindNodeIdByHex(2, 0), b);
  EXPECT_EQ(graph().FindNodeIdByHex(9, 9), -1);
  EXPECT_EQ(graph().FindFirstSeaNeighbour(a), c);
  EXPECT_EQ(graph().FindFirstSeaNeighbour(b), -1);
  // Several edges to one node: any passable one will do.
  world_.hex(6, 6).controller = 3;
  AddEdge(b, c, 6, 6);
  AddEdge(b, c);
  EXPECT_TRUE(graph().HasPassableEdge(b, c, 1));
  EXPECT_FALSE(graph().HasPassableEdge(c, b, 1));
  EXPECT_THROW(graph().GetNode(3), std::out_of_range);
  EXPECT_THROW(graph().GetNode(-1), std::out_of_range);
  EXPECT_TRUE(graph().IsPortNode(b));
  EXPECT_FALSE(graph().IsPortNode(c));
  EXPECT_FALSE(graph().IsPortNode(4));
}

TEST_F(SeaGraphTest, FleetLeavesACapturedPortForTheFirstSeaZone) {
  const int port = AddNode(kSeaNodePort, 3);
  const int other = AddNode(kSeaNodePort, 1);
  const int sea = AddNode(kSeaNodeOpenSea);
  graph().GetNode(sea - 1).name = u"Channel";
  AddEdge(port, other);
  AddEdge(port, sea);
  cFleet fleet;
  fleet.name = u"Home Fleet";
  fleet.seaNodeId = port;
  test::LogCapture log;
  EXPECT_TRUE(graph().LeavePortBecameEnemy(fleet));
  EXPECT_EQ(fleet.seaNodeId, sea);
  EXPECT_TRUE(log.Contains(u"Home Fleet left port which became enemy controlled and moved to Channel"));
  fleet.seaNodeId = other;
  EXPECT_FALSE(graph().LeavePortBecameEnemy(fleet));
  EXPECT_EQ(fleet.seaNodeId, other);
}

TEST_F(SeaGraphTest, BestCommanderOfEachOwnerGoesToItsShipsWithoutOne) {
  const int zone = AddNode(kSeaNodeOpenSea);
  const int elsewhere = AddNode(kSeaNodeOpenSea);
  sCommander weak{.id = 10, .skill = 2};
  sCommander strong{.id = 11, .skill = 5};
  sCommander equal{.id = 12, .skill = 5};
  sCommander enemy{.id = 13, .skill = 9};
  std::vector<std::unique_ptr<cJednostkaMorska>> ships;
  auto fleet = [&](int owner, int node, std::vector<sCommander*> commanders) {
    auto f = std::make_unique<cFleet>();
    f->countryId = owner;
    f->seaNodeId = node;
    for (sCommander* commander : commanders) {
      ships.push_back(std::make_unique<cJednostkaMorska>());
      ships.back()->attachedCommander = commander;
      ships.back()->commanderId = 99;
      f->ships.push_back(ships.back().get());
    }
    world_.game().fleets.push_back(std::move(f));
  };
  fleet(1, zone, {&weak, nullptr});
  fleet(1, zone, {&strong, &equal, nullptr});  // the first of equals wins
  fleet(1, elsewhere, {nullptr});
  fleet(3, zone, {nullptr, &enemy});
  fleet(2, zone, {nullptr});

  graph().GetNode(zone - 1).ShareBestCommander(-1);
  EXPECT_EQ(ships[1]->commanderId, 11);
  EXPECT_EQ(ships[4]->commanderId, 11);
  EXPECT_EQ(ships[0]->commanderId, 99);  // ships with a commander of their own keep theirs
  EXPECT_EQ(ships[5]->commanderId, 99);  // another zone
  EXPECT_EQ(ships[6]->commanderId, 13);
  EXPECT_EQ(ships[8]->commanderId, -1);  // no commander among country 2's ships

  std::list<cFleet*> here;
  graph().GetNode(zone - 1).CollectFleets(here);
  EXPECT_EQ(here.size(), 4u);
  world_.game().fleets.clear();
}

// The search as first written: every usable edge queues its node again, and
// the queue is walked to its end. Exponential, so only for small graphs.
bool DirectFindPath(cSeaGraph& graph, cGame& game, int from, int to, int country, bool friendlyOnly, Path& path) {
  path.clear();
  for (auto& node : graph.nodes) node.searchDistance = node.searchPredecessor = -1;
  graph.GetNode(from - 1).searchDistance = 0;
  graph.GetNode(from - 1).searchPredecessor = 0;
  auto friendly = [&](int controller) {
    return controller != 0 && (controller == country || game.GetCountry(controller)->IsAlly(country));
  };
  std::vector<int> queue{from};
  for (std::size_t i = 0; i < queue.size(); ++i) {
    const sWezelGrafuMorz& n = graph.GetNode(queue[i] - 1);
    for (const sSeaEdge& e : n.edges) {
      sWezelGrafuMorz& t = graph.GetNode(e.toNode - 1);
      if (e.passageX != -1 && !friendly(game.map->GetHex(e.passageX, e.passageY)->controller)) continue;
      if (t.searchDistance != -1 && t.searchDistance <= n.searchDistance) continue;
      const int controller = game.map->GetHex(t.x, t.y)->controller;
      bool enter = t.type == kSeaNodeOpenSea;
      if (t.type == kSeaNodePort) {
        enter = friendlyOnly ? friendly(controller) : controller == 0 || !game.relations.IsAtWar(country, controller);
      }
      if (!enter) continue;
      queue.push_back(t.id);
      t.searchPredecessor = n.id;
      t.searchDistance = n.searchDistance + 1;
    }
  }
  for (int id : queue) {
    if (id != to) continue;
    int current = to;
    path.push_front(current);
    while (current != from) {
      current = graph.GetNode(current - 1).searchPredecessor;
      path.push_front(current);
    }
    return true;
  }
  return false;
}

TEST_F(SeaGraphTest, AgreesWithTheDirectSearchOnRandomGraphs) {
  std::mt19937 random(20240611);
  // Passage hexes on row 3 with every kind of controller.
  for (int x = 0; x < 5; ++x) world_.hex(x, 3).controller = static_cast<std::uint8_t>(x);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  int found = 0;
  for (int round = 0; round < 400; ++round) {
    graph().Clear();
    const int count = pick(2, 9);
    for (int i = 0; i < count; ++i) {
      const int kind = pick(0, 9);
      AddNode(kind < 5 ? kSeaNodeOpenSea : kind < 9 ? kSeaNodePort : 2, pick(0, 4));
    }
    const int edges = pick(count, 4 * count);
    for (int i = 0; i < edges; ++i) {
      const bool strait = pick(0, 3) == 0;
      AddEdge(pick(1, count), pick(1, count), strait ? pick(0, 4) : -1, 3);
    }
    for (int country : {1, 3, 4}) {
      for (bool friendlyOnly : {false, true}) {
        for (int from = 1; from <= count; ++from) {
          for (int to = 1; to <= count; ++to) {
            Path expected;
            const bool direct = DirectFindPath(graph(), world_.game(), from, to, country, friendlyOnly, expected);
            Path actual;
            ASSERT_EQ(graph().FindPath(from, to, country, friendlyOnly, actual), direct)
                << "round " << round << " " << from << "->" << to;
            ASSERT_EQ(actual, expected) << "round " << round << " " << from << "->" << to;
            found += direct && expected.size() > 2;
          }
        }
      }
    }
  }
  EXPECT_GT(found, 1000);  // the rounds hold many routes of several steps
}

TEST_F(SeaGraphTest, LatticeSearchStaysSmall) {
  // A 16 x 16 lattice has far too many shortest corner-to-corner routes for
  // a search that queues each of them.
  constexpr int kSide = 16;
  for (int i = 0; i < kSide * kSide; ++i) AddNode(kSeaNodeOpenSea);
  for (int r = 0; r < kSide; ++r) {
    for (int c = 0; c < kSide; ++c) {
      const int id = r * kSide + c + 1;
      if (c + 1 < kSide) AddBothWays(id, id + 1);
      if (r + 1 < kSide) AddBothWays(id, id + kSide);
    }
  }
  const Path path = Find(1, kSide * kSide);
  ASSERT_EQ(path.size(), static_cast<std::size_t>(2 * kSide - 1));
}

// What the node asks the installed art to draw, hex by hex.
class RecordingSeaNodeArt : public cSeaNodeArt {
 public:
  void DrawHint(const sWezelGrafuMorz&, SpriteBatch&, int, int) override {}
  void DrawMarkerShip(const cJednostkaMorska& ship, float, float) override { drawn.push_back(ship.name); }
  void DrawZoneName(const sWezelGrafuMorz& node, float, float) override { drawn.push_back(node.name); }
  std::vector<std::u16string> drawn;
};

// Each marker ship is drawn on its own hex only, the zone's name on the
// node's hex unless the label is suppressed.
TEST(SeaNodeMarkers, EachIsDrawnOnItsOwnHex) {
  cJednostkaMorska own;
  own.name = u"Own";
  cJednostkaMorska enemy;
  enemy.name = u"Enemy";
  sWezelGrafuMorz node;
  node.name = u"Zone";
  node.type = kSeaNodeOpenSea;
  node.x = 7;
  node.y = 2;
  node.playerMarkerShip = &own;
  node.playerMarkerX = 3;
  node.playerMarkerY = 5;
  node.enemyMarkerShip = &enemy;
  node.enemyMarkerX = 4;
  node.enemyMarkerY = 6;
  RecordingSeaNodeArt art;
  cSeaNodeArt* previous = SetSeaNodeArt(&art);
  const auto drawnAt = [&](int x, int y, bool suppressLabel) {
    art.drawn.clear();
    node.DrawMarkers(0.0f, 0.0f, x, y, suppressLabel);
    return art.drawn;
  };
  using Names = std::vector<std::u16string>;
  EXPECT_EQ(drawnAt(3, 5, false), Names{u"Own"});
  EXPECT_EQ(drawnAt(4, 6, false), Names{u"Enemy"});
  EXPECT_EQ(drawnAt(3, 6, false), Names{});
  EXPECT_EQ(drawnAt(4, 5, false), Names{});
  EXPECT_EQ(drawnAt(7, 2, false), Names{u"Zone"});
  EXPECT_EQ(drawnAt(7, 2, true), Names{});
  EXPECT_EQ(drawnAt(7, 5, false), Names{});
  SetSeaNodeArt(previous);
}

}  // namespace
}  // namespace tr
