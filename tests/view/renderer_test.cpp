#include "view/renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "support/design_builder.h"
#include "support/fake_measure.h"
#include "support/recording_port.h"
#include "view/barcode_drawing.h"
#include "view/object_walk.h"
#include "view/page_index.h"
#include "view/printing.h"

namespace qf {
namespace {

using test::DesignBuilder;
using test::FakePictures;
using test::RecordingPort;
using test::RecordingSurface;

struct Fixture {
  RecordingSurface surface;
  ViewState view;
  FakePictures pictures;

  std::vector<std::string> redraw(const Design& d, std::initializer_list<std::string> only) {
    surface.calls.clear();
    RenderContext ctx{surface, d, view, pictures};
    RedrawObjects(ctx, 1, d.objects.itemCount());
    return only.size() == 0 ? surface.calls : surface.only(only);
  }
};

TEST(Renderer, EachKindInModeTwo) {
  DesignBuilder b;
  b.text("題", 10, 20, 0, "", "ＭＳ 明朝", 12, -1);
  b.figure(ObjectKind::Line, 1, 2, 3, 4, "0", 0xFF, "2", 3);
  b.figure(ObjectKind::Box, 10, 10, 60, 40, "0");
  b.figure(ObjectKind::Ring, 0, 0, 40, 20, "0");
  b.picture("logo.png", 5, 6, true);
  b.picture("missing.png", 5, 6, false);
  Fixture f;
  f.view.zoom = 50;
  EXPECT_EQ(f.redraw(b.design, {}),
            (std::vector<std::string>{
                // Figures with the mask pen, as printed; line widths do not follow the zoom.
                "mode 9",
                "style 2",
                "width 3",
                "line 1,2-3,4 #0000FF",
                "mode 13",
                "mode 9",
                "style 0",
                "width 1",
                "box 10,10-60,40 #000000",
                "fillstyle 1",
                "mode 13",
                "mode 9",
                "style 0",
                "width 1",
                "circle 20,10 r20 #000000 a0.5",
                "fillcolor #000000",
                "fillstyle 1",
                "mode 13",
                // One inch by half an inch in millimetres, transparent: ANDed in. A picture that
                // cannot be read draws nothing.
                "mode 9",
                "picture 5,6 25.4x12.7 8800C6",
                "mode 13",
                // The text over them all, though its row comes first; 12 pt at zoom 50 is 6 pt.
                "at 10,20",
                "font ＭＳ 明朝 6 B",
                "fore #000000",
                "print 題",
            }));
}

TEST(Renderer, HatchedBoxWithRadiusIsSquareAndFilled) {
  DesignBuilder b;
  b.figure(ObjectKind::Box, 10, 10, 60, 40, "3");
  b.design.objects.setCell(1, kColField, "5.000");
  b.figure(ObjectKind::Box, 0, 0, 20, 10, "0");
  b.design.objects.setCell(2, kColField, "2.000");
  Fixture f;
  EXPECT_EQ(
      f.redraw(b.design, {"box", "circle", "line", "fill"}),
      (std::vector<std::string>{
          "fillstyle 0", "fillcolor #A0A0A0", "box 10,10-60,40 #000000", "fillstyle 1",
          // The rounded box: four quarter arcs, then four sides.
          "circle 2,2 r2 #000000 a1 arc 1.571-3.142", "circle 2,8 r2 #000000 a1 arc 3.142-4.712",
          "circle 18,8 r2 #000000 a1 arc 4.712-6.283", "circle 18,2 r2 #000000 a1 arc 0-1.571",
          "line 2,0-18,0 #000000", "line 0,2-0,8 #000000", "line 2,10-18,10 #000000",
          "line 20,2-20,8 #000000", "fillstyle 1"}));
}

// A pen of up to 1,000 pixels is drawn as given; wider, or less than nothing, draws the
// thinnest line.
TEST(Renderer, PenWidthsUpToAThousand) {
  DesignBuilder b;
  for (float w : {0.4f, 1000.0f, 1000.6f, -0.6f})
    b.figure(ObjectKind::Line, 0, 0, 1, 1, "0", 0, "0", w);
  Fixture f;
  EXPECT_EQ(f.redraw(b.design, {"width"}),
            (std::vector<std::string>{"width 0", "width 1000", "width 0", "width 0"}));
}

// Code cells holding words their tables do not list, as a paste can leave them: a picture is
// ANDed in like a transparent one, a hatch names no colour and fills nothing.
TEST(Renderer, UnlistedWordsInCodeCells) {
  DesignBuilder b;
  b.picture("logo.png", 5, 6, false).picture("logo.png", 5, 6, false);
  b.figure(ObjectKind::Box, 0, 0, 10, 10, "2").figure(ObjectKind::Ring, 0, 0, 10, 10, "2");
  b.design.objects.setCell(1, kColStyle, "");
  b.design.objects.setCell(2, kColStyle, "半透過");
  b.design.objects.setCell(3, kColText, "色6");
  b.design.objects.setCell(4, kColText, "6");
  Fixture f;
  EXPECT_EQ(
      f.redraw(b.design, {"picture", "fill"}),
      (std::vector<std::string>{"picture 5,6 25.4x12.7 8800C6", "picture 5,6 25.4x12.7 8800C6",
                                "fillstyle 1", "fillcolor #000000", "fillstyle 1"}));
}

TEST(Renderer, RingsFromReversedAndFlatRectangles) {
  DesignBuilder b;
  b.figure(ObjectKind::Ring, 40, 20, 0, 0, "2");
  b.figure(ObjectKind::Ring, 3, 7, 13, 7);
  Fixture f;
  EXPECT_EQ(
      f.redraw(b.design, {"circle", "fill"}),
      (std::vector<std::string>{"fillcolor #C0C0C0", "fillstyle 0", "circle 20,10 r10 #000000 a1",
                                "fillcolor #000000", "fillstyle 1", "circle 8,7 r5 #000000 a1",
                                "fillcolor #000000", "fillstyle 1"}));
}

TEST(Renderer, RepeatsDrawCountPlusOneTimesAndNest) {
  DesignBuilder b;
  b.repeat("i", true, 10, 0).figure(ObjectKind::Line, 0, 0, 1, 0).end("i", true);
  Fixture f;
  EXPECT_EQ(f.redraw(b.design, {"line"}), std::vector<std::string>{"line 0,0-1,0 #000000"});

  DesignBuilder three;
  three.repeat("i", true, 10, 3).figure(ObjectKind::Line, 0, 0, 1, 0).end("i", true);
  EXPECT_EQ(f.redraw(three.design, {"line"}),
            (std::vector<std::string>{"line 0,0-1,0 #000000", "line 0,10-1,10 #000000",
                                      "line 0,20-1,20 #000000", "line 0,30-1,30 #000000"}));

  // A count no integer holds is none: one pass.
  DesignBuilder beyond;
  beyond.repeat("i", true, 10, 3e9f).figure(ObjectKind::Line, 0, 0, 1, 0).end("i", true);
  EXPECT_EQ(f.redraw(beyond.design, {"line"}), std::vector<std::string>{"line 0,0-1,0 #000000"});

  // A horizontal block inside a vertical one shifts in both directions, and the other way.
  for (bool outerVertical : {true, false}) {
    DesignBuilder nested;
    nested.repeat("i", outerVertical, 10, 1)
        .repeat("j", !outerVertical, 100, 1)
        .text("x", 1, 2)
        .end("j", !outerVertical)
        .end("i", outerVertical);
    const auto at = f.redraw(nested.design, {"at"});
    if (outerVertical) {
      EXPECT_EQ(at, (std::vector<std::string>{"at 1,2", "at 101,2", "at 1,12", "at 101,12"}));
    } else {
      EXPECT_EQ(at, (std::vector<std::string>{"at 1,2", "at 1,102", "at 11,2", "at 11,102"}));
    }
  }

  // Counts far too large to draw stop at the walk's limit instead of freezing: these blocks
  // would draw their line 2000 x 2000 times, twice the limit.
  DesignBuilder huge;
  huge.repeat("a", true, 1, 1999).repeat("b", true, 1, 1999);
  huge.figure(ObjectKind::Line, 0, 0, 1, 0);
  huge.end("b", true).end("a", true);
  long drawn = 0;
  WalkObjects(huge.design, 1, huge.design.objects.itemCount(),
              [&drawn](const WorkingRect&, const ObjectRecord&) { ++drawn; });
  EXPECT_GT(drawn, kMaxWalkSteps / 4);
  EXPECT_LE(drawn, kMaxWalkSteps);
}

TEST(Renderer, LayersFromTheLastRowUpHiddenSkippedLockedDrawn) {
  DesignBuilder b;
  b.layer(2, "middle").layer(3, "top");  // rows: 3 top, 2 middle, 1 base
  b.on(3).text("top", 0, 0).on(1).text("base", 0, 0).on(2).text("middle", 0, 0);
  b.on(7).text("no such layer", 0, 0);
  Fixture f;
  EXPECT_EQ(f.redraw(b.design, {"print"}),
            (std::vector<std::string>{"print base", "print middle", "print top"}));
  b.design.layers.setCell(2, kLayerHide, "×");  // hide "middle"
  b.design.layers.setCell(1, kLayerLock, "■");  // lock "top"
  EXPECT_EQ(f.redraw(b.design, {"print"}), (std::vector<std::string>{"print base", "print top"}));
}

TEST(Renderer, FeedbackModesAndSelectionMarks) {
  DesignBuilder b;
  b.figure(ObjectKind::Box, 10, 10, 60, 40, "2", 0x00FF00);
  const ObjectRecord box = DecodeObjectRow(b.design.objects, 1);
  Fixture f;
  RenderContext ctx{f.surface, b.design, f.view, f.pictures};
  DrawObject(ctx, {1, 2, 3, 4}, static_cast<int>(ObjectKind::Box), DrawObjectMode::FeedbackDraw,
             box);
  f.surface.setDrawWidth(7);  // left wide by what was drawn before: a block's frame is thin
  DrawObject(ctx, {1, 2, 3, 4}, kBlockFrame, DrawObjectMode::FeedbackErase, box);
  EXPECT_EQ(
      f.surface.only({"box", "fillcolor", "style", "width"}),
      (std::vector<std::string>{"style 0", "width 1", "fillcolor #C0C0C0", "box 1,2-3,4 #0000FF",
                                "width 7", "style 2", "width 1", "box 1,2-3,4 #FF0000"}));

  ObjectRecord text;
  text.Kind = ObjectKind::Text;
  text.Text = "abc";
  text.Size = 10;
  f.surface.calls.clear();
  DrawObject(ctx, {1, 2, 3, 4}, 1, DrawObjectMode::FeedbackDraw, text);
  DrawObject(ctx, {1, 2, 3, 4}, 1, DrawObjectMode::FeedbackErase, text);
  ctx.textEraseBlocked = true;
  DrawObject(ctx, {1, 2, 3, 4}, 1, DrawObjectMode::FeedbackErase, text);
  EXPECT_EQ(f.surface.only({"show", "hide", "at", "fore", "print"}),
            (std::vector<std::string>{"showlabel 3,4", "hidelabel", "at 1,2", "fore #FFFFFF",
                                      "print abc", "hidelabel", "at 1,2"}));

  // A picture's feedback: inverted, then its bits xored in, so the same two calls again take it
  // off; it stands at the place's second point.
  ObjectRecord picture;
  picture.Kind = ObjectKind::Picture;
  picture.Text = "logo.png";
  f.surface.calls.clear();
  DrawObject(ctx, {1, 2, 3, 4}, static_cast<int>(ObjectKind::Picture), DrawObjectMode::FeedbackDraw,
             picture);
  EXPECT_EQ(
      f.surface.only({"picture"}),
      (std::vector<std::string>{"picture 3,4 25.4x12.7 550009", "picture 3,4 25.4x12.7 660046"}));

  f.view.markSize = 2;
  f.surface.calls.clear();
  const MarkCorners marks = DrawSelectionMarks(f.surface, f.view, {box.X1, box.Y1, box.X2, box.Y2});
  EXPECT_EQ(f.surface.only({"box", "circle"}),
            (std::vector<std::string>{"boxfill 8,8-10,10 #0000FF", "boxfill 60,40-62,42 #0000FF",
                                      "circle 35,25 r1 #0000FF a1"}));
  EXPECT_EQ(marks[0], (std::pair<double, double>{8, 8}));
  EXPECT_EQ(marks[1], (std::pair<double, double>{62, 42}));
  EXPECT_EQ(marks[2], (std::pair<double, double>{34, 24}));
  // The layout tools' reference: the same places, hollow.
  f.surface.calls.clear();
  DrawSelectionMarks(f.surface, f.view, {box.X1, box.Y1, box.X2, box.Y2}, MarkStyle::Reference);
  EXPECT_EQ(f.surface.only({"box", "circle", "fillstyle"}),
            (std::vector<std::string>{"box 8,8-10,10 #0000FF", "box 60,40-62,42 #0000FF",
                                      "fillstyle 1", "circle 35,25 r1 #0000FF a1", "fillstyle 1"}));
  EXPECT_EQ(f.surface.calls.back(), "mode 13");  // left in copy pen, its resting state
}

TEST(Printing, SameWalkWithInkAtDesignSize) {
  DesignBuilder b;
  b.layer(2, "hidden");
  b.on(1).repeat("i", true, 10, 2).text("明細", 1, 2, 0, "", "ＭＳ 明朝", 12).end("i", true);
  b.figure(ObjectKind::Box, 0, 0, 5, 5, "1");
  b.picture("logo.png", 1, 1, false).picture("logo.png", 1, 1, true);
  b.on(2).text("never", 0, 0);
  b.design.layers.setCell(1, kLayerHide, "×");
  RecordingSurface surface;
  RecordingPort printer(surface);
  FakePictures pictures;
  std::string error;
  ASSERT_TRUE(PrintDesign(b.design, printer, pictures, &error));
  EXPECT_EQ(printer.ended, 1);
  EXPECT_EQ(surface.only({"print", "font", "picture", "mode 9", "mode 10"}),
            (std::vector<std::string>{"font ＭＳ 明朝 12", "print 明細", "font ＭＳ 明朝 12",
                                      "print 明細", "font ＭＳ 明朝 12", "print 明細", "mode 9",
                                      "mode 9", "picture 1,1 25.4x12.7 CC0020", "mode 9",
                                      "picture 1,1 25.4x12.7 8800C6"}));

  // A printer that cannot start: its own reason is kept, a general one stands in for none,
  // and a caller that asks for no reason gets none.
  printer.refuses = "no paper";
  EXPECT_FALSE(PrintDesign(b.design, printer, pictures, &error));
  EXPECT_EQ(error, "no paper");
  printer.refuses = "silently";
  error.clear();
  EXPECT_FALSE(PrintDesign(b.design, printer, pictures, &error));
  EXPECT_EQ(error, "プリンターが印刷を始められません");
  EXPECT_FALSE(PrintDesign(b.design, printer, pictures, nullptr));
}

// Merged values stand where the generated program prints a field: right and centre alignment by
// the difference of the widths; each pass of a block asks for its own value; pages are one
// document.
TEST(Printing, MergedValuesStandWhereTheProgramPutsThem) {
  DesignBuilder b;
  b.text("abc", 10, 5, 0, "f").text("abcdef", 20, 5, 1, "f").text("abcdefgh", 30, 5, 2, "f");
  b.text("plain", 40, 5);
  b.repeat("i", true, 10, 1).text("row", 1, 20, 0, "g").end("i", true);
  struct Values final : PageValues {
    std::optional<std::string_view> value(int row, long pass) const override {
      if (row == 4) return std::nullopt;
      keep.push_back((row == 6 ? "p" : "x\r\ny") + std::to_string(pass));
      return keep.back();
    }
    mutable std::deque<std::string> keep;
  } values;
  RecordingSurface surface;
  RecordingPort printer(surface);
  FakePictures pictures;
  int pages = 0;
  ASSERT_TRUE(PrintPages(
      b.design, printer, pictures,
      [&]() -> const PageValues* { return pages++ < 2 ? &values : nullptr; }, nullptr));
  EXPECT_EQ(printer.ended, 1);
  const std::vector<std::string> calls = surface.only({"at", "print"});
  ASSERT_EQ(calls.size(), 24u);
  EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 12),
            (std::vector<std::string>{"at 10,5", "print x  y0", "at 21,5", "print x  y0",
                                      "at 31.5,5", "print x  y0", "at 40,5", "print plain",
                                      "at 1,20", "print p0", "at 1,30", "print p1"}));
  EXPECT_EQ(std::vector<std::string>(calls.begin() + 12, calls.end()),
            std::vector<std::string>(calls.begin(), calls.begin() + 12));

  // A long page asks every 1,024 objects whether to go on; no stops it there, unfinished.
  DesignBuilder many;
  many.repeat("i", true, 0.01, 4999).text("x", 1, 1).end("i", true);
  RecordingSurface againSurface;
  RecordingPort again(againSurface);
  int asked = 0;
  std::string error;
  EXPECT_FALSE(PrintDesign(many.design, again, pictures, &error, [&] { return ++asked < 3; }));
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(againSurface.only({"print"}).size(), 3u * 1024 - 1);
  EXPECT_EQ(again.ended, 0);
  asked = 0;
  EXPECT_TRUE(PrintDesign(many.design, again, pictures, &error, [&] { return ++asked > 0; }));
  EXPECT_EQ(asked, 4);  // 5,000 objects
}

// A barcode's bars are filled with its colour under the ink rule, its digits printed in the
// same colour after them; a value that cannot print is the box crossed in red, nothing else.
TEST(Printing, ABarcodesBarsAndDigitsTakeItsColour) {
  RecordingSurface s;
  s.setForeColor(0x00FF00);  // what a text before it left
  const BarcodeObject jan{Symbology::Jan13, "490123456789", "", 9, 0x0000FF};
  DrawBarcode(s, {10, 10, 60, 35}, jan, 6, 9);
  const std::vector<std::string> bars = s.only({"boxfill"});
  ASSERT_EQ(bars.size(), 30u);  // 2 guard bars of three, 12 digits of two bars each
  for (const std::string& bar : bars) EXPECT_EQ(bar.substr(bar.size() - 7), "#0000FF") << bar;
  const std::vector<std::string> calls = s.only({"mode", "fore", "print"});
  EXPECT_EQ(calls, (std::vector<std::string>{"fore #00FF00", "mode 9", "mode 13", "fore #0000FF",
                                             "print 4901234567894"}));
  RecordingSurface refused;
  DrawBarcode(refused, {10, 10, 60, 35}, BarcodeObject{Symbology::Jan13, "49A", "", 9, 0}, 6, 9);
  EXPECT_EQ(refused.only({"boxfill", "print"}), std::vector<std::string>{});
  EXPECT_EQ(refused.only({"box ", "line"}).size(), 3u);
  for (const std::string& call : refused.only({"box ", "line"})) {
    EXPECT_EQ(call.substr(call.size() - 7), "#0000FF") << call;  // red: 255 is R in the lowest byte
  }
}

// What the page index owes after changes, against where the walk draws: a place is owed when
// the whole page is, or a damaged part reaches it.
struct IndexBench {
  bool owes(const PageIndex::Damage& d, const PageRect& place) const {
    return d.full || std::any_of(d.rects.begin(), d.rects.end(),
                                 [&](const PageRect& r) { return r.intersects(place); });
  }
  test::FakeMeasurers measurers;
  FakePictures pictures;
  ViewState view;
};

// A row changed and then rows above it removed before the page is drawn: its new place is still
// owed, at its new row.
TEST(PageIndex, AChangedRowStaysOwedWhenRowsAboveItGo) {
  IndexBench b;
  DesignBuilder d;
  for (int i = 0; i < 4; ++i) d.figure(ObjectKind::Line, 10, 10 + 20 * i, 30, 10 + 20 * i);
  PageIndex index(d.design, b.measurers.text, b.pictures);
  index.takeDamage(b.view);
  d.design.objects.setCell(4, kColY1, "200");
  d.design.objects.setCell(4, kColY2, "200");
  d.design.objects.removeRow(1);
  const PageIndex::Damage damage = index.takeDamage(b.view);
  EXPECT_FALSE(damage.full);
  EXPECT_TRUE(b.owes(damage, {10, 199, 30, 201}));
  EXPECT_FALSE(b.owes(damage, {10, 29, 30, 31}));  // a row that only moved up the list
}

// A row inserted above a repeat block, even one on a layer no row of the list has, moves the
// block's rows down: the rows found where the block draws are its rows at their new places.
TEST(PageIndex, ARowInsertedAboveABlockMovesItsRows) {
  IndexBench b;
  DesignBuilder d;
  d.repeat("i", true, 20, 2).figure(ObjectKind::Line, 10, 10, 30, 10).end("i", true);
  PageIndex index(d.design, b.measurers.text, b.pictures);
  index.takeDamage(b.view);
  ObjectRecord stray;
  stray.Kind = ObjectKind::Line;
  AddObject(d.design.objects, stray, {100, 100, 110, 100}, {}, 0, 1);
  EXPECT_EQ(index.rowsTouching({10, 49, 30, 51}, b.view), (std::vector<int>{2, 3, 4}));
}

// An empty block of more passes than a walk takes stops the walk before the line after it, so
// the line is not on the page: a change to it owes the page whole, not the line's place, which
// drawn alone would show it.
TEST(PageIndex, AWalkCutShortByAnEmptyBlockOwesThePageWhole) {
  IndexBench b;
  DesignBuilder d;
  d.repeat("i", true, 1, 2.5e6f).end("i", true).figure(ObjectKind::Line, 10, 10, 30, 10);
  long drawn = 0;
  WalkObjects(d.design, 1, 3, [&](const WorkingRect&, const ObjectRecord&) { ++drawn; });
  ASSERT_EQ(drawn, 0);
  PageIndex index(d.design, b.measurers.text, b.pictures);
  index.takeDamage(b.view);
  d.design.objects.setCell(3, kColY1, "20");
  EXPECT_TRUE(index.takeDamage(b.view).full);
}

// A block started on the base layer and ended on the layer above repeats that layer's objects;
// the index does not follow blocks across layers, so moving such an object owes every pass.
TEST(PageIndex, ABlockAcrossLayersOwesEveryPass) {
  IndexBench b;
  DesignBuilder d;
  d.layer(2, "upper");
  d.on(1).repeat("i", true, 20, 2).on(2).figure(ObjectKind::Line, 10, 10, 30, 10).end("i", true);
  std::vector<double> drawnAt;
  WalkObjects(d.design, 1, 3,
              [&](const WorkingRect& r, const ObjectRecord&) { drawnAt.push_back(r.y1); });
  ASSERT_EQ(drawnAt, (std::vector<double>{10, 30, 50}));
  PageIndex index(d.design, b.measurers.text, b.pictures);
  index.takeDamage(b.view);
  d.design.objects.setCell(2, kColX1, "100");
  d.design.objects.setCell(2, kColX2, "120");
  const PageIndex::Damage damage = index.takeDamage(b.view);
  for (double y : drawnAt) {
    EXPECT_TRUE(b.owes(damage, {10, y - 1, 30, y + 1})) << "old pass at " << y;
    EXPECT_TRUE(b.owes(damage, {100, y - 1, 120, y + 1})) << "new pass at " << y;
  }
}

// Edges are part of a rectangle: one touching another's edge or corner meets it, a hair beyond
// does not; a point is a rectangle, a reversed one is empty and meets nothing.
TEST(PageRect, EdgesIncludedOnEverySide) {
  const PageRect r{10, 20, 30, 40};
  const std::pair<PageRect, PageRect> touchingAndApart[] = {
      {{30, 25, 35, 35}, {30.001, 25, 35, 35}},
      {{5, 25, 10, 35}, {5, 25, 9.999, 35}},
      {{15, 40, 25, 45}, {15, 40.001, 25, 45}},
      {{15, 15, 25, 20}, {15, 15, 25, 19.999}},
      {{30, 40, 30, 40}, {30.001, 40, 30.001, 40}}};
  for (const auto& [touching, apart] : touchingAndApart) {
    EXPECT_TRUE(r.intersects(touching) && touching.intersects(r)) << touching.left;
    EXPECT_FALSE(r.intersects(apart) || apart.intersects(r)) << apart.left;
  }
  EXPECT_FALSE((PageRect{5, 5, 5, 5}).empty());
  for (const PageRect& empty : {PageRect{20, 30, 19.999, 30}, PageRect{20, 30, 20, 29.999}}) {
    EXPECT_TRUE(empty.empty());
    EXPECT_FALSE(empty.intersects(PageRect{0, 0, 100, 100}));
  }
}

// An ellipse's half axes: a ring's aspect flattens it below 1 and narrows it above; none, or
// less than none, is a circle.
TEST(EllipseHalfAxes, OnEachSideOfZeroAndOne) {
  const std::pair<double, std::pair<double, double>> cases[] = {
      {-0.5, {10, 10}}, {0, {10, 10}},   {0.001, {10, 0.01}}, {0.5, {10, 5}},
      {1, {10, 10}},    {1.25, {8, 10}}, {2, {5, 10}}};
  for (const auto& [aspect, axes] : cases) {
    const HalfAxes h = EllipseHalfAxes(10, aspect);
    EXPECT_DOUBLE_EQ(h.x, axes.first) << aspect;
    EXPECT_DOUBLE_EQ(h.y, axes.second) << aspect;
  }
}

}  // namespace
}  // namespace qf
