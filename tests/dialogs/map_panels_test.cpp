// The hex and attack panels: what the hex panel shows of cities, resources,
// sea zones and other hexes, when it offers the artificial harbour and what building
// one does; what the attack panel shows of a plan; how both move with their
// toggle icons; and that every text they and the combat result show exists
// in English.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "dialogs/attack_panel.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/hex_panel.h"
#include "foundation/format.h"
#include "foundation/gui_layout.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "gui/edit_box.h"
#include "gui/image.h"
#include "gui/memo.h"
#include "gui/static.h"
#include "support/english_texts.h"
#include "support/screen_fixture.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"
#include "units/attack.h"
#include "units/combat_result.h"
#include "world/city.h"

namespace tr {
namespace {

class MapPanelsTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    world_ = std::make_unique<test::TestWorld>(6, 6, 3);
    game().playerControl.currentCountry = &world_->country(1);
    hexPanel_ = new cHexPanel();
    attackPanel_ = new cAttackPanel();
    gHexPanel = hexPanel_;
    gAttackPanel = attackPanel_;
  }
  void TearDown() override {
    game().playerControl.DropAttack();
    DestroyGamePanels();
    world_.reset();
    ScreenFixture::TearDown();
  }
  cGame& game() { return world_->game(); }
  cCountry& country(int id) { return world_->country(id); }
  sHex& hex(int x, int y) { return world_->hex(x, y); }
  void Constant(int slot, double value) { game().constants.SetSlot(slot, value); }

  static std::u16string Field(cDialog& panel, int id) {
    auto* field = static_cast<CDXUTEditBox*>(panel.GetControlOfType(id, kControlEditBox));
    return field != nullptr ? field->GetText() : u"<none>";
  }
  static std::u16string Hint(cDialog& panel, int id) {
    CDXUTControl* control = panel.GetControl(id);
    return control != nullptr ? control->GetHint() : u"<none>";
  }
  void Select(int x, int y) {
    game().playerControl.selectedHex = &hex(x, y);
    hexPanel_->Update();
  }
  cCity& City(int x, int y, int type) {
    auto city = std::make_unique<cCity>();
    city->x = x;
    city->y = y;
    city->type = type;
    city->name = u"Brenn";
    hex(x, y).city = city.get();
    game().cities.push_back(std::move(city));
    return *game().cities.back();
  }
  bool HarbourOn() { return hexPanel_->GetControl(cHexPanel::kHarbourButton)->GetEnabled(); }

  std::unique_ptr<test::TestWorld> world_;
  cHexPanel* hexPanel_ = nullptr;
  cAttackPanel* attackPanel_ = nullptr;
};

TEST_F(MapPanelsTest, WithoutASelectedHexEveryFieldIsADashAndTheHarbourOff) {
  Select(2, 2);
  game().playerControl.selectedHex = nullptr;
  hexPanel_->Update();
  for (int id = 403; id <= 419; id += 2) EXPECT_EQ(Field(*hexPanel_, id), u"-") << id;
  EXPECT_EQ(static_cast<CDXUTStatic*>(hexPanel_->GetControl(cHexPanel::kHoldsLabel))->GetText(), u"-");
  EXPECT_FALSE(HarbourOn());
}

TEST_F(MapPanelsTest, ResourcesShowNoSupplyAndOneProductionNumber) {
  cCity& city = City(2, 2, kCityResources);
  city.productionPoints = 4.0f;
  city.victoryPoints = 2;
  Select(2, 2);
  EXPECT_EQ(Field(*hexPanel_, cHexPanel::kSupply), u"-");
  EXPECT_EQ(Field(*hexPanel_, cHexPanel::kProduction), u"4.0");
  EXPECT_EQ(Field(*hexPanel_, cHexPanel::kVictoryPoints), u"2");
  EXPECT_EQ(Field(*hexPanel_, cHexPanel::kName), u"Brenn");
}

TEST_F(MapPanelsTest, ACityShowsItsControllersSupplyThenItsOwn) {
  cCity& city = City(2, 2, kCityNormal);
  city.supply = 5;
  city.supplyInfo = {1, 2, 7};
  city.productionPoints = 3.0f;
  city.bombedPP = 2;
  hex(2, 2).controller = 3;
  Select(2, 2);
  EXPECT_EQ(Field(*hexPanel_, cHexPanel::kSupply), u"7 (5)");
  // Before the first supply count a city has no figure per country.
  std::vector<std::int32_t>().swap(city.supplyInfo);
  hex(2, 2).controller = 1;
  Select(2, 2);
  EXPECT_EQ(Field(*hexPanel_, cHexPanel::kSupply), u"0 (5)");
  city.supplyInfo = {1, 2, 7};
  hex(2, 2).controller = 3;
  Select(2, 2);
  EXPECT_EQ(Field(*hexPanel_, cHexPanel::kProduction), u"3.0/5.0");
  EXPECT_EQ(Field(*hexPanel_, cHexPanel::kController), country(3).name);
  EXPECT_EQ(static_cast<CDXUTStatic*>(hexPanel_->GetControl(cHexPanel::kHoldsLabel))->GetText(),
            u"hex_panel_name_city");
}

// What a hex without a city shows, by the kind of hex: the zone's name comes
// from the zone number every sea and coastal hex carries (the node's marker
// stands on its own hexes only), the weather of land only, the terrain by
// its key, the fortification when it has one.
struct sHexShown {
  const char* name;
  std::uint8_t terrain;
  std::uint16_t seaZone;
  int weather;
  int fortLevel;
  std::u16string holds;
  std::u16string zone;
  std::u16string weatherText;
  std::u16string terrainText;
  std::u16string fortification;
};

void PrintTo(const sHexShown& shown, std::ostream* out) { *out << shown.name; }

class HexKinds : public MapPanelsTest, public testing::WithParamInterface<sHexShown> {};

TEST_P(HexKinds, ShowWhatTheHexIs) {
  const sHexShown& c = GetParam();
  sWezelGrafuMorz node;
  node.id = 1;
  node.type = kSeaNodeOpenSea;
  node.name = u"North Reach";
  node.x = 5;
  node.y = 1;
  game().seaGraph.nodes.push_back(node);
  hex(5, 1).seaNodeMarker = 1;
  // The field a weather state outside the three keeps shows what it showed.
  hex(0, 0).weather = 1;
  Select(0, 0);
  sHex& shown = hex(3, 2);
  shown.terrain = c.terrain;
  shown.seaZone = c.seaZone;
  shown.weather = c.weather;
  shown.fortLevel = static_cast<std::uint8_t>(c.fortLevel);
  shown.controller = 2;
  shown.owner = 3;
  Select(3, 2);
  EXPECT_EQ(static_cast<CDXUTStatic*>(hexPanel_->GetControl(cHexPanel::kHoldsLabel))->GetText(), c.holds);
  EXPECT_EQ(Field(*hexPanel_, cHexPanel::kName), c.zone);
  for (int id : {cHexPanel::kSupply, cHexPanel::kProduction, cHexPanel::kVictoryPoints}) {
    EXPECT_EQ(Field(*hexPanel_, id), u"-") << id;
  }
  EXPECT_EQ(Field(*hexPanel_, cHexPanel::kWeather), c.weatherText);
  EXPECT_EQ(Field(*hexPanel_, cHexPanel::kTerrain), c.terrainText);
  EXPECT_EQ(Field(*hexPanel_, cHexPanel::kFortification), c.fortification);
  EXPECT_EQ(Field(*hexPanel_, cHexPanel::kController), country(2).name);
  EXPECT_EQ(Field(*hexPanel_, cHexPanel::kOwner), country(3).name);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, HexKinds,
    testing::Values(
        sHexShown{"OpenSea", kTerrainWater, 1, 1, 0, u"hex_panel_name_sea_zone", u"North Reach", u"-",
                  u"hex_panel_additional_info_water", u"-"},
        sHexShown{"CoastalPlain", 1, 1, 0, 2, u"hex_panel_name_sea_zone", u"North Reach", u"weather_good",
                  u"hex_panel_additional_info_plain", u"2"},
        sHexShown{"ZoneWithoutNode", 5, 7, 2, 0, u"hex_panel_name_sea_zone", u"-", u"weather_mud",
                  u"hex_panel_additional_info_hill", u"-"},
        sHexShown{"InlandForest", 2, 0, 2, 5, u"-", u"-", u"weather_mud", u"hex_panel_additional_info_forest", u"5"},
        sHexShown{"MountainInSnow", 6, 0, 1, 0, u"-", u"-", u"weather_snow", u"hex_panel_additional_info_mountain",
                  u"-"},
        sHexShown{"UnknownTerrainOddWeather", 9, 0, 3, 1, u"-", u"-", u"weather_snow",
                  u"hex_panel_additional_info_unknown", u"1"}),
    [](const testing::TestParamInfo<sHexShown>& info) { return std::string(info.param.name); });

class HarbourTest : public MapPanelsTest {
 protected:
  void SetUp() override {
    MapPanelsTest::SetUp();
    Constant(consts_layout::kMulberryValue, 20.0);
    Constant(consts_layout::kFullSupplyLevel, 10.0);
    country(1).alliance = kAllies;
    country(2).alliance = kAllies;
    hex(3, 3).port = 1;
    hex(3, 3).controller = 2;
    country(1).productionPoints = 50.0;
  }
};

TEST_F(HarbourTest, AnAlliedCoastalHexOffersTheHarbourWhenThePointsSuffice) {
  Select(3, 3);
  EXPECT_TRUE(HarbourOn());
  EXPECT_EQ(Hint(*hexPanel_, cHexPanel::kHarbourButton), u"hexpanel_mulberry_hint");
  country(1).productionPoints = 19.0;
  StringBase().SetText("hexpanel_mulberry_hint_not_enough_pp", u"Costs %.0f PP");
  Select(3, 3);
  StringBase().SetText("hexpanel_mulberry_hint_not_enough_pp", u"hexpanel_mulberry_hint_not_enough_pp");
  EXPECT_FALSE(HarbourOn());
  EXPECT_EQ(Hint(*hexPanel_, cHexPanel::kHarbourButton), u"Costs 20 PP");
}

struct RefusalCase {
  const char* name;
  void (*change)(test::TestWorld&);
  const char* key;
};
class HarbourRefusal : public HarbourTest, public testing::WithParamInterface<RefusalCase> {};

TEST_P(HarbourRefusal, NamesTheFirstReason) {
  GetParam().change(*world_);
  Select(3, 3);
  EXPECT_FALSE(HarbourOn());
  const std::string key = GetParam().key;
  EXPECT_EQ(Hint(*hexPanel_, cHexPanel::kHarbourButton), std::u16string(key.begin(), key.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, HarbourRefusal,
    testing::Values(
        RefusalCase{"Sea", [](test::TestWorld& w) { w.hex(3, 3).terrain = kTerrainWater; },
                    "hexpanel_mulberry_hint_not_land_hex"},
        RefusalCase{"Inland", [](test::TestWorld& w) { w.hex(3, 3).port = 0; }, "hexpanel_mulberry_hint_not_coastal_hex"},
        RefusalCase{"Occupied", [](test::TestWorld& w) { w.PlaceLandUnit(2, 3, 3); }, "hexpanel_mulberry_hint_occupied"},
        RefusalCase{"NoController", [](test::TestWorld& w) { w.hex(3, 3).controller = 0; },
                    "hexpanel_mulberry_hint_not_friendly_hex"},
        RefusalCase{"NotAnAlly", [](test::TestWorld& w) { w.country(2).alliance = kAxis; },
                    "hexpanel_mulberry_hint_not_friendly_hex"},
        RefusalCase{"AtWar",
                    [](test::TestWorld& w) {
                      w.game().relations.SetWar(1, 2, true);
                      w.game().relations.SetWar(2, 1, true);
                    },
                    "hexpanel_mulberry_hint_not_friendly_hex"}),
    [](const auto& info) { return info.param.name; });

TEST_F(HarbourTest, TheHarbourGoesToTheControllerTheBuilderPaysAndASecondPressBuildsNothing) {
  Select(3, 3);
  ASSERT_TRUE(HarbourOn());
  const std::size_t units = game().landUnits.size();
  hexPanel_->OnGUIEvent(0x101, cHexPanel::kHarbourButton, hexPanel_->GetControl(cHexPanel::kHarbourButton));
  ASSERT_EQ(game().landUnits.size(), units + 1);
  const cJednostkaLadowa& harbour = *game().landUnits.back();
  EXPECT_EQ(harbour.type, kMulberryType);
  EXPECT_EQ(harbour.owner, 2);
  EXPECT_EQ(hex(3, 3).unit, &harbour);
  EXPECT_EQ(harbour.supply, 10);
  EXPECT_DOUBLE_EQ(country(1).productionPoints, 30.0);
  // The panel was refreshed: the hex is occupied now.
  EXPECT_FALSE(HarbourOn());
  hexPanel_->OnGUIEvent(0x101, cHexPanel::kHarbourButton, hexPanel_->GetControl(cHexPanel::kHarbourButton));
  EXPECT_EQ(game().landUnits.size(), units + 1);
  EXPECT_DOUBLE_EQ(country(1).productionPoints, 30.0);
}

class AttackPanelTest : public MapPanelsTest {
 protected:
  void SetUp() override {
    MapPanelsTest::SetUp();
    defender_ = &world_->PlaceLandUnit(2, 3, 3);
    defender_->name = u"Guard";
  }
  // Attackers on the given sides of (3, 3).
  void Plan(std::initializer_list<int> sides) {
    sAttack attack;
    attack.defender = defender_;
    attack.targetX = 3;
    attack.targetY = 3;
    for (int side : sides) {
      const sPoint at = NeighbourOf(3, 3, side);
      cJednostkaLadowa& unit = world_->PlaceLandUnit(1, at.x, at.y);
      unit.name = side == 1 ? u"North" : u"South";
      attack.SetAttacker(side, &unit);
    }
    game().playerControl.BeginAttack(attack);
    attackPanel_->Update();
  }
  sPoint NeighbourOf(int x, int y, int side) {
    for (int nx = x - 1; nx <= x + 1; ++nx) {
      for (int ny = y - 1; ny <= y + 1; ++ny) {
        if (game().map->GetDirectionTo(x, y, nx, ny) == side + 1) return {nx, ny};
      }
    }
    ADD_FAILURE() << "no neighbour on side " << side;
    return {0, 0};
  }
  std::u16string Names() {
    return static_cast<CDXUTMemo*>(attackPanel_->GetControl(cAttackPanel::kAttackerNames))->GetText();
  }
  bool FlagShown(int id) { return attackPanel_->GetControl(id)->GetVisible(); }

  cJednostkaLadowa* defender_ = nullptr;
};

TEST_F(AttackPanelTest, NoPlanShowsDashesAndNoFlags) {
  attackPanel_->Update();
  EXPECT_EQ(attackPanel_->shownAttack(), nullptr);
  EXPECT_EQ(Names(), u"");
  EXPECT_EQ(Field(*attackPanel_, cAttackPanel::kDefenderName), u"");
  for (int id : {467, 469, 471, 457, 459, 461, 473}) EXPECT_EQ(Field(*attackPanel_, id), u"-") << id;
  EXPECT_FALSE(FlagShown(cAttackPanel::kAttackerFlag));
  EXPECT_FALSE(FlagShown(cAttackPanel::kDefenderFlag));
  // Each value field has its own caption beside it.
  const std::pair<int, const char*> captions[] = {
      {466, "attack_panel_att_strength"}, {468, "attack_panel_att_mod"}, {470, "attack_panel_att_effective_strength"},
      {456, "attack_panel_def_strength"}, {458, "attack_panel_def_mod"}, {460, "attack_panel_def_effective_strength"}};
  for (const auto& [id, key] : captions) {
    const auto* caption = static_cast<const CDXUTStatic*>(attackPanel_->GetControlOfType(id, kControlStatic));
    ASSERT_NE(caption, nullptr) << id;
    EXPECT_EQ(caption->GetText(), GetText(key)) << id;
  }
}

TEST_F(AttackPanelTest, AttackersListInSideOrderWithTheirModifier) {
  Constant(consts_layout::kDirectionsFactor + 1, 1.25);  // two sides
  Plan({4, 1});
  EXPECT_EQ(Names(), u"North,\nSouth");
  EXPECT_EQ(Field(*attackPanel_, cAttackPanel::kAttackModifier), u"125%");
  // The attackers' strength replaces the dash of the empty plan.
  const float strength = attackPanel_->shownAttack()->GetAttackersEffectiveStrength();
  EXPECT_EQ(Field(*attackPanel_, cAttackPanel::kAttackerStrength), Format(u"%.2f", strength));
  EXPECT_EQ(Field(*attackPanel_, cAttackPanel::kAttack), Format(u"%.2f", strength * 1.25f));
  EXPECT_TRUE(FlagShown(cAttackPanel::kAttackerFlag));
  EXPECT_EQ(Hint(*attackPanel_, cAttackPanel::kAttackerFlag), country(1).name);
  EXPECT_EQ(Field(*attackPanel_, cAttackPanel::kDefenderName), u"Guard");
  EXPECT_TRUE(FlagShown(cAttackPanel::kDefenderFlag));
  EXPECT_NE(Field(*attackPanel_, cAttackPanel::kOdds), u"-");
}

TEST_F(AttackPanelTest, TheModifiersHintNamesTheFortification) {
  Constant(consts_layout::kDirectionsFactor, 1.0);
  Constant(consts_layout::kFortAttackPercent, 10.0);
  hex(3, 3).fortLevel = 1;
  Plan({1});
  EXPECT_EQ(Hint(*attackPanel_, cAttackPanel::kAttackModifier),
            u"Armour: 100%\nDirections: 100%\nWeather: 100%\nFortification: 90%");
}

TEST_F(AttackPanelTest, ADefenderAloneHasNoOdds) {
  Plan({});
  EXPECT_EQ(Field(*attackPanel_, cAttackPanel::kDefenderName), u"Guard");
  EXPECT_EQ(Field(*attackPanel_, cAttackPanel::kOdds), u"-");
  EXPECT_EQ(Field(*attackPanel_, cAttackPanel::kAttackerStrength), u"-");
}

TEST_F(MapPanelsTest, DraggingAToggleMovesItsPanelsRecordsAndControls) {
  const sGuiLayoutEntry hexBefore = sGuiLayoutTable[420];  // no control has this id
  const int fieldX = hexPanel_->GetControl(cHexPanel::kName)->x();
  const int attackX = attackPanel_->GetControl(cAttackPanel::kOdds)->x();
  MovePanelOfToggle(400, 10, -4);
  EXPECT_EQ(sGuiLayoutTable[420].x, hexBefore.x + 10);
  EXPECT_EQ(sGuiLayoutTable[420].y, hexBefore.y - 4);
  EXPECT_EQ(hexPanel_->GetControl(cHexPanel::kName)->x(), fieldX + 10);
  EXPECT_EQ(attackPanel_->GetControl(cAttackPanel::kOdds)->x(), attackX);
  MovePanelOfToggle(450, -3, 0);
  EXPECT_EQ(attackPanel_->GetControl(cAttackPanel::kOdds)->x(), attackX - 3);
}

// The test's string base answers every key with itself, so whatever looks
// like a key on these screens was looked up, and must have an English text.
TEST_F(MapPanelsTest, EveryTextTheyShowHasAnEnglishText) {
  const std::set<std::string> english = test::EnglishTextKeys();
  std::set<std::string> shown;
  const auto collect = [&](cDialog& dialog) {
    for (const auto& control : dialog.Controls()) {
      shown.insert(Utf16ToUtf8(control->GetHint()));
      if (auto* text = dynamic_cast<CDXUTStatic*>(control.get())) shown.insert(Utf16ToUtf8(text->GetText()));
      if (auto* field = dynamic_cast<CDXUTEditBox*>(control.get())) shown.insert(Utf16ToUtf8(field->GetText()));
    }
  };
  City(1, 1, kCitySupplyPort);
  City(1, 2, kCityNormal);
  City(1, 3, kCityResources);
  City(1, 4, kCitySupply);
  for (int terrain = 0; terrain <= 8; ++terrain) {
    for (int weather = 0; weather <= 2; ++weather) {
      hex(2, 2).terrain = static_cast<std::uint8_t>(terrain);
      hex(2, 2).weather = weather;
      hex(2, 2).port = static_cast<std::uint8_t>(weather);
      hex(2, 2).seaZone = static_cast<std::uint16_t>(weather);
      hex(2, 2).controller = static_cast<std::uint8_t>(weather == 2 ? 1 : 0);
      Select(2, 2);
      collect(*hexPanel_);
    }
  }
  for (int y = 1; y <= 4; ++y) {
    Select(1, y);
    collect(*hexPanel_);
  }
  collect(*attackPanel_);
  for (int kind = -1; kind <= 10; ++kind) {
    sCombatResult result;
    result.kind = kind;
    result.defenderCountry = 2;
    result.flags.fill(1);
    auto* dialog = new cDialogWynikuWalki(result, 1000.0f);
    PushModalDialog(dialog);
    dialog->TogglePause();
    collect(*dialog);
    PopModalDialogs(1);
  }
  const std::regex key("[a-z][a-z0-9_.]*_[a-z0-9_.]*");
  int keys = 0;
  for (const std::string& text : shown) {
    if (!std::regex_match(text, key)) continue;
    ++keys;
    EXPECT_TRUE(english.contains(text)) << text;
  }
  EXPECT_GT(keys, 60);
}

}  // namespace
}  // namespace tr
