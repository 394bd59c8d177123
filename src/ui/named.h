#pragma once

#include <QString>

namespace qf {

// A control with the object name tests and scripts find it by, and the accessible name a
// screen reader says.
template <class W>
W* Named(W* w, const char* name, const QString& accessible) {
  w->setObjectName(QString::fromLatin1(name));
  w->setAccessibleName(accessible);
  return w;
}

}  // namespace qf
