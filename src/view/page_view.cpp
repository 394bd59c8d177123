#include "page_view.h"

#include <algorithm>
#include <cmath>

#include "document/number_text.h"

namespace qf {

namespace {

// More lines than this in one direction are denser than any screen or printer shows.
constexpr long kMaxGridLines = 20000;
// The design window's image stays below this many pixels at any zoom.
constexpr double kMaxPixels = 48e6;

}  // namespace

void ApplyPrinterSetup(PrinterPort& printer, const PageSettings& page) {
  printer.setPaperSize(page.paperSize);
  printer.setOrientation(page.orientation);
  printer.setScaleMode(page.scaleMode);
}

void ReadPrinterPage(const PrinterPort& printer, PageSettings& page, ViewState& view) {
  view.page = printer.page();
  page.scaleMode = view.page.scaleMode;
  page.orientation = view.page.orientation;
  page.paperSize = view.page.paperSize;
}

int ClampZoom(int zoom, const PrinterPage& page) {
  int maxZoom = kMaxZoom;
  const double pixelsAt100 =
      (page.widthTwips / kTwipsPerPixel) * (page.heightTwips / kTwipsPerPixel);
  if (pixelsAt100 > 0) {
    maxZoom = std::min(maxZoom, static_cast<int>(100 * std::sqrt(kMaxPixels / pixelsAt100)));
  }
  return std::clamp(zoom, kMinZoom, std::max(kMinZoom, maxZoom));
}

int FitZoom(const PrinterPage& page, int width, int height, bool widthOnly) {
  constexpr int kLargestFit = 300;
  const double w = page.widthTwips / kTwipsPerPixel;
  const double h = page.heightTwips / kTwipsPerPixel;
  if (!(w > 0) || !(h > 0)) return ClampZoom(100, page);
  double fit = 100.0 * width / w;
  if (!widthOnly) fit = std::min(fit, 100.0 * height / h);
  // A whole percent no larger than the fit: the page's pixels, rounded, stay within the area.
  const int zoom = std::clamp(static_cast<int>(std::floor(fit)), kMinZoom, kLargestFit);
  return ClampZoom(zoom, page);
}

void ApplyPageLayout(ViewState& view) {
  view.zoom = ClampZoom(view.zoom, view.page);
  const double factor = view.zoom / 100.0;
  view.widthPx =
      std::max(1, static_cast<int>(std::lround(factor * view.page.widthTwips / kTwipsPerPixel)));
  view.heightPx =
      std::max(1, static_cast<int>(std::lround(factor * view.page.heightTwips / kTwipsPerPixel)));
  // The mark label is 135 twips wide on screen, whatever the zoom.
  view.markSize = kMarkTwips / kTwipsPerPixel * view.page.scaleWidth / view.widthPx;
}

void ClearAndDrawGrid(Surface& s, const Design& d, const ViewState& view) {
  s.setDrawMode(DrawMode::NotXorPen);
  s.setDrawStyle(static_cast<int>(DrawStyle::Solid));
  s.setDrawWidth(1);
  s.clear();
  if (d.grid.shown != 0) {
    const double left = d.page.marginLeft;
    const double top = d.page.marginTop;
    const double right = view.page.scaleWidth - d.page.marginRight;
    const double bottom = view.page.scaleHeight - d.page.marginBottom;
    const double gw = d.grid.width;
    const double gh = d.grid.height;
    constexpr int32_t kGrey = Rgb(192, 192, 192);
    // A step that would never reach the end (zero, negative, or finer than any device shows)
    // draws no lines. Steps are counted, not summed, so the end is met when a step lands on it.
    auto lines = [](double from, double to, double step) -> long {
      if (!(step > 0) || !(to >= from)) return 0;
      const double n = std::floor((to - from) / step + 1e-9) + 1;
      return n > kMaxGridLines ? 0 : static_cast<long>(n);
    };
    const long nx = lines(left, right, gw);
    for (long i = 0; i < nx; ++i) {
      const double x = left + static_cast<double>(i) * gw;
      s.line(x, top, x, bottom, kGrey);
    }
    const long ny = lines(top, bottom, gh);
    for (long i = 0; i < ny; ++i) {
      const double y = top + static_cast<double>(i) * gh;
      s.line(left, y, right, y, kGrey);
    }
  }
  s.setDrawMode(DrawMode::CopyPen);
}

std::string PositionText(double x, double y) {
  return FormatFixed3(x) + ", " + FormatFixed3(y);
}

// "####0.000" and "###0.000" differ only in the digits they reserve, not in what they write.
std::string DragSizeText(double dx, double dy) {
  return FormatFixed3(dx) + " x " + FormatFixed3(dy);
}

}  // namespace qf
