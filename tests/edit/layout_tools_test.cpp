#include "edit/layout_tools.h"

#include <gtest/gtest.h>

#include "editing_fixture.h"
#include "support/design_builder.h"

namespace qf {
namespace {

ObjectRecord Rec(ObjectKind kind, double x1, double y1, double x2, double y2) {
  ObjectRecord r;
  r.Kind = kind;
  r.X1 = x1;
  r.Y1 = y1;
  r.X2 = x2;  // a text's or picture's measured width
  r.Y2 = y2;
  return r;
}

// Five kinds mixed, a box first: each tool's places worked out by hand from the boxes selection
// uses (A 10–40 × 20–30, text B 50–62 × 5–9, line C 55–70 × 50–60 drawn right to left, ring
// D 0–20 × 80–100, picture E 30–38 × 40–46).
TEST(LayoutTools, EachToolOnEveryKind) {
  const std::vector<ObjectRecord> o{
      Rec(ObjectKind::Box, 10, 20, 40, 30), Rec(ObjectKind::Text, 50, 5, 12, 4),
      Rec(ObjectKind::Line, 70, 60, 55, 50), Rec(ObjectKind::Ring, 0, 80, 20, 100),
      Rec(ObjectKind::Picture, 30, 40, 8, 6)};
  using R = std::vector<WorkingRect>;
  const WorkingRect a{10, 20, 40, 30};
  EXPECT_EQ(ArrangeObjects(LayoutTool::AlignLeft, o),
            (R{a, {10, 5, 10, 5}, {25, 60, 10, 50}, {10, 80, 30, 100}, {10, 40, 10, 40}}));
  EXPECT_EQ(ArrangeObjects(LayoutTool::AlignRight, o),
            (R{a, {28, 5, 28, 5}, {40, 60, 25, 50}, {20, 80, 40, 100}, {32, 40, 32, 40}}));
  EXPECT_EQ(ArrangeObjects(LayoutTool::AlignTop, o),
            (R{a, {50, 20, 50, 20}, {70, 30, 55, 20}, {0, 20, 20, 40}, {30, 20, 30, 20}}));
  EXPECT_EQ(ArrangeObjects(LayoutTool::AlignBottom, o),
            (R{a, {50, 26, 50, 26}, {70, 30, 55, 20}, {0, 10, 20, 30}, {30, 24, 30, 24}}));
  EXPECT_EQ(ArrangeObjects(LayoutTool::AlignCentreX, o),
            (R{a, {19, 5, 19, 5}, {32.5, 60, 17.5, 50}, {15, 80, 35, 100}, {21, 40, 21, 40}}));
  EXPECT_EQ(ArrangeObjects(LayoutTool::AlignCentreY, o),
            (R{a, {50, 23, 50, 23}, {70, 30, 55, 20}, {0, 15, 20, 35}, {30, 22, 30, 22}}));
  // Lines, boxes and rings take the reference's size from their first point; texts and
  // pictures keep theirs.
  EXPECT_EQ(ArrangeObjects(LayoutTool::SameWidth, o),
            (R{a, {50, 5, 50, 5}, {70, 60, 40, 50}, {0, 80, 30, 100}, {30, 40, 30, 40}}));
  EXPECT_EQ(ArrangeObjects(LayoutTool::SameHeight, o),
            (R{a, {50, 5, 50, 5}, {70, 60, 55, 50}, {0, 80, 20, 90}, {30, 40, 30, 40}}));
  // Across all five, by left edge D, A, E, B, C: the outer two stay, gaps of (70 − 85) / 4.
  EXPECT_EQ(ArrangeObjects(LayoutTool::DistributeX, o), (R{{16.25, 20, 46.25, 30},
                                                           {46.75, 5, 46.75, 5},
                                                           {70, 60, 55, 50},
                                                           {0, 80, 20, 100},
                                                           {42.5, 40, 42.5, 40}}));
  // Down B, A, E: gaps of (41 − 20) / 2.
  const std::vector<ObjectRecord> three{o[0], o[1], o[4]};
  EXPECT_EQ(ArrangeObjects(LayoutTool::DistributeY, three),
            (R{{10, 19.5, 40, 29.5}, {50, 5, 50, 5}, {30, 40, 30, 40}}));
  // Too few: nothing.
  EXPECT_TRUE(ArrangeObjects(LayoutTool::DistributeX, {o[0], o[1]}).empty());
  EXPECT_TRUE(ArrangeObjects(LayoutTool::AlignLeft, {o[0]}).empty());
}

// In the editor: one undo step, the objects stay selected, commands are not moved, and the
// tool waits for enough objects.
TEST(LayoutTools, OneStepOnTheSelection) {
  test::EditingFixture e;
  test::DesignBuilder b;
  b.box(30, 10, 50, 20, "0", "").repeat("i", true, 5, 2);
  b.box(10, 40, 20, 50, "0", "").end("i", true).box(60, 70, 90, 80, "0", "");
  e.design = b.design;
  e.loaded();
  e.editor.selectRows({1});
  EXPECT_FALSE(e.editor.canArrange(LayoutTool::AlignLeft));
  EXPECT_FALSE(e.editor.arrange(LayoutTool::AlignLeft));
  e.editor.selectRows({1, 2, 3, 5});  // a command among them
  EXPECT_TRUE(e.editor.canArrange(LayoutTool::DistributeY));
  ASSERT_TRUE(e.editor.arrange(LayoutTool::AlignLeft));
  EXPECT_EQ(e.cell(3, kColX1), "30.000");
  EXPECT_EQ(e.cell(3, kColX2), "40.000");
  EXPECT_EQ(e.cell(5, kColX1), "30.000");
  EXPECT_EQ(e.cell(5, kColX2), "60.000");
  EXPECT_EQ(e.cell(2, kColX1), "5.000");  // the command's gap
  EXPECT_EQ(e.editor.selectedRows(), (std::vector<int>{1, 2, 3, 5}));
  ASSERT_TRUE(e.editor.undo());
  EXPECT_EQ(e.cell(3, kColX1), "10.000");
  EXPECT_EQ(e.cell(5, kColX1), "60.000");
  EXPECT_FALSE(e.editor.canUndo());
}

// A tool or a move that puts objects partly off the page says so, once for one object, with
// the count for several; the page's own edge is still on it.
TEST(LayoutTools, ObjectsReachingOffThePageAreTold) {
  test::TellingView view;
  test::EditingFixture e;
  test::DesignBuilder b;
  b.box(2, 10, 12, 20, "0", "").box(50, 50, 60, 60, "0", "");
  e.design = b.design;
  e.loaded();
  e.editor.attach(&view);
  e.editor.selectRows({1});
  ASSERT_TRUE(e.editor.moveSelection(-2, 0));  // on the edge
  EXPECT_TRUE(view.said.empty());
  ASSERT_TRUE(e.editor.moveSelection(-0.5, 0));
  ASSERT_EQ(view.said.size(), 1u);
  EXPECT_EQ(view.said[0],
            "オブジェクトがページからはみ出しています。はみ出した部分は印刷されません。");
  e.editor.selectRows({1, 2});
  ASSERT_TRUE(e.editor.arrange(LayoutTool::AlignLeft));
  ASSERT_EQ(view.said.size(), 2u);
  EXPECT_EQ(view.said[1],
            "2 個のオブジェクトがページからはみ出しています。はみ出した部分は印刷されません。");
  e.editor.selectRows({1, 2});
  e.drag(5, 30, 3, 30);  // both carried by the pointer, further off
  ASSERT_EQ(view.said.size(), 3u);
  EXPECT_EQ(view.said[2], view.said[1]);
  e.editor.attach(nullptr);
}

// A double-click takes the object drawn on top at the point, a line within half a mark of it,
// never one on a locked layer.
TEST(LayoutTools, ADoubleClickPicksTheObjectOnTop) {
  test::EditingFixture e;
  test::DesignBuilder b;
  b.layer(2, "locked");
  b.on(1).box(10, 10, 50, 50, "0", "").box(30, 30, 70, 70, "0", "");
  b.figure(ObjectKind::Line, 10, 90, 90, 90);
  b.on(2).box(0, 0, 100, 100, "0", "");
  e.design = b.design;
  e.design.layers.setCell(1, kLayerLock, "×");
  e.loaded();
  e.view.markSize = 2;
  EXPECT_TRUE(e.editor.pickObjectAt(40, 40));
  EXPECT_EQ(e.editor.selectedRows(), (std::vector<int>{2}));  // the later of two boxes
  EXPECT_TRUE(e.editor.pickObjectAt(15, 15));
  EXPECT_EQ(e.editor.selectedRows(), (std::vector<int>{1}));
  EXPECT_TRUE(e.editor.pickObjectAt(50, 90.9));
  EXPECT_EQ(e.editor.selectedRows(), (std::vector<int>{3}));
  EXPECT_FALSE(e.editor.pickObjectAt(95, 5));  // only the locked layer's box is there
  EXPECT_EQ(e.editor.selectedRows(), (std::vector<int>{3}));
  e.editor.toggleLock(1);  // unlocked, the last row is picked there
  EXPECT_TRUE(e.editor.pickObjectAt(95, 5));
  EXPECT_EQ(e.editor.selectedRows(), (std::vector<int>{4}));
}

}  // namespace
}  // namespace qf
