#include "paper_size.h"

#include <QSizeF>
#include <QString>
#include <cmath>

#include "source/page_tables.h"

namespace qf {

QPageSize PageSizeForCode(int code) {
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

int CodeForPageSize(const QPageSize& size) {
  for (int code = 1; code < kUserPaperSize; ++code) {
    const QPageSize known = PageSizeForCode(code);
    if (!known.isValid()) break;
    if (known.isEquivalentTo(size)) return code;
  }
  return kUserPaperSize;
}

}  // namespace qf
