#pragma once

#include <algorithm>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qf {

// Draw modes of a surface: how the pen combines with what is already there.
enum class DrawMode : int {
  MaskPen = 9,     // pen AND destination: overlaps darken, as ink does
  NotXorPen = 10,  // NOT(pen XOR destination): drawing twice restores the destination
  CopyPen = 13,    // the pen replaces the destination (the resting state)
};

// Draw styles: the line-style codes of the object list.
enum class DrawStyle : int { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4 };

enum class FillStyle : int { Solid = 0, Transparent = 1 };

// Raster operations for pictures.
enum class RasterOp : uint32_t {
  DstInvert = 0x550009,  // NOT destination
  SrcInvert = 0x660046,  // source XOR destination
  SrcCopy = 0xCC0020,    // source
  SrcAnd = 0x8800C6,     // source AND destination
};

// A rectangle in page units, edges included. Empty when right < left or bottom < top.
struct PageRect {
  double left = 0;
  double top = 0;
  double right = -1;
  double bottom = -1;

  bool empty() const { return !(right >= left && bottom >= top); }
  bool intersects(const PageRect& o) const {
    return !empty() && !o.empty() && left <= o.right && o.left <= right && top <= o.bottom &&
           o.top <= bottom;
  }
  void unite(const PageRect& o) {
    if (o.empty()) return;
    if (empty()) {
      *this = o;
      return;
    }
    left = left < o.left ? left : o.left;
    top = top < o.top ? top : o.top;
    right = right > o.right ? right : o.right;
    bottom = bottom > o.bottom ? bottom : o.bottom;
  }
  PageRect intersected(const PageRect& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom)};
  }
  bool contains(const PageRect& o) const {
    return o.empty() || (left <= o.left && o.right <= right && top <= o.top && o.bottom <= bottom);
  }
  PageRect grown(double dx, double dy) const {
    return empty() ? *this : PageRect{left - dx, top - dy, right + dx, bottom + dy};
  }
  bool operator==(const PageRect&) const = default;
};

struct FontSpec {
  std::string name;
  double pointSize = 0;
  bool bold = false;
  bool italic = false;
  bool strikethrough = false;
  bool underline = false;

  bool operator==(const FontSpec&) const = default;
};

// A decoded picture, made by a PictureStore and drawn by the surfaces of the same platform.
class Picture {
 public:
  virtual ~Picture() = default;
  // Natural size in points.
  virtual double widthPoints() const = 0;
  virtual double heightPoints() const = 0;
  // The same picture, held for as long as the copy lives (a page kept to be drawn later holds
  // its pictures so); sharing the decoded pixels.
  virtual std::shared_ptr<const Picture> copy() const = 0;
};

// The half-axes of the ellipse Surface::circle draws: the radius is the longer one, the other
// the radius times the aspect (height / width) or divided by it.
struct HalfAxes {
  double x;
  double y;
};
inline HalfAxes EllipseHalfAxes(double radius, double aspect) {
  if (aspect > 0 && aspect < 1) return {radius, radius * aspect};
  if (aspect > 1) return {radius / aspect, radius};
  return {radius, radius};
}

// Something the renderer draws on (the design window, an image, a printed page). Coordinates are
// page units, origin at the top-left of the printable page, y down. Colours are
// red + 256 * green + 65536 * blue. Draw width is in device pixels.
class Surface {
 public:
  virtual ~Surface() = default;

  virtual void setDrawMode(DrawMode mode) = 0;
  virtual void setDrawStyle(int style) = 0;
  virtual void setDrawWidth(int width) = 0;
  virtual void setFillStyle(FillStyle style) = 0;
  virtual void setFillColor(int32_t color) = 0;
  virtual int32_t fillColor() const = 0;
  virtual void setForeColor(int32_t color) = 0;
  virtual void setFont(const FontSpec& font) = 0;
  virtual void setCurrentXY(double x, double y) = 0;

  virtual void line(double x1, double y1, double x2, double y2, int32_t color) = 0;
  // An outline in the colour, its inside filled by the fill style and colour ("B"), or the whole
  // box filled with the colour ("BF").
  virtual void box(double x1, double y1, double x2, double y2, int32_t color, bool filled) = 0;
  // The area between the edges filled with the colour, without the pen's pixel past the far
  // edges: a pixel is filled when its centre lies inside, so abutting areas keep their widths
  // (a barcode's bars and spaces). Surfaces without a pixel grid fill the area as it is.
  virtual void fillArea(double x1, double y1, double x2, double y2, int32_t color) {
    box(x1, y1, x2, y2, color, true);
  }
  // Many such areas in one colour (a symbol's bars), given in units of unitX by unitY page units
  // from an origin: a document may keep them as one path of small numbers.
  virtual void fillAreas(double originX, double originY, double unitX, double unitY,
                         std::span<const PageRect> areas, int32_t color) {
    for (const PageRect& a : areas) {
      fillArea(originX + a.left * unitX, originY + a.top * unitY, originX + a.right * unitX,
               originY + a.bottom * unitY, color);
    }
  }
  // An ellipse of the radius and aspect (height / width; the radius is the longer half-axis), or
  // the arc between two angles (radians, counter-clockwise from +x) when both are given.
  virtual void circle(double cx, double cy, double radius, int32_t color, double aspect,
                      std::optional<double> start, std::optional<double> end) = 0;
  virtual void paintPicture(const Picture& picture, double x, double y, double width, double height,
                            RasterOp op) = 0;
  // Text with its top-left at CurrentX, CurrentY, in the fore colour and font; never a raster
  // operation.
  virtual void print(std::string_view text) = 0;
  virtual void clear() = 0;
  virtual double textWidth(std::string_view text) = 0;

  // Restricts every following drawing (clear included) to the pixels of a page rectangle, or
  // lifts the restriction. Surfaces that cannot clip draw everything.
  virtual void setClip(const std::optional<PageRect>& /*clip*/) {}

  // The label that follows the pointer while a text is dragged (design window only).
  virtual void showTextFeedback(double /*x*/, double /*y*/) {}
  virtual void hideTextFeedback() {}
};

// A surface that keeps the drawing state as its setters give it: the pen's mode, style and
// width, the fill, the fore colour and the current point. Those that draw derive from it.
class StatefulSurface : public Surface {
 public:
  void setDrawMode(DrawMode mode) override { mode_ = mode; }
  void setDrawStyle(int style) override { style_ = style; }
  void setDrawWidth(int width) override { width_ = width; }
  void setFillStyle(FillStyle style) override { fillStyle_ = style; }
  void setFillColor(int32_t color) override { fillColor_ = color; }
  int32_t fillColor() const override { return fillColor_; }
  void setForeColor(int32_t color) override { foreColor_ = color; }
  void setCurrentXY(double x, double y) override {
    currentX_ = x;
    currentY_ = y;
  }

 protected:
  DrawMode mode_ = DrawMode::CopyPen;
  int style_ = 0;
  int width_ = 1;
  FillStyle fillStyle_ = FillStyle::Transparent;
  int32_t fillColor_ = 0;
  int32_t foreColor_ = 0;
  double currentX_ = 0;
  double currentY_ = 0;
};

// Decodes picture files; a file that cannot be read gives nullptr.
class PictureStore {
 public:
  virtual ~PictureStore() = default;
  virtual const Picture* picture(std::string_view path) = 0;
};

}  // namespace qf
