// cDialogKonwojow: the convoys manager. It edits the current country's
// convoys in place: their order (the order they sail in), their kind and
// amount, deletion, and new convoys whose two ports the player clicks on
// the map while the window is hidden.
#pragma once

#include <cstdint>
#include <vector>

#include "dialogs/dialog_base.h"

namespace tr {

class cCountry;
struct sConvoy;

// The map's clicks of a new convoy and the manager's selection; they outlive
// the dialog so the map can reach them.
extern std::int32_t ConvoysManagerDepartureNode;    // 0 = none
extern std::int32_t ConvoysManagerDestinationNode;  // 0 = none
extern cCountry* ConvoysManagerCountry;
extern std::int32_t ConvoysManagerSelectedRow;      // -1 = none

class cDialogKonwojow : public cDialog {
 public:
  static constexpr int kDialogId = 940;
  static constexpr int kPicture = 941;
  static constexpr int kTitle = 942;
  static constexpr int kListLabel = 943;
  static constexpr int kList = 944;
  static constexpr int kNewButton = 945;
  static constexpr int kMoveUpButton = 946;
  static constexpr int kMoveDownButton = 947;
  static constexpr int kDeleteButton = 950;
  static constexpr int kTypeLabel = 951;
  static constexpr int kProductionRadio = 952;
  static constexpr int kSupplyRadio = 953;
  static constexpr int kAmountText = 954;
  static constexpr int kAmountSlider = 955;
  static constexpr int kExitButton = 956;

  // For the player control's current country.
  cDialogKonwojow();

  // One row per convoy in sailing order; a convoy id other than -1 selects
  // its row as a click would.
  void FillList(int selectId);
  // Enabled states, hints, the kind buttons and the amount from the selection.
  void UpdateHints();
  // After the destination click: adds the convoy between the two chosen
  // ports and selects it; without a new convoy the selection is dropped.
  void Rebuild();

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;

  // The convoy of the selected row, or null.
  sConvoy* SelectedConvoy() const;

 private:
  ~cDialogKonwojow() override;
  std::vector<sConvoy>* Convoys() const;
  void SetKind(int kind);
  void Move(int step);

  std::vector<sConvoy>* convoys_ = nullptr;
};

}  // namespace tr
