#include "document/design_file.h"
#include "document/design_file_fixture.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "document/cp932.h"
#include "document/field_reader.h"
#include "document/number_text.h"
#include "document/object_rows.h"
#include "support/fake_measure.h"
#include "support/random_design.h"
#include "support/temp_folder.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

TEST_F(DesignFileTest, EmptyDesignSavesAsTheListedLines) {
  Design d;
  EXPECT_EQ(serialize(d), std::string("VERSION 2.05\r\n") + std::string(kPageLine) +
                              "1Layer\r\n1,ベースレイヤー\r\nDizaColor\r\nE0E0E0\r\nC0C0C0\r\n"
                              "A0A0A0\r\n808080\r\n606060\r\n0\r\n");
  // Read back whole: nothing is missing from it, so nothing is said.
  Design back;
  LoadDecisions s;
  ASSERT_TRUE(parse(serialize(d), back, s).ok());
  EXPECT_EQ(back.objects.itemCount(), 0);
  EXPECT_EQ(s.warning, "");
}

TEST_F(DesignFileTest, BoxLineMatchesTheFileLayout) {
  Design d;
  LoadDecisions s;
  ObjectRecord box;
  box.Kind = ObjectKind::Box;
  box.Text = "2";
  box.Field = "3";
  box.Style = "0";
  box.Size = 1;
  add(d, box, {10, 10, 60, 40});
  const std::string text = serialize(d);
  EXPECT_NE(text.find("\r\n1\r\n3,\"\",10,10,60,40,\"2\",\"3.000\",\"0\",1,0,0,0,0,0,0,1\r\n"),
            std::string::npos)
      << text;
}

TEST_F(DesignFileTest, EscapedLabelRoundTrips) {
  Design d;
  LoadDecisions s;
  ObjectRecord line;
  line.Kind = ObjectKind::Line;
  line.Label = "1,2 \"x\"";
  line.Style = "0";
  line.Size = 1;
  add(d, line, {0, 0, 10, 0});
  // A label that already holds an escape comes back as the character it stands for.
  line.Label = "a<%CM%>b";
  add(d, line, {0, 0, 10, 0});
  const std::string text = serialize(d);
  EXPECT_NE(text.find("2,\"1<%CM%>2 <%DQ%>x<%DQ%>\",0,0,10,0,"), std::string::npos) << text;

  Design back;
  LoadDecisions bs;
  ASSERT_TRUE(parse(text, back, bs).ok());
  EXPECT_EQ(back.objects.cell(1, kColLabel), "1,2 \"x\"");
  EXPECT_EQ(back.objects.cell(2, kColLabel), "a,b");
}

TEST_F(DesignFileTest, LineBreaksInTextsSurviveSaveAndLoad) {
  Design d;
  LoadDecisions s;
  ObjectRecord t;
  t.Kind = ObjectKind::Text;
  t.Text = "一行目\r\n二行目\nthird\rfourth";
  t.Label = "label\r\nwith break";
  t.Style = "ＭＳ ゴシック";
  t.Size = 10;
  add(d, t, {0, 0, 5, 5});
  d.layers.setCell(1, kLayerName, "base\r\nlayer");
  const std::string text = serialize(d);

  Design back;
  LoadDecisions bs;
  ASSERT_TRUE(parse(text, back, bs).ok());
  EXPECT_EQ(back.objects.itemCount(), 1);
  EXPECT_EQ(back.objects.cell(1, kColText), t.Text);
  EXPECT_EQ(back.objects.cell(1, kColLabel), t.Label);
  EXPECT_EQ(back.objects.cell(1, kColStyle), t.Style);
  EXPECT_EQ(back.layers.cell(1, kLayerName), "base\r\nlayer");
  EXPECT_EQ(serialize(back), text);
}

// Random designs, every field its own value: the file holds each in its place and reads back
// as the same design, and writing that again gives the same bytes.
TEST_F(DesignFileTest, RandomDesignsRoundTripFieldByField) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    test::RandomDesigns random(seed);
    Design d = random.design(1 + random.pick(12), measurers_.text);
    if (seed % 8 == 0) d.page.paperSize = 256;  // the user's own size, after the table's gap
    const std::string text = serialize(d);
    // The page line holds its ten fields in their order.
    const size_t line = text.find("\r\n") + 2;
    const PageSettings& p = d.page;
    EXPECT_EQ(text.substr(line, text.find("\r\n", line) - line),
              std::to_string(p.paperSize) + ',' + std::to_string(p.orientation) + ',' +
                  std::to_string(p.scaleMode) + ',' + FormatSingle(p.marginLeft) + ',' +
                  FormatSingle(p.marginRight) + ',' + FormatSingle(p.marginTop) + ',' +
                  FormatSingle(p.marginBottom) + ',' + std::to_string(d.grid.shown) + ',' +
                  FormatSingle(d.grid.width) + ',' + FormatSingle(d.grid.height))
        << "seed " << seed;
    Design back;
    back.page.marginTop = 99;  // what the open design had must not show through
    LoadDecisions s;
    ASSERT_TRUE(parse(text, back, s).ok()) << "seed " << seed;
    EXPECT_EQ(back.page, d.page) << "seed " << seed;
    EXPECT_EQ(back.grid, d.grid) << "seed " << seed;
    EXPECT_EQ(back.palette, d.palette) << "seed " << seed;
    EXPECT_EQ(back.layers, d.layers) << "seed " << seed;
    ASSERT_EQ(back.objects.itemCount(), d.objects.itemCount()) << "seed " << seed;
    for (int r = 1; r <= d.objects.itemCount(); ++r) {
      for (int c = 0; c < kObjectColumns; ++c) {
        EXPECT_EQ(back.objects.cell(r, c), d.objects.cell(r, c))
            << "seed " << seed << " row " << r << " column " << c;
      }
    }
    const int last = d.objects.itemCount();
    EXPECT_EQ(s.currentLayer, NumericPrefix(d.objects.cell(last, kColLayer))) << "seed " << seed;
    EXPECT_EQ(s.lastObject.Label, d.objects.cell(last, kColLabel)) << "seed " << seed;
    EXPECT_EQ(serialize(back), text) << "seed " << seed;
  }
}

// Codes as old files hold them: each table's ends, one past them, an empty field, a word and
// a negative number, read into the words the list shows.
TEST_F(DesignFileTest, CodesPastTheirTablesReadAsTheListsFallbacks) {
  struct Case {
    std::string kind, text, style, align;
    int column;
    std::string cell;
    std::string layer = "1";
  };
  std::vector<Case> cases;
  // A layer number no Integer holds keeps the row before's.
  for (auto [number, cell] : std::initializer_list<std::pair<const char*, const char*>>{
           {"32767", "32767"}, {"32768", "32767"}, {"-32768", "-32768"}, {"-32769", "-32768"}}) {
    cases.push_back({"2", "", "0", "0", kColLayer, cell, number});
  }
  for (auto [code, word] : std::initializer_list<std::pair<const char*, const char*>>{
           {"0", "縦"}, {"1", "横"}, {"2", "横"}, {"", "横"}, {"x", "横"}, {"-1", "横"}}) {
    cases.push_back({"5", "0", code, "0", kColStyle, word});
  }
  for (auto [code, word] : std::initializer_list<std::pair<const char*, const char*>>{
           {"0", "開始"}, {"1", "終了"}, {"2", "終了"}, {"", "終了"}, {"開始", "終了"}}) {
    cases.push_back({"5", code, "0", "0", kColText, word});
  }
  for (auto [code, word] : std::initializer_list<std::pair<const char*, const char*>>{
           {"0", "不透過"}, {"1", "透過"}, {"5", "透過"}, {"", "透過"}, {"-1", "透過"}}) {
    cases.push_back({"4", "", code, "0", kColStyle, word});
  }
  for (auto [code, word] : std::initializer_list<std::pair<const char*, const char*>>{
           {"0", ""}, {"1", "色１"}, {"5", "色５"}, {"6", ""}, {"-1", ""}, {"", ""}, {"色", ""}}) {
    cases.push_back({"3", code, "0", "0", kColText, word});
  }
  for (auto [code, word] : std::initializer_list<std::pair<const char*, const char*>>{
           {"0", "実線"}, {"4", "二点鎖線"}, {"5", ""}, {"-1", ""}, {"", ""}, {"実線", ""}}) {
    cases.push_back({"2", "", code, "0", kColStyle, word});
  }
  for (auto [code, word] :
       std::initializer_list<std::pair<const char*, const char*>>{{"0", "左"},
                                                                  {"2", "中"},
                                                                  {"3", ""},
                                                                  {"-1", ""},
                                                                  {"1.5", "中"},
                                                                  {"2.5", "中"},
                                                                  {"x", "左"}}) {
    cases.push_back({"1", "t", "Arial", code, kColAlign, word});
  }
  for (auto [code, word] : std::initializer_list<std::pair<const char*, const char*>>{
           {"1", "ﾃｷｽﾄ"}, {"6", "ﾘﾝｸﾞ"}, {"7", "ﾊﾞｰｺｰﾄﾞ"}, {"8", ""}, {"0", ""}, {"-1", ""}}) {
    cases.push_back({code, "t", "0", "0", kColKind, word});
  }
  // A symbology no entry has prints as the first.
  for (auto [code, word] :
       std::initializer_list<std::pair<const char*, const char*>>{{"0", "JAN13"},
                                                                  {"6", "QR"},
                                                                  {"7", "ｶｽﾀﾏﾊﾞｰｺｰﾄﾞ"},
                                                                  {"8", "JAN13"},
                                                                  {"-1", "JAN13"},
                                                                  {"", "JAN13"},
                                                                  {"QR", "JAN13"}}) {
    cases.push_back({"7", "4901234567894", code, "0", kColStyle, word});
  }
  std::string file = "VERSION 2.05\r\n" + std::string(kPageLine) +
                     "1Layer\r\n1,base\r\nDizaColor\r\n1\r\n2\r\n3\r\n4\r\n5\r\n" +
                     std::to_string(cases.size()) + "\r\n";
  for (const Case& c : cases) {
    file += c.kind + ",\"\",1,2,3,4,\"" + c.text + "\",\"\",\"" + c.style + "\",1,0,0,0,0," +
            c.align + ",0," + c.layer + "\r\n";
  }
  Design d;
  LoadDecisions s;
  ASSERT_TRUE(parse(file, d, s).ok());
  ASSERT_EQ(d.objects.itemCount(), static_cast<int>(cases.size()));
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(d.objects.cell(static_cast<int>(i) + 1, c.column), c.cell)
        << "kind " << c.kind << " text " << c.text << " style " << c.style << " align " << c.align
        << " layer " << c.layer;
  }
}

TEST_F(DesignFileTest, FileWithoutLayerAndPaletteHeaders) {
  Design d;
  d.palette[2] = 0x123456;  // replaced by the defaults
  LoadDecisions s;
  FileStatus st =
      LoadDesign(fs::path(QF_TEST_DATA) / "legacy_nolayer.qfd", d, measurers_.get(), &s);
  ASSERT_TRUE(st.ok()) << st.detail;
  EXPECT_EQ(d.layers.itemCount(), 1);
  EXPECT_EQ(d.layers.cell(1, kLayerNumber), "1");
  EXPECT_EQ(d.layers.cell(1, kLayerName), "ベースレイヤー");
  Palette defaults;
  P_InitPalette(defaults);
  EXPECT_EQ(d.palette, defaults);
  ASSERT_EQ(d.objects.itemCount(), 2);
  for (int r = 1; r <= 2; ++r) {
    EXPECT_EQ(d.objects.cell(r, kColColor), "&H00000000&");
    EXPECT_EQ(d.objects.cell(r, kColLayer), "1");
  }
  EXPECT_EQ(d.objects.cell(1, kColText), "ﾃｽﾄ 文字");
  EXPECT_EQ(d.objects.cell(2, kColText), "色２");
  EXPECT_EQ(d.grid.shown, 0);
  EXPECT_FLOAT_EQ(d.grid.width, 2.5f);
  EXPECT_EQ(s.currentLayer, 1);
}

TEST_F(DesignFileTest, LayerHeaderSpellingsAndTheEmptyLayerList) {
  Design d;
  LoadDecisions s;
  ASSERT_TRUE(parse("VERSION 2.05\r\n9,1,6,15,10,10,10,-1,5,5\r\n3layer\r\n3,上\r\n2,中\r\n"
                    "1,下\r\nDizaColor\r\nFF\r\nFF00\r\nFF0000\r\n0\r\nFFFFFF\r\n1\r\n"
                    "2,\"\",1,2,3,4,\"\",\"\",\"0\",1,0,0,0,0,0,ABC,2\r\n",
                    d, s)
                  .ok());
  EXPECT_EQ(d.layers.itemCount(), 3);
  EXPECT_EQ(d.layers.cell(2, kLayerName), "中");
  EXPECT_EQ(d.palette[1], 0xFF);
  EXPECT_EQ(d.palette[5], 0xFFFFFF);
  EXPECT_EQ(d.objects.cell(1, kColColor), "&H00000ABC&");
  EXPECT_EQ(d.objects.cell(1, kColLayer), "2");
  EXPECT_EQ(s.currentLayer, 2);

  Design zero;
  ASSERT_TRUE(
      LoadDesign(fs::path(QF_TEST_DATA) / "legacy_0layer.qfd", zero, measurers_.get(), &s).ok());
  EXPECT_EQ(zero.layers.itemCount(), 0);  // not even the base layer
  ASSERT_EQ(zero.objects.itemCount(), 1);
  EXPECT_EQ(zero.objects.cell(1, kColStyle), "一点鎖線");
  EXPECT_EQ(zero.objects.cell(1, kColLayer), "1");
  EXPECT_EQ(zero.page.orientation, 2);
  EXPECT_EQ(zero.palette[2], 0xFF00);

  // An empty layer list is written as 0Layer with full object lines; they must read back
  // whole instead of running into the next object.
  zero.objects.setCell(1, kColColor, "&H000000FF&");
  zero.objects.setCell(1, kColLayer, "3");
  zero.objects.appendRow();
  zero.objects.setCell(2, kColKind, "ﾗｲﾝ");
  zero.objects.setCell(2, kColLabel, "second");
  const std::string text = serialize(zero);
  EXPECT_NE(text.find("\r\n0Layer\r\n"), std::string::npos);
  Design back;
  ASSERT_TRUE(parse(text, back, s).ok());
  ASSERT_EQ(back.objects.itemCount(), 2);
  EXPECT_EQ(back.objects.cell(1, kColColor), "&H000000FF&");
  EXPECT_EQ(back.objects.cell(1, kColLayer), "3");
  EXPECT_EQ(back.objects.cell(2, kColLabel), "second");
  EXPECT_EQ(serialize(back), text);
}

TEST_F(DesignFileTest, LockAndHideMarksAreNotKept) {
  Design d;
  d.layers.setCell(1, kLayerLock, "■");
  d.layers.setCell(1, kLayerHide, "×");
  Design back;
  LoadDecisions s;
  ASSERT_TRUE(parse(serialize(d), back, s).ok());
  EXPECT_EQ(back.layers.cell(1, kLayerLock), "");
  EXPECT_EQ(back.layers.cell(1, kLayerHide), "");
}

TEST_F(DesignFileTest, LoadingAppendsInFileOrderAndDecidesTheCurrentLayer) {
  Design d;
  LoadDecisions s;
  ASSERT_TRUE(LoadDesign(fs::path(QF_TEST_DATA) / "basic.qfd", d, measurers_.get(), &s).ok());
  ASSERT_EQ(d.objects.itemCount(), 8);
  EXPECT_EQ(d.objects.cell(1, kColLabel), "表題");
  EXPECT_EQ(d.objects.cell(8, kColLabel), "ロゴ");
  EXPECT_EQ(s.currentLayer, 2);  // the layer of the last object read
  EXPECT_EQ(s.lastObject.Label, "ロゴ");
  EXPECT_EQ(d.layers.cell(1, kLayerName), "ﾍｯﾀﾞｰ部");
  EXPECT_EQ(d.objects.cell(1, kColNumber), "1");
  // Texts are measured afresh: 3 characters of 18 pt.
  EXPECT_EQ(d.objects.cell(1, kColX2), "19.050");
  EXPECT_EQ(d.objects.cell(5, kColAlign), "右");
  EXPECT_EQ(d.objects.cell(7, kColText), "色２");
}

TEST_F(DesignFileTest, ResavingAWrittenFileIsByteIdentical) {
  Design d;
  LoadDecisions s;
  const fs::path first = dir_ / "first.qfd";
  const fs::path second = dir_ / "second.qfd";
  ASSERT_TRUE(LoadDesign(fs::path(QF_TEST_DATA) / "basic.qfd", d, measurers_.get(), &s).ok());
  ASSERT_TRUE(SaveDesign(d, first).ok());
  Design again;
  ASSERT_TRUE(LoadDesign(first, again, measurers_.get(), &s).ok());
  EXPECT_EQ(again.objects, d.objects);
  EXPECT_EQ(again.layers, d.layers);
  ASSERT_TRUE(SaveDesign(again, second).ok());
  EXPECT_EQ(ReadBytes(first), ReadBytes(second));
  // Half-width katakana is one byte in CP932.
  EXPECT_NE(ReadBytes(first).find("2,\xCD\xAF\xC0\xDE\xB0\x95\x94"), std::string::npos);
}

// The byte 0x5C is a yen sign where the page shows it (a text's text, labels, layer names) and a
// backslash in file names and field expressions; the trail byte of 表 (0x95 0x5C) stays 表, and
// the file's bytes come back as they were.
TEST_F(DesignFileTest, TheYenByteIsAYenSignInWhatThePageShows) {
  const std::string bytes =
      "VERSION 2.05\r\n9,1,6,15,10,10,10,-1,5,5\r\n2Layer\r\n2,\\\x95\\\r\n1,b\r\n"
      "DizaColor\r\n1\r\n2\r\n3\r\n4\r\n5\r\n4\r\n"
      "1,\"a\\b\",1,2,0,0,\"\\1.000 \\\",\"Format(x;\\#)\",\"\",10,0,0,0,0,0,0,2\r\n"
      "4,\"p\\q\",1,2,0,0,\"C:\\pic\\a.bmp\",\"\",\"0\",1,0,0,0,0,0,0,1\r\n"
      "3,\"\\\",1,2,3,4,\"1\",\"\",\"0\",1,0,0,0,0,0,0,1\r\n"
      "2,\"\",1,2,3,4,\"\",\"\",\"0\",1,0,0,0,0,0,0,1\r\n";
  Design d;
  LoadDecisions s;
  ASSERT_TRUE(ParseDesign(bytes, d, measurers_.get(), &s).ok());
  EXPECT_EQ(d.layers.cell(1, kLayerName), "¥表");
  EXPECT_EQ(d.layers.cell(2, kLayerName), "b");
  const ObjectRecord text = DecodeObjectRow(d.objects, 1);
  EXPECT_EQ(text.Label, "a¥b");
  EXPECT_EQ(text.Text, "¥1.000 ¥");
  EXPECT_EQ(text.Field, "Format(x;\\#)");
  const ObjectRecord picture = DecodeObjectRow(d.objects, 2);
  EXPECT_EQ(picture.Label, "p¥q");
  EXPECT_EQ(picture.Text, "C:\\pic\\a.bmp");
  EXPECT_EQ(DecodeObjectRow(d.objects, 3).Label, "¥");
  std::string again;
  ASSERT_TRUE(SerializeDesign(d, again).ok());
  for (const char* kept : {"\r\n2,\\\x95\\\r\n", "1,\"a\\b\"", "\"\\1.000 \\\",\"Format(x;\\#)\"",
                           "4,\"p\\q\",1,2,0,0,\"C:\\pic\\a.bmp\"", "3,\"\\\","}) {
    EXPECT_NE(again.find(kept), std::string::npos) << kept;
  }
}

TEST(FieldReader, QuotedAndPlainFields) {
  FieldReader r(" a b ,\"q,1\" junk,\"\"\r\n\"multi\r\nline\"\r\n,last  \n\"open");
  std::string f;
  std::vector<std::string> got;
  while (r.next(f)) got.push_back(f);
  EXPECT_EQ(got, (std::vector<std::string>{"a b", "q,1", "", "multi\r\nline", "", "last", "open"}));
  f = "kept";
  EXPECT_FALSE(r.next(f));
  EXPECT_EQ(f, "kept");
}

TEST(FieldReader, EscapeAndUnescape) {
  EXPECT_EQ(EscapeField("1,2 \"x\""), "1<%CM%>2 <%DQ%>x<%DQ%>");
  EXPECT_EQ(UnescapeField("1<%CM%>2 <%DQ%>x<%DQ%>"), "1,2 \"x\"");
  EXPECT_EQ(UnescapeField("<%cm%>"), "<%cm%>");  // case-sensitive
  EXPECT_EQ(EscapeField("<%CM%>"), "<%CM%>");
}

}  // namespace
}  // namespace qf
