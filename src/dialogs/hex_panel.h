// cHexPanel: the map-side panel that describes the selected hex - what stands
// there (city, port, resources, sea zone), terrain and position, supply,
// production and victory points, controller, owner, fortification and
// weather - and builds an artificial harbour on a friendly coastal hex.
#pragma once

#include <cstdint>
#include <string_view>

#include "dialogs/panel.h"

namespace tr {

class cCountry;
struct sHex;

class cHexPanel : public cPanel {
 public:
  static constexpr int kPanelId = 401;
  static constexpr int kHoldsLabel = 402;
  static constexpr int kName = 403;
  static constexpr int kTerrain = 405;
  static constexpr int kSupply = 407;
  static constexpr int kProduction = 409;
  static constexpr int kVictoryPoints = 411;
  static constexpr int kController = 413;
  static constexpr int kOwner = 415;
  static constexpr int kFortification = 417;
  static constexpr int kWeather = 419;
  static constexpr int kHarbourButton = 421;
  static constexpr int kLastId = 421;

  cHexPanel();

  // Refreshes every field from the game's selected hex.
  void Update();
  // The harbour button builds a harbour when the hex still allows one.
  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void Move(int dx, int dy) override;

 private:
  void SetField(int id, std::u16string_view text);
  void SetHoldsLabel(std::u16string_view text);
  void ShowHolding(const sHex& hex);
  void UpdateHarbourButton(const sHex& hex);
};

// Why the country cannot build an artificial harbour on the hex: the hint key
// of the first reason, or null when it can.
const char* HarbourRefusalKey(const sHex& hex, const cCountry& builder);

// Builds an artificial harbour on the hex for its controller, paid by the
// builder; false, with nothing built, when the hex does not allow one.
bool BuildArtificialHarbour(sHex& hex, cCountry& builder);

// The game's hex panel, or null.
cHexPanel* GetHexPanel();

}  // namespace tr
