// A land unit at sea: the computer embarks it on a new transport fleet, and a
// unit aboard an amphibious or cargo ship goes ashore on a hex, unopposed or
// by a land battle against the hex's defender. The unit is in exactly one of
// the game's lists at every step (aboard, on the map, or gone), and its ship
// is sunk only once the unit has left the aboard list.
#include <algorithm>
#include <cmath>
#include <list>
#include <memory>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/random.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "turn/fleet.h"
#include "units/air_support.h"
#include "units/attack.h"
#include "units/combat_result.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/object_numbers.h"
#include "world/presentation.h"

namespace tr {
namespace {

constexpr int kMaxNameLength = 99;
constexpr std::uint32_t kFlagAttackTarget = 2;
constexpr float kLeastStrengthValue = 0.1f;
constexpr const char16_t* kInvasionSound = u"data\\sound\\Invasion.wav";

using AboardList = cUnitList<cJednostkaLadowa>;

AboardList* AboardListOf(int shipType) {
  if (shipType == kCargoShip) return &gGame->aboardUnitsA;
  if (shipType == kAmphibiousShip) return &gGame->aboardUnitsB;
  return nullptr;
}

AboardList::const_iterator FindIn(AboardList& list, const cJednostkaLadowa* unit) {
  return std::find_if(list.begin(), list.end(), [unit](const auto& p) { return p.get() == unit; });
}

std::u16string CutName(std::u16string name) {
  if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
  return name;
}

// The country whose turn it is; the unit's owner where no turn has begun.
int ActingCountryId(const cJednostkaLadowa& unit) {
  const cCountry* current = gGame->playerControl.currentCountry;
  return current ? current->id : int{unit.owner};
}

// The name of the sea zone beside the landing hex; the fleet's node where the
// hex names no zone.
std::u16string SeaZoneName(const sHex& hex, int fleetNodeId) {
  const cSeaGraph& graph = gGame->seaGraph;
  if (graph.IsNodeId(hex.seaZone)) return graph.GetNode(hex.seaZone - 1).name;
  if (graph.IsNodeId(fleetNodeId)) return graph.GetNode(fleetNodeId - 1).name;
  return {};
}

// What a landing checks before anything changes: the unit is aboard a
// transport that carries it, the target is land on the map, and a unit there
// belongs to a country at war with the invader.
struct sLanding {
  cJednostkaMorska* ship = nullptr;
  AboardList* aboard = nullptr;
  sHex* hex = nullptr;
  cJednostka* defender = nullptr;
};

bool PrepareLanding(cJednostkaLadowa& unit, int x, int y, sLanding& out) {
  if (!gGame || !gGame->map) return false;
  cJednostkaMorska* ship = unit.transporter;
  AboardList* aboard = ship ? AboardListOf(ship->type) : nullptr;
  if (!ship || ship->carriedUnit != &unit || !aboard || FindIn(*aboard, &unit) == aboard->end()) {
    LogFormat(u"ERROR: unit %s (ID=%i) is not aboard a transport that carries it; it cannot land", unit.name,
              unit.id);
    return false;
  }
  cMap& map = *gGame->map;
  if (!map.IsInside(x, y) || !map.GetHex(x, y)->IsLand()) {
    LogFormat(u"ERROR: unit %s (ID=%i) cannot land at (%i, %i): the hex is off the map or not land", unit.name,
              unit.id, x, y);
    return false;
  }
  sHex& hex = *map.GetHex(x, y);
  cJednostka* defender = dynamic_cast<cJednostka*>(hex.unit);
  if (hex.unit && (!defender || !gGame->relations.IsAtWar(unit.owner, defender->owner))) {
    LogLine(u"Critical Error: Cannot assault with a friendly unit during the amphibious invasion!");
    return false;
  }
  out = {ship, aboard, &hex, defender};
  return true;
}

// The unit joins the land units on the map and leaves the aboard list, then
// its ship goes down without it. The unit stays at (-1, -1) until it lands.
void LeaveShip(cJednostkaLadowa& unit, const sLanding& landing) {
  {
    GameLockGuard lock(__FILE__, __LINE__);
    const auto it = FindIn(*landing.aboard, &unit);
    // The entry goes from the aboard list to the map's list.
    gGame->landUnits.push_back(landing.aboard->Take(it));
  }
  landing.ship->Sink(0);
  unit.transporter = nullptr;
  unit.transporterId = -1;
}

// The die's loss off the unit; returns the strength value lost.
float TakeLandingLoss(cJednostkaLadowa& unit) {
  const float before = unit.GetStrengthValue();
  const int die = RandomRange(1, 6);
  unit.AddStrength(-gGame->constants.ReplacementTable(die));
  return before - unit.GetStrengthValue();
}

// Who is left after the battle: the outcome rules of an opposed landing.
// True when the invader lands; the loser of a battle both survived is destroyed.
bool DecideOpposedLanding(cJednostkaLadowa& unit, sAttack& attack) {
  if (!attack.attackers[0]) return false;
  if (!attack.defender) {
    unit.combatValue = 100;
    return true;
  }
  cJednostka& defender = *attack.defender;
  const float defence = defender.GetEffectiveStrength() * static_cast<float>(gGame->constants.InvasionValue());
  if (defence > unit.GetEffectiveStrength()) {
    unit.Kill();
    attack.attackers[0] = nullptr;
    return false;
  }
  defender.Kill();
  attack.defender = nullptr;
  return true;
}

// Fights the landing; true when the invader survived and holds the field.
bool FightLanding(cJednostkaLadowa& unit, cJednostka& defender, int x, int y, sCombatResult& result) {
  unit.combatValue = static_cast<int>(std::trunc(100.0f - 100.0f * gGame->constants.InvasionFactor()));
  sAttack attack;
  attack.defender = &defender;
  attack.targetX = x;
  attack.targetY = y;
  attack.SetAttacker(0, &unit);
  attack.ResolveLandBattle(result);
  return DecideOpposedLanding(unit, attack);
}

// The unit takes the hex with full supply and a new turn's action points.
void GoAshore(cJednostkaLadowa& unit, int x, int y) {
  GameLockGuard lock(__FILE__, __LINE__);
  unit.SetSupply(gGame->constants.FullSupplyLevel());
  unit.ComputeCombatValue();
  unit.transporter = nullptr;
  unit.transporterId = -1;
  unit.x = x;
  unit.y = y;
  sHex& hex = *gGame->map->GetHex(x, y);
  hex.unit = &unit;
  hex.SetController(unit.owner);
  unit.ResetActionPoints();
}

}  // namespace

cFleet* cJednostkaLadowa::EmbarkOnFleet(int shipType, int seaNodeId, int order) {
  if (!gGame) return nullptr;
  AboardList* aboard = AboardListOf(shipType);
  const auto onMap = std::find_if(gGame->landUnits.begin(), gGame->landUnits.end(),
                                  [this](const auto& p) { return p.get() == this; });
  if (!aboard || onMap == gGame->landUnits.end() || !gGame->seaGraph.IsNodeId(seaNodeId) || type < 0 ||
      type >= kLandTypeCount) {
    LogFormat(u"ERROR: unit %s (ID=%i, type %i) cannot embark on a ship of type %i at sea node %i", name, id, type,
              shipType, seaNodeId);
    return nullptr;
  }
  LogLine(Format(GetText("loading_%s_onto_transport/amphibious_fleet..."), name));
  const sScenarioConstants& k = gGame->constants;
  if (cCountry* payer = GetOwnerCountry()) {
    if (shipType == kCargoShip) {
      payer->AddSeaTransportPoints(-k.SeaTransportCost(type));
    } else {
      payer->AddInvasionPoints(-k.AmphibiousTransportCost(type));
    }
  }
  inReserve = 0;
  spotted = 0;

  const int shipOwner = ActingCountryId(*this);
  auto madeShip = std::make_unique<cJednostkaMorska>();
  cJednostkaMorska& ship = *madeShip;
  ship.id = NewShipNumber(*gGame);
  ship.owner = shipOwner;
  ship.carriedUnit = this;
  ship.inReserve = 0;
  ship.availableInTurns = 0;
  ship.attachedCommander = nullptr;
  ship.commanderId = -1;
  ship.shoreBombardmentDone = 0;
  ship.airstrikeDone = 0;
  ship.reconDone = 0;
  ship.canBeRepaired = 1;
  ship.SetType(shipType);
  ship.hitPoints = ship.maxHitPoints = k.ShipHitPoints(shipType);
  const cCountry* shipCountry = gGame->GetCountry(shipOwner);
  const std::u16string* typeName = shipCountry ? shipCountry->GetUnitTypeName(shipType) : nullptr;
  ship.SetName(Format(u"#%i %s %s", ship.id, name, typeName ? *typeName : std::u16string()));
  LogLine(u"Loading unit: new fleet will be created");

  auto madeFleet = std::make_unique<cFleet>();
  cFleet& fleet = *madeFleet;
  fleet.id = NewFleetId();
  fleet.countryId = shipOwner;
  fleet.seaNodeId = seaNodeId;
  fleet.formation = kFleetRegular;
  fleet.name = CutName(
      Format(GetText(shipType == kCargoShip ? "fleet_transporter_#%i" : "fleet_amphibious_#%i"), fleet.id));
  fleet.hasMoved = 0;
  fleet.ships.push_back(&ship);
  fleet.aiOrder = order;
  ship.fleet = &fleet;
  ship.fleetId = fleet.id;

  // The screen reads the lists, the hexes and the fleets while the worker embarks.
  GameLockGuard lock(__FILE__, __LINE__);
  gGame->navalUnits.push_back(std::move(madeShip));
  gGame->fleets.push_back(std::move(madeFleet));
  if (gGame->map && gGame->map->IsInside(x, y) && gGame->map->GetHex(x, y)->unit == this) {
    gGame->map->GetHex(x, y)->unit = nullptr;
  }
  x = -1;
  y = -1;
  transporter = &ship;
  transporterId = ship.id;
  // The entry goes from the map's list to the aboard list.
  aboard->push_back(gGame->landUnits.Take(onMap));
  return &fleet;
}

bool cJednostkaLadowa::AmphibiousInvasion(int targetX, int targetY) {
  sLanding landing;
  if (!PrepareLanding(*this, targetX, targetY, landing)) {
    if (gGame) gGame->playerControl.ClearSelection();
    return false;
  }
  cPlayerControl& control = gGame->playerControl;
  sCombatResult result;
  result.Reset();
  result.attackerDetails = name + u"\n";
  const int fleetNode = landing.ship->fleet ? landing.ship->fleet->seaNodeId : -1;
  LeaveShip(*this, landing);
  spotted = 1;

  bool landed = false;
  if (!landing.defender) {
    const float lost = landing.hex->IsHeldByFriend(owner) ? 0.0f : TakeLandingLoss(*this);
    landed = GetStrengthValue() >= kLeastStrengthValue;
    const std::u16string title = Format(GetText("invasion_no_enemy_title"), SeaZoneName(*landing.hex, fleetNode));
    const std::u16string text = Format(
        GetText(landed ? "invasion_no_enemy_success_unit_losses_strength" : "invasion_no_enemy_fail_unit_losses_strength"),
        lost);
    if (!landed) Kill();
    Presentation().ShowTextAndWait(title, text);
  } else {
    Presentation().PlaySoundEffect(kInvasionSound);
    landed = FightLanding(*this, *landing.defender, targetX, targetY, result);
    const float delay = gDelays[kDelayHumanCombatResult];
    if (delay != 0.0f) Presentation().ShowCombatResultAndWait(result, delay);
  }
  if (landed) {
    GoAshore(*this, targetX, targetY);
    RevealUnitsAround(0);
  }
  control.ClearSelection();
  return landed;
}

bool cJednostkaLadowa::AiUnloadAmphibious(int targetX, int targetY) {
  if (gGame) LogLine(Format(GetText("ai_unloading_amphib_unit_%s_to_hex_(%i,_%i)"), name, targetX, targetY));
  sLanding landing;
  if (!PrepareLanding(*this, targetX, targetY, landing)) return false;
  LeaveShip(*this, landing);
  {
    // Whether the landing is seen is judged where the unit comes ashore.
    GameLockGuard lock(__FILE__, __LINE__);
    x = targetX;
    y = targetY;
    UpdateSpottedFlag(gGame->viewingCountry);
    x = -1;
    y = -1;
  }
  const bool shown = ShowsComputerMove(*this);
  if (shown) {
    spotted = 0;
    Presentation().CenterCameraOn(targetX, targetY, true);
    WaitComputerDelay(kDelayAIMoveBefore);
    spotted = 1;
    WaitComputerDelay(kDelayAIMoveAfter);
  }

  bool landed = false;
  if (!landing.defender) {
    const int before = strength;
    TakeLandingLoss(*this);
    landed = GetStrengthValue() >= kLeastStrengthValue;
    if (landed) {
      SetStrength(before);
    } else {
      GameLockGuard lock(__FILE__, __LINE__);
      Kill();
    }
  } else {
    const bool seen = spotted != 0;
    if (seen) {
      WaitComputerDelay(kDelayAICombatBefore);
      GameLockGuard lock(__FILE__, __LINE__);
      landing.hex->AddFlags(kFlagAttackTarget, -1);
      Presentation().PlaySoundEffect(kInvasionSound);
    }
    sCombatResult result;
    result.Reset();
    result.attackerDetails = name + u"\n";
    {
      GameLockGuard lock(__FILE__, __LINE__);
      landed = FightLanding(*this, *landing.defender, targetX, targetY, result);
      if (seen) landing.hex->RemoveFlags(kFlagAttackTarget, true);
    }
    if (seen) {
      WaitComputerDelay(kDelayAICombatAfter);
      const float delay = gDelays[kDelayHumanCombatResult];
      if (delay != 0.0f) Presentation().ShowCombatResultAndWait(result, delay);
    }
  }
  if (!landed) return false;
  GoAshore(*this, targetX, targetY);
  if (spotted) WaitComputerDelay(kDelayAIMoveAfter);
  return true;
}

}  // namespace tr
