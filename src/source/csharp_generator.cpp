#include "csharp_generator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "document/cp932.h"
#include "document/number_text.h"
#include "document/object_rows.h"
#include "source_generator.h"
#include "source_walk.h"

namespace qf {

namespace {

constexpr std::string_view kCrLf = "\r\n";

constexpr std::array<std::string_view, 77> kKeywords = {
    "abstract", "as",         "base",    "bool",     "break",     "byte",     "case",
    "catch",    "char",       "checked", "class",    "const",     "continue", "decimal",
    "default",  "delegate",   "do",      "double",   "else",      "enum",     "event",
    "explicit", "extern",     "false",   "finally",  "fixed",     "float",    "for",
    "foreach",  "goto",       "if",      "implicit", "in",        "int",      "interface",
    "internal", "is",         "lock",    "long",     "namespace", "new",      "null",
    "object",   "operator",   "out",     "override", "params",    "private",  "protected",
    "public",   "readonly",   "ref",     "return",   "sbyte",     "sealed",   "short",
    "sizeof",   "stackalloc", "static",  "string",   "struct",    "switch",   "this",
    "throw",    "true",       "try",     "typeof",   "uint",      "ulong",    "unchecked",
    "unsafe",   "ushort",     "using",   "virtual",  "void",      "volatile", "while"};

// Letters of the scripts a design's names are written in, which C# takes in identifiers.
bool IdentifierLetter(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
  const auto in = [c](char32_t from, char32_t to) { return c >= from && c <= to; };
  return (in(0xC0, 0x24F) && c != 0xD7 && c != 0xF7) || in(0x370, 0x3FF) || in(0x400, 0x4FF) ||
         in(0x3041, 0x3096) || in(0x30A1, 0x30FA) || c == 0x30FC || in(0x3400, 0x4DBF) ||
         in(0x4E00, 0x9FFF) || in(0xF900, 0xFAFF) || in(0xFF21, 0xFF3A) || in(0xFF41, 0xFF5A) ||
         in(0xFF66, 0xFF9F) || in(0xAC00, 0xD7A3);
}

bool IdentifierDigit(char32_t c) {
  return (c >= '0' && c <= '9') || (c >= 0xFF10 && c <= 0xFF19);
}

std::string Literal(std::string_view text) {
  return "\"" + CSharpStringBody(text) + "\"";
}

// A page coordinate as a float literal.
std::string Float(double value) {
  if (std::isnan(value)) return "float.NaN";
  const double limit = std::numeric_limits<float>::max();
  return FormatSingle(static_cast<float>(std::clamp(value, -limit, limit))) + "f";
}

std::string Color(int32_t color) {
  return "Color.FromArgb(" + ColorArguments(color) + ")";
}

// The draw style and width as the printer takes them: widths from 1, rounded.
std::string PenArguments(const Pen& pen) {
  const double width = std::nearbyint(static_cast<double>(pen.width));
  return std::to_string(width >= 1 && width <= 1000 ? static_cast<int>(width) : 1) + ", " +
         std::to_string(pen.style);
}

// GraphicsUnit, PageScale and the points of a unit across and down, for each scale mode: the
// design's numbers stand in the code as in the design.
struct PageUnit {
  std::string_view unit;
  std::string_view scale;
  std::string_view comment;
  std::string_view cellX;  // points of a unit beyond the page unit ("1f": none)
  std::string_view cellY;
};

PageUnit UnitFor(int16_t scaleMode) {
  switch (static_cast<ScaleMode>(scaleMode)) {
    case ScaleMode::Point:
      return {"Point", "1f", "ポイント", "1f", "1f"};
    case ScaleMode::Pixel:
      return {"Pixel", "1f", "プリンタのドット", "1f", "1f"};
    case ScaleMode::Character:
      return {"Point", "1f", "文字（横 120、縦 240 twip）", "6f", "12f"};
    case ScaleMode::Inch:
      return {"Inch", "1f", "インチ", "1f", "1f"};
    case ScaleMode::Millimetre:
      return {"Millimeter", "1f", "ミリメートル", "1f", "1f"};
    case ScaleMode::Centimetre:
      return {"Millimeter", "10f", "センチメートル", "1f", "1f"};
    case ScaleMode::User:
    case ScaleMode::Twip:
    default:
      return {"Point", "0.05f", "twip", "1f", "1f"};
  }
}

// The helpers every generated class carries: they draw in the device's own pixels, converting
// page units by the page unit F_DataPrint set, so a printer and a bitmap give the same page.
constexpr std::string_view kHelpers = R"cs(
    // ここから下は描画の下請け。座標はページ単位、線の太さはプリンタのドット数。
    static float cellX = 1f, cellY = 1f;

    static float DotsPerUnit(Graphics g, bool down)
    {
        float dpi = down ? g.DpiY : g.DpiX;
        float perUnit;
        switch (g.PageUnit)
        {
            case GraphicsUnit.Point: perUnit = dpi / 72f; break;
            case GraphicsUnit.Inch: perUnit = dpi; break;
            case GraphicsUnit.Millimeter: perUnit = dpi / 25.4f; break;
            case GraphicsUnit.Document: perUnit = dpi / 300f; break;
            case GraphicsUnit.Display: perUnit = dpi / 100f; break;
            default: perUnit = 1f; break;
        }
        return perUnit * g.PageScale * (down ? cellY : cellX);
    }

    // Draws in device pixels; the caller's own transform stays.
    static void InPixels(Graphics g, Action<float, float> draw)
    {
        float dx = DotsPerUnit(g, false), dy = DotsPerUnit(g, true);
        GraphicsState state = g.Save();
        g.PageUnit = GraphicsUnit.Pixel;
        g.PageScale = 1f;
        draw(dx, dy);
        g.Restore(state);
    }

    static Pen MakePen(Color color, int width, int style)
    {
        Pen pen = new Pen(color, Math.Max(1, width));
        // Dashes for thin pens only, as on the printer: on and off in pixels.
        if (width <= 1)
        {
            switch (style)
            {
                case 1: pen.DashPattern = new float[] { 18f, 6f }; break;
                case 2: pen.DashPattern = new float[] { 3f, 3f }; break;
                case 3: pen.DashPattern = new float[] { 9f, 6f, 3f, 6f }; break;
                case 4: pen.DashPattern = new float[] { 9f, 3f, 3f, 3f, 3f, 3f }; break;
            }
        }
        else
        {
            pen.StartCap = LineCap.Round;
            pen.EndCap = LineCap.Round;
        }
        return pen;
    }

    static void Line(Graphics g, float x1, float y1, float x2, float y2, Color color, int width, int style)
    {
        InPixels(g, (dx, dy) =>
        {
            using (Pen pen = MakePen(color, width, style))
                g.DrawLine(pen, x1 * dx, y1 * dy, x2 * dx, y2 * dy);
        });
    }

    // A box; with a hatch colour its inside is filled first.
    static void Box(Graphics g, float x1, float y1, float x2, float y2, Color color, int width, int style, Color? hatch)
    {
        InPixels(g, (dx, dy) =>
        {
            RectangleF r = RectangleF.FromLTRB(Math.Min(x1, x2) * dx, Math.Min(y1, y2) * dy,
                                               Math.Max(x1, x2) * dx, Math.Max(y1, y2) * dy);
            if (hatch.HasValue)
                using (Brush brush = new SolidBrush(hatch.Value)) g.FillRectangle(brush, r);
            using (Pen pen = MakePen(color, width, style))
                g.DrawRectangle(pen, r.X, r.Y, r.Width, r.Height);
        });
    }

    // F_RndBox: four quarter arcs of radius k and the four edges between them.
    static void F_RndBox(Graphics g, float x1, float y1, float x2, float y2, float k, Color color, int width, int style)
    {
        InPixels(g, (dx, dy) =>
        {
            float kx = k * dx, ky = k * dy;
            float l = x1 * dx, t = y1 * dy, r = x2 * dx, b = y2 * dy;
            using (Pen pen = MakePen(color, width, style))
            {
                if (kx > 0 && ky > 0)
                {
                    g.DrawArc(pen, l, t, 2 * kx, 2 * ky, 180f, 90f);
                    g.DrawArc(pen, l, b - 2 * ky, 2 * kx, 2 * ky, 90f, 90f);
                    g.DrawArc(pen, r - 2 * kx, b - 2 * ky, 2 * kx, 2 * ky, 0f, 90f);
                    g.DrawArc(pen, r - 2 * kx, t, 2 * kx, 2 * ky, 270f, 90f);
                }
                g.DrawLine(pen, l + kx, t, r - kx, t);
                g.DrawLine(pen, l, t + ky, l, b - ky);
                g.DrawLine(pen, l + kx, b, r - kx, b);
                g.DrawLine(pen, r, t + ky, r, b - ky);
            }
        });
    }

    // A ring: the ellipse of radius r (the longer half-axis) and aspect (height / width).
    static void Ring(Graphics g, float cx, float cy, float r, float aspect, Color color, int width, int style, Color? hatch)
    {
        float rx = Math.Abs(r), ry = Math.Abs(r);
        if (aspect > 0 && aspect < 1) ry = rx * aspect;
        else if (aspect > 1) rx = ry / aspect;
        InPixels(g, (dx, dy) =>
        {
            RectangleF e = new RectangleF((cx - rx) * dx, (cy - ry) * dy, 2 * rx * dx, 2 * ry * dy);
            if (hatch.HasValue)
                using (Brush brush = new SolidBrush(hatch.Value)) g.FillEllipse(brush, e);
            using (Pen pen = MakePen(color, width, style)) g.DrawEllipse(pen, e);
        });
    }

    // A picture at its natural size, 96 of its pixels to the inch.
    static void Picture(Graphics g, string path, float x, float y, bool and)
    {
        if (!File.Exists(path)) return;
        using (Image image = Image.FromFile(path))
        {
            InPixels(g, (dx, dy) =>
            {
                float w = image.Width * g.DpiX / 96f, h = image.Height * g.DpiY / 96f;
                if (!and)
                {
                    g.DrawImage(image, x * dx, y * dy, w, h);
                    return;
                }
                // System.Drawing cannot AND a picture with the page (vbSrcAnd): its white is left
                // out instead, which is the same for black and white pictures.
                using (Bitmap keyed = new Bitmap(image))
                {
                    keyed.MakeTransparent(Color.White);
                    g.DrawImage(keyed, x * dx, y * dy, w, h);
                }
            });
        }
    }

    // A text's value: what field gives for its expression, else the text as designed.
    static string Value(Func<string, string> field, string expression, string text)
    {
        if (field == null || expression == null) return text;
        return field(expression) ?? text;
    }

    // A field expression inside a repeat block, with the pass number for the block's variable.
    static string Pass(string expression, string variable, int pass)
    {
        return System.Text.RegularExpressions.Regex.Replace(expression,
            @"(?<![\w])" + System.Text.RegularExpressions.Regex.Escape(variable) + @"(?![\w])",
            pass.ToString(System.Globalization.CultureInfo.InvariantCulture));
}

// A text with its top left at x, y; aligned right (1) or centred (2) by the width the
// designed text and the value differ by, as the Visual Basic source does.
static void Text(Graphics g, string value, string designed, int align, float x, float y,
                 string font, float points, FontStyle style, Color color) {
        InPixels(g, (dx, dy) =>
        {
            using (Font f = new Font(font, points * g.DpiY / 72f, style, GraphicsUnit.Pixel))
            using (Brush brush = new SolidBrush(color))
            {
                StringFormat format = StringFormat.GenericTypographic;
                float left = x * dx;
                if (align == 1 || align == 2)
                {
    float shift = g.MeasureString(designed, f, PointF.Empty, format).Width -
                  g.MeasureString(value, f, PointF.Empty, format).Width;
    left += align == 2 ? shift / 2 : shift;
                }
                float top = y * dy;
                string[] lines = value.Replace("\r\n", "\n").Replace('\r', '\n').Split('\n');
                foreach (string line in lines)
                {
    g.DrawString(line, f, brush, left, top, format);
    top += f.GetHeight(g);
                }
}
});
}
)cs";

class CSharpWriter final : public SourceWriter {
 public:
  CSharpWriter(const Design& design, std::string_view className)
      : design_(design), walk_(design), className_(CSharpIdentifier(className)) {}

  std::string source() {
    line("// Quillform が作った印刷プログラム（System.Drawing）。");
    line(
        "// mcs -r:System.Drawing でコンパイルでき、Windows "
        "フォームやコンソールのプログラムから使えます。");
    line("using System;");
    line("using System.Drawing;");
    line("using System.Drawing.Drawing2D;");
    line("using System.Drawing.Printing;");
    line("using System.IO;");
    line("");
    line("public static class " + className_);
    line("{");
    writePalette();
    writeDataPrint();
    line("");
    line("    // PrintDocument の PrintPage に渡すと、デザインの文字のままページを印刷します。");
    line("    public static void PrintPage(object sender, PrintPageEventArgs e)");
    line("    {");
    line("        F_DataPrint(e.Graphics, null);");
    line("        e.HasMorePages = false;");
    line("    }");
    for (size_t from = 0; from < kHelpers.size();) {
      const size_t end = kHelpers.find('\n', from);
      const size_t to = end == std::string_view::npos ? kHelpers.size() : end;
      if (from > 0 || to > from) line(kHelpers.substr(from, to - from));
      from = to + 1;
    }
    line("}");
    return std::move(out_);
  }

 private:
  void line(std::string_view text) {
    out_ += text;
    out_ += kCrLf;
  }
  void statement(std::string_view text) {
    out_.append(static_cast<size_t>(8 + 4 * depth_), ' ');
    out_ += text;
    out_ += kCrLf;
  }

  void writePalette() {
    static constexpr std::string_view kNames[] = {"なし", "色１", "色２", "色３", "色４", "色５"};
    line("    // 網掛け色");
    line("    public static readonly Color[] lngAMIClr =");
    line("    {");
    for (size_t n = 0; n < 6; ++n) {
      const int32_t color = n == 0 ? Rgb(255, 255, 255) : design_.palette[n];
      line("        " + Color(color) + (n < 5 ? "," : "") + "  // " + std::string(kNames[n]));
    }
    line("    };");
    line("");
  }

  void writeDataPrint() {
    const PageUnit unit = UnitFor(design_.page.scaleMode);
    line(
        "    // デザインのページを g に描きます。field は文字の差し込み式（\"rs!請求先\" "
        "など）を受け取り、");
    line(
        "    // 印刷する値を返します。null を返すか field が null "
        "なら、デザインの文字を印刷します。");
    line("    public static void F_DataPrint(Graphics g, Func<string, string> field)");
    line("    {");
    statement("GraphicsState saved = g.Save();");
    statement("// ページの単位: " + std::string(unit.comment));
    statement("g.PageUnit = GraphicsUnit." + std::string(unit.unit) + ";");
    statement("g.PageScale = " + std::string(unit.scale) + ";");
    statement("cellX = " + std::string(unit.cellX) + ";");
    statement("cellY = " + std::string(unit.cellY) + ";");
    statement(
        "// 重なった部分は後に描いたものが上になります（プリンタのインクの重なりとは違います）。");
    WriteObjects(design_, walk_, *this, kRules);
    statement("g.Restore(saved);");
    line("    }");
  }

  static constexpr BlockRules kRules{.endTakesOwnDirection = false, .layerClosesBlocks = true};

  bool beginLayer(const SourceWalk::Layer& l) override {
    depth_ = 0;
    variables_.clear();
    // A hidden layer does not print, here as on the program's own pages.
    if (!IsLayerVisible(design_.layers, l.number)) {
      statement("// レイヤー: " + OneLine(walk_.name(l.number)) + "（非表示: 印刷しません）");
      return false;
    }
    statement("// レイヤー: " + OneLine(walk_.name(l.number)));
    return true;
  }

  void endLayer() override {
    // A block never closed in the list ends with its layer.
    while (depth_ > 0) {
      --depth_;
      statement("}");
    }
  }

  // Each text call carries its whole font: nothing to put back.
  void changeText(const TextState&, const TextState&) override {}

  void text(const ObjectRecord& r, const TextObject& t, const TextState&, const TextState&,
            const Offsets& at) override {
    label(r);
    if (t.align < 0 || t.align > 2) return;  // an unknown alignment is neither placed nor printed
    std::string style;
    const auto flag = [&style](bool on, std::string_view name) {
      if (!on) return;
      if (!style.empty()) style += " | ";
      style += "FontStyle.";
      style += name;
    };
    flag(t.bold, "Bold");
    flag(t.italic, "Italic");
    flag(t.underline, "Underline");
    flag(t.strikethrough, "Strikeout");
    if (style.empty()) style = "FontStyle.Regular";
    std::string expression = "null";
    if (!t.field.empty()) {
      expression = Literal(t.field);
      // Inside blocks the field names the pass by the block's variable: the pass number stands
      // in for it.
      for (const auto& [name, variable] : variables_) {
        expression = "Pass(" + expression + ", " + Literal(name) + ", " + variable + ")";
      }
    }
    statement("Text(g, Value(field, " + expression + ", " + Literal(t.text) + "), " +
              Literal(t.text) + ", " + std::to_string(t.align) + ", " + x(r.X1, at) + ", " +
              y(r.Y1, at) + ", " + Literal(t.font) + ", " + Float(t.size) + ", " + style + ", " +
              Color(t.color) + ");");
  }

  void line(const ObjectRecord& r, const LineObject& l, const Offsets& at) override {
    label(r);
    statement("Line(g, " + corners(r, at) + ", " + Color(l.color) + ", " + PenArguments(l.pen) +
              ");");
  }

  void box(const ObjectRecord& r, const BoxObject& b, const Offsets& at) override {
    label(r);
    if (b.rounded()) {
      statement("F_RndBox(g, " + corners(r, at) + ", " + Float(b.radiusValue) + ", " +
                Color(b.color) + ", " + PenArguments(b.pen) + ");");
    } else {
      statement("Box(g, " + corners(r, at) + ", " + Color(b.color) + ", " + PenArguments(b.pen) +
                ", " + hatch(b.hatch) + ");");
    }
  }

  void ring(const ObjectRecord& r, const RingObject& g, const Offsets& at) override {
    label(r);
    const RingShape shape = RingGeometry(r);
    statement("Ring(g, " + x(shape.cx, at) + ", " + y(shape.cy, at) + ", " + Float(shape.radius) +
              ", " + Float(shape.aspect) + ", " + Color(g.color) + ", " + PenArguments(g.pen) +
              ", " + hatch(g.hatch) + ");");
  }

  void picture(const ObjectRecord& r, const PictureObject& p, const Offsets& at) override {
    label(r);
    statement("Picture(g, " + Literal(p.path) + ", " + x(r.X1, at) + ", " + y(r.Y1, at) + ", " +
              (p.transparent ? "true" : "false") + ");");
  }

  void barcode(const ObjectRecord& r, const BarcodeObject& b, const BarcodeDrawing& drawn,
               const TextState&, const TextState&, const Offsets& at) override {
    label(r);
    const std::string about = BarcodeComment(b);
    if (const auto* error = std::get_if<BarcodeError>(&drawn)) {
      statement("// " + about + ": 印刷できません（" + error->reason + "）");
      return;
    }
    statement("// " + about);
    if (!b.field.empty()) {
      statement("// " + OneLine(b.field) +
                " の値はソースではまだ符号化しません: 設計時の値を印刷します");
    }
    const auto& placed = std::get<PlacedBarcode>(drawn);
    statement("InPixels(g, (dx, dy) =>");
    statement("{");
    ++depth_;
    statement("using (Brush bar = new SolidBrush(" + Color(b.color) + "))");
    statement("{");
    ++depth_;
    for (const BarRect& bar : placed.bars) {
      statement("g.FillRectangle(bar, (" + x(bar.x, at) + ") * dx, (" + y(bar.y, at) + ") * dy, " +
                Float(bar.width) + " * dx, " + Float(bar.height) + " * dy);");
    }
    depth_ -= 2;
    statement("    }");
    statement("});");
    if (!placed.digitsShown) return;
    // Centred on the box: a designed width of nothing shifts the digits back by half their own.
    statement("Text(g, " + Literal(placed.digits) + ", \"\", 2, " +
              x(placed.digitsX + placed.digitsWidth / 2, at) + ", " + y(placed.digitsY, at) + ", " +
              Literal(kBarcodeDigitsFont) + ", " + Float(b.digitsSize) + ", FontStyle.Regular, " +
              Color(b.color) + ");");
  }

  std::string beginBlock(const ObjectRecord& r, const CommandObject& c) override {
    // The design's name, unless a block around this one has it already (C# takes no name
    // twice in nested loops).
    std::string var = CSharpIdentifier(c.variable);
    const auto taken = [this](const std::string& name) {
      return std::any_of(variables_.begin(), variables_.end(),
                         [&name](const auto& v) { return v.second == name; });
    };
    while (taken(var)) var += "_";
    statement("// " + OneLine(r.Label) + "(開始)");
    // As many passes as the page gives the block: its count rounded, and at least one.
    const int count = std::max(0, RoundToInt<int>(static_cast<double>(c.count)).value_or(0));
    statement("for (int " + var + " = 0; " + var + " <= " + std::to_string(count) + "; " + var +
              "++)");
    statement("{");
    ++depth_;
    statement("float " + var + "Pos = " + var + " * " + Float(c.gap) + ";");
    variables_.emplace_back(c.variable, var);
    return var + "Pos";
  }

  void endBlock(const ObjectRecord& r, const CommandObject&, bool closes) override {
    if (!closes) return;  // an end without a start closes nothing
    --depth_;
    statement("}");
    statement("// " + OneLine(r.Label) + "(終了)");
    if (!variables_.empty()) variables_.pop_back();
  }

 private:
  void label(const ObjectRecord& r) { statement("// " + OneLine(r.Label)); }

  static std::string x(double value, const Offsets& at) { return Float(value) + at.x; }
  static std::string y(double value, const Offsets& at) { return Float(value) + at.y; }
  static std::string corners(const ObjectRecord& r, const Offsets& at) {
    return x(r.X1, at) + ", " + y(r.Y1, at) + ", " + x(r.X2, at) + ", " + y(r.Y2, at);
  }

  static std::string hatch(const Hatch& h) {
    return h.palette ? "lngAMIClr[" + std::to_string(*h.palette) + "]" : "null";
  }

  const Design& design_;
  SourceWalk walk_;
  std::string className_;
  std::string out_;
  int depth_ = 0;
  std::vector<std::pair<std::string, std::string>> variables_;  // design name, C# variable
};

}  // namespace

std::string CSharpIdentifier(std::string_view name) {
  std::string out;
  for (size_t at = 0; at < name.size();) {
    char32_t c = 0;
    const std::string_view character = Utf8CharAt(name, at, &c);
    at += std::max<size_t>(1, character.size());
    if (IdentifierLetter(c) || (!out.empty() && IdentifierDigit(c))) {
      out += character;
    } else if (IdentifierDigit(c)) {
      out += '_';
      out += character;
    } else {
      out += '_';
    }
  }
  if (out.empty()) return "_";
  if (std::find(kKeywords.begin(), kKeywords.end(), out) != kKeywords.end()) return "@" + out;
  return out;
}

std::string CSharpStringBody(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned char>(c));
          out += buffer;
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string P_MakeCSharp(const Design& design, std::string_view className) {
  return CSharpWriter(design, className).source();
}

}  // namespace qf
