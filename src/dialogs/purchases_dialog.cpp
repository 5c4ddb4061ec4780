#include "dialogs/purchases_dialog.h"

#include <algorithm>
#include <string>

#include "app/counter_draw.h"
#include "app/device_objects.h"
#include "app/sound.h"
#include "dialogs/small_dialog_parts.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/edit_box.h"
#include "gui/image.h"
#include "gui/list_box.h"
#include "gui/resource_cache.h"
#include "gui/static.h"
#include "gui/texture_holder.h"
#include "gui/tab_frame.h"
#include "platform/codes.h"
#include "platform/sprite_batch.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/object_numbers.h"
#include "world/panstwo.h"
#include "world/unit_room.h"

namespace tr {
namespace {

constexpr int kLevels = 5;
// The layout record of the 2 x 2 cells of the shop's pictures in the skin.
constexpr int kPictureCellsRecord = 57;
// consts.csv lines read here.
constexpr int kLandBaseValueLine = 8;  // + level
constexpr int kAirBaseValueLine = 14;
constexpr int kShipHitPointsLine = 73;
constexpr int kLandPriceFactorLine = 79;
constexpr int kAirPriceFactorLine = 81;
constexpr int kLandLevelSurchargeLine = 82;
constexpr int kAirLevelSurchargeLine = 83;
constexpr int kShipPriceLine = 85;
constexpr int kPointPriceBaseLine = 86;
constexpr int kPointPriceStepLine = 87;
constexpr int kDeliveryTimeLine = 154;

const sScenarioConstants& Constants() { return gGame->constants; }

bool IsLandItem(int item) { return item >= kPurchaseFirstLand && item < kPurchaseFirstAir; }
bool IsAirItem(int item) { return item >= kPurchaseFirstAir && item < kPurchaseFirstNaval; }
bool IsNavalItem(int item) { return item >= kPurchaseFirstNaval && item < kPurchaseStrategicMovementPoint; }

// Whether the item adds a unit the game has no room for.
bool UnitItemWithoutRoom(const cGame& game, int item) {
  const int category = IsLandItem(item)  ? kCategoryLand
                       : IsAirItem(item) ? kCategoryAir
                       : IsNavalItem(item) ? kCategoryNaval
                                           : -1;
  return category != -1 && !RoomForUnit(game, category, u"A purchase");
}

int DeliveryTime(int item) { return Constants().Int(kDeliveryTimeLine, 1 + item); }

// The technology a land or air item's levels are limited by.
int LevelTechnology(int item) {
  if (IsAirItem(item)) return kAircraftTech;
  return item == kArmouredDivision || item == kArmouredCorps ? kTanksTech : kArtilleryTech;
}

// The whole-percent surcharge of a level, truncated to whole multiples.
int LevelMultiplier(int surchargePercent, int level) { return 1 + surchargePercent * (level - 1) / 100; }

std::u16string NewUnitName(const cCountry& country, int type) {
  const int number = RandomDraw() % 90 + 10;
  const std::u16string* typeName = country.GetUnitTypeName(type);
  return Format(u"%d %s", number, typeName != nullptr ? *typeName : GetUnitTypeName(type));
}

CDXUTListBox* ListOf(const cDialog& dialog) {
  return static_cast<CDXUTListBox*>(dialog.GetControlOfType(cDialogZakupow::kList, kControlListBox));
}

void SetField(cDialog& dialog, int id, std::u16string_view text) {
  if (auto* field = static_cast<CDXUTEditBox*>(dialog.GetControlOfType(id, kControlEditBox))) field->SetText(text);
}

}  // namespace

cDialogZakupow::cDialogZakupow()
    : cDialog(kDialogId, DialogRecord(kDialogId)), country_(gGame->playerControl.currentCountry) {
  AddDialogTitle(*this, kTitle, GetText("purchase_title"));
  CDXUTTabFrame* tabs = nullptr;
  if (Succeeded(AddTabFrameAt(kTabs, &tabs))) {
    // The tabs show no controls of their own.
    for (const char* key : {"purchase_tab_land_units", "purchase_tab_air_units", "purchase_tab_sea_units",
                            "purchase_tab_others"}) {
      tabs->AddTab(GetText(key), 0, 1, 0);
    }
  }
  AddStaticAt(kItemsLabel, GetText("purchase_items"));
  AddListBoxAt(kList, 0);
  for (int level = 1; level <= kLevels; ++level) {
    const std::string key = "purchase_level" + std::to_string(level);
    AddRadioButtonAt(kFirstLevelButton + level - 1, 1, GetText(key), GetText(key + "_hint"));
  }
  AddTextField(this, kCostField, u"-", GetText("purchase_cost_hint"), kCostLabel, GetText("purchase_cost"));
  AddTextField(this, kAvailableField, u"-", GetText("purchase_available_hint"), kAvailableLabel,
               GetText("purchase_available"));
  Rect picture = DialogRecord(kPicture);
  const int side = picture.bottom;
  AddImage(kPicture, GlobalTextureRecord(kTextureGuiSkin).GetTexture(), Rect{}, picture.left + (picture.right - side) / 2,
           picture.top, side, side);
  AddKeyButton(*this, kBuyButton, "purchase_buy");
  AddKeyButton(*this, kExitButton, "purchase_exit");

  const sScenarioConstants& k = Constants();
  const int landSurcharge = k.Int(kLandLevelSurchargeLine, 1);
  const int airSurcharge = k.Int(kAirLevelSurchargeLine, 1);
  for (int level = 1; level <= kLevels; ++level) {
    const auto l = static_cast<std::size_t>(level - 1);
    for (int t = 0; t < kLandTypeCount; ++t) {
      landPrices_[static_cast<std::size_t>(t)][l] = static_cast<float>(LevelMultiplier(landSurcharge, level)) *
                                                     k.Float(kLandPriceFactorLine, 2 + t) *
                                                     k.Float(kLandBaseValueLine + level, 2 + t);
    }
    for (int a = 0; a < 3; ++a) {
      airPrices_[static_cast<std::size_t>(a)][l] = static_cast<float>(LevelMultiplier(airSurcharge, level)) *
                                                    static_cast<float>(k.Int(kAirBaseValueLine, 1 + a)) *
                                                    k.Float(kAirPriceFactorLine, 2 + a);
    }
  }
  for (int n = 0; n < 4; ++n) navalPrices_[static_cast<std::size_t>(n)] = k.Float(kShipPriceLine, 1 + n);
  if (country_ != nullptr) {
    otherPrices_[0] = static_cast<float>(country_->strategicMovementMax) * k.Float(kPointPriceStepLine, 1) +
                      k.Float(kPointPriceBaseLine, 1);
    // Points owed make the next points no cheaper than the first.
    otherPrices_[1] = static_cast<float>(std::max(country_->GetTotalSeaTransportPoints(), 0) / kSeaTransportLot) *
                          k.Float(kPointPriceStepLine, 2) +
                      k.Float(kPointPriceBaseLine, 2);
    otherPrices_[2] = static_cast<float>(std::max(country_->invasionPointsUsed, 0)) * k.Float(kPointPriceStepLine, 3) +
                      k.Float(kPointPriceBaseLine, 3);
  }
  // Not yet on the stack: the dialog hears its own opening events directly.
  OnGUIEvent(GuiEventTabSelected, kTabs, tabs);
  OnGUIEvent(GuiEventListSelection, kList, ListOf(*this));
}

cDialogZakupow::~cDialogZakupow() = default;

float cDialogZakupow::LandPrice(int type, int level) const {
  if (type < 0 || type >= kLandTypeCount || level < 1 || level > kLevels) return 0.0f;
  return landPrices_[static_cast<std::size_t>(type)][static_cast<std::size_t>(level - 1)];
}

float cDialogZakupow::AirPrice(int type, int level) const {
  const int row = type - kFighter;
  if (row < 0 || row >= 3 || level < 1 || level > kLevels) return 0.0f;
  return airPrices_[static_cast<std::size_t>(row)][static_cast<std::size_t>(level - 1)];
}

void cDialogZakupow::FillList(int tab) {
  CDXUTListBox* list = ListOf(*this);
  if (list == nullptr || country_ == nullptr) return;
  list->RemoveAllItems();
  const auto priceCells = [&](int item, const float* prices) {
    std::u16string cells;
    const int technology = country_->GetTechLevel(LevelTechnology(item));
    for (int level = 1; level <= kLevels; ++level) {
      cells += u';';
      cells += technology >= level ? Format(u"%.2f", static_cast<double>(prices[level - 1])) : u"-";
    }
    return cells;
  };
  switch (tab) {
    case kLandTab:
      list->SetColumns(7, GetText("purchase_list_land_columns"), 40, 10, 10, 10, 10, 10, 10);
      for (int item = kPurchaseFirstLand; item < kPurchaseFirstAir; ++item) {
        list->AddItem(Format(u"%s;%i", GetUnitTypeName(item), DeliveryTime(item)) +
                          priceCells(item, landPrices_[static_cast<std::size_t>(item)].data()),
                      static_cast<std::uint32_t>(item));
      }
      break;
    case kAirTab:
      list->SetColumns(7, GetText("purchase_list_air_columns"), 40, 10, 10, 10, 10, 10, 10);
      for (int item = kPurchaseFirstAir; item < kPurchaseFirstNaval; ++item) {
        list->AddItem(Format(u"%s;%i", GetUnitTypeName(item + 13), DeliveryTime(item)) +
                          priceCells(item, airPrices_[static_cast<std::size_t>(item - kPurchaseFirstAir)].data()),
                      static_cast<std::uint32_t>(item));
      }
      break;
    case kSeaTab:
      list->SetColumns(3, GetText("purchase_list_naval_columns"), 40, 10, 10);
      for (int item = kPurchaseFirstNaval; item < kPurchaseStrategicMovementPoint; ++item) {
        list->AddItem(Format(u"%s;%i;%.2f", GetUnitTypeName(item + 30), DeliveryTime(item),
                             static_cast<double>(navalPrices_[static_cast<std::size_t>(item - kPurchaseFirstNaval)])),
                      static_cast<std::uint32_t>(item));
      }
      break;
    default: {
      list->SetColumns(2, GetText("purchase_list_others_columns"), 40, 10);
      const char* keys[] = {"strat_mov_pts", "sea_trans_pts", "amph_pts"};
      for (int i = 0; i < 3; ++i) {
        list->AddItem(Format(u"%s;%.2f", GetText(keys[i]), static_cast<double>(otherPrices_[static_cast<std::size_t>(i)])),
                      static_cast<std::uint32_t>(kPurchaseStrategicMovementPoint + i));
      }
      break;
    }
  }
  list->SelectItem(0, false);
  OnGUIEvent(GuiEventListSelection, kList, list);
}

void cDialogZakupow::SetLevelButtons(int maxLevel) {
  const int entryLevel = level_;
  for (int i = 1; i <= kLevels; ++i) {
    auto* button = static_cast<CDXUTRadioButton*>(GetControlOfType(kFirstLevelButton + i - 1, kControlRadioButton));
    if (button == nullptr) continue;
    button->SetVisible(maxLevel != -1);
    button->SetEnabled(i <= maxLevel);
    if (i <= entryLevel && i <= maxLevel) {
      button->SetCheckedState(true, true, false, false);
      level_ = i;
    }
  }
}

void cDialogZakupow::BuildLandTemplate() {
  const int type = item_;
  landTemplate_ = std::make_unique<cJednostkaLadowa>();
  cJednostkaLadowa& unit = *landTemplate_;
  unit.owner = country_->id;
  unit.SetName(NewUnitName(*country_, type));
  unit.x = -1;
  unit.y = -1;
  unit.SetType(type);
  unit.level = level_;
  unit.SetStrength(100);
  unit.SetActionPoints(0);
  unit.attacked = 0;
  unit.wasAttacked = 0;
  unit.SetSupplySourceX(-1);
  unit.SetSupplySourceY(-1);
  unit.SetStartingActionPoints(0);
  unit.SetCommander(nullptr);
  unit.shoreBombardmentEffect = 0.0f;
  unit.inReserve = 1;
  unit.transporter = nullptr;
  unit.transporterId = -1;
  unit.freezeTime = 0;
  unit.aiOrder = 0;
  unit.aiTargetX = unit.aiTargetY = unit.aiUltimateTargetX = unit.aiUltimateTargetY = -1;
  unit.spotted = 1;
  unit.movedThisTurn = 1;
  unit.SetSupply(Constants().FullSupplyLevel());
  unit.ComputeCombatValue();
  unit.availableInTurns = DeliveryTime(item_);
}

void cDialogZakupow::BuildAirTemplate() {
  const int type = item_ + 13;
  airTemplate_ = std::make_unique<cJednostkaLotnicza>();
  cJednostkaLotnicza& unit = *airTemplate_;
  unit.owner = country_->id;
  unit.SetName(NewUnitName(*country_, type));
  unit.x = -1;
  unit.y = -1;
  unit.SetType(type);
  unit.level = level_;
  unit.strength = Constants().Int(kAirBaseValueLine, item_ - 6);
  unit.attacked = 0;
  unit.wasAttacked = 0;
  unit.SetSupplySourceX(-1);
  unit.SetSupplySourceY(-1);
  unit.SetActionPoints(0);
  unit.SetStartingActionPoints(0);
  unit.inReserve = 1;
  unit.spotted = 1;
  unit.SetSupply(Constants().FullSupplyLevel());
  unit.ComputeCombatValue();
  unit.availableInTurns = DeliveryTime(item_);
  unit.SetCommander(nullptr);
}

void cDialogZakupow::BuildNavalTemplate() {
  const int type = item_ + 30;
  navalTemplate_ = std::make_unique<cJednostkaMorska>();
  cJednostkaMorska& ship = *navalTemplate_;
  ship.hitPoints = ship.maxHitPoints = Constants().Int(kShipHitPointsLine, item_ - 9);
  ship.owner = country_->id;
  ship.SetName(NewUnitName(*country_, type));
  ship.SetType(type);
  ship.inReserve = 1;
  ship.shoreBombardmentDone = 0;
  ship.airstrikeDone = 0;
  ship.reconDone = 0;
  ship.canBeRepaired = 1;
  ship.availableInTurns = DeliveryTime(item_);
  ship.SetCommander(nullptr);
}

void cDialogZakupow::Refresh() {
  if (country_ == nullptr || item_ < 0) return;
  bool levelAllowed = true;
  if (IsLandItem(item_) || IsAirItem(item_)) {
    const int technology = country_->GetTechLevel(LevelTechnology(item_));
    SetLevelButtons(technology);
    // A level the technology does not reach (possible only at technology 0 or below) is not sold.
    levelAllowed = level_ <= technology;
    if (IsLandItem(item_)) {
      BuildLandTemplate();
      price_ = landPrices_[static_cast<std::size_t>(item_)][static_cast<std::size_t>(level_ - 1)];
    } else {
      BuildAirTemplate();
      price_ = airPrices_[static_cast<std::size_t>(item_ - kPurchaseFirstAir)][static_cast<std::size_t>(level_ - 1)];
    }
  } else if (IsNavalItem(item_)) {
    SetLevelButtons(-1);
    BuildNavalTemplate();
    price_ = navalPrices_[static_cast<std::size_t>(item_ - kPurchaseFirstNaval)];
  } else {
    SetLevelButtons(-1);
    price_ = otherPrices_[static_cast<std::size_t>(item_ - kPurchaseStrategicMovementPoint)];
  }

  Rect cell = DialogRecord(kPictureCellsRecord);
  const int w = cell.right;
  const int h = cell.bottom;
  int left = cell.left;
  int top = cell.top;
  if (item_ == kPurchaseStrategicMovementPoint) {
    left += w;
  } else if (item_ == kPurchaseSeaTransportPoints) {
    left += w;
    top += h;
  } else if (item_ == kPurchaseInvasionPoint) {
    top += h;
  }
  if (auto* picture = static_cast<CDXUTImage*>(GetControlOfType(kPicture, kControlImage))) {
    picture->SetSourceRect(Rect{left, top, left + w, top + h});
  }
  const std::u16string format = GetText("%.2f_pp");
  SetField(*this, kCostField, Format(format, static_cast<double>(price_)));
  SetField(*this, kAvailableField, Format(format, country_->productionPoints));
  SetControlEnabled(kBuyButton, levelAllowed && static_cast<double>(price_) <= country_->productionPoints &&
                                    !UnitItemWithoutRoom(*gGame, item_));
}

void cDialogZakupow::Buy() {
  if (country_ == nullptr || item_ < 0) return;
  cGame& game = *gGame;
  if (UnitItemWithoutRoom(game, item_)) return;
  {
    GameLockGuard lock(__FILE__, __LINE__);
    if (IsLandItem(item_) && landTemplate_) {
      landTemplate_->id = NewLandUnitNumber(game);
      auto unit = std::make_unique<cJednostkaLadowa>(*landTemplate_);
      unit->SetSupply(Constants().FullSupplyLevel());
      unit->ComputeCombatValue();
      game.reservePool.push_back(std::move(unit));
    } else if (IsAirItem(item_) && airTemplate_) {
      airTemplate_->id = NewAirUnitNumber(game);
      auto unit = std::make_unique<cJednostkaLotnicza>(*airTemplate_);
      unit->SetSupply(Constants().FullSupplyLevel());
      unit->ComputeCombatValue();
      game.reservePool.push_back(std::move(unit));
    } else if (IsNavalItem(item_) && navalTemplate_) {
      navalTemplate_->id = NewShipNumber(game);
      game.navalReserve.push_back(std::make_unique<cJednostkaMorska>(*navalTemplate_));
    } else if (item_ == kPurchaseStrategicMovementPoint) {
      ++country_->strategicMovementMax;
      country_->AddStrategicMovementPoints(1);
    } else if (item_ == kPurchaseSeaTransportPoints) {
      country_->AddSeaTransportPoints(kSeaTransportLot);
    } else if (item_ == kPurchaseInvasionPoint) {
      ++country_->invasionPointsUsed;
      country_->AddInvasionPoints(1);
    }
    country_->AddProductionPoints(-static_cast<double>(price_));
  }
  if (GetSoundEffect(kSoundBuying) != nullptr) {
    StopSoundSlot(kSoundBuying);
    PlaySoundSlot(kSoundBuying);
  }
  Refresh();
}

void cDialogZakupow::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  switch (controlId) {
    case kTabs:
      if (auto* tabs = static_cast<CDXUTTabFrame*>(GetControlOfType(kTabs, kControlTabFrame))) {
        FillList(tabs->GetSelectedTab());
      }
      return;
    case kList: {
      CDXUTListBox* list = ListOf(*this);
      if (list == nullptr || list->GetSize() == 0) return;
      int row = list->GetSelectedIndex();
      if (row < 0) {
        row = 0;
        list->SelectItem(0, false);
      }
      item_ = static_cast<int>(list->GetItem(row)->data);
      Refresh();
      return;
    }
    case kBuyButton:
      Buy();
      return;
    case kExitButton:
      CloseAnsweredDialog(this, serial());
      return;
    default:
      if (controlId >= kFirstLevelButton && controlId < kFirstLevelButton + kLevels) {
        level_ = controlId - kFirstLevelButton + 1;
        Refresh();
      }
      return;
  }
}

void cDialogZakupow::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (!down) return;
  EnableNonUserEvents(true);
  auto* tabs = static_cast<CDXUTTabFrame*>(GetControlOfType(kTabs, kControlTabFrame));
  CDXUTListBox* list = ListOf(*this);
  if (key == VK_RETURN) {
    if (GetControlEnabled(kBuyButton)) SendEvent(GuiEventButtonClicked, false, GetControl(kBuyButton));
  } else if (key == VK_ESCAPE) {
    SendEvent(GuiEventButtonClicked, false, GetControl(kExitButton));
    // The dialog is gone.
    return;
  } else if ((key == VK_LEFT || key == VK_RIGHT) && tabs != nullptr) {
    const int tab = tabs->GetSelectedTab() + (key == VK_LEFT ? -1 : 1);
    tabs->SelectTab(std::max(tab, 0), true);
  } else if ((key == VK_UP || key == VK_DOWN) && list != nullptr && list->GetSize() > 0) {
    const int row = list->GetSelectedIndex() + (key == VK_UP ? -1 : 1);
    list->SelectItem(std::clamp(row, 0, list->GetSize() - 1), true);
  } else {
    int digit = 0;
    if (key >= '1' && key <= '5') digit = static_cast<int>(key - '0');
    if (key >= VK_NUMPAD0 + 1 && key <= VK_NUMPAD0 + 5) digit = static_cast<int>(key - VK_NUMPAD0);
    auto* button = digit > 0 ? static_cast<CDXUTRadioButton*>(
                                   GetControlOfType(kFirstLevelButton + digit - 1, kControlRadioButton))
                             : nullptr;
    if (button != nullptr && button->GetEnabled()) button->SetCheckedState(true, true, false, true);
  }
  EnableNonUserEvents(false);
}

void cDialogZakupow::Render(float elapsed) {
  cDialog::Render(elapsed);
  if (!GetVisible() || item_ < 0 || item_ >= kPurchaseStrategicMovementPoint) return;
  SpriteBatch* sprite = GetGuiResourceCache().sprite();
  const CDXUTControl* picture = GetControl(kPicture);
  if (sprite == nullptr || picture == nullptr) return;
  const Rect box = ToScreen(picture->GetBoundingBox());
  const int side = box.bottom - box.top;
  sUnitRect target;
  target.left = static_cast<float>(box.left + 15);
  target.top = static_cast<float>(box.top + 15);
  target.right = target.left + static_cast<float>(side - 30);
  target.bottom = static_cast<float>(box.bottom - 15);
  const bool begun = sprite->begun();
  if (!begun) sprite->Begin(kSpriteAlphaBlend);
  const int own = country_ != nullptr ? country_->id : 0;
  if (IsLandItem(item_) && landTemplate_) {
    DrawUnitIcon(*sprite, *landTemplate_, target, own);
  } else if (IsAirItem(item_) && airTemplate_) {
    DrawUnitIcon(*sprite, *airTemplate_, target, own);
  } else if (navalTemplate_) {
    DrawNavalCounterInDialog(*sprite, *navalTemplate_, target);
  }
  if (!begun) sprite->End();
}

}  // namespace tr
