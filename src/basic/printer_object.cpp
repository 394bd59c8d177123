#include "printer_object.h"

#include <cmath>

#include "view/renderer.h"

namespace qf::basic {

namespace {

// Printer.Font: its members read and set the printer's font.
class FontObject final : public Object {
 public:
  explicit FontObject(PrinterState& state) : state_(state) {}
  std::string_view typeName() const override { return "Font"; }
  Value get(std::string_view m) override {
    const FontSpec& f = state_.font;
    if (m == "name") return Value::Str(f.name);
    if (m == "size") return Value::Sng(f.pointSize);
    if (m == "bold") return Value::Bool(f.bold);
    if (m == "italic") return Value::Bool(f.italic);
    if (m == "strikethrough") return Value::Bool(f.strikethrough);
    if (m == "underline") return Value::Bool(f.underline);
    return Object::get(m);
  }
  void set(std::string_view m, const Value& v) override {
    FontSpec& f = state_.font;
    if (m == "name") {
      f.name = ToText(v);
    } else if (m == "size") {
      const double size = ToNumber(v);
      if (!(size > 0 && size <= 2048)) throw RunFailure{"フォントの大きさが範囲の外です"};
      f.pointSize = static_cast<float>(size);
    } else if (m == "bold") {
      f.bold = ToBool(v);
    } else if (m == "italic") {
      f.italic = ToBool(v);
    } else if (m == "strikethrough") {
      f.strikethrough = ToBool(v);
    } else if (m == "underline") {
      f.underline = ToBool(v);
    } else {
      Object::set(m, v);
    }
  }

 private:
  PrinterState& state_;
};

int SmallInt(const Value& v, int low, int high, const char* what) {
  const double n = BankersRound(ToNumber(v));
  if (!(n >= low && n <= high)) throw RunFailure{std::string(what) + " の値が範囲の外です"};
  return static_cast<int>(n);
}

// The printer's own names for the font's members (FontName, FontBold ...).
std::string_view FontMember(std::string_view m) {
  if (m == "fontname") return "name";
  if (m == "fontsize") return "size";
  if (m == "fontbold") return "bold";
  if (m == "fontitalic") return "italic";
  if (m == "fontstrikethru" || m == "fontstrikethrough") return "strikethrough";
  if (m == "fontunderline") return "underline";
  return {};
}

}  // namespace

Surface& PrinterObject::page() {
  if (!page_) {
    page_ = port_.beginPage();
    if (!page_) throw RunFailure{"プリンターがページを始められません"};
    ++pages_;
    ended_ = false;
  }
  return *page_;
}

Surface& PrinterObject::penReady() {
  Surface& s = page();
  s.setDrawMode(static_cast<DrawMode>(state_.drawMode));
  s.setDrawStyle(state_.drawStyle);
  s.setDrawWidth(state_.drawWidth);
  s.setFillStyle(static_cast<FillStyle>(state_.fillStyle));
  s.setFillColor(state_.fillColor);
  return s;
}

Surface& PrinterObject::textReady() {
  Surface& s = page();
  s.setFont(state_.font);
  s.setForeColor(state_.foreColor);
  return s;
}

Value PrinterObject::get(std::string_view m) {
  if (m == "currentx") return Value::Sng(state_.currentX);
  if (m == "currenty") return Value::Sng(state_.currentY);
  if (m == "forecolor") return Value::Lng(state_.foreColor);
  if (m == "fillcolor") return Value::Lng(state_.fillColor);
  if (m == "drawmode") return Value::Int(state_.drawMode);
  if (m == "drawstyle") return Value::Int(state_.drawStyle);
  if (m == "drawwidth") return Value::Int(state_.drawWidth);
  if (m == "fillstyle") return Value::Int(state_.fillStyle);
  const PrinterPage p = port_.page();
  if (m == "scalemode") return Value::Int(p.scaleMode);
  if (m == "papersize") return Value::Int(p.paperSize);
  if (m == "orientation") return Value::Int(p.orientation);
  if (m == "scalewidth") return Value::Sng(p.scaleWidth);
  if (m == "scaleheight") return Value::Sng(p.scaleHeight);
  if (m == "width") return Value::Lng(std::round(p.widthTwips));
  if (m == "height") return Value::Lng(std::round(p.heightTwips));
  if (m == "page") return Value::Int(pages_);
  if (m == "font") {
    if (!fontObject_) fontObject_ = std::make_shared<FontObject>(state_);
    return Value::Obj(fontObject_);
  }
  if (const std::string_view f = FontMember(m); !f.empty()) return FontObject(state_).get(f);
  if (m == "newpage" || m == "enddoc" || m == "killdoc" || m == "cls") return call(m, {}, {});
  return Object::get(m);
}

void PrinterObject::set(std::string_view m, const Value& v) {
  if (m == "currentx") {
    state_.currentX = ToNumber(v);
  } else if (m == "currenty") {
    state_.currentY = ToNumber(v);
  } else if (m == "forecolor") {
    state_.foreColor = static_cast<int32_t>(Coerce(v, Type::Long).number);
  } else if (m == "fillcolor") {
    state_.fillColor = static_cast<int32_t>(Coerce(v, Type::Long).number);
  } else if (m == "drawmode") {
    state_.drawMode = SmallInt(v, 1, 16, "DrawMode");
  } else if (m == "drawstyle") {
    state_.drawStyle = SmallInt(v, 0, 6, "DrawStyle");
  } else if (m == "drawwidth") {
    state_.drawWidth = SmallInt(v, 1, 32767, "DrawWidth");
  } else if (m == "fillstyle") {
    state_.fillStyle = SmallInt(v, 0, 7, "FillStyle") == 0 ? 0 : 1;
  } else if (m == "scalemode") {
    port_.setScaleMode(static_cast<int16_t>(SmallInt(v, 0, 7, "ScaleMode")));
  } else if (m == "papersize") {
    port_.setPaperSize(static_cast<int16_t>(SmallInt(v, 1, 256, "PaperSize")));
  } else if (m == "orientation") {
    port_.setOrientation(static_cast<int16_t>(SmallInt(v, 1, 2, "Orientation")));
  } else if (const std::string_view f = FontMember(m); !f.empty()) {
    FontObject(state_).set(f, v);
  } else {
    Object::set(m, v);
  }
}

Value PrinterObject::call(std::string_view m, const std::vector<Value>& args,
                          const std::vector<bool>& missing) {
  auto given = [&](size_t i) { return i < args.size() && !(i < missing.size() && missing[i]); };
  if (m == "textwidth" || m == "textheight") {
    if (args.size() != 1) throw RunFailure{"TextWidth の引数は文字列一つです"};
    Surface& s = textReady();
    const std::string text = ToText(args[0]);
    if (m == "textwidth") return Value::Sng(s.textWidth(text));
    // A line of the font: its size with the spacing lines have, in page units.
    const PrinterPage p = port_.page();
    const double unitsPerPoint = p.scaleHeight / (p.heightTwips / 20.0);
    return Value::Sng(state_.font.pointSize * 1.2 * unitsPerPoint);
  }
  if (m == "newpage") {
    page();
    page_ = nullptr;
    page();
    state_.currentX = 0;
    state_.currentY = 0;
    return {};
  }
  if (m == "enddoc") {
    std::string error;
    if (!finish(&error)) throw RunFailure{"印刷できません：" + error};
    return {};
  }
  if (m == "killdoc") {
    page_ = nullptr;
    ended_ = true;
    return {};
  }
  if (m == "cls") {
    page().clear();
    return {};
  }
  if (m == "paintpicture") {
    if (!given(0) || !given(1) || !given(2))
      throw RunFailure{"PaintPicture には画像と位置が必要です"};
    auto* pic =
        args[0].type == Type::Object ? dynamic_cast<PictureObject*>(args[0].object.get()) : nullptr;
    if (!pic) throw RunFailure{"PaintPicture の最初の引数は画像です"};
    const Extent natural = PictureExtent(pic->picture(), port_.page().scaleMode);
    const double w = given(3) ? ToNumber(args[3]) : natural.width;
    const double h = given(4) ? ToNumber(args[4]) : natural.height;
    RasterOp op = RasterOp::SrcCopy;
    if (given(9)) {
      const double code = ToNumber(args[9]);
      if (!(code >= 0 && code <= 0xFFFFFF)) throw RunFailure{"ラスタ演算の値が範囲の外です"};
      op = static_cast<RasterOp>(static_cast<uint32_t>(code));
    }
    Surface& s = page();
    s.paintPicture(pic->picture(), ToNumber(args[1]), ToNumber(args[2]), w, h, op);
    return {};
  }
  return Object::call(m, args, missing);
}

bool PrinterObject::finish(std::string* error) {
  if (ended_ && !page_) return true;
  if (!page_ && pages_ == 0) {
    ended_ = true;
    return true;  // nothing was printed: nothing to end
  }
  page_ = nullptr;
  ended_ = true;
  return port_.endDoc(error);
}

void PrinterObject::printText(std::string_view text) {
  Surface& s = textReady();
  s.setCurrentXY(state_.currentX, state_.currentY);
  s.print(text);
  state_.currentX += s.textWidth(text);
}

void PrinterObject::nextZone() {
  // Print zones are 14 columns of the font's average character.
  const double zone = 14 * ToNumber(call("textwidth", {Value::Str("0")}, {}));
  if (zone > 0) state_.currentX = (std::floor(state_.currentX / zone + 1e-9) + 1) * zone;
}

void PrinterObject::newLine() {
  state_.currentX = 0;
  state_.currentY += ToNumber(call("textheight", {Value::Str("A")}, {}));
}

void PrinterObject::drawLine(std::optional<double> x1, std::optional<double> y1, double x2,
                             double y2, std::optional<int32_t> color, bool box, bool fill) {
  const double ax = x1.value_or(state_.currentX);
  const double ay = y1.value_or(state_.currentY);
  const int32_t c = color.value_or(state_.foreColor);
  Surface& s = penReady();
  if (box) {
    s.box(ax, ay, x2, y2, c, fill);
  } else {
    s.line(ax, ay, x2, y2, c);
  }
  state_.currentX = x2;
  state_.currentY = y2;
}

void PrinterObject::drawCircle(double x, double y, double radius, std::optional<int32_t> color,
                               std::optional<double> start, std::optional<double> end,
                               std::optional<double> aspect) {
  Surface& s = penReady();
  std::optional<double> from = start ? std::optional<double>(std::abs(*start)) : std::nullopt;
  std::optional<double> to = end ? std::optional<double>(std::abs(*end)) : std::nullopt;
  if (from && !to) to = 2 * 3.14159265358979;
  if (to && !from) from = 0.0;
  s.circle(x, y, radius, color.value_or(state_.foreColor), aspect.value_or(1), from, to);
  state_.currentX = x;
  state_.currentY = y;
}

void PrinterObject::setPixel(double x, double y, std::optional<int32_t> color) {
  Surface& s = penReady();
  s.line(x, y, x, y, color.value_or(state_.foreColor));
  state_.currentX = x;
  state_.currentY = y;
}

Value PictureObject::get(std::string_view m) {
  if (m == "width") return Value::Lng(std::round(picture_.widthPoints() * 2540.0 / 72.0));
  if (m == "height") return Value::Lng(std::round(picture_.heightPoints() * 2540.0 / 72.0));
  return Object::get(m);
}

}  // namespace qf::basic
