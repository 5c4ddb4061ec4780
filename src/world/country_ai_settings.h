// A country's settings for the computer opponent, read from "ai_data.csv";
// the field names are the file's keys.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "world/hex_geometry.h"

namespace tr {

struct sAiTarget {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t value = 0;
};

struct sSeaZoneToPatrol {
  std::int32_t seaZone = 0;
  std::int32_t value = 0;
};

struct sNewUnitPurchaseData {
  std::int32_t landType = 99;
  float landPrice = -1.0f;
  std::int32_t airType = 99;
  float airPrice = -1.0f;
  std::int32_t navalType = 99;
  float navalPrice = -1.0f;
};

struct sCountryAiSettings {
  std::uint8_t MakesSeaInvasions = 0;
  std::int32_t MaxNumberOfFrontsForSeaInvasion = 2;
  std::int32_t CurrentSeaInvasionTarget = -1;
  std::vector<sPoint> ObligatorySeaInvasionTargets;
  std::vector<sAiTarget> CurrentTargets;
  std::vector<sPoint> DoNotAttackCities;
  std::vector<sPoint> ExtraCitiesToGarrison;
  std::vector<sSeaZoneToPatrol> SeaZonesToPatrol;
  std::vector<std::int32_t> PurchaseQueue;
  std::int32_t FortLevelToHoldAtAllCost = 5;
  std::array<std::int32_t, 5> DesiredLandForcesStructure{10, 20, 30, 20, 10};
  std::array<std::int32_t, 7> DesiredTechLevels{1, 1, 1, 1, 1, 1, 0};
  std::int32_t DesiredStrategicMovementPoints = 0;
  std::array<std::int32_t, 14> NewUnitPurchasePreferences{10, 10, 5, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0};
  sNewUnitPurchaseData NewUnitPurchaseData;
  std::array<std::int32_t, 3> MultipleSideAttackPreferences{5, 3, 4};
  std::array<std::int32_t, 3> OneSideAttackPreferences{4, 2, 2};
  std::int32_t AllianceEntryPolicy = 0;
  std::vector<std::int32_t> CountriesToPress;
  std::uint8_t TransportsUnitsToFrontsBySea = 0;
  float MinRatioToPatchFront = 2.5f;
  std::int32_t MaxUnitCountOnFront = 15;
  std::int32_t MaxCoveringUnitDistance = 3;
  std::int32_t MaxSafeMoveCost = 5;
  std::array<float, 2> ShoreBombardmentSingleUse{1.0f, 1.0f};
  std::array<std::int32_t, 9> CarrierTargetsPriorities{90, 80, 70, 60, 50, 40, 30, 20, 10};

  // The value paired with the zone in SeaZonesToPatrol, 0 when absent.
  std::int32_t GetSeaZoneToPatrolValue(int seaZone) const;
};

}  // namespace tr
