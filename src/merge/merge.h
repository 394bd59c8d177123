#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/design.h"
#include "merge/csv_reader.h"
#include "view/printing.h"

namespace qf {

// The column a field expression names: its last name, so "rs!顧客名", "Cust.顧客名" and
// "Items(sngI).顧客名" all name "顧客名". Blanks around it do not count.
std::string_view FieldColumnName(std::string_view field);

// A text's field expression evaluated over one record by the printing language (a layer
// above): rs!金額, Format(rs!金額, "#,##0"), rs!姓 & " " & rs!名, IIf(rs!区分 = "1", "済", "").
class FieldEvaluator {
 public:
  virtual ~FieldEvaluator() = default;
  // The value, or nullopt with the reason when the expression cannot be evaluated over it.
  virtual std::optional<std::string> evaluate(std::string_view expression,
                                              const std::vector<std::string>& header,
                                              const std::vector<std::string>& record,
                                              std::string* why) const = 0;
};

// A row whose expression the evaluator takes, rather than a column.
inline constexpr int kEvaluatedField = -2;

// Which texts of a design take which column of the records.
struct FieldMatch {
  std::vector<int> columnOfRow;      // by object row (1-based; 0 unused); -1 keeps the literal text
  std::vector<std::string> found;    // field names that found a column, in row order, once each
  std::vector<std::string> missing;  // field names that found none
  // Expressions the evaluator takes (whatever they name the records give), in row order, once
  // each; their rows are kEvaluatedField.
  std::vector<std::string> evaluated;
  std::vector<std::string> expressionOfRow;  // by object row, for kEvaluatedField
  std::vector<std::string> header;
  const FieldEvaluator* evaluator = nullptr;
  // Records one page takes: the most passes of the repeat blocks (nested: all their passes)
  // around a text that takes a column; 1 when no such text is in a block.
  long recordsPerPage = 1;
};
// With an evaluator, an expression it can evaluate over the header's records is taken whole;
// the others (Items(sngI).顧客名) find a column by their last name.
FieldMatch MatchFields(const Design& design, const std::vector<std::string>& header,
                       const FieldEvaluator* evaluator = nullptr);

// One merged page: its records (the first is the one texts outside blocks show; pass k of the
// blocks shows record k) and the lines of the file they came from.
struct MergedPage : PageValues {
  const FieldMatch* match = nullptr;
  std::vector<std::vector<std::string>> records;
  long firstRecord = 0;  // the number of its first record, from 1
  long firstLine = 0;
  long lastLine = 0;

  std::optional<std::string_view> value(int row, long pass) const override;

  // Values the evaluator made for this page's records, kept while the page is printed.
  mutable std::map<std::pair<int, long>, std::string> evaluated;
};

// Splits records into pages, reading them one page at a time: a page ends when it holds
// recordsPerPage records or, with a group column, before a record whose value there differs.
class MergePager {
 public:
  MergePager(RecordReader& reader, const FieldMatch& match, int groupColumn = -1);
  // The next page; false at the end or when the reader fails (its error() says why).
  bool next(MergedPage& page);

 private:
  RecordReader& reader_;
  const FieldMatch& match_;
  int group_;
  std::vector<std::string> pending_;
  long pendingLine_ = 0;
  bool havePending_ = false;
  long taken_ = 0;  // records given to pages so far
};

// The records a design is merged with, and which of its pages to print.
struct MergeSource {
  std::filesystem::path data;  // a CSV file, read when `records` is not given
  CsvOptions csv;
  std::string group;  // empty: pages by the blocks' passes alone
  long firstPage = 1;
  long lastPage = 0;                            // 0: to the end
  const FieldEvaluator* expressions = nullptr;  // evaluates field expressions when given
  std::shared_ptr<const RecordSource> records =
      nullptr;  // a database's query, in place of the file

  // The source as messages name it.
  std::string name() const { return records ? records->name() : data.string(); }
};

// Opens the records for a design: the reader, the matched fields and the group column (-1 when
// none); the error names a group column the file lacks.
struct OpenedMerge {
  std::unique_ptr<RecordReader> reader;
  FieldMatch match;
  int groupColumn = -1;
};
// A known encoding of a CSV file is taken as it is (see CsvReader::Open).
std::optional<OpenedMerge> OpenMerge(const Design& design, const MergeSource& source,
                                     CsvError* error,
                                     std::optional<CsvEncoding> encoding = std::nullopt);

// The pages of a source's range, read one at a time: pages before the first are read and
// passed over, reading stops after the last.
class RangedPages {
 public:
  RangedPages(OpenedMerge& opened, const MergeSource& source);
  // The next page of the range; false after it, at the end, or when the reader fails.
  bool next(MergedPage& page);
  // The merged page number of the page last given (or read).
  long number() const { return number_; }
  // Why the range gave no page: the file has no records, or fewer pages than the range's
  // first. Empty when a page was given.
  std::string emptyReason() const;

 private:
  MergePager pager_;
  const MergeSource& source_;
  long number_ = 0;
  bool given_ = false;
};

// The first record of the range whose barcode cannot be printed, named by its number and the
// field ("レコード 3 の「rs!品番」: …"), or nothing; read through once before printing.
std::optional<std::string> RefusedMergedBarcode(const Design& design, const MergeSource& source);

// Prints the merged pages firstPage..lastPage as one document, reading the records as it goes
// (one page of them at a time). `progress` is told each page's number before it is printed and
// cancels the printing by returning false (then *cancelled is set). False with a reason in
// Japanese when the records or the printer fail.
bool PrintMerged(const Design& design, PrinterPort& printer, PictureStore& pictures,
                 const MergeSource& source, const std::function<bool(long page)>& progress,
                 std::string* error, bool* cancelled = nullptr);

}  // namespace qf
