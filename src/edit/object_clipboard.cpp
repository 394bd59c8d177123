#include "object_clipboard.h"

#include "document/names.h"

namespace qf {

const std::vector<ObjectRecord>& ObjectClipboard::nextPaste(double dx, double dy) {
  for (ObjectRecord& o : records_) {
    o.X1 += dx;
    o.Y1 += dy;
    if (!IsPlacedAtPoint(o.Kind)) {
      o.X2 += dx;
      o.Y2 += dy;
    }
  }
  return records_;
}

}  // namespace qf
