#include "pdf_page_writer.h"

#include <utility>

#include "platform/printer_surface.h"

namespace qf {

Surface* PdfPageWriter::beginPage(const QRectF& printable, double scaleWidth, double scaleHeight,
                                  int dpi) {
  if (recording_ && !drawRecordedPage()) return nullptr;
  dpi_ = dpi;
  recordedPixels_ = PixelsAt(printable, dpi);
  recordedScale_ = QSizeF(scaleWidth, scaleHeight);
  const double unitsX = scaleWidth / recordedPixels_.width();
  const double unitsY = scaleHeight / recordedPixels_.height();
  recording_ = std::make_unique<PageRecording>(
      unitsX, unitsY, [this, unitsX](const FontSpec& font, std::string_view text) {
        return textWidths_.pixels(font, text) * unitsX;
      });
  textWidths_.setDpi(dpi);
  return recording_.get();
}

bool PdfPageWriter::drawRecordedPage() {
  const std::unique_ptr<PageRecording> recording = std::move(recording_);
  if (!painter_.isActive()) {
    if (!painter_.begin(&device_)) {
      error_ = "プリンターを開けません";
      return false;
    }
  } else if (!device_.newPage()) {
    error_ = "プリンターが次のページを始められません";
    return false;
  }
  const double dots = static_cast<double>(device_.resolution()) / dpi_;
  if (!recording->needsComposing()) {
    PdfPageSurface page(painter_, recordedPixels_, recordedScale_.width(), recordedScale_.height(),
                        dots, textWidths_, &textMapping_);
    recording->replay(page);
    page.finish();
    blended_ = blended_ || page.blended();
    return true;
  }
  // Mid-tones overlap: only the composed image has the printer's colours there.
  QImage image(recordedPixels_, QImage::Format_RGB32);
  if (image.isNull()) {
    error_ = "ページを組み立てるメモリがありません";
    return false;
  }
  image.fill(Qt::white);
  SetImageDpi(image, dpi_);
  std::vector<PrinterSurface::Text> texts;
  QRect inked;
  {
    PrinterSurface surface(image, recordedScale_.width(), recordedScale_.height());
    recording->replay(surface);
    texts = surface.texts();
    inked = surface.inked();
  }
  painter_.save();
  painter_.resetTransform();
  painter_.setClipping(false);
  PaintComposedPage(painter_, &device_, QRectF(QPointF(0, 0), QSizeF(image.size()) * dots), image,
                    inked, texts, &textMapping_);
  painter_.restore();
  return true;
}

bool PdfPageWriter::finish(std::string* error) {
  if (!drawRecordedPage()) {
    if (error) *error = error_;
    abort();
    return false;
  }
  if (!painter_.end()) {
    if (error) *error = "ページを仕上げられません";
    return false;
  }
  // Only a document that drew blended ink has marks to rewrite.
  return !std::exchange(blended_, false) ||
         MarkMultiplyBlend(device_.outputFileName().toStdString(), error);
}

void PdfPageWriter::abort() {
  recording_.reset();
  if (painter_.isActive()) {
    device_.abort();
    painter_.end();
  }
}

}  // namespace qf
