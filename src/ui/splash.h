#pragma once

#include <QWidget>

namespace qf {

// The splash window: product name and version, on top of everything, closed by a click, a key
// or after three seconds.
class Splash final : public QWidget {
  Q_OBJECT

 public:
  Splash();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace qf
