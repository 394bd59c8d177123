#include "view/ruler_scale.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qf {
namespace {

// Steps worked out by hand: millimetres at 100 % (3.78 px a unit) want 12.7 mm, so 20; inches
// at 96 px want half an inch; twips at 1/15 px want 720, so 1,000; points at 10 % want 360,
// so 500; a unit of no width has no step.
TEST(RulerScale, StepsOfOneTwoAndFive) {
  EXPECT_DOUBLE_EQ(RulerStep(3.78, 48), 20);
  EXPECT_DOUBLE_EQ(RulerStep(96, 48), 0.5);
  EXPECT_DOUBLE_EQ(RulerStep(1.0 / 15, 48), 1000);
  EXPECT_DOUBLE_EQ(RulerStep(48.0 / 360, 48), 500);
  EXPECT_DOUBLE_EQ(RulerStep(4.8, 48), 10);  // exactly the gap
  EXPECT_DOUBLE_EQ(RulerStep(48, 48), 1);
  EXPECT_DOUBLE_EQ(RulerStep(12, 48), 5);
  EXPECT_EQ(RulerStep(0, 48), 0);
  EXPECT_EQ(RulerStep(-1, 48), 0);
  EXPECT_EQ(RulerStep(INFINITY, 48), 0);
}

// A4 across at 100 % scrolled 100 px: 20 mm numbered, 2 mm between; only the page's 210 mm.
TEST(RulerScale, TicksFollowScrollingAndStopAtThePage) {
  const double ppu = 793.7 / 210;
  const auto ticks = RulerTicks(ppu, 100, 300, 210);
  ASSERT_FALSE(ticks.empty());
  EXPECT_DOUBLE_EQ(ticks.front().value, 28);  // the first 2 mm past 100 px (26.46 mm)
  EXPECT_NEAR(ticks.front().pixel, 28 * ppu - 100, 1e-9);
  EXPECT_DOUBLE_EQ(ticks.back().value, 104);  // 400 px is 105.8 mm
  int majors = 0;
  for (size_t i = 0; i < ticks.size(); ++i) {
    const RulerTick& t = ticks[i];
    EXPECT_EQ(t.major, std::fmod(t.value + 1e-9, 20) < 1e-6) << t.value;
    majors += t.major;
    if (i > 0) {
      EXPECT_NEAR(t.value - ticks[i - 1].value, 2, 1e-9);
    }
  }
  EXPECT_EQ(majors, 4);  // 40, 60, 80, 100
  // Past the page's end nothing; before its start nothing.
  const auto end = RulerTicks(ppu, 700, 400, 210);
  EXPECT_DOUBLE_EQ(end.back().value, 210);
  EXPECT_TRUE(end.back().major == false);
  EXPECT_DOUBLE_EQ(RulerTicks(ppu, -50, 60, 210).front().value, 0);
  EXPECT_DOUBLE_EQ(RulerTicks(ppu, -50, 60, 210).front().pixel, 50);
  EXPECT_TRUE(RulerTicks(ppu, 900, 100, 210).empty());
  EXPECT_TRUE(RulerTicks(ppu, 0, 0, 210).empty());
  // Tenths of a step between numbers, whatever the zoom: 10 at 0.5 px a unit is 5 px.
  const auto tenth = RulerTicks(0.5, 0, 200, 1000);
  EXPECT_DOUBLE_EQ(tenth[1].value, 10);
  EXPECT_TRUE(tenth[10].major);
  EXPECT_TRUE(tenth[5].half);  // halfway between 0 and 100
  EXPECT_FALSE(tenth[4].half || tenth[10].half);
}

}  // namespace
}  // namespace qf
