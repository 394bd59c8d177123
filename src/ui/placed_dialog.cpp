#include "placed_dialog.h"

#include <QScreen>

namespace qf {

PlacedDialog::PlacedDialog(WindowPlaces& places, int index, QWidget* parent)
    : QDialog(parent),
      places_(places),
      index_(index),
      recordOnResize_(index == kWinGrid || index == kWinPalette || index == kWinPreview) {}

int PlacedDialog::exec() {
  if (places_.state().windows[static_cast<size_t>(index_)] == WindowRect{} && parentWidget()) {
    // Never placed yet (the table still holds its default, the screen's top-left corner): the
    // dialog opens over the middle of its window, where a user looks for it.
    const QWidget* owner = parentWidget()->window();
    const QScreen* screen = owner->screen();
    sizeForFirstOpening(screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768));
    move(owner->mapToGlobal(owner->rect().center()) - rect().center());
  } else {
    adjustSize();
    RestoreFormPosition(*this, places_.state(), index_);
  }
  return QDialog::exec();
}

void PlacedDialog::done(int result) {
  SaveFormPosition(*this, places_, index_);
  QDialog::done(result);
}

void PlacedDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (recordOnResize_ && isVisible()) SaveFormPosition(*this, places_, index_);
}

}  // namespace qf
