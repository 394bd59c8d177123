// The design window's selection: marks, moving and resizing, the clipboard, Properties.
#include <gtest/gtest.h>

#include "document/object_rows.h"
#include "edit/editing_fixture.h"
#include "edit/editor.h"
#include "edit/object_fields.h"
#include "edit/selection_marks.h"
#include "support/fake_measure.h"
#include "support/recording_surface.h"

namespace qf {
namespace {

// Objects of every kind, a text measured; snapping off, 2 mm marks.
struct Page : test::EditingFixture {
  Page() {
    app.snapOn = false;
    view.markSize = 2;
  }
  int add(ObjectKind kind, double x1, double y1, double x2, double y2, int16_t layer = 1) {
    ObjectRecord r;
    r.Kind = kind;
    r.Label = "o";
    r.Style = kind == ObjectKind::Text ? "ＭＳ 明朝" : "0";
    r.Size = kind == ObjectKind::Text ? 10 : 1;
    r.Text = kind == ObjectKind::Text ? "abc" : kind == ObjectKind::Line ? "" : "0";
    r.Color = 255;
    const Extent size = MeasureText(measurers.text, r, 6);
    return AddObject(design.objects, r, {x1, y1, x2, y2}, size, layer);
  }
  // The rows the code window shows as selected.
  std::vector<int> marked() const {
    std::vector<int> rows;
    for (int r = 1; r <= design.objects.itemCount(); ++r) {
      if (cell(r, kColNumber).rfind("●", 0) == 0) rows.push_back(r);
    }
    return rows;
  }
};

TEST(Selection, MarksAreHitAndEachKindMovesOrResizesByItsMark) {
  Page p;
  const int line = p.add(ObjectKind::Line, 10, 10, 50, 10);
  const int box = p.add(ObjectKind::Box, 60, 60, 80, 70);
  const int text = p.add(ObjectKind::Text, 100, 100, 100, 100);  // 30 x 15 mm measured
  p.loaded();
  Editor& e = p.editor;

  ASSERT_EQ(p.frame(5, 5, 15, 15), 1);                         // the line's first end
  EXPECT_EQ(e.HitTestSelection(9, 9), GrabKind::FirstCorner);  // inside the 2 mm mark
  EXPECT_EQ(e.HitTestSelection(51, 11), GrabKind::SecondCorner);
  EXPECT_EQ(e.HitTestSelection(29.5, 9.5), GrabKind::Centre);
  EXPECT_EQ(e.HitTestSelection(30, 20), GrabKind::None);
  // Mark 1 moves the first end only, mark 2 the second, mark 3 the whole line.
  p.drag(9, 9, 14, 4);
  EXPECT_EQ(p.cell(line, kColX1), "14.000");
  EXPECT_EQ(p.cell(line, kColY1), "4.000");
  EXPECT_EQ(p.cell(line, kColX2), "50.000");
  EXPECT_TRUE(e.selectedRows().empty());  // moved objects are let go
  p.frame(45, 5, 55, 15);
  p.drag(51, 11, 61, 21);
  EXPECT_EQ(p.cell(line, kColX2), "61.000");
  EXPECT_EQ(p.cell(line, kColY2), "21.000");
  EXPECT_EQ(p.cell(line, kColX1), "14.000");
  p.frame(55, 15, 65, 25);
  const auto [cx, cy] = e.markCorners(line)[2];
  p.drag(cx + 1, cy + 1, cx + 6, cy + 1);
  EXPECT_EQ(p.cell(line, kColX1), "19.000");
  EXPECT_EQ(p.cell(line, kColX2), "66.000");

  // A box's second mark resizes it.
  p.frame(75, 65, 85, 75);
  p.drag(81, 71, 91, 81);
  EXPECT_EQ(p.cell(box, kColX1), "60.000");
  EXPECT_EQ(p.cell(box, kColX2), "91.000");
  EXPECT_EQ(p.cell(box, kColY2), "81.000");

  // A text taken by either mark goes where the pointer goes; it is never resized.
  p.frame(95, 95, 105, 105);
  p.drag(99, 99, 109, 119);
  EXPECT_EQ(p.cell(text, kColX1), "109.000");
  EXPECT_EQ(p.cell(text, kColY1), "119.000");
  EXPECT_EQ(p.cell(text, kColX2), "10.583");  // still its measured width
  p.frame(105, 115, 115, 125);
  const WorkingRect t = e.selectionBox(text);
  EXPECT_EQ(e.HitTestSelection(t.x2 + 1, t.y2 + 1), GrabKind::SecondCorner);
  p.drag(t.x2 + 1, t.y2 + 1, 130, 140);
  EXPECT_EQ(p.cell(text, kColX1), "130.000");
  EXPECT_EQ(p.cell(text, kColY1), "140.000");
  EXPECT_EQ(p.cell(text, kColX2), "10.583");
  EXPECT_EQ(e.history().stepCount(), 6u);  // one step a drag
}

TEST(Selection, SeveralMoveByTheirBoundsAndArrowsKeepThemSelected) {
  Page p;
  p.add(ObjectKind::Box, 20, 20, 40, 30);
  p.add(ObjectKind::Line, 50, 40, 70, 60);
  p.add(ObjectKind::Box, 150, 150, 160, 160);
  p.loaded();
  Editor& e = p.editor;
  ASSERT_EQ(p.frame(10, 10, 80, 65), 2);
  const WorkingRect b = e.GetSelectionBounds();
  EXPECT_EQ(b, (WorkingRect{20, 20, 70, 60}));
  EXPECT_EQ(e.HitTestBlock(45, 45), GrabKind::Block);
  EXPECT_EQ(e.HitTestBlock(100, 100), GrabKind::None);
  // Dragged from inside the bounds: all move as far as the bounds' corner.
  p.drag(45, 45, 55, 50);
  EXPECT_EQ(p.cell(1, kColX1), "30.000");
  EXPECT_EQ(p.cell(1, kColY1), "25.000");
  EXPECT_EQ(p.cell(2, kColX2), "80.000");
  EXPECT_EQ(p.cell(2, kColY2), "65.000");
  EXPECT_EQ(p.cell(3, kColX1), "150.000");
  EXPECT_EQ(e.history().stepCount(), 1u);

  ASSERT_EQ(p.frame(10, 10, 90, 70), 2);
  EXPECT_TRUE(e.moveSelection(5, 0));
  EXPECT_TRUE(e.moveSelection(0, -0.5));
  EXPECT_EQ(p.cell(1, kColX1), "35.000");
  EXPECT_EQ(p.cell(1, kColY1), "24.500");
  EXPECT_EQ(e.selectedRows().size(), 2u);  // still selected
  EXPECT_EQ(p.cell(1, kColNumber), "●1");
  EXPECT_EQ(e.history().stepCount(), 3u);
  // Not while a drag moves them, nor with nothing selected.
  e.pointerPressed(50, 45);
  EXPECT_FALSE(e.moveSelection(5, 0));
  e.escape();
  EXPECT_FALSE(e.moveSelection(5, 0));
  EXPECT_EQ(p.cell(1, kColX1), "35.000");
  EXPECT_EQ(e.history().stepCount(), 3u);
  e.undo();
  e.undo();
  EXPECT_EQ(p.cell(1, kColX1), "30.000");
}

TEST(Selection, DeleteCutAndPaste) {
  Page p;
  for (int i = 1; i <= 10; ++i)
    p.add(ObjectKind::Box, i * 10, 10, i * 10 + 5, 15, int16_t(1 + i % 2));
  p.editor.addLayer(1);
  p.loaded();
  Editor& e = p.editor;
  const TextTable before = p.design.objects;
  // Nothing copied yet: nothing to paste, and no step.
  EXPECT_FALSE(e.paste());
  EXPECT_FALSE(e.history().canUndo());
  // Rows 2, 5 and 9, chosen out of order.
  const std::vector<int> three = {9, 2, 5};
  e.selectRows(three);
  ASSERT_TRUE(e.deleteSelection());
  EXPECT_EQ(p.design.objects.itemCount(), 7);
  for (int r = 1; r <= 7; ++r) {
    for (int gone : {20, 50, 90}) EXPECT_NE(p.cell(r, kColX1), std::to_string(gone) + ".000");
  }
  e.undo();
  EXPECT_EQ(p.design.objects, before);

  // Cut, in any order; then paste three times, each two grid steps (10 mm) further.
  e.selectRows(three);
  ASSERT_TRUE(e.cutSelection());
  EXPECT_EQ(p.design.objects.itemCount(), 7);
  EXPECT_EQ(e.clipboardCount(), 3u);
  e.newDesign();  // the clipboard survives a new design
  e.addLayer(1);  // layer 2 again, so its copies can be selected
  ObjectRecord waiting;
  waiting.Kind = ObjectKind::Line;
  e.beginAdd(waiting);
  for (int n = 1; n <= 3; ++n) ASSERT_TRUE(e.paste());
  EXPECT_FALSE(e.waiting());  // a paste is the next thing added: the waiting line gives way
  ASSERT_EQ(p.design.objects.itemCount(), 9);
  EXPECT_EQ(p.cell(1, kColX1), "100.000");  // 90 + 10: the first copy, selection order
  EXPECT_EQ(p.cell(7, kColX1), "120.000");  // the third paste of it
  EXPECT_EQ(p.cell(7, kColY1), "40.000");
  EXPECT_EQ(p.cell(1, kColLayer), "2");  // its own layer, not the current one
  EXPECT_EQ(p.cell(1, kColColor), "&H000000FF&");
  EXPECT_EQ(e.selectedRows().size(), 3u);  // the last paste stays selected
  EXPECT_EQ(p.cell(7, kColNumber), "●7");
  EXPECT_TRUE(p.editor.modified());

  // In insert mode the pasted objects keep their order at the insert position.
  e.startInsertMode(2);
  ASSERT_TRUE(e.paste());
  EXPECT_EQ(p.cell(2, kColX1), "130.000");
  EXPECT_EQ(p.cell(3, kColX1), "60.000");
  EXPECT_EQ(p.cell(4, kColX1), "90.000");
  EXPECT_EQ(p.cell(5, kColX1), "30.000");  // the old row 2, moved down
}

TEST(Selection, PropertiesRewriteTheObjectInItsRowAndPlace) {
  Page p;
  p.add(ObjectKind::Line, 1, 1, 2, 2);
  const int text = p.add(ObjectKind::Text, 40, 40, 40, 40, 2);
  p.editor.addLayer(1);
  p.loaded();
  Editor& e = p.editor;
  ASSERT_EQ(p.frame(39, 39, 41, 41), 1);
  ObjectRecord result = DecodeObjectRow(p.design.objects, text);
  TextFields f = TextFieldsOf(result);
  f.fontSize = "20";
  f.text = "新しい";
  ApplyTextFields(f, result);
  result.Layer = 7;  // whatever a dialog hands back, the object keeps its layer
  ASSERT_TRUE(e.rewriteSelected(result));
  EXPECT_EQ(p.cell(text, kColSize), "20");
  EXPECT_EQ(p.cell(text, kColText), "新しい");
  EXPECT_EQ(p.cell(text, kColX1), "40.000");
  EXPECT_EQ(p.cell(text, kColLayer), "2");
  EXPECT_EQ(p.cell(text, kColX2), "21.167");  // measured again: 3 characters of 20 pt
  EXPECT_TRUE(e.selectedRows().empty());
  EXPECT_TRUE(p.editor.modified());
  e.undo();
  EXPECT_EQ(p.cell(text, kColSize), "10");
  // A command has no properties here.
  ObjectRecord command;
  ApplyCommandFields(CommandFields{}, command);
  p.frame(39, 39, 41, 41);
  EXPECT_FALSE(e.rewriteSelected(command));
}

// Each mark is hit on its whole square, edges included, and nowhere outside it.
// Marks are inverted pixels: taking them off must draw exactly what was drawn, once, whatever
// the selection has become since; a page drawn afresh has none to take off.
TEST(Selection, MarksComeOffAsTheyWereDrawn) {
  Page p;
  const int a = p.add(ObjectKind::Box, 10, 10, 30, 20);
  const int b = p.add(ObjectKind::Line, 40, 40, 60, 50);
  std::vector<SelectionMarks::Mark> drawn;
  const auto toggle = [&](const WorkingRect& box, MarkStyle style) {
    drawn.emplace_back(box, style);
  };
  const auto marks = MarksOf(p.design.objects, {b, a});
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(marks[0].second, MarkStyle::Reference);  // the first chosen of several
  EXPECT_EQ(marks[1].second, MarkStyle::Selected);
  EXPECT_EQ(MarksOf(p.design.objects, {a})[0].second, MarkStyle::Selected);

  SelectionMarks m;
  m.show(marks, toggle);
  m.show(MarksOf(p.design.objects, {a}), toggle);  // shown already: nothing drawn twice
  EXPECT_EQ(drawn.size(), 2u);
  drawn.clear();
  m.hide(toggle);
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].first.x1, 40);
  EXPECT_FALSE(m.shown());
  m.hide(toggle);
  EXPECT_EQ(drawn.size(), 2u);

  m.show(marks, toggle);
  m.forgetPage();
  drawn.clear();
  m.hide(toggle);
  EXPECT_TRUE(drawn.empty());

  Selection selection(p.design.objects);
  selection.assign({a, b});
  m.syncRows(p.design.objects, selection);
  EXPECT_EQ(p.marked(), (std::vector<int>{a, b}));
  selection.assign({b});
  m.syncRows(p.design.objects, selection);
  EXPECT_EQ(p.marked(), (std::vector<int>{b}));
}

TEST(Selection, MarksAreHitUpToTheirEdges) {
  Page p;
  const int box = p.add(ObjectKind::Box, 60, 60, 80, 70);
  p.loaded();
  ASSERT_EQ(p.frame(79, 69, 81, 71), 1);
  const double m = p.view.markSize;
  const MarkCorners c = p.editor.markCorners(box);
  const std::pair<double, double> squares[] = {c[0], {80, 70}, c[2]};
  for (size_t k = 0; k < 3; ++k) {
    const auto [left, top] = squares[k];
    const auto grab = static_cast<GrabKind>(k + 1);
    for (const double dx : {0.0, m}) {
      for (const double dy : {0.0, m}) {
        EXPECT_EQ(p.editor.HitTestSelection(left + dx, top + dy), grab) << k << dx << dy;
      }
    }
    EXPECT_EQ(p.editor.HitTestSelection(left - 0.01, top + m / 2), GrabKind::None) << k;
    EXPECT_EQ(p.editor.HitTestSelection(left + m + 0.01, top + m / 2), GrabKind::None) << k;
    EXPECT_EQ(p.editor.HitTestSelection(left + m / 2, top - 0.01), GrabKind::None) << k;
    EXPECT_EQ(p.editor.HitTestSelection(left + m / 2, top + m + 0.01), GrabKind::None) << k;
  }
}

// A small frame around any one corner of an object's box selects it (a line only by its ends),
// whichever way the frame is dragged.
TEST(Selection, AFrameAroundAnyCornerSelectsInEveryDirection) {
  for (const ObjectKind kind : {ObjectKind::Line, ObjectKind::Box, ObjectKind::Ring,
                                ObjectKind::Text, ObjectKind::Picture}) {
    Page p;
    const int row = p.add(kind, 40.5, 30.25, 90.75, 70.5);
    p.loaded();
    const ObjectRecord o = DecodeObjectRow(p.design.objects, row);
    const bool point = IsPlacedAtPoint(kind);
    const double x2 = point ? o.X1 + o.X2 : o.X2;
    const double y2 = point ? o.Y1 + o.Y2 : o.Y2;
    const std::pair<double, double> corners[] = {{o.X1, o.Y1}, {x2, o.Y1}, {o.X1, y2}, {x2, y2}};
    for (size_t c = 0; c < 4; ++c) {
      const bool expected = kind != ObjectKind::Line || c == 0 || c == 3;
      for (int dir = 0; dir < 4; ++dir) {
        const double sx = dir & 1 ? -1.5 : 1.5;
        const double sy = dir & 2 ? -1.5 : 1.5;
        const auto [x, y] = corners[c];
        p.editor.escape();  // a press on the last selection's mark would move it instead
        p.frame(x - sx, y - sy, x + sx, y + sy);
        EXPECT_EQ(p.marked(), expected ? std::vector<int>{row} : std::vector<int>{})
            << "kind " << static_cast<int>(kind) << " corner " << c << " direction " << dir;
      }
    }
    // A frame beside every corner, missing it by a little, selects nothing.
    p.editor.escape();
    p.frame(x2 + 0.5, y2 + 0.5, x2 + 3, y2 + 3);
    EXPECT_TRUE(p.marked().empty());
  }
}

// Paste goes two grid steps right and down by the grid's own width and height; a press on a
// mark released where it was changes nothing and records no step.
TEST(Selection, PasteFollowsAGridThatIsNotSquareAndAStillClickIsNoStep) {
  Page p;
  p.design.grid.width = 3;
  p.design.grid.height = 7;
  const int box = p.add(ObjectKind::Box, 20.5, 30.25, 40.75, 50.5);
  p.add(ObjectKind::Box, 120, 130, 140, 150);
  p.loaded();
  Editor& e = p.editor;
  ASSERT_EQ(p.frame(19, 29, 22, 32), 1);
  // Each mark of the one object (a corner's mark taken at the corner itself, which it moves
  // to), then the inside of several's bounds.
  const MarkCorners marks = e.markCorners(box);
  const std::pair<double, double> still[] = {
      {20.5, 30.25}, {40.75, 50.5}, {marks[2].first + 0.5, marks[2].second + 0.5}};
  for (size_t k = 0; k < 3; ++k) {
    const auto [x, y] = still[k];
    ASSERT_EQ(e.HitTestSelection(x, y), static_cast<GrabKind>(k + 1)) << k;
    e.pointerPressed(x, y);
    e.pointerReleased(x, y);
    EXPECT_FALSE(e.canUndo()) << "mark " << k;
    EXPECT_FALSE(p.editor.modified()) << "mark " << k;
    e.escape();
    p.frame(19, 29, 22, 32);
  }
  e.escape();
  ASSERT_EQ(p.frame(19, 29, 141, 151), 2);
  e.pointerPressed(80, 90);
  e.pointerReleased(80, 90);
  EXPECT_FALSE(e.canUndo());
  EXPECT_FALSE(p.editor.modified());

  e.escape();
  ASSERT_EQ(p.frame(19, 29, 22, 32), 1);
  ASSERT_TRUE(e.copySelection());
  ASSERT_TRUE(e.paste());
  ASSERT_TRUE(e.paste());
  ASSERT_EQ(p.design.objects.itemCount(), 4);
  EXPECT_EQ(p.cell(3, kColX1), "26.500");
  EXPECT_EQ(p.cell(3, kColY1), "44.250");
  EXPECT_EQ(p.cell(4, kColX2), "52.750");
  EXPECT_EQ(p.cell(4, kColY2), "78.500");
  EXPECT_EQ(p.marked(), std::vector<int>{4});
  EXPECT_EQ(p.cell(box, kColX1), "20.500");
}

// A click chooses the object drawn on top (a text over figures, otherwise the later in drawing
// order: the layer higher in the list over the one below it), never one of a locked or hidden
// layer; Shift+click adds and takes out, Shift with a frame adds; Ctrl+A takes every object
// that can be chosen; Tab and Shift+Tab go round them in drawing order. None is an undo step.
TEST(Selection, ClicksShiftClicksSelectAllAndTab) {
  Page p;
  // A4 at 96 dpi: a pixel is about a quarter of a millimetre.
  p.view.page.scaleWidth = 210;
  p.view.page.scaleHeight = 297;
  p.view.widthPx = 794;
  p.view.heightPx = 1123;
  const double px = 210.0 / 794;
  p.design.layers.setCell(1, kLayerNumber, "1");
  const int under = p.add(ObjectKind::Box, 10, 10, 60, 40, 2);  // layer 2 lies below layer 1
  const int ring = p.add(ObjectKind::Ring, 30, 20, 80, 50, 1);
  const int text = p.add(ObjectKind::Text, 32, 22, 32, 22, 2);
  const int box = p.add(ObjectKind::Box, 20, 15, 70, 45, 1);
  p.add(ObjectKind::Box, 100, 100, 120, 120, 3);  // locked below
  p.add(ObjectKind::Box, 130, 100, 150, 120, 4);  // hidden below
  ObjectRecord start;
  start.Kind = ObjectKind::Command;
  start.X1 = 6;
  start.Text = "0";
  start.Style = "0";
  start.Size = 2;
  AddObject(p.design.objects, start, {}, {}, 1);
  const int corner = p.add(ObjectKind::Box, 1, 1, 4, 2, 1);  // in a block at the page's corner
  start.Text = "1";
  AddObject(p.design.objects, start, {}, {}, 1);
  // The list from the top: 1, 3 (locked), 4 (hidden), 2; the walk draws from the bottom up.
  for (int n : {3, 4, 2}) {
    const int row = p.design.layers.insertRow(p.design.layers.itemCount() + 1);
    p.design.layers.setCell(row, kLayerNumber, std::to_string(n));
    if (n == 3) p.design.layers.setCell(row, kLayerLock, std::string(kLockMark));
    if (n == 4) p.design.layers.setCell(row, kLayerHide, std::string(kHideMark));
  }
  p.loaded();
  Editor& e = p.editor;
  auto click = [&](double x, double y, double moved = 0, bool shift = false) {
    e.pointerPressed(x, y, shift);
    e.pointerReleased(x + moved, y, shift);
    return e.selectedRows();
  };
  using Rows = std::vector<int>;
  EXPECT_EQ(e.objectAt(33, 23), text);   // the text, though its layer is drawn first
  EXPECT_EQ(e.objectAt(50, 30), box);    // layer 1 over layer 2, the later row of layer 1
  EXPECT_EQ(e.objectAt(15, 12), under);  // alone there
  EXPECT_EQ(e.objectAt(75, 48), ring);
  EXPECT_EQ(e.objectAt(110, 110), 0);  // locked
  EXPECT_EQ(e.objectAt(140, 110), 0);  // hidden
  EXPECT_EQ(click(50, 30), Rows{box});
  EXPECT_EQ(click(15, 12, 3 * px), Rows{under}) << "three pixels is still a click";
  EXPECT_EQ(click(15, 12, 3.5 * px), Rows{}) << "past the slop it is a frame that holds nothing";
  EXPECT_EQ(click(15, 12), Rows{under});
  EXPECT_EQ(click(180, 200), Rows{}) << "empty page";
  EXPECT_EQ(click(15, 12), Rows{under});
  EXPECT_EQ(click(75, 48, 0, true), (Rows{under, ring}));
  EXPECT_EQ(click(33, 23, 0, true), (Rows{under, ring, text}));
  EXPECT_EQ(click(15, 12, 0, true), (Rows{ring, text})) << "Shift+click takes out";
  EXPECT_EQ(click(180, 200, 0, true), (Rows{ring, text})) << "Shift on empty page keeps";
  // A frame never takes a command, though its cells make a box at the page's corner.
  e.escape();
  e.pointerPressed(-2, -2);
  e.pointerReleased(12, 3);
  EXPECT_EQ(e.selectedRows(), Rows{corner});
  e.escape();
  EXPECT_EQ(click(75, 48, 0, true), Rows{ring});
  EXPECT_EQ(click(33, 23, 0, true), (Rows{ring, text}));
  // Shift and a frame around the box's first corner (and the text's point) adds it.
  e.pointerPressed(18, 13, true);
  e.pointerMoved(22, 17);
  e.pointerReleased(22, 17, true);
  EXPECT_EQ(e.selectedRows(), (Rows{ring, text, box}));
  // With several chosen, a click inside their bounds chooses the one there alone.
  EXPECT_EQ(click(50, 30), Rows{box});
  e.selectAll();
  EXPECT_EQ(e.selectedRows(), (Rows{under, text, ring, box, corner})) << "drawing order";
  EXPECT_EQ(click(180, 200), Rows{});
  // Tab from nothing takes the first; round the end to the start, and back.
  for (const Rows& next :
       {Rows{under}, Rows{text}, Rows{ring}, Rows{box}, Rows{corner}, Rows{under}}) {
    ASSERT_TRUE(e.stepSelection(true));
    EXPECT_EQ(e.selectedRows(), next);
  }
  ASSERT_TRUE(e.stepSelection(false));
  EXPECT_EQ(e.selectedRows(), Rows{corner});
  ASSERT_TRUE(e.stepSelection(false));
  EXPECT_EQ(e.selectedRows(), Rows{box});
  e.escape();
  ASSERT_TRUE(e.stepSelection(false));
  EXPECT_EQ(e.selectedRows(), Rows{corner}) << "Shift+Tab from nothing takes the last";
  EXPECT_FALSE(e.canUndo());
  EXPECT_FALSE(e.modified());
}

}  // namespace
}  // namespace qf
