#include "units/sea_node_air_ops.h"

#include <atomic>

#include "turn/sea_bombardment.h"
#include "world/gra.h"

namespace tr {
namespace {

sWezelGrafuMorz* FindNode(int nodeId) {
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
  cUnit* SearchInterceptor(int nodeId, int attackingCountry) override {
    sWezelGrafuMorz* node = FindNode(nodeId);
    return node ? node->SearchInterceptor(attackingCountry) : nullptr;
  }
  void BombardSeaNode(int nodeId, sCombatResult& result, cUnit& attacker, sHex& hex) override {
    if (sWezelGrafuMorz* node = FindNode(nodeId)) tr::BombardSeaNode(*node, result, attacker, hex);
  }
  void NuclearStrikeOnPort(int nodeId, sCombatResult& result) override {
    if (sWezelGrafuMorz* node = FindNode(nodeId)) tr::NuclearStrikeOnPort(*node, result);
  }
  void RecalculateNavalVisibilityForRecon(int nodeId, bool incremental) override {
    sWezelGrafuMorz* node = FindNode(nodeId);
    if (!node) return;
    PortSecrecyOffGuard open;
    node->CalculateNavalVisibility(incremental);
  }
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
