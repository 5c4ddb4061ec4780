// Air units: fighters, tactical and strategic bombers. Their combat value,
// action points and strength limits are fixed by type; their radii grow with
// the owner's aircraft technology; they rebase at once instead of walking,
// and they fight in the air, bomb, strike with nuclear bombs and reconnoitre.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "units/jednostka.h"

namespace tr {

struct sCombatResult;

// One hex the computer opponent may rebase an air unit to, with what it
// learnt of the enemy land units around it.
struct sAirBaseCandidate {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t enemiesWithinRange = 0;
  std::int32_t distanceToEnemy = 0;
};

class cJednostkaLadowa;

// What the air unit's target collection asks of the computer opponent's
// object of a country.
class cEnemyLandUnitQueries {
 public:
  virtual ~cEnemyLandUnitQueries() = default;
  virtual int CountEnemyLandUnitsWithin(int x, int y, int radius) const = 0;
  virtual int MinDistanceToEnemyLandUnits(int x, int y) const = 0;
};

// The enemy's land units as the two queries read them, copied once: their
// places and whether each stands below a fort of 5. A rebase asks both for
// every candidate base of every air unit, and reading the units themselves
// each time waited on the memory they lie scattered in.
class cEnemyLandPoints {
 public:
  explicit cEnemyLandPoints(const std::vector<cJednostkaLadowa*>& units);
  int CountEnemyLandUnitsWithin(int x, int y, int radius) const;
  int MinDistanceToEnemyLandUnits(int x, int y) const;  // INT_MAX when none

 private:
  struct sPoint {
    std::int32_t x, y;
    bool unfortified;  // the hex is on the map and its fort is below 5
  };
  std::vector<sPoint> points_;
};

// The answers about the enemy's land units kept per hex (and radius), for a
// phase in which none of them moves: the candidates of every air unit repeat
// the same hexes around the same cities.
class cEnemyLandUnitQueryCache : public cEnemyLandUnitQueries {
 public:
  explicit cEnemyLandUnitQueryCache(const std::vector<cJednostkaLadowa*>& enemies) : points_(enemies) {}
  int CountEnemyLandUnitsWithin(int x, int y, int radius) const override;
  int MinDistanceToEnemyLandUnits(int x, int y) const override;

 private:
  const cEnemyLandPoints points_;
  mutable std::unordered_map<std::uint64_t, int> counts_;
  mutable std::unordered_map<std::uint64_t, int> distances_;
};

class cJednostkaLotnicza : public cJednostka {
 public:
  // Takes the next number of the game's air-unit counter (raised first).
  cJednostkaLotnicza();
  // A copy keeps the template's number.
  cJednostkaLotnicza(const cJednostkaLotnicza&) = default;
  ~cJednostkaLotnicza() override;

  // Values by type (jednostka_lotnicza.cpp).
  int ComputeCombatValue() override;
  int SetActionPoints(int value) override;
  void ResetActionPoints() override;
  int GetStrength() const override { return strength; }
  int AddStrength(int amount) override;
  float GetStrengthValue() const override;
  float GetEffectiveStrength() const override;
  float GetBaseValue() const override;
  bool IsHexInMoveRange(int hexX, int hexY) const override;
  bool OrderMove() override;
  float GetUpgradeCost() override;
  void UpgradeToCorps() override;
  float GetLevelUpCost() override;
  void LevelUp() override;
  // The computer's level-up; whether the owner can afford it is the caller's test.
  void AiLevelUp();
  // Removes the unit from the map and the game and frees it: the caller's
  // pointer is dangling afterwards.
  void Kill() override;
  int MoveToReservePool() override;

  // Radii in hexes, by type and the owner's aircraft technology.
  int GetMoveRange() const;
  int GetRange() const;
  int GetReconRange() const;

  // Rebasing and placement (air_movement.cpp).
  int ComputeMoveRange(int quiet) override;
  int MarkMoveHexes(int mark);
  void RebaseTo(int newX, int newY);
  void AiRebaseTo(int newX, int newY);
  int MarkPlacementHexes(int mark) override;

  // Targets (air_targets.cpp); each returns the number found and, with mark
  // set, highlights them.
  int MarkAirfightTargets(int mark);
  int MarkBombardmentTargets(int mark);
  int MarkNuclearTargets(int mark);
  int MarkReconHexes(int mark);
  // For the computer opponent. The target of an air fight: the weakest of
  // `enemies` within range (supply modifier, strength and level summed; the
  // first of equals), passing over the units in `gone`, which were freed.
  cJednostkaLotnicza* FindTargetInRange(const std::vector<cJednostkaLotnicza*>& enemies,
                                        const std::set<const cJednostkaLotnicza*>& gone) const;
  void CollectHexesInRadius(std::set<int>& seaZones) const;
  void CollectAiTargets(std::vector<sAirBaseCandidate>& hexes, const cEnemyLandUnitQueries& ai) const;

  // Reconnaissance (air_recon.cpp).
  void ReconHexArea(int targetX, int targetY, sCombatResult& result);
  void ReconSeaZone(int seaNodeId, sCombatResult& result);

  // Air fights (air_interception.cpp). TryIntercept runs on the unit flying
  // the mission; AirFight on the defender of a fighter's or carrier's attack.
  bool TryIntercept(cUnit* interceptor, sCombatResult* result) override;
  void AirFight(sCombatResult& result, cUnit& attacker, sHex* hex);
  void OnBombarded(sCombatResult* result, cUnit* attacker, sHex* hex) override;

  // The nuclear strike of a strategic bomber (nuclear_strike.cpp).
  void NuclearStrike(sHex& target, sCombatResult& result);

  // The unit panel's hints (air_hints.cpp).
  bool GetEffectivenessHint(std::u16string* text) override;
  bool GetUpgradeHint(std::u16string* text) override;
  bool GetLevelUpHint(std::u16string* text) override;
  bool GetStrengthIconHint(std::u16string* text) override;
  bool GetStrategicMoveIconHint(std::u16string* text) override;
  bool GetAirborneAssaultIconHint(std::u16string* text) override;
  bool GetSeaTransportIconHint(std::u16string* text) override;
  bool GetAmphTransportIconHint(std::u16string* text) override;
  bool GetAirfightIconHint(std::u16string* text) override;
  bool GetBombardmentIconHint(std::u16string* text) override;
  bool GetNuclearIconHint(std::u16string* text) override;
  bool GetReconIconHint(std::u16string* text) override;

  // Drawing belongs to the map renderer; until it is in place nothing is drawn.
  void DrawCounter(float screenX, float screenY, float depth, int frameParity) override;
  void DrawIcon(const sUnitRect& target) override;

  std::uint8_t airReconDone = 0;
};

// The interception column and the air-fight column are held to -4..+4.
int ClampAirColumn(int column);

}  // namespace tr
