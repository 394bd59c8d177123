#include "ruler.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "view/ruler_scale.h"

namespace qf {

namespace {

constexpr QColor kMarker{0, 90, 200};

}  // namespace

Ruler::Ruler(Qt::Orientation orientation, const ViewState& view, QWidget* parent)
    : QWidget(parent), orientation_(orientation), view_(view) {
  const bool across = orientation == Qt::Horizontal;
  setObjectName(across ? QStringLiteral("rulTop") : QStringLiteral("rulLeft"));
  setAccessibleName(across ? QStringLiteral("ﾙｰﾗｰ（横）") : QStringLiteral("ﾙｰﾗｰ（縦）"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setBackgroundRole(QPalette::Button);
  QFont small = font();
  small.setPixelSize(9);
  setFont(small);
}

void Ruler::setPageOrigin(int origin) {
  if (origin == origin_) return;
  origin_ = origin;
  update();
}

void Ruler::setPointer(std::optional<int> pixel) {
  if (pixel == pointer_) return;
  // Only the strips of the old and the new marker are painted again.
  if (pointer_) update(markerStrip(*pointer_));
  pointer_ = pixel;
  if (pointer_) update(markerStrip(*pointer_));
}

QRect Ruler::markerStrip(int pixel) const {
  const int at = origin_ + pixel;
  return orientation_ == Qt::Horizontal ? QRect(at - 1, 0, 3, height())
                                        : QRect(0, at - 1, width(), 3);
}

void Ruler::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QRect r = event->rect();
  p.fillRect(r, palette().button());
  const bool across = orientation_ == Qt::Horizontal;
  const double units = across ? view_.page.scaleWidth : view_.page.scaleHeight;
  const int pixels = across ? view_.widthPx : view_.heightPx;
  if (units > 0 && pixels > 0) {
    const double perUnit = pixels / units;
    // A number stands right of (below) its mark: start early enough to draw those reaching in.
    const int from = (across ? r.left() : r.top()) - 40;
    const int length = (across ? r.width() : r.height()) + 41;
    const int depth = across ? height() : width();
    p.setPen(palette().color(QPalette::ButtonText));
    for (const RulerTick& t : RulerTicks(perUnit, from - origin_, length, units)) {
      const int at = from + static_cast<int>(std::floor(t.pixel));
      const long tenth = std::lround(t.value / RulerStep(perUnit, kRulerLabelGap) * 10);
      const int size = t.major ? depth - 2 : tenth % 5 == 0 ? depth / 3 : depth / 5;
      if (across) {
        p.drawLine(at, depth - size, at, depth - 1);
      } else {
        p.drawLine(depth - size, at, depth - 1, at);
      }
      if (!t.major) continue;
      const QString label = QString::number(t.value, 'g', 6);
      if (across) {
        p.drawText(at + 2, 9, label);
      } else {
        p.save();
        p.translate(9, at + 2);
        p.rotate(90);
        p.drawText(0, 0, label);
        p.restore();
      }
    }
  }
  // The edge toward the page.
  p.setPen(palette().color(QPalette::Mid));
  if (across) {
    p.drawLine(r.left(), height() - 1, r.right(), height() - 1);
  } else {
    p.drawLine(width() - 1, r.top(), width() - 1, r.bottom());
  }
  if (pointer_) {
    const int at = origin_ + *pointer_;
    p.setPen(kMarker);
    if (across) {
      p.drawLine(at, 0, at, height() - 1);
    } else {
      p.drawLine(0, at, width() - 1, at);
    }
  }
}

}  // namespace qf
