#include "merge/csv_reader.h"

#include <gtest/gtest.h>

#include <random>

namespace qf {
namespace {

using Records = std::vector<std::vector<std::string>>;

struct Read {
  std::vector<std::string> header;
  Records records;
  std::vector<long> lines;
  std::optional<CsvError> error;
  char delimiter = 0;
  CsvEncoding encoding = CsvEncoding::Utf8;
};

Read ReadAll(std::string bytes, CsvOptions options = {}) {
  Read r;
  CsvError error;
  auto reader = CsvReader::FromBytes(std::move(bytes), "d.csv", options, &error);
  if (!reader) {
    r.error = error;
    return r;
  }
  r.header = reader->header();
  r.delimiter = reader->delimiter();
  r.encoding = reader->encoding();
  std::vector<std::string> record;
  while (reader->next(record)) {
    r.records.push_back(record);
    r.lines.push_back(reader->line());
  }
  r.error = reader->error();
  return r;
}

TEST(CsvReader, ReadsTheRfcCasesWithTheirLines) {
  // Quotes doubled, a delimiter and line breaks of every kind inside quotes, mixed line ends,
  // a blank line, a short record, a record ending the file without a line end.
  const Read r = ReadAll(
      "\xEF\xBB\xBFno,名前,memo\r\n"
      "1,\"a,b\",\"say \"\"hi\"\"\"\n"
      "2, sp ,\"x\r\ny\nz\rw\"\r"  // lines 3 to 6
      "\r\n"                       // line 7, blank
      "3,,\n"
      "4\r\n"
      "5,\"\",\"last\"");
  ASSERT_FALSE(r.error) << r.error->message();
  EXPECT_EQ(r.encoding, CsvEncoding::Utf8);
  EXPECT_EQ(r.header, (std::vector<std::string>{"no", "名前", "memo"}));  // no mark left
  EXPECT_EQ(r.records, (Records{{"1", "a,b", "say \"hi\""},
                                {"2", " sp ", "x\r\ny\nz\rw"},
                                {"3", "", ""},
                                {"4", "", ""},
                                {"5", "", "last"}}));
  EXPECT_EQ(r.lines, (std::vector<long>{2, 3, 8, 9, 10}));
}

TEST(CsvReader, TakesTheDelimiterFromTheHeader) {
  EXPECT_EQ(ReadAll("a\tb;c\td\n1\t2;3\t4\n").records, (Records{{"1", "2;3", "4"}}));
  EXPECT_EQ(ReadAll("a;\"b,c\";d\n1;2,5;3\n").records, (Records{{"1", "2,5", "3"}}));
  EXPECT_EQ(ReadAll("a;\"b,c\";d\n").delimiter, ';');
  EXPECT_EQ(ReadAll("only\nx\n").delimiter, ',');
  EXPECT_EQ(ReadAll("a;b\n1;2\n").delimiter, ';');  // one of them is enough
  EXPECT_EQ(ReadAll("a;b,c\n1;2,3\n", {','}).records, (Records{{"1;2", "3"}}));
}

TEST(CsvReader, DecodesCp932BeforeSplitting) {
  // 表 is 0x95 0x5C and ソ 0x83 0x5C: the second bytes are backslashes, and a quote after them
  // must still close the field.
  const Read r = ReadAll("\x95\x5C,\x83\x5C\x83\x74\x83\x67\n\"\x95\x5C\",\x83\x5C\r\n");
  ASSERT_FALSE(r.error) << r.error->message();
  EXPECT_EQ(r.encoding, CsvEncoding::Cp932);
  EXPECT_EQ(r.header, (std::vector<std::string>{"表", "ソフト"}));
  EXPECT_EQ(r.records, (Records{{"表", "ソ"}}));
  // A line longer than a piece of the file is decoded whole, not split inside a character:
  // the header, before any line feed, and a record.
  std::string wide = "a";  // so a piece of 65,536 bytes ends inside a character
  for (int i = 0; i < 50000; ++i) wide += "\x83\x5C";
  const Read w = ReadAll(wide + "\r\n" + wide + "\x95\x5C\r\n");
  ASSERT_FALSE(w.error) << w.error->message();
  ASSERT_EQ(w.header.size(), 1u);
  EXPECT_EQ(w.header[0].size(), 150001u);  // "a" and 50,000 ソ of three UTF-8 bytes
  ASSERT_EQ(w.records.size(), 1u);
  EXPECT_EQ(w.records[0][0].size(), 150004u);
  // A long file decoded in pieces keeps characters whole across the pieces.
  std::string big = "\x95\x5C\n";
  for (int i = 0; i < 40000; ++i) big += "\x83\x5C\x95\x5C\r\n";
  const Read b = ReadAll(big);
  ASSERT_EQ(b.records.size(), 40000u);
  EXPECT_EQ(b.records.back(), (std::vector<std::string>{"ソ表"}));
  EXPECT_EQ(b.lines.back(), 40001);
}

TEST(CsvReader, ErrorsNameTheFileAndLine) {
  auto error = [](const std::string& bytes) {
    const Read r = ReadAll(bytes);
    return r.error ? r.error->message() : std::string("no error");
  };
  EXPECT_EQ(error("a,b\n1,2\n\"x\ny,3\n"), "「d.csv」の 3 行目：引用符 \" が閉じられていません");
  EXPECT_EQ(ReadAll("a,b\n5\" tall,\"q\"\"\"\n").records,
            (Records{{"5\" tall", "q\""}}));  // a stray quote in an unquoted field is kept
  EXPECT_EQ(error("a,b\n1,\"2\n2\"\n1,2,3\n"),
            "「d.csv」の 4 行目：項目が多すぎます（3 項目、見出しは 2 項目）");
  EXPECT_EQ(ReadAll("a,b\n1,2\n1,2,3\n4,5\n").records.size(), 1u);  // none after the error
  EXPECT_EQ(error("\na,,c\n"), "「d.csv」の 2 行目：見出しの 2 番目の名前が空です");
  EXPECT_EQ(error("a,b,a\n"), "「d.csv」の 1 行目：見出しの名前「a」が二度あります");
  EXPECT_EQ(
      error("a\nok\n\x95\x5C\xFD\n"),
      "「d.csv」の 3 行目：文字コードが UTF-8 でも CP932 でもありません（読めないバイト 0xFD）");
  EXPECT_EQ(error(""), "「d.csv」：見出しの行がありません");
  CsvError missing;
  EXPECT_EQ(CsvReader::FromBytes("a,a\n", "d.csv", {}, &missing), nullptr);  // no reader at all
  EXPECT_EQ(CsvReader::Open("/nonexistent/x.csv", {}, &missing), nullptr);
  EXPECT_EQ(missing.message(), "「/nonexistent/x.csv」：ファイルを開けません");
  // A place the input cannot be read from again says so.
  auto reader = CsvReader::FromBytes("a,b\n1,2\n", "d.csv", {}, &missing);
  ASSERT_TRUE(reader);
  EXPECT_FALSE(reader->seek(uint64_t{1} << 62, 9));
  ASSERT_TRUE(reader->error());
  EXPECT_EQ(reader->error()->message(), "「d.csv」の 9 行目：ファイルを読み直せません");
}

TEST(CsvReader, Utf8IsCheckedStrictlyAndInPieces) {
  EXPECT_TRUE(ValidUtf8("表ソ\xF0\x9F\x98\x80\xF4\x8F\xBF\xBD"));  // U+10FFFD the last
  for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80",
                          "\xE8\xA1", "\xFF"}) {
    EXPECT_FALSE(ValidUtf8(bad)) << bad;
  }
  const std::string text = "a表\xF0\x9F\x98\x80z";
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    std::string carry;
    EXPECT_TRUE(ValidUtf8(text.substr(0, cut), &carry) && ValidUtf8(text.substr(cut), &carry) &&
                carry.empty())
        << cut;
  }
}

// Whatever records are written, with any delimiter and line end, read back as they were.
TEST(CsvReader, WrittenRecordsReadBack) {
  std::mt19937 rng(7);
  const std::vector<std::string> pieces{"a",    "表", "ソ", ",", ";",   "\t", "\"",
                                        "\r\n", "\n", "\r", " ", "x y", "\\"};
  for (int round = 0; round < 200; ++round) {
    const char delimiter = ",\t;"[round % 3];
    const size_t columns = 1 + rng() % 5;
    Records records;
    for (size_t r = 0; r < 1 + rng() % 6; ++r) {
      std::vector<std::string> record;
      for (size_t c = 0; c < columns; ++c) {
        std::string v = r == 0 ? "h" + std::to_string(c) : "";
        for (size_t k = rng() % 5; k > 0; --k) v += pieces[rng() % pieces.size()];
        record.push_back(v);
      }
      records.push_back(record);
    }
    const Read back = ReadAll(WriteCsv(records, delimiter), {delimiter});
    ASSERT_FALSE(back.error) << back.error->message();
    Records all{back.header};
    all.insert(all.end(), back.records.begin(), back.records.end());
    ASSERT_EQ(all, records) << WriteCsv(records, delimiter);
  }
}

}  // namespace
}  // namespace qf
