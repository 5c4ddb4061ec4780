// cAttackPanel: the map-side panel that shows the land attack the player is
// planning - the attackers, their strength and attack modifier, the defender
// with its strength and defence modifier, and the odds column the battle
// will use. It only displays; the plan is made by clicks on the map.
#pragma once

#include <string_view>

#include "dialogs/panel.h"

namespace tr {

struct sAttack;

class cAttackPanel : public cPanel {
 public:
  static constexpr int kPanelId = 451;
  static constexpr int kDefenderName = 454;
  static constexpr int kDefenderFlag = 455;
  static constexpr int kDefenderStrength = 457;
  static constexpr int kDefenceModifier = 459;
  static constexpr int kDefence = 461;
  static constexpr int kAttackerNames = 464;
  static constexpr int kAttackerFlag = 465;
  static constexpr int kAttackerStrength = 467;
  static constexpr int kAttackModifier = 469;
  static constexpr int kAttack = 471;
  static constexpr int kOdds = 473;
  static constexpr int kLastId = 473;

  cAttackPanel();

  // Shows the game's current attack record, or dashes without one.
  void Update();
  void Move(int dx, int dy) override;

  // The record shown since the last Update; null when none is planned.
  const sAttack* shownAttack() const { return shownAttack_; }

 private:
  void SetField(int id, std::u16string_view text, std::u16string_view hint = {}, bool setHint = false);
  void ShowAttackers(const sAttack* attack);
  void ShowDefender(const sAttack* attack);

  const sAttack* shownAttack_ = nullptr;
};

// The game's attack panel, or null.
cAttackPanel* GetAttackPanel();

}  // namespace tr
