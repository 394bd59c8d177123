#include "raster_surface.h"

#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "platform/picture_store.h"
#include "platform/qt_fonts.h"

namespace qf {

QColor ToQColor(int32_t color) {
  const auto v = static_cast<uint32_t>(color);
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                static_cast<int>((v >> 16) & 0xFF));
}

void DrawTextLines(QPainter& painter, QPaintDevice* device, const QPointF& topLeft,
                   const QString& text) {
  const QFontMetricsF fm(painter.font(), device);
  QString normalized = text;
  normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  double y = topLeft.y() + fm.ascent();
  for (const QString& line : normalized.split(QLatin1Char('\n'))) {
    painter.drawText(QPointF(topLeft.x(), y), line);
    y += fm.height();
  }
}

RasterSurface::RasterSurface(QImage& image, double scaleWidth, double scaleHeight)
    : image_(image),
      painter_(&image),
      sx_(scaleWidth > 0 ? image.width() / scaleWidth : 1),
      sy_(scaleHeight > 0 ? image.height() / scaleHeight : 1) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

RasterSurface::~RasterSurface() = default;

void RasterSurface::applyMode() {
  switch (mode_) {
    case DrawMode::NotXorPen:
      painter_.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
      break;
    case DrawMode::MaskPen:
      painter_.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
      break;
    case DrawMode::CopyPen:
    default:
      painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
      break;
  }
}

QPen RasterSurface::makePen(int32_t color) const {
  const int w = std::max(1, width_);
  QPen pen(ToQColor(color));
  pen.setWidth(w);
  pen.setCosmetic(true);
  // Like the original surface, dashed styles apply to one-pixel lines only.
  Qt::PenStyle style = Qt::SolidLine;
  if (w == 1) {
    switch (static_cast<DrawStyle>(style_)) {
      case DrawStyle::Dash:
        style = Qt::DashLine;
        break;
      case DrawStyle::Dot:
        style = Qt::DotLine;
        break;
      case DrawStyle::DashDot:
        style = Qt::DashDotLine;
        break;
      case DrawStyle::DashDotDot:
        style = Qt::DashDotDotLine;
        break;
      default:
        break;
    }
  }
  pen.setStyle(style);
  pen.setCapStyle(w > 1 ? Qt::RoundCap : Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

void RasterSurface::setFont(const FontSpec& f) {
  font_ = MakeDesignFont(f.name, f.pointSize, f.bold, f.italic, f.strikethrough, f.underline);
  // Aliased glyphs, so a white overprint erases a text completely.
  font_.setStyleStrategy(QFont::NoAntialias);
}

void RasterSurface::line(double x1, double y1, double x2, double y2, int32_t color) {
  applyMode();
  painter_.setPen(makePen(color));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawLine(toPixels(x1, y1), toPixels(x2, y2));
}

void RasterSurface::box(double x1, double y1, double x2, double y2, int32_t color, bool filled) {
  applyMode();
  const QRectF r = QRectF(toPixels(x1, y1), toPixels(x2, y2)).normalized();
  if (filled) {
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ToQColor(color));
    painter_.drawRect(r.toRect());
    return;
  }
  const QRect outline = r.toRect();
  if (fillStyle_ == FillStyle::Solid) {
    // The inside only, so that no pixel gets both the fill and the outline.
    const int inset = std::max(1, width_) / 2 + 1;
    const QRect inside = outline.adjusted(inset, inset, -inset, -inset);
    if (inside.isValid()) painter_.fillRect(inside, ToQColor(fillColor_));
  }
  painter_.setPen(makePen(color));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(outline);
}

void RasterSurface::circle(double cx, double cy, double radius, int32_t color, double aspect,
                           std::optional<double> start, std::optional<double> end) {
  applyMode();
  // The radius is the horizontal half-axis when the ellipse is wider than high.
  double rx = radius;
  double ry = radius;
  if (aspect > 0 && aspect < 1) {
    ry = radius * aspect;
  } else if (aspect > 1) {
    rx = radius / aspect;
  }
  const QPointF c = toPixels(cx, cy);
  const QRectF r(c.x() - rx * sx_, c.y() - ry * sy_, 2 * rx * sx_, 2 * ry * sy_);
  if (start && end) {
    constexpr double kSixteenthsPerRadian = 16 * 180 / 3.14159265358979323846;
    double span = *end - *start;
    if (span < 0) span += 2 * 3.14159265358979323846;
    painter_.setPen(makePen(color));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawArc(r, static_cast<int>(std::lround(*start * kSixteenthsPerRadian)),
                     static_cast<int>(std::lround(span * kSixteenthsPerRadian)));
    return;
  }
  if (fillStyle_ == FillStyle::Solid) {
    const double inset = std::max(1, width_) / 2.0 + 1;
    const QRectF inside = r.adjusted(inset, inset, -inset, -inset);
    if (inside.width() > 0 && inside.height() > 0) {
      painter_.setPen(Qt::NoPen);
      painter_.setBrush(ToQColor(fillColor_));
      painter_.drawEllipse(inside);
    }
  }
  painter_.setPen(makePen(color));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawEllipse(r);
}

void RasterSurface::paintPicture(const Picture& picture, double x, double y, double width,
                                 double height, RasterOp op) {
  const auto* pic = dynamic_cast<const QtPicture*>(&picture);
  if (!pic) return;
  const QRect target = QRectF(toPixels(x, y), toPixels(x + width, y + height)).toRect();
  if (target.width() <= 0 || target.height() <= 0) return;
  const QImage& image = pic->scaled(target.size());
  switch (op) {
    case RasterOp::DstInvert:
      painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
      painter_.fillRect(target, Qt::black);
      break;
    case RasterOp::SrcInvert:
      painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      painter_.drawImage(target.topLeft(), image);
      break;
    case RasterOp::SrcAnd:
      painter_.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
      painter_.drawImage(target.topLeft(), image);
      break;
    case RasterOp::SrcCopy:
    default:
      painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
      painter_.drawImage(target.topLeft(), image);
      break;
  }
}

void RasterSurface::print(std::string_view text) {
  const QPointF at = toPixels(currentX_, currentY_);
  drawText(at, font_, ToQColor(foreColor_),
           QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void RasterSurface::drawText(const QPointF& topLeft, const QFont& font, const QColor& color,
                             const QString& text) {
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_.setFont(font);
  painter_.setPen(color);
  DrawTextLines(painter_, &image_, topLeft, text);
}

void RasterSurface::clear() {
  painter_.setCompositionMode(QPainter::CompositionMode_Source);
  painter_.fillRect(image_.rect(), Qt::white);
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

double RasterSurface::textWidth(std::string_view text) {
  const QFontMetricsF fm(font_, &image_);
  return fm.horizontalAdvance(
             QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))) /
         sx_;
}

}  // namespace qf
