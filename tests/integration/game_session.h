// The real program played with scripted input on a game folder of its own:
// frames on a manual clock, clicks on controls, the way from the logos
// through the menus to the first turn of the sample scenario with one human
// country, and the end of a turn by Q until the turn comes back.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "app/framework.h"
#include "app/game_mouse.h"
#include "app/input_routing.h"
#include "app/mainmenu.h"
#include "app/modal_stack.h"
#include "app/scenario_menu.h"
#include "app/scenario_settings_menu.h"
#include "app/sea_battle_menu.h"
#include "dialogs/convoy_results_dialog.h"
#include "dialogs/dialog_tekstowy.h"
#include "turn/sea_battle.h"
#include "dialogs/panel_informacyjny.h"
#include "dialogs/small_dialogs.h"
#include "foundation/game_lock.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/text.h"
#include "gui/combo_box.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/tab_frame.h"
#include "platform/graphics.h"
#include "platform/null_audio.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/gra.h"
#include "world/map_camera.h"

namespace tr::test {

inline constexpr char16_t kSampleScenario[] = u"data\\scenarios\\NorthernTide\\%s";
// Enough frames for any screen to come up; a screen that needs more is stuck.
inline constexpr int kFrameLimit = 2000;
// The worker plays the computer countries while the frames run: a hang guard, reached only when it is stuck.
inline constexpr long kWaitLimit = 50'000'000;
// The sea battle screen's Auto end and Close buttons.
inline constexpr int kSeaBattleAutoEnd = 661;
inline constexpr int kSeaBattleClose = 658;

// A game folder of its own: the shipped data and settings are copied (the
// game reads nothing through a link) and the build's save folders are there
// empty, so the test writes nothing shared and saves into what a player gets.
inline void MakeGameFolder(const std::filesystem::path& to) {
  namespace fs = std::filesystem;
  const fs::path from = TR_GAME_DIR;
  for (const auto& entry : fs::directory_iterator(from)) {
    if (entry.path().filename() == "data") continue;
    if (entry.is_regular_file()) fs::copy_file(entry.path(), to / entry.path().filename());
  }
  fs::create_directories(to / "data");
  for (const auto& entry : fs::directory_iterator(from / "data")) {
    const fs::path target = to / "data" / entry.path().filename();
    if (entry.path().filename() == "save" || entry.path().filename() == "pbem") {
      fs::create_directories(target);
    } else if (entry.is_directory()) {
      fs::copy(entry.path(), target, fs::copy_options::recursive);
    } else {
      fs::copy_file(entry.path(), target);
    }
  }
}

class GameSessionTest : public testing::Test {
 protected:
  void SetUp() override {
    oldRoot_ = GameRoot();
    MakeGameFolder(folder_.path());
    SetGameRoot(folder_.path());
  }
  void TearDown() override {
    SetGameScreenHandlers({});
    SetGameRoot(oldRoot_);
  }

  void Frame() {
    clock_.AdvanceMs(16);
    frame_->Tick();
  }
  // Frames until the condition holds; false when it never did.
  bool FramesUntil(const std::function<bool()>& condition, long limit = kFrameLimit) {
    for (long i = 0; i < limit; ++i) {
      if (condition()) return true;
      Frame();
    }
    return condition();
  }
  // Frames until the worker has brought the game to the state the condition
  // names, read under the game lock: the worker changes the game in steps,
  // and a state seen between two of them is none a player meets. The frames
  // go on as a player's would: a computer unit's move is stepped by the frame
  // step, which a paused rendering skips, and the worker waits for it.
  // A script that reads the computer's text boxes itself asks for them to be left open.
  bool WorkerReaches(const std::function<bool()>& condition, bool closeBoxes = true) {
    return FramesUntil(
        [&] {
          std::this_thread::yield();
          AnswerComputerScreens(closeBoxes);
          GameLockGuard lock;
          return condition();
        },
        kWaitLimit);
  }
  // What the computer countries' turns put before the player, answered as a
  // player would: a sea battle of the player's fleets is fought out with Auto
  // end and closed, a computer's announcement is read and closed.
  void AnswerComputerScreens(bool closeBoxes) {
    // What to answer is read under the game lock: the worker puts a turn's held boxes and its banner up in
    // one hold of it, and a held box seen alone between the two would have the banner over it, taking the
    // click, by the time the click lands.
    const CDXUTControl* answer = nullptr;
    {
      GameLockGuard lock;
      answer = ComputerScreenAnswer(closeBoxes);
    }
    if (answer != nullptr) Click(answer);
  }
  const CDXUTControl* ComputerScreenAnswer(bool closeBoxes) {
    if (cSeaBattleMenu* battle = CurrentSeaBattleMenu()) {
      if (battle->GetControlEnabled(kSeaBattleClose)) return battle->GetControl(kSeaBattleClose);
      if (!battle->battle().finished && battle->GetControlEnabled(kSeaBattleAutoEnd)) {
        return battle->GetControl(kSeaBattleAutoEnd);
      }
      return nullptr;
    }
    if (!closeBoxes || gGame == nullptr || gGame->GetGameState() == kGameHumanIdle) return nullptr;
    if (auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog)) return box->GetControl(box->okButtonId());
    // The player's own convoys' results at the end of the impulse, waited on like a box.
    if (auto* convoys = dynamic_cast<cDialogWynikuKonwojow*>(TopDialog)) {
      return convoys->GetControl(cDialogWynikuKonwojow::kExitButton);
    }
    return nullptr;
  }
  // What a failed wait met: the dialogs from the bottom (id, shown), the game state and the current country.
  std::string DialogsAndState() {
    GameLockGuard lock;
    std::string text = "dialogs";
    for (const cDialog* dialog : ModalDialogStack) {
      text += ' ' + std::to_string(dialog->id) + (dialog->GetVisible() ? "" : "(hidden)");
    }
    if (gGame == nullptr) return text + ", no game";
    const cCountry* current = gGame->playerControl.currentCountry;
    return text + ", state " + std::to_string(static_cast<int>(gGame->GetGameState())) + ", country " +
           std::to_string(current != nullptr ? current->id : 0);
  }
  // A press and release of the left button at the point, then a frame.
  void ClickAt(int x, int y) {
    frame_->Inject(RawInput::MouseMove(x, y));
    frame_->Inject(RawInput::MouseDown(RawInput::kLeft, x, y));
    frame_->Inject(RawInput::MouseUp(RawInput::kLeft, x, y));
    Frame();
  }
  void Click(const CDXUTControl* control) {
    ASSERT_NE(control, nullptr);
    const Rect box = control->GetBoundingBox();
    ClickAt((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  }
  void PressKey(std::uint32_t key) {
    frame_->Inject(RawInput::KeyDown(key));
    frame_->Inject(RawInput::KeyUp(key));
    Frame();
  }
  // A point of the hex on screen for the current camera and zoom, clear of
  // its slanted edges; the map's own picking must find the hex there.
  std::pair<int, int> ScreenPointOf(sPoint hex) {
    GameLockGuard lock;
    const cMap& map = *gGame->map;
    const float scale = gDisplayedScale;
    const float mapX = static_cast<float>(83 * hex.x + 50 + 30) - map.camera.x;
    const float mapY = static_cast<float>(98 * hex.y + 49 + (hex.x % 2 == 0 ? 49 : 0) + 36) - map.camera.y;
    const int x = static_cast<int>(std::lround(mapX * scale)) + gScreenWidth / 2;
    const int y = static_cast<int>(std::lround(mapY * scale)) + gScreenHeight / 2;
    const sPickedHex picked = PickHexAt(x, y, gScreenWidth, gScreenHeight, scale, map.camera.x, map.camera.y);
    EXPECT_EQ(picked.column, hex.x);
    EXPECT_EQ(picked.row, hex.y);
    return {x, y};
  }
  void ClickHex(sPoint hex) {
    const auto [x, y] = ScreenPointOf(hex);
    ClickAt(x, y);
  }
  // Centres the view on the hex, then clicks it.
  void CentreAndClickHex(sPoint hex) {
    {
      GameLockGuard lock;
      CenterAtHex(*gGame->map, hex.x, hex.y, false);
    }
    Frame();
    ClickHex(hex);
  }
  // The first hex that carries one of the flag bits.
  std::optional<sPoint> MarkedHex(std::uint32_t bits) {
    GameLockGuard lock;
    const cMap& map = *gGame->map;
    for (int y = 0; y < map.GetHeight(); ++y) {
      for (int x = 0; x < map.GetWidth(); ++x) {
        if ((map.GetHex(x, y)->flags & bits) != 0) return sPoint{x, y};
      }
    }
    return std::nullopt;
  }
  static bool InMenus() { return gGame == nullptr && dynamic_cast<cScenarioMenu*>(CurrentMenu) != nullptr; }
  // Frames until the scenario menu is back with no game. The worker ends the
  // game only once it sees the last box closed, which it looks for at its own
  // pace: the wait follows the worker, however slow a busy machine makes it.
  // The condition may also watch the frames on the way.
  bool MenusComeBack(const std::function<void()>& watch = {}) {
    return FramesUntil(
        [&] {
          std::this_thread::yield();
          if (watch) watch();
          GameLockGuard lock;
          return InMenus();
        },
        kWaitLimit);
  }
  bool HumanTurnOf(const cCountry* country) {
    GameLockGuard lock;
    return gGame != nullptr && gGame->playerControl.currentCountry == country &&
           gGame->GetGameState() == kGameHumanIdle;
  }
  // The country's turn is on screen or the camera glides to it (the glide
  // waits for drawn frames).
  bool TurnComingBackTo(const cCountry* country) {
    return HumanTurnOf(country) || (gGame != nullptr && gGame->GetGameState() == kGameCameraGlide &&
                                    gGame->playerControl.currentCountry == country);
  }

  // From the logos to the first turn of the sample scenario with country 1
  // the only human one; returns that country (null after a failure). The
  // settings menu is kept as a screenshot under the name given.
  cCountry* StartSampleWithFirstCountryHuman(const std::string& settingsShot) {
    return StartSampleFrom(OpenSettingsOf(0, kSampleScenario), settingsShot);
  }
  // The same from the sample's settings menu on screen.
  cCountry* StartSampleFrom(cScenarioSettingsMenu* settings, const std::string& settingsShot) {
    if (settings == nullptr) return nullptr;
    cCountry* human = gGame->GetCountry(1);
    auto& countries = *static_cast<CDXUTListBox*>(settings->GetControl(kCountryList));
    for (int row = 0; row < countries.GetSize(); ++row) {
      countries.SelectItem(row, true);
      Click(settings->GetControl(settings->selectedCountry() == human ? kHumanRadio : kComputerRadio));
    }
    int humans = 0;
    for (const auto& country : gGame->countries) humans += country->humanControlled;
    EXPECT_EQ(humans, 1);
    EXPECT_EQ(human->humanControlled, 1);
    Frame();
    EXPECT_TRUE(frame_->graphics().SaveScreenshot(settingsShot));
    Click(settings->GetControl(kStartButton));
    EXPECT_EQ(CurrentMenu, nullptr);
    // The first turn on screen, its view reached.
    EXPECT_TRUE(WorkerReaches([&] { return HumanTurnOf(human); }, false));
    return HumanTurnOf(human) ? human : nullptr;
  }

  // From the logos through the scenario menu's tab (new, saved or
  // play-by-e-mail games) to the settings menu of the row with the folder
  // template; null when a screen did not come.
  cScenarioSettingsMenu* OpenSettingsOf(int tab, std::u16string_view folderTemplate) {
    // The two logos give way to keys.
    EXPECT_TRUE(FramesUntil([&] {
      frame_->Inject(RawInput::KeyDown(VK_SPACE));
      return dynamic_cast<cMainMenu*>(CurrentMenu) != nullptr;
    }));
    if (CurrentMenu == nullptr) return nullptr;
    Click(CurrentMenu->GetControl(71));
    return SettingsFromScenarioMenu(tab, folderTemplate);
  }
  // From the scenario menu on screen to the settings menu of the row of the
  // tab with the folder template; null when a screen did not come.
  cScenarioSettingsMenu* SettingsFromScenarioMenu(int tab, std::u16string_view folderTemplate) {
    auto* scenarios = dynamic_cast<cScenarioMenu*>(CurrentMenu);
    if (scenarios == nullptr) return nullptr;
    static_cast<CDXUTTabFrame*>(scenarios->GetControl(178))->SelectTab(tab, true);
    auto& list = *static_cast<CDXUTListBox*>(scenarios->GetControl(179));
    for (int row = 0; row < list.GetSize(); ++row) {
      if (scenarios->RowTemplate(row) == folderTemplate) list.SelectItem(row, true);
    }
    Click(scenarios->GetControl(200));
    return gGame != nullptr ? dynamic_cast<cScenarioSettingsMenu*>(CurrentMenu) : nullptr;
  }
  // The countries listed human, each with its play-by-e-mail player when
  // above 0, and every other country the computer's.
  void ChooseHumans(cScenarioSettingsMenu& settings, const std::map<int, int>& humanPlayers) {
    auto& countries = *static_cast<CDXUTListBox*>(settings.GetControl(kCountryList));
    for (int row = 0; row < countries.GetSize(); ++row) {
      countries.SelectItem(row, true);
      const auto human = humanPlayers.find(settings.selectedCountry()->id);
      if (human != humanPlayers.end() && human->second > 0) {
        static_cast<CDXUTComboBox*>(settings.GetControl(kPlayerCombo))
            ->SetSelectedByData(static_cast<std::uint32_t>(human->second));
      }
      Click(settings.GetControl(human != humanPlayers.end() ? kHumanRadio : kComputerRadio));
    }
  }
  // A new play-by-e-mail game of the sample by the name, the first country
  // played by Ann and the second by the second player, up to the first
  // country's turn on screen with its banner closed.
  void StartPbemGame(cScenarioSettingsMenu* settings, const std::u16string& name, const std::u16string& second,
                     int first, int other) {
    ASSERT_NE(settings, nullptr);
    auto& tabs = *static_cast<CDXUTTabFrame*>(settings->GetControl(kSettingsTabs));
    tabs.SelectTab(1, true);
    Frame();
    Click(settings->GetControl(kPbemCheckBox));
    ASSERT_EQ(gGame->pbemGame, 1);
    static_cast<CDXUTEditBox*>(settings->GetControl(kPbemNameField))->SetText(name);
    auto& players = *static_cast<CDXUTListBox*>(settings->GetControl(kPlayerList));
    for (const std::u16string& player : {std::u16string(u"Ann"), second}) {
      players.SelectItem(players.GetSize() - 1, true);
      static_cast<CDXUTEditBox*>(settings->GetControl(kPlayerNameField))->SetText(player);
      static_cast<CDXUTEditBox*>(settings->GetControl(kPlayerEmailField))->SetText(player + u"@example.org");
      Click(settings->GetControl(kSavePlayerButton));
    }
    ASSERT_EQ(gGame->pbemPlayers.size(), 2u);
    tabs.SelectTab(0, true);
    Frame();
    ChooseHumans(*settings, {{first, 1}, {other, 2}});
    Click(settings->GetControl(kStartButton));
    ASSERT_TRUE(WorkerReaches([&] { return HumanTurnOf(gGame != nullptr ? gGame->GetCountry(first) : nullptr); }, false))
        << DialogsAndState();
    PressKey(VK_RETURN);
  }
  // Q and yes in the confirmation.
  void EndTurnByQ() {
    PressKey('Q');
    auto* confirm = dynamic_cast<cDialogPotwKoncaTury*>(TopDialog);
    ASSERT_NE(confirm, nullptr) << DialogsAndState();
    Click(confirm->GetControl(cDialogPotwKoncaTury::kYesButton));
  }

  // Q presses the toolbar's end of turn, which asks first; yes hands the
  // turn to the computer countries, and the frames run until the human
  // country's next turn is on screen with its panels given back.
  bool EndTurnUntilItComesBack(cCountry* human) {
    frame_->Inject(RawInput::KeyDown('Q'));
    frame_->Inject(RawInput::KeyUp('Q'));
    Frame();
    auto* confirm = dynamic_cast<cDialogPotwKoncaTury*>(TopDialog);
    EXPECT_NE(confirm, nullptr);
    if (confirm == nullptr) return false;
    Click(confirm->GetControl(cDialogPotwKoncaTury::kYesButton));
    const bool back = WorkerReaches([&] { return TurnComingBackTo(human); });
    EXPECT_TRUE(back) << DialogsAndState();
    if (!back) return false;
    // The worker's hand-over ends with the panels given back, which may come after the glide.
    cInfoPanel* info = GetInfoPanel();
    return FramesUntil([&] {
      GameLockGuard lock;
      return HumanTurnOf(human) && !info->GetControl(cInfoPanel::kBusyImage)->GetVisible();
    }, kWaitLimit);
  }

  // The real program on a headless frame (1024x768 unless told) with no
  // sound: the script runs in place of the main loop, then the window closes.
  // Every picture and music track the game asked for on the way is shipped:
  // none failed to load (the player's saves aside).
  int RunProgram(const std::function<void()>& script, int width = 1024, int height = 768) {
    LogCapture log;
    sStartUp startUp;
    startUp.frame = AppFrame::CreateHeadless(width, height, &clock_);
    startUp.audio = std::make_unique<NullAudioDevice>();
    startUp.beforeMainLoop = [&](AppFrame& frame) {
      frame_ = &frame;
      script();
      frame.RequestClose();
    };
    const int code = WinMain(std::move(startUp));
    for (const std::u16string& line : log.lines()) {
      const bool failed =
          line.find(u"[FAILED]") != std::u16string::npos || line.find(u"strumienia audiere") != std::u16string::npos;
      // Saves are the player's, not shipped; a test may make one by hand.
      const bool saved = line.find(u"data\\save\\") != std::u16string::npos ||
                         line.find(u"data\\pbem\\") != std::u16string::npos;
      if (failed && !saved) ADD_FAILURE() << "a shipped file is missing: " << Utf16ToUtf8(line);
    }
    return code;
  }

  TempDir folder_;
  std::filesystem::path oldRoot_;
  ManualClock clock_;
  AppFrame* frame_ = nullptr;
};

}  // namespace tr::test
