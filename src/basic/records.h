#pragma once

#include <memory>
#include <string>
#include <vector>

#include "basic/value.h"
#include "merge/csv_reader.h"

namespace qf::basic {

// The record set a program knows as rs, over the records of a CSV file: rs!Name, rs("Name"),
// rs(0), rs.Fields("Name"), rs.EOF, rs.MoveNext. Values are the file's texts.
class RecordSet final : public Object {
 public:
  // Reads the first record; at the end at once when there is none.
  explicit RecordSet(std::unique_ptr<CsvReader> reader);

  std::string_view typeName() const override { return "Recordset"; }
  Value get(std::string_view member) override;
  Value call(std::string_view member, const std::vector<Value>& args,
             const std::vector<bool>& missing) override;
  Value index(const std::vector<Value>& args) override;

 private:
  void moveNext();

  std::unique_ptr<CsvReader> reader_;
  std::vector<std::string> record_;
  bool eof_ = false;
  long position_ = 0;
};

}  // namespace qf::basic
