#include "startup_page.h"

#include <QFontDatabase>
#include <filesystem>

#include "platform/raster_surface.h"
#include "view/renderer.h"

namespace qf {

std::unique_ptr<StartupPage> MakeStartupPage(const std::string& file, int zoom) {
  // The font list is shared by every thread: filling it here spares the main thread, whose
  // first menu and label texts need it too.
  QFontDatabase::families();
  auto p = std::make_unique<StartupPage>();
  // A relative name is made whole, so that its recent-file entry opens from any folder later.
  std::error_code ec;
  p->file = file.empty() ? file : std::filesystem::absolute(file, ec).lexically_normal().string();
  if (ec) p->file = file;
  p->printer = QtPrinterPort::ForDefault();
  // A new design starts on the printer's own page, in millimetres.
  p->printer->setScaleMode(static_cast<int16_t>(ScaleMode::Millimetre));
  ReadPrinterPage(*p->printer, p->design.page, p->view);
  if (!file.empty()) {
    const QtPictureSizer pictureSizer;
    p->status = LoadDesign(p->file, p->design, p->session, {p->textMeasurer, pictureSizer});
    p->loaded = p->status.ok();
  }
  if (p->loaded) {
    // The design's paper goes to the printer, and what the printer makes of it comes back.
    ApplyPrinterSetup(*p->printer, p->design.page);
    ReadPrinterPage(*p->printer, p->design.page, p->view);
  }
  p->view.zoom = zoom;
  ApplyPageLayout(p->view);
  p->image = PageImage(p->view);
  {
    RasterSurface surface(p->image, p->view.page.scaleWidth, p->view.page.scaleHeight);
    if (p->loaded) {
      RenderContext rc{surface, p->design, p->view, p->pictures, false};
      FullRedraw(rc);
    } else {
      ClearAndDrawGrid(surface, p->design, p->view);
    }
  }
  return p;
}

StartupLoader::StartupLoader(std::string file, int zoom)
    : result_(std::async(std::launch::async,
                         [file = std::move(file), zoom] { return MakeStartupPage(file, zoom); })) {}

}  // namespace qf
