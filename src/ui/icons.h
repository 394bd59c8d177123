#pragma once

#include <QIcon>
#include <QPixmap>

namespace qf {

// The toolbar's pictures, drawn here so the program needs no image files: index is the
// button's 1-based place on the toolbar (separators have none).
QIcon ToolbarIcon(int index);

// The program's own icon (a page with a quill), for its windows and title bars.
QIcon AppIcon();

// The two small pictures before the pointer read-outs: 0 the position (a cross hair), 1 the
// size (a box with its diagonal).
QPixmap ReadoutIcon(int index);

}  // namespace qf
