#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qf {

// Why records could not be read: the source (a file, a database), where in it (a CSV file's line
// or a query's record, from 1; 0 when none applies) and the reason, in Japanese.
struct RecordError {
  std::string file;
  long line = 0;
  std::string reason;
  bool byRecord = false;  // `line` counts a query's records, not a file's lines

  std::string message() const;
};

// Records read one at a time, in order: a CSV file's or a database query's. The header names the
// columns; every record has as many fields as it.
class RecordReader {
 public:
  virtual ~RecordReader() = default;

  const std::vector<std::string>& header() const { return header_; }
  // The column of a name as the header spells it; -1 when no column has it.
  int column(std::string_view name) const;
  // The next record; false at the end or on an error (then error() says what).
  virtual bool next(std::vector<std::string>& record) = 0;
  // Where the record last returned starts: a file's line, a query's record number.
  long line() const { return recordLine_; }
  const std::optional<RecordError>& error() const { return error_; }

 protected:
  std::vector<std::string> header_;
  long recordLine_ = 0;
  std::optional<RecordError> error_;
};

// A source other than a CSV file (a database query): opened anew for each pass over its records.
class RecordSource {
 public:
  virtual ~RecordSource() = default;
  // A reader on the first record, or nullptr with the reason.
  virtual std::unique_ptr<RecordReader> open(RecordError* error) const = 0;
  // The source as messages name it (never with a password).
  virtual std::string name() const = 0;
};

}  // namespace qf
