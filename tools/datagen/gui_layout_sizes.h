// Places the rows of the 1024 x 768 screen layout for another window size, so
// every layout file the game ships is derived from the one that is edited.
//
// Rules, applied to every coordinate row (id;x;y;width;height):
// - Rows 1 to 69 are cells of the skin picture or sizes, not places on the
//   screen: copied as they are.
// - Row 291 is the edge-scrolling zone as four edges: the left and top edges
//   stay, the right and bottom edges keep their distance from the window's.
// - The full-screen menus (scenario menu 175-201, scenario settings menu
//   205-246) are scaled to the window, each axis by its own factor.
// - Every other row is a screen rectangle. It belongs to the nearest row
//   before it (by id) whose rectangle holds it, as a dialog's controls follow
//   the dialog; a row that no earlier row holds starts a group, and so does
//   a row holding others (a dialog) that lies in a row as wide or as tall as
//   the window (the event window holds only its own controls). A group is
//   placed on each axis by its outermost row: one that spans at least 90% of
//   the axis is scaled along it with the window (title bars, side panels as
//   tall as the window), its rows' starts with it and their lengths only
//   when the window is smaller; one within 10% of one edge, and
//   not of both, keeps its distance from that edge (panels); any other is
//   centred, keeping its offset from the centre (dialogs). A group that would
//   then cross an edge is moved back inside. The rows of a group move with it.
// - Font rows are copied: texts keep their size at every resolution.
// Offsets stored as rows (the message box's margins, say) sit near the top
// left corner, so they stay as they are.
#pragma once

#include <string>
#include <string_view>

namespace tr::datagen {

inline constexpr int kSourceLayoutWidth = 1024;
inline constexpr int kSourceLayoutHeight = 768;

// The layout file text for width x height from the 1024 x 768 file's text.
// Lines end with CR LF.
std::string DeriveGuiLayout(std::string_view source, int width, int height);

}  // namespace tr::datagen
