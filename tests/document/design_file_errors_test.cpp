// Design files that are cut off, too short, not designs at all, or cannot be written: what loads,
// what is kept, what is said.
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

TEST_F(DesignFileTest, CountsLargerThanTheFileStopAtItsEnd) {
  Design d;
  LoadDecisions s;
  ASSERT_TRUE(parse("VERSION 2.05\r\n9,1,6,15,10,10,10,-1,5,5\r\n99999999Layer\r\n1,a\r\n"
                    "2,b\r\n",
                    d, s)
                  .ok());
  EXPECT_EQ(d.layers.itemCount(), 2);
  EXPECT_EQ(d.objects.itemCount(), 0);

  ASSERT_TRUE(parse("VERSION 2.05\r\n9,1,6,15,10,10,10,-1,5,5\r\n1Layer\r\n1,a\r\nDizaColor\r\n"
                    "1\r\n2\r\n3\r\n4\r\n5\r\n2000000000\r\n"
                    "2,\"x\",1,2,3,4,\"\",\"\",\"0\",1,0,0,0,0,0,0,1\r\n",
                    d, s)
                  .ok());
  EXPECT_EQ(d.objects.itemCount(), 1);
}

// A file cut at any byte loads the rows it holds whole and no other: the row it ends in is
// dropped, never completed from the row before, and the loss is told.
TEST_F(DesignFileTest, AFileCutAtAnyByteLoadsOnlyItsWholeRows) {
  const std::string bytes = ReadBytes(fs::path(QF_TEST_DATA) / "golden.qfd");
  Design full;
  LoadDecisions fs;
  ASSERT_TRUE(ParseDesign(bytes, full, measurers_.get(), &fs).ok());
  ASSERT_EQ(full.objects.itemCount(), 14);
  EXPECT_EQ(fs.warning, "");
  const size_t countLine = bytes.find("\r\n14\r\n") + 6;
  int warned = 0;
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    Design d;
    LoadDecisions s;
    if (!ParseDesign(bytes.substr(0, cut), d, measurers_.get(), &s).ok()) continue;  // mid-char
    const int rows = d.objects.itemCount();
    ASSERT_LE(rows, 14) << cut;
    for (int r = 1; r <= rows; ++r) {
      for (int c = 1; c < d.objects.columnCount(); ++c) {
        ASSERT_EQ(d.objects.cell(r, c), full.objects.cell(r, c)) << "cut " << cut << " row " << r;
      }
    }
    // A file that ends before its count is cut off too (the count field is then the last
    // page or layer field, never a count).
    if (cut < countLine) {
      ASSERT_TRUE(s.cutOff) << cut;
      ASSERT_EQ(rows, 0) << cut;
    }
    if (cut >= countLine) {
      ASSERT_EQ(s.cutOff, rows < 14) << cut;
      // Only the line break after the last row missing: nothing was lost.
      ASSERT_EQ(s.warning, rows == 14 ? std::string()
                                      : "ファイルが途中で切れています。14 個のオブジェクトのうち " +
                                            std::to_string(rows) + " 個を読み込みました。")
          << cut;
      ++warned;
      // The working object is the last row kept.
      if (rows > 0) {
        EXPECT_EQ(s.lastObject.Label, full.objects.cell(rows, kColLabel)) << cut;
      }
    }
  }
  EXPECT_GT(warned, 500);
}

// Bytes that hold no design at all are refused, not read as an empty design; the version line
// is told in any case, after blanks.
TEST_F(DesignFileTest, AFileWithoutADesignIsRefused) {
  Design d;
  d.objects.appendRow();
  const Design before = d;
  for (std::string_view bytes : {"", " ", "\t", "\r\n", "\n\n", " \t\r\n"}) {
    LoadDecisions s;
    const FileStatus st = ParseDesign(bytes, d, measurers_.get(), &s);
    EXPECT_EQ(st.error, kErrNotADesign) << bytes.size();
    EXPECT_EQ(st.detail, "ファイルが空です。");
  }
  for (std::string_view bytes : {"1,1,6\r\n", "VERSIO 2.05\r\n", "VERSON", "x VERSION 2.05\r\n",
                                 "\"\"\r\nVERSION 2.05\r\n"}) {
    LoadDecisions s;
    const FileStatus st = ParseDesign(bytes, d, measurers_.get(), &s);
    EXPECT_EQ(st.error, kErrNotADesign) << bytes;
    EXPECT_NE(st.detail.find("VERSION"), std::string::npos);
  }
  EXPECT_EQ(d.objects, before.objects);
  for (std::string_view bytes : {"VERSION 2.05\r\n", "version 1.00", " \tVersion\r\n"}) {
    LoadDecisions s;
    ASSERT_TRUE(ParseDesign(bytes, d, measurers_.get(), &s).ok()) << bytes;
    EXPECT_TRUE(s.cutOff) << bytes;
    EXPECT_EQ(s.warning, "ファイルが途中で切れています。オブジェクトの数の前で終わっています。");
  }
}

TEST_F(DesignFileTest, AShortLineKeepsTheLastValuesAndTheCurrentPageSettings) {
  Design d;
  d.page.marginTop = 33;
  LoadDecisions s;
  ASSERT_TRUE(parse("VERSION 2.05\r\n8,2,6\r\n", d, s).ok());
  EXPECT_EQ(d.page.paperSize, 8);
  EXPECT_EQ(d.page.orientation, 2);
  EXPECT_FLOAT_EQ(d.page.marginTop, 33);
  EXPECT_EQ(d.layers.itemCount(), 1);  // no layer header read: the base layer

  // An object line cut short keeps the working object's earlier values.
  ASSERT_TRUE(parse("VERSION 2.05\r\n9,1,6,15,10,10,10,-1,5,5\r\n1Layer\r\n1,a\r\nDizaColor\r\n"
                    "1\r\n2\r\n3\r\n4\r\n5\r\n2\r\n"
                    "2,\"x\",1,2,3,4,\"\",\"\",\"1\",7,0,0,0,0,0,FF,1\r\n2,\"y\",5\r\n",
                    d, s)
                  .ok());
  ASSERT_EQ(d.objects.itemCount(), 2);
  EXPECT_EQ(d.objects.cell(2, kColLabel), "y");
  EXPECT_EQ(d.objects.cell(2, kColX1), "5.000");
  EXPECT_EQ(d.objects.cell(2, kColY1), "2.000");
  EXPECT_EQ(d.objects.cell(2, kColSize), "7");

  // With one layer declared, an object line that stops after 15 fields reads its colour and
  // layer on from the next line, as every layered file is read.
  ASSERT_TRUE(parse("VERSION 2.05\r\n9,1,6,15,10,10,10,-1,5,5\r\n1Layer\r\n4,a\r\nDizaColor\r\n"
                    "1\r\n2\r\n3\r\n4\r\n5\r\n1\r\n"
                    "2,\"z\",1,2,3,4,\"\",\"\",\"0\",1,0,0,0,0,0\r\nABC,4\r\n",
                    d, s)
                  .ok());
  ASSERT_EQ(d.objects.itemCount(), 1);
  EXPECT_EQ(d.objects.cell(1, kColColor), "&H00000ABC&");
  EXPECT_EQ(d.objects.cell(1, kColLayer), "4");
}

TEST_F(DesignFileTest, AFailedLoadKeepsTheOpenDesign) {
  Design d;
  LoadDecisions s;
  ASSERT_TRUE(LoadDesign(fs::path(QF_TEST_DATA) / "basic.qfd", d, measurers_.get(), &s).ok());
  const TextTable before = d.objects;

  FileStatus st = LoadDesign(dir_ / "missing.qfd", d, measurers_.get(), &s);
  EXPECT_EQ(st.error, kErrFileNotFound);
  EXPECT_FALSE(st.detail.empty());
  EXPECT_EQ(d.objects, before);

  WriteBytes(dir_ / "bad.qfd", "VERSION 2.05\r\n9,1\r\n\x81\r\n");  // a lone lead byte
  st = LoadDesign(dir_ / "bad.qfd", d, measurers_.get(), &s);
  EXPECT_EQ(st.error, kErrBadEncoding);
  EXPECT_NE(st.detail.find("3 行目"), std::string::npos) << st.detail;
  EXPECT_EQ(d.objects, before);

  st = LoadDesign(dir_, d, measurers_.get(), &s);  // a folder
  EXPECT_NE(st.error, kFileOk);
  EXPECT_EQ(d.objects, before);

  // A pipe is refused at once instead of waiting for a writer.
  ASSERT_EQ(::mkfifo((dir_ / "pipe.qfd").c_str(), 0600), 0);
  st = LoadDesign(dir_ / "pipe.qfd", d, measurers_.get(), &s);
  EXPECT_EQ(st.error, kErrPathFileAccess);
  EXPECT_EQ(d.objects, before);
}

TEST_F(DesignFileTest, SaveRefusesCharactersCodePage932CannotHold) {
  const fs::path target = dir_ / "design.qfd";
  Design d;
  ASSERT_TRUE(SaveDesign(d, target).ok());
  const std::string good = ReadBytes(target);

  LoadDecisions s;
  ObjectRecord t;
  t.Kind = ObjectKind::Text;
  t.Text = "価格";
  t.Style = "ＭＳ 明朝";
  t.Size = 9;
  add(d, t, {0, 0, 0, 0});
  t.Text = "価格 €100";
  add(d, t, {0, 0, 0, 0});
  FileStatus st = SaveDesign(d, target);
  EXPECT_EQ(st.error, kErrUnencodableText);
  EXPECT_NE(st.detail.find("オブジェクト 2 行目"), std::string::npos) << st.detail;
  EXPECT_NE(st.detail.find("€"), std::string::npos) << st.detail;
  EXPECT_NE(st.detail.find("U+20AC"), std::string::npos) << st.detail;
  EXPECT_EQ(ReadBytes(target), good);  // nothing written

  d.objects.removeRow(2);
  d.layers.setCell(1, kLayerName, "base 😀");
  st = SaveDesign(d, target);
  EXPECT_EQ(st.error, kErrUnencodableText);
  EXPECT_NE(st.detail.find("レイヤー 1 行目"), std::string::npos) << st.detail;
  EXPECT_NE(st.detail.find("U+1F600"), std::string::npos) << st.detail;
  EXPECT_EQ(ReadBytes(target), good);
}

TEST_F(DesignFileTest, AFailedSaveLeavesNoTruncatedFileAndNoLeftovers) {
  Design d;
  // Renaming over a folder fails after the data was written.
  const fs::path folder = dir_ / "taken";
  fs::create_directories(folder / "inner");
  FileStatus st = SaveDesign(d, folder);
  EXPECT_NE(st.error, kFileOk);
  // The user's own file and the reason, in Japanese; never the temporary name.
  EXPECT_EQ(st.detail, "「" + folder.string() + "」に書き込めません：同じ名前のフォルダがあります");
  EXPECT_TRUE(fs::is_directory(folder / "inner"));
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++entries;
  EXPECT_EQ(entries, 1u);  // no temporary file left beside it

  st = SaveDesign(d, dir_ / "no" / "such" / "folder.qfd");
  EXPECT_NE(st.error, kFileOk);
  EXPECT_EQ(st.detail, "「" + (dir_ / "no" / "such" / "folder.qfd").string() +
                           "」に書き込めません：フォルダがありません");
  std::string bytes;
  EXPECT_EQ(ReadWholeFile(dir_ / "none.qfd", bytes, 10).detail,
            "「" + (dir_ / "none.qfd").string() + "」を読み込めません：ファイルがありません");

  // Replacing keeps the old file's permissions.
  const fs::path target = dir_ / "keep.qfd";
  ASSERT_TRUE(SaveDesign(d, target).ok());
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(SaveDesign(d, target).ok());
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);

  // A write that fails part-way (here the file size limit, as a full disk would) is reported
  // at once, and the old file stays whole.
  std::string before;
  ASSERT_TRUE(ReadWholeFile(target, before, 1 << 20).ok());
  auto count = [&] {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++n;
    return n;
  };
  const size_t entriesBefore = count();
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 8;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  st = SaveDesign(d, target);
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldSignal);
  EXPECT_FALSE(st.ok());
  std::string after;
  ASSERT_TRUE(ReadWholeFile(target, after, 1 << 20).ok());
  EXPECT_EQ(after, before);
  EXPECT_EQ(count(), entriesBefore);

  // With standard input closed the temporary file gets descriptor 0, and it is still the one
  // written and renamed.
  const int savedInput = ::dup(0);
  ::close(0);
  st = SaveDesign(d, target);
  ::dup2(savedInput, 0);
  ::close(savedInput);
  EXPECT_TRUE(st.ok());
  EXPECT_EQ(count(), entriesBefore);
}

}  // namespace
}  // namespace qf
