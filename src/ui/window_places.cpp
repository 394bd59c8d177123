#include "window_places.h"

#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace qf {

namespace {

int Px(double twips) {
  return static_cast<int>(std::lround(std::clamp(twips / kTwipsPerPx, -1e6, 1e6)));
}

// The rectangle, moved onto the primary screen when no screen shows any of it.
QRect OnSomeScreen(QRect r) {
  for (QScreen* s : QGuiApplication::screens()) {
    if (s->availableGeometry().intersects(r)) return r;
  }
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) return r;
  const QRect avail = primary->availableGeometry();
  r.setSize(r.size().boundedTo(avail.size()));
  r.moveTopLeft(avail.topLeft());
  return r;
}

}  // namespace

void RestoreFormPosition(QWidget& window, const AppState& state, int index) {
  if (index < 0 || index >= kWindowSlots) return;
  const WindowRect& w = state.windows[static_cast<size_t>(index)];
  QWidget& frame = window.parentWidget() && qobject_cast<QMdiSubWindow*>(window.parentWidget())
                       ? *window.parentWidget()
                       : window;
  QRect r(Px(w.left), Px(w.top), frame.width(), frame.height());
  if (RestoresSize(index)) {
    r.setSize(QSize(std::max(Px(w.width), kMinRestoredWidth),
                    std::max(Px(w.height), kMinRestoredHeight)));
  }
  if (frame.isWindow()) r = OnSomeScreen(r);
  frame.resize(r.size());
  frame.move(r.topLeft());
}

QSize MainWindowStartSize(const AppState& state) {
  if (state.firstStart) {
    // Without settings the main window would be 1000 twips square; a first start fills most of
    // the screen instead.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      return screen->availableGeometry().size() * 0.85;
    }
  }
  const WindowRect& w = state.windows[static_cast<size_t>(kWinMain)];
  return {std::max(Px(w.width), kMinRestoredWidth), std::max(Px(w.height), kMinRestoredHeight)};
}

void SaveFormPosition(const QWidget& window, WindowPlaces& places, int index) {
  AppState& state = places.state_;
  if (index < 0 || index >= kWindowSlots || state.starting) return;
  const QWidget& frame =
      window.parentWidget() && qobject_cast<QMdiSubWindow*>(window.parentWidget())
          ? *window.parentWidget()
          : window;
  if (index != kWinMain && (frame.isMinimized() || frame.isMaximized())) return;
  // A maximised main window is recorded as it stands; the next start shows a normal window of
  // that size.
  const QRect g = frame.geometry();
  WindowRect& w = state.windows[static_cast<size_t>(index)];
  w.left = frame.isWindow() ? frame.pos().x() * kTwipsPerPx : g.left() * kTwipsPerPx;
  w.top = frame.isWindow() ? frame.pos().y() * kTwipsPerPx : g.top() * kTwipsPerPx;
  w.width = g.width() * kTwipsPerPx;
  w.height = g.height() * kTwipsPerPx;
}

}  // namespace qf
