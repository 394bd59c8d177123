#include "paper_size.h"

#include <QSizeF>
#include <QString>
#include <cmath>
#include <vector>

#include "source/page_tables.h"

namespace qf {

namespace {

QPageSize SizeOfCode(int code) {
  const std::optional<PaperDimensions> size = PaperSize(code);
  if (!size) return QPageSize();
  const QPageSize::Unit unit =
      size->unit == PaperUnit::Inch ? QPageSize::Inch : QPageSize::Millimeter;
  const QPageSize exact(QSizeF(size->width, size->height), unit, QString(), QPageSize::ExactMatch);
  const QSizeF mm = exact.size(QPageSize::Millimeter);
  for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
    const QPageSize known(static_cast<QPageSize::PageSizeId>(id));
    if (known.windowsId() != code) continue;
    const QSizeF knownMm = known.size(QPageSize::Millimeter);
    // Qt rounds some sizes to its own millimetres; half a millimetre is the same paper.
    if (std::abs(knownMm.width() - mm.width()) < 0.5 &&
        std::abs(knownMm.height() - mm.height()) < 0.5) {
      return known;
    }
  }
  return exact;
}

// The page size of every listed code, worked out once: the page's settings are read back for
// every line a program prints, and each look-up would otherwise build Qt's sizes anew.
const std::vector<QPageSize>& ListedSizes() {
  static const std::vector<QPageSize> sizes = [] {
    std::vector<QPageSize> all;
    for (int code = 1; PaperSize(code); ++code) all.push_back(SizeOfCode(code));
    return all;
  }();
  return sizes;
}

}  // namespace

QPageSize PageSizeForCode(int code) {
  const std::vector<QPageSize>& sizes = ListedSizes();
  if (code < 1 || code > static_cast<int>(sizes.size())) return QPageSize();
  return sizes[static_cast<size_t>(code - 1)];
}

int CodeForPageSize(const QPageSize& size) {
  const std::vector<QPageSize>& sizes = ListedSizes();
  for (size_t i = 0; i < sizes.size(); ++i) {
    if (sizes[i].isEquivalentTo(size)) return static_cast<int>(i) + 1;
  }
  return kUserPaperSize;
}

}  // namespace qf
