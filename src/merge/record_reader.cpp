#include "record_reader.h"

#include <algorithm>

namespace qf {

std::string RecordError::message() const {
  std::string m = "「" + file + "」";
  if (line > 0) m += "の " + std::to_string(line) + (byRecord ? " 件目" : " 行目");
  return m + "：" + reason;
}

int RecordReader::column(std::string_view name) const {
  const auto it = std::find(header_.begin(), header_.end(), name);
  return it == header_.end() ? -1 : static_cast<int>(it - header_.begin());
}

}  // namespace qf
