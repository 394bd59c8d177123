#include "source_generator.h"

#include <cmath>
#include <map>
#include <vector>

#include "document/number_text.h"
#include "document/object_rows.h"
#include "page_tables.h"
#include "source_walk.h"

namespace qf {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kQ = "\"";

// The inside of a string literal: the text as it stands, each line break continued as
// " & vbCrLf & " so the literal stays on its line.
std::string LiteralBody(std::string_view text) {
  return ReplaceLineBreaks(text, "\" & vbCrLf & \"");
}

std::string Rgb(int32_t color) {
  return "RGB(" + ColorArguments(color) + ")";
}

class Generator final : public SourceWriter {
 public:
  Generator(const Design& design, Visibility visibility)
      : design_(design),
        visibility_(visibility == Visibility::Public ? "Public " : "Private "),
        walk_(design) {}

  std::string flat() {
    head();
    WriteObjects(design_, walk_, *this, kRules);
    fixed("'印刷終了");
    fixed("objOutSrc.EndDoc");
    fixed("objOutSrc.DrawMode = VbCopyPen");
    bare("End Sub");
    return finish();
  }

  std::string sub() {
    head();
    for (const SourceWalk::Layer& l : walk_.printingOrder()) {
      fixed("'" + OneLine(l.nameCell));
      fixed("Gosub F_DataPrint_" + OneLine(l.numberCell));
    }
    fixed("'印刷終了");
    fixed("objOutSrc.EndDoc");
    fixed("objOutSrc.DrawMode = VbCopyPen");
    fixed("'");
    fixed("Exit Sub");
    sub_ = true;
    WriteObjects(design_, walk_, *this, kRules);
    bare("End Sub");
    return finish();
  }

 private:
  // The declaration block is complete before the body is written, so the body can go straight
  // into the result: repeat variables are declared in the order their starts are written.
  void declareRepeatVariables() {
    for (const SourceWalk::Layer& l : walk_.printingOrder()) {
      walk_.forEachRow(l.number, [this](int row) {
        if (walk_.kindOf(row) != ObjectKind::Command) return;
        const std::optional<CommandObject> c = CommandOf(DecodeObjectRow(design_.objects, row));
        if (!c || !c->start) return;
        const std::string var = OneLine(c->variable);
        if (decl_.find(var) != std::string::npos) return;
        declare("Dim " + var + "\t\tAs Single");
        declare("Dim " + var + "Gain\t\tAs Single");
        declare("Dim " + var + "Pos\t\tAs Single");
      });
    }
  }

  void bare(std::string_view content) {
    body_ += content;
    body_ += kCrLf;
  }
  void fixed(std::string_view content) {
    body_ += '\t';
    body_ += content;
    body_ += kCrLf;
  }
  void object(std::string_view content) { object({content}); }
  // One object line from its pieces, appended in place.
  void object(std::initializer_list<std::string_view> parts) {
    body_ += '\t';
    body_ += indent_;
    for (std::string_view p : parts) body_ += p;
    body_ += kCrLf;
  }
  void declare(std::string_view content) {
    decl_ += '\t';
    decl_ += content;
    decl_ += kCrLf;
  }

  void head() {
    decl_ = visibility_ + "Sub F_DataPrint()" + std::string(kCrLf);
    declare("'変数宣言");
    declare("Dim objOutSrc           As Object       '出力先");
    declare("Dim lngAMIClr(5)        As Long         '網掛け色");
    declare("Dim strTxt              As String       'ﾃｷｽﾄ処理用");
    declare("Dim objPic              As Object       '画像読込用");
    declare("Dim sngSize             As Single       '文字列ｻｲｽﾞ計算用");
    declareRepeatVariables();
    body_ = std::move(decl_);
    body_.reserve(body_.size() + static_cast<size_t>(design_.objects.itemCount()) * 200 + 2048);

    static constexpr std::string_view kDigits[] = {"０", "１", "２", "３", "４", "５"};
    fixed("'定数宣言");
    fixed("lngAMICLR(0) = RGB(255, 255, 255)\t'なし");
    for (size_t n = 1; n <= 5; ++n) {
      fixed("lngAMICLR(" + std::to_string(n) + ") = " + Rgb(design_.palette[n]) + "\t'色" +
            std::string(kDigits[n]));
    }
    fixed("'出力先設定");
    fixed("Set objOutSrc = Printer");
    fixed("'用紙設定");
    fixed("objOutSrc.PaperSize = " + std::string(P_PaperName(design_.page.paperSize)));
    fixed("objOutSrc.Orientation = " + std::string(P_OrientName(design_.page.orientation)));
    fixed("objOutSrc.ScaleMode = " + std::string(P_ScaleName(design_.page.scaleMode)));
    // The mask pen, as Print inks: the not-xor pen took away every edge two boxes share.
    fixed("objOutSrc.DrawMode = VbMaskPen");
    fixed("'項目印刷設定");
  }

  std::string finish() {
    bare(visibility_ +
         "Sub F_RndBox(prmCnt As Object, prmX1 as Single, prmY1 as Single, prmX2 as Single, "
         "prmY2 as Single , sngKei As Single, lngClr As Long)");
    fixed("On Error Resume Next");
    fixed("'変数宣言");
    fixed("Const dblPi = 3.1415926     '円周率");
    fixed("'");
    fixed("'角を描画");
    fixed("prmCnt.Circle (prmX1 + sngKei, prmY1 + sngKei), sngKei, lngClr, dblPi * 0.5, dblPi * 1");
    fixed("prmCnt.Circle (prmX1 + sngKei, prmY2 - sngKei), sngKei, lngClr, dblPi * 1, dblPi * 1.5");
    fixed("prmCnt.Circle (prmX2 - sngKei, prmY2 - sngKei), sngKei, lngClr, dblPi * 1.5, dblPi * 2");
    fixed("prmCnt.Circle (prmX2 - sngKei, prmY1 + sngKei), sngKei, lngClr, 0, dblPi * 0.5");
    fixed("'ﾗｲﾝ部を描画");
    fixed("prmCnt.Line (prmX1 + sngKei, prmY1)-(prmX2 - sngKei, prmY1), lngClr");
    fixed("prmCnt.Line (prmX1, prmY1 + sngKei)-(prmX1, prmY2 - sngKei), lngClr");
    fixed("prmCnt.Line (prmX1 + sngKei, prmY2)-(prmX2 - sngKei, prmY2), lngClr");
    fixed("prmCnt.Line (prmX2, prmY1 + sngKei)-(prmX2, prmY2 - sngKei), lngClr");
    bare("End Sub");
    return std::move(body_);
  }

  static constexpr BlockRules kRules{.endTakesOwnDirection = true, .layerClosesBlocks = false};

  bool beginLayer(const SourceWalk::Layer& l) override {
    depth_ = 0;
    bare("'" + OneLine(walk_.name(l.number)));
    if (sub_) bare("F_dataPrint_" + std::to_string(l.number) + ":");
    return true;
  }

  void endLayer() override {
    // A loop left open stays open, as the list has it.
    if (!sub_) return;
    fixed("'");
    fixed("Return");
  }

  void changeText(const TextState& from, const TextState& to) override {
    if (from.font != to.font) object({"objOutSrc.Font.Name = ", kQ, to.font, kQ});
    if (from.size != to.size) object({"objOutSrc.Font.Size = ", FormatSingle(to.size)});
    auto flag = [this](bool now, bool wanted, std::string_view property) {
      if (now != wanted) object({"objOutSrc.Font.", property, " = ", wanted ? "True" : "False"});
    };
    flag(from.bold, to.bold, "Bold");
    flag(from.italic, to.italic, "Italic");
    flag(from.strikethrough, to.strikethrough, "Strikethrough");
    flag(from.underline, to.underline, "UnderLine");
    if (from.color != to.color) object({"objOutSrc.ForeColor = ", Rgb(to.color)});
  }

  void text(const ObjectRecord& r, const TextObject& t, const TextState& was, const TextState& now,
            const Offsets& at) override {
    label(r);
    changeText(was, now);
    const std::string literal = std::string(kQ) + LiteralBody(P_QuoteEsc(t.text)) + std::string(kQ);
    std::string print;
    std::string width;
    if (!t.field.empty()) {
      print = width = OneLine(t.field);
    } else if (t.align == 0) {
      print = literal;
    } else {
      print = width = "\"出力ﾃﾞｰﾀ\"";
    }
    switch (t.align) {
      case 0:
        object({"objOutSrc.CurrentX = ", FormatDouble(r.X1), at.x});
        break;
      case 1:
      case 2:
        object({"strTxt = ", literal});
        object({"sngSize = (objOutSrc.TextWidth(strTxt) - objOutSrc.TextWidth(", width, "))",
                t.align == 2 ? " / 2" : ""});
        object({"objOutSrc.CurrentX = ", FormatDouble(r.X1), " + sngSize", at.x});
        break;
      default:
        return;  // an unknown alignment is neither placed nor printed
    }
    object({"objOutSrc.CurrentY = ", FormatDouble(r.Y1), at.y});
    object({"objOutSrc.Print ", print, ";"});
  }

  void line(const ObjectRecord& r, const LineObject& l, const Offsets& at) override {
    label(r);
    writePen(l.pen);
    object({"objOutSrc.Line (", FormatDouble(r.X1), at.x, ", ", FormatDouble(r.Y1), at.y, ")-(",
            FormatDouble(r.X2), at.x, ", ", FormatDouble(r.Y2), at.y, "), ", Rgb(l.color)});
  }

  void box(const ObjectRecord& r, const BoxObject& b, const Offsets& at) override {
    label(r);
    writePen(b.pen);
    if (!b.hatch.hatched) {
      if (!b.rounded()) {
        object({"objOutSrc.Line ( ", FormatDouble(r.X1), at.x, ", ", FormatDouble(r.Y1), at.y,
                ")-( ", FormatDouble(r.X2), at.x, ", ", FormatDouble(r.Y2), at.y, "), ",
                Rgb(b.color), ", B"});
      } else {
        object({"Call F_RndBox(objOutSrc, ", FormatDouble(r.X1), at.x, ", ", FormatDouble(r.Y1),
                at.y, ",", FormatDouble(r.X2), at.x, ", ", FormatDouble(r.Y2), at.y, ", ",
                OneLine(b.radius), ", ", Rgb(b.color), ")"});
      }
      return;
    }
    // A hatched box is always square; a code that names no colour fills nothing.
    hatchFill(b.hatch);
    object({"objOutSrc.Line ( ", FormatDouble(r.X1), at.x, ", ", FormatDouble(r.Y1), at.y, ")-(",
            FormatDouble(r.X2), at.x, ", ", FormatDouble(r.Y2), at.y, " ), ", Rgb(b.color), ", B"});
    if (b.hatch.palette) object("objOutSrc.FillStyle = vbFSTransparent");
  }

  void picture(const ObjectRecord& r, const PictureObject& p, const Offsets& at) override {
    object({"Set objPic = LoadPicture(", kQ, LiteralBody(p.path), kQ, ")"});
    object({"objOutSrc.PaintPicture objPic, ", FormatDouble(r.X1), at.x, ", ", FormatDouble(r.Y1),
            at.y, p.transparent ? ", , , , , , , vbSrcAnd" : ", , , , , , , vbSrcCopy"});
  }

  void ring(const ObjectRecord& r, const RingObject& g, const Offsets& at) override {
    label(r);
    writePen(g.pen);
    const RingShape shape = RingGeometry(r);
    hatchFill(g.hatch);
    object({"objOutSrc.Circle ( ", FormatSingle(shape.cx), at.x, ", ", FormatSingle(shape.cy), at.y,
            "), ", FormatSingle(shape.radius), ", ", Rgb(g.color), ", , , ",
            FormatSingle(shape.aspect)});
    if (g.hatch.palette || sub_) object("objOutSrc.FillStyle = VbFSTransparent");
  }

  void barcode(const ObjectRecord& r, const BarcodeObject& b, const BarcodeDrawing& drawn,
               const TextState& was, const TextState& now, const Offsets& at) override {
    label(r);
    const std::string about = BarcodeComment(b);
    if (const auto* error = std::get_if<BarcodeError>(&drawn)) {
      object({"'", about, ": 印刷できません（", error->reason, "）"});
      return;
    }
    object({"'", about});
    if (!b.field.empty()) {
      object(
          {"'", OneLine(b.field), " の値はソースではまだ符号化しません: 設計時の値を印刷します"});
    }
    const auto& placed = std::get<PlacedBarcode>(drawn);
    object("objOutSrc.DrawStyle = 0");
    object("objOutSrc.DrawWidth = 1");
    for (const BarRect& bar : placed.bars) {
      object({"objOutSrc.Line (", FormatDouble(bar.x), at.x, ", ", FormatDouble(bar.y), at.y, ")-(",
              FormatDouble(bar.x + bar.width), at.x, ", ", FormatDouble(bar.y + bar.height), at.y,
              "), ", Rgb(b.color), ", BF"});
    }
    if (!placed.digitsShown) return;
    changeText(was, now);
    const std::string digits =
        std::string(kQ) + LiteralBody(P_QuoteEsc(placed.digits)) + std::string(kQ);
    object({"objOutSrc.CurrentX = ", FormatDouble(placed.digitsX + placed.digitsWidth / 2), at.x,
            " - objOutSrc.TextWidth(", digits, ") / 2"});
    object({"objOutSrc.CurrentY = ", FormatDouble(placed.digitsY), at.y});
    object({"objOutSrc.Print ", digits, ";"});
  }

  std::string beginBlock(const ObjectRecord& r, const CommandObject& c) override {
    const std::string var = OneLine(c.variable);
    object({"'", OneLine(r.Label), "(開始)"});
    object({var, "Gain = ", FormatDouble(c.gap)});
    object({"For ", var, "= 0 To ", FormatSingle(c.count)});
    ++depth_;
    setIndent();
    object({var, "Pos = ", var, " * ", var, "Gain"});
    return var + "Pos";
  }

  void endBlock(const ObjectRecord& r, const CommandObject& c, bool /*closes*/) override {
    // The loop ends here even without a start: the list pairs them, not this writer.
    --depth_;
    setIndent();
    object({"'", OneLine(r.Label), "(終了)"});
    object({"Next ", OneLine(c.variable)});
  }

 private:
  void label(const ObjectRecord& r) { object({"'", OneLine(r.Label)}); }

  void writePen(const Pen& pen) {
    object({"objOutSrc.DrawStyle = ", std::to_string(pen.style)});
    // The printer takes widths from 1 and rounds the value given; below a half it would stop
    // the program, where the page draws the thinnest line.
    const bool thinnest = std::nearbyint(static_cast<double>(pen.width)) < 1;
    object({"objOutSrc.DrawWidth = ", thinnest ? "1" : FormatSingle(pen.width)});
  }

  void hatchFill(const Hatch& hatch) {
    if (!hatch.palette) return;
    object({"objOutSrc.FillColor = lngAMICLR(", std::to_string(*hatch.palette), ")"});
    object("objOutSrc.FillStyle = vbSolid");
  }

  void setIndent() { indent_.assign(depth_ > 0 ? static_cast<size_t>(depth_) : 0, '\t'); }

  const Design& design_;
  const std::string visibility_;
  SourceWalk walk_;
  bool sub_ = false;  // one Gosub section a layer

  std::string decl_;
  std::string body_;
  int depth_ = 0;
  std::string indent_;
};

}  // namespace

std::string P_MakeSource(const Design& design, Visibility visibility) {
  return Generator(design, visibility).flat();
}

std::string P_MakeSourceSub(const Design& design, Visibility visibility) {
  return Generator(design, visibility).sub();
}

int P_ColorPart(int32_t color, ColorPart part) {
  const auto v = static_cast<uint32_t>(color) & 0xFFFFFFu;
  switch (part) {
    case ColorPart::Red:
      return static_cast<int>(v & 0xFF);
    case ColorPart::Green:
      return static_cast<int>((v >> 8) & 0xFF);
    case ColorPart::Blue:
      return static_cast<int>((v >> 16) & 0xFF);
  }
  return 0;
}

std::string ColorArguments(int32_t color) {
  return std::to_string(P_ColorPart(color, ColorPart::Red)) + ", " +
         std::to_string(P_ColorPart(color, ColorPart::Green)) + ", " +
         std::to_string(P_ColorPart(color, ColorPart::Blue));
}

std::string P_QuoteEsc(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (c == '"') out += '"';
  }
  return out;
}

}  // namespace qf
