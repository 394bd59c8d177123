#pragma once

#include <QFont>
#include <QPainter>

#include "view/surface.h"

namespace qf {

// Draws on any QPainter as vector graphics: lines, boxes, rings, pictures and texts become
// elements of their own (an SVG file's, for instance). Vector devices know no raster operations,
// so every draw mode paints as the pen would on white paper. The painter's device spans
// `pointsWide` x `pointsHigh` points for scaleWidth x scaleHeight page units; draw widths are
// pixels of a `dpi` printer.
class VectorSurface final : public StatefulSurface {
 public:
  VectorSurface(QPainter& painter, double pointsWide, double pointsHigh, double scaleWidth,
                double scaleHeight, int dpi);

  void setFont(const FontSpec& font) override;

  void line(double x1, double y1, double x2, double y2, int32_t color) override;
  void box(double x1, double y1, double x2, double y2, int32_t color, bool filled) override;
  void circle(double cx, double cy, double radius, int32_t color, double aspect,
              std::optional<double> start, std::optional<double> end) override;
  void paintPicture(const Picture& picture, double x, double y, double width, double height,
                    RasterOp op) override;
  void print(std::string_view text) override;
  void clear() override;
  double textWidth(std::string_view text) override;

 private:
  QPointF toPoints(double x, double y) const { return {x * sx_, y * sy_}; }
  QPen pen(int32_t color) const;

  QPainter& painter_;
  double sx_;
  double sy_;
  double pointsPerDot_;
  QSizeF size_;
  QFont font_;
};

}  // namespace qf
