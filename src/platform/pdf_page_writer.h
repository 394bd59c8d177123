#pragma once

#include <QPainter>
#include <QPrinter>
#include <memory>
#include <string>

#include "platform/pdf_page_surface.h"
#include "platform/pdf_text.h"
#include "view/page_recording.h"
#include "view/surface.h"

namespace qf {

// The printed pages of one document on a PDF device: each page is recorded, then drawn as
// vector graphics (or composed where only composing gives its colours) when the next page
// begins or the document ends; a document that drew blended ink has its marks rewritten to the
// multiply blend when it ends.
class PdfPageWriter {
 public:
  explicit PdfPageWriter(QPrinter& device) : device_(device) {}

  // A page over the printable area (points) of `scaleWidth` x `scaleHeight` page units, measured
  // at `dpi`; nullptr when the page before could not be drawn (error() says why).
  Surface* beginPage(const QRectF& printable, double scaleWidth, double scaleHeight, int dpi);
  bool hasPage() const { return recording_ != nullptr; }
  // Draws the last page and ends the file.
  bool finish(std::string* error);
  // Drops the document: nothing more reaches the device.
  void abort();
  const std::string& error() const { return error_; }

 private:
  bool drawRecordedPage();

  QPrinter& device_;
  // The fonts the texts are drawn from, for as long as the document is open (so declared before
  // the painter, which ends the document).
  PdfTextMapping textMapping_;
  QPainter painter_;  // on the device, from the first page to the end of the document
  std::string error_;
  std::unique_ptr<PageRecording> recording_;
  QSize recordedPixels_;  // the recorded page's size in composed pixels
  QSizeF recordedScale_;  // ... and in page units
  int dpi_ = 0;
  TextWidths textWidths_;
  bool blended_ = false;  // a page drew blended ink
};

}  // namespace qf
