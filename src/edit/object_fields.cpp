#include "object_fields.h"

#include <cctype>
#include <cmath>

#include "document/design.h"
#include "document/names.h"
#include "document/number_text.h"

namespace qf {

namespace {

std::string Trimmed(std::string_view s) {
  return std::string(TrimBlanks(s));
}

// The numeric value of a text as a count or width: its leading number, 0 when none.
float SingleOf(std::string_view text) {
  return ToSingle(NumericPrefix(text)).value_or(0.0f);
}

}  // namespace

std::string ColorText(int32_t color) {
  return ColorCell(color);
}

int32_t ColorFromText(std::string_view text) {
  return ParseColorCell(text);
}

bool IsPlainNumber(std::string_view text) {
  text = TrimBlanks(text);
  size_t i = 0;
  auto digits = [&] {
    const size_t from = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    return i - from;
  };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t n = digits();
  if (i < text.size() && text[i] == '.') {
    ++i;
    n += digits();
  }
  if (n == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  return i == text.size() && std::isfinite(NumericPrefix(text));
}

TextField ValidateTextFields(const TextFields& f) {
  if (TrimBlanks(f.text).empty()) return TextField::Text;
  if (TrimBlanks(f.fontName).empty()) return TextField::FontName;
  if (TrimBlanks(f.fontSize).empty()) return TextField::FontSize;
  // "12pt" is no size: refused, like a size of 0, instead of read as its leading number.
  if (!IsPlainNumber(f.fontSize) || !(NumericPrefix(f.fontSize) > 0)) return TextField::FontSize;
  if (!ToSingle(NumericPrefix(f.fontSize))) return TextField::FontSize;
  return TextField::None;
}

void ApplyTextFields(const TextFields& f, ObjectRecord& o) {
  o.Kind = ObjectKind::Text;
  o.Label = f.label;
  o.Text = f.text;
  o.Field = f.field;
  o.Style = f.fontName;
  o.Size = SingleOf(f.fontSize);
  o.Bold = f.bold ? -1 : 0;
  o.Italic = f.italic ? -1 : 0;
  o.Strikethrough = f.strikethrough ? -1 : 0;
  o.Underline = f.underline ? -1 : 0;
  o.Align = static_cast<int16_t>(f.align >= 0 && f.align <= 2 ? f.align : 0);
  o.Color = ColorFromText(f.color);
}

TextFields TextFieldsOf(const ObjectRecord& o) {
  TextFields f;
  f.label = o.Label;
  f.text = o.Text;
  f.field = o.Field;
  f.fontName = o.Style;
  f.fontSize = FormatSingle(o.Size);
  f.bold = o.Bold ? -1 : 0;
  f.italic = o.Italic ? -1 : 0;
  f.strikethrough = o.Strikethrough ? -1 : 0;
  f.underline = o.Underline ? -1 : 0;
  f.align = o.Align >= 0 && o.Align <= 2 ? o.Align : 0;
  f.color = ColorText(o.Color);
  return f;
}

FigureField ValidateFigureFields(const FigureFields& f) {
  // An empty or unreadable width would store nothing sensible.
  if (!IsPlainNumber(f.width) || !ToSingle(NumericPrefix(f.width))) return FigureField::Width;
  return FigureField::None;
}

void ApplyFigureFields(const FigureFields& f, ObjectRecord& o) {
  o.Kind = f.kind;
  o.Label = f.label;
  const bool hatches = f.kind == ObjectKind::Box || f.kind == ObjectKind::Ring;
  o.Text = hatches ? std::to_string(f.hatch >= 0 && f.hatch <= 5 ? f.hatch : 0) : "";
  o.Field = f.kind == ObjectKind::Box && f.rounded ? Trimmed(f.radius) : "";
  o.Style = std::to_string(f.style >= 0 && f.style <= 4 ? f.style : 0);
  o.Size = SingleOf(f.width);
  o.Bold = o.Italic = o.Strikethrough = o.Underline = 0;
  o.Align = 0;
  o.Color = ColorFromText(f.color);
}

FigureFields FigureFieldsOf(const ObjectRecord& o) {
  FigureFields f;
  f.kind = o.Kind;
  f.label = o.Label;
  f.style = RoundToInt<int>(NumericPrefix(o.Style)).value_or(0);
  if (f.style < 0 || f.style > 4) f.style = 0;
  f.width = FormatSingle(o.Size);
  f.hatch = RoundToInt<int>(NumericPrefix(o.Text)).value_or(0);
  if (f.hatch < 0 || f.hatch > 5) f.hatch = 0;
  f.rounded = o.Kind == ObjectKind::Box && !TrimBlanks(o.Field).empty();
  if (f.rounded) f.radius = IsPlainNumber(o.Field) ? FormatFixed3(NumericPrefix(o.Field)) : o.Field;
  f.color = ColorText(o.Color);
  return f;
}

FigureEnabling EnablingOf(const FigureFields& f) {
  FigureEnabling e;
  if (f.kind == ObjectKind::Line) return {false, false, false};
  if (f.kind == ObjectKind::Ring) return {true, false, false};
  // A hatch rules out rounded corners; rounded corners rule out a hatch.
  e.hatch = !f.rounded;
  e.rounded = f.hatch == 0;
  e.radius = f.hatch == 0 && f.rounded;
  return e;
}

void ApplyPictureFields(const PictureFields& f, ObjectRecord& o) {
  o.Kind = ObjectKind::Picture;
  o.Label = f.label;
  o.Text = f.path;
  o.Field.clear();
  o.Style = f.transparent ? "1" : "0";
  o.Size = 0;
  o.Bold = o.Italic = o.Strikethrough = o.Underline = 0;
  o.Align = 0;
}

PictureFields PictureFieldsOf(const ObjectRecord& o) {
  return {o.Label, o.Text, NumericPrefix(o.Style) == 1};
}

CommandField ValidateCommandFields(const CommandFields& f) {
  if (TrimBlanks(f.label).empty()) return CommandField::Label;
  // "5mm" is no gap: refused, instead of passing the check and keeping the old value.
  if (!IsPlainNumber(f.gap) || !(NumericPrefix(f.gap) > 0)) return CommandField::Gap;
  if (!IsPlainNumber(f.count) || !(NumericPrefix(f.count) > 0) ||
      !ToSingle(NumericPrefix(f.count))) {
    return CommandField::Count;
  }
  if (TrimBlanks(f.variable).empty()) return CommandField::Variable;
  return CommandField::None;
}

void ApplyCommandFields(const CommandFields& f, ObjectRecord& o) {
  o.Kind = ObjectKind::Command;
  o.Label = f.label;
  o.X1 = NumericPrefix(f.gap);
  o.Text = f.start ? "0" : "1";
  o.Field = f.variable;
  o.Style = f.direction == 1 ? "1" : "0";
  o.Size = SingleOf(f.count);
  o.Bold = o.Italic = o.Strikethrough = o.Underline = 0;
  o.Align = 0;
}

CommandFields CommandFieldsOf(const ObjectRecord& o) {
  CommandFields f;
  f.label = o.Label;
  f.gap = FormatFixed3(o.X1);
  f.start = o.Text == "0";
  f.direction = o.Style == "0" ? 0 : 1;
  f.count = FormatSingle(o.Size);
  f.variable = o.Field;
  return f;
}

std::vector<StartCommand> StartCommandsOf(const TextTable& objects, int16_t layer) {
  std::vector<StartCommand> starts;
  for (int r = 1; r <= objects.itemCount(); ++r) {
    if (objects.cell(r, kColKind) != KindName(ObjectKind::Command)) continue;
    if (objects.cell(r, kColText) != CommandModeName("0")) continue;
    if (NumericPrefix(objects.cell(r, kColLayer)) != layer) continue;
    starts.push_back({objects.cell(r, kColLabel), r});
  }
  return starts;
}

void CopyStart(const TextTable& objects, int row, CommandFields& f) {
  if (row < 1 || row > objects.itemCount()) return;
  f.direction = objects.cell(row, kColStyle) == DirectionName("0") ? 0 : 1;
  f.gap = objects.cell(row, kColX1);
  f.variable = objects.cell(row, kColField);
  f.count = objects.cell(row, kColSize);
}

}  // namespace qf
