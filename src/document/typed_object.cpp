#include "typed_object.h"

#include "number_text.h"
#include "object_rows.h"

namespace qf {

namespace {

Hatch HatchOf(const std::string& code) {
  Hatch h;
  h.hatched = code != "0";
  if (h.hatched) h.palette = HatchPaletteIndex(code);
  return h;
}

std::string HatchCodeOf(const Hatch& h) {
  if (!h.hatched) return "0";
  return h.palette ? std::to_string(*h.palette) : std::string();
}

Pen PenOf(const ObjectRecord& r) {
  return {RoundToInt<int>(NumericPrefix(r.Style)).value_or(0), r.Size};
}

void SetPen(ObjectRecord& r, const Pen& pen) {
  r.Style = std::to_string(pen.style);
  r.Size = pen.width;
}

Symbology SymbologyOf(const std::string& code) {
  for (int i = 0; i < kSymbologyCount; ++i) {
    if (code == std::to_string(i)) return static_cast<Symbology>(i);
  }
  return Symbology::Jan13;
}

int16_t Flag(bool on) {
  return on ? -1 : 0;
}

}  // namespace

TextObject TextOf(const ObjectRecord& r) {
  return TextObject{
      r.Text,           r.Field, r.Style, r.Size, r.Bold != 0, r.Italic != 0, r.Strikethrough != 0,
      r.Underline != 0, r.Align, r.Color};
}

std::optional<CommandObject> CommandOf(const ObjectRecord& r) {
  if (r.Kind != ObjectKind::Command) return std::nullopt;
  CommandObject c;
  c.start = r.Text == "0";
  c.variable = r.Field;
  c.direction = r.Style == "0" ? Direction::Down : Direction::Across;
  c.gap = r.X1;
  c.count = r.Size;
  return c;
}

ObjectBody BodyOf(const ObjectRecord& r) {
  switch (r.Kind) {
    case ObjectKind::Text:
      return TextOf(r);
    case ObjectKind::Line:
      return LineObject{PenOf(r), r.Color};
    case ObjectKind::Box:
      return BoxObject{HatchOf(r.Text), r.Field, ToSingle(NumericPrefix(r.Field)).value_or(0.0f),
                       PenOf(r), r.Color};
    case ObjectKind::Picture:
      return PictureObject{r.Text, r.Style != "0"};
    case ObjectKind::Command:
      return *CommandOf(r);
    case ObjectKind::Ring:
      return RingObject{HatchOf(r.Text), PenOf(r), r.Color};
    case ObjectKind::Barcode:
      return BarcodeObject{SymbologyOf(r.Style), r.Text, r.Field, r.Size, r.Color};
    case ObjectKind::None:
      break;
  }
  return UnknownObject{};
}

void SetBody(ObjectRecord& r, const ObjectBody& body) {
  // Cells the kind does not carry are emptied, as a decoded row leaves them.
  r.Text.clear();
  r.Field.clear();
  r.Style.clear();
  r.Size = 0;
  r.Bold = r.Italic = r.Strikethrough = r.Underline = 0;
  r.Align = 0;
  r.Color = 0;
  std::visit(Overloaded{
                 [&r](const UnknownObject&) { r.Kind = ObjectKind::None; },
                 [&r](const TextObject& t) {
                   r.Kind = ObjectKind::Text;
                   r.Text = t.text;
                   r.Field = t.field;
                   r.Style = t.font;
                   r.Size = t.size;
                   r.Bold = Flag(t.bold);
                   r.Italic = Flag(t.italic);
                   r.Strikethrough = Flag(t.strikethrough);
                   r.Underline = Flag(t.underline);
                   r.Align = t.align;
                   r.Color = t.color;
                 },
                 [&r](const LineObject& l) {
                   r.Kind = ObjectKind::Line;
                   SetPen(r, l.pen);
                   r.Color = l.color;
                 },
                 [&r](const BoxObject& b) {
                   r.Kind = ObjectKind::Box;
                   r.Text = HatchCodeOf(b.hatch);
                   r.Field = b.radius;
                   SetPen(r, b.pen);
                   r.Color = b.color;
                 },
                 [&r](const PictureObject& p) {
                   r.Kind = ObjectKind::Picture;
                   r.Text = p.path;
                   r.Style = p.transparent ? "1" : "0";
                 },
                 [&r](const CommandObject& c) {
                   r.Kind = ObjectKind::Command;
                   r.Text = c.start ? "0" : "1";
                   r.Field = c.variable;
                   r.Style = c.direction == Direction::Down ? "0" : "1";
                   r.X1 = c.gap;
                   r.Size = c.count;
                 },
                 [&r](const BarcodeObject& b) {
                   r.Kind = ObjectKind::Barcode;
                   r.Text = b.value;
                   r.Field = b.field;
                   r.Style = std::to_string(static_cast<int>(b.symbology));
                   r.Size = b.digitsSize;
                   r.Color = b.color;
                 },
                 [&r](const RingObject& g) {
                   r.Kind = ObjectKind::Ring;
                   r.Text = HatchCodeOf(g.hatch);
                   SetPen(r, g.pen);
                   r.Color = g.color;
                 },
             },
             body);
}

}  // namespace qf
