#include "units/sea_node_air_ops.h"

#include <atomic>

#include "world/gra.h"

namespace tr {
namespace {

const sWezelGrafuMorz* FindNode(int nodeId) {
  if (!gGame || !gGame->seaGraph.IsNodeId(nodeId)) return nullptr;
  return &gGame->seaGraph.GetNode(nodeId - 1);
}

class cSeaGraphFacts : public cSeaNodeAirOps {
 public:
  int NodeType(int nodeId) const override {
    const sWezelGrafuMorz* node = FindNode(nodeId);
    return node ? node->type : -1;
  }
  std::u16string NodeName(int nodeId) const override {
    const sWezelGrafuMorz* node = FindNode(nodeId);
    return node ? node->name : std::u16string();
  }
  int CountSpottedEnemyShips(int nodeId) const override {
    const sWezelGrafuMorz* node = FindNode(nodeId);
    return node ? node->CountSpottedEnemyShips() : 0;
  }
  cUnit* SearchInterceptor(int, int) override { return nullptr; }
  void BombardSeaNode(int, sCombatResult&, cUnit&, sHex&) override {}
  void NuclearStrikeOnPort(int, sCombatResult&) override {}
  void RecalculateNavalVisibilityForRecon(int) override {}
};

cSeaGraphFacts gBuiltIn;
std::atomic<cSeaNodeAirOps*> gInstalled{nullptr};

}  // namespace

cSeaNodeAirOps& SeaNodeAirOps() {
  cSeaNodeAirOps* ops = gInstalled.load();
  return ops ? *ops : gBuiltIn;
}

cSeaNodeAirOps* SetSeaNodeAirOps(cSeaNodeAirOps* ops) { return gInstalled.exchange(ops); }

}  // namespace tr
