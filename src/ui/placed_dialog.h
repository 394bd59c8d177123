#pragma once

#include <QDialog>

#include "ui/window_places.h"

namespace qf {

// A dialog that comes back where it was left: it takes its place from the window table when
// shown and records it when it closes or is resized.
class PlacedDialog : public QDialog {
  Q_OBJECT

 public:
  PlacedDialog(WindowPlaces& places, int index, QWidget* parent);
  int exec() override;

 protected:
  void done(int result) override;
  void resizeEvent(QResizeEvent* event) override;
  // Sizes a dialog opened for the first time (its place never recorded) for the room the
  // screen gives; by default the size its layout asks for.
  virtual void sizeForFirstOpening(const QRect& /*room*/) { adjustSize(); }

 private:
  WindowPlaces& places_;
  int index_;
  bool recordOnResize_;
};

}  // namespace qf
