#pragma once

#include <cmath>
#include <utility>

#include <cstdint>
#include <string>

#include "document/design.h"
#include "surface.h"

namespace qf {

// The page as the printer reports it.
struct PrinterPage {
  int16_t scaleMode = static_cast<int16_t>(ScaleMode::Millimetre);
  int16_t orientation = 1;
  int16_t paperSize = 9;
  double widthTwips = 11906;  // physical page (A4)
  double heightTwips = 16838;
  double scaleWidth = 210;  // printable area in page units
  double scaleHeight = 297;
};

// The Printer object: its page settings, and one page to draw on.
class PrinterPort {
 public:
  virtual ~PrinterPort() = default;
  virtual void setPaperSize(int16_t code) = 0;
  virtual void setOrientation(int16_t orientation) = 0;
  virtual void setScaleMode(int16_t mode) = 0;
  virtual PrinterPage page() const = 0;
  // The surface of the page being printed; nullptr when printing cannot start.
  virtual Surface* beginPage() = 0;
  // Ends the document; false with a reason when it could not be printed.
  virtual bool endDoc(std::string* error) = 0;
  // KillDoc: the last `pages` pages begun belong to a job the program dropped. A port that
  // cannot take pages back leaves them; one that counts pages notes them.
  virtual void dropJob(int /*pages*/) {}
  // How many copies the printer makes of the document (Printer.Copies).
  virtual void setCopies(int /*copies*/) {}
  // The printer's name, as Printer.DeviceName gives it; empty for a port with none.
  virtual std::string deviceName() const { return {}; }
};

// Module state of the design window: the printer's page, the zoom, the selection-mark size.
struct ViewState {
  PrinterPage page;
  int zoom = 100;
  double markSize = 0;  // page units
  int widthPx = 0;      // drawing area at the zoom, 15 twips a pixel
  int heightPx = 0;
};

// Page units a pixel of the drawing area spans across and down; 0 before the area is laid out.
inline std::pair<double, double> UnitsPerPixel(const ViewState& view) {
  return {view.widthPx > 0 ? std::fabs(view.page.scaleWidth / view.widthPx) : 0,
          view.heightPx > 0 ? std::fabs(view.page.scaleHeight / view.heightPx) : 0};
}

// The page's part within `width` x `height` pixels of its top left corner, in page units (not
// held to the page).
inline PageRect TopLeftPixels(const ViewState& view, int width, int height) {
  const auto [ux, uy] = UnitsPerPixel(view);
  return {0, 0, width * ux, height * uy};
}

inline constexpr int kMinZoom = 10;
inline constexpr int kMaxZoom = 1000;
inline constexpr double kTwipsPerPixel = 15;
inline constexpr double kMarkTwips = 135;

// The zoom at which the page fits an area of width x height pixels, or its width alone when
// `widthOnly`: the largest whole percent that fits, within the zooms the page allows and at
// most 300 (the zoom box's largest without "%").
int FitZoom(const PrinterPage& page, int width, int height, bool widthOnly);

// Writes paper size, orientation and scale mode to the printer, in this order.
void ApplyPrinterSetup(PrinterPort& printer, const PageSettings& page);
// Reads them back with the page dimensions; the values read back replace the settings.
void ReadPrinterPage(const PrinterPort& printer, PageSettings& page, ViewState& view);
// A zoom the window can show: at least 10 %, and small enough that the page stays a sensible
// number of pixels.
int ClampZoom(int zoom, const PrinterPage& page);
// Sizes the drawing area for the zoom and measures the mark size in page units.
void ApplyPageLayout(ViewState& view);

// Clears the surface and draws the grid inside the margins in not-xor light grey.
void ClearAndDrawGrid(Surface& surface, const Design& design, const ViewState& view);

// The pointer position and drag size read-outs.
std::string PositionText(double x, double y);
std::string DragSizeText(double dx, double dy);

}  // namespace qf
