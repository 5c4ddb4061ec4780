// What the computer opponent buys with its production points: the codes of
// its purchase queue, the record that carries a chosen level-up or research
// target from the choice to the purchase, and the prices it pays.
#pragma once

#include <cstdint>

namespace tr {

class cCountry;
class cJednostkaLadowa;
class cJednostkaLotnicza;

// The values of the purchase queue; other values are never acted on.
enum ePurchaseCode : std::int32_t {
  kBuyInvasionPoint = 0,
  kBuySeaTransportPoints = 1,
  kBuyAirLevelUp = 2,
  kBuyLandLevelUp = 3,
  kBuyResearch = 4,
  kBuyLandUnit = 5,
  kBuyAirUnit = 6,
  kBuyNavalUnit = 7,
  kBuyStrategicMovementPoint = 10,
};

inline constexpr int kPurchaseCategoryCount = 14;

// Made afresh before every choice.
struct sPurchaseChoice {
  cJednostkaLotnicza* airUnit = nullptr;
  float airUnitPrice = 0.0f;
  cJednostkaLadowa* landUnit = nullptr;
  float landUnitPrice = 0.0f;
  float researchPrice = 0.0f;
  std::int32_t technology = -1;
};

// The unit type of a new-unit category: land 0-6, air 20-22, ships 40-43.
int PurchaseCategoryType(int category);
// Whether the type is one a new unit of the queue code may have.
bool IsPurchasableType(int code, int type);

// Prices in production points of the running game's scenario.
float NewUnitPrice(int type);
float InvasionPointPrice(const cCountry& country);
float SeaTransportPointsPrice(const cCountry& country);
float StrategicMovementPointPrice(const cCountry& country);
float ResearchInvestmentPrice(int technology);

}  // namespace tr
