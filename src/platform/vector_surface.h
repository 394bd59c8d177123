#pragma once

#include <QFont>
#include <QPainter>
#include <vector>

#include "view/surface.h"

namespace qf {

// How a vector surface draws ink of the mask pen: as the pen paints on white paper, or marked
// at kMultiplyMarkOpacity for the file's writer to turn into the multiply blend
// (MarkSvgMultiply), so overlaps darken as on paper.
enum class InkBlend { Paint, MarkMultiply };

// Draws on any QPainter as vector graphics: lines, boxes, rings, pictures and texts become
// elements of their own (an SVG file's, for instance). Vector devices know no raster operations:
// ink of the mask pen is drawn as `blend` says; other draw modes paint as the pen would on white
// paper. Texts are kept and drawn over everything by finish(), as the printer lays them over the
// figures. The painter's device spans `pointsWide` x `pointsHigh` points for scaleWidth x
// scaleHeight page units; draw widths are pixels of a `dpi` printer.
class VectorSurface final : public StatefulSurface {
 public:
  VectorSurface(QPainter& painter, double pointsWide, double pointsHigh, double scaleWidth,
                double scaleHeight, int dpi, InkBlend blend = InkBlend::Paint);

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

  // Draws the page's texts over its figures; the page is complete after it.
  void finish();

 private:
  struct Text {
    QPointF at;
    QFont font;
    QColor color;
    QString text;
  };
  QPointF toPoints(double x, double y) const { return {x * sx_, y * sy_}; }
  QPen pen(int32_t color) const;
  // The painter's opacity for ink of a colour (and the fill, when `filledToo`) in the current
  // draw mode.
  void useInk(int32_t color, bool filledToo = false);

  QPainter& painter_;
  double sx_;
  double sy_;
  double pointsPerDot_;
  QSizeF size_;
  InkBlend blend_;
  QFont font_;
  std::vector<Text> texts_;
};

// Rewrites the group attributes an SVG writer gave ink drawn at kMultiplyMarkOpacity into the
// multiply blend at full opacity; the number of groups changed.
int MarkSvgMultiply(QByteArray& svg);

}  // namespace qf
