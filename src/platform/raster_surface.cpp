#include "raster_surface.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainterPath>
#include <QRawFont>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "platform/pdf_text.h"
#include "platform/picture_store.h"
#include "platform/pixel_ops.h"
#include "platform/qt_fonts.h"

namespace qf {

QColor ToQColor(int32_t color) {
  const auto v = static_cast<uint32_t>(color);
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                static_cast<int>((v >> 16) & 0xFF));
}

QImage ScreenImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  return image;
}

QImage PageImage(const ViewState& view) {
  QImage image = ScreenImage(view.widthPx, view.heightPx);
  if (image.isNull()) image = ScreenImage(1, 1);
  image.fill(Qt::white);
  return image;
}

namespace {

// Qt draws glyphs of this many pixels or more as outlines, and an outline drawn so loses the
// bold a font engine makes up for a face that has none.
constexpr double kOutlineGlyphPixels = 64;

// The width of the stroke that makes bold up where the raster engine draws a bold text from
// outlines: FreeType widens made-up bold by a 24th of the size, so a stroke that wide, half of
// it outside the outline, gives the same weight. 0 where the glyphs come out bold anyway.
double MadeUpBoldStroke(const QPainter& painter, const QPaintDevice* device) {
  const QFont& font = painter.font();
  if (!font.bold() || !painter.paintEngine() ||
      painter.paintEngine()->type() != QPaintEngine::Raster) {
    return 0;
  }
  const double points = font.pointSizeF();
  const double pixels = points > 0 ? points * device->logicalDpiY() / 72.0 : font.pixelSize();
  const double scale = std::sqrt(std::abs(painter.worldTransform().determinant()));
  if (pixels * scale < kOutlineGlyphPixels) return 0;
  // A face of bold weight of its own is drawn bold as it is.
  const QByteArray os2 = QRawFont::fromFont(font).fontTable("OS/2");
  if (os2.size() < 6) return 0;
  const int weight = (static_cast<uchar>(os2[4]) << 8) | static_cast<uchar>(os2[5]);
  return weight < 600 ? pixels / 24 : 0;
}

}  // namespace

void DrawTextLines(QPainter& painter, QPaintDevice* device, const QPointF& topLeft,
                   const QString& text, PdfTextMapping* mapping) {
  const QFontMetricsF fm(painter.font(), device);
  const double bold = MadeUpBoldStroke(painter, device);
  double y = topLeft.y() + fm.ascent();
  for (const QString& line : TextLines(text)) {
    const QPointF at(topLeft.x(), y);
    if (mapping) {
      mapping->drawLine(painter, at, line);
    } else {
      painter.drawText(at, line);
    }
    if (bold > 0) {
      // The glyphs' outline only: the text's lines are drawn once, by drawText.
      QFont outlineFont = painter.font();
      outlineFont.setUnderline(false);
      outlineFont.setStrikeOut(false);
      QPainterPath outline;
      outline.addText(at, outlineFont, line);
      painter.save();
      painter.setRenderHint(QPainter::Antialiasing,
                            !(painter.font().styleStrategy() & QFont::NoAntialias));
      painter.strokePath(
          outline, QPen(painter.pen().color(), bold, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
      painter.restore();
    }
    y += fm.height();
  }
}

std::array<std::pair<QPointF, QPointF>, 4> DashedBoxSides(const QRect& e) {
  return {{{QPointF(e.left(), e.top()), QPointF(e.right() - 1, e.top())},
           {QPointF(e.right(), e.top()), QPointF(e.right(), e.bottom() - 1)},
           {QPointF(e.right(), e.bottom()), QPointF(e.left() + 1, e.bottom())},
           {QPointF(e.left(), e.bottom()), QPointF(e.left(), e.top() + 1)}}};
}

int PixelOf(double v) {
  return static_cast<int>(std::clamp(std::floor(v), -1e8, 1e8));
}

QRect PixelBox(QPointF a, QPointF b) {
  return {QPoint(PixelOf(std::min(a.x(), b.x())), PixelOf(std::min(a.y(), b.y()))),
          QPoint(PixelOf(std::max(a.x(), b.x())), PixelOf(std::max(a.y(), b.y())))};
}

QRect AreaPixels(QPointF a, QPointF b) {
  const auto first = [](double v) { return PixelOf(std::ceil(v - 0.5)); };
  const int left = first(std::min(a.x(), b.x()));
  const int top = first(std::min(a.y(), b.y()));
  const int right = std::max(left, first(std::max(a.x(), b.x())) - 1);
  const int bottom = std::max(top, first(std::max(a.y(), b.y())) - 1);
  return {QPoint(left, top), QPoint(right, bottom)};
}

QRect PicturePixels(QPointF at, QSizeF size) {
  const QSize pixels(PixelOf(size.width() + 0.5), PixelOf(size.height() + 0.5));
  if (pixels.width() <= 0 || pixels.height() <= 0 || pixels.width() > 100000 ||
      pixels.height() > 100000) {
    return {};
  }
  return {QPoint(PixelOf(at.x()), PixelOf(at.y())), pixels};
}

void SetImageDpi(QImage& image, int dpi) {
  const int dotsPerMeter = static_cast<int>(std::lround(std::max(1, dpi) / 0.0254));
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
}

OutlinePixels BoxOutlinePixels(const QRect& edges, int width) {
  // The outline is centred on the box's edges; the inside starts where it ends.
  const int w = std::max(1, width);
  const int lo = (w - 1) / 2;
  const int hi = w - 1 - lo;
  return {edges.adjusted(-lo, -lo, hi, hi), edges.adjusted(hi + 1, hi + 1, -lo - 1, -lo - 1)};
}

namespace {

PixelOp OpFor(DrawMode mode) {
  switch (mode) {
    case DrawMode::NotXorPen:
      return PixelOp::NotXor;
    case DrawMode::MaskPen:
      return PixelOp::And;
    case DrawMode::CopyPen:
    default:
      return PixelOp::Copy;
  }
}

uint32_t ImageRgb(int32_t color) {
  return ToQColor(color).rgb() & 0xFFFFFFu;
}

}  // namespace

TextWidths::TextWidths() : device_(1, 1, QImage::Format_RGB32) {
  setDpi(96);
}

void TextWidths::setDpiOf(const QImage& image) {
  device_.setDotsPerMeterX(image.dotsPerMeterX());
  device_.setDotsPerMeterY(image.dotsPerMeterY());
  faces_.clear();  // their metrics were for the old resolution
}

void TextWidths::setDpi(int dpi) {
  SetImageDpi(device_, dpi);
  faces_.clear();
}

const TextWidths::Face& TextWidths::face(const FontSpec& f) {
  FontKey key{f.name, f.pointSize, f.bold, f.italic, f.strikethrough, f.underline};
  auto it = faces_.find(key);
  if (it == faces_.end()) {
    if (faces_.size() >= 64) faces_.clear();
    QFont font =
        MakeDesignFont(f.name, f.pointSize, f.bold, f.italic, f.strikethrough, f.underline);
    // Aliased glyphs, so a white overprint erases a text completely.
    font.setStyleStrategy(QFont::NoAntialias);
    QFontMetricsF metrics(font, &device_);
    it = faces_.emplace(std::move(key), Face{std::move(font), std::move(metrics)}).first;
  }
  return it->second;
}

const QFont& TextWidths::font(const FontSpec& f) {
  return face(f).font;
}

const QFontMetricsF& TextWidths::metrics(const FontSpec& f) {
  return face(f).metrics;
}

double TextWidths::pixels(const FontSpec& f, std::string_view text) {
  return metrics(f).horizontalAdvance(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

bool TextMayReach(const QPointF& topLeft, const QFontMetricsF& fm, const QString& text,
                  const QRect& clip) {
  const QStringList lines = TextLines(text);
  qsizetype longest = 0;
  for (const QString& l : lines) longest = std::max(longest, l.size());
  const double line = std::max(fm.height(), 1.0);
  const double wide = std::max(fm.maxWidth(), 2 * line);
  const double left = topLeft.x() - line;
  const double top = topLeft.y() - line;
  const double right = topLeft.x() + static_cast<double>(longest) * wide + line;
  const double bottom = topLeft.y() + static_cast<double>(lines.size() + 1) * line;
  return right >= clip.left() && left <= clip.right() + 1 && bottom >= clip.top() &&
         top <= clip.bottom() + 1;
}

RasterSurface::RasterSurface(QImage& image, double scaleWidth, double scaleHeight)
    : image_(image),
      sx_(scaleWidth > 0 ? image.width() / scaleWidth : 1),
      sy_(scaleHeight > 0 ? image.height() / scaleHeight : 1) {
  if (image_.format() != QImage::Format_RGB32) {
    image_ = image_.convertToFormat(QImage::Format_RGB32);
  }
  clip_ = image_.rect();
  fonts_.setDpiOf(image_);
}

QRect RasterSurface::pixelsOf(const PageRect& r) const {
  if (r.empty()) return {};
  const QPointF a = toPixels(r.left, r.top);
  const QPointF b = toPixels(r.right, r.bottom);
  return PixelBox(a, b).intersected(image_.rect());
}

void RasterSurface::setClip(const std::optional<PageRect>& clip) {
  clip_ = clip ? pixelsOf(*clip) : image_.rect();
}

RasterSurface::~RasterSurface() = default;

void RasterSurface::setFont(const FontSpec& f) {
  font_ = f;
}

void RasterSurface::line(double x1, double y1, double x2, double y2, int32_t color) {
  const QPointF a = toPixels(x1, y1);
  const QPointF b = toPixels(x2, y2);
  const int w = std::max(1, width_);
  if (w == 1) {
    DrawThinLine(canvas(), a, b, ImageRgb(color), OpFor(mode_), DashPattern(style_));
  } else {
    // Wide pens are solid with round ends, centred on the line through the pixel centres.
    const QPointF half(0.5, 0.5);
    DrawThickLine(canvas(), QPointF(std::floor(a.x()), std::floor(a.y())) + half,
                  QPointF(std::floor(b.x()), std::floor(b.y())) + half, w, ImageRgb(color),
                  OpFor(mode_));
  }
}

void RasterSurface::fillArea(double x1, double y1, double x2, double y2, int32_t color) {
  FillRect(canvas(), AreaPixels(toPixels(x1, y1), toPixels(x2, y2)), ImageRgb(color), OpFor(mode_));
}

void RasterSurface::box(double x1, double y1, double x2, double y2, int32_t color, bool filled) {
  const QRect edges = PixelBox(toPixels(x1, y1), toPixels(x2, y2));
  const PixelOp op = OpFor(mode_);
  const uint32_t rgb = ImageRgb(color);
  if (filled) {
    FillRect(canvas(), edges, rgb, op);
    return;
  }
  const int w = std::max(1, width_);
  const auto [outer, inner] = BoxOutlinePixels(edges, w);
  if (fillStyle_ == FillStyle::Solid && inner.isValid()) {
    FillRect(canvas(), inner, ImageRgb(fillColor_), op);
  }
  if (!inner.isValid()) {
    FillRect(canvas(), outer, rgb, op);
    return;
  }
  const std::span<const int> dashes = w == 1 ? DashPattern(style_) : std::span<const int>();
  if (!dashes.empty()) {
    for (const auto& [from, to] : DashedBoxSides(edges)) {
      DrawThinLine(canvas(), from, to, rgb, op, dashes);
    }
    return;
  }
  // Four bands that together make the outline exactly once.
  FillRect(canvas(),
           QRect(QPoint(outer.left(), outer.top()), QPoint(outer.right(), inner.top() - 1)), rgb,
           op);
  FillRect(canvas(),
           QRect(QPoint(outer.left(), inner.bottom() + 1), QPoint(outer.right(), outer.bottom())),
           rgb, op);
  FillRect(canvas(),
           QRect(QPoint(outer.left(), inner.top()), QPoint(inner.left() - 1, inner.bottom())), rgb,
           op);
  FillRect(canvas(),
           QRect(QPoint(inner.right() + 1, inner.top()), QPoint(outer.right(), inner.bottom())),
           rgb, op);
}

void RasterSurface::circle(double cx, double cy, double radius, int32_t color, double aspect,
                           std::optional<double> start, std::optional<double> end) {
  const auto [rx, ry] = EllipseHalfAxes(radius, aspect);
  const int w = std::max(1, width_);
  const EllipseArc arc{start.value_or(0), end.value_or(0)};
  const bool isArc = start && end;
  const uint32_t fill = ImageRgb(fillColor_);
  DrawEllipse(canvas(), toPixels(cx, cy), std::abs(rx * sx_), std::abs(ry * sy_), w,
              ImageRgb(color), OpFor(mode_), w == 1 ? DashPattern(style_) : std::span<const int>(),
              isArc ? &arc : nullptr, !isArc && fillStyle_ == FillStyle::Solid ? &fill : nullptr);
}

void RasterSurface::paintPicture(const Picture& picture, double x, double y, double width,
                                 double height, RasterOp op) {
  const auto* pic = dynamic_cast<const QtPicture*>(&picture);
  if (!pic) return;
  // Its scaled copy stays valid wherever it is placed: the size comes from the extent alone.
  const QRect target = PicturePixels(toPixels(x, y), QSizeF(width * sx_, height * sy_));
  if (target.isEmpty()) return;
  const QPoint at = target.topLeft();
  const QSize size = target.size();
  switch (op) {
    case RasterOp::DstInvert:
      FillRect(canvas(), QRect(at, size), 0, PixelOp::Invert);
      break;
    case RasterOp::SrcInvert:
      BlitImage(canvas(), at, pic->scaled(size), PixelOp::Xor);
      break;
    case RasterOp::SrcAnd:
      BlitImage(canvas(), at, pic->scaled(size), PixelOp::And);
      break;
    case RasterOp::SrcCopy:
    default:
      BlitImage(canvas(), at, pic->scaled(size), PixelOp::Copy);
      break;
  }
}

void RasterSurface::print(std::string_view text) {
  const QPointF at = toPixels(currentX_, currentY_);
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  // Laying a text out costs more than all else it draws: one that cannot reach the clip is
  // passed over.
  if (clip_ != image_.rect() && !TextMayReach(at, fonts_.metrics(font_), s, clip_)) return;
  drawText(at, fonts_.font(font_), ToQColor(foreColor_), s);
}

void RasterSurface::drawText(const QPointF& topLeft, const QFont& font, const QColor& color,
                             const QString& text) {
  if (clip_.isEmpty()) return;
  QPainter painter(&image_);
  if (clip_ != image_.rect()) painter.setClipRect(clip_);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  painter.setFont(font);
  painter.setPen(color);
  DrawTextLines(painter, &image_, topLeft, text);
}

void RasterSurface::clear() {
  FillRect(canvas(), clip_, 0xFFFFFFu, PixelOp::Copy);
}

double RasterSurface::textWidth(std::string_view text) {
  return fonts_.pixels(font_, text) / sx_;
}

}  // namespace qf
