#include "preview_composer.h"

#include <algorithm>

namespace qf {

Surface* PreviewComposer::beginPage(const QRectF& printable, double scaleWidth,
                                    double scaleHeight) {
  // One page at a time: a page already drawn is replaced by the next.
  if (surface_) flush();
  printable_ = printable;
  const int dpi = std::clamp(dpi_, 1, kMaxComposeDpi);
  const QSize pixels = PixelsAt(printable, dpi);
  const bool reuse = image_.size() == pixels && image_.format() == QImage::Format_RGB32;
  if (!reuse) {
    image_ = QImage(pixels, QImage::Format_RGB32);
    if (image_.isNull()) return nullptr;
    image_.fill(Qt::white);
  } else if (!lastInked_.isEmpty()) {
    // Only what the last page drew needs white again.
    QPainter wipe(&image_);
    wipe.fillRect(lastInked_, Qt::white);
  }
  lastInked_ = QRect();
  SetImageDpi(image_, dpi);
  surface_ = std::make_unique<PrinterSurface>(image_, scaleWidth, scaleHeight);
  return surface_.get();
}

void PreviewComposer::flush() {
  const std::vector<PrinterSurface::Text> texts = surface_->texts();
  lastInked_ = surface_->inked();
  surface_.reset();  // ends the painter on the image
  // The printable area at the preview's resolution, as the printer's device pixels would be.
  const int dpi = std::max(1, dpi_);
  target_ = QImage(PixelsAt(printable_, dpi), QImage::Format_RGB32);
  SetImageDpi(target_, dpi);
  target_.fill(Qt::white);
  QPainter painter(&target_);
  PaintComposedPage(painter, &target_, QRectF(QPointF(0, 0), QSizeF(target_.size())), image_,
                    lastInked_, texts);
}

bool PreviewComposer::endDoc(std::string* error) {
  if (!surface_) {
    if (error) *error = "印刷するページがありません";
    return false;
  }
  flush();
  image_ = QImage();
  return true;
}

}  // namespace qf
