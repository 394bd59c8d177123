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
  return "RGB(" + std::to_string(P_ColorPart(color, "R")) + ", " +
         std::to_string(P_ColorPart(color, "G")) + ", " + std::to_string(P_ColorPart(color, "B")) +
         ")";
}

std::string Bool(int16_t flag) {
  return flag != 0 ? "True" : "False";
}

// The text properties last written.
struct TextState {
  std::string font;
  float size = 0;
  bool bold = false;
  bool italic = false;
  bool strikethrough = false;
  bool underline = false;
  int32_t color = 0;
};

class Generator {
 public:
  Generator(const Design& design, Visibility visibility)
      : design_(design),
        visibility_(visibility == Visibility::Public ? "Public " : "Private "),
        walk_(design) {}

  std::string flat() {
    head();
    for (const SourceWalk::Layer& l : walk_.printingOrder()) {
      bare("'" + OneLine(walk_.name(l.number)));
      layerObjects(l.number, false);
    }
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
    for (const SourceWalk::Layer& l : walk_.printingOrder()) {
      bare("'" + OneLine(walk_.name(l.number)));
      bare("F_dataPrint_" + std::to_string(l.number) + ":");
      layerObjects(l.number, true);
      fixed("'");
      fixed("Return");
    }
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
        if (CommandModeCode(design_.objects.cell(row, kColText)) != "0") return;
        const std::string var = OneLine(design_.objects.cell(row, kColField));
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

  void layerObjects(int32_t number, bool sub) {
    text_ = TextState{};
    depth_ = 0;
    blockStates_.clear();
    walk_.forEachRow(number, [this, sub](int row) {
      DecodeObjectRow(record_, design_.objects, row);
      writeObject(record_, sub);
    });
    // The printer keeps its font and colour from layer to layer, and every layer is written
    // for the defaults: what this layer's texts changed is put back.
    restoreText(TextState{});
  }

  // Writes the lines that give the printer the text state `to` again, where the state written
  // last differs from it; a font name or size of nothing is left to the next text to write.
  void restoreText(const TextState& to) {
    if (!to.font.empty() && text_.font != to.font) {
      object({"objOutSrc.Font.Name = ", kQ, to.font, kQ});
    }
    if (to.size != 0 && text_.size != to.size) {
      object({"objOutSrc.Font.Size = ", FormatSingle(to.size)});
    }
    auto flag = [this](bool now, bool wanted, std::string_view property) {
      if (now != wanted) object({"objOutSrc.Font.", property, " = ", wanted ? "True" : "False"});
    };
    flag(text_.bold, to.bold, "Bold");
    flag(text_.italic, to.italic, "Italic");
    flag(text_.strikethrough, to.strikethrough, "Strikethrough");
    flag(text_.underline, to.underline, "UnderLine");
    if (text_.color != to.color) object({"objOutSrc.ForeColor = ", Rgb(to.color)});
    TextState kept = to;
    if (kept.font.empty()) kept.font = text_.font;
    if (kept.size == 0) kept.size = text_.size;
    text_ = kept;
  }

  void writeObject(const ObjectRecord& r, bool sub) {
    if (r.Kind != ObjectKind::Command && r.Kind != ObjectKind::Picture) {
      object({"'", OneLine(r.Label)});
    }
    switch (r.Kind) {
      case ObjectKind::Text:
        writeText(r);
        break;
      case ObjectKind::Line:
        writePen(r);
        object({"objOutSrc.Line (", FormatDouble(r.X1), xOffset_, ", ", FormatDouble(r.Y1),
                yOffset_, ")-(", FormatDouble(r.X2), xOffset_, ", ", FormatDouble(r.Y2), yOffset_,
                "), ", Rgb(r.Color)});
        break;
      case ObjectKind::Box:
        writeBox(r);
        break;
      case ObjectKind::Picture:
        object({"Set objPic = LoadPicture(", kQ, LiteralBody(r.Text), kQ, ")"});
        object({"objOutSrc.PaintPicture objPic, ", FormatDouble(r.X1), xOffset_, ", ",
                FormatDouble(r.Y1), yOffset_,
                r.Style == "0" ? ", , , , , , , vbSrcCopy" : ", , , , , , , vbSrcAnd"});
        break;
      case ObjectKind::Command:
        writeCommand(r);
        break;
      case ObjectKind::Ring:
        writeRing(r, sub);
        break;
      case ObjectKind::None:
        break;
    }
  }

  void writeText(const ObjectRecord& r) {
    const std::string font = OneLine(r.Style);
    if (font != text_.font) {
      object({"objOutSrc.Font.Name = ", kQ, font, kQ});
      text_.font = font;
    }
    if (r.Size != text_.size) {
      object({"objOutSrc.Font.Size = ", FormatSingle(r.Size)});
      text_.size = r.Size;
    }
    auto flag = [this](bool& state, int16_t value, std::string_view property) {
      if ((value != 0) == state) return;
      state = value != 0;
      object({"objOutSrc.Font.", property, " = ", Bool(value)});
    };
    flag(text_.bold, r.Bold, "Bold");
    flag(text_.italic, r.Italic, "Italic");
    flag(text_.strikethrough, r.Strikethrough, "Strikethrough");
    flag(text_.underline, r.Underline, "UnderLine");
    if (r.Color != text_.color) {
      object({"objOutSrc.ForeColor = ", Rgb(r.Color)});
      text_.color = r.Color;
    }

    const std::string literal = std::string(kQ) + LiteralBody(P_QuoteEsc(r.Text)) + std::string(kQ);
    std::string print;
    std::string width;
    if (!r.Field.empty()) {
      print = width = OneLine(r.Field);
    } else if (r.Align == 0) {
      print = literal;
    } else {
      print = width = "\"出力ﾃﾞｰﾀ\"";
    }
    switch (r.Align) {
      case 0:
        object({"objOutSrc.CurrentX = ", FormatDouble(r.X1), xOffset_});
        break;
      case 1:
      case 2:
        object({"strTxt = ", literal});
        object({"sngSize = (objOutSrc.TextWidth(strTxt) - objOutSrc.TextWidth(", width, "))",
                r.Align == 2 ? " / 2" : ""});
        object({"objOutSrc.CurrentX = ", FormatDouble(r.X1), " + sngSize", xOffset_});
        break;
      default:
        return;  // an unknown alignment is neither placed nor printed
    }
    object({"objOutSrc.CurrentY = ", FormatDouble(r.Y1), yOffset_});
    object({"objOutSrc.Print ", print, ";"});
  }

  void writePen(const ObjectRecord& r) {
    object({"objOutSrc.DrawStyle = ", OneLine(r.Style)});
    // The printer takes widths from 1 and rounds the value given; below a half it would stop
    // the program, where the page draws the thinnest line.
    const bool thinnest = std::nearbyint(static_cast<double>(r.Size)) < 1;
    object({"objOutSrc.DrawWidth = ", thinnest ? "1" : FormatSingle(r.Size)});
  }

  void writeBox(const ObjectRecord& r) {
    writePen(r);
    if (r.Text == "0") {
      if (r.Field.empty()) {
        object({"objOutSrc.Line ( ", FormatDouble(r.X1), xOffset_, ", ", FormatDouble(r.Y1),
                yOffset_, ")-( ", FormatDouble(r.X2), xOffset_, ", ", FormatDouble(r.Y2), yOffset_,
                "), ", Rgb(r.Color), ", B"});
      } else {
        object({"Call F_RndBox(objOutSrc, ", FormatDouble(r.X1), xOffset_, ", ", FormatDouble(r.Y1),
                yOffset_, ",", FormatDouble(r.X2), xOffset_, ", ", FormatDouble(r.Y2), yOffset_,
                ", ", OneLine(r.Field), ", ", Rgb(r.Color), ")"});
      }
      return;
    }
    // A hatched box is always square.
    object({"objOutSrc.FillColor = lngAMICLR(", r.Text, ")"});
    object("objOutSrc.FillStyle = vbSolid");
    object({"objOutSrc.Line ( ", FormatDouble(r.X1), xOffset_, ", ", FormatDouble(r.Y1), yOffset_,
            ")-(", FormatDouble(r.X2), xOffset_, ", ", FormatDouble(r.Y2), yOffset_, " ), ",
            Rgb(r.Color), ", B"});
    object("objOutSrc.FillStyle = vbFSTransparent");
  }

  void writeRing(const ObjectRecord& r, bool sub) {
    writePen(r);
    const RingShape g = RingGeometry(r);
    const bool hatched = r.Text != "0";
    if (hatched) {
      object({"objOutSrc.FillColor = lngAMICLR(", r.Text, ")"});
      object("objOutSrc.FillStyle = vbSolid");
    }
    object({"objOutSrc.Circle ( ", FormatSingle(g.cx), xOffset_, ", ", FormatSingle(g.cy), yOffset_,
            "), ", FormatSingle(g.radius), ", ", Rgb(r.Color), ", , , ", FormatSingle(g.aspect)});
    if (hatched || sub) object("objOutSrc.FillStyle = VbFSTransparent");
  }

  void setIndent() { indent_.assign(depth_ > 0 ? static_cast<size_t>(depth_) : 0, '\t'); }

  static std::string OffsetText(const std::vector<std::string>& list) {
    std::string out;
    for (const std::string& v : list) out += " + " + v;
    return out;
  }

  void writeCommand(const ObjectRecord& r) {
    const std::string var = OneLine(r.Field);
    const bool vertical = r.Style == "0";
    const std::string label = OneLine(r.Label);
    if (r.Text == "0") {
      // Each pass starts with the text state the block's first texts were written for.
      blockStates_.push_back(text_);
      object({"'", label, "(開始)"});
      object({var, "Gain = ", FormatDouble(r.X1)});
      object({"For ", var, "= 0 To ", FormatSingle(r.Size)});
      ++depth_;
      setIndent();
      object({var, "Pos = ", var, " * ", var, "Gain"});
      std::vector<std::string>& list = vertical ? vertical_ : horizontal_;
      list.push_back(var + "Pos");
      (vertical ? yOffset_ : xOffset_) = OffsetText(list);
      return;
    }
    if (!blockStates_.empty()) {
      restoreText(blockStates_.back());
      blockStates_.pop_back();
    }
    --depth_;
    setIndent();
    object({"'", label, "(終了)"});
    object({"Next ", var});
    std::vector<std::string>& list = vertical ? vertical_ : horizontal_;
    if (!list.empty()) list.pop_back();
    (vertical ? yOffset_ : xOffset_) = OffsetText(list);
  }

  const Design& design_;
  const std::string visibility_;
  SourceWalk walk_;
  ObjectRecord record_;

  std::string decl_;
  std::string body_;
  TextState text_;
  std::vector<TextState> blockStates_;  // the text state at the start of each open block
  int depth_ = 0;
  std::string indent_;
  std::vector<std::string> vertical_;
  std::vector<std::string> horizontal_;
  std::string yOffset_;
  std::string xOffset_;
};

}  // namespace

std::string P_MakeSource(const Design& design, Visibility visibility) {
  return Generator(design, visibility).flat();
}

std::string P_MakeSourceSub(const Design& design, Visibility visibility) {
  return Generator(design, visibility).sub();
}

int P_ColorPart(int32_t color, std::string_view part) {
  const auto v = static_cast<uint32_t>(color) & 0xFFFFFFu;
  if (part.size() != 1) return 0;
  switch (part[0]) {
    case 'R':
    case 'r':
      return static_cast<int>(v & 0xFF);
    case 'G':
    case 'g':
      return static_cast<int>((v >> 8) & 0xFF);
    case 'B':
    case 'b':
      return static_cast<int>((v >> 16) & 0xFF);
    default:
      return 0;
  }
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
