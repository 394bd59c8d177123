// The layer commands of the editor at their edges: numbers, refusals and the current layer.
#include "edit/editing_fixture.h"
#include "edit/editor.h"

#include <gtest/gtest.h>

#include "document/object_rows.h"
#include "edit/object_cells.h"
#include "edit/object_fields.h"
#include "support/fake_measure.h"
#include "support/recording_surface.h"

namespace qf {
namespace {

// Every layer command at the rows and columns on both sides of what it takes: three layers,
// row 3 the base layer.
TEST(Editor, LayerCommandsAtTheirEdges) {
  test::EditorBench b;
  b.loaded();
  TextTable& l = b.design.layers;
  EXPECT_EQ(b.editor.checkLayerDeletion(1), LayerDeletion::BaseLayer);  // the only row
  b.editor.addLayer(1);
  b.editor.addLayer(1);
  ASSERT_EQ(l.itemCount(), 3);
  const TextTable before = l;
  for (int row : {-1, 0, 4}) {
    b.editor.chooseLayer(row);
    EXPECT_EQ(b.editor.currentLayer(), 1) << row;
    EXPECT_FALSE(b.editor.renameLayer(row, "x")) << row;
    EXPECT_FALSE(b.editor.pasteLayerCell(row, kLayerName, "x")) << row;
    EXPECT_EQ(b.editor.checkLayerDeletion(row), LayerDeletion::NoRow) << row;
    EXPECT_FALSE(b.editor.deleteLayer(row)) << row;
    b.editor.toggleLock(row);
    b.editor.toggleHide(row);
  }
  for (int col : {int{kLayerLock} - 1, int{kLayerColumns}}) {
    EXPECT_FALSE(b.editor.pasteLayerCell(1, col, "9")) << col;
  }
  for (auto [a, c] : std::initializer_list<std::pair<int, int>>{
           {0, 1}, {1, 0}, {2, 3}, {3, 1}, {2, 2}, {-1, 2}}) {
    EXPECT_FALSE(b.editor.swapLayers(a, c)) << a << "," << c;
  }
  EXPECT_EQ(l, before);
  EXPECT_EQ(b.editor.checkLayerDeletion(1), LayerDeletion::Allowed);
  EXPECT_EQ(b.editor.checkLayerDeletion(2), LayerDeletion::Allowed);
  EXPECT_EQ(b.editor.checkLayerDeletion(3), LayerDeletion::BaseLayer);
  b.editor.chooseLayer(3);
  EXPECT_EQ(b.editor.currentLayer(), 1);
  b.editor.chooseLayer(1);
  EXPECT_EQ(b.editor.currentLayer(), 3);
  EXPECT_TRUE(b.editor.swapLayers(2, 1));
  EXPECT_TRUE(b.editor.renameLayer(3, "土台"));
  EXPECT_TRUE(b.editor.pasteLayerCell(3, kLayerName, "base"));
  EXPECT_TRUE(b.editor.pasteLayerCell(3, kLayerLock, "■"));
  b.editor.toggleHide(3);
  EXPECT_EQ(l.cell(3, kLayerHide), "×");
  b.editor.toggleLock(3);
  EXPECT_EQ(l.cell(3, kLayerLock), "");
  EXPECT_TRUE(b.editor.deleteLayer(2));

  // A new layer's number: the largest plus one up to the last a layer can have, then the
  // smallest free one; a number cell's fraction or trailing word counts as its number.
  for (auto [largest, next] : std::initializer_list<std::pair<const char*, const char*>>{
           {"32766", "32767"}, {"32767", "2"}, {"32766.5", "32767"}, {"41abc", "42"}}) {
    ASSERT_TRUE(b.editor.pasteLayerCell(1, kLayerNumber, largest));
    EXPECT_EQ(b.editor.addLayer(1), 1);
    EXPECT_EQ(l.cell(1, kLayerNumber), next) << largest;
    ASSERT_TRUE(b.editor.deleteLayer(1));
  }
}

TEST(Editor, LayersAreNumberedRefusedAndKeptCurrent) {
  test::EditorBench b;
  b.loaded();
  TextTable& l = b.design.layers;
  EXPECT_EQ(b.editor.addLayer(1), 1);
  EXPECT_EQ(l.cell(1, kLayerNumber), "2");
  EXPECT_EQ(l.cell(1, kLayerName), "レイヤー2");
  EXPECT_EQ(l.cell(2, kLayerName), "ベースレイヤー");
  EXPECT_EQ(b.editor.checkLayerDeletion(2), LayerDeletion::BaseLayer);
  EXPECT_EQ(b.editor.checkLayerDeletion(0), LayerDeletion::NoRow);
  EXPECT_FALSE(b.editor.deleteLayer(2));

  b.editor.chooseLayer(1);
  EXPECT_EQ(b.editor.currentLayer(), 2);
  b.editor.chooseLayer(l.itemCount());  // the base layer, the last row
  EXPECT_EQ(b.editor.currentLayer(), 1);
  b.editor.chooseLayer(1);
  EXPECT_EQ(b.editor.currentLayer(), 2);
  ASSERT_TRUE(b.editor.deleteLayer(1));
  EXPECT_EQ(b.editor.currentLayer(), 1);  // never a layer no row carries
  EXPECT_EQ(b.editor.addLayer(0), 1);     // no row chosen: the top
  EXPECT_EQ(l.cell(1, kLayerNumber), "2");
  ASSERT_TRUE(b.editor.pasteLayerCell(1, kLayerNumber, "5"));
  EXPECT_EQ(b.editor.addLayer(1), 1);
  EXPECT_EQ(l.cell(1, kLayerNumber), "6");  // the largest plus one
  // Past the largest number a layer can have, the smallest free one, the last row's counted.
  ASSERT_TRUE(b.editor.pasteLayerCell(1, kLayerNumber, "32767"));
  EXPECT_EQ(b.editor.addLayer(1), 1);
  EXPECT_EQ(l.cell(1, kLayerNumber), "2");
  ASSERT_TRUE(b.editor.undo());
  ASSERT_TRUE(b.editor.undo());

  // Swaps never take the base layer; lock and hide are no steps and no change of the file.
  EXPECT_FALSE(b.editor.swapLayers(1, 3));
  ASSERT_TRUE(b.editor.swapLayers(1, 2));
  EXPECT_EQ(l.cell(1, kLayerNumber), "5");
  b.editor.markSaved();
  const size_t steps = b.editor.history().stepCount();
  b.editor.toggleLock(1);
  b.editor.toggleHide(1);
  EXPECT_EQ(l.cell(1, kLayerLock), "■");
  EXPECT_EQ(l.cell(1, kLayerHide), "×");
  // Pasted into those cells, the same.
  ASSERT_TRUE(b.editor.pasteLayerCell(1, kLayerHide, ""));
  ASSERT_TRUE(b.editor.pasteLayerCell(2, kLayerLock, "■"));
  ASSERT_TRUE(b.editor.pasteLayerCell(1, kLayerHide, "×"));
  EXPECT_EQ(l.cell(2, kLayerLock), "■");
  EXPECT_EQ(b.editor.history().stepCount(), steps);
  EXPECT_FALSE(b.editor.modified());
  ASSERT_TRUE(b.editor.renameLayer(1, "明細"));
  EXPECT_TRUE(b.editor.modified());
  // Undoing the swap moves the marks with their layer.
  ASSERT_TRUE(b.editor.undo());
  ASSERT_TRUE(b.editor.undo());
  EXPECT_EQ(l.cell(2, kLayerNumber), "5");
  EXPECT_EQ(l.cell(2, kLayerHide), "×");

  b.editor.chooseLayer(1);
  b.editor.newDesign();
  EXPECT_EQ(b.editor.currentLayer(), 1);
  EXPECT_EQ(l.itemCount(), 1);
  EXPECT_FALSE(b.editor.canUndo());
  EXPECT_FALSE(b.editor.modified());
}

}  // namespace
}  // namespace qf
