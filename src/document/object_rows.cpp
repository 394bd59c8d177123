#include "object_rows.h"

#include <cmath>
#include <string>

#include "number_text.h"

namespace qf {

namespace {

float SingleCell(const TextTable& t, int row, int col) {
  return ToSingle(NumericPrefix(t.cell(row, col))).value_or(0.0f);
}

}  // namespace

void DecodeObjectRow(ObjectRecord& r, const TextTable& t, int row) {
  r = ObjectRecord{};
  r.Kind = KindFromName(t.cell(row, kColKind));
  r.Label = t.cell(row, kColLabel);
  r.X1 = NumericPrefix(t.cell(row, kColX1));
  r.Y1 = NumericPrefix(t.cell(row, kColY1));
  r.X2 = NumericPrefix(t.cell(row, kColX2));
  r.Y2 = NumericPrefix(t.cell(row, kColY2));
  switch (r.Kind) {
    case ObjectKind::Text:
      r.Text = t.cell(row, kColText);
      r.Field = t.cell(row, kColField);
      r.Style = t.cell(row, kColStyle);
      r.Size = SingleCell(t, row, kColSize);
      r.Bold = FlagFromCell(t.cell(row, kColBold));
      r.Italic = FlagFromCell(t.cell(row, kColItalic));
      r.Strikethrough = FlagFromCell(t.cell(row, kColStrikethrough));
      r.Underline = FlagFromCell(t.cell(row, kColUnderline));
      r.Align = AlignFromName(t.cell(row, kColAlign));
      r.Color = ParseColorCell(t.cell(row, kColColor));
      break;
    case ObjectKind::Line:
      r.Style = LineStyleCode(t.cell(row, kColStyle));
      r.Size = SingleCell(t, row, kColSize);
      r.Color = ParseColorCell(t.cell(row, kColColor));
      break;
    case ObjectKind::Box:
      r.Text = HatchCode(t.cell(row, kColText));
      r.Field = t.cell(row, kColField);
      r.Style = LineStyleCode(t.cell(row, kColStyle));
      r.Size = SingleCell(t, row, kColSize);
      r.Color = ParseColorCell(t.cell(row, kColColor));
      break;
    case ObjectKind::Picture:
      r.Text = t.cell(row, kColText);
      r.Style = TransparencyCode(t.cell(row, kColStyle));
      break;
    case ObjectKind::Command:
      r.Text = CommandModeCode(t.cell(row, kColText));
      r.Field = t.cell(row, kColField);
      r.Style = DirectionCode(t.cell(row, kColStyle));
      r.Size = SingleCell(t, row, kColSize);
      break;
    case ObjectKind::Ring:
      r.Text = HatchCode(t.cell(row, kColText));
      r.Style = LineStyleCode(t.cell(row, kColStyle));
      r.Size = SingleCell(t, row, kColSize);
      r.Color = ParseColorCell(t.cell(row, kColColor));
      break;
    case ObjectKind::Barcode:
      r.Text = t.cell(row, kColText);
      r.Field = t.cell(row, kColField);
      r.Style = SymbologyCode(SymbologyName(SymbologyCode(t.cell(row, kColStyle))));
      r.Size = SingleCell(t, row, kColSize);
      r.Color = ParseColorCell(t.cell(row, kColColor));
      break;
    case ObjectKind::None:
      break;
  }
  r.Layer = RoundToInt<int16_t>(NumericPrefix(t.cell(row, kColLayer))).value_or(0);
}

ObjectRecord DecodeObjectRow(const TextTable& objects, int row) {
  ObjectRecord r;
  DecodeObjectRow(r, objects, row);
  return r;
}

namespace {

// Writes the cells an object of its kind uses; the others keep what they hold.
void WriteObjectCells(TextTable::Row& cells, const ObjectRecord& w, const WorkingRect& d,
                      const Extent& measured) {
  cells.resize(kObjectColumns);
  auto put = [&](int col, std::string value) {
    cells[static_cast<size_t>(col)] = std::move(value);
  };
  auto putRect = [&] {
    put(kColX1, FormatFixed3(d.x1));
    put(kColY1, FormatFixed3(d.y1));
    put(kColX2, FormatFixed3(d.x2));
    put(kColY2, FormatFixed3(d.y2));
  };
  auto putPoint = [&] {
    put(kColX1, FormatFixed3(d.x2));
    put(kColY1, FormatFixed3(d.y2));
    put(kColX2, FormatFixed3(measured.width));
    put(kColY2, FormatFixed3(measured.height));
  };

  put(kColKind, KindName(w.Kind));
  put(kColLabel, w.Label);
  switch (w.Kind) {
    case ObjectKind::Text:
      putPoint();
      put(kColText, w.Text);
      put(kColField, w.Field);
      put(kColStyle, w.Style);
      put(kColSize, FormatSingle(w.Size));
      put(kColBold, FlagCell(w.Bold));
      put(kColItalic, FlagCell(w.Italic));
      put(kColStrikethrough, FlagCell(w.Strikethrough));
      put(kColUnderline, FlagCell(w.Underline));
      put(kColAlign, AlignName(w.Align));
      put(kColColor, ColorCell(w.Color));
      break;
    case ObjectKind::Line:
      putRect();
      put(kColStyle, LineStyleName(w.Style));
      put(kColSize, FormatSingle(w.Size));
      put(kColColor, ColorCell(w.Color));
      break;
    case ObjectKind::Box: {
      putRect();
      put(kColText, HatchName(w.Text));
      // A radius that is not a number leaves the cell as it was.
      if (TrimBlanks(w.Field).empty()) {
        put(kColField, "");
      } else if (auto radius = NumericPrefixIfAny(w.Field)) {
        put(kColField, FormatFixed3(*radius));
      }
      put(kColStyle, LineStyleName(w.Style));
      put(kColSize, FormatSingle(w.Size));
      put(kColColor, ColorCell(w.Color));
      break;
    }
    case ObjectKind::Picture:
      putPoint();
      put(kColText, w.Text);
      put(kColStyle, TransparencyName(w.Style));
      put(kColSize, FormatSingle(w.Size));
      break;
    case ObjectKind::Command:
      put(kColX1, FormatFixed3(w.X1));
      put(kColText, CommandModeName(w.Text));
      put(kColField, w.Field);
      put(kColStyle, DirectionName(w.Style));
      put(kColSize, FormatSingle(w.Size));
      break;
    case ObjectKind::Ring:
      putRect();
      put(kColText, HatchName(w.Text));
      put(kColStyle, LineStyleName(w.Style));
      put(kColSize, FormatSingle(w.Size));
      put(kColColor, ColorCell(w.Color));
      break;
    case ObjectKind::Barcode:
      putRect();
      put(kColText, w.Text);
      put(kColField, w.Field);
      put(kColStyle, SymbologyName(w.Style));
      put(kColSize, FormatSingle(w.Size));
      put(kColColor, ColorCell(w.Color));
      break;
    case ObjectKind::None:
      break;
  }
  put(kColLayer, std::to_string(w.Layer));
}

Extent PointsToUnits(const PointExtent& e, int16_t scaleMode) {
  return {e.width / 72.0 * UnitsPerInch(scaleMode, false),
          e.height / 72.0 * UnitsPerInch(scaleMode, true)};
}

}  // namespace

int AddObject(TextTable& objects, ObjectRecord object, const WorkingRect& place,
              const Extent& measured, int16_t layer, int insertAt) {
  // The row is written whole before anyone hears of it, so a new row never shows half made.
  TextTable::Row cells(static_cast<size_t>(objects.columnCount()));
  object.Layer = layer;
  WriteObjectCells(cells, object, place, measured);
  return objects.insertRow(insertAt >= 1 ? insertAt : objects.rowCount(), std::move(cells));
}

bool RewriteObject(TextTable& objects, int row, const ObjectRecord& object,
                   const WorkingRect& place, const Extent& measured) {
  if (row < 1 || row >= objects.rowCount()) return false;
  TextTable::Row cells = objects.row(row);
  WriteObjectCells(cells, object, place, measured);
  for (int c = kColKind; c < objects.columnCount() && c < static_cast<int>(cells.size()); ++c) {
    objects.setCell(row, c, std::move(cells[static_cast<size_t>(c)]));
  }
  return true;
}

Extent MeasureText(const TextMeasurer& measurer, const ObjectRecord& text, int16_t scaleMode) {
  return PointsToUnits(measurer.measureText(text), scaleMode);
}

Extent MeasurePicture(const PictureSizer& sizer, std::string_view path, int16_t scaleMode) {
  const auto e = sizer.pictureSize(path);
  return e ? PointsToUnits(*e, scaleMode) : Extent{};
}

RingShape RingGeometry(double x1, double y1, double x2, double y2) {
  const auto w = static_cast<float>(x2 - x1);
  const auto h = static_cast<float>(y2 - y1);
  RingShape g;
  if (w <= 0 || h <= 0) {
    g.aspect = 1;
  } else {
    const double ratio = static_cast<double>(std::fabs(h) / std::fabs(w));
    g.aspect = static_cast<float>(std::nearbyint(ratio * 10000.0) / 10000.0);
  }
  g.radius = w > h ? std::fabs(w) / 2 : std::fabs(h) / 2;
  g.cx = static_cast<float>(x1 + static_cast<double>(w) / 2);
  g.cy = static_cast<float>(y1 + static_cast<double>(h) / 2);
  return g;
}

}  // namespace qf
