#include "startup_page.h"

#include <QFontDatabase>
#include <filesystem>

#include "platform/raster_surface.h"
#include "view/renderer.h"

namespace qf {

namespace {

// A design is read onto a starting page, and a page field the file leaves out keeps that
// page's value. The file was read onto `assumed` while the printer was being asked; it has to
// be read again when the printer's page differs in a field that may have been left out (one
// that still reads as assumed).
bool MayHaveKeptAssumedPage(const PageSettings& read, const PageSettings& assumed,
                            const PageSettings& printer) {
  const auto kept = [&](int16_t PageSettings::*field) {
    return printer.*field != assumed.*field && read.*field == assumed.*field;
  };
  return kept(&PageSettings::paperSize) || kept(&PageSettings::orientation) ||
         kept(&PageSettings::scaleMode);
}

// The page's part within `size` pixels from its top left corner, and what lies beyond it (two
// strips, each reaching a pixel back into the part so that no seam is left). Nothing when the
// part is the whole page.
std::optional<PageRect> ShownPart(const ViewState& view, QSize size, std::vector<PageRect>& rest) {
  if (size.isEmpty() || (size.width() >= view.widthPx && size.height() >= view.heightPx)) {
    return std::nullopt;
  }
  const auto [ux, uy] = UnitsPerPixel(view);
  const double width = view.page.scaleWidth;
  const double height = view.page.scaleHeight;
  if (!(width > 0) || !(height > 0)) return std::nullopt;
  const PageRect shown =
      TopLeftPixels(view, size.width(), size.height()).intersected({0, 0, width, height});
  if (shown.right < width) rest.push_back({shown.right - ux, 0, width, shown.bottom});
  if (shown.bottom < height) rest.push_back({0, shown.bottom - uy, width, height});
  return shown;
}

}  // namespace

std::unique_ptr<StartupPage> MakeStartupPage(const std::string& file, int zoom,
                                             const PrinterMaker& makePrinter, QSize shownAtMost) {
  // Asking a CUPS queue takes tens of milliseconds: the printer is asked on a thread of its
  // own while the fonts are prepared and the design is read.
  auto asked = std::async(std::launch::async, [&makePrinter] {
    std::unique_ptr<QtPrinterPort> port = makePrinter();
    // A new design starts on the printer's own page, in millimetres.
    port->setScaleMode(static_cast<int16_t>(ScaleMode::Millimetre));
    return port;
  });
  // The font list is shared by every thread: filling it here spares the main thread, whose
  // first menu and label texts need it too.
  QFontDatabase::families();
  auto p = std::make_unique<StartupPage>();
  // A relative name is made whole, so that its recent-file entry opens from any folder later.
  std::error_code ec;
  p->file = file.empty() ? file : std::filesystem::absolute(file, ec).lexically_normal().string();
  if (ec) p->file = file;
  const QtPictureSizer pictureSizer;
  const Measurers measurers{p->textMeasurer, pictureSizer};
  const PageSettings assumed = p->design.page;
  if (!file.empty()) {
    p->status = LoadDesign(p->file, p->design, measurers, &p->decided);
  }
  p->printer = asked.get();
  PageSettings printerPage = assumed;
  ReadPrinterPage(*p->printer, printerPage, p->view);
  if (!p->loaded()) {
    p->design.page = printerPage;
  } else if (MayHaveKeptAssumedPage(p->design.page, assumed, printerPage)) {
    // Read again onto the printer's page, as the file is read when the page is known first.
    Design again;
    again.page = printerPage;
    LoadDecisions decided;
    p->status = LoadDesign(p->file, again, measurers, &decided);
    p->design = std::move(again);
    p->decided = std::move(decided);
  }
  if (p->loaded()) {
    // The design's paper goes to the printer, and what the printer makes of it comes back.
    ApplyPrinterSetup(*p->printer, p->design.page);
    ReadPrinterPage(*p->printer, p->design.page, p->view);
  }
  p->view.zoom = zoom;
  ApplyPageLayout(p->view);
  p->image = PageImage(p->view);
  {
    RasterSurface surface(p->image, p->view.page.scaleWidth, p->view.page.scaleHeight);
    if (p->loaded()) {
      // A large page is drawn where the window can show it first; the rest follows once the
      // window is up.
      const std::optional<PageRect> shown = ShownPart(p->view, shownAtMost, p->owed);
      RenderContext rc{surface, p->design, p->view, p->pictures, false};
      surface.setClip(shown);
      FullRedraw(rc);
      surface.setClip(std::nullopt);
    } else {
      ClearAndDrawGrid(surface, p->design, p->view);
    }
  }
  return p;
}

StartupLoader::StartupLoader(std::string file, int zoom, QSize shownAtMost)
    : result_(std::async(std::launch::async, [file = std::move(file), zoom, shownAtMost] {
        return MakeStartupPage(file, zoom, QtPrinterPort::ForDefault, shownAtMost);
      })) {}

}  // namespace qf
