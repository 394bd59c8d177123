#include "printer_surface.h"

#include <algorithm>
#include <cmath>

namespace qf {

PrinterSurface::PrinterSurface(QImage& image, double scaleWidth, double scaleHeight)
    : RasterSurface(image, scaleWidth, scaleHeight) {}

void PrinterSurface::drawText(const QPointF& topLeft, const QFont& font, const QColor& color,
                              const QString& text) {
  QFont vector = font;
  vector.setStyleStrategy(QFont::PreferDefault);
  texts_.push_back({topLeft, vector, color, text});
}

QSize PixelsAt(const QRectF& points, int dpi) {
  return {std::max(1, static_cast<int>(std::lround(points.width() / 72.0 * dpi))),
          std::max(1, static_cast<int>(std::lround(points.height() / 72.0 * dpi)))};
}

void PrinterSurface::ink(double x1, double y1, double x2, double y2) {
  const QPointF a = toPixels(x1, y1);
  const QPointF b = toPixels(x2, y2);
  const double pad = std::max(1, drawWidth()) + 2.0;
  const QRectF r = QRectF(a, b).normalized().adjusted(-pad, -pad, pad, pad);
  const QRect area = QRect(QPoint(static_cast<int>(std::floor(std::max(r.left(), -1.0))),
                                  static_cast<int>(std::floor(std::max(r.top(), -1.0)))),
                           QPoint(static_cast<int>(std::ceil(std::min(r.right(), 1e8))),
                                  static_cast<int>(std::ceil(std::min(r.bottom(), 1e8))))) &
                     image().rect();
  inked_ = inked_.united(area);
}

void PrinterSurface::line(double x1, double y1, double x2, double y2, int32_t color) {
  ink(x1, y1, x2, y2);
  RasterSurface::line(x1, y1, x2, y2, color);
}

void PrinterSurface::box(double x1, double y1, double x2, double y2, int32_t color, bool filled) {
  ink(x1, y1, x2, y2);
  RasterSurface::box(x1, y1, x2, y2, color, filled);
}

void PrinterSurface::fillArea(double x1, double y1, double x2, double y2, int32_t color) {
  ink(x1, y1, x2, y2);
  RasterSurface::fillArea(x1, y1, x2, y2, color);
}

void PrinterSurface::circle(double cx, double cy, double radius, int32_t color, double aspect,
                            std::optional<double> start, std::optional<double> end) {
  // The radius is the longer half-axis whatever the aspect.
  ink(cx - std::abs(radius), cy - std::abs(radius), cx + std::abs(radius), cy + std::abs(radius));
  RasterSurface::circle(cx, cy, radius, color, aspect, start, end);
}

void PrinterSurface::paintPicture(const Picture& picture, double x, double y, double width,
                                  double height, RasterOp op) {
  ink(x, y, x + width, y + height);
  RasterSurface::paintPicture(picture, x, y, width, height, op);
}

void PrinterSurface::clear() {
  RasterSurface::clear();
  inked_ = QRect();
}

void PaintComposedPage(QPainter& painter, QPaintDevice* device, const QRectF& target,
                       const QImage& image, const QRect& inked,
                       const std::vector<PrinterSurface::Text>& texts, PdfTextMapping* mapping) {
  painter.setRenderHint(QPainter::LosslessImageRendering, true);
  const double scale = target.width() / image.width();
  // Only the inked part: the rest of the page is white paper.
  if (!inked.isEmpty()) {
    const QRectF part(target.topLeft() + QPointF(inked.topLeft()) * scale,
                      QSizeF(inked.size()) * scale);
    painter.drawImage(part, image, QRectF(inked));
  }
  for (const PrinterSurface::Text& t : texts) {
    painter.setFont(t.font);
    painter.setPen(t.color);
    DrawTextLines(painter, device, t.topLeft * scale, t.text, mapping);
  }
}

}  // namespace qf
