#include "merged_pages.h"

#include <fstream>

namespace qf {

namespace {

// The encoding as the file's first bytes tell it: CP932 for certain when they are not UTF-8,
// UTF-8 for certain when the whole file was read; otherwise UTF-8 until the rest says more.
std::pair<CsvEncoding, bool> EncodingFromStart(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string start(16 * 1024, '\0');
  in.read(start.data(), static_cast<std::streamsize>(start.size()));
  start.resize(static_cast<size_t>(std::max<std::streamsize>(0, in.gcount())));
  const bool whole = in.eof();
  std::string carry;
  if (!ValidUtf8(start, &carry)) return {CsvEncoding::Cp932, false};
  if (whole) return {carry.empty() ? CsvEncoding::Utf8 : CsvEncoding::Cp932, false};
  return {CsvEncoding::Utf8, true};
}

}  // namespace

std::unique_ptr<MergedPages> MergedPages::Open(const Design& design, const MergeSource& source,
                                               CsvError* error) {
  std::unique_ptr<MergedPages> pages(new MergedPages(design, source));
  const auto [encoding, provisional] =
      source.records ? std::pair(CsvEncoding::Utf8, false) : EncodingFromStart(source.data);
  if (!pages->restart(encoding, provisional, error)) return nullptr;
  return pages;
}

MergedPages::~MergedPages() = default;

bool MergedPages::restart(CsvEncoding encoding, bool provisional, CsvError* error) {
  scanPager_.reset();
  std::optional<OpenedMerge> opened = OpenMerge(design_, source_, error, encoding);
  if (!opened) return false;
  match_ = std::move(opened->match);
  groupColumn_ = opened->groupColumn;
  pagePager_.reset();
  queryReader_.reset();
  pageReader_.reset();
  if (!source_.records) {
    pageReader_ = CsvReader::Open(source_.data, source_.csv, error, encoding);
    if (!pageReader_) return false;
    lineStarts_ = std::make_unique<LineStarts>(source_.data, provisional);
  }
  scanReader_ = std::move(opened->reader);
  scanPager_ = std::make_unique<MergePager>(*scanReader_, match_, groupColumn_);
  provisional_ = provisional;
  starts_.clear();
  scanned_ = false;
  error_.reset();
  current_ = MergedPage();
  currentNumber_ = 0;
  return true;
}

bool MergedPages::scan(long pages) {
  for (long n = 0; n < pages && !scanned_; ++n) {
    if (!scanPager_->next(scratch_)) {
      scanned_ = true;
      if (scanReader_->error()) error_ = scanReader_->error();
      break;
    }
    const std::optional<uint64_t> offset =
        lineStarts_ ? lineStarts_->offsetOf(scratch_.firstLine) : std::optional<uint64_t>(0);
    if (!offset) {
      // The file changed under the pass: what was read stands, nothing further.
      scanned_ = true;
      error_ =
          CsvError{source_.data.string(), scratch_.firstLine, "ファイルが読込み中に変わりました"};
      break;
    }
    starts_.push_back({*offset, scratch_.firstLine, scratch_.lastLine, scratch_.firstRecord,
                       static_cast<long>(scratch_.records.size())});
  }
  if (scanned_ && provisional_ && !lineStarts_->wholeFileUtf8()) {
    // Not UTF-8 after all: every page again, as CP932.
    ++generation_;
    CsvError failed;
    if (!restart(CsvEncoding::Cp932, false, &failed)) {
      starts_.clear();
      scanned_ = true;
      error_ = failed;
    }
    return !scanned_;
  }
  if (scanned_) {
    // Nothing of the pass is needed any more.
    provisional_ = false;
    scanPager_.reset();
    scanReader_.reset();
    lineStarts_.reset();
    scratch_ = MergedPage();
  }
  return !scanned_;
}

const MergedPage* MergedPages::page(long number) {
  if (number < 1) return nullptr;
  if (number == currentNumber_) return &current_;
  // The pass goes one page past this one, so its bytes are among those checked for UTF-8.
  while (knownPages() <= number && scan(number + 1 - knownPages())) {
  }
  if (knownPages() < number) return nullptr;
  if (source_.records) return queriedPage(number);
  if (!pageReader_) return nullptr;
  const PageStart& s = start(number);
  if (!pageReader_->seek(s.offset, s.firstLine)) {
    error_ = pageReader_->error();
    return nullptr;
  }
  // A page read on its own is the page the pass found: the same first record, the same end.
  MergePager pager(*pageReader_, match_, groupColumn_);
  if (!pager.next(current_) || current_.firstLine != s.firstLine) {
    error_ = pageReader_->error()
                 ? pageReader_->error()
                 : CsvError{source_.data.string(), s.firstLine, "ファイルが読込み中に変わりました"};
    currentNumber_ = 0;
    return nullptr;
  }
  current_.firstRecord = s.firstRecord;
  currentNumber_ = number;
  return &current_;
}

const MergedPage* MergedPages::queriedPage(long number) {
  // A query is read forward only: a page before the one the reader is at asks the database
  // again from the first record.
  if (!pagePager_ || number < pagerNumber_) {
    pagePager_.reset();
    RecordError failed;
    queryReader_ = source_.records->open(&failed);
    if (!queryReader_) {
      error_ = failed;
      currentNumber_ = 0;
      return nullptr;
    }
    pagePager_ = std::make_unique<MergePager>(*queryReader_, match_, groupColumn_);
    pagerNumber_ = 1;
  }
  const PageStart& s = start(number);
  for (; pagerNumber_ <= number; ++pagerNumber_) {
    if (!pagePager_->next(current_)) break;
  }
  // The page read again is the page the pass found: the same first record, as many.
  if (pagerNumber_ <= number || current_.firstLine != s.firstLine ||
      static_cast<long>(current_.records.size()) != s.records) {
    error_ = queryReader_->error() ? queryReader_->error()
                                   : RecordError{source_.name(), s.firstLine,
                                                 "読み込み中にデータが変わりました", true};
    pagePager_.reset();
    currentNumber_ = 0;
    return nullptr;
  }
  current_.firstRecord = s.firstRecord;
  currentNumber_ = number;
  return &current_;
}

}  // namespace qf
