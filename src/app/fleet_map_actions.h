// The map clicks that finish an action of the fleets manager: the manager
// hid itself with its targets marked, and the click on the map carries out
// the recon, the carrier strike, the fleet move, the unload or landing and
// the shore bombardment, then brings the manager back. Main thread, under
// the game lock.
#pragma once

namespace tr {

class cDialogFlot;

// The recon of the manager's first selected carrier (else its first ship) on
// a land hex (and the port of a port city there) or on a sea zone.
void FleetRecon(cDialogFlot& manager, int column, int row);
// The carrier strike of the manager's one ship on a marked hex, with its
// result shown; an unmarked hex only brings the manager back.
void FleetAirStrike(cDialogFlot& manager, bool marked, int column, int row);
// Every selected fleet sails to the marked node.
void FleetMove(cDialogFlot& manager, bool marked, int column, int row);
// The one selected transport puts its unit ashore on the marked hex, or lands it there.
void FleetUnload(cDialogFlot& manager, bool marked, int column, int row);
// The selected battleships and cruisers bombard the marked land hex.
void FleetShoreBombardment(cDialogFlot& manager, bool marked, int column, int row);

// A click that ended without bringing back the manager it hid (another row
// took it, or it ended the action without a target) refreshes it, so a
// hidden manager never stays on the stack unseen.
void ResumeHiddenFleetsManager();

}  // namespace tr
