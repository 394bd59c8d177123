#include "object_fields.h"

#include <cctype>
#include <cmath>

#include "document/design.h"
#include "document/names.h"
#include "document/number_text.h"
#include "document/object_rows.h"
#include "document/typed_object.h"

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
  o.Label = f.label;
  SetBody(o, TextObject{f.text, f.field, f.fontName, SingleOf(f.fontSize), f.bold != 0,
                        f.italic != 0, f.strikethrough != 0, f.underline != 0,
                        static_cast<int16_t>(f.align >= 0 && f.align <= 2 ? f.align : 0),
                        ColorFromText(f.color)});
}

TextFields TextFieldsOf(const ObjectRecord& o) {
  const TextObject t = TextOf(o);
  TextFields f;
  f.label = o.Label;
  f.text = t.text;
  f.field = t.field;
  f.fontName = t.font;
  f.fontSize = FormatSingle(t.size);
  f.bold = t.bold ? -1 : 0;
  f.italic = t.italic ? -1 : 0;
  f.strikethrough = t.strikethrough ? -1 : 0;
  f.underline = t.underline ? -1 : 0;
  f.align = t.align >= 0 && t.align <= 2 ? t.align : 0;
  f.color = ColorText(t.color);
  return f;
}

FigureField ValidateFigureFields(const FigureFields& f) {
  // An empty or unreadable width would store nothing sensible.
  if (!IsPlainNumber(f.width) || !ToSingle(NumericPrefix(f.width))) return FigureField::Width;
  return FigureField::None;
}

void ApplyFigureFields(const FigureFields& f, ObjectRecord& o) {
  o.Label = f.label;
  const Pen pen{f.style >= 0 && f.style <= 4 ? f.style : 0, SingleOf(f.width)};
  const int32_t color = ColorFromText(f.color);
  Hatch hatch;
  if (f.hatch >= 1 && f.hatch <= 5) hatch = {true, f.hatch};
  switch (f.kind) {
    case ObjectKind::Box:
      SetBody(o, BoxObject{hatch, f.rounded ? Trimmed(f.radius) : "", 0, pen, color});
      break;
    case ObjectKind::Ring:
      SetBody(o, RingObject{hatch, pen, color});
      break;
    case ObjectKind::Line:
    case ObjectKind::Text:
    case ObjectKind::Picture:
    case ObjectKind::Command:
    case ObjectKind::Barcode:
    case ObjectKind::None:
      SetBody(o, LineObject{pen, color});
      o.Kind = f.kind;
      break;
  }
}

FigureFields FigureFieldsOf(const ObjectRecord& o) {
  FigureFields f;
  f.kind = o.Kind;
  f.label = o.Label;
  f.width = FormatSingle(o.Size);
  f.color = ColorText(o.Color);
  const auto fromPen = [&f](const Pen& pen) {
    f.style = pen.style >= 0 && pen.style <= 4 ? pen.style : 0;
  };
  std::visit(Overloaded{
                 [&](const BoxObject& b) {
                   fromPen(b.pen);
                   f.hatch = b.hatch.palette.value_or(0);
                   f.rounded = !TrimBlanks(b.radius).empty();
                   if (f.rounded) {
                     f.radius =
                         IsPlainNumber(b.radius) ? FormatFixed3(NumericPrefix(b.radius)) : b.radius;
                   }
                 },
                 [&](const RingObject& g) {
                   fromPen(g.pen);
                   f.hatch = g.hatch.palette.value_or(0);
                 },
                 [&](const LineObject& l) { fromPen(l.pen); },
                 [](const BarcodeObject&) {},
                 [](const TextObject&) {},
                 [](const PictureObject&) {},
                 [](const CommandObject&) {},
                 [](const UnknownObject&) {},
             },
             BodyOf(o));
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
  o.Label = f.label;
  SetBody(o, PictureObject{f.path, f.transparent});
}

PictureFields PictureFieldsOf(const ObjectRecord& o) {
  const ObjectBody body = BodyOf(o);
  const auto* picture = std::get_if<PictureObject>(&body);
  return picture ? PictureFields{o.Label, picture->path, picture->transparent}
                 : PictureFields{o.Label, "", false};
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
  o.Label = f.label;
  SetBody(o,
          CommandObject{f.start, f.variable, f.direction == 1 ? Direction::Across : Direction::Down,
                        NumericPrefix(f.gap), SingleOf(f.count)});
}

CommandFields CommandFieldsOf(const ObjectRecord& o) {
  const CommandObject c = CommandOf(o).value_or(CommandObject{});
  CommandFields f;
  f.label = o.Label;
  f.gap = FormatFixed3(c.gap);
  f.start = c.start;
  f.direction = c.direction == Direction::Down ? 0 : 1;
  f.count = FormatSingle(c.count);
  f.variable = c.variable;
  return f;
}

std::vector<StartCommand> StartCommandsOf(const TextTable& objects, int16_t layer) {
  std::vector<StartCommand> starts;
  for (int r = 1; r <= objects.itemCount(); ++r) {
    if (KindFromName(objects.cell(r, kColKind)) != ObjectKind::Command) continue;
    const std::optional<CommandObject> command = CommandOf(DecodeObjectRow(objects, r));
    if (!command || !command->start) continue;
    if (NumericPrefix(objects.cell(r, kColLayer)) != layer) continue;
    starts.push_back({objects.cell(r, kColLabel), r});
  }
  return starts;
}

void CopyStart(const TextTable& objects, int row, CommandFields& f) {
  if (row < 1 || row > objects.itemCount()) return;
  // The gap and count as their cells hold them, so the dialog shows what the grid shows.
  const CommandObject start = CommandOf(DecodeObjectRow(objects, row)).value_or(CommandObject{});
  f.direction = start.direction == Direction::Down ? 0 : 1;
  f.gap = objects.cell(row, kColX1);
  f.variable = start.variable;
  f.count = objects.cell(row, kColSize);
}

}  // namespace qf
