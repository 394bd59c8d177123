#include "pdf_page_surface.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "platform/picture_store.h"
#include "platform/pixel_ops.h"
#include "platform/qt_fonts.h"
#include "platform/raster_surface.h"

namespace qf {

namespace {

// What Qt writes for a graphics state of the mark opacity, and what stands in its place: the
// same number of bytes, so the file's cross-reference offsets stay right.
constexpr std::string_view kMarkedState = "/ca 0.996078431 \n/CA 0.996078431 \n";
constexpr std::string_view kMultiplyState = "/BM /Multiply";

QPointF PixelCentre(QPointF p) {
  return {PixelOf(p.x()) + 0.5, PixelOf(p.y()) + 0.5};
}

// The composed page's dash pattern on a pen one pixel wide: on and off in pixels.
void SetDashes(QPen& pen, std::span<const int> dashes) {
  if (dashes.empty()) return;
  QList<qreal> pattern;
  for (const int n : dashes) pattern << n;
  pen.setDashPattern(pattern);
}

}  // namespace

int MarkMultiplyBlendIn(std::string& pdf) {
  int changed = 0;
  for (size_t at = pdf.find(kMarkedState); at != std::string::npos;
       at = pdf.find(kMarkedState, at + kMarkedState.size())) {
    std::string state(kMultiplyState);
    state.resize(kMarkedState.size(), ' ');
    pdf.replace(at, kMarkedState.size(), state);
    ++changed;
  }
  return changed;
}

bool MarkMultiplyBlend(const std::string& path, std::string* error) {
  QFile file(QString::fromStdString(path));
  const auto failed = [&] {
    if (error) *error = "「" + path + "」を仕上げられません：" + file.errorString().toStdString();
    return false;
  };
  if (!file.open(QIODevice::ReadWrite)) return failed();
  // In pieces, so a document of thousands of pages is never held whole; each piece overlaps the
  // last by less than a mark, so no mark is missed or seen twice.
  constexpr qint64 kPiece = 1 << 20;
  const auto overlap = static_cast<qint64>(kMarkedState.size()) - 1;
  for (qint64 at = 0; at < file.size(); at += kPiece - overlap) {
    if (!file.seek(at)) return failed();
    const QByteArray bytes = file.read(kPiece);
    std::string piece(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (MarkMultiplyBlendIn(piece) > 0) {
      // Same length: written over in place.
      if (!file.seek(at) || file.write(piece.data(), static_cast<qint64>(piece.size())) !=
                                static_cast<qint64>(piece.size())) {
        return failed();
      }
    }
    if (bytes.size() < kPiece) break;
  }
  return file.flush() || failed();
}

PdfPageSurface::PdfPageSurface(QPainter& painter, QSize pixels, double scaleWidth,
                               double scaleHeight, double devicePerPixel, TextWidths& widths,
                               PdfTextMapping* mapping)
    : painter_(painter),
      pixels_(pixels),
      sx_(scaleWidth > 0 ? pixels.width() / scaleWidth : 1),
      sy_(scaleHeight > 0 ? pixels.height() / scaleHeight : 1),
      devicePerPixel_(devicePerPixel),
      widths_(widths),
      mapping_(mapping) {
  painter_.save();
  painter_.setTransform(QTransform::fromScale(devicePerPixel, devicePerPixel));
  painter_.setClipRect(QRect(QPoint(0, 0), pixels_));
}

PdfPageSurface::~PdfPageSurface() {
  painter_.restore();
}

void PdfPageSurface::setFont(const FontSpec& f) {
  font_ = f;
}

void PdfPageSurface::useInk(const QColor& color) {
  // Black is black under either rule, over anything and under anything: it stays a plain
  // stroke or fill, which the writer keeps far smaller than a blended one.
  const bool blended = mode_ == DrawMode::MaskPen && color != Qt::black;
  blended_ = blended_ || blended;
  painter_.setOpacity(blended ? kMultiplyMarkOpacity : 1.0);
}

void PdfPageSurface::fill(const QRectF& r, const QColor& color) {
  if (r.isEmpty()) return;
  painter_.fillRect(r, color);
}

void PdfPageSurface::thinLine(QPointF a, QPointF b, const QColor& color,
                              std::span<const int> dashes) {
  // The composed page lights the pixels from the one holding a to the one holding b: a line
  // through their centres, a pixel wide, reaching half a pixel past each.
  a = PixelCentre(a);
  b = PixelCentre(b);
  if (a == b) {
    fill(QRectF(a - QPointF(0.5, 0.5), QSizeF(1, 1)), color);
    return;
  }
  QPen pen(color, 1);
  pen.setJoinStyle(Qt::MiterJoin);
  if (dashes.empty()) {
    pen.setCapStyle(Qt::SquareCap);
  } else {
    // Dashes counted in pixels from the first one lit, as the composed page counts them.
    const QPointF d = b - a;
    const QPointF half = d / std::hypot(d.x(), d.y()) / 2;
    a -= half;
    b += half;
    pen.setCapStyle(Qt::FlatCap);
    SetDashes(pen, dashes);
  }
  painter_.setPen(pen);
  painter_.drawLine(a, b);
}

void PdfPageSurface::line(double x1, double y1, double x2, double y2, int32_t color) {
  const QColor c = ToQColor(color);
  useInk(c);
  const int w = std::max(1, width_);
  if (w == 1) {
    thinLine(toPixels(x1, y1), toPixels(x2, y2), c, DashPattern(style_));
    return;
  }
  // Wide pens are solid with round ends, centred on the line through the pixel centres. The
  // composed page lights every pixel whose centre lies within half the width, the edge included:
  // across a rule of even width that is one pixel more.
  const QPointF a = PixelCentre(toPixels(x1, y1));
  const QPointF b = PixelCentre(toPixels(x2, y2));
  const bool ruled = a.x() == b.x() || a.y() == b.y();
  const int across = ruled && w % 2 == 0 ? w + 1 : w;
  painter_.setPen(QPen(c, across, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter_.drawLine(a, b);
}

void PdfPageSurface::fillArea(double x1, double y1, double x2, double y2, int32_t color) {
  const QColor c = ToQColor(color);
  useInk(c);
  fill(QRectF(AreaPixels(toPixels(x1, y1), toPixels(x2, y2))), c);
}

void PdfPageSurface::fillAreas(double originX, double originY, double unitX, double unitY,
                               std::span<const PageRect> areas, int32_t color) {
  // Drawn in the areas' own units under one transformation, from the corner of the first area:
  // the file holds short numbers, a rectangle operator each and one fill (so anti-aliased viewers
  // show no seams where areas meet). Areas of one size go together, so the compressed stream
  // finds their repeated sizes close by: a module symbol's stream is 3 % smaller so.
  if (areas.empty()) return;
  double left = areas.front().left;
  double top = areas.front().top;
  for (const PageRect& a : areas) {
    left = std::min(left, a.left);
    top = std::min(top, a.top);
  }
  std::vector<QRectF> rects;
  rects.reserve(areas.size());
  for (const PageRect& a : areas)
    rects.emplace_back(a.left - left, a.top - top, a.right - a.left, a.bottom - a.top);
  std::ranges::stable_sort(rects, [](const QRectF& a, const QRectF& b) {
    return std::tuple(a.width(), a.height(), a.top(), a.left()) <
           std::tuple(b.width(), b.height(), b.top(), b.left());
  });
  const QColor c = ToQColor(color);
  useInk(c);
  painter_.save();
  painter_.translate(toPixels(originX + left * unitX, originY + top * unitY));
  painter_.scale(unitX * sx_, unitY * sy_);
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(c);
  painter_.drawRects(rects.data(), static_cast<int>(rects.size()));
  painter_.restore();
}

void PdfPageSurface::box(double x1, double y1, double x2, double y2, int32_t color, bool filled) {
  const QRect edges = PixelBox(toPixels(x1, y1), toPixels(x2, y2));
  const QColor c = ToQColor(color);
  if (filled) {
    useInk(c);
    fill(QRectF(edges), c);
    return;
  }
  const int w = std::max(1, width_);
  const auto [outer, inner] = BoxOutlinePixels(edges, w);
  // The inside on its own, so the outline darkens the page under it and not the fill as well.
  if (fillStyle_ == FillStyle::Solid && inner.isValid()) {
    useInk(ToQColor(fillColor_));
    fill(QRectF(inner), ToQColor(fillColor_));
  }
  useInk(c);
  if (!inner.isValid()) {
    fill(QRectF(outer), c);
    return;
  }
  const std::span<const int> dashes = w == 1 ? DashPattern(style_) : std::span<const int>();
  if (!dashes.empty()) {
    for (const auto& [from, to] : DashedBoxSides(edges)) thinLine(from, to, c, dashes);
    return;
  }
  // A pen along the middle of the band between the outline's outer and inner edges.
  const QRectF out(outer);
  const QRectF in(inner);
  painter_.setPen(QPen(c, w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(
      QRectF(QPointF((out.left() + in.left()) / 2, (out.top() + in.top()) / 2),
             QPointF((out.right() + in.right()) / 2, (out.bottom() + in.bottom()) / 2)));
}

void PdfPageSurface::circle(double cx, double cy, double radius, int32_t color, double aspect,
                            std::optional<double> start, std::optional<double> end) {
  const auto [hx, hy] = EllipseHalfAxes(radius, aspect);
  const QPointF c = toPixels(cx, cy);
  const double rx = std::abs(hx * sx_);
  const double ry = std::abs(hy * sy_);
  const int w = std::max(1, width_);
  if (!(start && end) && fillStyle_ == FillStyle::Solid) {
    // Exactly inside the outline.
    const double fx = rx - w / 2.0;
    const double fy = ry - w / 2.0;
    if (fx > 0 && fy > 0) {
      QPainterPath inside;
      inside.addEllipse(c, fx, fy);
      useInk(ToQColor(fillColor_));
      painter_.fillPath(inside, ToQColor(fillColor_));
    }
  }
  QPen pen(ToQColor(color), w, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
  useInk(pen.color());
  if (w == 1) SetDashes(pen, DashPattern(style_));
  painter_.setPen(pen);
  painter_.setBrush(Qt::NoBrush);
  const QRectF bounds(c.x() - rx, c.y() - ry, 2 * rx, 2 * ry);
  if (start && end) {
    // Counter-clockwise from +x, in sixteenths of a degree.
    constexpr double kSixteenths = 180.0 * 16 / 3.14159265358979323846;
    double span = *end - *start;
    while (span < 0) span += 2 * 3.14159265358979323846;
    painter_.drawArc(bounds, static_cast<int>(std::lround(*start * kSixteenths)),
                     static_cast<int>(std::lround(span * kSixteenths)));
    return;
  }
  painter_.drawEllipse(bounds);
}

void PdfPageSurface::paintPicture(const Picture& picture, double x, double y, double width,
                                  double height, RasterOp op) {
  const auto* pic = dynamic_cast<const QtPicture*>(&picture);
  if (!pic) return;
  const QRectF target(PicturePixels(toPixels(x, y), QSizeF(width * sx_, height * sy_)));
  if (target.isEmpty()) return;
  if (op == RasterOp::DstInvert) {
    // An inversion has nothing to invert on paper but white: black where it covers.
    painter_.setOpacity(1.0);
    fill(target, Qt::black);
    return;
  }
  // A picture ANDed onto the page darkens it as ink; a copied one covers what is under it. The
  // same image every time, so the file holds it once however many pages show it.
  blended_ = blended_ || op == RasterOp::SrcAnd;
  painter_.setOpacity(op == RasterOp::SrcAnd ? kMultiplyMarkOpacity : 1.0);
  painter_.drawImage(target, pic->image());
}

void PdfPageSurface::print(std::string_view text) {
  QFont drawn = widths_.font(font_);
  drawn.setStyleStrategy(QFont::PreferDefault);
  texts_.push_back({toPixels(currentX_, currentY_), drawn, ToQColor(foreColor_),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))});
}

void PdfPageSurface::clear() {
  painter_.setOpacity(1.0);
  fill(QRectF(QPointF(0, 0), QSizeF(pixels_)), Qt::white);
}

double PdfPageSurface::textWidth(std::string_view text) {
  return widths_.pixels(font_, text) / sx_;
}

void PdfPageSurface::finish() {
  painter_.save();
  painter_.setOpacity(1.0);
  // Texts in the device's own pixels, where their point sizes mean what they say.
  painter_.resetTransform();
  painter_.setClipping(false);
  for (const Text& t : texts_) {
    painter_.setFont(t.font);
    painter_.setPen(t.color);
    DrawTextLines(painter_, painter_.device(), t.topLeft * devicePerPixel_, t.text, mapping_);
  }
  painter_.restore();
  texts_.clear();
}

}  // namespace qf
