#include "source/source_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "document/design_file.h"
#include "document/number_text.h"
#include "document/object_rows.h"
#include "support/design_builder.h"
#include "support/fake_measure.h"
#include "support/random_design.h"

namespace qf {
namespace {

using test::DesignBuilder;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end = text.find("\r\n", pos);
    EXPECT_NE(end, std::string::npos) << "text does not end in CR LF";
    if (end == std::string::npos) break;
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

// The object lines of the flat variant: after the fixed head, before "'印刷終了", without the
// layer comment lines.
std::vector<std::string> Body(const Design& d) {
  std::vector<std::string> all = Lines(P_MakeSource(d, Visibility::Private));
  std::vector<std::string> body;
  bool in = false;
  for (const std::string& l : all) {
    if (l == "\t'印刷終了") break;
    if (in && !l.empty() && l[0] == '\t') body.push_back(l);
    if (l == "\t'項目印刷設定") in = true;
  }
  return body;
}

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string Head(const char* visibility, const std::string& extraDeclarations = "") {
  return std::string(visibility) +
         " Sub F_DataPrint()\r\n"
         "\t'変数宣言\r\n"
         "\tDim objOutSrc           As Object       '出力先\r\n"
         "\tDim lngAMIClr(5)        As Long         '網掛け色\r\n"
         "\tDim strTxt              As String       'ﾃｷｽﾄ処理用\r\n"
         "\tDim objPic              As Object       '画像読込用\r\n"
         "\tDim sngSize             As Single       '文字列ｻｲｽﾞ計算用\r\n" +
         extraDeclarations +
         "\t'定数宣言\r\n"
         "\tlngAMICLR(0) = RGB(255, 255, 255)\t'なし\r\n"
         "\tlngAMICLR(1) = RGB(224, 224, 224)\t'色１\r\n"
         "\tlngAMICLR(2) = RGB(192, 192, 192)\t'色２\r\n"
         "\tlngAMICLR(3) = RGB(160, 160, 160)\t'色３\r\n"
         "\tlngAMICLR(4) = RGB(128, 128, 128)\t'色４\r\n"
         "\tlngAMICLR(5) = RGB(96, 96, 96)\t'色５\r\n"
         "\t'出力先設定\r\n"
         "\tSet objOutSrc = Printer\r\n"
         "\t'用紙設定\r\n"
         "\tobjOutSrc.PaperSize = VbPRPSA4\r\n"
         "\tobjOutSrc.Orientation = VbPRORPortrait\r\n"
         "\tobjOutSrc.ScaleMode = VbMillimeters\r\n"
         "\tobjOutSrc.DrawMode = VbMaskPen\r\n"
         "\t'項目印刷設定\r\n";
}

std::string RndBox(const char* visibility) {
  return std::string(visibility) +
         " Sub F_RndBox(prmCnt As Object, prmX1 as Single, prmY1 as Single, prmX2 as Single, "
         "prmY2 as Single , sngKei As Single, lngClr As Long)\r\n"
         "\tOn Error Resume Next\r\n"
         "\t'変数宣言\r\n"
         "\tConst dblPi = 3.1415926     '円周率\r\n"
         "\t'\r\n"
         "\t'角を描画\r\n"
         "\tprmCnt.Circle (prmX1 + sngKei, prmY1 + sngKei), sngKei, lngClr, dblPi * 0.5, dblPi * "
         "1\r\n"
         "\tprmCnt.Circle (prmX1 + sngKei, prmY2 - sngKei), sngKei, lngClr, dblPi * 1, dblPi * "
         "1.5\r\n"
         "\tprmCnt.Circle (prmX2 - sngKei, prmY2 - sngKei), sngKei, lngClr, dblPi * 1.5, dblPi * "
         "2\r\n"
         "\tprmCnt.Circle (prmX2 - sngKei, prmY1 + sngKei), sngKei, lngClr, 0, dblPi * 0.5\r\n"
         "\t'ﾗｲﾝ部を描画\r\n"
         "\tprmCnt.Line (prmX1 + sngKei, prmY1)-(prmX2 - sngKei, prmY1), lngClr\r\n"
         "\tprmCnt.Line (prmX1, prmY1 + sngKei)-(prmX1, prmY2 - sngKei), lngClr\r\n"
         "\tprmCnt.Line (prmX1 + sngKei, prmY2)-(prmX2 - sngKei, prmY2), lngClr\r\n"
         "\tprmCnt.Line (prmX2, prmY1 + sngKei)-(prmX2, prmY2 - sngKei), lngClr\r\n"
         "End Sub\r\n";
}

TEST(SourceGenerator, EmptyDesignInBothVariants) {
  Design d;
  EXPECT_EQ(P_MakeSource(d, Visibility::Private),
            Head("Private") +
                "'ベースレイヤー\r\n"
                "\t'印刷終了\r\n\tobjOutSrc.EndDoc\r\n\tobjOutSrc.DrawMode = VbCopyPen\r\n"
                "End Sub\r\n" +
                RndBox("Private"));
  EXPECT_EQ(P_MakeSourceSub(d, Visibility::Public),
            Head("Public") +
                "\t'ベースレイヤー\r\n\tGosub F_DataPrint_1\r\n"
                "\t'印刷終了\r\n\tobjOutSrc.EndDoc\r\n\tobjOutSrc.DrawMode = VbCopyPen\r\n"
                "\t'\r\n\tExit Sub\r\n"
                "'ベースレイヤー\r\nF_dataPrint_1:\r\n\t'\r\n\tReturn\r\n"
                "End Sub\r\n" +
                RndBox("Public"));
}

TEST(SourceGenerator, WholeDesignMatchesTheGoldenFiles) {
  namespace fs = std::filesystem;
  const fs::path data(QF_TEST_DATA);
  test::FakeMeasurers m;
  Design d;
  ASSERT_TRUE(LoadDesign(data / "golden.qfd", d, m.get()).ok());
  const std::pair<std::string, std::string> cases[] = {
      {"golden_sub_private.bas", P_MakeSourceSub(d, Visibility::Private)},
      {"golden_flat_public.bas", P_MakeSource(d, Visibility::Public)},
  };
  for (const auto& [file, text] : cases) {
    if (std::getenv("QF_UPDATE_GOLDEN")) std::ofstream(data / file, std::ios::binary) << text;
    EXPECT_EQ(text, ReadFile(data / file)) << file;
  }
}

TEST(SourceGenerator, QuotesAreDoubledInTextsOnly) {
  DesignBuilder b;
  b.text("He said \"hi\"", 10, 20, 0, "", "Font \"Q\"");
  b.text("\"", 10, 30, 1, "", "Font \"Q\"");
  EXPECT_EQ(Body(b.design), (std::vector<std::string>{
                                "\t't",
                                "\tobjOutSrc.Font.Name = \"Font \"Q\"\"",
                                "\tobjOutSrc.Font.Size = 10.5",
                                "\tobjOutSrc.CurrentX = 10",
                                "\tobjOutSrc.CurrentY = 20",
                                "\tobjOutSrc.Print \"He said \"\"hi\"\"\";",
                                "\t't",
                                "\tstrTxt = \"\"\"\"",
                                "\tsngSize = (objOutSrc.TextWidth(strTxt) - "
                                "objOutSrc.TextWidth(\"出力ﾃﾞｰﾀ\"))",
                                "\tobjOutSrc.CurrentX = 10 + sngSize",
                                "\tobjOutSrc.CurrentY = 30",
                                "\tobjOutSrc.Print \"出力ﾃﾞｰﾀ\";",
                            }));
  EXPECT_EQ(P_QuoteEsc("a\"b\"\""), "a\"\"b\"\"\"\"");
}

TEST(SourceGenerator, TextStateWithinAndAcrossLayers) {
  DesignBuilder b;
  b.layer(2, "上");
  b.on(1).text("a", 1, 2, 0, "", "ＭＳ 明朝", 12, -1).text("b", 3, 4, 0, "", "ＭＳ 明朝", 12, -1);
  b.on(2).text("c", 5, 6, 2, "rs!C", "ＭＳ 明朝", 12, 0);
  EXPECT_EQ(Body(b.design), (std::vector<std::string>{
                                "\t't",
                                "\tobjOutSrc.Font.Name = \"ＭＳ 明朝\"",
                                "\tobjOutSrc.Font.Size = 12",
                                "\tobjOutSrc.Font.Bold = True",
                                "\tobjOutSrc.CurrentX = 1",
                                "\tobjOutSrc.CurrentY = 2",
                                "\tobjOutSrc.Print \"a\";",
                                "\t't",
                                "\tobjOutSrc.CurrentX = 3",
                                "\tobjOutSrc.CurrentY = 4",
                                "\tobjOutSrc.Print \"b\";",
                                // The printer keeps its font from layer to layer: the layer puts
                                // back what it changed, and the next starts from the defaults.
                                "\tobjOutSrc.Font.Bold = False",
                                "\t't",
                                "\tobjOutSrc.Font.Name = \"ＭＳ 明朝\"",
                                "\tobjOutSrc.Font.Size = 12",
                                "\tstrTxt = \"c\"",
                                "\tsngSize = (objOutSrc.TextWidth(strTxt) - "
                                "objOutSrc.TextWidth(rs!C)) / 2",
                                "\tobjOutSrc.CurrentX = 5 + sngSize",
                                "\tobjOutSrc.CurrentY = 6",
                                "\tobjOutSrc.Print rs!C;",
                            }));
}

TEST(SourceGenerator, RepeatDeclarationsAndNestedOffsets) {
  DesignBuilder b;
  b.repeat("Txt", true).end("Txt", true);  // contained in strTxt: no Dim lines
  b.repeat("sngJ", false, 40, 2);          // horizontal outside
  b.repeat("sngI", true, 6.5, 9);          // vertical inside
  b.repeat("sngK", true, 0.25, 1);         // vertical inside that
  b.text("x", 10, 20);
  b.end("sngK", true).end("sngI", true).end("sngJ", false);
  b.repeat("sngI", true).end("sngI", true);  // declared already

  const std::string text = P_MakeSource(b.design, Visibility::Private);
  EXPECT_EQ(text.find("Dim Txt"), std::string::npos);
  EXPECT_NE(text.find("\tDim sngK\t\tAs Single\r\n\tDim sngKGain\t\tAs Single\r\n"
                      "\tDim sngKPos\t\tAs Single\r\n\t'定数宣言"),
            std::string::npos)
      << text;
  size_t dims = 0;
  for (size_t p = text.find("Dim sngI\t"); p != std::string::npos;
       p = text.find("Dim sngI\t", p + 1)) {
    ++dims;
  }
  EXPECT_EQ(dims, 1u);

  const std::vector<std::string> body = Body(b.design);
  const std::vector<std::string> nested(body.begin() + 6, body.begin() + 25);
  EXPECT_EQ(nested, (std::vector<std::string>{
                        "\t'明細(開始)",
                        "\tsngJGain = 40",
                        "\tFor sngJ= 0 To 2",
                        "\t\tsngJPos = sngJ * sngJGain",
                        "\t\t'明細(開始)",
                        "\t\tsngIGain = 6.5",
                        "\t\tFor sngI= 0 To 9",
                        "\t\t\tsngIPos = sngI * sngIGain",
                        "\t\t\t'明細(開始)",
                        "\t\t\tsngKGain = 0.25",
                        "\t\t\tFor sngK= 0 To 1",
                        "\t\t\t\tsngKPos = sngK * sngKGain",
                        "\t\t\t\t't",
                        "\t\t\t\tobjOutSrc.Font.Name = \"ＭＳ 明朝\"",
                        "\t\t\t\tobjOutSrc.Font.Size = 10.5",
                        "\t\t\t\tobjOutSrc.CurrentX = 10 + sngJPos",
                        "\t\t\t\tobjOutSrc.CurrentY = 20 + sngIPos + sngKPos",
                        "\t\t\t\tobjOutSrc.Print \"x\";",
                        "\t\t\t'明細(終了)",
                    }));
  EXPECT_EQ(body[25], "\t\t\tNext sngK");
  // Between an inner block's end and the outer's, the outer's offset still holds.
  for (const bool vertical : {false, true}) {
    DesignBuilder two;
    two.repeat("sngA", vertical, 30, 1).repeat("sngB", vertical, 10, 1);
    two.text("in", 1, 2).end("sngB", vertical).text("after", 3, 4).end("sngA", vertical);
    const std::vector<std::string> lines = Body(two.design);
    const std::string after =
        vertical ? "\t\tobjOutSrc.CurrentY = 4 + sngAPos" : "\t\tobjOutSrc.CurrentX = 3 + sngAPos";
    EXPECT_NE(std::find(lines.begin(), lines.end(), after), lines.end()) << after;
  }
  EXPECT_EQ(body[27], "\t\tNext sngI");
  EXPECT_EQ(body[29], "\tNext sngJ");
}

TEST(SourceGenerator, BoxesSquareHatchedAndRounded) {
  DesignBuilder b;
  b.box(10, 20, 110, 60, "2", "3");  // hatched: the radius is not used
  b.repeat("i", true);
  b.box(10, 20, 110, 60, "0", "3");
  b.end("i", true);
  b.box(1, 2, 3, 4, "0", "");
  // The radius is written as the cell holds it.
  b.design.objects.setCell(3, kColField, "3");
  const std::vector<std::string> body = Body(b.design);
  EXPECT_EQ(std::vector<std::string>(body.begin(), body.begin() + 7),
            (std::vector<std::string>{
                "\t'b",
                "\tobjOutSrc.DrawStyle = 0",
                "\tobjOutSrc.DrawWidth = 1",
                "\tobjOutSrc.FillColor = lngAMICLR(2)",
                "\tobjOutSrc.FillStyle = vbSolid",
                "\tobjOutSrc.Line ( 10, 20)-(110, 60 ), RGB(0, 0, 0), B",
                "\tobjOutSrc.FillStyle = vbFSTransparent",
            }));
  EXPECT_EQ(body[14],
            "\t\tCall F_RndBox(objOutSrc, 10, 20 + iPos,110, 60 + iPos, 3, RGB(0, 0, 0))");
  EXPECT_EQ(body.back(), "\tobjOutSrc.Line ( 1, 2)-( 3, 4), RGB(0, 0, 0), B");
}

TEST(SourceGenerator, RingsAndPicturesPerVariant) {
  DesignBuilder b;
  ObjectRecord ring;
  ring.Kind = ObjectKind::Ring;
  ring.Label = "r";
  ring.Text = "0";
  ring.Style = "3";
  ring.Size = 2;
  ring.Color = 0x00FF00;
  b.add(ring, {0, 0, 40, 20});
  ObjectRecord pic;
  pic.Kind = ObjectKind::Picture;
  pic.Label = "no comment";
  pic.Text = "C:\\a.bmp";
  pic.Style = "0";
  b.add(pic, {0, 0, 7, 8});
  const std::vector<std::string> flat = Body(b.design);
  EXPECT_EQ(flat, (std::vector<std::string>{
                      "\t'r",
                      "\tobjOutSrc.DrawStyle = 3",
                      "\tobjOutSrc.DrawWidth = 2",
                      "\tobjOutSrc.Circle ( 20, 10), 20, RGB(0, 255, 0), , , 0.5",
                      "\tSet objPic = LoadPicture(\"C:\\a.bmp\")",
                      "\tobjOutSrc.PaintPicture objPic, 7, 8, , , , , , , vbSrcCopy",
                  }));
  // The subroutine variant ends every ring with the transparent fill.
  const std::string sub = P_MakeSourceSub(b.design, Visibility::Private);
  EXPECT_NE(sub.find("RGB(0, 255, 0), , , 0.5\r\n\tobjOutSrc.FillStyle = VbFSTransparent\r\n"),
            std::string::npos);
}

TEST(SourceGenerator, PageConstantsLayersAndUnlistedRows) {
  DesignBuilder b;
  b.design.page.orientation = 2;
  b.design.page.paperSize = 29;
  b.design.page.scaleMode = 6;
  b.layer(3, "消した").layer(2, "二");
  b.on(3).text("gone", 1, 1);
  b.on(2).text("kept", 1, 1);
  b.design.layers.removeRow(2);  // layer 3 is deleted, its object stays
  b.design.objects.appendRow();  // an empty row
  b.design.objects.setCell(3, kColKind, "ﾅﾆｶ");
  b.design.objects.setCell(3, kColLayer, "2");
  const std::string text = P_MakeSourceSub(b.design, Visibility::Private);
  EXPECT_NE(text.find("\tobjOutSrc.PaperSize = VbPRPSEnvC3\r\n"), std::string::npos);
  EXPECT_NE(text.find("\tobjOutSrc.Orientation = VbPRORLandscape\r\n"), std::string::npos);
  EXPECT_NE(text.find("\tobjOutSrc.ScaleMode = VbMillimeters\r\n"), std::string::npos);
  EXPECT_EQ(text.find("gone"), std::string::npos);
  EXPECT_NE(text.find("kept"), std::string::npos);
  // Layers from the last row up: the base layer's section comes first.
  EXPECT_LT(text.find("F_dataPrint_1:"), text.find("F_dataPrint_2:"));
  EXPECT_EQ(text.find("F_dataPrint_3:"), std::string::npos);

  b.design.page.paperSize = 99;
  b.design.page.orientation = 0;
  const std::string unlisted = P_MakeSource(b.design, Visibility::Private);
  EXPECT_NE(unlisted.find("\tobjOutSrc.PaperSize = \r\n\tobjOutSrc.Orientation = \r\n"),
            std::string::npos);
}

TEST(SourceGenerator, LineBreaksInDesignValuesNeverStartALineOfCode) {
  DesignBuilder b;
  ObjectRecord t;
  t.Kind = ObjectKind::Text;
  t.Label = "x\r\nEnd Sub";
  t.Text = "一\r\n二\nthree";
  t.Style = "Font\nName";
  t.Size = 9;
  b.add(t, {1, 2, 1, 2});
  t.Label = "y";
  t.Field = "rs!A\r\nrs!B";
  t.Align = 1;
  b.add(t, {1, 2, 1, 2});
  b.repeat("sng\nI", true).end("sng\nI", true);
  b.design.layers.setCell(1, kLayerName, "base\r\nEnd Sub");
  for (const std::string& text : {P_MakeSource(b.design, Visibility::Private),
                                  P_MakeSourceSub(b.design, Visibility::Private)}) {
    const std::vector<std::string> lines = Lines(text);
    size_t endSubs = 0;
    for (const std::string& l : lines) endSubs += l == "End Sub" ? 1 : 0;
    EXPECT_EQ(endSubs, 2u) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
              std::count(text.begin(), text.end(), '\r'));
    EXPECT_NE(text.find("\t'x End Sub\r\n"), std::string::npos);
    EXPECT_NE(text.find("\tobjOutSrc.Print \"一\" & vbCrLf & \"二\" & vbCrLf & \"three\";\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\tobjOutSrc.Font.Name = \"Font Name\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\tobjOutSrc.Print rs!A rs!B;\r\n"), std::string::npos);
    EXPECT_NE(text.find("For sng I= 0 To 9\r\n"), std::string::npos);
    EXPECT_NE(text.find("'base End Sub\r\n"), std::string::npos);
  }
  // A lone CR is one break, two LFs are two; none of them swallows what follows.
  b.design.objects.setCell(1, kColLabel, "p\rq\n\nr");
  b.design.objects.setCell(1, kColText, "s\rt\n\nu");
  const std::string text = P_MakeSource(b.design, Visibility::Private);
  EXPECT_NE(text.find("\t'p q  r\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"s\" & vbCrLf & \"t\" & vbCrLf & \"\" & vbCrLf & \"u\""),
            std::string::npos);
}

TEST(SourceGenerator, UnbalancedRepeatsAndColourParts) {
  DesignBuilder b;
  b.end("i", true);         // an end without a start
  b.text("after", 1, 2);    // stays unindented
  b.repeat("sngQ", false);  // a start without an end
  const std::vector<std::string> body = Body(b.design);
  EXPECT_EQ(body[0], "\t'明細(終了)");
  EXPECT_EQ(body[1], "\tNext i");
  EXPECT_EQ(body[5], "\tobjOutSrc.CurrentX = 1");
  // The depth went below zero, so the start's block is not indented either.
  EXPECT_EQ(body.back(), "\tsngQPos = sngQ * sngQGain");

  EXPECT_EQ(P_ColorPart(0x123456, ColorPart::Red), 0x56);
  EXPECT_EQ(P_ColorPart(0x123456, ColorPart::Green), 0x34);
  EXPECT_EQ(P_ColorPart(0x123456, ColorPart::Blue), 0x12);
  EXPECT_EQ(P_ColorPart(-1, ColorPart::Blue), 255);  // only the low 24 bits count
  EXPECT_EQ(P_ColorPart(0x7F123456, ColorPart::Blue), 0x12);
  EXPECT_EQ(ColorArguments(0x0000FF), "255, 0, 0");
}

}  // namespace
}  // namespace qf
