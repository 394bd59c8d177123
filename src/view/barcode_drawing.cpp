#include "view/barcode_drawing.h"

namespace qf {

namespace {

constexpr int32_t kCrossRed = 255;

void DrawRefused(Surface& s, const WorkingRect& b) {
  s.setDrawMode(DrawMode::MaskPen);
  s.setDrawStyle(static_cast<int>(DrawStyle::Solid));
  s.setDrawWidth(1);
  s.box(b.x1, b.y1, b.x2, b.y2, kCrossRed, false);
  s.line(b.x1, b.y1, b.x2, b.y2, kCrossRed);
  s.line(b.x1, b.y2, b.x2, b.y1, kCrossRed);
  s.setDrawMode(DrawMode::CopyPen);
}

}  // namespace

void DrawBarcode(Surface& s, const WorkingRect& box, const BarcodeObject& barcode,
                 int16_t scaleMode, double pointSize) {
  DrawPlacedBarcode(s, box, PlaceBarcodeObject(barcode, box, scaleMode), barcode.color, pointSize);
}

void DrawPlacedBarcode(Surface& s, const WorkingRect& box, const BarcodeDrawing& placed,
                       int32_t color, double pointSize) {
  const auto* p = std::get_if<PlacedBarcode>(&placed);
  if (!p) {
    DrawRefused(s, box);
    return;
  }
  s.setDrawMode(DrawMode::MaskPen);
  s.setDrawStyle(static_cast<int>(DrawStyle::Solid));
  s.setDrawWidth(1);
  std::vector<PageRect> bars;
  bars.reserve(p->symbolBars.size());
  for (const BarRect& b : p->symbolBars) bars.push_back({b.x, b.y, b.x + b.width, b.y + b.height});
  s.fillAreas(p->left, p->top, p->scaleX, p->scaleY, bars, color);
  s.setDrawMode(DrawMode::CopyPen);
  if (!p->digitsShown) return;
  s.setFont(FontSpec{kBarcodeDigitsFont, pointSize});
  s.setForeColor(color);
  const double width = s.textWidth(p->digits);
  s.setCurrentXY(p->digitsX + (p->digitsWidth - width) / 2, p->digitsY);
  s.print(p->digits);
}

}  // namespace qf
