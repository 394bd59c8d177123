#include "edit/editor.h"
#include "edit/editing_fixture.h"

#include <gtest/gtest.h>

#include "document/object_rows.h"
#include "edit/object_cells.h"
#include "edit/object_fields.h"
#include "support/fake_measure.h"
#include "support/recording_surface.h"

namespace qf {
namespace {

TEST(Editor, CellEditsFollowTheKindsColumnsAndFormatCoordinates) {
  test::EditorBench b;
  const int text = b.text(10, 10, "abc");
  const int box = b.figure(ObjectKind::Box, 1, 2, 3, 4);
  const int ring = b.figure(ObjectKind::Ring, 1, 2, 3, 4);
  const int command = b.command(true);
  b.loaded();
  const TextTable& t = b.design.objects;
  EXPECT_FALSE(IsEditableObjectCell(t, text, kColStyle));  // the font: a dialog's
  EXPECT_TRUE(IsEditableObjectCell(t, text, kColField));
  EXPECT_TRUE(IsEditableObjectCell(t, box, kColField));  // the radius
  EXPECT_FALSE(IsEditableObjectCell(t, box, kColText));
  for (int col = 0; col < kObjectColumns; ++col) {
    EXPECT_FALSE(IsEditableObjectCell(t, ring, col)) << col;
  }
  EXPECT_TRUE(IsEditableObjectCell(t, command, kColX1));
  // A double-click picks a text, never a command (that opens its dialog).
  EXPECT_TRUE(b.editor.selectObjectRow(text));
  EXPECT_EQ(t.cell(text, kColNumber), "●" + std::to_string(text));
  EXPECT_FALSE(b.editor.selectObjectRow(command));
  EXPECT_TRUE(b.editor.selectObjectRow(text));
  EXPECT_FALSE(b.editor.selectObjectRow(t.itemCount() + 1));  // no such row: nothing happens
  EXPECT_EQ(b.editor.selectedRows(), std::vector<int>{text});
  EXPECT_FALSE(b.editor.selectObjectRow(command));
  EXPECT_TRUE(b.editor.selectedRows().empty());
  EXPECT_EQ(t.cell(text, kColNumber), std::to_string(text));
  EXPECT_FALSE(IsEditableObjectCell(t, command, kColY1));
  EXPECT_FALSE(IsEditableObjectCell(t, 99, kColX1));

  // A cell shows what the design reads from it, as the file will read it back.
  const auto cell = [](ObjectKind kind, int col, const char* typed) {
    return ObjectCellText(kind, col, typed);
  };
  EXPECT_EQ(cell(ObjectKind::Text, kColX1, "12.5"), "12.500");
  EXPECT_EQ(cell(ObjectKind::Line, kColY2, " -3 "), "-3.000");
  EXPECT_EQ(cell(ObjectKind::Box, kColX2, "1e2"), "100.000");
  EXPECT_EQ(cell(ObjectKind::Text, kColX1, "12.5abc"), "12.500");  // read by its prefix
  EXPECT_EQ(cell(ObjectKind::Text, kColX1, "."), "0.000");
  EXPECT_EQ(cell(ObjectKind::Text, kColLabel, "12.5"), "12.5");
  EXPECT_EQ(cell(ObjectKind::Text, kColSize, "12pt"), "12");
  EXPECT_EQ(cell(ObjectKind::Command, kColSize, "3.50x"), "3.5");
  EXPECT_EQ(cell(ObjectKind::Picture, kColSize, "9"), "9");  // a picture has no size
  EXPECT_EQ(cell(ObjectKind::Line, kColColor, "255"), "&H000000FF&");
  EXPECT_EQ(cell(ObjectKind::Command, kColColor, "255"), "255");
  EXPECT_EQ(cell(ObjectKind::Ring, kColLayer, "2.6abc"), "3");
  EXPECT_EQ(cell(ObjectKind::Box, kColField, "2.5"), "2.500");
  EXPECT_EQ(cell(ObjectKind::Box, kColField, "r"), "r");
  EXPECT_EQ(cell(ObjectKind::Text, kColField, "2.5"), "2.5");

  EXPECT_FALSE(b.editor.modified());
  EXPECT_TRUE(b.editor.commitObjectCell(text, kColX1, "12.5"));
  EXPECT_EQ(t.cell(text, kColX1), "12.500");
  EXPECT_TRUE(b.editor.modified());
  EXPECT_FALSE(b.editor.commitObjectCell(text, kColX1, "12.500"));  // nothing changes
  EXPECT_FALSE(b.editor.commitObjectCell(text, kColStyle, "Arial"));
  EXPECT_FALSE(b.editor.commitObjectCell(ring, kColX1, "1"));
  EXPECT_EQ(b.editor.history().stepCount(), 1u);
  EXPECT_TRUE(b.editor.undo());
  EXPECT_EQ(t.cell(text, kColX1), "10.000");
  EXPECT_FALSE(b.editor.modified());  // back where the file was
}

// A typed value the design would read as 0, or as nothing where something must be, is refused:
// the cell keeps its value. Files keep their tolerant reading (ObjectCellText above).
TEST(Editor, EmptyOrNonNumberTypedValuesAreRefusedAndTheCellKept) {
  using K = ObjectKind;
  using R = CellRefusal;
  struct Case {
    K kind;
    int col;
    const char* typed;
    R refused;
  };
  const Case cases[] = {
      {K::Text, kColX1, "", R::Empty},
      {K::Text, kColX1, "  ", R::Empty},
      {K::Text, kColX1, "abc", R::NotANumber},
      {K::Text, kColX1, ".", R::NotANumber},
      {K::Text, kColX1, "0", R::None},
      {K::Line, kColY2, "-1", R::None},
      {K::Text, kColX1, "12.5abc", R::None},
      {K::Text, kColSize, "12pt", R::None},
      {K::Text, kColSize, "pt", R::NotANumber},
      {K::Command, kColSize, "", R::Empty},
      {K::Picture, kColSize, "x", R::None},
      {K::Ring, kColLayer, "", R::Empty},
      {K::Ring, kColLayer, "one", R::NotANumber},
      {K::Line, kColColor, "&H00FF&", R::None},
      {K::Line, kColColor, "255", R::None},
      {K::Line, kColColor, "&Hzz", R::NotANumber},
      {K::Line, kColColor, "red", R::NotANumber},
      {K::Line, kColColor, "", R::Empty},
      {K::Command, kColColor, "red", R::None},
      {K::Box, kColField, "", R::None},
      {K::Box, kColField, "2.5", R::None},
      {K::Box, kColField, "r", R::NotANumber},
      {K::Text, kColField, "", R::None},
      {K::Command, kColField, "", R::Empty},
      {K::Command, kColField, "sngI", R::None},
      {K::Text, kColLabel, "", R::None},
      {K::Text, kColText, "", R::Empty},
      {K::Picture, kColText, " ", R::Empty},
      {K::Text, kColText, "0", R::None},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RefuseObjectCell(c.kind, c.col, c.typed), c.refused) << c.col << " " << c.typed;
  }

  test::TellingView view;
  test::EditorBench b;
  const int text = b.text(10, 10, "abc");
  b.loaded();
  b.editor.attach(&view);
  EXPECT_FALSE(b.editor.commitObjectCell(text, kColX1, ""));
  EXPECT_FALSE(b.editor.pasteObjectCell(text, kColX1, "abc"));
  EXPECT_FALSE(b.editor.commitObjectCell(text, kColText, ""));
  EXPECT_EQ(b.cell(text, kColX1), "10.000");
  EXPECT_EQ(b.cell(text, kColText), "abc");
  EXPECT_FALSE(b.editor.canUndo());
  ASSERT_EQ(view.said.size(), 3u);
  EXPECT_EQ(view.said[0], "「X1」は空にできません。元の値のままです。");
  EXPECT_EQ(view.said[1], "「X1」には数値を入力してください。元の値のままです。");
  // A layer name, typed or pasted, is never blank.
  EXPECT_FALSE(b.editor.renameLayer(1, " "));
  EXPECT_FALSE(b.editor.pasteLayerCell(1, kLayerName, ""));
  EXPECT_TRUE(b.editor.renameLayer(1, "x"));
  EXPECT_EQ(view.said.size(), 5u);
  EXPECT_EQ(view.said.back(), "ﾚｲﾔｰ名は空にできません。元の名前のままです。");
  b.editor.attach(nullptr);
}

TEST(Editor, PasteIsOneStepThatUndoRestores) {
  test::EditorBench b;
  const int text = b.text(10, 10, "abc");
  b.loaded();
  // A paste takes any column, even one no cell editor opens on.
  EXPECT_TRUE(b.editor.pasteObjectCell(text, kColStyle, "Arial"));
  EXPECT_EQ(b.design.objects.cell(text, kColStyle), "Arial");
  EXPECT_TRUE(b.editor.undo());
  EXPECT_EQ(b.design.objects.cell(text, kColStyle), "ＭＳ 明朝");
  EXPECT_FALSE(b.editor.canUndo());
  EXPECT_TRUE(b.editor.redo());
  EXPECT_EQ(b.design.objects.cell(text, kColStyle), "Arial");
  EXPECT_TRUE(b.editor.modified());
  EXPECT_FALSE(b.editor.pasteObjectCell(0, kColStyle, "x"));  // the caption row
}

TEST(Editor, SwapKeepsRowNumbersDeleteEmptiesAndInsertModeGoesToRowOne) {
  test::EditorBench b;
  for (int i = 1; i <= 5; ++i) b.text(i, i, "t" + std::to_string(i));
  b.loaded();
  TextTable& t = b.design.objects;
  ASSERT_TRUE(b.editor.swapObjectRows(2, 5));
  EXPECT_EQ(t.cell(2, kColText), "t5");
  EXPECT_EQ(t.cell(5, kColText), "t2");
  EXPECT_EQ(t.cell(2, kColNumber), "2");
  EXPECT_EQ(t.cell(5, kColNumber), "5");
  EXPECT_FALSE(b.editor.swapObjectRows(5, 6));
  EXPECT_FALSE(b.editor.swapObjectRows(1, 0));  // never the caption row
  ASSERT_TRUE(b.editor.swapObjectRows(5, 1));   // the last row with the first
  EXPECT_EQ(t.cell(5, kColText), "t1");
  ASSERT_TRUE(b.editor.undo());

  // Insert mode with no row chosen puts the object at the top.
  b.editor.startInsertMode(0);
  ObjectRecord first = DecodeObjectRow(t, 1);
  first.Text = "first";
  EXPECT_EQ(b.editor.addObject(first, {1, 1, 1, 1}), 1);
  EXPECT_EQ(t.cell(1, kColText), "first");
  EXPECT_EQ(t.cell(6, kColNumber), "6");

  for (int i = 0; i < 6; ++i) ASSERT_TRUE(b.editor.deleteObjectRow(1));
  EXPECT_EQ(t.rowCount(), 1);  // the caption row alone
  EXPECT_FALSE(b.editor.deleteObjectRow(1));
  // Every step comes back, the row numbers with it.
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(b.editor.undo());
  EXPECT_EQ(t.cell(1, kColText), "first");
  EXPECT_EQ(t.cell(6, kColNumber), "6");
}

TEST(Editor, ModifiedFollowsTheSavedPlaceInTheHistory) {
  test::EditorBench b;
  const int row = b.text(1, 1, "a");
  b.loaded();
  b.editor.commitObjectCell(row, kColLabel, "one");
  b.editor.markSaved();
  b.editor.commitObjectCell(row, kColLabel, "two");
  EXPECT_TRUE(b.editor.modified());
  b.editor.undo();
  EXPECT_FALSE(b.editor.modified());
  b.editor.undo();
  EXPECT_TRUE(b.editor.modified());
  // A new change after undoing past the save makes the saved state unreachable.
  b.editor.commitObjectCell(row, kColLabel, "three");
  b.editor.undo();
  EXPECT_TRUE(b.editor.modified());
  // Settings the file carries count until the next save, whatever undo does.
  b.editor.markSaved();
  Palette p = b.design.palette;
  p[1] = Rgb(1, 2, 3);
  b.editor.setPalette(p);
  EXPECT_TRUE(b.editor.modified());
  b.editor.markSaved();
  EXPECT_FALSE(b.editor.modified());
}

// A step undone was made on the page before a page setup: redoing it there would put the old
// page's values on the new one. An unchanged page keeps it.
TEST(Editor, APageSetupChangeEndsRedoAndAnUnchangedOneKeepsIt) {
  test::EditorBench b;
  const int box = b.figure(ObjectKind::Box, 10, 10, 20, 20);
  b.loaded();
  b.editor.commitObjectCell(box, kColX2, "40");
  b.editor.undo();
  PageSettings page = b.design.page;
  b.editor.setPage(page);
  EXPECT_TRUE(b.editor.canRedo());
  page.orientation = 2;
  b.editor.setPage(page);
  EXPECT_FALSE(b.editor.canRedo());
  EXPECT_FALSE(b.editor.redo());
  EXPECT_EQ(b.cell(box, kColX2), "20.000");
  EXPECT_TRUE(b.editor.modified());  // the page itself is unsaved
  // A design loaded is at a count no earlier state had.
  const uint64_t before = b.editor.revision();
  b.editor.designLoaded({});
  EXPECT_GT(b.editor.revision(), before);
}

TEST(Editor, UndoMemoryGrowsWithTheRowsChangedNotTheDesign) {
  auto memoryAfterEdits = [](int rows) {
    test::EditorBench b;
    for (int i = 0; i < rows; ++i) b.text(i % 100, i % 50, "item");
    b.loaded();
    for (int i = 0; i < 200; ++i) {
      b.editor.commitObjectCell(1 + i % 10, kColLabel, "label " + std::to_string(i));
    }
    EXPECT_EQ(b.editor.history().stepCount(), 200u);
    return b.editor.history().memoryBytes();
  };
  EXPECT_EQ(memoryAfterEdits(20), memoryAfterEdits(5000));
}

TEST(Editor, NewObjectsArePlacedByADragSnappedToTheGrid) {
  test::EditorBench b;
  b.loaded();
  b.app.snapOn = true;
  EXPECT_EQ(b.editor.SnapToGrid(17.4, 12.5), std::make_pair(15.0, 10.0));  // margins 15 and 10
  EXPECT_EQ(b.editor.SnapToGrid(14, 9.9), std::make_pair(10.0, 5.0));
  b.design.grid.width = 0;  // a pitch of zero does not snap
  EXPECT_EQ(b.editor.SnapToGrid(14, 9.9), std::make_pair(14.0, 5.0));
  // Without a page laid out there is no pixel a line is drawn on: 20.2 stays before 20.5.
  ASSERT_EQ(b.view.widthPx, 0);
  b.design.grid.width = 5.5f;
  EXPECT_EQ(b.editor.SnapToGrid(20.2, 9.9).first, 15.0);
  b.design.grid.width = 5;
  const TextTable& t = b.design.objects;

  // A box dragged from lower right to upper left keeps X1 > X2.
  ObjectRecord box;
  box.Kind = ObjectKind::Box;
  box.Text = "0";
  box.Style = "0";
  box.Size = 1;
  b.editor.beginAdd(box);
  EXPECT_TRUE(b.editor.waiting());
  b.editor.pointerPressed(81, 62);
  b.editor.pointerMoved(50, 40);
  b.editor.pointerReleased(31.9, 21);
  ASSERT_EQ(t.itemCount(), 1);
  EXPECT_EQ(t.cell(1, kColX1), "80.000");
  EXPECT_EQ(t.cell(1, kColY1), "60.000");
  EXPECT_EQ(t.cell(1, kColX2), "30.000");
  EXPECT_EQ(t.cell(1, kColY2), "20.000");
  EXPECT_FALSE(b.editor.waiting());
  EXPECT_EQ(b.editor.history().stepCount(), 1u);

  // A text lands where the button comes up, whatever the press; insert mode ends after it.
  b.editor.startInsertMode(1);
  ObjectRecord text;
  text.Kind = ObjectKind::Text;
  text.Text = "abc";
  text.Style = "ＭＳ 明朝";
  text.Size = 12;
  b.editor.beginAdd(text);
  b.editor.pointerPressed(100, 100);
  b.editor.pointerReleased(41, 52);
  ASSERT_EQ(t.itemCount(), 2);
  EXPECT_EQ(t.cell(1, kColText), "abc");  // inserted at the top
  EXPECT_EQ(t.cell(1, kColX1), "40.000");
  EXPECT_EQ(t.cell(1, kColY1), "50.000");
  EXPECT_EQ(t.cell(1, kColX2), "12.700");  // 3 characters of 12 pt, measured
  EXPECT_FALSE(b.editor.insertMode());

  // The right button cancels a waiting object, as resetting the editing state does; a press
  // without one adds nothing.
  b.editor.beginAdd(text);
  b.editor.rightReleased();
  EXPECT_FALSE(b.editor.waiting());
  b.editor.beginAdd(text);
  b.editor.startInsertMode(2);
  b.editor.ResetEditState();
  EXPECT_FALSE(b.editor.waiting());
  EXPECT_FALSE(b.editor.insertMode());
  b.editor.pointerPressed(10, 10);
  b.editor.pointerReleased(90, 90);
  EXPECT_EQ(t.itemCount(), 2);

  // A command is stored at once.
  ObjectRecord command;
  ApplyCommandFields(CommandFields{}, command);
  EXPECT_EQ(b.editor.addCommand(command), 3);
  EXPECT_EQ(t.cell(3, kColKind), "ｺﾏﾝﾄﾞ");
  EXPECT_EQ(b.editor.history().stepCount(), 3u);
  // Its dialog rewrites it in its row; a row that is not there is refused.
  command.Size = 7;
  EXPECT_TRUE(b.editor.rewriteRow(3, command));
  EXPECT_EQ(t.cell(3, kColSize), "7");
  EXPECT_FALSE(b.editor.rewriteRow(4, command));
  EXPECT_EQ(b.editor.history().stepCount(), 4u);
  b.editor.undo();
  b.editor.undo();
  EXPECT_EQ(t.itemCount(), 2);
}

TEST(Editor, AFrameSelectsByCornersAndDeleteRemovesTheSelectionInOneStep) {
  test::EditorBench b;
  b.app.snapOn = false;
  const int line = b.figure(ObjectKind::Line, 10, 10, 190, 10);
  const int box = b.figure(ObjectKind::Box, 50, 50, 80, 70);
  const int text = b.text(100, 100, "abc");
  b.editor.addLayer(1);
  b.editor.chooseLayer(1);
  const int locked = b.figure(ObjectKind::Box, 52, 52, 60, 60);
  b.loaded();
  EXPECT_EQ(b.frame(80, 5, 120, 15), 0);   // the middle of a long line
  EXPECT_EQ(b.frame(185, 5, 195, 15), 1);  // one end
  EXPECT_EQ(b.editor.selectedRows()[0], line);
  EXPECT_EQ(b.design.objects.cell(line, kColNumber), "●" + std::to_string(line));
  EXPECT_EQ(b.frame(75, 65, 85, 75), 1);  // the box's lower right corner only
  EXPECT_EQ(b.editor.selectedRows()[0], box);
  EXPECT_EQ(b.design.objects.cell(line, kColNumber), std::to_string(line));  // the old mark went
  // A click without a move is a frame of no size: a corner exactly there is hit.
  const double endX = 100 + std::stod(b.cell(text, kColX2));  // where the text's box ends
  const double endY = 100 + std::stod(b.cell(text, kColY2));
  EXPECT_EQ(b.frame(endX, endY, endX, endY), 1);
  EXPECT_EQ(b.editor.selectedRows()[0], text);
  // Neither locked nor hidden layers.
  b.editor.toggleLock(1);
  EXPECT_EQ(b.frame(49, 49, 61, 61), 1);
  EXPECT_EQ(b.editor.selectedRows()[0], box);
  b.editor.toggleLock(1);
  b.editor.toggleHide(1);
  EXPECT_EQ(b.frame(49, 49, 61, 61), 1);
  b.editor.toggleHide(1);
  ASSERT_EQ(b.frame(49, 49, 61, 61), 2);
  EXPECT_EQ(b.editor.selectedRows()[1], locked);

  // Delete takes the selected rows, highest first, as one step.
  b.editor.clearSelection();
  const TextTable before = b.design.objects;
  EXPECT_EQ(b.frame(0, 0, 200, 200), 4);
  ASSERT_TRUE(b.editor.deleteSelection());
  EXPECT_EQ(b.design.objects.itemCount(), 0);
  EXPECT_TRUE(b.editor.selectedRows().empty());
  ASSERT_TRUE(b.editor.undo());
  EXPECT_EQ(b.design.objects, before);
  EXPECT_FALSE(b.editor.deleteSelection());  // nothing selected

  // Escape drops a waiting object.
  b.editor.beginAdd(DecodeObjectRow(b.design.objects, box));
  b.editor.pointerPressed(10, 10);
  b.editor.escape();
  EXPECT_FALSE(b.editor.waiting());
  EXPECT_EQ(b.editor.gesture(), Gesture::Idle);
  EXPECT_EQ(b.design.objects.itemCount(), 4);
}

// Locking or hiding a layer takes its objects out of the selection, and nothing picks them
// while it is so (the model-based page test checks this after every kind of change).
TEST(Editor, ObjectsOfLockedOrHiddenLayersLeaveTheSelection) {
  test::EditorBench b;
  b.app.snapOn = false;
  const int base = b.figure(ObjectKind::Box, 10, 10, 20, 20);
  b.editor.addLayer(1);  // layer 2, row 1
  b.editor.chooseLayer(1);
  const int box = b.figure(ObjectKind::Box, 30, 30, 40, 40);
  b.loaded();
  for (const bool lock : {true, false}) {
    ASSERT_EQ(b.frame(0, 0, 200, 200), 2);
    lock ? b.editor.toggleLock(1) : b.editor.toggleHide(1);
    EXPECT_EQ(b.editor.selectedRows(), std::vector<int>{base});
    EXPECT_EQ(b.cell(box, kColNumber), std::to_string(box));  // its mark is gone
    b.editor.clearSelection();
    EXPECT_FALSE(b.editor.selectObjectRow(box));
    EXPECT_FALSE(b.editor.pickObjectAt(35, 35));
    b.editor.selectRows({box});
    EXPECT_FALSE(b.editor.deleteSelection());
    EXPECT_EQ(b.design.objects.itemCount(), 2);
    lock ? b.editor.toggleLock(1) : b.editor.toggleHide(1);
    EXPECT_TRUE(b.editor.selectObjectRow(box));
  }
}

}  // namespace
}  // namespace qf

namespace qf {
namespace {

// A change made outside an undo step could never be taken back: once a design is loaded it
// is counted, and a debug build stops at it. Lock and hide, views of the design, are none.
TEST(Editor, AChangeOutsideAnUndoStepIsAFault) {
  Design design;
  AppState app;
  ViewState view;
  test::FakeMeasurers measurers;
  test::FakePictures pictures;
  Editor editor(design, app, view, pictures, measurers.get());
  design.objects.appendRow();  // before a load: the design is still being made
  editor.designLoaded({});
  editor.toggleHide(1);
  editor.toggleLock(1);
  EXPECT_TRUE(editor.pasteObjectCell(1, kColLabel, "x"));  // a step of its own
  EXPECT_EQ(editor.history().unrecordedChanges(), 0u);
  EXPECT_DEBUG_DEATH(design.objects.setCell(1, kColLabel, "behind its back"),
                     "outside an undo step");
#ifdef NDEBUG
  EXPECT_EQ(editor.history().unrecordedChanges(), 1u);
  design.layers.setCell(1, kLayerName, "renamed behind its back");
  EXPECT_EQ(editor.history().unrecordedChanges(), 2u);
  editor.newDesign();  // a new design forgets no fault
  EXPECT_EQ(editor.history().unrecordedChanges(), 2u);
#endif
  // A new design is watched as strictly as a loaded one.
  Design blank;
  Editor fresh(blank, app, view, pictures, measurers.get());
  fresh.newDesign();
  EXPECT_DEBUG_DEATH(blank.layers.setCell(1, kLayerName, "behind its back"),
                     "outside an undo step");
#ifdef NDEBUG
  EXPECT_EQ(fresh.history().unrecordedChanges(), 1u);
#endif
}

}  // namespace
}  // namespace qf
