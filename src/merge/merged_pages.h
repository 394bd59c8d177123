#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "merge/csv_reader.h"
#include "merge/merge.h"

namespace qf {

// The merged pages of a source for a window that goes to any page: one pass, run in steps, notes
// where each page's records start in the file and how many it takes; a page's records are read
// from there when it is asked for. Only the page last asked for is held, so memory does not grow
// with the file, and the first page is there before the pass has gone far.
class MergedPages {
 public:
  struct PageStart {
    uint64_t offset = 0;  // the byte its first record starts at
    long firstLine = 0;
    long lastLine = 0;
    long firstRecord = 0;  // from 1
    long records = 0;
  };

  // nullptr with the error when the records cannot be opened for the design.
  static std::unique_ptr<MergedPages> Open(const Design& design, const MergeSource& source,
                                           CsvError* error);
  ~MergedPages();
  MergedPages(const MergedPages&) = delete;
  MergedPages& operator=(const MergedPages&) = delete;

  // The pass goes on for up to `pages` more pages; false once it has ended.
  bool scan(long pages);
  // The pass to its end (the count wanted at once: printing, the last page).
  void scanAll() {
    while (scan(5000)) {
    }
  }
  bool scanned() const { return scanned_; }
  // Pages found so far: all of them once scanned.
  long knownPages() const { return static_cast<long>(starts_.size()); }
  const PageStart& start(long page) const { return starts_[static_cast<size_t>(page - 1)]; }
  // Why the pass stopped early (a malformed record), or nullopt.
  const std::optional<CsvError>& error() const { return error_; }

  // Page `page` (from 1), the pass going on as far as it must; nullptr past the last page or
  // when the records cannot be read (error() says why).
  const MergedPage* page(long page);
  const FieldMatch& match() const { return match_; }
  // The records come from a CSV file (a page's lines tell where), not a database's query.
  bool fromFile() const { return !source_.records; }
  // Counts the times the pages were read anew: a file whose start is UTF-8 is read so until the
  // pass finds a byte that is not, then from the top as CP932 (what was shown is stale).
  int generation() const { return generation_; }

 private:
  MergedPages(const Design& design, const MergeSource& source) : design_(design), source_(source) {}
  bool restart(CsvEncoding encoding, bool provisional, CsvError* error);
  const MergedPage* queriedPage(long number);  // a page of a database's records

  const Design& design_;
  MergeSource source_;
  FieldMatch match_;
  int groupColumn_ = -1;
  bool provisional_ = false;  // UTF-8 as far as read; the pass checks the rest
  int generation_ = 0;
  std::unique_ptr<RecordReader> scanReader_;
  std::unique_ptr<MergePager> scanPager_;
  std::unique_ptr<LineStarts> lineStarts_;     // a CSV file's: where each page's records start
  std::unique_ptr<CsvReader> pageReader_;      // a CSV file's, moved to each page's start
  std::unique_ptr<RecordReader> queryReader_;  // a database's, read on from the first page
  std::unique_ptr<MergePager> pagePager_;      // over queryReader_: page pagerNumber_ next
  long pagerNumber_ = 1;
  std::vector<PageStart> starts_;
  MergedPage scratch_;  // the pass's page, its records dropped as it goes
  MergedPage current_;
  long currentNumber_ = 0;
  bool scanned_ = false;
  std::optional<CsvError> error_;
};

}  // namespace qf
