#pragma once

#include <memory>
#include <string_view>

#include "basic/value.h"
#include "view/surface.h"

namespace qf::basic {

// A font's members as a program reads and sets them (Name, Size, Bold …) over a FontSpec kept
// elsewhere: the printer's own font. Its default property is its name, so `s = Printer.Font`
// reads the name and `Printer.Font = "Arial"` sets it.
class FontObject : public Object {
 public:
  explicit FontObject(FontSpec& font) : font_(font) {}
  std::string_view typeName() const override { return "Font"; }
  Value get(std::string_view member) override;
  void set(std::string_view member, const Value& value) override;
  std::optional<Value> defaultValue() override { return Value::Str(font_.name); }
  const FontSpec& font() const { return font_; }

 private:
  FontSpec& font_;
};

// A font of its own (Dim f As New StdFont), handed to the printer by Set Printer.Font = f.
class StdFont final : public FontObject {
 public:
  StdFont() : FontObject(own_) {}
  std::string_view typeName() const override { return "StdFont"; }

 private:
  // Built after the base, which only keeps a reference to it until the font is used.
  FontSpec own_{"ＭＳ Ｐゴシック", 9, false, false, false, false};
};

// The height of a line of the face (its ascent and descent) in ems, as Windows measures the
// face: 1 for the MS Japanese faces, a little more for the Latin ones.
double FaceHeightEm(std::string_view face);

// The printer's own names for the font's members (FontName → name …); empty for none.
std::string_view FontMember(std::string_view member);

}  // namespace qf::basic
