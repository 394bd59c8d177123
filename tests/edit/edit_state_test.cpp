#include "edit/edit_state.h"

#include <gtest/gtest.h>

#include "support/fake_measure.h"

namespace qf {
namespace {

TEST(StoreWorkingObject, AppendsOrInsertsWithTheCurrentLayer) {
  Design d;
  EditState s;
  s.placing.currentLayer = 4;
  s.placing.working.Kind = ObjectKind::Box;
  s.placing.working.Text = "2";
  s.placing.working.Field = "3";
  s.placing.working.Style = "1";
  s.placing.working.Size = 2;
  s.placing.working.Color = 255;
  s.placing.rect = {10, 20, 60.25, 40};
  s.placing.NewObject = true;

  EXPECT_EQ(StoreWorkingObject(d.objects, s, 0), 1);
  s.placing.working.Label = "second";
  EXPECT_EQ(StoreWorkingObject(d.objects, s, 0), 2);
  EXPECT_EQ(d.objects.cell(1, kColX2), "60.250");
  EXPECT_EQ(d.objects.cell(1, kColText), "色２");
  EXPECT_EQ(d.objects.cell(1, kColField), "3.000");
  EXPECT_EQ(d.objects.cell(1, kColStyle), "鎖線");
  EXPECT_EQ(d.objects.cell(1, kColColor), "&H000000FF&");
  EXPECT_EQ(d.objects.cell(1, kColLayer), "4");

  s.placing.InsertMode = true;
  s.placing.insertRow = 2;
  s.placing.working.Label = "inserted";
  EXPECT_EQ(StoreWorkingObject(d.objects, s, 0), 2);
  EXPECT_EQ(d.objects.cell(2, kColLabel), "inserted");
  EXPECT_EQ(d.objects.cell(3, kColLabel), "second");

  // Rewriting the row a selection entry names; a radius that is no number keeps the cell.
  s.placing.NewObject = false;
  s.pointer.SelectionList.push_back({3, {}});
  s.placing.working.Field = "abc";
  s.placing.working.Label = "changed";
  EXPECT_EQ(StoreWorkingObject(d.objects, s, 1), 3);
  EXPECT_EQ(d.objects.cell(3, kColLabel), "changed");
  EXPECT_EQ(d.objects.cell(3, kColField), "3.000");
  s.placing.working.Field = "";
  StoreWorkingObject(d.objects, s, 1);
  EXPECT_EQ(d.objects.cell(3, kColField), "");
  EXPECT_EQ(StoreWorkingObject(d.objects, s, 2), 0);  // no such selection entry
  EXPECT_EQ(d.objects.itemCount(), 3);
}

TEST(StoreWorkingObject, TextsAndPicturesTakeTheSecondPointAndTheirMeasuredSize) {
  test::FakeMeasurers m;
  m.picture.sizes["logo.png"] = {72, 36};  // one inch by half an inch
  Design d;
  EditState s;
  s.placing.NewObject = true;
  s.placing.working.Kind = ObjectKind::Text;
  s.placing.working.Text = "あいう";
  s.placing.working.Size = 12;
  s.placing.rect = {1, 1, 30, 40};
  MeasureWorkingText(s.placing, m.text, 6);
  const int text = StoreWorkingObject(d.objects, s, 0);
  EXPECT_EQ(d.objects.cell(text, kColX1), "30.000");
  EXPECT_EQ(d.objects.cell(text, kColY1), "40.000");
  EXPECT_EQ(d.objects.cell(text, kColX2), "12.700");  // 36 pt in millimetres
  EXPECT_EQ(d.objects.cell(text, kColY2), "6.350");
  EXPECT_EQ(d.objects.cell(text, kColAlign), "左");

  s.placing.working = {};
  s.placing.working.Kind = ObjectKind::Picture;
  s.placing.working.Text = "logo.png";
  s.placing.working.Style = "1";
  LoadWorkingPicture(s.placing, m.picture, 6);
  const int pic = StoreWorkingObject(d.objects, s, 0);
  EXPECT_EQ(d.objects.cell(pic, kColX2), "25.400");
  EXPECT_EQ(d.objects.cell(pic, kColY2), "12.700");
  EXPECT_EQ(d.objects.cell(pic, kColStyle), "透過");
  EXPECT_EQ(d.objects.cell(pic, kColSize), "0");

  s.placing.working.Text = "missing.png";
  LoadWorkingPicture(s.placing, m.picture, 6);
  const int missing = StoreWorkingObject(d.objects, s, 0);
  EXPECT_EQ(d.objects.cell(missing, kColX2), "0.000");

  // A command keeps its gap in X1 and leaves the other coordinates alone.
  s.placing.working = {};
  s.placing.working.Kind = ObjectKind::Command;
  s.placing.working.X1 = 6;
  s.placing.working.Text = "1";
  s.placing.working.Style = "0";
  s.placing.working.Field = "i";
  s.placing.working.Size = 9;
  const int cmd = StoreWorkingObject(d.objects, s, 0);
  EXPECT_EQ(d.objects.cell(cmd, kColX1), "6.000");
  EXPECT_EQ(d.objects.cell(cmd, kColY1), "");
  EXPECT_EQ(d.objects.cell(cmd, kColText), "終了");
  EXPECT_EQ(d.objects.cell(cmd, kColStyle), "縦");
  EXPECT_EQ(d.objects.cell(cmd, kColSize), "9");
}

}  // namespace
}  // namespace qf
