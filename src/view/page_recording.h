#pragma once

#include <functional>
#include <string>
#include <vector>

#include "view/surface.h"

namespace qf {

// A page's drawing, kept to be drawn later on the surface that suits it, and what it needs: a
// vector page lays overlapping ink with the multiply blend, which equals the printer's ink rule
// (the pen AND the page) wherever at most one of the inks overlapping in a colour channel has a
// value other than 0 or 255 there. Where two such mid-tones meet (two hatches, a grey rule over
// a grey hatch, a picture under a hatch) the page needs composing as an image instead.
class PageRecording final : public StatefulSurface {
 public:
  // Page units per device pixel of the page, across and down (pens are whole pixels wide);
  // `measure` answers textWidth as the surface the page goes to would.
  PageRecording(double unitsPerPixelX, double unitsPerPixelY,
                std::function<double(const FontSpec&, std::string_view)> measure);

  void setDrawMode(DrawMode mode) override;
  void setDrawStyle(int style) override;
  void setDrawWidth(int width) override;
  void setFillStyle(FillStyle style) override;
  void setFillColor(int32_t color) override;
  void setForeColor(int32_t color) override;
  void setFont(const FontSpec& font) override;
  void setCurrentXY(double x, double y) override;

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

  // Whether mid-tone inks overlap on the page, so that only composing gives its colours.
  bool needsComposing() const { return needsComposing_; }
  // Draws the page as recorded.
  void replay(Surface& target) const;

 private:
  struct Ink {
    PageRect area;
    unsigned channels;  // the colour channels with a mid-tone value (bits 0-2: red, green, blue)
  };
  // Notes one drawing's inks: each a colour over an area. Inks of one drawing do not overlap
  // each other (an outline and the inside it fills).
  void addInks(std::initializer_list<Ink> inks);
  // An area grown by the pen and a pixel of rounding.
  PageRect inked(double x1, double y1, double x2, double y2) const;

  double unitsX_;
  double unitsY_;
  std::function<double(const FontSpec&, std::string_view)> measure_;
  FontSpec font_;
  std::vector<std::function<void(Surface&)>> calls_;
  std::vector<Ink> midTones_;
  bool needsComposing_ = false;
};

// The channels of a colour whose value lies strictly between 0 and 255.
unsigned MidToneChannels(int32_t color);

}  // namespace qf
