#include "merge/merge.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "document/object_rows.h"
#include "document/typed_object.h"

#include "support/design_builder.h"

namespace qf {
namespace {

using test::DesignBuilder;

TEST(Merge, FieldsFindTheirColumnByTheLastName) {
  EXPECT_EQ(FieldColumnName("rs!顧客名"), "顧客名");
  EXPECT_EQ(FieldColumnName(" Cust.顧客名 "), "顧客名");
  EXPECT_EQ(FieldColumnName("Items(sngI).顧客名"), "顧客名");
  EXPECT_EQ(FieldColumnName("顧客名"), "顧客名");
  DesignBuilder b;
  b.text("A", 10, 10, 0, "rs!顧客名").text("B", 10, 20, 0, "金額").text("C", 10, 30, 0, "rs!無い");
  b.text("D", 10, 40).text("E", 10, 50, 0, "Cust.顧客名");
  b.figure(ObjectKind::Line, 1, 2, 3, 4);
  const FieldMatch m = MatchFields(b.design, {"番号", "金額", "顧客名"});
  EXPECT_EQ(m.columnOfRow, (std::vector<int>{-1, 2, 1, -1, -1, 2, -1}));
  EXPECT_EQ(m.found, (std::vector<std::string>{"rs!顧客名", "金額", "Cust.顧客名"}));
  EXPECT_EQ(m.missing, (std::vector<std::string>{"rs!無い"}));
  EXPECT_EQ(m.recordsPerPage, 1);
}

struct Paged {
  std::vector<std::vector<std::string>> firsts;  // the first column of each page's records
  std::vector<std::pair<long, long>> lines;
};

Paged Pages(const Design& d, const std::string& csv, const std::string& group = "") {
  CsvError error;
  auto reader = CsvReader::FromBytes(csv, "r.csv", {}, &error);
  EXPECT_TRUE(reader) << error.message();
  const FieldMatch match = MatchFields(d, reader->header());
  MergePager pager(*reader, match, reader->column(group));
  Paged p;
  MergedPage page;
  while (pager.next(page)) {
    p.firsts.emplace_back();
    for (const auto& r : page.records) p.firsts.back().push_back(r[0]);
    p.lines.emplace_back(page.firstLine, page.lastLine);
  }
  return p;
}

std::string Numbered(int n, const std::string& header = "no,name,inv") {
  std::string csv = header + "\n";
  for (int i = 1; i <= n; ++i) {
    csv += std::to_string(i) + ",n" + std::to_string(i) + ",I" + std::to_string((i + 2) / 3) + "\n";
  }
  return csv;
}

TEST(Merge, RecordsFlowThroughBlocksAndPages) {
  // No block: a page a record.
  DesignBuilder plain;
  plain.text("x", 10, 10, 0, "rs!name");
  EXPECT_EQ(Pages(plain.design, Numbered(3)).firsts,
            (std::vector<std::vector<std::string>>{{"1"}, {"2"}, {"3"}}));

  // A block repeated 8 times has 9 passes: 20 records make pages of 9, 9 and 2.
  DesignBuilder list;
  list.text("title", 10, 5, 0, "rs!inv").repeat("sngI", true, 5, 8);
  list.text("x", 10, 10, 0, "rs!name").end("sngI", true);
  const Paged p = Pages(list.design, Numbered(20));
  ASSERT_EQ(p.firsts.size(), 3u);
  EXPECT_EQ(p.firsts[1].front(), "10");
  EXPECT_EQ(p.firsts[2], (std::vector<std::string>{"19", "20"}));
  EXPECT_EQ(p.lines[2], (std::pair<long, long>{20, 21}));

  // A group column starts a page where its value changes (invoices of three lines each).
  const Paged g = Pages(list.design, Numbered(7), "inv");
  EXPECT_EQ(g.firsts,
            (std::vector<std::vector<std::string>>{{"1", "2", "3"}, {"4", "5", "6"}, {"7"}}));

  // Nested blocks: 2 passes of 3 passes, 6 records a page, the inner block fastest.
  DesignBuilder labels;
  labels.repeat("sngI", true, 40, 1).repeat("sngJ", false, 60, 2);
  labels.text("x", 10, 10, 0, "name").end("sngJ", false).end("sngI", true);
  CsvError error;
  auto reader = CsvReader::FromBytes(Numbered(8), "r.csv", {}, &error);
  const FieldMatch match = MatchFields(labels.design, reader->header());
  EXPECT_EQ(match.recordsPerPage, 6);
  // A group column past the header's is no group: pages by the passes alone.
  MergePager pager(*reader, match, static_cast<int>(reader->header().size()));
  MergedPage page;
  ASSERT_TRUE(pager.next(page));
  EXPECT_EQ(page.value(3, 4), "n5");
  EXPECT_EQ(page.value(3, 0), "n1");
  EXPECT_EQ(page.value(1, 0), std::nullopt);  // a command row takes no column
  EXPECT_EQ(page.value(6, 0), std::nullopt);  // rows past the design's take none either
  ASSERT_TRUE(pager.next(page));
  EXPECT_EQ(page.value(3, 1), "n8");
  EXPECT_EQ(page.value(3, 2), "");  // past the last record the list is empty
  EXPECT_FALSE(pager.next(page));
}

// Symbols are checked in batches on a second thread while the next records are read: the record
// named is the bad one wherever it falls in or across the batches, the first of two bad ones.
TEST(Merge, ARefusedBarcodeNamesItsRecordWhereverItFalls) {
  Design d;
  ObjectRecord jan;
  jan.Label = "JAN";
  SetBody(jan, BarcodeObject{Symbology::Jan13, "490000000000", "rs!code", 0, 0});
  AddObject(d.objects, jan, {20, 20, 120, 60}, {}, 1);
  ObjectRecord qr = jan;
  SetBody(qr, BarcodeObject{Symbology::Qr, "x", "", 0, 0});  // designed value: always good
  AddObject(d.objects, qr, {130, 20, 170, 60}, {}, 1);
  const auto path = std::filesystem::temp_directory_path() /
                    ("qf_refused_" + std::to_string(::getpid()) + ".csv");
  const int records = 150;  // two symbols a page: batches of 32 pages
  auto refusal = [&](std::initializer_list<int> bad) {
    std::ofstream out(path, std::ios::binary);
    out << "code\n";
    for (int r = 1; r <= records; ++r) {
      out << (std::find(bad.begin(), bad.end(), r) != bad.end() ? "49000000000X" : "490000000000")
          << "\n";
    }
    out.close();
    MergeSource source;
    source.data = path;
    return RefusedMergedBarcode(d, source);
  };
  EXPECT_EQ(refusal({}), std::nullopt);
  for (const int bad : {1, 2, 32, 33, 64, 65, 149, 150}) {
    EXPECT_EQ(refusal({bad}),
              "レコード " + std::to_string(bad) + " の「rs!code」: JAN には数字しか使えません");
  }
  EXPECT_EQ(refusal({40, 33}), "レコード 33 の「rs!code」: JAN には数字しか使えません");
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace qf
