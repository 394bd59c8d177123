#include "printer_object.h"

#include <cmath>

#include "basic/font_object.h"
#include "document/design.h"
#include "view/renderer.h"

namespace qf::basic {

namespace {

constexpr int16_t kTwips = 1;

int SmallInt(const Value& v, int low, int high, const char* what) {
  const double n = BankersRound(ToNumber(v));
  if (!(n >= low && n <= high)) throw RunFailure{std::string(what) + " の値が範囲の外です"};
  return static_cast<int>(n);
}

// The printers a program finds: the one it prints on.
class PrintersObject final : public Object {
 public:
  explicit PrintersObject(std::shared_ptr<Object> printer) : printer_(std::move(printer)) {}
  std::string_view typeName() const override { return "Printers"; }
  Value get(std::string_view m) override {
    if (m == "count") return Value::Int(1);
    return Object::get(m);
  }
  Value call(std::string_view m, const std::vector<Value>& args,
             const std::vector<bool>& missing) override {
    if (m == "item") return index(args);
    return Object::call(m, args, missing);
  }
  Value index(const std::vector<Value>& args) override {
    if (args.size() != 1 || ToNumber(args[0]) != 0) {
      throw RunFailure{"プリンターは Printers(0) の一台です", kErrSubscript};
    }
    return Value::Obj(printer_);
  }

 private:
  std::shared_ptr<Object> printer_;
};

}  // namespace

std::shared_ptr<Object> MakePrinters(std::shared_ptr<Object> printer) {
  return std::make_shared<PrintersObject>(std::move(printer));
}

PrinterObject::PrinterObject(PrinterPort& port, PictureStore& pictures)
    : port_(port), pictures_(pictures) {
  port_.setScaleMode(kTwips);
}

Surface& PrinterObject::page() {
  if (!page_) {
    page_ = port_.beginPage();
    if (!page_) throw RunFailure{"プリンターがページを始められません"};
    ++pages_;
    ++jobPages_;
  }
  return *page_;
}

void PrinterObject::endPage() {
  page_ = nullptr;
  ++pageNumber_;
  state_.currentX = scale_.left;
  state_.currentY = scale_.top;
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

double PrinterObject::textHeight() const {
  // A line of the face: its ascent and descent, in the page's units.
  const double unitsPerPoint = UnitsPerInch(port_.page().scaleMode, true) / 72.0;
  return FaceHeightEm(state_.font.name) * state_.font.pointSize * unitsPerPoint /
         std::abs(scale_.fy);
}

double PrinterObject::textWidth(std::string_view text) {
  return textReady().textWidth(text) / std::abs(scale_.fx);
}

Value PrinterObject::scaleValue(std::string_view m) const {
  const PrinterPage p = port_.page();
  if (m == "scalemode") return Value::Int(scale_.on ? 0 : p.scaleMode);
  if (m == "scalewidth") return Value::Sng(p.scaleWidth / scale_.fx);
  if (m == "scaleheight") return Value::Sng(p.scaleHeight / scale_.fy);
  if (m == "scaleleft") return Value::Sng(scale_.left);
  return Value::Sng(scale_.top);
}

// ScaleLeft, ScaleTop, ScaleWidth, ScaleHeight: a scale of the program's own from here on.
void PrinterObject::setScale(std::string_view m, double v) {
  const PrinterPage p = port_.page();
  scale_.on = true;
  if (m == "scaleleft") {
    scale_.left = v;
  } else if (m == "scaletop") {
    scale_.top = v;
  } else if (v == 0) {
    throw RunFailure{
        std::string(m == "scalewidth" ? "ScaleWidth" : "ScaleHeight") + " に 0 は使えません",
        kErrInvalidCall};
  } else if (m == "scalewidth") {
    scale_.fx = p.scaleWidth / v;
  } else {
    scale_.fy = p.scaleHeight / v;
  }
}

// Scale (x1, y1)-(x2, y2): the page's top left is (x1, y1), its bottom right (x2, y2); Scale
// alone goes back to twips.
void PrinterObject::scaleMethod(const std::vector<Value>& args) {
  if (args.empty()) {
    scale_ = {};
    port_.setScaleMode(kTwips);
    return;
  }
  if (args.size() != 4) throw RunFailure{"Scale には (x1, y1)-(x2, y2) を書きます"};
  const double x1 = ToNumber(args[0]);
  const double y1 = ToNumber(args[1]);
  setScale("scaleleft", x1);
  setScale("scaletop", y1);
  setScale("scalewidth", ToNumber(args[2]) - x1);
  setScale("scaleheight", ToNumber(args[3]) - y1);
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
  if (m.substr(0, 5) == "scale") return scaleValue(m);
  const PrinterPage p = port_.page();
  if (m == "papersize") return Value::Int(p.paperSize);
  if (m == "orientation") return Value::Int(p.orientation);
  if (m == "width") return Value::Lng(std::round(p.widthTwips));
  if (m == "height") return Value::Lng(std::round(p.heightTwips));
  if (m == "page") return Value::Int(pageNumber_);
  if (m == "copies") return Value::Int(copies_);
  if (m == "devicename") {
    const std::string name = port_.deviceName();
    return Value::Str(name.empty() ? "Quillform" : name);
  }
  if (m == "drivername") return Value::Str("Quillform");
  if (m == "port") return Value::Str("PDF:");
  if (m == "font") {
    if (!fontObject_) fontObject_ = std::make_shared<FontObject>(state_.font);
    return Value::Obj(fontObject_);
  }
  if (const std::string_view f = FontMember(m); !f.empty()) return FontObject(state_.font).get(f);
  if (m == "newpage" || m == "enddoc" || m == "killdoc" || m == "cls" || m == "scale") {
    return call(m, {}, {});
  }
  return Object::get(m);
}

void PrinterObject::set(std::string_view m, const Value& v) {
  if (m == "currentx") {
    state_.currentX = ToNumber(v);
  } else if (m == "currenty") {
    state_.currentY = ToNumber(v);
  } else if (m == "forecolor") {
    state_.foreColor = static_cast<int32_t>(Coerce(v, Type::Long).number());
  } else if (m == "fillcolor") {
    state_.fillColor = static_cast<int32_t>(Coerce(v, Type::Long).number());
  } else if (m == "drawmode") {
    state_.drawMode = SmallInt(v, 1, 16, "DrawMode");
  } else if (m == "drawstyle") {
    state_.drawStyle = SmallInt(v, 0, 6, "DrawStyle");
  } else if (m == "drawwidth") {
    state_.drawWidth = SmallInt(v, 1, 32767, "DrawWidth");
  } else if (m == "fillstyle") {
    state_.fillStyle = SmallInt(v, 0, 7, "FillStyle") == 0 ? 0 : 1;
  } else if (m == "scalemode") {
    const int mode = SmallInt(v, 0, 7, "ScaleMode");
    if (mode != 0) {
      scale_ = {};
      port_.setScaleMode(static_cast<int16_t>(mode));
    }
    scale_.on = mode == 0;
  } else if (m == "scaleleft" || m == "scaletop" || m == "scalewidth" || m == "scaleheight") {
    setScale(m, ToNumber(v));
  } else if (m == "papersize") {
    port_.setPaperSize(static_cast<int16_t>(SmallInt(v, 1, 256, "PaperSize")));
  } else if (m == "orientation") {
    port_.setOrientation(static_cast<int16_t>(SmallInt(v, 1, 2, "Orientation")));
  } else if (m == "copies") {
    copies_ = SmallInt(v, 1, 32767, "Copies");
    port_.setCopies(copies_);
  } else if (m == "font") {
    // Set Printer.Font = f takes the whole font; a text is the face's name.
    const auto* font =
        v.type() == Type::Object ? dynamic_cast<FontObject*>(v.object().get()) : nullptr;
    if (font) {
      state_.font = font->font();
    } else {
      state_.font.name = ToText(Plain(v));
    }
  } else if (const std::string_view f = FontMember(m); !f.empty()) {
    FontObject(state_.font).set(f, v);
  } else {
    Object::set(m, v);
  }
}

Value PrinterObject::call(std::string_view m, const std::vector<Value>& args,
                          const std::vector<bool>& missing) {
  if (m == "textwidth" || m == "textheight") {
    if (args.size() != 1) throw RunFailure{"TextWidth の引数は文字列一つです"};
    const std::string text = ToText(args[0]);
    if (m == "textwidth") return Value::Sng(textWidth(text));
    textReady();
    return Value::Sng(textHeight());
  }
  if (m == "newpage") {
    page();  // a page with nothing on it still comes out
    endPage();
    return {};
  }
  if (m == "enddoc" || m == "killdoc") {
    // The job ends; KillDoc drops the pages it began.
    if (m == "killdoc" && jobPages_ > 0) port_.dropJob(jobPages_);
    jobPages_ = 0;
    page_ = nullptr;
    pageNumber_ = 1;
    state_.currentX = scale_.left;
    state_.currentY = scale_.top;
    return {};
  }
  if (m == "cls") {
    page().clear();
    return {};
  }
  if (m == "scale") {
    scaleMethod(args);
    return {};
  }
  if (m == "paintpicture") return paintPicture(args, missing);
  return Object::call(m, args, missing);
}

Value PrinterObject::paintPicture(const std::vector<Value>& args,
                                  const std::vector<bool>& missing) {
  auto given = [&](size_t i) { return i < args.size() && !(i < missing.size() && missing[i]); };
  if (!given(0) || !given(1) || !given(2))
    throw RunFailure{"PaintPicture には画像と位置が必要です"};
  auto* pic = args[0].type() == Type::Object ? dynamic_cast<PictureObject*>(args[0].object().get())
                                             : nullptr;
  if (!pic) throw RunFailure{"PaintPicture の最初の引数は画像です"};
  const Extent natural = PictureExtent(pic->picture(), port_.page().scaleMode);
  const double w = given(3) ? ToNumber(args[3]) * scale_.fx : natural.width;
  const double h = given(4) ? ToNumber(args[4]) * scale_.fy : natural.height;
  RasterOp op = RasterOp::SrcCopy;
  if (given(9)) {
    const double code = ToNumber(args[9]);
    if (!(code >= 0 && code <= 0xFFFFFF)) throw RunFailure{"ラスタ演算の値が範囲の外です"};
    op = static_cast<RasterOp>(static_cast<uint32_t>(code));
  }
  Surface& s = page();
  s.paintPicture(pic->picture(), portX(ToNumber(args[1])), portY(ToNumber(args[2])), w, h, op);
  return {};
}

bool PrinterObject::finish(std::string* error) {
  page_ = nullptr;
  if (pages_ == 0 || finished_) return true;  // nothing was printed, or it is done
  finished_ = true;
  return port_.endDoc(error);
}

void PrinterObject::printText(std::string_view text) {
  Surface& s = textReady();
  s.setCurrentXY(portX(state_.currentX), portY(state_.currentY));
  s.print(text);
  state_.currentX += s.textWidth(text) / std::abs(scale_.fx);
}

void PrinterObject::nextZone() {
  // Print zones are 14 columns of the font's average character.
  const double zone = 14 * textWidth("0");
  if (zone > 0) state_.currentX = (std::floor(state_.currentX / zone + 1e-9) + 1) * zone;
}

// Columns are the font's average character, as wide as its digit.
void PrinterObject::tabTo(long column) {
  const double width = textWidth("0");
  const double to = scale_.left + static_cast<double>(std::max(1L, column) - 1) * width;
  if (state_.currentX > to + 1e-9) newLine();
  state_.currentX = to;
}

void PrinterObject::spaces(long count) {
  state_.currentX += static_cast<double>(std::max(0L, count)) * textWidth("0");
}

void PrinterObject::newLine() {
  const double step = textHeight();
  state_.currentX = scale_.left;
  state_.currentY += step;
  // A line that would not fit above the bottom margin goes to the top of a new page.
  const double pageHeight = port_.page().scaleHeight;
  const double bottom = portY(state_.currentY) + step * std::abs(scale_.fy);
  if (step * std::abs(scale_.fy) < pageHeight && bottom > pageHeight + 1e-9) {
    if (page_) {
      endPage();
    } else {
      state_.currentY = scale_.top;
    }
  }
}

void PrinterObject::drawLine(std::optional<double> x1, std::optional<double> y1, double x2,
                             double y2, std::optional<int32_t> color, bool box, bool fill) {
  const double ax = x1.value_or(state_.currentX);
  const double ay = y1.value_or(state_.currentY);
  const int32_t c = color.value_or(state_.foreColor);
  Surface& s = penReady();
  if (box) {
    s.box(portX(ax), portY(ay), portX(x2), portY(y2), c, fill);
  } else {
    s.line(portX(ax), portY(ay), portX(x2), portY(y2), c);
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
  s.circle(portX(x), portY(y), radius * std::abs(scale_.fx), color.value_or(state_.foreColor),
           aspect.value_or(1), from, to);
  state_.currentX = x;
  state_.currentY = y;
}

void PrinterObject::setPixel(double x, double y, std::optional<int32_t> color) {
  Surface& s = penReady();
  s.line(portX(x), portY(y), portX(x), portY(y), color.value_or(state_.foreColor));
  state_.currentX = x;
  state_.currentY = y;
}

Value PictureObject::get(std::string_view m) {
  if (m == "width") return Value::Lng(std::round(picture_->widthPoints() * 2540.0 / 72.0));
  if (m == "height") return Value::Lng(std::round(picture_->heightPoints() * 2540.0 / 72.0));
  return Object::get(m);
}

}  // namespace qf::basic
