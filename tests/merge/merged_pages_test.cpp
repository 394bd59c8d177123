#include "merge/merged_pages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "document/cp932.h"
#include "support/design_builder.h"
#include "support/temp_folder.h"

namespace qf {
namespace {

using test::DesignBuilder;

class MergedPagesTest : public test::TempFolderTest {};

struct Reference {
  std::vector<MergedPage> pages;
  std::optional<CsvError> error;
};

// The pages as one pass from the top gives them.
Reference ReadAll(const Design& d, const MergeSource& source) {
  CsvError error;
  std::optional<OpenedMerge> opened = OpenMerge(d, source, &error);
  EXPECT_TRUE(opened) << error.message();
  Reference r;
  MergePager pager(*opened->reader, opened->match, opened->groupColumn);
  MergedPage page;
  while (pager.next(page)) r.pages.push_back(page);
  r.error = opened->reader->error();
  return r;
}

// Random files of every shape the reader takes (CR, LF and CR LF line ends, blank lines, line
// breaks and quotes inside quoted fields, a byte-order mark, CP932, now and then a record with a
// field too many) and designs of one record a page, nine a page, and nine a page grouped by a
// column: every page asked for in random order is the page one pass from the top gives.
TEST_F(MergedPagesTest, AnyPageReadOnItsOwnIsThePageOfOnePass) {
  DesignBuilder plain;
  plain.text("x", 10, 10, 0, "rs!name");
  DesignBuilder list;
  list.text("title", 10, 5, 0, "rs!inv").repeat("sngI", true, 5, 8);
  list.text("x", 10, 10, 0, "rs!name").end("sngI", true);
  const std::filesystem::path file = dir_ / "r.csv";
  for (unsigned seed = 1; seed <= 60; ++seed) {
    std::mt19937 rng(seed);
    const char* kEnds[] = {"\n", "\r\n", "\r"};
    auto end = [&] { return std::string(kEnds[rng() % 3]); };
    std::string csv = (rng() % 4 == 0 ? "\xEF\xBB\xBF" : "") + std::string("no,name,inv") + end();
    const int records = static_cast<int>(rng() % 80);
    const bool malformed = rng() % 6 == 0;
    for (int i = 1; i <= records; ++i) {
      if (rng() % 8 == 0) csv += end();  // a blank line
      std::string name = "名前" + std::to_string(i);
      if (rng() % 3 == 0) name = "\"" + name + end() + "改行, \"\"引用\"\"\"";
      csv += std::to_string(i) + "," + name + ",I" + std::to_string((i + rng() % 2) / 3);
      if (malformed && i == records / 2) csv += ",余分";
      csv += end();
    }
    if (seed % 5 == 0) {
      std::string cp932;
      ASSERT_TRUE(Utf8ToCp932(csv.starts_with("\xEF\xBB\xBF") ? csv.substr(3) : csv, cp932).ok);
      csv = cp932;
    }
    std::ofstream(file, std::ios::binary) << csv;
    const Design& design = seed % 3 == 0 ? plain.design : list.design;
    const MergeSource source{file, {}, seed % 2 ? "inv" : ""};
    const Reference ref = ReadAll(design, source);
    CsvError error;
    const std::unique_ptr<MergedPages> pages = MergedPages::Open(design, source, &error);
    ASSERT_TRUE(pages) << error.message();
    const long count = static_cast<long>(ref.pages.size());
    for (int ask = 0; ask < 3 * count + 3; ++ask) {
      const long n = static_cast<long>(rng() % (count + 2));  // 0 and one past the end too
      const MergedPage* p = pages->page(n);
      if (n < 1 || n > count) {
        EXPECT_EQ(p, nullptr) << "seed " << seed << " page " << n;
        continue;
      }
      ASSERT_NE(p, nullptr) << "seed " << seed << " page " << n;
      const MergedPage& want = ref.pages[static_cast<size_t>(n - 1)];
      EXPECT_EQ(p->records, want.records) << "seed " << seed << " page " << n;
      EXPECT_EQ(p->firstRecord, want.firstRecord) << "seed " << seed << " page " << n;
      EXPECT_EQ(std::make_pair(p->firstLine, p->lastLine),
                std::make_pair(want.firstLine, want.lastLine))
          << "seed " << seed << " page " << n;
      // The page's texts take their columns: rs!name on the plain design, rs!inv on the list.
      const std::string& first = want.records.front()[seed % 3 == 0 ? 1 : 2];
      EXPECT_EQ(p->value(1, 0), std::optional<std::string_view>(first));
    }
    while (pages->scan(7)) {
    }
    EXPECT_EQ(pages->knownPages(), count) << "seed " << seed;
    EXPECT_EQ(pages->error().has_value(), ref.error.has_value()) << "seed " << seed;
    if (count > 0) {
      EXPECT_EQ(pages->start(count).records, long(ref.pages.back().records.size()));
    }
  }
}

// A file whose start is ASCII and whose end is CP932 shows its first page at once, as UTF-8;
// once the pass has met the CP932 bytes every page is read again, as one pass gives it.
TEST_F(MergedPagesTest, AFileThatTurnsOutCp932IsReadAgain) {
  DesignBuilder plain;
  plain.text("x", 10, 10, 0, "rs!name");
  std::string csv = "no,name\r\n";
  for (int i = 1; i <= 40000; ++i) csv += std::to_string(i) + ",ascii\r\n";
  std::string tail;
  ASSERT_TRUE(Utf8ToCp932("40001,請求書\r\n40002,表\r\n", tail).ok);
  const std::filesystem::path file = dir_ / "late.csv";
  std::ofstream(file, std::ios::binary) << csv + tail;
  const MergeSource source{file, {}, ""};
  const Reference ref = ReadAll(plain.design, source);
  ASSERT_EQ(ref.pages.size(), 40002u);
  CsvError error;
  const std::unique_ptr<MergedPages> pages = MergedPages::Open(plain.design, source, &error);
  ASSERT_TRUE(pages) << error.message();
  ASSERT_NE(pages->page(1), nullptr);
  EXPECT_EQ(pages->knownPages(), 2);  // shown before the pass has gone on
  EXPECT_EQ(pages->generation(), 0);
  const MergedPage* last = pages->page(40002);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(pages->generation(), 1);
  EXPECT_EQ(last->records, ref.pages.back().records);
  EXPECT_EQ(pages->page(40001)->records, ref.pages[40000].records);
  EXPECT_EQ(pages->page(1)->records, ref.pages[0].records);
  EXPECT_FALSE(pages->scan(1));
  EXPECT_EQ(pages->knownPages(), 40002);
}

// LineStarts counts lines as the reader does and goes only forward.
TEST_F(MergedPagesTest, LineStartsFollowEveryLineEnd) {
  const std::filesystem::path file = dir_ / "l.txt";
  std::ofstream(file, std::ios::binary) << "a\r\nb\rc\n\nd\r";
  LineStarts starts(file);
  EXPECT_EQ(starts.offsetOf(1), 0u);
  EXPECT_EQ(starts.offsetOf(2), 3u);
  EXPECT_EQ(starts.offsetOf(3), 5u);
  EXPECT_EQ(starts.offsetOf(2), std::nullopt);  // passed
  EXPECT_EQ(starts.offsetOf(5), 8u);
  EXPECT_EQ(starts.offsetOf(6), 10u);  // after the last CR: the end
  EXPECT_EQ(starts.offsetOf(7), std::nullopt);
}

}  // namespace
}  // namespace qf
