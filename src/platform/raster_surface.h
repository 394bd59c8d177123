#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <array>
#include <map>
#include <tuple>
#include <utility>

#include "platform/pixel_ops.h"
#include "view/page_view.h"
#include "view/surface.h"

namespace qf {

QColor ToQColor(int32_t color);

// An RGB32 image at 96 dpi, the screen's resolution, so that font point sizes map to pixels as on
// the desktop; null when it cannot be had.
QImage ScreenImage(int width, int height);
// A white screen image of the drawing area of `view` (1 x 1 when that many pixels cannot be had).
QImage PageImage(const ViewState& view);

class PdfTextMapping;

// Fonts and text widths as the composed page has them: aliased fonts measured at the composing
// resolution, so that a printed page places aligned texts alike however it is drawn.
class TextWidths {
 public:
  TextWidths();
  void setDpi(int dpi);
  // The resolution of an image.
  void setDpiOf(const QImage& image);
  const QFont& font(const FontSpec& face);
  const QFontMetricsF& metrics(const FontSpec& face);
  // The advance of a text in pixels of the resolution.
  double pixels(const FontSpec& face, std::string_view text);

 private:
  using FontKey = std::tuple<std::string, double, bool, bool, bool, bool>;
  struct Face {
    QFont font;
    QFontMetricsF metrics;  // at the resolution
  };
  const Face& face(const FontSpec& wanted);

  QImage device_;
  std::map<FontKey, Face> faces_;
};

// Whether a text drawn with its top left at `topLeft` can put ink inside `clip`: it is taken to
// fill a box no glyph outgrows (each character at most twice a line's height wide, a line's
// height to spare on every side), so a text far outside a region is not laid out at all.
bool TextMayReach(const QPointF& topLeft, const QFontMetricsF& fm, const QString& text,
                  const QRect& clip);

// The pixel holding a page point given in pixels; far-off values are held at a distance no image
// reaches, so the conversion stays defined.
int PixelOf(double v);
// The pixels from the one holding a to the one holding b, both included, either way round.
QRect PixelBox(QPointF a, QPointF b);
// The pixels whose centres lie in the area between two corners (at least one).
QRect AreaPixels(QPointF a, QPointF b);
// Where a picture lands: at the pixel holding `at`, its size in pixels rounded from `size` (so a
// picture keeps its pixel size wherever it is placed); empty when it shows nothing, or more than
// any page shows.
QRect PicturePixels(QPointF at, QSizeF size);
// Gives an image a resolution in dots per inch.
void SetImageDpi(QImage& image, int dpi);

// The pixels of a box's outline, a pen `width` pixels wide centred on the edges that lie in
// `edges` (its first and last pixels), and the inside the outline leaves (invalid when none).
struct OutlinePixels {
  QRect outer;
  QRect inner;
};
OutlinePixels BoxOutlinePixels(const QRect& edges, int width);
// A dashed box's outline: four sides, each from its corner to just before the next, so no pixel
// is drawn twice and each side starts the pattern at its corner.
std::array<std::pair<QPointF, QPointF>, 4> DashedBoxSides(const QRect& edges);

// Draws a text whose first line's top-left is at topLeft; line breaks (CR LF, CR or LF) start
// lines below it at the same x. On a PDF, `mapping` keeps what its text reads back as.
void DrawTextLines(QPainter& painter, QPaintDevice* device, const QPointF& topLeft,
                   const QString& text, PdfTextMapping* mapping = nullptr);

// Draws on a Format_RGB32 QImage with the raster operations of the original drawing surface:
// not-xor and mask pen are exact, and antialiasing is off, so drawing a line, box, ring or picture
// twice in not-xor restores every pixel. Lines, boxes and pictures are drawn pixel by pixel (a
// QPainter with raster operations is slow and hands small fills to other threads); ellipses,
// arcs and texts go through a QPainter opened for the call. The image spans
// scaleWidth x scaleHeight page units.
class RasterSurface : public StatefulSurface {
 public:
  RasterSurface(QImage& image, double scaleWidth, double scaleHeight);
  ~RasterSurface() override;
  RasterSurface(const RasterSurface&) = delete;
  RasterSurface& operator=(const RasterSurface&) = delete;

  void setFont(const FontSpec& font) override;

  void line(double x1, double y1, double x2, double y2, int32_t color) override;
  void box(double x1, double y1, double x2, double y2, int32_t color, bool filled) override;
  void fillArea(double x1, double y1, double x2, double y2, int32_t color) override;
  void circle(double cx, double cy, double radius, int32_t color, double aspect,
              std::optional<double> start, std::optional<double> end) override;
  void paintPicture(const Picture& picture, double x, double y, double width, double height,
                    RasterOp op) override;
  void print(std::string_view text) override;
  void clear() override;
  double textWidth(std::string_view text) override;
  void setClip(const std::optional<PageRect>& clip) override;

  QPointF toPixels(double x, double y) const { return {x * sx_, y * sy_}; }
  // The pixels a page rectangle covers, within the image.
  QRect pixelsOf(const PageRect& r) const;
  const QImage& image() const { return image_; }

 protected:
  // Texts go onto the image; a printed page keeps them as vector text instead.
  virtual void drawText(const QPointF& topLeft, const QFont& font, const QColor& color,
                        const QString& text);
  int drawWidth() const { return width_; }
  // The pixels drawing may change now: the whole image, or the clip.
  const QRect& clipPixels() const { return clip_; }

 private:
  PixelCanvas canvas() const { return PixelCanvas(image_, clip_); }

  QImage& image_;
  QRect clip_;
  TextWidths fonts_;  // at the image's resolution
  double sx_;
  double sy_;
  FontSpec font_;
};

}  // namespace qf
