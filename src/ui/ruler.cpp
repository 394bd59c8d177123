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
  markerTimer_.setSingleShot(true);
  markerTimer_.setInterval(kMarkerMs);
  connect(&markerTimer_, &QTimer::timeout, this, &Ruler::showPointer);
}

void Ruler::setPageOrigin(int origin) {
  if (origin == origin_) return;
  origin_ = origin;
  refresh();
}

void Ruler::refresh() {
  scaleDrawn_ = false;
  update();
}

void Ruler::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  refresh();
}

void Ruler::setPointer(std::optional<int> pixel) {
  if (pixel == pointer_) return;
  pointer_ = pixel;
  if (!markerTimer_.isActive()) markerTimer_.start();
}

void Ruler::showPointer() {
  markerTimer_.stop();
  if (shown_ == pointer_) return;
  // Only the strips of the old and the new marker are painted again.
  if (shown_) update(markerStrip(*shown_));
  if (pointer_) update(markerStrip(*pointer_));
  shown_ = pointer_;
}

QRect Ruler::markerStrip(int pixel) const {
  const int at = origin_ + pixel;
  return orientation_ == Qt::Horizontal ? QRect(at - 1, 0, 3, height())
                                        : QRect(0, at - 1, width(), 3);
}

void Ruler::paintEvent(QPaintEvent* event) {
  if (!scaleDrawn_) drawScale();
  QPainter p(this);
  const QRect r = event->rect();
  p.drawPixmap(r, scale_,
               QRectF(QPointF(r.topLeft()) * scale_.devicePixelRatio(),
                      QSizeF(r.size()) * scale_.devicePixelRatio()));
  if (pointer_) {
    const int at = origin_ + *pointer_;
    p.setPen(kMarker);
    if (orientation_ == Qt::Horizontal) {
      p.drawLine(at, 0, at, height() - 1);
    } else {
      p.drawLine(0, at, width() - 1, at);
    }
  }
}

void Ruler::drawScale() {
  scaleDrawn_ = true;
  const qreal ratio = devicePixelRatioF();
  scale_ = QPixmap((QSizeF(size()) * ratio).toSize());
  scale_.setDevicePixelRatio(ratio);
  scale_.fill(palette().color(QPalette::Button));
  QPainter p(&scale_);
  p.setFont(font());
  const bool across = orientation_ == Qt::Horizontal;
  const double units = across ? view_.page.scaleWidth : view_.page.scaleHeight;
  const int pixels = across ? view_.widthPx : view_.heightPx;
  const int depth = across ? height() : width();
  const int length = across ? width() : height();
  if (units > 0 && pixels > 0) {
    const double perUnit = pixels / units;
    p.setPen(palette().color(QPalette::ButtonText));
    for (const RulerTick& t : RulerTicks(perUnit, -origin_, length, units)) {
      const int at = static_cast<int>(std::floor(t.pixel));
      const int size = t.major ? depth - 2 : t.half ? depth / 3 : depth / 5;
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
    p.drawLine(0, depth - 1, length, depth - 1);
  } else {
    p.drawLine(depth - 1, 0, depth - 1, length);
  }
}

}  // namespace qf
