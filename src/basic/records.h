#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "basic/value.h"
#include "merge/csv_reader.h"

namespace qf::basic {

// The record set a program knows as rs, over the records of a CSV file: rs!Name, rs("Name"),
// rs(0), rs.Fields("Name") (a field whose default is its value), rs.Fields.Count,
// rs.Fields(i).Name, EOF and BOF, MoveNext, MovePrevious, MoveFirst, MoveLast, RecordCount,
// AbsolutePosition. Values are the file's texts. Records are read from the file as far as the
// program goes, and kept, so it can go back.
class RecordSet final : public Object {
 public:
  // On the first record; at the end (and the start) at once when there is none.
  explicit RecordSet(std::unique_ptr<RecordReader> reader);

  std::string_view typeName() const override { return "Recordset"; }
  Value get(std::string_view member) override;
  Value call(std::string_view member, const std::vector<Value>& args,
             const std::vector<bool>& missing) override;
  Value index(const std::vector<Value>& args) override;

  // The column a field names (a header name in any case, or a number), -1 for none.
  int columnOf(const Value& which) const;
  const std::vector<std::string>& header() const { return reader_->header(); }
  // The current record's text of a column; refused at EOF or BOF.
  std::string text(int column);

 private:
  // Whether record n (from 0) has been read, reading on as far as it.
  bool has(long n);
  void move(long to);
  // Past the last record; before the first, only when there are none.
  bool eof() { return position_ >= 0 ? !has(position_) : !has(0); }

  std::unique_ptr<RecordReader> reader_;
  std::vector<std::vector<std::string>> records_;
  bool ended_ = false;  // the file is read to its end
  long position_ = 0;   // the current record, from 0; -1 before the first (BOF)
};

// One record as an object: its columns by name (as the header spells it, or in other case)
// or by number, as rs!Name, rs("Name"), rs(0), rs.Fields("Name") and Items(i).Name read them;
// EOF and BOF are false, since it is there. A column past the record's end reads as empty.
class RecordObject final : public Object {
 public:
  RecordObject(std::shared_ptr<const std::vector<std::string>> header,
               std::vector<std::string> record);

  std::string_view typeName() const override { return "Recordset"; }
  Value get(std::string_view member) override;
  Value call(std::string_view member, const std::vector<Value>& args,
             const std::vector<bool>& missing) override;
  Value index(const std::vector<Value>& args) override;

 private:
  Value column(std::string_view name) const;
  Value text(size_t c) const;

  std::shared_ptr<const std::vector<std::string>> header_;
  std::vector<std::string> record_;
};

// The records of one page as a program reads them without declaring them: NAME(i).Column is
// record i of the page (from 0), as the merge fills pass i of a repeat block, and NAME.Column
// the page's first record, as the merge fills a text outside the blocks. Records past the
// page or the file read as empty columns, as the merge shows nothing there. Records are read
// from the file as far as the program asks.
class PageRecords final : public Object {
 public:
  // `limit`: how many records the page holds; none: as many as the file has.
  PageRecords(std::unique_ptr<RecordReader> reader, std::optional<long> limit);

  std::string_view typeName() const override { return "Records"; }
  // NAME.Column: the page's first record's.
  Value get(std::string_view member) override;
  Value index(const std::vector<Value>& args) override;

 private:
  // Record n of the page (an object whose columns are its members).
  Value record(double n);

  std::unique_ptr<RecordReader> reader_;
  std::shared_ptr<const std::vector<std::string>> header_;
  std::optional<long> limit_;
  std::vector<std::vector<std::string>> records_;
  bool ended_ = false;
};

}  // namespace qf::basic
