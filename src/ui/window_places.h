#pragma once

#include <QRect>
#include <QSize>
#include <array>
#include <span>

#include "shell/app_state.h"

class QWidget;

namespace qf {

inline constexpr double kTwipsPerPx = 15;
// Windows are never restored smaller than this, whatever the settings say.
inline constexpr int kMinRestoredWidth = 240;
inline constexpr int kMinRestoredHeight = 160;

// What a window that keeps its place may do with the application state: read it, and record
// its own place in the window table. Dialogs and child windows get this, never the state itself,
// so none of them can set Modified or a file name.
class WindowPlaces {
 public:
  explicit WindowPlaces(AppState& state) : state_(state) {}
  const AppState& state() const { return state_; }

 private:
  friend void SaveFormPosition(const QWidget& window, WindowPlaces& places, int index);
  AppState& state_;
};

// Moves a window to its place in the table (and sizes it, for the windows whose size is kept).
// A top-level window that would lie off every screen is brought onto the primary screen.
void RestoreFormPosition(QWidget& window, const AppState& state, int index);
// The main window's size as a start gives it: the kept size, or most of the screen the first
// time.
QSize MainWindowStartSize(const AppState& state);
// The design window's place at the top left of the main window's client area.
inline constexpr QPoint kDesignFrameAt{4, 4};
// Where a first start puts the source, code and layer windows (in that order) in a main window
// whose client area is `area`: the design window sits above the code window, left of the others.
std::array<QRect, 3> FirstStartPlaces(QSize area);
// The size the design window takes at `at` inside `area` when it wants `wanted`: it stops at the
// first window to its right that shares its rows and the first below that shares its columns.
QSize DesignFrameRoom(QPoint at, QSize wanted, QRect area, std::span<const QRect> others);
// At most how much of the page the design window can show at start, from the kept places (or
// the first start's arrangement) before any window exists.
QSize DesignStartRoom(const AppState& state);
// Records a window's place, unless the program is starting, or the window is minimised or
// maximised (the main window is recorded in any state).
void SaveFormPosition(const QWidget& window, WindowPlaces& places, int index);

}  // namespace qf
