#pragma once

#include "shell/app_state.h"

class QSize;
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
// time. The page's part that the first paint can show lies within it.
QSize MainWindowStartSize(const AppState& state);
// Records a window's place, unless the program is starting, or the window is minimised or
// maximised (the main window is recorded in any state).
void SaveFormPosition(const QWidget& window, WindowPlaces& places, int index);

}  // namespace qf
