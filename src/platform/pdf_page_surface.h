#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <span>
#include <string>
#include <vector>

#include "platform/raster_surface.h"
#include "view/surface.h"

namespace qf {

class PdfTextMapping;

// The opacity that marks what is drawn with the mask pen: Qt's PDF writer knows no blend
// modes, so ink is drawn at this opacity, and MarkMultiplyBlend turns the graphics states that
// carry it into the multiply blend mode once the file is written.
inline constexpr double kMultiplyMarkOpacity = 254.0 / 255.0;

// Rewrites, in place and byte for byte the same length, every graphics state of a PDF file that
// Qt wrote for kMultiplyMarkOpacity into the multiply blend mode at full opacity. False (with a
// reason) when the file cannot be read or written; a file without marks is left as it is.
bool MarkMultiplyBlend(const std::string& path, std::string* error);
// The same on the file's bytes; the number of graphics states changed.
int MarkMultiplyBlendIn(std::string& pdf);

// A printed page as vector graphics on a painter over a PDF device, laid out exactly as the
// composed page (the same pixel grid at the composing resolution, the same rounding), so that the
// PDF rendered at that resolution lights the pixels the composed page does. The printer's ink
// rule (mask pen: the pen AND the page) becomes the multiply blend, which equals it wherever a
// colour's channels are 0 or 255. Texts are kept and drawn over everything when the page ends,
// as the printer lays them over the composed figures.
class PdfPageSurface final : public StatefulSurface {
 public:
  // The page spans `pixels` composed pixels for scaleWidth x scaleHeight page units;
  // `devicePerPixel` device pixels of the painter make one composed pixel, at the resolution
  // `widths` measures at. On a PDF, `mapping` keeps what the texts read back as.
  PdfPageSurface(QPainter& painter, QSize pixels, double scaleWidth, double scaleHeight,
                 double devicePerPixel, TextWidths& widths, PdfTextMapping* mapping);
  ~PdfPageSurface() override;
  PdfPageSurface(const PdfPageSurface&) = delete;
  PdfPageSurface& operator=(const PdfPageSurface&) = delete;

  void setFont(const FontSpec& font) override;

  void line(double x1, double y1, double x2, double y2, int32_t color) override;
  void box(double x1, double y1, double x2, double y2, int32_t color, bool filled) override;
  void fillArea(double x1, double y1, double x2, double y2, int32_t color) override;
  void fillAreas(double originX, double originY, double unitX, double unitY,
                 std::span<const PageRect> areas, int32_t color) override;
  void circle(double cx, double cy, double radius, int32_t color, double aspect,
              std::optional<double> start, std::optional<double> end) override;
  void paintPicture(const Picture& picture, double x, double y, double width, double height,
                    RasterOp op) override;
  void print(std::string_view text) override;
  void clear() override;
  double textWidth(std::string_view text) override;

  // Draws the page's texts over its figures; the page is complete after it.
  void finish();
  // Whether any ink was drawn blended, so the file needs MarkMultiplyBlend.
  bool blended() const { return blended_; }

 private:
  struct Text {
    QPointF topLeft;  // composed pixels
    QFont font;
    QColor color;
    QString text;
  };
  QPointF toPixels(double x, double y) const { return {x * sx_, y * sy_}; }
  // The painter set for ink of a colour in the current draw mode.
  void useInk(const QColor& color);
  void fill(const QRectF& r, const QColor& color);
  void thinLine(QPointF a, QPointF b, const QColor& color, std::span<const int> dashes);

  QPainter& painter_;
  QSize pixels_;
  double sx_;
  double sy_;
  double devicePerPixel_;
  TextWidths& widths_;
  PdfTextMapping* mapping_;
  FontSpec font_;
  std::vector<Text> texts_;
  bool blended_ = false;
};

}  // namespace qf
