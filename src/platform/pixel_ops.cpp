#include "pixel_ops.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace qf {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

inline uint32_t Apply(uint32_t pixel, uint32_t rgb, PixelOp op) {
  switch (op) {
    case PixelOp::Copy:
      return rgb | kOpaque;
    case PixelOp::NotXor:
      return ~(rgb ^ pixel) | kOpaque;
    case PixelOp::And:
      return (rgb & pixel) | kOpaque;
    case PixelOp::Invert:
      return ~pixel | kOpaque;
    case PixelOp::Xor:
      return (rgb ^ pixel) | kOpaque;
  }
  return pixel;
}

template <PixelOp Op>
void SpanOf(uint32_t* p, int n, uint32_t rgb) {
  for (int i = 0; i < n; ++i) p[i] = Apply(p[i], rgb, Op);
}

// Applies the operation to pixels x0..x1 (inclusive) of row y, clipped. Each operation gets a
// loop of its own, so the compiler can vectorise it.
inline void Span(const PixelCanvas& c, int y, int x0, int x1, uint32_t rgb, PixelOp op) {
  if (y < c.clip.top() || y > c.clip.bottom()) return;
  x0 = std::max(x0, c.clip.left());
  x1 = std::min(x1, c.clip.right());
  if (x0 > x1) return;
  uint32_t* p = reinterpret_cast<uint32_t*>(c.image.scanLine(y)) + x0;
  const int n = x1 - x0 + 1;
  switch (op) {
    case PixelOp::Copy:
      std::fill_n(p, n, rgb | kOpaque);
      break;
    case PixelOp::NotXor:
      SpanOf<PixelOp::NotXor>(p, n, rgb);
      break;
    case PixelOp::And:
      SpanOf<PixelOp::And>(p, n, rgb);
      break;
    case PixelOp::Invert:
      SpanOf<PixelOp::Invert>(p, n, rgb);
      break;
    case PixelOp::Xor:
      SpanOf<PixelOp::Xor>(p, n, rgb);
      break;
  }
}

inline void Pixel(const PixelCanvas& c, int x, int y, uint32_t rgb, PixelOp op) {
  if (!c.clip.contains(x, y)) return;
  auto* row = reinterpret_cast<uint32_t*>(c.image.scanLine(y));
  row[x] = Apply(row[x], rgb, op);
}

// The cosmetic pen patterns of the original surface, in pixels on and off.
constexpr std::array<int, 2> kDash{18, 6};
constexpr std::array<int, 2> kDot{3, 3};
constexpr std::array<int, 4> kDashDot{9, 6, 3, 6};
constexpr std::array<int, 6> kDashDotDot{9, 3, 3, 3, 3, 3};

}  // namespace

std::span<const int> DashPattern(int style) {
  switch (style) {
    case 1:
      return kDash;
    case 2:
      return kDot;
    case 3:
      return kDashDot;
    case 4:
      return kDashDotDot;
    default:
      return {};
  }
}

void FillRect(const PixelCanvas& c, QRect rect, uint32_t rgb, PixelOp op) {
  rect = rect.normalized().intersected(c.clip);
  for (int y = rect.top(); y <= rect.bottom(); ++y) Span(c, y, rect.left(), rect.right(), rgb, op);
}

void DrawThinLine(const PixelCanvas& c, QPointF from, QPointF to, uint32_t rgb, PixelOp op,
                  std::span<const int> dashes) {
  const QImage& image = c.image;
  // Clip to just outside the image (Liang-Barsky), so far-off ends cost nothing and convert to
  // integers safely. The canvas's clip does not move the ends: the line keeps its pixels.
  const double xmin = -2;
  const double ymin = -2;
  const double xmax = image.width() + 1.0;
  const double ymax = image.height() + 1.0;
  double t0 = 0;
  double t1 = 1;
  const double dx = to.x() - from.x();
  const double dy = to.y() - from.y();
  auto clip = [&](double p, double q) {
    if (p == 0) return q >= 0;
    const double t = q / p;
    if (p < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
    return true;
  };
  if (!(clip(-dx, from.x() - xmin) && clip(dx, xmax - from.x()) && clip(-dy, from.y() - ymin) &&
        clip(dy, ymax - from.y()))) {
    return;
  }
  const QPoint a(static_cast<int>(std::floor(from.x() + t0 * dx)),
                 static_cast<int>(std::floor(from.y() + t0 * dy)));
  const QPoint b(static_cast<int>(std::floor(from.x() + t1 * dx)),
                 static_cast<int>(std::floor(from.y() + t1 * dy)));
  if (dashes.empty() && (a.x() == b.x() || a.y() == b.y())) {
    // Straight across or down (the grid): the same pixels as the steps below, as one span.
    if (a.y() == b.y()) {
      Span(c, a.y(), std::min(a.x(), b.x()), std::max(a.x(), b.x()), rgb, op);
    } else if (a.x() >= c.clip.left() && a.x() <= c.clip.right()) {
      const int y0 = std::max(std::min(a.y(), b.y()), c.clip.top());
      const int y1 = std::min(std::max(a.y(), b.y()), c.clip.bottom());
      for (int y = y0; y <= y1; ++y) Pixel(c, a.x(), y, rgb, op);
    }
    return;
  }
  int x = a.x();
  int y = a.y();
  const int adx = std::abs(b.x() - x);
  const int ady = -std::abs(b.y() - y);
  const int sx = x < b.x() ? 1 : -1;
  const int sy = y < b.y() ? 1 : -1;
  int err = adx + ady;
  size_t dash = 0;
  int left = dashes.empty() ? 0 : dashes[0];
  for (;;) {
    if (dashes.empty() || dash % 2 == 0) Pixel(c, x, y, rgb, op);
    if (!dashes.empty() && --left == 0) {
      dash = (dash + 1) % dashes.size();
      left = dashes[dash];
    }
    if (x == b.x() && y == b.y()) break;
    const int e2 = 2 * err;
    if (e2 >= ady) {
      err += ady;
      x += sx;
    }
    if (e2 <= adx) {
      err += adx;
      y += sy;
    }
  }
}

void DrawThickLine(const PixelCanvas& c, QPointF a, QPointF b, double width, uint32_t rgb,
                   PixelOp op) {
  const QImage& image = c.image;
  if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) ||
      !std::isfinite(b.y())) {
    return;
  }
  const double r = width / 2;
  const QPointF d = b - a;
  const double len = std::hypot(d.x(), d.y());
  const QPointF n = len > 0 ? QPointF(-d.y() / len, d.x() / len) * r : QPointF(0, 0);
  // The band between the two round ends, as a convex polygon.
  const std::array<QPointF, 4> band{a + n, b + n, b - n, a - n};
  const double minY = c.clip.top();
  const double maxY = c.clip.bottom();
  const int top =
      static_cast<int>(std::clamp(std::floor(std::min(a.y(), b.y()) - r), minY, maxY + 1));
  const int bottom =
      static_cast<int>(std::clamp(std::ceil(std::max(a.y(), b.y()) + r), minY - 1, maxY));
  for (int y = top; y <= bottom; ++y) {
    const double py = y + 0.5;
    // The shape is convex, so each row meets it in one interval: the union of what the end
    // discs and the band cover.
    double lo = 1e300;
    double hi = -1e300;
    auto take = [&](double x) {
      if (std::isnan(x)) return;  // far-off ends can overflow; such a point decides nothing
      lo = std::min(lo, x);
      hi = std::max(hi, x);
    };
    for (const QPointF& end : {a, b}) {
      const double h = r * r - (py - end.y()) * (py - end.y());
      if (h < 0) continue;
      take(end.x() - std::sqrt(h));
      take(end.x() + std::sqrt(h));
    }
    for (size_t i = 0; i < band.size(); ++i) {
      const QPointF& p = band[i];
      const QPointF& q = band[(i + 1) % band.size()];
      if (p.y() == q.y()) {
        if (p.y() == py) {
          take(p.x());
          take(q.x());
        }
      } else if ((py - p.y()) * (py - q.y()) <= 0) {
        take(p.x() + (py - p.y()) / (q.y() - p.y()) * (q.x() - p.x()));
      }
    }
    if (lo > hi) continue;
    // The pixels whose centres fall inside; the span clips, the clamp keeps the casts defined.
    const double maxX = image.width();
    Span(c, y, static_cast<int>(std::clamp(std::ceil(lo - 0.5), -1.0, maxX)),
         static_cast<int>(std::clamp(std::floor(hi - 0.5), -1.0, maxX)), rgb, op);
  }
}

double QuickAtan2(double y, double x) {
  constexpr double kPi = 3.141592653589793;
  const double ax = std::abs(x);
  const double ay = std::abs(y);
  if (!(ax > 0) && !(ay > 0)) return x < 0 ? kPi : 0;
  // Into [0, 1], then around 0 (|t| <= tan π/8) where the series is short.
  const bool steep = ay > ax;
  double t = steep ? ax / ay : ay / ax;
  double a = 0;
  if (t > 0.41421356237309503) {
    a = kPi / 4;
    t = (t - 1) / (t + 1);
  }
  const double t2 = t * t;
  a += t *
       (1 + t2 * (-1.0 / 3 +
                  t2 * (1.0 / 5 + t2 * (-1.0 / 7 + t2 * (1.0 / 9 + t2 * (-1.0 / 11 + t2 / 13))))));
  if (steep) a = kPi / 2 - a;
  if (x < 0) a = kPi - a;
  return y < 0 ? -a : a;
}

void DrawEllipse(const PixelCanvas& canvas, QPointF c, double rx, double ry, double width,
                 uint32_t rgb, PixelOp op, std::span<const int> dashes, const EllipseArc* arc,
                 const uint32_t* fill) {
  const QImage& image = canvas.image;
  if (!(rx >= 0) || !(ry >= 0) || !std::isfinite(rx) || !std::isfinite(ry) ||
      !std::isfinite(c.x()) || !std::isfinite(c.y())) {
    return;  // nothing a page can show
  }
  constexpr double kTwoPi = 6.283185307179586;
  const double half = std::max(width, 1.0) / 2;
  const double orx = rx + half;
  const double ory = ry + half;
  const double irx = rx - half;
  const double iry = ry - half;
  const double minY = canvas.clip.top();
  const double maxY = canvas.clip.bottom();
  const int top = static_cast<int>(std::clamp(std::floor(c.y() - ory), minY, maxY + 1));
  const int bottom = static_cast<int>(std::clamp(std::ceil(c.y() + ory), minY - 1, maxY));
  const double maxX = image.width();
  int patternLength = 0;
  for (int d : dashes) patternLength += d;
  const double meanRadius = (rx + ry) / 2;
  double arcStart = 0;
  double arcSpan = kTwoPi;
  if (arc) {
    arcStart = std::fmod(arc->start, kTwoPi);
    if (arcStart < 0) arcStart += kTwoPi;
    arcSpan = std::fmod(arc->end - arc->start, kTwoPi);
    if (arcSpan <= 0) arcSpan += kTwoPi;
  }
  // Whether the outline pixel at x, y is drawn: inside the arc and on a dash.
  auto shown = [&](int x, double py) {
    if (!arc && patternLength == 0) return true;
    double angle =
        QuickAtan2(-(py - c.y()) / std::max(ry, 1e-9), (x + 0.5 - c.x()) / std::max(rx, 1e-9));
    if (angle < 0) angle += kTwoPi;
    if (arc) {
      double from = angle - arcStart;
      if (from < 0) from += kTwoPi;
      if (from > arcSpan) return false;
    }
    if (patternLength == 0) return true;
    int pos = static_cast<int>(angle * meanRadius) % patternLength;
    for (size_t i = 0; i < dashes.size(); ++i) {
      if (pos < dashes[i]) return i % 2 == 0;
      pos -= dashes[i];
    }
    return true;
  };
  auto outline = [&](int y, double py, int x0, int x1) {
    if (!arc && patternLength == 0) {
      Span(canvas, y, x0, x1, rgb, op);
      return;
    }
    x0 = std::max(x0, canvas.clip.left());
    x1 = std::min(x1, canvas.clip.right());
    for (int x = x0; x <= x1; ++x) {
      if (shown(x, py)) Pixel(canvas, x, y, rgb, op);
    }
  };
  // Pixel columns whose centres lie within an ellipse's row chord, or none.
  auto chord = [&](double ax, double ay, double py, int& x0, int& x1) {
    if (ax <= 0 || ay <= 0) return false;
    const double v = (py - c.y()) / ay;
    const double h = 1 - v * v;
    if (h < 0) return false;
    const double w = ax * std::sqrt(h);
    const double left = std::ceil(c.x() - w - 0.5);
    const double right = std::floor(c.x() + w - 0.5);
    if (std::isnan(left) || std::isnan(right)) return false;
    x0 = static_cast<int>(std::clamp(left, -1.0, maxX));
    x1 = static_cast<int>(std::clamp(right, -1.0, maxX));
    return x0 <= x1;
  };
  for (int y = top; y <= bottom; ++y) {
    const double py = y + 0.5;
    int ox0 = 0;
    int ox1 = 0;
    if (!chord(orx, ory, py, ox0, ox1)) continue;
    int ix0 = 0;
    int ix1 = 0;
    if (chord(irx, iry, py, ix0, ix1)) {
      outline(y, py, ox0, ix0 - 1);
      outline(y, py, ix1 + 1, ox1);
      if (fill) Span(canvas, y, ix0, ix1, *fill, op);
    } else {
      outline(y, py, ox0, ox1);
    }
  }
}

void BlitImage(const PixelCanvas& c, QPoint at, const QImage& picture, PixelOp op) {
  QImage& image = c.image;
  const QRect target = QRect(at, picture.size()).intersected(c.clip);
  for (int y = target.top(); y <= target.bottom(); ++y) {
    auto* dst = reinterpret_cast<uint32_t*>(image.scanLine(y));
    const auto* src = reinterpret_cast<const uint32_t*>(picture.constScanLine(y - at.y()));
    for (int x = target.left(); x <= target.right(); ++x) {
      dst[x] = Apply(dst[x], src[x - at.x()] & 0xFFFFFFu, op);
    }
  }
}

}  // namespace qf
