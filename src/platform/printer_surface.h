#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <vector>

#include "platform/pdf_text.h"
#include "platform/raster_surface.h"

namespace qf {

// A printed page: lines, boxes, rings and pictures are composed with their raster operations in
// an image at the printer's resolution (QPainter on a printer knows no raster operations); texts
// are kept and drawn as vector text over that image when the page ends.
class PrinterSurface final : public RasterSurface {
 public:
  PrinterSurface(QImage& image, double scaleWidth, double scaleHeight);

  struct Text {
    QPointF topLeft;  // image pixels
    QFont font;
    QColor color;
    QString text;
  };
  const std::vector<Text>& texts() const { return texts_; }

  // The pixels anything was drawn on since the page was cleared (a bound, never too small): only
  // they go to the printer, the rest is white paper.
  const QRect& inked() const { return inked_; }

  void line(double x1, double y1, double x2, double y2, int32_t color) override;
  void box(double x1, double y1, double x2, double y2, int32_t color, bool filled) override;
  void fillArea(double x1, double y1, double x2, double y2, int32_t color) override;
  void circle(double cx, double cy, double radius, int32_t color, double aspect,
              std::optional<double> start, std::optional<double> end) override;
  void paintPicture(const Picture& picture, double x, double y, double width, double height,
                    RasterOp op) override;
  void clear() override;

 protected:
  void drawText(const QPointF& topLeft, const QFont& font, const QColor& color,
                const QString& text) override;

 private:
  // Adds the pixels of page points a..b, grown by the pen and a pixel of rounding.
  void ink(double x1, double y1, double x2, double y2);

  std::vector<Text> texts_;
  QRect inked_;
};

// Draws the inked part of a composed page and its texts over `target` of `device` (the rest of
// the page is white paper).
void PaintComposedPage(QPainter& painter, QPaintDevice* device, const QRectF& target,
                       const QImage& image, const QRect& inked,
                       const std::vector<PrinterSurface::Text>& texts,
                       PdfTextMapping* mapping = nullptr);

// An area of points in whole pixels at a resolution, at least one each way.
QSize PixelsAt(const QRectF& points, int dpi);

// Pages are composed at this resolution at most: 600 dpi keeps hairlines fine on paper while an
// A4 page stays near 140 MB.
inline constexpr int kMaxComposeDpi = 600;

}  // namespace qf
