#include "datagen/gui_layout_sizes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace tr::datagen {
namespace {

constexpr int kFirstKeptRow = 1;
constexpr int kLastKeptRow = 69;
constexpr int kEdgeZoneRow = 291;
struct IdRange {
  int first, last;
};
constexpr IdRange kScaledMenus[] = {{175, 201}, {205, 246}};

constexpr double kSpanShare = 0.9;
constexpr double kEdgeShare = 0.1;

struct Rect {
  int x, y, w, h;
};

struct Line {
  std::string text;          // kept as it is unless this is a placed row
  std::optional<int> id;     // a coordinate row with four numbers
  Rect rect{};
  std::string rest;          // fields after the height, kept
};

std::optional<int> ParseInt(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
  return value;
}

// A coordinate row: id and four numbers, fields separated by runs of ';' as
// the game reads them; anything else is copied untouched.
void ParseCoordinates(Line& line) {
  std::vector<std::string_view> fields;
  const std::string_view text = line.text;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = text.find_first_not_of(';', pos);
    if (start == std::string_view::npos) break;
    std::size_t end = text.find(';', start);
    if (end == std::string_view::npos) end = text.size();
    fields.push_back(text.substr(start, end - start));
    pos = end;
  }
  if (fields.size() < 5) return;
  int values[5];
  for (std::size_t i = 0; i < 5; ++i) {
    const std::optional<int> v = ParseInt(fields[i]);
    if (!v) return;
    values[i] = *v;
  }
  line.id = values[0];
  line.rect = {values[1], values[2], values[3], values[4]};
  for (std::size_t i = 5; i < fields.size(); ++i) {
    line.rest += ';';
    line.rest += fields[i];
  }
}

bool Kept(int id) { return id >= kFirstKeptRow && id <= kLastKeptRow; }

bool Scaled(int id) {
  for (const IdRange& r : kScaledMenus) {
    if (id >= r.first && id <= r.last) return true;
  }
  return false;
}

bool Placeable(const Line& line) {
  return line.id && !Kept(*line.id) && *line.id != kEdgeZoneRow && line.rect.w >= 0 && line.rect.h >= 0;
}

bool Holds(const Rect& outer, const Rect& inner) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
         inner.y + inner.h <= outer.y + outer.h;
}

// How one axis of a group moves: scaled with the window, or moved by shift.
struct AxisMove {
  bool scaled = false;
  int shift = 0;
};

AxisMove PlaceAxis(int start, int length, int oldSize, int newSize) {
  AxisMove move;
  const int before = start;
  const int after = oldSize - (start + length);
  if (length >= kSpanShare * oldSize) {
    move.scaled = true;
    return move;
  }
  if ((before <= kEdgeShare * oldSize) != (after <= kEdgeShare * oldSize)) {
    move.shift = before <= after ? 0 : newSize - oldSize;
  } else {
    move.shift = (newSize - oldSize) / 2;
  }
  const int newEnd = start + move.shift + length;
  if (newEnd > newSize) move.shift -= newEnd - newSize;
  if (start + move.shift < 0) move.shift = -start;
  return move;
}

int ScaleEdge(int value, double factor) { return static_cast<int>(std::lround(value * factor)); }

// A row's start (or, with length set, its length) on an axis of its group.
// On a scaled axis the outermost row is scaled whole; the others have their
// starts scaled and keep their lengths in a larger window, so pictures keep
// their shape, and shrink with a smaller one, so nothing comes to overlap.
int PlaceOnAxis(int start, int length, const AxisMove& move, double factor, bool outermost, bool lengthWanted = false) {
  if (!move.scaled) return lengthWanted ? length : start + move.shift;
  const int newStart = ScaleEdge(start, factor);
  if (!lengthWanted) return newStart;
  if (outermost || factor < 1.0) return ScaleEdge(start + length, factor) - newStart;
  return length;
}

}  // namespace

std::string DeriveGuiLayout(std::string_view source, int width, int height) {
  std::vector<Line> lines;
  int headers = 0;
  for (std::size_t start = 0; start < source.size();) {
    std::size_t end = source.find('\n', start);
    if (end == std::string_view::npos) end = source.size();
    Line line;
    line.text = std::string(source.substr(start, end - start));
    start = end + 1;
    if (!line.text.empty() && line.text.back() == '\r') line.text.pop_back();
    if (!line.text.empty() && line.text[0] == '#') {
      ++headers;
      if (headers == 1) {
        line.text = "# Screen layout for " + std::to_string(width) + " x " + std::to_string(height) +
                    ", placed at build time from the 1024 x 768 layout. Control rows follow: id;x;y;width;height";
      }
    } else if (headers == 1) {
      ParseCoordinates(line);
    }
    lines.push_back(std::move(line));
  }

  // Each placeable row's holder: the nearest earlier id whose rectangle holds it.
  std::map<int, std::size_t> byId;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (Placeable(lines[i]) && !Scaled(*lines[i].id)) byId[*lines[i].id] = i;
  }
  auto nearestHolder = [&](std::size_t index) -> std::optional<std::size_t> {
    const int id = *lines[index].id;
    for (auto it = byId.lower_bound(id); it != byId.begin();) {
      --it;
      if (it->first != id && Holds(lines[it->second].rect, lines[index].rect)) return it->second;
    }
    return std::nullopt;
  };
  // Rows that hold others: dialog frames, panels, boxes.
  std::set<std::size_t> containers;
  for (const auto& entry : byId) {
    if (const std::optional<std::size_t> h = nearestHolder(entry.second)) containers.insert(*h);
  }
  auto spans = [&](std::size_t index) {
    const Rect& r = lines[index].rect;
    return r.w >= kSpanShare * kSourceLayoutWidth || r.h >= kSpanShare * kSourceLayoutHeight;
  };
  // A row as wide or as tall as the window (a side panel, the event window)
  // keeps only its own controls: a dialog lying in it is a group of its own.
  auto holder = [&](std::size_t index) -> std::optional<std::size_t> {
    const std::optional<std::size_t> h = nearestHolder(index);
    if (h && spans(*h) && containers.count(index) != 0) return std::nullopt;
    return h;
  };

  const double sx = static_cast<double>(width) / kSourceLayoutWidth;
  const double sy = static_cast<double>(height) / kSourceLayoutHeight;
  std::vector<Rect> placed(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& line = lines[i];
    if (!line.id) continue;
    const Rect r = line.rect;
    if (!Placeable(line) && *line.id == kEdgeZoneRow) {
      placed[i] = {r.x, r.y, r.w + width - kSourceLayoutWidth, r.h + height - kSourceLayoutHeight};
    } else if (!Placeable(line)) {
      placed[i] = r;
    } else if (Scaled(*line.id)) {
      const int left = ScaleEdge(r.x, sx), top = ScaleEdge(r.y, sy);
      placed[i] = {left, top, ScaleEdge(r.x + r.w, sx) - left, ScaleEdge(r.y + r.h, sy) - top};
    } else {
      std::size_t root = i;
      for (std::optional<std::size_t> up = holder(root); up; up = holder(root)) root = *up;
      const Rect g = lines[root].rect;
      const AxisMove mx = PlaceAxis(g.x, g.w, kSourceLayoutWidth, width);
      const AxisMove my = PlaceAxis(g.y, g.h, kSourceLayoutHeight, height);
      const bool outermost = root == i;
      placed[i] = {PlaceOnAxis(r.x, r.w, mx, sx, outermost), 0, 0, 0};
      placed[i].w = PlaceOnAxis(r.x, r.w, mx, sx, outermost, true);
      placed[i].y = PlaceOnAxis(r.y, r.h, my, sy, outermost);
      placed[i].h = PlaceOnAxis(r.y, r.h, my, sy, outermost, true);
    }
  }

  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& line = lines[i];
    if (line.id) {
      const Rect& p = placed[i];
      out += std::to_string(*line.id) + ";" + std::to_string(p.x) + ";" + std::to_string(p.y) + ";" +
             std::to_string(p.w) + ";" + std::to_string(p.h) + line.rest;
    } else {
      out += line.text;
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace tr::datagen
