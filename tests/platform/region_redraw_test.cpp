// The page after any change made through the editor equals a full redraw, pixel for pixel,
// though only the damaged parts are drawn again: an object moved into or out of a repeat block.
#include "platform/region_redraw_fixture.h"

namespace qf {
namespace {

using test::RegionRedraw;

// An object whose layer changes so that it falls inside another layer's repeat block, or out
// of it, is drawn with every pass at once, and its old passes are gone.
TEST_F(RegionRedraw, AnObjectMovedIntoOrOutOfARepeatBlockShowsEveryPass) {
  Editing e(100);
  const int16_t upper =
      static_cast<int16_t>(NumericPrefix(e.design.layers.cell(e.editor.addLayer(1), kLayerNumber)));
  ObjectRecord cmd;
  cmd.Kind = ObjectKind::Command;
  cmd.X1 = 12;
  cmd.Text = "0";
  cmd.Style = "0";
  cmd.Size = 3;
  AddObject(e.design.objects, cmd, {}, {}, upper);
  ObjectRecord box;
  box.Kind = ObjectKind::Box;
  box.Text = "2";
  box.Style = "0";
  box.Size = 2;
  AddObject(e.design.objects, box, {30, 30, 60, 40}, {}, upper);
  const int moving = AddObject(e.design.objects, box, {90, 35, 120, 41}, {}, 1);
  cmd.Text = "1";
  AddObject(e.design.objects, cmd, {}, {}, upper);
  RenumberRows(e.design.objects);
  e.editor.designLoaded({});
  e.editor.fullRedraw();
  for (const std::string& layer :
       {std::to_string(upper), std::string("1"), std::to_string(upper)}) {
    ASSERT_TRUE(e.editor.pasteObjectCell(moving, kColLayer, layer));
    EXPECT_EQ(e.page.image, Reference(e)) << "to layer " << layer;
  }
  ASSERT_TRUE(e.editor.commitObjectCell(moving, kColY1, "80"));
  EXPECT_EQ(e.page.image, Reference(e)) << "moved inside the block";
  // Rows come in above the block: its rows are found at their new places.
  e.editor.startInsertMode(1);
  e.editor.addObject(box, {150, 150, 160, 160});
  ASSERT_TRUE(e.editor.commitObjectCell(moving + 1, kColX1, "100"));
  EXPECT_EQ(e.page.image, Reference(e)) << "moved inside the block after an insert above it";
  while (e.editor.undo()) EXPECT_EQ(e.page.image, Reference(e)) << "undo";
}

}  // namespace
}  // namespace qf
