#include "world/hex_distance.h"

#include <gtest/gtest.h>

#include <queue>
#include <vector>

namespace tr {
namespace {

TEST(HexDistance, KnownPairs) {
  EXPECT_EQ(HexDistance(2, 5, 3, 5), 1);
  EXPECT_EQ(HexDistance(2, 5, 3, 6), 1);
  EXPECT_EQ(HexDistance(2, 5, 3, 4), 2);
  EXPECT_EQ(HexDistance(3, 5, 4, 4), 1);
  EXPECT_EQ(HexDistance(3, 5, 4, 5), 1);
  EXPECT_EQ(HexDistance(4, 4, 4, 4), 0);
}

// Neighbours on the map grid: even columns sit half a row lower.
std::vector<std::pair<int, int>> Neighbours(int x, int y) {
  const int up = x % 2 == 0 ? 0 : -1;
  return {{x, y - 1}, {x, y + 1}, {x - 1, y + up}, {x - 1, y + up + 1},
          {x + 1, y + up}, {x + 1, y + up + 1}};
}

TEST(HexDistance, MatchesBreadthFirstSearchOnTheGrid) {
  constexpr int kSize = 16;
  // Search on a larger board so that paths may leave the 16x16 area.
  constexpr int kPad = 20, kBoard = kSize + 2 * kPad;
  for (int sx = 0; sx < kSize; ++sx) {
    for (int sy = 0; sy < kSize; ++sy) {
      std::vector<int> dist(kBoard * kBoard, -1);
      std::queue<std::pair<int, int>> q;
      dist[(sx + kPad) * kBoard + sy + kPad] = 0;
      q.push({sx + kPad, sy + kPad});
      while (!q.empty()) {
        auto [x, y] = q.front();
        q.pop();
        for (auto [nx, ny] : Neighbours(x, y)) {
          if (nx < 0 || ny < 0 || nx >= kBoard || ny >= kBoard || dist[nx * kBoard + ny] >= 0) continue;
          dist[nx * kBoard + ny] = dist[x * kBoard + y] + 1;
          q.push({nx, ny});
        }
      }
      for (int tx = 0; tx < kSize; ++tx) {
        for (int ty = 0; ty < kSize; ++ty) {
          ASSERT_EQ(HexDistance(sx, sy, tx, ty), dist[(tx + kPad) * kBoard + ty + kPad])
              << "(" << sx << "," << sy << ")->(" << tx << "," << ty << ")";
        }
      }
    }
  }
}

}  // namespace
}  // namespace tr
