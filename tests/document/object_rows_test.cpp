#include "document/object_rows.h"

#include <gtest/gtest.h>

#include "support/fake_measure.h"

namespace qf {
namespace {

// Fills one object row from display texts, column 1 on.
int AddRow(TextTable& t, std::initializer_list<const char*> cells) {
  const int row = t.appendRow();
  int col = 1;
  for (const char* c : cells) t.setCell(row, col++, c);
  return row;
}

TEST(NameTables, UnlistedWordsAndCodesFollowTheirTables) {
  EXPECT_EQ(KindFromName("ﾘﾝｸﾞ"), ObjectKind::Ring);
  EXPECT_EQ(KindFromName("リング"), ObjectKind::None);  // full-width is another word
  EXPECT_EQ(KindName(ObjectKind::Picture), "画像");
  EXPECT_EQ(KindName(static_cast<ObjectKind>(9)), "");
  EXPECT_EQ(HatchCode(""), "0");
  EXPECT_EQ(HatchCode("色３"), "3");
  EXPECT_EQ(HatchCode("色6"), "");
  EXPECT_EQ(HatchName("0"), "");
  EXPECT_EQ(HatchName("7"), "");
  EXPECT_EQ(LineStyleName("4"), "二点鎖線");
  EXPECT_EQ(LineStyleName("5"), "");
  EXPECT_EQ(LineStyleCode("波線"), "");
  EXPECT_EQ(AlignFromName("中"), 2);
  EXPECT_EQ(AlignFromName("?"), 0);
  EXPECT_EQ(AlignName(3), "");
  EXPECT_EQ(TransparencyName("0"), "不透過");
  EXPECT_EQ(TransparencyName("x"), "透過");
  EXPECT_EQ(TransparencyCode("?"), "");
  EXPECT_EQ(CommandModeName("0"), "開始");
  EXPECT_EQ(CommandModeName("2"), "終了");
  EXPECT_EQ(DirectionName(""), "横");
  EXPECT_EQ(DirectionCode("縦"), "0");
  EXPECT_EQ(FlagFromCell(" "), -1);  // even a blank is true
  EXPECT_EQ(FlagFromCell(""), 0);
  EXPECT_EQ(FlagCell(-1), "■");
  EXPECT_EQ(FlagCell(0), "");
}

// Every entry both ways, and the values just past each table's ends, near-misses of its words
// (no trimming, no full-width digits) and what old files hold in such cells.
TEST(NameTables, EveryEntryBothWaysAndEverythingElse) {
  struct Table {
    std::string (*code)(std::string_view);
    std::string (*name)(std::string_view);
    std::vector<std::string_view> words;  // for codes "0", "1", …
    std::string_view other;               // the name of any other code
  };
  const Table tables[] = {
      {HatchCode, HatchName, {"", "色１", "色２", "色３", "色４", "色５"}, ""},
      {LineStyleCode, LineStyleName, {"実線", "鎖線", "点線", "一点鎖線", "二点鎖線"}, ""},
      {TransparencyCode, TransparencyName, {"不透過", "透過"}, "透過"},
      {CommandModeCode, CommandModeName, {"開始", "終了"}, "終了"},
      {DirectionCode, DirectionName, {"縦", "横"}, "横"},
      {SymbologyCode,
       SymbologyName,
       {"JAN13", "JAN8", "CODE39", "NW7", "ITF", "CODE128", "QR", "ｶｽﾀﾏﾊﾞｰｺｰﾄﾞ"},
       "JAN13"},
  };
  for (const Table& t : tables) {
    const std::string last = t.words.back().empty() ? "?" : std::string(t.words.back());
    for (size_t i = 0; i < t.words.size(); ++i) {
      EXPECT_EQ(t.code(t.words[i]), std::to_string(i)) << t.words[i];
      EXPECT_EQ(t.name(std::to_string(i)), t.words[i]) << i;
    }
    const std::string past = std::to_string(t.words.size());
    for (std::string_view code :
         std::initializer_list<std::string_view>{past, "-1", "", " 0", "0 ", "00", "１", "x"}) {
      EXPECT_EQ(t.name(code), t.other) << '"' << code << '"';
    }
    for (const std::string& word :
         {last + " ", " " + last, "\t" + last, "　" + last, std::string("0"), std::string("x")}) {
      EXPECT_EQ(t.code(word), "") << '"' << word << '"';
    }
  }
  EXPECT_EQ(HatchCode("色1"), "");  // half-width digit
  const std::string_view kinds[] = {"ﾃｷｽﾄ", "ﾗｲﾝ", "ﾎﾞｯｸｽ", "画像", "ｺﾏﾝﾄﾞ", "ﾘﾝｸﾞ", "ﾊﾞｰｺｰﾄﾞ"};
  for (int code = 1; code <= 7; ++code) {
    EXPECT_EQ(KindFromName(kinds[code - 1]), static_cast<ObjectKind>(code));
    EXPECT_EQ(KindName(static_cast<ObjectKind>(code)), kinds[code - 1]);
  }
  for (int code : {-1, 0, 8}) EXPECT_EQ(KindName(static_cast<ObjectKind>(code)), "") << code;
  for (std::string_view word : {"", " ", "1", "ﾃｷｽﾄ "}) {
    EXPECT_EQ(KindFromName(word), ObjectKind::None) << word;
  }
  const std::string_view aligns[] = {"左", "右", "中"};
  for (int16_t code : std::initializer_list<int16_t>{0, 1, 2}) {
    EXPECT_EQ(AlignFromName(aligns[code]), code);
    EXPECT_EQ(AlignName(code), aligns[code]);
  }
  for (int16_t code : std::initializer_list<int16_t>{-1, 3}) EXPECT_EQ(AlignName(code), "");
  for (std::string_view word : {"", "1", "中 "}) EXPECT_EQ(AlignFromName(word), 0) << word;
  for (std::string_view cell : {"\t", "　", "0", "■"}) EXPECT_EQ(FlagFromCell(cell), -1) << cell;
  for (int16_t flag : std::initializer_list<int16_t>{1, 2}) EXPECT_EQ(FlagCell(flag), "■");
}

TEST(DecodeObjectRow, ReadsEachKindsColumnsOnly) {
  TextTable t = MakeObjectList();
  const int text = AddRow(t, {"ﾃｷｽﾄ", "題", "12.5abc", "", "1", "2", "合計", "rs!Sum", "ＭＳ 明朝",
                              "10.5", "■", "", "■", " ", "右", "&H00FF0000&", "3"});
  const int line = AddRow(t, {"ﾗｲﾝ", "", "1", "2", "3", "4", "ignored", "ignored", "点線", "2", "■",
                              "", "", "", "", "255", "1.6"});
  const int unknown = AddRow(t, {"ﾗｲﾝﾗｲﾝ", "x", "1", "1", "1", "1", "t", "f", "s", "9"});

  ObjectRecord r = DecodeObjectRow(t, text);
  EXPECT_EQ(r.Kind, ObjectKind::Text);
  EXPECT_DOUBLE_EQ(r.X1, 12.5);
  EXPECT_DOUBLE_EQ(r.Y1, 0);
  EXPECT_EQ(r.Text, "合計");
  EXPECT_EQ(r.Field, "rs!Sum");
  EXPECT_EQ(r.Style, "ＭＳ 明朝");
  EXPECT_FLOAT_EQ(r.Size, 10.5f);
  EXPECT_EQ(r.Bold, -1);
  EXPECT_EQ(r.Italic, 0);
  EXPECT_EQ(r.Strikethrough, -1);  // column 13
  EXPECT_EQ(r.Underline, -1);      // column 14, a blank counts
  EXPECT_EQ(r.Align, 1);
  EXPECT_EQ(r.Color, 16711680);
  EXPECT_EQ(r.Layer, 3);

  // The same record reused for a line keeps nothing of the text.
  DecodeObjectRow(r, t, line);
  EXPECT_EQ(r.Kind, ObjectKind::Line);
  EXPECT_EQ(r.Text, "");
  EXPECT_EQ(r.Field, "");
  EXPECT_EQ(r.Style, "2");
  EXPECT_EQ(r.Bold, 0);
  EXPECT_EQ(r.Color, 255);
  EXPECT_EQ(r.Layer, 2);

  r = DecodeObjectRow(t, unknown);
  EXPECT_EQ(r.Kind, ObjectKind::None);
  EXPECT_EQ(r.Text, "");
  EXPECT_FLOAT_EQ(r.Size, 0);
  EXPECT_DOUBLE_EQ(r.X1, 1);

  // Rows that do not exist decode as empty.
  EXPECT_EQ(DecodeObjectRow(t, 99), ObjectRecord{});
}

TEST(RingGeometry, InscribesTheEllipseInItsRectangle) {
  RingShape g = RingGeometry(0, 0, 40, 20);
  EXPECT_FLOAT_EQ(g.cx, 20);
  EXPECT_FLOAT_EQ(g.cy, 10);
  EXPECT_FLOAT_EQ(g.radius, 20);
  EXPECT_FLOAT_EQ(g.aspect, 0.5f);

  g = RingGeometry(5, 5, 5, 25);  // X2 = X1
  EXPECT_FLOAT_EQ(g.aspect, 1);
  EXPECT_FLOAT_EQ(g.radius, 10);

  g = RingGeometry(0, 0, 30, 10);  // aspect rounded to four decimals
  EXPECT_FLOAT_EQ(g.aspect, 0.3333f);

  g = RingGeometry(3, 7, 13, 7);  // 10 x 0: a circle of radius 5 on (x1 + 5, y1)
  EXPECT_FLOAT_EQ(g.aspect, 1);
  EXPECT_FLOAT_EQ(g.radius, 5);
  EXPECT_FLOAT_EQ(g.cx, 8);
  EXPECT_FLOAT_EQ(g.cy, 7);

  g = RingGeometry(40, 20, 0, 0);  // reversed: a circle
  EXPECT_FLOAT_EQ(g.aspect, 1);
  EXPECT_FLOAT_EQ(g.radius, 10);
  EXPECT_FLOAT_EQ(g.cx, 20);
}

TEST(Layers, LookupsCompareNumbersAndMissingLayersAreHiddenAndLocked) {
  Design d;
  EXPECT_TRUE(IsLayerVisible(d.layers, 1));
  EXPECT_FALSE(IsLayerLocked(d.layers, 1));
  EXPECT_FALSE(IsLayerVisible(d.layers, 2));
  EXPECT_TRUE(IsLayerLocked(d.layers, 2));

  const int row = d.layers.insertRow(1);
  d.layers.setCell(row, kLayerNumber, "2.0");
  d.layers.setCell(row, kLayerHide, "×");
  d.layers.setCell(row, kLayerLock, "■");
  EXPECT_FALSE(IsLayerVisible(d.layers, 2));
  EXPECT_TRUE(IsLayerLocked(d.layers, 2));
  EXPECT_EQ(d.layers.cell(2, kLayerName), "ベースレイヤー");  // base layer stays last
}

TEST(RowNumbers, MarkAndRenumber) {
  TextTable t = MakeObjectList();
  for (int i = 0; i < 12; ++i) t.appendRow();
  MarkRow(t, 3, true);
  MarkRow(t, 12, true);
  EXPECT_EQ(t.cell(3, kColNumber), "●3");
  EXPECT_EQ(t.cell(12, kColNumber), "●12");
  RenumberRows(t);
  EXPECT_EQ(t.cell(3, kColNumber), "3");
  EXPECT_EQ(t.cell(12, kColNumber), "12");
}

TEST(TextTable, InsertRemoveAndCopyKeepTheCaptionRow) {
  TextTable t = MakeObjectList();
  EXPECT_EQ(t.rowCount(), 1);
  EXPECT_EQ(t.cell(0, kColKind), "ﾀｲﾌﾟ");
  EXPECT_EQ(t.cell(0, kColLayer), "ﾚｲﾔ");
  t.removeRow(0);  // the caption row cannot go
  EXPECT_EQ(t.rowCount(), 1);
  t.setRowCount(4);
  t.setCell(2, 1, "b");
  t.insertRow(2);
  EXPECT_EQ(t.cell(3, 1), "b");
  t.removeRow(3);
  EXPECT_EQ(t.rowCount(), 4);
  t.setCell(1, 0, "n1");
  t.setCell(1, 1, "a");
  t.swapCells(1, 2, 1);  // from column 1 on: the numbers stay
  EXPECT_EQ(t.cell(2, 1), "a");
  EXPECT_EQ(t.cell(1, 0), "n1");
  t.swapCells(1, 2, 0);  // every column
  EXPECT_EQ(t.cell(2, 0), "n1");
  EXPECT_EQ(t.cell(1, 1), "a");
  t.setCell(99, 1, "ignored");
  EXPECT_EQ(t.cell(99, 1), "");
  t.clearItems();
  EXPECT_EQ(t.rowCount(), 1);
  EXPECT_EQ(t.cell(0, kColKind), "ﾀｲﾌﾟ");
}

// Writes down what it is told, with what the table holds at that moment.
class Recorder final : public TableListener {
 public:
  void cellAboutToChange(const TextTable& t, int r, int c) override {
    log.push_back("before cell " + std::to_string(r) + " " + t.cell(r, c));
  }
  void cellChanged(const TextTable& t, int r, int c) override {
    log.push_back("cell " + std::to_string(r) + " " + t.cell(r, c));
  }
  void rowsAboutToBeInserted(const TextTable& t, int first, int n) override {
    log.push_back("before insert " + std::to_string(first) + "+" + std::to_string(n) + " of " +
                  std::to_string(t.rowCount()));
  }
  void rowsInserted(const TextTable& t, int first, int) override {
    log.push_back("insert " + t.cell(first, 1));
  }
  void rowsAboutToBeRemoved(const TextTable& t, int first, int n) override {
    log.push_back("before remove " + t.cell(first, 1) + "+" + std::to_string(n));
  }
  void rowsRemoved(const TextTable& t, int, int) override {
    log.push_back("remove, now " + std::to_string(t.rowCount()));
  }
  void rowsAboutToBeSwapped(const TextTable& t, int a, int b, int) override {
    log.push_back("before swap " + t.cell(a, 1) + t.cell(b, 1));
  }
  void rowsSwapped(const TextTable& t, int a, int b, int) override {
    log.push_back("swap " + t.cell(a, 1) + t.cell(b, 1));
  }
  void tableReset(const TextTable& t) override {
    log.push_back("reset " + std::to_string(t.rowCount()));
  }
  std::vector<std::string> log;
};

TEST(TextTable, ListenersHearBeforeAndAfterEveryChange) {
  TextTable t(3, {"", "a", "b"});
  Recorder first;
  Recorder second;
  t.addListener(&first);
  t.addListener(&second);
  t.addListener(&first);  // once is enough
  t.appendRow();
  t.setCell(1, 1, "x");
  t.setCell(1, 1, "x");  // the same text: nothing happens
  t.insertRow(1, {"", "y"});
  t.swapCells(1, 2, 1);
  EXPECT_EQ(t.cell(1, 1), "x");
  EXPECT_EQ(t.cell(2, 1), "y");
  t.setRowCount(1);
  t = TextTable(3, {"", "a", "b"});
  const std::vector<std::string> expected{
      "before insert 1+1 of 1", "insert ",       "before cell 1 ", "cell 1 x",
      "before insert 1+1 of 2", "insert y",      "before swap yx", "swap xy",
      "before remove x+2",      "remove, now 1", "reset 1"};
  EXPECT_EQ(first.log, expected);
  EXPECT_EQ(second.log, expected);
  t.removeListener(&first);
  t.appendRow();
  EXPECT_EQ(first.log.size(), expected.size());
  EXPECT_EQ(second.log.size(), expected.size() + 2);
}

}  // namespace
}  // namespace qf
