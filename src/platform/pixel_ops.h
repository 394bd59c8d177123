#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <cstdint>
#include <span>

namespace qf {

// How a pixel operation combines a colour with the image, on 0xFFRRGGBB pixels.
enum class PixelOp {
  Copy,    // the colour
  NotXor,  // NOT(colour XOR pixel): twice gives the pixel back
  And,     // colour AND pixel
  Invert,  // NOT pixel, the colour unused
  Xor,     // colour XOR pixel
};

// An image and the part of it that drawing may change. Shapes are worked out on the whole image
// and only their pixels inside the clip are written, so a clipped drawing equals the unclipped
// one inside the clip, pixel for pixel.
struct PixelCanvas {
  PixelCanvas(QImage& target) : image(target), clip(target.rect()) {}  // NOLINT: any image will do
  PixelCanvas(QImage& target, const QRect& area)
      : image(target), clip(area.intersected(target.rect())) {}
  QImage& image;
  QRect clip;
};

// Drawing primitives applied straight to a Format_RGB32 image. Each touches every pixel of its
// shape exactly once, so not-xor drawing stays reversible, and none hands work to other threads.
// Everything is clipped to the canvas.
void FillRect(const PixelCanvas& canvas, QRect rect, uint32_t rgb, PixelOp op);
// A one-pixel line between the pixels holding a and b, both ends included, with an on/off dash
// pattern in pixels (empty: solid).
void DrawThinLine(const PixelCanvas& canvas, QPointF a, QPointF b, uint32_t rgb, PixelOp op,
                  std::span<const int> dashes = {});
// A line of the given width with round ends: every pixel whose centre lies within width / 2 of
// the segment.
void DrawThickLine(const PixelCanvas& canvas, QPointF a, QPointF b, double width, uint32_t rgb,
                   PixelOp op);
// An ellipse outline of the given width around centre c with half-axes rx and ry (pixels): the
// pixels whose centres lie inside the ellipse grown by width / 2 and outside the one shrunk by
// it. With an arc (angles in radians, counter-clockwise as seen, 0 pointing right) only that
// part. A fill colour fills exactly the pixels inside the outline. Dashes follow the curve.
struct EllipseArc {
  double start = 0;
  double end = 0;
};
void DrawEllipse(const PixelCanvas& canvas, QPointF c, double rx, double ry, double width,
                 uint32_t rgb, PixelOp op, std::span<const int> dashes, const EllipseArc* arc,
                 const uint32_t* fill);
// std::atan2(y, x) to within 2e-7 radians, several times faster: an outline's dashes and arc
// ask for the angle of every pixel. -0 counts as 0 (the angle of (-0, -1) is π).
double QuickAtan2(double y, double x);
// Combines a picture with the image at a place, pixel by pixel.
void BlitImage(const PixelCanvas& canvas, QPoint at, const QImage& picture, PixelOp op);

// Dash patterns of the line styles 1 to 4 (dash, dot, dash-dot, dash-dot-dot); empty for solid.
std::span<const int> DashPattern(int style);

}  // namespace qf
