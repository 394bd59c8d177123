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
    case ObjectKind::None:
    default:
      break;
  }
  r.Layer = RoundToInt<int16_t>(NumericPrefix(t.cell(row, kColLayer))).value_or(0);
}

ObjectRecord DecodeObjectRow(const TextTable& objects, int row) {
  ObjectRecord r;
  DecodeObjectRow(r, objects, row);
  return r;
}

int StoreWorkingObject(TextTable& t, EditSession& s, int index) {
  ObjectRecord& w = s.working;
  int row = 0;
  if (s.NewObject) {
    if (s.InsertMode) {
      // With no row chosen, insert mode puts the object first.
      row = t.insertRow(s.insertRow < 1 ? 1 : s.insertRow);
    } else {
      row = t.appendRow();
    }
    w.Layer = s.currentLayer;
  } else {
    if (index < 1 || index > static_cast<int>(s.SelectionList.size())) return 0;
    row = s.SelectionList[static_cast<size_t>(index - 1)].row;
    if (row < 1 || row >= t.rowCount()) return 0;
  }

  const WorkingRect& d = s.rect;
  auto put = [&](int col, std::string value) { t.setCell(row, col, std::move(value)); };
  auto putRect = [&] {
    put(kColX1, FormatFixed3(d.x1));
    put(kColY1, FormatFixed3(d.y1));
    put(kColX2, FormatFixed3(d.x2));
    put(kColY2, FormatFixed3(d.y2));
  };

  put(kColKind, KindName(w.Kind));
  put(kColLabel, w.Label);
  switch (w.Kind) {
    case ObjectKind::Text:
      put(kColX1, FormatFixed3(d.x2));
      put(kColY1, FormatFixed3(d.y2));
      put(kColX2, FormatFixed3(s.textExtent.width));
      put(kColY2, FormatFixed3(s.textExtent.height));
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
      put(kColX1, FormatFixed3(d.x2));
      put(kColY1, FormatFixed3(d.y2));
      put(kColX2, FormatFixed3(s.pictureExtent.width));
      put(kColY2, FormatFixed3(s.pictureExtent.height));
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
    case ObjectKind::None:
    default:
      break;
  }
  put(kColLayer, std::to_string(w.Layer));
  return row;
}

void MeasureWorkingText(EditSession& s, const TextMeasurer& measurer, int16_t scaleMode) {
  const PointExtent e = measurer.measureText(s.working);
  s.textExtent = {e.width / 72.0 * UnitsPerInch(scaleMode, false),
                  e.height / 72.0 * UnitsPerInch(scaleMode, true)};
}

void LoadWorkingPicture(EditSession& s, const PictureSizer& sizer, int16_t scaleMode) {
  const auto e = sizer.pictureSize(s.working.Text);
  if (!e) {
    s.pictureExtent = {};
    return;
  }
  s.pictureExtent = {e->width / 72.0 * UnitsPerInch(scaleMode, false),
                     e->height / 72.0 * UnitsPerInch(scaleMode, true)};
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
