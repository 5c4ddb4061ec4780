// The landing of a computer invasion: the fleets' guns soften the landing
// area, the amphibious ships put their units ashore one by one, an artificial
// harbour may be built beside the landing, and the attack searches follow.
#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "ai/country_ai.h"
#include "ai/fleet_mission.h"
#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "turn/fleet.h"
#include "units/combat_result.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/unit_room.h"

namespace tr {
namespace {

constexpr int kBombardmentReach = 6;
constexpr int kLandingReach = 4;

cFleet* FindFleet(cGame& game, int fleetId) {
  for (const auto& fleet : game.fleets) {
    if (fleet->id == fleetId) return fleet.get();
  }
  return nullptr;
}

bool LandsNow(const cFleet& fleet) {
  return fleet.aiOrder == kMissionInvasionGather ||
         (fleet.aiOrder == kMissionInvasionLand && fleet.aiDestinationNode == fleet.seaNodeId);
}

bool HasFreshGuns(const cFleet& fleet) {
  return std::any_of(fleet.ships.begin(), fleet.ships.end(), [](const cJednostkaMorska* ship) {
    return ship->IsBattleshipOrCruiser() && !ship->shoreBombardmentDone;
  });
}

}  // namespace

void cCountryAI::AmphibiousInvasion() {
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  cMap& map = *game->map;
  const sScenarioConstants& k = game->constants;
  // Every node that had its harbour decision in this call.
  std::set<int> harbourNodes;
  // Each pass that goes on to another lands one unit for good, so the units
  // aboard bound the passes.
  const std::size_t passLimit = game->aboardUnitsB.size() + game->aboardUnitsA.size() + 1;
  for (std::size_t pass = 0; pass < passLimit; ++pass) {
    bool restart = false;
    std::vector<int> fleetIds;
    for (const auto& fleet : game->fleets) {
      if (fleet->countryId == country->id) fleetIds.push_back(fleet->id);
    }
    for (int fleetId : fleetIds) {
      cFleet* fleet = FindFleet(*game, fleetId);
      if (!fleet || !LandsNow(*fleet)) continue;
      const int destX = fleet->aiInvasionX;
      const int destY = fleet->aiInvasionY;
      const int nodeId = fleet->seaNodeId;
      if (!map.IsInside(destX, destY)) {
        LogFormat(u"ERROR Amphibious invasion of %s (ID=%i) destination hex (%i, %i) out of map!", fleet->name,
                  fleet->id, destX, destY);
        // The fleet can land nowhere: it is free again.
        fleet->aiOrder = kMissionFree;
        continue;
      }

      LogFormat(u"[AI] %ls: Amphibious invasion - bombarding landing area...", country->name);
      int bx = -1;
      int by = -1;
      if (map.FindAreaPathB(country->id, destX, destY, nodeId, kBombardmentReach, bx, by)) {
        std::vector<int> gunFleets;
        for (const auto& other : game->fleets) {
          if (other->countryId == country->id && other->seaNodeId == nodeId && HasFreshGuns(*other)) {
            gunFleets.push_back(other->id);
          }
        }
        for (int gunFleetId : gunFleets) {
          cFleet* guns = FindFleet(*game, gunFleetId);
          const cUnit* target = map.GetHex(bx, by)->unit;
          if (!guns || !target) continue;
          const bool seen = target->spotted;
          sCombatResult result;
          result.Reset();
          if (guns->ShoreBombard(bx, by, &result, 1)) {
            ShowAirStrikeResult(result, bx, by, seen);
          } else {
            map.GetHex(bx, by)->RemoveFlags(2, true);
          }
        }
      }

      std::vector<sPoint> landingHexes;
      fleet = FindFleet(*game, fleetId);
      const std::vector<cJednostkaMorska*> ships =
          fleet ? std::vector<cJednostkaMorska*>(fleet->ships.begin(), fleet->ships.end())
                : std::vector<cJednostkaMorska*>{};
      for (cJednostkaMorska* ship : ships) {
        if (ship->type != kAmphibiousShip || !ship->carriedUnit) continue;
        LogFormat(u"[AI] %ls: Amphibious invasion - finding hex to land...", country->name);
        int lx = -1;
        int ly = -1;
        if (!map.FindAreaPathA(country->id, destX, destY, nodeId, kLandingReach, lx, ly, false)) continue;
        landingHexes.push_back({lx, ly});
        cJednostkaLadowa* unit = ship->carriedUnit;
        LogFormat(u"[AI] %ls: Amphibious invasion - unloading %s", country->name, unit->name);
        // The landing sinks the ship (and may end the fleet with it).
        if (unit->AiUnloadAmphibious(lx, ly)) {
          LogFormat(u"[AI] %ls: Amphibious invasion - %s landed at (%i, %i)", country->name, unit->name, lx, ly);
          unit->MoveTowardHex(destX, destY);
          restart = true;
        }
        break;
      }

      sPoint harbour{-1, -1};
      // A harbour needs a hex the country holds: a landing that failed
      // leaves its hex free but in the enemy's hands.
      for (const sPoint& at : landingHexes) {
        const sHex& landed = *map.GetHex(at.x, at.y);
        if (!landed.unit && landed.controller == country->id) {
          harbour = at;
          break;
        }
      }
      if (harbour.x == -1 && !map.FindAreaPathA(country->id, destX, destY, nodeId, kLandingReach, harbour.x,
                                                harbour.y, true)) {
        if (restart) break;
        continue;
      }
      if (harbourNodes.insert(nodeId).second) {
        if (k.MulberryValue() <= country->productionPoints &&
            RoomForUnit(*gGame, kCategoryLand, u"[AI]: an artificial harbour")) {
          auto made = std::make_unique<cMulberry>();
          cMulberry& mulberry = *made;
          mulberry.owner = country->id;
          mulberry.name = u"Artificial harbour";
          mulberry.category = kCategoryLand;
          mulberry.level = 1;
          mulberry.x = harbour.x;
          mulberry.y = harbour.y;
          mulberry.SetStrength(static_cast<int>(k.MulberryStrength()));
          mulberry.SetActionPoints(0);
          mulberry.remainingTime = static_cast<int>(k.MulberryDuration());
          mulberry.SetSupply(k.FullSupplyLevel());
          mulberry.SetSupplySourceX(-1);
          mulberry.SetSupplySourceY(-1);
          {
            GameLockGuard lock(__FILE__, __LINE__);
            map.GetHex(harbour.x, harbour.y)->unit = &mulberry;
            game->landUnits.push_back(std::move(made));
          }
          country->AddProductionPoints(-static_cast<double>(k.MulberryValue()));
          LogFormat(u"Mulberry created at (%d, %d) for country %s", harbour.x, harbour.y, country->name);
        } else {
          LogLine(u"Not enough PP for Mulberry purcharse");
        }
      }
      if (restart) break;
    }
    if (!restart) break;
  }
  BuildUnitLists();
  PlanMultiDirectionAttacks();
  PlanOneDirectionAttacks();
}

}  // namespace tr
