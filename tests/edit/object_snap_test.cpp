#include "edit/object_snap.h"
#include "view/renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace qf {
namespace {

// The index finds what looking at every edge finds: the smallest shift within reach, for
// random boxes and random moving positions, reach included and just past it refused.
TEST(ObjectSnap, TheIndexFindsTheNearestLineAsAWalkOverEveryEdgeDoes) {
  std::mt19937 rng(27);
  auto coord = [&] { return static_cast<double>(rng() % 20000) / 100; };
  for (int round = 0; round < 300; ++round) {
    std::vector<PageRect> boxes(rng() % 12);
    std::vector<double> lines;
    for (PageRect& b : boxes) {
      b = NormalisedRect(coord(), coord(), coord(), coord());
      lines.insert(lines.end(), {b.left, (b.left + b.right) / 2, b.right});
    }
    const EdgeIndex index(boxes);
    std::vector<double> moving(1 + rng() % 3);
    for (double& m : moving) m = coord();
    const double reach = 0.5 + static_cast<double>(rng() % 400) / 100;
    std::optional<double> best;
    for (double m : moving) {
      for (double l : lines) {
        if (std::fabs(l - m) <= reach && (!best || std::fabs(l - m) < std::fabs(*best))) {
          best = l - m;
        }
      }
    }
    const auto found = index.snapX(moving, reach);
    ASSERT_EQ(found.has_value(), best.has_value()) << "round " << round;
    if (best) {
      EXPECT_DOUBLE_EQ(std::fabs(found->shift), std::fabs(*best)) << "round " << round;
      bool linesUp = false;
      for (double m : moving) linesUp = linesUp || std::fabs(m + found->shift - found->line) < 1e-9;
      EXPECT_TRUE(linesUp) << "round " << round;
    }
  }
  // The edge of reach is taken, just past it is not; y reads the boxes' tops and bottoms.
  const std::vector<PageRect> one{{10, 20, 30, 60}};
  const EdgeIndex index(one);
  const double at[] = {12.0};
  EXPECT_DOUBLE_EQ(index.snapX(at, 2.0)->line, 10);
  EXPECT_FALSE(index.snapX(at, 1.999));
  const double mid[] = {41.5};
  EXPECT_DOUBLE_EQ(index.snapY(mid, 1.5)->line, 40);
  EXPECT_DOUBLE_EQ(index.snapY(mid, 1.5)->shift, -1.5);
  EXPECT_FALSE(index.snapX(at, 0)) << "no reach, no snap";
  EXPECT_TRUE(EdgeIndex().empty());
}

// With the grid on too, the nearer of the two wins; a tie keeps the grid.
TEST(ObjectSnap, TheNearerOfGridAndObjectWins) {
  const EdgeIndex::Snap object{-0.5, 9.5};
  EXPECT_DOUBLE_EQ(NearerSnap(10, std::nullopt, object), 9.5);
  EXPECT_DOUBLE_EQ(NearerSnap(10, 10.75, object), 9.5);
  EXPECT_DOUBLE_EQ(NearerSnap(10, 10.25, object), 10.25);
  EXPECT_DOUBLE_EQ(NearerSnap(10, 9.75, object), 9.75);
  EXPECT_DOUBLE_EQ(NearerSnap(10, 10.5, object), 10.5) << "a tie keeps the grid";
  EXPECT_DOUBLE_EQ(NearerSnap(10, 12, std::nullopt), 12);
  EXPECT_DOUBLE_EQ(NearerSnap(10, std::nullopt, std::nullopt), 10);
}

}  // namespace
}  // namespace qf
