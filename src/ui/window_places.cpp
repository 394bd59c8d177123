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

// A kept place in pixels, at least as large as a restored window may be.
QRect KeptPlace(const WindowRect& w) {
  return {Px(w.left), Px(w.top), std::max(Px(w.width), kMinRestoredWidth),
          std::max(Px(w.height), kMinRestoredHeight)};
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
  const QRect kept = KeptPlace(w);
  QRect r(kept.topLeft(), RestoresSize(index) ? kept.size() : frame.size());
  if (frame.isWindow()) r = OnSomeScreen(r);
  frame.resize(r.size());
  frame.move(r.topLeft());
}

std::array<QRect, 3> FirstStartPlaces(QSize area) {
  area = area.expandedTo(QSize(900, 600));
  const int right = std::max(420, area.width() * 3 / 5);
  return {QRect(right, 0, area.width() - right, area.height() / 2),
          QRect(0, area.height() * 2 / 3, right, area.height() / 3),
          QRect(right, area.height() / 2, area.width() - right, area.height() / 2)};
}

QSize DesignFrameRoom(QPoint at, QSize wanted, QRect area, std::span<const QRect> others) {
  int maxWidth = std::max(area.right() + 1 - at.x(), 200);
  int maxHeight = std::max(area.bottom() + 1 - at.y(), 150);
  for (const QRect& g : others) {
    const bool besideRows =
        g.top() < at.y() + std::min(wanted.height(), maxHeight) && g.bottom() >= at.y();
    if (g.left() > at.x() && besideRows) maxWidth = std::min(maxWidth, g.left() - at.x());
    const bool belowColumns =
        g.left() < at.x() + std::min(wanted.width(), maxWidth) && g.right() >= at.x();
    if (g.top() > at.y() && belowColumns) maxHeight = std::min(maxHeight, g.top() - at.y());
  }
  return wanted.boundedTo(QSize(maxWidth, maxHeight));
}

QSize DesignStartRoom(const AppState& state) {
  const QSize main = MainWindowStartSize(state);
  std::array<QRect, 3> others;
  if (state.firstStart) {
    others = FirstStartPlaces(main);
  } else {
    const int kept[] = {kWinSource, kWinCode, kWinLayer};
    for (size_t i = 0; i < others.size(); ++i) {
      others[i] = KeptPlace(state.windows[static_cast<size_t>(kept[i])]);
    }
  }
  // The main window's own size stands for its client area: more than the windows get, never less.
  return DesignFrameRoom(kDesignFrameAt, main, QRect(QPoint(0, 0), main), others);
}

QSize MainWindowStartSize(const AppState& state) {
  if (state.firstStart) {
    // Without settings the main window would be 1000 twips square; a first start fills most of
    // the screen instead.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      return screen->availableGeometry().size() * 0.85;
    }
  }
  return KeptPlace(state.windows[static_cast<size_t>(kWinMain)]).size();
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
