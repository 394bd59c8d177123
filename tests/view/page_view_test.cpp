#include "view/page_view.h"

#include <gtest/gtest.h>

#include "support/recording_port.h"

namespace qf {
namespace {

TEST(PageView, PrinterSetupIsWrittenInOrderAndReadBack) {
  test::RecordingPort printer;
  printer.keepsItsPage = true;
  PageSettings page;
  page.paperSize = 256;
  page.orientation = 2;
  page.scaleMode = 5;
  ApplyPrinterSetup(printer, page);
  EXPECT_EQ(printer.log, "paper 256;orient 2;scale 5;");
  // The printer keeps A4 portrait in millimetres: what it says replaces the settings.
  ViewState view;
  ReadPrinterPage(printer, page, view);
  EXPECT_EQ(page.paperSize, 9);
  EXPECT_EQ(page.orientation, 1);
  EXPECT_EQ(page.scaleMode, 6);
  EXPECT_DOUBLE_EQ(view.page.scaleWidth, 210);
}

TEST(PageView, LayoutAtAZoomAndClampedZooms) {
  ViewState view;  // A4 portrait, 11906 x 16838 twips
  view.zoom = 50;
  ApplyPageLayout(view);
  EXPECT_EQ(view.widthPx, 397);  // half of 794
  EXPECT_EQ(view.heightPx, 561);
  // Marks stay 9 pixels whatever the zoom: at 50 % a pixel is 210 / 397 mm.
  EXPECT_NEAR(view.markSize, 9 * 210.0 / 397, 1e-9);

  view.zoom = 0;
  ApplyPageLayout(view);
  EXPECT_EQ(view.zoom, kMinZoom);
  view.zoom = -40;
  ApplyPageLayout(view);
  EXPECT_EQ(view.zoom, kMinZoom);
  view.zoom = 100000;
  ApplyPageLayout(view);
  EXPECT_LE(view.zoom, kMaxZoom);
  EXPECT_LE(static_cast<double>(view.widthPx) * view.heightPx, 48e6 * 1.01);
  EXPECT_EQ(ClampZoom(350, view.page), 350);
}

TEST(PageView, GridLinesInsideTheMarginsIncludingTheEnd) {
  Design d;  // margins 15, 10, 10, 10; grid 5 x 5
  ViewState view;
  test::RecordingSurface s;
  ClearAndDrawGrid(s, d, view);
  ASSERT_GE(s.calls.size(), 5u);
  EXPECT_EQ(s.calls[0], "mode 10");
  EXPECT_EQ(s.calls[3], "clear");
  const auto lines = s.only({"line"});
  // x = 15, 20, ... 200 (= 210 - 10): 38 lines; y = 10 ... 285 (= 297 - 10 is 287, last 285).
  ASSERT_EQ(lines.size(), 38u + 56u);
  EXPECT_EQ(lines[0], "line 15,10-15,287 #C0C0C0");
  EXPECT_EQ(lines[1], "line 20,10-20,287 #C0C0C0");
  EXPECT_EQ(lines[37], "line 200,10-200,287 #C0C0C0");
  EXPECT_EQ(lines[38], "line 15,10-200,10 #C0C0C0");
  EXPECT_EQ(lines.back(), "line 15,285-200,285 #C0C0C0");
  EXPECT_EQ(s.calls.back(), "mode 13");

  // A pitch that lands on the end includes it; 2.5 gives twice the lines across.
  d.grid.width = 2.5f;
  test::RecordingSurface fine;
  ClearAndDrawGrid(fine, d, view);
  EXPECT_EQ(fine.only({"line"}).size(), 75u + 56u);

  // Hidden grid, zero, negative and absurdly fine pitches: only the clear, and no hang.
  for (float pitch : {0.0f, -5.0f, 1e-7f}) {
    d.grid.width = pitch;
    d.grid.height = pitch;
    test::RecordingSurface none;
    ClearAndDrawGrid(none, d, view);
    EXPECT_TRUE(none.only({"line"}).empty()) << pitch;
  }
  d.grid = GridSettings{};
  d.grid.shown = 0;
  test::RecordingSurface hidden;
  ClearAndDrawGrid(hidden, d, view);
  EXPECT_EQ(hidden.only({"line", "clear"}), std::vector<std::string>{"clear"});
}

TEST(PageView, ReadOutTexts) {
  EXPECT_EQ(PositionText(17.4, 0), "17.400, 0.000");
  EXPECT_EQ(DragSizeText(12.3456, 100), "12.346 x 100.000");
}

}  // namespace
}  // namespace qf

namespace qf {
namespace {

// Zoom to fit A4 and A3, portrait and landscape, into an 800 x 600 window: the page, or its
// width alone; never below the smallest zoom or above 300.
TEST(FitZoom, A4AndA3BothWays) {
  PrinterPage a4;  // 11906 x 16838 twips
  PrinterPage a4across = a4;
  std::swap(a4across.widthTwips, a4across.heightTwips);
  PrinterPage a3;
  a3.widthTwips = 16838;
  a3.heightTwips = 23811;
  PrinterPage a3across = a3;
  std::swap(a3across.widthTwips, a3across.heightTwips);
  EXPECT_EQ(FitZoom(a4, 800, 600, false), 53);
  EXPECT_EQ(FitZoom(a4, 800, 600, true), 100);
  EXPECT_EQ(FitZoom(a4across, 800, 600, false), 71);
  EXPECT_EQ(FitZoom(a4across, 800, 600, true), 71);
  EXPECT_EQ(FitZoom(a3, 800, 600, false), 37);
  EXPECT_EQ(FitZoom(a3, 800, 600, true), 71);
  EXPECT_EQ(FitZoom(a3across, 800, 600, false), 50);
  EXPECT_EQ(FitZoom(a3across, 800, 1000, true), 50);
  // The fitted page is whole pixels no larger than the window.
  ViewState v;
  v.page = a3across;
  v.zoom = FitZoom(a3across, 800, 600, false);
  ApplyPageLayout(v);
  EXPECT_LE(v.widthPx, 800);
  EXPECT_LE(v.heightPx, 600);
  EXPECT_EQ(FitZoom(a4, 50, 50, false), kMinZoom);
  EXPECT_EQ(FitZoom(a4, 5000, 5000, true), 300);
  // A page a printer reports with no width or no height fits nothing: 100 %.
  for (const auto& [w, h] : {std::pair{0.0, 16838.0}, {11906.0, 0.0}, {-1.0, 16838.0}}) {
    PrinterPage flat;
    flat.widthTwips = w;
    flat.heightTwips = h;
    EXPECT_EQ(FitZoom(flat, 800, 600, false), 100) << w << " x " << h;
    EXPECT_EQ(FitZoom(flat, 800, 600, true), 100) << w << " x " << h;
  }
}

}  // namespace
}  // namespace qf
