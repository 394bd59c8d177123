#include "vector_surface.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "platform/pdf_page_surface.h"
#include "platform/picture_store.h"
#include "platform/qt_fonts.h"
#include "platform/raster_surface.h"

namespace qf {

VectorSurface::VectorSurface(QPainter& painter, double pointsWide, double pointsHigh,
                             double scaleWidth, double scaleHeight, int dpi, InkBlend blend)
    : painter_(painter),
      sx_(scaleWidth > 0 ? pointsWide / scaleWidth : 1),
      sy_(scaleHeight > 0 ? pointsHigh / scaleHeight : 1),
      pointsPerDot_(72.0 / std::max(1, dpi)),
      size_(pointsWide, pointsHigh),
      blend_(blend) {
  painter_.setRenderHint(QPainter::Antialiasing, true);
}

void VectorSurface::setFont(const FontSpec& f) {
  font_ = MakeDesignFont(f.name, f.pointSize, f.bold, f.italic, f.strikethrough, f.underline);
  // A vector file names the text's own font first (an SVG lists the stand-ins after it); the
  // faces drawn are the same.
  const QString name = QString::fromStdString(f.name);
  if (font_.families().value(0) != name) font_.setFamilies(QStringList{name} + font_.families());
}

void VectorSurface::useInk(int32_t color, bool filledToo) {
  // Black is black under either rule: a plain element, as in a PDF.
  const auto mixes = [](int32_t c) { return (c & 0xFFFFFF) != 0; };
  const bool blended =
      blend_ == InkBlend::MarkMultiply && mode_ == DrawMode::MaskPen &&
      (mixes(color) || (filledToo && fillStyle_ == FillStyle::Solid && mixes(fillColor_)));
  painter_.setOpacity(blended ? kMultiplyMarkOpacity : 1.0);
}

QPen VectorSurface::pen(int32_t color) const {
  QPen p(ToQColor(color));
  p.setWidthF(std::max(1, width_) * pointsPerDot_);
  // Dashes are for thin pens only, as on the printer.
  static constexpr Qt::PenStyle kStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                             Qt::DashDotLine, Qt::DashDotDotLine};
  if (width_ <= 1 && style_ > 0 && style_ < 5) p.setStyle(kStyles[style_]);
  p.setCapStyle(width_ > 1 ? Qt::RoundCap : Qt::FlatCap);
  return p;
}

void VectorSurface::line(double x1, double y1, double x2, double y2, int32_t color) {
  useInk(color);
  painter_.setPen(pen(color));
  painter_.drawLine(toPoints(x1, y1), toPoints(x2, y2));
}

void VectorSurface::box(double x1, double y1, double x2, double y2, int32_t color, bool filled) {
  const QRectF r = QRectF(toPoints(x1, y1), toPoints(x2, y2)).normalized();
  useInk(color, !filled);
  if (filled) {
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ToQColor(color));
  } else {
    painter_.setPen(pen(color));
    painter_.setBrush(fillStyle_ == FillStyle::Solid ? QBrush(ToQColor(fillColor_)) : QBrush());
  }
  painter_.drawRect(r);
  painter_.setBrush(QBrush());
}

void VectorSurface::circle(double cx, double cy, double radius, int32_t color, double aspect,
                           std::optional<double> start, std::optional<double> end) {
  const auto [rx, ry] = EllipseHalfAxes(radius, aspect);
  const QPointF c = toPoints(cx, cy);
  const QRectF r(c.x() - std::abs(rx * sx_), c.y() - std::abs(ry * sy_), 2 * std::abs(rx * sx_),
                 2 * std::abs(ry * sy_));
  useInk(color, !(start && end));
  painter_.setPen(pen(color));
  if (start && end) {
    // Counter-clockwise from +x, in sixteenths of a degree.
    constexpr double kSixteenths = 180.0 * 16 / 3.14159265358979323846;
    double span = *end - *start;
    while (span < 0) span += 2 * 3.14159265358979323846;
    painter_.setBrush(QBrush());
    painter_.drawArc(r, static_cast<int>(std::lround(*start * kSixteenths)),
                     static_cast<int>(std::lround(span * kSixteenths)));
    return;
  }
  painter_.setBrush(fillStyle_ == FillStyle::Solid ? QBrush(ToQColor(fillColor_)) : QBrush());
  painter_.drawEllipse(r);
  painter_.setBrush(QBrush());
}

void VectorSurface::paintPicture(const Picture& picture, double x, double y, double width,
                                 double height, RasterOp op) {
  const auto* pic = dynamic_cast<const QtPicture*>(&picture);
  if (!pic || width <= 0 || height <= 0) return;
  const QRectF target(toPoints(x, y), QSizeF(width * sx_, height * sy_));
  // An inverting operation has nothing to invert on paper but white: black where it covers.
  if (op == RasterOp::DstInvert) {
    painter_.setOpacity(1.0);
    painter_.fillRect(target, Qt::black);
    return;
  }
  // A picture ANDed onto the page is ink too.
  const bool blended = blend_ == InkBlend::MarkMultiply && op == RasterOp::SrcAnd;
  painter_.setOpacity(blended ? kMultiplyMarkOpacity : 1.0);
  painter_.drawImage(target, pic->image());
}

void VectorSurface::print(std::string_view text) {
  texts_.push_back({toPoints(currentX_, currentY_), font_, ToQColor(foreColor_),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))});
}

void VectorSurface::finish() {
  painter_.setOpacity(1.0);
  for (const Text& t : texts_) {
    painter_.setFont(t.font);
    painter_.setPen(t.color);
    DrawTextLines(painter_, painter_.device(), t.at, t.text);
  }
  texts_.clear();
}

void VectorSurface::clear() {
  painter_.setOpacity(1.0);
  painter_.fillRect(QRectF(QPointF(0, 0), size_), Qt::white);
}

double VectorSurface::textWidth(std::string_view text) {
  const QFontMetricsF fm(font_, painter_.device());
  return fm.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))) /
         sx_;
}

int MarkSvgMultiply(QByteArray& svg) {
  // The writer gives each group of drawing state its fill and stroke opacities: a group that
  // carries the mark becomes opaque and blends by multiplying.
  const QByteArray mark = "opacity=\"" + QByteArray::number(kMultiplyMarkOpacity, 'g', 6) + '"';
  int changed = 0;
  for (qsizetype at = svg.indexOf("<g "); at >= 0; at = svg.indexOf("<g ", at + 1)) {
    const qsizetype end = svg.indexOf('>', at);
    if (end < 0) break;
    QByteArray tag = svg.mid(at, end - at);
    if (!tag.contains(mark)) continue;
    tag.replace(mark, "opacity=\"1\"");
    tag += " style=\"mix-blend-mode:multiply\"";
    svg.replace(at, end - at, tag);
    ++changed;
  }
  return changed;
}

}  // namespace qf
