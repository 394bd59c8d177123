#pragma once

#include <cstddef>
#include <vector>

#include "document/object_record.h"

namespace qf {

// The program's own object clipboard: copies of records, taken when copied, that no longer
// belong to any row. Each paste lands two grid steps further right and down than the last.
class ObjectClipboard {
 public:
  void copy(std::vector<ObjectRecord> records) { records_ = std::move(records); }
  bool empty() const { return records_.empty(); }
  size_t size() const { return records_.size(); }
  // The records of the next paste, moved on by dx, dy from the last (the clipboard moves with
  // them). A text or picture keeps its measured size in X2 and Y2 as its row holds it.
  const std::vector<ObjectRecord>& nextPaste(double dx, double dy);

 private:
  std::vector<ObjectRecord> records_;
};

}  // namespace qf
