#pragma once

#include "shell/app_state.h"

class QWidget;

namespace qf {

inline constexpr double kTwipsPerPx = 15;
// Windows are never restored smaller than this, whatever the settings say.
inline constexpr int kMinRestoredWidth = 240;
inline constexpr int kMinRestoredHeight = 160;

// Moves a window to its place in the table (and sizes it, for the windows whose size is kept).
// A top-level window that would lie off every screen is brought onto the primary screen.
void RestoreFormPosition(QWidget& window, const AppState& state, int index);
// Records a window's place, unless the program is starting, or the window is minimised or
// maximised (the main window is recorded in any state).
void SaveFormPosition(const QWidget& window, AppState& state, int index);

}  // namespace qf
