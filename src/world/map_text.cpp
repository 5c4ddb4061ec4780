#include "world/map_text.h"

#include <sstream>
#include <vector>

namespace tr {

namespace {

constexpr std::string_view kTerrainCodes = ".pfrshmd";

struct sMapTextParser {
  std::unique_ptr<cMap> map;
  std::string error;
  int lineNumber = 0;

  bool Fail(const std::string& reason) {
    error = "line " + std::to_string(lineNumber) + ": " + reason;
    return false;
  }

  sHex* HexAt(int x, int y) { return map->IsInside(x, y) ? map->GetHex(x, y) : nullptr; }

  // Reads exactly `count` integers after the directive; none may be missing.
  bool Numbers(std::istringstream& in, std::vector<int>& out, std::size_t count) {
    out.assign(count, 0);
    for (int& value : out) {
      if (!(in >> value)) return Fail("expected " + std::to_string(count) + " numbers");
    }
    std::string rest;
    if (in >> rest) return Fail("unexpected text '" + rest + "'");
    return true;
  }

  bool GridRow(std::string_view kind, std::string_view row, int y) {
    if (static_cast<int>(row.size()) != map->GetWidth()) {
      return Fail(std::string(kind) + " row " + std::to_string(y) + " is not " + std::to_string(map->GetWidth()) +
                  " characters long");
    }
    for (int x = 0; x < map->GetWidth(); ++x) {
      sHex& hex = *map->GetHex(x, y);
      const char c = row[static_cast<std::size_t>(x)];
      if (kind == "terrain") {
        const std::size_t code = kTerrainCodes.find(c);
        if (code == std::string_view::npos) return Fail(std::string("unknown terrain '") + c + "'");
        hex.terrain = static_cast<std::uint8_t>(code);
        // A fixed scatter of the six graphic variants keeps large areas from looking tiled.
        hex.variant = static_cast<std::uint8_t>((x * 7 + y * 11 + (x * y) % 5) % 6);
        continue;
      }
      const int number = MapTextNumber(c);
      if (number < 0) return Fail(std::string("unknown ") + std::string(kind) + " character '" + c + "'");
      if (kind == "owner") {
        hex.owner = hex.controller = hex.originalOwner = static_cast<std::uint8_t>(number);
      } else {
        hex.seaZone = static_cast<std::uint16_t>(number);
      }
    }
    return true;
  }

  bool Directive(const std::string& word, std::istringstream& in) {
    std::vector<int> v;
    if (word == "controller" || word == "fort") {
      if (!Numbers(in, v, 3)) return false;
      sHex* hex = HexAt(v[0], v[1]);
      if (hex == nullptr) return Fail("hex off the map");
      if (v[2] < 0 || v[2] > 255) return Fail("value out of range");
      (word == "fort" ? hex->fortLevel : hex->controller) = static_cast<std::uint8_t>(v[2]);
      return true;
    }
    if (word == "port") {
      if (!Numbers(in, v, 2)) return false;
      sHex* hex = HexAt(v[0], v[1]);
      if (hex == nullptr) return Fail("hex off the map");
      hex->port = 1;
      return true;
    }
    if (word == "weather") {
      if (!Numbers(in, v, 4)) return false;
      sHex* hex = HexAt(v[0], v[1]);
      if (hex == nullptr) return Fail("hex off the map");
      if (v[2] < 0 || v[2] > 2 || v[3] < 0 || v[3] > 1) return Fail("weather state 0-2 and takes-weather 0-1 expected");
      hex->weather = v[2];
      hex->takesWeather = static_cast<std::uint8_t>(v[3]);
      return true;
    }
    if (word == "winter" || word == "mud") {
      if (!Numbers(in, v, 16)) return false;
      if (!map->IsInside(v[0], v[1]) || !map->IsInside(v[2], v[3]) || v[0] > v[2] || v[1] > v[3]) {
        return Fail("rectangle off the map or inverted");
      }
      for (int m = 0; m < kMonthsPerYear; ++m) {
        if (v[4 + m] < 0 || v[4 + m] > 100) return Fail("chance outside 0-100");
      }
      for (int y = v[1]; y <= v[3]; ++y) {
        for (int x = v[0]; x <= v[2]; ++x) {
          auto& chances = word == "winter" ? map->GetHex(x, y)->winterChance : map->GetHex(x, y)->mudChance;
          for (int m = 0; m < kMonthsPerYear; ++m) {
            const int sum = chances[static_cast<std::size_t>(m)] + v[static_cast<std::size_t>(4 + m)];
            if (sum > 100) return Fail("chances of overlapping areas add up beyond 100");
            chances[static_cast<std::size_t>(m)] = static_cast<std::uint8_t>(sum);
          }
        }
      }
      return true;
    }
    return Fail("unknown directive '" + word + "'");
  }

  bool River(std::istringstream& in) {
    int x = 0;
    int y = 0;
    std::string sides;
    std::string rest;
    if (!(in >> x >> y >> sides) || (in >> rest)) return Fail("river X Y SIDES expected");
    sHex* hex = HexAt(x, y);
    if (hex == nullptr) return Fail("hex off the map");
    if (!hex->IsLand()) return Fail("a river runs along a land hex");
    for (char c : sides) {
      if (c < '0' || c > '5') return Fail("river sides are digits 0-5");
      hex->rivers = static_cast<std::uint8_t>(hex->rivers | (1u << (c - '0')));
    }
    return true;
  }

  bool Parse(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
      if (c == '\n') {
        lines.push_back(current);
        current.clear();
      } else if (c != '\r') {
        current += c;
      }
    }
    if (!current.empty()) lines.push_back(current);

    std::string grid;
    int gridRow = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      lineNumber = static_cast<int>(i) + 1;
      const std::string& line = lines[i];
      if (!grid.empty()) {
        if (!GridRow(grid, line, gridRow)) return false;
        if (++gridRow == map->GetHeight()) grid.clear();
        continue;
      }
      if (line.empty() || line[0] == '#') continue;
      std::istringstream in(line);
      std::string word;
      in >> word;
      if (word.empty()) continue;
      if (!map) {
        int width = 0;
        int height = 0;
        std::string rest;
        if (word != "size" || !(in >> width >> height) || (in >> rest) || width < 1 || height < 1 || width > 65535 ||
            height > 65535) {
          return Fail("the map begins with 'size W H'");
        }
        map = std::make_unique<cMap>(width, height);
        continue;
      }
      if (word == "terrain" || word == "owner" || word == "zone") {
        grid = word;
        gridRow = 0;
        continue;
      }
      if (word == "river") {
        if (!River(in)) return false;
        continue;
      }
      if (!Directive(word, in)) return false;
    }
    if (!grid.empty()) return Fail("the " + grid + " grid ends early");
    if (!map) return Fail("no 'size' directive");
    for (const sHex& hex : map->Hexes()) {
      if (hex.IsLand() && hex.owner == 0) {
        lineNumber = 0;
        return Fail("land hex (" + std::to_string(hex.x) + ", " + std::to_string(hex.y) + ") has no owner");
      }
    }
    return true;
  }
};

}  // namespace

int MapTextNumber(char c) {
  if (c == '.') return 0;
  if (c >= '1' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return 10 + (c - 'A');
  if (c >= 'a' && c <= 'z') return 36 + (c - 'a');
  return -1;
}

std::unique_ptr<cMap> ParseMapText(std::string_view text, std::string& error) {
  sMapTextParser parser;
  if (!parser.Parse(text)) {
    error = parser.error;
    return nullptr;
  }
  return std::move(parser.map);
}

}  // namespace tr
