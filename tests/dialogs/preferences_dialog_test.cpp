// The preferences dialog: the offered window sizes, the labels and stored
// values of its sliders, the named border colours, the end-of-turn question,
// and that "Settings.ini" is written only by OK.
#include "dialogs/preferences_dialog.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/input_routing.h"
#include "app/mainmenu.h"
#include "app/menu.h"
#include "app/modal_stack.h"
#include "foundation/format.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "gui/check_box.h"
#include "gui/hint_box.h"
#include "gui/image.h"
#include "gui/combo_box.h"
#include "gui/list_box.h"
#include "gui/slider.h"
#include "gui/static.h"
#include "gui/tab_frame.h"
#include "support/screen_fixture.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

// Every setting the dialog changes, put back after each test.
struct SettingsSnapshot {
  cIniFile ini = SettingsIni();
  std::array<float, kDelayCount> delays = gDelays;
  float sfx = gSfxVolume, music = gMusicVolume;
  int seaBattle = gSeaBattleTimeout, fog = gFogOfWar, frameTime = gMinFrameTime;
  std::uint32_t border = gBorderColor;
  bool dontConfirm = DontConfirmEndTurn, grid = gShowGrid, weather = gShowWeather, cities = gShowCityNames,
       zones = gShowSeaZoneNames, ap = gShowAPLeft, names = gShowUnitNames, dynamic = gDynamicUnitAppearance,
       allies = gShowAlliesActions;
  void Restore() const {
    SettingsIni() = ini;
    gDelays = delays;
    gSfxVolume = sfx;
    gMusicVolume = music;
    gSeaBattleTimeout = seaBattle;
    gFogOfWar = fog;
    gMinFrameTime = frameTime;
    gBorderColor = border;
    DontConfirmEndTurn = dontConfirm;
    gShowGrid = grid;
    gShowWeather = weather;
    gShowCityNames = cities;
    gShowSeaZoneNames = zones;
    gShowAPLeft = ap;
    gShowUnitNames = names;
    gDynamicUnitAppearance = dynamic;
    gShowAlliesActions = allies;
  }
};

class PreferencesDialogTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
  }
  void TearDown() override {
    PopModalDialogs(-1);
    ModalDialogStack.clear();
    TopDialog = nullptr;
    snapshot_.Restore();
    ScreenFixture::TearDown();
  }
  cDialogUstawien* Open() {
    dialog_ = new cDialogUstawien();
    PushModalDialog(dialog_);
    return dialog_;
  }
  // A player's move of the slider to the value.
  void Slide(int id, int value) {
    auto* slider = static_cast<CDXUTSlider*>(dialog_->GetControlOfType(id, kControlSlider));
    ASSERT_NE(slider, nullptr) << id;
    // From another value, as a drag comes: a slider tells only of a change.
    slider->SetValueWithEvent(value == slider->GetMaximum() ? value - 1 : value + 1, true, true);
    slider->SetValueWithEvent(value, true, true);
  }
  std::u16string Label(int id) const {
    auto* label = static_cast<CDXUTStatic*>(dialog_->GetControlOfType(id, kControlStatic));
    return label != nullptr ? label->GetText() : u"<none>";
  }
  CDXUTComboBox& Combo(int id) const {
    return *static_cast<CDXUTComboBox*>(dialog_->GetControlOfType(id, kControlComboBox));
  }
  void Pick(int comboId, int index) {
    ASSERT_TRUE(Succeeded(Combo(comboId).SetSelectedByIndex(index)));
    dialog_->OnGUIEvent(GuiEventComboSelectionChanged, comboId, &Combo(comboId));
  }
  void Untick(int id) {
    auto* box = static_cast<CDXUTCheckBox*>(dialog_->GetControlOfType(id, kControlCheckBox));
    ASSERT_NE(box, nullptr);
    box->SetCheckedState(false, true, true);
  }
  static void Click(const CDXUTControl* control) {
    ASSERT_NE(control, nullptr);
    const Rect box = control->GetBoundingBox();
    const LParam at = MakeLParam((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    bool noFurther = false;
    OnWindowMessage(WM_LBUTTONDOWN, MK_LBUTTON, at, &noFurther);
    OnWindowMessage(WM_LBUTTONUP, 0, at, &noFurther);
  }

  SettingsSnapshot snapshot_;
  cDialogUstawien* dialog_ = nullptr;
};

// The shipped game has one skin of each kind; a skin no longer there leaves the first one chosen.
TEST_F(PreferencesDialogTest, EachSkinListOpensOnTheSkinInUseOrElseTheFirst) {
  for (const char* name : {"[MapSkin]Normal", "[UnitsSkin]Boxes", "[UnitsSkin]Counters", "[UnitsSkin]Zebra"}) {
    fs::create_directories(folder_.path() / "data" / "gfx" / name);
  }
  const std::u16string mapSkin = gMapSkin, unitsSkin = gUnitsSkin;
  for (const auto& [map, units, unitsRow] : {std::tuple{u"Normal", u"Zebra", 2}, std::tuple{u"Gone", u"Gone", 0}}) {
    gMapSkin = map;
    gUnitsSkin = units;
    Open();
    const auto list = [this](int id) { return static_cast<CDXUTListBox*>(dialog_->GetControlOfType(id, kControlListBox)); };
    const CDXUTListBox* mapList = list(cDialogUstawien::kMapSkinList);
    const CDXUTListBox* unitsList = list(cDialogUstawien::kUnitsSkinList);
    ASSERT_NE(mapList, nullptr);
    ASSERT_NE(unitsList, nullptr);
    EXPECT_EQ(mapList->GetSize(), 1);
    EXPECT_EQ(mapList->GetSelectedIndex(), 0);
    EXPECT_EQ(unitsList->GetSize(), 3);
    EXPECT_EQ(unitsList->GetSelectedIndex(), unitsRow);
    PopModalDialogs(-1);
  }
  gMapSkin = mapSkin;
  gUnitsSkin = unitsSkin;
}

// The first row is a skin like any other: choosing it takes it and keeps it for the file.
TEST_F(PreferencesDialogTest, ChoosingTheFirstUnitsSkinTakesIt) {
  for (const char* name : {"[UnitsSkin]Boxes", "[UnitsSkin]Counters", "[UnitsSkin]Zebra"}) {
    fs::create_directories(folder_.path() / "data" / "gfx" / name);
  }
  const std::u16string unitsSkin = gUnitsSkin;
  gUnitsSkin = u"Zebra";
  Open();
  auto* units = static_cast<CDXUTListBox*>(dialog_->GetControlOfType(cDialogUstawien::kUnitsSkinList, kControlListBox));
  ASSERT_NE(units, nullptr);
  ASSERT_EQ(units->GetSelectedIndex(), 2);
  units->SelectItem(0, true);
  EXPECT_EQ(gUnitsSkin, u"Boxes");
  EXPECT_EQ(SettingsIni().GetString("UnitsDisplay/Skin", u""), u"Boxes");
  gUnitsSkin = unitsSkin;
}

// Each tab shows its own controls only; the pictures are square cells of the map skin.
TEST_F(PreferencesDialogTest, EachTabShowsOnlyItsOwnControls) {
  Open();
  auto* tabs = static_cast<CDXUTTabFrame*>(dialog_->GetControlOfType(cDialogUstawien::kTabs, kControlTabFrame));
  ASSERT_NE(tabs, nullptr);
  const auto visible = [this](int id) { return dialog_->GetControl(id) != nullptr && dialog_->GetControl(id)->GetVisible(); };
  const std::pair<int, int> firstControlOfTab[] = {{0, cDialogUstawien::kResolutionCombo},
                                                   {2, cDialogUstawien::kUnitsSkinList},
                                                   {3, cDialogUstawien::kMapSkinList},
                                                   {5, cDialogUstawien::kSoundSlider}};
  for (const auto& selected : firstControlOfTab) {
    tabs->SelectTab(selected.first, true);
    for (const auto& [tab, id] : firstControlOfTab) {
      EXPECT_EQ(visible(id), tab == selected.first) << selected.first << " " << id;
    }
  }
  for (int id = cDialogUstawien::kFirstPreview; id <= cDialogUstawien::kLastPreview; ++id) {
    auto* picture = static_cast<CDXUTImage*>(dialog_->GetControlOfType(id, kControlImage));
    ASSERT_NE(picture, nullptr) << id;
    const Rect source = picture->GetSourceRect();
    EXPECT_EQ(source.right - source.left, 166) << id;
    EXPECT_EQ(source.bottom - source.top, 166) << id;
  }
}

TEST_F(PreferencesDialogTest, OffersEachSizeWithALayoutFileOnceSmallestFirst) {
  for (const char* name : {"GUI_1920x1080.csv", "GUI_1366x768.csv", "GUI_1280x720.csv"}) {
    (void)folder_.Write(std::string("data/") + name, "# layout\r\n");
  }
  frame_->SetDisplayModesForTesting({{800, 600, 60}, {1024, 768, 60}, {1280, 720, 60}, {1366, 768, 60},
                                     {1920, 1080, 60}, {1920, 1080, 50}});
  Open();
  CDXUTComboBox& sizes = Combo(cDialogUstawien::kResolutionCombo);
  std::vector<std::u16string> items;
  for (int i = 0; i < sizes.GetNumItems(); ++i) items.push_back(sizes.GetItem(i)->text);
  EXPECT_EQ(items, (std::vector<std::u16string>{u"1024x768", u"1280x720", u"1366x768", u"1920x1080"}));
  // The current size is selected; choosing another stores it for the next start.
  EXPECT_EQ(sizes.GetSelectedIndex(), 0);
  Pick(cDialogUstawien::kResolutionCombo, 3);
  EXPECT_EQ(SettingsIni().GetInt("Main/ResolutionX", 0), 1920);
  EXPECT_EQ(SettingsIni().GetInt("Main/ResolutionY", 0), 1080);
}

// A display that offers only its native mode (a virtual one at 1280x1024):
// a window can still take every size with a layout that fits the desktop,
// and the list always shows the size the game runs at; in full screen only
// the display's modes can be had.
TEST_F(PreferencesDialogTest, AWindowOffersEveryLayoutSizeThatFitsTheDesktopAndAlwaysTheCurrentOne) {
  for (const char* name : {"GUI_1920x1080.csv", "GUI_1366x768.csv", "GUI_1280x720.csv"}) {
    (void)folder_.Write(std::string("data/") + name, "# layout\r\n");
  }
  frame_->SetDisplayModesForTesting({{1280, 1024, 60}});
  const auto offered = [this] {
    Open();
    CDXUTComboBox& sizes = Combo(cDialogUstawien::kResolutionCombo);
    std::vector<std::u16string> items;
    for (int i = 0; i < sizes.GetNumItems(); ++i) items.push_back(sizes.GetItem(i)->text);
    const int selected = sizes.GetSelectedIndex();
    if (selected >= 0 && selected < sizes.GetNumItems()) items.push_back(u"selected " + sizes.GetItem(selected)->text);
    PopModalDialogs(-1);
    return items;
  };
  ASSERT_TRUE(frame_->windowed());
  EXPECT_EQ(offered(), (std::vector<std::u16string>{u"1024x768", u"1280x720", u"selected 1024x768"}));
  frame_->ToggleFullscreen();
  EXPECT_EQ(offered(), (std::vector<std::u16string>{u"1024x768", u"selected 1024x768"}));
  frame_->ToggleFullscreen();
}

// How a slider's label reads: its exact text, a string-base text, or a
// string-base format with a number.
enum eLabel { kExact, kKey, kKeyWithReal, kKeyWithWhole };

struct SliderCase {
  int slider;
  int value;
  int label;
  const char* iniKey;
  int stored;
  eLabel kind;
  const char* key;
  const char16_t* exact;
  double number;
};

class PreferencesSliderTest : public PreferencesDialogTest, public testing::WithParamInterface<SliderCase> {};

TEST_P(PreferencesSliderTest, ShowsAndStoresTheValue) {
  const SliderCase& c = GetParam();
  Open();
  Slide(c.slider, c.value);
  EXPECT_EQ(SettingsIni().GetInt(c.iniKey, 12345), c.stored);
  std::u16string expected;
  switch (c.kind) {
    case kExact: expected = c.exact; break;
    case kKey: expected = GetText(c.key); break;
    case kKeyWithReal: expected = Format(GetText(c.key), c.number); break;
    case kKeyWithWhole: expected = Format(GetText(c.key), static_cast<int>(c.number)); break;
  }
  EXPECT_EQ(Label(c.label), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PreferencesSliderTest,
    testing::Values(
        SliderCase{146, 5, 145, "InterfaceSettings/SeaBattleTimeout", 5, kExact, nullptr, u"5.0 sec", 0},
        SliderCase{163, -1, 162, "Delay/HumanCombatResult", -1000, kKey, "pref_delay_wait_for_click", nullptr, 0},
        SliderCase{160, 0, 159, "Delay/AICombatResult", 0, kKey, "pref_delay_dont_show", nullptr, 0},
        SliderCase{157, 0, 156, "Delay/ControlHint", 0, kKey, "pref_delay_immediately", nullptr, 0},
        SliderCase{119, 0, 118, "Delay/AIMoveBetween", 0, kKeyWithReal, "pref_delay_%.1f", nullptr, 0.0},
        SliderCase{119, 3, 118, "Delay/AIMoveBetween", 3000, kKeyWithReal, "pref_delay_%.1f", nullptr, 3.0},
        SliderCase{150, 13, 149, "Audio/SFXVolume", 65, kExact, nullptr, u"65%", 0},
        SliderCase{150, 3, 149, "Audio/SFXVolume", 15, kExact, nullptr, u"15%", 0},
        SliderCase{153, 12, 152, "Audio/MusicVolume", 60, kExact, nullptr, u"60%", 0},
        SliderCase{113, 0, 112, "Gameplay/FogOfWar", 0, kKey, "pref_visibility_disabled", nullptr, 0},
        SliderCase{113, 4, 112, "Gameplay/FogOfWar", 4, kKeyWithWhole, "pref_visibility_%i_hexes", nullptr, 4}));

TEST_F(PreferencesDialogTest, ADelaySliderSetsTheHintDelay) {
  Open();
  Slide(157, 2);
  EXPECT_EQ(GetHintBox().delay(), 2000);
  EXPECT_FLOAT_EQ(gDelays[kDelayControlHint], 2000.0f);
}

TEST_F(PreferencesDialogTest, DefaultColourIsStoredByChannel) {
  gBorderColor = 0xFF123456u;
  Open();
  EXPECT_EQ(Combo(cDialogUstawien::kBorderColourCombo).GetSelectedIndex(), 0);
  Pick(cDialogUstawien::kBorderColourCombo, 0);
  EXPECT_EQ(gBorderColor, 0xFFF5A52Cu);
  EXPECT_EQ(SettingsIni().GetInt("Border/ColorA", 0), 255);
  EXPECT_EQ(SettingsIni().GetInt("Border/ColorR", 0), 245);
  EXPECT_EQ(SettingsIni().GetInt("Border/ColorG", 0), 165);
  EXPECT_EQ(SettingsIni().GetInt("Border/ColorB", 0), 44);
}

struct ColourCase {
  std::uint32_t colour;
  const char16_t* name;
};

class PreferencesColourTest : public PreferencesDialogTest, public testing::WithParamInterface<ColourCase> {};

// The last entry of the colour opens selected.
TEST_P(PreferencesColourTest, OpensOnTheColoursLastName) {
  gBorderColor = GetParam().colour;
  Open();
  const sComboBoxItem* item = Combo(cDialogUstawien::kBorderColourCombo).GetSelectedItem();
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text, GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Colours, PreferencesColourTest,
                         testing::Values(ColourCase{0xFFFFFFFFu, u"White "}, ColourCase{0xFF00FFFFu, u"Cyan "},
                                         ColourCase{0xFFFF00FFu, u"Magenta "}, ColourCase{0xFF9370D8u, u"MediumPurple "},
                                         ColourCase{0xFFCD5C5Cu, u"IndianRed  "}, ColourCase{0xFFFF8C00u, u"Darkorange "},
                                         ColourCase{0xFF9ACD32u, u"YellowGreen "}));

TEST(NamedColoursTest, HoldDefaultAndTheKeywordsEachOnce) {
  EXPECT_EQ(kNamedColours[0].colour, 0xFFF5A52Cu);
  EXPECT_EQ(std::u16string(kNamedColours[0].name), u"Default");
  std::set<std::u16string> names;
  for (const sNamedColour& c : kNamedColours) {
    EXPECT_TRUE(names.insert(c.name).second) << "twice";
    EXPECT_EQ(c.colour >> 24, 0xFFu);
  }
  EXPECT_EQ(std::u16string(kNamedColours[147].name), u"YellowGreen ");
  EXPECT_EQ(std::u16string(kNamedColours[61].name), u"Indigo  ");
}

TEST_F(PreferencesDialogTest, FrameLimitOpensOnTheLimitInForce) {
  SettingsIni().SetInt("Main/FPSLimit", 30);
  Open();
  EXPECT_EQ(Combo(cDialogUstawien::kFpsCombo).GetSelectedData(), 30u);
  Pick(cDialogUstawien::kFpsCombo, 3);
  EXPECT_EQ(gMinFrameTime, 1000 / 60);
  EXPECT_EQ(SettingsIni().GetInt("Main/FPSLimit", 0), 60);
  Pick(cDialogUstawien::kFpsCombo, 0);
  EXPECT_EQ(gMinFrameTime, 0);
}

TEST_F(PreferencesDialogTest, SettingsReachTheFileOnlyByOkWhichOutsideAGameOpensTheMainMenu) {
  (void)folder_.Write("Settings.ini", "[InterfaceSettings]\r\nConfirmEndTurn = true\r\n");
  LoadSettings();
  const fs::path file = folder_.path() / "Settings.ini";
  auto read = [&] {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  };
  const std::string before = read();
  Open();
  Untick(cDialogUstawien::kEndTurnConfirmCheck);
  EXPECT_TRUE(DontConfirmEndTurn);
  Untick(cDialogUstawien::kGridCheck);
  EXPECT_FALSE(gShowGrid);
  EXPECT_EQ(read(), before);
  Click(dialog_->GetControl(cDialogUstawien::kOkButton));
  EXPECT_NE(read().find("ConfirmEndTurn = false"), std::string::npos);
  EXPECT_NE(read().find("ShowGrid = false"), std::string::npos);
  EXPECT_EQ(FindModalDialog(cDialogUstawien::kDialogId), nullptr);
  EXPECT_NE(dynamic_cast<cMainMenu*>(CurrentMenu), nullptr);
}

}  // namespace
}  // namespace tr
