#include "platform/pixel_ops.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <random>
#include <utility>

namespace qf {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr double kPi = 3.141592653589793;

QImage Blank(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(kWhite);
  return image;
}

// The outline's angle agrees with the library's everywhere around the circle, on the axes and
// diagonals too, from tiny to page-sized offsets.
TEST(PixelOps, QuickAtan2IsTheLibrarysAngle) {
  double worst = 0;
  for (double r : {1e-6, 0.5, 1.0, 37.25, 4000.0}) {
    for (int k = 0; k < 3600; ++k) {
      const double angle = k * 3.141592653589793 / 1800;
      const double x = r * std::cos(angle);
      const double y = r * std::sin(angle);
      double d = std::abs(QuickAtan2(y, x) - std::atan2(y, x));
      d = std::min(d, std::abs(d - 2 * 3.141592653589793));  // π and -π are one angle
      worst = std::max(worst, d);
    }
  }
  EXPECT_LT(worst, 2e-7);
  for (auto [y, x] : {std::pair{0.0, 1.0},
                      {1.0, 0.0},
                      {0.0, -1.0},
                      {-1.0, 0.0},
                      {3.0, 3.0},
                      {-2.0, -2.0},
                      {0.0, 0.0}}) {
    EXPECT_NEAR(QuickAtan2(y, x), std::atan2(y, x), 1e-12) << y << "," << x;
  }
}

// A thin line is one pixel per step along its longer axis, each the one nearest the line
// between the end pixels; dashes switch pixels off in the pattern's order from the first end;
// a clip changes nothing but what lies outside it.
TEST(PixelOps, ThinLinesAreTheNearestPixelsInDashOrder) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> across(0, 40);
  std::uniform_real_distribution<double> down(0, 30);
  const uint32_t white = 0xFFFFFFFF;
  for (int round = 0; round < 400; ++round) {
    const QPointF a(across(rng), down(rng));
    const QPointF b(round % 5 == 0 ? a.x() : across(rng), round % 7 == 0 ? a.y() : down(rng));
    const std::span<const int> dashes = DashPattern(static_cast<int>(rng() % 5));
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(white);
    DrawThinLine(PixelCanvas(image), a, b, 0xFF000000, PixelOp::Copy, dashes);
    const QPoint pa(static_cast<int>(a.x()), static_cast<int>(a.y()));
    const QPoint pb(static_cast<int>(b.x()), static_cast<int>(b.y()));
    const bool wide = std::abs(pb.x() - pa.x()) >= std::abs(pb.y() - pa.y());
    const int steps = std::max(std::abs(pb.x() - pa.x()), std::abs(pb.y() - pa.y()));
    int drawn = 0;
    for (int i = 0; i <= steps; ++i) {
      // The i-th pixel from the first end, and whether the pattern has it on.
      const double t = steps == 0 ? 0 : static_cast<double>(i) / steps;
      const double minor = wide ? pa.y() + t * (pb.y() - pa.y()) : pa.x() + t * (pb.x() - pa.x());
      const int major = (wide ? pa.x() : pa.y()) +
                        (wide ? (pb.x() > pa.x() ? i : -i) : (pb.y() > pa.y() ? i : -i));
      int on = 0;
      int at = i;
      for (size_t d = 0; !dashes.empty(); d = (d + 1) % dashes.size()) {
        if (at < dashes[d]) {
          on = d % 2 == 0;
          break;
        }
        at -= dashes[d];
      }
      if (dashes.empty()) on = 1;
      int found = 0;
      for (int m = static_cast<int>(std::floor(minor - 0.5)); m <= std::ceil(minor + 0.5); ++m) {
        const QPoint p = wide ? QPoint(major, m) : QPoint(m, major);
        if (!image.rect().contains(p) || image.pixel(p) == white) continue;
        EXPECT_LE(std::abs(m - minor), 0.5 + 1e-9) << round << " step " << i;
        ++found;
      }
      EXPECT_EQ(found, on) << round << " step " << i << " of " << steps;
      drawn += found;
    }
    int total = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) total += image.pixel(x, y) != white;
    }
    ASSERT_EQ(total, drawn) << round << ": pixels off the line";

    QImage clipped(40, 30, QImage::Format_RGB32);
    clipped.fill(white);
    const QRect area(static_cast<int>(rng() % 20), static_cast<int>(rng() % 15), 17, 11);
    DrawThinLine(PixelCanvas(clipped, area), a, b, 0xFF000000, PixelOp::Copy, dashes);
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        ASSERT_EQ(clipped.pixel(x, y), area.contains(x, y) ? image.pixel(x, y) : white)
            << round << " at " << x << "," << y;
      }
    }
  }
}

// A thick line is every pixel whose centre lies within half its width of the segment, however
// short the segment (a dot when both ends meet).
TEST(PixelOps, ThickLinesAreThePixelsWithinHalfTheirWidth) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> place(4, 36);
  std::uniform_real_distribution<double> nudge(-1.5, 1.5);
  for (int round = 0; round < 300; ++round) {
    const QPointF a(place(rng), place(rng));
    // Every third segment is at most a pixel or two long.
    const QPointF b = round % 3 == 0 ? a + QPointF(nudge(rng) / 2, nudge(rng) / 2)
                                     : QPointF(place(rng), place(rng));
    const double width = 2 + static_cast<double>(rng() % 60) / 10;
    QImage image = Blank(40, 40);
    DrawThickLine(PixelCanvas(image), a, b, width, 0xFF000000, PixelOp::Copy);
    const QPointF d = b - a;
    const double len2 = d.x() * d.x() + d.y() * d.y();
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        const QPointF p(x + 0.5, y + 0.5);
        const double t =
            len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / len2, 0.0, 1.0) : 0.0;
        const QPointF near = a + t * d - p;
        const double distance = std::hypot(near.x(), near.y());
        if (std::abs(distance - width / 2) < 1e-6) continue;  // on the edge: either
        ASSERT_EQ(image.pixel(x, y) != kWhite, distance < width / 2)
            << round << " at " << x << "," << y << ": " << distance << " of " << width / 2;
      }
    }
  }
}

// An arc keeps the outline's pixels whose centres lie at angles within it (counter-clockwise
// as seen, 0 pointing right, on the ellipse made round) and none other; a pixel just at an end
// may go either way.
TEST(PixelOps, ArcsKeepTheOutlineWithinTheirAngles) {
  std::mt19937 rng(9);
  std::uniform_real_distribution<double> centre(18, 22);
  std::uniform_real_distribution<double> radius(4, 16);
  std::uniform_real_distribution<double> angle(-2 * kPi, 2 * kPi);
  for (int round = 0; round < 200; ++round) {
    const QPointF c(centre(rng), centre(rng));
    const double rx = radius(rng);
    const double ry = radius(rng);
    const double width = 1 + static_cast<double>(rng() % 3);
    const EllipseArc arc{angle(rng), angle(rng)};
    QImage whole = Blank(40, 40);
    DrawEllipse(PixelCanvas(whole), c, rx, ry, width, 0xFF000000, PixelOp::Copy, {}, nullptr,
                nullptr);
    QImage part = Blank(40, 40);
    DrawEllipse(PixelCanvas(part), c, rx, ry, width, 0xFF000000, PixelOp::Copy, {}, &arc, nullptr);
    double start = std::fmod(arc.start, 2 * kPi);
    if (start < 0) start += 2 * kPi;
    double span = std::fmod(arc.end - arc.start, 2 * kPi);
    if (span <= 0) span += 2 * kPi;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        const bool inPart = part.pixel(x, y) != kWhite;
        if (whole.pixel(x, y) == kWhite) {
          ASSERT_FALSE(inPart) << round << " at " << x << "," << y << ": off the outline";
          continue;
        }
        double a = std::atan2(-(y + 0.5 - c.y()) / ry, (x + 0.5 - c.x()) / rx);
        if (a < 0) a += 2 * kPi;
        double from = a - start;
        if (from < 0) from += 2 * kPi;
        const double margin = 0.01;
        if (from < span - margin && from > margin) {
          ASSERT_TRUE(inPart) << round << " at " << x << "," << y << ": inside the arc";
        } else if (from > span + margin && from < 2 * kPi - margin) {
          ASSERT_FALSE(inPart) << round << " at " << x << "," << y << ": outside the arc";
        }
      }
    }
  }
}

}  // namespace
}  // namespace qf
