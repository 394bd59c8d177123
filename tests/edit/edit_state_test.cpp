#include "edit/edit_state.h"
#include "edit/tracked_rows.h"

#include <gtest/gtest.h>

#include "support/fake_measure.h"

namespace qf {
namespace {

TEST(StoreWorkingObject, AppendsOrInsertsWithTheCurrentLayer) {
  Design d;
  WorkingObject s;
  s.record.Kind = ObjectKind::Box;
  s.record.Text = "2";
  s.record.Field = "3";
  s.record.Style = "1";
  s.record.Size = 2;
  s.record.Color = 255;
  s.record.Layer = 9;  // the layer given wins
  s.rect = {10, 20, 60.25, 40};

  EXPECT_EQ(StoreWorkingObject(d.objects, s, 4, 0), 1);
  s.record.Label = "second";
  EXPECT_EQ(StoreWorkingObject(d.objects, s, 4, 0), 2);
  EXPECT_EQ(d.objects.cell(1, kColX2), "60.250");
  EXPECT_EQ(d.objects.cell(1, kColText), "色２");
  EXPECT_EQ(d.objects.cell(1, kColField), "3.000");
  EXPECT_EQ(d.objects.cell(1, kColStyle), "鎖線");
  EXPECT_EQ(d.objects.cell(1, kColColor), "&H000000FF&");
  EXPECT_EQ(d.objects.cell(1, kColLayer), "4");

  s.record.Label = "inserted";
  EXPECT_EQ(StoreWorkingObject(d.objects, s, 4, 2), 2);
  EXPECT_EQ(d.objects.cell(2, kColLabel), "inserted");
  EXPECT_EQ(d.objects.cell(3, kColLabel), "second");

  // Rewriting a row in the record's layer; a radius that is no number keeps the cell.
  s.record.Field = "abc";
  s.record.Label = "changed";
  s.record.Layer = 7;
  EXPECT_TRUE(StoreWorkingObjectAt(d.objects, s, 3));
  EXPECT_EQ(d.objects.cell(3, kColLabel), "changed");
  EXPECT_EQ(d.objects.cell(3, kColField), "3.000");
  EXPECT_EQ(d.objects.cell(3, kColLayer), "7");
  s.record.Field = "";
  StoreWorkingObjectAt(d.objects, s, 3);
  EXPECT_EQ(d.objects.cell(3, kColField), "");
  EXPECT_FALSE(StoreWorkingObjectAt(d.objects, s, 4));  // no such row
  EXPECT_EQ(d.objects.itemCount(), 3);
  // A position below 1 appends, 1 is the top; the caption row is no row to rewrite.
  s.record.Label = "appended";
  EXPECT_EQ(StoreWorkingObject(d.objects, s, 4, -1), 4);
  s.record.Label = "top";
  EXPECT_EQ(StoreWorkingObject(d.objects, s, 4, 1), 1);
  EXPECT_EQ(d.objects.cell(5, kColLabel), "appended");
  EXPECT_FALSE(StoreWorkingObjectAt(d.objects, s, 0));
  EXPECT_EQ(d.objects.cell(0, kColLabel), "ﾗﾍﾞﾙ");
}

TEST(StoreWorkingObject, TextsAndPicturesTakeTheSecondPointAndTheirMeasuredSize) {
  test::FakeMeasurers m;
  m.picture.sizes["logo.png"] = {72, 36};  // one inch by half an inch
  Design d;
  WorkingObject s;
  s.record.Kind = ObjectKind::Text;
  s.record.Text = "あいう";
  s.record.Size = 12;
  s.rect = {1, 1, 30, 40};
  MeasureWorkingText(s, m.text, 6);
  const int text = StoreWorkingObject(d.objects, s, 1, 0);
  EXPECT_EQ(d.objects.cell(text, kColX1), "30.000");
  EXPECT_EQ(d.objects.cell(text, kColY1), "40.000");
  EXPECT_EQ(d.objects.cell(text, kColX2), "12.700");  // 36 pt in millimetres
  EXPECT_EQ(d.objects.cell(text, kColY2), "6.350");
  EXPECT_EQ(d.objects.cell(text, kColAlign), "左");

  s.record = {};
  s.record.Kind = ObjectKind::Picture;
  s.record.Text = "logo.png";
  s.record.Style = "1";
  LoadWorkingPicture(s, m.picture, 6);
  const int pic = StoreWorkingObject(d.objects, s, 1, 0);
  EXPECT_EQ(d.objects.cell(pic, kColX2), "25.400");
  EXPECT_EQ(d.objects.cell(pic, kColY2), "12.700");
  EXPECT_EQ(d.objects.cell(pic, kColStyle), "透過");
  EXPECT_EQ(d.objects.cell(pic, kColSize), "0");

  s.record.Text = "missing.png";
  LoadWorkingPicture(s, m.picture, 6);
  const int missing = StoreWorkingObject(d.objects, s, 1, 0);
  EXPECT_EQ(d.objects.cell(missing, kColX2), "0.000");

  // A command keeps its gap in X1 and leaves the other coordinates alone.
  s.record = {};
  s.record.Kind = ObjectKind::Command;
  s.record.X1 = 6;
  s.record.Text = "1";
  s.record.Style = "0";
  s.record.Field = "i";
  s.record.Size = 9;
  const int cmd = StoreWorkingObject(d.objects, s, 1, 0);
  EXPECT_EQ(d.objects.cell(cmd, kColX1), "6.000");
  EXPECT_EQ(d.objects.cell(cmd, kColY1), "");
  EXPECT_EQ(d.objects.cell(cmd, kColText), "終了");
  EXPECT_EQ(d.objects.cell(cmd, kColStyle), "縦");
  EXPECT_EQ(d.objects.cell(cmd, kColSize), "9");
}

}  // namespace
}  // namespace qf

namespace qf {
namespace {

// Rows named by number follow what they name through inserts, removes, swaps and resets; a
// place (the insert position) moves on to the row that takes it.
TEST(TrackedRows, FollowTheirRowsThroughEveryChange) {
  TextTable t = MakeObjectList();
  for (int i = 0; i < 9; ++i) t.appendRow();
  TrackedRows objects(t);
  TrackedRows place(t, TrackedRows::OnRemove::KeepPlace);
  objects.assign({9, 2, 5, 2, 0, 10});  // unknown rows and repeats left out
  EXPECT_EQ(objects.rows(), (std::vector<int>{9, 2, 5}));
  place.assign({10});  // after the last row
  EXPECT_EQ(place.rows(), std::vector<int>{10});
  t.insertRow(3);
  EXPECT_EQ(objects.rows(), (std::vector<int>{10, 2, 6}));
  t.removeRow(6);
  EXPECT_EQ(objects.rows(), (std::vector<int>{9, 2}));
  EXPECT_EQ(place.rows(), std::vector<int>{10});
  place.assign({4});
  t.removeRow(4);
  EXPECT_EQ(place.rows(), std::vector<int>{4});  // the row below takes the place
  EXPECT_EQ(objects.rows(), (std::vector<int>{8, 2}));
  t.swapCells(2, 7, kColKind);
  EXPECT_EQ(objects.rows(), (std::vector<int>{8, 7}));
  {
    TrackedRows gone(t);
    gone.assign({1});
  }
  t.removeRow(1);  // a tracker gone hears nothing more
  EXPECT_EQ(objects.rows(), (std::vector<int>{7, 6}));
  t.clearItems();
  EXPECT_TRUE(objects.empty());
}

}  // namespace
}  // namespace qf
