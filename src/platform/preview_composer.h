#pragma once

#include <QImage>
#include <memory>
#include <string>

#include "platform/printer_surface.h"

namespace qf {

// The preview's output: each page composed as an image at the preview's resolution and put into
// the preview's image when the next page begins or the document ends, so the last page stays.
class PreviewComposer {
 public:
  PreviewComposer(QImage& target, int dpi) : target_(target), dpi_(dpi) {}

  // A new page over the printable area (points) of `scaleWidth` x `scaleHeight` page units;
  // nullptr when no image that large can be made.
  Surface* beginPage(const QRectF& printable, double scaleWidth, double scaleHeight);
  bool endDoc(std::string* error);

 private:
  void flush();

  QImage& target_;
  const int dpi_;
  QRectF printable_;
  QImage image_;     // kept from page to page: only the last page's ink is cleared
  QRect lastInked_;  // what the previous page drew on image_
  std::unique_ptr<PrinterSurface> surface_;
};

}  // namespace qf
