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
std::string F(double value) {
  if (std::isnan(value)) return "float.NaN";
  const double limit = std::numeric_limits<float>::max();
  return FormatSingle(static_cast<float>(std::clamp(value, -limit, limit))) + "f";
}

std::string Color(int32_t color) {
  return "Color.FromArgb(" + std::to_string(P_ColorPart(color, "R")) + ", " +
         std::to_string(P_ColorPart(color, "G")) + ", " + std::to_string(P_ColorPart(color, "B")) +
         ")";
}

// The draw style and width as the printer takes them: widths from 1, rounded.
std::string Pen(const ObjectRecord& r) {
  const double width = std::nearbyint(static_cast<double>(r.Size));
  const int style = RoundToInt<int>(NumericPrefix(r.Style)).value_or(0);
  return std::to_string(width >= 1 && width <= 1000 ? static_cast<int>(width) : 1) + ", " +
         std::to_string(style);
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

class CSharpWriter {
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
    for (const SourceWalk::Layer& l : walk_.printingOrder()) {
      // A hidden layer does not print, here as on the program's own pages.
      if (!IsLayerVisible(design_.layers, l.number)) {
        statement("// レイヤー: " + OneLine(walk_.name(l.number)) + "（非表示: 印刷しません）");
        continue;
      }
      statement("// レイヤー: " + OneLine(walk_.name(l.number)));
      depth_ = 0;
      offsetsX_.clear();
      offsetsY_.clear();
      variables_.clear();
      walk_.forEachRow(l.number, [this](int row) {
        DecodeObjectRow(record_, design_.objects, row);
        writeObject(record_);
      });
      // A block never closed in the list ends with its layer.
      while (depth_ > 0) {
        --depth_;
        statement("}");
      }
    }
    statement("g.Restore(saved);");
    line("    }");
  }

  std::string x(double value) const { return F(value) + offset(offsetsX_); }
  std::string y(double value) const { return F(value) + offset(offsetsY_); }
  static std::string offset(const std::vector<std::string>& list) {
    std::string out;
    for (const std::string& v : list) out += " + " + v;
    return out;
  }

  std::string hatch(const std::string& code) const {
    const std::optional<int> index = HatchPaletteIndex(code);
    return index ? "lngAMIClr[" + std::to_string(*index) + "]" : "null";
  }

  void writeObject(const ObjectRecord& r) {
    if (r.Kind != ObjectKind::Command) statement("// " + OneLine(r.Label));
    switch (r.Kind) {
      case ObjectKind::Text:
        writeText(r);
        break;
      case ObjectKind::Line:
        statement("Line(g, " + x(r.X1) + ", " + y(r.Y1) + ", " + x(r.X2) + ", " + y(r.Y2) + ", " +
                  Color(r.Color) + ", " + Pen(r) + ");");
        break;
      case ObjectKind::Box:
        if (r.Text == "0" && !r.Field.empty()) {
          statement("F_RndBox(g, " + x(r.X1) + ", " + y(r.Y1) + ", " + x(r.X2) + ", " + y(r.Y2) +
                    ", " + F(ToSingle(NumericPrefix(r.Field)).value_or(0)) + ", " + Color(r.Color) +
                    ", " + Pen(r) + ");");
        } else {
          statement("Box(g, " + x(r.X1) + ", " + y(r.Y1) + ", " + x(r.X2) + ", " + y(r.Y2) + ", " +
                    Color(r.Color) + ", " + Pen(r) + ", " +
                    (r.Text == "0" ? "null" : hatch(r.Text)) + ");");
        }
        break;
      case ObjectKind::Ring: {
        const RingShape g = RingGeometry(r);
        statement("Ring(g, " + x(g.cx) + ", " + y(g.cy) + ", " + F(g.radius) + ", " + F(g.aspect) +
                  ", " + Color(r.Color) + ", " + Pen(r) + ", " +
                  (r.Text == "0" ? "null" : hatch(r.Text)) + ");");
        break;
      }
      case ObjectKind::Picture:
        statement("Picture(g, " + Literal(r.Text) + ", " + x(r.X1) + ", " + y(r.Y1) + ", " +
                  (r.Style == "0" ? "false" : "true") + ");");
        break;
      case ObjectKind::Command:
        writeCommand(r);
        break;
      case ObjectKind::None:
        break;
    }
  }

  void writeText(const ObjectRecord& r) {
    if (r.Align < 0 || r.Align > 2) return;  // an unknown alignment is neither placed nor printed
    std::string style;
    const auto flag = [&style](int16_t on, std::string_view name) {
      if (on == 0) return;
      if (!style.empty()) style += " | ";
      style += "FontStyle.";
      style += name;
    };
    flag(r.Bold, "Bold");
    flag(r.Italic, "Italic");
    flag(r.Underline, "Underline");
    flag(r.Strikethrough, "Strikeout");
    if (style.empty()) style = "FontStyle.Regular";
    std::string expression = "null";
    if (!r.Field.empty()) {
      expression = Literal(r.Field);
      // Inside blocks the field names the pass by the block's variable: the pass number stands
      // in for it.
      for (const auto& [name, variable] : variables_) {
        expression = "Pass(" + expression + ", " + Literal(name) + ", " + variable + ")";
      }
    }
    statement("Text(g, Value(field, " + expression + ", " + Literal(r.Text) + "), " +
              Literal(r.Text) + ", " + std::to_string(r.Align) + ", " + x(r.X1) + ", " + y(r.Y1) +
              ", " + Literal(r.Style) + ", " + F(r.Size) + ", " + style + ", " + Color(r.Color) +
              ");");
  }

  void writeCommand(const ObjectRecord& r) {
    const std::string label = OneLine(r.Label);
    const bool vertical = r.Style == "0";
    if (r.Text == "0") {
      // The design's name, unless a block around this one has it already (C# takes no name
      // twice in nested loops).
      std::string var = CSharpIdentifier(r.Field);
      const auto taken = [this](const std::string& name) {
        return std::any_of(variables_.begin(), variables_.end(),
                           [&name](const auto& v) { return v.second == name; });
      };
      while (taken(var)) var += "_";
      statement("// " + label + "(開始)");
      // As many passes as the page gives the block: its count rounded, and at least one.
      const int count = std::max(0, RoundToInt<int>(static_cast<double>(r.Size)).value_or(0));
      statement("for (int " + var + " = 0; " + var + " <= " + std::to_string(count) + "; " + var +
                "++)");
      statement("{");
      ++depth_;
      statement("float " + var + "Pos = " + var + " * " + F(r.X1) + ";");
      (vertical ? offsetsY_ : offsetsX_).push_back(var + "Pos");
      variables_.emplace_back(r.Field, var);
      vertical_.push_back(vertical);
      return;
    }
    if (depth_ == 0) return;  // an end without a start closes nothing
    --depth_;
    statement("}");
    statement("// " + label + "(終了)");
    const bool wasVertical = vertical_.back();
    vertical_.pop_back();
    auto& list = wasVertical ? offsetsY_ : offsetsX_;
    if (!list.empty()) list.pop_back();
    if (!variables_.empty()) variables_.pop_back();
  }

  const Design& design_;
  SourceWalk walk_;
  std::string className_;
  ObjectRecord record_;
  std::string out_;
  int depth_ = 0;
  std::vector<std::string> offsetsX_;
  std::vector<std::string> offsetsY_;
  std::vector<std::pair<std::string, std::string>> variables_;  // design name, C# variable
  std::vector<bool> vertical_;
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
