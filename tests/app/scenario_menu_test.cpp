// The scenario menu over a fixture tree of scenario, save and play-by-e-mail
// folders: which folders list, their rows and details, the pictures, the
// launch record, and headless screenshots of the main menu and of the
// scenario menu with the sample scenario selected.
#include "app/scenario_menu.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/app_presentation.h"
#include "app/device_objects.h"
#include "app/game_textures.h"
#include "app/input_routing.h"
#include "app/loading_menu.h"
#include "app/mainmenu.h"
#include "app/modal_stack.h"
#include "app/menu_wallpaper.h"
#include "dialogs/dialog_tekstowy.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/string_base_file.h"
#include "foundation/text.h"
#include "gui/edit_box.h"
#include "gui/image.h"
#include "gui/list_box.h"
#include "gui/memo.h"
#include "gui/resource_cache.h"
#include "gui/tab_frame.h"
#include "gui/texture_holder.h"
#include "menu_fixture.h"
#include "platform/graphics.h"
#include "platform/texture.h"
#include "support/english_texts.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/gra.h"
#include "world/panstwo.h"

namespace tr {
namespace {

class ScenarioMenuTest : public test::MenuFixture {
 protected:
  void SetUp() override {
    MenuFixture::SetUp();
    WriteInfo("scenarios", "Alpha",
              "[General_ENG]\r\nName=Alpha Storm\r\nDescriptionLine1=First\r\nDescriptionLine2=Second\r\n"
              "DescriptionLine4=Fourth\r\nObjectivesLine1=Hold\r\n[Misc]\r\nAuthor=Ann\r\n"
              "[Duration]\r\nTurns=40\r\nStartDate=01.09.39\r\nEndDate=01.05.45\r\n[Map]\r\nSizeX=60\r\nSizeY=40\r\n");
    WriteInfo("scenarios", "Beta", "[Map]\r\nSizeX=5\r\nSizeY=6\r\n");
    WriteInfo("scenarios", ".hidden", "[General_ENG]\r\nName=Hidden\r\n");
    WriteInfo("scenarios", "100%s %i", "[General_ENG]\r\nName=Gale %s\r\n[Duration]\r\nTurns=12\r\n");
    std::filesystem::create_directories(folder_.path() / "data/scenarios/NoInfo");
    folder_.Write("data/scenarios/readme.txt", "not a folder");
  }
  cScenarioMenu& Open() {
    auto* menu = new cScenarioMenu();
    CurrentMenu = menu;
    menu->FillLists();
    return *menu;
  }
  static CDXUTListBox& List() { return *static_cast<CDXUTListBox*>(CurrentMenu->GetControl(179)); }
  static std::vector<std::u16string> Rows() {
    std::vector<std::u16string> rows;
    for (int i = 0; i < List().GetSize(); ++i) rows.push_back(List().GetItem(i)->text);
    return rows;
  }
  static std::u16string Field(int id) { return static_cast<CDXUTEditBox*>(CurrentMenu->GetControl(id))->GetText(); }
  // The player's pick of a list by its tab, each tab titled after its list.
  static void SelectTab(int tab) {
    static const char* const kTitles[] = {"scenario_tab_new_game", "scenario_tab_load_game",
                                          "scenario_tab_load_pbem_game"};
    auto* tabs = static_cast<CDXUTTabFrame*>(CurrentMenu->GetControl(178));
    tabs->SelectTab(tab, false);
    ASSERT_EQ(tabs->GetSelectedTab(), tab);
    EXPECT_EQ(tabs->Tabs()[static_cast<std::size_t>(tab)].title, GetText(kTitles[tab]));
    MenuGuiEventCallback(GuiEventTabSelected, 178, nullptr);
  }
  void WritePicture(std::string_view relative, std::uint32_t colour) {
    std::vector<std::uint32_t> texels(16 * 16, colour);
    ASSERT_TRUE(SavePng(folder_.path() / relative, texels.data(), 16, 16, 16));
  }
};

TEST_F(ScenarioMenuTest, ListsOnlyFoldersWithAnInfoFileSortedByName) {
  Open();
  EXPECT_EQ(Rows(), (std::vector<std::u16string>{u"Gale %s;12;0x0", u"Alpha Storm;40;60x40", u"Unknown name;0;5x6"}));
  const auto& columns = List().GetColumns();
  ASSERT_EQ(columns.size(), 3u);
  const int width = List().GetTextRect().width();
  EXPECT_EQ(columns[0].width, width * 70 / 100);
  EXPECT_EQ(columns[1].width, width * 15 / 100);
  EXPECT_EQ(columns[2].width, width * 15 / 100);
  EXPECT_TRUE(CurrentMenu->GetControlEnabled(200));
}

TEST_F(ScenarioMenuTest, SelectionShowsDetailsAndTheRememberedRowIsSelectedNextTime) {
  Open();
  List().SelectItem(1, true);
  EXPECT_EQ(Field(182), u"Ann");
  EXPECT_EQ(Field(184), u"1.0");
  EXPECT_EQ(Field(186), Format(GetText("scenario_duration_%s_to_%s_%i_turns"), u"01.09.39", u"01.05.45", 40));
  EXPECT_EQ(Field(198), u"60x40");
  // Description lines stop at the first missing number.
  EXPECT_EQ(static_cast<CDXUTMemo*>(CurrentMenu->GetControl(192))->GetText(), u"First\nSecond\n");
  EXPECT_EQ(static_cast<CDXUTMemo*>(CurrentMenu->GetControl(194))->GetText(), u"Hold\n");
  EXPECT_EQ(RememberedScenarioName(), u"Alpha Storm");

  Open();
  EXPECT_EQ(List().GetSelectedIndex(), 1);
}

sLaunchRecord gLaunched;
int gLaunches = 0;
void RecordLaunch(const sLaunchRecord& record) {
  gLaunched = record;
  ++gLaunches;
  EXPECT_NE(dynamic_cast<cLoadingMenu*>(CurrentMenu), nullptr) << "the loading menu is current during the load";
}
// The launches a double click on the list makes.
int LaunchesOfADoubleClick() {
  SetScenarioLoader(&RecordLaunch);
  gLaunches = 0;
  MenuGuiEventCallback(GuiEventListDoubleClick, 179, nullptr);
  SetScenarioLoader(nullptr);
  return gLaunches;
}

TEST_F(ScenarioMenuTest, SavesListFolderNameAndDateAndFallBackToTheScenarioPicture) {
  WriteInfo("save", "Autumn", "[General_ENG]\r\nName=Alpha Storm\r\n[Save]\r\nScenarioName=Alpha\r\nTurn=7\r\n"
                              "GameYearDisplayed=40\r\nGameMonthDisplayed=5\r\nGameDayDisplayed=3\r\n");
  WriteInfo("save", "Winter", "[Save]\r\nDate=2026-01-02 10:00\r\n");
  WriteInfo("save", "Written", "[Save]\r\nTurn=seven\r\nGameYearDisplayed=40\r\n");
  WritePicture("data/scenarios/Alpha/image.png", 0xFF204060u);
  Open();
  SelectTab(1);
  auto& menu = *static_cast<cScenarioMenu*>(CurrentMenu);
  EXPECT_EQ(menu.listMode(), cScenarioMenu::kSavedGame);
  EXPECT_EQ(Rows(), (std::vector<std::u16string>{u"Autumn;Alpha Storm;--.--.-- --:--",
                                                 u"Winter;Unknown name;2026-01-02 10:00",
                                                 u"Written;Unknown name;--.--.-- --:--"}));
  List().SelectItem(0, true);
  EXPECT_EQ(Field(190), Format(GetText("%02d.%02d.%02d_turn_%i"), 40, 5, 3, 7));
  const auto* image = static_cast<CDXUTImage*>(CurrentMenu->GetControl(199));
  ASSERT_NE(image->GetTexture(), nullptr);
  EXPECT_TRUE(const_cast<CDXUTImage*>(image)->GetVisible());
  EXPECT_EQ(image->GetTexture()->Pixel(0, 0), 0xFF204060u);

  // A save without the turn key leaves the turn field as it was.
  List().SelectItem(1, true);
  EXPECT_EQ(Field(190), Format(GetText("%02d.%02d.%02d_turn_%i"), 40, 5, 3, 7));
  EXPECT_EQ(Field(188), u"2026-01-02 10:00");
  EXPECT_FALSE(const_cast<CDXUTImage*>(image)->GetVisible());

  EXPECT_TRUE(CurrentMenu->GetControlEnabled(200));

  // A turn written as a word is no turn 0: the load refuses the save, and the
  // panel says it is damaged, in words the field holds whole, and does not
  // offer it to start, by the button or a double click.
  const std::u16string english = test::EnglishText("save_details_damaged");
  const std::u16string keyText = GetText("save_details_damaged");
  StringBase().SetText("save_details_damaged", english);
  List().SelectItem(2, true);
  StringBase().SetText("save_details_damaged", keyText);
  auto* field = static_cast<CDXUTEditBox*>(CurrentMenu->GetControl(190));
  EXPECT_EQ(field->GetText(), english);
  int width = 0;
  ASSERT_TRUE(Succeeded(field->Buffer().CPtoX(field->GetTextLength(), false, &width)));
  EXPECT_GT(width, 0);
  EXPECT_LE(width, field->GetTextRect().width());
  EXPECT_FALSE(CurrentMenu->GetControlEnabled(200));
  // A launch leaves this menu for the loading one: the rest would have no list.
  ASSERT_EQ(LaunchesOfADoubleClick(), 0);
  // A sound save after it may start again.
  List().SelectItem(0, true);
  EXPECT_TRUE(CurrentMenu->GetControlEnabled(200));
}

// The damaged save as the row the list opens on: Start is off from the first,
// and a double click starts nothing.
TEST_F(ScenarioMenuTest, ADamagedSaveSelectedAsTheListOpensIsNotOfferedToStart) {
  WriteInfo("save", "Autumn", "[Save]\r\nTurn=seven\r\n");
  WriteInfo("save", "Winter", "[Save]\r\nTurn=7\r\n");
  Open();
  SelectTab(1);
  ASSERT_EQ(List().GetSize(), 2);
  EXPECT_EQ(List().GetSelectedIndex(), 0);
  EXPECT_FALSE(CurrentMenu->GetControlEnabled(200));
  EXPECT_EQ(LaunchesOfADoubleClick(), 0);
}

// A picture of 16384 x 16384 one-bit pixels: some forty kilobytes on disc, a
// gigabyte of texels decoded.
void WriteHugePicture(const std::filesystem::path& file) {
  constexpr png_uint_32 kSide = 16384;
  std::FILE* out = std::fopen(file.string().c_str(), "wb");
  ASSERT_NE(out, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, out);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, kSide, kSide, 1, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(kSide / 8, 0);
  for (png_uint_32 y = 0; y < kSide; ++y) png_write_row(png, row.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(out);
}

// A save's picture is shown at most screen size: one far larger is refused
// from its header, with a line naming it, and the scenario's picture shows.
TEST_F(ScenarioMenuTest, ASavesPictureFarLargerThanTheScreenIsRefusedBeforeDecoding) {
  WriteInfo("save", "Huge", "[Save]\r\nScenarioName=Alpha\r\n");
  WriteHugePicture(folder_.path() / "data/save/Huge/image.png");
  ASSERT_FALSE(testing::Test::HasFatalFailure());
  WritePicture("data/scenarios/Alpha/image.png", 0xFF204060u);
  test::LogCapture log;
  Open();
  SelectTab(1);
  List().SelectItem(0, true);
  EXPECT_TRUE(log.Contains(u"Loading file \"data\\save\\Huge\\image.png\" (1) [FAILED]"));
  EXPECT_TRUE(log.ContainsText(u"Picture \"data\\save\\Huge\\image.png\" not loaded: picture of 16384 x 16384 "
                               u"pixels is larger than"));
  const auto* image = static_cast<CDXUTImage*>(CurrentMenu->GetControl(199));
  ASSERT_NE(image->GetTexture(), nullptr);
  EXPECT_EQ(image->GetTexture()->width(), 16);
}

// A save's picture padded to gigabytes is refused from its size, naming it,
// and the scenario's picture shows; a save folder that is a link to one
// elsewhere is not listed, since it would not load.
TEST_F(ScenarioMenuTest, APaddedPictureIsNotReadAndALinkedSaveIsNotListed) {
  WriteInfo("save", "Padded", "[Save]\r\nScenarioName=Alpha\r\n");
  WritePicture("data/save/Padded/image.png", 0xFF102030u);
  const std::filesystem::path picture = folder_.path() / "data/save/Padded/image.png";
  std::filesystem::resize_file(picture, std::uintmax_t{2} << 30);
  WritePicture("data/scenarios/Alpha/image.png", 0xFF204060u);
  const test::TempDir elsewhere;
  elsewhere.Write("Linked/Info.ini", "[Save]\r\nScenarioName=Alpha\r\n");
  std::filesystem::create_symlink(elsewhere.path() / "Linked", folder_.path() / "data/save/Linked");
  test::LogCapture log;
  Open();
  SelectTab(1);
  ASSERT_EQ(Rows().size(), 1u);
  EXPECT_TRUE(Rows()[0].starts_with(u"Padded;"));
  List().SelectItem(0, true);
  EXPECT_TRUE(log.Contains(Utf8ToUtf16("ERROR: " + picture.string() + " holds 2147483648 bytes, more than the " +
                                       "33554432 bytes a file of its kind may hold; it is not read")));
  const auto* image = static_cast<CDXUTImage*>(CurrentMenu->GetControl(199));
  ASSERT_NE(image->GetTexture(), nullptr);
  EXPECT_EQ(image->GetTexture()->Pixel(0, 0), 0xFF204060u);
}

// A save's picture may be four screens wide and four screens tall, each way
// bounded by its own side of the screen.
TEST_F(ScenarioMenuTest, ASavesPictureIsBoundedByFourScreensEachWay) {
  const int width = 16, tallest = 4 * BackBufferHeight();
  ASSERT_LT(tallest + 1, 4 * BackBufferWidth()) << "a picture only too tall";
  for (const auto& [save, height] : {std::pair{"AtTheLimit", tallest}, std::pair{"OnePast", tallest + 1}}) {
    WriteInfo("save", save, "[Save]\r\nScenarioName=Alpha\r\n");
    std::vector<std::uint32_t> texels(static_cast<std::size_t>(width) * height, 0xFF102030u);
    ASSERT_TRUE(SavePng(folder_.path() / "data/save" / save / "image.png", texels.data(), width, height, width));
  }
  Open();
  SelectTab(1);
  const auto* image = static_cast<CDXUTImage*>(CurrentMenu->GetControl(199));
  List().SelectItem(0, true);
  ASSERT_NE(image->GetTexture(), nullptr);
  EXPECT_EQ(image->GetTexture()->height(), tallest);
  test::LogCapture log;
  List().SelectItem(1, true);
  EXPECT_TRUE(log.Contains(u"Loading file \"data\\save\\OnePast\\image.png\" (1) [FAILED]"));
}

TEST_F(ScenarioMenuTest, SeparatorsInASavesNamesStayInTheirColumn) {
  WriteInfo("save", "Split;here", "[General_ENG]\r\nName=A|B\r\n[Save]\r\nDate=x;y\r\n");
  Open();
  SelectTab(1);
  ASSERT_EQ(Rows(), (std::vector<std::u16string>{u"Split\u037Ehere;A\u01C0B;x\u037Ey"}));
  EXPECT_EQ(SplitListCells(Rows()[0]).size(), 3u);
}

TEST_F(ScenarioMenuTest, AnEmptyListDisablesStartAndEscapeReturnsToTheMainMenu) {
  Open();
  SelectTab(2);
  EXPECT_EQ(List().GetSize(), 0);
  EXPECT_FALSE(CurrentMenu->GetControlEnabled(200));
  MenuKeyboardCallback(VK_ESCAPE, true, false);
  EXPECT_NE(dynamic_cast<cMainMenu*>(CurrentMenu), nullptr);
}

TEST_F(ScenarioMenuTest, StartHandsTheRowsFolderToTheLoaderBehindTheLoadingMenu) {
  SetScenarioLoader(&RecordLaunch);
  gLaunches = 0;
  Open();
  List().SelectItem(0, true);
  test::LogCapture log;
  MenuGuiEventCallback(GuiEventListDoubleClick, 179, nullptr);
  ASSERT_EQ(gLaunches, 1);
  // The '%' of the folder name is data: it reaches the loader and the log unchanged.
  EXPECT_EQ(gLaunched.folderTemplate, u"data\\scenarios\\100%s %i\\%s");
  EXPECT_EQ(gLaunched.savedGame, 0);
  EXPECT_TRUE(log.Contains(Format(GetText("loading_scenario_from_%s"), u"data\\scenarios\\100%s %i\\%s")));
}

// A turn received by e-mail that does not load (here one without its
// tables) leaves the program running: the play-by-e-mail list comes back
// under a message naming the folder.
TEST_F(ScenarioMenuTest, AReceivedTurnThatDoesNotLoadBringsBackThePlayByEmailList) {
  WriteInfo("pbem", "Broken", "[Save]\r\nScenarioName=Alpha\r\nPBEMGameName = Broken\r\n");
  Open();
  RunGameLoader(sLaunchRecord{u"data\\pbem\\Broken\\%s", 1});
  EXPECT_EQ(gGame, nullptr);
  auto* menu = dynamic_cast<cScenarioMenu*>(CurrentMenu);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->listMode(), cScenarioMenu::kPbemGame);
  ASSERT_EQ(Rows().size(), 1u);
  EXPECT_TRUE(Rows()[0].starts_with(u"Broken;"));
  ASSERT_NE(TopDialog, nullptr);
  EXPECT_EQ(TopDialog->id, cDialogTekstowy::kDialogId);
}

// Every screen draws a flag from the area (0, 0, 128, 85) of its picture, as
// the scenario settings menu does: a smaller picture fills part of its frame.
TEST(ShippedFlags, FillTheAreaEveryScreenDrawsThemFrom) {
  const test::ScopedGameRoot root(TR_GAME_DIR);
  int flags = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(TR_GAME_DIR) / "data/gfx/Flags")) {
    std::string error;
    const auto flag = Texture::FromPngFile(entry.path(), &error);
    ASSERT_NE(flag, nullptr) << entry.path() << ": " << error;
    EXPECT_EQ(flag->width(), 128) << entry.path();
    EXPECT_EQ(flag->height(), 85) << entry.path();
    ++flags;
  }
  EXPECT_GE(flags, 10);  // the sample's nine countries and the flag of a country without one
}

// A scenario's flag is held to a flag's bound through the loader the game
// uses: eight 1 MB pictures of 16384 x 16384 took 8 GB. A refused flag is
// named and the country shows the flag of a country without one.
TEST_F(ScenarioMenuTest, AFlagBeyondAFlagsBoundIsRefusedNamingIt) {
  cAppPresentation port;
  ScopedPresentation installed(port);
  const std::filesystem::path big = folder_.path() / "data/scenarios/Alpha/Flags/Big.png";
  std::vector<std::uint32_t> texels(513 * 85, 0xFF000000u);
  ASSERT_TRUE(SavePng(big, texels.data(), 513, 85, 513));
  texels.assign(512 * 512, 0xFF000000u);
  ASSERT_TRUE(SavePng(folder_.path() / "data/scenarios/Alpha/Flags/Fit.png", texels.data(), 512, 512, 512));
  test::LogCapture log;
  cCountry refused, fits;
  refused.name = u"Big";
  fits.name = u"Fit";
  refused.LoadFlagTexture(u"Alpha");
  fits.LoadFlagTexture(u"Alpha");
  EXPECT_EQ(refused.flagTexture, kNoTexture);
  EXPECT_TRUE(log.Contains(Utf8ToUtf16("ERROR: the picture " + big.string() +
                                       " is not loaded: picture of 513 x 85 pixels is larger than 512 x 512 or "
                                       "262144 pixels")));
  ASSERT_NE(FindGameTexture(fits.flagTexture), nullptr);
  EXPECT_EQ(FindGameTexture(fits.flagTexture)->width(), 512);
  const TextureId fitId = fits.flagTexture;
  refused.ReleaseTextures();
  fits.ReleaseTextures();
  // A released flag is freed, not kept until the program ends.
  EXPECT_EQ(FindGameTexture(fitId), nullptr);
  port.ReleaseGameTextures();
}

TEST_F(ScenarioMenuTest, ScreenshotsShowTheGeneratedWallpapersControlsAndTexts) {
  const std::filesystem::path game = TR_GAME_DIR;
  for (const char* file : {"GUI.png", "wallpaper_main.png", "wallpaper_scenario.png"}) {
    ASSERT_TRUE(std::filesystem::exists(game / "data/gfx" / file)) << file << " is drawn by the build";
    std::filesystem::copy_file(game / "data/gfx" / file, folder_.path() / "data/gfx" / file,
                               std::filesystem::copy_options::overwrite_existing);
  }
  // Only the menus' own texts, so later tests in this program still see other keys as themselves.
  std::vector<std::string> errors;
  for (const sStringBaseEntry& entry : ParseStringBaseSource(
           test::ReadFileBytes(std::filesystem::path(TR_SOURCE_DIR) / "data/texts/lang_ENG.txt"), errors)) {
    for (const char* prefix : {"mainmenu_", "scenario"}) {
      if (entry.key.starts_with(prefix)) StringBase().SetText(entry.key, entry.text);
    }
  }
  std::vector<std::uint32_t> map(512 * 512);
  for (int y = 0; y < 512; ++y) {
    for (int x = 0; x < 512; ++x) map[static_cast<std::size_t>(y) * 512 + x] = ((x / 64 + y / 64) % 2) ? 0xFF3C5A3Cu : 0xFF2A4A6Au;
  }
  // The sample scenario ships without a picture: the test gives it one.
  std::filesystem::create_directories(folder_.path() / "data/scenarios/NorthernTide");
  std::filesystem::copy_file(game / "data/scenarios/NorthernTide/Info.ini",
                             folder_.path() / "data/scenarios/NorthernTide/Info.ini");
  ASSERT_TRUE(SavePng(folder_.path() / "data/scenarios/NorthernTide/image.png", map.data(), 512, 512, 512));
  GetGuiResourceCache().Clear();
  GetGuiResourceCache().OnCreateDevice(&frame_->graphics());
  GlobalTextureRecord(kTextureGuiSkin).Load(folder_.path() / "data/gfx/GUI.png", TextureHolder::kModeFile, 1);

  Graphics& graphics = frame_->graphics();
  auto shoot = [&](const char* file) {
    for (int i = 0; i < 2; ++i) {
      graphics.Clear(0xFF000000u);
      CurrentMenu->Render(1.0f);
    }
    graphics.Present();
    EXPECT_TRUE(graphics.SaveScreenshot(file));
    // The wallpaper covers the corners that no control covers.
    EXPECT_NE(graphics.ReadPixel(4, 4), 0xFF000000u) << file;
  };
  CurrentMenu = new cMainMenu();
  recorder_.Clear();
  shoot("menus_main_menu_screenshot.png");
  EXPECT_NE(recorder_.FindText(GetText("mainmenu_start")), nullptr);

  auto& menu = Open();
  for (int i = 0; i < List().GetSize(); ++i) {
    if (menu.RowTemplate(i) == u"data\\scenarios\\NorthernTide\\%s") List().SelectItem(i, true);
  }
  ASSERT_EQ(RememberedScenarioName(), u"Northern Tide 1939");
  recorder_.Clear();
  shoot("menus_scenario_menu_screenshot.png");
  EXPECT_NE(recorder_.FindText(u"Northern Tide 1939"), nullptr);
  EXPECT_NE(recorder_.FindText(GetText("scenario_title")), nullptr);
  GlobalTextureRecord(kTextureGuiSkin).Release();
}

}  // namespace
}  // namespace tr
