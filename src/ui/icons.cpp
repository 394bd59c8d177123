#include "icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <utility>

namespace qf {

QIcon ToolbarIcon(int index) {
  QPixmap pm(24, 24);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QPen ink(QColor(40, 40, 40), 1.6);
  p.setPen(ink);
  auto page = [&p] {
    QPainterPath path;
    path.moveTo(6, 3);
    path.lineTo(15, 3);
    path.lineTo(19, 7);
    path.lineTo(19, 21);
    path.lineTo(6, 21);
    path.closeSubpath();
    p.fillPath(path, Qt::white);
    p.drawPath(path);
  };
  switch (index) {
    case 1:  // new
      page();
      break;
    case 2:  // open
      p.setBrush(QColor(240, 200, 90));
      p.drawRect(3, 8, 18, 12);
      p.drawLine(3, 8, 8, 5);
      p.drawLine(8, 5, 12, 8);
      break;
    case 3:  // save
      p.setBrush(QColor(70, 110, 180));
      p.drawRect(4, 4, 16, 16);
      p.setBrush(Qt::white);
      p.drawRect(8, 4, 8, 6);
      break;
    case 5:  // print
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(3, 10, 18, 8);
      p.setBrush(Qt::white);
      p.drawRect(7, 4, 10, 6);
      p.drawRect(7, 15, 10, 6);
      break;
    case 7:  // text: a letter A, drawn as lines (no font is needed this early)
      p.setPen(QPen(QColor(40, 40, 40), 2.4));
      p.drawLine(QPointF(5, 20), QPointF(12, 4));
      p.drawLine(QPointF(12, 4), QPointF(19, 20));
      p.drawLine(QPointF(8, 14), QPointF(16, 14));
      break;
    case 8:  // line
      p.setPen(QPen(QColor(40, 40, 40), 2));
      p.drawLine(4, 20, 20, 4);
      break;
    case 9:  // box
      p.drawRect(4, 6, 16, 12);
      break;
    case 10:  // ring
      p.drawEllipse(3, 6, 18, 12);
      break;
    case 11:  // picture
      p.drawRect(3, 5, 18, 14);
      p.setBrush(QColor(90, 150, 90));
      p.drawPolygon(QPolygon(
          {QPoint(4, 18), QPoint(10, 10), QPoint(14, 15), QPoint(17, 12), QPoint(20, 18)}));
      break;
    case 12:  // command: a repeat block, one row drawn again below itself
      p.setBrush(QColor(70, 110, 180));
      p.drawRect(QRectF(9, 3.5, 11, 4));
      p.setBrush(QColor(170, 190, 225));
      p.drawRect(QRectF(9, 10, 11, 4));
      p.drawRect(QRectF(9, 16.5, 11, 4));
      // The block's bracket and its direction, down the left side.
      p.setBrush(Qt::NoBrush);
      p.drawLine(QPointF(5, 3.5), QPointF(5, 19));
      p.drawLine(QPointF(5, 20.5), QPointF(2.5, 17));
      p.drawLine(QPointF(5, 20.5), QPointF(7.5, 17));
      break;
    case 17:  // barcode: bars of two widths
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::black);
      for (const auto& [x, w] :
           {std::pair{3, 2}, {6, 1}, {8, 3}, {12, 1}, {14, 2}, {17, 1}, {19, 2}}) {
        p.drawRect(x, 5, w, 14);
      }
      break;
    case 14:  // source: a page of code lines
      page();
      p.setPen(QPen(QColor(60, 90, 160), 1.4));
      for (int y : {8, 11, 14, 17}) p.drawLine(QPointF(y % 2 ? 10 : 8, y), QPointF(16, y));
      break;
    case 15:  // page setup
      page();
      p.setPen(QPen(QColor(200, 60, 60), 1, Qt::DashLine));
      p.drawRect(9, 7, 7, 11);
      break;
    case 16:  // redraw
      p.drawArc(5, 5, 14, 14, 90 * 16, 270 * 16);
      p.drawLine(12, 5, 15, 3);
      p.drawLine(12, 5, 15, 8);
      break;
    default:
      break;
  }
  return QIcon(pm);
}

QIcon AppIcon() {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(40, 40, 40), 1.5));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(5.5, 3.5, 19, 25));
  p.setPen(QPen(QColor(120, 120, 120), 1));
  for (int y : {10, 14, 18}) p.drawLine(9, y, 17, y);
  // The quill across the page's corner.
  QPainterPath quill;
  quill.moveTo(12, 26);
  quill.quadTo(20, 12, 30, 2);
  quill.quadTo(24, 16, 12, 26);
  p.setPen(QPen(QColor(30, 60, 140), 1.2));
  p.setBrush(QColor(70, 110, 190));
  p.drawPath(quill);
  return QIcon(pm);
}

QPixmap ReadoutIcon(int index) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setPen(QPen(QColor(40, 40, 40), 1));
  if (index == 0) {
    p.drawLine(8, 1, 8, 15);
    p.drawLine(1, 8, 15, 8);
    p.drawEllipse(4, 4, 8, 8);
  } else {
    p.drawRect(2, 2, 12, 12);
    p.drawLine(4, 12, 12, 4);
    p.drawLine(12, 4, 9, 4);
    p.drawLine(12, 4, 12, 7);
  }
  return pm;
}

}  // namespace qf
