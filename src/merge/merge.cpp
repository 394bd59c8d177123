#include "merge.h"

#include <algorithm>

#include "document/object_rows.h"
#include "view/object_walk.h"

namespace qf {

std::string_view FieldColumnName(std::string_view field) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!field.empty() && blank(field.back())) field.remove_suffix(1);
  while (!field.empty() && blank(field.front())) field.remove_prefix(1);
  const size_t cut = field.find_last_of(".!");
  return cut == std::string_view::npos ? field : field.substr(cut + 1);
}

FieldMatch MatchFields(const Design& design, const std::vector<std::string>& header,
                       const FieldEvaluator* evaluator) {
  FieldMatch m;
  const int rows = design.objects.itemCount();
  m.columnOfRow.assign(static_cast<size_t>(rows) + 1, -1);
  m.expressionOfRow.assign(static_cast<size_t>(rows) + 1, std::string());
  m.header = header;
  m.evaluator = evaluator;
  // An expression is taken whole when it can be evaluated over a record of ones: what it names
  // the records give (a name they do not give stops it), and numbers convert.
  const std::vector<std::string> ones(header.size(), "1");
  auto note = [](std::vector<std::string>& list, const std::string& name) {
    if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);
  };
  ObjectRecord rec;
  for (int row = 1; row <= rows; ++row) {
    DecodeObjectRow(rec, design.objects, row);
    if (!TakesFieldValue(rec.Kind) || rec.Field.empty()) continue;
    if (evaluator && evaluator->evaluate(rec.Field, header, ones, nullptr)) {
      m.columnOfRow[static_cast<size_t>(row)] = kEvaluatedField;
      m.expressionOfRow[static_cast<size_t>(row)] = rec.Field;
      note(m.evaluated, rec.Field);
      continue;
    }
    const std::string_view name = FieldColumnName(rec.Field);
    const auto it = std::find(header.begin(), header.end(), name);
    if (it == header.end()) {
      note(m.missing, rec.Field);
      continue;
    }
    m.columnOfRow[static_cast<size_t>(row)] = static_cast<int>(it - header.begin());
    note(m.found, rec.Field);
  }
  // The passes a page has room for: the walk numbers every pass of the blocks around a text.
  WalkObjects(design, 1, rows,
              [&m](const WorkingRect&, const ObjectRecord&, const WalkPosition& at) {
                if (m.columnOfRow[static_cast<size_t>(at.row)] != -1) {
                  m.recordsPerPage = std::max(m.recordsPerPage, at.pass + 1);
                }
              });
  return m;
}

std::optional<std::string_view> MergedPage::value(int row, long pass) const {
  if (!match || row < 1 || static_cast<size_t>(row) >= match->columnOfRow.size()) {
    return std::nullopt;
  }
  const int column = match->columnOfRow[static_cast<size_t>(row)];
  if (column == -1) return std::nullopt;
  // Passes past the page's records show nothing: the list ends there.
  if (pass < 0 || static_cast<size_t>(pass) >= records.size()) return std::string_view();
  const std::vector<std::string>& record = records[static_cast<size_t>(pass)];
  if (column == kEvaluatedField) {
    auto it = evaluated.find({row, pass});
    if (it == evaluated.end()) {
      // A value the record cannot give prints nothing, as an empty field does.
      const auto v = match->evaluator ? match->evaluator->evaluate(
                                            match->expressionOfRow[static_cast<size_t>(row)],
                                            match->header, record, nullptr)
                                      : std::nullopt;
      it = evaluated.emplace(std::make_pair(row, pass), v.value_or(std::string())).first;
    }
    return std::string_view(it->second);
  }
  return static_cast<size_t>(column) < record.size() ? std::string_view(record[column])
                                                     : std::string_view();
}

MergePager::MergePager(RecordReader& reader, const FieldMatch& match, int groupColumn)
    : reader_(reader),
      match_(match),
      group_(groupColumn < static_cast<int>(reader.header().size()) ? groupColumn : -1) {}

bool MergePager::next(MergedPage& page) {
  page.match = &match_;
  page.records.clear();
  page.evaluated.clear();
  if (!havePending_) {
    if (!reader_.next(pending_)) return false;
    pendingLine_ = reader_.line();
  }
  havePending_ = false;
  page.firstRecord = taken_ + 1;
  page.firstLine = page.lastLine = pendingLine_;
  page.records.push_back(std::move(pending_));
  const auto perPage = static_cast<size_t>(std::max(1L, match_.recordsPerPage));
  while (page.records.size() < perPage) {
    if (!reader_.next(pending_)) break;
    pendingLine_ = reader_.line();
    const auto g = static_cast<size_t>(group_);
    if (group_ >= 0 && pending_[g] != page.records.front()[g]) {
      havePending_ = true;  // the next page starts with it
      break;
    }
    page.records.push_back(std::move(pending_));
    page.lastLine = pendingLine_;
  }
  taken_ += static_cast<long>(page.records.size());
  // A full page leaves the next record unread; a reader error ends after this page.
  return true;
}

std::optional<OpenedMerge> OpenMerge(const Design& design, const MergeSource& source,
                                     CsvError* error, std::optional<CsvEncoding> encoding) {
  OpenedMerge m;
  if (source.records) {
    m.reader = source.records->open(error);
  } else {
    m.reader = CsvReader::Open(source.data, source.csv, error, encoding);
  }
  if (!m.reader) return std::nullopt;
  m.match = MatchFields(design, m.reader->header(), source.expressions);
  if (!source.group.empty()) {
    m.groupColumn = m.reader->column(source.group);
    if (m.groupColumn < 0) {
      if (error) *error = {source.name(), 0, "列「" + source.group + "」がありません"};
      return std::nullopt;
    }
  }
  return m;
}

RangedPages::RangedPages(OpenedMerge& opened, const MergeSource& source)
    : pager_(*opened.reader, opened.match, opened.groupColumn), source_(source) {}

bool RangedPages::next(MergedPage& page) {
  while (pager_.next(page)) {
    ++number_;
    if (number_ < source_.firstPage) continue;
    if (source_.lastPage > 0 && number_ > source_.lastPage) return false;
    given_ = true;
    return true;
  }
  return false;
}

std::string RangedPages::emptyReason() const {
  if (given_) return {};
  return number_ == 0 ? "「" + source_.name() + "」にレコードがありません"
                      : "差し込みのページは " + std::to_string(number_) + " ページまでです";
}

namespace {

std::string MergedRefusalText(const BarcodeRefusal& refused, long firstRecord) {
  if (refused.field.empty()) return RefusalText(refused);
  // Pass k of the blocks shows the page's record k; outside them its first.
  return "レコード " + std::to_string(firstRecord + refused.pass) + " の「" + refused.field +
         "」: " + refused.reason;
}

// Pages' barcodes read together, with the first record of each page.
struct Batch {
  std::vector<PageBarcode> barcodes;
  std::vector<std::pair<size_t, long>> pages;  // the index of its first barcode, its first record

  void add(std::vector<PageBarcode> page, long firstRecord) {
    pages.emplace_back(barcodes.size(), firstRecord);
    barcodes.insert(barcodes.end(), std::make_move_iterator(page.begin()),
                    std::make_move_iterator(page.end()));
  }
  long recordOf(size_t barcode) const {
    const auto after = std::upper_bound(pages.begin(), pages.end(), barcode,
                                        [](size_t b, const auto& p) { return b < p.first; });
    return after == pages.begin() ? 0 : std::prev(after)->second;
  }
};

constexpr size_t kBatchBarcodes = 64;

}  // namespace

std::optional<std::string> RefusedMergedBarcode(const Design& design, const MergeSource& source) {
  if (!HasBarcode(design, true)) return std::nullopt;
  CsvError csvError;
  std::optional<OpenedMerge> opened = OpenMerge(design, source, &csvError);
  if (!opened) return std::nullopt;  // the run itself says why
  RangedPages pages(*opened, source);
  MergedPage page;
  // The symbols of a batch of pages are encoded while the next batch's records are read: a
  // batch, so the two threads seldom wait for each other.
  const std::vector<PageBarcode> designed = CollectPageBarcodes(design);
  BarcodesAhead ahead(design.page.scaleMode, BarcodeUse::Check);
  Batch reading;
  Batch encoding;
  auto refusedIn = [&](const Batch& batch) -> std::optional<std::string> {
    const auto placed = ahead.take();
    if (!placed.refused) return std::nullopt;
    return MergedRefusalText(*placed.refused, batch.recordOf(placed.drawings.size() - 1));
  };
  bool more = true;
  while (more) {
    more = pages.next(page);
    if (more) reading.add(WithPageValues(designed, &page), page.firstRecord);
    if (reading.barcodes.size() < kBatchBarcodes && more) continue;
    if (auto refused = refusedIn(encoding)) return refused;
    encoding = std::move(reading);
    reading = Batch{};
    ahead.start(std::move(encoding.barcodes));
  }
  return refusedIn(encoding);
}

bool PrintMerged(const Design& design, PrinterPort& printer, PictureStore& pictures,
                 const MergeSource& source, const std::function<bool(long page)>& progress,
                 std::string* error, bool* cancelled) {
  if (cancelled) *cancelled = false;
  // Every record's barcode is checked before the first page is drawn.
  if (const auto refused = RefusedMergedBarcode(design, source)) {
    if (error) *error = *refused;
    return false;
  }
  CsvError csvError;
  std::optional<OpenedMerge> opened = OpenMerge(design, source, &csvError);
  if (!opened) {
    if (error) *error = csvError.message();
    return false;
  }
  RangedPages pages(*opened, source);
  MergedPage page;
  bool stopped = false;
  auto going = [&] {
    stopped = progress && !progress(pages.number());
    return !stopped;
  };
  const bool printed = PrintPages(
      design, printer, pictures,
      [&]() -> const PageValues* {
        return !stopped && pages.next(page) && going() ? &page : nullptr;
      },
      error,
      going);  // a long page asks again, so a cancel need not wait for its end
  if (stopped) {
    if (cancelled) *cancelled = true;
    if (error) *error = "取り消されました";
    return false;
  }
  if (opened->reader->error()) {
    if (error) *error = opened->reader->error()->message();
    return false;
  }
  if (!printed && error && !pages.emptyReason().empty()) *error = pages.emptyReason();
  return printed;
}

}  // namespace qf
