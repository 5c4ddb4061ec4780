// The hex map of a running game: the grid of sHex cells in row-major order,
// the geometry of the offset grid, whole-map passes, the per-hex decoration
// cells, the list of flagged hexes, the computer opponent's front-node
// lattice, and the view state the camera code moves. Every rule reaches a hex
// through GetHex.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "world/hex.h"
#include "world/hex_entry.h"
#include "world/hex_geometry.h"

namespace tr {

// Pixel steps of the grid at scale 1.
inline constexpr int kColumnStep = 83;
inline constexpr int kRowStep = 98;

// Internal map errors (a bad front-node distance or direction, a grid for an
// empty map). Callers catch them, log the text and end the program: see
// RunMapOperation.
class cMapError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The decoration of one hex: a texture position per weather state, a depth
// (-1.0 empty) and a layer number (100 empty).
struct sHexPathCell {
  std::array<sPoint, 3> texture{};
  float depth = -1.0f;
  std::int32_t layer = 100;
};

struct sMapCamera {
  float y = 0, targetY = 0, zoomOffsetY = 0;
  float x = 0, targetX = 0, zoomOffsetX = 0;
  float glideSpeedX = 0, glideSpeedY = 0;
};

class cMap {
 public:
  // An empty map, filled by Load.
  cMap();
  // A map of constructed hexes that know their column and row (tools, tests).
  cMap(int width, int height);
  ~cMap();
  cMap(const cMap&) = delete;
  cMap& operator=(const cMap&) = delete;

  // The map file (map_file.cpp). Load reads "map.qel" through the folder's
  // path template; a missing, foreign, short or empty file is fatal. A saved
  // game's map already holds the coast's sea zones its game ran with, so they
  // are kept as stored: spreading them again would carry onto the coast the
  // port zones that the sea nodes wrote into their marker hexes.
  void Load(std::u16string_view pathTemplate, bool savedGame = false);
  // With a template the file is "output_map.qel" through it, else
  // "<folder>\map.qel". A failure is logged and the game goes on.
  bool Save(std::u16string_view folder, std::u16string_view pathTemplate) const;
  // Rebuilds the map from "map.hmf" and the weather tables beside it and
  // writes "output_map.qel" (map_convert.cpp).
  void ConvertHmfMap(std::u16string_view pathTemplate);

  // Access and geometry. GetHex answers every coordinate: one off the map
  // gives the hex (0, 0), so callers that must not act on it test IsInside.
  sHex* GetHex(int x, int y) {
    if (!IsInside(x, y)) return hexes_.empty() ? &fallback_ : &hexes_[0];
    return &hexes_[static_cast<std::size_t>(y) * width_ + x];
  }
  const sHex* GetHex(int x, int y) const { return const_cast<cMap*>(this)->GetHex(x, y); }
  bool IsInside(int x, int y) const { return x >= 0 && x < width_ && y >= 0 && y < height_; }
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  // The direction code 1..6 (direction plus 1) to an adjacent hex, else 0.
  int GetDirectionTo(int x0, int y0, int x1, int y1) const;
  sPoint GetNeighbourPoint(int x, int y, int d) const { return NeighbourPoint(x, y, d); }
  // For d of 6 or more the outputs are left as they were.
  void GetNeighbourCoords(int x, int y, int d, int& outX, int& outY) const;
  // (x, y) itself is assumed to lie on the map.
  bool HasNeighbour(int x, int y, int d) const;
  // Null off the map or for a direction outside 0..5.
  sHex* GetNeighbour(int x, int y, int d) {
    if (d < 0 || d >= kDirectionCount) return nullptr;
    const sPoint p = NeighbourPoint(x, y, d);
    if (!IsInside(p.x, p.y)) return nullptr;
    return &hexes_[static_cast<std::size_t>(p.y) * width_ + p.x];
  }
  const sHex* GetNeighbour(int x, int y, int d) const {
    return const_cast<cMap*>(this)->GetNeighbour(x, y, d);
  }
  std::vector<sHex>& Hexes() { return hexes_; }
  const std::vector<sHex>& Hexes() const { return hexes_; }

  // Whole-map passes (map_passes.cpp).
  void RestoreControlToOwners(int country);
  void FlagSeaZoneHexes(int zone, std::uint32_t bits);
  void PropagateSeaZonesToCoast();
  void MarkRiverMouths();

  // Map-wide operations of the rules (map_capture.cpp, map_territory.cpp,
  // map_areas.cpp). Country arguments are country numbers.
  // Takes the hex for country c when c is at war with its controller, and
  // with it every neighbour without a city that no enemy unit guards; each
  // taken hex goes into undo with its previous controller.
  void CaptureHex(int c, int x, int y, HexEntryList& undo);
  // Fleets in a port that changes hands leave for the sea beside it.
  void OnPortCaptured(int x, int y);
  // Recomputes every hex's border flags, the sea-zone borders included.
  void RefreshHexes();
  // The territory of an annexed country passes to its successor.
  void ReassignAnnexedHexes(int annexed, int successor);
  // Scripted-event effects on a column of n hexes from (x, y) downwards.
  void ChangeStripeControllerAndOwner(int x, int y, int n, int c);
  void ChangeStripeControllerOwnerAndOriginalOwner(int x, int y, int n, int c);
  // Every hex that a controls passes to b for good.
  void TransferTerritory(int a, int b);
  // Searches of the computer opponent's invasion planner.
  bool FindAreaPathA(int c, int x0, int y0, int zone, int reach, int& outX, int& outY, bool ownOnly) const;
  bool FindAreaPathB(int c, int x0, int y0, int zone, int reach, int& outX, int& outY) const;

  // Camera, zoom and weather (map_camera.cpp). The camera target may be set
  // from the worker thread; the frame step reads it under the camera's lock.
  void ScrollCamera(float dx, float dy, float factor);
  // Glides to the map pixel (x, y); with setState the game enters state 12.
  void GlideCamera(float x, float y, bool setState);
  // Centres on the hex under a screen point of the minimap rectangle.
  void CenterAtMinimapPoint(int mouseX, int mouseY);
  // +1.0 zooms in one step, -1.0 out; the point under the cursor stays put.
  void Zoom(float amount, float cursorX, float cursorY);
  // The per-frame camera step; true when the displayed scale changed, so the
  // caller picks the map fonts for the new zoom.
  bool FrameMove(float elapsed);
  // The weather of the impulse for the month 0..11, column by column.
  void RollWeather(int month);

  // The flagged-hex list: every hex whose flag word is not 0.
  void ClearHexFlags(std::uint32_t mask, bool clearShaded);
  void AddFlaggedHex(sHex* hex);
  void RemoveFlaggedHex(const sHex* hex);  // the first entry that holds it
  const std::vector<sHex*>& FlaggedHexes() const { return flagged_; }

  // Front-node lattice of the line-of-defence planner (map_front_nodes.cpp).
  // Errors throw cMapError.
  const std::vector<sPoint>& SetFrontNodeDistance(int distance);
  sPoint GetFrontNodeNeighbour(int x, int y, int d) const;
  void SetFrontNodeMark(int x, int y, std::uint8_t value);
  std::uint8_t GetFrontNodeMark(int x, int y) const;
  void ClearFrontNodeMarks();
  int GetFrontNodeDistance() const { return frontNodeDistance_; }
  const std::vector<sPoint>& FrontNodes() const { return frontNodes_; }

  // Creation steps of the loaders.
  void SetWidth(int width);
  void SetHeight(int height);
  void CreatePathCells();
  void CreateFrontNodeGrid();
  std::vector<sHexPathCell>& PathCells() { return pathCells_; }
  const std::vector<sHexPathCell>& PathCells() const { return pathCells_; }

 private:
  void ReplaceHexes(int width, int height);
  void BuildFrontNodes(int distance);
  void ComputeFitScale();

  std::int32_t width_ = 0;
  std::int32_t height_ = 0;

 public:
  // View state, moved by the camera and zoom code and read by the renderer.
  std::int32_t cameraMinX = 0;
  std::int32_t cameraMaxX = 0;
  std::int32_t cameraMinY = 0;
  std::int32_t cameraMaxY = 0;
  float fitScale = 0.0f;  // the scale at which the whole map fits the screen
  std::int32_t firstVisibleColumn = 0;
  std::int32_t firstVisibleRow = 0;
  std::int32_t columnOffset = 0;
  std::int32_t rowOffset = 0;
  std::int32_t visibleColumnsAtScale = 0;
  std::int32_t visibleRowsAtScale = 0;
  std::int32_t visibleColumns = 0;
  std::int32_t visibleRows = 0;
  std::array<float, 16> viewTransform{};
  std::array<std::int32_t, 4> minimapRect{};  // left, top, width, height
  std::array<std::array<float, 2>, 5> minimapOutline{};

  // What the minimap outline was last made from. The outline is made again
  // whenever any of it differs, however the view got there: a glide, a drag,
  // a zoom, or a centring that set the camera without gliding.
  struct sMinimapOutlineSource {
    std::int32_t firstColumn = 0;
    std::int32_t firstRow = 0;
    float scale = 0.0f;
    std::array<std::int32_t, 4> rect{};
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    bool operator==(const sMinimapOutlineSource&) const = default;
  };

 private:
  std::vector<sHex> hexes_;
  std::vector<sHexPathCell> pathCells_;
  std::vector<sHex*> flagged_;
  std::vector<std::uint8_t> frontNodeMarks_;
  std::int32_t frontNodeDistance_ = -1;
  std::vector<sPoint> frontNodes_;
  sHex fallback_;  // what GetHex answers before the map has hexes
  sMinimapOutlineSource minimapOutlineSource_;

 public:
  sMapCamera camera;
  std::int32_t ownershipLayerWidth = 0;
  std::int32_t ownershipLayerHeight = 0;
};

// Starts a camera glide to the hex (or jumps there without glide); a hex off
// the map is logged and nothing moves.
void CenterAtHex(cMap& map, int x, int y, bool glide = true);

// A unit of a country at war with `country` stands on (x, y) or next to it.
bool IsHexAdjacentToEnemyUnit(int country, int x, int y);

// The end of impulse's absorption of territory cut off from every friendly city.
void AbsorbUnsuppliedHexes();

// Logs the error's text and ends the program with exit code 1.
[[noreturn]] void ExitOnMapError(const cMapError& error);

// Runs a map operation that may throw cMapError, ending the program on one.
template <typename F>
decltype(auto) RunMapOperation(F&& operation) {
  try {
    return operation();
  } catch (const cMapError& error) {
    ExitOnMapError(error);
  }
}

}  // namespace tr
