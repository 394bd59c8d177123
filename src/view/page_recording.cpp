#include "page_recording.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "view/renderer.h"

namespace qf {

unsigned MidToneChannels(int32_t color) {
  const auto v = static_cast<uint32_t>(color);
  unsigned channels = 0;
  for (unsigned c = 0; c < 3; ++c) {
    const uint32_t value = (v >> (8 * c)) & 0xFF;
    if (value != 0 && value != 0xFF) channels |= 1u << c;
  }
  return channels;
}

PageRecording::PageRecording(double unitsPerPixelX, double unitsPerPixelY,
                             std::function<double(const FontSpec&, std::string_view)> measure)
    : unitsX_(std::abs(unitsPerPixelX)),
      unitsY_(std::abs(unitsPerPixelY)),
      measure_(std::move(measure)) {}

void PageRecording::setDrawMode(DrawMode mode) {
  StatefulSurface::setDrawMode(mode);
  calls_.emplace_back([mode](Surface& s) { s.setDrawMode(mode); });
}

void PageRecording::setDrawStyle(int style) {
  StatefulSurface::setDrawStyle(style);
  calls_.emplace_back([style](Surface& s) { s.setDrawStyle(style); });
}

void PageRecording::setDrawWidth(int width) {
  StatefulSurface::setDrawWidth(width);
  calls_.emplace_back([width](Surface& s) { s.setDrawWidth(width); });
}

void PageRecording::setFillStyle(FillStyle style) {
  StatefulSurface::setFillStyle(style);
  calls_.emplace_back([style](Surface& s) { s.setFillStyle(style); });
}

void PageRecording::setFillColor(int32_t color) {
  StatefulSurface::setFillColor(color);
  calls_.emplace_back([color](Surface& s) { s.setFillColor(color); });
}

void PageRecording::setForeColor(int32_t color) {
  StatefulSurface::setForeColor(color);
  calls_.emplace_back([color](Surface& s) { s.setForeColor(color); });
}

void PageRecording::setFont(const FontSpec& font) {
  font_ = font;
  calls_.emplace_back([font](Surface& s) { s.setFont(font); });
}

void PageRecording::setCurrentXY(double x, double y) {
  StatefulSurface::setCurrentXY(x, y);
  calls_.emplace_back([x, y](Surface& s) { s.setCurrentXY(x, y); });
}

PageRect PageRecording::inked(double x1, double y1, double x2, double y2) const {
  const double pen = std::max(1, width_) / 2.0 + 1;
  return NormalisedRect(x1, y1, x2, y2).grown(pen * unitsX_, pen * unitsY_);
}

void PageRecording::addInks(std::initializer_list<Ink> inks) {
  for (const Ink& ink : inks) {
    if (ink.channels == 0 || ink.area.empty()) continue;
    for (const Ink& earlier : midTones_) {
      // Areas that only touch do not overlap: hatched boxes side by side share an edge, but
      // their insides lie on either side of it.
      const PageRect& a = earlier.area;
      const PageRect& b = ink.area;
      if ((earlier.channels & ink.channels) != 0 && a.left < b.right && b.left < a.right &&
          a.top < b.bottom && b.top < a.bottom) {
        needsComposing_ = true;
      }
    }
  }
  for (const Ink& ink : inks) {
    if (ink.channels != 0 && !ink.area.empty()) midTones_.push_back(ink);
  }
}

void PageRecording::line(double x1, double y1, double x2, double y2, int32_t color) {
  addInks({{inked(x1, y1, x2, y2), MidToneChannels(color)}});
  calls_.emplace_back([=](Surface& s) { s.line(x1, y1, x2, y2, color); });
}

void PageRecording::box(double x1, double y1, double x2, double y2, int32_t color, bool filled) {
  const bool inside = !filled && fillStyle_ == FillStyle::Solid;
  addInks({{inked(x1, y1, x2, y2), MidToneChannels(color)},
           {inside ? NormalisedRect(x1, y1, x2, y2) : PageRect{},
            inside ? MidToneChannels(fillColor_) : 0}});
  calls_.emplace_back([=](Surface& s) { s.box(x1, y1, x2, y2, color, filled); });
}

void PageRecording::fillArea(double x1, double y1, double x2, double y2, int32_t color) {
  addInks({{inked(x1, y1, x2, y2), MidToneChannels(color)}});
  calls_.emplace_back([=](Surface& s) { s.fillArea(x1, y1, x2, y2, color); });
}

void PageRecording::fillAreas(double originX, double originY, double unitX, double unitY,
                              std::span<const PageRect> areas, int32_t color) {
  PageRect all;
  for (const PageRect& a : areas) {
    all.unite(NormalisedRect(originX + a.left * unitX, originY + a.top * unitY,
                             originX + a.right * unitX, originY + a.bottom * unitY));
  }
  addInks({{all.empty() ? PageRect{} : inked(all.left, all.top, all.right, all.bottom),
            MidToneChannels(color)}});
  calls_.emplace_back([=, kept = std::vector<PageRect>(areas.begin(), areas.end())](Surface& s) {
    s.fillAreas(originX, originY, unitX, unitY, kept, color);
  });
}

void PageRecording::circle(double cx, double cy, double radius, int32_t color, double aspect,
                           std::optional<double> start, std::optional<double> end) {
  const auto [rx, ry] = EllipseHalfAxes(radius, aspect);
  const bool inside = !(start && end) && fillStyle_ == FillStyle::Solid;
  addInks({{inked(cx - std::abs(rx), cy - std::abs(ry), cx + std::abs(rx), cy + std::abs(ry)),
            MidToneChannels(color)},
           {inside ? NormalisedRect(cx - rx, cy - ry, cx + rx, cy + ry) : PageRect{},
            inside ? MidToneChannels(fillColor_) : 0}});
  calls_.emplace_back([=](Surface& s) { s.circle(cx, cy, radius, color, aspect, start, end); });
}

void PageRecording::paintPicture(const Picture& picture, double x, double y, double width,
                                 double height, RasterOp op) {
  // A picture may hold any colour.
  addInks({{inked(x, y, x + width, y + height), 7u}});
  // The store may let the picture go before the page is drawn: the page holds its own.
  std::shared_ptr<const Picture> kept = picture.copy();
  calls_.emplace_back([=](Surface& s) { s.paintPicture(*kept, x, y, width, height, op); });
}

void PageRecording::print(std::string_view text) {
  calls_.emplace_back([text = std::string(text)](Surface& s) { s.print(text); });
}

void PageRecording::clear() {
  // What was drawn is gone: nothing overlaps it any more.
  midTones_.clear();
  calls_.emplace_back([](Surface& s) { s.clear(); });
}

double PageRecording::textWidth(std::string_view text) {
  return measure_ ? measure_(font_, text) : 0;
}

void PageRecording::replay(Surface& target) const {
  for (const auto& call : calls_) call(target);
}

}  // namespace qf
