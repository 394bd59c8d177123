#pragma once

#include <QIcon>

namespace qf {

// The toolbar's pictures, drawn here so the program needs no image files: index is the
// button's 1-based place on the toolbar (separators have none).
QIcon ToolbarIcon(int index);

}  // namespace qf
