#include "turn/game_over.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "turn/turn_rules.h"
#include "world/gra.h"
#include "world/presentation.h"

namespace tr {
namespace {

constexpr std::size_t kListedScores = 20;

// The country holding the city's hex, or 0 (logged) for a city nobody
// holds: the counts run at every end of impulse, so such a city is left out
// of them rather than ending the game.
int ControllerOfCity(const cGame& game, const cCity& city, std::u16string_view errorFormat) {
  const int controller = game.map && game.map->IsInside(city.x, city.y) ? game.map->GetHex(city.x, city.y)->controller : 0;
  if (controller == 0) LogFormat(errorFormat, city.name);
  return controller;
}

// The message's ending; empty while the war goes on.
std::atomic<bool> gEndsWithoutHumans{true};

std::string_view GameOverKey(const cGame& game) {
  int alive = 0;
  for (int alliance = kAllies; alliance <= kComintern; ++alliance) {
    if (GetAllianceLeader(game, alliance)) ++alive;
  }
  if (alive == 0) return "game_over:_all_alliances_eliminated_(uncommon_ending)";
  if (alive == 1) return "game_over:_only_one_major_alliance_left";
  if (gEndsWithoutHumans.load() && !IsAnyHumanPlayer(game)) {
    return "game_over:_all_human-controlled_countries_annexed";
  }
  if (game.turnsLeft <= 0) return "game_over:_time_has_run_out";
  return {};
}

}  // namespace

cCountry* GetAllianceLeader(const cGame& game, int alliance) {
  int code = 0;
  if (alliance >= kAllies && alliance <= kComintern) code = alliance + 3;
  if (alliance >= kAlliesLeader && alliance <= kCominternLeader) code = alliance;
  if (code == 0) return nullptr;
  for (const auto& country : game.countries) {
    if (country->alliance == code) return country.get();
  }
  return nullptr;
}

bool IsAnyHumanPlayer(const cGame& game) {
  return std::any_of(game.countries.begin(), game.countries.end(),
                     [](const auto& country) { return country->isActive && country->humanControlled; });
}

int CountAllianceVictoryPoints(const cGame& game, int alliance) {
  if (alliance < kAllies || alliance > kCominternLeader) return -1;
  const int base = AllianceBase(alliance);
  int points = 0;
  for (const auto& city : game.cities) {
    const int controller = ControllerOfCity(
        game, *city, u"City %s is not controlled by any country (controller id = 0)! (Counting alliance VPs)");
    const cCountry* country = controller != 0 ? game.GetCountry(controller) : nullptr;
    if (country && AllianceBase(country->alliance) == base) points += city->victoryPoints;
  }
  return points;
}

int ComputeCountryScore(const cGame& game, int countryId) {
  float land = 0.0f;
  float air = 0.0f;
  float ships = 0.0f;
  for (const auto* list : {&game.landUnits, &game.aboardUnitsA, &game.aboardUnitsB}) {
    for (const auto& unit : *list) {
      if (unit->owner == countryId) land += unit->GetStrengthValue();
    }
  }
  for (const auto& unit : game.airUnits) {
    if (unit->owner == countryId) air += unit->GetStrengthValue();
  }
  for (const auto& unit : game.reservePool) {
    if (unit->owner != countryId) continue;
    if (unit->category == kCategoryAir) {
      air += unit->GetStrengthValue();
    } else {
      land += unit->GetStrengthValue();
    }
  }
  for (const auto& ship : game.navalUnits) {
    if (ship->owner == countryId) ships += static_cast<float>(ship->hitPoints);
  }
  for (const auto& ship : game.navalReserve) {
    if (ship->owner == countryId) ships += static_cast<float>(ship->hitPoints);
  }
  float victoryPoints = 0.0f;
  float production = 0.0f;
  for (const auto& city : game.cities) {
    const int controller = ControllerOfCity(
        game, *city, u"City %s is not controlled by any country (controller id = 0)! (Counting country VPs)");
    if (controller == 0 || controller != countryId) continue;
    victoryPoints += static_cast<float>(city->victoryPoints);
    production += city->productionPoints;
  }
  return static_cast<int>(air + land + ships + victoryPoints + production);
}

std::string_view GameResultKey(int allies, int axis, int comintern) {
  if (allies == axis && axis == comintern) {
    return allies > 0 ? "result:_draw" : "result:_all_major_alliances_eliminated,_no_result!";
  }
  if (allies == axis && allies > comintern) return "result:_axis-allied_draw_comintern_defeat";
  if (allies == comintern && allies > axis) return "result:_allied-comintern_draw_axis_defeat";
  if (axis == comintern && axis > allies) return "result:_axis-comintern_draw_allied_defeat";
  if (axis > allies && axis > comintern) return "result:_axis_victory";
  if (allies > axis && allies > comintern) return "result:_allied_victory";
  return "result:_comintern_victory";
}

void SetGameEndsWithoutHumans(bool ends) { gEndsWithoutHumans.store(ends); }

void CheckGameOver(cGame& game) {
  LogLine(u"CHECKING FOR GAME OVER...");
  const std::string_view ending = GameOverKey(game);
  std::u16string message = u"\n";
  if (!ending.empty()) {
    game.gameOver = 1;
    message += GetText(ending);
  }
  // The scores are counted at every check, whether or not the war is over.
  const int allies = CountAllianceVictoryPoints(game, kAllies);
  const int axis = CountAllianceVictoryPoints(game, kAxis);
  const int comintern = CountAllianceVictoryPoints(game, kComintern);
  message += GetText(GameResultKey(allies, axis, comintern));
  message += GetText("alliance_score:");
  message += Format(GetText("axis:_%i_vp"), axis);
  message += Format(GetText("allies:_%i_vp"), allies);
  message += Format(GetText("comintern:_%i_vp"), comintern);
  message += GetText("individual_score:");

  struct sScore {
    const cCountry* country;
    int score;
  };
  std::vector<sScore> scores;
  for (const auto& country : game.countries) {
    if (TakesPart(*country)) scores.push_back({country.get(), ComputeCountryScore(game, country->id)});
  }
  std::stable_sort(scores.begin(), scores.end(), [](const sScore& a, const sScore& b) { return a.score > b.score; });
  const std::size_t listed = std::min(scores.size(), kListedScores);
  for (std::size_t i = 0; i < listed; ++i) {
    message += Format(GetText("%i._%s:_%i"), static_cast<int>(i + 1), scores[i].country->name, scores[i].score);
  }
  message += GetText("___press_esc_to_finish");
  if (game.gameOver) Presentation().ShowTextAndWait(GetText("game_over"), message);
  LogLine(u"CHECKING FOR GAME OVER FINISHED");
}

}  // namespace tr
