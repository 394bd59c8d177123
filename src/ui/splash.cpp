#include "splash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "shell/ui_text.h"

namespace qf {

Splash::Splash()
    : QWidget(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmSplash"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* title = new QLabel(QStringLiteral("Quillform"));
  QFont big = title->font();
  big.setPointSizeF(big.pointSizeF() * 2);
  big.setBold(true);
  title->setFont(big);
  auto* version = new QLabel(QStringLiteral("Version ") + QString::fromUtf8(kVersionText.data()));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(40, 30, 40, 30);
  layout->addWidget(title, 0, Qt::AlignCenter);
  layout->addWidget(version, 0, Qt::AlignCenter);
  // A plain palette: style sheets cost more start-up time than the whole splash is worth.
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(255, 253, 245));
  setPalette(p);
  setAutoFillBackground(true);
  adjustSize();
  // CenterForm: the middle of the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect s = screen->geometry();
    move(s.left() + (s.width() - width()) / 2, s.top() + (s.height() - height()) / 2);
  }
  // timUnload: one tick after three seconds.
  QTimer::singleShot(3000, this, &QWidget::close);
}

void Splash::mousePressEvent(QMouseEvent*) {
  close();
}
void Splash::keyPressEvent(QKeyEvent*) {
  close();
}

}  // namespace qf
