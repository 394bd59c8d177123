#pragma once

#include <QPageSize>

namespace qf {

// The page size of a printer paper code; an invalid size for codes without one (256, user).
// Qt's own size of the same printer code where it has the list's dimensions (its name is what
// CUPS is asked for), else the list's dimensions exactly.
QPageSize PageSizeForCode(int code);
// The paper code of a page size, 256 when no code has that size.
int CodeForPageSize(const QPageSize& size);

}  // namespace qf
