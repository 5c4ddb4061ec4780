// The sea-battle screen: the grid and both formations, the move cells a ship
// is offered, the wheel's zoom limit, the player's clicks, the retreat, the
// automatic and single steps up to the battle's end, play by e-mail, closing,
// and a screenshot of both sides with a ship selected.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <set>

#include "app/input_routing.h"
#include "app/sea_battle_menu.h"
#include "foundation/format.h"
#include "foundation/gui_layout.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "gui/edit_box.h"
#include "gui/hint_box.h"
#include "gui/memo.h"
#include "map_draw_fixture.h"
#include "platform/graphics.h"
#include "support/log_capture.h"
#include "support/naval_world.h"
#include "app/map_skin.h"
#include "app/units_skin.h"
#include "foundation/paths.h"
#include "turn/sea_battle.h"
#include "world/game_state.h"
#include "world/map_camera.h"
#include "world/panstwo.h"

namespace tr {
namespace {

int DrawFor(int low, int high, int value) {
  for (int d = 0; d <= 32767; ++d) {
    ScopedRandomDraws one({d});
    if (RandomRange(low, high) == value) return d;
  }
  ADD_FAILURE() << "no draw gives " << value;
  return 0;
}

// The screen point inside the cell, clear of its slanted edges, at the view
// the screen opens with (zoom 0.4 around (1245, 1470)).
struct ScreenPoint {
  int x;
  int y;
};
ScreenPoint CellPoint(int column, int row) {
  const float px = static_cast<float>(83 * column + 45 + 30);
  const float py = static_cast<float>(98 * row + (column % 2 == 0 ? 49 : 0) + 49 + 36);
  return {static_cast<int>((px - 1245.0f) * 0.4f + 512.0f), static_cast<int>((py - 1470.0f) * 0.4f + 384.0f)};
}

class SeaBattleMenuTest : public test::MapDrawFixture {
 protected:
  void SetUp() override {
    MapDrawFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    savedScales_ = {gDisplayedScale, gTargetScale};
    node_ = sea_.AddSea();
    for (int c = 1; c <= 4; ++c) sea_.world().country(c).name = Format(u"C%i", c);
    sea_.world().country(1).humanControlled = 1;
    SeedRandom(11);
  }
  void TearDown() override {
    DeleteCurrentMenu();
    battle_.reset();
    gDisplayedScale = savedScales_[0];
    gTargetScale = savedScales_[1];
    MapDrawFixture::TearDown();
  }

  sSeaBattle::ShipList Ships(int owner, std::initializer_list<int> types, int hitPoints = 50) {
    cFleet& fleet = sea_.AddFleet(owner, node_, types);
    for (cJednostkaMorska* ship : fleet.ships) {
      ship->hitPoints = hitPoints;
      ship->spotted = 1;
      ship->name = Format(u"S%i", ship->id);
    }
    return {fleet.ships.begin(), fleet.ships.end()};
  }

  // A battle of the turns with its opening flags set and a ship of each side
  // chosen, shown on the screen as the current menu.
  cSeaBattleMenu& Open(sSeaBattle::ShipList first, sSeaBattle::ShipList enemy, int turns = 2) {
    for (int k = 1; k <= 5; ++k) sea_.SetConstant(129, k, k == turns ? 1 : 0);
    battle_ = std::make_unique<sSeaBattle>(std::move(first), std::move(enemy));
    for (auto* side : {&battle_->firstSide, &battle_->enemySide}) {
      for (cJednostkaMorska* ship : *side) {
        ship->InitBattleFlags();
        ship->targetable = 1;
        battle_->participants.insert(ship->owner);
        battle_->initialHitPoints[ship->id] = ship->hitPoints;
        battle_->initialNames[ship->id] = ship->name;
      }
    }
    battle_->actingSide = 1;
    SelectRandomShips(*battle_);
    auto* menu = new WatchedMenu(*battle_, menuFreed_);
    CurrentMenu = menu;
    return *menu;
  }
  // A battle screen that says when it is freed.
  class WatchedMenu : public cSeaBattleMenu {
   public:
    WatchedMenu(sSeaBattle& battle, bool& freed) : cSeaBattleMenu(battle), freed_(freed) {}
    ~WatchedMenu() override { freed_ = true; }

   private:
    bool& freed_;
  };

  static std::u16string FieldText(cSeaBattleMenu& menu, int id) {
    auto* field = dynamic_cast<CDXUTEditBox*>(menu.GetControl(id));
    return field != nullptr ? field->GetText() : u"?";
  }
  void Frame(cSeaBattleMenu& menu) {
    time_ += 0.016;
    menu.OnFrameMove(frame_->graphics(), time_, 0.016f);
  }
  static void ClickCell(int column, int row, bool right = false) {
    const ScreenPoint p = CellPoint(column, row);
    MenuMouseCallback(!right, right, false, false, false, 0, p.x, p.y);
    MenuMouseCallback(false, false, false, false, false, 0, p.x, p.y);
  }
  int SeaBattleReports() const {
    int count = 0;
    for (const sReport& r : gGame->reports.Reports()) count += r.type == kReportSeaBattle;
    return count;
  }

  test::NavalWorld sea_;
  int node_ = 0;
  std::unique_ptr<sSeaBattle> battle_;
  bool menuFreed_ = false;
  double time_ = 0.0;
  std::array<float, 2> savedScales_{};
};

TEST_F(SeaBattleMenuTest, OpensWithTheGridTheControlsAndBothFormations) {
  test::LogCapture log;
  auto first = Ships(1, {kCruiser, kCruiser, kCruiser, kAircraftCarrier, kAircraftCarrier});
  std::initializer_list<int> enemyTypes = {kCruiser, kAircraftCarrier, kAircraftCarrier, kAircraftCarrier,
                                           kAircraftCarrier, kAircraftCarrier, kAircraftCarrier, kAircraftCarrier,
                                           kAircraftCarrier, kAircraftCarrier, kAircraftCarrier, kAircraftCarrier,
                                           kAircraftCarrier, kAircraftCarrier, kAircraftCarrier, kAircraftCarrier,
                                           kAircraftCarrier};
  auto enemy = Ships(3, enemyTypes);
  const std::vector<cJednostkaMorska*> a(first.begin(), first.end());
  const std::vector<cJednostkaMorska*> b(enemy.begin(), enemy.end());
  cSeaBattleMenu& menu = Open(first, enemy);

  EXPECT_TRUE(log.Contains(u"----- Sea Battle Screen -----"));
  EXPECT_EQ(gGame->GetGameState(), kGameSeaBattleScreen);
  EXPECT_FLOAT_EQ(gDisplayedScale, 0.4f);
  EXPECT_FLOAT_EQ(gTargetScale, 0.4f);
  EXPECT_EQ(menu.cells().size(), 961u);
  for (const sHex& cell : menu.cells()) {
    const bool outside = cell.x <= 3 || cell.x >= 27;
    EXPECT_EQ(cell.flags, outside ? kCellOutsideBattle : 0u) << cell.x << "," << cell.y;
  }
  const struct {
    cJednostkaMorska* ship;
    int column, row;
  } placed[] = {{a[0], 13, 16}, {a[1], 13, 14}, {a[2], 11, 15}, {a[3], 3, 16},
                {a[4], 3, 14},  {b[0], 17, 16}, {b[16], 29, 16}};
  for (const auto& p : placed) {
    EXPECT_EQ(menu.Cell(p.column, p.row).unit, p.ship) << p.column << "," << p.row;
    EXPECT_EQ(p.ship->battleColumn, p.column);
    EXPECT_EQ(p.ship->battleRow, p.row);
  }
  for (int id = 650; id <= 663; ++id) EXPECT_NE(menu.GetControl(id), nullptr) << id;
  EXPECT_FALSE(menu.GetControlEnabled(657));
  EXPECT_FALSE(menu.GetControlEnabled(658));
  for (int id : {659, 660, 661}) EXPECT_TRUE(menu.GetControlEnabled(id)) << id;
  EXPECT_EQ(FieldText(menu, 654), u"2");
  EXPECT_EQ(FieldText(menu, 663), u"-");
}

struct MoveCellsCase {
  int type;
  int cells;
  int leftmost;
};
class SeaBattleMoveCells : public SeaBattleMenuTest, public testing::WithParamInterface<MoveCellsCase> {};

TEST_P(SeaBattleMoveCells, ALoneShipIsOfferedItsSideOfTheGrid) {
  const MoveCellsCase& c = GetParam();
  auto first = Ships(1, {c.type});
  cSeaBattleMenu& menu = Open(first, Ships(3, {kCruiser}));
  menu.MarkTargets(*first.front());
  int count = 0;
  int leftmost = 99;
  for (const sHex& cell : menu.cells()) {
    if ((cell.flags & kCellMoveTarget) == 0) continue;
    ++count;
    leftmost = std::min<int>(leftmost, cell.x);
    EXPECT_EQ(cell.unit, nullptr);
  }
  EXPECT_EQ(count, c.cells);
  EXPECT_EQ(leftmost, c.leftmost);
  first.front()->mayAct = 0;
  menu.MarkTargets(*first.front());
  EXPECT_TRUE(std::none_of(menu.cells().begin(), menu.cells().end(),
                           [](const sHex& cell) { return (cell.flags & kCellMoveTarget) != 0; }));
}

INSTANTIATE_TEST_SUITE_P(Types, SeaBattleMoveCells,
                         testing::Values(MoveCellsCase{kAircraftCarrier, 105, 1}, MoveCellsCase{kCruiser, 74, 5}));

TEST_F(SeaBattleMenuTest, TheWheelZoomsOutOnlyUntilTheGridFillsTheScreen) {
  cSeaBattleMenu& menu = Open(Ships(1, {kCruiser}), Ships(3, {kCruiser}));
  menu.OnMouse(false, false, false, false, false, -120, 300, 300);
  EXPECT_FLOAT_EQ(gTargetScale, 1024.0f / 2573.0f);
  menu.OnMouse(false, false, false, false, false, 120 * 20, 300, 300);
  EXPECT_FLOAT_EQ(gTargetScale, 1.0f);
  // Over the control column the wheel belongs to the controls.
  menu.OnMouse(false, false, false, false, false, -120, 900, 300);
  EXPECT_FLOAT_EQ(gTargetScale, 1.0f);
  // The zoom follows at 0.5 a second.
  Frame(menu);
  EXPECT_NEAR(gDisplayedScale, 0.4f + 0.008f, 1e-5);
}

TEST_F(SeaBattleMenuTest, EdgeScrollingMovesTheTargetAndTheViewFollowsItWithinTheGrid) {
  cSeaBattleMenu& menu = Open(Ships(1, {kCruiser}), Ships(3, {kCruiser}));
  menu.ScrollView(-5000.0f, 100.0f, 2.0f);
  EXPECT_FLOAT_EQ(menu.targetViewX(), 83.0f);
  EXPECT_FLOAT_EQ(menu.targetViewY(), 1570.0f);
  EXPECT_FLOAT_EQ(menu.velocityX(), (83.0f - 1245.0f) * 2.0f);
  for (int i = 0; i < 200; ++i) menu.UpdateViewTransform(0.05f);
  EXPECT_FLOAT_EQ(menu.viewX(), 83.0f);
  EXPECT_FLOAT_EQ(menu.viewY(), 1570.0f);
  menu.ScrollView(0.0f, 0.01f, 2.0f);
  EXPECT_FLOAT_EQ(menu.velocityY(), 0.05f);
  // The pointer at the left edge, over no control.
  GetHintBox().OnMouse(false, false, 1, 300);
  menu.ScrollView(1000.0f, 0.0f, 2.0f);
  const float before = menu.targetViewX();
  Frame(menu);
  EXPECT_LT(menu.targetViewX(), before);
}

TEST_F(SeaBattleMenuTest, PlayerSelectsAShipItsTargetAndFiresByClickingTheTargetAgain) {
  auto first = Ships(1, {kCruiser, kCruiser});
  auto enemy = Ships(3, {kCruiser, kCruiser});
  cSeaBattleMenu& menu = Open(first, enemy, 3);
  cJednostkaMorska* own = first.front();
  cJednostkaMorska* target = enemy.front();

  ClickCell(13, 16);
  EXPECT_EQ(menu.clickMode(), 1);
  EXPECT_EQ(battle_->selectedA, own);
  EXPECT_NE(menu.Cell(13, 16).flags & kCellSelectedShip, 0u);
  EXPECT_NE(menu.Cell(5, 0).flags & kCellMoveTarget, 0u);
  EXPECT_TRUE(menu.GetControlEnabled(657));

  ClickCell(17, 16);
  EXPECT_EQ(menu.clickMode(), 2);
  EXPECT_EQ(battle_->selectedB, target);
  EXPECT_FALSE(menu.GetControlEnabled(657));
  EXPECT_NE(menu.Cell(17, 16).flags & kCellChosenTarget, 0u);
  EXPECT_EQ(menu.Cell(5, 0).flags & kCellMoveTarget, 0u);

  const std::size_t logBefore = battle_->log.size();
  ClickCell(17, 16);
  EXPECT_EQ(menu.clickMode(), 0);
  EXPECT_GT(battle_->log.size(), logBefore);
  EXPECT_EQ(own->mayAct, 0);
  for (const sHex& cell : menu.cells()) EXPECT_EQ(cell.flags & kCellSelectionMarks, 0u);
}

TEST_F(SeaBattleMenuTest, AShipMovesToAMarkedCellAndHasActed) {
  auto first = Ships(1, {kCruiser, kCruiser});
  cSeaBattleMenu& menu = Open(first, Ships(3, {kCruiser}), 3);
  cJednostkaMorska* own = first.front();
  ClickCell(13, 16);
  // Columns 3, 7, 11 offer the odd rows.
  EXPECT_EQ(menu.Cell(7, 4).flags & kCellMoveTarget, 0u);
  ClickCell(7, 4);
  EXPECT_EQ(menu.Cell(7, 4).unit, nullptr);
  ClickCell(13, 16);
  ClickCell(7, 5);
  EXPECT_EQ(menu.Cell(7, 5).unit, own);
  EXPECT_EQ(menu.Cell(13, 16).unit, nullptr);
  EXPECT_EQ(own->battleColumn, 7);
  EXPECT_EQ(own->battleRow, 5);
  EXPECT_EQ(own->mayAct, 0);
  EXPECT_EQ(menu.clickMode(), 0);
  // The side still has a ship that may fire, and a round still has both.
  EXPECT_NE(battle_->selectedA, own);
  EXPECT_NE(battle_->selectedA, nullptr);
  // A ship that has acted is no longer taken; a computer's ship never is.
  ClickCell(7, 5);
  EXPECT_EQ(menu.clickMode(), 0);
  ClickCell(17, 16, true);
  for (const sHex& cell : menu.cells()) EXPECT_EQ(cell.flags & kCellSelectionMarks, 0u);
}

// Retreat tries the player's selected ship, on whichever side the player
// leads, though the last click fell on an empty cell that moved nothing.
struct sRetreatSide {
  bool playerLeadsFirstSide;
  int ownColumn;
  int emptyColumn;
};
void PrintTo(const sRetreatSide& side, std::ostream* out) {
  *out << (side.playerLeadsFirstSide ? "player leads the first side" : "player leads the second side");
}
class SeaBattleRetreatButton : public SeaBattleMenuTest, public testing::WithParamInterface<sRetreatSide> {};

TEST_P(SeaBattleRetreatButton, TriesTheSelectedShipAfterAClickOnAnEmptyCell) {
  const sRetreatSide& side = GetParam();
  sea_.world().country(1).humanControlled = side.playerLeadsFirstSide ? 1 : 0;
  sea_.world().country(3).humanControlled = side.playerLeadsFirstSide ? 0 : 1;
  sea_.SetConstant(174, 1, 40);
  auto first = Ships(1, {kCruiser, kCruiser});
  auto enemy = Ships(3, {kCruiser, kCruiser});
  cSeaBattleMenu& menu = Open(first, enemy, 3);
  cJednostkaMorska* own = side.playerLeadsFirstSide ? first.front() : enemy.front();
  cJednostkaMorska*& selected = side.playerLeadsFirstSide ? battle_->selectedA : battle_->selectedB;
  const auto& ownSide = side.playerLeadsFirstSide ? battle_->firstSide : battle_->enemySide;

  ClickCell(side.ownColumn, 16);
  ASSERT_EQ(selected, own);
  ClickCell(side.emptyColumn, 4);  // no move cell: nothing changes
  EXPECT_EQ(menu.Cell(side.emptyColumn, 4).unit, nullptr);
  EXPECT_EQ(selected, own);
  ASSERT_TRUE(menu.GetControlEnabled(657));

  {
    ScopedRandomDraws roll({DrawFor(1, 100, 1)});
    MenuGuiEventCallback(0x0101, 657, menu.GetControl(657));
  }
  const std::u16string success = Format(u"%s (%s) tried to retreat with chance 40%%: success", own->name,
                                        side.playerLeadsFirstSide ? u"C1" : u"C3");
  EXPECT_NE(battle_->log.find(success), std::u16string::npos) << Utf16ToUtf8(battle_->log);
  EXPECT_EQ(own->retreated, 1);
  EXPECT_EQ(std::count(ownSide.begin(), ownSide.end(), own), 0);
  EXPECT_EQ(menu.Cell(side.ownColumn, 16).unit, nullptr);
  EXPECT_FALSE(menu.GetControlEnabled(657));
  EXPECT_EQ(menu.clickMode(), 0);
  for (const sHex& cell : menu.cells()) EXPECT_EQ(cell.flags & kCellSelectionMarks, 0u);
  // The side's other ship is its choice for the round; the log shows the attempt.
  EXPECT_NE(selected, nullptr);
  EXPECT_NE(selected, own);
  auto* memo = dynamic_cast<CDXUTMemo*>(menu.GetControl(656));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->GetText(), battle_->log);
}

INSTANTIATE_TEST_SUITE_P(Sides, SeaBattleRetreatButton,
                         testing::Values(sRetreatSide{true, 13, 12}, sRetreatSide{false, 17, 18}));

TEST_F(SeaBattleMenuTest, AutoEndPlaysOneRoundAFrameUntilNoTurnIsLeft) {
  cSeaBattleMenu& menu = Open(Ships(1, {kCruiser, kCruiser}), Ships(3, {kCruiser, kCruiser}), 3);
  menu.OnGUIEvent(0x0101, 661, menu.GetControl(661));
  for (int id : {657, 659, 660, 661}) EXPECT_FALSE(menu.GetControlEnabled(id)) << id;
  int frames = 0;
  std::size_t lastLog = battle_->log.size();
  while (battle_->stepRequestA && frames < 100) {
    Frame(menu);
    ++frames;
    EXPECT_GT(battle_->log.size(), lastLog) << "frame " << frames;
    lastLog = battle_->log.size();
  }
  // Four ships fire once a battle turn: twelve rounds for three turns.
  EXPECT_EQ(frames, 12);
  EXPECT_EQ(battle_->battleTurnsLeft, 0);
  EXPECT_TRUE(battle_->finished);
  EXPECT_EQ(FieldText(menu, 663), u"-");
  EXPECT_EQ(FieldText(menu, 654), u"0");
  EXPECT_TRUE(menu.GetControlEnabled(658));
  for (int id : {657, 659, 660, 661}) EXPECT_FALSE(menu.GetControlEnabled(id)) << id;
  EXPECT_EQ(SeaBattleReports(), 2);
  Frame(menu);
  EXPECT_EQ(battle_->log.size(), lastLog);
}

TEST_F(SeaBattleMenuTest, NextTurnPlaysUntilTheTurnsLeftChange) {
  cSeaBattleMenu& menu = Open(Ships(1, {kCruiser, kCruiser}), Ships(3, {kCruiser, kCruiser}), 3);
  menu.OnGUIEvent(0x0101, 659, menu.GetControl(659));
  int frames = 0;
  while (battle_->stepRequestB && frames < 100) {
    Frame(menu);
    ++frames;
  }
  EXPECT_EQ(frames, 4);
  EXPECT_EQ(battle_->battleTurnsLeft, 2);
  EXPECT_FALSE(battle_->finished);
  EXPECT_EQ(FieldText(menu, 663), u"-");
  for (int id : {659, 660, 661}) EXPECT_TRUE(menu.GetControlEnabled(id)) << id;
  EXPECT_FALSE(menu.GetControlEnabled(658));
}

class SeaBattleSunkSide : public SeaBattleMenuTest, public testing::WithParamInterface<int> {};

// The only enemy ship sinks at the first shot: the battle ends at once, with
// turns still left, and its reports are filed once.
TEST_P(SeaBattleSunkSide, ABattleWhoseSideIsSunkStopsAtOnce) {
  const int button = GetParam();
  auto first = Ships(1, {kCruiser});
  auto enemy = Ships(3, {kCruiser}, 1);
  cSeaBattleMenu& menu = Open(first, enemy, 3);
  menu.OnGUIEvent(0x0101, button, menu.GetControl(button));
  {
    ScopedRandomDraws hit({DrawFor(1, 100, 1), DrawFor(0, 100, 0)});
    Frame(menu);
  }
  EXPECT_TRUE(battle_->finished);
  EXPECT_TRUE(battle_->enemySide.empty());
  EXPECT_EQ(battle_->battleTurnsLeft, 3);
  EXPECT_FALSE(battle_->stepRequestA);
  EXPECT_FALSE(battle_->stepRequestB);
  EXPECT_EQ(menu.Cell(17, 16).unit, nullptr);
  EXPECT_EQ(SeaBattleReports(), 2);
  for (int i = 0; i < 5; ++i) Frame(menu);
  EXPECT_EQ(SeaBattleReports(), 2);
  for (int id : {657, 659, 660, 661}) EXPECT_FALSE(menu.GetControlEnabled(id)) << id;
  EXPECT_TRUE(menu.GetControlEnabled(658));
  // A shot chosen by clicks after the end is never fired.
  const std::u16string log = battle_->log;
  ClickCell(13, 16);
  EXPECT_EQ(battle_->log, log);
}

INSTANTIATE_TEST_SUITE_P(Steps, SeaBattleSunkSide, testing::Values(661, 659));

TEST_F(SeaBattleMenuTest, PlayByEmailHidesRetreatDisablesTheStepsAndIgnoresClicks) {
  gGame->pbemGame = 1;
  auto first = Ships(1, {kCruiser});
  cSeaBattleMenu& menu = Open(first, Ships(3, {kCruiser}));
  EXPECT_FALSE(menu.GetControl(657)->GetVisible());
  for (int id : {659, 660, 661}) EXPECT_FALSE(menu.GetControlEnabled(id)) << id;
  EXPECT_TRUE(battle_->stepRequestA);
  ClickCell(13, 16);
  EXPECT_EQ(menu.clickMode(), 0);
  EXPECT_EQ(menu.Cell(13, 16).flags & kCellSelectedShip, 0u);
  menu.OnMouse(false, false, false, false, false, -120, 300, 300);
  EXPECT_FLOAT_EQ(gTargetScale, 0.4f);
}

TEST_F(SeaBattleMenuTest, CloseHandsTheGameBackInStateFour) {
  auto first = Ships(1, {kCruiser});
  cSeaBattleMenu& menu = Open(first, Ships(3, {kCruiser}, 1));
  menu.OnGUIEvent(0x0101, 661, menu.GetControl(661));
  for (int i = 0; i < 20 && !battle_->finished; ++i) {
    ScopedRandomDraws hit({DrawFor(1, 100, 1), DrawFor(0, 100, 0)});
    Frame(menu);
  }
  ASSERT_TRUE(battle_->finished);
  MenuGuiEventCallback(0x0101, 658, menu.GetControl(658));
  EXPECT_EQ(CurrentMenu, nullptr);
  EXPECT_TRUE(menuFreed_);
  EXPECT_EQ(gGame->GetGameState(), kGameSeaBattles);
}

TEST_F(SeaBattleMenuTest, AComputerOnlyBattlePlaysItselfOnceShown) {
  sea_.world().country(1).humanControlled = 0;
  cSeaBattleMenu& menu = Open(Ships(1, {kCruiser}), Ships(3, {kCruiser}));
  battle_->automatic = 1;
  menu.ContinueAutoBattle();
  EXPECT_TRUE(battle_->stepRequestA);
  EXPECT_FALSE(menu.GetControlEnabled(661));
}

TEST_F(SeaBattleMenuTest, ScreenshotOfBothSidesWithASelectedShipAndItsMoveCells) {
  SetGameRoot(TR_GAME_DIR);
  LoadMapSkin(u"Normal");
  LoadUnitsSkin(u"Counters");
  SetGameRoot(folder_.path());
  auto first = Ships(1, {kCruiser, kBattleship, kCruiser, kAircraftCarrier, kSubmarine, kCargoShip});
  auto enemy = Ships(3, {kBattleship, kCruiser, kCruiser, kAircraftCarrier, kAircraftCarrier, kSubmarine});
  cSeaBattleMenu& menu = Open(first, enemy);
  ClickCell(13, 16);
  ASSERT_EQ(menu.clickMode(), 1);
  recorder_.Clear();
  frame_->graphics().Clear(0xFF000000u);
  menu.Render(0.0f);
  const auto path = std::filesystem::path(TR_GAME_DIR).parent_path() / "sea_battle_screen.png";
  ASSERT_TRUE(frame_->graphics().SaveScreenshot(path));
  std::set<Argb> colours;
  for (Argb p : frame_->graphics().ReadPixels()) colours.insert(p);
  EXPECT_GT(colours.size(), 50u);
}

}  // namespace
}  // namespace tr
