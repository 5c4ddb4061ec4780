#include "dialogs/hex_panel.h"

#include <array>
#include <memory>
#include <string>

#include "app/input_routing.h"
#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "gui/edit_box.h"
#include "gui/icon.h"
#include "gui/static.h"
#include "units/jednostka_ladowa.h"
#include "world/city.h"
#include "world/gra.h"
#include "world/unit_room.h"
#include "world/hex.h"

namespace tr {
namespace {

struct sField {
  int labelId;
  int fieldId;
  const char* labelKey;
  const char* hintKey;
};
// In the order they are made.
constexpr std::array<sField, 9> kFields = {{
    {402, cHexPanel::kName, "hex_panel_name", "hex_panel_name_hint"},
    {404, cHexPanel::kTerrain, "hex_panel_additional_info", "hex_panel_additional_info_hint"},
    {406, cHexPanel::kSupply, "hex_panel_supply", "hex_panel_supply_hint"},
    {410, cHexPanel::kVictoryPoints, "hex_panel_victory_points", "hex_panel_victory_points_hint"},
    {408, cHexPanel::kProduction, "hex_panel_production_points", "hex_panel_production_points_hint"},
    {412, cHexPanel::kController, "hex_panel_controller", "hex_panel_controller_hint"},
    {414, cHexPanel::kOwner, "hex_panel_owner", "hex_panel_owner_hint"},
    {416, cHexPanel::kFortification, "hex_panel_fortification", "hex_panel_fortification_hint"},
    {418, cHexPanel::kWeather, "hex_panel_weather", "hex_panel_weather_hint"},
}};

constexpr std::array<const char*, 8> kTerrainKeys = {
    "hex_panel_additional_info_water",  "hex_panel_additional_info_plain", "hex_panel_additional_info_forest",
    "hex_panel_additional_info_rough",  "hex_panel_additional_info_swamp", "hex_panel_additional_info_hill",
    "hex_panel_additional_info_mountain", "hex_panel_additional_info_desert",
};
constexpr std::array<const char*, 3> kWeatherKeys = {"weather_good", "weather_snow", "weather_mud"};

constexpr Rect kHarbourSkin{1280, 345, 1320, 385};
constexpr std::size_t kNameLimit = 99;

Rect PanelRect() {
  Rect xywh;
  if (Failed(CDXUTDialog::GetLayoutRect(cHexPanel::kPanelId, &xywh))) xywh = Rect{};
  return xywh;
}

std::u16string CountryName(int id) {
  const cCountry* country = id != 0 && gGame != nullptr ? gGame->GetCountry(id) : nullptr;
  return country != nullptr ? country->name : std::u16string(u"-");
}

const sWezelGrafuMorz* SeaNode(int id) {
  if (gGame == nullptr || !gGame->seaGraph.IsNodeId(id)) return nullptr;
  return &gGame->seaGraph.GetNode(id - 1);
}

}  // namespace

cHexPanel* GetHexPanel() { return dynamic_cast<cHexPanel*>(gHexPanel); }

cHexPanel::cHexPanel() : cPanel(kPanelId, PanelRect()) {
  for (const sField& field : kFields) {
    AddTextField(this, field.fieldId, u"-", GetText(field.hintKey), field.labelId, GetText(field.labelKey));
  }
  const Rect at = [] {
    Rect xywh;
    if (Failed(CDXUTDialog::GetLayoutRect(kHarbourButton, &xywh))) xywh = Rect{};
    return xywh;
  }();
  AddIcon(kHarbourButton, kHarbourSkin, at.left, at.top, at.right, at.bottom);
  // Off until a selected hex allows a harbour.
  SetControlEnabled(kHarbourButton, false);
}

void cHexPanel::SetField(int id, std::u16string_view text) {
  if (auto* field = static_cast<CDXUTEditBox*>(GetControlOfType(id, kControlEditBox))) field->SetText(text);
}

void cHexPanel::SetHoldsLabel(std::u16string_view text) {
  if (auto* label = static_cast<CDXUTStatic*>(GetControlOfType(kHoldsLabel, kControlStatic))) label->SetText(text);
}

void cHexPanel::Update() {
  const sHex* hex = gGame != nullptr ? gGame->playerControl.selectedHex : nullptr;
  if (hex == nullptr) {
    SetHoldsLabel(u"-");
    for (const sField& field : kFields) SetField(field.fieldId, u"-");
    SetControlEnabled(kHarbourButton, false);
    return;
  }
  ShowHolding(*hex);
  SetField(kController, CountryName(hex->controller));
  SetField(kOwner, CountryName(hex->owner));
  SetField(kFortification, hex->fortLevel == 0 ? std::u16string(u"-") : Format(u"%i", hex->fortLevel));
  if (!hex->IsLand()) {
    SetField(kWeather, u"-");
  } else if (hex->weather >= 0 && hex->weather < static_cast<int>(kWeatherKeys.size())) {
    SetField(kWeather, GetText(kWeatherKeys[static_cast<std::size_t>(hex->weather)]));
  }
  const char* terrainKey = hex->terrain < kTerrainKeys.size() ? kTerrainKeys[hex->terrain]
                                                               : "hex_panel_additional_info_unknown";
  SetField(kTerrain, Format(GetText(terrainKey), static_cast<int>(hex->x), static_cast<int>(hex->y)));
  UpdateHarbourButton(*hex);
}

void cHexPanel::ShowHolding(const sHex& hex) {
  const cCity* city = hex.city;
  if (city == nullptr) {
    if (hex.seaZone != 0) {
      // Every hex of a zone carries its number; only the node's own hexes carry the marker.
      const sWezelGrafuMorz* node = SeaNode(hex.seaZone);
      SetHoldsLabel(GetText("hex_panel_name_sea_zone"));
      SetField(kName, node != nullptr ? node->name : std::u16string(u"-"));
    } else {
      SetHoldsLabel(u"-");
      SetField(kName, u"-");
    }
    SetField(kSupply, u"-");
    SetField(kProduction, u"-");
    SetField(kVictoryPoints, u"-");
    return;
  }
  const int mainSourceSupply = gGame != nullptr ? gGame->constants.FullSupplyLevel() : 0;
  const auto mainSource = [&] { return Format(GetText("hex_panel_supply_main_source"), mainSourceSupply); };
  const auto supplyForController = [&] {
    const std::size_t index = static_cast<std::size_t>(hex.controller) - 1;
    const int forController = hex.controller > 0 && index < city->supplyInfo.size() ? city->supplyInfo[index] : 0;
    return Format(u"%i (%i)", forController, city->supply);
  };
  const auto portName = [&] {
    // A port hex is its node's marker hex.
    const sWezelGrafuMorz* node = SeaNode(hex.seaNodeMarker);
    return Format(GetText("hex_panel_city_name_port"), city->name, node != nullptr ? node->portSize : 0);
  };
  const std::u16string production =
      Format(u"%.1f/%.1f", city->productionPoints, city->productionPoints + static_cast<float>(city->bombedPP));
  switch (city->type) {
    case kCitySupply:
      SetHoldsLabel(GetText("hex_panel_name_city"));
      SetField(kName, city->name);
      SetField(kSupply, mainSource());
      SetField(kProduction, production);
      break;
    case kCityNormal:
      SetHoldsLabel(GetText("hex_panel_name_city"));
      SetField(kName, city->name);
      SetField(kSupply, supplyForController());
      SetField(kProduction, production);
      break;
    case kCitySupplyPort:
      SetHoldsLabel(GetText("hex_panel_name_port"));
      SetField(kName, portName());
      SetField(kSupply, mainSource());
      SetField(kProduction, production);
      break;
    case kCityPort:
      SetHoldsLabel(GetText("hex_panel_name_port"));
      SetField(kName, portName());
      SetField(kSupply, supplyForController());
      SetField(kProduction, production);
      break;
    case kCityResources:
      SetHoldsLabel(GetText("hex_panel_name_resources"));
      SetField(kName, city->name);
      SetField(kSupply, u"-");
      SetField(kProduction, Format(u"%.1f", city->productionPoints));
      break;
    default:
      // A city of another type leaves what the fields showed.
      return;
  }
  SetField(kVictoryPoints, Format(u"%i", city->victoryPoints));
}

const char* HarbourRefusalKey(const sHex& hex, const cCountry& builder) {
  if (!hex.IsLand()) return "hexpanel_mulberry_hint_not_land_hex";
  if (hex.port == 0) return "hexpanel_mulberry_hint_not_coastal_hex";
  if (hex.unit != nullptr) return "hexpanel_mulberry_hint_occupied";
  if (hex.controller == 0) return "hexpanel_mulberry_hint_not_friendly_hex";
  if (hex.controller != builder.id && gGame != nullptr &&
      (gGame->relations.IsAtWar(builder.id, hex.controller) || !builder.IsAlly(hex.controller))) {
    return "hexpanel_mulberry_hint_not_friendly_hex";
  }
  const double cost = gGame != nullptr ? gGame->constants.MulberryValue() : 0.0;
  if (builder.productionPoints < cost) return "hexpanel_mulberry_hint_not_enough_pp";
  return nullptr;
}

void cHexPanel::UpdateHarbourButton(const sHex& hex) {
  auto* button = static_cast<CDXUTIcon*>(GetControlOfType(kHarbourButton, kControlIcon));
  if (button == nullptr) return;
  const cCountry* builder = gGame != nullptr ? gGame->playerControl.currentCountry : nullptr;
  const char* refusal = builder != nullptr ? HarbourRefusalKey(hex, *builder) : "hexpanel_mulberry_hint_not_friendly_hex";
  button->SetEnabled(refusal == nullptr);
  if (refusal == nullptr) {
    button->SetHint(GetText("hexpanel_mulberry_hint"));
  } else if (std::string_view(refusal) == "hexpanel_mulberry_hint_not_enough_pp") {
    button->SetHint(Format(GetText(refusal), static_cast<double>(gGame->constants.MulberryValue())));
  } else {
    button->SetHint(GetText(refusal));
  }
}

bool BuildArtificialHarbour(sHex& hex, cCountry& builder) {
  if (gGame == nullptr || HarbourRefusalKey(hex, builder) != nullptr) return false;
  cGame& game = *gGame;
  if (!RoomForUnit(game, kCategoryLand, u"An artificial harbour")) return false;
  auto harbour = std::make_unique<cMulberry>();
  harbour->SetType(kMulberryType);
  harbour->level = 1;
  const std::u16string* typeName = builder.GetUnitTypeName(kMulberryType);
  std::u16string name = Format(typeName != nullptr ? *typeName : GetUnitTypeName(kMulberryType), RandomDraw() % 90 + 10);
  if (name.size() > kNameLimit) name.resize(kNameLimit);
  harbour->name = std::move(name);
  harbour->owner = hex.controller;
  harbour->x = hex.x;
  harbour->y = hex.y;
  harbour->SetStrength(static_cast<int>(game.constants.MulberryStrength()));
  harbour->remainingTime = static_cast<int>(game.constants.MulberryDuration());
  harbour->SetStartingActionPoints(0);
  harbour->commanderId = -1;
  harbour->SetSupply(game.constants.FullSupplyLevel());
  harbour->ComputeCombatValue();
  harbour->SetSupplySourceX(-1);
  harbour->SetSupplySourceY(-1);
  harbour->SetActionPoints(0);
  hex.unit = harbour.get();
  game.landUnits.push_back(std::move(harbour));
  builder.AddProductionPoints(-static_cast<double>(game.constants.MulberryValue()));
  return true;
}

void cHexPanel::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  if (controlId != kHarbourButton || gGame == nullptr) return;
  sHex* hex = gGame->playerControl.selectedHex;
  cCountry* builder = gGame->playerControl.currentCountry;
  if (hex == nullptr || builder == nullptr) return;
  // The button stays on until the panel is refreshed, and a second press
  // would stack a second harbour on the first and pay again.
  if (!BuildArtificialHarbour(*hex, *builder)) return;
  Update();
}

void cHexPanel::Move(int dx, int dy) { MoveLayoutRange(kPanelId, kLastId, dx, dy); }

}  // namespace tr
